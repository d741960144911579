#include "activity/charts/weatherlog.h"

#include "activity/datafilefields.h"
#include "analysis/boundedlinereader.h"

#include <QDateTime>
#include <QStringList>
#include <cmath>
#include <limits>

namespace {

// toFloat reads in the C locale; what it cannot read (or what overflows a float) is no value.
float weatherValue(const QString &field)
{
    bool ok = false;
    const float value = dataFileField(field).toFloat(&ok);
    return ok && std::isfinite(value) ? value : std::numeric_limits<float>::quiet_NaN();
}

} // namespace

WeatherLine readWeatherLine(const QString &line)
{
    WeatherLine read;
    const QStringList fields = line.split(line.contains(QLatin1Char('\t')) ? QLatin1Char('\t') : QLatin1Char(','));
    if (fields.size() != 3)
        return read;
    const QString stamp = dataFileField(fields.at(0));
    read.date = readStampDate(stamp.left(10), QStringLiteral("yyyy-MM-dd"));
    const QTime time = readStampTime(stamp.right(8), QStringLiteral("hh:mm:ss"));
    if (!read.date.isValid() || !time.isValid())
        return read;
    read.msOfDay = time.msecsSinceStartOfDay();
    read.fits = true;
    read.temperature = weatherValue(fields.at(int(WeatherValue::Temperature)));
    read.precipitation = weatherValue(fields.at(int(WeatherValue::Precipitation)));
    return read;
}

RecorderClock weatherLogClock(const QTimeZone &zone, bool daylightSaving, int year)
{
    if (daylightSaving)
        return RecorderClock(zone, true, RecorderClock::OnTransitions, year);
    const QDateTime newYear(QDate(year, 1, 1), QTime(0, 0), zone);
    return RecorderClock(QTimeZone(zone.standardTimeOffset(newYear)), true, RecorderClock::OnTransitions, year);
}

bool readWeatherLog(const QString &path, const RecorderClock &stampClock, const RecorderClock &folderClock, int year,
                    WeatherSeries &series)
{
    BoundedLineReader reader(path);
    if (!reader.open())
        return false;
    series = WeatherSeries();
    QString line;
    while (reader.readLine(line)) {
        const WeatherLine read = readWeatherLine(line);
        if (!read.fits || read.date.year() != year || !stampClock.exists(read.date, read.msOfDay))
            continue;
        const qint64 instant = stampClock.instant(read.date, read.msOfDay);
        series.temperature.append(instant, read.temperature);
        series.precipitation.append(instant, read.precipitation);
    }
    series.temperature.index(folderClock, year);
    series.precipitation.index(folderClock, year);
    return true;
}
