#include "activity/colordialog.h"

#include "activity/customdelegate.h"
#include "common/columnwidths.h"
#include "ui_colordialog.h"

#include <QFont>

namespace {

enum Column { NameColumn = 0, RedColumn = 1, GreenColumn = 2, BlueColumn = 3, SwatchColumn = 4 };
constexpr int classAlpha = 127;

bool isComponentColumn(int column)
{
    return column >= RedColumn && column <= BlueColumn;
}

// An empty or non-numeric component reads as 0.
QColor rowColor(const QTreeWidgetItem *item)
{
    return QColor(item->text(RedColumn).toInt(), item->text(GreenColumn).toInt(), item->text(BlueColumn).toInt(),
                  classAlpha);
}

} // namespace

ColorDialog::ColorDialog(QWidget *parent, const QStringList &classNames, const QList<QColor> &colors)
    : QDialog(parent)
    , ui(new Ui::ColorDialog)
{
    ui->setupUi(this);
    setWindowTitle(tr("Set Colors for Classes"));
    ui->treeWidget->setItemDelegate(new CustomDelegate(ui->treeWidget));

    QFont bold;
    bold.setWeight(QFont::Bold);
    for (int i = 0; i < classNames.size(); ++i) {
        const QColor color = colors.value(i);
        auto *item = new QTreeWidgetItem;
        item->setText(NameColumn, classNames.at(i).isEmpty() ? tr("Unassigned") : classNames.at(i));
        item->setFont(NameColumn, bold);
        item->setText(RedColumn, QString::number(color.red()));
        item->setText(GreenColumn, QString::number(color.green()));
        item->setText(BlueColumn, QString::number(color.blue()));
        item->setText(SwatchColumn, QStringLiteral("         "));
        item->setBackground(SwatchColumn, color);
        item->setFlags(Qt::ItemIsEditable | Qt::ItemIsEnabled);
        for (int c = RedColumn; c <= BlueColumn; ++c)
            item->setTextAlignment(c, Qt::AlignHCenter);
        // Filled before it joins the tree, so the change slot sees finished rows only.
        ui->treeWidget->addTopLevelItem(item);
    }
    // The names as wide as they are, the values at least 30 px and whole.
    setColumnWidthsAtLeast(ui->treeWidget, {0, 30, 30, 30, 30});
    fitTreeWidthToColumns(ui->treeWidget);
}

ColorDialog::~ColorDialog()
{
    delete ui;
}

QList<QColor> ColorDialog::getColors() const
{
    QList<QColor> result;
    for (int i = 0; i < ui->treeWidget->topLevelItemCount(); ++i)
        result << rowColor(ui->treeWidget->topLevelItem(i));
    return result;
}

void ColorDialog::on_treeWidget_itemDoubleClicked(QTreeWidgetItem *item, int column)
{
    // The tree's own edit triggers are off: this is the only way into an editor.
    if (isComponentColumn(column))
        ui->treeWidget->editItem(item, column);
}

void ColorDialog::on_treeWidget_itemChanged(QTreeWidgetItem *item, int column)
{
    // The swatch's own change (its background) comes here too and is left alone.
    if (isComponentColumn(column))
        item->setBackground(SwatchColumn, rowColor(item));
}
