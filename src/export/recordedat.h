#pragma once

#include <QDate>
#include <QString>

/**
 * When a row's recording began as the recorder's clock showed it: its
 * "dd/MM/yy" and "hh:mm:ss" texts read, to be placed on a RecorderClock.
 */
struct RecordedAt {
    QDate date;       // invalid when the text does not read ("N/A")
    int msOfDay = -1; // -1 when the text does not read
    bool isValid() const { return date.isValid() && msOfDay >= 0; }
};

RecordedAt recordedAt(const QString &dateText, const QString &timeText);
