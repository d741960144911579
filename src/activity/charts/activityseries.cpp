#include "activity/charts/activityseries.h"

#include "activity/charts/suntimes.h"

#include <QHash>
#include <algorithm>
#include <cstdlib>

float activityPerHour(float count, float hours)
{
    return hours > 0.0f ? count / hours : 0.0f;
}

DaysSeries daysSeries(const ActivityForm &form, const RecorderClock &clock, int year,
                      const QVector<QVector<QVector<qint64>>> &candidates, bool activity)
{
    const QDate newYear(year, 1, 1);
    const int days = newYear.daysInYear();
    const MonitoringPeriod monitoring(form.monitoringBegin, form.monitoringEnd, year);
    const QVector<Period> invalid = invalidPeriodsOfYear(form.invalidTimes, clock, year);
    DaysSeries s;
    s.validHours.resize(days);
    s.values = QVector<QVector<float>>(candidates.size(), QVector<float>(days, 0.0f));
    for (int d = 0; d < days; ++d) {
        const QVector<Period> valid = validPeriodsOfDay(form, clock, newYear.addDays(d), monitoring, invalid);
        float hours = hoursOf(valid);
        if (hours < minimumValidHours)
            hours = 0.0f;
        s.validHours[d] = hours;
        for (int c = 0; c < candidates.size(); ++c) {
            float count = 0.0f;
            for (qint64 instant : candidates[c].value(d)) {
                if (inAnyPeriod(instant, valid))
                    count += 1.0f;
            }
            s.values[c][d] = activity ? activityPerHour(count, hours) : count;
        }
    }
    return s;
}

QVector<QVector<DayRecording>> recordingsByDay(const RecorderClock &clock, const ActivityRows &rows, int year)
{
    QHash<QString, int> classRow;
    for (int i = 0; i < rows.classList.size(); ++i)
        classRow.insert(rows.classList.at(i), i);
    QVector<QVector<DayRecording>> days(QDate(year, 1, 1).daysInYear());
    for (const ActivityRow &row : rows.rows) {
        if (!row.hasDateTime() || row.date.year() != year)
            continue;
        DayRecording r;
        r.instant = clock.instant(row.date, row.msOfDay);
        for (const QString &text : row.countedClasses())
            r.classRows << classRow.value(text, -1);
        days[row.date.dayOfYear() - 1].append(std::move(r));
    }
    return days;
}

void countRecording(QVector<QVector<float>> &counts, const DayRecording &r, int bin)
{
    for (int c : r.classRows) {
        if (c >= 0)
            counts[c][bin] += 1.0f;
    }
    counts.last()[bin] += 1.0f;
}

BinnedActivity activityOfCounts(QVector<float> hours, QVector<QVector<float>> counts)
{
    for (QVector<float> &row : counts) {
        for (int bin = 0; bin < row.size(); ++bin)
            row[bin] = activityPerHour(row[bin], hours[bin]);
    }
    return {std::move(hours), std::move(counts)};
}

namespace {

// The bin of the first piece (bins ascending, pieces in order) that holds the instant; -1 for none.
int binHolding(const QVector<QVector<Period>> &pieces, qint64 instant)
{
    for (int bin = 0; bin < pieces.size(); ++bin) {
        if (inAnyPeriod(instant, pieces.at(bin)))
            return bin;
    }
    return -1;
}

} // namespace

BinnedActivity binnedActivity(const ActivityForm &form, const RecorderClock &clock, const ActivityRows &rows, int year,
                              int binCount, const DayBinPieces &piecesOfDay, int standardSunHour)
{
    const QDate newYear(year, 1, 1);
    const MonitoringPeriod monitoring(form.monitoringBegin, form.monitoringEnd, year);
    const QVector<Period> invalid = invalidPeriodsOfYear(form.invalidTimes, clock, year);
    const QVector<QVector<DayRecording>> recordings = recordingsByDay(clock, rows, year);
    QVector<float> hours(binCount, 0.0f);
    QVector<QVector<float>> counts(rows.classList.size() + 1, QVector<float>(binCount, 0.0f));
    QVector<QVector<Period>> pieces(binCount);
    for (int d = 0; d < recordings.size(); ++d) {
        const QDate date = newYear.addDays(d);
        if (!monitoring.contains(date))
            continue;
        // Without a sunrise or a sunset the day adds nothing, for clock-time periods too.
        const DaySun sun = daySunTimes(form, clock, date, SunOffsetHours{12, 12, standardSunHour});
        if (sun.none())
            continue;
        QVector<Period> valid = recordingPeriodsOfDay(form, clock, date, sun);
        subtractInvalidPeriods(valid, invalid);
        for (QVector<Period> &binPieces : pieces)
            binPieces.clear();
        if (!piecesOfDay(date, sun, valid, pieces))
            continue;
        for (int bin = 0; bin < binCount; ++bin) {
            for (const Period &piece : pieces.at(bin))
                hours[bin] += float(std::llabs(piece.end - piece.begin) / 1000) / 3600.0f;
        }
        for (const DayRecording &r : recordings.at(d)) {
            // Pieces lie in the valid periods: a recording outside them needs no search.
            if (!inAnyPeriod(r.instant, valid))
                continue;
            const int bin = binHolding(pieces, r.instant);
            if (bin >= 0)
                countRecording(counts, r, bin);
        }
    }
    return activityOfCounts(std::move(hours), std::move(counts));
}

void appendOverlaps(QVector<Period> &pieces, const Period &stretch, const QVector<Period> &valid)
{
    for (const Period &v : valid) {
        if (v.end < stretch.begin || v.begin > stretch.end)
            continue;
        pieces.append({std::max(v.begin, stretch.begin), std::min(v.end, stretch.end)});
    }
}

BinnedActivity monthsActivity(const ActivityForm &form, const RecorderClock &clock, const ActivityRows &rows, int year)
{
    const QDate newYear(year, 1, 1);
    const MonitoringPeriod monitoring(form.monitoringBegin, form.monitoringEnd, year);
    const QVector<Period> invalid = invalidPeriodsOfYear(form.invalidTimes, clock, year);
    const QVector<QVector<DayRecording>> recordings = recordingsByDay(clock, rows, year);
    QVector<float> hours(12, 0.0f);
    QVector<QVector<float>> counts(rows.classList.size() + 1, QVector<float>(12, 0.0f));
    for (int d = 0; d < recordings.size(); ++d) {
        const QDate date = newYear.addDays(d);
        const int month = date.month() - 1;
        const QVector<Period> valid = validPeriodsOfDay(form, clock, date, monitoring, invalid);
        // No threshold per day: only the month's sum must reach it.
        hours[month] = hoursOf(valid, hours[month]);
        for (const DayRecording &r : recordings[d]) {
            if (inAnyPeriod(r.instant, valid))
                countRecording(counts, r, month);
        }
    }
    for (float &h : hours) {
        if (h < minimumValidHours)
            h = 0.0f;
    }
    return activityOfCounts(std::move(hours), std::move(counts));
}

namespace {

// Sunrise and sunset of a day as instants: the clock times of the sun's hours.
struct SunInstants {
    qint64 sunrise = 0;
    qint64 sunset = 0;
};

SunInstants sunInstants(const RecorderClock &clock, const QDate &date, const DaySun &sun)
{
    const auto at = [&](float hours) { return clock.instant(date, msOfWholeSeconds(sunHoursOfDay(hours))); };
    return {at(sun.sunrise), at(sun.sunset)};
}

// p percent of a night of `seconds` after (or, negative, before) an instant, in whole seconds.
qint64 percentOf(qint64 from, float seconds, int p)
{
    const float unit = seconds / 100.0f;
    return from + qint64(unit * float(p)) * 1000;
}

float secondsBetween(qint64 from, qint64 to)
{
    return float((to - from) / 1000);
}

} // namespace

NightBinParts nightBinParts(const RecorderClock &clock, const QDate &day, const DaySun &dayBefore, const DaySun &sun,
                            const DaySun &dayAfter)
{
    const qint64 midnight = clock.midnight(day);
    const qint64 nextMidnight = clock.midnight(day.addDays(1));
    const SunInstants last = sunInstants(clock, day.addDays(-1), dayBefore);
    const SunInstants today = sunInstants(clock, day, sun);
    const SunInstants next = sunInstants(clock, day.addDays(1), dayAfter);
    NightBinParts parts;
    if (sunHoursOfDay(sun.sunrise) <= sunHoursOfDay(sun.sunset)) {
        // Tonight runs into tomorrow's morning; the morning of this day belongs to last night.
        const float tonight = secondsBetween(today.sunset, next.sunrise);
        const float lastNight = secondsBetween(last.sunset, today.sunrise);
        parts[0] = {{std::max(percentOf(today.sunset, tonight, -15), today.sunrise), today.sunset}};
        bool crossed = false;
        for (int k = 1; k < nightBinCount; ++k) {
            const int a = 10 * (k - 1), b = 10 * k;
            const qint64 end = percentOf(today.sunset, tonight, b);
            if (crossed) {
                parts[k] = {{percentOf(last.sunset, lastNight, a), percentOf(last.sunset, lastNight, b)}};
            } else if (end <= nextMidnight) {
                parts[k] = {{percentOf(today.sunset, tonight, a), end}};
            } else {
                // Midnight falls in this bin: its evening from tonight, its morning from last night.
                crossed = true;
                parts[k] = {{percentOf(today.sunset, tonight, a), nextMidnight},
                            {midnight, percentOf(last.sunset, lastNight, b)}};
            }
        }
        return parts;
    }
    // The sun sets after midnight: the whole night lies on this date.
    const float night = secondsBetween(today.sunset, today.sunrise);
    const qint64 evening = percentOf(today.sunset, night, -15);
    parts[0] = {{std::max(midnight, evening), today.sunset}};
    if (evening <= midnight) {
        const float nextNight = secondsBetween(next.sunset, next.sunrise);
        parts[0].append({percentOf(next.sunset, nextNight, -15), nextMidnight});
    }
    for (int k = 1; k < nightBinCount; ++k)
        parts[k] = {{percentOf(today.sunset, night, 10 * (k - 1)), percentOf(today.sunset, night, 10 * k)}};
    return parts;
}

BinnedActivity nightActivity(const ActivityForm &form, const RecorderClock &clock, const ActivityRows &rows, int year)
{
    // The night is always sunset to sunrise proper, whatever twilight the form shows.
    const auto nightPieces = [&](const QDate &date, const DaySun &sun, const QVector<Period> &valid,
                                 QVector<QVector<Period>> &pieces) {
        // A polar day or night next door leaves the night without bounds.
        const DaySun before = daySunTimes(form, clock, date.addDays(-1));
        const DaySun after = daySunTimes(form, clock, date.addDays(1));
        if (before.none() || after.none())
            return false;
        const NightBinParts parts = nightBinParts(clock, date, before, sun, after);
        for (int bin = 0; bin < nightBinCount; ++bin) {
            for (const Period &part : parts[bin]) {
                if (part.end >= part.begin)
                    appendOverlaps(pieces[bin], part, valid);
            }
        }
        return true;
    };
    return binnedActivity(form, clock, rows, year, nightBinCount, nightPieces);
}
