#pragma once

#include "display/spectrogramview.h"

#include <QPointF>
#include <QString>
#include <QVector>

#include <optional>

class QwtMatrixRasterData;
class WavFile;
class AudioSampleReader;

// The computations behind the window-wide event filter: the span that keeps a
// fixed aspect ratio when the spectrogram canvas is resized, and the cursor
// curves that follow the mouse over the spectrogram. The filter reads the
// widgets, calls these, and applies what they return.

/**
 * Duration in seconds of the shown recording as its reader describes it; not a
 * number when nothing (or something that is neither WAV nor RAW) is shown.
 */
double shownRecordingDuration(const QString &currentFileName, const WavFile &wavFile,
                              const AudioSampleReader &rawFile);

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
    double axisMin = 0.0; // new time interval, also the playback section
    double axisMax = 0.0;
    ScrollRange scroll;   // scroll.needed: show the bar with this range
};

/**
 * One resize pass: the time interval and the scroll bar together, so the view
 * never waits for a second resize that may not come. Empty when there is no
 * recording, no laid-out canvas, no usable ratio or no column width yet: the
 * filter then keeps the last valid view.
 */
std::optional<FixedAspectView> fixedAspectView(const FixedAspectInput &in);

/** Columns (rows) merged into one cursor-curve point: count / screen size, at least 1; empty without a screen size. */
std::optional<int> cursorStep(int count, int screenSize);

/**
 * The level along the cursor frequency over [a, b]: one point per step
 * columns, each the maximum of its group (values below -300 dB show as -300).
 * Empty without a screen width.
 */
std::optional<QVector<QPointF>> timeCursorCurve(const QwtMatrixRasterData &raster, double frequency, double a,
                                                double b, int screenWidth);

/** The spectrum at the cursor time over the frequencies [a, b], as points (level, frequency). */
std::optional<QVector<QPointF>> frequencyCursorCurve(const QwtMatrixRasterData &raster, double time, double a,
                                                     double b, int screenHeight);

/** Where the frequency plot's cursor line sits: three pixels in from the level axis's first end. */
double frequencyMarkerLevel(double x0, double x1, int canvasWidth);

/** The raster's value at (x, y) as QwtMatrixRasterData::value gives it, read the fast way the cursor curves read it. */
double rasterValue(const QwtMatrixRasterData &raster, double x, double y);
