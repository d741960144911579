#include "export/changeyearsdialog.h"

#include "ui_changeyearsdialog.h"

#include <QStyle>

ChangeYearsDialog::ChangeYearsDialog(QWidget *parent, const QList<int> &years)
    : QDialog(parent)
    , ui(new Ui::ChangeYearsDialog)
{
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("Warning"));
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    ui->label->setPixmap(style()
                             ->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this)
                             .pixmap(iconSize, iconSize, QIcon::Normal, QIcon::Off));
    for (int year : years)
        ui->comboBox->addItem(QString::number(year));
}

ChangeYearsDialog::~ChangeYearsDialog()
{
    delete ui;
}

QString ChangeYearsDialog::getYear() const
{
    return ui->comboBox->currentText();
}

void ChangeYearsDialog::on_buttonBox_accepted()
{
    done(QDialog::Accepted);
}

void ChangeYearsDialog::on_buttonBox_rejected()
{
    done(QDialog::Rejected);
}
