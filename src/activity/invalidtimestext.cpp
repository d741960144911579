#include "activity/invalidtimestext.h"

#include <QStringList>

namespace {

// The number written with `count` digits at `at`; -1 when a character there is no digit.
int digitsAt(const QString &s, int at, int count)
{
    int value = 0;
    for (int i = at; i < at + count; ++i) {
        const ushort c = s.at(i).unicode();
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The halves of a part; false for a part without "-".
bool periodOfPart(const QString &part, InvalidTimesPeriod *period)
{
    const int dash = part.indexOf(QLatin1Char('-'));
    if (dash < 0)
        return false;
    // A second "-" would end the second half, as a split at every "-" does.
    const int nextDash = part.indexOf(QLatin1Char('-'), dash + 1);
    *period = {part.left(dash), part.mid(dash + 1, nextDash < 0 ? -1 : nextDash - dash - 1)};
    return true;
}

} // namespace

QVector<InvalidTimesPeriod> readInvalidTimesText(const QString &text)
{
    QVector<InvalidTimesPeriod> periods;
    const QStringList parts = text.split(QLatin1Char(';'));
    for (const QString &part : parts) {
        InvalidTimesPeriod p;
        if (periodOfPart(part, &p))
            periods.append(p);
    }
    return periods;
}

InvalidTimesSplit splitInvalidTimesText(const QString &text)
{
    InvalidTimesSplit split;
    const QStringList parts = text.split(QLatin1Char(';'));
    for (const QString &part : parts) {
        InvalidTimesPeriod p;
        QDate begin, end;
        int msOfDay = 0;
        if (periodOfPart(part, &p) && readInvalidTimesHalf(p.begin, &begin, &msOfDay)
            && readInvalidTimesHalf(p.end, &end, &msOfDay) && begin >= invalidTimesFirstEditableDate()
            && end >= invalidTimesFirstEditableDate())
            split.readable.append(p);
        else if (!part.isEmpty())
            split.unreadable.append(part);
    }
    return split;
}

QDate invalidTimesFirstEditableDate()
{
    return QDate(1752, 9, 14);
}

QString composeInvalidTimesText(const QVector<InvalidTimesPeriod> &periods)
{
    QStringList parts;
    parts.reserve(periods.size());
    for (const InvalidTimesPeriod &p : periods)
        parts << p.begin + QLatin1Char('-') + p.end;
    return parts.join(QLatin1Char(';'));
}

bool readInvalidTimesHalf(const QString &half, QDate *date, int *msOfDay)
{
    if (half.size() != 16 || half.at(2) != QLatin1Char('.') || half.at(5) != QLatin1Char('.')
        || half.at(10) != QLatin1Char(' ') || half.at(13) != QLatin1Char(':'))
        return false;
    // A year that is no number (-1) would pass as the year -1, which QDate takes, and be written back as another text.
    const int year = digitsAt(half, 6, 4);
    const QDate d(year, digitsAt(half, 3, 2), digitsAt(half, 0, 2));
    const int hour = digitsAt(half, 11, 2), minute = digitsAt(half, 14, 2);
    if (year < 0 || !d.isValid() || !QTime::isValid(hour, minute, 0))
        return false;
    *date = d;
    *msOfDay = (hour * 60 + minute) * 60000;
    return true;
}

QDateTime invalidTimesReading(const QString &half)
{
    QDate date;
    int msOfDay = 0;
    if (!readInvalidTimesHalf(half, &date, &msOfDay))
        return QDateTime();
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(msOfDay), Qt::UTC);
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
