#pragma once

#include "analysis/blob.h"
#include "analysis/floatmatrix.h"
#include "analysis/mybatcall.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <unordered_map>
#include <vector>

class BlobLabeler;

/**
 * Turns a spectrogram (frames x bins) into detected, measured and labelled
 * calls, and a recording's call labels into its verdict. Holds no data: make
 * one on the stack for each use; any number may run at once in different threads.
 */
class CallDetector
{
public:
    CallDetector() {}

    /**
     * Filters matrix in place, labels its regions, keeps the strongest ones that
     * do not trail a kept one and are large enough, and appends one label to
     * classes and one record to calls per kept region (same order, same count).
     * blobs ends with the kept regions. The matrix has one column per bin of a
     * transform of 2 x cols + 2 points. A sample rate below 2000 Hz detects nothing.
     */
    void detectCalls(FloatMatrix &matrix, float overlap, int sampleRate, int sampleCount,
                     std::unordered_map<int, Blob> &blobs, QStringList &classes, QList<MyBatCall> &calls);

    /** [group, sub-class] for one call; only duration (s), startFreq and endFreq (kHz) take part. */
    QStringList classifyCall(float duration, float minFreq, float maxFreq, float startFreq, float endFreq);

    /** Whether the shape checks reject a call classified as groupAndSub. */
    bool isRejected(const QStringList &groupAndSub, float minFreq, int switchCount, int zeroCount, int posHist,
                    int negHist);

    /** "Noise" for a rejected call, else the sub-class, or the group when the sub-class is "No Sub". */
    QString callLabel(const QStringList &groupAndSub, bool rejected);

    /** Copies of the count regions with the greatest (valueSum, label) pairs. */
    std::unordered_map<int, Blob> selectTopBlobs(std::unordered_map<int, Blob> &blobs, size_t count);
    /** The same selection from regions in label order: entry k holds the region labelled k + 1. */
    std::unordered_map<int, Blob> selectTopBlobs(const std::vector<Blob> &regions, size_t count);

    /** Drops each region that closely follows a kept one in time inside its frequency band. */
    std::unordered_map<int, Blob> suppressTrailingBlobs(std::unordered_map<int, Blob> &blobs);

    /** The recording's verdict from its call labels: "No call", "" or group names joined with ", ". */
    QString decideFileGroup(QStringList labels);

    // The stages of detectCalls, public so that they can be timed on their own.

    /** Bins below 8 kHz for a matrix of cols bins; clamped to cols; 0 for a rate below 2000 Hz. */
    static int lowBinCount(size_t cols, int sampleRate);
    /** The filter chain of the detection, in place. */
    void filterForDetection(FloatMatrix &matrix, int sampleRate);
    /** Regions measured per recording: 20 per started second plus 20. */
    static int blobBudget(int sampleRate, int sampleCount);
    /** Regions of no more additions than this are dropped. */
    static double sizeThreshold(float overlap);
    /**
     * Applies the size threshold to blobs and measures the rest, using the
     * labeller that labelled the filtered matrix.
     */
    void measureBlobs(const FloatMatrix &matrix, const BlobLabeler &labeler, float overlap, int sampleRate,
                      int sampleCount, std::unordered_map<int, Blob> &blobs, QStringList &classes,
                      QList<MyBatCall> &calls);
};
