#pragma once

#include <memory>

/**
 * Table-driven real FFT of one power-of-two length (at least 8 points for the
 * two transforms; the calculator handles 1, 2 and 4 points in closed form).
 * Radix-4 first stage with bit-reversed gather, a fixed 8-point stage, then one
 * radix-2 stage per further bit. Cosines come from a table built in double
 * precision up to stage 12 and from float oscillators above it, so the tables
 * stay small for very long transforms.
 */
template <typename T>
class RealFftEngine
{
public:
    /** length: a power of two, at least 1. */
    explicit RealFftEngine(int length);
    virtual ~RealFftEngine();

    RealFftEngine(const RealFftEngine &) = delete;
    RealFftEngine &operator=(const RealFftEngine &) = delete;

    int length() const { return m_length; }
    /** Number of significant bits of length - 1 (so length = 2^bitCount). */
    int bitCount() const { return m_bitCount; }

    /** Samples in -> half-complex spectrum out, for bitCount >= 3. in and out must not overlap. */
    void forwardTransform(T *out, const T *in);
    /** Half-complex spectrum in -> length times the samples out, for bitCount >= 3. */
    void inverseTransform(const T *in, T *out);

    struct Oscillator {
        T cosine;
        T sine;
        T stepCosine;
        T stepSine;
    };

private:
    // Stage p covers blocks of 2^(p+1) points; each pass works on count floats
    // from the start of d and s (the whole transform or one chunk of it).
    void forwardPassTable(T *d, const T *s, int p, int count);
    void forwardPassOscillator(T *d, const T *s, int p);
    void inversePassTable(T *d, const T *s, int p, int count);
    void inversePassOscillator(T *d, const T *s, int p);

    int m_length = 0;
    int m_bitCount = 0;
    std::unique_ptr<int[]> m_bitReversal;
    std::unique_ptr<T[]> m_cosineTable;
    std::unique_ptr<T[]> m_buffer;
    std::unique_ptr<Oscillator[]> m_oscillators;
};

extern template class RealFftEngine<float>;
