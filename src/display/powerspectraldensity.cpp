#include "display/powerspectraldensity.h"

#include "display/amplitudeenvelope.h"
#include "fft/fouriertransformer.h"

#include <cmath>

namespace {

constexpr int half = densityBlockSize / 2;

// The edge of the cosine windows: the period spans 4095 intervals.
double phase(int n, int multiple)
{
    return multiple * M_PI * n / (densityBlockSize - 1);
}

double weight(int windowIndex, int n)
{
    switch (windowIndex) {
    case 0: // Rectangular
        return 1.0;
    case 1: // Hamming
        return 0.54 - 0.46 * std::cos(phase(n, 2));
    case 2: // Hann
        return 0.5 * (1.0 - std::cos(phase(n, 2)));
    case 3: // Blackman
        return 0.42 - 0.5 * std::cos(phase(n, 2)) + 0.08 * std::cos(phase(n, 4));
    case 4: // Bartlett
        return (2047.0 - std::abs(n - 2047.0)) / 2047.0;
    case 5: // Flattop
        return 1.0 - 1.93 * std::cos(phase(n, 2)) + 1.29 * std::cos(phase(n, 4)) - 0.388 * std::cos(phase(n, 6))
               + 0.028 * std::cos(phase(n, 8));
    default: // Blackman-Harris
        return 0.35875 - 0.48829 * std::cos(phase(n, 2)) + 0.14128 * std::cos(phase(n, 4))
               - 0.01168 * std::cos(phase(n, 6));
    }
}

} // namespace

std::vector<float> densityWindow(int windowIndex)
{
    std::vector<float> w(densityBlockSize);
    for (int n = 0; n < densityBlockSize; ++n)
        w[size_t(n)] = float(weight(windowIndex, n));
    return w;
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
