#include "app/settingsstorerepair.h"

#include "common/settingskeys.h"
#include "common/userdialogs.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QVector>
#include <QWidget>

#include <algorithm>
#include <exception>
#include <utility>

namespace {

Q_LOGGING_CATEGORY(lcSettingsStore, "quillon.app", QtWarningMsg)

// What QSplitter::saveState writes first, and the newest version restoreState takes.
constexpr qint32 splitterMarker = 0xff;
constexpr qint32 newestSplitterVersion = 1;
// Qt's styles draw a handle a few pixels wide; one wider than this would crowd the plots out.
constexpr qint32 widestHandle = 100;
// The probes of one scratch file: Qt holds what it parsed of a file until it is done with it.
constexpr int linesPerProbeFile = 10000;
// What makes Qt read a file as UTF-8.
const QByteArray utf8Mark = QByteArrayLiteral("\xef\xbb\xbf");

// A layout the window gives a splitter at the first recording it shows, and
// the splitter's orientation and panes in the form.
struct StoredSplitter {
    const Setting<QByteArray> *setting;
    Qt::Orientation orientation;
    int panes;
};

const StoredSplitter storedSplitters[] = {
    {&SettingKeys::splitterMainSizes, Qt::Vertical, 3}, // the plots, the evaluation and the folder below
    {&SettingKeys::splitterTimePlotSizes, Qt::Vertical, 2},
    {&SettingKeys::splitterFrequencyPlotSizes, Qt::Horizontal, 2},
};

// Whether every stored layout among the values `settings` holds under the
// key prefix `group` (empty for the general ones) could be applied. Throws
// where Qt's decoding of the group does.
bool layoutsApply(QSettings &settings, const QString &group)
{
    for (const StoredSplitter &splitter : storedSplitters) {
        const QString key = group + QLatin1String(splitter.setting->key);
        if (settings.contains(key)
            && !splitterStateApplies(settings.value(key).toByteArray(), splitter.orientation, splitter.panes))
            return false;
    }
    return true;
}

// --- What Qt's decoder may see ----------------------------------------------------
// Qt reads a value as C escapes it, and hands each text of the form
// "@Variant(...)" to QDataStream (the Qt 4.0 format). The program stores so
// only a float, a colour (an entry of the class colours, which Qt stores one
// text each), and a list of colours (the class colours when there is one):
// their loaders read fixed fields, whatever the bytes say.

// Type numbers as the stored stream writes them.
constexpr quint32 streamedList = 9;
constexpr quint32 streamedColour = 67;
constexpr quint32 streamedFloat = 135;
// A colour: its colour model, then alpha, red, green, blue and padding of 16 bits each.
constexpr int colourBytes = 11;
constexpr int floatBytes = 4;

bool admittedPayload(const QByteArray &payload)
{
    QDataStream in(payload);
    in.setVersion(QDataStream::Qt_4_0);
    const auto holds = [&in](int bytes) { return in.status() == QDataStream::Ok && in.skipRawData(bytes) == bytes; };
    quint32 type = 0;
    in >> type;
    if (type == streamedFloat)
        return holds(floatBytes);
    if (type == streamedColour)
        return holds(colourBytes);
    if (type != streamedList)
        return false;
    // Each entry must be there: Qt reserves room for the count before it reads one.
    quint32 count = 0;
    in >> count;
    for (quint32 i = 0; i < count; ++i) {
        quint32 entry = 0;
        in >> entry;
        if (entry != streamedColour || !holds(colourBytes))
            return false;
    }
    return in.status() == QDataStream::Ok;
}

int digitOf(char c, int base)
{
    int digit = base;
    if (c >= '0' && c <= '9')
        digit = c - '0';
    else if (c >= 'a' && c <= 'f')
        digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        digit = c - 'A' + 10;
    return digit < base ? digit : -1;
}

char simpleEscape(char c)
{
    switch (c) {
    case 'a':
        return '\a';
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    case 'v':
        return '\v';
    case '"':
    case '?':
    case '\'':
    case '\\':
        return c;
    default:
        return 0;
    }
}

// The texts Qt's INI reader makes of the value text[from, to): one, or one
// per entry where commas outside quotes make a list. An escape writes one
// character (\x and octal ones of any length, cut to 16 bits); a backslash
// before a line end carries the value on, before another character it is
// dropped. Quotes keep what they hold; outside them the blanks around each
// text go, but not blanks before an escape. A value ending in a backslash
// ends there with its blanks. Runs of plain bytes are decoded one by one,
// through `codec` or as Latin-1.
QStringList unescapedIniTexts(const QByteArray &text, int from, int to, QTextCodec *codec)
{
    QStringList texts;
    QString current;
    bool inQuotes = false;
    bool quoted = false; // the current text held a quote: its end blanks stay
    int keep = 0;        // the length of the current text no end blank goes from
    int i = from;
    const auto skipBlanks = [&]() {
        while (i < to && (text.at(i) == ' ' || text.at(i) == '\t'))
            ++i;
    };
    const auto dropEndBlanks = [&]() {
        int n = current.size();
        while (!quoted && n > keep && (current.at(n - 1) == QLatin1Char(' ') || current.at(n - 1) == QLatin1Char('\t')))
            --n;
        current.truncate(n);
    };
    skipBlanks();
    while (i < to) {
        const char c = text.at(i);
        if (c == '\\') {
            if (++i == to)
                return texts << current;
            const char escaped = text.at(i++);
            if (const char simple = simpleEscape(escaped)) {
                current += QLatin1Char(simple);
            } else if (escaped == 'x' || (escaped >= '0' && escaped <= '7')) {
                const int base = escaped == 'x' ? 16 : 8;
                quint32 value = base == 8 ? quint32(escaped - '0') : 0;
                bool written = base == 8;
                for (int digit; i < to && (digit = digitOf(text.at(i), base)) >= 0; ++i) {
                    value = value * quint32(base) + quint32(digit);
                    written = true;
                }
                if (written)
                    current += QChar(ushort(value));
            } else if ((escaped == '\n' || escaped == '\r') && i < to) {
                const char next = text.at(i);
                if ((next == '\n' || next == '\r') && next != escaped)
                    ++i;
            }
            keep = current.size();
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipBlanks();
                keep = current.size();
            }
        } else if (c == ',' && !inQuotes) {
            dropEndBlanks();
            texts << current;
            current.clear();
            quoted = false;
            keep = 0;
            ++i;
            skipBlanks();
        } else {
            int end = i + 1;
            while (end < to && text.at(end) != '\\' && text.at(end) != '"' && text.at(end) != ',')
                ++end;
            current += codec ? codec->toUnicode(text.constData() + i, end - i)
                             : QString::fromLatin1(text.constData() + i, end - i);
            i = end;
        }
    }
    dropEndBlanks();
    return texts << current;
}

bool valueAdmitted(const QByteArray &text, int from, int to, QTextCodec *codec)
{
    // Only a text that begins with '@' is decoded, and only a plain '@' or a
    // numeric escape ("\x40", "\100", or longer ones cut to 16 bits) writes one.
    bool mayWriteAt = false;
    for (int i = from; i < to && !mayWriteAt; ++i) {
        const char c = text.at(i);
        const char next = i + 1 < to ? text.at(i + 1) : 0;
        mayWriteAt = c == '@' || (c == '\\' && (next == 'x' || (next >= '0' && next <= '7')));
        if (c == '\\')
            ++i; // the escaped character is no escape of its own
    }
    if (!mayWriteAt)
        return true;
    const QStringList texts = unescapedIniTexts(text, from, to, codec);
    return std::all_of(texts.cbegin(), texts.cend(), [](const QString &t) {
        if (!t.startsWith(QLatin1Char('@')) || !t.endsWith(QLatin1Char(')')))
            return true;
        if (t.startsWith(QLatin1String("@DateTime(")))
            return false;
        return !t.startsWith(QLatin1String("@Variant(")) || admittedPayload(t.midRef(9).toLatin1());
    });
}

QTextCodec *codecOf(const QByteArray &text)
{
    return text.startsWith(utf8Mark) ? QTextCodec::codecForName("UTF-8") : nullptr;
}

// --- The store read in lines as Qt reads it ------------------------------------

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

// A value of the store, as Qt reads it.
struct StoredValue {
    IniLine line;
    bool general;     // one of the store's general values, where the window's layouts are
    bool onMarksLine; // begins on the byte order mark's line: Qt reads the mark as the start of its key
    bool admitted;    // Qt may decode it
};

QVector<StoredValue> storedValues(const QByteArray &text)
{
    QTextCodec *codec = codecOf(text);
    const int markSize = codec ? utf8Mark.size() : 0;
    QVector<StoredValue> values;
    bool general = true; // the values before the first section are the general ones
    bool firstLine = true;
    int pos = markSize;
    IniLine line;
    while (nextIniLine(text, &pos, &line)) {
        // Qt reads the general values from the start of the text: a first
        // line that begins on the byte order mark's line begins with the mark.
        const auto blank = [](char c) { return c == ' ' || c == '\t'; };
        const bool onMarksLine =
            firstLine && codec && std::all_of(text.cbegin() + markSize, text.cbegin() + line.start, blank);
        firstLine = false;
        if (text.at(line.start) == '[') {
            general = opensGeneralSection(text, line);
            continue;
        }
        if (line.equals < 0)
            continue; // no value: Qt passes over it
        values.append({line, general, onMarksLine, valueAdmitted(text, line.equals + 1, line.end, codec)});
    }
    return values;
}

bool writeFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.flush();
}

// Whether a start would read every value of `text`, a store's bytes, whole:
// each may be decoded and decodes, and every stored layout in it could be
// applied. Qt keeps a file it has read and reads it again only when its size
// or time changed; the same bytes read so may decode otherwise than at a start
// (without the UTF-8 a byte order mark asks for). So Qt reads them from a
// scratch file it never saw, or else from `pathHoldingText`, if any.
bool readsWhole(const QByteArray &text, const QTemporaryDir &scratch, const QString &pathHoldingText)
{
    const QVector<StoredValue> values = storedValues(text);
    if (!std::all_of(values.cbegin(), values.cend(), [](const StoredValue &v) { return v.admitted; }))
        return false;
    static int checks = 0;
    QString path = scratch.filePath(QStringLiteral("whole-%1.ini").arg(++checks));
    if (!scratch.isValid() || !writeFile(path, text))
        path = pathHoldingText;
    if (path.isEmpty())
        return false;
    try {
        QSettings settings(path, QSettings::IniFormat);
        settings.allKeys(); // decodes every section
        return layoutsApply(settings, QString());
    } catch (const std::exception &) {
        return false;
    }
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

// The text without the values that may not or do not decode, or that are
// layouts that could not be applied; every other byte stays, so every other
// value reads as it did. The text is read in lines as Qt reads it, and each
// value that may be decoded is tried in a scratch file, in a section of its
// own, as Qt would read it there.
QByteArray withoutUnreadableValues(const QByteArray &text, const QTemporaryDir &scratch)
{
    // The byte order mark that makes Qt read the text as UTF-8 goes before each scratch file too.
    const QByteArray mark = codecOf(text) ? utf8Mark : QByteArray();
    const QVector<StoredValue> values = storedValues(text);
    QVector<bool> dropped(values.size(), false);
    QByteArray probeText = mark;
    QVector<Probe> probes;
    int files = 0;
    const auto flush = [&]() {
        tryProbes(probeText, probes, scratch.filePath(QString::number(++files) + QStringLiteral(".ini")), &dropped);
        probeText = mark;
        probes.clear();
    };
    for (int v = 0; v < values.size(); ++v) {
        const StoredValue &value = values.at(v);
        if (!value.admitted) {
            dropped[v] = true; // never before Qt's decoder
            continue;
        }
        const int from = value.onMarksLine ? 0 : value.line.start;
        const QByteArray section = 'p' + QByteArray::number(v);
        probeText += '[' + section + "]\n";
        probeText.append(text.constData() + from, value.line.end - from);
        // A line that ends the text may end inside quotes or in a backslash:
        // nothing may follow it. One that ends in "\<CR>", a line end Qt
        // carries the value over, ends on a CR of its own: after an LF the two
        // would make one CR LF carried over, and the next probe's header
        // would join this value.
        if (value.line.end < text.size())
            probeText += text.at(value.line.end - 1) == '\r' ? '\r' : '\n';
        probes.append({v, QString::fromLatin1(section + '/'), value.general});
        if (probes.size() == linesPerProbeFile)
            flush();
    }
    flush();

    QByteArray kept;
    kept.reserve(text.size());
    int from = 0;
    for (int v = 0; v < values.size(); ++v) {
        if (!dropped.at(v))
            continue;
        const IniLine &value = values.at(v).line;
        qCWarning(lcSettingsStore) << "settings value dropped:"
                                   << text.mid(value.start, value.equals - value.start).trimmed();
        kept.append(text.constData() + from, value.start - from);
        // With its line end; a comment after it stays, a line of its own. On
        // the byte order mark's line the line end stays: the next key would
        // begin on that line, and Qt would read the mark as part of its name.
        from = value.end;
        if (values.at(v).onMarksLine)
            continue;
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

// This run reads and writes a store of its own, in a folder removed at exit,
// holding `readable`: the store stays as it is, whatever this run changes.
// Without such a folder it is placed under the store as if that were a
// folder: nothing can be made there while the store is a file, so the run
// reads the defaults and its writes go nowhere.
void keepThisRunOffTheStore(const QByteArray &readable, const QString &storePath)
{
    static QTemporaryDir runFolder;
    const QString home = runFolder.isValid() ? runFolder.path() : storePath + QStringLiteral("/unwritten");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home);
    const QString runStore = QSettings().fileName();
    qCWarning(lcSettingsStore) << "settings of this run kept in" << runStore;
    QFile::remove(runStore); // what an earlier repair of this run left there
    if (runFolder.isValid() && !readable.isEmpty()
        && !(QDir().mkpath(QFileInfo(runStore).path()) && writeFile(runStore, readable)))
        QFile::remove(runStore);
}

bool readWholeFile(const QString &path, QByteArray *bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

} // namespace

bool iniValueAdmitted(const QByteArray &text, bool utf8)
{
    return valueAdmitted(text, 0, text.size(), utf8 ? QTextCodec::codecForName("UTF-8") : nullptr);
}

bool splitterStateApplies(const QByteArray &state, Qt::Orientation orientation, int panes)
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
        || count < 0 || count > rest / 4 || count > panes)
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

SettingsStoreRepair setAsideUnreadableSettings(const WholeFileWriter &writeCopy)
{
    SettingsStoreRepair repair;
    const QFileInfo store(QSettings().fileName());
    repair.storePath = store.filePath();
    // Where the platform keeps settings in no file (a registry), Qt decodes nothing from text.
    if (!store.isFile())
        return repair;
    QByteArray text;
    if (!readWholeFile(store.filePath(), &text)) {
        qCWarning(lcSettingsStore) << "settings store cannot be read:" << store.filePath();
        return repair;
    }
    QTemporaryDir scratch;
    if (readsWhole(text, scratch, store.filePath()))
        return repair;

    // Without a scratch folder no value can be tried: nothing of the store is kept.
    QByteArray kept = scratch.isValid() ? withoutUnreadableValues(text, scratch) : QByteArray();
    // What the rewrite left unreadable would be set aside again at every
    // start: the store starts anew on the defaults, the copy keeps it as it was.
    const bool whole = kept.isEmpty() || !readsWhole(kept, scratch, QString());
    if (whole)
        kept.clear();

    repair.copyPath = copyPathFor(store);
    if (!writeCopy(repair.copyPath, text, &repair.copyFailure)) {
        if (repair.copyFailure.isEmpty())
            repair.copyFailure = QStringLiteral("Unknown error");
        // The name was free: whatever a writer cut short left there is part of the store, no copy.
        QFile::remove(repair.copyPath);
        qCWarning(lcSettingsStore) << "unreadable settings store left as it is, no copy in" << repair.copyPath << ":"
                                   << repair.copyFailure;
        keepThisRunOffTheStore(kept, store.filePath());
        return repair;
    }
    qCWarning(lcSettingsStore) << "unreadable settings store kept as" << repair.copyPath;
    if (whole)
        qCWarning(lcSettingsStore) << "settings store set aside whole:" << store.filePath();
    if (!writeWholeFile(store.filePath(), kept, nullptr) && !writeWholeFile(store.filePath(), QByteArray(), nullptr)) {
        qCWarning(lcSettingsStore) << "settings store cannot be rewritten, removed:" << store.filePath();
        QFile::remove(store.filePath());
    }
    return repair;
}

void repairSettingsStoreAtStart(QWidget *parent, const WholeFileWriter &writeCopy)
{
    const SettingsStoreRepair repair = setAsideUnreadableSettings(writeCopy);
    if (repair.copyPath.isEmpty())
        return;
    const auto tr = [](const char *text) { return QCoreApplication::translate("MainWindow", text); };
    MessageBoxRequest box;
    box.parent = parent;
    box.icon = QMessageBox::Warning;
    box.title = QCoreApplication::applicationName();
    if (repair.copyFailure.isEmpty()) {
        box.text = tr("Some settings could not be read and are back at their defaults.\n"
                      "The settings as they were are kept in the file below.");
        box.informativeText = QDir::toNativeSeparators(repair.copyPath);
    } else {
        box.text = tr("Some settings in the file below could not be read, and it could not be copied aside to mend "
                      "it. It is left as it is: Quillon runs on the settings it could read and on the defaults, and "
                      "the settings of this run will not be kept.");
        box.informativeText =
            QDir::toNativeSeparators(repair.storePath) + QLatin1Char('\n')
            + tr("%1 could not be written: %2").arg(QDir::toNativeSeparators(repair.copyPath), repair.copyFailure);
    }
    userDialogs().message(box);
}
