// From plot_Data to the first complete replot of the spectrogram, for a 10 s
// recording at 500 kHz: once at 1024 points and 50 % overlap, once at an
// overlap so high that the reduction steps it down to the 8e7-cell limit.
// Wall time is split into reading + request (until the request is sent), the
// worker (until its reply is posted) and the view (the reply handled, the
// plot replotted and its canvas rendered once); peak memory is VmHWM over the
// whole run. The sizes of the sample vectors at request time show the copies
// of the samples that are alive while the worker runs.
#include "analysis/analysispool.h"
#include "app/mainwindow.h"
#include "benchutil.h"
#include "recording/wavfile.h"
#include "scripteddialogs.h"
#include "signalbuilder.h"
#include "wavwriter.h"
#include "windowbench.h"

#include <QApplication>
#include <QFileInfo>
#include <QMetaObject>
#include <QPixmap>
#include <QSemaphore>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <qwt_matrix_raster_data.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <vector>

namespace {

constexpr double sampleRate = 500000.0;
constexpr double seconds = 10.0;

// Combo indices as the settings dialog stores them.
struct Configuration {
    const char *name;
    int windowSizeIndex;
    int overlapIndex;
    int frameSizeIndex;
    int windowIndex;
    bool autoReduceOverlap;
};

struct RunFigures {
    bool ok = false;
    double request = 0.0; // plot_Data until the request is sent: reading, copying, settings
    double worker = 0.0;  // request sent until the worker has posted its reply
    double view = 0.0;    // reply posted until the plot is replotted and its canvas rendered
    double total = 0.0;
    long long baselineRss = 0;
    long long peakRss = 0;     // over the whole run
    long long peakRequest = 0; // from the start to the request: reading and copying the samples
    long long rssAtRequest = 0;
    long long peakWorker = 0; // from the request to the reply
    long long rssAtReply = 0; // when the worker has posted its reply
    long long peakView = 0;   // from the reply to the end: a copy of the matrix would show here
    // Sample vectors alive while the worker runs (elements and reserved elements).
    size_t readerSamples = 0, readerCapacity = 0;
    size_t timedataSamples = 0, timedataCapacity = 0;
    // What is left of timedata once the reply was handled.
    size_t timedataAfter = 0, timedataCapacityAfter = 0;
    int sampleCount = 0;
    double overlapSent = 0.0;
    int columns = 0;
    int rows = 0;
    qint64 cells = 0;
    int notices = 0;
    QSize canvas;
    int storedOverlapIndex = -1;
};

QString writeRecording(const QString &folder)
{
    testsupport::SignalBuilder signal(sampleRate, seconds);
    signal.noise(-50.0, 7);
    // Two trains of frequency-modulated calls, as two species passing by.
    for (double t = 0.02; t + 0.005 < seconds; t += 0.08)
        signal.sweep(95000.0, 42000.0, t, 0.004, -10.0);
    for (double t = 0.05; t + 0.008 < seconds; t += 0.12)
        signal.sweep(55000.0, 28000.0, t, 0.007, -16.0);
    const QString path = folder + QStringLiteral("/sweeps_500kHz_10s.wav");
    if (!testsupport::writeFile(path, testsupport::simplePcmWav(signal.samples(16), quint32(sampleRate))))
        return QString();
    return path;
}

void storeSettings(const Configuration &c)
{
    QSettings settings;
    settings.clear(); // nothing of an earlier run (window layout, written-back overlap) carries over
    settings.setValue(QStringLiteral("windowSize"), c.windowSizeIndex);
    settings.setValue(QStringLiteral("overlap"), c.overlapIndex);
    settings.setValue(QStringLiteral("frameSize"), c.frameSizeIndex);
    settings.setValue(QStringLiteral("window"), c.windowIndex);
    settings.setValue(QStringLiteral("autoReduceOverlap"), c.autoReduceOverlap);
}

RunFigures runOnce(const QString &path, const Configuration &c)
{
    storeSettings(c);
    RunFigures f;
    ScriptedDialogs dialogs; // answers the overlap-reduction notice at once
    {
        MainWindow w;
        w.show();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();

        // Held by the worker's thread until the request has been inspected, so
        // that the sample vector is not read here while the worker clears it.
        auto *gate = new QObject;
        gate->moveToThread(w.spectrogramThread);
        QSemaphore parked;
        QSemaphore release;
        QMetaObject::invokeMethod(
            gate,
            [&]() {
                parked.release();
                release.acquire();
            },
            Qt::QueuedConnection);
        parked.acquire();

        bool requested = false;
        double requestSent = 0.0;
        const QMetaObject::Connection onRequest = QObject::connect(
            &w, &MainWindow::signalCalcSpektrogramm, &w,
            [&](int sampleSize, int, int, float, QString, double overlap, std::vector<int> *timedata, int, bool) {
                requestSent = benchutil::nowSeconds();
                requested = true;
                f.sampleCount = sampleSize;
                f.overlapSent = overlap;
                f.readerSamples = w.wavFile->samples.size();
                f.readerCapacity = w.wavFile->samples.capacity();
                f.timedataSamples = timedata->size();
                f.timedataCapacity = timedata->capacity();
                f.peakRequest = benchutil::peakRssBytes();
                benchutil::resetPeakRss();
                f.rssAtRequest = benchutil::rssBytes();
                release.release();
            },
            Qt::DirectConnection);

#ifdef __GLIBC__
        malloc_trim(0); // what earlier runs freed must not hide in the baseline
#endif
        benchutil::resetPeakRss();
        f.baselineRss = benchutil::rssBytes();
        const double start = benchutil::nowSeconds();
        w.plot_Data(path);
        QObject::disconnect(onRequest);
        if (!requested) {
            release.release();
            QMetaObject::invokeMethod(
                gate, []() {}, Qt::BlockingQueuedConnection); // the gate has let go
            gate->deleteLater();
            std::printf("  no request was sent (%d message boxes)\n", int(dialogs.messages.size()));
            return f;
        }

        // Queued behind the request: runs as soon as the worker has posted its reply.
        // The peak is split there, so the view's own allocations can be told apart
        // (the view may start a few microseconds before the split: it allocates
        // nothing large at its beginning).
        std::atomic<double> replyPosted{0.0};
        std::atomic<long long> peakToReply{0};
        std::atomic<long long> rssAtReply{0};
        QMetaObject::invokeMethod(
            gate,
            [&]() {
                replyPosted.store(benchutil::nowSeconds());
                peakToReply.store(benchutil::peakRssBytes());
                benchutil::resetPeakRss();
                rssAtReply.store(benchutil::rssBytes());
            },
            Qt::QueuedConnection);

        while (w.calculating)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        // The layout the first recording restores, then one complete drawing.
        QCoreApplication::processEvents();
        w.spectrogramPlot->replot();
        const QPixmap drawn = w.spectrogramPlot->canvas()->grab();
        const double end = benchutil::nowSeconds();
        const long long peakAfterReply = benchutil::peakRssBytes();
        // The reply may be handled before the worker's thread gets to the time stamp behind it.
        QMetaObject::invokeMethod(
            gate, []() {}, Qt::BlockingQueuedConnection);
        gate->deleteLater();
        f.rssAtReply = rssAtReply.load();
        f.peakView = peakAfterReply;
        f.peakWorker = peakToReply.load();
        f.peakRss = std::max({f.peakRequest, f.peakWorker, f.peakView});

        const double posted = replyPosted.load();
        f.request = requestSent - start;
        f.worker = posted - requestSent;
        f.view = end - posted;
        f.total = end - start;
        f.columns = w.spectrogramData->numColumns();
        f.rows = w.spectrogramData->numRows();
        f.cells = qint64(w.spectrogramData->valueMatrix().size());
        f.timedataAfter = w.timedata.size();
        f.timedataCapacityAfter = w.timedata.capacity();
        f.notices = int(dialogs.messages.size());
        f.canvas = drawn.size();
        f.ok = !drawn.isNull() && f.cells > 0;
    }
    f.storedOverlapIndex = QSettings().value(QStringLiteral("overlap"), -1).toInt();
    return f;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double mb(double bytes)
{
    return bytes / (1024.0 * 1024.0);
}

void printRun(int i, const RunFigures &f)
{
    std::printf("  run %d: request %7.1f ms  worker %8.1f ms  view %7.1f ms  total %8.1f ms  "
                "peak %7.1f MB (%+7.1f MB over %6.1f MB at start)%s\n"
                "         peak over the RSS at each phase's start: request %+6.1f MB, worker %+7.1f MB, "
                "view %+6.1f MB\n",
                i, f.request * 1e3, f.worker * 1e3, f.view * 1e3, f.total * 1e3, mb(double(f.peakRss)),
                mb(double(f.peakRss - f.baselineRss)), mb(double(f.baselineRss)), f.ok ? "" : "  NOT DRAWN",
                mb(double(f.peakRequest - f.baselineRss)), mb(double(f.peakWorker - f.rssAtRequest)),
                mb(double(f.peakView - f.rssAtReply)));
}

// Three runs on threads threads; the first thread count also prints every run
// and what the request and the matrix were.
void measure(const QString &path, const Configuration &c, int threads, bool details)
{
    AnalysisPool::setThreadCount(threads);
    std::vector<RunFigures> runs;
    for (int i = 1; i <= 3; ++i) {
        runs.push_back(runOnce(path, c));
        if (!runs.back().ok) {
            std::printf("  run %d failed\n", i);
            return;
        }
        if (details)
            printRun(i, runs.back());
    }
    auto med = [&runs](auto field) {
        std::vector<double> v;
        for (const RunFigures &f : runs)
            v.push_back(double(field(f)));
        return median(v);
    };
    auto best = [&runs](auto field) {
        double b = 1e300;
        for (const RunFigures &f : runs)
            b = std::min(b, double(field(f)));
        return b;
    };
    const RunFigures &r = runs.front();
    const double sampleBytes = double(r.sampleCount) * sizeof(int);
    const double matrixBytes = double(r.cells) * sizeof(double);

    if (details) {
        std::printf("  overlap sent %.6g %%, %d notice(s), stored overlap index afterwards %d, canvas drawn %dx%d px\n",
                    r.overlapSent, r.notices, r.storedOverlapIndex, r.canvas.width(), r.canvas.height());
        std::printf("  matrix: %d frames x %d bins = %lld cells (%.1f MB as double)\n", r.columns, r.rows,
                    static_cast<long long>(r.cells), mb(matrixBytes));
        std::printf("  samples: %d x 4 bytes = %.1f MB each copy\n", r.sampleCount, mb(sampleBytes));
        std::printf("  at request: wavFile->samples %zu (capacity %zu), timedata %zu (capacity %zu)\n", r.readerSamples,
                    r.readerCapacity, r.timedataSamples, r.timedataCapacity);
        std::printf("  after the reply: timedata %zu (capacity %zu)\n", r.timedataAfter, r.timedataCapacityAfter);
        std::printf("  %7s %9s %9s %9s %9s %9s %9s %10s %10s\n", "threads", "request", "worker", "worker", "view",
                    "total", "total", "peak MB", "worker");
        std::printf("  %7s %9s %9s %9s %9s %9s %9s %10s %10s\n", "", "med ms", "best ms", "med ms", "med ms", "best ms",
                    "med ms", "over start", "B/cell");
    }
    std::printf(
        "  %7d %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %10.1f %10.2f\n", threads,
        med([](const RunFigures &f) { return f.request * 1e3; }),
        best([](const RunFigures &f) { return f.worker * 1e3; }),
        med([](const RunFigures &f) { return f.worker * 1e3; }), med([](const RunFigures &f) { return f.view * 1e3; }),
        best([](const RunFigures &f) { return f.total * 1e3; }), med([](const RunFigures &f) { return f.total * 1e3; }),
        mb(med([](const RunFigures &f) { return double(f.peakRss - f.baselineRss); })),
        med([](const RunFigures &f) { return double(f.peakWorker - f.rssAtRequest); }) / double(r.cells));
}

void measureTable(const QString &path, const Configuration &c)
{
    std::printf("%s\n", c.name);
    bool first = true;
    for (int threads : {1, 2, 4, 8}) {
        measure(path, c, threads, first);
        first = false;
    }
    AnalysisPool::setThreadCount(0);
    std::printf("\n");
}

} // namespace

int main(int argc, char *argv[])
{
    windowbench::Environment environment;
    QApplication app(argc, argv);
    environment.applicationMade();

    QTemporaryDir folder;
    const QString path = writeRecording(folder.path());
    if (path.isEmpty()) {
        std::fprintf(stderr, "could not write the recording\n");
        return 1;
    }
    std::printf("10 s, 500 kHz, 16-bit mono recording (%.1f MB file)\n\n", mb(double(QFileInfo(path).size())));

    std::printf("%d cores; the worker's part of the run on 1, 2, 4 and 8 threads\n\n", QThread::idealThreadCount());
    measureTable(path, {"1024 points, 50 % overlap (frame 100 %, Hamming)", 1, 5, 0, 1, true});
    measureTable(path, {"1024 points, 98.4375 % overlap reduced to the 8e7-cell limit (frame 100 %, Hamming)", 1, 0, 0,
                        1, true});
    return 0;
}
