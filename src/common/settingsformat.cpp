#include "common/settingsformat.h"

#include "common/inivalues.h"

#include <QDataStream>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QMutex>
#include <QPoint>
#include <QRect>
#include <QSet>
#include <QSize>

#include <algorithm>
#include <new>

namespace {

// --- Qt's INI form written --------------------------------------------------------
// As Qt's own writer writes a new file, with no text codec: the program's
// files keep the form every Qt program reads.

constexpr char hexDigits[] = "0123456789ABCDEF";

bool isHexDigit(ushort c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// A key or a section's name: letters, digits, '_', '-' and '.' as they are,
// '/' as a backslash, every other character as "%XX" or "%UXXXX".
void appendKey(const QString &key, QByteArray &out)
{
    for (const QChar qc : key) {
        const ushort c = qc.unicode();
        if (c == '/') {
            out += '\\';
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'
                   || c == '.') {
            out += char(c);
        } else if (c <= 0xff) {
            out += '%';
            out += hexDigits[c / 16];
            out += hexDigits[c % 16];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += hexDigits[(c >> shift) & 0xf];
        }
    }
}

// A text: C escapes for the control characters, quotes and backslashes, "\x"
// escapes for every character from U+007F on, and a hex digit right after a
// numeric escape escaped too, or it would be read as part of it. Quoted where
// it holds ';', ',' or '=', or begins or ends in a blank.
void appendText(const QString &text, QByteArray &out)
{
    const int start = out.size();
    bool quoted = false;
    bool escapeHexDigit = false;
    for (const QChar qc : text) {
        const ushort c = qc.unicode();
        quoted = quoted || c == ';' || c == ',' || c == '=';
        if (escapeHexDigit && isHexDigit(c)) {
            out += "\\x" + QByteArray::number(c, 16);
            continue;
        }
        escapeHexDigit = false;
        switch (c) {
        case 0:
            out += "\\0";
            escapeHexDigit = true;
            break;
        case '\a':
            out += "\\a";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\v':
            out += "\\v";
            break;
        case '"':
        case '\\':
            out += '\\';
            out += char(c);
            break;
        default:
            if (c <= 0x1f || c >= 0x7f) {
                out += "\\x" + QByteArray::number(c, 16);
                escapeHexDigit = true;
            } else {
                out += char(c);
            }
        }
    }
    if (quoted || (start < out.size() && (out.at(start) == ' ' || out.at(out.size() - 1) == ' '))) {
        out.insert(start, '"');
        out += '"';
    }
}

// One value as a text: numbers, truth values and texts as they are (a text
// that begins with '@' with one more before it), a few kinds in an
// "@...(...)" form of their own, every other kind as its QDataStream bytes.
QString textOf(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::UnknownType:
        return QStringLiteral("@Invalid()");
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return QLatin1String("@ByteArray(") + QLatin1String(bytes.constData(), bytes.size()) + QLatin1Char(')');
    }
    case QMetaType::QString:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Bool:
    case QMetaType::Double:
    case QMetaType::QKeySequence: {
        QString text = value.toString();
        if (text.contains(QChar::Null))
            return QLatin1String("@String(") + text + QLatin1Char(')');
        if (text.startsWith(QLatin1Char('@')))
            text.prepend(QLatin1Char('@'));
        return text;
    }
    case QMetaType::QRect: {
        const QRect r = value.toRect();
        return QString::asprintf("@Rect(%d %d %d %d)", r.x(), r.y(), r.width(), r.height());
    }
    case QMetaType::QSize: {
        const QSize s = value.toSize();
        return QString::asprintf("@Size(%d %d)", s.width(), s.height());
    }
    case QMetaType::QPoint: {
        const QPoint p = value.toPoint();
        return QString::asprintf("@Point(%d %d)", p.x(), p.y());
    }
    default: {
        const bool dateTime = value.userType() == QMetaType::QDateTime;
        QByteArray bytes;
        {
            QDataStream out(&bytes, QIODevice::WriteOnly);
            out.setVersion(dateTime ? QDataStream::Qt_5_6 : QDataStream::Qt_4_0);
            out << value;
        }
        return QLatin1String(dateTime ? "@DateTime(" : "@Variant(") + QLatin1String(bytes.constData(), bytes.size())
               + QLatin1Char(')');
    }
    }
}

void appendValue(const QVariant &value, QByteArray &out)
{
    // A list of one is written as one value of its own kind: as a list it would read as a text.
    const bool list = value.userType() == QMetaType::QStringList
                      || (value.userType() == QMetaType::QVariantList && value.toList().size() != 1);
    if (!list) {
        appendText(textOf(value), out);
        return;
    }
    const QVariantList entries = value.toList();
    if (entries.isEmpty())
        out += "@Invalid()"; // an empty list, told apart from a list of one empty text
    for (int i = 0; i < entries.size(); ++i) {
        if (i != 0)
            out += ", ";
        appendText(textOf(entries.at(i)), out);
    }
}

QByteArray valueTextOf(const QVariant &value)
{
    QByteArray text;
    appendValue(value, text);
    return text;
}

// The header of the section `name` ("Time"; empty for the general section).
QByteArray sectionHeaderOf(const QString &name)
{
    QByteArray key;
    appendKey(name, key);
    if (key.isEmpty())
        return "[General]";
    if (qstricmp(key.constData(), "general") == 0)
        return "[%General]"; // "[General]" would read as the general section
    return '[' + key + ']';
}

// --- A file written by hand, edited ------------------------------------------------

// The line end the text's first line has; LF in a text of one line.
QByteArray lineEndOf(const QByteArray &text)
{
    const int end = text.indexOf('\n');
    return end > 0 && text.at(end - 1) == '\r' ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
}

// Where the physical line that holds `offset` ends, its line end included.
int endOfLine(const QByteArray &text, int offset)
{
    while (offset < text.size() && text.at(offset) != '\n' && text.at(offset) != '\r')
        ++offset;
    if (text.mid(offset, 2) == "\r\n")
        return offset + 2;
    return offset < text.size() ? offset + 1 : offset;
}

// Where the line of `value` ends, with its line end, but for a comment after
// it, which stays a line of its own. On the byte order mark's line the line
// end stays: the next key would begin on that line, and Qt would read the
// mark as part of its name.
int lineAfter(const QByteArray &text, const IniValue &value)
{
    const int end = value.line.end;
    if (value.onMarksLine || (end < text.size() && text.at(end) == ';'))
        return end;
    return endOfLine(text, end);
}

// Where a line of `section` goes: after the line of its last value under
// its last header (for the general section, without one, its last value
// before the first), or right after that header; -1 where it has none.
int endOfSection(const QByteArray &text, const QVector<IniValue> &values, const QVector<IniSection> &sections,
                 const QString &section)
{
    const auto header = std::find_if(sections.crbegin(), sections.crend(),
                                     [&section](const IniSection &s) { return s.name == section; });
    const int from = header != sections.crend() ? header->line.start : -1;
    int after = header != sections.crend() ? header->line.end : -1;
    for (const IniValue &value : values) {
        if (value.line.start > from && value.section == section && value.line.end > after && !value.onMarksLine)
            after = value.line.end;
    }
    return after < 0 ? -1 : endOfLine(text, after);
}

// --- The format -------------------------------------------------------------------

QMutex filesLock;
// Files whose last reading failed: Qt would take them for empty, and their
// next write would leave out every value they hold.
QSet<QString> unread;
// Files this run keeps off the disk, with what they hold for it.
QHash<QString, QSettings::SettingsMap> inMemory;
// What this run last wrote to each file in Qt's form: a file that still holds
// it needs no reading before the next write.
QHash<QString, QByteArray> lastWritten;

QString fileNameOf(const QIODevice &device)
{
    const auto *file = qobject_cast<const QFileDevice *>(&device);
    return file ? file->fileName() : QString();
}

bool readIni(QIODevice &device, QSettings::SettingsMap &map)
{
    const QString path = fileNameOf(device);
    {
        const QMutexLocker lock(&filesLock);
        const auto kept = inMemory.constFind(path);
        if (kept != inMemory.cend()) {
            map = *kept;
            return true;
        }
    }
    bool read = false;
    try {
        const QByteArray text = device.readAll();
        // Qt's readAll hands back nothing, and no error, for a file of 2 GiB
        // or more, and a read that fails midway gives what came before it: a
        // file is read only once every byte of it is.
        const auto *file = qobject_cast<const QFileDevice *>(&device);
        if (!file || text.size() == file->size()) {
            map = iniSettingsOf(text);
            // Not before: a store whose values ran out of memory would read as
            // empty, and its next write would keep none of them.
            read = true;
        }
    } catch (const std::bad_alloc &) {
        // A file, or the values of one, larger than memory holds reads as
        // unreadable rather than ending the program or reading as empty.
        map.clear();
    }
    const QMutexLocker lock(&filesLock);
    if (read)
        unread.remove(path);
    else
        unread.insert(path);
    return read;
}

bool writeIni(QIODevice &device, const QSettings::SettingsMap &map)
{
    const QString path = fileNameOf(device);
    {
        const QMutexLocker lock(&filesLock);
        const auto kept = inMemory.find(path);
        if (kept != inMemory.end()) {
            *kept = map;
            return false; // Qt's save file is discarded: the file stays as it is
        }
        if (unread.contains(path))
            return false;
    }
    // Lines a person wrote into the file stay: it is edited, not written
    // anew, unless it holds what this run wrote last, which is in Qt's form.
    QByteArray current;
    QFile stored(path);
    if (stored.open(QIODevice::ReadOnly))
        current = stored.readAll();
    bool ours = false;
    {
        const QMutexLocker lock(&filesLock);
        ours = lastWritten.value(path) == current;
    }
    const QByteArray bytes = ours ? iniTextOf(map) : iniTextWith(current, map, IniLines::AsQt);
    // The flush is what meets a full disk: Qt's commit would not see it fail.
    auto *file = qobject_cast<QFileDevice *>(&device);
    if (device.write(bytes) != bytes.size() || (file && !file->flush()))
        return false;
    const bool inQtsForm = ours || bytes == iniTextOf(map);
    const QMutexLocker lock(&filesLock);
    if (inQtsForm)
        lastWritten.insert(path, bytes);
    else
        lastWritten.remove(path); // lines of a person's: read it again
    return true;
}

// As Qt names a settings file: its absolute path.
QString settingsFileName(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

QByteArray iniTextOf(const QSettings::SettingsMap &settings)
{
    // Qt's writer takes a key's first part for its section ("Time/BeginDate"
    // is "BeginDate" of "[Time]", "a/b/c" is "b\c" of "[a]"), and writes the
    // sections in the order of their names, and the keys of each in theirs,
    // whatever order a file it read them from had.
    QMap<QString, QMap<QString, QVariant>> sections;
    for (auto it = settings.cbegin(); it != settings.cend(); ++it) {
        const int slash = it.key().indexOf(QLatin1Char('/'));
        if (slash < 0)
            sections[QString()].insert(it.key(), it.value());
        else
            sections[it.key().left(slash)].insert(it.key().mid(slash + 1), it.value());
    }

    QByteArray text;
    text.reserve(settings.size() * 32);
    for (auto section = sections.cbegin(); section != sections.cend(); ++section) {
        if (section != sections.cbegin())
            text += '\n';
        text += sectionHeaderOf(section.key()) + '\n';
        for (auto it = section->cbegin(); it != section->cend(); ++it) {
            appendKey(it.key(), text);
            text += '=';
            appendValue(it.value(), text);
            text += '\n';
        }
    }
    return text;
}

QByteArray iniTextWith(const QByteArray &text, const QSettings::SettingsMap &settings, IniLines lines)
{
    QHash<QString, IniValue> lastValues;
    const QSettings::SettingsMap old = iniSettingsOf(text, &lastValues, lines);
    if (iniTextOf(old) == text)
        return iniTextOf(settings);
    QVector<IniSection> sections;
    const QVector<IniValue> values = iniValuesOf(text, lines, &sections);
    const QByteArray lineEnd = lineEndOf(text);
    // Each edit replaces text[start, end) with its bytes; insertions are empty ranges.
    struct Edit {
        int start;
        int end;
        QByteArray bytes;
    };
    QVector<Edit> edits;
    QMap<QString, QByteArray> newSections; // their lines, by their names ("Time/")
    QHash<int, int> inserts;               // index in `edits` of the insertion at an offset
    for (auto it = settings.cbegin(); it != settings.cend(); ++it) {
        const QByteArray value = valueTextOf(it.value());
        const auto read = lastValues.constFind(it.key());
        if (read != lastValues.cend()) {
            // A value Qt may not decode reads as missing, and one that writes
            // as it stands is the same: both keep their text.
            if (!old.contains(it.key()) || valueTextOf(old.value(it.key())) != value) {
                const QByteArray was = iniValueText(text, *read);
                const QByteArray trimmed = was.trimmed();
                const int leading = trimmed.isEmpty() ? was.size() : was.indexOf(trimmed);
                const int start = read->line.equals + 1;
                edits.append({start + leading, start + leading + trimmed.size(), value});
            }
            continue;
        }
        const int slash = it.key().indexOf(QLatin1Char('/'));
        const QString section = slash < 0 ? QString() : it.key().left(slash + 1);
        QByteArray line;
        appendKey(it.key().mid(slash + 1), line);
        line += '=' + value + lineEnd;
        const int at = endOfSection(text, values, sections, section);
        if (at < 0) {
            newSections[section] += line;
        } else if (inserts.contains(at)) {
            edits[inserts.value(at)].bytes += line;
        } else {
            // After a last line without its line end, the new line needs one before it.
            const bool ended = at == 0 || text.at(at - 1) == '\n' || text.at(at - 1) == '\r';
            inserts.insert(at, edits.size());
            edits.append({at, at, ended ? line : lineEnd + line});
        }
    }
    // Every line of a key that is gone: one standing twice would read again.
    for (const IniValue &value : values) {
        if (old.contains(value.key) && !settings.contains(value.key))
            edits.append({value.line.start, lineAfter(text, value), QByteArray()});
    }
    std::sort(edits.begin(), edits.end(),
              [](const Edit &a, const Edit &b) { return a.start != b.start ? a.start < b.start : a.end < b.end; });
    QByteArray edited;
    edited.reserve(text.size() + 256);
    int from = 0;
    for (const Edit &edit : qAsConst(edits)) {
        edited.append(text.constData() + from, qMax(0, edit.start - from));
        edited += edit.bytes;
        from = qMax(from, edit.end);
    }
    edited.append(text.constData() + from, text.size() - from);
    for (auto section = newSections.cbegin(); section != newSections.cend(); ++section) {
        if (!edited.isEmpty() && !edited.endsWith('\n') && !edited.endsWith('\r'))
            edited += lineEnd;
        if (!edited.isEmpty())
            edited += lineEnd;
        edited += sectionHeaderOf(section.key().chopped(section.key().isEmpty() ? 0 : 1)) + lineEnd + *section;
    }
    return edited;
}

QSettings::Format wholeIniFormat()
{
    static const QSettings::Format format = QSettings::registerFormat(QStringLiteral("conf"), readIni, writeIni);
    return format;
}

void keepSettingsInMemory(const QString &path, const QSettings::SettingsMap &settings)
{
    const QMutexLocker lock(&filesLock);
    inMemory.insert(settingsFileName(path), settings);
}

bool settingsKeptInMemory(const QString &path)
{
    const QMutexLocker lock(&filesLock);
    return inMemory.contains(settingsFileName(path));
}

void keepSettingsOnDisk(const QString &path)
{
    const QMutexLocker lock(&filesLock);
    inMemory.remove(settingsFileName(path));
}
