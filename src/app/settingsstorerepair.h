#pragma once

#include <QByteArray>
#include <QString>
#include <Qt>

class QWidget;

/**
 * Makes the application settings store readable before anything reads it.
 *
 * Qt decodes a whole group of the store at the first access to any of its
 * keys, and a damaged binary value there (a list claiming 2^31-1 entries, as
 * "classColors=@Variant(\0\0\0\t\x7f\xff\xff\xff)") throws std::bad_alloc
 * out of that decoding: every read and every write of the group would throw,
 * and the program could not start until the user found the file and deleted
 * it. So each stored value is decoded once here, inside a guard. A stored
 * layout that decodes is not yet safe: a splitter's sizes claiming 2^31-1
 * entries throw out of QSplitter::restoreState at the first recording shown,
 * on every start. So each stored splitter layout is checked as well
 * (splitterStateApplies). When a value does not decode, or a layout could not
 * be applied, the store is copied unchanged beside itself and rewritten
 * without those values; they then read as their defaults, every other value
 * reads as it did. The store is read in lines as Qt reads it (lines ending in
 * LF, CR or CR LF, a value carried on over line ends by quotes or a trailing
 * backslash, comments), so that no more than those values goes. A store that
 * still does not read whole after the rewrite would be set aside again at
 * every start: it is set aside whole, and the program starts on the defaults.
 *
 * Returns the copy's path; empty when the store needs no repair, or is no
 * file (none yet). `copyWritten` tells whether the copy could be written.
 */
QString setAsideUnreadableSettings(bool *copyWritten = nullptr);

/** The above at start, before the first read: tells the user once, through UserDialogs, where the copy is. */
void repairSettingsStoreAtStart(QWidget *parent);

/**
 * Whether `state`, a splitter's layout as QSplitter::saveState writes it (a
 * marker, a version, the sizes as a list, whether panes collapse, the handle
 * width, opaque resizing, the orientation), can be given to a splitter of
 * `orientation`. Read field by field: a count of sizes larger than the bytes
 * that follow could hold is refused before anything is allocated for it, as
 * are sizes no widget can have, a handle no one can grab and the other
 * orientation. Empty or cut short: false. The window checks each layout so,
 * as Qt decoded it, before it gives it to a splitter.
 */
bool splitterStateApplies(const QByteArray &state, Qt::Orientation orientation);
