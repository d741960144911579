#pragma once

#include <QLatin1Char>
#include <QLatin1String>
#include <QString>

/**
 * A row's text as an export line holds it. The exports neither quote nor
 * escape (their readers split each line at ";"), so a line break inside a
 * text would end the record early and start a false one: a description
 * written by other software can carry one, and the header worker then shows
 * it as a class or a comment. Such a break is written as one blank.
 */
inline QString exportField(const QString &text)
{
    if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString field = text;
    field.replace(QLatin1String("\r\n"), QLatin1String(" "));
    field.replace(QLatin1Char('\r'), QLatin1Char(' '));
    field.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return field;
}
