#include "display/maximumlevels.h"

#include "display/rasterreader.h"
#include "display/viewranges.h"

#include <qwt_matrix_raster_data.h>

#include <cmath>
#include <vector>

namespace {

constexpr double floorLevel = -300.0;

// The matrix cell that holds position p on an axis of count cells over
// interval, possibly outside 0 .. count - 1. The grid's positions are worked
// out as x0 + width x c / columns, which often lands a rounding error short
// of column c's edge; such a position belongs to the cell whose edge it
// meant, or every tenth column or so would never be read.
qint64 cellOf(double p, const QwtInterval &interval, int count)
{
    const double cells = (p - interval.minValue()) / interval.width() * count;
    return qint64(std::floor(cells + 1e-6));
}

// The matrix cells [first, end) that one grid position stands for.
struct CellSpan {
    int first = 0;
    int end = 0;
};

// What each of count positions p0 + width x i / count reads on an axis of the
// matrix: the cells from its own up to the next position's, at least its own,
// cut to the matrix. Side by side the spans cover every cell between the
// first position and p0 + width once; when positions lie closer than a cell,
// several stand for the same cell.
std::vector<CellSpan> cellSpans(double p0, double width, int count, const QwtInterval &interval, int cells)
{
    std::vector<CellSpan> spans(static_cast<size_t>(count));
    if (cells <= 0 || !(interval.width() > 0.0))
        return spans;
    qint64 own = cellOf(p0, interval, cells);
    for (int i = 0; i < count; ++i) {
        const qint64 next = cellOf(p0 + width * (i + 1) / count, interval, cells);
        const qint64 end = qMax(next, own + 1);
        spans[size_t(i)] = {int(qBound<qint64>(0, own, cells)), int(qBound<qint64>(0, end, cells))};
        own = next;
    }
    return spans;
}

// The cells all positions of an axis read together.
CellSpan covered(const std::vector<CellSpan> &spans)
{
    return spans.empty() ? CellSpan{} : CellSpan{spans.front().first, spans.back().end};
}

// The largest of the levels a span stands for; floorLevel when it reads none.
double spanMaximum(const std::vector<double> &levels, const CellSpan &span)
{
    double highest = floorLevel;
    for (int i = span.first; i < span.end; ++i)
        highest = qMax(highest, levels[size_t(i)]);
    return highest;
}

// One point per multiple of step from 1 on, holding the largest level since
// the previous point; position(i) gives the point's place on its axis.
template <typename Position, typename MakePoint>
QVector<QPointF> groupedPoints(const std::vector<double> &levels, int step, Position position, MakePoint point)
{
    QVector<QPointF> points;
    const int count = int(levels.size());
    if (step < 1)
        return points;
    points.reserve(count / step);
    double running = floorLevel;
    for (int i = 0; i < count; ++i) {
        running = qMax(running, levels[size_t(i)]);
        if (i >= 1 && i % step == 0) {
            points.append(point(position(i), running));
            running = floorLevel;
        }
    }
    return points;
}

bool usable(const RasterGrid &grid)
{
    return grid.columns > 0 && grid.rows > 0;
}

} // namespace

std::optional<RasterGrid> timeMaximumGrid(const QwtMatrixRasterData &raster, int sampleRate, bool follow,
                                          const VisibleArea &visible)
{
    const int columns = raster.numColumns();
    const int rows = raster.numRows();
    if (sampleRate <= 0 || columns <= 0 || rows <= 0)
        return std::nullopt;
    RasterGrid grid;
    grid.columns = columns;
    if (follow) {
        const double rowsPerKHz = rows / nyquistKHz(sampleRate);
        grid.x0 = visible.time.minValue();
        grid.width = visible.time.width();
        grid.y0 = visible.frequency.minValue();
        grid.height = visible.frequency.width();
        grid.rows = int(visible.frequency.maxValue() * rowsPerKHz) - int(visible.frequency.minValue() * rowsPerKHz);
    } else {
        const QwtInterval x = raster.interval(Qt::XAxis);
        const QwtInterval y = raster.interval(Qt::YAxis);
        grid.x0 = x.minValue();
        grid.width = x.width();
        grid.y0 = y.minValue();
        grid.height = y.width();
        grid.rows = rows;
    }
    return grid;
}

std::optional<RasterGrid> frequencyMaximumGrid(const QwtMatrixRasterData &raster, qint64 sampleCount, int sampleRate,
                                               bool follow, const VisibleArea &visible)
{
    const int columns = raster.numColumns();
    const int rows = raster.numRows();
    if (sampleCount <= 0 || sampleRate <= 0 || columns <= 0 || rows <= 0)
        return std::nullopt;
    RasterGrid grid;
    grid.rows = rows;
    if (follow) {
        const double columnsPerSecond = columns / (double(sampleCount) / sampleRate);
        grid.x0 = visible.time.minValue();
        grid.width = visible.time.width();
        grid.columns =
            int(visible.time.maxValue() * columnsPerSecond) - int(visible.time.minValue() * columnsPerSecond);
        grid.y0 = visible.frequency.minValue();
        grid.height = visible.frequency.width();
    } else {
        const QwtInterval x = raster.interval(Qt::XAxis);
        const QwtInterval y = raster.interval(Qt::YAxis);
        grid.x0 = x.minValue();
        grid.width = x.width();
        grid.columns = columns;
        grid.y0 = y.minValue();
        grid.height = y.width();
    }
    return grid;
}

QVector<QPointF> maximumOverTime(const QwtMatrixRasterData &raster, const RasterGrid &grid, int step)
{
    if (!usable(grid))
        return {};
    const int columns = raster.numColumns();
    const auto points = cellSpans(grid.x0, grid.width, grid.columns, raster.interval(Qt::XAxis), columns);
    const CellSpan read = covered(points);
    const CellSpan rows =
        covered(cellSpans(grid.y0, grid.height, grid.rows, raster.interval(Qt::YAxis), raster.numRows()));
    // The matrix's own levels, each cell once; the smoothing the spectrogram
    // may draw with would only lower a lone peak.
    const double *matrix = raster.valueMatrix().constData();
    std::vector<double> columnMaxima(size_t(columns), floorLevel);
    // Each share owns a stretch of columns and reads it row after row: the
    // reads of one row lie side by side in the matrix.
    runInShares(read.end - read.first, qint64(read.end - read.first) * (rows.end - rows.first),
                [&](int first, int end) {
                    for (int r = rows.first; r < rows.end; ++r) {
                        const double *row = matrix + qint64(r) * columns;
                        for (int c = read.first + first; c < read.first + end; ++c)
                            columnMaxima[size_t(c)] = qMax(columnMaxima[size_t(c)], row[c]);
                    }
                });
    std::vector<double> levels(size_t(grid.columns));
    for (int c = 0; c < grid.columns; ++c)
        levels[size_t(c)] = spanMaximum(columnMaxima, points[size_t(c)]);
    return groupedPoints(
        levels, step, [&grid](int c) { return grid.x0 + grid.width * c / grid.columns; },
        [](double x, double level) { return QPointF(x, level); });
}

QVector<QPointF> maximumOverFrequency(const QwtMatrixRasterData &raster, const RasterGrid &grid, int step)
{
    if (!usable(grid))
        return {};
    const int columns = raster.numColumns();
    const auto points = cellSpans(grid.y0, grid.height, grid.rows, raster.interval(Qt::YAxis), raster.numRows());
    const CellSpan read = covered(points);
    const CellSpan across = covered(cellSpans(grid.x0, grid.width, grid.columns, raster.interval(Qt::XAxis), columns));
    const double *matrix = raster.valueMatrix().constData();
    std::vector<double> rowMaxima(size_t(raster.numRows()), floorLevel);
    runInShares(read.end - read.first, qint64(read.end - read.first) * (across.end - across.first),
                [&](int first, int end) {
                    for (int r = read.first + first; r < read.first + end; ++r) {
                        const double *row = matrix + qint64(r) * columns;
                        double highest = floorLevel;
                        for (int c = across.first; c < across.end; ++c)
                            highest = qMax(highest, row[c]);
                        rowMaxima[size_t(r)] = highest;
                    }
                });
    std::vector<double> levels(size_t(grid.rows));
    for (int r = 0; r < grid.rows; ++r)
        levels[size_t(r)] = spanMaximum(rowMaxima, points[size_t(r)]);
    return groupedPoints(
        levels, step, [&grid](int r) { return grid.y0 + grid.height * r / grid.rows; },
        [](double y, double level) { return QPointF(level, y); });
}
