#pragma once

#include "activity/charts/activityform.h"
#include "activity/charts/suntimes.h"
#include "common/recorderclock.h"

#include <QString>
#include <QVector>

/**
 * When the recorder was really listening, day by day: the daily recording
 * period (clock times, or minutes after sunset and sunrise), inside the
 * monitoring period, less the invalid periods. Activity is recordings per hour
 * of this time, so every chart counts only recordings that lie in it.
 *
 * Periods are instants on an RecorderClock's scale with both bounds included:
 * a recording exactly at a period's end lies in it, and a period of length
 * zero (left where an invalid period only touches a recording period) still
 * takes a recording at that very instant.
 */
struct Period {
    qint64 begin = 0;
    qint64 end = 0;
    bool contains(qint64 instant) const { return begin <= instant && instant <= end; }
    bool operator==(const Period &o) const { return begin == o.begin && end == o.end; }
};

/**
 * The invalid periods of `invalidTimes` that reach into `year`, in the text's
 * order, each cut to 1 January 00:00 .. 31 December 23:59 of the year.
 * Skipped: an entry whose begin or end is not exactly "dd.MM.yyyy hh:mm" with
 * a real date and time, and one that ends before it begins (the periods dialog
 * stores such entries; subtracting one would add valid time).
 */
QVector<Period> invalidPeriodsOfYear(const QString &invalidTimes, const RecorderClock &clock, int year);

/**
 * Sunrise and sunset of a day (or the start of dawn and the end of dusk) as the
 * sun-time functions return them: local hours, not wrapped; -1 for none.
 */
struct DaySun {
    float sunrise = -1;
    float sunset = -1;
    bool none() const { return sunrise == -1.0f || sunset == -1.0f; }
};

/**
 * The hours of a date whose clock offsets a day's sun times take: with
 * daylight saving the sunrise's and the sunset's, without it one hour for
 * both. Noon for all three but where a chart says otherwise (the temperature
 * and precipitation charts' standard offset is that of 00:00, the time-of-day
 * chart has its own); two hours give different sun times only on a day the
 * zone changes its clocks between them.
 */
struct SunOffsetHours {
    int sunrise = 12;
    int sunset = 12;
    int standardTime = 12;
};

/**
 * The charts' one way to sun times: sunrise and sunset of date at the form's
 * place, proper or of `twilight`, each for the clock's offset at its hour of
 * that date.
 */
DaySun daySunTimes(const ActivityForm &form, const RecorderClock &clock, const QDate &date, SunOffsetHours at = {},
                   Twilight twilight = Twilight::None);

/** The length of the night in hours, from sunset to sunrise as hours of the day. */
float nightHours(float sunrise, float sunset);

/** What a relative recording period (sunset + startMin to sunrise + stopMin) makes of a day. */
enum class RelativeRecording {
    SunsetToSunrise, // from sunset + startMin to sunrise + stopMin, on the clock
    WholeDay,        // the polar night, or a stop delay longer than the day (beyond the start delay)
    Nothing,         // the polar day, or a start delay longer than the night (beyond the stop delay)
};

/**
 * The relative period of a day of `month`, for sunrise and sunset as hours of
 * the day (-1 when the sun neither rises nor sets: then the latitude and the
 * month tell the polar night, north in January to March, November and
 * December, south in May to September, from the polar day). The delays'
 * tests keep a period from turning inside out on the clock: 300 and -300
 * minutes on a 7-hour night would otherwise record 21 hours.
 */
RelativeRecording relativeRecordingOfDay(const ActivityForm &form, int month, float sunrise, float sunset);

/**
 * The day's recording periods, before the invalid periods are taken off:
 * - absolute: start to stop on date; over midnight the morning to the stop
 *   and the start to the night's end; start equal to stop the whole day;
 * - relative: sunset + startMin to sunrise + stopMin as clock times of date,
 *   split at midnight the same way, or the whole day or nothing as
 *   relativeRecordingOfDay has it.
 * `sun` is daySunTimes of date; only a relative period reads it.
 */
QVector<Period> recordingPeriodsOfDay(const ActivityForm &form, const RecorderClock &clock, const QDate &date,
                                      const DaySun &sun);

/** Takes each invalid period off the recording periods: splits, cuts or removes them. */
void subtractInvalidPeriods(QVector<Period> &periods, const QVector<Period> &invalid);

/**
 * The valid periods of date: none outside the monitoring period, otherwise
 * the recording periods less the invalid periods.
 */
QVector<Period> validPeriodsOfDay(const ActivityForm &form, const RecorderClock &clock, const QDate &date,
                                  const MonitoringPeriod &monitoring, const QVector<Period> &invalid);

/**
 * The hours of the periods added to `hours`: their lengths in milliseconds over
 * 3.6e6, summed period by period in single precision.
 */
float hoursOf(const QVector<Period> &periods, float hours = 0.0f);

/** True when instant lies in one of the periods. */
bool inAnyPeriod(qint64 instant, const QVector<Period> &periods);
