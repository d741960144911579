#pragma once

#include <QPointF>
#include <QVector>
#include <QtGlobal>
#include <qwt_interval.h>

#include <optional>

class QwtMatrixRasterData;

// The axis plots' maximum spectra: the largest spectrogram level of every
// time column (time plot) or frequency row (frequency plot). The points sit
// at the positions of a grid; the levels are read from the matrix itself,
// every cell the grid spans once, whatever resample mode the spectrogram is
// drawn with. Values in, values out; the window reads the view and draws them.

/**
 * Positions over the raster: column c at x0 + width x c / columns, row r at
 * y0 + height x r / rows (seconds and kHz).
 */
struct RasterGrid {
    double x0 = 0.0;
    double width = 0.0;
    int columns = 0;
    double y0 = 0.0;
    double height = 0.0;
    int rows = 0;
};

/** What the spectrogram shows: its time and frequency axes. */
struct VisibleArea {
    QwtInterval time;      // s
    QwtInterval frequency; // kHz
};

/**
 * The time plot's grid. Following the zoom: every raster column spread over
 * the visible time span, and the rows the visible frequency range holds
 * (rows per kHz = rows / Nyquist frequency; each end truncated) spread over
 * that range. Otherwise the raster's own columns and rows. Empty without a
 * sample rate or a raster.
 */
std::optional<RasterGrid> timeMaximumGrid(const QwtMatrixRasterData &raster, int sampleRate, bool follow,
                                          const VisibleArea &visible);

/**
 * The frequency plot's grid. Following the zoom: the columns the visible time
 * span holds (columns per second = columns / duration; each end truncated)
 * spread over that span, and every raster row spread over the visible
 * frequency range. Otherwise the raster's own. Empty without samples, a sample
 * rate or a raster.
 */
std::optional<RasterGrid> frequencyMaximumGrid(const QwtMatrixRasterData &raster, qint64 sampleCount, int sampleRate,
                                               bool follow, const VisibleArea &visible);

/**
 * Points (s, dB) of the time plot. Grid column c stands for the matrix
 * columns from the one holding its position up to the one holding the next
 * column's position (at least its own), over the matrix rows the grid's rows
 * span; its level is their largest, never below -300 (-300 where it lies
 * outside the matrix); every column c >= 1 that is a multiple of step closes a
 * group and gives a point at its position with the largest level since the
 * last point (the first group also holds column 0). Columns after the last
 * multiple give nothing.
 */
QVector<QPointF> maximumOverTime(const QwtMatrixRasterData &raster, const RasterGrid &grid, int step);

/** Points (dB, kHz) of the frequency plot: the same per grid row. */
QVector<QPointF> maximumOverFrequency(const QwtMatrixRasterData &raster, const RasterGrid &grid, int step);
