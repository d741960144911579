#pragma once

#include <QString>
#include <QtGlobal>

/**
 * A recording's length as the file list, the information line and the
 * player's readout all show it: sampleCount / sampleRate seconds with three decimals, in the default
 * locale. The milliseconds are rounded from the exact quotient of the two
 * integers, a half upwards (1,787,520 samples at 256 kHz, 6.9825 s, read
 * 6.983), so that no floating-point step between them decides a last digit.
 * Needs sampleCount >= 0 and sampleRate > 0.
 */
QString recordingLengthText(qint64 sampleCount, qint64 sampleRate);

/** The same length in whole milliseconds, rounded by the same rule: the player's readout shows it. */
qint64 recordingLengthMs(qint64 sampleCount, qint64 sampleRate);
