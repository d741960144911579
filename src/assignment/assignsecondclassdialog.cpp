#include "assignment/assignsecondclassdialog.h"

#include "ui_assignsecondclassdialog.h"

AssignSecondClassDialog::AssignSecondClassDialog(QWidget *parent, const QStringList &classes)
    : QDialog(parent)
    , ui(new Ui::AssignSecondClassDialog)
{
    ui->setupUi(this);
    ui->comboBox->addItems(classes);
}

AssignSecondClassDialog::~AssignSecondClassDialog()
{
    delete ui;
}

QString AssignSecondClassDialog::getClass() const
{
    return ui->comboBox->currentText();
}

void AssignSecondClassDialog::on_buttonBox_accepted()
{
    done(QDialog::Accepted);
}

void AssignSecondClassDialog::on_buttonBox_rejected()
{
    done(QDialog::Rejected);
}
