#include "activity/charts/timeofdaymarks.h"

#include "activity/charts/activityrows.h"
#include "activity/invalidtimestext.h"

#include <algorithm>

namespace {

constexpr int msPerSlot = 600000;
constexpr int noonMs = 12 * 3600000;
constexpr double halfDay = 43200000.0;

} // namespace

QVector<ClockPeriod> clockInvalidPeriodsOfYear(const QString &invalidTimes, int year)
{
    const ClockTime yearBegin{QDate(year, 1, 1), 0};
    const ClockTime yearEnd{QDate(year, 12, 31), (23 * 60 + 59) * 60000};
    QVector<ClockPeriod> kept;
    for (const InvalidTimesPeriod &text : readInvalidTimesText(invalidTimes)) {
        ClockPeriod p;
        if (!readInvalidTimesHalf(text.begin, &p.begin.date, &p.begin.msOfDay)
            || !readInvalidTimesHalf(text.end, &p.end.date, &p.end.msOfDay))
            continue;
        if (!(p.begin < yearBegin) && !(yearEnd < p.end))
            kept << p;
        else if (p.begin < yearEnd && yearBegin < p.end)
            kept << ClockPeriod{std::max(p.begin, yearBegin), std::min(p.end, yearEnd)};
    }
    return kept;
}

QVector<QwtIntervalSample> plainInvalidBand(const ClockPeriod &period, const TimeOfDayAxes &axes)
{
    const QDate b = period.begin.date, e = period.end.date;
    const double foot = axes.dayStart, top = axes.midnight;
    QVector<QwtIntervalSample> band{{axes.x(b) - halfDay, foot, foot}};
    const qint64 n = b.daysTo(e);
    for (qint64 d = 0; d <= n; ++d) {
        const double from = d == 0 ? axes.dayLevel(period.begin.msOfDay) : foot;
        const double to = d == n ? axes.dayLevel(period.end.msOfDay) : top;
        const double x = axes.x(b.addDays(d));
        band.append({x - halfDay, from, to});
        band.append({x + halfDay, from, to});
    }
    band.append({axes.x(e) + halfDay, foot, foot});
    return band;
}

CentredInvalidBands centredInvalidBands(const ClockPeriod &period, const TimeOfDayAxes &axes)
{
    const double mid = axes.midnight;
    CentredInvalidBands bands;
    // Morning: the parts before noon, each in the column of the day before.
    const ClockTime mb = period.begin.msOfDay < noonMs ? period.begin : ClockTime{period.begin.date.addDays(1), 0};
    const ClockTime me = period.end.msOfDay < noonMs ? period.end : ClockTime{period.end.date, noonMs};
    qint64 n = mb.date.daysTo(me.date);
    bands.morning.append({axes.x(mb.date) - 3 * halfDay, mid, mid});
    for (qint64 d = 0; d <= n; ++d) {
        const double from = d == 0 ? axes.nightLevel(mb.msOfDay) : mid;
        const double to = d == n ? axes.nightLevel(me.msOfDay) : axes.nightLevel(noonMs);
        const double x = axes.x(mb.date.addDays(d));
        bands.morning.append({x - 3 * halfDay, from, to});
        bands.morning.append({x - halfDay, from, to});
    }
    bands.morning.append({axes.x(me.date) - halfDay, mid, mid});

    // Evening: the parts from noon on, in their own day's column.
    const ClockTime eb = period.begin.msOfDay <= noonMs ? ClockTime{period.begin.date, noonMs} : period.begin;
    const ClockTime ee = period.end.msOfDay <= noonMs ? ClockTime{period.end.date, 0} : period.end;
    n = eb.date.daysTo(ee.date);
    bands.evening.append({axes.x(period.begin.date) - halfDay, mid, mid});
    for (qint64 d = 0; d <= n; ++d) {
        const double from = d == 0 ? axes.dayLevel(eb.msOfDay) : axes.dayLevel(noonMs);
        double to = mid;
        if (d == n) // an end at or before noon leaves the last evening empty
            to = n == 0 || ee.msOfDay > noonMs ? axes.dayLevel(ee.msOfDay) : axes.dayLevel(noonMs);
        const double x = axes.x(period.begin.date.addDays(d));
        bands.evening.append({x - halfDay, from, to});
        bands.evening.append({x + halfDay, from, to});
    }
    bands.evening.append({axes.x(period.end.date) + halfDay, mid, mid});
    return bands;
}

QVector<int> recordingSlotCounts(const ActivityRows &rows, int classIndex, int year, TimeOfDayLayout layout)
{
    const bool centred = layout == TimeOfDayLayout::CentredNight;
    const QDate firstColumn = centred ? QDate(year - 1, 12, 31) : QDate(year, 1, 1);
    const int columns = QDate(year, 1, 1).daysInYear() + (centred ? 1 : 0);
    QVector<int> counts(columns * slotsPerDay, 0);
    for (const ActivityRow &row : rows.rows) {
        if (!row.hasDateTime() || row.date.year() != year || !rows.rowInCurve(row, classIndex))
            continue;
        // The day from the date, the slot from the clock time: never from time elapsed since midnight,
        // which the clock change days stretch or shrink by an hour.
        const QDate day = centred && row.msOfDay < noonMs ? row.date.addDays(-1) : row.date;
        const qint64 column = firstColumn.daysTo(day);
        const int slot = row.msOfDay / msPerSlot;
        if (column >= 0 && column < columns && slot < slotsPerDay)
            ++counts[int(column) * slotsPerDay + slot];
    }
    return counts;
}

int recordingMarkerAlpha(int count)
{
    return count >= 10 ? 255 : int(count * 25.5);
}

QPointF recordingMarkerPosition(int index, int year, const TimeOfDayAxes &axes, TimeOfDayLayout layout)
{
    const bool centred = layout == TimeOfDayLayout::CentredNight;
    const QDate firstColumn = centred ? QDate(year - 1, 12, 31) : QDate(year, 1, 1);
    const int slot = index % slotsPerDay;
    const qint64 slotStart = qint64(slot / 6.0 * 3600.0 * 1000.0);
    const double y = centred && slot < slotsPerDay / 2 ? axes.nightLevel(slotStart) : axes.dayLevel(slotStart);
    return {axes.x(firstColumn.addDays(index / slotsPerDay)), y};
}
