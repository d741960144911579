#pragma once

#include <optional>

// The ranges the spectrogram view shows: the level range, the frequency axis,
// the visible time span and the scroll bar's range. Values in, values out;
// the window and its SpectrogramScroller apply them to the plots.

struct LevelRange {
    double lower = -100.0; // dB
    double upper = -30.0;  // dB
};

// Lowest level drawn for WAV and RAW recordings.
constexpr double wavLevelFloor = -100.0;
constexpr double rawLevelFloor = -80.0;

/**
 * The computed level range of a result: floor(min) raised to the floor of the
 * recording type, ceil(max). A silent or very quiet recording can report a
 * maximum that is not finite or not above the minimum; the range then spans at
 * least 1 dB above the minimum, so the colour map never gets an empty or
 * non-finite interval (and no such value reaches the settings store).
 */
LevelRange computedLevelRange(double minValue, double maxValue, bool raw);

/** A stored range made usable the same way: finite, upper at least 1 dB above lower. */
LevelRange usableLevelRange(double lower, double upper);

/** The exact Nyquist frequency in kHz: 44100 Hz gives 22.05, not 22. */
double nyquistKHz(int sampleRate);

struct AxisRange {
    double lower = 0.0;
    double upper = 0.0;
};

/**
 * The spectrogram's frequency axis: the stored limits kept within the Nyquist
 * frequency with the lower one below the upper, or 0 .. Nyquist.
 */
AxisRange frequencyAxisRange(bool fixedYScale, int lowerLimitKHz, int upperLimitKHz, double nyquist);

/** How the time axis is scaled: the "fixedXScale" setting, stored as an int. */
namespace TimeAxisMode {
enum Mode : int {
    WholeRecording = 0,
    FixedDuration = 1,    // "fixedDuration" seconds at a time
    FixedAspectRatio = 2, // one second as wide as "fixedAspectRatio" kHz are tall
};
}

/**
 * The time span shown in a TimeAxisMode: the whole recording, the fixed
 * duration, or the span that keeps the fixed aspect ratio on the canvas; other
 * values give 0. Empty when the aspect ratio has nothing sound to divide by (a
 * canvas not yet laid out, a stored ratio of 0): the caller keeps its last
 * valid view.
 */
std::optional<double> visibleTimeSpan(int fixedXScale, double duration, double fixedDuration, double canvasWidth,
                                      double canvasHeight, double frequencySpan, double aspectRatio);

/** Time span that one second of aspectRatio kHz needs on a canvas; empty when not computable. */
std::optional<double> fixedAspectSpan(double canvasWidth, double canvasHeight, double frequencySpan,
                                      double aspectRatio);

struct ScrollRange {
    bool needed = false; // the span does not show the whole recording
    int maximum = 0;     // in spectrogram columns
    int pageStep = 0;
    int singleStep = 20;
};

/**
 * Scroll bar of a recording of duration seconds shown span seconds at a time,
 * in columns of secondsPerColumn. Empty when it is needed but secondsPerColumn
 * gives no column width yet.
 */
std::optional<ScrollRange> scrollRange(double duration, double span, double secondsPerColumn);

struct FixedAspectInput {
    double duration = 0.0;         // s
    double canvasWidth = 0.0;      // contents rectangle, px
    double canvasHeight = 0.0;     // px, with the scroll bar's space kept
    double frequencySpan = 0.0;    // kHz shown
    double aspectRatio = 10.0;     // "fixedAspectRatio"
    double left = 0.0;             // current lower bound of the time axis, s
    double secondsPerColumn = 0.0; // 0 before the first spectrogram
};

struct FixedAspectView {
    double axisMin = 0.0; // new time interval
    double axisMax = 0.0;
    ScrollRange scroll; // scroll.needed: show the bar with this range
};

/**
 * One resize pass in the fixed aspect ratio: the time interval and the scroll
 * bar together, so the view never waits for a second resize that may not come.
 * Empty when there is no recording, no laid-out canvas, no usable ratio or no
 * column width yet: the caller then keeps the last valid view.
 */
std::optional<FixedAspectView> fixedAspectView(const FixedAspectInput &in);
