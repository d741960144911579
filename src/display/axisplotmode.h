#pragma once

#include <QString>

/**
 * What the two axis plots show: the "timePlotMode" and "frequencyPlotMode"
 * settings, stored as ints and always written equal.
 */
namespace AxisPlotMode {
enum Mode : int {
    Envelope = 0,      // amplitude envelope and power spectral density of the samples
    CursorLevels = 1,  // the spectrogram's levels through the cursor, drawn as the mouse moves
    MaximumLevels = 2, // the largest level of every time column and frequency row
};
}

/** The titles the two axis plots' level axes carry, by what they show. */
namespace AxisPlotTitle {
inline QString normalisedAmplitude()
{
    return QStringLiteral("Norm. Amplitude");
} // the time plot's envelope
inline QString density()
{
    return QStringLiteral("Power/Freq. in dB/Hz");
} // the frequency plot's density
inline QString level()
{
    return QStringLiteral("Ampl. in dBFS");
} // either plot's spectral levels
} // namespace AxisPlotTitle
