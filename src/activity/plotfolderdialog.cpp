#include "activity/plotfolderdialog.h"

#include "activity/classcolors.h"
#include "activity/colordialog.h"
#include "activity/foldersettings.h"
#include "activity/invalidtimesdialog.h"
#include "activity/invalidtimestext.h"
#include "activity/loadwinddialog.h"
#include "common/settingskeys.h"
#include "common/userdialogs.h"
#include "export/timezonechoicelist.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QSignalBlocker>
#include <qwt_plot.h>

plotFolderDialog::ChartCallObserver plotFolderDialog::chartCallObserver;

plotFolderDialog::plotFolderDialog(QWidget *parent, const QString &wavDirectory_, QTreeWidget *fileList_)
    : QDialog(parent)
    , ui(new Ui_plotFolderDialog)
    , wavDirectory(wavDirectory_)
    , fileList(fileList_)
{
    ui->setupUi(this);
    // Fits a 1366 x 768 screen: the zone box may be narrower than its longest
    // name, down to its label's width, and the seventh tab is reached by the
    // tab bar's arrows, every tab whole, whatever the style's own choice.
    ui->comboBox->setMinimumWidth(ui->label_3->sizeHint().width());
    ui->tabWidget->setUsesScrollButtons(true);
    ui->tabWidget->setElideMode(Qt::ElideNone);
    const QStringList unread = FolderSettings::unreadValues(wavDirectory, boxItems());
    // The zone the folder names is offered even where the list leaves it out; the machine's, the default, is not.
    timeZones = TimeZoneChoiceList::build(true, readFolderSetting(wavDirectory, FolderSettings::timeZone));
    // The absolute period type, the form's own, shows the time edits.
    ui->spinBox->hide();
    ui->spinBox_2->hide();

    // Loading runs the controls' slots, which neither draw nor store before
    // `ready`: a value set here is no change of the user's. The file keeps
    // every line until the user changes a setting.
    readAtOpen = readFolderTimeSettings(wavDirectory);
    TimeZoneChoiceList::fill(ui->comboBox, timeZones, QTimeZone(readAtOpen.timeZone));
    loadControls(readAtOpen);
    shownAtOpen = settingsFromControls();
    ui->pushButton->setToolTip(invalidTimesToolTip(readAtOpen.invalidTimes, tr("Invalid Periods:")));

    initPlotVsTime();
    callChart(ActivityTab::Time, firstPlotVsTime, false);
    initPlotVsDays();
    initPlotVsNight();
    initPlotVsMonth();
    initPlotVsTemp();
    initPlotVsPrec();
    initPlotVsWind();
    ready = true;
    // Said once, here: the charts read the file again at every drawing.
    if (!unread.isEmpty())
        tellUnreadableSettings(unread);
}

void plotFolderDialog::tellUnreadableSettings(const QStringList &unread)
{
    MessageBoxRequest box;
    box.parent = this;
    box.icon = QMessageBox::Warning;
    box.title = QCoreApplication::applicationName();
    box.textFormat = Qt::PlainText; // the values as written, whatever they hold
    box.text = tr("Some lines of the file below may not say what was meant. A setting that is not read is shown at "
                  "its default. The file stays as it is written, but for the settings you change here:")
               + QStringLiteral("\n\n") + unread.join(QLatin1Char('\n'));
    box.informativeText = QDir::toNativeSeparators(FolderSettings::filePath(wavDirectory));
    userDialogs().message(box);
}

QVector<FolderSettings::BoxItems> plotFolderDialog::boxItems() const
{
    const auto itemsOf = [](const QComboBox *box) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        return items;
    };
    using namespace FolderSettings;
    return {{keyOf(twilight), itemsOf(ui->comboBox_2)},
            {keyOf(periodType), itemsOf(ui->comboBox_3)},
            {keyOf(intervalDays), itemsOf(ui->comboBox_4)}};
}

plotFolderDialog::~plotFolderDialog()
{
    // Time items the chart never attached have no plot to delete them.
    for (QwtPlotItem *item : timePlotItems()) {
        if (!item->plot())
            delete item;
    }
    delete ui;
}

namespace {

// A stored index that names no item (only a hand-edited file holds one) leaves
// its box as it was: a box without a current item would have its slot, the
// charts and Close read and store -1.
void selectStoredIndex(QComboBox *box, int index)
{
    if (index >= 0 && index < box->count())
        box->setCurrentIndex(index);
}

} // namespace

void plotFolderDialog::loadControls(const FolderTimeSettings &stored)
{
    ui->doubleSpinBox->setValue(stored.latitude);
    ui->doubleSpinBox_2->setValue(stored.longitude);
    // Check boxes react to clicks only: setting them writes nothing.
    ui->checkBox->setChecked(stored.daylightSaving);
    ui->checkBox_2->setChecked(stored.centerNight);
    selectStoredIndex(ui->comboBox_2, stored.twilight);
    selectStoredIndex(ui->comboBox_4, stored.intervalDays);
    // A date or time that is not read comes as its default; one never read leaves its control as it was.
    if (stored.beginDate.isValid())
        ui->dateEdit->setDate(stored.beginDate);
    if (stored.endDate.isValid())
        ui->dateEdit_2->setDate(stored.endDate);
    if (stored.startRecording.isValid())
        ui->timeEdit->setTime(stored.startRecording);
    if (stored.stopRecording.isValid())
        ui->timeEdit_2->setTime(stored.stopRecording);
    ui->spinBox->setValue(stored.startMin);
    ui->spinBox_2->setValue(stored.stopMin);
    selectStoredIndex(ui->comboBox_3, stored.periodType);
}

FolderTimeSettings plotFolderDialog::settingsFromControls() const
{
    FolderTimeSettings s;
    s.latitude = ui->doubleSpinBox->value();
    s.longitude = ui->doubleSpinBox_2->value();
    s.daylightSaving = ui->checkBox->isChecked();
    s.centerNight = ui->checkBox_2->isChecked();
    s.twilight = ui->comboBox_2->currentIndex();
    s.periodType = ui->comboBox_3->currentIndex();
    s.intervalDays = ui->comboBox_4->currentIndex();
    s.timeZone = chosenTimeZoneId();
    s.beginDate = ui->dateEdit->date();
    s.endDate = ui->dateEdit_2->date();
    s.startRecording = ui->timeEdit->time();
    s.stopRecording = ui->timeEdit_2->time();
    s.startMin = ui->spinBox->value();
    s.stopMin = ui->spinBox_2->value();
    return s;
}

// ---- Time zone

QByteArray plotFolderDialog::storedTimeZoneId() const
{
    return readFolderSetting(wavDirectory, FolderSettings::timeZone, TimeZoneChoiceList::systemZoneId());
}

QByteArray plotFolderDialog::chosenTimeZoneId() const
{
    return TimeZoneChoiceList::idAt(timeZones, ui->comboBox->currentIndex(), readAtOpen.timeZone);
}

QTimeZone plotFolderDialog::chosenTimeZone() const
{
    const QTimeZone stored(storedTimeZoneId());
    return TimeZoneChoiceList::zoneAt(timeZones, ui->comboBox->currentIndex(),
                                      stored.isValid() ? stored : TimeZoneChoiceList::systemZone());
}

// ---- Charts

void plotFolderDialog::setChartCallObserver(ChartCallObserver observer)
{
    chartCallObserver = std::move(observer);
}

ActivityTab plotFolderDialog::currentTab() const
{
    return ActivityTab(ui->tabWidget->currentIndex());
}

bool plotFolderDialog::firstPlotFlag(ActivityTab tab) const
{
    return chartTab(tab).firstPlot;
}

QwtPlot *plotFolderDialog::plotOf(ActivityTab tab) const
{
    return chartTab(tab).plot;
}

void plotFolderDialog::callChart(ActivityTab tab, bool init, bool exportData)
{
    if (chartCallObserver)
        chartCallObserver(tab, init, exportData);
    switch (tab) {
    case ActivityTab::Time:
        plotFunctionVsTime(init, exportData);
        break;
    case ActivityTab::Days:
        plotFunctionVsDays(init, exportData);
        break;
    case ActivityTab::Months:
        plotFunctionVsMonth(init, exportData);
        break;
    case ActivityTab::Night:
        plotFunctionVsNight(init, exportData);
        break;
    case ActivityTab::Temperature:
        plotFunctionVsTemp(init, exportData);
        break;
    case ActivityTab::Precipitation:
        plotFunctionVsPrec(init, exportData);
        break;
    case ActivityTab::WindSpeed:
        plotFunctionVsWind(init, exportData);
        break;
    }
}

void plotFolderDialog::drawChart(ActivityTab tab)
{
    callChart(tab, firstPlotFlag(tab), false);
}

void plotFolderDialog::drawCurrentChart()
{
    if (ready)
        drawChart(currentTab());
}

QColor plotFolderDialog::makeColor(int i) const
{
    return classColor(readSetting(SettingKeys::classColors), i);
}

// ---- Settings controls: draw, then store

template <typename T>
void plotFolderDialog::storeUserChange(const FolderSetting<T> &setting, const QVariant &value)
{
    if (ready)
        writeFolderSetting(wavDirectory, setting, value);
}

// A coordinate box turned back to what it showed at open stores what the file
// held then, with all its digits: the user changed nothing.
void plotFolderDialog::on_doubleSpinBox_valueChanged(double arg1)
{
    drawCurrentChart();
    storeUserChange(FolderSettings::latitude, arg1 == shownAtOpen.latitude ? readAtOpen.latitude : arg1);
}

void plotFolderDialog::on_doubleSpinBox_2_valueChanged(double arg1)
{
    drawCurrentChart();
    storeUserChange(FolderSettings::longitude, arg1 == shownAtOpen.longitude ? readAtOpen.longitude : arg1);
}

void plotFolderDialog::on_checkBox_clicked()
{
    drawCurrentChart();
    storeUserChange(FolderSettings::daylightSaving, ui->checkBox->isChecked());
}

void plotFolderDialog::on_checkBox_2_clicked()
{
    drawCurrentChart();
    storeUserChange(FolderSettings::centerNight, ui->checkBox_2->isChecked());
}

void plotFolderDialog::on_comboBox_currentIndexChanged(int index)
{
    drawCurrentChart();
    // With no item selected the stored id stays as it is.
    storeUserChange(FolderSettings::timeZone, TimeZoneChoiceList::idAt(timeZones, index, storedTimeZoneId()));
}

void plotFolderDialog::on_comboBox_2_currentIndexChanged(const QString &)
{
    drawCurrentChart();
    storeUserChange(FolderSettings::twilight, ui->comboBox_2->currentIndex());
}

void plotFolderDialog::on_comboBox_3_currentIndexChanged(const QString &arg1)
{
    drawCurrentChart();
    const bool absolute = arg1 == QLatin1String("absolute");
    ui->spinBox->setVisible(!absolute);
    ui->spinBox_2->setVisible(!absolute);
    ui->timeEdit->setVisible(absolute);
    ui->timeEdit_2->setVisible(absolute);
    ui->label_9->setText(absolute ? tr("Daily Start Time:") : tr("Delay to Sunset for Start:"));
    ui->label_10->setText(absolute ? tr("Daily Stop Time:") : tr("Delay to Sunrise for Stop:"));
    storeUserChange(FolderSettings::periodType, ui->comboBox_3->currentIndex());
}

void plotFolderDialog::on_comboBox_4_currentIndexChanged(int index)
{
    drawCurrentChart();
    storeUserChange(FolderSettings::intervalDays, index);
}

void plotFolderDialog::on_dateEdit_userDateChanged(const QDate &date)
{
    drawCurrentChart();
    storeUserChange(FolderSettings::beginDate, FolderSettings::dateText(date));
}

void plotFolderDialog::on_dateEdit_2_userDateChanged(const QDate &date)
{
    drawCurrentChart();
    storeUserChange(FolderSettings::endDate, FolderSettings::dateText(date));
}

void plotFolderDialog::on_timeEdit_timeChanged(const QTime &time)
{
    drawCurrentChart();
    storeUserChange(FolderSettings::startRecording, FolderSettings::timeText(time));
}

void plotFolderDialog::on_timeEdit_2_timeChanged(const QTime &time)
{
    drawCurrentChart();
    storeUserChange(FolderSettings::stopRecording, FolderSettings::timeText(time));
}

void plotFolderDialog::on_spinBox_valueChanged(int arg1)
{
    drawCurrentChart();
    storeUserChange(FolderSettings::startMin, arg1);
}

void plotFolderDialog::on_spinBox_2_valueChanged(int arg1)
{
    drawCurrentChart();
    storeUserChange(FolderSettings::stopMin, arg1);
}

// ---- Scale buttons: the log key is stored first, then the tab's own chart drawn

void plotFolderDialog::writeLogKey(ActivityTab tab, bool linearChecked)
{
    using namespace FolderSettings;
    const FolderSetting<bool> *key = nullptr;
    switch (tab) {
    case ActivityTab::Days:
        key = &logDays;
        break;
    case ActivityTab::Months:
        key = &logMonth;
        break;
    case ActivityTab::Night:
        key = &logNight;
        break;
    case ActivityTab::Temperature:
        key = &logTemp;
        break;
    case ActivityTab::Precipitation:
        key = &logPrec;
        break;
    case ActivityTab::WindSpeed:
        key = &logWind;
        break;
    case ActivityTab::Time:
        return;
    }
    writeFolderSetting(wavDirectory, *key, !linearChecked);
    if (ready)
        drawChart(tab);
}

void plotFolderDialog::on_radioButton_11_toggled(bool checked)
{
    writeLogKey(ActivityTab::Days, checked);
}

void plotFolderDialog::on_radioButton_3_toggled(bool checked)
{
    writeLogKey(ActivityTab::Months, checked);
}

void plotFolderDialog::on_radioButton_2_toggled(bool checked)
{
    writeLogKey(ActivityTab::Night, checked);
}

void plotFolderDialog::on_radioButton_5_toggled(bool checked)
{
    writeLogKey(ActivityTab::Temperature, checked);
}

void plotFolderDialog::on_radioButton_7_toggled(bool checked)
{
    writeLogKey(ActivityTab::Precipitation, checked);
}

void plotFolderDialog::on_radioButton_9_toggled(bool checked)
{
    writeLogKey(ActivityTab::WindSpeed, checked);
}

// The "logarithmic" buttons: their "linear" twins toggle with them and do the work.
void plotFolderDialog::on_radioButton_toggled(bool) {}
void plotFolderDialog::on_radioButton_4_toggled(bool) {}
void plotFolderDialog::on_radioButton_6_toggled(bool) {}
void plotFolderDialog::on_radioButton_8_toggled(bool) {}
void plotFolderDialog::on_radioButton_10_toggled(bool) {}
void plotFolderDialog::on_radioButton_12_toggled(bool) {}

// ---- Invalid periods, class colours, data files

void plotFolderDialog::on_pushButton_clicked()
{
    invalidTimesDialog dialog(this, readFolderSetting(wavDirectory, FolderSettings::invalidTimes));
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The charts read the periods from the file: they are stored before the drawing.
    writeFolderSetting(wavDirectory, FolderSettings::invalidTimes, dialog.invalidTimes);
    ui->pushButton->setToolTip(invalidTimesToolTip(dialog.invalidTimes, tr("Invalid Times:")));
    drawCurrentChart();
}

void plotFolderDialog::on_pushButton_18_clicked()
{
    // The charts' classes, so that colour i goes to the class that the charts colour with it.
    QStringList classes = activityRows().classList;
    if (classes.size() > 1)
        classes.append(QStringLiteral("All Classes"));
    QList<QColor> colors;
    for (int i = 0; i < classes.size(); ++i)
        colors.append(makeColor(i));
    ColorDialog dialog(this, classes, colors);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QVariantList stored;
    for (const QColor &color : dialog.getColors())
        stored.append(color);
    writeSetting(SettingKeys::classColors, stored);
    drawCurrentChart();
}

void plotFolderDialog::chooseWeatherFile(ActivityTab tab)
{
    const QString start =
        readFolderSetting(wavDirectory, FolderSettings::temperaturePrecipitationFile.readAs(wavDirectory));
    const QString chosen = userDialogs().openFileName(this, tr("Define Temperature and Precipitation File"), start,
                                                      tr("Condition Log Files (*.txt *.csv)"));
    if (chosen.isEmpty())
        return;
    writeFolderSetting(wavDirectory, FolderSettings::temperaturePrecipitationFile, chosen);
    // One log serves both weather tabs: both are built anew, and the other draws when it is shown.
    initPlotVsTemp();
    initPlotVsPrec();
    if (ready)
        drawChart(tab);
}

void plotFolderDialog::on_pushButton_11_clicked()
{
    chooseWeatherFile(ActivityTab::Temperature);
}

void plotFolderDialog::on_pushButton_14_clicked()
{
    chooseWeatherFile(ActivityTab::Precipitation);
}

void plotFolderDialog::on_pushButton_17_clicked()
{
    const QString start = readFolderSetting(wavDirectory, FolderSettings::windSpeedFile.readAs(wavDirectory));
    const QString chosen = userDialogs().openFileName(this, tr("Define Wind Speed File"), start,
                                                      tr("Wind Speed Data Files (*.txt *.csv)"));
    if (chosen.isEmpty())
        return;
    LoadWindDialog format(this, wavDirectory, chosen);
    // The dialog stores the file's format on Ok; the path follows only then.
    if (format.exec() != QDialog::Accepted)
        return;
    writeFolderSetting(wavDirectory, FolderSettings::windSpeedFile, chosen);
    if (ready)
        drawChart(ActivityTab::WindSpeed);
}

// ---- Years and tabs

void plotFolderDialog::stepYear(ActivityTab tab, int step)
{
    // No bound here: the chart clamps the index to its years and greys the buttons at the ends.
    yearIndex += step;
    drawChart(tab);
}

void plotFolderDialog::on_pushButton_3_clicked()
{
    stepYear(ActivityTab::Time, -1);
}
void plotFolderDialog::on_pushButton_4_clicked()
{
    stepYear(ActivityTab::Time, 1);
}
void plotFolderDialog::on_pushButton_20_clicked()
{
    stepYear(ActivityTab::Days, -1);
}
void plotFolderDialog::on_pushButton_21_clicked()
{
    stepYear(ActivityTab::Days, 1);
}
void plotFolderDialog::on_pushButton_5_clicked()
{
    stepYear(ActivityTab::Months, -1);
}
void plotFolderDialog::on_pushButton_6_clicked()
{
    stepYear(ActivityTab::Months, 1);
}
void plotFolderDialog::on_pushButton_7_clicked()
{
    stepYear(ActivityTab::Night, -1);
}
void plotFolderDialog::on_pushButton_8_clicked()
{
    stepYear(ActivityTab::Night, 1);
}
void plotFolderDialog::on_pushButton_9_clicked()
{
    stepYear(ActivityTab::Temperature, -1);
}
void plotFolderDialog::on_pushButton_10_clicked()
{
    stepYear(ActivityTab::Temperature, 1);
}
void plotFolderDialog::on_pushButton_12_clicked()
{
    stepYear(ActivityTab::Precipitation, -1);
}
void plotFolderDialog::on_pushButton_13_clicked()
{
    stepYear(ActivityTab::Precipitation, 1);
}
void plotFolderDialog::on_pushButton_15_clicked()
{
    stepYear(ActivityTab::WindSpeed, -1);
}
void plotFolderDialog::on_pushButton_16_clicked()
{
    stepYear(ActivityTab::WindSpeed, 1);
}

void plotFolderDialog::on_tabWidget_currentChanged(int index)
{
    if (ready)
        drawChart(ActivityTab(index));
}

// ---- Date edits and zoom: each follows the other without starting it again

namespace {

QDateTime localMidnight(const QDate &date)
{
    return QDateTime(date, QTime(0, 0));
}

QDate firstOfMonth(const QDate &date)
{
    return QDate(date.year(), date.month(), 1);
}

QDate dateOf(double msecsSinceEpoch)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(msecsSinceEpoch)).date();
}

} // namespace

void plotFolderDialog::on_dateEditStart_userDateChanged(const QDate &date)
{
    chartTab(ActivityTab::Time).zoomEdgeTo(Qt::LeftEdge, double(localMidnight(date).toMSecsSinceEpoch()));
    ui->dateEditStop->setMinimumDate(date.addDays(1));
}

void plotFolderDialog::on_dateEditStop_userDateChanged(const QDate &date)
{
    chartTab(ActivityTab::Time).zoomEdgeTo(Qt::RightEdge, double(localMidnight(date).toMSecsSinceEpoch()));
    ui->dateEditStart->setMaximumDate(date.addDays(-1));
}

void plotFolderDialog::zoomed(const QRectF &zoom)
{
    const QDate start = dateOf(zoom.left());
    const QDate stop = dateOf(zoom.right());
    // Each edit's range first: its date must not be clamped to a range of an earlier zoom.
    {
        const QSignalBlocker quiet(ui->dateEditStart);
        ui->dateEditStart->setMaximumDate(stop.addDays(-1));
        ui->dateEditStart->setDate(start);
    }
    {
        const QSignalBlocker quiet(ui->dateEditStop);
        ui->dateEditStop->setMinimumDate(start.addDays(1));
        ui->dateEditStop->setDate(stop);
    }
}

void plotFolderDialog::on_dateEdit_3_userDateChanged(const QDate &date)
{
    // Months stand at their first day; the zoom reaches half a month before it.
    const QDate month = firstOfMonth(date);
    const double left = double(localMidnight(month.addDays(-14)).toMSecsSinceEpoch());
    chartTab(ActivityTab::Months).zoomEdgeTo(Qt::LeftEdge, left);
    ui->dateEdit_4->setMinimumDate(month.addMonths(2));
}

void plotFolderDialog::on_dateEdit_4_userDateChanged(const QDate &date)
{
    const QDate month = firstOfMonth(date);
    const double right = double(localMidnight(month.addDays(15)).toMSecsSinceEpoch());
    chartTab(ActivityTab::Months).zoomEdgeTo(Qt::RightEdge, right);
    ui->dateEdit_3->setMaximumDate(month.addMonths(-2));
}

void plotFolderDialog::zoomedVsMonth(const QRectF &zoom)
{
    const QDate left = firstOfMonth(dateOf(zoom.left()));
    const QDate right = firstOfMonth(dateOf(zoom.right()));
    {
        const QSignalBlocker quiet(ui->dateEdit_3);
        ui->dateEdit_3->setMaximumDate(right.addMonths(-2));
        ui->dateEdit_3->setDate(left.addMonths(1));
    }
    {
        const QSignalBlocker quiet(ui->dateEdit_4);
        ui->dateEdit_4->setMinimumDate(left.addMonths(3));
        ui->dateEdit_4->setDate(right);
    }
}

// The other plots' zooms move nothing.
void plotFolderDialog::zoomedVsDays(const QRectF &) {}
void plotFolderDialog::zoomedVsNight(const QRectF &) {}
void plotFolderDialog::zoomedVsTemp(const QRectF &) {}
void plotFolderDialog::zoomedVsPrec(const QRectF &) {}
void plotFolderDialog::zoomedVsWind(const QRectF &) {}

// ---- Close

void plotFolderDialog::on_buttonBox_rejected()
{
    // Escape and the title bar close without this: what the controls wrote stays.
    // Only what the user changed is stored: a line an editor saved meanwhile
    // stays, and so does a value shown at its default because it did not read.
    writeFolderTimeSettings(wavDirectory, settingsFromControls(), &shownAtOpen);
}
