#include "app/settingsstorerepair.h"

#include "common/filewritefailure.h"
#include "common/settingskeys.h"
#include "common/userdialogs.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QVector>
#include <QWidget>

#include <algorithm>
#include <exception>

namespace {

Q_LOGGING_CATEGORY(lcSettingsStore, "quillon.app", QtWarningMsg)

// What QSplitter::saveState writes first, and the newest version restoreState takes.
constexpr qint32 splitterMarker = 0xff;
constexpr qint32 newestSplitterVersion = 1;
// Qt's styles draw a handle a few pixels wide; one wider than this would crowd the plots out.
constexpr qint32 widestHandle = 100;
// The probes of one scratch file: Qt holds what it parsed of a file until it is done with it.
constexpr int linesPerProbeFile = 10000;

// A layout the window gives a splitter at the first recording it shows, and
// the splitter's orientation in the form.
struct StoredSplitter {
    const Setting<QByteArray> *setting;
    Qt::Orientation orientation;
};

const StoredSplitter storedSplitters[] = {
    {&SettingKeys::splitterMainSizes, Qt::Vertical},
    {&SettingKeys::splitterTimePlotSizes, Qt::Vertical},
    {&SettingKeys::splitterFrequencyPlotSizes, Qt::Horizontal},
};

// Whether every stored layout among the values `settings` holds under the
// key prefix `group` (empty for the general ones) could be applied. Throws
// where Qt's decoding of the group does.
bool layoutsApply(QSettings &settings, const QString &group)
{
    for (const StoredSplitter &splitter : storedSplitters) {
        const QString key = group + QLatin1String(splitter.setting->key);
        if (settings.contains(key) && !splitterStateApplies(settings.value(key).toByteArray(), splitter.orientation))
            return false;
    }
    return true;
}

// Whether every value of the INI file at `path` decodes and every stored layout in it could be applied.
bool readsWhole(const QString &path)
{
    try {
        QSettings settings(path, QSettings::IniFormat);
        settings.allKeys(); // decodes every section
        return layoutsApply(settings, QString());
    } catch (const std::exception &) {
        return false;
    }
}

bool writeFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.flush();
}

// The store replaced whole by `text`, or left as it was.
bool writeStore(const QString &path, const QByteArray &text)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit())
        return true;
    qCWarning(lcSettingsStore) << "settings store cannot be repaired:" << path;
    return false;
}

bool isIniSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// A line as Qt's INI reader takes it: from its first character that is no
// white space to where it ends. A line end ends it, and so does a ';' (the
// rest of the line is a comment), but not inside quotes, which carry it over
// line ends, nor after a backslash, which carries it over the next character
// (a line end, CR LF or LF CR as one). The store's lines may end in LF, CR or
// CR LF. A ';' that starts a line comments the line out.
struct IniLine {
    int start = 0;
    int end = 0;
    int equals = -1; // the first '=' outside quotes
};

// The line from `*pos` on; false once only white space and comments are left.
bool nextIniLine(const QByteArray &text, int *pos, IniLine *line)
{
    const int size = text.size();
    int start = *pos;
    while (start < size && isIniSpace(text.at(start)))
        ++start;
    int i = start;
    int equals = -1;
    bool quoted = false;
    while (i < size) {
        const char c = text.at(i++);
        if (c == '=') {
            if (!quoted && equals < 0)
                equals = i - 1;
        } else if (c == '\n' || c == '\r') {
            if (!quoted) {
                --i;
                break;
            }
        } else if (c == '\\') {
            if (i < size) {
                const char escaped = text.at(i++);
                if (i < size) {
                    const char next = text.at(i);
                    if ((escaped == '\n' && next == '\r') || (escaped == '\r' && next == '\n'))
                        ++i;
                }
            }
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ';') {
            if (i == start + 1) {
                while (i < size && text.at(i) != '\n' && text.at(i) != '\r')
                    ++i;
                while (i < size && isIniSpace(text.at(i)))
                    ++i;
                start = i;
            } else if (!quoted) {
                --i;
                break;
            }
        }
    }
    *pos = i;
    *line = {start, i, equals};
    return i > start;
}

// Whether the section header `line` opens the general section, as Qt reads
// it: the name up to the first ']' of the line, without the white space
// around it, in any case.
bool opensGeneralSection(const QByteArray &text, const IniLine &line)
{
    const char *begin = text.constData() + line.start + 1;
    const char *close = std::find(begin, text.constData() + line.end, ']');
    return QByteArray(begin, int(close - begin)).trimmed().compare("general", Qt::CaseInsensitive) == 0;
}

// A value tried in a scratch file of many, in a section of its own.
struct Probe {
    int value;     // its index among the store's values
    QString group; // "p<n>/": the section it has in the scratch file
    bool general;  // whether it is one of the store's general values, where the window's layouts are
};

// Tries `probes` (with `text` their scratch file) at once: Qt decodes one
// section at the first access to a key in it, so each value is decoded once, alone.
void tryProbes(const QByteArray &text, const QVector<Probe> &probes, const QString &path, QVector<bool> *dropped)
{
    if (probes.isEmpty() || !writeFile(path, text))
        return;
    QSettings settings(path, QSettings::IniFormat);
    for (const Probe &probe : probes) {
        try {
            settings.contains(probe.group + QLatin1Char('x')); // decodes the section
            (*dropped)[probe.value] = probe.general && !layoutsApply(settings, probe.group);
        } catch (const std::exception &) {
            (*dropped)[probe.value] = true;
        }
    }
}

// The text without the values that do not decode, or that are layouts that
// could not be applied; every other byte stays, so every other value reads
// as it did. The text is read in lines as Qt reads it, and each value is
// tried in a scratch file, in a section of its own, as Qt would read it there.
QByteArray withoutUnreadableValues(const QByteArray &text, const QTemporaryDir &scratch)
{
    // The byte order mark that makes Qt read the text as UTF-8 goes before each scratch file too.
    const QByteArray utf8Mark = QByteArrayLiteral("\xef\xbb\xbf");
    const QByteArray mark = text.startsWith(utf8Mark) ? utf8Mark : QByteArray();
    QVector<IniLine> values;
    QVector<bool> dropped;
    QByteArray probeText = mark;
    QVector<Probe> probes;
    int files = 0;
    const auto flush = [&]() {
        tryProbes(probeText, probes, scratch.filePath(QString::number(++files) + QStringLiteral(".ini")), &dropped);
        probeText = mark;
        probes.clear();
    };
    bool general = true; // the values before the first section are the general ones
    bool firstLine = true;
    int pos = mark.size();
    IniLine line;
    while (nextIniLine(text, &pos, &line)) {
        // Qt reads the general values from the start of the text: a first
        // line that begins on the byte order mark's line begins with the mark.
        const auto blank = [](char c) { return c == ' ' || c == '\t'; };
        const bool onTheMarksLine =
            firstLine && !mark.isEmpty() && std::all_of(text.cbegin() + mark.size(), text.cbegin() + line.start, blank);
        firstLine = false;
        if (text.at(line.start) == '[') {
            general = opensGeneralSection(text, line);
            continue;
        }
        if (line.equals < 0)
            continue; // no value: Qt passes over it
        const int from = onTheMarksLine ? 0 : line.start;
        const QByteArray section = 'p' + QByteArray::number(values.size());
        probeText += '[' + section + "]\n";
        probeText.append(text.constData() + from, line.end - from);
        // A line that ends the text may end inside quotes or in a backslash: nothing may follow it.
        if (line.end < text.size())
            probeText += '\n';
        probes.append({values.size(), QString::fromLatin1(section + '/'), general});
        values.append(line);
        dropped.append(false);
        if (probes.size() == linesPerProbeFile)
            flush();
    }
    flush();

    QByteArray kept;
    kept.reserve(text.size());
    int from = 0;
    for (int i = 0; i < values.size(); ++i) {
        if (!dropped.at(i))
            continue;
        const IniLine &value = values.at(i);
        qCWarning(lcSettingsStore) << "settings value dropped:"
                                   << text.mid(value.start, value.equals - value.start).trimmed();
        kept.append(text.constData() + from, value.start - from);
        // With its line end; a comment after it stays, a line of its own.
        from = value.end;
        if (text.mid(from, 2) == "\r\n")
            from += 2;
        else if (from < text.size() && (text.at(from) == '\n' || text.at(from) == '\r'))
            ++from;
    }
    kept.append(text.constData() + from, text.size() - from);
    return kept;
}

// Beside the store, a name no earlier copy bears: "Quillon.unreadable.conf", then "Quillon.unreadable-2.conf".
QString copyPathFor(const QFileInfo &store)
{
    const QString stem = store.dir().filePath(store.completeBaseName() + QStringLiteral(".unreadable"));
    const QString suffix = store.suffix().isEmpty() ? QString() : QLatin1Char('.') + store.suffix();
    QString path = stem + suffix;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = stem + QLatin1Char('-') + QString::number(n) + suffix;
    return path;
}

} // namespace

bool splitterStateApplies(const QByteArray &state, Qt::Orientation orientation)
{
    QDataStream in(state);
    in.setVersion(QDataStream::Qt_5_0);
    qint32 marker = 0;
    qint32 version = 0;
    qint32 count = 0;
    in >> marker >> version >> count;
    // Four bytes a size: a count the rest cannot hold is one Qt would reserve memory for before reading on.
    const qint64 rest = state.size() - in.device()->pos();
    if (in.status() != QDataStream::Ok || marker != splitterMarker || version < 0 || version > newestSplitterVersion
        || count < 0 || count > rest / 4)
        return false;
    for (qint32 i = 0; i < count; ++i) {
        qint32 size = -2;
        in >> size;
        // -1: a pane not laid out yet, which takes the size it asks for.
        if (size < -1 || size > QWIDGETSIZE_MAX)
            return false;
    }
    bool collapsible = false;
    qint32 handleWidth = 0;
    bool opaqueResize = false;
    qint32 storedOrientation = 0;
    in >> collapsible >> handleWidth >> opaqueResize >> storedOrientation;
    if (version >= 1) {
        bool opaqueResizeChosen = false;
        in >> opaqueResizeChosen;
    }
    // -1: the style's own handle width.
    const bool handleGrabbable = handleWidth == -1 || (handleWidth > 0 && handleWidth <= widestHandle);
    return in.status() == QDataStream::Ok && handleGrabbable && storedOrientation == orientation;
}

QString setAsideUnreadableSettings(bool *copyWritten)
{
    if (copyWritten)
        *copyWritten = false;
    const QFileInfo store(QSettings().fileName());
    // Where the platform keeps settings in no file (a registry), Qt decodes nothing from text.
    if (!store.isFile() || readsWhole(store.filePath()))
        return QString();

    QFile original(store.filePath());
    if (!original.open(QIODevice::ReadOnly)) {
        qCWarning(lcSettingsStore) << "settings store cannot be read:" << store.filePath();
        return QString();
    }
    const QByteArray text = original.readAll();
    original.close();

    const QString copyPath = copyPathFor(store);
    QFile copy(copyPath);
    const bool copied = copy.open(QIODevice::WriteOnly) && copy.write(text) == text.size() && copy.flush();
    copy.close();
    if (copyWritten)
        *copyWritten = copied;
    if (copied)
        qCWarning(lcSettingsStore) << "unreadable settings store kept as" << copyPath;
    else
        qCWarning(lcSettingsStore) << "unreadable settings store could not be kept as" << copyPath;

    // Without a scratch folder no value can be tried: the whole store goes, below.
    QTemporaryDir scratch;
    const QByteArray repaired = scratch.isValid() ? withoutUnreadableValues(text, scratch) : text;
    if (writeStore(store.filePath(), repaired) && readsWhole(store.filePath()))
        return copyPath;
    // What the rewrite left unreadable would be set aside again at every
    // start: the store starts anew on the defaults, the copy keeps it as it was.
    qCWarning(lcSettingsStore) << "settings store set aside whole:" << store.filePath();
    if (!writeStore(store.filePath(), QByteArray()))
        QFile::remove(store.filePath());
    return copyPath;
}

void repairSettingsStoreAtStart(QWidget *parent)
{
    bool copyWritten = false;
    const QString copy = setAsideUnreadableSettings(&copyWritten);
    if (copy.isEmpty())
        return;
    if (!copyWritten) {
        reportFileWriteFailure();
        return;
    }
    MessageBoxRequest box;
    box.parent = parent;
    box.icon = QMessageBox::Warning;
    box.title = QCoreApplication::applicationName();
    box.text =
        QCoreApplication::translate("MainWindow", "Some settings could not be read and are back at their defaults.\n"
                                                  "The settings as they were are kept in the file below.");
    box.informativeText = QDir::toNativeSeparators(copy);
    userDialogs().message(box);
}
