// The activity plots before any data: each tab's plot widget, canvas, legend,
// grid, axes and zoomers, the time plot's items, and the scale buttons set from
// the folder's settings. The charts fill them.
#include "activity/plotfolderdialog.h"

#include "activity/activityzoomers.h"
#include "activity/foldersettings.h"
#include "activity/qwtplotgappedcurve.h"
#include "activity/validhourscurve.h"

#include <QGridLayout>
#include <QRadioButton>
#include <qwt_date.h>
#include <qwt_date_scale_draw.h>
#include <qwt_date_scale_engine.h>
#include <qwt_legend.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_intervalcurve.h>

namespace {

const QColor gridColor(230, 230, 230, 255);
const QColor sunriseColor(0, 191, 255, 126);
const QColor sunsetColor(255, 140, 0, 126);
const QColor twilightBrush(100, 100, 100, 40);

enum class BottomAxis { Dates, NightFraction, ZeroToForty };

QwtPlot *newPlotIn(QGridLayout *layout, int column)
{
    auto *plot = new QwtPlot;
    layout->addWidget(plot, 0, column, 1, 1);
    plot->setContentsMargins(0, 0, 0, 0);
    return plot;
}

QwtPlotCanvas *newCanvas(QwtPlot *plot, const QColor &background)
{
    auto *canvas = new QwtPlotCanvas;
    plot->setCanvas(canvas);
    plot->setCanvasBackground(QBrush(background));
    return canvas;
}

QwtLegend *newLegend(QwtPlot *plot)
{
    auto *legend = new QwtLegend;
    legend->setDefaultItemMode(QwtLegendData::Checkable);
    plot->insertLegend(legend, QwtPlot::RightLegend, -1.0);
    return legend;
}

void addGrid(QwtPlot *plot)
{
    auto *grid = new QwtPlotGrid;
    grid->setZ(1.0);
    grid->setPen(gridColor, 1);
    grid->attach(plot);
}

void styleZoomer(QwtPlotZoomer *zoomer)
{
    zoomer->setRubberBandPen(QColor(Qt::darkGray));
    zoomer->setTrackerPen(QColor(Qt::darkGray));
    zoomer->setTrackerMode(QwtPicker::AlwaysOn);
}

// A left-axis zoomer that zooms, and a right-axis one without a selection
// machine: it only writes the valid hours beside the left one's text.
template <class Left, class Right>
void addZoomers(plotFolderDialog *dialog, QwtPlot *plot, Left *&left, Right *&right,
                void (plotFolderDialog::*zoomedSlot)(const QRectF &))
{
    left = new Left(plot->canvas());
    styleZoomer(left);
    QObject::connect(left, &QwtPlotZoomer::zoomed, dialog, zoomedSlot);
    right = new Right(QwtPlot::xBottom, QwtPlot::yRight, plot->canvas());
    styleZoomer(right);
    right->setStateMachine(nullptr);
}

void setDateAxis(QwtPlot *plot, int axis, const QString &coarse, const QString &week, const QString &fine,
                 const QString &milliseconds)
{
    auto *draw = new QwtDateScaleDraw(Qt::LocalTime);
    for (QwtDate::IntervalType type : {QwtDate::Year, QwtDate::Month})
        draw->setDateFormat(type, coarse);
    draw->setDateFormat(QwtDate::Week, week);
    draw->setDateFormat(QwtDate::Day, week);
    for (QwtDate::IntervalType type : {QwtDate::Hour, QwtDate::Minute, QwtDate::Second})
        draw->setDateFormat(type, fine);
    draw->setDateFormat(QwtDate::Millisecond, milliseconds);
    plot->setAxisScaleDraw(axis, draw);
    plot->setAxisScaleEngine(axis, new QwtDateScaleEngine(Qt::LocalTime));
}

void setBottomAxis(QwtPlot *plot, BottomAxis kind)
{
    switch (kind) {
    case BottomAxis::Dates: {
        const QString month = QStringLiteral("MMM");
        setDateAxis(plot, QwtPlot::xBottom, month, QStringLiteral("dd.MMM"), month, month);
        plot->setAxisLabelAlignment(QwtPlot::xBottom, Qt::AlignHCenter | Qt::AlignBottom);
        break;
    }
    case BottomAxis::NightFraction:
        plot->setAxisScale(QwtPlot::xBottom, -0.15, 1.0, 0);
        break;
    case BottomAxis::ZeroToForty:
        plot->setAxisScale(QwtPlot::xBottom, 0, 40, 0);
        break;
    }
}

QwtPlotCurve *newValidHoursCurve(QwtPlot *plot, bool ownPen)
{
    auto *curve = new ValidHoursCurve(QStringLiteral("Valid Hours"));
    curve->setRenderHint(QwtPlotItem::RenderAntialiased);
    if (ownPen)
        curve->setPen(QColor(Qt::lightGray), 1, Qt::SolidLine);
    curve->setBrush(QBrush(Qt::lightGray, Qt::SolidPattern));
    curve->setBaseline(0.0);
    curve->setStyle(QwtPlotCurve::Steps);
    curve->setYAxis(QwtPlot::yRight);
    curve->attach(plot);
    return curve;
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

// What one activity tab's set-up reads and fills.
struct plotFolderDialog::ActivityPlot {
    QwtPlot *&plot;
    QwtPlotCanvas *&canvas;
    QwtLegend *&legend;
    QwtPlotCurve *&validHours;
    bool &firstPlot;
    QGridLayout *layout;
    int column;
    QString leftTitle;
    BottomAxis bottom;
    void (plotFolderDialog::*legendSlot)(const QVariant &, bool, int);
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
    const QString activity = tr("Activity (Recordings per Hour)");
    switch (tab) {
    case ActivityTab::Days:
        return {plotVsDays, canvasVsDays, legendVsDays, validHoursVsDays, firstPlotVsDays, ui->gridLayout_25, 0,
                tr("Files per Day"), BottomAxis::Dates, &plotFolderDialog::legendVsDaysChecked, logDays,
                ui->radioButton_12, &plotFolderDialog::on_radioButton_12_toggled, ui->radioButton_11,
                &plotFolderDialog::on_radioButton_11_toggled, {ui->dateEdit_7, ui->dateEdit_8}};
    case ActivityTab::Months:
        return {plotVsMonth, canvasVsMonth, legendVsMonth, validHoursVsMonth, firstPlotVsMonth, ui->gridLayout_8, 0,
                activity, BottomAxis::Dates, &plotFolderDialog::legendVsMonthChecked, logMonth, ui->radioButton_4,
                &plotFolderDialog::on_radioButton_4_toggled, ui->radioButton_3,
                &plotFolderDialog::on_radioButton_3_toggled, {ui->dateEdit_3, ui->dateEdit_4}};
    case ActivityTab::Night:
        return {plotVsNight, canvasVsNight, legendVsNight, validHoursVsNight, firstPlotVsNight, ui->gridLayout_11, 0,
                activity, BottomAxis::NightFraction, &plotFolderDialog::legendVsNightChecked, logNight,
                ui->radioButton, &plotFolderDialog::on_radioButton_toggled, ui->radioButton_2,
                &plotFolderDialog::on_radioButton_2_toggled, {ui->dateEdit_5, ui->dateEdit_6}};
    case ActivityTab::Temperature:
        return {plotVsTemp, canvasVsTemp, legendVsTemp, validHoursVsTemp, firstPlotVsTemp, ui->gridLayout_14, 2,
                activity, BottomAxis::ZeroToForty, &plotFolderDialog::legendVsTempChecked, logTemp, ui->radioButton_6,
                &plotFolderDialog::on_radioButton_6_toggled, ui->radioButton_5,
                &plotFolderDialog::on_radioButton_5_toggled, {}};
    case ActivityTab::Precipitation:
        return {plotVsPrec, canvasVsPrec, legendVsPrec, validHoursVsPrec, firstPlotVsPrec, ui->gridLayout_17, 2,
                activity, BottomAxis::ZeroToForty, &plotFolderDialog::legendVsPrecChecked, logPrec, ui->radioButton_8,
                &plotFolderDialog::on_radioButton_8_toggled, ui->radioButton_7,
                &plotFolderDialog::on_radioButton_7_toggled, {}};
    case ActivityTab::WindSpeed:
    case ActivityTab::Time:   // not an activity tab; never asked
        break;
    }
    return {plotVsWind, canvasVsWind, legendVsWind, validHoursVsWind, firstPlotVsWind, ui->gridLayout_20, 2,
            activity, BottomAxis::ZeroToForty, &plotFolderDialog::legendVsWindChecked, logWind, ui->radioButton_10,
            &plotFolderDialog::on_radioButton_10_toggled, ui->radioButton_9,
            &plotFolderDialog::on_radioButton_9_toggled, {}};
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
    ActivityPlot p = activityPlot(tab);
    p.firstPlot = true;
    p.plot = newPlotIn(p.layout, p.column);
    p.plot->setAxisTitle(QwtPlot::yLeft, p.leftTitle);
    p.plot->setAxisTitle(QwtPlot::yRight, tr("Valid Monitoring Hours"));
    p.validHours = newValidHoursCurve(p.plot, tab == ActivityTab::Days);
    p.canvas = newCanvas(p.plot, canvasColor);
    p.legend = newLegend(p.plot);
    connect(p.legend, &QwtLegend::checked, this, p.legendSlot);
    addGrid(p.plot);
    using D = plotFolderDialog;
    switch (tab) {
    case ActivityTab::Days:
        addZoomers(this, p.plot, zoomerVsDays, rightZoomerVsDays, &D::zoomedVsDays);
        break;
    case ActivityTab::Months:
        addZoomers(this, p.plot, zoomerVsMonth, rightZoomerVsMonth, &D::zoomedVsMonth);
        break;
    case ActivityTab::Night:
        addZoomers(this, p.plot, zoomerVsNight, rightZoomerVsNight, &D::zoomedVsNight);
        break;
    case ActivityTab::Temperature:
        addZoomers(this, p.plot, zoomerVsTemp, rightZoomerVsTemp, &D::zoomedVsTemp);
        break;
    case ActivityTab::Precipitation:
        addZoomers(this, p.plot, zoomerVsPrec, rightZoomerVsPrec, &D::zoomedVsPrec);
        break;
    case ActivityTab::WindSpeed:
        addZoomers(this, p.plot, zoomerVsWind, rightZoomerVsWind, &D::zoomedVsWind);
        break;
    case ActivityTab::Time:
        break;
    }
    setBottomAxis(p.plot, p.bottom);
    p.plot->enableAxis(QwtPlot::yRight, true);
    p.plot->setAxisAutoScale(QwtPlot::yRight, true);
    setScaleButtons(p.logarithmic, p.logarithmicSlot, p.linear, p.linearSlot,
                    readFolderSetting(wavDirectory, p.logKey));
    for (QWidget *w : p.hidden)
        w->hide();
}

void plotFolderDialog::deleteActivityPlot(ActivityTab tab)
{
    ActivityPlot p = activityPlot(tab);
    // The plot takes its canvas, legend, zoomers and items with it.
    delete p.plot;
    p.plot = nullptr;
    p.canvas = nullptr;
    p.legend = nullptr;
    p.validHours = nullptr;
    if (tab == ActivityTab::Temperature) {
        zoomerVsTemp = nullptr;
        rightZoomerVsTemp = nullptr;
    } else if (tab == ActivityTab::Precipitation) {
        zoomerVsPrec = nullptr;
        rightZoomerVsPrec = nullptr;
    }
}

bool plotFolderDialog::weatherFileRule(ActivityTab tab)
{
    // A file chosen again replaces the tab's plot with its items and zoomers.
    deleteActivityPlot(tab);
    const bool temperature = tab == ActivityTab::Temperature;
    QLabel *notice = temperature ? ui->label_11 : ui->label_12;
    const QList<QWidget *> controls = temperature
        ? QList<QWidget *>{ui->radioButton_5, ui->radioButton_6, ui->pushButton_9, ui->pushButton_10}
        : QList<QWidget *>{ui->radioButton_7, ui->radioButton_8, ui->pushButton_12, ui->pushButton_13};
    const bool hasFile = !readFolderSetting(wavDirectory, FolderSettings::temperaturePrecipitationFile).isEmpty();
    notice->setVisible(!hasFile);
    for (QWidget *w : controls)
        w->setVisible(hasFile);
    (temperature ? firstPlotVsTemp : firstPlotVsPrec) = hasFile;
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
    firstPlotVsTime = true;
    plotVsTime = newPlotIn(ui->gridLayout_2, 1);
    const QString dayFormat = QStringLiteral("d. MMM");
    setDateAxis(plotVsTime, QwtPlot::xBottom, dayFormat, dayFormat, dayFormat, QStringLiteral("d.MMM"));
    plotVsTime->setAxisLabelAlignment(QwtPlot::xBottom, Qt::AlignHCenter | Qt::AlignBottom);
    // The left axis is the time of day (on a reference day).
    const QString clock = QStringLiteral("hh:mm");
    setDateAxis(plotVsTime, QwtPlot::yLeft, clock, clock, clock, QStringLiteral("d.MMM"));

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

    addGrid(plotVsTime);
    legendVsTime = newLegend(plotVsTime);
    connect(legendVsTime, &QwtLegend::checked, this, &plotFolderDialog::legendChecked);
    canvasVsTime = newCanvas(plotVsTime, canvasColor);
    zoomerVsTime = new MyQwtZoomer3(plotVsTime->canvas(), plotVsTime);
    styleZoomer(zoomerVsTime);
    connect(zoomerVsTime, &QwtPlotZoomer::zoomed, this, &plotFolderDialog::zoomed);
}

QList<QwtPlotItem *> plotFolderDialog::timePlotItems() const
{
    QList<QwtPlotItem *> items{sunriseCurve,         sunsetCurve,          sunrise2Curve,        sunset2Curve,
                               twilightCurve,        twilight2Curve,       twilightSetCurve,     twilightSet2Curve,
                               recordingTimesCurve,  recordingTimes2Curve, recordingTimes3Curve, recordingTimes4Curve,
                               invalidTimesCurve};
    items.removeAll(nullptr);
    return items;
}
