#include "export/exporttavrondialog2.h"

#include "export/timezonechoicelist.h"
#include "ui_exporttavrondialog2.h"

#include <QPushButton>

ExportTavronDialog2::ExportTavronDialog2(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::ExportTavronDialog2)
{
    ui->setupUi(this);
    ui->buttonBox->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Export"));
    timeZones = TimeZoneChoiceList::build(false);
    TimeZoneChoiceList::fill(ui->comboBox, timeZones, QTimeZone::systemTimeZone());
}

ExportTavronDialog2::~ExportTavronDialog2()
{
    delete ui;
}

QTimeZone ExportTavronDialog2::getTimeZone(const QTimeZone &fallback) const
{
    return TimeZoneChoiceList::zoneAt(timeZones, ui->comboBox->currentIndex(), fallback);
}

bool ExportTavronDialog2::isDaylightSaving() const
{
    return ui->checkBox->isChecked();
}

TavronExportOptions ExportTavronDialog2::options(const QStringList &classFilter, const QTimeZone &fallback) const
{
    TavronExportOptions o;
    o.classFilter = classFilter;
    o.timeZone = getTimeZone(fallback);
    o.daylightSaving = isDaylightSaving();
    return o;
}
