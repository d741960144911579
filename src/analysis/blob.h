#pragma once

#include <QMetaType>
#include <cstddef>
#include <limits>
#include <unordered_map>

/**
 * One connected region of the detection matrix: its index, frame and bin
 * ranges, and the count and value sum of the cells the labeller added. A
 * contour cell is added at every visit of a tracer, so pixelCount counts
 * additions, not distinct cells.
 */
class Blob
{
public:
    Blob() = default;

    void addPixel(size_t index, size_t bin, size_t frame, float value)
    {
        if (index < indexMin)
            indexMin = index;
        if (index > indexMax)
            indexMax = index;
        if (frame < frameMin)
            frameMin = frame;
        if (frame > frameMax)
            frameMax = frame;
        if (bin < binMin)
            binMin = bin;
        if (bin > binMax)
            binMax = bin;
        ++pixelCount;
        valueSum += value;
    }

    size_t indexMin = std::numeric_limits<size_t>::max();
    size_t indexMax = 0;
    size_t frameMin = std::numeric_limits<size_t>::max();
    size_t frameMax = 0;
    size_t binMin = std::numeric_limits<size_t>::max();
    size_t binMax = 0;
    size_t pixelCount = 0;
    float valueSum = 0.0f;
};

// The region map crosses threads in the spectrogram reply, so it needs one name
// the meta-type system can hold.
using BlobMap = std::unordered_map<int, Blob>;
Q_DECLARE_METATYPE(BlobMap)
