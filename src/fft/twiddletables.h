#pragma once

#include <memory>

/**
 * The twiddles (cos 2 pi j/B, sin 2 pi j/B) of every radix-2 pass of the
 * fixed-size calculators, laid out one after the other in ascending j, so a
 * pass loads them as whole vectors instead of gathering them from the cosine
 * table with a stride. Built once per process and never changed afterwards,
 * so every thread may read them.
 *
 * The values are the calculators' own to the bit: a pass of blocks of B =
 * 2^p points takes the entries j m and (q - j) m of a cosine table of T
 * entries cos(i pi / 2T), with m = 4T/B; since m and 2T are powers of two,
 * that is cos(j pi / (B/2)) evaluated in the same double arithmetic whatever
 * T is. The rotated passes (8192- and 16384-point blocks) repeat the float
 * rotation of their oscillator from (1, 0), which every block restarts.
 */
class TwiddleTables
{
public:
    /** The twiddles of one pass: entry j (1 .. quarter - 1) of each array. */
    struct Pass {
        const float *cosine;
        const float *sine;
        /** cosine and sine of quarter - j, as the second pass of a fused pair reads them. */
        const float *mirrorCosine;
        const float *mirrorSine;
        /** cosine and sine of quarter/2 - j (tabulated passes only), as the third pass of a fused triple reads them. */
        const float *halfCosine;
        const float *halfSine;
        int quarter;
    };

    static constexpr int firstPass = 4;
    static constexpr int lastPass = 14;
    /** Passes from this one up rotate their twiddles in the fixed calculators. */
    static constexpr int firstRotatedPass = 13;

    static const TwiddleTables &instance();

    /** Pass p (firstPass .. lastPass) with twiddles from the cosine table. */
    const Pass &tabulated(int p) const { return m_tabulated[p]; }
    /** Pass p (firstRotatedPass .. lastPass) with twiddles from the float rotation. */
    const Pass &rotated(int p) const { return m_rotated[p]; }

    /** The rotation step of pass p as the oscillator of a fixed calculator holds it. */
    static void rotationStep(int p, float &stepCosine, float &stepSine);

private:
    TwiddleTables();

    std::unique_ptr<float[]> m_storage;
    Pass m_tabulated[lastPass + 1] = {};
    Pass m_rotated[lastPass + 1] = {};
};
