// A Tavron evaluation of a folder in the shown window (offscreen) with its
// event loop running: the header worker answers every request at once with a
// proposal for the row, so that every row takes an accept box. Each of 1,000,
// 10,000 and 50,000 recordings in a process of its own: total time, per-row
// cost, the longest pause of the event loop (the list's building included),
// peak memory; and one scroll of the filled list by a page, drawn. The
// Tavron question is answered as a modal box is: the event loop runs on for
// a moment while it waits, so the folder's listing before it and the list's
// building after it are two pauses, as a user meets them.
// Targets: per-row cost not growing with the rows; 50,000 rows under 150 MB
// of the list's own and no pause over 100 ms; a scroll under 16 ms.
#include "app/guimetatypes.h"
#include "app/mainwindow.h"
#include "benchutil.h"
#include "scripteddialogs.h"
#include "shownlist.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>
#include <QWindow>

#include <cstdio>

namespace {

// Questions answered as scripted, each after 30 ms of the event loop running, as under a modal box.
class ModalDialogs : public ScriptedDialogs
{
public:
    QMessageBox::StandardButton message(const MessageBoxRequest &request) override
    {
        QElapsedTimer shown;
        shown.start();
        while (shown.elapsed() < 30)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return ScriptedDialogs::message(request);
    }
};

// Answers every header request at once on the user-interface thread, as the
// header worker would for a recording it classified: a proposal, no class.
class InstantHeaders : public QObject
{
public:
    explicit InstantHeaders(MainWindow *w) : m_window(w) {}

    void answer(int index)
    {
        QMetaObject::invokeMethod(
            m_window,
            [this, index]() {
                m_window->fileInfoHeaderFinished(index, QString(), QString(), QString(), QString(),
                                                 index % 3 ? QStringLiteral("Nyc") : QStringLiteral("Pip, Nyc"),
                                                 index % 2 ? QStringLiteral("0") : QString(),
                                                 QStringLiteral("1.000"), QStringLiteral("07/06/21"),
                                                 QStringLiteral("22:10:05"), QStringLiteral("comment"));
            },
            Qt::QueuedConnection);
    }

private:
    MainWindow *m_window;
};

shownlist::Figures fill(int rows)
{
    QTemporaryDir dir;
    shownlist::makeFolder(dir.path(), rows);
    ModalDialogs dialogs; // answers the folder choice and the Tavron question; the empty first recording's error box
    dialogs.fileAnswers << dir.path();
    dialogs.messageAnswers << QMessageBox::Ok;
    MainWindow w;
    w.resize(1200, 800);
    w.show();
    while (!w.windowHandle() || !w.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QObject::disconnect(&w, &MainWindow::signalGetFileHeaderInfo, nullptr, nullptr);
    InstantHeaders headers(&w);
    QObject::connect(&w, &MainWindow::signalGetFileHeaderInfo, &headers,
                     [&headers](int index, QString, bool, QString, int) { headers.answer(index); });

    shownlist::Figures f;
    f.rows = rows;
    const long long before = benchutil::rssBytes();
    benchutil::resetPeakRss();
    shownlist::PauseMeter pauses;
    pauses.start();
    const double t0 = benchutil::nowSeconds();
    // From the event loop, as the menu runs it: the pause meter sees the opening's own pause.
    QMetaObject::invokeMethod(w.ui->actionTavron_Folder_Evaluation, &QAction::trigger, Qt::QueuedConnection);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    while (w.loadingFileInfo || w.fileInfoThread->isRunning())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::processEvents(QEventLoop::AllEvents); // the last layout and paint
    f.totalMs = (benchutil::nowSeconds() - t0) * 1000.0;
    f.longestPauseMs = pauses.stop();
    f.peakMb = shownlist::megabytes(benchutil::peakRssBytes());
    f.grownMb = shownlist::megabytes(benchutil::peakRssBytes() - before);

    QTreeWidget *list = w.ui->treeWidget_fileView;
    if (list->topLevelItemCount() != rows || !list->isVisible())
        std::fprintf(stderr, "the list holds %d rows, not %d, or is not shown\n", list->topLevelItemCount(), rows);
    // One scroll by a page of the filled list, drawn.
    QScrollBar *bar = list->verticalScrollBar();
    const int scrolls = 20;
    const double s0 = benchutil::nowSeconds();
    for (int i = 0; i < scrolls; ++i) {
        bar->setValue(bar->value() + bar->pageStep());
        list->viewport()->repaint();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    f.extraMs = (benchutil::nowSeconds() - s0) * 1000.0 / scrolls;
    return f;
}

} // namespace

int main(int argc, char *argv[])
{
    const int rows = shownlist::childRows(argc, argv);
    if (rows == 0)
        return shownlist::runParent(argc, argv,
                                    "A Tavron evaluation in the shown evaluation list, a box in every row. Targets: "
                                    "per-row cost not growing; at 50,000 rows under 150 MB grown and no pause over "
                                    "100 ms; a page scroll under 16 ms",
                                    "page scroll");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsHome; // the folder key written by opening must not reach the user's own store
    qputenv("XDG_CONFIG_HOME", settingsHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    registerMetaTypes();
    shownlist::printFigures(fill(rows));
    return 0;
}
