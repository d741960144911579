#include "analysis/bloblabeler.h"

#include "analysis/analysispool.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

// Why the scan may run in bands.
//
// The single raster scan decides at each foreground cell i from the label map
// at i, at the cell below it and at its left neighbour; a contour tracer
// started there walks the cells of i's own region only and marks the
// background cells around them. Everything one region does, and everything it
// depends on, therefore lies within one cell of that region. Two regions that
// come no closer than three cells (no cell within two of both) never see each
// other's marks: each behaves as if it were alone, visited in raster order.
// Call a group of regions chained by distances of at most two a cluster.
//
// So each band of frames scans its own cells in raster order, skipping every
// cluster that has cells in another band; such clusters are found beforehand
// by a fill from the cells near the band's edges. Their cells are scanned
// afterwards, on one thread, in raster order. Regions are numbered provisionally
// from their band's own range, and finally by the position of the cell whose
// scan started their external contour: the order of the single scan. The
// additions to each region (its pixel count and its float value sum) come in
// the order of the single scan too, since its cluster is scanned in that order.

namespace {

// Cells below 1e-5 are left-overs of the filters, not call energy. The
// smallest float whose double is at least 1e-5: comparing a cell with it in
// single precision is comparing the cell's double with 1e-5, without the
// conversion in the scan's innermost loop.
const float foregroundThreshold = [] {
    float f = 1e-5f;
    while (static_cast<double>(f) < 1e-5)
        f = std::nextafter(f, 1.0f);
    while (static_cast<double>(std::nextafter(f, 0.0f)) >= 1e-5)
        f = std::nextafter(f, 0.0f);
    return f;
}();

inline bool isForeground(float value)
{
    return value >= foregroundThreshold;
}

// Marks the cells of a cluster that reaches another band until the deferred scan.
constexpr int deferredMark = std::numeric_limits<int>::min();
// Thinner bands would leave more clusters crossing their edges than they save.
constexpr int minBandRows = 512;
// Two bands per thread, handed out as threads come free: a thread slowed down
// by anything else on the machine then holds up less than its share, while
// few edges leave few clusters to the serial scan.
constexpr int bandsPerThread = 2;

struct Region {
    Blob blob;
    int start = 0; // the cell whose scan started the region's external contour
};

struct Band {
    int firstRow = 0;
    int endRow = 0;
    int firstLabel = 1; // provisional label of the band's first region
    std::vector<Region> regions;
    size_t ownRegions = 0;     // found by the band's scan; the rest by the deferred scan
    std::vector<int> deferred; // cells of clusters reaching another band, in raster order
};

class Scanner
{
public:
    Scanner(const FloatMatrix &m, int *labels, std::vector<Band> &bands)
        : m_cells(m.data.data())
        , m_labels(labels)
        , m_width(int(m.cols))
        , m_height(int(m.rows))
        , m_size(m_width * m_height)
        ,
        // Clockwise from "next bin", frames growing downward.
        m_offsets{1, m_width + 1, m_width, m_width - 1, -1, -m_width - 1, -m_width, 1 - m_width}
        , m_bands(bands)
    {
    }

    // Scans the band's cells in raster order; cells of deferred clusters are
    // only collected. own: regions go to this band alone.
    void scanBand(Band &band)
    {
        const int first = std::max(1, band.firstRow);
        const int end = std::min(m_height - 1, band.endRow);
        for (int y = first; y < end; ++y) {
            const float *row = m_cells + qint64(y) * m_width;
            for (int x = 0; x < m_width; ++x) {
                // Most cells are background: skipped in a loop of its own.
                while (x < m_width && !isForeground(row[x]))
                    ++x;
                if (x == m_width)
                    break;
                const int i = y * m_width + x;
                if (m_labels[i] == deferredMark)
                    band.deferred.push_back(i);
                else
                    scanCell(i, &band);
            }
        }
        band.ownRegions = band.regions.size();
    }

    // Marks every cluster of the band that has a cell within two of a
    // foreground cell of another band.
    void markDeferred(const Band &band)
    {
        const int first = std::max(1, band.firstRow);
        const int end = std::min(m_height - 1, band.endRow);
        std::vector<int> pending;
        auto mark = [&](int i) {
            m_labels[i] = deferredMark;
            pending.push_back(i);
        };
        auto seedRow = [&](int y) {
            for (int x = 1; x + 1 < m_width; ++x) {
                const int i = y * m_width + x;
                if (isForeground(m_cells[i]) && m_labels[i] != deferredMark && reachesOutside(y, x, first, end))
                    mark(i);
            }
        };
        for (int y = first; y < end && y < first + 2; ++y)
            seedRow(y);
        for (int y = std::max(first + 2, end - 2); y < end; ++y)
            seedRow(y);
        while (!pending.empty()) {
            const int i = pending.back();
            pending.pop_back();
            const int y = i / m_width;
            const int x = i % m_width;
            for (int yy = std::max(first, y - 2); yy <= std::min(end - 1, y + 2); ++yy) {
                for (int xx = std::max(1, x - 2); xx <= std::min(m_width - 2, x + 2); ++xx) {
                    const int j = yy * m_width + xx;
                    if (isForeground(m_cells[j]) && m_labels[j] != deferredMark)
                        mark(j);
                }
            }
        }
    }

    // One step of the raster scan at foreground cell i. own: the band whose
    // regions these are, or none in the deferred scan (regions of any band).
    // Kept out of line: the loop over background cells then has its registers to itself.
    Q_NEVER_INLINE void scanCell(int i, Band *own)
    {
        if (!isForeground(m_cells[i - m_width]) && m_labels[i] == 0)
            traceContour(i, newRegion(i, own), true, own);
        if (!isForeground(m_cells[i + m_width]) && m_labels[i + m_width] == 0) {
            // The cell lies on the edge of a hole no tracer has walked yet.
            const int label = m_labels[i] != 0 ? m_labels[i] : m_labels[i - 1];
            traceContour(i, label, false, own);
        }
        if (m_labels[i] == 0) {
            m_labels[i] = m_labels[i - 1];
            addToRegion(i, m_labels[i], own);
        }
    }

private:
    // Whether a foreground cell of another band (rows outside first .. end - 1) lies within two of (y, x).
    bool reachesOutside(int y, int x, int first, int end) const
    {
        for (int yy = std::max(1, y - 2); yy <= std::min(m_height - 2, y + 2); ++yy) {
            if (yy >= first && yy < end)
                continue;
            for (int xx = std::max(1, x - 2); xx <= std::min(m_width - 2, x + 2); ++xx)
                if (isForeground(m_cells[yy * m_width + xx]))
                    return true;
        }
        return false;
    }

    Band &bandOfRow(int row)
    {
        auto it =
            std::upper_bound(m_bands.begin(), m_bands.end(), row, [](int r, const Band &b) { return r < b.firstRow; });
        return *(it - 1);
    }

    Band &bandOfLabel(int label)
    {
        auto it = std::upper_bound(m_bands.begin(), m_bands.end(), label,
                                   [](int l, const Band &b) { return l < b.firstLabel; });
        return *(it - 1);
    }

    int newRegion(int start, Band *own)
    {
        Band &band = own ? *own : bandOfRow(start / m_width);
        const int label = band.firstLabel + int(band.regions.size());
        band.regions.push_back(Region{Blob(), start});
        return label;
    }

    void traceContour(int start, int label, bool external, Band *own)
    {
        const std::pair<int, int> second = nextContourPoint(start, external ? 7 : 3);
        m_labels[start] = label;
        addToRegion(start, label, own);
        if (second.first == start)
            return; // an isolated cell

        int previous = -1;
        int current = second.first;
        int direction = second.second;
        for (;;) {
            if (previous == start && current == second.first)
                break; // back at the start: the next step would repeat the first
            m_labels[current] = label;
            addToRegion(current, label, own);
            const std::pair<int, int> next = nextContourPoint(current, (direction + 5) & 7);
            previous = current;
            current = next.first;
            direction = next.second;
        }
    }

    // The first foreground neighbour clockwise from firstDirection and the
    // direction it lies in; the point itself with direction -1 when it has none.
    std::pair<int, int> nextContourPoint(int point, int firstDirection)
    {
        for (int k = 0; k < 8; ++k) {
            const int direction = (firstDirection + k) & 7;
            const int q = point + m_offsets[direction];
            if (q < 0 || q >= m_size)
                continue;
            if (isForeground(m_cells[q]))
                return {q, direction};
            m_labels[q] = -1;
        }
        return {point, -1};
    }

    void addToRegion(int index, int label, Band *own)
    {
        // A region found by the band's own scan is only ever touched by it.
        if (label <= 0)
            return;
        Band &band = own ? *own : bandOfLabel(label);
        // Indexes are ints: the 32-bit division is several times cheaper than a 64-bit one.
        const unsigned i = static_cast<unsigned>(index);
        const unsigned frame = i / static_cast<unsigned>(m_width);
        const unsigned bin = i - frame * static_cast<unsigned>(m_width);
        band.regions[size_t(label - band.firstLabel)].blob.addPixel(i, bin, frame, m_cells[i]);
    }

    const float *m_cells;
    int *m_labels;
    int m_width;
    int m_height;
    int m_size;
    int m_offsets[8];
    std::vector<Band> &m_bands;
};

// The row y within reach of nominal whose cut (between rows y - 1 and y) has
// the fewest foreground cells in the two rows on either side: the cells
// through which a cluster could cross it. The nearest of equal ones.
int quietEdge(const FloatMatrix &m, int nominal, int reach)
{
    const int width = int(m.cols);
    const int height = int(m.rows);
    auto foregroundIn = [&](int y) {
        if (y < 1 || y > height - 2)
            return 0;
        const float *row = m.data.data() + qint64(y) * width;
        return int(std::count_if(row, row + width, isForeground));
    };
    const int first = std::max(2, nominal - reach);
    const int last = std::min(height - 2, nominal + reach);
    std::vector<int> counts; // rows first - 2 .. last + 1
    for (int y = first - 2; y <= last + 1; ++y)
        counts.push_back(foregroundIn(y));
    int best = nominal;
    int bestCount = std::numeric_limits<int>::max();
    for (int y = first; y <= last; ++y) {
        const int i = y - (first - 2);
        const int count = counts[size_t(i - 2)] + counts[size_t(i - 1)] + counts[size_t(i)] + counts[size_t(i + 1)];
        if (count < bestCount || (count == bestCount && std::abs(y - nominal) < std::abs(best - nominal))) {
            best = y;
            bestCount = count;
        }
    }
    return best;
}

} // namespace

std::unordered_map<int, Blob> BlobLabeler::label(FloatMatrix &m)
{
    const std::vector<Blob> found = labelRegions(m);
    std::unordered_map<int, Blob> regions;
    regions.reserve(found.size() + 1);
    for (size_t k = 0; k < found.size(); ++k)
        if (found[k].pixelCount > 0)
            regions.emplace(int(k + 1), found[k]);
    return regions;
}

std::vector<Blob> BlobLabeler::labelRegions(FloatMatrix &m)
{
    m_mapped.assign(1, 0); // label 0 is never a region
    // Linear indexes are ints; a matrix beyond that (8 GB of cells) is not labelled.
    decltype(m_labels)().swap(m_labels);
    if (m.size > static_cast<size_t>(std::numeric_limits<int>::max())) {
        m_width = m_height = m_size = 0;
        return {};
    }
    m_width = static_cast<int>(m.cols);
    m_height = static_cast<int>(m.rows);
    m_size = m_width * m_height;

    // With the border blank, every neighbour of a foreground cell is inside the matrix.
    if (m_width > 0 && m_height > 0) {
        std::fill_n(m.data.begin(), m_width, 0.0f);
        std::fill_n(m.data.begin() + static_cast<std::ptrdiff_t>(m_height - 1) * m_width, m_width, 0.0f);
        for (int y = 0; y < m_height; ++y) {
            m.data[static_cast<size_t>(y) * m_width] = 0.0f;
            m.data[static_cast<size_t>(y) * m_width + m_width - 1] = 0.0f;
        }
    }

    const int bandCount =
        m_width < 3 || AnalysisPool::threadCount() == 1
            ? 1
            : std::max(1, std::min(bandsPerThread * AnalysisPool::threadCount(), m_height / minBandRows));
    // Each edge between bands is moved to the quietest place near it: fewer
    // clusters then cross it and wait for the serial scan (between two calls,
    // often none).
    std::vector<int> edges(size_t(bandCount) + 1, m_height);
    edges[0] = 0;
    AnalysisPool::forEachChunk(bandCount - 1, 1, [&](int, qint64 k, qint64) {
        const int nominal = int(qint64(m_height) * (k + 1) / bandCount);
        edges[size_t(k) + 1] = quietEdge(m, nominal, minBandRows / 4);
    });
    std::vector<Band> bands{size_t(bandCount)};
    for (int k = 0; k < bandCount; ++k) {
        Band &b = bands[size_t(k)];
        b.firstRow = edges[size_t(k)];
        b.endRow = edges[size_t(k) + 1];
        // A band holds at most one region per cell: its labels never reach the next band's.
        b.firstLabel = b.firstRow * m_width + 1;
    }

    // Written before anything reads it, by the band's own thread: fresh pages
    // that were read first would be mapped to the shared zero page and, at
    // the first label written, replaced at the cost of flushing the address
    // translations of every thread of the process, once per page.
    m_labels.resize(static_cast<size_t>(m_size));
    int *labels = m_labels.data();
    AnalysisPool::forEachChunk(bandCount, 1, [&](int, qint64 k, qint64) {
        const Band &b = bands[size_t(k)];
        std::fill(labels + qint64(b.firstRow) * m_width, labels + qint64(b.endRow) * m_width, 0);
    });
    AnalysisPool::forEachChunk(bandCount, 1, [&](int, qint64 k, qint64) {
        Scanner scanner(m, labels, bands);
        if (bandCount > 1)
            scanner.markDeferred(bands[size_t(k)]);
        scanner.scanBand(bands[size_t(k)]);
    });

    // The clusters shared by bands, as the single scan meets them.
    for (const Band &b : bands)
        for (int i : b.deferred)
            labels[i] = 0;
    Scanner scanner(m, labels, bands);
    for (const Band &b : bands)
        for (int i : b.deferred)
            scanner.scanCell(i, nullptr);

    // Final labels in the order the single scan would have given them: within a
    // band the band's own regions and the deferred ones are each in raster order.
    size_t total = 0;
    for (const Band &b : bands)
        total += b.regions.size();
    std::vector<Blob> regions;
    regions.reserve(total);
    m_mapped.reserve(total + 1);
    for (const Band &b : bands) {
        size_t own = 0;
        size_t later = b.ownRegions;
        while (own < b.ownRegions || later < b.regions.size()) {
            const bool takeOwn =
                later == b.regions.size() || (own < b.ownRegions && b.regions[own].start < b.regions[later].start);
            const size_t k = takeOwn ? own++ : later++;
            regions.push_back(b.regions[k].blob);
            m_mapped.push_back(b.firstLabel + int(k));
        }
    }
    return regions;
}

void BlobLabeler::extractRegion(const FloatMatrix &m, const std::pair<const int, Blob> &entry, FloatMatrix &out) const
{
    const Blob &blob = entry.second;
    const uint64_t w = m.cols;
    if (w == 0 || blob.indexMin > blob.indexMax) {
        out.resize(0, m.cols);
        return;
    }
    // Integer arithmetic throughout: in single precision the start cell drifts
    // off a frame boundary once indexes pass 2^24.
    const uint64_t span = blob.indexMax - blob.indexMin;
    const uint64_t n = (span + w - 1) / w + 1;
    out.resize(static_cast<size_t>(n), m.cols);
    // A label the last labelling did not give matches no cell.
    if (entry.first <= 0 || size_t(entry.first) >= m_mapped.size())
        return;
    const int label = m_mapped[size_t(entry.first)];
    const uint64_t start = (blob.indexMin / w) * w;
    const uint64_t available = std::min<uint64_t>(m.data.size(), m_labels.size());
    if (start >= available)
        return;
    const uint64_t count = std::min<uint64_t>(n * w, available - start);
    for (uint64_t j = 0; j < count; ++j)
        if (m_labels[start + j] == label)
            out.data[j] = m.data[start + j];
}
