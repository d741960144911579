#pragma once

#include <QEvent>
#include <QObject>
#include <QPoint>
#include <QStringList>

#include <functional>
#include <memory>

class MainWindow;
class QWidget;

// The fixture of every GUI test. A test executable declared with
// `quillon_add_test(<subsystem> GUI LIBS ...)` links this library, and its
// shared main builds the QApplication (offscreen), names the organisation and
// the program as the program itself does, so that QSettings() is the
// program's own store (isolated per executable through XDG_CONFIG_HOME), and
// registers every type that crosses a queued connection. A GUI test then:
//
//   class TestOpening : public testsupport::GuiTestCase   // empty store before each test function
//   {
//       Q_OBJECT
//   private slots:
//       void openFile()
//       {
//           ScriptedDialogs dialogs;              // answers the window's questions (scripteddialogs.h)
//           dialogs.fileAnswers << path;
//           MainWindow w;
//           w.ui->actionOpen_File->trigger();
//           QVERIFY(testsupport::waitForSpectrogram(w));
//           ...
//       }
//   };
//
// A class with an init() of its own calls GuiTestCase::init() first. Mouse
// input goes through sendMouse and drag, which deliver the events directly.
//
// No question waits for a person: one the program asks while no
// ScriptedDialogs is installed fails the running test at once and is answered
// as an empty queue answers it; a modal dialog run outside UserDialogs (its
// own exec()) that no answer of the test's closes fails the test once it has
// stood for unansweredModalMs, and is closed. Either way the test goes on and
// ends failed, instead of hanging until CTest's limit.

namespace testsupport {

/** Builds the application-wide state every GUI test expects; the shared test main calls it once. */
void prepareGuiTests();

/** How long a modal dialog outside UserDialogs may stand before it fails the test: answers come at once. */
inline constexpr int unansweredModalMs = 5000;

/**
 * While it lives, a question nobody answers is recorded here instead of
 * failing the running test, and a modal dialog counts as unanswered after
 * `modalMs`: for a test of that guard itself.
 */
class UnansweredQuestions
{
public:
    explicit UnansweredQuestions(int modalMs = unansweredModalMs);
    ~UnansweredQuestions();
    UnansweredQuestions(const UnansweredQuestions &) = delete;
    UnansweredQuestions &operator=(const UnansweredQuestions &) = delete;

    QStringList questions; // what was asked, as the failure would have said it
};

/**
 * Turns the failure for questions nobody answers off (false) and on again,
 * for a test of Qt's own boxes, which answers them itself: while off, the
 * program's questions go to Qt's dialogs.
 */
void setUnansweredQuestionsFail(bool fail);

/** Base of a GUI test class: each test function starts from an empty settings store. */
class GuiTestCase : public QObject
{
    Q_OBJECT
protected slots:
    // Protected: QtTest runs it by name before each test function, but never as a test.
    void init();
};

/** A main window shown and exposed, at its start-up size; null when it is not exposed in time. */
std::unique_ptr<MainWindow> exposedWindow();

/**
 * A main window shown at 1000 x 700 with its plot pane open and the
 * spectrogram's axes over what a 10 s recording up to 125 kHz gives them
 * (0 to 10 s, 0 to 125 kHz), taken as the zoom base; null when not exposed.
 */
std::unique_ptr<MainWindow> spectrogramOnScreen();

/** Sends one mouse event to widget at pos (widget coordinates). */
void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &pos, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);

/** Press at from, one move to to, release there: a left-button drag with modifiers held throughout. */
void drag(QWidget *widget, const QPoint &from, const QPoint &to, Qt::KeyboardModifiers modifiers);

/** Drops the files at paths on the window as a file manager would: Qt delivers the drop to the widget that accepted the drag's entry. */
void dropFiles(MainWindow &window, const QStringList &paths);

/**
 * Runs the event loop until condition holds; false when it still does not
 * after timeoutMs. The condition is checked whenever the loop has handled
 * every waiting event, so a chain of worker replies moves on as fast as the
 * worker answers, not one step per sleeping round as QTest::qWaitFor and the
 * QTRY macros allow; and every 20 ms besides, for a change made on another
 * thread that posts no event.
 */
bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 60000);

/** Waits until the window has no spectrogram request out (drawn, or failed); false on timeout. */
bool waitForSpectrogram(const MainWindow &window, int timeoutMs = 30000);

} // namespace testsupport
