#include "common/columnwidths.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTreeView>

namespace {

// What a column's header text and cells take.
int contentWidth(const QTreeView *tree, int column)
{
    const QHeaderView *header = tree->header();
    const int forHeader = header->isHidden() ? 0 : header->sectionSizeHint(column);
    // Public through the base class; the tree's own override answers.
    const QAbstractItemView *view = tree;
    return qMax(forHeader, view->sizeHintForColumn(column));
}

} // namespace

int setColumnWidthsAtLeast(QTreeView *tree, const QVector<int> &widths)
{
    const QHeaderView *header = tree->header();
    int total = 0;
    for (int c = 0; c < header->count(); ++c) {
        if (header->isSectionHidden(c))
            continue;
        if (c < widths.size()) {
            const int width = qMax(widths.at(c), contentWidth(tree, c));
            tree->setColumnWidth(c, width);
            total += width;
        } else {
            total += header->sectionSize(c);
        }
    }
    return total;
}

void fitTreeWidthToColumns(QTreeView *tree)
{
    const QHeaderView *header = tree->header();
    int columns = 0;
    for (int c = 0; c < header->count(); ++c) {
        if (header->isSectionHidden(c))
            continue;
        // A stretched last column is as wide as the room left, not as it needs.
        const bool stretched = header->stretchLastSection() && header->visualIndex(c) == header->count() - 1;
        columns += stretched ? contentWidth(tree, c) : header->sectionSize(c);
    }
    const int scrollBar = tree->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, tree);
    tree->setMinimumWidth(qMax(tree->minimumWidth(), columns + 2 * tree->frameWidth() + scrollBar));
}

void widenColumnToCell(QTreeView *tree, const QModelIndex &cell)
{
    const int column = cell.column();
    const int width = tree->columnWidth(column);
    // The style's item draws its text between a margin on either side: a
    // text that fits inside them needs no measure of the whole cell, which
    // lays its text out and would cost a list of thousands of rows dearly.
    const QVariant font = cell.data(Qt::FontRole);
    const QFontMetrics metrics(font.isValid() ? font.value<QFont>() : tree->font());
    const int margins = 2 * (tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tree) + 1);
    if (metrics.horizontalAdvance(cell.data(Qt::DisplayRole).toString()) + margins < width)
        return;
    const int needed = tree->sizeHintForIndex(cell).width();
    if (needed > width)
        tree->setColumnWidth(column, needed);
}
