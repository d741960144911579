#include "filelist/classrowtexts.h"

#include "common/treecolumns.h"

#include <QTreeWidgetItem>

const QString ClassRowTexts::singleWriteMarker = QStringLiteral("Aborting");

ClassRowTexts ClassRowTexts::fromItem(QTreeWidgetItem *item)
{
    return {item, item->text(ClassTreeColumn::Class), item->text(ClassTreeColumn::Count)};
}
