// The header chain as the window drives it (the worker on a thread of its
// own, one request sent from each reply):
//  1. a Tavron evaluation of 230 real recordings (copies of the shared ones,
//     fresh for every run) on 1, 2, 4 and 8 threads (--recordings=N,
//     --threads=1,8, --runs=N choose otherwise): recordings per second,
//     times real time, peak memory over the start, and whether every reply
//     and every written file equals the one-thread run's;
//  2. the worker's share of a recorder review against the same folder listed
//     plainly, at 4,000 and 16,000 generated recordings (the target, within
//     1.3 x the plain folder in the window, is measured by bench_reviewfolder).
//
// Quiet machine, Release, 8 cores, 230 real recordings (several runs):
//                                   before (one recording at a time)   after (one per core, ahead)
//   1 thread, x real time                       37.6                          37.9
//   8 threads, x real time                     115.6 (3.07 x one)            259.5 (6.86 x one)
//   replies and written files equal to one thread's: yes, before and after
//   review worker share at 16,000: 45.6 s against 1.87 plain (24.4 x)    2.18 s against 1.96 (1.12 x)
// Target: at least 6 x the one-thread rate on 8 threads.
#include "analysis/analysispool.h"
#include "analysis/getfileinfothread.h"
#include "analysis/metatypes.h"
#include "benchutil.h"
#include "recording/wavfile.h"
#include "signalbuilder.h"
#include "testregistry.h"
#include "wavwriter.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Sends the requests of one chain and collects the replies in order.
class ChainClient : public QObject
{
    Q_OBJECT
public:
    QStringList paths;
    bool calcClasses = false;
    QString resultFile;
    int reviewMode = 0;
    QStringList replies; // one line per reply
    QEventLoop *loop = nullptr;

    void start()
    {
        replies.clear();
        emit expect(paths);
        emit request(0, paths.value(0), calcClasses, resultFile, reviewMode);
    }

signals:
    void expect(QStringList wavFileNames);
    void request(int index, QString wavFileName, bool calcClasses, QString recorderResultFileName, int reviewMode);

public slots:
    void reply(int index, QString c1, QString c2, QString c3, QString c4, QString autoClass, QString accepted,
               QString length, QString date, QString time, QString comment, bool writeBackFailed)
    {
        replies << QStringList{QString::number(index),
                               c1,
                               c2,
                               c3,
                               c4,
                               autoClass,
                               accepted,
                               length,
                               date,
                               time,
                               comment,
                               writeBackFailed ? "failed" : ""}
                       .join(QLatin1Char('|'));
        const int next = index + 1;
        if (next < paths.size())
            emit request(next, paths.at(next), calcClasses, resultFile, reviewMode);
        else
            loop->quit();
    }
};

// The header worker on its own thread, connected as the window connects it.
class WorkerOnThread
{
public:
    explicit WorkerOnThread(ChainClient &client)
        : worker(new GetFileInfoThread)
    {
        worker->moveToThread(&thread);
        QObject::connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
        QObject::connect(&client, &ChainClient::request, worker, &GetFileInfoThread::getFileHeaderInfo);
        QObject::connect(&client, &ChainClient::expect, worker, &GetFileInfoThread::expectFileHeaderRequests);
        QObject::connect(worker, &GetFileInfoThread::signalFileInfoHeaderFinished, &client, &ChainClient::reply);
        thread.start();
    }
    ~WorkerOnThread()
    {
        thread.quit();
        thread.wait();
    }
    QThread thread;
    GetFileInfoThread *worker;
};

// Runs one chain; its wall time in seconds.
double runChain(ChainClient &client)
{
    WorkerOnThread w(client);
    QEventLoop loop;
    client.loop = &loop;
    const double t0 = benchutil::nowSeconds();
    client.start();
    loop.exec();
    return benchutil::nowSeconds() - t0;
}

QByteArray folderHash(const QStringList &paths)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString &p : paths) {
        QFile f(p);
        if (f.open(QIODevice::ReadOnly))
            hash.addData(f.readAll());
    }
    return hash.result().toHex().left(16);
}

// count recordings on each of threadCounts, best of runs.
void evaluationRate(int count, const QList<int> &threadCounts, int runs)
{
    // The shared bat recordings (rates of 250 kHz and more), repeated to 230.
    const QDir data(testsupport::testDataDir());
    QStringList originals;
    double realSeconds = 0.0;
    std::vector<double> lengths;
    for (const QString &name : data.entryList({"*.wav"}, QDir::Files, QDir::Name)) {
        WavFile wav;
        wav.open(data.filePath(name), true);
        if (wav.fmtFound && wav.sampleRate >= 200000 && wav.frameCount() > 0) {
            originals << data.filePath(name);
            lengths.push_back(double(wav.frameCount()) / wav.sampleRate);
        }
    }
    if (originals.isEmpty()) {
        std::printf("no real recordings in %s\n", qPrintable(data.path()));
        return;
    }
    QTemporaryDir source;
    QStringList copies;
    for (int i = 0; i < count; ++i) {
        const int k = i % originals.size();
        const QString name = QFileInfo(originals.at(k)).fileName();
        copies << source.filePath(QString("rec_%1_%2").arg(i, 3, 10, QLatin1Char('0')).arg(name));
        QFile::copy(originals.at(k), copies.last());
        QFile::setPermissions(copies.last(), QFile::ReadOwner | QFile::WriteOwner);
        realSeconds += lengths[size_t(k)];
    }

    std::printf("Tavron evaluation of %d real recordings (%d distinct, %.1f s of sound), %d cores\n", count,
                int(originals.size()), realSeconds, QThread::idealThreadCount());
    std::printf("%7s %10s %12s %12s %9s %8s %10s %10s\n", "threads", "s (best)", "recordings/s", "x real time",
                "speed-up", "peak MB", "replies", "files");
    QStringList reference;
    QByteArray referenceFiles;
    double single = 0.0;
    for (int threads : threadCounts) {
        AnalysisPool::setThreadCount(threads);
        double best = 1e9;
        QStringList replies;
        QByteArray files;
        const long long base = benchutil::rssBytes();
        benchutil::resetPeakRss();
        for (int run = 0; run < runs; ++run) {
            // Fresh copies every run: the first run writes the proposals back.
            QTemporaryDir dir;
            ChainClient client;
            for (const QString &copy : copies) {
                client.paths << dir.filePath(QFileInfo(copy).fileName());
                QFile::copy(copy, client.paths.last());
            }
            client.calcClasses = true;
            best = std::min(best, runChain(client));
            replies = client.replies;
            files = folderHash(client.paths);
        }
        if (threads == threadCounts.first()) {
            single = best;
            reference = replies;
            referenceFiles = files;
        }
        const double peakMb = double(benchutil::peakRssBytes() - base) / 1048576.0;
        std::printf("%7d %10.3f %12.1f %12.1f %9.2f %8.1f %10s %10s\n", threads, best, count / best, realSeconds / best,
                    single / best, peakMb, replies == reference ? "same" : "DIFFER",
                    files == referenceFiles ? "same" : "DIFFER");
    }
    AnalysisPool::setThreadCount(0);
    std::printf("target on 8 cores: at least 6 x the one-thread rate\n\n");
}

void reviewAgainstPlain()
{
    std::printf("The worker's share of a recorder review against a plain folder (header only, nothing written)\n");
    std::printf("%11s %12s %12s %8s\n", "recordings", "plain s", "review s", "ratio");
    for (int count : {4000, 16000}) {
        QTemporaryDir dir;
        testsupport::WavWriter w;
        w.fmt(250000, 16)
            .bext("Pip + Nyc|Pip, Nyc||bench")
            .data(testsupport::SignalBuilder(250000, 0.02).noise(-30).samples(), 16);
        const QByteArray bytes = w.bytes();
        QStringList paths;
        QByteArray lines = "Filename\tDate\tTime\tVerdict\tGroup1\t\tGroup2\t\tSpecies1\t\tSpecies2\t\tSpecies3\n";
        for (int i = 0; i < count; ++i) {
            const QString name = QString("rec_%1.wav").arg(i, 5, 10, QLatin1Char('0'));
            paths << dir.filePath(name);
            testsupport::writeFile(paths.last(), bytes);
            lines += "D:\\night\\" + name.toUtf8()
                     + "\t2024-06-01\t22:14:03\tbat\tPipistrelloid\t0.9\tNyctaloid\t0.4\tPpip\t0.9\tNnoc\t0.4\t\n";
        }
        const QString resultFile = dir.filePath(QStringLiteral("calls_ch1_files.txt"));
        testsupport::writeFile(resultFile, lines);

        ChainClient plain;
        plain.paths = paths;
        ChainClient review;
        review.paths = paths;
        review.resultFile = resultFile;
        std::vector<double> plainSeconds, reviewSeconds;
        // Alternated, so that both see the same page cache.
        const int runs = count > 4000 ? 3 : 5;
        for (int run = 0; run < runs; ++run) {
            plainSeconds.push_back(runChain(plain));
            reviewSeconds.push_back(runChain(review));
        }
        std::sort(plainSeconds.begin(), plainSeconds.end());
        std::sort(reviewSeconds.begin(), reviewSeconds.end());
        const double p = plainSeconds[plainSeconds.size() / 2];
        const double r = reviewSeconds[reviewSeconds.size() / 2];
        const bool proposed = review.replies.size() == count && review.replies.last().contains("|Pip, Nyc|");
        std::printf("%11d %12.3f %12.3f %8.2f%s\n", count, p, r, r / p, proposed ? "" : "  (proposals missing)");
    }
    std::printf("(medians) the review's target applies in the window: bench_reviewfolder\n");
}

// The number given as name=N among args, or fallback.
int option(const QStringList &args, const QString &name, int fallback)
{
    for (const QString &a : args) {
        if (a.startsWith(name))
            return a.mid(name.size()).toInt();
    }
    return fallback;
}

// The thread counts given as --threads=1,8; 1, 2, 4 and 8 when none are.
QList<int> threadCounts(const QStringList &args)
{
    QList<int> counts;
    for (const QString &a : args) {
        if (a.startsWith(QLatin1String("--threads="))) {
            for (const QString &n : a.mid(10).split(QLatin1Char(',')))
                counts << std::max(1, n.toInt());
        }
    }
    return counts.isEmpty() ? QList<int>{1, 2, 4, 8} : counts;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    registerAnalysisMetaTypes();
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    const QStringList args = app.arguments();
    if (!args.contains(QStringLiteral("--review-only")))
        evaluationRate(option(args, "--recordings=", 230), threadCounts(args), option(args, "--runs=", 3));
    if (!args.contains(QStringLiteral("--evaluation-only")))
        reviewAgainstPlain();
    return 0;
}

#include "bench_headerchain.moc"
