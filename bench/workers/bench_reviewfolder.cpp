// The header chain in the window, as the user waits for it: a folder of 4,000
// and of 16,000 generated recordings opened as a plain folder and as a review
// of the recorder's result list (every recording listed there), wall time from
// the folder's choice to the chain's end, the window shown. The review reads
// one header per recording as the plain folder does and looks its line up in
// the list: target within 1.3 x the plain folder at 16,000 recordings.
//
// Beside the wall time, per chain: the window's share (the time the window's
// thread spends handling events, the replies among them) and the worker's
// (the processor time of every other thread), each per reply in
// microseconds. The rest is the hand-over of requests and replies between
// the two threads. Run 1 of a review writes the corrected classes back into
// every recording, run 2 finds them written.
//
// Quiet machine, Release, 8 cores, 16,000 recordings (means of two runs, three runs):
//   before (the result list read again per recording)        plain 9.52 s, review 50.16 s: 5.27 x
//   the list read once into an index, rows filled in one step  plain 1.27,  review 4.5-5.6: 3.6-4.2 x
//   class counts painted together, a reply's row changed once  plain 1.06,  review 1.66-1.88: about 1.6 x
//   the list's stamp without local time, rows out of view told
//   of a change once, reply texts told with the row's change   plain 0.90-1.12, review 1.05-1.24: 1.05-1.17 x
//
// Arguments: --plain-only or --review-only times that chain alone (a profile
// reads more easily); counts given replace 4,000 and 16,000.
#include "app/guimetatypes.h"
#include "app/mainwindow.h"
#include "benchutil.h"
#include "common/treecolumns.h"
#include "scripteddialogs.h"
#include "signalbuilder.h"
#include "ui_mainwindow.h"
#include "wavwriter.h"

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>

#include <sys/resource.h>

#include <cstdio>

namespace {

double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Sums the time the window's thread spends delivering events, nested deliveries once.
class TimedApplication : public QApplication
{
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override
    {
        if (m_depth > 0 || QThread::currentThread() != thread())
            return nestedNotify(receiver, event);
        const double t0 = benchutil::nowSeconds();
        const bool handled = nestedNotify(receiver, event);
        busySeconds += benchutil::nowSeconds() - t0;
        return handled;
    }
    double busySeconds = 0.0;

private:
    bool nestedNotify(QObject *receiver, QEvent *event)
    {
        const bool mine = QThread::currentThread() == thread();
        m_depth += mine ? 1 : 0;
        const bool handled = QApplication::notify(receiver, event);
        m_depth -= mine ? 1 : 0;
        return handled;
    }
    int m_depth = 0;
};

struct ChainTime {
    double wall = 0.0;
    double window = 0.0; // the window's thread handling events
    double worker = 0.0; // processor time of the other threads
};

// The chain the action starts, from the action to the chain's end.
ChainTime timeChain(MainWindow &w, QAction *action)
{
    auto *app = static_cast<TimedApplication *>(qApp);
    const double busy0 = app->busySeconds;
    const double others0 = cpuSeconds(RUSAGE_SELF) - cpuSeconds(RUSAGE_THREAD);
    const double t0 = benchutil::nowSeconds();
    action->trigger();
    while (w.loadingFileInfo || w.fileInfoThread->isRunning() || w.calculating)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    ChainTime t;
    t.wall = benchutil::nowSeconds() - t0;
    t.window = app->busySeconds - busy0;
    t.worker = cpuSeconds(RUSAGE_SELF) - cpuSeconds(RUSAGE_THREAD) - others0;
    return t;
}

// Which chains a run times.
enum class Chains { Both, PlainOnly, ReviewOnly };

void print(int count, const char *chain, int run, const ChainTime &t)
{
    std::printf("%11d %-7s %4d %8.2f %12.0f %12.0f\n", count, chain, run, t.wall, t.window / count * 1e6,
                t.worker / count * 1e6);
}

void run(int count, Chains chains)
{
    QTemporaryDir dir;
    testsupport::WavWriter recording;
    recording.fmt(250000, 16)
        .bext("Pip + Nyc|Pip, Nyc||bench")
        .data(testsupport::SignalBuilder(250000, 0.02).noise(-30).samples(), 16);
    const QByteArray bytes = recording.bytes();
    QByteArray lines = "Filename\tDate\tTime\tVerdict\tGroup1\t\tGroup2\t\tSpecies1\t\tSpecies2\t\tSpecies3\n";
    for (int i = 0; i < count; ++i) {
        const QString name = QString("rec_%1.wav").arg(i, 5, 10, QLatin1Char('0'));
        testsupport::writeFile(dir.filePath(name), bytes);
        lines += "D:\\night\\" + name.toUtf8()
                 + "\t2024-06-01\t22:14:03\tbat\tPipistrelloid\t0.9\tNyctaloid\t0.4\tPpip\t0.9\tNnoc\t0.4\t\n";
    }
    testsupport::writeFile(dir.filePath(QStringLiteral("calls_ch1_files.txt")), lines);

    double plain = 0.0;
    double review = 0.0;
    QString lastProposal;
    const int runs = 2;
    for (int run = 1; run <= runs; ++run) {
        ScriptedDialogs dialogs;
        if (chains != Chains::ReviewOnly)
            dialogs.fileAnswers << dir.path();
        if (chains != Chains::PlainOnly)
            dialogs.fileAnswers << dir.path();
        dialogs.dialogAnswers << [](QDialog *d) { d->accept(); };
        MainWindow w;
        w.resize(1200, 800);
        w.show();
        if (chains != Chains::ReviewOnly) {
            const ChainTime t = timeChain(w, w.ui->actionOpen_Folder);
            print(count, "plain", run, t);
            plain += t.wall;
        }
        if (chains != Chains::PlainOnly) {
            const ChainTime t = timeChain(w, w.ui->actionManual_Review_of_RECORDER_VOD_Offline_Analysis);
            print(count, "review", run, t);
            review += t.wall;
            QTreeWidget *list = w.ui->treeWidget_fileView;
            lastProposal = list->topLevelItem(list->topLevelItemCount() - 1)->text(FileViewColumn::Proposal);
        }
    }
    plain /= runs;
    review /= runs;
    std::printf("%11d mean: plain %.2f s, review %.2f s, ratio %.2f; last proposal \"%s\"\n\n", count, plain, review,
                plain > 0.0 ? review / plain : 0.0, qPrintable(lastProposal));
}

} // namespace

int main(int argc, char *argv[])
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsHome; // the folder keys written by opening must not reach the user's own store
    qputenv("XDG_CONFIG_HOME", settingsHome.path().toLocal8Bit());
    TimedApplication app(argc, argv);
    registerMetaTypes();
    Chains chains = Chains::Both;
    QList<int> counts;
    for (const QString &a : app.arguments().mid(1)) {
        if (a == QLatin1String("--plain-only"))
            chains = Chains::PlainOnly;
        else if (a == QLatin1String("--review-only"))
            chains = Chains::ReviewOnly;
        else if (a.toInt() > 0)
            counts << a.toInt();
    }
    if (counts.isEmpty())
        counts = {4000, 16000};
    std::printf("Review against plain folder in the window (seconds; per reply in microseconds)\n");
    std::printf("%11s %-7s %4s %8s %12s %12s\n", "recordings", "chain", "run", "wall s", "window us", "worker us");
    for (int count : counts)
        run(count, chains);
    std::printf("target: review within 1.3 x the plain folder at 16,000 recordings\n");
    return 0;
}
