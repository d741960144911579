#pragma once

#include "activity/charts/activityform.h"
#include "activity/charts/activityrows.h"
#include "activity/charts/activityseries.h"
#include "common/recorderclock.h"

#include <QVector>

/**
 * Activity over a measured quantity of the site (air temperature,
 * precipitation, wind speed): the measurements of a data file are sorted into
 * classes of the quantity ("bins"); each bin collects the valid monitoring time
 * during which the quantity lay in it, and each recording counts in the bin of
 * the measurement in which it was made.
 */

/**
 * Measurements of a data file in the shown year. Each stands for the time
 * from its instant to the next entry's, both ends included, but for ten
 * minutes at most: a log of one value a minute gives each value its minute,
 * not ten overlapping ones; entries further apart than ten minutes leave gaps
 * that no measurement covers. An entry whose value is missing (not a finite
 * number) covers its time for no bin.
 */
struct MeasurementSeries {
    static constexpr qint64 maxCoveredMs = 600000;

    QVector<qint64> instants; // on the folder's clock, in file order
    QVector<float> values;    // NaN where the file gives no value
    QVector<qint64> ends;     // where each entry's time ends (index())
    // The entries of each calendar day of the folder's clock (index 0 is
    // 1 January), in file order: byDay[dayStarts[d]] .. byDay[dayStarts[d + 1] - 1].
    QVector<int> byDay;
    QVector<int> dayStarts;

    void append(qint64 instant, float value)
    {
        instants.append(instant);
        values.append(value);
    }
    /**
     * Groups the entries by the day on which they begin (an entry outside the
     * year is in no day) and ends each where the next one in time begins, ten
     * minutes after its own instant at the latest. Of entries at one instant
     * the last in the file stands; the others cover nothing.
     */
    void index(const RecorderClock &clock, int year);
};

/**
 * The classes of a quantity: an optional bin of exactly 0, then one bin below
 * each limit (ascending) and one bin of everything else. A value falls into
 * the first bin whose limit it is below. A value that is not a finite number
 * ("nan", "inf", a missing one) falls into no bin: -1.
 */
struct BinLimits {
    bool zeroBin = false;
    QVector<float> limits;

    int count() const { return (zeroBin ? 1 : 0) + limits.size() + 1; }
    int binOf(float value) const;
};

/**
 * The activity over the bins of `series` in `year` (binnedActivity, with
 * `standardSunHour`): each day's valid periods are cut to each measurement of
 * the day, and each piece belongs to its measurement's bin.
 */
BinnedActivity measuredActivity(const ActivityForm &form, const RecorderClock &clock, const ActivityRows &rows,
                                int year, const MeasurementSeries &series, const BinLimits &bins,
                                int standardSunHour = 12);
