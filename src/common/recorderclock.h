#pragma once

#include <QDate>
#include <QTime>
#include <QTimeZone>
#include <QVector>

/**
 * The clock a recorder wrote its times with: the zone it was set to and
 * whether it followed daylight saving. Turns the clock's readings (a date and
 * a time of day, as a file-list row shows them) into instants, milliseconds
 * since 1970-01-01 00:00 UTC, in that zone alone, so that neither an export
 * nor a chart depends on the zone of the machine it runs on. QtCore only.
 *
 * With daylight saving the clock follows the zone's rules; without, it keeps
 * the zone's standard offset, as a recorder that ignores summer time does.
 * The exports and the activity charts read every ordinary time alike; they
 * part only where the zone's offset changes, and there they differ on
 * purpose (see Changes).
 */
class RecorderClock
{
public:
    /**
     * How a reading near a change of the zone's offset is placed. The two
     * ways differ in three things:
     * - a reading the autumn change shows twice: PerReading takes its later
     *   occurrence, in standard time, as QDateTime does; OnTransitions the
     *   first, in summer time;
     * - a reading the spring change skips: PerReading takes the standard
     *   offset of its day (a clock that shows it had not changed yet, so
     *   02:30 CET is 03:30 CEST); OnTransitions the change itself (03:00 CEST);
     * - without daylight saving: PerReading takes one standard offset for the
     *   whole calendar day of the reading (the one at noon UTC);
     *   OnTransitions the standard offset as it stands at each instant, so a
     *   zone that moves its standard time within a day (Pyongyang in 2015,
     *   Volgograd in 2020) moves the clock there and then.
     */
    enum Changes {
        /**
         * Each reading on its own, as QDateTime reads it in the zone: the
         * CSV and Tavron exports, which place each row and nothing else.
         */
        PerReading,
        /**
         * On the zone's transitions from the year before `year` to the year
         * after, gathered once by the constructor, so that a year of
         * recordings converts without asking the zone database per reading:
         * the activity charts, whose recording times, recording periods,
         * invalid periods and year bounds must all lie on one scale, and
         * whose recording periods are built in the zone ("sunset plus 30
         * minutes" stays right on the two days a year the clocks change).
         * Beyond that window the offsets at its edges hold.
         */
        OnTransitions,
    };

    /** `year` is the year OnTransitions gathers the transitions around; PerReading does not use it. */
    RecorderClock(const QTimeZone &zone, bool daylightSaving, Changes changes, int year = 0);

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
    /**
     * The clock's offset from UTC at an instant, in seconds. PerReading gives
     * the zone's own (its standard one without daylight saving), which on a
     * day the standard offset moves may differ from what instant() took for
     * a reading of that day.
     */
    int offsetAt(qint64 instant) const;
    /**
     * The zone offset, in hours, that sun times of date are computed for: the
     * clock's offset at `hour` o'clock of date.
     */
    float sunZoneOffset(const QDate &date, int hour = 12) const;

    /** The clock's date at an instant. */
    QDate dateAt(qint64 instant) const;

    /**
     * A clock reading as such: milliseconds since 1970-01-01 00:00 on a clock
     * face, as if that clock were UTC. Readings compare as written, whatever
     * zone the clock kept.
     */
    static qint64 wallMs(const QDate &date, qint64 msOfDay);
    /** The date and time of day of a wallMs() value. */
    static void wallDateTime(qint64 wallMs, QDate *date, QTime *time);

private:
    struct Span {
        qint64 from; // first instant of the span (the first span reaches back without bound)
        int offsetMs;
    };

    /** The first span in which the clock shows this wall time; -1 when a change skips it. */
    int spanShowing(qint64 wall) const;
    /** PerReading: the offset in seconds of a reading at this wall time, and whether the zone shows it at all. */
    int readingOffset(qint64 wall, bool *shown) const;

    QTimeZone zone;
    bool daylightSaving;
    Changes changes;
    QVector<Span> spans; // OnTransitions only; ascending, the last reaching forward without bound
};
