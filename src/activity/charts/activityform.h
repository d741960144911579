#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <QTimeZone>

/**
 * The activity dialog's settings as one drawing of a chart reads them: taken
 * from the form (and the invalid periods from the folder's settings file) once
 * at the start, so that the computations below see values, not widgets.
 */
struct ActivityForm {
    double latitude = 51;       // degrees north
    double longitude = 9;       // degrees east
    QTimeZone zone;             // the zone the recorder's clock was set to
    bool daylightSaving = true; // the clock followed the zone's summer time
    bool absolutePeriod = true; // the daily period is two clock times; otherwise relative to the sun
    QTime startTime;            // absolute period: daily start and stop
    QTime stopTime;
    int startMin = 0; // relative period: minutes after sunset to start, after sunrise to stop
    int stopMin = 0;
    QDate monitoringBegin; // only day and month count: applied to the shown year
    QDate monitoringEnd;
    QString invalidTimes;   // the folder's "invalidTimes" text
    int twilightChoice = 0; // index of the twilight box (0 civil .. 3 "Tavron")
    bool centerNight = true;
    int daysChoice = 0; // the days chart's y choice
};

/**
 * The monitoring period applied to one year, both bounds included. A bound of
 * 29 February in a year without that day begins on 1 March and ends on
 * 28 February, so that a period "29 Feb to 31 Dec" still covers the year.
 */
struct MonitoringPeriod {
    QDate begin;
    QDate end;

    MonitoringPeriod(const QDate &beginDayMonth, const QDate &endDayMonth, int year);
    bool contains(const QDate &date) const { return begin <= date && date <= end; }
};
