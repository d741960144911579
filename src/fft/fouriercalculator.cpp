#include "fft/fouriercalculator.h"

FourierCalculator::~FourierCalculator() = default;

void FourierCalculator::setData(float *input, float *output)
{
    m_input = input;
    m_output = output;
}

void FourierCalculator::setSize(int size)
{
    m_size = size;
}

int FourierCalculator::size() const
{
    return m_size;
}
