#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

class AudioSampleReader;
class WavFile;

// The recording on show as the view describes it: its format and length, and
// the information line under the spectrogram.

struct ShownFormat {
    qint64 sampleCount = 0; // never more than the reader holds
    int sampleRate = 0;     // Hz; 0 when nothing (or no recording) is shown
    int bitsPerSample = 0;
    bool raw = false;

    /**
     * The one length of the recording on show, in seconds, as the spectrogram
     * lays it out: sampleCount / sampleRate in single precision. Not a number
     * without a sample rate.
     */
    double duration() const;
};

/**
 * The format of fileName as its reader holds it: a WAV name reads wavFile, a
 * RAW name rawFile (16 bits at rawSampleRate), any other name nothing. A header
 * that promises more samples than were read counts only those read, so the
 * worker is never sent past their end and every length agrees with the drawing.
 */
ShownFormat shownFormat(const QString &fileName, const WavFile &wavFile, const AudioSampleReader &rawFile);

/** The non-empty classes and then the comment of a bext description, in the order they are shown. */
QStringList shownClassesAndComment(const QString &description);

/**
 * "16bit; 250000Hz; 1.000s; dd/MM/yy; hh:mm:ss" and "; " + each extra text.
 * Numbers in the default locale, the length as recordingLengthText gives it.
 */
QString recordingInfoLine(int bitsPerSample, int sampleRate, qint64 sampleCount, const QString &dateText,
                          const QString &timeText, const QStringList &extras);
