#include "activity/charts/activityclock.h"

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

} // namespace

ActivityClock::ActivityClock(const QTimeZone &zone, bool daylightSaving, int year)
{
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

qint64 ActivityClock::wallMs(const QDate &date, qint64 msOfDay)
{
    return (date.toJulianDay() - epochJulianDay) * msPerDay + msOfDay;
}

int ActivityClock::spanShowing(qint64 wall) const
{
    const int n = spans.size();
    for (int i = 0; i < n; ++i) {
        const qint64 u = wall - spans[i].offsetMs;
        if ((i == 0 || u >= spans[i].from) && (i + 1 == n || u < spans[i + 1].from))
            return i;
    }
    return -1;
}

qint64 ActivityClock::instant(const QDate &date, qint64 msOfDay) const
{
    const qint64 wall = wallMs(date, msOfDay);
    const int span = spanShowing(wall);
    if (span >= 0)
        return wall - spans[span].offsetMs;
    // Skipped by a change: the first instant after the gap is the change itself.
    for (int i = 1; i < spans.size(); ++i) {
        if (wall - spans[i - 1].offsetMs >= spans[i].from && wall - spans[i].offsetMs < spans[i].from)
            return spans[i].from;
    }
    return wall - spans.last().offsetMs;   // not reached: every wall time falls in a span or a gap
}

bool ActivityClock::exists(const QDate &date, qint64 msOfDay) const
{
    return spanShowing(wallMs(date, msOfDay)) >= 0;
}

qint64 ActivityClock::midnight(const QDate &date) const
{
    if (exists(date, 0))
        return instant(date, 0);
    if (exists(date, 1000))
        return instant(date, 1000);
    return instant(date.addDays(-1), msPerDay - 1000);
}

int ActivityClock::offsetAt(qint64 instant) const
{
    int i = spans.size() - 1;
    while (i > 0 && instant < spans[i].from)
        --i;
    return spans[i].offsetMs / 1000;
}

float ActivityClock::sunZoneOffset(const QDate &date, int hour) const
{
    return float(offsetAt(instant(date, hour * 3600000LL))) / 3600.0f;
}

QDate ActivityClock::dateAt(qint64 instant) const
{
    const qint64 wall = instant + qint64(offsetAt(instant)) * 1000;
    return QDate::fromJulianDay(floorDiv(wall, msPerDay) + epochJulianDay);
}
