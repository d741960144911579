#pragma once

#include "fft/fouriercalculator.h"
#include "fft/realfftengine.h"

#include <memory>

/**
 * Calculator for any power-of-two size (used for the sizes that have no
 * fixed-size calculator: 1, 2, 4 and 32768 points upwards). The engine is
 * built by the first setSize and rebuilt only when the length changes.
 */
class FourierVariableCalculator : public FourierCalculator
{
public:
    FourierVariableCalculator();
    ~FourierVariableCalculator() override;

    /** size must be a power of two; the engine is kept when the length is unchanged. */
    void setSize(int size) override;
    void forward() override;
    void inverse() override;
    void rescale() override;

    /** The current engine, or none before the first setSize. */
    const RealFftEngine<float> *engine() const { return m_fft.get(); }

private:
    std::unique_ptr<RealFftEngine<float>> m_fft;
};
