#include "filelist/filelistwidget.h"

#include <QSet>

FileListWidget::FileListWidget(QWidget *parent) : QTreeWidget(parent)
{
    setUniformRowHeights(true);
}

void FileListWidget::doItemsLayout()
{
    m_layoutPending = false;
    QTreeWidget::doItemsLayout();
}

void FileListWidget::rowsInserted(const QModelIndex &parent, int start, int end)
{
    QTreeWidget::rowsInserted(parent, start, end);
    m_layoutPending = true;
}

void FileListWidget::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                                 const QVector<int> &roles)
{
    const bool oneRow = topLeft.isValid() && topLeft.row() == bottomRight.row()
                        && topLeft.parent() == bottomRight.parent();
    if (!oneRow) {
        QTreeWidget::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    // Cell by cell: Qt repaints a single changed cell, but the whole list for a range.
    for (int column = topLeft.column(); column <= bottomRight.column(); ++column) {
        const QModelIndex cell = topLeft.sibling(topLeft.row(), column);
        QTreeWidget::dataChanged(cell, cell, roles);
    }
    // A change without roles is one of the row's flags: its widgets may come or go.
    if (roles.isEmpty() && !m_layoutPending && visualRect(topLeft).intersects(viewport()->rect()))
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
    // The widgets of every other row, among them those Qt has just shown.
    for (QObject *child : viewport()->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (widget && !widget->isHidden() && !shown.contains(widget))
            widget->hide();
    }
}
