#include "activity/invalidtimestext.h"

#include <QStringList>

QVector<InvalidTimesPeriod> readInvalidTimesText(const QString &text)
{
    QVector<InvalidTimesPeriod> periods;
    const QStringList parts = text.split(QLatin1Char(';'));
    for (const QString &part : parts) {
        const int dash = part.indexOf(QLatin1Char('-'));
        if (dash < 0)
            continue;
        // A second "-" would end the second half, as a split at every "-" does.
        const int nextDash = part.indexOf(QLatin1Char('-'), dash + 1);
        periods.append({part.left(dash), part.mid(dash + 1, nextDash < 0 ? -1 : nextDash - dash - 1)});
    }
    return periods;
}

QString composeInvalidTimesText(const QVector<InvalidTimesPeriod> &periods)
{
    QStringList parts;
    parts.reserve(periods.size());
    for (const InvalidTimesPeriod &p : periods)
        parts << p.begin + QLatin1Char('-') + p.end;
    return parts.join(QLatin1Char(';'));
}

QDateTime invalidTimesDateTime(const QString &half)
{
    return QDateTime::fromString(half, QLatin1String(invalidTimesDateTimeFormat));
}

QString invalidTimesHalf(const QDateTime &dateTime)
{
    return dateTime.toString(QLatin1String(invalidTimesDateTimeFormat));
}

QString invalidTimesToolTip(const QString &text, const QString &heading)
{
    if (text.isEmpty())
        return QStringLiteral("Enter Times in which no valid data was recorded");
    return heading + QLatin1Char('\n') + QString(text).replace(QLatin1Char(';'), QLatin1Char('\n'));
}
