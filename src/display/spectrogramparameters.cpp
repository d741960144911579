#include "display/spectrogramparameters.h"

#include <QCoreApplication>
#include <cmath>

namespace {

int clampIndex(int index)
{
    return (index < 0 || index > lastSettingsIndex) ? lastSettingsIndex : index;
}

} // namespace

int windowSizeForIndex(int index)
{
    static const int sizes[] = {2048, 1024, 512, 256, 128, 64, 64};
    return sizes[clampIndex(index)];
}

float frameSizeForIndex(int index)
{
    static const float shares[] = {100.0f, 75.0f, 50.0f, 25.0f, 12.5f, 12.5f, 12.5f};
    return shares[clampIndex(index)];
}

double overlapForIndex(int index)
{
    static const double overlaps[] = {98.4375, 96.875, 93.75, 87.5, 75.0, 50.0, 0.0};
    return overlaps[clampIndex(index)];
}

QString windowNameForIndex(int index)
{
    // The hyphen matters: the worker compares names exactly, and an unknown
    // name silently means no window at all.
    static const char *const names[] = {"Rectangular", "Hamming", "Hann",           "Blackman",
                                        "Bartlett",    "Flattop", "Blackman-Harris"};
    return QString::fromLatin1(names[clampIndex(index)]);
}

SpectrogramParameters spectrogramParameters(int windowIndex, int frameSizeIndex, int overlapIndex, int windowSizeIndex)
{
    SpectrogramParameters p;
    p.windowSize = windowSizeForIndex(windowSizeIndex);
    p.frameSize = frameSizeForIndex(frameSizeIndex);
    p.window = windowNameForIndex(windowIndex);
    p.overlap = overlapForIndex(overlapIndex);
    return p;
}

qint64 estimatedFrameCount(qint64 sampleCount, int windowSize, double overlap)
{
    const double overlapSamples = overlap == 0.0 ? 0.0 : windowSize / (100.0 / overlap);
    const double hop = double(windowSize) - std::trunc(overlapSamples) + 1.0;
    return qint64(std::floor(double(sampleCount - windowSize) / hop));
}

double estimatedMatrixCells(qint64 sampleCount, int windowSize, double overlap)
{
    return double(estimatedFrameCount(sampleCount, windowSize, overlap)) * (windowSize * 0.5 - 1.0);
}

double nextLowerOverlap(double overlap)
{
    static const double ladder[] = {98.4375, 96.875, 93.75, 87.5, 75.0, 50.0, 0.0};
    for (int i = 0; i + 1 < int(sizeof ladder / sizeof ladder[0]); ++i) {
        if (overlap == ladder[i])
            return ladder[i + 1];
    }
    return 0.0;
}

QString overlapReducedNotice(double overlap)
{
    return QCoreApplication::translate("MainWindow", "Current spectrogram matrix size is over the limit.\n Overlap for "
                                                     "this spectrogram calculation is reduced to ")
           + QString::number(overlap, 'g', 6) + QStringLiteral("%");
}

QString recordingTooLargeText()
{
    return QCoreApplication::translate("MainWindow", "The recording is too long for a spectrogram: even without "
                                                     "overlap it would exceed the matrix size limit.");
}

OverlapReduction reduceOverlap(qint64 sampleCount, int windowSize, double overlap, int storedOverlapIndex,
                               bool autoReduce)
{
    OverlapReduction r;
    r.overlap = overlap;
    if (!autoReduce)
        return r;
    double cells = estimatedMatrixCells(sampleCount, windowSize, r.overlap);
    while (cells > matrixCellLimit && r.overlap != 0.0) {
        r.overlap = nextLowerOverlap(r.overlap);
        ++r.steps;
        cells = estimatedMatrixCells(sampleCount, windowSize, r.overlap);
    }
    if (cells > matrixCellLimit) {
        r.refused = true;
        r.refusal = recordingTooLargeText();
        return r;
    }
    if (r.steps > 0) {
        r.notice = overlapReducedNotice(r.overlap);
        // One step in the dialog however many were taken here, as the user
        // sees the next lower choice; the combo box has no entry past the last.
        const int current = qBound(0, storedOverlapIndex, lastSettingsIndex);
        r.storeOverlapIndex = qMin(current + 1, lastSettingsIndex);
    }
    return r;
}
