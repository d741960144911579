#pragma once

#include "filelist/filerowtexts.h"

#include <QString>
#include <QStringList>

/**
 * What each class operation writes into a recording, as pure functions of the
 * copy of its file-list row. The bext-writing worker writes what they give,
 * and the replies show in the row what they give, so row and file agree.
 *
 * The row's classes are taken as its filled slots in order: a row whose
 * stored slots have a gap (the header worker empties a class in place) loses
 * no class, and every text is written with the compact class list. A row has
 * a proposal when its proposal or accepted column is not empty; it is then
 * written in the full form (classes|proposal|flag|comment), otherwise in the
 * short form (classes|comment). Names compare exactly, "No Call" included.
 */
namespace ClassTextRules {

/** One operation on one row. */
struct Outcome {
    bool write = false; // the recording gets `text`
    QString text;
    bool success = true;     // the reply's success when nothing is written
    bool rowChanges = false; // on success the row shows `classes` (and `flag`)
    QStringList classes;     // the row's classes afterwards, in slot order
    bool fullForm = false;   // `flag` was written; empty otherwise
    QString flag;
    QString refusal; // why nothing is written although the row asked for it; empty otherwise
};

/**
 * Adds className. Not written: a row whose date is still empty (its classes
 * are not read yet) or that holds the class already, answered with success;
 * a non-WAV row without a date ("N/A"), answered with failure. With the
 * accept column shown, "No Call" replaces every class, and a class replaces
 * a "No Call"; otherwise the class goes behind the filled slots, replacing
 * class 4 when all four are filled. The flag is "0" for "No Call", else
 * whether the new classes equal the proposal's.
 */
Outcome assign(const FileRowTexts &row, const QString &className);
/**
 * Renames the row's first class oldName to newName; proposal and flag stay.
 * A non-WAV row changes without a write.
 */
Outcome rename(const FileRowTexts &row, const QString &oldName, const QString &newName);
/**
 * Removes the row's first class named name, the later ones moving up; the
 * flag stays, and is "0" when no class is left. A non-WAV row changes
 * without a write.
 */
Outcome remove(const FileRowTexts &row, const QString &name);
/**
 * Removes every class; the proposal stays with the flag "0", the comment
 * stays. A non-WAV row changes without a write.
 */
Outcome unassign(const FileRowTexts &row);
/**
 * Puts className in class slot `slot` (1 to 4) in place of the class there,
 * the other classes keeping their places; the flag is whether the new
 * classes equal the proposal's. Nothing happens to an empty slot. A non-WAV
 * row changes without a write.
 */
Outcome reassign(const FileRowTexts &row, int slot, const QString &className);
/**
 * Removes the class of slot `slot` (1 to 4), the later ones moving up; the
 * flag is "0" when no class is left, else whether the classes left equal the
 * proposal's. A row without a proposal keeps the short form even without a
 * class ("|" and the comment). Nothing happens to an empty slot. A non-WAV
 * row changes without a write.
 */
Outcome unassignSlot(const FileRowTexts &row, int slot);
/**
 * Drops classes, proposal and flag: "|" and the comment. A row whose date is
 * still empty shows no comment yet, so storedComment (what its recording
 * holds) is written instead. Not written: non-WAV rows and rows without a
 * timestamp ("N/A"). Changes no row: the folder is read again afterwards.
 */
Outcome reset(const FileRowTexts &row, const QString &storedComment);

/** The non-empty entries among the first four of a ", "-separated proposal, in proposal order. */
QStringList proposalClasses(const QString &proposal);
/** "1" when classes and the proposal's first four entries hold the same names, order and repetition aside. */
QString acceptedFlag(const QStringList &classes, const QString &proposal);
/** What accepting a proposal writes: its classes (proposalClasses), the proposal, "1", the comment. */
QString acceptText(const QString &proposal, const QString &comment);
/** What withdrawing an acceptance writes: no class, the proposal, "0", the comment. */
QString withdrawText(const QString &proposal, const QString &comment);

} // namespace ClassTextRules
