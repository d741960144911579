#pragma once

#include <QString>

#include <cmath>

// Coefficient n of a size-point "Hann" or "Hamming" window straight from its
// formula, in double precision with the 2 pi the windows use, rounded once to float.
inline float windowFormula(const QString &name, int n, int size)
{
    const double c = std::cos(6.283185307179586 * n / (size - 1));
    return float(name == QLatin1String("Hann") ? 0.5 * (1.0 - c) : 0.54 - 0.46 * c);
}
