#include "activity/foldersettings.h"

#include "activity/activitylog.h"
#include "common/inivalues.h"
#include "common/settingsformat.h"
#include "common/textfilewriter.h"
#include "export/timezonechoicelist.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimeZone>

#include <memory>

namespace {

// The folder's file as it stands, and of it what Qt may decode. The file
// travels with the recordings, so it may come from another machine or a
// damaged disk: a value Qt's decoder must not see (common/inivalues.h) would
// make it throw or crash at every reading.
struct FolderFileText {
    QString path;
    QByteArray bytes;
    QByteArray admitted; // the bytes without the values Qt may not decode
    QByteArray emptied;  // the bytes with those values emptied, their keys kept
    bool whole = true;   // every value may be decoded: Qt reads the file itself
};

// `text` with the values `values[i]` for which `emptied[i]` holds cut after
// their '=': Qt reads their keys, with an empty text each.
QByteArray iniTextEmptying(const QByteArray &text, const QVector<IniValue> &values, const QVector<bool> &emptied)
{
    QByteArray kept;
    int from = 0;
    for (int v = 0; v < values.size(); ++v) {
        const IniLine &line = values.at(v).line;
        if (!emptied.value(v) || line.equals < 0)
            continue;
        kept.append(text.constData() + from, line.equals + 1 - from);
        from = line.end;
    }
    kept.append(text.constData() + from, text.size() - from);
    return kept;
}

// Every key of an INI text, as Qt names them ("group/key").
QStringList keysOf(const QByteArray &text)
{
    QSettings::SettingsMap settings;
    readIniText(text, &settings);
    return settings.keys();
}

FolderFileText folderFileText(const QString &folder)
{
    FolderFileText text;
    text.path = FolderSettings::filePath(folder);
    QFile file(text.path);
    if (!file.open(QIODevice::ReadOnly))
        return text; // Qt reads a missing file as empty, and creates it at the first write
    text.bytes = file.readAll();
    const QVector<IniValue> values = iniValuesOf(text.bytes);
    QVector<bool> refused(values.size());
    for (int v = 0; v < values.size(); ++v) {
        refused[v] = !values.at(v).admitted;
        text.whole = text.whole && values.at(v).admitted;
    }
    if (!text.whole) {
        text.admitted = iniTextWithout(text.bytes, values, refused);
        text.emptied = iniTextEmptying(text.bytes, values, refused);
    }
    return text;
}

// The path Qt is to read for a folder's file. A whole file is read where it
// is. Else a reader reads what may be decoded from a scratch file of its own
// (`scratch`), and the file stays as it is; a writer first rewrites the file
// without the values Qt may not decode, which read as their defaults anyway,
// since Qt rewrites the whole file at a write, decoding every value. A file
// that cannot be rewritten is written to the scratch file, where the change is lost.
QString readablePath(const QString &folder, bool writing, std::unique_ptr<QTemporaryDir> *scratch,
                     QStringList *unreadKeys)
{
    const FolderFileText text = folderFileText(folder);
    if (text.whole)
        return text.path;
    qCDebug(lcActivity) << "values Qt may not decode left out of" << text.path;
    if (!writing) {
        *unreadKeys = keysOf(text.emptied);
        for (const QString &key : keysOf(text.admitted))
            unreadKeys->removeOne(key);
    }
    if (writing && writeWholeFile(text.path, text.admitted, nullptr))
        return text.path;
    *scratch = std::make_unique<QTemporaryDir>();
    if ((*scratch)->isValid()) {
        const QString path = (*scratch)->filePath(QLatin1String(FolderSettings::fileName));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(text.admitted) == text.admitted.size() && file.flush())
            return path;
    }
    // Nothing can be made under a file: every setting reads as its default, and a write goes nowhere.
    qCDebug(lcActivity) << "no scratch file for" << text.path << "; its settings read as their defaults";
    return text.path + QStringLiteral("/unread");
}

// Holds the scratch file, if any, of a FolderFile: a base so that it is made before the settings and outlives them.
struct FolderFileScratch {
    std::unique_ptr<QTemporaryDir> scratch;
    QStringList unreadKeys; // of a reader: the keys whose values are not read ("group/key")
};

// QSettings parses an INI file one section at a time, when a key is first
// asked for, and then parses only the last section whose name sorts before the
// key: "[Time/A]" (or "[Time\A]", the same group) sorts between "Time/" and
// "Time/StartMin", so the lookup stops at it, never parses "[Time]", and every
// key of the group reads as missing. The dialog would then show the defaults
// and its Close write them over the stored values. Listing the keys once parses
// every section, so each key reads as it is stored, wherever its group stands.
class FolderFile
    : private FolderFileScratch
    , public QSettings
{
public:
    enum Use { Reading, Writing };
    explicit FolderFile(const QString &folder, Use use = Reading)
        : QSettings(readablePath(folder, use == Writing, &scratch, &unreadKeys), wholeIniFormat())
    {
        allKeys();
    }

    // Whether writing `value` would leave the settings as they read: the file
    // holds it, or holds a value that is not read, which reads as `fallback`.
    // Qt rewrites the whole file at any write, in its own form: a section a
    // user added by hand beside the program's ("[Time/A]" beside "[Time]")
    // becomes keys of "[Time]", comments go, and so do the values that are
    // not read. So what changes nothing is not written.
    bool holds(const char *group, const char *key, const QVariant &value, const QVariant &fallback)
    {
        beginGroup(QLatin1String(group));
        QVariant stored = QSettings::value(QLatin1String(key));
        endGroup();
        if (!stored.isValid()) {
            if (!unreadKeys.contains(QLatin1String(group) + QLatin1Char('/') + QLatin1String(key)))
                return false;
            stored = fallback;
        }
        return stored.isValid() && stored.convert(value.userType()) && stored == value;
    }
};

QVariant read(QSettings &settings, const char *group, const char *key, const QVariant &fallback)
{
    settings.beginGroup(QLatin1String(group));
    QVariant v = settings.value(QLatin1String(key), fallback);
    settings.endGroup();
    // A value that does not read whole as the reader's type (a latitude "north") reads as the default, not as 0.
    if (fallback.isValid() && !v.convert(fallback.userType()))
        return fallback;
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

// A value to write, where the file does not hold it already (FolderFile::holds).
struct FolderChange {
    const char *group;
    const char *key;
    QVariant value;
};

// Adds `value` to `changes` only where the file does not hold it already: a
// Close that changes nothing leaves the file as it was.
template <typename T>
void addChanged(FolderFile &settings, const FolderSetting<T> &setting, const T &value, QVector<FolderChange> *changes)
{
    if (!settings.holds(setting.group, setting.key, QVariant::fromValue(value), QVariant::fromValue(setting.fallback)))
        changes->append({setting.group, setting.key, QVariant::fromValue(value)});
}

} // namespace

namespace FolderSettings {

QString filePath(const QString &folder)
{
    return folder + QLatin1Char('/') + QLatin1String(fileName);
}

bool holdsUnreadableValues(const QString &folder)
{
    return !folderFileText(folder).whole;
}

QVariant value(const QString &folder, const char *group, const char *key, const QVariant &fallback)
{
    FolderFile settings(folder);
    return read(settings, group, key, fallback);
}

void setValue(const QString &folder, const char *group, const char *key, const QVariant &value, Sync sync,
              const QVariant &fallback)
{
    if (FolderFile(folder).holds(group, key, value, fallback))
        return;
    FolderFile settings(folder, FolderFile::Writing);
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
    QVector<FolderChange> changes;
    {
        FolderFile s(folder);
        addChanged(s, latitude, t.latitude, &changes);
        addChanged(s, longitude, t.longitude, &changes);
        addChanged(s, daylightSaving, t.daylightSaving, &changes);
        addChanged(s, centerNight, t.centerNight, &changes);
        addChanged(s, intervalDays, t.intervalDays, &changes);
        addChanged(s, timeZone, t.timeZone, &changes);
        addChanged(s, twilight, t.twilight, &changes);
        addChanged(s, beginDate, dateText(t.beginDate), &changes);
        addChanged(s, endDate, dateText(t.endDate), &changes);
        addChanged(s, startRecording, timeText(t.startRecording), &changes);
        addChanged(s, stopRecording, timeText(t.stopRecording), &changes);
        addChanged(s, startMin, t.startMin, &changes);
        addChanged(s, stopMin, t.stopMin, &changes);
        addChanged(s, periodType, t.periodType, &changes);
    }
    if (changes.isEmpty())
        return;
    FolderFile s(folder, FolderFile::Writing);
    for (const FolderChange &change : changes)
        write(s, change.group, change.key, change.value);
}

void writeWindDataSettings(const QString &folder, const WindDataSettings &w)
{
    using namespace FolderSettings;
    FolderFile s(folder, FolderFile::Writing);
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
