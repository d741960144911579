#include "activity/charts/validperiods.h"

#include "activity/charts/suntimes.h"
#include "activity/invalidtimestext.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr qint64 msPerHour = 3600000;

// A half of an invalid period on the clock's scale.
bool readHalf(const QString &half, const RecorderClock &clock, qint64 *instant)
{
    QDate date;
    int msOfDay = 0;
    if (!readInvalidTimesHalf(half, &date, &msOfDay))
        return false;
    *instant = clock.instant(date, msOfDay);
    return true;
}

// Start s and stop p of one day on its clock: over midnight it records the
// morning and the evening, with equal ends all day.
QVector<Period> periodsBetween(const RecorderClock &clock, const QDate &date, qint64 start, qint64 stop)
{
    const qint64 dayStart = clock.midnight(date);
    const qint64 dayEnd = clock.midnight(date.addDays(1));
    if (start < stop)
        return {{start, stop}};
    if (start > stop)
        return {{dayStart, stop}, {start, dayEnd}};
    return {{dayStart, dayEnd}};
}

bool polarNightMonth(double latitude, int month)
{
    if (latitude > 0)
        return month <= 3 || month >= 11;
    if (latitude < 0)
        return month >= 5 && month <= 9;
    return false;
}

} // namespace

QVector<Period> invalidPeriodsOfYear(const QString &invalidTimes, const RecorderClock &clock, int year)
{
    const qint64 yearBegin = clock.instant(QDate(year, 1, 1), 0);
    const qint64 yearEnd = clock.instant(QDate(year, 12, 31), (23 * 60 + 59) * 60000LL);
    QVector<Period> kept;
    for (const InvalidTimesPeriod &text : readInvalidTimesText(invalidTimes)) {
        Period p;
        if (!readHalf(text.begin, clock, &p.begin) || !readHalf(text.end, clock, &p.end) || p.end < p.begin)
            continue;
        if (p.begin >= yearBegin && p.end <= yearEnd)
            kept << p;
        else if (p.begin < yearEnd && p.end > yearBegin)
            kept << Period{std::max(p.begin, yearBegin), std::min(p.end, yearEnd)};
    }
    return kept;
}

DaySun daySunTimes(const ActivityForm &form, const RecorderClock &clock, const QDate &date, SunOffsetHours at,
                   Twilight twilight)
{
    const auto sunTime = [&](SunEvent event, int daylightSavingHour) {
        const float offset = clock.sunZoneOffset(date, form.daylightSaving ? daylightSavingHour : at.standardTime);
        return sunEventHours(event, date.year(), date.month(), date.day(), float(form.latitude), float(form.longitude),
                             offset, 0, twilight);
    };
    return {sunTime(SunEvent::Rise, at.sunrise), sunTime(SunEvent::Set, at.sunset)};
}

float nightHours(float sunrise, float sunset)
{
    return sunset > sunrise ? 24.0f - (sunset - sunrise) : sunrise - sunset;
}

RelativeRecording relativeRecordingOfDay(const ActivityForm &form, int month, float sunrise, float sunset)
{
    if (sunrise == -1.0f || sunset == -1.0f)
        return polarNightMonth(form.latitude, month) ? RelativeRecording::WholeDay : RelativeRecording::Nothing;
    const float startDelay = float(form.startMin) / 60.0f;
    const float stopDelay = float(form.stopMin) / 60.0f;
    const float night = nightHours(sunrise, sunset);
    if (startDelay - stopDelay > night)
        return RelativeRecording::Nothing;
    if (stopDelay - startDelay > 24.0f - night)
        return RelativeRecording::WholeDay;
    return RelativeRecording::SunsetToSunrise;
}

QVector<Period> recordingPeriodsOfDay(const ActivityForm &form, const RecorderClock &clock, const QDate &date,
                                      const DaySun &sun)
{
    if (form.absolutePeriod) {
        return periodsBetween(clock, date, clock.instant(date, form.startTime.msecsSinceStartOfDay()),
                              clock.instant(date, form.stopTime.msecsSinceStartOfDay()));
    }
    const float sunrise = sun.none() ? -1.0f : sunHoursOfDay(sun.sunrise);
    const float sunset = sun.none() ? -1.0f : sunHoursOfDay(sun.sunset);
    switch (relativeRecordingOfDay(form, date.month(), sunrise, sunset)) {
    case RelativeRecording::WholeDay:
        return {{clock.midnight(date), clock.midnight(date.addDays(1))}};
    case RelativeRecording::Nothing:
        return {};
    case RelativeRecording::SunsetToSunrise:
        break;
    }
    const float start = sunHoursOfDay(sun.sunset + float(form.startMin) / 60.0f);
    const float stop = sunHoursOfDay(sun.sunrise + float(form.stopMin) / 60.0f);
    return periodsBetween(clock, date, clock.instant(date, msOfWholeSeconds(start)),
                          clock.instant(date, msOfWholeSeconds(stop)));
}

void subtractInvalidPeriods(QVector<Period> &periods, const QVector<Period> &invalid)
{
    for (const Period &bad : invalid) {
        // From the last to the first, so that a period split off is not cut again by the same invalid period.
        for (int i = periods.size() - 1; i >= 0; --i) {
            Period &p = periods[i];
            if (bad.begin < p.begin && bad.end > p.end) {
                periods.remove(i);
            } else if (bad.begin >= p.begin && bad.end <= p.end) {
                const Period tail{bad.end, p.end};
                p.end = bad.begin;
                periods.append(tail);
            } else if (bad.begin < p.begin && p.begin <= bad.end && bad.end <= p.end) {
                p.begin = bad.end;
            } else if (p.begin <= bad.begin && bad.begin <= p.end && bad.end > p.end) {
                p.end = bad.begin;
            }
        }
    }
}

QVector<Period> validPeriodsOfDay(const ActivityForm &form, const RecorderClock &clock, const QDate &date,
                                  const MonitoringPeriod &monitoring, const QVector<Period> &invalid)
{
    if (!monitoring.contains(date))
        return {};
    QVector<Period> periods =
        recordingPeriodsOfDay(form, clock, date, form.absolutePeriod ? DaySun() : daySunTimes(form, clock, date));
    subtractInvalidPeriods(periods, invalid);
    return periods;
}

float hoursOf(const QVector<Period> &periods, float hours)
{
    for (const Period &p : periods)
        hours = float(double(hours) + double(std::llabs(p.end - p.begin)) / double(msPerHour));
    return hours;
}

bool inAnyPeriod(qint64 instant, const QVector<Period> &periods)
{
    return std::any_of(periods.begin(), periods.end(), [instant](const Period &p) { return p.contains(instant); });
}
