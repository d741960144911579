#include "activity/foldersettings.h"

#include "activity/activitylog.h"
#include "common/inidocument.h"
#include "common/textfilewriter.h"
#include "export/timezonechoicelist.h"

#include <QFile>
#include <QHash>
#include <QTimeZone>

#include <algorithm>
#include <memory>
#include <new>

namespace {

using FolderSettings::Key;

QString nameOf(const Key &key)
{
    return QLatin1String(key.group) + QLatin1Char('/') + QLatin1String(key.key);
}

// `stored`, as the file holds it, read as `key` reads it; invalid where it is not read.
QVariant readAs(QVariant stored, const Key &key)
{
    if (!stored.isValid())
        return {};
    // Only a text may be empty: an empty zone would be taken for the machine's.
    if ((key.type != QMetaType::QString || key.form != FolderValueForm::Any) && stored.toString().isEmpty())
        return {};
    if (key.type == QMetaType::Bool) {
        const QString text = stored.toString();
        if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) != 0
            && text.compare(QLatin1String("false"), Qt::CaseInsensitive) != 0)
            return {};
    }
    // A value that does not convert whole to the key's type: a latitude
    // "north" or "52e", a list where a text belongs.
    if (!stored.convert(key.type))
        return {};
    if (key.type == QMetaType::Int || key.type == QMetaType::Double) {
        const double number = stored.toDouble();
        if (!(number >= key.lowest && number <= key.highest))
            return {};
    }
    switch (key.form) {
    case FolderValueForm::Any:
        return stored;
    case FolderValueForm::Date:
        return QDate::fromString(stored.toString(), QLatin1String(FolderSettings::dateFormat)).isValid() ? stored
                                                                                                         : QVariant();
    case FolderValueForm::Time:
        return QTime::fromString(stored.toString(), QLatin1String(FolderSettings::timeFormat)).isValid() ? stored
                                                                                                         : QVariant();
    case FolderValueForm::Zone:
        return QTimeZone(stored.toByteArray()).isValid() ? stored : QVariant();
    }
    return stored;
}

// What `key` reads as where the file holds no value it reads: `fallback`,
// and for a zone the machine's, as the dialogs show it.
QVariant defaultOf(const Key &key, const QVariant &fallback)
{
    return key.form == FolderValueForm::Zone ? QVariant(TimeZoneChoiceList::systemZoneId()) : fallback;
}

// Every key the program reads, with what a value must be to be read under it, by name ("group/key").
const QHash<QString, Key> &knownKeys()
{
    using namespace FolderSettings;
    static const QHash<QString, Key> keys = [] {
        const Key all[] = {keyOf(latitude),
                           keyOf(longitude),
                           keyOf(daylightSaving),
                           keyOf(centerNight),
                           keyOf(twilight),
                           keyOf(periodType),
                           keyOf(intervalDays),
                           keyOf(timeZone),
                           keyOf(beginDate),
                           keyOf(endDate),
                           keyOf(startRecording),
                           keyOf(stopRecording),
                           keyOf(startMin),
                           keyOf(stopMin),
                           keyOf(invalidTimes),
                           keyOf(logDays),
                           keyOf(logMonth),
                           keyOf(logNight),
                           keyOf(logTemp),
                           keyOf(logPrec),
                           keyOf(logWind),
                           keyOf(temperaturePrecipitationFile),
                           keyOf(windSpeedFile),
                           keyOf(windDateFormat),
                           keyOf(windTimeFormat),
                           keyOf(windDecimalSeparator),
                           keyOf(windSeparator1),
                           keyOf(windSeparator2),
                           keyOf(windDateTimeDefinition),
                           keyOf(windConsiderDaylightSaving),
                           keyOf(windDataTimeZone)};
        QHash<QString, Key> byName;
        for (const Key &key : all)
            byName.insert(nameOf(key), key);
        return byName;
    }();
    return keys;
}

// Whether `stored`, a value as it reads under `key`, is `value` as the key's
// control shows it: a number at the box's decimals, a date or a time as the
// day or the minute it names ("06:+0" is 06:00), a text as it stands.
bool sameSetting(const Key &key, QVariant stored, const QVariant &value)
{
    if (key.type == QMetaType::Double && key.decimals >= 0)
        return QString::number(stored.toDouble(), 'f', key.decimals)
               == QString::number(value.toDouble(), 'f', key.decimals);
    switch (key.form) {
    case FolderValueForm::Date: {
        const QLatin1String form(FolderSettings::dateFormat);
        return QDate::fromString(stored.toString(), form) == QDate::fromString(value.toString(), form);
    }
    case FolderValueForm::Time: {
        const QLatin1String form(FolderSettings::timeFormat);
        return QTime::fromString(stored.toString(), form) == QTime::fromString(value.toString(), form);
    }
    case FolderValueForm::Any:
    case FolderValueForm::Zone:
        break;
    }
    return stored.convert(value.userType()) && stored == value;
}

// The form a value must have to be read under `key`, as the user is told.
QString formOf(const Key &key)
{
    switch (key.form) {
    case FolderValueForm::Date:
        return QStringLiteral("a date as dd.MM.yy, such as 01.05.21");
    case FolderValueForm::Time:
        return QStringLiteral("a time as hh:mm, such as 20:30");
    case FolderValueForm::Zone:
        return QStringLiteral("a time zone, such as Europe/Berlin");
    case FolderValueForm::Any:
        break;
    }
    switch (key.type) {
    case QMetaType::Bool:
        return QStringLiteral("true or false");
    case QMetaType::Int:
        return QStringLiteral("a whole number from %1 to %2").arg(key.lowest).arg(key.highest);
    case QMetaType::Double:
        return QStringLiteral("a number from %1 to %2 with a decimal point, such as 49.5")
            .arg(key.lowest)
            .arg(key.highest);
    default:
        return QStringLiteral("a text");
    }
}

// The folder's file as it stands, read with nothing but itself: its settings
// as Qt's INI reader reads them, a line at a time, without the values Qt may
// not decode (common/inidocument.h), and the value each key was read from.
struct FolderFile {
    QString path;
    bool readable = true; // false where the file is there and could not be read: it is never written over
    std::unique_ptr<IniDocument> document = std::make_unique<IniDocument>();

    explicit FolderFile(const QString &folder)
        : path(FolderSettings::filePath(folder))
    {
        try {
            // A missing file reads as empty; it is made at the first write.
            QByteArray text;
            readable = IniDocument::readFile(path, &text);
            if (readable) {
                auto read = std::make_unique<IniDocument>(text, IniDocument::ValueEnds::AtLineEnd);
                read->settings(); // parsed here, inside the guard
                document = std::move(read);
            }
        } catch (const std::bad_alloc &) {
            // Read as defaults, it would be written over with them.
            readable = false;
        }
    }

    const QSettings::SettingsMap &settings() const { return document->settings(); }

    // Whether the value stored under `name` is not read: Qt may not decode it,
    // or it does not read as its key's. It reads as its key's default.
    bool holdsUnread(const QString &name) const
    {
        const IniDocument::Value *value = document->lastValueOf(name);
        if (!value)
            return false;
        if (!value->safeToDecode)
            return true;
        const auto key = knownKeys().constFind(name);
        return key != knownKeys().cend() && !readAs(settings().value(name), *key).isValid();
    }

    QVariant read(const Key &key, const QVariant &fallback) const
    {
        const QVariant stored = readAs(settings().value(nameOf(key)), key);
        return stored.isValid() ? stored : fallback;
    }

    // Whether writing `value` would leave the setting as it reads: the file
    // holds it, as the key's control shows it, or holds a value that is not
    // read, which reads as `fallback`. What changes nothing is not written.
    bool holds(const Key &key, const QVariant &value, const QVariant &fallback) const
    {
        QVariant stored = readAs(settings().value(nameOf(key)), key);
        if (!stored.isValid()) {
            if (!holdsUnread(nameOf(key)))
                return false; // a missing key is written
            stored = defaultOf(key, fallback);
        }
        return sameSetting(key, stored, value);
    }
};

// A value to write, with what its key reads as where the file holds none that reads.
struct FolderChange {
    Key key;
    QVariant value;
    QVariant fallback;
};

// Stores each of `changes` that the file does not hold already (FolderFile::holds):
// a Close that changes nothing leaves the file as it was. Only the lines of
// the settings stored change, and a key the file lacks is added on a line of
// its own (IniDocument::set), so a value written by hand, one that is not
// read, a comment, stay. A file whose reading or editing runs out of memory
// stays as it is.
void store(const QString &folder, const QVector<FolderChange> &changes)
{
    try {
        FolderFile file(folder);
        if (!file.readable)
            return; // its values would be lost
        bool changed = false;
        for (const FolderChange &change : changes) {
            if (!file.holds(change.key, change.value, change.fallback)) {
                file.document->set(nameOf(change.key), change.value);
                changed = true;
            }
        }
        if (changed && !writeWholeFile(file.path, file.document->text(), nullptr))
            qCDebug(lcActivity) << "settings not stored in" << file.path;
    } catch (const std::bad_alloc &) {
        qCDebug(lcActivity) << "settings not stored: out of memory";
    }
}

template <typename T>
void addChange(const FolderSetting<T> &setting, const QVariant &value, QVector<FolderChange> *changes)
{
    changes->append({FolderSettings::keyOf(setting), value, QVariant::fromValue(setting.fallback)});
}

template <typename T>
T read(const FolderFile &file, const FolderSetting<T> &setting, const T &fallback)
{
    return file.read(FolderSettings::keyOf(setting), QVariant::fromValue(fallback)).template value<T>();
}

template <typename T>
T read(const FolderFile &file, const FolderSetting<T> &setting)
{
    return read(file, setting, setting.fallback);
}

} // namespace

namespace FolderSettings {

QString filePath(const QString &folder)
{
    return folder + QLatin1Char('/') + QLatin1String(fileName);
}

QStringList unreadValues(const QString &folder)
{
    const FolderFile file(folder);
    // A key no setting has, in a section of the settings (in any case), is a
    // slip of the pen too: the setting it was meant for reads as its default.
    QHash<QString, QString> known; // by their names in lower case
    for (const Key &key : knownKeys())
        known.insert(nameOf(key).toLower(), nameOf(key));
    const auto unknown = [&known](const IniDocument::Value &value) {
        const bool settingsSection = std::any_of(known.cbegin(), known.cend(), [&value](const QString &name) {
            return name.startsWith(value.section, Qt::CaseInsensitive);
        });
        return !value.section.isEmpty() && settingsSection && !knownKeys().contains(value.key);
    };
    QStringList lines;
    for (const IniDocument::Value &value : file.document->lastValues()) {
        if (!file.holdsUnread(value.key) && !unknown(value))
            continue;
        QString text = file.document->writtenText(value);
        if (text.size() > 48)
            text = text.left(45) + QStringLiteral("...");
        const auto key = knownKeys().constFind(value.key);
        QString form;
        if (key != knownKeys().cend()) {
            form = formOf(*key);
        } else if (unknown(value)) {
            const QString meant = known.value(value.key.toLower());
            form = meant.isEmpty()
                       ? QStringLiteral("no setting of this name in [%1]").arg(value.section.chopped(1))
                       : QStringLiteral("no setting of this name: it is %1 in [%2]")
                             .arg(meant.section(QLatin1Char('/'), 1), meant.section(QLatin1Char('/'), 0, 0));
        } else {
            form = QStringLiteral("a binary value of a kind Quillon never stores here");
        }
        lines << QStringLiteral("%1 = %2: %3").arg(value.key.mid(value.section.size()), text, form);
    }
    return lines;
}

QVariant value(const QString &folder, const Key &key, const QVariant &fallback)
{
    return FolderFile(folder).read(key, fallback);
}

void setValue(const QString &folder, const Key &key, const QVariant &value, const QVariant &fallback)
{
    store(folder, {{key, value, fallback}});
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
    // One reading gives the whole set: the file is read once, not fifteen times.
    const FolderFile s(folder);
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
    addChange(latitude, t.latitude, &changes);
    addChange(longitude, t.longitude, &changes);
    addChange(daylightSaving, t.daylightSaving, &changes);
    addChange(centerNight, t.centerNight, &changes);
    addChange(intervalDays, t.intervalDays, &changes);
    addChange(timeZone, t.timeZone, &changes);
    addChange(twilight, t.twilight, &changes);
    addChange(beginDate, dateText(t.beginDate), &changes);
    addChange(endDate, dateText(t.endDate), &changes);
    addChange(startRecording, timeText(t.startRecording), &changes);
    addChange(stopRecording, timeText(t.stopRecording), &changes);
    addChange(startMin, t.startMin, &changes);
    addChange(stopMin, t.stopMin, &changes);
    addChange(periodType, t.periodType, &changes);
    store(folder, changes);
}

void writeWindDataSettings(const QString &folder, const WindDataSettings &w)
{
    using namespace FolderSettings;
    QVector<FolderChange> changes;
    addChange(windDateFormat, w.format.dateFormat, &changes);
    addChange(windTimeFormat, w.format.timeFormat, &changes);
    addChange(windDecimalSeparator, w.format.decimalSeparator, &changes);
    addChange(windSeparator1, w.format.separator1, &changes);
    addChange(windSeparator2, w.format.separator2, &changes);
    if (!w.format.dateTimeDefinition.isEmpty())
        addChange(windDateTimeDefinition, w.format.dateTimeDefinition, &changes);
    addChange(windConsiderDaylightSaving, w.considerDaylightSaving, &changes);
    addChange(windDataTimeZone, w.timeZone, &changes);
    store(folder, changes);
}
