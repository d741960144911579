#include "activity/windfileformat.h"

#include "activity/datafilefields.h"
#include "common/recorderclock.h"

#include <QStringList>
#include <cmath>
#include <limits>

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

QStringList cleanedFields(const QString &text, QChar separator)
{
    QStringList fields = text.split(separator); // empty fields are kept: two blanks make one
    for (QString &field : fields)
        field = dataFileField(field);
    return fields;
}

constexpr qint64 tenMinutesMs = 600000;

// On a 10-minute mark: second 0 and a minute that is a multiple of 10 (days are whole multiples of ten minutes).
bool onBoundary(const WindStamp &stamp)
{
    return stamp.written % tenMinutesMs == 0;
}

// The stamp as written, to the second: equal clock texts count as one stamp
// even where a clock change makes them different instants.
qint64 writtenSecond(const WindStamp &stamp)
{
    return stamp.written >= 0 ? stamp.written / 1000 : -((-stamp.written + 999) / 1000);
}

void moveBy(WindStamp &stamp, qint64 ms)
{
    stamp.written += ms;
    stamp.instant += ms;
}

// Walking from the last entry back, an entry stays when it is on a mark and its
// stamp differs from the one that stayed last; one pass marks, one compacts.
void keepOnePerBoundary(QVector<WindStamp> &stamps)
{
    QVector<bool> keep(stamps.size(), false);
    bool anyKept = false;
    qint64 lastKept = 0;
    for (int i = stamps.size() - 1; i >= 0; --i) {
        const qint64 second = writtenSecond(stamps.at(i));
        if (onBoundary(stamps.at(i)) && !(anyKept && second == lastKept)) {
            keep[i] = true;
            anyKept = true;
            lastKept = second;
        }
    }
    int out = 0;
    for (int i = 0; i < stamps.size(); ++i) {
        if (keep.at(i))
            stamps[out++] = stamps.at(i);
    }
    stamps.resize(out);
}

// Stamps off a mark move back to the mark before them; then each run of equal
// neighbours becomes its first entry with the mean of the run's speeds.
void roundAndMerge(QVector<WindStamp> &stamps)
{
    for (WindStamp &stamp : stamps) {
        if (!onBoundary(stamp)) {
            const qint64 wallOfDay = ((stamp.written % 86400000) + 86400000) % 86400000;
            moveBy(stamp, -(wallOfDay % tenMinutesMs) / 1000 * 1000);
        }
    }
    int out = 0;
    for (int first = 0; first < stamps.size();) {
        int end = first;
        float sum = 0;
        int numbers = 0;
        while (end < stamps.size() && stamps.at(end).instant == stamps.at(first).instant) {
            const float speed = stamps.at(end++).speed;
            if (std::isfinite(speed)) {
                sum += speed;
                ++numbers;
            }
        }
        WindStamp merged = stamps.at(first);
        if (end - first > 1)
            merged.speed = numbers > 0 ? sum / float(numbers) : std::numeric_limits<float>::quiet_NaN();
        stamps[out++] = merged;
        first = end;
    }
    stamps.resize(out);
}

} // namespace

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
        read.date = readStampDate(fields.at(0), datePattern);
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
    read.time = readStampTime(timeText, format.timeFormat);
    if (format.decimalSeparator == QLatin1String(","))
        speedText.replace(QLatin1Char(','), QLatin1Char('.'));
    // toFloat reads in the C locale: a point, no grouping.
    read.speed = speedText.toFloat(&read.hasSpeed);
    read.hasSpeed = read.hasSpeed && std::isfinite(read.speed);
    if (!read.hasSpeed)
        read.speed = 0;
    return read;
}

void applyWindDateTimeDefinition(const QString &definition, QVector<WindStamp> &stamps)
{
    if (definition == QLatin1String("Beginning")) {
        keepOnePerBoundary(stamps);
    } else if (definition == QLatin1String("End")) {
        keepOnePerBoundary(stamps);
        for (WindStamp &stamp : stamps)
            moveBy(stamp, -tenMinutesMs);
    } else if (definition == QLatin1String("Round")) {
        roundAndMerge(stamps);
    }
}

void applyWindDateTimeDefinition(const QString &definition, QVector<QDateTime> &times, QVector<float> &speeds)
{
    QVector<WindStamp> stamps(times.size());
    for (int i = 0; i < times.size(); ++i)
        stamps[i] = {RecorderClock::wallMs(times.at(i).date(), times.at(i).time().msecsSinceStartOfDay()),
                     times.at(i).toMSecsSinceEpoch(), speeds.at(i)};
    const QDateTime zoneOf = times.value(0);
    applyWindDateTimeDefinition(definition, stamps);
    times.resize(stamps.size());
    speeds.resize(stamps.size());
    for (int i = 0; i < stamps.size(); ++i) {
        // Back in the stamps' own zone or offset.
        times[i] = zoneOf.addMSecs(stamps.at(i).instant - zoneOf.toMSecsSinceEpoch());
        speeds[i] = stamps.at(i).speed;
    }
}
