#pragma once

#include <QColor>
#include <QDialog>
#include <QList>
#include <QStringList>

class QTreeWidgetItem;
namespace Ui {
class ColorDialog;
}

/**
 * Lets the user set the colour of each class in the activity plots: one row per
 * class with its red, green and blue as editable numbers and a swatch. The
 * component texts are the colour; the swatch only shows them. Run with exec();
 * the caller reads getColors only when the result is Accepted. Reads and writes
 * no settings itself.
 */
class ColorDialog : public QDialog
{
    Q_OBJECT

public:
    // One colour per class name, in the same order; the empty name stands for
    // the recordings without a class.
    ColorDialog(QWidget *parent, const QStringList &classNames, const QList<QColor> &colors);
    ~ColorDialog() override;

    // Row order, each with alpha 127, the opacity the activity plots draw classes with.
    QList<QColor> getColors() const;

private slots:
    void on_treeWidget_itemDoubleClicked(QTreeWidgetItem *item, int column);
    void on_treeWidget_itemChanged(QTreeWidgetItem *item, int column);

private:
    Ui::ColorDialog *ui;
};
