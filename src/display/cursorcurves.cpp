#include "display/cursorcurves.h"

#include <qwt_matrix_raster_data.h>

#include <QThread>

#include <cmath>
#include <limits>
#include <thread>
#include <vector>

std::optional<int> cursorStep(int count, int screenSize)
{
    if (screenSize <= 0)
        return std::nullopt;
    return qMax(1, count / screenSize);
}

namespace {

// Below this many raster reads a thread costs more than it saves.
constexpr qint64 parallelReads = 500000;

/*
 * QwtMatrixRasterData::value without its virtual call and per-call interval
 * copies, for the millions of reads of one mouse move. It repeats Qwt 6.1's
 * arithmetic step for step (the tests compare it with value() itself), so the
 * curves are the ones value() gives.
 */
class RasterReader {
public:
    explicit RasterReader(const QwtMatrixRasterData &raster)
        : m_values(raster.valueMatrix()),
          m_x(raster.interval(Qt::XAxis)),
          m_y(raster.interval(Qt::YAxis)),
          m_columns(raster.numColumns()),
          m_rows(raster.numRows()),
          m_bilinear(raster.resampleMode() == QwtMatrixRasterData::BilinearInterpolation)
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
        a.inside = interval.contains(p);
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

// One cursor curve: count positions spread over [a, b] along one raster axis,
// the other coordinate fixed at the cursor.
struct CursorLine {
    CursorLine(const RasterReader &reader, double a, double b, int count, double fixed, bool alongTime)
        : raster(reader),
          a(a),
          b(b),
          count(count),
          alongTime(alongTime),
          fixed(alongTime ? reader.yPosition(fixed) : reader.xPosition(fixed))
    {
    }

    const RasterReader &raster;
    double a;
    double b;
    int count;
    bool alongTime;
    RasterReader::AxisPosition fixed; // the cursor's own coordinate, the same for every read

    float position(int i) const { return float((b - a) * i / count + a); }
    float level(float p) const
    {
        return float(alongTime ? raster.value(raster.xPosition(p), fixed) : raster.value(fixed, raster.yPosition(p)));
    }
};

/*
 * Points at every multiple of step above 0, each the maximum of its group
 * (the first group also holds position 0), never below -300 dB; positions
 * after the last multiple give nothing. A maximum does not depend on the order
 * its values are read in, so for millions of columns the groups are shared out
 * over a few threads and the curve stays exactly what one pass gives.
 */
QVector<QPointF> groupMaxima(const CursorLine &line, int step)
{
    const int groups = line.count > 0 ? (line.count - 1) / step : 0;
    QVector<QPointF> points(groups);
    QPointF *out = points.data();
    auto run = [&line, step, out](int firstGroup, int endGroup) {
        for (int g = firstGroup; g < endGroup; ++g) {
            const int last = (g + 1) * step;
            float running = -300.0f;
            for (int i = g == 0 ? 0 : g * step + 1; i <= last; ++i) {
                // Outside the raster (a span longer than the recording) Qwt
                // gives no number; it must not become a point of the curve.
                const float v = line.level(line.position(i));
                if (v > running)
                    running = v;
            }
            const double p = line.position(last);
            out[g] = line.alongTime ? QPointF(p, running) : QPointF(running, p);
        }
    };
    const qint64 reads = qint64(groups) * step;
    const int threads = reads < parallelReads ? 1 : qBound(1, QThread::idealThreadCount(), 8);
    if (threads == 1) {
        run(0, groups);
        return points;
    }
    std::vector<std::thread> helpers;
    helpers.reserve(threads - 1);
    const int share = (groups + threads - 1) / threads;
    for (int t = 1; t < threads; ++t) {
        const int first = qMin(groups, t * share);
        helpers.emplace_back(run, first, qMin(groups, first + share));
    }
    run(0, qMin(groups, share));
    for (std::thread &h : helpers)
        h.join();
    return points;
}

} // namespace

double rasterValue(const QwtMatrixRasterData &raster, double x, double y)
{
    return RasterReader(raster).value(x, y);
}

std::optional<QVector<QPointF>> timeCursorCurve(const QwtMatrixRasterData &raster, double frequency, double a,
                                                double b, int screenWidth)
{
    const int numColumns = raster.numColumns();
    const std::optional<int> step = cursorStep(numColumns, screenWidth);
    if (!step)
        return std::nullopt;
    return groupMaxima(CursorLine{RasterReader(raster), a, b, numColumns, frequency, true}, *step);
}

std::optional<QVector<QPointF>> frequencyCursorCurve(const QwtMatrixRasterData &raster, double time, double a,
                                                     double b, int screenHeight)
{
    const int numRows = raster.numRows();
    const std::optional<int> step = cursorStep(numRows, screenHeight);
    if (!step)
        return std::nullopt;
    return groupMaxima(CursorLine{RasterReader(raster), a, b, numRows, time, false}, *step);
}

double frequencyMarkerLevel(double x0, double x1, int canvasWidth)
{
    if (canvasWidth <= 0)
        return x0;
    return x0 + (x1 - x0) * 3.0 / canvasWidth;
}
