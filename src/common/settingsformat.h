#pragma once

#include <QSettings>

/**
 * The form of the program's settings files (its store, a folder's
 * "QuillonSettings.ini"): Qt's INI form, byte for byte, written so that a
 * full disk leaves the file that stood there as it was.
 *
 * Qt writes a settings file through a QSaveFile, whose commit() puts the new
 * file in place even when the bytes still in its buffer met a full disk: a
 * store of a few kilobytes was cut short with no error, and the settings past
 * the cut were lost. In this form the bytes are flushed before Qt commits,
 * and a failed flush fails the write (the status is AccessError) and discards it.
 */
QSettings::Format wholeIniFormat();

/**
 * The settings `text`, an INI file's bytes, holds, as Qt's own INI reader reads
 * them, into `map`. False where the text could not be read whole: a scratch
 * copy of it did not reach the disk, or a value claims more than memory holds.
 */
bool readIniText(const QByteArray &text, QSettings::SettingsMap *map);
