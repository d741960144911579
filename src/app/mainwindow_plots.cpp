// The main window's three plots and every item the display code later fills,
// moves, shows and hides; and the mouse handling over the spectrogram.
#include "app/mainwindow.h"

#include "app/settingskeys.h"
#include "app/spectrogramsettingsdialog.h"
#include "display/axisplotmode.h"
#include "display/colourscheme.h"
#include "display/myqwtplotpicker.h"
#include "display/myqwtzoomer.h"
#include "display/myqwtzoomer10.h"
#include "display/myqwtzoomer2.h"
#include "display/myrectcallsmarker.h"
#include "display/myrectrangemarker.h"
#include "display/rangemarker.h"
#include "display/spectrograminteraction.h"
#include "display/spectrogramscroller.h"
#include "ui_mainwindow.h"

#include <QFrame>
#include <QLocale>
#include <QScrollBar>
#include <qwt_color_map.h>
#include <qwt_matrix_raster_data.h>
#include <qwt_picker_machine.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_layout.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_picker.h>
#include <qwt_plot_scaleitem.h>
#include <qwt_plot_spectrogram.h>
#include <qwt_plot_textlabel.h>
#include <qwt_scale_draw.h>
#include <qwt_scale_widget.h>

namespace {

const QColor kGreen(122, 184, 0, 255);
const QColor kLightGreen(160, 220, 0, 255);

// The drawing resources all three plots share.
struct PlotResources {
    QPen greenPen{kGreen, 1};
    QPen lightGreenPen{kLightGreen, 1};
    QPen gridPen{QColor(0, 0, 0, 20)};
    QPen spectrogramGridPen{QColor(255, 255, 255, 50)};
    // The font the Windows dialogs use; elsewhere Qt substitutes the nearest family.
    QFont axisFont{QStringLiteral("MS Shell Dlg 2"), 8};
};

// An axis that keeps its space and its title but draws no numbers: those
// come from a scale item inside the canvas.
void showTitleOnly(QwtPlot *plot, int axis)
{
    QwtScaleDraw *draw = plot->axisScaleDraw(axis);
    draw->enableComponent(QwtAbstractScaleDraw::Labels, false);
    draw->enableComponent(QwtAbstractScaleDraw::Ticks, false);
    draw->enableComponent(QwtAbstractScaleDraw::Backbone, false);
}

QwtPlotCanvas *makeCanvas(QwtPlot *plot, const QColor &colour)
{
    auto *canvas = new QwtPlotCanvas(plot);
    canvas->setPalette(QPalette(colour));
    canvas->setBorderRadius(0);
    canvas->setCursor(Qt::ArrowCursor);
    plot->setCanvas(canvas);
    return canvas;
}

void placePlot(QwtPlot *plot, QGridLayout *layout, int row)
{
    layout->addWidget(plot, row, 0, 1, 1);
    plot->setContentsMargins(0, 0, 0, 0);
    plot->plotLayout()->setAlignCanvasToScales(true);
}

QwtPlotCurve *makeCurve(const QPen &pen, const QColor &fill, double z, QwtPlotCurve::CurveStyle style)
{
    auto *curve = new QwtPlotCurve(QString());
    curve->setPen(pen);
    curve->setBrush(QBrush(fill, Qt::SolidPattern));
    curve->setStyle(style);
    curve->setZ(z);
    return curve;
}

// Marker, edge and frequency-marker drag handles: a press grabs, the drag
// reports every move, nothing is drawn. Disabled until the cursor is on their
// line (see MainWindow::mouseMoved).
QwtPlotPicker *makeDragPointPicker(QWidget *canvas)
{
    auto *picker = new QwtPlotPicker(QwtPlot::xBottom, QwtPlot::yLeft, QwtPicker::NoRubberBand,
                                     QwtPicker::AlwaysOff, canvas);
    picker->setStateMachine(new QwtPickerDragPointMachine);
    return picker;
}

QwtPlotMarker *makeCursorLine(const QString &title, QwtPlotMarker::LineStyle style, Qt::PenStyle penStyle,
                              double z)
{
    auto *marker = new QwtPlotMarker(title);
    marker->setLineStyle(style);
    marker->setLinePen(QPen(Qt::darkGray, 0, penStyle));
    marker->setValue(0.0, 0.0);
    marker->setZ(z);
    return marker;
}

QwtPlotMarker *makePlaybackLine()
{
    auto *marker = new QwtPlotMarker(QString());
    marker->setLineStyle(QwtPlotMarker::VLine);
    marker->setLinePen(QPen(Qt::red, 0, Qt::SolidLine));
    marker->setValue(0.0, 0.0);
    return marker;
}

// Qwt writes axis titles in 12 pt bold of the desktop's family, wider than
// the Windows font the form's panes were measured for, and wraps a title
// between words only: a word longer than its axis runs off both ends. The
// canvas length an axis needs for the longest word of every title it may
// carry, with room for the end labels the axis draws itself.
int canvasLengthForTitles(const QwtPlot *plot, int axis, const QStringList &titles)
{
    const QwtScaleWidget *scale = plot->axisWidget(axis);
    const QFontMetrics titleMetrics(scale->title().font());
    int widest = 0;
    for (const QString &title : titles) {
        for (const QString &word : title.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            widest = qMax(widest, titleMetrics.horizontalAdvance(word));
    }
    // The title runs between the axis's end labels, each reaching half its
    // extent past the canvas; an axis without labels leaves it the whole length.
    int endLabels = 0;
    if (plot->axisScaleDraw(axis)->hasComponent(QwtAbstractScaleDraw::Labels)) {
        const QFontMetrics labelMetrics(scale->font());
        const bool vertical = axis == QwtPlot::yLeft || axis == QwtPlot::yRight;
        endLabels = vertical ? labelMetrics.height() : labelMetrics.horizontalAdvance(QStringLiteral("-000"));
    }
    return widest + endLabels + 6;
}

void disableKeyPatterns(QwtEventPattern *pattern, std::initializer_list<QwtEventPattern::KeyPatternCode> codes)
{
    for (QwtEventPattern::KeyPatternCode code : codes)
        pattern->setKeyPattern(code, 0);
}

} // namespace

void MainWindow::setUpPlots()
{
    const PlotResources res;
    amplitudeAxisLimit = 1.0f;
    calculating = false;

    // --- Time plot: amplitude over time, above the spectrogram ---------------
    timePlot = new QwtPlot;
    timePlotCurve1 = makeCurve(res.greenPen, kGreen, 100, QwtPlotCurve::Sticks);
    timePlotCurve2 = makeCurve(res.greenPen, kGreen, 100, QwtPlotCurve::Sticks);
    timePlotCurve3 = makeCurve(res.lightGreenPen, kLightGreen, 101, QwtPlotCurve::Sticks);
    timePlotCurve4 = makeCurve(res.lightGreenPen, kLightGreen, 101, QwtPlotCurve::Sticks);
    for (QwtPlotCurve *curve : {timePlotCurve1, timePlotCurve2, timePlotCurve3, timePlotCurve4}) {
        curve->setRenderHint(QwtPlotItem::RenderAntialiased, true);
        curve->attach(timePlot);
    }
    placePlot(timePlot, ui->gridLayout_7, 0);
    timePlot->enableAxis(QwtPlot::xTop, true);
    timePlot->setAxisFont(QwtPlot::xTop, res.axisFont);
    timePlot->setAxisTitle(QwtPlot::xTop, QStringLiteral("Time in s"));
    timePlot->enableAxis(QwtPlot::xBottom, false);
    timePlot->enableAxis(QwtPlot::yLeft, true);
    timePlot->setAxisFont(QwtPlot::yLeft, res.axisFont);
    showTitleOnly(timePlot, QwtPlot::yLeft);
    timePlotCanvas = makeCanvas(timePlot, QColor(250, 250, 250));

    timePlotGrid = new QwtPlotGrid;
    timePlotGrid->setZ(103);
    timePlotGrid->setPen(res.gridPen);
    timePlotGrid->enableX(ui->actionGrid->isChecked());
    timePlotGrid->enableY(ui->actionGrid->isChecked());
    timePlotGrid->attach(timePlot);

    timePlotZoomer = new MyQwtZoomer2(timePlot->canvas());
    timePlotZoomer->setTrackerPen(QPen(Qt::black));
    timePlotZoomer->setTrackerMode(QwtPicker::AlwaysOn);
    timePlotZoomer->setMaxStackDepth(0);   // read-out only: this plot never zooms

    timePlotScaleItem = new QwtPlotScaleItem(QwtScaleDraw::RightScale, 0.0);
    timePlotScaleItem->setFont(res.axisFont);
    timePlotScaleItem->setPalette(QPalette(Qt::green));
    timePlotScaleItem->setZ(1000);
    timePlotScaleItem->attach(timePlot);

    timeRangeMarker1 = new RangeMarker(0);
    timeRangeMarker1->setZ(102);
    timeRangeMarker1->attach(timePlot);
    timeRangeMarker2 = new RangeMarker(0);
    timeRangeMarker2->setZ(102);
    timeRangeMarker2->attach(timePlot);
    timeRangeMarker1->setColor(QColor(0, 0, 0, 30));
    timeRangeMarker2->setColor(QColor(0, 0, 0, 30));

    amplitudePlotMarker = makeCursorLine(QStringLiteral("amplitudePlotMarker"), QwtPlotMarker::VLine, Qt::DashLine, 104);
    amplitudePlotMarker->attach(timePlot);
    amplitudePlotMarker->hide();
    baselineMarker = makeCursorLine(QStringLiteral("baselineMarkerPlot"), QwtPlotMarker::HLine, Qt::SolidLine, 104);
    baselineMarker->attach(timePlot);
    baselineMarker->hide();

    // --- Frequency plot: level over frequency, left of the spectrogram --------
    frequencyPlot = new QwtPlot;
    frequencyPlotCurve = makeCurve(res.greenPen, kGreen, 100, QwtPlotCurve::Lines);
    frequencyPlotCurve->setOrientation(Qt::Horizontal);
    frequencyPlotCurve->attach(frequencyPlot);
    placePlot(frequencyPlot, ui->gridLayout_5, 1);
    frequencyPlot->enableAxis(QwtPlot::xBottom, true);
    frequencyPlot->setAxisFont(QwtPlot::xBottom, res.axisFont);
    frequencyPlot->setAxisMaxMajor(QwtPlot::xBottom, 5);
    frequencyPlot->enableAxis(QwtPlot::xTop, false);
    frequencyPlot->enableAxis(QwtPlot::yLeft, false);
    frequencyPlotCanvas = makeCanvas(frequencyPlot, QColor(250, 250, 250));

    frequencyPlotGrid = new QwtPlotGrid;
    frequencyPlotGrid->setZ(101);
    frequencyPlotGrid->setPen(res.gridPen);
    frequencyPlotGrid->enableX(ui->actionGrid->isChecked());
    frequencyPlotGrid->enableY(ui->actionGrid->isChecked());
    frequencyPlotGrid->attach(frequencyPlot);

    frequencyPlotZoomer = new MyQwtZoomer10(frequencyPlot->canvas());
    frequencyPlotZoomer->setTrackerPen(QPen(Qt::black));
    frequencyPlotZoomer->setTrackerMode(QwtPicker::AlwaysOn);
    frequencyPlotZoomer->setMaxStackDepth(0);

    frequencyPlotScaleItem = new QwtPlotScaleItem(QwtScaleDraw::LeftScale, 0.0);
    frequencyPlotScaleItem->setFont(res.axisFont);
    frequencyPlotScaleItem->setPalette(QPalette(Qt::green));
    frequencyPlotScaleItem->setZ(1000);
    frequencyPlotScaleItem->attach(frequencyPlot);

    frequencyPlotMarker = makeCursorLine(QStringLiteral("frequencyPlotMarker"), QwtPlotMarker::HLine, Qt::DashLine, 103);
    frequencyPlotMarker->attach(frequencyPlot);
    frequencyPlotMarker->hide();

    frequencyRangeMarker1 = new RangeMarker(1);
    frequencyRangeMarker1->setZ(101);
    frequencyRangeMarker1->setColor(QColor(0, 0, 0, 30));
    frequencyRangeMarker1->attach(frequencyPlot);
    frequencyRangeMarker2 = new RangeMarker(1);
    frequencyRangeMarker2->setZ(102);
    frequencyRangeMarker2->setColor(QColor(0, 0, 0, 30));
    frequencyRangeMarker2->attach(frequencyPlot);

    // --- Spectrogram ----------------------------------------------------------
    spectrogramPlot = new QwtPlot;
    spectrogramItem = new QwtPlotSpectrogram(QString());
    placePlot(spectrogramPlot, ui->gridLayout_17, 0);
    makeCanvas(spectrogramPlot, Qt::black);
    spectrogramItem->setRenderThreadCount(0);   // as many threads as the machine has
    spectrogramItem->setCachePolicy(QwtPlotRasterItem::PaintCache);
    spectrogramItem->attach(spectrogramPlot);
    spectrogramItem->setColorMap(colorMapFor(ColorMapBlackGreen));

    spectroScrollBar = new QScrollBar(Qt::Horizontal, this);
    ui->gridLayout_17->addWidget(spectroScrollBar, 1, 0);
    connect(spectroScrollBar, &QScrollBar::valueChanged, this, &MainWindow::spectroScrollBar_valueChanged);

    // The frequency plot's canvas must line up with the spectrogram's, which
    // has the scroll bar below it.
    frequencyPlotTopSpacer = new QFrame(this);
    frequencyPlotTopSpacer->setFrameShape(QFrame::NoFrame);
    frequencyPlotTopSpacer->setMinimumHeight(0);
    frequencyPlotTopSpacer->setMaximumHeight(0);
    ui->gridLayout_5->addWidget(frequencyPlotTopSpacer, 0, 0);
    frequencyPlotBottomSpacer = new QFrame(this);
    frequencyPlotBottomSpacer->setFrameShape(QFrame::NoFrame);
    ui->gridLayout_5->addWidget(frequencyPlotBottomSpacer, 2, 0);

    spectrogramPlot->setAxisFont(QwtPlot::xBottom, res.axisFont);
    spectrogramPlot->setAxisTitle(QwtPlot::xBottom, QStringLiteral("Time in s"));
    spectrogramPlot->setAxisFont(QwtPlot::yLeft, res.axisFont);
    spectrogramPlot->setAxisTitle(QwtPlot::yLeft, QStringLiteral("Frequency in kHz"));
    showTitleOnly(spectrogramPlot, QwtPlot::yLeft);
    spectrogramPlot->enableAxis(QwtPlot::yLeft, true);
    spectrogramPlot->enableAxis(QwtPlot::yRight, true);
    colorBarWidget = spectrogramPlot->axisWidget(QwtPlot::yRight);
    colorBarWidget->setColorBarEnabled(true);
    colorBarWidget->setColorBarWidth(15);
    spectrogramPlot->setAxisFont(QwtPlot::yRight, res.axisFont);
    spectrogramPlot->setAxisTitle(QwtPlot::yRight, QStringLiteral("Amplitude in dBFS"));
    spectrogramData = new QwtMatrixRasterData;
    spectrogramItem->setData(spectrogramData);

    spectroZoomer = new MyQwtZoomer(spectrogramPlot->canvas());
    spectroZoomer->setRubberBandPen(QPen(Qt::white));
    spectroZoomer->setTrackerPen(QPen(Qt::white));
    spectroZoomer->setTrackerMode(QwtPicker::AlwaysOff);
    // The arrow keys and Home belong to the window's own shortcuts.
    disableKeyPatterns(spectroZoomer, {QwtEventPattern::KeyUp, QwtEventPattern::KeyDown, QwtEventPattern::KeyLeft,
                                       QwtEventPattern::KeyRight, QwtEventPattern::KeyHome});
    spectroZoomer->setMousePattern(QwtEventPattern::MouseSelect3, Qt::NoButton);

    spectroPicker = new MyQwtPlotPicker(spectrogramPlot->canvas());
    spectroPicker->setRubberBandPen(QPen(Qt::white));
    spectroPicker->setTrackerPen(QPen(Qt::white));
    spectroPicker->setTrackerMode(QwtPicker::AlwaysOn);
    disableKeyPatterns(spectroPicker, {QwtEventPattern::KeyUp, QwtEventPattern::KeyDown, QwtEventPattern::KeyLeft,
                                       QwtEventPattern::KeyRight});
    spectroPicker->setMousePattern(QwtEventPattern::MouseSelect3, Qt::NoButton);
    connect(spectroPicker, &MyQwtPlotPicker::mouseMoved, this, &MainWindow::mouseMoved);

    selectionPicker = new QwtPlotPicker(spectrogramPlot->canvas());
    selectionPicker->setStateMachine(new QwtPickerDragRectMachine);
    selectionPicker->setRubberBand(QwtPicker::RectRubberBand);
    selectionPicker->setRubberBandPen(QPen(QBrush(Qt::red, Qt::SolidPattern), 1.0, Qt::DashLine, Qt::SquareCap,
                                           Qt::BevelJoin));
    selectionPicker->setTrackerPen(QPen(Qt::green));
    selectionPicker->setTrackerMode(QwtPicker::AlwaysOff);
    selectionPicker->setKeyPattern(QwtEventPattern::KeySelect1, 0);
    selectionPicker->setMousePattern(QwtEventPattern::MouseSelect1, Qt::LeftButton, Qt::ShiftModifier);
    connect(selectionPicker, &QwtPicker::activated, this, &MainWindow::deactivateZoomer);
    connect(selectionPicker, qOverload<const QPolygon &>(&QwtPicker::selected), this,
            &MainWindow::plotSelectionRect);

    edgePickerLeft = makeDragPointPicker(spectrogramPlot->canvas());
    connect(edgePickerLeft, qOverload<const QPoint &>(&QwtPicker::moved), this, &MainWindow::moveSelectorLeft);
    edgePickerLeft->setEnabled(false);
    edgePickerRight = makeDragPointPicker(spectrogramPlot->canvas());
    connect(edgePickerRight, qOverload<const QPoint &>(&QwtPicker::moved), this, &MainWindow::moveSelectorRight);
    edgePickerRight->setEnabled(false);
    edgePickerTop = makeDragPointPicker(spectrogramPlot->canvas());
    connect(edgePickerTop, qOverload<const QPoint &>(&QwtPicker::moved), this, &MainWindow::moveSelectorTop);
    edgePickerTop->setEnabled(false);
    edgePickerBottom = makeDragPointPicker(spectrogramPlot->canvas());
    connect(edgePickerBottom, qOverload<const QPoint &>(&QwtPicker::moved), this, &MainWindow::moveSelectorBottom);
    edgePickerBottom->setEnabled(false);

    spectrogramScaleItem = new QwtPlotScaleItem(QwtScaleDraw::RightScale, 0.0);
    spectrogramScaleItem->setFont(spectrogramPlot->axisWidget(QwtPlot::yLeft)->font());
    spectrogramScaleItem->setFont(res.axisFont);
    spectrogramScaleItem->setPalette(QPalette(Qt::black));
    spectrogramScaleItem->setZ(1000);
    spectrogramScaleItem->attach(spectrogramPlot);

    spectrogramGrid = new QwtPlotGrid;
    spectrogramGrid->setPen(res.spectrogramGridPen);
    spectrogramGrid->enableX(ui->actionGrid->isChecked());
    spectrogramGrid->enableY(ui->actionGrid->isChecked());
    spectrogramGrid->attach(spectrogramPlot);

    void (MainWindow::*markerSlots[])(const QPointF &) = {&MainWindow::moveMarker1, &MainWindow::moveMarker2,
                                                          &MainWindow::moveMarker3};
    QwtPlotMarker **markers[] = {&frequencyMarker1, &frequencyMarker2, &frequencyMarker3};
    QwtPlotPicker **markerPickers[] = {&frequencyMarkerPicker1, &frequencyMarkerPicker2, &frequencyMarkerPicker3};
    for (int k = 0; k < 3; ++k) {
        auto *marker = new QwtPlotMarker(QString());
        marker->setLineStyle(QwtPlotMarker::HLine);
        marker->setLinePen(QPen(Qt::white, 0, Qt::DashLine));
        marker->setValue(0.0, 0.0);
        marker->setLabelAlignment(Qt::AlignRight | Qt::AlignBottom);
        marker->attach(spectrogramPlot);
        marker->hide();
        *markers[k] = marker;
        QwtPlotPicker *picker = makeDragPointPicker(spectrogramPlot->canvas());
        connect(picker, qOverload<const QPointF &>(&QwtPlotPicker::moved), this, markerSlots[k]);
        picker->setEnabled(false);
        *markerPickers[k] = picker;
    }

    selectionRectMarker = new MyRectRangeMarker;
    selectionRectMarker->setZ(102);
    selectionRectMarker->attach(spectrogramPlot);
    selectionRectMarker->hide();
    callsMarker = new MyRectCallsMarker;
    callsMarker->setZ(102);
    callsMarker->attach(spectrogramPlot);
    callsMarker->hide();
    timePositionMarker = makePlaybackLine();
    timePositionMarker->setZ(103);
    timePositionMarker->attach(timePlot);
    spectrogramPositionMarker = makePlaybackLine();
    spectrogramPositionMarker->attach(spectrogramPlot);
    // Attached by the display when it has a text to show; until then the
    // window deletes it (see the destructor).
    spectrogramTextLabel = new QwtPlotTextLabel;
    connect(spectroZoomer, &QwtPlotZoomer::zoomed, this, &MainWindow::spectroZoomed);

    // The colour bar shows the raster's map over the level range in use.
    const QwtInterval levels(spectroMinDb, spectroMaxDb);
    colorBarWidget->setColorMap(levels, colorMapFor(ColorMapBlackGreen));
    spectrogramPlot->setAxisScale(QwtPlot::yRight, levels.minValue(), levels.maxValue());

    SpectrogramInteraction::Parts parts;
    parts.plot = spectrogramPlot;
    parts.zoomer = spectroZoomer;
    parts.selectionPicker = selectionPicker;
    parts.leftEdgePicker = edgePickerLeft;
    parts.rightEdgePicker = edgePickerRight;
    parts.topEdgePicker = edgePickerTop;
    parts.bottomEdgePicker = edgePickerBottom;
    parts.markers = {{frequencyMarker1, frequencyMarker2, frequencyMarker3}};
    parts.markerPickers = {{frequencyMarkerPicker1, frequencyMarkerPicker2, frequencyMarkerPicker3}};
    parts.markerActions = {{ui->actionFrequency_Marker_1, ui->actionFrequency_Marker_2, ui->actionFrequency_Marker_3}};
    parts.measurementRect = selectionRectMarker;
    parts.callMarker = callsMarker;
    parts.categorizationAction = ui->actionCategorization;
    parts.batCalls = &detectedCalls;
    parts.sizeFrame = ui->frame_5;
    spectrogramInteraction = new SpectrogramInteraction(parts, this);

    SpectrogramScroller::Parts scrolled;
    scrolled.spectrogramPlot = spectrogramPlot;
    scrolled.timePlot = timePlot;
    scrolled.zoomer = spectroZoomer;
    scrolled.spectrogramScale = spectrogramScaleItem;
    scrolled.timeScale = timePlotScaleItem;
    scrolled.scrollBar = spectroScrollBar;
    scrolled.bottomSpacer = frequencyPlotBottomSpacer;
    scrolled.scrollBarLayout = ui->gridLayout_17;
    spectrogramScroller = new SpectrogramScroller(scrolled, this);

    colourAxisPlots(false);
    fitPanesToAxisTitles();
}

void MainWindow::fitPanesToAxisTitles()
{
    // Each axis pane keeps the form's minimum and grows where a title needs
    // more, as the settings dialog grows for its texts. The spectrogram's
    // pane takes what the window has left and needs no minimum of its own.
    timePlot->canvas()->setMinimumHeight(canvasLengthForTitles(
        timePlot, QwtPlot::yLeft, {AxisPlotTitle::normalisedAmplitude(), AxisPlotTitle::level()}));
    ui->frame_3->setMinimumHeight(qMax(ui->frame_3->minimumHeight(), timePlot->minimumSizeHint().height()));

    frequencyPlot->canvas()->setMinimumWidth(canvasLengthForTitles(
        frequencyPlot, QwtPlot::xBottom, {AxisPlotTitle::density(), AxisPlotTitle::level()}));
    // The pane beside the time plot keeps the time axis level with the spectrogram's.
    const int frequencyPane = qMax(ui->frame->minimumWidth(), frequencyPlot->minimumSizeHint().width());
    ui->frame->setMinimumWidth(frequencyPane);
    ui->widget_2->setMinimumWidth(qMax(ui->widget_2->minimumWidth(), frequencyPane));
}

void MainWindow::applyStoredMarkers()
{
    QwtPlotMarker *markers[] = {frequencyMarker1, frequencyMarker2, frequencyMarker3};
    for (size_t k = 0; k < SettingKeys::valueMarkers.size(); ++k) {
        const double kHz = readSetting(SettingKeys::valueMarkers[k]);
        markers[k]->setYValue(kHz);
        QwtText label = markers[k]->label();
        label.setText(QString::number(k + 1) + QStringLiteral(": ") + QLocale().toString(kHz, 'f', 1)
                      + QStringLiteral(" kHz"));
        markers[k]->setLabel(label);
    }
    for (size_t k = 0; k < SettingKeys::markersShown.size(); ++k)
        markers[k]->setVisible(readSetting(SettingKeys::markersShown[k]));
}

void MainWindow::applyStoredPlotSettings()
{
    applyStoredMarkers();

    switch (readSetting(SettingKeys::timePlotMode)) {
    case AxisPlotMode::Envelope:
        timePlot->setAxisTitle(QwtPlot::yLeft, AxisPlotTitle::normalisedAmplitude());
        break;
    case AxisPlotMode::CursorLevels:
    case AxisPlotMode::MaximumLevels:
        timePlot->setAxisTitle(QwtPlot::yLeft, AxisPlotTitle::level());
        break;
    default:
        break;
    }
    const int frequencyPlotMode = readSetting(SettingKeys::frequencyPlotMode);
    if (frequencyPlotMode >= AxisPlotMode::Envelope && frequencyPlotMode <= AxisPlotMode::MaximumLevels)
        frequencyPlot->setAxisTitle(QwtPlot::xBottom, AxisPlotTitle::level());
}

// --- Mouse over the spectrogram: the interaction does the work --------------

void MainWindow::mouseMoved(QPointF point)
{
    spectrogramInteraction->mouseMoved(point);
}

void MainWindow::deactivateZoomer(bool on)
{
    spectrogramInteraction->deactivateZoomer(on);
}

void MainWindow::plotSelectionRect(const QPolygon &polygon)
{
    spectrogramInteraction->plotSelectionRect(polygon);
}

void MainWindow::moveSelectorLeft(const QPoint &point)
{
    spectrogramInteraction->moveSelectorLeft(point);
}

void MainWindow::moveSelectorRight(const QPoint &point)
{
    spectrogramInteraction->moveSelectorRight(point);
}

void MainWindow::moveSelectorTop(const QPoint &point)
{
    spectrogramInteraction->moveSelectorTop(point);
}

void MainWindow::moveSelectorBottom(const QPoint &point)
{
    spectrogramInteraction->moveSelectorBottom(point);
}

// A dragged marker stores its new position; the settings dialog reloads so
// that its spin box shows it too.
void MainWindow::moveMarker1(const QPointF &point)
{
    spectrogramInteraction->moveMarker1(point);
    spectroSettingsDialog->loadSettings();
}

void MainWindow::moveMarker2(const QPointF &point)
{
    spectrogramInteraction->moveMarker2(point);
    spectroSettingsDialog->loadSettings();
}

void MainWindow::moveMarker3(const QPointF &point)
{
    spectrogramInteraction->moveMarker3(point);
    spectroSettingsDialog->loadSettings();
}
