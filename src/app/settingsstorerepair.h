#pragma once

#include "common/textfilewriter.h"

#include <QByteArray>
#include <QString>
#include <Qt>

#include <functional>

class QWidget;

/**
 * Makes the application settings store readable before anything reads it.
 *
 * Qt decodes a whole group of the store at the first access to any of its
 * keys, and hands every stored "@Variant(...)" to QDataStream, whose loaders
 * trust the bytes: a damaged value there crashes inside Qt (one changed byte
 * of a stored float made a polygon's loader read wild memory), or throws
 * std::bad_alloc (a list claiming 2^31-1 entries, as
 * "classColors=@Variant(\0\0\0\t\x7f\xff\xff\xff)"), at every start. A
 * crash cannot be caught, so before Qt sees the store each such value is read
 * as Qt would read it, and only the kinds the program itself stores that way
 * (IniDocument::safeToDecode, common/inidocument.h) are let through; every
 * other value
 * is decoded once, in memory, inside a guard. A stored layout that decodes is
 * not yet safe: a splitter's sizes claiming 2^31-1 entries throw out of
 * QSplitter::restoreState at the first recording shown, on every start. So
 * each stored splitter layout is checked as well (splitterStateApplies). The
 * check reads the store's bytes afresh, as the next start will, and needs
 * nothing but them: no temporary folder, no free space.
 *
 * When a value does not pass, the store is copied unchanged beside itself and
 * rewritten without those values; they then read as their defaults, every
 * other value reads as it did. The store is read in lines as Qt reads it
 * (IniDocument), so that no more than those values goes. A store that still
 * does not read whole after the rewrite would be set aside again at every
 * start: it is set aside whole, and the program starts on the defaults. The
 * store is rewritten only once the copy is read back holding every byte of
 * it: a full disk may cut a file short while every call that wrote it said
 * it went well. A copy that holds the same bytes already is taken as it is.
 *
 * When the copy cannot be written whole (a full disk), or the store cannot be
 * rewritten, nothing of the store goes: it is left as it is, nothing is left
 * under the copy's name, and this run reads the values that passed (or none)
 * and keeps what it changes in memory (keepSettingsInMemory), so that nothing
 * this run does reaches the store. No file beside the store is removed: a
 * save file a write killed midway left there ("Quillon.conf.AbCdEf": Qt names
 * its new file so beside the store before it renames it over the store, and
 * where the file system keeps no file without a name, for the whole write)
 * bears a name a person could have given a copy of their own, and is left for
 * the user. A store that is a FIFO is held open for writing by the run, so
 * that Qt's opening of it for reading never waits (holdFifoOpen); like any
 * store that is no regular file, it reads as empty and is never written.
 */
struct SettingsStoreRepair {
    QString storePath;    // the store as Qt names it
    QString copyPath;     // where the store as it was is kept; empty when it needed no repair (or is no file)
    QString copyFailure;  // the system's reason the copy could not be written; empty when it was
    QString storeFailure; // the system's reason the store could not be rewritten; empty when it was
};

/**
 * Writes `bytes` to `path` whole, or leaves what stood there as it was and
 * gives the system's reason: the copy and the rewritten store go through it.
 */
using WholeFileWriter = std::function<bool(const QString &path, const QByteArray &bytes, QString *reason)>;

SettingsStoreRepair setAsideUnreadableSettings(const WholeFileWriter &write = writeWholeFile);

/** The above at start, before the first read: tells the user once, through UserDialogs, what became of the store. */
void repairSettingsStoreAtStart(QWidget *parent, const WholeFileWriter &write = writeWholeFile);

/**
 * Whether `state`, a splitter's layout as QSplitter::saveState writes it (a
 * marker, a version, the sizes as a list, whether panes collapse, the handle
 * width, opaque resizing, the orientation), can be given to a splitter of
 * `orientation` with `panes` panes. Read field by field: a count of sizes
 * larger than the bytes that follow could hold is refused before anything is
 * allocated for it, as are more sizes than panes (a store would carry them
 * through every write), sizes no widget can have, a handle no one can grab
 * and the other orientation. Empty or cut short: false. The window checks
 * each layout so, as Qt decoded it, before it gives it to a splitter.
 */
bool splitterStateApplies(const QByteArray &state, Qt::Orientation orientation, int panes);
