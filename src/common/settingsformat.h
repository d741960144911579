#pragma once

#include <QSettings>
#include <QString>

/**
 * The form of the program's settings store: Qt's INI form, byte for byte,
 * read and written in memory (common/inidocument.h), so that the store needs
 * nothing but itself.
 *
 * Qt writes a settings file through a QSaveFile beside it, whose commit() puts
 * the new file in place even when the bytes still in its buffer met a full
 * disk: a store of a few kilobytes was cut short with no error, and the
 * settings past the cut were lost. In this form the bytes are flushed before
 * Qt commits, and a failed flush fails the write (the status is AccessError)
 * and discards it. A value Qt's decoder must not see is not read: it reads as
 * missing. A store that does not read whole (no regular file, a failing read,
 * 2 GiB or more, values more than the memory holds) reads as empty, and is
 * never written over: its writes fail. So does a write whose own reading and
 * editing of the store run out of memory.
 *
 * A write keeps every line a person wrote into the store but those of the
 * settings it stores or removes: comments, blank lines, a value Qt may not
 * decode. A store in Qt's own form stays in it.
 */
QSettings::Format wholeIniFormat();

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
