#include "filelist/reviewfolderdialog.h"

#include "ui_reviewfolderdialog.h"

#include <QStyle>

ReviewFolderDialog::ReviewFolderDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::ReviewFolderDialog)
{
    ui->setupUi(this);
    setWindowTitle(tr("Select Class Tree"));
    ui->label_icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(100, 100));
    ui->label_simpleTree->setStyleSheet(QStringLiteral("QLabel { color : rgb(130, 130,130) ; }"));
    ui->label_detailedTree->setStyleSheet(QStringLiteral("QLabel { color : rgb(130, 130, 130) ; }"));
    simpleTree = true;
}

ReviewFolderDialog::~ReviewFolderDialog()
{
    delete ui;
}

void ReviewFolderDialog::on_radioButton_simpleTree_toggled(bool checked)
{
    simpleTree = checked;
}
