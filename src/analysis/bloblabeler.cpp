#include "analysis/bloblabeler.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// Cells this small are left-overs of the filters, not call energy.
inline bool isForeground(float value)
{
    return static_cast<double>(value) >= 1e-5;
}

} // namespace

std::unordered_map<int, Blob> BlobLabeler::label(FloatMatrix &m)
{
    m_nextLabel = 1;
    // Linear indexes are ints; a matrix beyond that (8 GB of cells) is not labelled.
    if (m.size > static_cast<size_t>(std::numeric_limits<int>::max())) {
        m_width = m_height = m_size = 0;
        m_labels.clear();
        return {};
    }
    m_width = static_cast<int>(m.cols);
    m_height = static_cast<int>(m.rows);
    m_size = m_width * m_height;
    // Clockwise from "next bin", frames growing downward.
    m_offsets = {1, m_width + 1, m_width, m_width - 1, -1, -m_width - 1, -m_width, 1 - m_width};

    m_labels.assign(static_cast<size_t>(m_size), 0);
    m_nextLabel = 1;

    // With the border blank, every neighbour of a foreground cell is inside the matrix.
    if (m_width > 0 && m_height > 0) {
        std::fill_n(m.data.begin(), m_width, 0.0f);
        std::fill_n(m.data.begin() + static_cast<std::ptrdiff_t>(m_height - 1) * m_width, m_width, 0.0f);
        for (int y = 0; y < m_height; ++y) {
            m.data[static_cast<size_t>(y) * m_width] = 0.0f;
            m.data[static_cast<size_t>(y) * m_width + m_width - 1] = 0.0f;
        }
    }

    m_found.clear();
    m_found.emplace_back(); // label 0 is never a region
    scan(m);
    std::unordered_map<int, Blob> regions;
    regions.reserve(m_found.size());
    for (size_t label = 1; label < m_found.size(); ++label)
        if (m_found[label].pixelCount > 0)
            regions.emplace(int(label), m_found[label]);
    m_found.clear();
    m_found.shrink_to_fit();
    return regions;
}

void BlobLabeler::scan(const FloatMatrix &m)
{
    const float *cells = m.data.data();
    for (int y = 1; y < m_height - 1; ++y) {
        for (int x = 0; x < m_width; ++x) {
            const int i = y * m_width + x;
            if (!isForeground(cells[i]))
                continue;
            if (!isForeground(cells[i - m_width]) && m_labels[i] == 0) {
                traceContour(m, i, m_nextLabel, true);
                ++m_nextLabel;
            }
            if (!isForeground(cells[i + m_width]) && m_labels[i + m_width] == 0) {
                // The cell lies on the edge of a hole no tracer has walked yet.
                const int label = m_labels[i] != 0 ? m_labels[i] : m_labels[i - 1];
                traceContour(m, i, label, false);
            }
            if (m_labels[i] == 0) {
                m_labels[i] = m_labels[i - 1];
                addToRegion(m, i, m_labels[i]);
            }
        }
    }
}

void BlobLabeler::traceContour(const FloatMatrix &m, int start, int label, bool external)
{
    const std::pair<int, int> second = nextContourPoint(m, start, external ? 7 : 3);
    m_labels[start] = label;
    addToRegion(m, start, label);
    if (second.first == start)
        return; // an isolated cell

    int previous = -1;
    int current = second.first;
    int direction = second.second;
    for (;;) {
        if (previous == start && current == second.first)
            break; // back at the start: the next step would repeat the first
        m_labels[current] = label;
        addToRegion(m, current, label);
        const std::pair<int, int> next = nextContourPoint(m, current, (direction + 5) % 8);
        previous = current;
        current = next.first;
        direction = next.second;
    }
}

std::pair<int, int> BlobLabeler::nextContourPoint(const FloatMatrix &m, int point, int firstDirection)
{
    for (int k = 0; k < 8; ++k) {
        const int direction = (firstDirection + k) % 8;
        const int q = point + m_offsets[direction];
        if (q < 0 || q >= m_size)
            continue;
        if (isForeground(m.data[q]))
            return {q, direction};
        m_labels[q] = -1;
    }
    return {point, -1};
}

void BlobLabeler::addToRegion(const FloatMatrix &m, int index, int label)
{
    const size_t i = static_cast<size_t>(index);
    const size_t w = static_cast<size_t>(m_width);
    // A vector indexed by label: a hash look-up per cell would dominate the scan.
    if (label <= 0)
        return;
    if (size_t(label) >= m_found.size())
        m_found.resize(size_t(label) + 1);
    m_found[size_t(label)].addPixel(i, i % w, i / w, m.data[i]);
}

void BlobLabeler::extractRegion(const FloatMatrix &m, const std::pair<const int, Blob> &entry,
                                FloatMatrix &out) const
{
    const int label = entry.first;
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
    const uint64_t start = (blob.indexMin / w) * w;
    const uint64_t available = std::min<uint64_t>(m.data.size(), m_labels.size());
    if (start >= available)
        return;
    const uint64_t count = std::min<uint64_t>(n * w, available - start);
    for (uint64_t j = 0; j < count; ++j)
        if (m_labels[start + j] == label)
            out.data[j] = m.data[start + j];
}
