#include "display/maximumlevels.h"

#include "display/rasterreader.h"
#include "display/viewranges.h"

#include <qwt_matrix_raster_data.h>

#include <vector>

namespace {

constexpr double floorLevel = -300.0;

std::vector<RasterReader::AxisPosition> columnPositions(const RasterReader &reader, const RasterGrid &grid)
{
    std::vector<RasterReader::AxisPosition> positions(size_t(grid.columns));
    for (int c = 0; c < grid.columns; ++c)
        positions[size_t(c)] = reader.xPosition(grid.x0 + grid.width * c / grid.columns);
    return positions;
}

std::vector<RasterReader::AxisPosition> rowPositions(const RasterReader &reader, const RasterGrid &grid)
{
    std::vector<RasterReader::AxisPosition> positions(size_t(grid.rows));
    for (int r = 0; r < grid.rows; ++r)
        positions[size_t(r)] = reader.yPosition(grid.y0 + grid.height * r / grid.rows);
    return positions;
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

std::optional<RasterGrid> frequencyMaximumGrid(const QwtMatrixRasterData &raster, qint64 sampleCount,
                                               int sampleRate, bool follow, const VisibleArea &visible)
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
    const RasterReader reader(raster);
    const auto xs = columnPositions(reader, grid);
    const auto ys = rowPositions(reader, grid);
    std::vector<double> levels(size_t(grid.columns), floorLevel);
    // Each share owns a stretch of columns and reads it row after row: the
    // reads of one row lie side by side in the matrix.
    runInShares(grid.columns, qint64(grid.columns) * grid.rows, [&](int first, int end) {
        for (const RasterReader::AxisPosition &y : ys) {
            for (int c = first; c < end; ++c) {
                const double v = reader.value(xs[size_t(c)], y);
                if (v > levels[size_t(c)]) // not a number (outside the raster) never is
                    levels[size_t(c)] = v;
            }
        }
    });
    return groupedPoints(
        levels, step, [&grid](int c) { return grid.x0 + grid.width * c / grid.columns; },
        [](double x, double level) { return QPointF(x, level); });
}

QVector<QPointF> maximumOverFrequency(const QwtMatrixRasterData &raster, const RasterGrid &grid, int step)
{
    if (!usable(grid))
        return {};
    const RasterReader reader(raster);
    const auto xs = columnPositions(reader, grid);
    const auto ys = rowPositions(reader, grid);
    std::vector<double> levels(size_t(grid.rows), floorLevel);
    runInShares(grid.rows, qint64(grid.columns) * grid.rows, [&](int first, int end) {
        for (int r = first; r < end; ++r) {
            double highest = floorLevel;
            for (const RasterReader::AxisPosition &x : xs) {
                const double v = reader.value(x, ys[size_t(r)]);
                if (v > highest)
                    highest = v;
            }
            levels[size_t(r)] = highest;
        }
    });
    return groupedPoints(
        levels, step, [&grid](int r) { return grid.y0 + grid.height * r / grid.rows; },
        [](double y, double level) { return QPointF(level, y); });
}
