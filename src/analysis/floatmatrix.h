#pragma once

#include "analysis/defaultinitallocator.h"

#include <cstddef>
#include <functional>
#include <vector>

/**
 * Single-precision matrix in one row-major block: one row per FFT frame (time),
 * one column per frequency bin. The spectrogram reaches 8e7 cells, so every
 * filter is one pass with at most one row- or column-sized scratch buffer.
 *
 * Every operation stays inside the matrix, whatever its shape: filters that
 * need a minimum number of columns leave smaller matrices in a defined state
 * instead of reading past a row.
 *
 * The filters of a large matrix run in bands of rows (of columns for the
 * echo suppression, which runs along time) on every core. Each row (column)
 * is computed exactly as alone, so the result never depends on the thread count.
 */
class FloatMatrix
{
public:
    FloatMatrix() = default;
    FloatMatrix(size_t rows, size_t cols);

    using Cells = std::vector<float, DefaultInitAllocator<float>>;

    /** Same shape as the constructor; all cells 0, the previous cells are gone. */
    void resize(size_t rows, size_t cols);
    /**
     * Same shape as resize, but the cells are left unset: for a caller that
     * writes every cell itself (on several threads, so the memory is first
     * touched where it is filled).
     */
    void allocate(size_t rows, size_t cols);
    /** No rows, no columns, no cells. */
    void clear();

    float &at(size_t row, size_t col) { return data[row * cols + col]; }
    float at(size_t row, size_t col) const { return data[row * cols + col]; }

    /** Each cell x becomes 10 log10(x) in single precision; 0 becomes minus infinity. */
    void toDecibel();
    /** Each cell x becomes log10(a x + 1) in single precision. */
    void logCompress(float a);
    /** Cells 0 .. n - 1 of every row become 0; n is clamped to the column count. */
    void zeroLowBins(int n);
    /** Removes 1.5 times the running mean of the unfiltered cells to the left, keeping the positive rest. */
    void subtractRunningMean();
    /** [1 2 1] across neighbouring bins, without division; the first and last column stay. */
    void smoothRows();
    /** Zeroes three edge bins at each end and subtracts the mean level outside each inner 7-bin window. */
    void removeRowMean();
    /** Blanks cells below half of their bin's decaying envelope: the echoes after a strong call. */
    void suppressEchoes();

    // The same filters on rows firstRow .. endRow - 1 (columns firstCol ..
    // endCol - 1) only, so that a chain of row filters can run band by band.
    void zeroLowBins(int n, size_t firstRow, size_t endRow);
    void subtractRunningMean(size_t firstRow, size_t endRow);
    void smoothRows(size_t firstRow, size_t endRow);
    void removeRowMean(size_t firstRow, size_t endRow);
    void suppressEchoes(size_t firstCol, size_t endCol);

    /** Calls pass(firstRow, endRow) for bands of rows covering the matrix, on every core. */
    void forEachRowBand(const std::function<void(size_t firstRow, size_t endRow)> &pass) const;
    /** Calls pass(firstCol, endCol) for bands of columns covering the matrix, on every core. */
    void forEachColumnBand(const std::function<void(size_t firstCol, size_t endCol)> &pass) const;

    /** A new matrix with rows and columns exchanged. */
    FloatMatrix transposed() const;
    /** Largest cell, starting from -1e8; NaN cells never win. */
    float maxValue() const;
    /** Smallest cell, starting from 1e8; NaN cells never win. */
    float minValue() const;

    /**
     * Measures the matrix as one call region and appends nine values to out:
     * column centroid, upper and lower band edge, centroid of the first and the
     * last non-empty row (all in fractional bins), then switchCount, zeroCount,
     * posHist and negHist. A region without any non-empty row appends nine zeros.
     */
    void segmentFeatures(std::vector<float> &out) const;

    size_t rows = 0;
    size_t cols = 0;
    size_t size = 0;
    Cells data;
};
