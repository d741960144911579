#include "activity/foldersettings.h"

#include "export/timezonechoicelist.h"

#include <QSettings>
#include <QTimeZone>

namespace {

// QSettings parses an INI file one section at a time, when a key is first
// asked for, and then parses only the last section whose name sorts before the
// key: "[Time/A]" (or "[Time\A]", the same group) sorts between "Time/" and
// "Time/StartMin", so the lookup stops at it, never parses "[Time]", and every
// key of the group reads as missing. The dialog would then show the defaults
// and its Close write them over the stored values. Listing the keys once parses
// every section, so each key reads as it is stored, wherever its group stands.
class FolderFile : public QSettings
{
public:
    explicit FolderFile(const QString &folder)
        : QSettings(FolderSettings::filePath(folder), QSettings::IniFormat)
    {
        allKeys();
    }
};

QVariant read(QSettings &settings, const char *group, const char *key, const QVariant &fallback)
{
    settings.beginGroup(QLatin1String(group));
    const QVariant v = settings.value(QLatin1String(key), fallback);
    settings.endGroup();
    return v;
}

void write(QSettings &settings, const char *group, const char *key, const QVariant &value)
{
    settings.beginGroup(QLatin1String(group));
    settings.setValue(QLatin1String(key), value);
    settings.endGroup();
}

template <typename T>
T read(QSettings &settings, const FolderSetting<T> &setting, const T &fallback)
{
    return read(settings, setting.group, setting.key, QVariant::fromValue(fallback)).template value<T>();
}

template <typename T>
T read(QSettings &settings, const FolderSetting<T> &setting)
{
    return read(settings, setting, setting.fallback);
}

template <typename T>
void write(QSettings &settings, const FolderSetting<T> &setting, const QVariant &value)
{
    write(settings, setting.group, setting.key, value);
}

// Writes `value` only where the file does not hold it already. At any write Qt
// rewrites the whole file in its own form: a section a user added by hand
// beside the program's ("[Time/A]" beside "[Time]") becomes keys of "[Time]",
// and an empty one and comments go. So a Close that changes nothing leaves the
// file as it was.
template <typename T>
void writeChanged(QSettings &settings, const FolderSetting<T> &setting, const T &value)
{
    settings.beginGroup(QLatin1String(setting.group));
    const QString key = QLatin1String(setting.key);
    const bool held = settings.contains(key) && settings.value(key).template value<T>() == value;
    settings.endGroup();
    if (!held)
        write(settings, setting, QVariant::fromValue(value));
}

} // namespace

namespace FolderSettings {

QString filePath(const QString &folder)
{
    return folder + QLatin1Char('/') + QLatin1String(fileName);
}

QVariant value(const QString &folder, const char *group, const char *key, const QVariant &fallback)
{
    FolderFile settings(folder);
    return read(settings, group, key, fallback);
}

void setValue(const QString &folder, const char *group, const char *key, const QVariant &value, Sync sync)
{
    FolderFile settings(folder);
    write(settings, group, key, value);
    if (sync == Sync::Now)
        settings.sync();
}

QString dateText(const QDate &date)
{
    return date.toString(QLatin1String(dateFormat));
}

QString timeText(const QTime &time)
{
    return time.toString(QLatin1String(timeFormat));
}

} // namespace FolderSettings

FolderTimeSettings readFolderTimeSettings(const QString &folder)
{
    using namespace FolderSettings;
    // One settings object reads the whole set: the file is parsed once, not fifteen times.
    FolderFile s(folder);
    FolderTimeSettings r;
    r.latitude = read(s, latitude);
    r.longitude = read(s, longitude);
    r.daylightSaving = read(s, daylightSaving);
    r.centerNight = read(s, centerNight);
    r.twilight = read(s, twilight);
    r.periodType = read(s, periodType);
    r.intervalDays = read(s, intervalDays);
    // A hand-written id without the byte-array marker reads as text; its bytes are the same.
    r.timeZone = read(s, timeZone, TimeZoneChoiceList::systemZoneId());
    r.beginDate = QDate::fromString(read(s, beginDate), QLatin1String(dateFormat));
    r.endDate = QDate::fromString(read(s, endDate), QLatin1String(dateFormat));
    r.startRecording = QTime::fromString(read(s, startRecording), QLatin1String(timeFormat));
    r.stopRecording = QTime::fromString(read(s, stopRecording), QLatin1String(timeFormat));
    r.startMin = read(s, startMin);
    r.stopMin = read(s, stopMin);
    r.invalidTimes = read(s, invalidTimes);
    return r;
}

void writeFolderTimeSettings(const QString &folder, const FolderTimeSettings &t)
{
    using namespace FolderSettings;
    FolderFile s(folder);
    writeChanged(s, latitude, t.latitude);
    writeChanged(s, longitude, t.longitude);
    writeChanged(s, daylightSaving, t.daylightSaving);
    writeChanged(s, centerNight, t.centerNight);
    writeChanged(s, intervalDays, t.intervalDays);
    writeChanged(s, timeZone, t.timeZone);
    writeChanged(s, twilight, t.twilight);
    writeChanged(s, beginDate, dateText(t.beginDate));
    writeChanged(s, endDate, dateText(t.endDate));
    writeChanged(s, startRecording, timeText(t.startRecording));
    writeChanged(s, stopRecording, timeText(t.stopRecording));
    writeChanged(s, startMin, t.startMin);
    writeChanged(s, stopMin, t.stopMin);
    writeChanged(s, periodType, t.periodType);
}

void writeWindDataSettings(const QString &folder, const WindDataSettings &w)
{
    using namespace FolderSettings;
    FolderFile s(folder);
    write(s, windDateFormat, w.format.dateFormat);
    write(s, windTimeFormat, w.format.timeFormat);
    write(s, windDecimalSeparator, w.format.decimalSeparator);
    write(s, windSeparator1, w.format.separator1);
    write(s, windSeparator2, w.format.separator2);
    if (!w.format.dateTimeDefinition.isEmpty())
        write(s, windDateTimeDefinition, w.format.dateTimeDefinition);
    write(s, windConsiderDaylightSaving, w.considerDaylightSaving);
    write(s, windDataTimeZone, w.timeZone);
    s.sync();
}
