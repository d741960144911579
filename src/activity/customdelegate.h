#pragma once

#include <QItemDelegate>

// Edits a colour component: a line edit that takes only 0 to 255.
class CustomDelegate : public QItemDelegate
{
public:
    using QItemDelegate::QItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
