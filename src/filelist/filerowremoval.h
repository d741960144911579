#pragma once

#include <QVector>

#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

// Taking many top-level rows out of a file list at once. Qt removes a row of
// a list in time proportional to the item widgets of the whole list (each
// holds an index that must follow the rows below): removed one by one, a
// thousand rows of a list with an accept box in each of ten thousand rows
// take seconds. Gathered at the end of the list first, they go in one step.
namespace FileRowRemoval {

/**
 * The row that is current after the rows `removed` (distinct, in that order)
 * are taken one by one from a list of rowCount rows in which row `current` is
 * current (-1: none). Whenever the current row goes, the row above it becomes
 * current, or without one the row below, or none when the list is empty: as
 * Qt's views do. Rows are numbered as before the first removal; -1 for none.
 */
int currentRowAfterRemovals(int rowCount, int current, const std::vector<int> &removed);

/**
 * Deletes rows, distinct top-level rows of list, with their item widgets.
 * Afterwards the list is as if they had been deleted one by one in that
 * order: the other rows keep their order, selection and widgets, and the
 * current row is the one that removal would have left current.
 */
void removeTopLevelRows(QTreeWidget *list, const QVector<QTreeWidgetItem *> &rows);

} // namespace FileRowRemoval
