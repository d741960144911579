#pragma once

#include "activity/charts/activityform.h"

#include <QDate>
#include <QPointF>
#include <QVector>
#include <array>
#include <qwt_samples.h>

/**
 * The chart of the recordings over the time of day: x is the day, y the time
 * of day, both as QwtDate values (milliseconds since the epoch) of the
 * machine's local time. Unlike the activity charts, which compare everything
 * on the recorder's clock, this one draws what a clock in the room shows: a
 * recording at 22:10 stands at 22:10 whatever the zone. Only the sun times are
 * computed for the chosen zone's offsets, so that they stand where the
 * recorder's clock saw them.
 *
 * The time of day is written on a reference day, 1 January 2015, on which no
 * zone changes its clocks: the plain layout shows 00:00 to 24:00 of it, the
 * centred layout 12:00 to 12:00 of the next day with midnight in the middle.
 * In the centred layout a time t >= 12:00 lies on the evening side (t on the
 * reference day, "E(t)") in the column of its own day, a time before noon on
 * the morning side (t on the day after, "M(t)") in the column of the day
 * before, where its night began.
 */
enum class TimeOfDayLayout {
    Plain,        // 00:00 to 24:00, one column per day
    CentredNight, // 12:00 to 12:00, one column per night
};

class TimeOfDayAxes
{
public:
    explicit TimeOfDayAxes(int year);

    /** x of a day: its local 00:00. */
    double x(const QDate &date) const;

    /** 1 January 2015 00:00: the foot of the plain axis, and E(00:00). */
    double dayStart = 0;
    /** 2 January 2015 00:00: the top of the plain axis, the centred axis's midnight level, M(00:00). */
    double midnight = 0;

    double dayLevel(qint64 msOfDay) const { return dayStart + double(msOfDay); }   // plain y, and E
    double nightLevel(qint64 msOfDay) const { return midnight + double(msOfDay); } // M

private:
    QDate tableStart;
    QVector<double> days; // x of the shown year's days and two on each side, which every series reaches
};

/**
 * The twelve series behind the recordings' dots (which items show them is
 * the dialog's business: see plotFunctionVsTime).
 *
 * Sun points carry -1 as y where the line must break. Interval samples may
 * hold their ends in either order; a sample with equal ends draws nothing and
 * serves to close or reopen a band.
 */
struct TimeOfDaySeries {
    QVector<QPointF> sunrise;  // plain: every sunrise; centred: those before noon (morning side)
    QVector<QPointF> sunrise2; // centred only: sunrises from noon on (evening side)
    QVector<QPointF> sunset;
    QVector<QPointF> sunset2;
    QVector<QwtIntervalSample> twilight;    // dawn to sunrise
    QVector<QwtIntervalSample> twilight2;   // plain: the same 24 h away; centred: its evening-side part
    QVector<QwtIntervalSample> twilightSet; // sunset to dusk
    QVector<QwtIntervalSample> twilightSet2;
    QVector<QwtIntervalSample> recording; // the daily recording period in up to four parts
    QVector<QwtIntervalSample> recording2;
    QVector<QwtIntervalSample> recording3;
    QVector<QwtIntervalSample> recording4;
};

/**
 * The plain layout (00:00 to 24:00) of `year`.
 *
 * Sun and twilight times are those of form's place for the zone's offset at
 * 12:00 of each day (23:00 for the sunset points), or its standard offset all
 * year without daylight saving. A sun line breaks where consecutive days
 * differ by more than 1.2 hours (polar days and nights; the change to summer
 * time is a step of one hour, drawn). When the year's sunrises (sunsets) reach
 * below 04:00 or beyond 20:00 its twilight band is drawn shifted 9 hours and
 * put back twice, 24 hours apart, so that a band across midnight is not torn.
 *
 * The recording period is drawn for each day of the monitoring period, a day
 * wide: absolute periods in parts A and B (over midnight: B the morning, A the
 * evening), relative ones in parts A and C (over midnight: A the morning, C the
 * evening); a delay that reaches past the night leaves the day empty, one
 * longer than the day fills it.
 */
TimeOfDaySeries plainTimeOfDaySeries(const ActivityForm &form, int year);

/**
 * The centred layout (noon to noon) of `year`: each night in the column of the
 * day it began. Sun points and twilight go to the side they fall on (the
 * second series of each the evening side); a day whose sun changes side breaks
 * the line. The recording period is drawn one day beyond the monitoring end,
 * so that the last monitored night is whole.
 */
TimeOfDaySeries centredTimeOfDaySeries(const ActivityForm &form, int year);

/** 15 % of the night before sunset: the end of the "Tavron" dusk (hours of the day, -1 without sun). */
float fifteenPercentDusk(float sunrise, float sunset);

/** A stretch of the y axis, its ends in the order the chart stores them. */
struct YRange {
    double from = 0;
    double to = 0;
};
/** "Recording Times" to "Recording Times4" of one day. */
using DayRecordingParts = std::array<YRange, 4>;

/**
 * One day's recording period relative to the sun: from sunset plus startMin
 * to sunrise plus stopMin (form), for sunrise and sunset as hours of the day,
 * -1 on a day without them (then the latitude and the month tell polar night,
 * recorded whole, from polar day). Plain: the period in parts 0 and 2 (over
 * midnight 0 the morning, 2 the evening), parts 1 and 3 unused. Centred: the
 * morning side in parts 0 and 2, the evening side in parts 1 and 3, an
 * unused part empty at the midnight level.
 */
DayRecordingParts relativeRecordingParts(TimeOfDayLayout layout, float sunrise, float sunset, const ActivityForm &form,
                                         int month, const TimeOfDayAxes &axes);
