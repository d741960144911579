// Filling the evaluation list of a Tavron evaluation from header replies: a
// worker that answers at once, a proposal for every row, so that every row
// gets its accept box. User-interface cost per reply at 1,000 and 10,000
// rows, with the window on screen so that the list lays out its boxes as it
// does for a user (target under 1 ms per reply at both sizes, and no growth
// with the row count), and one scroll of the filled list by a page (target
// under 16 ms).
#include "app/guimetatypes.h"
#include "app/mainwindow.h"
#include "benchutil.h"
#include "scripteddialogs.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>

#include <cstdio>
#include <vector>

namespace {

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
                const double t0 = benchutil::nowSeconds();
                m_window->fileInfoHeaderFinished(index, QString(), QString(), QString(), QString(),
                                                 index % 3 ? QStringLiteral("Nyc") : QStringLiteral("Pip, Nyc"),
                                                 index % 2 ? QStringLiteral("0") : QString(),
                                                 QStringLiteral("1.000"), QStringLiteral("07/06/21"),
                                                 QStringLiteral("22:10:05"), QStringLiteral("comment"));
                m_slotSeconds.push_back(benchutil::nowSeconds() - t0);
            },
            Qt::QueuedConnection);
    }

    // Seconds spent in the reply slots of rows [from, to).
    double slotSeconds(size_t from, size_t to) const
    {
        double sum = 0;
        for (size_t i = from; i < to && i < m_slotSeconds.size(); ++i)
            sum += m_slotSeconds[i];
        return sum;
    }

private:
    MainWindow *m_window;
    std::vector<double> m_slotSeconds;
};

void run(int rows)
{
    QTemporaryDir dir;
    for (int i = 0; i < rows; ++i) {
        QFile f(dir.path() + QStringLiteral("/rec%1.wav").arg(i, 5, 10, QLatin1Char('0')));
        f.open(QIODevice::WriteOnly); // names are all the chain needs; the replies are made up
    }
    ScriptedDialogs dialogs; // answers the folder choice and the Tavron question; the empty first recording's error box
    dialogs.fileAnswers << dir.path();
    dialogs.messageAnswers << QMessageBox::Ok;
    MainWindow w;
    w.resize(1200, 800);
    w.show();
    QObject::disconnect(&w, &MainWindow::signalGetFileHeaderInfo, nullptr, nullptr);
    InstantHeaders headers(&w);
    std::vector<double> replyTimes;
    QObject::connect(&w, &MainWindow::signalGetFileHeaderInfo, &headers,
                     [&headers, &replyTimes](int index, QString, bool, QString, int) {
                         replyTimes.push_back(benchutil::nowSeconds());
                         headers.answer(index);
                     });

    const double t0 = benchutil::nowSeconds();
    w.ui->actionTavron_Folder_Evaluation->trigger();
    const double loaded = benchutil::nowSeconds();
    while (w.loadingFileInfo || w.fileInfoThread->isRunning())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::processEvents(QEventLoop::AllEvents); // the last layout and paint
    const double filled = benchutil::nowSeconds();

    // Wall time per reply over the first and the last tenth of the chain: the
    // slot, the list's layout of the new box and the paints between replies.
    const size_t tenth = replyTimes.size() / 10;
    const double first = (replyTimes[tenth] - replyTimes[0]) / tenth;
    const double last = (replyTimes.back() - replyTimes[replyTimes.size() - 1 - tenth]) / tenth;
    QTreeWidget *list = w.ui->treeWidget_fileView;
    const double all = (filled - loaded) / rows;

    // One scroll by a page of the filled list, drawn.
    QScrollBar *bar = list->verticalScrollBar();
    double scroll = 0;
    const int scrolls = 20;
    for (int i = 0; i < scrolls; ++i) {
        const double s0 = benchutil::nowSeconds();
        bar->setValue(bar->value() + bar->pageStep());
        list->viewport()->repaint();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        scroll += benchutil::nowSeconds() - s0;
    }

    int boxesShown = 0;
    for (const QObject *child : list->viewport()->children()) {
        if (const auto *box = qobject_cast<const QWidget *>(child))
            boxesShown += box->isVisible() ? 1 : 0;
    }
    std::printf("%6d rows (list %s, %d boxes in view): list and tree set up %.0f ms; per reply %.3f ms on average, "
                "%.3f ms over the first tenth, %.3f ms over the last (slot alone %.3f ms); one page scroll %.2f ms\n",
                list->topLevelItemCount(), list->isVisible() ? "shown" : "hidden", boxesShown, (loaded - t0) * 1000.0,
                all * 1000.0, first * 1000.0, last * 1000.0, headers.slotSeconds(0, size_t(rows)) * 1000.0 / rows,
                scroll * 1000.0 / scrolls);
}

} // namespace

int main(int argc, char *argv[])
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsHome; // the folder key written by opening must not reach the user's own store
    qputenv("XDG_CONFIG_HOME", settingsHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    registerMetaTypes();
    run(1000);
    run(10000);
    std::printf("targets: under 1 ms per reply at both sizes, not growing with the rows; a scroll under 16 ms\n");
    return 0;
}
