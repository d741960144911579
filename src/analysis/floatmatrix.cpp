#include "analysis/floatmatrix.h"

#include "analysis/analysispool.h"
#include "analysis/runningstat.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A band of about this many cells stays in a core's cache while a chain of
// row filters runs over it, and is long enough to be worth handing out.
constexpr size_t cellsPerBand = 65536;

} // namespace

FloatMatrix::FloatMatrix(size_t rows, size_t cols)
{
    resize(rows, cols);
}

void FloatMatrix::resize(size_t newRows, size_t newCols)
{
    rows = newRows;
    cols = newCols;
    size = newRows * newCols;
    data.assign(size, 0.0f);
}

void FloatMatrix::allocate(size_t newRows, size_t newCols)
{
    rows = newRows;
    cols = newCols;
    size = newRows * newCols;
    // Dropped first: growing in place would copy the old cells for nothing.
    Cells().swap(data);
    data.resize(size);
}

void FloatMatrix::forEachRowBand(const std::function<void(size_t, size_t)> &pass) const
{
    const size_t rowsPerBand = std::max<size_t>(1, cellsPerBand / std::max<size_t>(1, cols));
    AnalysisPool::forEachChunk(qint64(rows), qint64(rowsPerBand),
                               [&pass](int, qint64 begin, qint64 end) { pass(size_t(begin), size_t(end)); });
}

void FloatMatrix::forEachColumnBand(const std::function<void(size_t, size_t)> &pass) const
{
    // Each band runs down the whole matrix: worth it only for a large one, and
    // only for bands of several cache lines, since every band waits on memory
    // once per row however narrow it is.
    const size_t threads = size_t(AnalysisPool::threadCount());
    const size_t colsPerBand =
        size < 16 * cellsPerBand ? std::max<size_t>(1, cols) : std::max<size_t>(64, (cols + threads - 1) / threads);
    AnalysisPool::forEachChunk(qint64(cols), qint64(colsPerBand),
                               [&pass](int, qint64 begin, qint64 end) { pass(size_t(begin), size_t(end)); });
}

void FloatMatrix::clear()
{
    rows = 0;
    cols = 0;
    size = 0;
    data.clear();
}

void FloatMatrix::toDecibel()
{
    for (float &x : data)
        x = 10.0f * std::log10(x);
}

void FloatMatrix::logCompress(float a)
{
    for (float &x : data)
        x = std::log10(a * x + 1.0f);
}

void FloatMatrix::zeroLowBins(int n)
{
    forEachRowBand([this, n](size_t first, size_t end) { zeroLowBins(n, first, end); });
}

void FloatMatrix::zeroLowBins(int n, size_t firstRow, size_t endRow)
{
    if (n <= 0 || cols == 0)
        return;
    // A sample rate below 16 kHz asks for more bins than a row has.
    const size_t count = std::min(static_cast<size_t>(n), cols);
    for (size_t r = firstRow; r < endRow; ++r)
        std::fill_n(data.begin() + static_cast<std::ptrdiff_t>(r * cols), count, 0.0f);
}

void FloatMatrix::subtractRunningMean()
{
    forEachRowBand([this](size_t first, size_t end) { subtractRunningMean(first, end); });
}

void FloatMatrix::subtractRunningMean(size_t firstRow, size_t endRow)
{
    // One step of one row: the mean follows the unfiltered values, not the cleaned ones.
    auto step = [](float &cell, RunningStat &stat) {
        const double x = cell;
        const float v = static_cast<float>(x - 1.5 * stat.mean());
        cell = static_cast<float>((std::abs(static_cast<double>(v)) + v) * 0.5);
        stat.push(x);
    };
    // Each row's mean is a chain of dependent divisions; four rows side by
    // side keep the divider busy. Every row's own arithmetic is unchanged.
    constexpr size_t lanes = 4;
    size_t r = firstRow;
    for (; r + lanes <= endRow; r += lanes) {
        float *row = data.data() + r * cols;
        RunningStat stat[lanes];
        for (size_t c = 0; c < cols; ++c)
            for (size_t k = 0; k < lanes; ++k)
                step(row[k * cols + c], stat[k]);
    }
    for (; r < endRow; ++r) {
        float *row = data.data() + r * cols;
        RunningStat stat;
        for (size_t c = 0; c < cols; ++c)
            step(row[c], stat);
    }
}

void FloatMatrix::smoothRows()
{
    forEachRowBand([this](size_t first, size_t end) { smoothRows(first, end); });
}

void FloatMatrix::smoothRows(size_t firstRow, size_t endRow)
{
    if (cols < 3)
        return;
    std::vector<float> t(cols);
    for (size_t r = firstRow; r < endRow; ++r) {
        float *row = data.data() + r * cols;
        std::copy(row, row + cols, t.begin());
        for (size_t c = 1; c + 1 < cols; ++c)
            row[c] = (t[c] + t[c]) + t[c - 1] + t[c + 1];
    }
}

void FloatMatrix::removeRowMean()
{
    forEachRowBand([this](size_t first, size_t end) { removeRowMean(first, end); });
}

void FloatMatrix::removeRowMean(size_t firstRow, size_t endRow)
{
    if (cols < 8) {
        // Every cell lies within three bins of an edge (or, at 7 columns, no
        // cell is left outside the window to measure a level from), so all of
        // them count as edge cells.
        std::fill(data.begin() + static_cast<std::ptrdiff_t>(firstRow * cols),
                  data.begin() + static_cast<std::ptrdiff_t>(endRow * cols), 0.0f);
        return;
    }
    const float invN = static_cast<float>(1.0 / static_cast<double>(cols - 7));
    std::vector<float> t(cols);
    for (size_t r = firstRow; r < endRow; ++r) {
        float *row = data.data() + r * cols;
        row[0] = row[1] = row[2] = 0.0f;
        row[cols - 3] = row[cols - 2] = row[cols - 1] = 0.0f;
        std::copy(row, row + cols, t.begin());
        double sumD = 0.0;
        for (size_t c = 0; c < cols; ++c)
            sumD += t[c];
        const float sum = static_cast<float>(sumD);
        for (size_t c = 3; c + 4 <= cols; ++c) {
            const float outside = (sum - t[c] - t[c - 1] - t[c + 1] - t[c + 2] - t[c - 2] - t[c + 3] - t[c - 3]) * invN;
            const float v = t[c] - outside;
            row[c] = v < 0.0f ? 0.0f : v;
        }
    }
}

void FloatMatrix::suppressEchoes()
{
    forEachColumnBand([this](size_t first, size_t end) { suppressEchoes(first, end); });
}

void FloatMatrix::suppressEchoes(size_t firstCol, size_t endCol)
{
    const float keep = 0.9f;
    const float take = 1.0f - 0.9f; // 0.100000024 in single precision, as the envelope was tuned with
    // Each column's envelope runs along time on its own: a band of columns
    // needs nothing from its neighbours.
    const size_t width = endCol - firstCol;
    std::vector<float> envelope(width, 0.0f);
    float *e = envelope.data();
    // A band reads a short stretch of every row: fetched a few rows ahead, the
    // rows arrive while the ones before are computed.
    constexpr size_t ahead = 16;
    for (size_t r = 0; r < rows; ++r) {
        float *row = data.data() + r * cols + firstCol;
#if defined(__GNUC__)
        if (r + ahead < rows)
            for (size_t c = 0; c < width; c += 16)
                __builtin_prefetch(row + ahead * cols + c, 1);
#endif
        for (size_t c = 0; c < width; ++c) {
            const float x = row[c];
            const float decayed = keep * e[c] + take * x;
            const float kept = x > decayed ? x : decayed;
            e[c] = kept;
            // Stored either way (x unchanged when it stays), so the loop vectorises.
            row[c] = static_cast<double>(kept) > 2.0 * static_cast<double>(x) ? 0.0f : x;
        }
    }
}

FloatMatrix FloatMatrix::transposed() const
{
    FloatMatrix t(cols, rows);
    for (size_t r = 0; r < rows; ++r)
        for (size_t c = 0; c < cols; ++c)
            t.data[c * rows + r] = data[r * cols + c];
    return t;
}

float FloatMatrix::maxValue() const
{
    float best = -1e8f;
    for (float x : data)
        if (x > best)
            best = x;
    return best;
}

float FloatMatrix::minValue() const
{
    float best = 1e8f;
    for (float x : data)
        if (x < best)
            best = x;
    return best;
}

void FloatMatrix::segmentFeatures(std::vector<float> &out) const
{
    const float eps = std::numeric_limits<float>::epsilon();
    const long long n = static_cast<long long>(cols);

    std::vector<float> columnSums(cols, 0.0f);
    std::vector<float> shifts(2 * cols, 0.0f);
    int previousPeak = 0;
    bool anyFilledRow = false;
    float firstCentroid = 0.0f;
    float lastCentroid = 0.0f;

    for (size_t r = 0; r < rows; ++r) {
        const float *row = data.data() + r * cols;
        float rowSum = 0.0f;
        float moment = 0.0f;
        for (size_t c = 0; c < cols; ++c) {
            rowSum += row[c];
            moment += static_cast<float>(c) * row[c];
        }
        if (!(rowSum > eps)) {
            previousPeak = 0;
            continue;
        }
        const float centroid = moment / rowSum;
        if (!anyFilledRow)
            firstCentroid = centroid;
        anyFilledRow = true;
        lastCentroid = centroid;
        for (size_t c = 1; c + 1 < cols; ++c)
            columnSums[c] += row[c];

        // Only regions with negative cells put the centroid outside the row;
        // such a peak records no shift.
        int peak = 0;
        if (std::isfinite(centroid) && centroid > -1.0f && centroid < static_cast<float>(n))
            peak = static_cast<int>(std::round(centroid));
        if (peak > 0 && previousPeak > 0 && peak < n && previousPeak < n)
            shifts[static_cast<size_t>(n - previousPeak + peak)] += row[peak];
        previousPeak = peak;
    }

    if (!anyFilledRow) {
        out.insert(out.end(), 9, 0.0f);
        return;
    }

    const size_t half = cols;
    int negHist = 0;
    int posHist = 0;
    int switchCount = -1;
    for (size_t i = 0; i < shifts.size(); ++i) {
        if (shifts[i] != 0.0f) {
            if (i < half)
                ++negHist;
            else if (i > half)
                ++posHist;
            if (i >= 1 && shifts[i - 1] == 0.0f)
                ++switchCount;
        }
    }

    size_t last = shifts.size();
    while (last > 0 && shifts[last - 1] <= eps)
        --last;
    size_t first = 0;
    while (first < last && shifts[first] <= eps)
        ++first;
    int zeroCount = 0;
    for (size_t i = first; i < last; ++i)
        if (shifts[i] < eps)
            ++zeroCount;

    float weighted = 0.0f;
    float total = 0.0f;
    for (size_t c = 1; c + 1 < cols; ++c) {
        weighted += static_cast<float>(c) * columnSums[c];
        total += columnSums[c];
    }
    // Energy only in the first and last column leaves nothing to weigh.
    const float centroid = total != 0.0f ? weighted / total : 0.0f;

    size_t k = 0;
    if (std::isfinite(centroid) && centroid > 0.0f)
        k = std::min(static_cast<size_t>(centroid), cols > 0 ? cols - 1 : 0);
    float upper = centroid;
    for (size_t i = k; i + 1 < cols; ++i) {
        if (columnSums[i] == 0.0f)
            break;
        upper += 1.0f;
    }
    float lower = centroid;
    for (size_t j = k; j >= 1; --j) {
        lower -= 1.0f;
        if (columnSums[j] == 0.0f)
            break;
    }

    out.push_back(centroid);
    out.push_back(upper);
    out.push_back(lower);
    out.push_back(firstCentroid);
    out.push_back(lastCentroid);
    out.push_back(static_cast<float>(switchCount));
    out.push_back(static_cast<float>(zeroCount));
    out.push_back(static_cast<float>(posHist));
    out.push_back(static_cast<float>(negHist));
}
