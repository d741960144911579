#include "export/recordingclock.h"

#include "filelist/fileviewtreewidgetitem.h"

#include <QDateTime>

namespace {

const qint64 kUnixEpochJulianDay = 2440588;

} // namespace

qint64 calendarSecs(const QDate &date, const QTime &time)
{
    return (date.toJulianDay() - kUnixEpochJulianDay) * 86400 + time.msecsSinceStartOfDay() / 1000;
}

void calendarDateTime(qint64 secs, QDate *date, QTime *time)
{
    const qint64 days = secs >= 0 ? secs / 86400 : (secs - 86399) / 86400;
    *date = QDate::fromJulianDay(days + kUnixEpochJulianDay);
    *time = QTime::fromMSecsSinceStartOfDay(int(secs - days * 86400) * 1000);
}

RecordingClock::RecordingClock(const QTimeZone &zone, bool daylightSaving)
    : m_zone(zone), m_daylightSaving(daylightSaving)
{
}

RecordingClock::Reading RecordingClock::read(const QString &dateText, const QString &timeText)
{
    Reading r;
    r.date = fileViewTreeWidgetItem::recordingDate(dateText);
    const int seconds = fileViewTreeWidgetItem::timeKey(timeText);
    if (seconds >= 0)
        r.time = QTime::fromMSecsSinceStartOfDay(seconds * 1000);
    return r;
}

int RecordingClock::offsetFromUtc(const QDate &date, const QTime &time) const
{
    if (m_daylightSaving) {
        const QDateTime local(date, time, m_zone);
        if (local.isValid())
            return local.offsetFromUtc();
    }
    // Noon UTC of the day: a standard offset changes only by law, never within a day of recordings.
    return m_zone.standardTimeOffset(QDateTime(date, QTime(12, 0), Qt::UTC));
}

qint64 RecordingClock::secsSinceEpoch(const QDate &date, const QTime &time) const
{
    return calendarSecs(date, time) - offsetFromUtc(date, time);
}
