#include "analysis/automaticclassification.h"

#include "analysis/blob.h"
#include "analysis/calldetector.h"
#include "analysis/mybatcall.h"
#include "fft/fouriertransformer.h"

#include <QDebug>
#include <QElapsedTimer>
#include <cmath>
#include <unordered_map>

namespace {

// Built once per matrix: the classification paths always use a fixed Hamming window.
std::vector<double> hammingWeights()
{
    const int n = AutomaticClassification::fftSize;
    std::vector<double> w(n);
    for (int i = 0; i < n; ++i)
        w[i] = 0.54 - 0.46 * std::cos(2.0 * M_PI * i / (n - 1));
    return w;
}

void reportSizeResult(int sizeResult)
{
    // 0 variable size, 2 invalid size: the transform still runs on whatever it has.
    if (sizeResult == 0)
        qDebug() << "This size is not a default fixed size of the FFT engine. Using a variable size instead.\n";
    else if (sizeResult == 2)
        qDebug() << "Invalid FFT size.\n";
}

} // namespace

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

double AutomaticClassification::fullScale(int bitsPerSample)
{
    return std::pow(2.0, double(bitsPerSample)) * 0.5 - 1.0;
}

void AutomaticClassification::buildDetectionMatrix(const int *samples, int bitsPerSample, int hop, qint64 frames,
                                                   FloatMatrix &matrix)
{
    matrix.resize(frames > 0 ? size_t(frames) : 0, columns);
    if (frames <= 0)
        return;

    FourierTransformer transformer(0, QString());
    reportSizeResult(int(transformer.setSize(fftSize)));
    transformer.setWindowFunction(QStringLiteral("Rectangular"));

    const std::vector<double> weights = hammingWeights();
    const double full = fullScale(bitsPerSample);
    std::vector<float> input(fftSize);
    std::vector<float> output(fftSize, 0.0f);
    const int half = fftSize / 2;

    for (qint64 f = 0; f < frames; ++f) {
        const int *frame = samples + f * hop;
        for (int n = 0; n < fftSize; ++n)
            input[n] = float(double(float(frame[n])) * weights[n]);
        transformer.forwardTransform(input.data(), output.data());
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
}

AutomaticClassification::Result AutomaticClassification::classify(const std::vector<int> &samples,
                                                                  qint64 frameCount, int sampleRate,
                                                                  int bitsPerSample, Timing *timing)
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
