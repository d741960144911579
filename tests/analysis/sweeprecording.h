#pragma once

#include "recording/wavfile.h"
#include "signalbuilder.h"
#include "wavwriter.h"

#include <QDir>
#include <QVector>
#include <vector>

namespace sweeprecording {

const int sampleRate = 250000;

// One second at 250 kHz: five pipistrelle-like sweeps, 49 -> 44 kHz in 6 ms,
// whose end frequency can only fall in the PipPip band (42.5 .. 49.5 kHz, up to
// 18 ms), and five noctule-like sweeps, 24.5 -> 22 kHz in 14 ms, whose end
// frequency can only fall in the NycMid band (21 .. 26.5 kHz, up to 30 ms).
// The rules therefore give the verdict "NycMid, PipPip".
inline QVector<int> pipistrelleAndNoctule()
{
    testsupport::SignalBuilder b(sampleRate, 1.0);
    for (int i = 0; i < 5; ++i)
        b.sweep(49000, 44000, 0.05 + 0.09 * i, 0.006, -12);
    for (int i = 0; i < 5; ++i)
        b.sweep(24500, 22000, 0.52 + 0.09 * i, 0.014, -12);
    return b.samples();
}

// Samples moved from one width to another by a shift: exact upward, as a
// recorder writing 24 bits from a 16-bit converter stores them.
inline QVector<int> rescaled(const QVector<int> &samples, int fromBits, int toBits)
{
    QVector<int> out(samples.size());
    for (int i = 0; i < samples.size(); ++i)
        out[i] =
            toBits >= fromBits ? int(quint32(samples[i]) << (toBits - fromBits)) : samples[i] >> (fromBits - toBits);
    return out;
}

// The samples written at bits by the test writer and read back as the program
// reads them; empty when the file does not read back at that width.
inline std::vector<int> throughWavFile(const QVector<int> &samples, int bits, const QString &path)
{
    if (!testsupport::writeFile(path, testsupport::simplePcmWav(samples, sampleRate, bits)))
        return {};
    WavFile wav;
    wav.open(path, false);
    if (!wav.valid || wav.bitsPerSample != bits)
        return {};
    return wav.samples;
}

// The sweep recording as a 16-bit file and as a copy at bits, both read back.
// For 8 bits the 16-bit file holds the 8-bit values shifted up, so that both
// files carry exactly the same information.
struct TwoWidths {
    std::vector<int> sixteen;
    std::vector<int> copy;
};

inline TwoWidths atTwoWidths(int bits, const QDir &dir)
{
    QVector<int> samples = pipistrelleAndNoctule();
    if (bits == 8)
        samples = rescaled(rescaled(samples, 16, 8), 8, 16);
    return {throughWavFile(samples, 16, dir.filePath(QStringLiteral("16.wav"))),
            throughWavFile(rescaled(samples, 16, bits), bits, dir.filePath(QStringLiteral("copy.wav")))};
}

} // namespace sweeprecording
