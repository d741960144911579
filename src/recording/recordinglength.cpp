#include "recording/recordinglength.h"

#include <QLocale>

QString recordingLengthText(qint64 sampleCount, qint64 sampleRate)
{
    // Whole seconds apart from the rest, so that no product overflows.
    const qint64 seconds = sampleCount / sampleRate;
    const qint64 rest = sampleCount % sampleRate;
    const qint64 milliseconds = seconds * 1000 + (rest * 2000 + sampleRate) / (2 * sampleRate);
    // The nearest double to a number of three decimals prints as that number.
    return QLocale().toString(double(milliseconds) / 1000.0, 'f', 3);
}
