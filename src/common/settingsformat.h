#pragma once

#include <QByteArray>
#include <QHash>
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
 * not read: it reads as missing, and the next write leaves it out. A file
 * that does not read whole (a failing read, 2 GiB or more, values more than
 * the memory holds) reads as empty, and is never written over: its writes fail.
 */
QSettings::Format wholeIniFormat();

/**
 * `settings` in Qt's INI form: the bytes Qt's own writer writes for them
 * (sections in the order of their names, each key's text escaped as Qt
 * escapes it, non-ASCII characters as "\x" escapes), into a new file and
 * into one it has read alike.
 */
QByteArray iniTextOf(const QSettings::SettingsMap &settings);

/** A key within its section, as Qt's writer writes it before the '='. */
QByteArray iniKeyTextOf(const QString &key);

/** A value as Qt's writer writes it after the '=': one line, whatever it holds. */
QByteArray iniValueTextOf(const QVariant &value);

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
