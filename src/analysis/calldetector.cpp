#include "analysis/calldetector.h"

#include "analysis/analysislogging.h"
#include "analysis/analysispool.h"
#include "analysis/bloblabeler.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <queue>
#include <utility>
#include <vector>

namespace {

const QString kNoSub = QStringLiteral("No Sub");
const QString kNoise = QStringLiteral("Noise");

// A rejected call keeps its place in the list, without measurements.
MyBatCall noisePlaceholder()
{
    return MyBatCall(QRectF(0, 0, 0, 0), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, kNoise);
}

// Durations are compared as the float's exact value widened to double: a float
// 0.0029 is not above 0.0029, a float 0.0059 is above 0.0059.
inline bool inDuration(double d, double above, double atMost)
{
    return d > above && d <= atMost;
}

// Bands compared in single precision; every bound used this way is exact in float.
inline bool inBand(float f, float above, float atMost)
{
    return f > above && f <= atMost;
}

QString nycSubClass(double d, float fb)
{
    if (inDuration(d, 0.0059, 0.028) && fb <= 15.0f)
        return QStringLiteral("NycLow");
    if (inDuration(d, 0.0059, 0.032) && inBand(fb, 15.0f, 21.0f))
        return QStringLiteral("NycNoc");
    if (inDuration(d, 0.005, 0.03) && inBand(fb, 21.0f, 26.5f))
        return QStringLiteral("NycMid");
    // 31.2 is not exact in float: this bound is compared in double.
    if (inDuration(d, 0.005, 0.025) && fb > 26.5f && static_cast<double>(fb) <= 31.2)
        return QStringLiteral("Enil");
    return kNoSub;
}

QString pipSubClass(double d, float fb)
{
    const double fbD = fb;
    // 41.2 is not exact in float: this bound is compared in double.
    if (inDuration(d, 0.0029, 0.018) && fb > 35.0f && fbD <= 41.2)
        return QStringLiteral("PipNat");
    if (inDuration(d, 0.0029, 0.018) && fbD > 41.2 && fb <= 42.5f)
        return QStringLiteral("PipPn");
    if (inDuration(d, 0.002, 0.018) && inBand(fb, 42.5f, 49.5f))
        return QStringLiteral("PipPip");
    if (inDuration(d, 0.002, 0.015) && inBand(fb, 49.5f, 51.0f))
        return QStringLiteral("PipPp");
    if (inDuration(d, 0.002, 0.015) && inBand(fb, 51.0f, 64.0f))
        return QStringLiteral("PipPyg");
    return kNoSub;
}

int countContaining(const QStringList &labels, const QString &pattern)
{
    return labels.filter(pattern, Qt::CaseSensitive).size();
}

// The count regions with the greatest (valueSum, label) keys; a tie of sums goes
// to the greater label. forEach(visit) calls visit(label, blob) for each of
// the available regions, lookup(label) finds one. The result is filled in
// ascending key order, whatever order the regions are visited in.
template <typename ForEach, typename Lookup>
std::unordered_map<int, Blob> topByValueSum(size_t available, size_t count, ForEach forEach, Lookup lookup)
{
    std::unordered_map<int, Blob> result;
    const size_t k = std::min(count, available);
    if (k == 0)
        return result;

    using Key = std::pair<float, int>;
    std::priority_queue<Key, std::vector<Key>, std::greater<Key>> heap;
    forEach([&](int label, const Blob &blob) {
        const Key key(blob.valueSum, label);
        if (heap.size() < k) {
            heap.push(key);
        } else if (heap.top() < key) {
            heap.pop();
            heap.push(key);
        }
    });
    result.reserve(k);
    while (!heap.empty()) {
        const int label = heap.top().second;
        result.emplace(label, lookup(label));
        heap.pop();
    }
    return result;
}

} // namespace

int CallDetector::lowBinCount(size_t cols, int sampleRate)
{
    if (sampleRate < 2000)
        return 0;
    const uint64_t perKHz2 = static_cast<uint64_t>(sampleRate / 2000);
    const uint64_t n = static_cast<uint64_t>(cols) * 8u / perKHz2;
    // Below 16 kHz, 8 kHz lies above the top bin: the whole row is low.
    return static_cast<int>(std::min<uint64_t>(n, cols));
}

void CallDetector::filterForDetection(FloatMatrix &matrix, int sampleRate)
{
    // The row filters run one after the other on a band while it is in cache;
    // the echo suppression runs along time and gets bands of columns between them.
    matrix.forEachRowBand([&matrix](size_t first, size_t end) {
        matrix.smoothRows(first, end);
        matrix.subtractRunningMean(first, end);
    });
    matrix.suppressEchoes();
    const int low = lowBinCount(matrix.cols, sampleRate);
    matrix.forEachRowBand([&matrix, low](size_t first, size_t end) {
        matrix.removeRowMean(first, end);
        matrix.zeroLowBins(low, first, end);
    });
}

int CallDetector::blobBudget(int sampleRate, int sampleCount)
{
    if (sampleRate <= 0)
        return 0;
    const int budget = static_cast<int>((static_cast<float>(sampleCount / sampleRate) + 1.0f) * 20.0f);
    return std::max(budget, 0);
}

double CallDetector::sizeThreshold(float overlap)
{
    return 0.9 / (4.0 - 0.04 * overlap) * 40.0;
}

void CallDetector::detectCalls(FloatMatrix &matrix, float overlap, int sampleRate, int sampleCount,
                               std::unordered_map<int, Blob> &blobs, QStringList &classes, QList<MyBatCall> &calls)
{
    qCDebug(lcAnalysis) << "cols" << matrix.cols << "rows" << matrix.rows;
    blobs.clear();
    // Frequencies are counted in steps of sampleRate / 2000: below 2 kHz that is 0.
    if (sampleRate < 2000) {
        qCDebug(lcAnalysis) << "Sample rate" << sampleRate << "too low for call detection";
        return;
    }

    filterForDetection(matrix, sampleRate);

    // Kept alive to the end: the regions are cut out through its label map.
    BlobLabeler labeler;
    const std::vector<Blob> labelled = labeler.labelRegions(matrix);

    std::unordered_map<int, Blob> top =
        selectTopBlobs(labelled, static_cast<size_t>(blobBudget(sampleRate, sampleCount)));
    blobs = suppressTrailingBlobs(top);

    measureBlobs(matrix, labeler, overlap, sampleRate, sampleCount, blobs, classes, calls);
}

void CallDetector::measureBlobs(const FloatMatrix &matrix, const BlobLabeler &labeler, float overlap, int sampleRate,
                                int sampleCount, std::unordered_map<int, Blob> &blobs, QStringList &classes,
                                QList<MyBatCall> &calls)
{
    if (sampleRate < 2000) {
        blobs.clear();
        return;
    }
    const double threshold = sizeThreshold(overlap);
    const float cols = static_cast<float>(matrix.cols);
    const float transformLength = static_cast<float>(2 * matrix.cols + 2);
    const float rate = static_cast<float>(sampleRate);
    // The duration counts the frame step as (100 - overlap) % of the transform
    // length, which the recording's own hop need not match exactly.
    const float q = (100.0f - overlap) / 100.0f;
    const float k = static_cast<float>(sampleRate / 2000);

    // Cutting out and measuring a region needs nothing of the others: done on
    // every core, in the map's order; the rest stays serial so that the entries
    // and the log come in that order.
    std::vector<std::unordered_map<int, Blob>::iterator> entries;
    entries.reserve(blobs.size());
    for (auto it = blobs.begin(); it != blobs.end(); ++it)
        entries.push_back(it);
    auto large = [threshold](const Blob &b) { return static_cast<double>(b.pixelCount) > threshold; };
    std::vector<std::array<float, 9>> features(entries.size());
    AnalysisPool::forEachChunk(qint64(entries.size()), 4, [&](int, qint64 begin, qint64 end) {
        FloatMatrix region;
        std::vector<float> f;
        for (qint64 e = begin; e < end; ++e) {
            if (!large(entries[size_t(e)]->second))
                continue;
            labeler.extractRegion(matrix, *entries[size_t(e)], region);
            region.logCompress(20.0f);
            f.clear();
            region.segmentFeatures(f);
            std::copy_n(f.begin(), 9, features[size_t(e)].begin());
        }
    });

    for (size_t e = 0; e < entries.size(); ++e) {
        const auto it = entries[e];
        const Blob &b = it->second;
        if (!large(b)) {
            blobs.erase(it);
            continue;
        }
        const std::array<float, 9> &f = features[e];

        const int frames = static_cast<int>(b.frameMax - b.frameMin + 1);
        const float duration = static_cast<float>(frames) * q * transformLength / rate;
        const float centroid = k * f[0] / cols;
        const float maxFreq = k * f[1] / cols;
        const float minFreq = k * f[2] / cols;
        const float startFreq = k * f[3] / cols;
        const float endFreq = k * f[4] / cols;
        const int switchCount = static_cast<int>(f[5]);
        const int zeroCount = static_cast<int>(f[6]);
        const int posHist = static_cast<int>(f[7]);
        const int negHist = static_cast<int>(f[8]);

        qCDebug(lcAnalysis) << "\nSegment" << static_cast<float>(b.indexMax / matrix.cols) * q * transformLength / rate;
        qCDebug(lcAnalysis) << "\nFrames" << frames << "\nxMin" << b.frameMin;
        qCDebug(lcAnalysis) << "duration" << duration << "centroid" << centroid << "maxFreq" << maxFreq << "minFreq"
                            << minFreq << "startFreq" << startFreq << "endFreq" << endFreq << "switchCount"
                            << switchCount << "zeroCount" << zeroCount << "posHist" << posHist << "negHist" << negHist;

        const QStringList groupAndSub = classifyCall(duration, minFreq, maxFreq, startFreq, endFreq);
        qCDebug(lcAnalysis) << groupAndSub.value(0) << groupAndSub.value(1);
        const bool rejected = isRejected(groupAndSub, minFreq, switchCount, zeroCount, posHist, negHist);
        const QString label = callLabel(groupAndSub, rejected);

        if (rejected) {
            classes.append(kNoise);
            calls.append(noisePlaceholder());
        } else {
            // The box scales time by recording length per matrix row.
            const float seconds = static_cast<float>(sampleCount) / rate;
            const float rows = static_cast<float>(matrix.rows);
            const float x = static_cast<float>(b.frameMin) * seconds / rows;
            const float width = static_cast<float>(b.frameMax + 1) * seconds / rows - x;
            const float kb = rate / 2000.0f / cols;
            const float y = static_cast<float>(b.binMin) * kb;
            const float height = static_cast<float>(b.binMax + 1) * kb - y;
            qCDebug(lcAnalysis) << "xmin" << x << "width" << width;
            classes.append(label);
            calls.append(MyBatCall(QRectF(x, y, width, height), startFreq, endFreq, maxFreq, minFreq, centroid,
                                   switchCount, zeroCount, posHist, negHist, duration, label));
        }
    }
}

QStringList CallDetector::classifyCall(float duration, float minFreq, float maxFreq, float startFreq, float endFreq)
{
    Q_UNUSED(minFreq)
    Q_UNUSED(maxFreq)
    const double d = duration;
    const float fb = endFreq;

    if (d > 0.036 && std::abs(startFreq - endFreq) < 5.0f)
        return {QStringLiteral("Test"), kNoSub};
    if (inDuration(d, 0.0029, 0.036) && inBand(fb, 8.0f, 33.0f))
        return {QStringLiteral("Nyc"), nycSubClass(d, fb)};
    if (inDuration(d, 0.0015, 0.02) && inBand(fb, 33.0f, 65.0f))
        return {QStringLiteral("Pip"), pipSubClass(d, fb)};
    return {kNoise, kNoSub};
}

bool CallDetector::isRejected(const QStringList &groupAndSub, float minFreq, int switchCount, int zeroCount,
                              int posHist, int negHist)
{
    const QString group = groupAndSub.value(0);
    const QString sub = groupAndSub.value(1);
    bool rejected = false;
    if (minFreq < 8.0f) {
        qCDebug(lcAnalysis) << "freq";
        rejected = true;
    }
    if (group == QLatin1String("Nyc") && sub != QLatin1String("Enil")) {
        if (switchCount < zeroCount - 2 || switchCount > 1) {
            qCDebug(lcAnalysis) << "count";
            rejected = true;
        }
        if (negHist > 6 || posHist > 2) {
            qCDebug(lcAnalysis) << "hist";
            rejected = true;
        }
    }
    if (group == QLatin1String("Pip")) {
        if (posHist > 2 || negHist > 9 || posHist > negHist + 1) {
            qCDebug(lcAnalysis) << "hist";
            rejected = true;
        }
        if (switchCount < zeroCount - 1 || switchCount > 2) {
            qCDebug(lcAnalysis) << "count";
            rejected = true;
        }
    }
    // A steady tone with a clean track is a test signal, whatever it measured.
    if (group == QLatin1String("Test") && posHist < 2 && negHist < 2) {
        qCDebug(lcAnalysis) << "Test";
        rejected = false;
    }
    return rejected;
}

QString CallDetector::callLabel(const QStringList &groupAndSub, bool rejected)
{
    if (rejected)
        return kNoise;
    const QString sub = groupAndSub.value(1);
    return sub == kNoSub ? groupAndSub.value(0) : sub;
}

std::unordered_map<int, Blob> CallDetector::selectTopBlobs(std::unordered_map<int, Blob> &blobs, size_t count)
{
    return topByValueSum(
        blobs.size(), count,
        [&blobs](auto visit) {
            for (const auto &entry : blobs)
                visit(entry.first, entry.second);
        },
        [&blobs](int label) { return blobs.at(label); });
}

std::unordered_map<int, Blob> CallDetector::selectTopBlobs(const std::vector<Blob> &regions, size_t count)
{
    // As many regions as the labeller's map would hold: those it would leave out are skipped.
    auto present = [](const Blob &b) { return b.pixelCount > 0; };
    return topByValueSum(
        size_t(std::count_if(regions.begin(), regions.end(), present)), count,
        [&](auto visit) {
            for (size_t k = 0; k < regions.size(); ++k)
                if (present(regions[k]))
                    visit(int(k + 1), regions[k]);
        },
        [&regions](int label) { return regions[size_t(label - 1)]; });
}

std::unordered_map<int, Blob> CallDetector::suppressTrailingBlobs(std::unordered_map<int, Blob> &blobs)
{
    using Key = std::pair<float, int>; // (start index as float, label)
    std::priority_queue<Key, std::vector<Key>, std::greater<Key>> order;
    for (const auto &entry : blobs)
        order.push(Key(static_cast<float>(entry.second.indexMin), entry.first));

    std::unordered_map<int, Blob> result;
    int lastFrameMin = 0;
    int lastFrameMax = 0;
    int lastBinMin = 0;
    int lastBinMax = 0;
    while (!order.empty()) {
        const int label = order.top().second;
        order.pop();
        const Blob &b = blobs.at(label);
        const size_t centre = b.binMin + (b.binMax - b.binMin) / 2;
        const int c = static_cast<int>(centre);
        qCDebug(lcAnalysis) << "Mittelwert" << c << lastBinMin << lastBinMax;

        // Four lengths of the last kept call after its end, computed in 32 bits
        // (wrapping instead of overflowing) and compared as an unsigned 64-bit value.
        const int32_t reach = static_cast<int32_t>(static_cast<uint32_t>(5u * static_cast<uint32_t>(lastFrameMax))
                                                   - 4u * static_cast<uint32_t>(lastFrameMin));
        const uint64_t reachU = static_cast<uint64_t>(static_cast<int64_t>(reach));
        const bool later = static_cast<uint64_t>(b.frameMin) > reachU;
        const bool outsideBand = lastBinMin - 5 > c || c > lastBinMax + 5;
        if (!later && !outsideBand)
            continue;

        result.emplace(label, b);
        lastFrameMin = static_cast<int>(b.frameMin);
        lastFrameMax = static_cast<int>(b.frameMax);
        lastBinMin = static_cast<int>(b.binMin);
        lastBinMax = static_cast<int>(b.binMax);
        qCDebug(lcAnalysis) << "Min" << b.frameMin << "Max" << b.frameMax;
    }
    return result;
}

QString CallDetector::decideFileGroup(QStringList labels)
{
    const int nNyc = countContaining(labels, QStringLiteral("Nyc"));
    const int nNycLow = countContaining(labels, QStringLiteral("NycLow"));
    const int nNycNoc = countContaining(labels, QStringLiteral("NycNoc"));
    const int nNycMid = countContaining(labels, QStringLiteral("NycMid"));
    const int nEnil = countContaining(labels, QStringLiteral("Enil"));
    const int nPip = countContaining(labels, QStringLiteral("Pip"));
    const int nPipNat = countContaining(labels, QStringLiteral("PipNat"));
    const int nPipPn = countContaining(labels, QStringLiteral("PipPn"));
    const int nPipPip = countContaining(labels, QStringLiteral("PipPip"));
    const int nPipPp = countContaining(labels, QStringLiteral("PipPp"));
    const int nPipPyg = countContaining(labels, QStringLiteral("PipPyg"));
    const int nTest = countContaining(labels, QStringLiteral("Test"));
    const int nNoise = countContaining(labels, QStringLiteral("Noise"));
    const int total = labels.size();

    if (static_cast<double>(nTest + nNoise) > total * 0.9 || nTest != 0)
        return QStringLiteral("No call");

    QStringList verdicts;
    const bool anyNyc = nNyc != 0 || nNycLow != 0 || nNycNoc != 0 || nNycMid != 0;
    if (anyNyc) {
        if (nNycLow > nNycNoc && nNycLow > nNycMid)
            verdicts << QStringLiteral("NycLow");
        else if (nNycNoc > nNycLow && nNycNoc > nNycMid)
            verdicts << QStringLiteral("NycNoc");
        else if (nNycMid > nNycLow && nNycMid > nNycNoc)
            verdicts << QStringLiteral("NycMid");
        else
            verdicts << QStringLiteral("Nyc");
    }
    if (nEnil != 0 && !anyNyc)
        verdicts << (nEnil >= 3 ? QStringLiteral("Enil") : QStringLiteral("Nyc"));

    if (nPip != 0 || nPipNat != 0 || nPipPn != 0 || nPipPip != 0 || nPipPp != 0 || nPipPyg != 0) {
        const int sub[5] = {nPipNat, nPipPn, nPipPip, nPipPp, nPipPyg};
        auto leads = [&sub](int which) {
            for (int i = 0; i < 5; ++i)
                if (i != which && !(sub[which] > sub[i]))
                    return false;
            return true;
        };
        if (leads(0) || nPipNat > 0.75 * (nPipNat + nPipPn))
            verdicts << QStringLiteral("PipNat");
        else if (leads(1))
            verdicts << QStringLiteral("PipPn");
        else if (leads(2) || nPipPip > 0.75 * (nPipPip + nPipPn) || nPipPip > 0.75 * (nPipPip + nPipPp))
            verdicts << QStringLiteral("PipPip");
        else if (leads(3))
            verdicts << QStringLiteral("PipPp");
        else if (leads(4) || nPipPyg > 0.75 * (nPipPyg + nPipPp))
            verdicts << QStringLiteral("PipPyg");
        else
            verdicts << QStringLiteral("Pip");
    }
    return verdicts.join(QStringLiteral(", "));
}
