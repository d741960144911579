#include "display/amplitudeenvelope.h"

#include "display/viewranges.h"

#include <cmath>

qint64 sampleFullScale(int bitsPerSample)
{
    if (bitsPerSample < 1 || bitsPerSample > 32)
        return 0;
    return qint64(std::ldexp(1.0, bitsPerSample) * 0.5 - 1.0);
}

std::optional<EnvelopeRange> envelopeRange(const EnvelopeView &view)
{
    const qint64 n = view.sampleCount;
    if (n <= 0 || view.sampleRate <= 0 || view.pixelWidth <= 0)
        return std::nullopt;
    EnvelopeRange range;
    range.end = n;
    if (view.followZoom && view.zoomedIn) {
        const double first = view.visibleStart * view.sampleRate;
        const double last = qMin(view.visibleEnd * view.sampleRate, double(n));
        if (!std::isfinite(first) || !std::isfinite(last))
            return std::nullopt;
        range.first = qBound<qint64>(0, qint64(first), n);
        range.end = qBound<qint64>(range.first, qint64(last), n);
    }
    const qint64 count = range.end - range.first;
    if (count <= 0)
        return std::nullopt;

    float perScreen = float(count);
    if (!view.zoomedIn) {
        std::optional<double> span;
        if (view.timeAxisMode == TimeAxisMode::FixedDuration) {
            // The spectrogram shows nothing of a span of 0: neither does the envelope.
            if (!(view.fixedDuration > 0.0))
                return std::nullopt;
            span = view.fixedDuration;
        } else if (view.timeAxisMode == TimeAxisMode::FixedAspectRatio && view.aspectSpan && *view.aspectSpan > 0.0) {
            span = view.aspectSpan;
        }
        if (span) {
            const float duration = float(n) / float(view.sampleRate);
            perScreen = float(count) / (duration / float(*span));
        }
    }
    range.step = qMax<qint64>(1, qint64(perScreen) / view.pixelWidth);
    return range;
}

EnvelopeCurves amplitudeEnvelope(const std::vector<int> &samples, const EnvelopeRange &range, int sampleRate,
                                 int bitsPerSample)
{
    EnvelopeCurves out;
    const qint64 fullScale = sampleFullScale(bitsPerSample);
    const qint64 end = qMin(range.end, qint64(samples.size()));
    const qint64 step = range.step;
    if (fullScale <= 0 || sampleRate <= 0 || step <= 0 || range.first < 0 || range.first >= end)
        return out;

    // The first block closes at the first multiple of step from index 1 on
    // that lies in the range: points sit on the same indices whichever
    // stretch is drawn.
    qint64 close = (qMax<qint64>(range.first, 1) + step - 1) / step * step;
    const int points = close < end ? int((end - 1 - close) / step + 1) : 0;
    for (QVector<QPointF> *curve : {&out.maxima, &out.minima, &out.rms, &out.rmsNegative})
        curve->reserve(points);

    const float f = float(fullScale);
    const int *in = samples.data();
    float overallMax = 0.0f;
    float overallMin = 0.0f;
    qint64 i = range.first;
    for (; close < end; close += step) {
        float high = 0.0f;
        float low = 0.0f;
        double squares = 0.0;
        for (; i <= close; ++i) {
            const float x = float(in[i]) / f;
            high = qMax(high, x);
            low = qMin(low, x);
            squares += double(x) * double(x);
        }
        const double t = double(close) / sampleRate;
        const double r = std::sqrt(squares / double(step));
        out.maxima.append(QPointF(t, high));
        out.minima.append(QPointF(t, low));
        out.rms.append(QPointF(t, r));
        out.rmsNegative.append(QPointF(t, -r));
        overallMax = qMax(overallMax, high);
        overallMin = qMin(overallMin, low);
    }
    out.peak = qMax(overallMax, -overallMin);
    return out;
}

float amplitudeAxisLimitFor(float peak)
{
    if (!(peak > 0.0f) || !std::isfinite(peak))
        return 1.0f;
    return 1.1f * peak;
}
