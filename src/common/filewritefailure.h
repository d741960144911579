#pragma once

#include <QString>

class QWidget;

/**
 * Tells the user that a file they asked for was not written: "Could not write
 * to file." with the critical icon, no parent and no title of its own. Every
 * writer of user files (exports, plot documents) reports failure through here.
 */
void reportFileWriteFailure();

/** What the user chose in the write-failure box of a chained job. */
enum class WriteFailureChoice { Skip, SkipForAll, Cancel };

/**
 * Asks what a chained job (assigning, renaming, deleting, unassigning,
 * resetting) does after a recording was not written: a box over parent (the
 * window, so that the window's own modal progress cannot bury it), without
 * title, the critical icon, "Error Writing File " and the path, the reason
 * (empty when unknown) as informative text, and the buttons "Skip", "Skip
 * for all" (only with offerSkipForAll) and "Cancel". Escape and the window's
 * close button answer Cancel. Run as one of the program's own dialogs
 * (UserDialogs::runDialog), so a test answers it on the box itself.
 */
WriteFailureChoice askAfterWriteFailure(QWidget *parent, const QString &path, const QString &reason,
                                        bool offerSkipForAll);
