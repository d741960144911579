#include "fft/windowweights.h"

#include <cmath>
#include <cstdlib>

namespace {
// 2 pi as the windows have always used it, so that tables stay bit-identical.
constexpr double twoPi = 6.283185307179586;
} // namespace

double windowWeight(WindowKind kind, int n, int size)
{
    // A one-point window has no ends to taper (the formulas would divide 0 by 0).
    if (size <= 1)
        return 1.0;
    const double m = size - 1;
    // Keep each expression's grouping and order (2 pi n / M here, steps of a
    // = 2 pi / M for the four-term windows, times 1 / h for Bartlett): the
    // rounding of every step decides the last bit of a weight, and with it of
    // the spectrogram levels and the automatic classification's matrix.
    switch (kind) {
    case WindowKind::Rectangular:
        break;
    case WindowKind::Hamming:
        return 0.54 - 0.46 * std::cos(twoPi * n / m);
    case WindowKind::Hann:
        return 0.5 * (1.0 - std::cos(twoPi * n / m));
    case WindowKind::Blackman:
        return 0.42 - 0.5 * std::cos(twoPi * n / m) + 0.08 * std::cos(2.0 * twoPi * n / m);
    case WindowKind::Bartlett: {
        const int h = (size - 1) / 2;
        if (h == 0)
            return 0.0;
        return (h - std::abs(n - h)) * (1.0 / h);
    }
    case WindowKind::Flattop: {
        const double a = twoPi / m;
        return 1.0 - 1.93 * std::cos(a * n) + 1.29 * std::cos(2.0 * a * n) - 0.388 * std::cos(3.0 * a * n)
               + 0.028 * std::cos(4.0 * a * n);
    }
    case WindowKind::BlackmanHarris: {
        const double a = twoPi / m;
        return 0.35875 - 0.48829 * std::cos(a * n) + 0.14128 * std::cos(2.0 * a * n) - 0.01168 * std::cos(3.0 * a * n);
    }
    }
    return 1.0;
}

std::vector<double> windowWeights(WindowKind kind, int size)
{
    std::vector<double> w(size_t(size > 0 ? size : 0));
    for (int n = 0; n < size; ++n)
        w[size_t(n)] = windowWeight(kind, n, size);
    return w;
}
