#include "activity/charts/measuredactivity.h"

#include "activity/charts/validperiods.h"

#include <algorithm>
#include <cmath>
#include <numeric>

void MeasurementSeries::index(const RecorderClock &clock, int year)
{
    // Each entry lasts until the next in time; a stable order keeps the file's among equal instants.
    QVector<int> order(instants.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) { return instants.at(a) < instants.at(b); });
    ends = QVector<qint64>(instants.size());
    for (int k = 0; k < order.size(); ++k) {
        const int i = order.at(k);
        const qint64 latest = instants.at(i) + maxCoveredMs;
        ends[i] = k + 1 < order.size() ? std::min(latest, instants.at(order.at(k + 1))) : latest;
    }

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
    if (!std::isfinite(value))
        return -1;
    const int first = zeroBin ? 1 : 0;
    if (zeroBin && value == 0.0f)
        return 0;
    for (int i = 0; i < limits.size(); ++i) {
        if (value < limits.at(i))
            return first + i;
    }
    return count() - 1;
}

BinnedActivity measuredActivity(const ActivityForm &form, const RecorderClock &clock, const ActivityRows &rows,
                                int year, const MeasurementSeries &series, const BinLimits &bins, int standardSunHour)
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
            // A missing value, or an entry the next one at its instant replaced, adds nothing.
            if (binOfEntry.at(entry) < 0 || series.ends.at(entry) <= from)
                continue;
            appendOverlaps(pieces[binOfEntry.at(entry)], {from, series.ends.at(entry)}, valid);
        }
        return true;
    };
    return binnedActivity(form, clock, rows, year, bins.count(), measurementPieces, standardSunHour);
}
