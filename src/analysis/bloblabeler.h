#pragma once

#include "analysis/blob.h"
#include "analysis/floatmatrix.h"

#include <unordered_map>
#include <utility>
#include <vector>

/**
 * Finds the connected regions of non-zero cells (8-connectivity) of a matrix in
 * one raster scan with contour tracing. Labels are given in the order in which
 * external contours are met, from 1 upward. The label map of the last labelling
 * stays valid so that single regions can be cut out afterwards.
 */
class BlobLabeler
{
public:
    BlobLabeler() = default;

    /**
     * Labels m and returns a copy of its regions. Clears the first and last row
     * and column of m first, so every neighbour of a foreground cell is inside.
     */
    std::unordered_map<int, Blob> label(FloatMatrix &m);

    /**
     * Fills out with whole frames of m from the region's first frame on, holding
     * only the cells labelled entry.first by the last label() on m; all other
     * cells are 0. Never reads outside m or the label map.
     */
    void extractRegion(const FloatMatrix &m, const std::pair<const int, Blob> &entry, FloatMatrix &out) const;

private:
    void scan(const FloatMatrix &m);
    void traceContour(const FloatMatrix &m, int start, int label, bool external);
    // Returns the first foreground neighbour clockwise from firstDirection and
    // the direction it lies in; P itself with direction -1 when it has none.
    std::pair<int, int> nextContourPoint(const FloatMatrix &m, int point, int firstDirection);
    void addToRegion(const FloatMatrix &m, int index, int label);

    int m_width = 0;
    int m_height = 0;
    int m_size = 0;
    int m_nextLabel = 1;
    std::vector<int> m_labels;
    std::vector<int> m_offsets;
    std::vector<Blob> m_found; // regions by label while a labelling runs
};
