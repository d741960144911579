#include "common/recorderclock.h"

#include <QDateTime>
#include <limits>

namespace {

const qint64 epochJulianDay = QDate(1970, 1, 1).toJulianDay();

qint64 floorDiv(qint64 a, qint64 b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

QDateTime utcMidnight(int year)
{
    return QDateTime(QDate(year, 1, 1), QTime(0, 0), Qt::UTC);
}

QDateTime utcAt(qint64 instant)
{
    return QDateTime::fromMSecsSinceEpoch(instant, Qt::UTC);
}

} // namespace

RecorderClock::RecorderClock(const QTimeZone &zone, bool daylightSaving, Changes changes, int year)
    : zone(zone)
    , daylightSaving(daylightSaving)
    , changes(changes)
{
    if (changes != OnTransitions)
        return;
    const qint64 farPast = std::numeric_limits<qint64>::min() / 2;
    // The night chart looks a day beyond the year, the invalid periods and
    // the monitoring bounds stay inside it: a year on each side is plenty.
    const QDateTime from = utcMidnight(year - 1);
    spans.append({farPast, (daylightSaving ? zone.offsetFromUtc(from) : zone.standardTimeOffset(from)) * 1000});
    if (!zone.hasTransitions())
        return;
    for (const QTimeZone::OffsetData &t : zone.transitions(from, utcMidnight(year + 2))) {
        const int offsetMs = (daylightSaving ? t.offsetFromUtc : t.standardTimeOffset) * 1000;
        // A change of name or of the summer-time flag alone moves no clock.
        if (offsetMs != spans.last().offsetMs)
            spans.append({t.atUtc.toMSecsSinceEpoch(), offsetMs});
    }
}

qint64 RecorderClock::wallMs(const QDate &date, qint64 msOfDay)
{
    return (date.toJulianDay() - epochJulianDay) * msPerDay + msOfDay;
}

void RecorderClock::wallDateTime(qint64 wallMs, QDate *date, QTime *time)
{
    const qint64 days = floorDiv(wallMs, msPerDay);
    *date = QDate::fromJulianDay(days + epochJulianDay);
    *time = QTime::fromMSecsSinceStartOfDay(int(wallMs - days * msPerDay));
}

int RecorderClock::readingOffset(qint64 wall, bool *shown) const
{
    QDate date;
    QTime time;
    wallDateTime(wall, &date, &time);
    *shown = true;
    if (daylightSaving) {
        const QDateTime local(date, time, zone);
        if (local.isValid())
            return local.offsetFromUtc();
        *shown = false;
    }
    // Noon UTC of the day: a standard offset changes only by law, never within a day of recordings.
    return zone.standardTimeOffset(QDateTime(date, QTime(12, 0), Qt::UTC));
}

int RecorderClock::spanShowing(qint64 wall) const
{
    const int n = spans.size();
    for (int i = 0; i < n; ++i) {
        const qint64 u = wall - spans[i].offsetMs;
        if ((i == 0 || u >= spans[i].from) && (i + 1 == n || u < spans[i + 1].from))
            return i;
    }
    return -1;
}

qint64 RecorderClock::instant(const QDate &date, qint64 msOfDay) const
{
    const qint64 wall = wallMs(date, msOfDay);
    if (changes == PerReading) {
        bool shown = false;
        return wall - qint64(readingOffset(wall, &shown)) * 1000;
    }
    const int span = spanShowing(wall);
    if (span >= 0)
        return wall - spans[span].offsetMs;
    // Skipped by a change: the first instant after the gap is the change itself.
    for (int i = 1; i < spans.size(); ++i) {
        if (wall - spans[i - 1].offsetMs >= spans[i].from && wall - spans[i].offsetMs < spans[i].from)
            return spans[i].from;
    }
    return wall - spans.last().offsetMs; // not reached: every wall time falls in a span or a gap
}

bool RecorderClock::exists(const QDate &date, qint64 msOfDay) const
{
    const qint64 wall = wallMs(date, msOfDay);
    if (changes == PerReading) {
        bool shown = false;
        readingOffset(wall, &shown);
        return shown;
    }
    return spanShowing(wall) >= 0;
}

qint64 RecorderClock::midnight(const QDate &date) const
{
    if (exists(date, 0))
        return instant(date, 0);
    if (exists(date, 1000))
        return instant(date, 1000);
    return instant(date.addDays(-1), msPerDay - 1000);
}

int RecorderClock::offsetAt(qint64 instant) const
{
    if (changes == PerReading)
        return daylightSaving ? zone.offsetFromUtc(utcAt(instant)) : zone.standardTimeOffset(utcAt(instant));
    int i = spans.size() - 1;
    while (i > 0 && instant < spans[i].from)
        --i;
    return spans[i].offsetMs / 1000;
}

float RecorderClock::sunZoneOffset(const QDate &date, int hour) const
{
    return float(offsetAt(instant(date, hour * 3600000LL))) / 3600.0f;
}

QDate RecorderClock::dateAt(qint64 instant) const
{
    const qint64 wall = instant + qint64(offsetAt(instant)) * 1000;
    return QDate::fromJulianDay(floorDiv(wall, msPerDay) + epochJulianDay);
}
