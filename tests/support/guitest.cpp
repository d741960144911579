#include "guitest.h"

#include "app/guimetatypes.h"
#include "app/mainwindow.h"
#include "common/settingskeys.h"
#include "display/myqwtzoomer.h"
#include "scripteddialogs.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGroupBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressDialog>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <qwt_plot.h>

namespace testsupport {

namespace {

// Where a question nobody answers goes: the running test's failure, or an UnansweredQuestions.
struct UnansweredReport {
    UnansweredQuestions *recorder = nullptr;
    int modalMs = unansweredModalMs;
    bool fail = true;
};

UnansweredReport &unansweredReport()
{
    static UnansweredReport report;
    return report;
}

void reportUnanswered(const QString &question)
{
    if (UnansweredQuestions *recorder = unansweredReport().recorder) {
        recorder->questions << question;
        return;
    }
    QTest::qFail(qPrintable(question + QStringLiteral(": no test answers it")), __FILE__, __LINE__);
}

// Installed whenever no ScriptedDialogs is: the question is answered as an empty queue answers it.
class UnansweredDialogs : public ScriptedDialogs
{
public:
    QMessageBox::StandardButton message(const MessageBoxRequest &request) override
    {
        reportUnanswered(QStringLiteral("message box \"%1\"").arg(request.text));
        expectMessages(); // told above already
        return ScriptedDialogs::message(request);
    }
    QString openFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter) override
    {
        reportUnanswered(QStringLiteral("file question \"%1\"").arg(caption));
        return ScriptedDialogs::openFileName(parent, caption, dir, filter);
    }
    QString saveFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter,
                         QString *selectedFilter, QFileDialog::Options options) override
    {
        reportUnanswered(QStringLiteral("file question \"%1\"").arg(caption));
        return ScriptedDialogs::saveFileName(parent, caption, dir, filter, selectedFilter, options);
    }
    QString existingDirectory(QWidget *parent, const QString &caption, const QString &dir,
                              QFileDialog::Options options) override
    {
        reportUnanswered(QStringLiteral("folder question \"%1\"").arg(caption));
        return ScriptedDialogs::existingDirectory(parent, caption, dir, options);
    }
    int runDialog(QDialog *dialog) override
    {
        reportUnanswered(QStringLiteral("dialog %1").arg(QLatin1String(dialog->metaObject()->className())));
        return ScriptedDialogs::runDialog(dialog);
    }
    QAction *runMenu(QMenu *menu, const QPoint &globalPos) override
    {
        reportUnanswered(QStringLiteral("context menu"));
        return ScriptedDialogs::runMenu(menu, globalPos);
    }
};

UnansweredDialogs *unansweredDialogs = nullptr;

// A modal dialog run by its own exec() answers to no ScriptedDialogs; tests
// that run one answer it from a timer as soon as its loop runs. One that
// stands longer waits for a person: it fails the test and is closed. A
// progress window waits for nobody, and a dialog an answer of ScriptedDialogs
// shows is that answer's.
void watchModalDialogs()
{
    static QPointer<QWidget> standing;
    static QElapsedTimer since;
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || qobject_cast<QProgressDialog *>(modal) || ScriptedDialogs::answering() || !unansweredReport().fail) {
        standing = nullptr;
        return;
    }
    if (modal != standing) {
        standing = modal;
        since.start();
        return;
    }
    if (since.elapsed() < unansweredReport().modalMs)
        return;
    standing = nullptr;
    reportUnanswered(
        QStringLiteral("modal %1 \"%2\"").arg(QLatin1String(modal->metaObject()->className()), modal->windowTitle()));
    if (auto *dialog = qobject_cast<QDialog *>(modal))
        dialog->reject();
    else
        modal->close();
}

} // namespace

UnansweredQuestions::UnansweredQuestions(int modalMs)
{
    unansweredReport().recorder = this;
    unansweredReport().modalMs = modalMs;
}

UnansweredQuestions::~UnansweredQuestions()
{
    unansweredReport().recorder = nullptr;
    unansweredReport().modalMs = unansweredModalMs;
}

void setUnansweredQuestionsFail(bool fail)
{
    unansweredReport().fail = fail;
    UserDialogs::install(fail ? unansweredDialogs : nullptr);
}

void prepareGuiTests()
{
    // Tests fill the store before the first window exists; its construction sets the same names again.
    setApplicationIdentity();
    registerMetaTypes();
    static UnansweredDialogs unanswered;
    unansweredDialogs = &unanswered;
    // Often enough that a dialog nobody answers goes soon after its time; it
    // ticks inside the dialog's own loop.
    auto *watch = new QTimer(qApp);
    QObject::connect(watch, &QTimer::timeout, watch, &watchModalDialogs);
    watch->start(100);
}

void GuiTestCase::init()
{
    QSettings().clear();
}

std::unique_ptr<MainWindow> exposedWindow()
{
    auto window = std::make_unique<MainWindow>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    return window;
}

std::unique_ptr<MainWindow> spectrogramOnScreen()
{
    auto window = std::make_unique<MainWindow>();
    window->findChild<QGroupBox *>(QStringLiteral("groupBox_4"))->show();
    window->resize(1000, 700);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return nullptr;
    window->spectrogramPlot->setAxisScale(QwtPlot::xBottom, 0, 10);
    window->spectrogramPlot->setAxisScale(QwtPlot::yLeft, 0, 125);
    window->spectrogramPlot->replot();
    window->spectroZoomer->setZoomBase(false);
    return window;
}

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &pos, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers)
{
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, modifiers);
    QApplication::sendEvent(widget, &event);
}

void dropFiles(MainWindow &window, const QStringList &paths)
{
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
}

void drag(QWidget *widget, const QPoint &from, const QPoint &to, Qt::KeyboardModifiers modifiers)
{
    sendMouse(widget, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, modifiers);
    sendMouse(widget, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, modifiers);
    sendMouse(widget, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, modifiers);
}

bool waitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    if (condition())
        return true;
    QEventLoop loop;
    const auto check = [&condition, &loop]() {
        if (condition())
            loop.quit();
    };
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop, check);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, check);
    poll.start(20);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(timeoutMs);
    loop.exec();
    return condition();
}

bool waitForSpectrogram(const MainWindow &window, int timeoutMs)
{
    return waitUntil([&window]() { return !window.calculating; }, timeoutMs);
}

} // namespace testsupport
