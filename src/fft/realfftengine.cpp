#include "fft/realfftengine.h"

#include "fft/fftpasses.h"

#include <cmath>
#include <utility>

// 32-byte vectors only appear inside the AVX2 functions (see fftpasses.h).
#pragma GCC diagnostic ignored "-Wpsabi"

namespace {
constexpr double pi = 3.14159265358979323846;

// Significant bits of value: 16 at a time, then 4, then one by one.
int significantBits(unsigned value)
{
    int bits = 0;
    while (value >> 16) {
        value >>= 16;
        bits += 16;
    }
    while (value >> 4) {
        value >>= 4;
        bits += 4;
    }
    while (value) {
        value >>= 1;
        ++bits;
    }
    return bits;
}

// Stage p of the engine has blocks of 2^(p+1) points; above stage 12 its
// cosines come from an oscillator instead of the table.
constexpr int lastTableStage = 12;
} // namespace

template <typename T>
RealFftEngine<T>::RealFftEngine(int length)
    : m_length(length)
    , m_bitCount(significantBits(static_cast<unsigned>(length - 1)))
{
    const int B = m_bitCount;
    const int count = 1 << B;
    m_buffer.reset(new T[static_cast<size_t>(length)]());

    // A counter that carries from the top bit downwards.
    m_bitReversal.reset(new int[static_cast<size_t>(count)]);
    m_bitReversal[0] = 0;
    int index = 0;
    for (int c = 1; c < count; ++c) {
        int bit = count >> 1;
        index ^= bit;
        while ((index & bit) == 0) {
            bit >>= 1;
            index ^= bit;
        }
        m_bitReversal[c] = index;
    }

    if (B >= 4) {
        // Level lambda (2 .. B-2) holds cos(i pi / 2^(lambda+1)), i < 2^lambda, from index 2^lambda - 4.
        m_cosineTable.reset(new T[static_cast<size_t>((1 << (B - 1)) - 4)]);
        for (int level = 2; level <= B - 2; ++level) {
            T *entries = m_cosineTable.get() + (1 << level) - 4;
            const double denominator = double(1 << (level + 1));
            for (int i = 0; i < (1 << level); ++i)
                entries[i] = static_cast<T>(std::cos(double(i) * pi / denominator));
        }
    }

    if (B >= 13) {
        const int records = B - 12;
        m_oscillators.reset(new Oscillator[static_cast<size_t>(records)]);
        for (int j = 0; j < records; ++j) {
            const double angle = (pi / 2.0) / std::ldexp(1.0, 12 + j);
            m_oscillators[j] = Oscillator{T(1), T(0), static_cast<T>(std::cos(angle)), static_cast<T>(std::sin(angle))};
        }
    }
}

template <typename T>
RealFftEngine<T>::~RealFftEngine()
{
    m_oscillators.reset();
    m_buffer.reset();
    m_cosineTable.reset();
    m_bitReversal.reset();
}

namespace {
// One pass, forward or inverse as Butterflies says, with eight lanes where the
// processor has them.
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define QUILLON_FFT_WIDE 1
template <typename Butterflies, typename Twiddles>
__attribute__((target("avx2"))) void passWide(float *d, const float *s, int count, int block, Twiddles tw)
{
    fftpasses::runPass<fftpasses::Vec8, Butterflies>(d, s, count, block, tw);
}
#endif

template <typename Butterflies, typename Twiddles>
void pass(float *d, const float *s, int count, int block, Twiddles tw)
{
#ifdef QUILLON_FFT_WIDE
    if (fftpasses::wideVectors())
        return passWide<Butterflies>(d, s, count, block, tw);
#endif
    fftpasses::runPass<fftpasses::Vec4, Butterflies>(d, s, count, block, tw);
}
} // namespace

template <typename T>
void RealFftEngine<T>::forwardPassTable(T *d, const T *s, int p, int count)
{
    const int n = 1 << p;
    const T *level = m_cosineTable.get() + (n / 2) - 4;
    pass<fftpasses::ForwardButterflies>(d, s, count, 2 * n, fftpasses::TableTwiddles{level, 1, n / 2});
}

template <typename T>
void RealFftEngine<T>::forwardPassOscillator(T *d, const T *s, int p)
{
    pass<fftpasses::ForwardButterflies>(d, s, m_length, 2 << p,
                                        fftpasses::RotatedTwiddles<Oscillator>(&m_oscillators[p - 13]));
}

template <typename T>
void RealFftEngine<T>::inversePassTable(T *d, const T *s, int p, int count)
{
    const int n = 1 << p;
    const T *level = m_cosineTable.get() + (n / 2) - 4;
    pass<fftpasses::InverseButterflies>(d, s, count, 2 * n, fftpasses::TableTwiddles{level, 1, n / 2});
}

template <typename T>
void RealFftEngine<T>::inversePassOscillator(T *d, const T *s, int p)
{
    pass<fftpasses::InverseButterflies>(d, s, m_length, 2 << p,
                                        fftpasses::RotatedTwiddles<Oscillator>(&m_oscillators[p - 13]));
}

template <typename T>
void RealFftEngine<T>::forwardTransform(T *out, const T *in)
{
    using namespace fftpasses;
    const int B = m_bitCount;
    const int L = m_length;
    T *buffer = m_buffer.get();
    // B - 1 stages in all and the last writes out: stage p (radix-4 = 1,
    // 8-point = 2) writes out when B - 1 - p is even.
    auto dstOf = [&](int p) { return (B - 1 - p) % 2 == 0 ? out : buffer; };
    auto srcOf = [&](int p) { return (B - 1 - p) % 2 == 0 ? buffer : out; };
    if (L < 32) {
        forwardFirstTwo(dstOf(1), in, L, m_bitReversal.get(), 4);
        forwardEight(dstOf(2), srcOf(2), L);
        for (int p = 3; p <= B - 1; ++p)
            forwardPassTable(dstOf(p), srcOf(p), p, L);
        return;
    }
    // The radix-4 stage gathers in[bitReversal[i + k]]; since the table
    // reverses all bits, those are bitReversal[i] plus L/2, L/4 and 3L/4.
    // Radix-4 and 8-point stages go together straight to where the second belongs,
    // then every stage whose blocks fit in a chunk runs chunk by chunk.
    const int chunk = L < chunkLength ? L : chunkLength;
    int lastChunkStage = 2;
    while ((2 << (lastChunkStage + 1)) <= chunk && lastChunkStage + 1 <= B - 1 && lastChunkStage + 1 <= lastTableStage)
        ++lastChunkStage;
    if (L >= 128)
        forwardFirstThreeStreams(dstOf(2), in, L, m_bitReversal.get(), 4);
    else
        forwardFirstThree(dstOf(2), in, L, m_bitReversal.get(), 4, 0, L / 4);
    for (int c = 0; c < L; c += chunk) {
        for (int p = 3; p <= lastChunkStage; ++p)
            forwardPassTable(dstOf(p) + c, srcOf(p) + c, p, chunk);
    }
    for (int p = lastChunkStage + 1; p <= B - 1; ++p) {
        if (p <= lastTableStage)
            forwardPassTable(dstOf(p), srcOf(p), p, L);
        else
            forwardPassOscillator(dstOf(p), srcOf(p), p);
    }
}

template <typename T>
void RealFftEngine<T>::inverseTransform(const T *in, T *out)
{
    using namespace fftpasses;
    const int B = m_bitCount;
    const int L = m_length;
    T *buffer = m_buffer.get();
    // Stages B-1 .. 3, the 8-point stage, then the scatter into out: B - 1 in
    // all, the last writing out, so stage p writes out when p is odd. Stage
    // B-1 reads in.
    auto dstOf = [&](int p) { return p % 2 == 1 ? out : buffer; };
    auto srcOf = [&](int p) -> const T * { return p == B - 1 ? in : (p % 2 == 1 ? buffer : out); };
    const int chunk = L < chunkLength ? L : chunkLength;
    int lastChunkStage = 2;
    while ((2 << (lastChunkStage + 1)) <= chunk && lastChunkStage + 1 <= B - 1 && lastChunkStage + 1 <= lastTableStage)
        ++lastChunkStage;
    for (int p = B - 1; p > lastChunkStage; --p) {
        if (p <= lastTableStage)
            inversePassTable(dstOf(p), srcOf(p), p, L);
        else
            inversePassOscillator(dstOf(p), srcOf(p), p);
    }
    for (int c = 0; c < L; c += chunk) {
        for (int p = lastChunkStage; p >= 3; --p)
            inversePassTable(dstOf(p) + c, srcOf(p) + c, p, chunk);
        // The 8-point stage reads in only when there is no other stage (B = 3),
        // and always writes the work array, which the scatter then reads.
        const T *eightSource = B == 3 ? in : out;
        inverseEight(buffer + c, eightSource + c, chunk);
    }
    // The scatter reaches all of out, which the chunks above still use as scratch.
    inverseLast(out, buffer, L, m_bitReversal.get(), 4, 0, L / 4);
}

template class RealFftEngine<float>;
