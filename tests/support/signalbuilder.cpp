#include "signalbuilder.h"

#include <cmath>
#include <random>

namespace testsupport {

namespace {
constexpr double kPi = 3.14159265358979323846;
double amplitude(double dbfs)
{
    return 32767.0 * std::pow(10.0, dbfs / 20.0);
}
} // namespace

SignalBuilder::SignalBuilder(double rate, double seconds)
    : sampleRate(rate)
    , values(int(std::llround(rate * seconds)), 0.0)
{
}

SignalBuilder &SignalBuilder::tone(double frequencyHz, double dbfs, double start, double duration)
{
    const int first = int(std::llround(start * sampleRate));
    const int last =
        duration < 0 ? values.size() : qMin(values.size(), int(std::llround((start + duration) * sampleRate)));
    const double a = amplitude(dbfs);
    for (int i = qMax(0, first); i < last; ++i)
        values[i] += a * std::sin(2.0 * kPi * frequencyHz * double(i - first) / sampleRate);
    return *this;
}

SignalBuilder &SignalBuilder::sweep(double f0Hz, double f1Hz, double start, double duration, double dbfs)
{
    const int first = int(std::llround(start * sampleRate));
    const int n = int(std::llround(duration * sampleRate));
    const double a = amplitude(dbfs);
    const double k = (f1Hz - f0Hz) / duration; // Hz per second
    for (int j = 0; j < n; ++j) {
        const int i = first + j;
        if (i < 0 || i >= values.size())
            continue;
        const double t = double(j) / sampleRate;
        const double phase = 2.0 * kPi * (f0Hz * t + 0.5 * k * t * t);
        const double env = 0.5 - 0.5 * std::cos(2.0 * kPi * double(j) / double(qMax(1, n - 1)));
        values[i] += a * env * std::sin(phase);
    }
    return *this;
}

SignalBuilder &SignalBuilder::noise(double dbfs, unsigned seed)
{
    std::mt19937 gen(seed);
    std::normal_distribution<double> dist(0.0, amplitude(dbfs));
    for (double &v : values)
        v += dist(gen);
    return *this;
}

QVector<int> SignalBuilder::samples(int bitsPerSample) const
{
    const double scale = std::ldexp(1.0, bitsPerSample - 16);
    const double hi = std::ldexp(1.0, bitsPerSample - 1) - 1.0;
    const double lo = -std::ldexp(1.0, bitsPerSample - 1);
    QVector<int> out(values.size());
    for (int i = 0; i < values.size(); ++i)
        out[i] = int(qBound(lo, std::round(values[i] * scale), hi));
    return out;
}

} // namespace testsupport
