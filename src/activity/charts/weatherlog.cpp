#include "activity/charts/weatherlog.h"

#include "activity/boundedlinereader.h"
#include "activity/datafilefields.h"

#include <QDateTime>
#include <QStringList>
#include <cmath>
#include <limits>

WeatherLine readWeatherLine(const QString &line, WeatherValue which)
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
    // toFloat reads in the C locale; what it cannot read (or what overflows a float) is no value.
    bool ok = false;
    read.value = dataFileField(fields.at(int(which))).toFloat(&ok);
    if (!ok || !std::isfinite(read.value))
        read.value = std::numeric_limits<float>::quiet_NaN();
    return read;
}

ActivityClock weatherLogClock(const QTimeZone &zone, bool daylightSaving, int year)
{
    if (daylightSaving)
        return ActivityClock(zone, true, year);
    const QDateTime newYear(QDate(year, 1, 1), QTime(0, 0), zone);
    return ActivityClock(QTimeZone(zone.standardTimeOffset(newYear)), true, year);
}

bool readWeatherSeries(const QString &path, WeatherValue which, const ActivityClock &stampClock,
                       const ActivityClock &folderClock, int year, MeasurementSeries &series)
{
    BoundedLineReader reader(path);
    if (!reader.open())
        return false;
    series = MeasurementSeries();
    QString line;
    while (reader.readLine(line)) {
        const WeatherLine read = readWeatherLine(line, which);
        if (!read.fits || read.date.year() != year || !stampClock.exists(read.date, read.msOfDay))
            continue;
        series.append(stampClock.instant(read.date, read.msOfDay), read.value);
    }
    series.index(folderClock, year);
    return true;
}
