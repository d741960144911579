#include "filelist/filelistwidget.h"

#include "common/treecolumns.h"
#include "filelist/fileviewtreewidgetitem.h"

#include <QAccessible>
#include <QCheckBox>
#include <QScopedValueRollback>
#include <QSet>

FileListWidget::FileListWidget(QWidget *parent)
    : QTreeWidget(parent)
{
    setUniformRowHeights(true);
}

void FileListWidget::doItemsLayout()
{
    m_layoutPending = false;
    QTreeWidget::doItemsLayout();
}

QTreeWidgetItem *FileListWidget::rowOfAcceptBox(const QObject *box) const
{
    for (const MadeBox &made : m_madeBoxes) {
        if (made.box && made.box == box && made.cell.isValid())
            return itemFromIndex(made.cell);
    }
    return nullptr;
}

void FileListWidget::rowsInserted(const QModelIndex &parent, int start, int end)
{
    QTreeWidget::rowsInserted(parent, start, end);
    m_layoutPending = true;
}

void FileListWidget::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QVector<int> &roles)
{
    const bool oneRow =
        topLeft.isValid() && topLeft.row() == bottomRight.row() && topLeft.parent() == bottomRight.parent();
    if (!oneRow) {
        QTreeWidget::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    // A change without roles is one of the row's flags or of its accept box: its widgets may come or go.
    const bool rowChange = roles.isEmpty() && !m_layoutPending;
    // A row above or below the view repaints nothing, and Qt takes note of it
    // from any one of its cells: only an open editor or an assistive tool
    // hears of each cell, and the first row, whose height every row takes, is
    // noted the whole way.
    if (rowChange && topLeft != bottomRight && state() != EditingState && !QAccessible::isActive()) {
        const QRect cell = visualRect(topLeft);
        const QRect view = viewport()->rect();
        if (cell.isValid() && (cell.bottom() < view.top() || cell.top() > view.bottom())
            && indexAbove(topLeft).isValid()) {
            QTreeWidget::dataChanged(topLeft, topLeft, roles);
            return;
        }
    }
    // Cell by cell: Qt repaints a single changed cell, but the whole list for a range.
    for (int column = topLeft.column(); column <= bottomRight.column(); ++column) {
        const QModelIndex cell = topLeft.sibling(topLeft.row(), column);
        QTreeWidget::dataChanged(cell, cell, roles);
    }
    if (rowChange && visualRect(topLeft).intersects(viewport()->rect()))
        placeWidgetsInView();
}

void FileListWidget::updateEditorGeometries()
{
    placeWidgetsInView();
}

void FileListWidget::scrollContentsBy(int dx, int dy)
{
    QTreeWidget::scrollContentsBy(dx, dy);
    placeWidgetsInView();
}

void FileListWidget::placeWidgetsInView()
{
    // Hidden, the list has no view to fill; shown, its header asks for a
    // placing. A window destroyed while shown hides its panes from its own
    // destructor, when it is half gone (its focus chain, its slots): the
    // header's hiding asks for a placing too, and a box made then would be
    // given to that window.
    if (m_placing || !isVisible())
        return;
    const QScopedValueRollback<bool> placing(m_placing, true);
    QSet<QWidget *> shown;
    // The widget with the keyboard focus (an open editor, a box just clicked)
    // stays shown wherever it is: hidden, it would hand the focus on to the
    // next box, and the view would scroll after that one.
    for (QWidget *focus = window()->focusWidget(); focus; focus = focus->parentWidget()) {
        if (focus->parentWidget() == viewport()) {
            shown.insert(focus);
            break;
        }
    }
    QStyleOptionViewItem option = viewOptions();
    const QRect view = viewport()->rect();
    QModelIndex row = indexAt(QPoint(0, 0));
    for (row = row.sibling(row.row(), 0); row.isValid(); row = indexBelow(row)) {
        if (visualRect(row).top() > view.bottom())
            break;
        if (!(row.flags() & Qt::ItemIsEnabled))
            continue;
        makeAcceptBox(row);
        for (int column = 0; column < columnCount(); ++column) {
            const QModelIndex cell = row.sibling(row.row(), column);
            QWidget *widget = indexWidget(cell);
            option.rect = visualRect(cell);
            if (!widget || !option.rect.isValid())
                continue;
            itemDelegate(cell)->updateEditorGeometry(widget, option, cell);
            widget->show();
            shown.insert(widget);
        }
    }
    releaseBoxesOutOf(shown);
    // The widgets of every other row, among them those Qt has just shown.
    for (QObject *child : viewport()->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget && !widget->isHidden() && !shown.contains(widget))
            widget->hide();
    }
}

void FileListWidget::makeAcceptBox(const QModelIndex &row)
{
    const QModelIndex cell = row.sibling(row.row(), FileViewColumn::Accepted);
    if (isColumnHidden(FileViewColumn::Accepted) || indexWidget(cell))
        return;
    auto *fileRow = dynamic_cast<fileViewTreeWidgetItem *>(itemFromIndex(row));
    if (!fileRow || !fileRow->holdsAcceptBox())
        return;
    QCheckBox *box = fileRow->addAcceptCheckBox(fileRow->acceptBoxChecked());
    m_madeBoxes.append({box, QPersistentModelIndex(cell)});
    emit acceptBoxMade(box);
}

void FileListWidget::releaseBoxesOutOf(const QSet<QWidget *> &shown)
{
    for (int i = 0; i < m_madeBoxes.size();) {
        const MadeBox made = m_madeBoxes.at(i);
        if (made.box && shown.contains(made.box)) {
            ++i;
            continue;
        }
        m_madeBoxes.remove(i);
        // A row taken out of the list took its box with it; a box taken away by its row is gone already.
        if (!made.box || !made.cell.isValid() || indexWidget(made.cell) != made.box)
            continue;
        if (auto *fileRow = dynamic_cast<fileViewTreeWidgetItem *>(itemFromIndex(made.cell)))
            fileRow->releaseAcceptCheckBox();
    }
}
