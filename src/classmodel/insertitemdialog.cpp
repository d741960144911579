#include "classmodel/insertitemdialog.h"

#include "classmodel/classmodeltext.h"
#include "classmodel/classnamerules.h"
#include "ui_insertitemdialog.h"

InsertItemDialog::InsertItemDialog(QWidget *parent, const QStringList &usedShortcuts)
    : QDialog(parent)
    , ui(new Ui::InsertItemDialog)
{
    ui->setupUi(this);
    ui->comboBox->addItems(ClassModelText::freeShortcuts(usedShortcuts));
    ui->lineEdit->setFocus();
}

InsertItemDialog::~InsertItemDialog()
{
    delete ui;
}

void InsertItemDialog::setLabelText(const QString &text)
{
    ui->label->setText(text);
}

QString InsertItemDialog::getName() const
{
    return ui->lineEdit->text();
}

QString InsertItemDialog::getShortcut() const
{
    return ui->comboBox->currentText();
}

void InsertItemDialog::done(int result)
{
    if (result == QDialog::Accepted && !ClassNames::confirmTyped(getName()))
        return;
    QDialog::done(result);
}
