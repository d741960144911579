#include "activity/windfileformat.h"

#include <QStringList>

namespace {

struct DateChoice {
    const char *choice;
    const char *pattern;
};

// The choices' "mm" is the month.
constexpr DateChoice dateChoices[] = {
    {"dd.mm.yyyy", "dd.MM.yyyy"}, {"dd-mm-yyyy", "dd-MM-yyyy"}, {"yyyy-mm-dd", "yyyy-MM-dd"},
    {"dd/mm/yyyy", "dd/MM/yyyy"}, {"mm/dd/yyyy", "MM/dd/yyyy"}, {"yyyy/mm/dd", "yyyy/MM/dd"},
};

QString cleaned(QString field)
{
    field.remove(QLatin1Char('"'));
    field.remove(QLatin1Char('\n'));
    field.remove(QLatin1Char('\r'));
    return field;
}

QStringList cleanedFields(const QString &text, QChar separator)
{
    QStringList fields = text.split(separator);   // empty fields are kept: two blanks make one
    for (QString &field : fields)
        field = cleaned(field);
    return fields;
}

bool onBoundary(const QDateTime &stamp)
{
    const QTime t = stamp.time();
    return t.second() == 0 && t.minute() % 10 == 0;
}

// The stamp as written, to the second: equal local texts count as one stamp
// even where a clock change makes them different instants.
bool sameStamp(const QDateTime &a, const QDateTime &b)
{
    return a.date() == b.date() && a.time().hour() == b.time().hour() && a.time().minute() == b.time().minute()
        && a.time().second() == b.time().second();
}

void keepOnePerBoundary(QVector<QDateTime> &times, QVector<float> &speeds)
{
    QDateTime lastKept;
    for (int i = times.size() - 1; i >= 0; --i) {
        const QDateTime stamp = times.at(i);
        if (onBoundary(stamp) && !(lastKept.isValid() && sameStamp(stamp, lastKept))) {
            lastKept = stamp;
            continue;
        }
        times.remove(i);
        speeds.remove(i);
    }
}

void roundAndMerge(QVector<QDateTime> &times, QVector<float> &speeds)
{
    for (QDateTime &stamp : times) {
        if (!onBoundary(stamp))
            stamp = stamp.addSecs(-(stamp.time().second() + 60 * (stamp.time().minute() % 10)));
    }
    // From the last entry back: a run of equal stamps ends where the stamp changes.
    int runEnd = times.size() - 1;
    for (int i = times.size() - 1; i >= 0; --i) {
        if (i > 0 && times.at(i - 1) == times.at(i))
            continue;
        if (runEnd > i) {
            float sum = 0;
            for (int k = i; k <= runEnd; ++k)
                sum += speeds.at(k);
            speeds[i] = sum / float(runEnd - i + 1);
            times.remove(i + 1, runEnd - i);
            speeds.remove(i + 1, runEnd - i);
        }
        runEnd = i - 1;
    }
}

} // namespace

QStringList windDateFormatChoices()
{
    QStringList choices;
    for (const DateChoice &c : dateChoices)
        choices << QLatin1String(c.choice);
    return choices;
}

QStringList windSeparatorChoices()
{
    return {QStringLiteral("Space"), QStringLiteral("Semicolon"), QStringLiteral("Tabulator")};
}

QString windDatePattern(const QString &dateFormat)
{
    for (const DateChoice &c : dateChoices) {
        if (dateFormat == QLatin1String(c.choice))
            return QLatin1String(c.pattern);
    }
    return QString();
}

QChar windSeparatorCharacter(const QString &name)
{
    if (name == QLatin1String("Space"))
        return QLatin1Char(' ');
    if (name == QLatin1String("Semicolon"))
        return QLatin1Char(';');
    if (name == QLatin1String("Tabulator"))
        return QLatin1Char('\t');
    return QChar();
}

WindLine readWindLine(const QString &line, const WindFileFormat &format)
{
    WindLine read;
    const QChar separator1 = windSeparatorCharacter(format.separator1);
    const QChar separator2 = windSeparatorCharacter(format.separator2);
    if (separator1.isNull() || separator2.isNull())
        return read;
    const QStringList fields = cleanedFields(line, separator1);
    const QString datePattern = windDatePattern(format.dateFormat);
    if (!datePattern.isEmpty())
        read.date = QDate::fromString(fields.at(0), datePattern);
    if (fields.size() < 2)
        return read;
    QString timeText;
    QString speedText;
    if (separator1 == separator2) {
        timeText = fields.at(1);
        if (fields.size() < 3)
            return read;
        speedText = fields.at(2);
    } else {
        const QStringList parts = cleanedFields(fields.at(1), separator2);
        timeText = parts.at(0);
        if (parts.size() < 2)
            return read;
        speedText = parts.at(1);
    }
    read.time = QTime::fromString(timeText, format.timeFormat);
    if (format.decimalSeparator == QLatin1String(","))
        speedText.replace(QLatin1Char(','), QLatin1Char('.'));
    // toFloat reads in the C locale: a point, no grouping.
    read.speed = speedText.toFloat(&read.hasSpeed);
    if (!read.hasSpeed)
        read.speed = 0;
    return read;
}

void applyWindDateTimeDefinition(const QString &definition, QVector<QDateTime> &times, QVector<float> &speeds)
{
    if (definition == QLatin1String("Beginning")) {
        keepOnePerBoundary(times, speeds);
    } else if (definition == QLatin1String("End")) {
        keepOnePerBoundary(times, speeds);
        for (QDateTime &stamp : times)
            stamp = stamp.addSecs(-600);
    } else if (definition == QLatin1String("Round")) {
        roundAndMerge(times, speeds);
    }
}
