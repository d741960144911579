#include "activity/customdelegate.h"

#include <QIntValidator>
#include <QLineEdit>

QWidget *CustomDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const
{
    auto *edit = new QLineEdit(parent);
    edit->setValidator(new QIntValidator(0, 255, edit));
    return edit;
}
