#include "export/exportcsvdialog.h"

#include "export/timezonechoicelist.h"
#include "ui_exportcsvdialog.h"

#include <QPushButton>

exportcsvDialog::exportcsvDialog(QWidget *parent, const QString &classCountText, const QString &labelText,
                                 const QString &buttonText)
    : ClassCheckDialog(parent)
    , ui(new Ui::exportcsvDialog)
{
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("Export CSV File"));
    timeZones = TimeZoneChoiceList::build(true);
    TimeZoneChoiceList::fill(ui->comboBox, timeZones, QTimeZone::systemTimeZone());
    if (!labelText.isEmpty())
        ui->label->setText(labelText);
    ui->buttonBox->button(QDialogButtonBox::Ok)->setText(buttonText.isEmpty() ? QStringLiteral("Export") : buttonText);
    fillCheckTree(ui->treeWidget, classCountText, TreeStyle());
    intervalMode = CsvExportOptions::dynamicMode();
    ui->checkBox->setChecked(false);
    ui->checkBox_2->setChecked(false);
    ui->checkBox_3->setChecked(false);
}

exportcsvDialog::~exportcsvDialog()
{
    delete ui;
}

QTimeZone exportcsvDialog::getTimeZone(const QTimeZone &fallback) const
{
    return TimeZoneChoiceList::zoneAt(timeZones, ui->comboBox->currentIndex(), fallback);
}

bool exportcsvDialog::isDaylightSaving() const
{
    return ui->checkBox_4->isChecked();
}

CsvExportOptions exportcsvDialog::options(const QTimeZone &fallback) const
{
    CsvExportOptions o;
    o.checkedClasses = checkedClasses;
    o.intervals = intervals;
    o.intervalMode = intervalMode;
    o.timeZone = getTimeZone(fallback);
    o.daylightSaving = isDaylightSaving();
    return o;
}

void exportcsvDialog::on_radioButton_clicked()
{
    intervalMode = CsvExportOptions::dynamicMode();
}

void exportcsvDialog::on_radioButton_2_clicked()
{
    intervalMode = CsvExportOptions::staticMode();
}

// The three boxes keep the list ascending whatever the order of the clicks.
void exportcsvDialog::on_checkBox_clicked(bool checked)
{
    if (checked && !intervals.contains(1))
        intervals.prepend(1);
    else if (!checked)
        intervals.removeOne(1);
}

void exportcsvDialog::on_checkBox_2_clicked(bool checked)
{
    if (checked && !intervals.contains(5))
        intervals.insert(intervals.contains(1) ? 1 : 0, 5);
    else if (!checked)
        intervals.removeOne(5);
}

void exportcsvDialog::on_checkBox_3_clicked(bool checked)
{
    if (checked && !intervals.contains(10))
        intervals.append(10);
    else if (!checked)
        intervals.removeOne(10);
}
