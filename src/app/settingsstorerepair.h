#pragma once

#include <QString>

class QWidget;

/**
 * Makes the application settings store readable before anything reads it.
 *
 * Qt decodes a whole group of the store at the first access to any of its
 * keys, and a damaged binary value there (a list claiming 2^31-1 entries, as
 * "classColors=@Variant(\0\0\0\t\x7f\xff\xff\xff)") throws std::bad_alloc
 * out of that decoding: every read and every write of the group would throw,
 * and the program could not start until the user found the file and deleted
 * it. So each stored value is decoded once here, inside a guard. When one does
 * not decode, the store is copied unchanged beside itself and rewritten without
 * the values that do not decode; those then read as their defaults, every
 * other value stays.
 *
 * Returns the copy's path; empty when the store decodes, or is no file (none
 * yet). `copyWritten` tells whether the copy could be written.
 */
QString setAsideUnreadableSettings(bool *copyWritten = nullptr);

/** The above at start, before the first read: tells the user once, through UserDialogs, where the copy is. */
void repairSettingsStoreAtStart(QWidget *parent);
