#pragma once

#include <QDate>
#include <QVector>

/**
 * Class events: recordings of one class close together in time count as one
 * event, so that a bat that circles the recorder for ten minutes is not
 * counted as forty visits. The CSV export's event columns and the days
 * chart's event counts follow this one rule.
 * - dynamic N minutes: a recording starts a new event only when it comes more
 *   than N minutes after the start of the last event (exactly N minutes later
 *   is still the same event);
 * - static N minutes: the clock is cut into N-minute slots (of the hour); a
 *   recording starts an event unless the last event began in the same slot of
 *   the same hour of the same day, as the recorder's clock showed them.
 * QtCore only.
 */
enum class EventRule { Dynamic, Static };

/** A recording placed on the recorder's clock: its instant and the clock's date and time of day. */
struct ClockedRecording {
    qint64 instant = 0; // milliseconds since 1970-01-01 00:00 UTC (RecorderClock::instant)
    QDate date;
    int msOfDay = 0;
};

/**
 * The event starts among the recordings (any order; sorted here by instant,
 * recordings of one instant keeping their order), ascending. Applied to the
 * starts of a shorter interval it thins them into those of a longer one.
 */
QVector<ClockedRecording> eventStarts(QVector<ClockedRecording> recordings, int minutes, EventRule rule);
