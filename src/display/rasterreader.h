#pragma once

#include "analysis/analysispool.h"

#include <QVector>
#include <qwt_interval.h>
#include <qwt_matrix_raster_data.h>

#include <limits>

/*
 * QwtMatrixRasterData::value without its virtual call and per-call interval
 * copies, for the millions of reads of one mouse move or one maximum curve.
 * It repeats Qwt 6.1's arithmetic step for step (the tests compare it with
 * value() itself), so every curve read through it is the one value() gives.
 *
 * A position is worked out once per axis (xPosition, yPosition) and then
 * combined with every position of the other axis: a walk over a grid of
 * columns and rows costs one matrix read per cell (four when bilinear).
 */
class RasterReader
{
public:
    explicit RasterReader(const QwtMatrixRasterData &raster)
        : m_values(raster.valueMatrix())
        , m_x(raster.interval(Qt::XAxis))
        , m_y(raster.interval(Qt::YAxis))
        , m_columns(raster.numColumns())
        , m_rows(raster.numRows())
        , m_bilinear(raster.resampleMode() == QwtMatrixRasterData::BilinearInterpolation)
    {
        if (m_columns > 0) {
            if (m_x.isValid())
                m_dx = m_x.width() / m_columns;
            if (m_y.isValid())
                m_dy = m_y.width() / m_rows;
        }
    }

    // Where a position falls on one axis of the raster: the column (row) it
    // reads, or the two it interpolates between and its weight.
    struct AxisPosition {
        bool inside = false;
        int nearest = 0;
        int first = 0;
        int second = 0;
        double weight = 0.0;
    };

    AxisPosition xPosition(double x) const { return position(x, m_x, m_dx, m_columns); }
    AxisPosition yPosition(double y) const { return position(y, m_y, m_dy, m_rows); }

    /** Not a number outside the raster, as value() gives it. */
    double value(const AxisPosition &x, const AxisPosition &y) const
    {
        if (!(x.inside && y.inside))
            return std::numeric_limits<double>::quiet_NaN();
        const double *v = m_values.constData();
        if (!m_bilinear)
            return v[y.nearest * m_columns + x.nearest];
        const double v11 = v[y.first * m_columns + x.first];
        const double v21 = v[y.first * m_columns + x.second];
        const double v12 = v[y.second * m_columns + x.first];
        const double v22 = v[y.second * m_columns + x.second];
        const double vr1 = x.weight * v11 + (1.0 - x.weight) * v21;
        const double vr2 = x.weight * v12 + (1.0 - x.weight) * v22;
        return y.weight * vr1 + (1.0 - y.weight) * vr2;
    }

    double value(double x, double y) const { return value(xPosition(x), yPosition(y)); }

private:
    AxisPosition position(double p, const QwtInterval &interval, double step, int count) const
    {
        AxisPosition a;
        // A raster without columns or rows (the one a failed load leaves) has
        // no cell to read, whatever its axes say; Qwt's value() would divide
        // by its step of 0 and read before the matrix.
        a.inside = count > 0 && step > 0.0 && interval.contains(p);
        if (!a.inside)
            return a;
        if (!m_bilinear) {
            a.nearest = int((p - interval.minValue()) / step);
            // A position on an included maximum reads the last column (row).
            if (a.nearest >= count)
                a.nearest = count - 1;
            return a;
        }
        a.first = qRound((p - interval.minValue()) / step) - 1;
        a.second = a.first + 1;
        if (a.first < 0)
            a.first = a.second;
        else if (a.second >= count)
            a.second = a.first;
        const double centre = interval.minValue() + (a.second + 0.5) * step;
        a.weight = (centre - p) / step;
        return a;
    }

    const QVector<double> m_values; // shares the raster's matrix, no copy
    const QwtInterval m_x;
    const QwtInterval m_y;
    const int m_columns;
    const int m_rows;
    const bool m_bilinear;
    double m_dx = 0.0;
    double m_dy = 0.0;
};

/**
 * Runs run(first, end) over [0, count) in contiguous shares, one per thread of
 * the analysis pool, or in one share on the calling thread when the walk is
 * too short to pay for a hand-over. The shares are disjoint; run writes only
 * what belongs to its own range.
 */
template <typename Run>
void runInShares(int count, qint64 reads, Run run)
{
    // Below this many raster reads a thread costs more than it saves.
    constexpr qint64 parallelReads = 500000;
    const qint64 threads = reads < parallelReads ? 1 : AnalysisPool::threadCount();
    AnalysisPool::forEachChunk(count, (count + threads - 1) / threads,
                               [&run](int, qint64 first, qint64 end) { run(int(first), int(end)); });
}
