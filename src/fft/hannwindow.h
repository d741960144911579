#pragma once

#include "fft/windowfunction.h"

/** 0.5 (1 - cos(2 pi n / (size - 1))): 0 at both ends, 1 at the centre. */
template <typename T>
class HannWindow : public WindowFunction<T>
{
public:
    T calculate(int n, int size) const override;
};

extern template class HannWindow<float>;
