#pragma once

#include <QDate>
#include <QString>
#include <QTime>

/**
 * A field of a line of the folder's data files (weather log, wind-speed file)
 * as it is read: with every double quote, line feed and carriage return
 * removed, so that quoted fields read as plain ones.
 */
QString dataFileField(QString field);

/**
 * Dates and times of the folder's data files,
 * read as QDate::fromString and QTime::fromString read them, but without
 * parsing the pattern again for each of the half a million lines of a year of
 * one-minute data: a text of all digits where the pattern has its letters and
 * the pattern's other characters in between is read at once; any other text
 * goes to Qt's parser, so the result is the same.
 */

/** QDate::fromString(text, pattern) for a pattern of "dd", "MM", "yyyy" and separators. */
QDate readStampDate(const QString &text, const QString &pattern);
/** QTime::fromString(text, format) for a format of "hh", "mm", "ss" and separators. */
QTime readStampTime(const QString &text, const QString &format);
