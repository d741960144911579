#include "filelist/classtreewidget.h"

#include "common/treecolumns.h"

#include <utility>

namespace {

// A new text of one count cell: its row keeps its height, as a number never wraps.
bool isCountText(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QVector<int> &roles)
{
    if (topLeft != bottomRight || topLeft.column() != ClassTreeColumn::Count || roles.isEmpty())
        return false;
    for (const int role : roles) {
        if (role != Qt::DisplayRole && role != Qt::EditRole)
            return false;
    }
    return true;
}

} // namespace

ClassTreeWidget::ClassTreeWidget(QWidget *parent)
    : QTreeWidget(parent)
{
    m_countRepaint.setSingleShot(true);
    m_countRepaint.setInterval(countRepaintMs);
    connect(&m_countRepaint, &QTimer::timeout, this, &ClassTreeWidget::showWaitingCounts);
}

void ClassTreeWidget::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QVector<int> &roles)
{
    if (!isCountText(topLeft, bottomRight, roles)) {
        QTreeWidget::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    if (m_countRepaint.isActive()) {
        if (!m_waitingCounts.contains(topLeft))
            m_waitingCounts.append(topLeft);
        return;
    }
    QTreeWidget::dataChanged(topLeft, bottomRight, roles);
    m_countRepaint.start();
}

void ClassTreeWidget::showWaitingCounts()
{
    if (m_waitingCounts.isEmpty())
        return;
    const QVector<QPersistentModelIndex> waiting = std::exchange(m_waitingCounts, {});
    for (const QPersistentModelIndex &cell : waiting) {
        // A row taken out of the tree meanwhile has nothing left to show.
        if (cell.isValid())
            QTreeWidget::dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole});
    }
    m_countRepaint.start();
}
