#include "filelist/filerowremoval.h"

#include "filelist/fileviewtreewidgetitem.h"

#include <QItemSelectionModel>
#include <QTreeWidget>

int FileRowRemoval::currentRowAfterRemovals(int rowCount, int current, const std::vector<int> &removed)
{
    if (current < 0 || current >= rowCount)
        return -1;
    // The rows left, linked to their neighbours: rowCount marks "no row below".
    std::vector<int> above(static_cast<size_t>(rowCount)), below(static_cast<size_t>(rowCount));
    for (int row = 0; row < rowCount; ++row) {
        above[size_t(row)] = row - 1;
        below[size_t(row)] = row + 1;
    }
    for (const int row : removed) {
        const int up = above[size_t(row)], down = below[size_t(row)];
        if (up >= 0)
            below[size_t(up)] = down;
        if (down < rowCount)
            above[size_t(down)] = up;
        if (row == current)
            current = up >= 0 ? up : (down < rowCount ? down : -1);
    }
    return current;
}

void FileRowRemoval::removeTopLevelRows(QTreeWidget *list, const QVector<QTreeWidgetItem *> &rows)
{
    const int count = list->topLevelItemCount();
    std::vector<fileViewTreeWidgetItem *> all(size_t(count), nullptr);
    bool placeable = rows.size() > 1;
    for (int i = 0; i < count && placeable; ++i) {
        all[size_t(i)] = dynamic_cast<fileViewTreeWidgetItem *>(list->topLevelItem(i));
        placeable = all[size_t(i)] != nullptr;
    }
    if (!placeable) {
        // A single row, or rows that cannot be placed: Qt's own way.
        for (QTreeWidgetItem *row : rows)
            delete row;
        return;
    }

    // The rows kept in their order, then the removed ones: one move, which
    // the indexes of the item widgets, the selection and the current row follow.
    for (int i = 0; i < count; ++i)
        all[size_t(i)]->setPlace(i);
    std::vector<int> removedRows;
    removedRows.reserve(size_t(rows.size()));
    for (QTreeWidgetItem *row : rows) {
        auto *placed = static_cast<fileViewTreeWidgetItem *>(row);
        Q_ASSERT(placed->place() >= 0 && placed->place() < count);
        removedRows.push_back(placed->place());
        placed->setPlace(count + placed->place());
    }
    const QModelIndex current = list->currentIndex();
    const int currentRow = current.isValid() && !current.parent().isValid() ? current.row() : -1;
    const int currentColumn = current.column();
    const int currentAfter = currentRowAfterRemovals(count, currentRow, removedRows);
    QTreeWidgetItem *currentItem = currentAfter >= 0 ? all[size_t(currentAfter)] : nullptr;

    list->invisibleRootItem()->sortChildren(list->sortColumn(), Qt::AscendingOrder);
    for (fileViewTreeWidgetItem *row : all)
        row->setPlace(-1);
    list->model()->removeRows(count - rows.size(), rows.size());

    if (currentAfter != currentRow) {
        const QModelIndex index =
            currentItem ? list->model()->index(list->indexOfTopLevelItem(currentItem), currentColumn) : QModelIndex();
        list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    }
}
