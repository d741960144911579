#include "activity/charts/measuredactivity.h"

#include "activity/charts/validperiods.h"

#include <algorithm>
#include <cstdlib>

void MeasurementSeries::indexDays(const ActivityClock &clock, int year)
{
    const QDate newYear(year, 1, 1);
    const int days = newYear.daysInYear();
    // Counting sort by day: linear, and each day keeps the file order.
    QVector<int> dayOf(instants.size(), -1);
    dayStarts = QVector<int>(days + 1, 0);
    for (int i = 0; i < instants.size(); ++i) {
        const qint64 d = newYear.daysTo(clock.dateAt(instants.at(i)));
        if (d >= 0 && d < days) {
            dayOf[i] = int(d);
            ++dayStarts[int(d) + 1];
        }
    }
    for (int d = 0; d < days; ++d)
        dayStarts[d + 1] += dayStarts[d];
    byDay = QVector<int>(dayStarts.last());
    QVector<int> next = dayStarts;
    for (int i = 0; i < instants.size(); ++i) {
        if (dayOf.at(i) >= 0)
            byDay[next[dayOf.at(i)]++] = i;
    }
}

int BinLimits::binOf(float value) const
{
    const int first = zeroBin ? 1 : 0;
    if (zeroBin && value == 0.0f)
        return 0;
    for (int i = 0; i < limits.size(); ++i) {
        if (value < limits.at(i))
            return first + i;
    }
    return count() - 1;
}

namespace {

// The bin of the first piece (bins ascending, pieces in order) that holds the instant; -1 for none.
int binHolding(const QVector<QVector<Period>> &pieces, qint64 instant)
{
    for (int bin = 0; bin < pieces.size(); ++bin) {
        for (const Period &piece : pieces.at(bin)) {
            if (piece.contains(instant))
                return bin;
        }
    }
    return -1;
}

} // namespace

BinnedActivity measuredActivity(const ActivityForm &form, const ActivityClock &clock, const ActivityRows &rows,
                                int year, const MeasurementSeries &series, const BinLimits &bins)
{
    const QDate newYear(year, 1, 1);
    const int binCount = bins.count();
    const MonitoringPeriod monitoring(form.monitoringBegin, form.monitoringEnd, year);
    const QVector<Period> invalid = invalidPeriodsOfYear(form.invalidTimes, clock, year);
    const QVector<QVector<DayRecording>> recordings = recordingsByDay(clock, rows, year);
    QVector<int> binOfEntry(series.values.size());
    for (int i = 0; i < series.values.size(); ++i)
        binOfEntry[i] = bins.binOf(series.values.at(i));

    QVector<float> hours(binCount, 0.0f);
    QVector<QVector<float>> counts(rows.classList.size() + 1, QVector<float>(binCount, 0.0f));
    QVector<QVector<Period>> pieces(binCount);
    for (int d = 0; d < recordings.size(); ++d) {
        const QDate date = newYear.addDays(d);
        if (!monitoring.contains(date))
            continue;
        // Without a sunrise or a sunset the day adds nothing, for clock-time periods too.
        const DaySun sun = daySunTimes(form, clock, date);
        if (sun.none())
            continue;
        QVector<Period> valid = recordingPeriodsOfDay(form, clock, date, sun);
        subtractInvalidPeriods(valid, invalid);
        for (QVector<Period> &binPieces : pieces)
            binPieces.clear();
        for (int k = series.dayStarts.value(d); k < series.dayStarts.value(d + 1); ++k) {
            const int entry = series.byDay.at(k);
            const qint64 from = series.instants.at(entry);
            const qint64 to = from + MeasurementSeries::coveredMs;
            for (const Period &p : valid) {
                if (p.end < from || p.begin > to)
                    continue;
                pieces[binOfEntry.at(entry)].append({std::max(p.begin, from), std::min(p.end, to)});
            }
        }
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
