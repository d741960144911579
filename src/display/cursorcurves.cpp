#include "display/cursorcurves.h"

#include "display/rasterreader.h"

#include <qwt_matrix_raster_data.h>

std::optional<int> cursorStep(int count, int screenSize)
{
    if (screenSize <= 0)
        return std::nullopt;
    return qMax(1, count / screenSize);
}

namespace {

// One cursor curve: count positions spread over [a, b] along one raster axis,
// the other coordinate fixed at the cursor.
struct CursorLine {
    CursorLine(const RasterReader &reader, double a, double b, int count, double fixed, bool alongTime)
        : raster(reader)
        , a(a)
        , b(b)
        , count(count)
        , alongTime(alongTime)
        , fixed(alongTime ? reader.yPosition(fixed) : reader.xPosition(fixed))
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
    runInShares(groups, qint64(groups) * step, run);
    return points;
}

} // namespace

double rasterValue(const QwtMatrixRasterData &raster, double x, double y)
{
    return RasterReader(raster).value(x, y);
}

std::optional<QVector<QPointF>> timeCursorCurve(const QwtMatrixRasterData &raster, double frequency, double a, double b,
                                                int screenWidth)
{
    const int numColumns = raster.numColumns();
    const std::optional<int> step = cursorStep(numColumns, screenWidth);
    if (!step)
        return std::nullopt;
    return groupMaxima(CursorLine{RasterReader(raster), a, b, numColumns, frequency, true}, *step);
}

std::optional<QVector<QPointF>> frequencyCursorCurve(const QwtMatrixRasterData &raster, double time, double a, double b,
                                                     int screenHeight)
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
