#pragma once

/**
 * Base of every real-FFT calculator. A calculator transforms between N real
 * samples and their half-complex spectrum in the caller's buffers:
 *
 *   out[0]         Re X_0 (DC)
 *   out[k]         Re X_k        for 1 <= k <= N/2 - 1
 *   out[N/2]       Re X_(N/2)    (Nyquist)
 *   out[N/2 + k]   -Im X_k       for 1 <= k <= N/2 - 1
 *
 * with X_k = sum_n x[n] e^(-2 pi i k n / N), unnormalised. Exactly N floats are
 * written; a caller that reads bin N/2 as the pair (out[N/2], out[N]) keeps an
 * extra zero float at out[N], which no calculator ever touches.
 *
 * A calculator keeps a work buffer, so one object runs one transform at a time.
 */
class FourierCalculator
{
public:
    FourierCalculator() = default;
    virtual ~FourierCalculator();

    FourierCalculator(const FourierCalculator &) = delete;
    FourierCalculator &operator=(const FourierCalculator &) = delete;

    /** Buffers used by the following transforms; both belong to the caller, hold
     *  at least N floats each and must not overlap. */
    virtual void setData(float *input, float *output);
    /** Stores the point count (the fixed-size calculators ignore it). */
    virtual void setSize(int size);
    /** Point count of this calculator. */
    virtual int size() const;

    /** Samples at input -> spectrum at output. input is left unchanged. */
    virtual void forward() = 0;
    /** Spectrum at input -> N times the samples at output. input is left unchanged. */
    virtual void inverse() = 0;
    /** Multiplies the N floats at input (not output) by 1/N. */
    virtual void rescale() = 0;

protected:
    float *m_input = nullptr;
    float *m_output = nullptr;
    int m_size = 0;
};
