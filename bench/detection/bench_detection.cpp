// Call detection on the matrix of a 500 kHz recording (512-point frames, hop 65,
// 255 bins): time of the filters, the labelling and the measurement, for
// recordings of 2 to 10 s, to show that each stage grows linearly.
#include "benchutil.h"

#include "analysis/bloblabeler.h"
#include "analysis/calldetector.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

namespace {

const int kRate = 500000;
const int kCols = 255;
const int kHop = 65;

// A noise floor of exponentially distributed magnitudes (the power of white
// noise in one bin) with a 5 ms call from 60 to 45 kHz every 80 ms.
FloatMatrix recordingMatrix(double seconds, int &sampleCount)
{
    sampleCount = int(seconds * kRate);
    const int frames = (sampleCount - 512) / kHop + 1;
    FloatMatrix m(static_cast<size_t>(frames), static_cast<size_t>(kCols));
    std::mt19937 gen(7);
    std::exponential_distribution<float> floor(2000.0f);
    for (float &x : m.data)
        x = floor(gen);
    const int callFrames = 39;
    const int period = int(0.08 * kRate / kHop);
    for (int start = period / 2; start + callFrames < frames; start += period) {
        for (int i = 0; i < callFrames; ++i) {
            const double bin = (60.0 - 15.0 * i / (callFrames - 1)) / (kRate / 512.0 / 1000.0);
            for (int c = int(bin) - 3; c <= int(bin) + 3; ++c) {
                const double d = std::abs(c - bin);
                if (d < 2.5)
                    m.at(size_t(start + i), size_t(c)) += float(0.05 * (1.0 - d / 2.5));
            }
        }
    }
    return m;
}

struct Times {
    double filters = 0, labelling = 0, measurement = 0;
    int calls = 0;
    size_t regions = 0;
    double foreground = 0;
};

Times runOnce(double seconds)
{
    int sampleCount = 0;
    FloatMatrix m = recordingMatrix(seconds, sampleCount);
    CallDetector detector;
    Times t;

    double t0 = benchutil::nowSeconds();
    detector.filterForDetection(m, kRate);
    double t1 = benchutil::nowSeconds();
    BlobLabeler labeler;
    const std::vector<Blob> labelled = labeler.labelRegions(m);
    double t2 = benchutil::nowSeconds();
    t.regions = labelled.size();
    t.foreground =
        double(std::count_if(m.data.begin(), m.data.end(), [](float x) { return x >= 1e-5f; })) / double(m.data.size());
    std::unordered_map<int, Blob> top =
        detector.selectTopBlobs(labelled, size_t(CallDetector::blobBudget(kRate, sampleCount)));
    std::unordered_map<int, Blob> blobs = detector.suppressTrailingBlobs(top);
    QStringList classes;
    QList<MyBatCall> calls;
    detector.measureBlobs(m, labeler, 87.5f, kRate, sampleCount, blobs, classes, calls);
    double t3 = benchutil::nowSeconds();

    t.filters = (t1 - t0) * 1000.0;
    t.labelling = (t2 - t1) * 1000.0;
    t.measurement = (t3 - t2) * 1000.0;
    t.calls = calls.size();
    return t;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::printf("%-8s %9s %11s %11s %13s %9s %8s %14s %9s %7s\n", "length", "frames", "filters ms", "labels ms",
                "measure ms", "total ms", "calls", "total ns/cell", "regions", "fg %");
    const int repeats = 5;
    for (double seconds : {2.0, 4.0, 6.0, 8.0, 10.0}) {
        Times best;
        best.filters = best.labelling = best.measurement = 1e30;
        for (int r = 0; r < repeats; ++r) {
            const Times t = runOnce(seconds);
            best.filters = std::min(best.filters, t.filters);
            best.labelling = std::min(best.labelling, t.labelling);
            best.measurement = std::min(best.measurement, t.measurement);
            best.calls = t.calls;
            best.regions = t.regions;
            best.foreground = t.foreground;
        }
        const int frames = (int(seconds * kRate) - 512) / kHop + 1;
        const double total = best.filters + best.labelling + best.measurement;
        std::printf("%-6.0f s %9d %11.2f %11.2f %13.2f %9.2f %8d %14.2f %9zu %7.2f\n", seconds, frames, best.filters,
                    best.labelling, best.measurement, total, best.calls, total * 1e6 / (double(frames) * kCols),
                    best.regions, best.foreground * 100.0);
    }
    std::printf("peak RSS %.1f MB (best of %d runs per length)\n", benchutil::peakRssBytes() / 1048576.0, repeats);
    return 0;
}
