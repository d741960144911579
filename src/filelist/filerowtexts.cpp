#include "filelist/filerowtexts.h"

#include <QTreeWidget>
#include <QTreeWidgetItem>

bool FileRowTexts::hasClass(const QString &name) const
{
    for (int column = FileViewColumn::Class1; column <= FileViewColumn::Class4; ++column) {
        if (text(column) == name)
            return true;
    }
    return false;
}

FileRowTexts FileRowTexts::fromItem(QTreeWidgetItem *item)
{
    FileRowTexts row;
    row.item = item;
    for (int column = 0; column < FileViewColumn::Count; ++column)
        row.setText(column, item->text(column));
    if (const QTreeWidget *list = item->treeWidget())
        row.acceptColumnShown = !list->isColumnHidden(FileViewColumn::Accepted);
    return row;
}

QVector<FileRowTexts> fileRowTextsOf(const QList<QTreeWidgetItem *> &items)
{
    QVector<FileRowTexts> rows;
    rows.reserve(items.size());
    for (QTreeWidgetItem *item : items)
        rows.append(FileRowTexts::fromItem(item));
    return rows;
}

QVector<FileRowTexts> fileRowTextsOf(const QTreeWidget *list)
{
    QVector<FileRowTexts> rows;
    const int count = list->topLevelItemCount();
    rows.reserve(count);
    for (int i = 0; i < count; ++i)
        rows.append(FileRowTexts::fromItem(list->topLevelItem(i)));
    return rows;
}
