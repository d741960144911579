#include "app/eventfiltermath.h"

#include "recording/audiosamplereader.h"
#include "recording/wavfile.h"

#include <qwt_matrix_raster_data.h>

#include <QThread>

#include <cmath>
#include <limits>
#include <thread>
#include <vector>

double shownRecordingDuration(const QString &currentFileName, const WavFile &wavFile,
                              const AudioSampleReader &rawFile)
{
    quint64 frames = 0;
    quint32 rate = 0;
    if (currentFileName.endsWith(QLatin1String(".wav"), Qt::CaseInsensitive)) {
        rate = wavFile.sampleRate;
        if (wavFile.numberOfChannels != 0 && wavFile.dataSize != 0 && wavFile.bytesPerSample != 0)
            frames = quint64(wavFile.dataSize)
                     / (quint64(quint32(wavFile.numberOfChannels)) * quint64(quint32(wavFile.bytesPerSample)));
    } else if (currentFileName.endsWith(QLatin1String(".raw"), Qt::CaseInsensitive)) {
        rate = rawSampleRate;
        if (rawFile.bytesPerSample != 0)
            frames = quint32(rawFile.fileSize) / quint32(rawFile.bytesPerSample);
    }
    if (rate == 0)
        return std::numeric_limits<double>::quiet_NaN();
    return double(float(frames) / float(rate));
}

std::optional<FixedAspectView> fixedAspectView(const FixedAspectInput &in)
{
    if (!std::isfinite(in.duration) || !(in.duration > 0.0))
        return std::nullopt;
    const std::optional<double> span =
        fixedAspectSpan(in.canvasWidth, in.canvasHeight, in.frequencySpan, in.aspectRatio);
    if (!span)
        return std::nullopt;
    const std::optional<ScrollRange> scroll = scrollRange(in.duration, *span, in.secondsPerColumn);
    if (!scroll)
        return std::nullopt;
    FixedAspectView v;
    const float left = float(in.left);
    v.axisMin = left;
    v.axisMax = double(left + float(*span));
    v.scroll = *scroll;
    return v;
}

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

    double value(double x, double y) const
    {
        if (!(m_x.contains(x) && m_y.contains(y)))
            return std::numeric_limits<double>::quiet_NaN();
        const double *v = m_values.constData();
        if (!m_bilinear) {
            int row = int((y - m_y.minValue()) / m_dy);
            int col = int((x - m_x.minValue()) / m_dx);
            if (row >= m_rows)
                row = m_rows - 1;
            if (col >= m_columns)
                col = m_columns - 1;
            return v[row * m_columns + col];
        }
        int col1 = qRound((x - m_x.minValue()) / m_dx) - 1;
        int row1 = qRound((y - m_y.minValue()) / m_dy) - 1;
        int col2 = col1 + 1;
        int row2 = row1 + 1;
        if (col1 < 0)
            col1 = col2;
        else if (col2 >= m_columns)
            col2 = col1;
        if (row1 < 0)
            row1 = row2;
        else if (row2 >= m_rows)
            row2 = row1;
        const double v11 = v[row1 * m_columns + col1];
        const double v21 = v[row1 * m_columns + col2];
        const double v12 = v[row2 * m_columns + col1];
        const double v22 = v[row2 * m_columns + col2];
        const double x2 = m_x.minValue() + (col2 + 0.5) * m_dx;
        const double y2 = m_y.minValue() + (row2 + 0.5) * m_dy;
        const double rx = (x2 - x) / m_dx;
        const double ry = (y2 - y) / m_dy;
        const double vr1 = rx * v11 + (1.0 - rx) * v21;
        const double vr2 = rx * v12 + (1.0 - rx) * v22;
        return ry * vr1 + (1.0 - ry) * vr2;
    }

private:
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
    const RasterReader &raster;
    double a;
    double b;
    int count;
    double fixed;
    bool alongTime;

    float position(int i) const { return float((b - a) * i / count + a); }
    float level(float p) const
    {
        return float(alongTime ? raster.value(p, fixed) : raster.value(fixed, p));
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
