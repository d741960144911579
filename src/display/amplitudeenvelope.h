#pragma once

#include <QPointF>
#include <QVector>
#include <QtGlobal>

#include <optional>
#include <vector>

// The time plot's envelope of the samples: per block of `step` samples the
// largest and smallest amplitude and the RMS, in units of full scale, one
// point per block so that the points roughly match the plot's width. Values
// in, values out; the window reads the view and the settings and draws them.

/**
 * The full scale F of a recording of bitsPerSample bits: 2^bits x 0.5 - 1,
 * truncated (32767 for 16 bits). 0 for a width outside 1 .. 32, where no
 * sample can be put in units of full scale.
 */
qint64 sampleFullScale(int bitsPerSample);

/** What the envelope is drawn for: the recording on show and the view of it. */
struct EnvelopeView {
    qint64 sampleCount = 0;    // N
    int sampleRate = 0;        // R, Hz
    bool zoomedIn = false;     // the spectrogram's zoomer is not at its base
    bool followZoom = false;   // "timePlotZoom": a zoomed spectrogram's stretch is drawn
    double visibleStart = 0.0; // the spectrogram's time axis, s
    double visibleEnd = 0.0;
    int timeAxisMode = 0;             // "fixedXScale" (TimeAxisMode)
    double fixedDuration = 1.0;       // "fixedDuration", s
    std::optional<double> aspectSpan; // the span the fixed aspect ratio gives the canvas, when it can be worked out
    int pixelWidth = 0;               // W: the points are spread over this many pixels
};

/** The samples [first, end) the envelope walks, one point for every step of them. */
struct EnvelopeRange {
    qint64 first = 0;
    qint64 end = 0;
    qint64 step = 1;
};

/**
 * The range and the step: the zoomed stretch when following a zoom, else
 * all samples; step = (samples of one screen) / W, at least 1, where one screen
 * is the whole range, or at the zoom base in the fixed modes the share of it
 * that one fixed span shows (in single precision). A fixed aspect ratio that
 * cannot be worked out counts the whole range, as the spectrogram then shows it.
 *
 * Empty, so that the plot stays empty, when there is nothing sound to divide
 * by: no samples or no sample rate, a fixed duration of 0 or less, an empty
 * zoomed stretch, no pixel width.
 */
std::optional<EnvelopeRange> envelopeRange(const EnvelopeView &view);

struct EnvelopeCurves {
    QVector<QPointF> maxima;      // (s, block maximum); a block's extremes start at 0
    QVector<QPointF> minima;      // (s, block minimum)
    QVector<QPointF> rms;         // (s, block RMS)
    QVector<QPointF> rmsNegative; // (s, -block RMS)
    float peak = 0.0f;            // the largest absolute extreme of the points drawn
};

/**
 * Walks samples[first .. end) with its absolute index i; every i >= 1 that is
 * a multiple of step closes a block, which gives one point at i / sampleRate
 * seconds holding the samples since the previous point, up to and including
 * sample i. Samples after the last multiple give no point. x = sample / F in
 * single precision. Nothing without a full scale or a sample rate.
 */
EnvelopeCurves amplitudeEnvelope(const std::vector<int> &samples, const EnvelopeRange &range, int sampleRate,
                                 int bitsPerSample);

/**
 * Half the height of the amplitude axis: 1.1 x peak, or 1.0 when the range
 * drawn is silent (an axis from -0 to +0 would show nothing, and the
 * playback gain would divide by it).
 */
float amplitudeAxisLimitFor(float peak);
