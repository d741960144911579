#pragma once

#include <cmath>

/**
 * The factor that brings a sample of bitsPerSample bits to 16-bit full scale,
 * 2^(16 - bitsPerSample): a power of two, so the scaled value is exact. The
 * levels of the picture and the detector's thresholds are those of 16-bit
 * recordings; a 24-bit copy of one must look and classify the same. A width
 * outside 1 .. 32 (no recording) leaves the samples as they are.
 */
inline double sixteenBitScale(int bitsPerSample)
{
    if (bitsPerSample < 1 || bitsPerSample > 32)
        return 1.0;
    return std::ldexp(1.0, 16 - bitsPerSample);
}
