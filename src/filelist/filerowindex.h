#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

/**
 * Finds a top-level row of a file list by its file name (column 0) in
 * constant time, however long the list: the replies of a chained job find
 * their row this way rather than through a pointer that a rebuilt list would
 * leave dangling.
 *
 * The index forgets itself whenever rows are inserted, removed or the list is
 * cleared, and is built again at the next lookup: a list is filled before its
 * rows are named, and a pointer is never kept past the removal of its row.
 * Sorting moves rows but keeps them, so it keeps the index.
 */
class FileRowIndex : public QObject
{
public:
    /** Watches list, which owns the index. */
    explicit FileRowIndex(QTreeWidget *list);

    /** The row named name, or null when the list holds none. */
    QTreeWidgetItem *row(const QString &name);

private:
    QTreeWidget *m_list;
    QHash<QString, QTreeWidgetItem *> m_rows;
    bool m_valid = false;
};
