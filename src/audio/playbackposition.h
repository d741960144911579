#pragma once

#include <QString>
#include <QtGlobal>

/**
 * Where a position report of the player lands in the recording, and the time
 * label beside the player. Reports count playing time from the start of the
 * played slice; the markers and the label show recording time.
 */

// Recording time in milliseconds of a report `progressMs` into the slice that
// starts at `viewStartSeconds`, played at `playbackRate` (p of the Pitched
// mode, else 1): progress x p + start x 1000.
float recordingPositionMs(qint64 progressMs, float viewStartSeconds, float playbackRate);

// "mm:ss.zzz / mm:ss.zzz" of a position and the recording's length, both with
// hours in front ("hh:mm:ss.zzz") when the length is above one hour; empty
// without a length.
QString playbackTimeText(qint64 positionMs, qint64 durationMs);
