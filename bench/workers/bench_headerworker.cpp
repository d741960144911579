// The header worker over a folder of 10,000 small WAV files (header only, the
// data chunk stepped over), and the automatic classification of a 10 s,
// 500 kHz recording split into reading, transforms and detection.
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
#include <cstdio>

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

    const int runs = 3;
    double reading = 0, transforms = 0, detection = 0;
    QString proposal;
    for (int r = 0; r < runs; ++r) {
        const double t1 = benchutil::nowSeconds();
        WavFile wav;
        wav.open(longPath, false);
        reading += benchutil::nowSeconds() - t1;
        AutomaticClassification::Timing timing;
        const auto result = AutomaticClassification::classify(
            wav.samples, qint64(wav.samples.size()), int(wav.sampleRate), wav.bitsPerSample, &timing);
        transforms += timing.transforms;
        detection += timing.detection;
        proposal = result.proposal;
    }
    std::printf("automatic classification, 10 s at 500 kHz: reading %.1f ms, transforms %.1f ms, detection %.1f ms, "
                "total %.1f ms per file (proposal \"%s\")\n",
                reading / runs * 1e3, transforms / runs * 1e3, detection / runs * 1e3,
                (reading + transforms + detection) / runs * 1e3, qPrintable(proposal));
    return 0;
}
