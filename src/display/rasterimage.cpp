#include "display/rasterimage.h"

#include "display/rasterreader.h"

#include <QSize>
#include <qwt_color_map.h>
#include <qwt_matrix_raster_data.h>
#include <qwt_scale_map.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace {

// How one pixel column (row) of the image reads one axis of the matrix.
struct AxisRead {
    RasterReader::AxisPosition at; // the reading of a pixel of one cell or less
    bool loudest = false;          // the pixel spans cells first to last and shows their maximum
    int first = 0;
    int last = 0;
};

// A pixel's extent is the distance between two pixel centres. Qwt spaces the
// centres evenly, so one width serves the whole axis. A cell the pixel
// covers only in part counts too: a call in a frame that straddles two
// pixels then shows in both rather than in neither.
std::vector<AxisRead> readsAlong(const QwtScaleMap &map, int pixels, const QwtInterval &interval, int cells,
                                 const std::function<RasterReader::AxisPosition(double)> &position)
{
    std::vector<AxisRead> reads(size_t(qMax(pixels, 0)));
    const double step = cells > 0 && interval.isValid() ? interval.width() / cells : 0.0;
    const double pixel = std::abs(map.invTransform(1.0) - map.invTransform(0.0));
    // Qwt renders a nearest-cell raster zoomed in at one image pixel per cell,
    // which rounding may leave a hair wider than the cell.
    const bool loudest = step > 0.0 && pixel > step * (1.0 + 1e-9);
    for (int i = 0; i < pixels; ++i) {
        AxisRead &r = reads[size_t(i)];
        const double centre = map.invTransform(double(i));
        r.at = position(centre);
        if (!loudest || !r.at.inside)
            continue;
        r.loudest = true;
        const double low = (centre - 0.5 * pixel - interval.minValue()) / step;
        const double high = (centre + 0.5 * pixel - interval.minValue()) / step;
        r.first = qBound(0, int(std::floor(low)), cells - 1);
        r.last = qBound(r.first, int(std::ceil(high)) - 1, cells - 1);
    }
    return reads;
}

} // namespace

QImage loudestRasterImage(const QwtMatrixRasterData &raster, const QwtColorMap &colours, const QwtScaleMap &xMap,
                          const QwtScaleMap &yMap, const QSize &imageSize)
{
    const int width = imageSize.width();
    const int height = imageSize.height();
    QImage image(imageSize, QImage::Format_ARGB32);
    if (image.isNull())
        return image;
    const RasterReader reader(raster);
    const int columns = int(raster.numColumns());
    const int rows = int(raster.numRows());
    const bool bilinear = raster.resampleMode() == QwtMatrixRasterData::BilinearInterpolation;
    const std::vector<AxisRead> xs = readsAlong(xMap, width, raster.interval(Qt::XAxis), columns,
                                                [&reader](double x) { return reader.xPosition(x); });
    const std::vector<AxisRead> ys =
        readsAlong(yMap, height, raster.interval(Qt::YAxis), rows, [&reader](double y) { return reader.yPosition(y); });

    // The matrix rows that some image row reads, each given a line of the
    // image's width: first every such row is reduced along time, then the
    // lines are combined along frequency. Each cell is read about once
    // however far the view is zoomed out, and the lines hold no more than
    // the rows of a spectrogram times the canvas width.
    std::vector<int> line(size_t(rows), -1);
    std::vector<int> rowOfLine;
    auto need = [&](int row) {
        if (line[size_t(row)] < 0) {
            line[size_t(row)] = int(rowOfLine.size());
            rowOfLine.push_back(row);
        }
    };
    for (const AxisRead &y : ys) {
        if (!y.at.inside)
            continue;
        if (y.loudest) {
            for (int row = y.first; row <= y.last; ++row)
                need(row);
        } else if (bilinear) {
            need(y.at.first);
            need(y.at.second);
        } else {
            need(y.at.nearest);
        }
    }

    constexpr double outside = std::numeric_limits<double>::quiet_NaN();
    const QVector<double> matrix = raster.valueMatrix();
    const double *values = matrix.constData();
    std::vector<double> lines(rowOfLine.size() * size_t(width));
    qint64 xReads = 0;
    for (const AxisRead &x : xs)
        xReads += x.loudest ? x.last - x.first + 1 : 2;
    runInShares(int(rowOfLine.size()), xReads * qint64(rowOfLine.size()), [&](int firstLine, int endLine) {
        for (int l = firstLine; l < endLine; ++l) {
            const double *cells = values + qint64(rowOfLine[size_t(l)]) * columns;
            double *out = lines.data() + size_t(l) * size_t(width);
            for (int i = 0; i < width; ++i) {
                const AxisRead &x = xs[size_t(i)];
                if (!x.at.inside)
                    out[i] = outside;
                else if (x.loudest)
                    out[i] = *std::max_element(cells + x.first, cells + x.last + 1);
                else if (bilinear)
                    out[i] = x.at.weight * cells[x.at.first] + (1.0 - x.at.weight) * cells[x.at.second];
                else
                    out[i] = cells[x.at.nearest];
            }
        }
    });

    const QwtInterval levels = raster.interval(Qt::ZAxis);
    // A colour map's look-up costs about as much as a dozen matrix reads: a
    // canvas of 500 x 400 pixels already pays for the hand-over to the pool.
    constexpr qint64 readsPerColour = 12;
    runInShares(height, qint64(height) * width * readsPerColour, [&](int firstRow, int endRow) {
        std::vector<double> loudest(static_cast<size_t>(width));
        for (int j = firstRow; j < endRow; ++j) {
            const AxisRead &y = ys[size_t(j)];
            auto *pixels = reinterpret_cast<QRgb *>(image.scanLine(j));
            auto at = [&](int row) { return lines.data() + size_t(line[size_t(row)]) * size_t(width); };
            if (!y.at.inside) {
                for (int i = 0; i < width; ++i)
                    pixels[i] = colours.rgb(levels, outside);
            } else if (y.loudest) {
                std::copy(at(y.first), at(y.first) + width, loudest.begin());
                for (int row = y.first + 1; row <= y.last; ++row) {
                    const double *l = at(row);
                    for (int i = 0; i < width; ++i)
                        loudest[size_t(i)] = std::max(loudest[size_t(i)], l[i]);
                }
                for (int i = 0; i < width; ++i)
                    pixels[i] = colours.rgb(levels, loudest[size_t(i)]);
            } else if (bilinear) {
                // As QwtMatrixRasterData::value weighs them: along time first, then along frequency.
                const double *l1 = at(y.at.first);
                const double *l2 = at(y.at.second);
                for (int i = 0; i < width; ++i)
                    pixels[i] = colours.rgb(levels, y.at.weight * l1[i] + (1.0 - y.at.weight) * l2[i]);
            } else {
                const double *l = at(y.at.nearest);
                for (int i = 0; i < width; ++i)
                    pixels[i] = colours.rgb(levels, l[i]);
            }
        }
    });
    return image;
}
