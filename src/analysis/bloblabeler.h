#pragma once

#include "analysis/blob.h"
#include "analysis/defaultinitallocator.h"
#include "analysis/floatmatrix.h"

#include <unordered_map>
#include <utility>
#include <vector>

/**
 * Finds the connected regions of non-zero cells (8-connectivity) of a matrix in
 * one raster scan with contour tracing. Labels are given in the order in which
 * external contours are met, from 1 upward. The label map of the last labelling
 * stays valid so that single regions can be cut out afterwards.
 *
 * Large matrices are scanned in bands of frames on every core with the result
 * of the single scan, to the bit: see bloblabeler.cpp for why that holds.
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

    /** As label(), the regions in a vector: entry k holds the region labelled k + 1. */
    std::vector<Blob> labelRegions(FloatMatrix &m);

    /**
     * Fills out with whole frames of m from the region's first frame on, holding
     * only the cells labelled entry.first by the last label() on m; all other
     * cells are 0. Never reads outside m or the label map.
     */
    void extractRegion(const FloatMatrix &m, const std::pair<const int, Blob> &entry, FloatMatrix &out) const;

private:
    int m_width = 0;
    int m_height = 0;
    int m_size = 0;
    // Per cell: 0 not reached, -1 background a tracer looked at, otherwise the
    // label of the region the cell belongs to, in the numbering of the band
    // that found it (see m_mapped). Zeroed band by band by the threads that scan them.
    std::vector<int, DefaultInitAllocator<int>> m_labels;
    // m_mapped[label]: the number the region labelled label carries in m_labels.
    std::vector<int> m_mapped;
};
