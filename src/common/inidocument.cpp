#include "common/inidocument.h"

#include <QDataStream>
#include <QFile>
#include <QFileDevice>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QTextCodec>

#include <algorithm>
#include <new>
#include <numeric>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

bool payloadSafeToDecode(const QByteArray &payload)
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

bool valueSafeToDecode(const QByteArray &text, int from, int to, QTextCodec *codec)
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
        return !t.startsWith(QLatin1String("@Variant(")) || payloadSafeToDecode(t.midRef(9).toLatin1());
    });
}

QTextCodec *utf8Codec()
{
    static QTextCodec *const codec = QTextCodec::codecForName("UTF-8");
    return codec;
}

// Whether text[from, to) holds bytes outside ASCII, all of them UTF-8, as Qt's
// own UTF-8 decoder judges them.
bool isUtf8OutsideAscii(const QByteArray &text, int from, int to)
{
    const auto *bytes = reinterpret_cast<const uchar *>(text.constData());
    int first = from;
    while (first < to && bytes[first] < 0x80)
        ++first;
    if (first == to)
        return false;
    QTextCodec::ConverterState state;
    utf8Codec()->toUnicode(text.constData() + first, to - first, &state);
    return state.invalidChars == 0 && state.remainingChars == 0;
}

// --- The text read in lines as Qt reads it ---------------------------------------

bool isIniSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// A line as Qt's INI reader takes it: from its first character that is no
// white space to where it ends. A line end ends it, and so does a ';' (the
// rest of the line is a comment), but not inside quotes, which carry it over
// line ends, nor after a backslash, which carries it over the next character
// (a line end, CR LF or LF CR as one). The lines may end in LF, CR or CR LF.
// A ';' that starts a line comments the line out. Read AtLineEnd, a line
// end ends a line always.

// Where a line stands in the text: from its first byte that is no white
// space to where Qt ends it, and its first '=' outside quotes (-1: none).
struct LineSpan {
    int start = 0;
    int end = 0;
    int equals = -1;
};

// The line from `*pos` on; false once only white space and comments are left.
bool nextIniLine(const QByteArray &text, IniDocument::ValueEnds ends, int *pos, LineSpan *line)
{
    const bool atLineEnd = ends == IniDocument::ValueEnds::AtLineEnd;
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
            if (!quoted || atLineEnd) {
                --i;
                break;
            }
        } else if (c == '\\') {
            if (i < size && !(atLineEnd && (text.at(i) == '\n' || text.at(i) == '\r'))) {
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
QString sectionOpenedBy(const QByteArray &text, const LineSpan &line)
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

// --- A text written by hand, edited ------------------------------------------------

// The line end a new line takes: the one the text's first LF has (LF or
// CR LF), or CR in a text whose lines end in CR alone; LF in a text of one line.
QByteArray lineEndOf(const QByteArray &text)
{
    const int lf = text.indexOf('\n');
    if (lf > 0 && text.at(lf - 1) == '\r')
        return QByteArrayLiteral("\r\n");
    if (lf < 0 && text.contains('\r'))
        return QByteArrayLiteral("\r");
    return QByteArrayLiteral("\n");
}

// The white space around a value that an edit in place leaves, as QByteArray::trimmed sees it.
bool isTrimmedSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Where the physical line that holds `offset` ends, its line end included.
int physicalLineEnd(const QByteArray &text, int offset)
{
    while (offset < text.size() && text.at(offset) != '\n' && text.at(offset) != '\r')
        ++offset;
    if (text.mid(offset, 2) == "\r\n")
        return offset + 2;
    return offset < text.size() ? offset + 1 : offset;
}

// Where a removal of the line of `value` ends: with its line end, but for a
// comment after it, which stays a line of its own. On the byte order mark's
// line the line end stays: the next key would begin on that line, and Qt
// would read the mark as part of its name.
int removalEnd(const QByteArray &text, const IniDocument::Value &value)
{
    if (value.onMarksLine || (value.end < text.size() && text.at(value.end) == ';'))
        return value.end;
    return physicalLineEnd(text, value.end);
}

// Where a new line of `section` goes: after the line of its last value under
// its last header (for the general section, without one, its last value
// before the first), or right after that header; -1 where it has none.
int insertionPointOf(const QString &section, const QByteArray &text, const QVector<IniDocument::Value> &values,
                     const QVector<IniDocument::SectionHeader> &headers)
{
    const auto header = std::find_if(headers.crbegin(), headers.crend(),
                                     [&section](const IniDocument::SectionHeader &h) { return h.section == section; });
    const int headerStart = header != headers.crend() ? header->start : -1;
    int lastEnd = header != headers.crend() ? header->end : -1;
    for (const IniDocument::Value &value : values) {
        if (value.start > headerStart && value.section == section && value.end > lastEnd && !value.onMarksLine)
            lastEnd = value.end;
    }
    return lastEnd < 0 ? -1 : physicalLineEnd(text, lastEnd);
}

// Whether `a`, a setting as read, writes as `b` does. Texts, byte arrays and
// whole numbers of one type that are equal do, without being written out;
// numbers with a fraction Qt compares fuzzily, and lists entry by entry with
// conversions, so they are compared as written.
bool writesAlike(const QVariant &a, const QVariant &b)
{
    const int type = a.userType();
    if (type == b.userType()
        && (type == QMetaType::QString || type == QMetaType::QByteArray || type == QMetaType::Int
            || type == QMetaType::Bool || type == QMetaType::LongLong)
        && a == b)
        return true;
    return valueTextOf(a) == valueTextOf(b);
}

} // namespace

struct IniDocument::Reading {
    QHash<QString, int> lastValueIndex; // by key: the index in m_values of the value Qt reads last
    QSettings::SettingsMap settings;
    int inQtsForm = -1; // not yet known
};

IniDocument::IniDocument(const QByteArray &text, ValueEnds ends)
    : m_text(text)
{
    const bool marked = text.startsWith(utf8Mark);
    const int markSize = marked ? utf8Mark.size() : 0;
    QString section; // the values before the first section are the general ones
    int header = -1;
    bool firstLine = true;
    int pos = markSize;
    LineSpan line;
    while (nextIniLine(text, ends, &pos, &line)) {
        // Qt reads the general values from the start of the text: a first
        // line that begins on the byte order mark's line begins with the mark.
        const auto blank = [](char c) { return c == ' ' || c == '\t'; };
        const bool onMarksLine =
            firstLine && marked && std::all_of(text.cbegin() + markSize, text.cbegin() + line.start, blank);
        firstLine = false;
        if (text.at(line.start) == '[') {
            section = sectionOpenedBy(text, line);
            header = m_headers.size();
            m_headers.append({line.start, line.end, section});
            continue;
        }
        if (line.equals < 0)
            continue; // no value: Qt passes over it
        // The key without the blanks before the '='.
        const int keyStart = onMarksLine ? 0 : line.start;
        int keyEnd = line.equals;
        while (keyEnd > keyStart && (text.at(keyEnd - 1) == ' ' || text.at(keyEnd - 1) == '\t'))
            --keyEnd;
        Value value;
        value.start = line.start;
        value.equals = line.equals;
        value.end = line.end;
        value.header = header;
        value.section = section;
        value.key = section + unescapedIniKey(text, keyStart, keyEnd);
        value.onMarksLine = onMarksLine;
        value.utf8 = marked || isUtf8OutsideAscii(text, line.equals + 1, line.end);
        value.safeToDecode = valueSafeToDecode(text, line.equals + 1, line.end, value.utf8 ? utf8Codec() : nullptr);
        m_values.append(value);
    }
}

IniDocument::~IniDocument() = default;

bool IniDocument::readWhole(QFileDevice &file, QByteArray *text)
{
    text->clear();
#ifdef Q_OS_UNIX
    struct stat status = {};
    if (file.handle() < 0 || fstat(file.handle(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
#endif
    try {
        *text = file.readAll();
        // A read that fails midway gives what came before it.
        return file.error() == QFileDevice::NoError && text->size() == file.size();
    } catch (const std::bad_alloc &) {
        return false;
    }
}

bool IniDocument::readFile(const QString &path, QByteArray *text)
{
    text->clear();
#ifdef Q_OS_UNIX
    // Opened without waiting: a FIFO would wait here for a writer.
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return errno == ENOENT;
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return false;
    }
#else
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return !file.exists();
#endif
    return readWhole(file, text);
}

QByteArray IniDocument::qtTextOf(const QSettings::SettingsMap &settings)
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

bool IniDocument::safeToDecode(const QByteArray &valueText, bool utf8)
{
    return valueSafeToDecode(valueText, 0, valueText.size(), utf8 ? utf8Codec() : nullptr);
}

const QByteArray &IniDocument::readText() const
{
    return m_text;
}

const QVector<IniDocument::Value> &IniDocument::values() const
{
    return m_values;
}

const QVector<IniDocument::SectionHeader> &IniDocument::sectionHeaders() const
{
    return m_headers;
}

const IniDocument::Reading &IniDocument::reading() const
{
    if (m_reading)
        return *m_reading;
    auto reading = std::make_unique<Reading>();
    // Qt reads the sections of one name together, one name after another in
    // their order: of a key that two names give ("a\\b" in the general
    // section, "b" in "[a]"), the later name's value stands.
    QVector<int> order(m_values.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return m_values.at(a).section < m_values.at(b).section; });
    for (const int index : qAsConst(order))
        reading->lastValueIndex.insert(m_values.at(index).key, index);
    // What Qt would read last and may not decode reads as missing.
    for (auto it = reading->lastValueIndex.cbegin(); it != reading->lastValueIndex.cend(); ++it) {
        const Value &value = m_values.at(it.value());
        if (value.safeToDecode)
            reading->settings.insert(it.key(), decoded(value));
    }
    m_reading = std::move(reading);
    return *m_reading;
}

QVector<IniDocument::Value> IniDocument::lastValues() const
{
    QVector<int> indices = reading().lastValueIndex.values().toVector();
    std::sort(indices.begin(), indices.end());
    QVector<Value> last;
    last.reserve(indices.size());
    for (const int index : qAsConst(indices))
        last.append(m_values.at(index));
    return last;
}

const IniDocument::Value *IniDocument::lastValueOf(const QString &key) const
{
    const auto index = reading().lastValueIndex.constFind(key);
    return index == reading().lastValueIndex.cend() ? nullptr : &m_values.at(*index);
}

const QSettings::SettingsMap &IniDocument::settings() const
{
    return reading().settings;
}

QVariant IniDocument::decoded(const Value &value) const
{
    const QStringList texts =
        unescapedIniTexts(m_text, value.equals + 1, value.end, value.utf8 ? utf8Codec() : nullptr);
    return texts.size() > 1 ? listOf(texts) : variantOf(texts.first());
}

QByteArray IniDocument::writtenBytes(const Value &value) const
{
    return m_text.mid(value.equals + 1, value.end - value.equals - 1);
}

QString IniDocument::writtenText(const Value &value) const
{
    const QByteArray bytes = writtenBytes(value).trimmed();
    return value.utf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
}

bool IniDocument::isInQtsForm() const
{
    reading();
    Reading &known = *m_reading;
    if (known.inQtsForm < 0) {
        // Qt's form begins with a section's header: a text that does not (a
        // person's comment on top) is not written out to be compared.
        const bool mayBe = m_text.isEmpty() || m_text.startsWith('[');
        known.inQtsForm = mayBe && qtTextOf(known.settings) == m_text ? 1 : 0;
    }
    return known.inQtsForm == 1;
}

void IniDocument::set(const QString &key, const QVariant &value)
{
    m_removedKeys.remove(key);
    m_setKeys.insert(key, value);
}

void IniDocument::remove(const QString &key)
{
    m_setKeys.remove(key);
    m_removedKeys.insert(key);
}

void IniDocument::removeLineOf(int index)
{
    m_removedLines.insert(index);
}

void IniDocument::holdSettings(const QSettings::SettingsMap &settings)
{
    for (auto it = settings.cbegin(); it != settings.cend(); ++it)
        set(it.key(), it.value());
    const QSettings::SettingsMap &held = this->settings();
    for (auto it = held.cbegin(); it != held.cend(); ++it) {
        if (!settings.contains(it.key()))
            remove(it.key());
    }
}

QByteArray IniDocument::text() const
{
    if (m_setKeys.isEmpty() && m_removedKeys.isEmpty() && m_removedLines.isEmpty())
        return m_text;
    if (m_removedLines.isEmpty() && isInQtsForm()) {
        QSettings::SettingsMap held = settings();
        for (const QString &key : m_removedKeys)
            held.remove(key);
        for (auto it = m_setKeys.cbegin(); it != m_setKeys.cend(); ++it)
            held.insert(it.key(), it.value());
        return qtTextOf(held);
    }
    return editedText();
}

QByteArray IniDocument::editedText() const
{
    const QByteArray lineEnd = lineEndOf(m_text);
    // Each edit replaces m_text[start, end) with its bytes; an insertion is an empty range.
    struct ByteEdit {
        int start;
        int end;
        QByteArray bytes;
    };
    QVector<ByteEdit> edits;
    QMap<QString, QByteArray> newSections; // their lines, by their names ("Time/")
    QHash<int, int> insertionAt;           // the index in `edits` of the insertion at an offset
    for (auto it = m_setKeys.cbegin(); it != m_setKeys.cend(); ++it) {
        if (const Value *read = lastValueOf(it.key())) {
            // A value Qt may not decode reads as missing: it is written over.
            const auto was = settings().constFind(it.key());
            if (was != settings().cend() && writesAlike(*was, it.value()))
                continue;
            int start = read->equals + 1;
            int end = read->end;
            while (start < end && isTrimmedSpace(m_text.at(start)))
                ++start;
            while (end > start && isTrimmedSpace(m_text.at(end - 1)))
                --end;
            edits.append({start, end, valueTextOf(it.value())});
            continue;
        }
        const int slash = it.key().indexOf(QLatin1Char('/'));
        const QString section = slash < 0 ? QString() : it.key().left(slash + 1);
        QByteArray line;
        appendKey(it.key().mid(slash + 1), line);
        line += '=' + valueTextOf(it.value()) + lineEnd;
        const int at = insertionPointOf(section, m_text, m_values, m_headers);
        if (at < 0) {
            newSections[section] += line;
        } else if (insertionAt.contains(at)) {
            edits[insertionAt.value(at)].bytes += line;
        } else {
            // After a last line without its line end, the new line needs one before it.
            const bool ended = at == 0 || m_text.at(at - 1) == '\n' || m_text.at(at - 1) == '\r';
            insertionAt.insert(at, edits.size());
            edits.append({at, at, ended ? line : lineEnd + line});
        }
    }
    // Every line of a removed key: one standing twice would read again. (The
    // start's repair removes lines alone, and needs no value decoded for it.)
    for (int v = 0; v < m_values.size(); ++v) {
        const Value &value = m_values.at(v);
        if (m_removedLines.contains(v) || (m_removedKeys.contains(value.key) && settings().contains(value.key)))
            edits.append({value.start, removalEnd(m_text, value), QByteArray()});
    }
    // The edits come in the order of their keys, not of their places in the text.
    std::sort(edits.begin(), edits.end(), [](const ByteEdit &a, const ByteEdit &b) {
        return a.start != b.start ? a.start < b.start : a.end < b.end;
    });
    QByteArray edited;
    edited.reserve(m_text.size() + 256);
    int from = 0;
    for (const ByteEdit &edit : qAsConst(edits)) {
        edited.append(m_text.constData() + from, qMax(0, edit.start - from));
        edited += edit.bytes;
        from = qMax(from, edit.end);
    }
    edited.append(m_text.constData() + from, m_text.size() - from);
    for (auto section = newSections.cbegin(); section != newSections.cend(); ++section) {
        if (!edited.isEmpty() && !edited.endsWith('\n') && !edited.endsWith('\r'))
            edited += lineEnd;
        if (!edited.isEmpty())
            edited += lineEnd;
        edited += sectionHeaderOf(section.key().chopped(section.key().isEmpty() ? 0 : 1)) + lineEnd + *section;
    }
    return edited;
}
