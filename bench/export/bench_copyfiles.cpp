// Copying recordings by class: 1,000 files of 5 MB through the copy worker on
// its own thread, one request per file as the main window sends them, against
// `cp` of the same files on the same disk. Target: within 1.5 times `cp`.
//   bench_copyfiles [files] [megabytes per file] [folder on the disk to measure]
#include "benchutil.h"
#include "export/copyfilesthread.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Sends the next index from each reply, as the main window's chain does.
class Chain : public QObject
{
    Q_OBJECT

public:
    bool done = false;
    int failed = 0;

signals:
    void request(int index, QString newDirectory, QString oldDirectory, QStringList fileNames, bool overwrite);

public slots:
    void reply(int index, QString newDirectory, QString oldDirectory, QStringList fileNames, bool overwrite)
    {
        if (fileNames.constLast() == QLatin1String("error")) {
            ++failed;
            fileNames.removeLast();
        }
        if (index + 1 < fileNames.size())
            emit request(index + 1, newDirectory, oldDirectory, fileNames, overwrite);
        else
            done = true;
    }
};

// Dirty pages of the previous run must not slow the next one down.
void flushDisk()
{
    QProcess::execute(QStringLiteral("sync"), {});
}

double timeCp(const QStringList &paths, const QString &target)
{
    const double t0 = benchutil::nowSeconds();
    QProcess cp;
    cp.start(QStringLiteral("cp"), paths + QStringList{target});
    cp.waitForFinished(-1);
    return benchutil::nowSeconds() - t0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int files = argc > 1 ? atoi(argv[1]) : 1000;
    const int megabytes = argc > 2 ? atoi(argv[2]) : 5;
    const QString base = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QDir::tempPath();
    QTemporaryDir dir(base + QStringLiteral("/bench_copyfiles-XXXXXX"));
    const QString source = dir.filePath(QStringLiteral("recordings"));
    QDir().mkpath(source);

    QByteArray block(megabytes * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator rng(5);
    rng.fillRange(reinterpret_cast<quint32 *>(block.data()), block.size() / 4);
    QStringList names, paths;
    for (int i = 0; i < files; ++i) {
        names << QStringLiteral("REC_%1.wav").arg(i, 5, 10, QLatin1Char('0'));
        paths << source + QLatin1Char('/') + names.last();
        QFile f(paths.last());
        f.open(QIODevice::WriteOnly);
        block[0] = char(i); // no two files alike
        f.write(block);
    }
    std::printf("%d files of %d MB in %s\n", files, megabytes, qPrintable(dir.path()));

    QThread thread;
    auto *worker = new CopyFilesThread;
    Chain chain;
    QObject::connect(&chain, &Chain::request, worker, &CopyFilesThread::copyFiles);
    worker->moveToThread(&thread);
    QObject::connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
    QObject::connect(worker, &CopyFilesThread::signalCopyFinished, &chain, &Chain::reply);
    thread.start();

    const auto runOwn = [&](const QString &target) {
        chain.done = false;
        const double t0 = benchutil::nowSeconds();
        emit chain.request(0, target, source, names, true);
        while (!chain.done)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return benchutil::nowSeconds() - t0;
    };
    // One untimed copy each first: the first writer into fresh folders pays for the file system's
    // allocation of metadata, which is no property of either side.
    for (const QString &warm : {dir.filePath(QStringLiteral("warm1")), dir.filePath(QStringLiteral("warm2"))}) {
        QDir().mkpath(warm);
        if (warm.endsWith(QLatin1Char('1')))
            timeCp(paths, warm);
        else
            runOwn(warm);
        QDir(warm).removeRecursively();
    }
    std::vector<double> ratios, flushedRatios;
    // Alternate the order as well; new folders each round.
    for (int round = 0; round < 4; ++round) {
        const QString cpTarget = dir.filePath(QStringLiteral("cp%1").arg(round));
        const QString ownTarget = dir.filePath(QStringLiteral("own%1").arg(round));
        // Each side is timed to the end of its copy and again to the end of the flush that follows,
        // and starts from the same state: the other side's copies are gone and flushed.
        double cpSeconds = 0, cpFlushed = 0, ownSeconds = 0, ownFlushed = 0;
        const auto measure = [&](const QString &target, double *seconds, double *flushed, bool own) {
            QDir().mkpath(target);
            flushDisk();
            const double t0 = benchutil::nowSeconds();
            *seconds = own ? runOwn(target) : timeCp(paths, target);
            flushDisk();
            *flushed = benchutil::nowSeconds() - t0;
            QDir(target).removeRecursively();
            flushDisk();
        };
        if (round % 2 == 0) {
            measure(cpTarget, &cpSeconds, &cpFlushed, false);
            measure(ownTarget, &ownSeconds, &ownFlushed, true);
        } else {
            measure(ownTarget, &ownSeconds, &ownFlushed, true);
            measure(cpTarget, &cpSeconds, &cpFlushed, false);
        }
        std::printf("round %d: cp %.2f s (%.2f s flushed), copy worker %.2f s (%.2f s flushed): %.2fx (%.2fx), "
                    "%d failed\n",
                    round + 1, cpSeconds, cpFlushed, ownSeconds, ownFlushed, ownSeconds / cpSeconds,
                    ownFlushed / cpFlushed, chain.failed);
        ratios.push_back(ownSeconds / cpSeconds);
        flushedRatios.push_back(ownFlushed / cpFlushed);
    }
    std::sort(ratios.begin(), ratios.end());
    std::sort(flushedRatios.begin(), flushedRatios.end());
    const size_t mid = ratios.size() / 2;
    std::printf("median of the rounds: %.2fx, flushed %.2fx (target: under 1.5x)\n",
                (ratios[mid - 1] + ratios[mid]) / 2, (flushedRatios[mid - 1] + flushedRatios[mid]) / 2);
    thread.quit();
    thread.wait();
    return 0;
}

#include "bench_copyfiles.moc"
