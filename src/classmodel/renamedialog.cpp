#include "classmodel/renamedialog.h"

#include "classmodel/classnamerules.h"
#include "ui_renamedialog.h"

RenameDialog::RenameDialog(QWidget *parent, const QString &currentName)
    : QDialog(parent)
    , ui(new Ui::RenameDialog)
{
    ui->setupUi(this);
    ui->lineEdit->setText(currentName);
}

RenameDialog::~RenameDialog()
{
    delete ui;
}

QString RenameDialog::getName() const
{
    return ui->lineEdit->text();
}

void RenameDialog::done(int result)
{
    if (result == QDialog::Accepted && !ClassNames::confirmTyped(getName()))
        return;
    QDialog::done(result);
}
