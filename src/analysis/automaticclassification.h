#pragma once

#include "analysis/floatmatrix.h"
#include "analysis/mybatcall.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <vector>

/**
 * Proposes a class for a recording from the recording itself: 512-point
 * magnitude spectra (Hamming-windowed, relative to full scale, bins 0 .. 254)
 * go through the call detector, and the file verdict of its call labels is the
 * proposal. Pure functions of the samples; the header worker and the
 * spectrogram worker's single-file slot call them on their own threads.
 */
class AutomaticClassification
{
public:
    static constexpr int fftSize = 512;
    static constexpr int columns = 255;
    /** Cells of a detection matrix above this are refused (about 320 MB of floats). */
    static constexpr double maxCells = 8e7;
    /** Below this rate 8 kHz lies above the matrix's top bin: the detector is not run. */
    static constexpr int minSampleRate = 16000;

    /** Overlap, hop and frame count of one detection matrix. */
    struct Plan {
        float overlap = 87.5f;
        int hop = 65;
        qint64 frames = 0;
        bool fits() const { return double(frames) * columns <= maxCells; }
    };
    /** The header worker's plan for frameCount samples: 87.5 % overlap, none for very long recordings. */
    static Plan detectionPlan(qint64 frameCount);
    /**
     * The single-file categorisation's plan for sampleCount samples: the overlap
     * steps down from 87.5 % through 75 % and 50 % to 0 % until the matrix fits;
     * when even 0 % does not, the plan does not fit and the file is refused.
     */
    static Plan categorisationPlan(qint64 sampleCount);

    /**
     * Fills matrix with frames rows of columns magnitudes; row f is the
     * spectrum of the fftSize samples from f x hop on, taken at 16-bit scale and
     * relative to 16-bit full scale whatever the sample width. The caller guarantees
     * (frames - 1) x hop + fftSize <= the samples available.
     */
    static void buildDetectionMatrix(const int *samples, int bitsPerSample, int hop, qint64 frames,
                                     FloatMatrix &matrix);

    /** Wall time of the stages of one classification, in seconds. */
    struct Timing {
        double transforms = 0.0;
        double detection = 0.0;
    };

    /** What one classification found. */
    struct Result {
        QString proposal;       // the file verdict, possibly empty
        QStringList labels;     // one call label per measured call
        QList<MyBatCall> calls; // the measured calls, in the order of labels
        bool refused = false;
        QString reason; // why it was refused
    };

    /**
     * The proposal for a fully read recording of frameCount frames (its header's
     * count; only the samples present are used). Refused, with no proposal,
     * when the matrix would exceed maxCells; not run (empty proposal) below
     * minSampleRate.
     */
    static Result classify(const std::vector<int> &samples, qint64 frameCount, int sampleRate, int bitsPerSample,
                           Timing *timing = nullptr);

    /** 2^bits x 0.5 - 1: the largest sample value of the recording's width. */
    static double fullScale(int bitsPerSample);
};
