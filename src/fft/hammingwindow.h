#pragma once

#include "fft/windowfunction.h"

/** 0.54 - 0.46 cos(2 pi n / (size - 1)): 0.08 at both ends, 1 at the centre. */
template <typename T>
class HammingWindow : public WindowFunction<T>
{
public:
    T calculate(int n, int size) const override;
};

extern template class HammingWindow<float>;
