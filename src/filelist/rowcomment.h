#pragma once

#include "analysis/classassignmenttext.h"

#include <QString>

class QTreeWidgetItem;

// The comment a user types into a file-list row, written straight into the
// row's recording on the user-interface thread.

/**
 * The classification a row shows, as its recording stores it: the four
 * classes, the proposal, the accepted flag (the accept box's state where the
 * row carries one, else the text of its column) and the comment.
 */
ClassAssignmentText rowAssignment(const QTreeWidgetItem *row);

/**
 * The description text a comment edit of row writes: the full form with all
 * four class slots. Empty when it cannot be stored whole: a comment holding
 * a bar, or a text longer than the description field.
 */
QString commentWriteText(const QTreeWidgetItem *row);

/**
 * Why the comment of row cannot be stored (commentWriteText() is empty), in
 * the user's words: the bar it holds, or its length in bytes beside the bytes
 * the description has left for it; empty when it can be stored.
 */
QString commentRefusal(const QTreeWidgetItem *row);

/** The comment the recording at path holds now; empty when it holds none or cannot be read. */
QString storedComment(const QString &path);

/**
 * Puts the comment the recording at path holds back into row, after an edit
 * that was refused or not written: the exports and every later write of the
 * row take its comment from the row. Sets it without the list's change
 * signal, so nothing is written.
 */
void showStoredComment(QTreeWidgetItem *row, const QString &path);

/**
 * Opens the comment cell of row again with typed in its editor, after an edit
 * refused for what it holds: the user shortens or mends the text rather than
 * typing it anew, while the row keeps the stored comment. Opens it once the
 * event loop is back, when the editor that sent the refused text has closed.
 */
void editCommentAgain(QTreeWidgetItem *row, const QString &typed);

/**
 * Writes text into the description of the recording at path at once, on the
 * calling thread, with a recording object made for this one write. The one
 * place where a single edit of a row reaches its recording. On false, failure
 * (when given) receives the writer's reason, empty when it has none.
 */
bool writeRowDescription(const QString &path, const QString &text, QString *failure = nullptr);
