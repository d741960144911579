#pragma once

#include "activity/charts/activityclock.h"
#include "activity/charts/activityrows.h"

#include <QVector>

/**
 * Class events: recordings of one class close together in time count as one
 * event, so that a bat that circles the recorder for ten minutes is not
 * counted as forty visits.
 * - dynamic N minutes: a recording starts a new event only when it comes more
 *   than N minutes after the start of the last event;
 * - static N minutes: the clock is cut into N-minute slots (of the hour); a
 *   recording starts an event unless the last event began in the same slot of
 *   the same hour of the same day.
 */
enum class EventRule { Dynamic, Static };

/** A recording placed on the clock: its instant and the clock's date and time of day. */
struct ClockedRecording {
    qint64 instant = 0;
    QDate date;
    int msOfDay = 0;
};

/** The event starts among the recordings (any order; sorted here by instant), ascending. */
QVector<ClockedRecording> eventStarts(QVector<ClockedRecording> recordings, int minutes, EventRule rule);

/** What the days chart shows per day and class: its y choice (the eight items of its box, in order). */
struct DaysQuantity {
    bool activity = false;   // choice 0: recordings per valid hour
    bool events = false;     // choices 2 to 7
    int minutes = 0;         // 1, 5 or 10 for events
    EventRule rule = EventRule::Dynamic;

    static DaysQuantity ofChoice(int choice);
};

/**
 * What a curve of the days chart counts on each day of `year`, before the
 * valid periods decide: the instants of its recordings of that day (file-list
 * order), or of its event starts. Index 0 is 1 January. Rows without a date
 * and time, or of another year, take no part.
 */
QVector<QVector<qint64>> dayCandidates(const ActivityRows &rows, int curve, const ActivityClock &clock, int year,
                                       const DaysQuantity &quantity);
