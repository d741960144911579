#pragma once

#include "signalbuilder.h"

#include <QVector>

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

} // namespace sweeprecording
