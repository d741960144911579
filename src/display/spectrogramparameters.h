#pragma once

#include <QString>
#include <QtGlobal>

// What the calculation settings (combo indices in the settings store) turn
// into, and how the overlap is lowered so that one spectrogram stays within a
// bounded amount of memory. Values in, values out: the main window reads the
// settings, asks here, and shows or stores what comes back.

// Largest estimated spectrogram (frames x bins) calculated with the overlap
// the user chose; beyond it the overlap is lowered step by step.
constexpr double matrixCellLimit = 8e7;

// Highest index of the overlap, window and size combo boxes.
constexpr int lastSettingsIndex = 6;

struct SpectrogramParameters {
    int windowSize = 1024;   // FFT points
    float frameSize = 75.0f; // share of the window that carries samples, %
    QString window;          // window name as the spectrogram worker compares it
    double overlap = 50.0;   // %
};

// Index tables of the settings dialog's combo boxes; an index outside 0..6
// takes the last row.
int windowSizeForIndex(int index);
float frameSizeForIndex(int index);
double overlapForIndex(int index);
QString windowNameForIndex(int index);

SpectrogramParameters spectrogramParameters(int windowIndex, int frameSizeIndex, int overlapIndex, int windowSizeIndex);

// Frames the spectrogram will have, estimated the way the worker frames:
// floor((samples - window) / (window - trunc(overlapSamples) + 1)). Negative
// when the recording is shorter than one window.
qint64 estimatedFrameCount(qint64 sampleCount, int windowSize, double overlap);

// Cells of the level matrix: frames x (window / 2 - 1).
double estimatedMatrixCells(qint64 sampleCount, int windowSize, double overlap);

// The next lower overlap of the reduction ladder 98.4375 .. 50, 0; any value
// off the ladder goes to 0.
double nextLowerOverlap(double overlap);

struct OverlapReduction {
    double overlap = 0.0;       // overlap to calculate with
    int steps = 0;              // ladder steps taken
    bool refused = false;       // still over the limit at 0 %: do not calculate
    int storeOverlapIndex = -1; // index to write back to "overlap", -1: write nothing
    QString notice;             // information text to show, empty: show nothing
    QString refusal;            // error text when refused
};

// Lowers the overlap until the estimate fits matrixCellLimit. Only when a step
// was taken is a notice given and the stored index raised by one (never past
// the last entry); a recording too large even at 0 % is refused rather than
// calculated with gigabytes of matrix.
OverlapReduction reduceOverlap(qint64 sampleCount, int windowSize, double overlap, int storedOverlapIndex,
                               bool autoReduce);

QString overlapReducedNotice(double overlap);
QString recordingTooLargeText();
