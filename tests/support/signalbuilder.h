#pragma once

#include <QVector>

namespace testsupport {

// Integer sample signals for fixtures. Amplitudes are in dBFS of a 16-bit
// full scale (0 dBFS = 32767); times in seconds, frequencies in Hz.
struct SignalBuilder {
    explicit SignalBuilder(double sampleRate, double seconds);

    // Adds a sine of constant frequency over [start, start + duration).
    SignalBuilder &tone(double frequencyHz, double dbfs, double start = 0.0, double duration = -1.0);
    // Adds a linear frequency sweep from f0 to f1 over [start, start + duration),
    // shaped by a Hann envelope so its ends do not splatter.
    SignalBuilder &sweep(double f0Hz, double f1Hz, double start, double duration, double dbfs);
    // Adds white noise from a fixed-seed generator.
    SignalBuilder &noise(double dbfs, unsigned seed = 1);

    // Rounded, clipped to [-(2^(bits-1)), 2^(bits-1) - 1] after scaling from 16 bits.
    QVector<int> samples(int bitsPerSample = 16) const;

    double sampleRate;
    QVector<double> values; // in 16-bit sample units
};

} // namespace testsupport
