#include "filelist/filerowindex.h"

#include "common/treecolumns.h"

#include <QAbstractItemModel>
#include <QTreeWidget>

FileRowIndex::FileRowIndex(QTreeWidget *list)
    : QObject(list)
    , m_list(list)
{
    const auto forget = [this]() {
        m_valid = false;
        m_rows.clear();
    };
    QAbstractItemModel *model = list->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, forget);
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, forget);
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, forget);
}

QTreeWidgetItem *FileRowIndex::row(const QString &name)
{
    if (!m_valid) {
        const int count = m_list->topLevelItemCount();
        m_rows.reserve(count);
        for (int i = 0; i < count; ++i) {
            QTreeWidgetItem *item = m_list->topLevelItem(i);
            m_rows.insert(item->text(FileViewColumn::Name), item);
        }
        m_valid = true;
    }
    return m_rows.value(name);
}
