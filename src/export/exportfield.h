#pragma once

#include <QLatin1Char>
#include <QLatin1String>
#include <QString>

/**
 * A row's text (a class, a comment, a file name) as an export line holds it.
 * The exports neither quote nor escape (their readers split each line at
 * ";"), so a ";" inside a text would shift every later field of its record,
 * and a line break would end the record early and start a false one. Both
 * reach the rows from stored descriptions (other software writes them, and
 * comments are free text), so a ";" is written as "," and a break as one
 * blank.
 */
inline QString exportField(const QString &text)
{
    if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char(';')))
        return text;
    QString field = text;
    field.replace(QLatin1String("\r\n"), QLatin1String(" "));
    field.replace(QLatin1Char('\r'), QLatin1Char(' '));
    field.replace(QLatin1Char('\n'), QLatin1Char(' '));
    field.replace(QLatin1Char(';'), QLatin1Char(','));
    return field;
}
