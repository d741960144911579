#include "export/tavronexport.h"

#include "common/evaluationmode.h"
#include "common/recorderclock.h"
#include "export/classcounttext.h"
#include "export/exportfield.h"
#include "export/recordedat.h"

namespace TavronExport {

namespace {

// Tavron reads every timestamp as central European summer time.
const qint64 kTavronOffsetMs = 7200 * 1000;

void appendTwoDigits(QString &text, int value)
{
    text += QLatin1Char(char('0' + value / 10));
    text += QLatin1Char(char('0' + value % 10));
}

} // namespace

QString headerLine()
{
    return QStringLiteral("DateTime (MESZ, UTC+2);Class1;Class2;Class3;Class4");
}

QStringList fixedClassFilter(int evaluationMode)
{
    if (evaluationMode == EvaluationMode::Tavron)
        return {QStringLiteral("PipPyg"), QStringLiteral("PipPp"),  QStringLiteral("PipPip"), QStringLiteral("PipPn"),
                QStringLiteral("PipNat"), QStringLiteral("Pip"),    QStringLiteral("Enil"),   QStringLiteral("NycMid"),
                QStringLiteral("NycNoc"), QStringLiteral("NycLow"), QStringLiteral("Nyc")};
    if (evaluationMode == EvaluationMode::RecorderReview)
        return {QStringLiteral("Ppyg"), QStringLiteral("PpPp"), QStringLiteral("Ppip"), QStringLiteral("PpPn"),
                QStringLiteral("Pnat"), QStringLiteral("Pip"),  QStringLiteral("Enil"), QStringLiteral("Nycmi"),
                QStringLiteral("Nnoc"), QStringLiteral("Nlow"), QStringLiteral("Nyc")};
    return {};
}

bool onlyUnassigned(const QVector<QPair<QString, int>> &classCounts)
{
    return classCounts.size() == 1 && classCounts.constFirst().first == ExportClassNames::unassigned();
}

QString onlyUnassignedText()
{
    return QStringLiteral("Cannot export Tavron file. Only unassigned files in folder.");
}

bool isExported(const FileRowTexts &row, const QStringList &classFilter)
{
    if (row.isUnassigned())
        return false;
    for (int column = FileViewColumn::Class1; column <= FileViewColumn::Class4; ++column) {
        if (!row.text(column).isEmpty() && classFilter.contains(row.text(column)))
            return true;
    }
    return false;
}

QList<int> years(const QVector<FileRowTexts> &rows, const QStringList &classFilter)
{
    QList<int> found;
    for (const FileRowTexts &row : rows) {
        if (!isExported(row, classFilter))
            continue;
        const RecordedAt r = recordedAt(row.text(FileViewColumn::Date), row.text(FileViewColumn::Time));
        if (r.isValid() && !found.contains(r.date.year()))
            found.append(r.date.year());
    }
    return found;
}

namespace {

QString dateTimeText(const RecorderClock &clock, const RecordedAt &recorded, int yearOverride)
{
    QDate date = recorded.date;
    if (yearOverride != 0)
        date = date.addYears(yearOverride - date.year());
    // The instant shown on a clock kept at UTC+2: the machine's own zone never enters.
    QDate day;
    QTime time;
    RecorderClock::wallDateTime(clock.instant(date, recorded.msOfDay) + kTavronOffsetMs, &day, &time);
    QString text;
    text.reserve(19);
    appendTwoDigits(text, day.day());
    text += QLatin1Char('.');
    appendTwoDigits(text, day.month());
    text += QLatin1Char('.');
    text += QString::number(day.year());
    text += QLatin1Char(' ');
    appendTwoDigits(text, time.hour());
    text += QLatin1Char(':');
    appendTwoDigits(text, time.minute());
    text += QLatin1Char(':');
    appendTwoDigits(text, time.second());
    return text;
}

} // namespace

QString dateTimeText(const QString &dateText, const QString &timeText, const TavronExportOptions &options)
{
    const RecordedAt r = recordedAt(dateText, timeText);
    if (!r.isValid())
        return QString();
    return dateTimeText(RecorderClock(options.timeZone, options.daylightSaving, RecorderClock::PerReading), r,
                        options.yearOverride);
}

Result exportText(const QVector<FileRowTexts> &rows, const TavronExportOptions &options)
{
    const RecorderClock clock(options.timeZone, options.daylightSaving, RecorderClock::PerReading);
    Result result;
    result.text = headerLine() + QLatin1String("\r\n");
    result.text.reserve(result.text.size() + rows.size() * 48);
    for (const FileRowTexts &row : rows) {
        if (!isExported(row, options.classFilter))
            continue;
        const RecordedAt r = recordedAt(row.text(FileViewColumn::Date), row.text(FileViewColumn::Time));
        if (!r.isValid()) {
            ++result.leftOut;
            continue;
        }
        result.text += dateTimeText(clock, r, options.yearOverride);
        for (int column = FileViewColumn::Class1; column <= FileViewColumn::Class4; ++column)
            result.text += QLatin1Char(';') + exportField(row.text(column));
        result.text += QLatin1String("\r\n");
    }
    return result;
}

QString leftOutText(int leftOut)
{
    return leftOut == 1
               ? QStringLiteral("1 file has no valid recording date or time and was left out of the export.")
               : QStringLiteral("%1 files have no valid recording date or time and were left out of the export.")
                     .arg(leftOut);
}

} // namespace TavronExport
