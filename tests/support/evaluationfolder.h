#pragma once

#include "app/mainwindow.h"
#include "common/evaluationmode.h"
#include "common/treecolumns.h"
#include "filelist/filerowindex.h"
#include "guitest.h"
#include "recording/wavfile.h"
#include "scripteddialogs.h"
#include "ui_mainwindow.h"
#include "wavwriter.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QMap>
#include <QMessageBox>
#include <QPushButton>
#include <QSemaphore>
#include <QTest>
#include <QThread>
#include <QTreeWidgetItemIterator>

#include <memory>

// A folder evaluated in the window with the real workers, for the tests of
// classifying and of what classified folders give.
namespace evaluationfolder {

inline const QColor green(122, 184, 0);
inline const QColor orangeRed(255, 69, 0);
inline const QString pleaseWait = QStringLiteral("Please wait until the current job has finished.");

inline QString description(const QString &path)
{
    WavFile recording;
    recording.open(path, true);
    return recording.bext.description;
}

inline bool settled(const MainWindow &w)
{
    return !w.calculating && !w.loadingFileInfo && !w.fileInfoThread->isRunning()
           && w.jobGuard.running() == JobGuard::Job::None;
}

// Waits until the window has settled (see settled); false on timeout.
inline bool waitSettled(const MainWindow &w, int timeoutMs = 60000)
{
    return testsupport::waitUntil([&w]() { return settled(w); }, timeoutMs);
}

// Holds the window's header worker behind the request it has now, made just
// after a load starts: the first row is read, the rows after it stay unread
// until release() or the pause's end. Made on another worker's thread, or
// before a load, it holds that worker before the requests sent after it.
class HeaderPause
{
public:
    explicit HeaderPause(MainWindow &w)
        : HeaderPause(w.fileInfoThread)
    {
    }
    explicit HeaderPause(QThread *thread)
    {
        auto *pause = new QObject;
        pause->moveToThread(thread);
        // Shared: the worker may still be leaving acquire() when the pause is gone.
        const std::shared_ptr<QSemaphore> go = m_go;
        QMetaObject::invokeMethod(
            pause,
            [go, pause]() {
                go->acquire();
                pause->deleteLater();
            },
            Qt::QueuedConnection);
    }
    ~HeaderPause() { release(); }
    HeaderPause(const HeaderPause &) = delete;
    HeaderPause &operator=(const HeaderPause &) = delete;
    void release()
    {
        if (!m_released)
            m_go->release();
        m_released = true;
    }

private:
    std::shared_ptr<QSemaphore> m_go = std::make_shared<QSemaphore>();
    bool m_released = false;
};

// A folder of small recordings made on 01/06/24, each long enough for a spectrogram, with a bext chunk
// holding its text unless the text is null.
inline QString makeFolder(const QString &root, const QString &name, const QList<QPair<QString, QString>> &recordings,
                          quint32 rate = 250000)
{
    const QString dir = root + QLatin1Char('/') + name;
    QDir().mkpath(dir);
    for (const auto &r : recordings) {
        testsupport::WavWriter w;
        w.fmt(rate, 16).data(QVector<int>(4096, 5), 16).chunk("TIME", testsupport::timePayload("06/01/24", "22:14:03"));
        if (!r.second.isNull())
            w.bext(r.second.toUtf8());
        w.write(dir + QLatin1Char('/') + r.first);
    }
    return dir;
}

// Starts the evaluation of folder in mode: manual with the simple default tree (Bat <A>, No Call <D>),
// Tavron, or the review's simple tree (Pip <G> with Pnat <H>, Nyc <F>, No Call <J>). The headers are
// being read when it returns.
inline void startEvaluation(ScriptedDialogs &dialogs, MainWindow &w, const QString &folder, int mode)
{
    dialogs.fileAnswers << folder;
    if (mode == EvaluationMode::Manual) {
        dialogs.dialogAnswers << [](QDialog *dialog) {
            dialog->findChild<QPushButton *>(QStringLiteral("pushButton_5"))->click();
            dialog->accept();
        };
        w.ui->actionEvaluate_Folder->trigger();
    } else if (mode == EvaluationMode::RecorderReview) {
        dialogs.dialogAnswers << [](QDialog *dialog) { dialog->accept(); };
        w.ui->actionManual_Review_of_RECORDER_VOD_Offline_Analysis->trigger();
    } else {
        dialogs.messageAnswers << QMessageBox::Ok;
        w.ui->actionTavron_Folder_Evaluation->trigger();
    }
}

// The evaluation of folder in mode in a shown, active window, every header read.
inline std::unique_ptr<MainWindow> open(ScriptedDialogs &dialogs, const QString &folder, int mode)
{
    auto w = testsupport::exposedWindow();
    if (!w)
        return nullptr;
    startEvaluation(dialogs, *w, folder, mode);
    QApplication::setActiveWindow(w.get());
    if (!QTest::qWaitForWindowActive(w.get()) || !waitSettled(*w))
        return nullptr;
    return w;
}

inline QTreeWidgetItem *row(MainWindow &w, const QString &name)
{
    return w.fileViewRows->row(name);
}

inline void select(MainWindow &w, const QStringList &names)
{
    w.ui->treeWidget_fileView->clearSelection();
    for (const QString &name : names)
        row(w, name)->setSelected(true);
}

inline QString classes(MainWindow &w, const QString &name)
{
    QStringList texts;
    for (int column = FileViewColumn::Class1; column <= FileViewColumn::Class4; ++column)
        texts << row(w, name)->text(column);
    return texts.join(QLatin1Char(','));
}

// The class tree's counts that are not 0, "Nyc 2, Unassigned 1", in tree order.
inline QString counts(MainWindow &w)
{
    QStringList texts;
    for (QTreeWidgetItemIterator it(w.ui->treeWidget); *it; ++it) {
        if ((*it)->text(ClassTreeColumn::Count) != QLatin1String("0"))
            texts << (*it)->text(ClassTreeColumn::Class) + QLatin1Char(' ') + (*it)->text(ClassTreeColumn::Count);
    }
    return texts.join(QStringLiteral(", "));
}

inline QTreeWidgetItem *classRow(MainWindow &w, const QString &name)
{
    return w.ui->treeWidget->findItems(name, Qt::MatchExactly | Qt::MatchRecursive).value(0);
}

inline void clickAssign(MainWindow &w, const QString &className)
{
    qobject_cast<QPushButton *>(w.ui->treeWidget->itemWidget(classRow(w, className), ClassTreeColumn::Assign))->click();
}

// The row's accept box. The list makes boxes for the rows in view only: the
// row is scrolled there first, as the user would, whatever the list's height.
inline QCheckBox *box(MainWindow &w, const QString &name)
{
    w.ui->treeWidget_fileView->scrollToItem(row(w, name));
    return qobject_cast<QCheckBox *>(w.ui->treeWidget_fileView->itemWidget(row(w, name), FileViewColumn::Accepted));
}

inline QColor colour(MainWindow &w, const QString &name)
{
    return row(w, name)->foreground(FileViewColumn::Name).color();
}

// Counts the key presses that get past the window's own filter to a widget.
struct KeySpy : QObject {
    int presses = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        presses += e->type() == QEvent::KeyPress;
        return false;
    }
};

inline void press(QWidget *target, int key, const QString &text = QString())
{
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &e);
}

// What the write-failure box of a chained job showed, and the button that answered it (empty: none).
struct FailureBox {
    QString text;
    QString reason;
    QMap<QString, QMessageBox::ButtonRole> buttons; // each button's text and role
    QString answeredBy;
};

// Answers the next write-failure box as act does to it (a button's click, Escape, the close button),
// shown as the user sees it, and records it in boxes.
inline std::function<void(QDialog *)> onFailureBox(QList<FailureBox> *boxes, std::function<void(QMessageBox *)> act)
{
    return [boxes, act](QDialog *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        if (!box)
            return;
        FailureBox seen{box->text(), box->informativeText(), {}, {}};
        for (QAbstractButton *button : box->buttons())
            seen.buttons.insert(button->text(), box->buttonRole(button));
        box->show();
        act(box);
        seen.answeredBy = box->clickedButton() ? box->clickedButton()->text() : QString();
        boxes->append(seen);
    };
}

inline std::function<void(QMessageBox *)> clickButton(const QString &text)
{
    return [text](QMessageBox *box) {
        for (QAbstractButton *button : box->buttons()) {
            if (button->text() == text)
                button->click();
        }
    };
}

} // namespace evaluationfolder
