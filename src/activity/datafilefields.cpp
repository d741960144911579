#include "activity/datafilefields.h"

namespace {

bool isFieldLetter(QChar c)
{
    return c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y') || c == QLatin1Char('h')
           || c == QLatin1Char('m') || c == QLatin1Char('s');
}

// The number under each field letter of the pattern (the letter's digits in
// order), or false when the text is not the pattern's plain digit form.
// Indexed by the letter's UTF-16 code (u'd'), never by a plain char, which may be signed.
struct Fields {
    int values[128] = {};
    int counts[128] = {};
};

bool readFields(const QString &text, const QString &pattern, Fields &fields)
{
    if (text.size() != pattern.size())
        return false;
    for (int i = 0; i < pattern.size(); ++i) {
        const QChar p = pattern.at(i);
        const ushort c = text.at(i).unicode();
        if (!isFieldLetter(p)) {
            if (c != p.unicode())
                return false;
            continue;
        }
        if (c < '0' || c > '9')
            return false;
        const ushort letter = p.unicode();
        fields.values[letter] = fields.values[letter] * 10 + (c - '0');
        ++fields.counts[letter];
    }
    return true;
}

} // namespace

QString dataFileField(QString field)
{
    field.remove(QLatin1Char('"'));
    field.remove(QLatin1Char('\n'));
    field.remove(QLatin1Char('\r'));
    return field;
}

QDate readStampDate(const QString &text, const QString &pattern)
{
    Fields f;
    if (readFields(text, pattern, f) && f.counts[u'd'] == 2 && f.counts[u'M'] == 2 && f.counts[u'y'] == 4
        && f.counts[u'h'] + f.counts[u'm'] + f.counts[u's'] == 0) {
        return QDate(f.values[u'y'], f.values[u'M'], f.values[u'd']);
    }
    return QDate::fromString(text, pattern);
}

QTime readStampTime(const QString &text, const QString &format)
{
    Fields f;
    if (readFields(text, format, f) && f.counts[u'h'] == 2 && f.counts[u'm'] == 2 && f.counts[u's'] == 2
        && f.counts[u'd'] + f.counts[u'M'] + f.counts[u'y'] == 0) {
        return QTime(f.values[u'h'], f.values[u'm'], f.values[u's']);
    }
    return QTime::fromString(text, format);
}
