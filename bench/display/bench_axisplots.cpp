// The axis plots' own computations, without the window:
// - the maximum spectra of both plots (mode 2) on a spectrogram at the
//   8e7-cell limit (512 rows x 156250 columns, 640 MB of doubles), in both
//   resample modes, over the whole raster and following a zoom of a fifth of it;
//   target: both together under 1 s;
// - the envelope and the power spectral density (mode 0) of 60 s at 500 kHz
//   (3e7 samples, about 7,300 blocks of 4096); target: both together under 0.3 s.
// Median of 5 runs; figures are rough on a shared machine.
#include "analysis/analysispool.h"
#include "benchutil.h"
#include "display/amplitudeenvelope.h"
#include "display/maximumlevels.h"
#include "display/powerspectraldensity.h"

#include <QCoreApplication>
#include <qwt_matrix_raster_data.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr int runs = 5;

double medianMs(const std::function<void()> &work)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const double t0 = benchutil::nowSeconds();
        work();
        ms.push_back((benchutil::nowSeconds() - t0) * 1000.0);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

void maximumSpectra()
{
    constexpr int rows = 512;
    constexpr int columns = 156250;
    QVector<double> values(rows * columns);
    std::mt19937 random(5);
    std::uniform_real_distribution<double> level(-100.0, 0.0);
    for (double &v : values)
        v = level(random);
    QwtMatrixRasterData raster;
    raster.setValueMatrix(values, columns);
    values = QVector<double>(); // the raster holds the one copy
    raster.setInterval(Qt::XAxis, QwtInterval(0.0, 10.0));
    raster.setInterval(Qt::YAxis, QwtInterval(0.0, 250.0));
    const VisibleArea zoom{QwtInterval(2.0, 4.0), QwtInterval(20.0, 120.0)};
    // Points for a 1920 x 1080 desktop.
    const int timeStep = columns / 1920;
    const int frequencyStep = 1;

    std::printf("maximum spectra, %d x %d = %lld cells, on %d threads\n", rows, columns,
                static_cast<long long>(rows) * columns, AnalysisPool::threadCount());
    for (const bool bilinear : {false, true}) {
        raster.setResampleMode(bilinear ? QwtMatrixRasterData::BilinearInterpolation
                                        : QwtMatrixRasterData::NearestNeighbour);
        for (const bool follow : {false, true}) {
            const RasterGrid t = *timeMaximumGrid(raster, 500000, follow, zoom);
            const RasterGrid f = *frequencyMaximumGrid(raster, 5000000, 500000, follow, zoom);
            int points = 0;
            const double timeMs = medianMs([&] { points = maximumOverTime(raster, t, timeStep).size(); });
            const double frequencyMs =
                medianMs([&] { points += maximumOverFrequency(raster, f, frequencyStep).size(); });
            std::printf("  %-9s %-14s time plot %7.1f ms  frequency plot %7.1f ms  together %7.1f ms  (%d points)\n",
                        bilinear ? "bilinear" : "nearest", follow ? "zoom followed" : "whole raster", timeMs,
                        frequencyMs, timeMs + frequencyMs, points);
        }
    }
    std::printf("  target: together under 1000 ms\n\n");
}

void envelopeAndDensity()
{
    constexpr int rate = 500000;
    constexpr qint64 count = qint64(rate) * 60;
    std::vector<int> samples(static_cast<size_t>(count));
    std::mt19937 random(9);
    std::normal_distribution<double> noise(0.0, 3000.0);
    for (int &s : samples)
        s = int(qBound(-32768.0, noise(random), 32767.0));

    EnvelopeView view;
    view.sampleCount = count;
    view.sampleRate = rate;
    view.visibleEnd = 60.0;
    view.pixelWidth = 1600;
    const EnvelopeRange range = *envelopeRange(view);
    int points = 0;
    const double envelopeMs = medianMs([&] { points = amplitudeEnvelope(samples, range, rate, 16).maxima.size(); });
    const double densityMs = medianMs([&] { points += powerSpectralDensity(samples, count, rate, 16, 1).size(); });
    std::printf("envelope and density of 60 s at 500 kHz (%lld samples, %lld blocks of 4096)\n",
                static_cast<long long>(count), static_cast<long long>(count / 4096));
    std::printf("  envelope %7.1f ms (step %lld)  density %7.1f ms  together %7.1f ms  (%d points)\n", envelopeMs,
                static_cast<long long>(range.step), densityMs, envelopeMs + densityMs, points);
    std::printf("  target: together under 300 ms\n");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    maximumSpectra();
    envelopeAndDensity();
    return 0;
}
