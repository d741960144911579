#include "recording/recordinglength.h"

#include <QLocale>

qint64 recordingLengthMs(qint64 sampleCount, qint64 sampleRate)
{
    // Whole seconds apart from the rest, so that no product overflows.
    const qint64 seconds = sampleCount / sampleRate;
    const qint64 rest = sampleCount % sampleRate;
    return seconds * 1000 + (rest * 2000 + sampleRate) / (2 * sampleRate);
}

QString recordingLengthText(qint64 sampleCount, qint64 sampleRate)
{
    // The nearest double to a number of three decimals prints as that number.
    return QLocale().toString(double(recordingLengthMs(sampleCount, sampleRate)) / 1000.0, 'f', 3);
}
