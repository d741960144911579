// The header worker over a folder of 10,000 small WAV files (header only, the
// data chunk stepped over), and the automatic classification of a 10 s,
// 500 kHz recording split into reading, transforms and detection, on 1, 2, 4
// and 8 threads (best and median of five runs).
#include "analysis/analysispool.h"
#include "analysis/automaticclassification.h"
#include "analysis/getfileinfothread.h"
#include "analysis/metatypes.h"
#include "benchutil.h"
#include "recording/wavfile.h"
#include "signalbuilder.h"
#include "wavwriter.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    registerAnalysisMetaTypes();
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));

    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;

    // 10,000 files of 0.2 s at 250 kHz (100 kB of samples each), bext behind
    // the data so that a header read has to step over it.
    const int files = 10000;
    testsupport::WavWriter w;
    w.fmt(250000, 16).data(testsupport::SignalBuilder(250000, 0.2).noise(-30).samples(), 16);
    w.bext("Nyc + PipPip|Nyc|1|bench");
    const QByteArray bytes = w.bytes();
    QStringList paths;
    for (int i = 0; i < files; ++i) {
        paths << dir.filePath(QString("rec_%1.wav").arg(i, 5, 10, QLatin1Char('0')));
        testsupport::writeFile(paths.last(), bytes);
    }

    GetFileInfoThread worker;
    int replies = 0;
    QObject::connect(&worker, &GetFileInfoThread::signalFileInfoHeaderFinished, [&](int, QString b) {
        if (b == QLatin1String("Nyc"))
            ++replies;
    });
    const double t0 = benchutil::nowSeconds();
    for (int i = 0; i < files; ++i)
        worker.getFileHeaderInfo(i, paths.at(i), false, QString(), 0);
    const double seconds = benchutil::nowSeconds() - t0;
    std::printf("header worker: %d files (%lld bytes each) in %.3f s: %.0f files/s (%d replies read)\n", files,
                qint64(bytes.size()), seconds, files / seconds, replies);

    // Automatic classification of one 10 s, 500 kHz recording with calls and noise.
    testsupport::SignalBuilder b(500000, 10.0);
    for (int i = 0; i < 60; ++i)
        b.sweep(60000, 45000, 0.1 + 0.16 * i, 0.005, -12);
    b.noise(-45);
    const QString longPath = dir.filePath(QStringLiteral("long.wav"));
    testsupport::writeFile(longPath, testsupport::simplePcmWav(b.samples(), 500000));

    std::printf("automatic classification, 10 s at 500 kHz, %d cores: ms per file\n", QThread::idealThreadCount());
    std::printf("%7s %9s %11s %10s %11s %11s %9s %9s  %s\n", "threads", "reading", "transforms", "detection",
                "total best", "total med", "speed-up", "peak MB", "proposal");
    double single = 0.0;
    for (int threads : {1, 2, 4, 8}) {
        AnalysisPool::setThreadCount(threads);
        const int runs = 5;
        std::vector<double> reading, transforms, detection, total;
        QString proposal;
        long long peak = 0; // of the classification alone, over the RSS before it
        for (int r = 0; r < runs; ++r) {
            const double t1 = benchutil::nowSeconds();
            WavFile wav;
            wav.open(longPath, false);
            reading.push_back(benchutil::nowSeconds() - t1);
            AutomaticClassification::Timing timing;
            const long long base = benchutil::rssBytes();
            benchutil::resetPeakRss();
            const auto result = AutomaticClassification::classify(wav.samples, qint64(wav.samples.size()),
                                                                  int(wav.sampleRate), wav.bitsPerSample, &timing);
            peak = std::max(peak, benchutil::peakRssBytes() - base);
            transforms.push_back(timing.transforms);
            detection.push_back(timing.detection);
            total.push_back(reading.back() + timing.transforms + timing.detection);
            proposal = result.proposal;
        }
        for (std::vector<double> *v : {&reading, &transforms, &detection, &total})
            std::sort(v->begin(), v->end());
        const int m = runs / 2;
        if (threads == 1)
            single = total[m];
        std::printf("%7d %9.1f %11.1f %10.1f %11.1f %11.1f %9.2f %9.1f  \"%s\"\n", threads, reading[m] * 1e3,
                    transforms[m] * 1e3, detection[m] * 1e3, total[0] * 1e3, total[m] * 1e3, single / total[m],
                    peak / 1048576.0, qPrintable(proposal));
    }
    AnalysisPool::setThreadCount(0);
    std::printf("(reading, transforms and detection: medians) target on 8 cores: total under 150 ms\n");
    return 0;
}
