#include "analysis/automaticclassification.h"

#include "analysis/analysispool.h"
#include "analysis/blob.h"
#include "analysis/calldetector.h"
#include "analysis/mybatcall.h"
#include "analysis/samplescale.h"
#include "analysis/transformscratch.h"
#include "fft/windowweights.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
#include <unordered_map>

AutomaticClassification::Plan AutomaticClassification::detectionPlan(qint64 frameCount)
{
    Plan p;
    // Long recordings drop to no overlap: one spectrum per 512 samples instead of per 65.
    p.overlap = (frameCount / 300000 > 30) ? 0.0f : 87.5f;
    // Single precision on purpose: 512 / (100 / 87.5f) is 447.99997, so the hop is 65, not 64.
    const float q = 100.0f / p.overlap;
    p.hop = fftSize - int(std::floor(float(fftSize) / q));
    p.frames = frameCount >= fftSize ? (frameCount - fftSize) / p.hop + 1 : 0;
    return p;
}

AutomaticClassification::Plan AutomaticClassification::categorisationPlan(qint64 sampleCount)
{
    Plan p;
    for (float overlap : {87.5f, 75.0f, 50.0f, 0.0f}) {
        p.overlap = overlap;
        // q in single precision, 512 / q in double: 447 overlap samples at 87.5 %, not 448.
        const float q = 100.0f / overlap;
        p.hop = fftSize - int(std::floor(double(fftSize) / double(q)));
        // This path divides by hop + 1 and adds no first frame, so it may see one frame fewer.
        p.frames = std::max<qint64>(0, qint64(std::trunc((double(sampleCount) - fftSize) / double(p.hop + 1))));
        if (p.fits())
            break;
    }
    return p;
}

double AutomaticClassification::fullScale(int bitsPerSample)
{
    return std::pow(2.0, double(bitsPerSample)) * 0.5 - 1.0;
}

void AutomaticClassification::buildDetectionMatrix(const int *samples, int bitsPerSample, int hop, qint64 frames,
                                                   FloatMatrix &matrix)
{
    // Every cell is written below, on the thread that computes its frame.
    matrix.allocate(frames > 0 ? size_t(frames) : 0, columns);
    if (frames <= 0)
        return;

    // Built once per matrix: the classification always uses a fixed Hamming window.
    const std::vector<double> weights = windowWeights(WindowKind::Hamming, fftSize);
    // At 16-bit scale, relative to 16-bit full scale: the same amplitudes as
    // relative to the recording's own full scale, but a 24-bit copy of a 16-bit
    // recording gives exactly the 16-bit matrix.
    const double scale = sixteenBitScale(bitsPerSample);
    const double full = fullScale(16);
    const int half = fftSize / 2;

    // Frames are independent of each other: chunks of them on every core.
    constexpr qint64 framesPerChunk = 256;
    std::vector<TransformScratch> perSlot(size_t(AnalysisPool::slotCount(frames, framesPerChunk)));

    AnalysisPool::forEachChunk(frames, framesPerChunk, [&](int slotIndex, qint64 begin, qint64 end) {
        TransformScratch &slot = perSlot[size_t(slotIndex)];
        slot.prepare(fftSize, fftSize);
        float *input = slot.input.data();
        float *output = slot.output.data();
        for (qint64 f = begin; f < end; ++f) {
            const int *frame = samples + f * hop;
            for (int n = 0; n < fftSize; ++n)
                input[n] = float(double(float(double(frame[n]) * scale)) * weights[n]);
            slot.transformer->forwardTransform(input, output);
            for (int n = 0; n < fftSize; ++n)
                output[n] = output[n] / float(fftSize);

            float *row = matrix.data.data() + size_t(f) * columns;
            row[0] = float(2.0 * std::fabs(double(output[0])) / full);
            for (int j = 1; j < columns; ++j) {
                const double re = output[j];
                const double im = output[half + j];
                row[j] = float(2.0 * std::sqrt(re * re + im * im) / full);
            }
        }
    });
}

AutomaticClassification::Result AutomaticClassification::classify(const std::vector<int> &samples, qint64 frameCount,
                                                                  int sampleRate, int bitsPerSample, Timing *timing)
{
    Result result;
    // A data size that claims more frames than the file holds must not lead past the samples.
    const qint64 available = qMin<qint64>(frameCount, qint64(samples.size()));
    const Plan plan = detectionPlan(available);
    if (!plan.fits()) {
        result.refused = true;
        result.reason = QStringLiteral("The recording is too long for automatic classification.");
        return result;
    }
    // Below 16 kHz the bins under 8 kHz would outnumber the matrix's columns, and
    // below 2 kHz the detector's kHz scale would divide by zero.
    if (sampleRate < minSampleRate || fullScale(bitsPerSample) <= 0.0)
        return result;

    QElapsedTimer clock;
    clock.start();
    FloatMatrix matrix;
    buildDetectionMatrix(samples.data(), bitsPerSample, plan.hop, plan.frames, matrix);
    if (timing)
        timing->transforms += clock.nsecsElapsed() * 1e-9;

    clock.restart();
    CallDetector detector;
    std::unordered_map<int, Blob> blobs;
    detector.detectCalls(matrix, plan.overlap, sampleRate, int(available), blobs, result.labels, result.calls);
    matrix.clear();
    result.proposal = detector.decideFileGroup(result.labels);
    if (timing)
        timing->detection += clock.nsecsElapsed() * 1e-9;
    return result;
}
