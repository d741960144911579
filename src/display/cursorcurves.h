#pragma once

#include <QPointF>
#include <QVector>

#include <optional>

class QwtMatrixRasterData;

// The curves that follow the mouse over the spectrogram: the level along the
// cursor's frequency in the time plot, the spectrum at the cursor's time in
// the frequency plot, and where the frequency plot's cursor line sits. The
// event filter reads the widgets, calls these, and applies what they return.

/** Columns (rows) merged into one cursor-curve point: count / screen size, at least 1; empty without a screen size. */
std::optional<int> cursorStep(int count, int screenSize);

/**
 * The level along the cursor frequency over [a, b]: one point per step
 * columns, each the maximum of its group (values below -300 dB show as -300).
 * Empty without a screen width.
 */
std::optional<QVector<QPointF>> timeCursorCurve(const QwtMatrixRasterData &raster, double frequency, double a, double b,
                                                int screenWidth);

/** The spectrum at the cursor time over the frequencies [a, b], as points (level, frequency). */
std::optional<QVector<QPointF>> frequencyCursorCurve(const QwtMatrixRasterData &raster, double time, double a, double b,
                                                     int screenHeight);

/** Where the frequency plot's cursor line sits: three pixels in from the level axis's first end. */
double frequencyMarkerLevel(double x0, double x1, int canvasWidth);

/** The raster's value at (x, y) as QwtMatrixRasterData::value gives it, read the fast way the cursor curves read it. */
double rasterValue(const QwtMatrixRasterData &raster, double x, double y);
