#include "fft/fourierfixedcalculator.h"

#include "fft/fftpasses.h"
#include "fft/twiddletables.h"

#include <cmath>
#include <cstdint>
#include <utility>

// 32-byte vectors only appear inside the AVX2 functions (see fftpasses.h).
#pragma GCC diagnostic ignored "-Wpsabi"

namespace {

constexpr double pi = 3.14159265358979323846;

// N-bit reversal of value.
int reverseBits(int value, int bits)
{
    int result = 0;
    for (int b = 0; b < bits; ++b) {
        result = (result << 1) | (value & 1);
        value >>= 1;
    }
    return result;
}

// Transforms from 4096 points up keep this many floats more in the work
// array, so that it can start where its stores do not slow the loads.
constexpr int workSlack = 1024 + 16;

// Where the work array of a long transform starts, inside storage of L +
// workSlack floats: 64-byte aligned, and at least 256 bytes away (modulo 4
// KiB) from the samples and the output. A load whose address matches a
// pending store's in the low 12 bits waits for it; with two arrays a whole
// number of pages apart, the stores of a sweep meet the loads that follow
// them at every step (the first sweep of 8192 points took half as long again).
float *placeWorkArray(float *storage, const float *in, const float *out)
{
    const auto address = [](const void *p) { return static_cast<unsigned>(reinterpret_cast<uintptr_t>(p)); };
    float *base = storage + ((64u - (address(storage) & 63u)) & 63u) / sizeof(float);
    const auto apart = [&](const float *start, const float *other) {
        const unsigned d = (address(start) - address(other)) & 4095u;
        return d >= 256u && d <= 4096u - 256u;
    };
    for (int offset = 0; offset < 1024; offset += 16) {
        if (apart(base + offset, in) && apart(base + offset, out))
            return base + offset;
    }
    return base;
}

// The sweep that writes the output array is always the last one; the arrays
// alternate before it, so whether a sweep writes the output follows from the
// number of sweeps after it.
template <int N>
struct Layout {
    static constexpr int L = 1 << N;
    static constexpr int T = FourierFixedCalculator<N>::TableLength;
    // Passes whose blocks fit in one chunk run chunk by chunk.
    static constexpr int chunk = L < fftpasses::chunkLength ? L : fftpasses::chunkLength;
    static constexpr int chunkPasses = N < 11 ? N : 11; // log2 of chunk

    // Forward: the first sweep does passes 1 to firstPasses. In the chunked
    // range a sweep then does three passes (two where only two or four are
    // left, one where one is). Above it a sweep does one pass, except for 8192
    // points, where passes 12 and 13 go together: that keeps the number of
    // sweeps even, so that from 4096 points up the first sweep writes the work
    // array (see placeWorkArray).
    static constexpr int firstPasses = L < 32 ? 2 : (L < 256 ? 3 : 5);
    static constexpr bool bigPairAt(int p) { return p == chunkPasses + 1 && p + 1 == N; }
    static constexpr int forwardSweepPasses(int p)
    {
        if (p >= 6 && p <= chunkPasses) {
            const int left = chunkPasses - p + 1;
            return left == 1 ? 1 : (left == 2 || left == 4 ? 2 : 3);
        }
        return bigPairAt(p) ? 2 : 1;
    }
    static constexpr int forwardSweepsFrom(int p)
    {
        return p > N ? 0 : 1 + forwardSweepsFrom(p + forwardSweepPasses(p));
    }
    static constexpr bool forwardSweepWritesOutput(int firstPass) { return forwardSweepsFrom(firstPass) % 2 == 1; }
    static constexpr bool firstSweepWritesOutput() { return forwardSweepsFrom(firstPasses + 1) % 2 == 0; }

    // Inverse: pass p is sweep N - p + 1, the closing passes 2+1 are sweep N - 1.
    static constexpr bool inverseWritesOutput(int p) { return p % 2 == 0; }
};
static_assert(fftpasses::chunkLength == 2048, "chunkPasses assumes 2048-point chunks");

#define FFT_INLINE inline __attribute__((always_inline))

// The twiddles of forward pass P: tabulated, or rotated above the table.
template <int N, int P>
FFT_INLINE const TwiddleTables::Pass &forwardTwiddles(const typename FourierFixedCalculator<N>::Workspace &work)
{
    if constexpr ((1 << P) <= 4 * Layout<N>::T)
        return work.twiddles->tabulated(P);
    else
        return work.twiddles->rotated(P);
}

// A rotated pass leaves its oscillator at its last twiddle.
template <int N, int P>
FFT_INLINE void finishOscillator(typename FourierFixedCalculator<N>::Workspace &work)
{
    if constexpr ((1 << P) > 4 * Layout<N>::T) {
        const TwiddleTables::Pass &t = work.twiddles->rotated(P);
        work.oscillators[P - 13].cosine = t.cosine[t.quarter - 1];
        work.oscillators[P - 13].sine = t.sine[t.quarter - 1];
    }
}

template <int N, int P, typename Vec>
FFT_INLINE void forwardPassAt(typename FourierFixedCalculator<N>::Workspace &work, float *dst, const float *src,
                              int count)
{
    using namespace fftpasses;
    if constexpr (P == 3) {
        forwardEight(dst, src, count);
    } else {
        const TwiddleTables::Pass &t = forwardTwiddles<N, P>(work);
        forwardPass<Vec>(dst, src, count, 1 << P, ArrayTwiddles{t.cosine, t.sine});
        finishOscillator<N, P>(work);
    }
}

template <int N, int P, typename Vec>
FFT_INLINE void forwardPairAt(typename FourierFixedCalculator<N>::Workspace &work, float *dst, const float *src,
                              int count)
{
    using namespace fftpasses;
    const TwiddleTables::Pass &first = forwardTwiddles<N, P>(work);
    const TwiddleTables::Pass &second = forwardTwiddles<N, P + 1>(work);
    // Above the chunks the sixteen streams of a column group are far apart: tile them.
    forwardPairPass<Vec, (P > Layout<N>::chunkPasses ? 32 : 1)>(
        dst, src, count, 1 << P,
        PairTwiddles{first.cosine, first.sine, second.cosine, second.sine, second.mirrorCosine, second.mirrorSine});
    finishOscillator<N, P>(work);
    finishOscillator<N, P + 1>(work);
}

template <int N, int P, typename Vec>
FFT_INLINE void forwardTripleAt(typename FourierFixedCalculator<N>::Workspace &work, float *dst, const float *src,
                                int count)
{
    using namespace fftpasses;
    static_assert((4 << P) <= 4 * Layout<N>::T, "the third pass of a triple reads the cosine table");
    const TwiddleTables::Pass &first = work.twiddles->tabulated(P);
    const TwiddleTables::Pass &second = work.twiddles->tabulated(P + 1);
    const TwiddleTables::Pass &third = work.twiddles->tabulated(P + 2);
    forwardTriplePass<Vec>(dst, src, count, 1 << P,
                           TripleTwiddles{PairTwiddles{first.cosine, first.sine, second.cosine, second.sine,
                                                       second.mirrorCosine, second.mirrorSine},
                                          third.cosine, third.sine, third.halfCosine, third.halfSine});
}

// The sweeps from pass P to pass Last, on count floats from offset; buf is the work array.
template <int N, int P, int Last, typename Vec>
FFT_INLINE void forwardSweeps(typename FourierFixedCalculator<N>::Workspace &work, float *out, float *buf, int offset,
                              int count)
{
    if constexpr (P <= Last) {
        using Lay = Layout<N>;
        float *dst = (Lay::forwardSweepWritesOutput(P) ? out : buf) + offset;
        const float *src = (Lay::forwardSweepWritesOutput(P) ? buf : out) + offset;
        if constexpr (Lay::forwardSweepPasses(P) == 3) {
            forwardTripleAt<N, P, Vec>(work, dst, src, count);
            forwardSweeps<N, P + 3, Last, Vec>(work, out, buf, offset, count);
        } else if constexpr (Lay::forwardSweepPasses(P) == 2) {
            forwardPairAt<N, P, Vec>(work, dst, src, count);
            forwardSweeps<N, P + 2, Last, Vec>(work, out, buf, offset, count);
        } else {
            forwardPassAt<N, P, Vec>(work, dst, src, count);
            forwardSweeps<N, P + 1, Last, Vec>(work, out, buf, offset, count);
        }
    }
}

template <int N, int P, typename Vec>
FFT_INLINE void inversePassAt(typename FourierFixedCalculator<N>::Workspace &work, const float *spectrum, float *out,
                              int offset, int count)
{
    using namespace fftpasses;
    constexpr int B = 1 << P;
    float *buf = work.buffer.get();
    float *dst = (Layout<N>::inverseWritesOutput(P) ? out : buf) + offset;
    const float *src = (P == N ? spectrum : (Layout<N>::inverseWritesOutput(P) ? buf : out)) + offset;
    if constexpr (P == 3) {
        inverseEight(dst, src, count);
    } else if constexpr (B <= 4 * Layout<N>::T) {
        inversePass<Vec>(dst, src, count, B, TableTwiddles{work.cosineTable.get(), 4 * Layout<N>::T / B, B / 4});
    } else {
        inversePass<Vec>(dst, src, count, B, RotatedTwiddles<FourierOscillator>(&work.oscillators[P - 13]));
    }
}

// Passes P down to Last.
template <int N, int P, int Last, typename Vec>
FFT_INLINE void inversePassRange(typename FourierFixedCalculator<N>::Workspace &work, const float *spectrum, float *out,
                                 int offset, int count)
{
    if constexpr (P >= Last) {
        inversePassAt<N, P, Vec>(work, spectrum, out, offset, count);
        inversePassRange<N, P - 1, Last, Vec>(work, spectrum, out, offset, count);
    }
}

// The first sweep: passes 1 to firstPasses, gathering the samples in bit-reversed order.
template <int N, typename Vec>
FFT_INLINE void forwardFirstSweep(typename FourierFixedCalculator<N>::Workspace &work, float *first, const float *in)
{
    using namespace fftpasses;
    using Lay = Layout<N>;
    constexpr int L = Lay::L;
    const int *rev = work.bitReversal.get();
    if constexpr (Lay::firstPasses == 2) {
        forwardFirstTwo(first, in, L, rev, 1);
    } else if constexpr (Lay::firstPasses == 5) {
        const TwiddleTables::Pass &t16 = work.twiddles->tabulated(4);
        const TwiddleTables::Pass &t32 = work.twiddles->tabulated(5);
        // Above 4096 points the 32 streams lie so far apart that they share a
        // few cache sets: reading several lines of each at once keeps more of
        // them on their way.
        constexpr int floatsPerStream = N <= 12 ? Vec::width : (N == 13 ? 32 : 64);
        forwardFirstFive<Vec, floatsPerStream / Vec::width>(first, in, L, rev, 1, t16.cosine, t16.sine, t32.cosine,
                                                            t32.sine);
    } else if constexpr (L >= 128) {
        forwardFirstThreeStreams(first, in, L, rev, 1);
    } else {
        forwardFirstThree(first, in, L, rev, 1, 0, L / 4);
    }
}

template <int N, typename Vec>
FFT_INLINE void forwardRun(typename FourierFixedCalculator<N>::Workspace &work, float *out, float *buf, const float *in)
{
    using Lay = Layout<N>;
    constexpr int L = Lay::L;
    static_assert(N < 12 || !Lay::firstSweepWritesOutput(), "long transforms read the samples into the work array");
    forwardFirstSweep<N, Vec>(work, Lay::firstSweepWritesOutput() ? out : buf, in);
    // Sweeps whose blocks fit in a chunk go chunk by chunk; a single pass of
    // twice that block length follows for every two chunks while they are
    // still in the cache; the rest go over the whole array.
    constexpr int pairedChunks = L > Lay::chunk ? 2 * Lay::chunk : L;
    constexpr bool nextSingle = L > Lay::chunk && Lay::forwardSweepPasses(Lay::chunkPasses + 1) == 1;
    constexpr int lastPaired = nextSingle ? Lay::chunkPasses + 1 : Lay::chunkPasses;
    for (int s = 0; s < L; s += pairedChunks) {
        for (int c = s; c < s + pairedChunks; c += Lay::chunk)
            forwardSweeps<N, Lay::firstPasses + 1, Lay::chunkPasses, Vec>(work, out, buf, c, Lay::chunk);
        forwardSweeps<N, Lay::chunkPasses + 1, lastPaired, Vec>(work, out, buf, s, pairedChunks);
    }
    forwardSweeps<N, lastPaired + 1, N, Vec>(work, out, buf, 0, L);
}

template <int N, typename Vec>
FFT_INLINE void inverseRun(typename FourierFixedCalculator<N>::Workspace &work, const float *spectrum, float *samples)
{
    using Lay = Layout<N>;
    constexpr int L = Lay::L;
    inversePassRange<N, N, Lay::chunkPasses + 1, Vec>(work, spectrum, samples, 0, L);
    for (int c = 0; c < L; c += Lay::chunk)
        inversePassRange<N, Lay::chunkPasses, 3, Vec>(work, spectrum, samples, c, Lay::chunk);
    // Pass 3 always writes the work array. The scatter reaches all of the
    // output, which the chunks above still use as scratch, so it comes last.
    fftpasses::inverseLast(samples, work.buffer.get(), L, work.bitReversal.get(), 1, 0, L / 4);
}

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define QUILLON_FFT_WIDE 1
// The same passes with eight lanes, compiled for AVX2 and chosen at run time.
template <int N>
__attribute__((target("avx2"))) void forwardWide(typename FourierFixedCalculator<N>::Workspace &work, float *out,
                                                 float *buf, const float *in)
{
    forwardRun<N, fftpasses::Vec8>(work, out, buf, in);
}

template <int N>
__attribute__((target("avx2"))) void inverseWide(typename FourierFixedCalculator<N>::Workspace &work,
                                                 const float *spectrum, float *samples)
{
    inverseRun<N, fftpasses::Vec8>(work, spectrum, samples);
}
#endif

#undef FFT_INLINE

} // namespace

template <int N>
FourierFixedCalculator<N>::FourierFixedCalculator()
{
    m_work.twiddles = &TwiddleTables::instance();
    m_work.buffer.reset(new float[Length + (N >= 12 ? workSlack : 0)]());
    m_work.bitReversal.reset(new int[Length / 4]);
    for (int i = 0; i < Length / 4; ++i)
        m_work.bitReversal[i] = reverseBits(4 * i, N);
    m_work.cosineTable.reset(new float[TableLength]);
    for (int i = 0; i < TableLength; ++i)
        m_work.cosineTable[i] = static_cast<float>(std::cos(double(i) * pi / double(2 * TableLength)));
    // Passes 13 and 14 rotate instead of enlarging the table past 1024 entries:
    // the step of record k (k = 1, 2) is (pi/2) / (1024 * 2^k).
    for (int k = 0; k < OscillatorCount; ++k) {
        FourierOscillator &o = m_work.oscillators[k];
        o = FourierOscillator();
        if (N >= 13)
            TwiddleTables::rotationStep(13 + k, o.stepCosine, o.stepSine);
    }
}

template <int N>
FourierFixedCalculator<N>::~FourierFixedCalculator()
{
    m_work.cosineTable.reset();
    m_work.bitReversal.reset();
    m_work.buffer.reset();
}

template <int N>
void FourierFixedCalculator<N>::setSize(int)
{
}

// Without buffers (setData never called) there is nothing to transform.
template <int N>
void FourierFixedCalculator<N>::forward()
{
    if (m_input && m_output)
        forwardKernel(m_work, m_output, m_input);
}

template <int N>
void FourierFixedCalculator<N>::inverse()
{
    if (m_input && m_output)
        inverseKernel(m_work, m_input, m_output);
}

template <int N>
void FourierFixedCalculator<N>::rescale()
{
    // 2^-N is exact in float.
    constexpr float factor = 1.0f / float(Length);
    float *x = m_input;
    if (!x)
        return;
    for (int i = 0; i < Length; ++i)
        x[i] = x[i] * factor;
}

template <int N>
void FourierFixedCalculator<N>::forwardKernel(Workspace &work, float *out, const float *in)
{
    float *buf = N >= 12 ? placeWorkArray(work.buffer.get(), in, out) : work.buffer.get();
#ifdef QUILLON_FFT_WIDE
    if (fftpasses::wideVectors()) {
        forwardWide<N>(work, out, buf, in);
        return;
    }
#endif
    forwardRun<N, fftpasses::Vec4>(work, out, buf, in);
}

template <int N>
void FourierFixedCalculator<N>::inverseKernel(Workspace &work, const float *spectrum, float *samples)
{
#ifdef QUILLON_FFT_WIDE
    if (fftpasses::wideVectors()) {
        inverseWide<N>(work, spectrum, samples);
        return;
    }
#endif
    inverseRun<N, fftpasses::Vec4>(work, spectrum, samples);
}

template class FourierFixedCalculator<3>;
template class FourierFixedCalculator<4>;
template class FourierFixedCalculator<5>;
template class FourierFixedCalculator<6>;
template class FourierFixedCalculator<7>;
template class FourierFixedCalculator<8>;
template class FourierFixedCalculator<9>;
template class FourierFixedCalculator<10>;
template class FourierFixedCalculator<11>;
template class FourierFixedCalculator<12>;
template class FourierFixedCalculator<13>;
template class FourierFixedCalculator<14>;
