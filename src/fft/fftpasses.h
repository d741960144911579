#pragma once

// The radix-2 passes shared by the fixed-size calculators and the variable
// engine. Every output value is computed by exactly the float formula of its
// pass (products first, then their sum or difference; the build forbids fused
// multiply-adds), so the results are the same to the bit as a plain scalar
// loop, whatever the vector width. Speed comes from doing four or eight
// independent values per instruction, from taking each twiddle pair once per
// group of blocks, from finishing the short passes of one cache-sized chunk
// before moving on to the next, and (forward) from doing several passes in one
// sweep: the values one pass hands to the next stay in registers.
//
// Arrays: dst and src never overlap; L is the number of floats a pass covers
// (a whole transform or one chunk of it); B is the block length of the pass
// (B = 2^p for pass p), h = B/2, q = B/4.

#include <cstring>

// The eight-lane helpers are only ever inlined into functions compiled for
// AVX2, so the warning about 32-byte vectors without AVX concerns no real call.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

namespace fftpasses {

// Transforms longer than this run their short passes chunk by chunk: a chunk
// and its ping-pong partner (16 KiB together) stay in the first-level cache
// through all the passes whose blocks fit in it.
constexpr int chunkLength = 2048;

/** Whether the eight-lane (AVX2) code may run: the processor has it and it is not switched off. */
bool wideVectors();
/** Switches the eight-lane code off or back on (it is on wherever the processor has it). */
void setWideVectorsEnabled(bool enabled);

#define FFT_INLINE inline __attribute__((always_inline))

using v4 = float __attribute__((vector_size(16)));
using v8 = float __attribute__((vector_size(32)));

/**
 * Lanes of a and b picked by constant indices: I below the width picks a[I],
 * the others b[I - width]. GCC and Clang each have their own built-in for it;
 * with constant indices both become one or two shuffle instructions.
 */
#if defined(__clang__)
template <int... I, typename V>
FFT_INLINE V shuffle(V a, V b)
{
    static_assert(sizeof...(I) * sizeof(float) == sizeof(V), "one index per lane");
    return __builtin_shufflevector(a, b, I...);
}
#else
// GCC takes the indices as a vector of ints as wide as the floats.
template <int Lanes>
struct ShuffleMask;
template <>
struct ShuffleMask<4> {
    using type = int __attribute__((vector_size(16)));
};
template <>
struct ShuffleMask<8> {
    using type = int __attribute__((vector_size(32)));
};

template <int... I, typename V>
FFT_INLINE V shuffle(V a, V b)
{
    static_assert(sizeof...(I) * sizeof(float) == sizeof(V), "one index per lane");
    return __builtin_shuffle(a, b, typename ShuffleMask<sizeof...(I)>::type{I...});
}
#endif

/** Four floats per operation: plain SSE2 on x86-64, NEON elsewhere. */
struct Vec4 {
    using type = v4;
    static constexpr int width = 4;
    static FFT_INLINE type load(const float *p)
    {
        type r;
        std::memcpy(&r, p, sizeof r);
        return r;
    }
    static FFT_INLINE void store(float *p, type v) { std::memcpy(p, &v, sizeof v); }
    static FFT_INLINE type reversed(type v) { return shuffle<3, 2, 1, 0>(v, v); }
    static FFT_INLINE type splat(float f)
    {
#if defined(__clang__)
        return __builtin_shufflevector(type{f}, type{f}, 0, 0, 0, 0);
#else
        // Spelt out, not through shuffle(): through the template GCC builds more of the
        // passes' vectors lane by lane instead of broadcasting them.
        return __builtin_shuffle(type{f}, ShuffleMask<4>::type{});
#endif
    }
    /** Rows r[0..3] become columns: r[i][l] moves to r[l][i]. */
    static FFT_INLINE void transpose(type *r)
    {
        const type t0 = shuffle<0, 4, 1, 5>(r[0], r[1]);
        const type t1 = shuffle<0, 4, 1, 5>(r[2], r[3]);
        const type t2 = shuffle<2, 6, 3, 7>(r[0], r[1]);
        const type t3 = shuffle<2, 6, 3, 7>(r[2], r[3]);
        r[0] = shuffle<0, 1, 4, 5>(t0, t1);
        r[1] = shuffle<2, 3, 6, 7>(t0, t1);
        r[2] = shuffle<0, 1, 4, 5>(t2, t3);
        r[3] = shuffle<2, 3, 6, 7>(t2, t3);
    }
};

/** Eight floats per operation; only used inside functions compiled for AVX2. */
struct Vec8 {
    using type = v8;
    static constexpr int width = 8;
    static FFT_INLINE type load(const float *p)
    {
        type r;
        std::memcpy(&r, p, sizeof r);
        return r;
    }
    static FFT_INLINE void store(float *p, type v) { std::memcpy(p, &v, sizeof v); }
    static FFT_INLINE type reversed(type v) { return shuffle<7, 6, 5, 4, 3, 2, 1, 0>(v, v); }
    static FFT_INLINE type splat(float f)
    {
#if defined(__clang__)
        return __builtin_shufflevector(type{f}, type{f}, 0, 0, 0, 0, 0, 0, 0, 0);
#else
        return __builtin_shuffle(type{f}, ShuffleMask<8>::type{});
#endif
    }
    /** Rows r[0..7] become columns: r[i][l] moves to r[l][i] (interleave, pair up, swap halves). */
    static FFT_INLINE void transpose(type *r)
    {
        type t[8];
        for (int i = 0; i < 8; i += 2) {
            t[i] = shuffle<0, 8, 1, 9, 4, 12, 5, 13>(r[i], r[i + 1]);
            t[i + 1] = shuffle<2, 10, 3, 11, 6, 14, 7, 15>(r[i], r[i + 1]);
        }
        type u[8];
        for (int i = 0; i < 8; i += 4) {
            u[i] = shuffle<0, 1, 8, 9, 4, 5, 12, 13>(t[i], t[i + 2]);
            u[i + 1] = shuffle<2, 3, 10, 11, 6, 7, 14, 15>(t[i], t[i + 2]);
            u[i + 2] = shuffle<0, 1, 8, 9, 4, 5, 12, 13>(t[i + 1], t[i + 3]);
            u[i + 3] = shuffle<2, 3, 10, 11, 6, 7, 14, 15>(t[i + 1], t[i + 3]);
        }
        for (int i = 0; i < 4; ++i) {
            r[i] = shuffle<0, 1, 2, 3, 8, 9, 10, 11>(u[i], u[i + 4]);
            r[i + 4] = shuffle<4, 5, 6, 7, 12, 13, 14, 15>(u[i], u[i + 4]);
        }
    }
};

// sqrt(1/2) as the float the passes have always used.
constexpr float rootHalf = 0.70710677f;

/** Twiddles (cos 2 pi j/B, sin 2 pi j/B) read from a cosine table with a stride. */
struct TableTwiddles {
    static constexpr bool rotated = false;

    const float *table; // table[k * stride] = cos(2 pi k / B), k = 0 .. q-1
    int stride;
    int q;

    FFT_INLINE void scalar(int j, float &c, float &s)
    {
        c = table[j * stride];
        s = table[(q - j) * stride];
    }
    template <typename Vec>
    FFT_INLINE void vector(int j, typename Vec::type &c, typename Vec::type &s)
    {
        constexpr int W = Vec::width;
        if (stride == 1) {
            c = Vec::load(table + j);
            s = Vec::reversed(Vec::load(table + (q - j - (W - 1))));
        } else {
            float cs[W];
            float ss[W];
            for (int k = 0; k < W; ++k) {
                cs[k] = table[(j + k) * stride];
                ss[k] = table[(q - j - k) * stride];
            }
            c = Vec::load(cs);
            s = Vec::load(ss);
        }
    }
    FFT_INLINE void finish() {}
};

/** Twiddles read from arrays of cosines and sines in ascending j (see TwiddleTables). */
struct ArrayTwiddles {
    static constexpr bool rotated = false;

    const float *cosine;
    const float *sine;

    FFT_INLINE void scalar(int j, float &c, float &s)
    {
        c = cosine[j];
        s = sine[j];
    }
    template <typename Vec>
    FFT_INLINE void vector(int j, typename Vec::type &c, typename Vec::type &s)
    {
        c = Vec::load(cosine + j);
        s = Vec::load(sine + j);
    }
    FFT_INLINE void finish() {}
};

/**
 * Twiddles generated by rotating (1, 0) by a fixed step in float arithmetic,
 * once before every j. Every block of a pass restarts at (1, 0), so all blocks
 * see the same sequence: it is generated once per pass, in ascending j, while
 * all blocks go through each j together, which gives the very same values.
 */
template <typename Oscillator>
struct RotatedTwiddles {
    static constexpr bool rotated = true;

    Oscillator *osc;
    float cosine = 1.0f; // kept here, not in *osc, so that stores to the data cannot alias it
    float sine = 0.0f;
    float stepCosine;
    float stepSine;

    explicit RotatedTwiddles(Oscillator *o)
        : osc(o)
        , stepCosine(o->stepCosine)
        , stepSine(o->stepSine)
    {
    }

    FFT_INLINE void scalar(int, float &c, float &s)
    {
        c = cosine * stepCosine - sine * stepSine;
        s = cosine * stepSine + sine * stepCosine;
        cosine = c;
        sine = s;
    }
    template <typename Vec>
    FFT_INLINE void vector(int j, typename Vec::type &c, typename Vec::type &s)
    {
        for (int k = 0; k < Vec::width; ++k) {
            float ck, sk;
            scalar(j + k, ck, sk);
            c[k] = ck;
            s[k] = sk;
        }
    }
    /** Leaves the oscillator where the last block of the pass left it. */
    FFT_INLINE void finish()
    {
        osc->cosine = cosine;
        osc->sine = sine;
    }
};

/**
 * Passes 1 to 3 of four 8-point blocks at once; lane m of every vector belongs
 * to block m. ae..de are the four samples that passes 1 and 2 turn into x0..x3
 * of each block, ao..dO those that become x4..x7. Block m's eight results are
 * stored at out[m].
 */
FFT_INLINE void firstThreeOfFourBlocks(v4 ae, v4 be, v4 ce, v4 de, v4 ao, v4 bo, v4 co, v4 dO, float *const out[4])
{
    const v4 abe = ae + be;
    const v4 cde = ce + de;
    const v4 x0 = abe + cde;
    const v4 x1 = ae - be;
    const v4 x2 = abe - cde;
    const v4 x3 = ce - de;
    const v4 abo = ao + bo;
    const v4 cdo = co + dO;
    const v4 x4 = abo + cdo;
    const v4 x5 = ao - bo;
    const v4 x6 = abo - cdo;
    const v4 x7 = co - dO;
    // Pass 3: the only twiddle is sqrt(1/2), applied with one multiplication.
    const v4 rh{rootHalf, rootHalf, rootHalf, rootHalf};
    const v4 v = (x5 - x7) * rh;
    const v4 w = (x5 + x7) * rh;
    const v4 y0 = x0 + x4;
    const v4 y1 = x1 + v;
    const v4 y2 = x2;
    const v4 y3 = x1 - v;
    const v4 y4 = x0 - x4;
    const v4 y5 = w + x3;
    const v4 y6 = x6;
    const v4 y7 = w - x3;
    // Transpose: lane m of y0..y7 becomes the eight floats of block m.
    const v4 a0 = shuffle<0, 4, 1, 5>(y0, y1);
    const v4 a1 = shuffle<0, 4, 1, 5>(y2, y3);
    const v4 a2 = shuffle<2, 6, 3, 7>(y0, y1);
    const v4 a3 = shuffle<2, 6, 3, 7>(y2, y3);
    const v4 b0 = shuffle<0, 4, 1, 5>(y4, y5);
    const v4 b1 = shuffle<0, 4, 1, 5>(y6, y7);
    const v4 b2 = shuffle<2, 6, 3, 7>(y4, y5);
    const v4 b3 = shuffle<2, 6, 3, 7>(y6, y7);
    Vec4::store(out[0], shuffle<0, 1, 4, 5>(a0, a1));
    Vec4::store(out[0] + 4, shuffle<0, 1, 4, 5>(b0, b1));
    Vec4::store(out[1], shuffle<2, 3, 6, 7>(a0, a1));
    Vec4::store(out[1] + 4, shuffle<2, 3, 6, 7>(b0, b1));
    Vec4::store(out[2], shuffle<0, 1, 4, 5>(a2, a3));
    Vec4::store(out[2] + 4, shuffle<0, 1, 4, 5>(b2, b3));
    Vec4::store(out[3], shuffle<2, 3, 6, 7>(a2, a3));
    Vec4::store(out[3] + 4, shuffle<2, 3, 6, 7>(b2, b3));
}

/**
 * Passes 1 and 2 (gathering in bit-reversed order) and pass 3, for the groups
 * of four [groupBegin, groupEnd) (a multiple of 8 apart). rev[i * revStride]
 * is the bit reversal of 4i (below L/4); dst receives what pass 3 writes.
 */
FFT_INLINE void forwardFirstThree(float *__restrict dst, const float *__restrict x, int L, const int *__restrict rev,
                                  int revStride, int groupBegin, int groupEnd)
{
    const int half = L / 2;
    const int quarter = L / 4;
    for (int g = groupBegin; g < groupEnd; g += 8) {
        // Lane m holds block m of the four 8-point blocks: groups g+2m (e) and g+2m+1 (o).
        v4 ae, be, ce, de, ao, bo, co, dO;
        for (int m = 0; m < 4; ++m) {
            const int r = rev[(g + 2 * m) * revStride];
            ae[m] = x[r];
            be[m] = x[r + half];
            ce[m] = x[r + quarter];
            de[m] = x[r + half + quarter];
            const int s = rev[(g + 2 * m + 1) * revStride];
            ao[m] = x[s];
            bo[m] = x[s + half];
            co[m] = x[s + quarter];
            dO[m] = x[s + half + quarter];
        }
        // Block m is dst[4g + 8m .. 4g + 8m + 7].
        float *const out[4] = {dst + 4 * g, dst + 4 * g + 8, dst + 4 * g + 16, dst + 4 * g + 24};
        firstThreeOfFourBlocks(ae, be, ce, de, ao, bo, co, dO, out);
    }
}

/**
 * Passes 1 to 3 of the whole transform for L >= 128, reading the samples as 32
 * sequential streams instead of gathering them one by one. The eight groups
 * 8v .. 8v+7 read x[t + m L/32] (m = 0 .. 31) with t the bit reversal of 4(8v):
 * so four consecutive t are four adjacent samples of every stream, and lane l
 * of each vector belongs to t = 4u + l. rev[i * revStride] is the bit reversal
 * of 4i; dst receives what pass 3 writes.
 */
FFT_INLINE void forwardFirstThreeStreams(float *__restrict dst, const float *__restrict x, int L,
                                         const int *__restrict rev, int revStride)
{
    const int L32 = L / 32;
    // First samples of groups 0 .. 7 (the bit reversals of 0, 4, .., 28).
    const int first[8] = {0, 4 * L32, 2 * L32, 6 * L32, L32, 5 * L32, 3 * L32, 7 * L32};
    const int half = L / 2;
    const int quarter = L / 4;
    // Where lane l's 32 outputs start: the bit reversal of t + l is that of t plus these.
    const int laneOffset[4] = {0, half, quarter, half + quarter};
    for (int u = 0; u < L / 128; ++u) {
        const int t = 4 * u;
        float *base = dst + rev[u * revStride]; // the bit reversal of t, a multiple of 32
        for (int block = 0; block < 4; ++block) {
            const float *e = x + t + first[2 * block];
            const float *o = x + t + first[2 * block + 1];
            const int at = 8 * block;
            float *const out[4] = {base + laneOffset[0] + at, base + laneOffset[1] + at, base + laneOffset[2] + at,
                                   base + laneOffset[3] + at};
            firstThreeOfFourBlocks(Vec4::load(e), Vec4::load(e + half), Vec4::load(e + quarter),
                                   Vec4::load(e + half + quarter), Vec4::load(o), Vec4::load(o + half),
                                   Vec4::load(o + quarter), Vec4::load(o + half + quarter), out);
        }
    }
}

/**
 * Passes 1 to 3 of W 8-point blocks, one per lane: ae..de are the four samples
 * that passes 1 and 2 turn into x0..x3, ao..dO those that become x4..x7. y
 * receives the eight values pass 3 writes.
 */
template <typename Vec>
FFT_INLINE void firstThreeOfLanes(typename Vec::type ae, typename Vec::type be, typename Vec::type ce,
                                  typename Vec::type de, typename Vec::type ao, typename Vec::type bo,
                                  typename Vec::type co, typename Vec::type dO, typename Vec::type *y)
{
    using V = typename Vec::type;
    const V rh = Vec::splat(rootHalf);
    const V abe = ae + be;
    const V cde = ce + de;
    const V x0 = abe + cde;
    const V x1 = ae - be;
    const V x2 = abe - cde;
    const V x3 = ce - de;
    const V abo = ao + bo;
    const V cdo = co + dO;
    const V x4 = abo + cdo;
    const V x5 = ao - bo;
    const V x6 = abo - cdo;
    const V x7 = co - dO;
    const V v = (x5 - x7) * rh;
    const V w = (x5 + x7) * rh;
    y[0] = x0 + x4;
    y[1] = x1 + v;
    y[2] = x2;
    y[3] = x1 - v;
    y[4] = x0 - x4;
    y[5] = w + x3;
    y[6] = x6;
    y[7] = w - x3;
}

/**
 * Passes 4 and 5 of W 32-point blocks, one per lane, from the four 8-point
 * blocks in z[0..31]; out receives what pass 5 writes. c16, s16 and c32, s32
 * hold the twiddles of the two passes at j.
 */
template <typename Vec>
FFT_INLINE void lastTwoOfLanes(const typename Vec::type *z, typename Vec::type *out, const float *c16, const float *s16,
                               const float *c32, const float *s32)
{
    using V = typename Vec::type;
    // Pass 4 on both halves: blocks of 16 from [0, 16) and [16, 32).
    V r[32];
#pragma GCC unroll 2
    for (int half = 0; half < 32; half += 16) {
        const V *zh = z + half;
        V *rh16 = r + half;
        rh16[0] = zh[0] + zh[8];
        rh16[8] = zh[0] - zh[8];
        rh16[4] = zh[4];
        rh16[12] = zh[12];
#pragma GCC unroll 4
        for (int j = 1; j < 4; ++j) {
            const V c = Vec::splat(c16[j]);
            const V sn = Vec::splat(s16[j]);
            const V v = zh[8 + j] * c - zh[12 + j] * sn;
            const V w = zh[8 + j] * sn + zh[12 + j] * c;
            rh16[j] = zh[j] + v;
            rh16[8 - j] = zh[j] - v;
            rh16[8 + j] = w + zh[4 + j];
            rh16[16 - j] = w - zh[4 + j];
        }
    }
    // Pass 5 on the whole block.
    out[0] = r[0] + r[16];
    out[16] = r[0] - r[16];
    out[8] = r[8];
    out[24] = r[24];
#pragma GCC unroll 8
    for (int j = 1; j < 8; ++j) {
        const V c = Vec::splat(c32[j]);
        const V sn = Vec::splat(s32[j]);
        const V v = r[16 + j] * c - r[24 + j] * sn;
        const V w = r[16 + j] * sn + r[24 + j] * c;
        out[j] = r[j] + v;
        out[16 - j] = r[j] - v;
        out[16 + j] = w + r[8 + j];
        out[32 - j] = w - r[8 + j];
    }
}

/** Lane l of out[0..31] back to its own 32-point block at base + offset[l]: W values at a time, transposed. */
template <typename Vec>
FFT_INLINE void storeLanes(typename Vec::type *out, float *base, const int *offset)
{
    constexpr int W = Vec::width;
#pragma GCC unroll 8
    for (int i = 0; i < 32; i += W) {
        Vec::transpose(out + i);
#pragma GCC unroll 8
        for (int l = 0; l < W; ++l)
            Vec::store(base + offset[l] + i, out[i + l]);
    }
}

/** The N-bit reversal of t < 8 for a transform of L points. */
FFT_INLINE int reversedLow(int t, int L)
{
    return ((t & 1) ? L / 2 : 0) + ((t & 2) ? L / 4 : 0) + ((t & 4) ? L / 8 : 0);
}

/**
 * Passes 1 to 5 of the whole transform, for L/32 >= W: each lane carries one
 * 32-point block through all five passes, so every operation of a pass is the
 * same for all lanes and the twiddles are plain constants. Block k reads
 * x[R + m L/32] (m = 0 .. 31) with R the bit reversal of 32k; W consecutive R
 * make W adjacent samples of each of the 32 streams. Groups lane groups of W
 * (Groups W floats of every stream) are read together. rev[i * revStride] is
 * the bit reversal of 4i; c16, s16 and c32, s32 hold the twiddles of passes 4
 * and 5 at j; dst receives what pass 5 writes.
 */
template <typename Vec, int Groups>
FFT_INLINE void forwardFirstFive(float *__restrict dst, const float *__restrict x, int L, const int *__restrict rev,
                                 int revStride, const float *c16, const float *s16, const float *c32, const float *s32)
{
    using V = typename Vec::type;
    constexpr int W = Vec::width;
    const int stride = L / 32;
    // The bit reversal of R0 + l is that of R0 plus that of l (l < W <= 8).
    int laneOffset[W];
    for (int l = 0; l < W; ++l)
        laneOffset[l] = reversedLow(l, L);
    for (int R0 = 0; R0 < stride; R0 += Groups * W) {
        // 8-point block u of the 32 is made of the groups of four t = 2u and
        // 2u + 1, which read the streams rev3(t) + 0, 16, 8, 24.
        V eight[Groups][32];
#pragma GCC unroll 4
        for (int u = 0; u < 4; ++u) {
            const int me = (u & 1) * 2 + (u >> 1); // rev3(2u); rev3(2u + 1) is 4 more
            for (int g = 0; g < Groups; ++g) {
                const float *e = x + R0 + g * W + me * stride;
                const float *o = e + 4 * stride;
                firstThreeOfLanes<Vec>(Vec::load(e), Vec::load(e + 16 * stride), Vec::load(e + 8 * stride),
                                       Vec::load(e + 24 * stride), Vec::load(o), Vec::load(o + 16 * stride),
                                       Vec::load(o + 8 * stride), Vec::load(o + 24 * stride), eight[g] + 8 * u);
            }
        }
        for (int g = 0; g < Groups; ++g) {
            V out[32];
            lastTwoOfLanes<Vec>(eight[g], out, c16, s16, c32, s32);
            storeLanes<Vec>(out, dst + rev[((R0 + g * W) / 4) * revStride], laneOffset);
        }
    }
}

/** Passes 1 and 2 for small transforms, one group of four at a time. */
FFT_INLINE void forwardFirstTwo(float *__restrict dst, const float *__restrict x, int L, const int *__restrict rev,
                                int revStride)
{
    for (int i = 0; i < L / 4; ++i) {
        const int r = rev[i * revStride];
        const float a = x[r];
        const float b = x[r + L / 2];
        const float c = x[r + L / 4];
        const float d = x[r + 3 * L / 4];
        dst[4 * i] = (a + b) + (c + d);
        dst[4 * i + 1] = a - b;
        dst[4 * i + 2] = (a + b) - (c + d);
        dst[4 * i + 3] = c - d;
    }
}

/** Pass 3 (B = 8) on its own, for small transforms. */
FFT_INLINE void forwardEight(float *__restrict dst, const float *__restrict src, int L)
{
    for (int s = 0; s < L; s += 8) {
        const float *x = src + s;
        float *y = dst + s;
        const float v = (x[5] - x[7]) * rootHalf;
        const float w = (x[5] + x[7]) * rootHalf;
        y[0] = x[0] + x[4];
        y[4] = x[0] - x[4];
        y[2] = x[2];
        y[6] = x[6];
        y[1] = x[1] + v;
        y[3] = x[1] - v;
        y[5] = w + x[3];
        y[7] = w - x[3];
    }
}

/** Inverse of pass 3. */
FFT_INLINE void inverseEight(float *__restrict dst, const float *__restrict src, int L)
{
    for (int s = 0; s < L; s += 8) {
        const float *x = src + s;
        float *y = dst + s;
        const float vr = x[1] - x[3];
        const float vi = x[5] + x[7];
        y[0] = x[0] + x[4];
        y[4] = x[0] - x[4];
        y[2] = 2.0f * x[2];
        y[6] = 2.0f * x[6];
        y[1] = x[1] + x[3];
        y[3] = x[5] - x[7];
        y[5] = (vi + vr) * rootHalf;
        y[7] = (vi - vr) * rootHalf;
    }
}

/**
 * Passes 2 and 1 of the inverse together for the groups of four [groupBegin,
 * groupEnd), scattering into y in bit-reversed order.
 */
FFT_INLINE void inverseLast(float *__restrict y, const float *__restrict src, int L, const int *__restrict rev,
                            int revStride, int groupBegin, int groupEnd)
{
    for (int i = groupBegin; i < groupEnd; ++i) {
        const int r = rev[i * revStride];
        const float *x = src + 4 * i;
        const float e = x[0] + x[2];
        const float g = x[0] - x[2];
        y[r] = e + 2.0f * x[1];
        y[r + L / 2] = e - 2.0f * x[1];
        y[r + L / 4] = g + 2.0f * x[3];
        y[r + 3 * L / 4] = g - 2.0f * x[3];
    }
}

// Blocks are taken in groups of about this many floats: each group goes through
// all j before the next starts, so a twiddle pair read from a strided table
// serves several blocks while the group's data stay in the first-level cache.
constexpr int groupSpan = 1024;

/** The forward butterflies of j .. j+W-1 for the blocks of [begin, end). */
template <typename Vec>
FFT_INLINE void forwardColumns(float *__restrict dst, const float *__restrict src, int begin, int end, int B, int j,
                               typename Vec::type c, typename Vec::type sn)
{
    using V = typename Vec::type;
    constexpr int W = Vec::width;
    const int h = B / 2;
    const int q = B / 4;
    for (int s = begin; s < end; s += B) {
        const V a = Vec::load(src + s + h + j);
        const V b = Vec::load(src + s + h + q + j);
        const V v = a * c - b * sn;
        const V w = a * sn + b * c;
        const V x0 = Vec::load(src + s + j);
        const V x1 = Vec::load(src + s + q + j);
        Vec::store(dst + s + j, x0 + v);
        Vec::store(dst + s + h - j - (W - 1), Vec::reversed(x0 - v));
        Vec::store(dst + s + h + j, w + x1);
        Vec::store(dst + s + B - j - (W - 1), Vec::reversed(w - x1));
    }
}

/** The inverse butterflies of j .. j+W-1 for the blocks of [begin, end). */
template <typename Vec>
FFT_INLINE void inverseColumns(float *__restrict dst, const float *__restrict src, int begin, int end, int B, int j,
                               typename Vec::type c, typename Vec::type sn)
{
    using V = typename Vec::type;
    constexpr int W = Vec::width;
    const int h = B / 2;
    const int q = B / 4;
    for (int s = begin; s < end; s += B) {
        const V x0 = Vec::load(src + s + j);
        const V xr = Vec::reversed(Vec::load(src + s + h - j - (W - 1)));
        const V y0 = Vec::load(src + s + h + j);
        const V yr = Vec::reversed(Vec::load(src + s + B - j - (W - 1)));
        Vec::store(dst + s + j, x0 + xr);
        Vec::store(dst + s + q + j, y0 - yr);
        const V vr = x0 - xr;
        const V vi = y0 + yr;
        Vec::store(dst + s + h + j, vr * c + vi * sn);
        Vec::store(dst + s + h + q + j, vi * c - vr * sn);
    }
}

/** Forward pass with blocks of B = 16 points: one block is four vectors. */
template <typename Twiddles>
FFT_INLINE void forwardSixteen(float *__restrict dst, const float *__restrict src, int L, Twiddles tw)
{
    // Lane 0 stands for j = 0 and j = q, whose values the shuffles put in place.
    float c[4] = {1.0f, 0.0f, 0.0f, 0.0f};
    float sn[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    for (int j = 1; j < 4; ++j)
        tw.scalar(j, c[j], sn[j]);
    const v4 C = Vec4::load(c);
    const v4 S = Vec4::load(sn);
    for (int s = 0; s < L; s += 16) {
        const v4 s0 = Vec4::load(src + s);                     // x0  x0_1 x0_2 x0_3
        const v4 s1 = Vec4::load(src + s + 4);                 // xq  x1_1 x1_2 x1_3
        const v4 s2 = Vec4::load(src + s + 8);                 // xh  a_1  a_2  a_3
        const v4 s3 = Vec4::load(src + s + 12);                // xhq b_1  b_2  b_3
        const v4 v = shuffle<4, 1, 2, 3>(s2 * C - s3 * S, s2); // lane 0: xh itself
        const v4 w = s2 * S + s3 * C;
        const v4 sum = s0 + v;
        const v4 diff = s0 - v;
        Vec4::store(dst + s, sum);
        Vec4::store(dst + s + 4, shuffle<0, 7, 6, 5>(s1, diff));
        Vec4::store(dst + s + 8, shuffle<0, 5, 6, 7>(diff, w + s1));
        Vec4::store(dst + s + 12, shuffle<0, 7, 6, 5>(s3, w - s1));
    }
}

/** Inverse pass with blocks of B = 16 points. */
template <typename Twiddles>
FFT_INLINE void inverseSixteen(float *__restrict dst, const float *__restrict src, int L, Twiddles tw)
{
    float c[4] = {1.0f, 0.0f, 0.0f, 0.0f};
    float sn[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    for (int j = 1; j < 4; ++j)
        tw.scalar(j, c[j], sn[j]);
    const v4 C = Vec4::load(c);
    const v4 S = Vec4::load(sn);
    const v4 two{2.0f, 2.0f, 2.0f, 2.0f};
    for (int s = 0; s < L; s += 16) {
        const v4 s0 = Vec4::load(src + s);         // x0  X_1  X_2  X_3
        const v4 s1 = Vec4::load(src + s + 4);     // xq  Xr_3 Xr_2 Xr_1
        const v4 s2 = Vec4::load(src + s + 8);     // xh  Y_1  Y_2  Y_3
        const v4 s3 = Vec4::load(src + s + 12);    // xhq Yr_3 Yr_2 Yr_1
        const v4 xr = shuffle<4, 3, 2, 1>(s1, s2); // lane 0: xh
        const v4 yr = shuffle<0, 3, 2, 1>(s3, s3);
        const v4 vr = s0 - xr;
        const v4 vi = s2 + yr;
        Vec4::store(dst + s, s0 + xr);
        Vec4::store(dst + s + 4, shuffle<0, 5, 6, 7>(two * s1, s2 - yr));
        Vec4::store(dst + s + 8, shuffle<0, 5, 6, 7>(vr, vr * C + vi * S));
        Vec4::store(dst + s + 12, shuffle<0, 5, 6, 7>(two * s3, vi * C - vr * S));
    }
}

/** One value per operation: the tail of a rotated pass, whose twiddles must come in order. */
struct Vec1 {
    using type = float;
    static constexpr int width = 1;
    static FFT_INLINE type load(const float *p) { return *p; }
    static FFT_INLINE void store(float *p, type v) { *p = v; }
    static FFT_INLINE type reversed(type v) { return v; }
};

/** The forward butterflies of a pass, for runPass. */
struct ForwardButterflies {
    static FFT_INLINE void edges(float *__restrict dst, const float *__restrict src, int s, int h, int q)
    {
        const float x0 = src[s];
        const float xh = src[s + h];
        dst[s] = x0 + xh;
        dst[s + h] = x0 - xh;
        dst[s + q] = src[s + q];
        dst[s + h + q] = src[s + h + q];
    }
    template <typename Vec>
    static FFT_INLINE void columns(float *__restrict dst, const float *__restrict src, int begin, int end, int B, int j,
                                   typename Vec::type c, typename Vec::type sn)
    {
        forwardColumns<Vec>(dst, src, begin, end, B, j, c, sn);
    }
    template <typename Twiddles>
    static FFT_INLINE void sixteen(float *__restrict dst, const float *__restrict src, int L, Twiddles tw)
    {
        forwardSixteen(dst, src, L, tw);
    }
};

/** The inverse butterflies of a pass, for runPass. */
struct InverseButterflies {
    static FFT_INLINE void edges(float *__restrict dst, const float *__restrict src, int s, int h, int q)
    {
        const float x0 = src[s];
        const float xh = src[s + h];
        dst[s] = x0 + xh;
        dst[s + h] = x0 - xh;
        dst[s + q] = 2.0f * src[s + q];
        dst[s + h + q] = 2.0f * src[s + h + q];
    }
    template <typename Vec>
    static FFT_INLINE void columns(float *__restrict dst, const float *__restrict src, int begin, int end, int B, int j,
                                   typename Vec::type c, typename Vec::type sn)
    {
        inverseColumns<Vec>(dst, src, begin, end, B, j, c, sn);
    }
    template <typename Twiddles>
    static FFT_INLINE void sixteen(float *__restrict dst, const float *__restrict src, int L, Twiddles tw)
    {
        inverseSixteen(dst, src, L, tw);
    }
};

/**
 * One pass with blocks of B >= 16 points, forward or inverse as Butterflies
 * says. Vec is the widest vector to use; passes too short for it fall back to
 * four lanes.
 */
template <typename Vec, typename Butterflies, typename Twiddles>
FFT_INLINE void runPass(float *__restrict dst, const float *__restrict src, int L, int B, Twiddles tw)
{
    const int h = B / 2;
    const int q = B / 4;
    if (q == 4) {
        Butterflies::sixteen(dst, src, L, tw);
        return;
    }
    if constexpr (Vec::width > 4) {
        if (q < 2 * Vec::width) {
            runPass<Vec4, Butterflies>(dst, src, L, B, tw);
            return;
        }
    }
    constexpr int W = Vec::width;
    using V = typename Vec::type;
    const int span = Twiddles::rotated ? L : (B >= groupSpan ? B : (L < groupSpan ? L : groupSpan));
    for (int g = 0; g < L; g += span) {
        for (int s = g; s < g + span; s += B)
            Butterflies::edges(dst, src, s, h, q);
        if (Twiddles::rotated) {
            // The sequence must run in order: full groups of W, then the last
            // W - 1 values of j one at a time.
            int j = 1;
            for (; j + W - 1 < q; j += W) {
                V c, sn;
                tw.template vector<Vec>(j, c, sn);
                Butterflies::template columns<Vec>(dst, src, g, g + span, B, j, c, sn);
            }
            for (; j < q; ++j) {
                float c, sn;
                tw.scalar(j, c, sn);
                Butterflies::template columns<Vec1>(dst, src, g, g + span, B, j, c, sn);
            }
        } else {
            // Groups of W from j = 1; the last group is moved back to end at
            // q - 1 and recomputes a few values to the same bits.
            for (int j = 1;; j += W) {
                if (j > q - W)
                    j = q - W;
                V c, sn;
                tw.template vector<Vec>(j, c, sn);
                Butterflies::template columns<Vec>(dst, src, g, g + span, B, j, c, sn);
                if (j == q - W)
                    break;
            }
        }
    }
    tw.finish();
}

/**
 * One forward butterfly: x0, x1 at j and q + j of a block, a, b at h + j and
 * h + q + j, (c, sn) the twiddle of j. o0 .. o3 go to j, h - j, h + j, B - j.
 */
template <typename V>
FFT_INLINE void forwardButterfly(V x0, V x1, V a, V b, V c, V sn, V &o0, V &o1, V &o2, V &o3)
{
    const V v = a * c - b * sn;
    const V w = a * sn + b * c;
    o0 = x0 + v;
    o1 = x0 - v;
    o2 = w + x1;
    o3 = w - x1;
}

/**
 * Twiddles of two forward passes done in one sweep: cosines and sines of the
 * first pass (blocks of B) at j, of the second (blocks of 2B) at j and at B/2 - j,
 * each array in ascending j.
 */
struct PairTwiddles {
    const float *cosine1;
    const float *sine1;
    const float *cosine2;
    const float *sine2;
    const float *mirrorCosine2;
    const float *mirrorSine2;
};

/**
 * Forward pass p's butterflies j .. j+W-1 (1 <= j, j+W-1 < q) on the block at
 * a: r[0..3] receive its values at j, h - j, h + j and B - j.
 */
template <typename Vec>
FFT_INLINE void forwardFirstOfBlock(const float *__restrict a, int B, int j, typename Vec::type c1,
                                    typename Vec::type s1, typename Vec::type *r)
{
    const int h = B / 2;
    const int q = B / 4;
    forwardButterfly(Vec::load(a + j), Vec::load(a + q + j), Vec::load(a + h + j), Vec::load(a + h + q + j), c1, s1,
                     r[0], r[1], r[2], r[3]);
}

/**
 * Forward pass p's butterflies j .. j+W-1 on both blocks of the pair at S (a =
 * [S, S+B), b = [S+B, S+2B)). Its eight results are exactly what pass p + 1's
 * butterflies j and h - j of the pair read: r[0..3] are block a's values at j,
 * h - j, h + j and B - j, r[4..7] block b's.
 */
template <typename Vec>
FFT_INLINE void forwardPairFirst(const float *__restrict src, int S, int B, int j, const PairTwiddles &t,
                                 typename Vec::type *r)
{
    const typename Vec::type c1 = Vec::load(t.cosine1 + j);
    const typename Vec::type s1 = Vec::load(t.sine1 + j);
    forwardFirstOfBlock<Vec>(src + S, B, j, c1, s1, r);
    forwardFirstOfBlock<Vec>(src + S + B, B, j, c1, s1, r + 4);
}

/** Forward pass p + 1's butterflies j .. j+W-1 of the pair at S, from forwardPairFirst's r. */
template <typename Vec>
FFT_INLINE void forwardSecondAtJ(float *__restrict dst, int S, int B, int j, const PairTwiddles &t,
                                 const typename Vec::type *r)
{
    constexpr int W = Vec::width;
    float *d = dst + S;
    typename Vec::type o0, o1, o2, o3;
    // Reads positions j and h + j of both blocks.
    forwardButterfly(r[0], r[2], r[4], r[6], Vec::load(t.cosine2 + j), Vec::load(t.sine2 + j), o0, o1, o2, o3);
    Vec::store(d + j, o0);
    Vec::store(d + B - j - (W - 1), Vec::reversed(o1));
    Vec::store(d + B + j, o2);
    Vec::store(d + 2 * B - j - (W - 1), Vec::reversed(o3));
}

/** Forward pass p + 1's butterflies h - j .. h-j-W+1 of the pair at S, from forwardPairFirst's r. */
template <typename Vec>
FFT_INLINE void forwardSecondAtMirror(float *__restrict dst, int S, int B, int j, const PairTwiddles &t,
                                      const typename Vec::type *r)
{
    constexpr int W = Vec::width;
    const int h = B / 2;
    float *d = dst + S;
    typename Vec::type o0, o1, o2, o3;
    // Reads positions h - j and B - j of both blocks.
    forwardButterfly(r[1], r[3], r[5], r[7], Vec::load(t.mirrorCosine2 + j), Vec::load(t.mirrorSine2 + j), o0, o1, o2,
                     o3);
    Vec::store(d + h - j - (W - 1), Vec::reversed(o0));
    Vec::store(d + h + j, o1);
    Vec::store(d + B + h - j - (W - 1), Vec::reversed(o2));
    Vec::store(d + B + h + j, o3);
}

/**
 * Forward passes p and p + 1 on the block pair at S for the butterflies j ..
 * j+W-1 of pass p: pass p's results stay in registers for pass p + 1; each
 * value is still the one the two passes compute one after the other.
 */
template <typename Vec>
FFT_INLINE void forwardPairColumns(float *__restrict dst, const float *__restrict src, int S, int B, int j,
                                   const PairTwiddles &t)
{
    typename Vec::type r[8];
    forwardPairFirst<Vec>(src, S, B, j, t, r);
    forwardSecondAtJ<Vec>(dst, S, B, j, t, r);
    forwardSecondAtMirror<Vec>(dst, S, B, j, t, r);
}

/**
 * The values of the pair at S that no butterfly column reaches: j = 0 and q of
 * pass p, j = 0, q and h of pass p + 1.
 */
FFT_INLINE void forwardPairEdges(float *__restrict dst, const float *__restrict src, int S, int B,
                                 const PairTwiddles &t)
{
    const int h = B / 2;
    const int q = B / 4;
    const float *a = src + S;
    const float *b = src + S + B;
    float *d = dst + S;
    const float e0a = a[0] + a[h];
    const float e1a = a[0] - a[h];
    const float e0b = b[0] + b[h];
    const float e1b = b[0] - b[h];
    d[0] = e0a + e0b;
    d[B] = e0a - e0b;
    d[h] = e1a;
    d[B + h] = e1b;
    // Pass p copies positions q and h + q; pass p + 1 turns them with its twiddle at q.
    const float c = t.cosine2[q];
    const float sn = t.sine2[q];
    const float v = b[q] * c - b[h + q] * sn;
    const float w = b[q] * sn + b[h + q] * c;
    d[q] = a[q] + v;
    d[B - q] = a[q] - v;
    d[B + q] = w + a[h + q];
    d[2 * B - q] = w - a[h + q];
}

/**
 * Forward passes p and p + 1 (blocks of B and 2B) in one sweep over L floats,
 * for B/4 > W: the columns j .. j+W-1 from j = 1, the last group moved back to
 * end at q - 1 (it recomputes a few values to the same bits).
 *
 * With Tile > 1, pass p runs for Tile groups of columns into a small scratch
 * before pass p + 1 runs for them, one block or one butterfly at a time: for
 * long blocks the sixteen far-apart streams of one group would share a few
 * cache sets, four at a time fit. Then q/W must be a multiple of Tile.
 */
template <typename Vec, int Tile = 1>
FFT_INLINE void forwardPairPass(float *__restrict dst, const float *__restrict src, int L, int B, const PairTwiddles &t)
{
    constexpr int W = Vec::width;
    const int q = B / 4;
    for (int S = 0; S < L; S += 2 * B) {
        forwardPairEdges(dst, src, S, B, t);
        if constexpr (Tile == 1) {
            for (int j = 1;; j += W) {
                if (j > q - W)
                    j = q - W;
                forwardPairColumns<Vec>(dst, src, S, B, j, t);
                if (j == q - W)
                    break;
            }
        } else {
            // Each step of a tile touches four streams.
            typename Vec::type r[Tile][8];
            for (int j0 = 1; j0 < q; j0 += Tile * W) {
                for (int block = 0; block < 2; ++block) {
                    for (int g = 0; g < Tile; ++g) {
                        const int j = j0 + g * W > q - W ? q - W : j0 + g * W;
                        forwardFirstOfBlock<Vec>(src + S + block * B, B, j, Vec::load(t.cosine1 + j),
                                                 Vec::load(t.sine1 + j), r[g] + 4 * block);
                    }
                }
                for (int g = 0; g < Tile; ++g) {
                    const int j = j0 + g * W > q - W ? q - W : j0 + g * W;
                    forwardSecondAtJ<Vec>(dst, S, B, j, t, r[g]);
                }
                for (int g = 0; g < Tile; ++g) {
                    const int j = j0 + g * W > q - W ? q - W : j0 + g * W;
                    forwardSecondAtMirror<Vec>(dst, S, B, j, t, r[g]);
                }
            }
        }
    }
}

/**
 * Forward pass p + 1 of the pair from forwardPairFirst's r, kept in registers:
 * q[0..3] hold the pair's values at j, B - j, B + j, 2B - j, q[4..7] those at
 * h - j, h + j, B + h - j, B + h + j.
 */
template <typename Vec>
FFT_INLINE void forwardPairMiddle(int j, const PairTwiddles &t, const typename Vec::type *r, typename Vec::type *q)
{
    forwardButterfly(r[0], r[2], r[4], r[6], Vec::load(t.cosine2 + j), Vec::load(t.sine2 + j), q[0], q[1], q[2], q[3]);
    forwardButterfly(r[1], r[3], r[5], r[7], Vec::load(t.mirrorCosine2 + j), Vec::load(t.mirrorSine2 + j), q[4], q[5],
                     q[6], q[7]);
}

/**
 * Twiddles of three forward passes done in one sweep: the first two as for a
 * pair, the third (blocks of 4B, from the cosine table) at j and at B/2 - j.
 * Its twiddles at B - j and B/2 + j are those swapped, as the table gives them.
 */
struct TripleTwiddles {
    PairTwiddles pair;
    const float *cosine3;
    const float *sine3;
    const float *halfCosine3;
    const float *halfSine3;
};

/**
 * Forward passes p, p + 1 and p + 2 on the four blocks of B at S for the
 * butterflies j .. j+W-1 of pass p (1 <= j, j+W-1 < q): pass p's butterfly j
 * of the four blocks feeds pass p + 1's butterflies j and h - j of both pairs,
 * which feed pass p + 2's butterflies j, B - j, h - j and h + j. Every value
 * is still the one the three passes compute one after the other.
 */
template <typename Vec>
FFT_INLINE void forwardTripleColumns(float *__restrict dst, const float *__restrict src, int S, int B, int j,
                                     const TripleTwiddles &t)
{
    using V = typename Vec::type;
    constexpr int W = Vec::width;
    const int h = B / 2;
    V r[8];
    V q01[8];
    V q23[8];
    forwardPairFirst<Vec>(src, S, B, j, t.pair, r);
    forwardPairMiddle<Vec>(j, t.pair, r, q01);
    forwardPairFirst<Vec>(src, S + 2 * B, B, j, t.pair, r);
    forwardPairMiddle<Vec>(j, t.pair, r, q23);
    float *d = dst + S;
    const V c = Vec::load(t.cosine3 + j);
    const V sn = Vec::load(t.sine3 + j);
    V o0, o1, o2, o3;
    // Butterfly j: the quad's values at j and B + j of both pairs.
    forwardButterfly(q01[0], q01[2], q23[0], q23[2], c, sn, o0, o1, o2, o3);
    Vec::store(d + j, o0);
    Vec::store(d + 2 * B - j - (W - 1), Vec::reversed(o1));
    Vec::store(d + 2 * B + j, o2);
    Vec::store(d + 4 * B - j - (W - 1), Vec::reversed(o3));
    // Butterfly B - j: values at B - j and 2B - j.
    forwardButterfly(q01[1], q01[3], q23[1], q23[3], sn, c, o0, o1, o2, o3);
    Vec::store(d + B - j - (W - 1), Vec::reversed(o0));
    Vec::store(d + B + j, o1);
    Vec::store(d + 3 * B - j - (W - 1), Vec::reversed(o2));
    Vec::store(d + 3 * B + j, o3);
    const V ch = Vec::load(t.halfCosine3 + j);
    const V sh = Vec::load(t.halfSine3 + j);
    // Butterfly h - j: values at h - j and B + h - j.
    forwardButterfly(q01[4], q01[6], q23[4], q23[6], ch, sh, o0, o1, o2, o3);
    Vec::store(d + h - j - (W - 1), Vec::reversed(o0));
    Vec::store(d + B + h + j, o1);
    Vec::store(d + 2 * B + h - j - (W - 1), Vec::reversed(o2));
    Vec::store(d + 3 * B + h + j, o3);
    // Butterfly h + j: values at h + j and B + h + j.
    forwardButterfly(q01[5], q01[7], q23[5], q23[7], sh, ch, o0, o1, o2, o3);
    Vec::store(d + h + j, o0);
    Vec::store(d + B + h - j - (W - 1), Vec::reversed(o1));
    Vec::store(d + 2 * B + h + j, o2);
    Vec::store(d + 3 * B + h - j - (W - 1), Vec::reversed(o3));
}

/**
 * The values of the four blocks at S that no column reaches: from positions
 * 0, q, h and h + q of every block of pass p, through pass p + 1's j = 0, q and
 * h, to pass p + 2's j = 0, q, h, B - q and B.
 */
FFT_INLINE void forwardTripleEdges(float *__restrict dst, const float *__restrict src, int S, int B,
                                   const TripleTwiddles &t)
{
    const int h = B / 2;
    const int q = B / 4;
    // Pass p + 1 of each pair: its values at 0, q, h, B - q, B, B + q, B + h, 2B - q.
    float pair[2][8];
    for (int k = 0; k < 2; ++k) {
        const float *a = src + S + 2 * B * k;
        const float *b = a + B;
        const float e0a = a[0] + a[h];
        const float e1a = a[0] - a[h];
        const float e0b = b[0] + b[h];
        const float e1b = b[0] - b[h];
        float *Q = pair[k];
        Q[0] = e0a + e0b;
        Q[4] = e0a - e0b;
        Q[2] = e1a;
        Q[6] = e1b;
        forwardButterfly(a[q], a[h + q], b[q], b[h + q], t.pair.cosine2[q], t.pair.sine2[q], Q[1], Q[3], Q[5], Q[7]);
    }
    const float *Q01 = pair[0];
    const float *Q23 = pair[1];
    float *d = dst + S;
    d[0] = Q01[0] + Q23[0];
    d[2 * B] = Q01[0] - Q23[0];
    d[B] = Q01[4];
    d[3 * B] = Q23[4];
    // Pass p + 2 at q (reads q, B + q), h (reads h, B + h) and B - q (reads B - q, 2B - q).
    forwardButterfly(Q01[1], Q01[5], Q23[1], Q23[5], t.cosine3[q], t.sine3[q], d[q], d[2 * B - q], d[2 * B + q],
                     d[4 * B - q]);
    forwardButterfly(Q01[2], Q01[6], Q23[2], Q23[6], t.cosine3[h], t.sine3[h], d[h], d[2 * B - h], d[2 * B + h],
                     d[4 * B - h]);
    forwardButterfly(Q01[3], Q01[7], Q23[3], Q23[7], t.sine3[q], t.cosine3[q], d[B - q], d[B + q], d[3 * B - q],
                     d[3 * B + q]);
}

/**
 * Forward passes p, p + 1 and p + 2 (blocks of B, 2B and 4B) in one sweep over
 * L floats, for B/4 > W and a tabulated pass p + 2; the columns as in
 * forwardPairPass.
 */
template <typename Vec>
FFT_INLINE void forwardTriplePass(float *__restrict dst, const float *__restrict src, int L, int B,
                                  const TripleTwiddles &t)
{
    constexpr int W = Vec::width;
    const int q = B / 4;
    for (int S = 0; S < L; S += 4 * B) {
        forwardTripleEdges(dst, src, S, B, t);
        for (int j = 1;; j += W) {
            if (j > q - W)
                j = q - W;
            forwardTripleColumns<Vec>(dst, src, S, B, j, t);
            if (j == q - W)
                break;
        }
    }
}

template <typename Vec, typename Twiddles>
FFT_INLINE void forwardPass(float *__restrict dst, const float *__restrict src, int L, int B, Twiddles tw)
{
    runPass<Vec, ForwardButterflies>(dst, src, L, B, tw);
}

template <typename Vec, typename Twiddles>
FFT_INLINE void inversePass(float *__restrict dst, const float *__restrict src, int L, int B, Twiddles tw)
{
    runPass<Vec, InverseButterflies>(dst, src, L, B, tw);
}

#undef FFT_INLINE

} // namespace fftpasses

#pragma GCC diagnostic pop
