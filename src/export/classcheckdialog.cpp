#include "export/classcheckdialog.h"

#include "common/columnwidths.h"
#include "export/classcounttext.h"

#include <QCheckBox>
#include <QTreeWidget>

namespace {

const int kNameColumn = 0;
const int kCountColumn = 1;
const int kBoxColumn = 2;

} // namespace

ClassCheckDialog::ClassCheckDialog(QWidget *parent)
    : QDialog(parent)
{
}

void ClassCheckDialog::fillCheckTree(QTreeWidget *tree, const QString &classCountText, const TreeStyle &style)
{
    m_tree = tree;
    tree->clear();
    checkedClasses.clear();
    QTreeWidgetItem *classRow = nullptr;
    for (const ClassCountLine &line : parseClassCountText(classCountText)) {
        QTreeWidgetItem *row = nullptr;
        bool checkable = true;
        if (line.subclass) {
            row = new QTreeWidgetItem(classRow);
        } else {
            row = new QTreeWidgetItem(tree);
            classRow = row;
            row->setExpanded(true);
            if (line.name == ExportClassNames::unassigned()) {
                row->setForeground(kNameColumn, QBrush(Qt::red));
                checkable = style.unassignedCheckable;
            } else if (line.name == ExportClassNames::detectedNoCall() && style.colourDetectedNoCall) {
                row->setForeground(kNameColumn, QBrush(Qt::blue));
            }
        }
        row->setText(kNameColumn, line.name);
        row->setText(kCountColumn, line.count);
        if (!checkable)
            continue;
        auto *box = new QCheckBox;
        // Checked before it is connected, so that filling never runs checkBox().
        box->setChecked(true);
        tree->setItemWidget(row, kBoxColumn, box);
        connect(box, &QCheckBox::stateChanged, this, &ClassCheckDialog::checkBox);
        checkedClasses.append(line.name);
    }
    setColumnWidthsAtLeast(tree, {150, 40, 30});
    fitTreeWidthToColumns(tree);
}

QTreeWidgetItem *ClassCheckDialog::rowOfBox(const QObject *box) const
{
    if (!m_tree)
        return nullptr;
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = m_tree->topLevelItem(i);
        if (m_tree->itemWidget(row, kBoxColumn) == box)
            return row;
        for (int c = 0; c < row->childCount(); ++c) {
            if (m_tree->itemWidget(row->child(c), kBoxColumn) == box)
                return row->child(c);
        }
    }
    return nullptr;
}

void ClassCheckDialog::checkBox(int state)
{
    const QTreeWidgetItem *row = rowOfBox(sender());
    if (!row)
        return;
    const QString name = row->text(kNameColumn);
    if (state == Qt::Checked)
        checkedClasses.append(name);
    else if (state == Qt::Unchecked)
        checkedClasses.removeOne(name);
}

void ClassCheckDialog::on_treeWidget_itemDoubleClicked(QTreeWidgetItem *item, int)
{
    if (!m_tree || !item)
        return;
    if (auto *box = qobject_cast<QCheckBox *>(m_tree->itemWidget(item, kBoxColumn)))
        box->toggle();
}
