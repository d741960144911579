#include "activity/charts/measuredactivity.h"

#include "activity/charts/validperiods.h"

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

BinnedActivity measuredActivity(const ActivityForm &form, const ActivityClock &clock, const ActivityRows &rows,
                                int year, const MeasurementSeries &series, const BinLimits &bins)
{
    const QDate newYear(year, 1, 1);
    QVector<int> binOfEntry(series.values.size());
    for (int i = 0; i < series.values.size(); ++i)
        binOfEntry[i] = bins.binOf(series.values.at(i));
    const auto measurementPieces = [&](const QDate &date, const DaySun &, const QVector<Period> &valid,
                                       QVector<QVector<Period>> &pieces) {
        const int d = int(newYear.daysTo(date));
        for (int k = series.dayStarts.value(d); k < series.dayStarts.value(d + 1); ++k) {
            const int entry = series.byDay.at(k);
            const qint64 from = series.instants.at(entry);
            appendOverlaps(pieces[binOfEntry.at(entry)], {from, from + MeasurementSeries::coveredMs}, valid);
        }
        return true;
    };
    return binnedActivity(form, clock, rows, year, bins.count(), measurementPieces);
}
