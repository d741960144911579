#include "display/powerspectraldensity.h"

#include "display/amplitudeenvelope.h"
#include "fft/fouriertransformer.h"
#include "fft/windowweights.h"

#include <cmath>

namespace {

constexpr int half = densityBlockSize / 2;

// The settings dialog lists the kinds in order; an index it never writes is Blackman-Harris.
WindowKind densityWindowKind(int windowIndex)
{
    if (windowIndex < 0 || windowIndex > int(WindowKind::BlackmanHarris))
        return WindowKind::BlackmanHarris;
    return WindowKind(windowIndex);
}

} // namespace

std::vector<float> densityWindow(int windowIndex)
{
    const std::vector<double> weights = windowWeights(densityWindowKind(windowIndex), densityBlockSize);
    return std::vector<float>(weights.begin(), weights.end());
}

QVector<QPointF> powerSpectralDensity(const std::vector<int> &samples, qint64 sampleCount, int sampleRate,
                                      int bitsPerSample, int windowIndex)
{
    QVector<QPointF> points;
    const qint64 fullScale = sampleFullScale(bitsPerSample);
    if (sampleCount <= 0 || sampleRate <= 0 || fullScale <= 0)
        return points;

    const std::vector<float> w = densityWindow(windowIndex);
    const float f = float(fullScale);
    std::vector<float> block(densityBlockSize, 0.0f);
    // Bin 2048's imaginary part is read as spectrum[4096], which the FFT never writes.
    std::vector<float> spectrum(densityBlockSize + 1, 0.0f);
    const qint64 blocks = qMin(sampleCount, qint64(samples.size())) / densityBlockSize;
    const int *in = samples.data();
    for (qint64 b = 0; b < blocks; ++b) {
        const int *s = in + b * densityBlockSize;
        for (int n = 0; n < densityBlockSize; ++n)
            block[size_t(n)] += float(s[n]) / f * w[size_t(n)];
    }

    FourierTransformer fft(0, QString());
    fft.setSizeLogged(densityBlockSize);
    // The blocks carry their window already.
    fft.setWindowFunction(QStringLiteral("Rectangular"));
    fft.forwardTransform(block.data(), spectrum.data());

    const float divisor = float(sampleCount) * float(sampleRate);
    points.reserve(half + 1);
    for (int k = 0; k <= half; ++k) {
        const float re = spectrum[size_t(k)];
        const float im = k == 0 ? 0.0f : spectrum[size_t(half + k)];
        const float power = k == 0 ? re * re / divisor : 2.0f * (re * re + im * im) / divisor;
        const double density = 10.0 * std::log10(double(power));
        if (std::isfinite(density))
            points.append(QPointF(density, double(k) * sampleRate / densityBlockSize / 1000.0));
    }
    return points;
}

std::optional<DensityAxis> densityAxis(const QVector<QPointF> &points)
{
    if (points.isEmpty())
        return std::nullopt;
    double largest = points.first().x();
    double smallest = largest;
    for (const QPointF &p : points) {
        largest = qMax(largest, p.x());
        smallest = qMin(smallest, p.x());
    }
    DensityAxis axis;
    axis.left = largest;
    axis.right = qMin(0.0, smallest);
    if (!(axis.left > axis.right))
        axis.left = axis.right + 1.0;
    return axis;
}
