#include "common/classevents.h"

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
