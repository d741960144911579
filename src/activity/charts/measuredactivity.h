#pragma once

#include "activity/charts/activityclock.h"
#include "activity/charts/activityform.h"
#include "activity/charts/activityrows.h"
#include "activity/charts/activityseries.h"

#include <QVector>

/**
 * Activity over a measured quantity of the site (air temperature,
 * precipitation, wind speed): the measurements of a data file are sorted into
 * classes of the quantity ("bins"); each bin collects the valid monitoring time
 * during which the quantity lay in it, and each recording counts in the bin of
 * the measurement in which it was made.
 */

/**
 * Measurements of a data file in the shown year. Each stands for the ten
 * minutes from its instant on, both ends included: entries closer than that
 * overlap, entries further apart leave gaps that no measurement covers.
 */
struct MeasurementSeries {
    static constexpr qint64 coveredMs = 600000;

    QVector<qint64> instants;   // on the folder's clock, in file order
    QVector<float> values;
    // The entries of each calendar day of the folder's clock (index 0 is
    // 1 January), in file order: byDay[dayStarts[d]] .. byDay[dayStarts[d + 1] - 1].
    QVector<int> byDay;
    QVector<int> dayStarts;

    void append(qint64 instant, float value)
    {
        instants.append(instant);
        values.append(value);
    }
    /** Groups the entries by the day on which they begin; an entry outside the year is in no day. */
    void indexDays(const ActivityClock &clock, int year);
};

/**
 * The classes of a quantity: an optional bin of exactly 0, then one bin below
 * each limit (ascending) and one bin of everything else. A value falls into
 * the first bin whose limit it is below, so a value that compares false with
 * every limit (not a number) falls into the last bin.
 */
struct BinLimits {
    bool zeroBin = false;
    QVector<float> limits;

    int count() const { return (zeroBin ? 1 : 0) + limits.size() + 1; }
    int binOf(float value) const;
};

/**
 * The activity over the bins of `series` in `year` (binnedActivity): each day's
 * valid periods are cut to each measurement of the day, and each piece belongs
 * to its measurement's bin.
 */
BinnedActivity measuredActivity(const ActivityForm &form, const ActivityClock &clock, const ActivityRows &rows,
                                int year, const MeasurementSeries &series, const BinLimits &bins);
