#include "fft/fouriervariablecalculator.h"

FourierVariableCalculator::FourierVariableCalculator() = default;

FourierVariableCalculator::~FourierVariableCalculator() = default;

void FourierVariableCalculator::setSize(int size)
{
    FourierCalculator::setSize(size);
    // Building the tables is the expensive part: keep them while the length holds.
    if (m_fft && m_fft->length() == size)
        return;
    m_fft.reset();
    m_fft.reset(new RealFftEngine<float>(size));
}

// Before the first setSize (no engine) or setData (no buffers) there is nothing to do.
void FourierVariableCalculator::forward()
{
    if (!m_fft || !m_input || !m_output)
        return;
    const float *in = m_input;
    float *out = m_output;
    switch (m_fft->bitCount()) {
    case 0:
        out[0] = in[0];
        break;
    case 1:
        out[0] = in[0] + in[1];
        out[1] = in[0] - in[1];
        break;
    case 2:
        out[1] = in[0] - in[2];
        out[3] = in[1] - in[3];
        out[0] = (in[0] + in[2]) + (in[1] + in[3]);
        out[2] = (in[0] + in[2]) - (in[1] + in[3]);
        break;
    default:
        m_fft->forwardTransform(out, in);
        break;
    }
}

void FourierVariableCalculator::inverse()
{
    if (!m_fft || !m_input || !m_output)
        return;
    const float *a = m_input;
    float *out = m_output;
    switch (m_fft->bitCount()) {
    case 0:
        out[0] = a[0];
        break;
    case 1:
        out[0] = a[0] + a[1];
        out[1] = a[0] - a[1];
        break;
    case 2:
        out[0] = (a[0] + a[2]) + 2.0f * a[1];
        out[2] = (a[0] + a[2]) - 2.0f * a[1];
        out[1] = (a[0] - a[2]) + 2.0f * a[3];
        out[3] = (a[0] - a[2]) - 2.0f * a[3];
        break;
    default:
        m_fft->inverseTransform(a, out);
        break;
    }
}

void FourierVariableCalculator::rescale()
{
    if (!m_fft || !m_input)
        return;
    const int length = m_fft->length();
    const float factor = static_cast<float>(1.0 / length);
    float *x = m_input;
    for (int i = 0; i < length; ++i)
        x[i] = x[i] * factor;
}
