#pragma once

#include "activity/charts/activityrows.h"
#include "common/classevents.h"
#include "common/recorderclock.h"

#include <QVector>

/** What the days chart shows per day and class: its y choice (the eight items of its box, in order). */
struct DaysQuantity {
    bool activity = false; // choice 0: recordings per valid hour
    bool events = false;   // choices 2 to 7
    int minutes = 0;       // 1, 5 or 10 for events
    EventRule rule = EventRule::Dynamic;

    static DaysQuantity ofChoice(int choice);
};

/**
 * What a curve of the days chart counts on each day of `year`, before the
 * valid periods decide: the instants of its recordings of that day (file-list
 * order), or of its event starts. Index 0 is 1 January. Rows without a date
 * and time, or of another year, take no part.
 */
QVector<QVector<qint64>> dayCandidates(const ActivityRows &rows, int curve, const RecorderClock &clock, int year,
                                       const DaysQuantity &quantity);
