#pragma once

#include "fft/fouriertransformer.h"

#include <QString>
#include <memory>
#include <vector>

/**
 * One thread's transformer and buffers in a parallel pass: a calculator runs
 * one transform at a time, so every thread gets its own. Set up on the
 * thread's first chunk, so that a thread that gets no chunk costs nothing.
 */
struct TransformScratch {
    /** Once: a transformer for size points, size input floats and outputSize output floats, all 0. */
    void prepare(int size, size_t outputSize)
    {
        if (transformer)
            return;
        // Rectangular: the callers weight the samples themselves.
        transformer.reset(new FourierTransformer(0, QStringLiteral("Rectangular")));
        transformer->setSizeLogged(size);
        input.assign(size_t(size > 0 ? size : 0), 0.0f);
        output.assign(outputSize, 0.0f);
    }

    std::unique_ptr<FourierTransformer> transformer;
    std::vector<float> input;
    std::vector<float> output;
};
