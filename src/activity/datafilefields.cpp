#include "activity/datafilefields.h"

namespace {

bool isFieldLetter(QChar c)
{
    return c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y') || c == QLatin1Char('h')
           || c == QLatin1Char('m') || c == QLatin1Char('s');
}

// The number under each field letter of the pattern (the letter's digits in
// order), or false when the text is not the pattern's plain digit form.
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
    if (readFields(text, pattern, f) && f.counts['d'] == 2 && f.counts['M'] == 2 && f.counts['y'] == 4
        && f.counts['h'] + f.counts['m'] + f.counts['s'] == 0) {
        return QDate(f.values['y'], f.values['M'], f.values['d']);
    }
    return QDate::fromString(text, pattern);
}

QTime readStampTime(const QString &text, const QString &format)
{
    Fields f;
    if (readFields(text, format, f) && f.counts['h'] == 2 && f.counts['m'] == 2 && f.counts['s'] == 2
        && f.counts['d'] + f.counts['M'] + f.counts['y'] == 0) {
        return QTime(f.values['h'], f.values['m'], f.values['s']);
    }
    return QTime::fromString(text, format);
}
