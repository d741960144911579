#include "export/exporttavrondialog.h"

#include "export/timezonechoicelist.h"
#include "ui_exporttavrondialog.h"

#include <QPushButton>

ExportTavronDialog::ExportTavronDialog(QWidget *parent, const QString &classCountText)
    : ClassCheckDialog(parent)
    , ui(new Ui::ExportTavronDialog)
{
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("Export Tavron File"));
    ui->buttonBox->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Export"));
    timeZones = TimeZoneChoiceList::build(true);
    TimeZoneChoiceList::fill(ui->comboBox, timeZones, QTimeZone::systemTimeZone());
    TreeStyle style;
    style.unassignedCheckable = false;
    style.colourDetectedNoCall = false;
    fillCheckTree(ui->treeWidget, classCountText, style);
}

ExportTavronDialog::~ExportTavronDialog()
{
    delete ui;
}

QTimeZone ExportTavronDialog::getTimeZone(const QTimeZone &fallback) const
{
    return TimeZoneChoiceList::zoneAt(timeZones, ui->comboBox->currentIndex(), fallback);
}

bool ExportTavronDialog::isDaylightSaving() const
{
    return ui->checkBox->isChecked();
}

TavronExportOptions ExportTavronDialog::options(const QTimeZone &fallback) const
{
    TavronExportOptions o;
    o.classFilter = checkedClasses;
    o.timeZone = getTimeZone(fallback);
    o.daylightSaving = isDaylightSaving();
    return o;
}
