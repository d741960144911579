// Spectrogram of a 10 s, 500 kHz recording: wall time and peak memory of the
// worker on 1, 2, 4 and 8 threads, compared in the same run with a reference
// pipeline on FFTW (one thread) that computes the same frames, Hann window and
// log-power levels. Every figure is the best and the median of three runs.
#include "analysis/analysispool.h"
#include "analysis/calcspectrogramthread.h"
#include "analysis/metatypes.h"
#include "benchutil.h"
#include "signalbuilder.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fftw3.h>
#include <vector>

namespace {

struct Config {
    int windowSize;
    double overlap;
};

// The same frames, Hann window, normalisation, ln(p x norm + 1) and 10 log10 as
// the worker, into a float matrix transposed into a double vector.
QVector<double> referenceSpectrogram(const std::vector<int> &samples, int w, double overlap, int rate, int &frames)
{
    const int v = int(w / (100.0 / overlap));
    const int hop = w - v;
    const int bins = w / 2;
    frames = (int(samples.size()) - w) / hop + 1;
    float *in = fftwf_alloc_real(size_t(w));
    fftwf_complex *out = fftwf_alloc_complex(size_t(bins) + 1);
    fftwf_plan plan = fftwf_plan_dft_r2c_1d(w, in, out, FFTW_ESTIMATE);
    std::vector<double> win(static_cast<size_t>(w));
    double energy = 0.0;
    for (int n = 0; n < w; ++n) {
        win[size_t(n)] = (1.0 - std::cos(2.0 * M_PI * n / (w - 1))) * 0.5;
        energy += win[size_t(n)] * win[size_t(n)];
    }
    const double norm = 1.0 / energy * (2.0 / rate);
    std::vector<float> m(size_t(frames) * size_t(bins));
    for (int i = 0; i < frames; ++i) {
        const int *block = samples.data() + size_t(i) * size_t(hop);
        for (int n = 0; n < w; ++n)
            in[n] = float(double(float(block[n])) * win[size_t(n)]);
        fftwf_execute(plan);
        float *row = m.data() + size_t(i) * size_t(bins);
        for (int j = 0; j < bins; ++j) {
            const double re = out[j + 1][0];
            const double im = j + 1 == bins ? 0.0 : out[j + 1][1];
            row[j] = 10.0f * std::log10(float(std::log((re * re + im * im) * norm + 1.0)));
        }
    }
    QVector<double> data(frames * bins);
    for (int i = 0; i < frames; ++i)
        for (int j = 0; j < bins; ++j)
            data[j * frames + i] = m[size_t(i) * size_t(bins) + size_t(j)];
    fftwf_destroy_plan(plan);
    fftwf_free(in);
    fftwf_free(out);
    return data;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    registerAnalysisMetaTypes();
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));

    const int rate = 500000;
    const QVector<int> s =
        testsupport::SignalBuilder(rate, 10.0).sweep(80000, 40000, 1.0, 0.005, -12).noise(-50).samples();
    const std::vector<int> recording(s.begin(), s.end());

    std::printf("spectrogram worker, 10 s at 500 kHz (%zu samples), %d cores\n", recording.size(),
                QThread::idealThreadCount());
    std::printf("%-18s %7s %8s %10s %9s %9s %8s %8s %9s %8s\n", "config", "threads", "frames", "cells", "best s",
                "median s", "speed-up", "fftw s", "peak MB", "B/cell");
    for (const Config &c : {Config{1024, 50.0}, Config{512, 93.75}, Config{1024, 96.875}}) {
        int refFrames = 0;
        const double t1 = benchutil::nowSeconds();
        const QVector<double> ref = referenceSpectrogram(recording, c.windowSize, c.overlap, rate, refFrames);
        const double refSeconds = benchutil::nowSeconds() - t1;

        double single = 0.0;
        for (int threads : {1, 2, 4, 8}) {
            AnalysisPool::setThreadCount(threads);
            std::vector<double> seconds;
            long long peak = 0;
            int frames = 0;
            for (int run = 0; run < 3; ++run) {
                calcSpectrogramThread worker;
                QObject::connect(&worker, &calcSpectrogramThread::finished,
                                 [&](QVector<double>, int n, double, double, std::unordered_map<int, Blob>, QStringList,
                                     QList<MyBatCall>) { frames = n; });
                std::vector<int> samples = recording;
                const long long base = benchutil::rssBytes();
                benchutil::resetPeakRss();
                const double t0 = benchutil::nowSeconds();
                worker.process(int(samples.size()), 16, c.windowSize, 100.0f, QStringLiteral("Hann"), c.overlap,
                               &samples, rate, false);
                seconds.push_back(benchutil::nowSeconds() - t0);
                peak = std::max(peak, benchutil::peakRssBytes() - base);
            }
            std::sort(seconds.begin(), seconds.end());
            if (threads == 1)
                single = seconds[1];
            const double cells = double(frames) * (c.windowSize / 2);
            char name[32];
            std::snprintf(name, sizeof name, "%d, %.3f %%", c.windowSize, c.overlap);
            std::printf("%-18s %7d %8d %10.0f %9.3f %9.3f %8.2f %8.3f %9.1f %8.2f%s\n", name, threads, frames, cells,
                        seconds[0], seconds[1], single / seconds[1], refSeconds, peak / 1048576.0, peak / cells,
                        refFrames == frames ? "" : "  (frame counts differ!)");
        }
    }
    AnalysisPool::setThreadCount(0);
    std::printf("targets on 8 cores: 1024 points at 50 %% under 0.060 s, the 8e7-cell matrix (1024, 96.875 %%) "
                "under 0.5 s; at most 13 bytes per cell beyond the samples\n");
    return 0;
}
