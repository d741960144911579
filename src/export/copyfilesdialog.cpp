#include "export/copyfilesdialog.h"

#include "ui_copyfilesdialog.h"

#include <QPushButton>

CopyFilesDialog::CopyFilesDialog(QWidget *parent, const QString &classCountText, const QString &labelText,
                                 const QString &buttonText)
    : ClassCheckDialog(parent)
    , ui(new Ui::CopyFilesDialog)
{
    ui->setupUi(this);
    if (!labelText.isEmpty())
        ui->label->setText(labelText);
    ui->buttonBox->button(QDialogButtonBox::Ok)->setText(buttonText.isEmpty() ? QStringLiteral("Export") : buttonText);
    fillCheckTree(ui->treeWidget, classCountText, TreeStyle());
}

CopyFilesDialog::~CopyFilesDialog()
{
    delete ui;
}
