#pragma once

#include <QVector>

class QModelIndex;
class QTreeView;

/**
 * The columns of a tree as wide as the form asked, or wider where the
 * desktop's font needs more: each column i gets the larger of widths[i] (px)
 * and what its header text and its cells, editors set into them included,
 * take. Columns past `widths` are left alone. Returns the width of all
 * columns together.
 *
 * The forms were laid out for the narrow font of one desktop; a wider one
 * cut "Shortcut" to "Short" and colour values to "1...".
 */
int setColumnWidthsAtLeast(QTreeView *tree, const QVector<int> &widths);

/**
 * A tree made at least as wide as its columns, its frame and a vertical
 * scroll bar, so that no column hides under a neighbouring widget or needs a
 * sideways scroll.
 */
void fitTreeWidthToColumns(QTreeView *tree);

/**
 * Widens the column of `cell` to what the cell takes, as
 * QTreeView::resizeColumnToContents measures it; never narrows it. Rows
 * filled one by one, each cell passed as it gets its text, leave the column
 * as wide as its widest text so far, whatever the first rows held ("N/A"
 * above real dates). Cells the column holds already cost one measure of
 * their text.
 */
void widenColumnToCell(QTreeView *tree, const QModelIndex &cell);
