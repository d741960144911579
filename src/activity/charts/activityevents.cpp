#include "activity/charts/activityevents.h"

#include <algorithm>

namespace {

bool sameStaticSlot(const ClockedRecording &a, const ClockedRecording &b, int minutes)
{
    const int minuteA = a.msOfDay / 60000, minuteB = b.msOfDay / 60000;
    return a.date == b.date && minuteA / 60 == minuteB / 60 && (minuteA % 60) / minutes == (minuteB % 60) / minutes;
}

} // namespace

QVector<ClockedRecording> eventStarts(QVector<ClockedRecording> recordings, int minutes, EventRule rule)
{
    std::stable_sort(recordings.begin(), recordings.end(),
                     [](const ClockedRecording &a, const ClockedRecording &b) { return a.instant < b.instant; });
    QVector<ClockedRecording> starts;
    for (const ClockedRecording &r : recordings) {
        if (!starts.isEmpty()) {
            const ClockedRecording &last = starts.last();
            const bool sameEvent = rule == EventRule::Dynamic ? r.instant <= last.instant + minutes * 60000LL
                                                              : sameStaticSlot(last, r, minutes);
            if (sameEvent)
                continue;
        }
        starts.append(r);
    }
    return starts;
}

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

QVector<QVector<qint64>> dayCandidates(const ActivityRows &rows, int curve, const ActivityClock &clock, int year,
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
