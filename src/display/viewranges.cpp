#include "display/viewranges.h"

#include <cmath>

LevelRange computedLevelRange(double minValue, double maxValue, bool raw)
{
    const double floorDb = raw ? rawLevelFloor : wavLevelFloor;
    LevelRange r;
    r.lower = std::floor(minValue);
    if (!std::isfinite(r.lower) || r.lower <= floorDb)
        r.lower = floorDb;
    r.upper = std::ceil(maxValue);
    if (!std::isfinite(r.upper) || r.upper < r.lower + 1.0)
        r.upper = r.lower + 1.0;
    return r;
}

LevelRange usableLevelRange(double lower, double upper)
{
    LevelRange r;
    r.lower = std::isfinite(lower) ? lower : wavLevelFloor;
    r.upper = (std::isfinite(upper) && upper >= r.lower + 1.0) ? upper : r.lower + 1.0;
    return r;
}

double nyquistKHz(int sampleRate)
{
    return double(sampleRate) / 2000.0;
}

AxisRange frequencyAxisRange(bool fixedYScale, int lowerLimitKHz, int upperLimitKHz, double nyquist)
{
    AxisRange r;
    if (!fixedYScale) {
        r.upper = nyquist;
        return r;
    }
    r.upper = upperLimitKHz <= nyquist ? double(upperLimitKHz) : nyquist;
    // A lower limit at or above the upper one (cut to a low Nyquist frequency,
    // or so stored) would turn the axis over or close it: one kHz below.
    r.lower = lowerLimitKHz < r.upper ? double(lowerLimitKHz) : r.upper - 1.0;
    return r;
}

std::optional<double> fixedAspectSpan(double canvasWidth, double canvasHeight, double frequencySpan, double aspectRatio)
{
    // A hidden plot has a height of 0, and a stored ratio can be 0: neither
    // gives a span, and dividing would put inf or nan on the axes.
    if (!(canvasHeight > 0.0) || !(aspectRatio > 0.0) || !std::isfinite(aspectRatio))
        return std::nullopt;
    const float span = (float(canvasWidth) / float(canvasHeight)) * (float(frequencySpan) / float(aspectRatio));
    if (!std::isfinite(span))
        return std::nullopt;
    return double(span);
}

std::optional<double> visibleTimeSpan(int fixedXScale, double duration, double fixedDuration, double canvasWidth,
                                      double canvasHeight, double frequencySpan, double aspectRatio)
{
    switch (fixedXScale) {
    case TimeAxisMode::WholeRecording:
        return duration;
    case TimeAxisMode::FixedDuration:
        return fixedDuration;
    case TimeAxisMode::FixedAspectRatio:
        return fixedAspectSpan(canvasWidth, canvasHeight, frequencySpan, aspectRatio);
    default:
        return 0.0;
    }
}

std::optional<ScrollRange> scrollRange(double duration, double span, double secondsPerColumn)
{
    ScrollRange r;
    r.needed = span < duration;
    if (!r.needed)
        return r;
    if (!(secondsPerColumn > 0.0) || !std::isfinite(secondsPerColumn))
        return std::nullopt;
    r.maximum = int((duration - span) / secondsPerColumn);
    r.pageStep = int(span / secondsPerColumn);
    return r;
}

std::optional<FixedAspectView> fixedAspectView(const FixedAspectInput &in)
{
    if (!std::isfinite(in.duration) || !(in.duration > 0.0))
        return std::nullopt;
    const std::optional<double> span =
        fixedAspectSpan(in.canvasWidth, in.canvasHeight, in.frequencySpan, in.aspectRatio);
    if (!span)
        return std::nullopt;
    const std::optional<ScrollRange> scroll = scrollRange(in.duration, *span, in.secondsPerColumn);
    if (!scroll)
        return std::nullopt;
    FixedAspectView v;
    const float left = float(in.left);
    v.axisMin = left;
    v.axisMax = double(left + float(*span));
    v.scroll = *scroll;
    return v;
}
