#include "fft/twiddletables.h"

#include <cmath>

namespace {
constexpr double pi = 3.14159265358979323846;
} // namespace

const TwiddleTables &TwiddleTables::instance()
{
    static const TwiddleTables tables;
    return tables;
}

void TwiddleTables::rotationStep(int p, float &stepCosine, float &stepSine)
{
    // (pi/2) / (1024 * 2^k) for the k-th oscillator record, pass 13 being k = 1.
    const double angle = (pi / 2.0) / (1024.0 * double(1 << (p - 12)));
    stepCosine = static_cast<float>(std::cos(angle));
    stepSine = static_cast<float>(std::sin(angle));
}

TwiddleTables::TwiddleTables()
{
    // Tabulated passes need cosine, sine and their values at quarter/2 - j
    // (mirrors are cosine and sine swapped); rotated ones need all four.
    size_t total = 0;
    for (int p = firstPass; p <= lastPass; ++p)
        total += 3 * size_t(1 << (p - 2));
    for (int p = firstRotatedPass; p <= lastPass; ++p)
        total += 4 * size_t(1 << (p - 2));
    m_storage.reset(new float[total]());
    float *next = m_storage.get();

    for (int p = firstPass; p <= lastPass; ++p) {
        const int q = 1 << (p - 2);
        const int h = 2 * q;
        float *cosine = next;
        float *sine = next + q;
        float *halfCosine = next + 2 * q;
        float *halfSine = next + 2 * q + q / 2;
        next += 3 * q;
        // cos(i pi / 2T) at i = j m, for the fixed calculator of 2^p points (T = B/4, m = 1).
        cosine[0] = 1.0f;
        for (int j = 1; j < q; ++j)
            cosine[j] = static_cast<float>(std::cos(double(j) * pi / double(h)));
        for (int j = 1; j < q; ++j)
            sine[j] = cosine[q - j];
        for (int j = 1; j < q / 2; ++j) {
            halfCosine[j] = cosine[q / 2 - j];
            halfSine[j] = sine[q / 2 - j];
        }
        m_tabulated[p] = Pass{cosine, sine, sine, cosine, halfCosine, halfSine, q};
    }

    for (int p = firstRotatedPass; p <= lastPass; ++p) {
        const int q = 1 << (p - 2);
        float *cosine = next;
        float *sine = next + q;
        float *mirrorCosine = next + 2 * q;
        float *mirrorSine = next + 3 * q;
        next += 4 * q;
        float stepCosine;
        float stepSine;
        rotationStep(p, stepCosine, stepSine);
        float c = 1.0f;
        float s = 0.0f;
        cosine[0] = c;
        for (int j = 1; j < q; ++j) {
            const float rotatedCosine = c * stepCosine - s * stepSine;
            const float rotatedSine = c * stepSine + s * stepCosine;
            c = rotatedCosine;
            s = rotatedSine;
            cosine[j] = c;
            sine[j] = s;
        }
        for (int j = 1; j < q; ++j) {
            mirrorCosine[j] = cosine[q - j];
            mirrorSine[j] = sine[q - j];
        }
        m_rotated[p] = Pass{cosine, sine, mirrorCosine, mirrorSine, nullptr, nullptr, q};
    }
}
