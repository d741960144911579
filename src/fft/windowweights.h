#pragma once

#include <vector>

/**
 * The window kinds of the whole program, in the order the settings dialog
 * lists them: a stored "window" index converts to its kind.
 */
enum class WindowKind {
    Rectangular,
    Hamming,
    Hann,
    Blackman,
    Bartlett,
    Flattop,
    BlackmanHarris,
};

/**
 * Weight n (0 .. size-1) of a symmetric window of size points, in double
 * precision; with M = size - 1:
 *   Rectangular     1
 *   Hamming         0.54 - 0.46 cos(2 pi n / M)
 *   Hann            0.5 (1 - cos(2 pi n / M))
 *   Blackman        0.42 - 0.5 cos(2 pi n / M) + 0.08 cos(4 pi n / M)
 *   Bartlett        (h - |n - h|) / h with h = M / 2 in integer division,
 *                   so an even size ends in -1/h instead of 0
 *   Flattop         1 - 1.93 cos(a n) + 1.29 cos(2 a n) - 0.388 cos(3 a n) + 0.028 cos(4 a n)
 *   BlackmanHarris  0.35875 - 0.48829 cos(a n) + 0.14128 cos(2 a n) - 0.01168 cos(3 a n)
 * where a = 2 pi / M. Every user (the FFT engine's window objects, the
 * spectrogram worker, the automatic classification, the frequency plot's
 * density) takes its weights from here, so they agree to the last bit.
 *
 * A window of one point passes its sample unchanged (weight 1), and a
 * Bartlett window of two points, which has no centre, is 0 at both ends.
 */
double windowWeight(WindowKind kind, int n, int size);

/** windowWeight(kind, n, size) for n = 0 .. size-1; empty for a size below 1. */
std::vector<double> windowWeights(WindowKind kind, int size);
