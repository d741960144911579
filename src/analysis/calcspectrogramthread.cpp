#include "analysis/calcspectrogramthread.h"

#include "analysis/analysislogging.h"
#include "analysis/analysispool.h"
#include "analysis/automaticclassification.h"
#include "analysis/calldetector.h"
#include "analysis/floatmatrix.h"
#include "analysis/samplescale.h"
#include "analysis/transformscratch.h"
#include "fft/windowweights.h"
#include "recording/audiosamplereader.h"
#include "recording/recordingkind.h"
#include "recording/wavfile.h"

#include <QFileInfo>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <new>
#include <utility>

namespace {

// The largest matrix a QVector<double> can hold (its allocation is limited to
// INT_MAX bytes).
constexpr qint64 maxReplyCells = (std::numeric_limits<int>::max() - 64) / qint64(sizeof(double));

// The test's stand-in for a machine short of memory; 0 is none.
std::atomic<qint64> allocationLimit{0};

// Weight table of the filled part of a frame, chosen by the exact name;
// empty for "Rectangular" and every name not listed, which means no weighting.
std::vector<double> frameWeights(const QString &window, int f)
{
    static const struct {
        const char *name;
        WindowKind kind;
    } named[] = {{"Hann", WindowKind::Hann},         {"Hamming", WindowKind::Hamming},
                 {"Blackman", WindowKind::Blackman}, {"Bartlett", WindowKind::Bartlett},
                 {"Flattop", WindowKind::Flattop},   {"Blackman-Harris", WindowKind::BlackmanHarris}};
    for (const auto &entry : named) {
        if (window == QLatin1String(entry.name))
            return windowWeights(entry.kind, f);
    }
    return std::vector<double>();
}

// A reply of n levels whose numbers are left unset, for a caller that writes
// every one of them. QVector has no such constructor: it fills with zeros on
// one thread, which at the cell limit took longer than all the levels on eight.
// Throws std::bad_alloc when the matrix is more than a QVector holds or more
// than the memory left.
QVector<double> unsetLevels(qint64 n)
{
    if (n <= 0)
        return QVector<double>();
    const qint64 limit = allocationLimit.load();
    if (n > maxReplyCells || (limit > 0 && n > limit))
        throw std::bad_alloc();
    QTypedArrayData<double> *d = QTypedArrayData<double>::allocate(size_t(n));
    if (!d)
        throw std::bad_alloc();
    d->size = int(n);
    return QVector<double>(QArrayDataPointerRef<double>{d});
}

} // namespace

calcSpectrogramThread::calcSpectrogramThread()
    : QObject(nullptr)
{
}

void calcSpectrogramThread::setAllocationLimit(qint64 cells)
{
    allocationLimit.store(std::max<qint64>(0, cells));
}

double calcSpectrogramThread::blackmanHarrisCoefficient(int n, int size)
{
    return windowWeight(WindowKind::BlackmanHarris, n, size);
}

double calcSpectrogramThread::flattopCoefficient(int n, int size)
{
    return windowWeight(WindowKind::Flattop, n, size);
}

void calcSpectrogramThread::process(int sampleSize, int bitsPerSample, int windowSize, float frameSize, QString window,
                                    double overlap, std::vector<int> *timedata, int sampleRate, bool categorize)
{
    Q_UNUSED(categorize)

    const int framed = windowSize > 0 && frameSize > 0.0f ? int(float(windowSize) / (100.0f / frameSize)) : 0;
    const int overlapSamples = windowSize > 0 && overlap > 0.0 ? int(windowSize / (100.0 / overlap)) : 0;
    const int hop = windowSize - overlapSamples;
    const int offset = (windowSize - framed) / 2;
    const int bins = windowSize / 2;

    // A request that cannot give a single whole block inside the vector gets
    // an empty matrix: nothing is read past the samples, nothing is divided by 0.
    const bool usable = timedata != nullptr && windowSize >= 2 && framed >= 2 && framed <= windowSize && hop >= 1
                        && sampleRate > 0 && sampleSize >= windowSize && size_t(sampleSize) <= timedata->size();
    int numberOfFfts = usable ? (sampleSize - windowSize) / hop + 1 : 0;

    qCDebug(lcAnalysis) << "Number of ffts " << numberOfFfts;
    qCDebug(lcAnalysis) << "Window Size" << windowSize;
    qCDebug(lcAnalysis) << "Frame Size" << frameSize;
    qCDebug(lcAnalysis) << "Framed Window" << offset;
    qCDebug(lcAnalysis) << "Overlap Samples" << overlapSamples;
    qCDebug(lcAnalysis) << "Window" << window;
    qCDebug(lcAnalysis) << "SampleRate" << sampleRate;

    // Without the automatic overlap reduction a long recording asks for up to
    // 2 GB of levels: a matrix that cannot be had is refused with a message and
    // an empty reply, never by ending the program.
    QVector<double> data;
    if (numberOfFfts > 0) {
        try {
            data = unsetLevels(qint64(numberOfFfts) * bins);
        } catch (const std::bad_alloc &) {
            emit error(QStringLiteral("The spectrogram of this recording would be too large. "
                                      "Choose a smaller overlap."));
            numberOfFfts = 0;
        }
    }
    float minLevel = -40.0f;
    float maxLevel = 0.0f;

    if (numberOfFfts > 0) {
        // The power is normalised by the Hann window over the filled part,
        // whatever window is applied, so levels compare across windows only roughly.
        float hannSum = 0.0f;
        for (int n = 0; n < framed; ++n) {
            const double w = windowWeight(WindowKind::Hann, n, framed);
            hannSum = float(double(hannSum) + w * w);
        }
        const double norm = float(double(1.0f / hannSum) * (2.0 / sampleRate));
        const std::vector<double> weights = frameWeights(window, framed);
        const double scale = sixteenBitScale(bitsPerSample);
        const int *samples = timedata->data();

        // Blocks are computed in chunks of consecutive blocks on every core,
        // each thread with its own transformer (one runs one transform at a
        // time) and buffers. A chunk's levels go to a small matrix that stays
        // in cache, become dB there and are written transposed straight into
        // the reply: no full-size float copy of the matrix is ever held.
        const qint64 blocksPerChunk = std::max(16, 32768 / bins);
        const qint64 chunks = (numberOfFfts + blocksPerChunk - 1) / blocksPerChunk;
        struct Slot {
            TransformScratch fft;
            FloatMatrix levels;
        };
        std::vector<Slot> perSlot(size_t(AnalysisPool::slotCount(numberOfFfts, blocksPerChunk)));
        // Per chunk, combined in chunk order below: the same cell wins as in one pass over the matrix.
        std::vector<float> chunkMin(static_cast<size_t>(chunks));
        std::vector<float> chunkMax(static_cast<size_t>(chunks));
        double *out = data.data();

        auto computeChunk = [&](int slotIndex, qint64 begin, qint64 end) {
            Slot &slot = perSlot[size_t(slotIndex)];
            // One float beyond the spectrum, never written: the Nyquist bin's imaginary part, 0.
            slot.fft.prepare(windowSize, size_t(windowSize) + 1);
            FloatMatrix &levels = slot.levels;
            if (levels.rows != size_t(end - begin))
                levels.allocate(size_t(end - begin), size_t(bins));
            float *input = slot.fft.input.data();
            const float *output = slot.fft.output.data();
            for (qint64 i = begin; i < end; ++i) {
                const int *block = samples + i * hop + offset;
                if (weights.empty()) {
                    for (int n = 0; n < framed; ++n)
                        input[n] = float(double(block[n]) * scale);
                } else {
                    for (int n = 0; n < framed; ++n)
                        input[n] = float(double(float(double(block[n]) * scale)) * weights[size_t(n)]);
                }
                // The transform may work in place on its input: pad anew for every block.
                std::fill(input + framed, input + windowSize, 0.0f);

                slot.fft.transformer->forwardTransform(input, slot.fft.output.data());

                float *row = levels.data.data() + size_t(i - begin) * size_t(bins);
                for (int j = 0; j < bins; ++j) {
                    const double re = output[j + 1];
                    const double im = output[bins + j + 1];
                    row[j] = float(std::log((re * re + im * im) * norm + 1.0));
                }
            }
            levels.toDecibel();
            const size_t chunk = size_t(begin / blocksPerChunk);
            chunkMin[chunk] = levels.minValue();
            chunkMax[chunk] = levels.maxValue();

            const float *in = levels.data.data();
            const qint64 count = end - begin;
            for (int j = 0; j < bins; ++j) {
                double *dst = out + qint64(j) * numberOfFfts + begin;
                for (qint64 i = 0; i < count; ++i)
                    dst[i] = in[i * bins + j];
            }
        };

        // At most about 100 reports, in order: the one for block i once i blocks are done.
        const qint64 progressStep = numberOfFfts / 100;
        qint64 nextReport = 0;
        auto report = [&](qint64 done) {
            while (progressStep > 0 && nextReport < numberOfFfts && nextReport <= done) {
                emit signalProgressBar(int(nextReport * 100 / numberOfFfts));
                nextReport += progressStep;
            }
        };
        report(0);
        AnalysisPool::forEachChunk(numberOfFfts, blocksPerChunk, computeChunk, report);

        float smallest = 1e8f;
        float largest = -1e8f;
        for (qint64 c = 0; c < chunks; ++c) {
            if (chunkMin[size_t(c)] < smallest)
                smallest = chunkMin[size_t(c)];
            if (chunkMax[size_t(c)] > largest)
                largest = chunkMax[size_t(c)];
        }
        minLevel = std::max(-40.0f, smallest);
        maxLevel = std::min(0.0f, largest);
    }

    // The caller refills the vector with its next request; its storage is kept.
    if (timedata)
        timedata->clear();

    emit finished(data, numberOfFfts, double(minLevel), double(maxLevel), std::unordered_map<int, Blob>(),
                  QStringList(), QList<MyBatCall>());
}

void calcSpectrogramThread::processTavron(int index, QString wavDirectory)
{
    const QString notLoaded =
        QStringLiteral("The file ") + wavDirectory + QStringLiteral(" could not be loaded.\nCategorization aborted!");
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
