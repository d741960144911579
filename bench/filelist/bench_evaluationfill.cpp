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
//
// Three runs each on a quiet machine, before (a QCheckBox made with every
// row) and after (boxes only for the rows in view):
//   rows    ms per row            longest pause (ms)  grown / peak (MB)        page scroll (ms)
//   1,000   0.079-0.095 / 0.071-0.110  26-29 / 20-30    2 / 40   and  0 / 38    0.8-0.9 / 1.2-1.9
//  10,000   0.056-0.071 / 0.044-0.052  140-150 / 24-42  28 / 66  and 12 / 50    3.8-8.2 / 2.3-2.4
//  50,000   0.059-0.064 / 0.050-0.053  630-789 / 72-109 140 / 178 and 63 / 101  20.3-28.0 / 7.0-10.1
// The pause left at 50,000 is the folder's listing (some 70 ms), then the
// list's filling (some 60 ms).
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
        waitedMs += shown.nsecsElapsed() / 1e6;
        return ScriptedDialogs::message(request);
    }
    // The time the boxes stood waiting, which is the user's, not the window's.
    double waitedMs = 0;
};

// Answers every header request at once on the user-interface thread, as the
// header worker would for a recording it classified: a proposal, no class.
class InstantHeaders : public QObject
{
public:
    explicit InstantHeaders(MainWindow *w)
        : m_window(w)
    {
    }

    void answer(int index)
    {
        QMetaObject::invokeMethod(
            m_window,
            [this, index]() {
                m_window->fileInfoHeaderFinished(index, QString(), QString(), QString(), QString(),
                                                 index % 3 ? QStringLiteral("Nyc") : QStringLiteral("Pip, Nyc"),
                                                 index % 2 ? QStringLiteral("0") : QString(), QStringLiteral("1.000"),
                                                 QStringLiteral("07/06/21"), QStringLiteral("22:10:05"),
                                                 QStringLiteral("comment"));
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
    f.totalMs = (benchutil::nowSeconds() - t0) * 1000.0 - dialogs.waitedMs;
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
