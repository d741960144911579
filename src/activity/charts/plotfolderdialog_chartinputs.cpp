// What every chart of the activity dialog takes before it computes: the form
// and the rows as values, and the year it shows.
#include "activity/plotfolderdialog.h"

#include "activity/charts/activityform.h"
#include "activity/charts/activityplotitems.h"
#include "activity/charts/activityrows.h"
#include "activity/charts/plotdatacsv.h"
#include "activity/foldersettings.h"
#include "filelist/filerowtexts.h"

#include <utility>

ActivityForm plotFolderDialog::activityForm() const
{
    ActivityForm f;
    f.latitude = ui->doubleSpinBox->value();
    f.longitude = ui->doubleSpinBox_2->value();
    f.zone = chosenTimeZone();
    f.daylightSaving = ui->checkBox->isChecked();
    f.absolutePeriod = ui->comboBox_3->currentText() == QLatin1String("absolute");
    f.startTime = ui->timeEdit->time();
    f.stopTime = ui->timeEdit_2->time();
    f.startMin = ui->spinBox->value();
    f.stopMin = ui->spinBox_2->value();
    f.monitoringBegin = ui->dateEdit->date();
    f.monitoringEnd = ui->dateEdit_2->date();
    // The periods dialog stores them before it asks for a drawing: the file is their truth.
    f.invalidTimes = readFolderSetting(wavDirectory, FolderSettings::invalidTimes);
    f.twilightChoice = ui->comboBox_2->currentIndex();
    f.centerNight = ui->checkBox_2->isChecked();
    f.daysChoice = ui->comboBox_4->currentIndex();
    return f;
}

ActivityRows plotFolderDialog::activityRows() const
{
    return activityRowsOf(fileRowTextsOf(fileList));
}

namespace {

std::pair<QPushButton *, QPushButton *> yearButtons(Ui_plotFolderDialog *ui, ActivityTab tab)
{
    switch (tab) {
    case ActivityTab::Time:
        return {ui->pushButton_3, ui->pushButton_4};
    case ActivityTab::Days:
        return {ui->pushButton_20, ui->pushButton_21};
    case ActivityTab::Months:
        return {ui->pushButton_5, ui->pushButton_6};
    case ActivityTab::Night:
        return {ui->pushButton_7, ui->pushButton_8};
    case ActivityTab::Temperature:
        return {ui->pushButton_9, ui->pushButton_10};
    case ActivityTab::Precipitation:
        return {ui->pushButton_12, ui->pushButton_13};
    case ActivityTab::WindSpeed:
        break;
    }
    return {ui->pushButton_15, ui->pushButton_16};
}

} // namespace

int plotFolderDialog::takeShownYear(ActivityTab tab, const QVector<int> &years)
{
    const auto [previous, next] = yearButtons(ui, tab);
    if (years.isEmpty()) {
        previous->hide();
        next->hide();
        ui->pushButton_19->setEnabled(false);
        return 0;
    }
    // The buttons step the shared index without a bound; another tab may have stepped it too.
    yearIndex = qBound(0, yearIndex, years.size() - 1);
    if (years.size() == 1) {
        previous->hide();
        next->hide();
    }
    previous->setEnabled(yearIndex > 0);
    next->setEnabled(yearIndex < years.size() - 1);
    return years.at(yearIndex);
}

QwtPlotCurve *plotFolderDialog::validHoursOf(ActivityTab tab) const
{
    return chartTab(tab).validHours;
}

namespace {

const Setting<QString> &exportKeyOf(ActivityTab tab)
{
    switch (tab) {
    case ActivityTab::Months:
        return SettingKeys::exportPlotDataMonth;
    case ActivityTab::Night:
        return SettingKeys::exportPlotDataNightTime;
    case ActivityTab::Temperature:
        return SettingKeys::exportPlotDataTemperature;
    case ActivityTab::Precipitation:
        return SettingKeys::exportPlotDataPrecipitation;
    case ActivityTab::WindSpeed:
        return SettingKeys::exportPlotDataWindSpeed;
    case ActivityTab::Days:
    case ActivityTab::Time:
        break;
    }
    return SettingKeys::exportPlotDataDays;
}

} // namespace

plotFolderDialog::ActivityChartStart plotFolderDialog::beginActivityChart(ActivityTab tab, bool init, bool exportData)
{
    ActivityChartStart start;
    ui->pushButton_2->setEnabled(true);
    ui->pushButton_19->setEnabled(true);
    if (exportData) {
        start.exportPath = choosePlotDataFile(this, exportKeyOf(tab));
        if (start.exportPath.isEmpty())
            return start;
    }
    start.rows = activityRows();
    start.year = takeShownYear(tab, start.rows.years);
    if (start.year == 0) {
        drawNoActivity(plotOf(tab), validHoursOf(tab), init);
        clearFirstPlotFlag(tab);
        return start;
    }
    start.draw = true;
    return start;
}

void plotFolderDialog::clearFirstPlotFlag(ActivityTab tab)
{
    chartTab(tab).firstPlot = false;
}
