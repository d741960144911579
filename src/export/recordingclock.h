#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <QTimeZone>

/**
 * The clock of a recorder: the zone it was set to and whether it followed
 * daylight saving. Reads a row's date and time texts as an instant, in that
 * zone alone, so that an export never depends on the zone of the machine it
 * runs on.
 */
class RecordingClock
{
public:
    RecordingClock(const QTimeZone &zone, bool daylightSaving);

    /** A row's "dd/MM/yy" and "hh:mm:ss" texts; invalid parts when a text does not parse ("N/A"). */
    struct Reading
    {
        QDate date;
        QTime time;
        bool isValid() const { return date.isValid() && time.isValid(); }
    };
    static Reading read(const QString &dateText, const QString &timeText);

    /**
     * Seconds east of UTC that the clock was at when it showed this date and
     * time. With daylight saving the zone's offset then; a time the zone skips
     * when it springs forward takes the standard offset (a clock that shows it
     * had not changed yet). Without daylight saving the zone's standard offset
     * on that day.
     */
    int offsetFromUtc(const QDate &date, const QTime &time) const;

    /** Seconds since 1970-01-01 00:00 UTC of this date and time. */
    qint64 secsSinceEpoch(const QDate &date, const QTime &time) const;

private:
    QTimeZone m_zone;
    bool m_daylightSaving;
};

/** Seconds since 1970-01-01 of a date and time on a plain calendar, without any zone. */
qint64 calendarSecs(const QDate &date, const QTime &time);
/** The date and time of calendarSecs() seconds. */
void calendarDateTime(qint64 secs, QDate *date, QTime *time);
