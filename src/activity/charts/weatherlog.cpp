#include "activity/charts/weatherlog.h"

#include "activity/boundedlinereader.h"
#include "activity/datafilefields.h"

#include <QStringList>

WeatherLine readWeatherLine(const QString &line, WeatherValue which)
{
    WeatherLine read;
    const QStringList fields = line.split(line.contains(QLatin1Char('\t')) ? QLatin1Char('\t') : QLatin1Char(','));
    if (fields.size() != 3)
        return read;
    const QString stamp = dataFileField(fields.at(0));
    read.date = readStampDate(stamp.left(10), QStringLiteral("yyyy-MM-dd"));
    const QTime time = readStampTime(stamp.right(8), QStringLiteral("hh:mm:ss"));
    read.msOfDay = time.isValid() ? time.msecsSinceStartOfDay() : 0;
    const QString value = dataFileField(fields.at(int(which)));
    if (!read.date.isValid() || value.contains(QLatin1String("nan")))
        return read;
    read.fits = true;
    // toFloat reads in the C locale; what it cannot read (or what overflows a float) is 0.
    bool ok = false;
    read.value = value.toFloat(&ok);
    if (!ok)
        read.value = 0;
    return read;
}

bool readWeatherSeries(const QString &path, WeatherValue which, const ActivityClock &clock, int year,
                       MeasurementSeries &series)
{
    BoundedLineReader reader(path);
    if (!reader.open())
        return false;
    series = MeasurementSeries();
    QString line;
    while (reader.readLine(line)) {
        const WeatherLine read = readWeatherLine(line, which);
        if (!read.fits || read.date.year() != year || !clock.exists(read.date, read.msOfDay))
            continue;
        series.append(clock.instant(read.date, read.msOfDay), read.value);
    }
    series.indexDays(clock, year);
    return true;
}
