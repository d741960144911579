#include "filelist/filerowtexts.h"

#include <QDate>
#include <QTreeWidget>
#include <QTreeWidgetItem>

namespace {

// Two decimal digits at s[at], or -1.
int twoDigits(const QString &s, int at)
{
    const QChar a = s.at(at), b = s.at(at + 1);
    if (a < QLatin1Char('0') || a > QLatin1Char('9') || b < QLatin1Char('0') || b > QLatin1Char('9'))
        return -1;
    return (a.unicode() - '0') * 10 + (b.unicode() - '0');
}

// "dd/MM/yy" or "hh:mm:ss": three two-digit fields and two separators.
bool threeFields(const QString &s, QChar separator, int *a, int *b, int *c)
{
    if (s.size() != 8 || s.at(2) != separator || s.at(5) != separator)
        return false;
    *a = twoDigits(s, 0);
    *b = twoDigits(s, 3);
    *c = twoDigits(s, 6);
    return *a >= 0 && *b >= 0 && *c >= 0;
}

} // namespace

bool FileRowTexts::hasClass(const QString &name) const
{
    for (int column = FileViewColumn::Class1; column <= FileViewColumn::Class4; ++column) {
        if (text(column) == name)
            return true;
    }
    return false;
}

FileRowTexts FileRowTexts::fromItem(QTreeWidgetItem *item)
{
    FileRowTexts row;
    for (int column = 0; column < FileViewColumn::Count; ++column)
        row.setText(column, item->text(column));
    if (const QTreeWidget *list = item->treeWidget())
        row.acceptColumnShown = !list->isColumnHidden(FileViewColumn::Accepted);
    return row;
}

QVector<FileRowTexts> fileRowTextsOf(const QList<QTreeWidgetItem *> &items)
{
    QVector<FileRowTexts> rows;
    rows.reserve(items.size());
    for (QTreeWidgetItem *item : items)
        rows.append(FileRowTexts::fromItem(item));
    return rows;
}

QVector<FileRowTexts> fileRowTextsOf(const QTreeWidget *list)
{
    QVector<FileRowTexts> rows;
    const int count = list->topLevelItemCount();
    rows.reserve(count);
    for (int i = 0; i < count; ++i)
        rows.append(FileRowTexts::fromItem(list->topLevelItem(i)));
    return rows;
}

int FileRowTexts::timeKey(const QString &time)
{
    int h, m, s;
    if (!threeFields(time, QLatin1Char(':'), &h, &m, &s) || !QTime::isValid(h, m, s))
        return -1;
    return h * 3600 + m * 60 + s;
}

QDate FileRowTexts::recordingDate(const QString &date)
{
    int d, mo, y;
    if (!threeFields(date, QLatin1Char('/'), &d, &mo, &y))
        return QDate();
    // Recordings are of this century: read as 20yy, 29/02/00 is a real day (in 1900 it was not).
    return QDate(2000 + y, mo, d);
}

qint64 FileRowTexts::dateTimeKey(const QString &date, const QString &time)
{
    const QDate day = recordingDate(date);
    const int seconds = timeKey(time);
    if (!day.isValid() || seconds < 0)
        return -1;
    // Plain calendar arithmetic: no time zone, so no daylight-saving gap or repeat.
    return (day.toJulianDay() - QDate(2000, 1, 1).toJulianDay()) * 86400 + seconds;
}
