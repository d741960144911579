#include "analysis/calcspectrogramthread.h"

#include "analysis/analysislogging.h"
#include "analysis/automaticclassification.h"
#include "analysis/calldetector.h"
#include "analysis/floatmatrix.h"
#include "analysis/samplescale.h"
#include "fft/fouriertransformer.h"
#include "recording/audiosamplereader.h"
#include "recording/recordingkind.h"
#include "recording/wavfile.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// The largest matrix a QVector<double> can hold (its allocation is limited to
// INT_MAX bytes); a larger request would throw instead of answering.
constexpr qint64 maxReplyCells = (std::numeric_limits<int>::max() - 64) / qint64(sizeof(double));

// Weight table of the filled part of a frame; empty means no weighting.
std::vector<double> windowWeights(calcSpectrogramThread &worker, const QString &window, int f)
{
    std::vector<double> w;
    const double m = f - 1;
    auto fill = [&](auto weight) {
        w.resize(size_t(f));
        for (int n = 0; n < f; ++n)
            w[size_t(n)] = weight(n);
    };
    if (window == QLatin1String("Hann")) {
        fill([&](int n) { return (1.0 - std::cos(2.0 * M_PI * n / m)) * 0.5; });
    } else if (window == QLatin1String("Hamming")) {
        fill([&](int n) { return 0.54 - 0.46 * std::cos(2.0 * M_PI * n / m); });
    } else if (window == QLatin1String("Blackman")) {
        fill([&](int n) {
            return 0.42 - 0.5 * std::cos(2.0 * M_PI * n / m) + 0.08 * std::cos(4.0 * M_PI * n / m);
        });
    } else if (window == QLatin1String("Bartlett")) {
        // h in integer division: for an even length the last weight is -1/h, kept as it is.
        const int h = (f - 1) / 2;
        const double inv = 1.0 / h;
        fill([&](int n) { return (h - std::abs(n - h)) * inv; });
    } else if (window == QLatin1String("Flattop")) {
        fill([&](int n) { return worker.flattopCoefficient(n, f); });
    } else if (window == QLatin1String("Blackman-Harris")) {
        fill([&](int n) { return worker.blackmanHarrisCoefficient(n, f); });
    }
    return w;
}

} // namespace

calcSpectrogramThread::calcSpectrogramThread()
    : QObject(nullptr)
{
}

double calcSpectrogramThread::blackmanHarrisCoefficient(int n, int size)
{
    const double a = 2.0 * M_PI / (size - 1);
    return 0.35875 - 0.48829 * std::cos(a * n) + 0.14128 * std::cos(2.0 * a * n)
           - 0.01168 * std::cos(3.0 * a * n);
}

double calcSpectrogramThread::flattopCoefficient(int n, int size)
{
    const double a = 2.0 * M_PI / (size - 1);
    return 1.0 - 1.93 * std::cos(a * n) + 1.29 * std::cos(2.0 * a * n) - 0.388 * std::cos(3.0 * a * n)
           + 0.028 * std::cos(4.0 * a * n);
}

void calcSpectrogramThread::process(int sampleSize, int bitsPerSample, int windowSize, float frameSize,
                                    QString window, double overlap, std::vector<int> *timedata, int sampleRate,
                                    bool categorize)
{
    Q_UNUSED(categorize)

    const int framed = windowSize > 0 && frameSize > 0.0f
                           ? int(float(windowSize) / (100.0f / frameSize))
                           : 0;
    const int overlapSamples = windowSize > 0 && overlap > 0.0 ? int(windowSize / (100.0 / overlap)) : 0;
    const int hop = windowSize - overlapSamples;
    const int offset = (windowSize - framed) / 2;
    const int bins = windowSize / 2;

    // A request that cannot give a single whole block inside the vector gets
    // an empty matrix: nothing is read past the samples, nothing is divided by 0.
    const bool usable = timedata != nullptr && windowSize >= 2 && framed >= 2 && framed <= windowSize
                        && hop >= 1 && sampleRate > 0 && sampleSize >= windowSize
                        && size_t(sampleSize) <= timedata->size();
    int numberOfFfts = usable ? (sampleSize - windowSize) / hop + 1 : 0;

    qCDebug(lcAnalysis) << "Number of ffts " << numberOfFfts;
    qCDebug(lcAnalysis) << "Window Size" << windowSize;
    qCDebug(lcAnalysis) << "Frame Size" << frameSize;
    qCDebug(lcAnalysis) << "Framed Window" << offset;
    qCDebug(lcAnalysis) << "Overlap Samples" << overlapSamples;
    qCDebug(lcAnalysis) << "Window" << window;
    qCDebug(lcAnalysis) << "SampleRate" << sampleRate;

    if (numberOfFfts > 0 && qint64(numberOfFfts) * bins > maxReplyCells) {
        emit error(QStringLiteral("The spectrogram of this recording would be too large. "
                                  "Choose a smaller overlap."));
        numberOfFfts = 0;
    }

    QVector<double> data;
    float minLevel = -40.0f;
    float maxLevel = 0.0f;

    if (numberOfFfts > 0) {
        std::vector<float> output(size_t(windowSize) + 1, 0.0f);
        std::vector<float> input(size_t(windowSize), 0.0f);
        FloatMatrix levels{size_t(numberOfFfts), size_t(bins)};

        {
            // Rectangular: the chosen window weights the filled part of each frame below.
            FourierTransformer transformer(0, QStringLiteral("Rectangular"));
            transformer.setSizeLogged(windowSize);

            // The power is normalised by the Hann window over the filled part,
            // whatever window is applied, so levels compare across windows only roughly.
            float hannSum = 0.0f;
            for (int n = 0; n < framed; ++n) {
                const double w = (1.0 - std::cos(2.0 * M_PI * n / (framed - 1))) * 0.5;
                hannSum = float(double(hannSum) + w * w);
            }
            const double norm = float(double(1.0f / hannSum) * (2.0 / sampleRate));

            const std::vector<double> weights = windowWeights(*this, window, framed);
            const double scale = sixteenBitScale(bitsPerSample);
            const int progressStep = numberOfFfts / 100;
            const int *samples = timedata->data();

            for (int i = 0; i < numberOfFfts; ++i) {
                if (progressStep > 0 && i % progressStep == 0)
                    emit signalProgressBar(int(qint64(i) * 100 / numberOfFfts));

                const int *block = samples + qint64(i) * hop + offset;
                if (weights.empty()) {
                    for (int n = 0; n < framed; ++n)
                        input[size_t(n)] = float(double(block[n]) * scale);
                } else {
                    for (int n = 0; n < framed; ++n)
                        input[size_t(n)] = float(double(float(double(block[n]) * scale)) * weights[size_t(n)]);
                }
                // The transform may work in place on its input: pad anew for every block.
                std::fill(input.begin() + framed, input.end(), 0.0f);

                transformer.forwardTransform(input.data(), output.data());

                float *row = levels.data.data() + size_t(i) * size_t(bins);
                for (int j = 0; j < bins; ++j) {
                    const double re = output[size_t(j) + 1];
                    const double im = output[size_t(bins + j) + 1];
                    row[j] = float(std::log((re * re + im * im) * norm + 1.0));
                }
            }
        }

        levels.toDecibel();
        minLevel = std::max(-40.0f, levels.minValue());
        maxLevel = std::min(0.0f, levels.maxValue());

        // Transposed straight into the reply, in tiles that stay in cache, so
        // no second float copy of the matrix is ever held.
        data.resize(numberOfFfts * bins);
        double *out = data.data();
        const float *in = levels.data.data();
        constexpr int tile = 64;
        for (int i0 = 0; i0 < numberOfFfts; i0 += tile) {
            const int i1 = std::min(numberOfFfts, i0 + tile);
            for (int j0 = 0; j0 < bins; j0 += tile) {
                const int j1 = std::min(bins, j0 + tile);
                for (int j = j0; j < j1; ++j) {
                    double *dst = out + qint64(j) * numberOfFfts;
                    for (int i = i0; i < i1; ++i)
                        dst[i] = in[qint64(i) * bins + j];
                }
            }
        }
        levels.clear();
        levels.data.shrink_to_fit();
    }

    // The caller refills the vector with its next request; its storage is kept.
    if (timedata)
        timedata->clear();

    emit finished(data, numberOfFfts, double(minLevel), double(maxLevel), std::unordered_map<int, Blob>(),
                  QStringList(), QList<MyBatCall>());
}

void calcSpectrogramThread::processTavron(int index, QString wavDirectory)
{
    const QString notLoaded = QStringLiteral("The file ") + wavDirectory
                              + QStringLiteral(" could not be loaded.\nCategorization aborted!");
    const QString tooLong = QStringLiteral("The file ") + wavDirectory
                            + QStringLiteral(" is too long to be categorized.\nCategorization aborted!");
    // Decided from the header or the file size before any sample is read: a
    // recording whose matrix would not fit even without overlap is not loaded
    // at all (an hour at 500 kHz would take 7 GB as samples alone).
    auto tooLongToLoad = [](qint64 sampleCount) {
        return !AutomaticClassification::categorisationPlan(sampleCount).fits();
    };

    std::vector<int> samples;
    int sampleRate = 0;
    int bits = 0;
    quint32 sampleCount = 0;
    const RecordingKind kind = recordingKind(wavDirectory);
    if (kind == RecordingKind::Wav) {
        WavFile wav;
        wav.open(wavDirectory, true);
        sampleCount = wav.frameCount();
        if (tooLongToLoad(sampleCount)) {
            emit error(tooLong);
            return;
        }
        wav.reset();
        wav.open(wavDirectory, false);
        if (wav.samples.empty()) {
            emit error(notLoaded);
            return;
        }
        samples = std::move(wav.samples);
        sampleRate = int(wav.sampleRate);
        bits = wav.bitsPerSample;
    } else if (kind == RecordingKind::Raw) {
        if (tooLongToLoad(QFileInfo(wavDirectory).size() / 2)) {
            emit error(tooLong);
            return;
        }
        AudioSampleReader reader;
        reader.load(wavDirectory, false);
        if (reader.samples.empty()) {
            emit error(notLoaded);
            return;
        }
        samples = std::move(reader.samples);
        sampleRate = rawSampleRate;
        bits = 16;
        sampleCount = reader.bytesPerSample > 0 ? quint32(reader.fileSize) / quint32(reader.bytesPerSample) : 0;
    } else {
        emit error(QStringLiteral("File format of file ") + wavDirectory
                   + QStringLiteral(" not supported.\nCategorization aborted!"));
        return;
    }
    // Never trust the header's count beyond the samples actually decoded. With
    // fewer samples the plan fits all the more.
    sampleCount = quint32(std::min<size_t>(sampleCount, samples.size()));
    const AutomaticClassification::Plan plan = AutomaticClassification::categorisationPlan(sampleCount);

    QStringList labels;
    if (sampleRate >= AutomaticClassification::minSampleRate && plan.frames > 0) {
        FloatMatrix matrix;
        AutomaticClassification::buildDetectionMatrix(samples.data(), bits, plan.hop, plan.frames, matrix);
        samples.clear();
        samples.shrink_to_fit();
        CallDetector detector;
        std::unordered_map<int, Blob> blobs;
        QList<MyBatCall> calls;
        detector.detectCalls(matrix, plan.overlap, sampleRate, int(sampleCount), blobs, labels, calls);
    }
    emit tavronFinished(index, labels);
}
