#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The arithmetic of showing a spectrogram result: level range, axes, visible
// span and scroll range, and the recording's information line. Values in,
// values out; the main window applies them to its plots.

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

/** The spectrogram's frequency axis: the stored limits kept within the Nyquist frequency, or 0 .. Nyquist. */
AxisRange frequencyAxisRange(bool fixedYScale, int lowerLimitKHz, int upperLimitKHz, double nyquist);

/**
 * The time span shown by "fixedXScale": 0 the whole recording, 1 the fixed
 * duration, 2 the span that keeps the fixed aspect ratio on the canvas, other
 * values 0. Empty when mode 2 has nothing sound to divide by (a canvas not yet
 * laid out, a stored ratio of 0): the caller keeps its last valid view.
 */
std::optional<double> visibleTimeSpan(int fixedXScale, double duration, double fixedDuration,
                                      double canvasWidth, double canvasHeight, double frequencySpan,
                                      double aspectRatio);

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

/** The non-empty classes and then the comment of a bext description, in the order they are shown. */
QStringList shownClassesAndComment(const QString &description);

/**
 * "16bit; 250000Hz; 1.000s; dd/MM/yy; hh:mm:ss" and "; " + each extra text.
 * Numbers in the default locale, the duration with three decimals.
 */
QString recordingInfoLine(int bitsPerSample, int sampleRate, double duration, const QString &dateText,
                          const QString &timeText, const QStringList &extras);
