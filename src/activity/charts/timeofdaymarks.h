#pragma once

#include "activity/charts/timeofdayseries.h"

#include <QDate>
#include <QPointF>
#include <QString>
#include <QVector>
#include <qwt_samples.h>

struct ActivityRows;

/**
 * What the time-of-day chart draws over its series: the invalid periods as
 * bands and the recordings as dots, one per class and ten-minute slot. Both
 * are placed by the local clock reading, as they are written (a recording's
 * date and time columns, an invalid period's "dd.MM.yyyy hh:mm"): a time in an
 * hour the clocks skip or repeat stands where its clock says.
 */

/** A reading of the local clock. */
struct ClockTime {
    QDate date;
    int msOfDay = 0;

    bool operator<(const ClockTime &o) const { return date < o.date || (date == o.date && msOfDay < o.msOfDay); }
    bool operator==(const ClockTime &o) const { return date == o.date && msOfDay == o.msOfDay; }
};

struct ClockPeriod {
    ClockTime begin;
    ClockTime end;
};

/**
 * The invalid periods of the "invalidTimes" text that reach into `year`, in
 * the text's order, each cut to 1 January 00:00 .. 31 December 23:59. An entry
 * whose begin or end does not read as "dd.MM.yyyy hh:mm" is skipped; one whose
 * end lies before its begin is kept as it stands and draws an empty band.
 */
QVector<ClockPeriod> clockInvalidPeriodsOfYear(const QString &invalidTimes, int year);

/**
 * The plain layout's band of one period: over each day's column from the
 * period's part of that day, opened and closed on the axis's foot.
 */
QVector<QwtIntervalSample> plainInvalidBand(const ClockPeriod &period, const TimeOfDayAxes &axes);

/**
 * The centred layout's two bands of one period: the morning band holds its
 * parts before noon (in the column of the day before), the evening band its
 * parts from noon on; both opened and closed on the midnight level.
 */
struct CentredInvalidBands {
    QVector<QwtIntervalSample> morning;
    QVector<QwtIntervalSample> evening;
};
CentredInvalidBands centredInvalidBands(const ClockPeriod &period, const TimeOfDayAxes &axes);

constexpr int slotsPerDay = 144; // ten-minute slots

/**
 * The recordings of class `classIndex` of `rows` dated in `year`, counted per
 * column and ten-minute slot of the clock: entry column x 144 + slot. Plain:
 * a column per day from 1 January. Centred: a column per night, from the night
 * that begins on 31 December of the year before (a recording before noon
 * belongs to the night of the day before) to the one that begins on the
 * year's 31 December.
 */
QVector<int> recordingSlotCounts(const ActivityRows &rows, int classIndex, int year, TimeOfDayLayout layout);

/** The dot's opacity: 25.5 per recording, opaque from ten. */
int recordingMarkerAlpha(int count);

/** Where the dot of slotCounts entry `index` stands: its column's day and the start of its slot. */
QPointF recordingMarkerPosition(int index, int year, const TimeOfDayAxes &axes, TimeOfDayLayout layout);
