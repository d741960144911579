#include "activity/charts/windseries.h"

#include "activity/activitylog.h"
#include "analysis/boundedlinereader.h"
#include "export/timezonechoicelist.h"

#include <QDateTime>
#include <QStringList>
#include <QTimeZone>
#include <limits>

namespace {

// "label (a, b, c)", as the series have always been written to the debug output.
template <class T, class Text>
QString listText(const QString &label, const QVector<T> &values, Text text)
{
    QStringList items;
    items.reserve(values.size());
    for (const T &v : values)
        items << text(v);
    return label + QStringLiteral(" (") + items.join(QStringLiteral(", ")) + QLatin1Char(')');
}

void writeDebugLines(const MeasurementSeries &series)
{
    if (!lcActivity().isDebugEnabled())
        return;
    qCDebug(lcActivity).noquote() << listText(QStringLiteral("windData"), series.values,
                                              [](float v) { return QString::number(double(v)); });
    qCDebug(lcActivity).noquote() << listText(QStringLiteral("windTimes"), series.instants, [](qint64 t) {
        return QDateTime::fromMSecsSinceEpoch(t, Qt::UTC).toString(Qt::ISODate);
    });
    QVector<int> days(series.dayStarts.size() - 1);
    for (int d = 0; d < days.size(); ++d)
        days[d] = d;
    qCDebug(lcActivity).noquote() << listText(QStringLiteral("dayWindList"), days, [&series](int d) {
        QStringList entries;
        for (int k = series.dayStarts.at(d); k < series.dayStarts.at(d + 1); ++k)
            entries << QString::number(series.byDay.at(k));
        return QLatin1Char('(') + entries.join(QStringLiteral(", ")) + QLatin1Char(')');
    });
}

} // namespace

WindDataSettings windDataSettingsOf(const QString &folder)
{
    using namespace FolderSettings;
    WindDataSettings s;
    s.format.dateFormat = readFolderSetting(folder, windDateFormat);
    s.format.timeFormat = readFolderSetting(folder, windTimeFormat);
    s.format.decimalSeparator = readFolderSetting(folder, windDecimalSeparator);
    s.format.separator1 = readFolderSetting(folder, windSeparator1InChart);
    s.format.separator2 = readFolderSetting(folder, windSeparator2);
    s.format.dateTimeDefinition = readFolderSetting(folder, windDateTimeDefinition);
    s.considerDaylightSaving = readFolderSetting(folder, windConsiderDaylightSaving);
    s.timeZone = readFolderSetting(folder, windDataTimeZone, TimeZoneChoiceList::systemZoneId());
    return s;
}

bool readWindSeries(const QString &path, const WindDataSettings &settings, const RecorderClock &folderClock, int year,
                    MeasurementSeries &series)
{
    BoundedLineReader reader(path);
    if (!reader.open())
        return false;
    const QTimeZone stored(settings.timeZone);
    const RecorderClock windClock(stored.isValid() ? stored : TimeZoneChoiceList::systemZone(),
                                  settings.considerDaylightSaving, RecorderClock::OnTransitions, year);
    QVector<WindStamp> stamps;
    QString line;
    while (reader.readLine(line)) {
        const WindLine read = readWindLine(line, settings.format);
        if (!read.date.isValid() || !read.time.isValid())
            continue;
        const int msOfDay = read.time.msecsSinceStartOfDay();
        if (!windClock.exists(read.date, msOfDay))
            continue;
        const qint64 instant = windClock.instant(read.date, msOfDay);
        if (folderClock.dateAt(instant).year() != year)
            continue;
        // A stamp without a speed is kept: it ends the value before it, and counts in no bin.
        stamps.append({RecorderClock::wallMs(read.date, msOfDay), instant,
                       read.hasSpeed ? read.speed : std::numeric_limits<float>::quiet_NaN()});
    }
    applyWindDateTimeDefinition(settings.format.dateTimeDefinition, stamps);
    series = MeasurementSeries();
    series.instants.reserve(stamps.size());
    series.values.reserve(stamps.size());
    for (const WindStamp &s : stamps)
        series.append(s.instant, s.speed);
    series.index(folderClock, year);
    writeDebugLines(series);
    return true;
}
