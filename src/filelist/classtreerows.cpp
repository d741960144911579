#include "filelist/classtreerows.h"

#include "classmodel/classnamerules.h"
#include "common/treecolumns.h"

#include <QTreeWidget>

namespace ClassTreeRows {

namespace {

QTreeWidgetItem *firstNamedBelow(QTreeWidgetItem *item, const QString &name)
{
    if (item->text(ClassTreeColumn::Class) == name)
        return item;
    for (int i = 0; i < item->childCount(); ++i) {
        if (QTreeWidgetItem *hit = firstNamedBelow(item->child(i), name))
            return hit;
    }
    return nullptr;
}

bool anyClass(const QStringList &classes)
{
    for (const QString &name : classes) {
        if (!name.isEmpty())
            return true;
    }
    return false;
}

void addToNamed(QTreeWidget *tree, const QStringList &classes, int delta)
{
    for (const QString &name : classes) {
        if (name.isEmpty())
            continue;
        if (QTreeWidgetItem *row = firstNamed(tree, name))
            addToCount(row, delta);
    }
}

} // namespace

QTreeWidgetItem *firstNamed(QTreeWidget *tree, const QString &name)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (QTreeWidgetItem *hit = firstNamedBelow(tree->topLevelItem(i), name))
            return hit;
    }
    return nullptr;
}

QTreeWidgetItem *topLevelNamed(QTreeWidget *tree, const QString &name)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = tree->topLevelItem(i);
        if (item->text(ClassTreeColumn::Class) == name)
            return item;
    }
    return nullptr;
}

void addToCount(QTreeWidgetItem *row, int delta)
{
    row->setText(ClassTreeColumn::Count, QString::number(row->text(ClassTreeColumn::Count).toInt() + delta));
}

void raiseUnassigned(QTreeWidget *tree)
{
    if (QTreeWidgetItem *row = topLevelNamed(tree, ClassNames::unassigned)) {
        addToCount(row, 1);
        row->setText(ClassTreeColumn::Shortcut, QString());
        return;
    }
    auto *created = new QTreeWidgetItem(tree);
    created->setText(ClassTreeColumn::Class, ClassNames::unassigned);
    created->setText(ClassTreeColumn::Count, QStringLiteral("1"));
    created->setForeground(ClassTreeColumn::Class, QBrush(Qt::red));
}

void moveCounts(QTreeWidget *tree, const QStringList &oldClasses, const QStringList &newClasses)
{
    addToNamed(tree, oldClasses, -1);
    addToNamed(tree, newClasses, 1);
    const bool had = anyClass(oldClasses);
    const bool has = anyClass(newClasses);
    if (had && !has) {
        raiseUnassigned(tree);
    } else if (!had && has) {
        if (QTreeWidgetItem *row = topLevelNamed(tree, ClassNames::unassigned))
            addToCount(row, -1);
    }
}

} // namespace ClassTreeRows
