#pragma once

#include "activity/charts/activityform.h"
#include "activity/charts/activityrows.h"
#include "activity/charts/validperiods.h"
#include "common/recorderclock.h"

#include <QVector>
#include <array>
#include <functional>

/**
 * The numbers of the activity charts over days, months and night time, from
 * the values a drawing took (form, rows, clock of the shown year): pure
 * functions, so that the drawing only hands them to the plot.
 *
 * Hours and counts are single-precision, as the charts have always summed
 * them. A day or month with less than 0.1 valid hours counts as having none.
 * Where a day, month or bin has no valid hours its activity is 0, even if a
 * recording lies on the few instants it has: a value divided by almost nothing
 * would reach the axes and the CSV file as 1e38 or infinity.
 */

/** Below this a day's or a month's valid time counts as none (six minutes). */
constexpr float minimumValidHours = 0.1f;

/** Recordings per valid hour, or 0 without valid hours. */
float activityPerHour(float count, float hours);

struct DaysSeries {
    QVector<float> validHours;      // per day from 1 January; 0 below minimumValidHours
    QVector<QVector<float>> values; // [curve][day]: counts, or recordings per valid hour
};

/**
 * The days chart: for each day of `year` its valid hours, and for each curve
 * the candidates (dayCandidates: recordings or event starts) that lie in the
 * day's valid periods, divided by the hours when `activity`.
 * `candidates` is indexed [curve][day].
 */
DaysSeries daysSeries(const ActivityForm &form, const RecorderClock &clock, int year,
                      const QVector<QVector<QVector<qint64>>> &candidates, bool activity);

/**
 * Counts and activities per class over the bins of a chart (months, night-time
 * bins): row r < classList.size() is classList[r], the last row "All Classes",
 * kept even where it is not drawn. Curve i of the rows' curveList draws row i.
 */
struct BinnedActivity {
    QVector<float> hours;             // per bin
    QVector<QVector<float>> activity; // [class row][bin]: recordings per valid hour
};

/** A recording of the shown year on the clock, with the class rows it counts for ("All Classes" aside). */
struct DayRecording {
    qint64 instant = 0;
    QVector<int> classRows; // classList indices: each class it lists up to the first empty one
};

/** The recordings of each day of the year (index 0 is 1 January), in file-list order. */
QVector<QVector<DayRecording>> recordingsByDay(const RecorderClock &clock, const ActivityRows &rows, int year);

/** Adds the recording to its classes' rows and to "All Classes" (the last row) in `bin`. */
void countRecording(QVector<QVector<float>> &counts, const DayRecording &r, int bin);

/** Each count over its bin's hours (activityPerHour). */
BinnedActivity activityOfCounts(QVector<float> hours, QVector<QVector<float>> counts);

/**
 * A day's valid time cut into a chart's bins: `pieces[bin]` receives the
 * pieces of `valid` that fall in the bin, in the order in which they are to
 * take recordings. False when the day adds nothing after all.
 */
using DayBinPieces = std::function<bool(const QDate &date, const DaySun &sun, const QVector<Period> &valid,
                                        QVector<QVector<Period>> &pieces)>;

/**
 * The day loop of the binned charts (night-time bins, measured quantities). A
 * day of `year` counts when it lies in the monitoring period and the sun rises
 * and sets on it (whatever the period type); `piecesOfDay` then cuts its valid
 * periods into pieces per bin. Each piece adds its whole seconds to its bin's
 * hours. A recording of the day counts in the first piece, in ascending bin
 * order and within a bin in the order made, that holds it: a recording on the
 * border of two pieces counts once, in the lower bin. It counts for each class
 * it lists up to the first empty one (the unassigned ones for the empty class)
 * and for all classes. A bin without valid time has activity 0, even when a
 * piece of length zero took a recording made at that very instant. The sun
 * times are daySunTimes's, with `standardSunHour`.
 */
BinnedActivity binnedActivity(const ActivityForm &form, const RecorderClock &clock, const ActivityRows &rows, int year,
                              int binCount, const DayBinPieces &piecesOfDay, int standardSunHour = 12);

/** Appends the overlap of `stretch` with each valid period that reaches it; one that only touches gives a piece of length zero. */
void appendOverlaps(QVector<Period> &pieces, const Period &stretch, const QVector<Period> &valid);

/**
 * The months chart: per month of `year` the valid hours of its days inside the
 * monitoring period (0 below minimumValidHours for the month as a whole), and
 * per class the recordings in those valid periods over those hours. A
 * recording counts for each class it lists up to the first empty one (the
 * unassigned ones for the empty class) and once for "All Classes".
 */
BinnedActivity monthsActivity(const ActivityForm &form, const RecorderClock &clock, const ActivityRows &rows, int year);

/** The night-time bins: -0.15 to 0 (the evening before sunset), then tenths of the night from sunset to sunrise. */
constexpr int nightBinCount = 11;
using NightBinParts = std::array<QVector<Period>, nightBinCount>;

/**
 * Where the night-time bins of day D lie on the clock, from the sun times of
 * the day before, the day and the day after (none of them polar): tonight's
 * bins up to midnight, the bin that midnight falls in split into tonight's
 * evening part and last night's morning part, later bins from last night. When
 * the sun sets after midnight (before it rises on the same date) the night is
 * that of D alone. A part may end before it begins; such a part holds nothing.
 */
NightBinParts nightBinParts(const RecorderClock &clock, const QDate &day, const DaySun &dayBefore, const DaySun &sun,
                            const DaySun &dayAfter);

/**
 * The night-time chart: per bin the valid hours over the days of `year`
 * (inside the monitoring period, with sunrise and sunset on the day and its
 * neighbours), and per class the recordings in those valid parts over those
 * hours. A recording on the boundary of two bins counts in the lower one.
 */
BinnedActivity nightActivity(const ActivityForm &form, const RecorderClock &clock, const ActivityRows &rows, int year);
