#include "activity/charts/activityrows.h"

#include "filelist/filerowtexts.h"

#include <algorithm>

namespace {

// The year of a "dd/MM/yy" text from its characters 6 and 7 alone, as the year
// list takes it; 0 when they are missing or no digits.
int yearOfDateText(const QString &date)
{
    if (date.size() < 8)
        return 0;
    const QChar a = date.at(6), b = date.at(7);
    if (!a.isDigit() || !b.isDigit() || a.unicode() > '9' || b.unicode() > '9')
        return 0;
    return 2000 + (a.unicode() - '0') * 10 + (b.unicode() - '0');
}

} // namespace

QStringList ActivityRow::countedClasses() const
{
    if (isUnassigned())
        return {QString()};
    QStringList texts;
    for (const QString &c : classes) {
        if (c.isEmpty())
            break;
        texts << c;
    }
    return texts;
}

QString ActivityRows::curveName(int i) const
{
    if (i >= classList.size())
        return QStringLiteral("All Classes");
    return classList.at(i).isEmpty() ? QStringLiteral("Unassigned") : classList.at(i);
}

bool ActivityRows::rowInCurve(const ActivityRow &row, int curve) const
{
    if (curve >= classList.size())
        return true;
    const QString &name = classList.at(curve);
    if (name.isEmpty())
        return row.isUnassigned();
    return std::find(row.classes.begin(), row.classes.end(), name) != row.classes.end();
}

ActivityRows activityRowsOf(const QVector<FileRowTexts> &texts)
{
    ActivityRows a;
    a.rows.reserve(texts.size());
    for (const FileRowTexts &t : texts) {
        ActivityRow row;
        const QString &date = t.text(FileViewColumn::Date);
        row.date = FileRowTexts::recordingDate(date);
        const int seconds = FileRowTexts::timeKey(t.text(FileViewColumn::Time));
        row.msOfDay = seconds < 0 ? -1 : seconds * 1000;
        row.year = yearOfDateText(date);
        for (int i = 0; i < 4; ++i)
            row.classes[size_t(i)] = t.text(FileViewColumn::Class1 + i);
        if (row.year != 0) {
            if (!a.years.contains(row.year))
                a.years.append(row.year);
            for (const QString &c : row.classes) {
                if (!a.classList.contains(c))
                    a.classList.append(c);
            }
        }
        a.rows.append(std::move(row));
    }
    std::sort(a.years.begin(), a.years.end());
    if (a.classList.removeOne(QString()))
        a.classList.append(QString());
    for (int i = 0; i < a.classList.size(); ++i)
        a.curveList << a.curveName(i);
    if (a.classList.size() != 1)
        a.curveList << a.curveName(a.allClassesIndex());
    return a;
}

QString activityItemTitle(const QString &curveName)
{
    return curveName + QStringLiteral("_Activity");
}
