#include "common/inivalues.h"

#include <QDataStream>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTextCodec>

#include <algorithm>

namespace {

// What makes Qt read a file as UTF-8.
const QByteArray utf8Mark = QByteArrayLiteral("\xef\xbb\xbf");

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

// --- The file read in lines as Qt reads it -- ------------------------------------

bool isIniSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// A line as Qt's INI reader takes it: from its first character that is no
// white space to where it ends. A line end ends it, and so does a ';' (the
// rest of the line is a comment), but not inside quotes, which carry it over
// line ends, nor after a backslash, which carries it over the next character
// (a line end, CR LF or LF CR as one). The lines may end in LF, CR or CR LF.
// A ';' that starts a line comments the line out. Read `OneEach`, a line
// end ends a line always.

// The line from `*pos` on; false once only white space and comments are left.
bool nextIniLine(const QByteArray &text, IniLines lines, int *pos, IniLine *line)
{
    const bool oneEach = lines == IniLines::OneEach;
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
            if (!quoted || oneEach) {
                --i;
                break;
            }
        } else if (c == '\\') {
            if (i < size && !(oneEach && (text.at(i) == '\n' || text.at(i) == '\r'))) {
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

// A key or a section's name as Qt reads it from text[from, to): "%XX" and
// "%UXXXX" write the character their hex digits name (a '%' whose digits do
// not read stays), a backslash writes '/', every other byte itself, as Latin-1.
QString unescapedIniKey(const QByteArray &text, int from, int to)
{
    QString key;
    key.reserve(to - from);
    int i = from;
    while (i < to) {
        const char c = text.at(i);
        if (c == '\\') {
            key += QLatin1Char('/');
            ++i;
            continue;
        }
        if (c != '%' || i == to - 1) {
            key += QLatin1Char(c);
            ++i;
            continue;
        }
        const bool fourDigits = text.at(i + 1) == 'U';
        const int first = i + (fourDigits ? 2 : 1);
        const int digits = fourDigits ? 4 : 2;
        bool read = false;
        // As Qt reads them: QByteArray::toInt, which also takes a sign or blanks around the digits.
        const int code = first + digits <= to ? text.mid(first, digits).toInt(&read, 16) : 0;
        if (!read) {
            key += QLatin1Char('%');
            ++i;
            continue;
        }
        key += QChar(code);
        i = first + digits;
    }
    return key;
}

// The section the header `line` opens, as Qt names it: the name up to the
// line's first ']' (or to its end), without the white space around it;
// empty for the general section ("general" in any case), else with a '/'.
// Qt compares the names as C strings, so a NUL byte ends them there.
QString sectionOpenedBy(const QByteArray &text, const IniLine &line)
{
    const int close = text.indexOf(']', line.start);
    const int nameEnd = close < 0 || close >= line.end ? line.end : close;
    const QByteArray name = text.mid(line.start + 1, nameEnd - line.start - 1).trimmed();
    if (qstricmp(name.constData(), "general") == 0)
        return QString();
    if (qstricmp(name.constData(), "%general") == 0)
        return QLatin1String(name.constData() + 1) + QLatin1Char('/');
    return unescapedIniKey(name, 0, name.size()) + QLatin1Char('/');
}

// --- A value's text made a value, as Qt makes it ----------------------------------

// The arguments of "@Rect(1 2 3 4)" and the like, from the parenthesis at
// `open` on: split at each blank. A ')' ends an argument without starting the
// next one, wherever it stands, as in Qt.
QStringList argumentsOf(const QString &text, int open)
{
    QStringList arguments;
    QString argument;
    for (int i = open + 1; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char(')')) {
            arguments.append(argument);
        } else if (c == QLatin1Char(' ')) {
            arguments.append(argument);
            argument.clear();
        } else {
            argument.append(c);
        }
    }
    return arguments;
}

// One text of a value: itself, or what its "@...(...)" form names. "@@"
// stands for a text that begins with '@'.
QVariant variantOf(const QString &text)
{
    if (!text.startsWith(QLatin1Char('@')))
        return text;
    if (text.endsWith(QLatin1Char(')'))) {
        if (text.startsWith(QLatin1String("@ByteArray(")))
            return text.midRef(11, text.size() - 12).toLatin1();
        if (text.startsWith(QLatin1String("@String(")))
            return text.midRef(8, text.size() - 9).toString();
        if (text.startsWith(QLatin1String("@Variant(")) || text.startsWith(QLatin1String("@DateTime("))) {
            const bool dateTime = text.at(1) == QLatin1Char('D');
            QByteArray bytes = text.midRef(dateTime ? 10 : 9).toLatin1();
            QDataStream in(&bytes, QIODevice::ReadOnly);
            in.setVersion(dateTime ? QDataStream::Qt_5_6 : QDataStream::Qt_4_0);
            QVariant value;
            in >> value;
            return value;
        }
        if (text.startsWith(QLatin1String("@Rect("))) {
            const QStringList a = argumentsOf(text, 5);
            if (a.size() == 4)
                return QRect(a.at(0).toInt(), a.at(1).toInt(), a.at(2).toInt(), a.at(3).toInt());
        } else if (text.startsWith(QLatin1String("@Size("))) {
            const QStringList a = argumentsOf(text, 5);
            if (a.size() == 2)
                return QSize(a.at(0).toInt(), a.at(1).toInt());
        } else if (text.startsWith(QLatin1String("@Point("))) {
            const QStringList a = argumentsOf(text, 6);
            if (a.size() == 2)
                return QPoint(a.at(0).toInt(), a.at(1).toInt());
        } else if (text == QLatin1String("@Invalid()")) {
            return QVariant();
        }
    }
    if (text.startsWith(QLatin1String("@@")))
        return text.mid(1);
    return text;
}

// A value that commas made a list: a list of texts, or, where one of them
// has an "@...(...)" form, a list of what each names.
QVariant listOf(const QStringList &texts)
{
    QStringList list = texts;
    for (QString &text : list) {
        if (!text.startsWith(QLatin1Char('@')))
            continue;
        if (text.size() < 2 || text.at(1) != QLatin1Char('@')) {
            QVariantList variants;
            variants.reserve(texts.size());
            for (const QString &t : texts)
                variants.append(variantOf(t));
            return variants;
        }
        text.remove(0, 1);
    }
    return list;
}

} // namespace

QByteArray iniUtf8Mark()
{
    return utf8Mark;
}

QVector<IniValue> iniValuesOf(const QByteArray &text, IniLines lines, QVector<IniSection> *sections)
{
    QTextCodec *codec = codecOf(text);
    const int markSize = codec ? utf8Mark.size() : 0;
    QVector<IniValue> values;
    QString section; // the values before the first section are the general ones
    bool firstLine = true;
    int pos = markSize;
    IniLine line;
    while (nextIniLine(text, lines, &pos, &line)) {
        // Qt reads the general values from the start of the text: a first
        // line that begins on the byte order mark's line begins with the mark.
        const auto blank = [](char c) { return c == ' ' || c == '\t'; };
        const bool onMarksLine =
            firstLine && codec && std::all_of(text.cbegin() + markSize, text.cbegin() + line.start, blank);
        firstLine = false;
        if (text.at(line.start) == '[') {
            section = sectionOpenedBy(text, line);
            if (sections)
                sections->append({line, section});
            continue;
        }
        if (line.equals < 0)
            continue; // no value: Qt passes over it
        // The key without the blanks before the '='.
        const int keyStart = onMarksLine ? 0 : line.start;
        int keyEnd = line.equals;
        while (keyEnd > keyStart && (text.at(keyEnd - 1) == ' ' || text.at(keyEnd - 1) == '\t'))
            --keyEnd;
        values.append({line, section, section + unescapedIniKey(text, keyStart, keyEnd), onMarksLine,
                       valueAdmitted(text, line.equals + 1, line.end, codec)});
    }
    return values;
}

QVariant iniValueOf(const QByteArray &text, const IniValue &value)
{
    const QStringList texts = unescapedIniTexts(text, value.line.equals + 1, value.line.end, codecOf(text));
    return texts.size() > 1 ? listOf(texts) : variantOf(texts.first());
}

QSettings::SettingsMap iniSettingsOf(const QByteArray &text, QHash<QString, IniValue> *lastValues, IniLines lines)
{
    QVector<IniValue> values = iniValuesOf(text, lines);
    // Qt reads the sections of one name together, one name after another in
    // their order: of a key that two names give ("a\\b" in the general
    // section, "b" in "[a]"), the later name's value stands.
    std::stable_sort(values.begin(), values.end(),
                     [](const IniValue &a, const IniValue &b) { return a.section < b.section; });
    QSettings::SettingsMap settings;
    for (const IniValue &value : values) {
        // What Qt would read last and may not decode reads as missing.
        if (value.admitted)
            settings.insert(value.key, iniValueOf(text, value));
        else
            settings.remove(value.key);
        if (lastValues)
            lastValues->insert(value.key, value);
    }
    return settings;
}

QByteArray iniValueText(const QByteArray &text, const IniValue &value)
{
    return text.mid(value.line.equals + 1, value.line.end - value.line.equals - 1);
}

bool iniValueAdmitted(const QByteArray &text, bool utf8)
{
    return valueAdmitted(text, 0, text.size(), utf8 ? QTextCodec::codecForName("UTF-8") : nullptr);
}

QByteArray iniTextWithout(const QByteArray &text, const QVector<IniValue> &values, const QVector<bool> &dropped)
{
    QByteArray kept;
    kept.reserve(text.size());
    int from = 0;
    for (int v = 0; v < values.size(); ++v) {
        if (!dropped.value(v))
            continue;
        const IniLine &value = values.at(v).line;
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
