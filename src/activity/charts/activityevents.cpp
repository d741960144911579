#include "activity/charts/activityevents.h"

DaysQuantity DaysQuantity::ofChoice(int choice)
{
    DaysQuantity q;
    q.activity = choice == 0;
    if (choice >= 2 && choice <= 7) {
        q.events = true;
        static const int minutes[] = {1, 5, 10};
        q.minutes = minutes[(choice - 2) % 3];
        q.rule = choice <= 4 ? EventRule::Dynamic : EventRule::Static;
    }
    return q;
}

QVector<QVector<qint64>> dayCandidates(const ActivityRows &rows, int curve, const RecorderClock &clock, int year,
                                       const DaysQuantity &quantity)
{
    const QDate newYear(year, 1, 1);
    QVector<QVector<qint64>> days(newYear.daysInYear());
    QVector<ClockedRecording> recordings;
    for (const ActivityRow &row : rows.rows) {
        if (!row.hasDateTime() || row.date.year() != year || !rows.rowInCurve(row, curve))
            continue;
        recordings.append({clock.instant(row.date, row.msOfDay), row.date, row.msOfDay});
    }
    if (quantity.events)
        recordings = eventStarts(recordings, quantity.minutes, quantity.rule);
    for (const ClockedRecording &r : recordings)
        days[int(newYear.daysTo(r.date))].append(r.instant);
    return days;
}
