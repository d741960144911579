#pragma once

#include "fft/fouriercalculator.h"
#include "fft/twiddletables.h"

#include <memory>

/** A twiddle generator for the passes whose cosines are not tabulated. */
struct FourierOscillator {
    float cosine = 1.0f;
    float sine = 0.0f;
    float stepCosine = 1.0f;
    float stepSine = 0.0f;
};

/**
 * Real FFT of exactly 2^N points (N = 3 .. 14, 8 to 16384 points) with the pass
 * structure, loop bounds and table strides fixed at compile time. Results are
 * bit-identical to the same radix-2 decimation-in-time formulas evaluated in
 * plain float arithmetic; only the grouping of independent operations differs.
 */
template <int N>
class FourierFixedCalculator : public FourierCalculator
{
    static_assert(N >= 3 && N <= 14, "fixed calculators exist for 8 to 16384 points");

public:
    static constexpr int Length = 1 << N;
    /** Cosine table entries: cos(i pi / (2T)); at most 1024, the top passes rotate. */
    static constexpr int TableLength = N == 3 ? 1 : (N <= 12 ? Length / 4 : 1024);
    static constexpr int OscillatorCount = N == 14 ? 2 : 1;

    /** Everything a transform reads or writes besides the caller's arrays. */
    struct Workspace {
        std::unique_ptr<float[]> buffer;      // Length floats (a few more from 4096 up), partner of the output
        std::unique_ptr<int[]> bitReversal;   // Length / 4 entries
        std::unique_ptr<float[]> cosineTable; // TableLength entries
        FourierOscillator oscillators[OscillatorCount];
        const TwiddleTables *twiddles = nullptr; // the forward passes' twiddles, shared by all calculators
    };

    FourierFixedCalculator();
    ~FourierFixedCalculator() override;

    /** The size is fixed by N: nothing changes. */
    void setSize(int size) override;
    int size() const override { return Length; }
    void forward() override;
    void inverse() override;
    void rescale() override;

    const Workspace &workspace() const { return m_work; }

private:
    static void forwardKernel(Workspace &work, float *out, const float *in);
    static void inverseKernel(Workspace &work, const float *spectrum, float *samples);

    Workspace m_work;
};

extern template class FourierFixedCalculator<3>;
extern template class FourierFixedCalculator<4>;
extern template class FourierFixedCalculator<5>;
extern template class FourierFixedCalculator<6>;
extern template class FourierFixedCalculator<7>;
extern template class FourierFixedCalculator<8>;
extern template class FourierFixedCalculator<9>;
extern template class FourierFixedCalculator<10>;
extern template class FourierFixedCalculator<11>;
extern template class FourierFixedCalculator<12>;
extern template class FourierFixedCalculator<13>;
extern template class FourierFixedCalculator<14>;
