#pragma once

#include <QDate>
#include <QTimeZone>
#include <QVector>

/**
 * The clock the folder's recorder wrote its times with, turned into one time
 * scale on which every date-time of an activity chart is compared: recording
 * times, recording periods, invalid periods and year bounds. A point of the
 * scale is an instant, milliseconds since 1970-01-01 00:00 UTC.
 *
 * With daylight saving considered the clock follows the zone's rules;
 * otherwise it keeps the zone's standard offset, as a recorder that ignores
 * summer time does: the standard offset as it stands at each instant, for a
 * zone may move its standard time within a year (Pyongyang by half an hour in
 * August 2015, Whitehorse by an hour in November 2020).
 *
 * Clock times are built in the zone, not by adding elapsed seconds to
 * midnight, so that "sunset plus 30 minutes" is right on the two days a year
 * the clocks change. A clock time that a change skips is taken as the first
 * instant after the gap; a time that occurs twice (the hour repeated in
 * autumn) as its first occurrence.
 *
 * Conversions look the offset up among the zone's transitions from the year
 * before the shown one to the year after, which the constructor gathers once,
 * so that a year of recordings converts without asking the zone database per
 * recording.
 */
class ActivityClock
{
public:
    ActivityClock(const QTimeZone &zone, bool daylightSaving, int year);

    static constexpr qint64 msPerDay = 86400000;

    /** The instant at which the clock shows msOfDay (0 .. msPerDay, may reach the next day) on date. */
    qint64 instant(const QDate &date, qint64 msOfDay) const;
    /** True when the clock shows msOfDay on date at some instant (false inside a skipped hour). */
    bool exists(const QDate &date, qint64 msOfDay) const;
    /**
     * The start of date: 00:00, or where the clocks skip midnight 00:00:01,
     * and where that is skipped too 23:59:59 of the day before.
     */
    qint64 midnight(const QDate &date) const;
    /** The clock's offset from UTC at an instant, in seconds. */
    int offsetAt(qint64 instant) const;
    /**
     * The zone offset, in hours, that sun times of date are computed for: the
     * clock's offset at `hour` o'clock of date.
     */
    float sunZoneOffset(const QDate &date, int hour = 12) const;

    /** The clock's date and milliseconds of the day at an instant. */
    QDate dateAt(qint64 instant) const;

    /**
     * A clock reading as such: milliseconds since 1970-01-01 00:00 on a clock
     * face, as if that clock were UTC. Readings compare as written, whatever
     * zone the clock kept.
     */
    static qint64 wallMs(const QDate &date, qint64 msOfDay);

private:
    struct Span {
        qint64 from;   // first instant of the span (the first span reaches back without bound)
        int offsetMs;
    };
    QVector<Span> spans;   // ascending; the last reaches forward without bound

    /** The first span in which the clock shows this wall time; -1 when a change skips it. */
    int spanShowing(qint64 wall) const;
};
