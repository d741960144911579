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

// Every key the program reads, with what a value must be to be read under it, in the order of their groups.
const QVector<Key> &settingKeys()
{
    using namespace FolderSettings;
    static const QVector<Key> keys{keyOf(latitude),
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
    return keys;
}

// The same keys by name ("group/key").
const QHash<QString, Key> &knownKeys()
{
    static const QHash<QString, Key> keys = [] {
        QHash<QString, Key> byName;
        for (const Key &key : settingKeys())
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
    // As numbers: a longitude just west of Greenwich, -0.000012, shows as
    // "-0.0000", which is the box's 0.
    const auto shown = [&key](const QVariant &number) {
        return QString::number(number.toDouble(), 'f', key.decimals).toDouble();
    };
    if (key.type == QMetaType::Double && key.decimals >= 0)
        return shown(stored) == shown(value);
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

// The form a value must have to be read under `key`, as the user is told;
// `items`, those of the box of an index setting, say what each number means.
QString formOf(const Key &key, const QStringList &items)
{
    switch (key.form) {
    case FolderValueForm::Date:
        return QStringLiteral("a date as dd.MM.yy, two digits each, such as 01.05.21");
    case FolderValueForm::Time:
        return QStringLiteral("a time as hh:mm, such as 20:30: the file holds no seconds, though the box shows them");
    case FolderValueForm::Zone:
        return QStringLiteral("a time zone, such as Europe/Berlin");
    case FolderValueForm::Any:
        break;
    }
    switch (key.type) {
    case QMetaType::Bool:
        return QStringLiteral("true or false");
    case QMetaType::Int: {
        QString form = QStringLiteral("a whole number from %1 to %2").arg(key.lowest).arg(key.highest);
        QStringList meanings;
        for (int i = 0; i < items.size(); ++i)
            meanings << QStringLiteral("%1 for \"%2\"").arg(i).arg(items.at(i));
        return meanings.isEmpty() ? form : form + QStringLiteral(": ") + meanings.join(QStringLiteral(", "));
    }
    case QMetaType::Double:
        return QStringLiteral("a number from %1 to %2 with a decimal point, such as 49.5")
            .arg(key.lowest)
            .arg(key.highest);
    default:
        return QStringLiteral("a text, in quotes where it holds \",\" or \";\", such as \",\"");
    }
}

// Whether `key` takes a text as it stands: a path, the invalid periods, a choice of the wind file's format.
bool takesText(const Key &key)
{
    return key.type == QMetaType::QString && key.form == FolderValueForm::Any;
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

    // The value stored under `name` as the settings read it: as Qt's reader
    // gives it, but for a text setting written plainly with a comma in it
    // (decimalSeparator=,, a path), which Qt would split into a list: that
    // reads as it stands. Qt itself writes such a text in quotes.
    QVariant stored(const QString &name) const
    {
        const QVariant value = settings().value(name);
        const auto key = knownKeys().constFind(name);
        if (value.userType() != QMetaType::QStringList || key == knownKeys().cend() || !takesText(*key))
            return value;
        const IniDocument::Value &last = *document->lastValueOf(name);
        const QByteArray written = document->writtenBytes(last).trimmed();
        return written.contains('"') || written.contains('\\') ? value : QVariant(document->writtenText(last));
    }

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
        return key != knownKeys().cend() && !readAs(stored(name), *key).isValid();
    }

    QVariant read(const Key &key, const QVariant &fallback) const
    {
        const QVariant value = readAs(stored(nameOf(key)), key);
        return value.isValid() ? value : fallback;
    }

    // Whether writing `value` would leave the setting as it reads: the file
    // holds it, as the key's control shows it, or holds a value that is not
    // read, which reads as `fallback`. What changes nothing is not written.
    bool holds(const Key &key, const QVariant &value, const QVariant &fallback) const
    {
        QVariant stored = readAs(this->stored(nameOf(key)), key);
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
void addChange(const FolderSetting<T> &setting, const QVariant &value, QVector<FolderChange> *changes,
               bool changed = true)
{
    if (changed)
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

// --- Slips of the pen, as the dialog names them -----------------------------------

// The group of the settings that `section` (a value's, "time/") names in any case; empty for none.
QString settingsGroupOf(const QString &section)
{
    for (const Key &key : settingKeys()) {
        const QLatin1String group(key.group);
        if (section.size() == group.size() + 1 && section.startsWith(group, Qt::CaseInsensitive))
            return group;
    }
    return QString();
}

// How many letters must change, go or come to make `a` of `b`.
int editDistance(const QString &a, const QString &b)
{
    QVector<int> row(b.size() + 1);
    for (int j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (int i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = i;
        for (int j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a.at(i - 1) == b.at(j - 1) ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The setting a key that no setting has was meant for: one of its name in
// another case (`sure`), else one at most two letters off; of equals, the
// first of `group`, else the first. Null where there is none.
const Key *meantSetting(const QString &name, const QString &group, bool *sure)
{
    const Key *meant = nullptr;
    int closest = 3;
    for (const Key &key : settingKeys()) {
        const int distance = editDistance(name.toLower(), QString::fromLatin1(key.key).toLower());
        const bool ownGroup = group == QLatin1String(key.group);
        if (distance < closest || (distance == closest && meant && ownGroup && group != QLatin1String(meant->group))) {
            meant = &key;
            closest = distance;
        }
    }
    *sure = closest == 0;
    return meant;
}

// The name of the section header above `value` as it is written
// ("geocoordinates" of "[geocoordinates]"); empty before the first. As UTF-8
// where it is UTF-8, else as Latin-1.
QString headerAbove(const FolderFile &file, const IniDocument::Value &value)
{
    if (value.header < 0)
        return QString();
    const QByteArray &text = file.document->readText();
    const IniDocument::SectionHeader &above = file.document->sectionHeaders().at(value.header);
    const int close = text.indexOf(']', above.start);
    const int end = close < 0 || close >= above.end ? above.end : close;
    const QByteArray name = text.mid(above.start + 1, end - above.start - 1).trimmed();
    const QString utf8 = QString::fromUtf8(name);
    return utf8.toUtf8() == name ? utf8 : QString::fromLatin1(name);
}

// What a key that no setting has is, under the header `header` as written:
// a slip where it stands in a section of the settings, or before any section
// under a setting's name in any case; empty for a key of one's own.
QString unknownKeyText(const IniDocument::Value &value, const QString &header)
{
    const QString group = settingsGroupOf(value.section);
    if (group.isEmpty() && !value.section.isEmpty())
        return QString(); // a section of one's own
    bool sure = false;
    const Key *meant = meantSetting(value.key.mid(value.section.size()), group, &sure);
    if (value.section.isEmpty() && !sure)
        return QString();
    const QString where = header.isEmpty() ? QStringLiteral("written before any section")
                          : meant && header == QLatin1String(meant->group)
                              ? QStringLiteral("no setting of this name")
                              : QStringLiteral("no setting of this name in [%1]").arg(header);
    if (!meant)
        return where;
    return QStringLiteral("%1: it %2 %3 in [%4]")
        .arg(where, sure ? QStringLiteral("is") : QStringLiteral("may be"), QLatin1String(meant->key),
             QLatin1String(meant->group));
}

// The number of the line, counted from 1, that holds `offset`; lines end in LF, CR LF or CR.
int lineNumberAt(const QByteArray &text, int offset)
{
    int line = 1;
    for (int i = 0; i < offset; ++i) {
        if (text.at(i) == '\n' || (text.at(i) == '\r' && (i + 1 >= text.size() || text.at(i + 1) != '\n')))
            ++line;
    }
    return line;
}

// Whether a ";" right after `value`, outside quotes, cut off the rest of its line as a comment.
bool cutByComment(const QByteArray &text, const IniDocument::Value &value)
{
    const int end = value.end;
    return end < text.size() && text.at(end) == ';' && end > value.equals + 1 && text.at(end - 1) != ' '
           && text.at(end - 1) != '\t';
}

// Each slip of `file`, in the order of the file, as unreadValues tells them.
QStringList slipsOf(const FolderFile &file, const QVector<FolderSettings::BoxItems> &boxItems)
{
    const QVector<IniDocument::Value> &values = file.document->values();
    const QByteArray &text = file.document->readText();
    QHash<QString, int> timesWritten; // of each setting's key
    for (const IniDocument::Value &value : values) {
        if (knownKeys().contains(value.key))
            ++timesWritten[value.key];
    }
    QStringList lines;
    const auto tell = [&](const IniDocument::Value &value, const QString &what) {
        QString written = file.document->writtenText(value);
        if (written.size() > 48)
            written = written.left(45) + QStringLiteral("...");
        lines << QStringLiteral("%1 = %2: %3").arg(value.key.mid(value.section.size()), written, what);
    };
    for (const IniDocument::Value &value : values) {
        // A key standing twice is read from one of its lines, and told of there.
        if (file.document->lastValueOf(value.key)->start != value.start)
            continue;
        const auto key = knownKeys().constFind(value.key);
        if (key == knownKeys().cend()) {
            const QString what = unknownKeyText(value, headerAbove(file, value));
            if (!what.isEmpty())
                tell(value, what);
            else if (!value.safeToDecode)
                tell(value, QStringLiteral("a binary value of a kind Quillon never stores here"));
            continue;
        }
        if (file.holdsUnread(value.key)) {
            const auto items =
                std::find_if(boxItems.cbegin(), boxItems.cend(),
                             [&](const FolderSettings::BoxItems &box) { return nameOf(box.key) == value.key; });
            tell(value, formOf(*key, items == boxItems.cend() ? QStringList() : items->items));
        }
        const int times = timesWritten.value(value.key);
        if (times > 1)
            tell(value, QStringLiteral("stands %1 times in [%2]; this one, on line %3, counts")
                            .arg(times)
                            .arg(QLatin1String(key->group))
                            .arg(lineNumberAt(text, value.start)));
        if (takesText(*key) && cutByComment(text, value))
            tell(value,
                 QStringLiteral("the rest of its line, after \";\", is a comment: put the whole value in quotes"));
    }
    return lines;
}

} // namespace

namespace FolderSettings {

QString filePath(const QString &folder)
{
    return folder + QLatin1Char('/') + QLatin1String(fileName);
}

QStringList unreadValues(const QString &folder, const QVector<BoxItems> &boxItems)
{
    const FolderFile file(folder);
    if (!file.readable)
        return QStringList(); // read as the defaults: the dialog has no line to name
    try {
        return slipsOf(file, boxItems);
    } catch (const std::bad_alloc &) {
        // Naming the slips ran out of memory; the settings themselves read.
        return QStringList();
    }
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

void writeFolderTimeSettings(const QString &folder, const FolderTimeSettings &t, const FolderTimeSettings *before)
{
    using namespace FolderSettings;
    // Whether a field is to be stored: every one, or one that differs from `before`.
    const auto changed = [&t, before](auto field) { return !before || !(t.*field == before->*field); };
    using S = FolderTimeSettings;
    QVector<FolderChange> changes;
    addChange(latitude, t.latitude, &changes, changed(&S::latitude));
    addChange(longitude, t.longitude, &changes, changed(&S::longitude));
    addChange(daylightSaving, t.daylightSaving, &changes, changed(&S::daylightSaving));
    addChange(centerNight, t.centerNight, &changes, changed(&S::centerNight));
    addChange(intervalDays, t.intervalDays, &changes, changed(&S::intervalDays));
    addChange(timeZone, t.timeZone, &changes, changed(&S::timeZone));
    addChange(twilight, t.twilight, &changes, changed(&S::twilight));
    addChange(beginDate, dateText(t.beginDate), &changes, changed(&S::beginDate));
    addChange(endDate, dateText(t.endDate), &changes, changed(&S::endDate));
    addChange(startRecording, timeText(t.startRecording), &changes, changed(&S::startRecording));
    addChange(stopRecording, timeText(t.stopRecording), &changes, changed(&S::stopRecording));
    addChange(startMin, t.startMin, &changes, changed(&S::startMin));
    addChange(stopMin, t.stopMin, &changes, changed(&S::stopMin));
    addChange(periodType, t.periodType, &changes, changed(&S::periodType));
    if (!changes.isEmpty())
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
