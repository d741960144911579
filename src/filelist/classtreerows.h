#pragma once

#include <QString>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;

// The class tree's rows as the counts of the recordings use them: found by
// exact name, each count a decimal text in column 1.
namespace ClassTreeRows {

/** The first row named name, each class before its subclasses, top to bottom; null when there is none. */
QTreeWidgetItem *firstNamed(QTreeWidget *tree, const QString &name);
/** The first top-level row named name; null when there is none. */
QTreeWidgetItem *topLevelNamed(QTreeWidget *tree, const QString &name);

/** Adds delta to the row's count; a count that is no number counts as 0. */
void addToCount(QTreeWidgetItem *row, int delta);

/**
 * Raises "Unassigned" by one (its shortcut cleared), or appends it as the
 * last top-level row, in red with the count 1, when the tree has none.
 */
void raiseUnassigned(QTreeWidget *tree);

/**
 * A recording's classes changed from oldClasses to newClasses (empty names
 * are no class): each old class loses one and each new one gains one, and
 * "Unassigned" follows whether the recording has a class at all. A name
 * without a row changes no count.
 */
void moveCounts(QTreeWidget *tree, const QStringList &oldClasses, const QStringList &newClasses);

} // namespace ClassTreeRows
