// The activity plots before any data: each tab's plot with its canvas, legend,
// grid, axes and zoomers (built by its ActivityChartTab), the time plot's items,
// and the scale buttons set from the folder's settings. The charts fill them.
#include "activity/plotfolderdialog.h"

#include "activity/activityzoomers.h"
#include "activity/foldersettings.h"
#include "activity/qwtplotgappedcurve.h"

#include <QGridLayout>
#include <QRadioButton>
#include <qwt_legend.h>
#include <qwt_plot.h>
#include <qwt_plot_intervalcurve.h>

namespace {

const QColor sunriseColor(0, 191, 255, 126);
const QColor sunsetColor(255, 140, 0, 126);
const QColor twilightBrush(100, 100, 100, 40);

using BottomAxis = ActivityChartTab::BottomAxis;

// A left-axis zoomer that zooms, and a right-axis one on x bottom and y right.
template <class Left, class Right>
ActivityChartTab::Zoomers activityZoomers(QWidget *canvas)
{
    return {new Left(canvas), new Right(QwtPlot::xBottom, QwtPlot::yRight, canvas)};
}

template <class Item>
Item *timeItem(Item *item, bool inLegend, double z)
{
    item->setRenderHint(QwtPlotItem::RenderAntialiased);
    item->setItemAttribute(QwtPlotItem::Legend, inLegend);
    item->setZ(z);
    return item;
}

QwtPlotGappedCurve *sunCurve(const QString &title, const QColor &color, bool inLegend)
{
    auto *curve = timeItem(new QwtPlotGappedCurve(title, -1.0), inLegend, 10);
    curve->setPen(color, 1, Qt::SolidLine);
    return curve;
}

// A band without a visible outline: a solid pen of width 0 whose colour has alpha 0.
QwtPlotIntervalCurve *band(const QString &title, QColor outline, const QColor &fill, bool inLegend, double z)
{
    auto *curve = timeItem(new QwtPlotIntervalCurve(title), inLegend, z);
    outline.setAlpha(0);
    curve->setPen(outline, 0, Qt::SolidLine);
    curve->setBrush(QBrush(fill, Qt::SolidPattern));
    return curve;
}

} // namespace

// What one activity tab's set-up reads: how its plot is built, and the dialog's slots and controls.
struct plotFolderDialog::ActivityPlot {
    QGridLayout *layout;
    int column;
    QString leftTitle;
    BottomAxis bottom;
    ActivityChartTab::Zoomers (*makeZoomers)(QWidget *canvas);
    void (plotFolderDialog::*legendSlot)(const QVariant &, bool, int);
    void (plotFolderDialog::*zoomedSlot)(const QRectF &);
    const FolderSetting<bool> &logKey;
    QRadioButton *logarithmic;
    void (plotFolderDialog::*logarithmicSlot)(bool);
    QRadioButton *linear;
    void (plotFolderDialog::*linearSlot)(bool);
    QList<QWidget *> hidden;
};

plotFolderDialog::ActivityPlot plotFolderDialog::activityPlot(ActivityTab tab)
{
    using namespace FolderSettings;
    using D = plotFolderDialog;
    const QString activity = tr("Activity (Recordings per Hour)");
    switch (tab) {
    case ActivityTab::Days:
        return {ui->gridLayout_25,
                0,
                tr("Files per Day"),
                BottomAxis::Dates,
                &activityZoomers<MyQwtZoomer9, MyQwtZoomer91>,
                &D::legendVsDaysChecked,
                &D::zoomedVsDays,
                logDays,
                ui->radioButton_12,
                &D::on_radioButton_12_toggled,
                ui->radioButton_11,
                &D::on_radioButton_11_toggled,
                {ui->dateEdit_7, ui->dateEdit_8}};
    case ActivityTab::Months:
        return {ui->gridLayout_8,
                0,
                activity,
                BottomAxis::Dates,
                &activityZoomers<MyQwtZoomer4, MyQwtZoomer41>,
                &D::legendVsMonthChecked,
                &D::zoomedVsMonth,
                logMonth,
                ui->radioButton_4,
                &D::on_radioButton_4_toggled,
                ui->radioButton_3,
                &D::on_radioButton_3_toggled,
                {ui->dateEdit_3, ui->dateEdit_4}};
    case ActivityTab::Night:
        return {ui->gridLayout_11,
                0,
                activity,
                BottomAxis::NightFraction,
                &activityZoomers<MyQwtZoomer5, MyQwtZoomer51>,
                &D::legendVsNightChecked,
                &D::zoomedVsNight,
                logNight,
                ui->radioButton,
                &D::on_radioButton_toggled,
                ui->radioButton_2,
                &D::on_radioButton_2_toggled,
                {ui->dateEdit_5, ui->dateEdit_6}};
    case ActivityTab::Temperature:
        return {ui->gridLayout_14,
                2,
                activity,
                BottomAxis::ZeroToForty,
                &activityZoomers<MyQwtZoomer6, MyQwtZoomer61>,
                &D::legendVsTempChecked,
                &D::zoomedVsTemp,
                logTemp,
                ui->radioButton_6,
                &D::on_radioButton_6_toggled,
                ui->radioButton_5,
                &D::on_radioButton_5_toggled,
                {}};
    case ActivityTab::Precipitation:
        return {ui->gridLayout_17,
                2,
                activity,
                BottomAxis::ZeroToForty,
                &activityZoomers<MyQwtZoomer7, MyQwtZoomer71>,
                &D::legendVsPrecChecked,
                &D::zoomedVsPrec,
                logPrec,
                ui->radioButton_8,
                &D::on_radioButton_8_toggled,
                ui->radioButton_7,
                &D::on_radioButton_7_toggled,
                {}};
    case ActivityTab::WindSpeed:
    case ActivityTab::Time: // not an activity tab; never asked
        break;
    }
    return {ui->gridLayout_20,
            2,
            activity,
            BottomAxis::ZeroToForty,
            &activityZoomers<MyQwtZoomer8, MyQwtZoomer81>,
            &D::legendVsWindChecked,
            &D::zoomedVsWind,
            logWind,
            ui->radioButton_10,
            &D::on_radioButton_10_toggled,
            ui->radioButton_9,
            &D::on_radioButton_9_toggled,
            {}};
}

void plotFolderDialog::setScaleButtons(QRadioButton *logarithmic, void (plotFolderDialog::*logarithmicSlot)(bool),
                                       QRadioButton *linear, void (plotFolderDialog::*linearSlot)(bool),
                                       bool logarithmicScale)
{
    // Each button is set with its own slot away, then given back that one slot:
    // the buttons follow the key without writing it. The form checks neither,
    // so the second button's change never reaches the first one's slot.
    disconnect(logarithmic, &QRadioButton::toggled, nullptr, nullptr);
    logarithmic->setChecked(logarithmicScale);
    connect(logarithmic, &QRadioButton::toggled, this, logarithmicSlot, Qt::UniqueConnection);
    disconnect(linear, &QRadioButton::toggled, nullptr, nullptr);
    linear->setChecked(!logarithmicScale);
    connect(linear, &QRadioButton::toggled, this, linearSlot, Qt::UniqueConnection);
}

void plotFolderDialog::buildActivityPlot(ActivityTab tab)
{
    const ActivityPlot p = activityPlot(tab);
    ActivityChartTab &t = chartTab(tab);
    // The precipitation and wind plots keep their right-axis tracker text with the hours hidden.
    const bool trackerFollowsHours = tab != ActivityTab::Precipitation && tab != ActivityTab::WindSpeed;
    t.build({p.layout, p.column, p.leftTitle, tr("Valid Monitoring Hours"), p.bottom, tab == ActivityTab::Days,
             trackerFollowsHours, canvasColor, p.makeZoomers});
    connect(t.legend, &QwtLegend::checked, this, p.legendSlot);
    connect(t.zoomer, &QwtPlotZoomer::zoomed, this, p.zoomedSlot);
    setScaleButtons(p.logarithmic, p.logarithmicSlot, p.linear, p.linearSlot,
                    readFolderSetting(wavDirectory, p.logKey));
    for (QWidget *w : p.hidden)
        w->hide();
}

bool plotFolderDialog::weatherFileRule(ActivityTab tab)
{
    // A file chosen again replaces the tab's plot with its items and zoomers.
    chartTab(tab).destroy();
    const bool temperature = tab == ActivityTab::Temperature;
    QLabel *notice = temperature ? ui->label_11 : ui->label_12;
    const QList<QWidget *> controls =
        temperature ? QList<QWidget *>{ui->radioButton_5, ui->radioButton_6, ui->pushButton_9, ui->pushButton_10}
                    : QList<QWidget *>{ui->radioButton_7, ui->radioButton_8, ui->pushButton_12, ui->pushButton_13};
    const bool hasFile = !readFolderSetting(wavDirectory, FolderSettings::temperaturePrecipitationFile).isEmpty();
    notice->setVisible(!hasFile);
    for (QWidget *w : controls)
        w->setVisible(hasFile);
    chartTab(tab).firstPlot = hasFile;
    return hasFile;
}

void plotFolderDialog::initPlotVsDays()
{
    buildActivityPlot(ActivityTab::Days);
}

void plotFolderDialog::initPlotVsMonth()
{
    buildActivityPlot(ActivityTab::Months);
}

void plotFolderDialog::initPlotVsNight()
{
    buildActivityPlot(ActivityTab::Night);
}

void plotFolderDialog::initPlotVsTemp()
{
    if (weatherFileRule(ActivityTab::Temperature))
        buildActivityPlot(ActivityTab::Temperature);
}

void plotFolderDialog::initPlotVsPrec()
{
    if (weatherFileRule(ActivityTab::Precipitation))
        buildActivityPlot(ActivityTab::Precipitation);
}

// The wind tab always has its plot; the wind chart shows or hides it by the wind file.
void plotFolderDialog::initPlotVsWind()
{
    buildActivityPlot(ActivityTab::WindSpeed);
}

void plotFolderDialog::initPlotVsTime()
{
    ActivityChartTab &time = chartTab(ActivityTab::Time);
    time.firstPlot = true;
    time.createPlot(ui->gridLayout_2, 1);
    const QString dayFormat = QStringLiteral("d. MMM");
    ActivityChartTab::setDateAxis(plotVsTime, QwtPlot::xBottom, dayFormat, dayFormat, dayFormat,
                                  QStringLiteral("d.MMM"));
    plotVsTime->setAxisLabelAlignment(QwtPlot::xBottom, Qt::AlignHCenter | Qt::AlignBottom);
    // The left axis is the time of day (on a reference day).
    const QString clock = QStringLiteral("hh:mm");
    ActivityChartTab::setDateAxis(plotVsTime, QwtPlot::yLeft, clock, clock, clock, QStringLiteral("d.MMM"));

    canvasColor = QColor(240, 240, 240, 255);
    recordingTimesColor = QColor(Qt::white);
    invalidTimesColor = QColor(255, 205, 205, 100);
    invalidTimesZ = 1;
    // Sun curves and twilight above the grid (z 1), the recording bands below it.
    sunriseCurve = sunCurve(QStringLiteral("Sunrise"), sunriseColor, true);
    sunsetCurve = sunCurve(QStringLiteral("Sunset"), sunsetColor, true);
    sunrise2Curve = sunCurve(QStringLiteral("Sunrise2"), sunriseColor, false);
    sunset2Curve = sunCurve(QStringLiteral("Sunset2"), sunsetColor, false);
    twilightCurve = band(QStringLiteral("Twilight"), sunriseColor, twilightBrush, true, 10);
    twilight2Curve = band(QStringLiteral("Twilight2"), sunriseColor, twilightBrush, false, 10);
    twilightSetCurve = band(QStringLiteral("TwilightSet"), sunsetColor, twilightBrush, false, 10);
    twilightSet2Curve = band(QStringLiteral("TwilightSet2"), sunsetColor, twilightBrush, false, 10);
    recordingTimesCurve = band(QStringLiteral("Recording Times"), sunriseColor, recordingTimesColor, true, 0);
    recordingTimes2Curve = band(QStringLiteral("Recording Times2"), sunriseColor, recordingTimesColor, false, 0);
    recordingTimes3Curve = band(QStringLiteral("Recording Times3"), sunriseColor, recordingTimesColor, false, 0);
    recordingTimes4Curve = band(QStringLiteral("Recording Times4"), sunriseColor, recordingTimesColor, false, 0);
    // Qwt's own pen, render hints and z: only its brush marks it.
    invalidTimesCurve = new QwtPlotIntervalCurve(QStringLiteral("Invalid Times"));
    invalidTimesCurve->setBrush(QBrush(invalidTimesColor, Qt::SolidPattern));
    invalidTimesCurve->setItemAttribute(QwtPlotItem::Legend, true);

    time.addGrid();
    time.addLegend();
    connect(legendVsTime, &QwtLegend::checked, this, &plotFolderDialog::legendChecked);
    time.addCanvas(canvasColor);
    zoomerVsTime = new MyQwtZoomer3(plotVsTime->canvas(), plotVsTime);
    ActivityChartTab::styleZoomer(zoomerVsTime);
    connect(zoomerVsTime, &QwtPlotZoomer::zoomed, this, &plotFolderDialog::zoomed);
}

QList<QwtPlotItem *> plotFolderDialog::timePlotItems() const
{
    QList<QwtPlotItem *> items{sunriseCurve,        sunsetCurve,          sunrise2Curve,        sunset2Curve,
                               twilightCurve,       twilight2Curve,       twilightSetCurve,     twilightSet2Curve,
                               recordingTimesCurve, recordingTimes2Curve, recordingTimes3Curve, recordingTimes4Curve,
                               invalidTimesCurve};
    items.removeAll(nullptr);
    return items;
}
