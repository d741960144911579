#pragma once

/**
 * What the two axis plots show: the "timePlotMode" and "frequencyPlotMode"
 * settings, stored as ints and always written equal.
 */
namespace AxisPlotMode {
enum Mode : int {
    Envelope = 0,       // amplitude envelope and power spectral density of the samples
    CursorLevels = 1,   // the spectrogram's levels through the cursor, drawn as the mouse moves
    MaximumLevels = 2,  // the largest level of every time column and frequency row
};
}
