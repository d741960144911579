#pragma once

#include "common/inivalues.h"

#include <QByteArray>
#include <QSettings>
#include <QString>

/**
 * The form of the program's settings store: Qt's INI form, byte for byte,
 * read and written in memory, so that the store needs nothing but itself.
 *
 * Qt writes a settings file through a QSaveFile beside it, whose commit() puts
 * the new file in place even when the bytes still in its buffer met a full
 * disk: a store of a few kilobytes was cut short with no error, and the
 * settings past the cut were lost. In this form the bytes are flushed before
 * Qt commits, and a failed flush fails the write (the status is AccessError)
 * and discards it. A value Qt's decoder must not see (common/inivalues.h) is
 * not read: it reads as missing. A file that does not read whole (a failing
 * read, 2 GiB or more, values more than the memory holds) reads as empty,
 * and is never written over: its writes fail.
 *
 * A write keeps every line a person wrote into the store but those of the
 * settings it stores or removes (iniTextWith): comments, blank lines, a
 * value Qt may not decode. A store in Qt's own form stays in it.
 */
QSettings::Format wholeIniFormat();

/**
 * `settings` in Qt's INI form: the bytes Qt's own writer writes for them
 * (sections in the order of their names, each key's text escaped as Qt
 * escapes it, non-ASCII characters as "\x" escapes), into a new file and
 * into one it has read alike.
 */
QByteArray iniTextOf(const QSettings::SettingsMap &settings);

/**
 * `text`, an INI file's bytes read as `lines` says, holding `settings` now,
 * with every line a person wrote kept. A file in Qt's own form (one that
 * iniTextOf writes again as it reads) is written as Qt writes `settings`. In
 * any other, the line read for a key whose value changes gets the new value
 * in place of the old, between the blanks around it (a comment after it
 * stays); the lines of a key `settings` lacks go; a key the text lacks gets a
 * line of its own after the last value of its section, or in a section added
 * at the end. Every other byte stays: comments, blank lines, a byte order
 * mark, line ends, the order of the lines, values Qt may not decode.
 */
QByteArray iniTextWith(const QByteArray &text, const QSettings::SettingsMap &settings, IniLines lines);

/**
 * From now on the settings file at `path` reads as `settings` and is written
 * nowhere: what this run changes is kept in memory, and the file stays as it
 * is (its writes fail, with AccessError).
 */
void keepSettingsInMemory(const QString &path, const QSettings::SettingsMap &settings);

/** Whether keepSettingsInMemory holds the settings file at `path` off the disk. */
bool settingsKeptInMemory(const QString &path);

/** Ends keepSettingsInMemory for `path`: it is read and written on the disk again. */
void keepSettingsOnDisk(const QString &path);
