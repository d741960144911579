#include "classmodel/changeshortcutdialog.h"

#include "classmodel/classmodeltext.h"
#include "ui_changeshortcutdialog.h"

ChangeShortcutDialog::ChangeShortcutDialog(QWidget *parent, const QStringList &usedShortcuts)
    : QDialog(parent)
    , ui(new Ui::ChangeShortcutDialog)
{
    ui->setupUi(this);
    ui->comboBox->addItems(ClassModelText::freeShortcuts(usedShortcuts));
}

ChangeShortcutDialog::~ChangeShortcutDialog()
{
    delete ui;
}

QString ChangeShortcutDialog::getShortcut() const
{
    return ui->comboBox->currentText();
}

void ChangeShortcutDialog::on_buttonBox_accepted()
{
    done(QDialog::Accepted);
}

void ChangeShortcutDialog::on_buttonBox_rejected()
{
    done(QDialog::Rejected);
}
