// The main window's three plots put into the form, their items taken into the
// window's members and connected; and the mouse handling over the spectrogram.
#include "app/mainwindow.h"

#include "app/spectrogramsettingsdialog.h"
#include "common/settingskeys.h"
#include "display/axisplotmode.h"
#include "display/canvasaligner.h"
#include "display/myqwtplotpicker.h"
#include "display/myqwtzoomer.h"
#include "display/spectrograminteraction.h"
#include "display/spectrogramscroller.h"
#include "ui_mainwindow.h"

#include <QFrame>
#include <QScrollBar>
#include <qwt_plot_marker.h>
#include <qwt_plot_picker.h>

void MainWindow::setUpPlots()
{
    amplitudeAxisLimit = 1.0f;
    calculating = false;
    const bool gridShown = ui->actionGrid->isChecked();

    // --- Time plot: amplitude over time, above the spectrogram ---------------
    timePlot = new TimePlot(gridShown);
    widgets.timePlotLayout->addWidget(timePlot, 0, 0, 1, 1);
    const TimePlot::Items &time = timePlot->items();
    timePlotCurve1 = time.curves[0];
    timePlotCurve2 = time.curves[1];
    timePlotCurve3 = time.curves[2];
    timePlotCurve4 = time.curves[3];
    timePlotCanvas = time.canvas;
    timePlotGrid = time.grid;
    timePlotZoomer = time.zoomer;
    timePlotScaleItem = time.scaleItem;
    timeRangeMarker1 = time.bands[0];
    timeRangeMarker2 = time.bands[1];
    amplitudePlotMarker = time.cursorLine;
    baselineMarker = time.baseline;
    timePositionMarker = time.playbackLine;

    // --- Frequency plot: level over frequency, left of the spectrogram --------
    frequencyPlot = new FrequencyPlot(gridShown);
    widgets.frequencyPlotLayout->addWidget(frequencyPlot, 1, 0, 1, 1);
    const FrequencyPlot::Items &frequency = frequencyPlot->items();
    frequencyPlotCurve = frequency.curve;
    frequencyPlotCanvas = frequency.canvas;
    frequencyPlotGrid = frequency.grid;
    frequencyPlotZoomer = frequency.zoomer;
    frequencyPlotScaleItem = frequency.scaleItem;
    frequencyPlotMarker = frequency.cursorLine;
    frequencyRangeMarker1 = frequency.bands[0];
    frequencyRangeMarker2 = frequency.bands[1];

    // --- Spectrogram ----------------------------------------------------------
    spectrogramPlot = new SpectrogramPlot(gridShown, QwtInterval(spectroMinDb, spectroMaxDb));
    widgets.spectrogramLayout->addWidget(spectrogramPlot, 0, 0, 1, 1);
    const SpectrogramPlot::Items &spectrogram = spectrogramPlot->items();
    spectrogramItem = spectrogram.raster;
    spectrogramData = spectrogram.data;
    colorBarWidget = spectrogram.colourBar;
    spectroZoomer = spectrogram.zoomer;
    spectroPicker = spectrogram.tracker;
    selectionPicker = spectrogram.selectionPicker;
    edgePickerLeft = spectrogram.leftEdgePicker;
    edgePickerRight = spectrogram.rightEdgePicker;
    edgePickerTop = spectrogram.topEdgePicker;
    edgePickerBottom = spectrogram.bottomEdgePicker;
    spectrogramScaleItem = spectrogram.scaleItem;
    spectrogramGrid = spectrogram.grid;
    frequencyMarker1 = spectrogram.frequencyMarkers[0];
    frequencyMarker2 = spectrogram.frequencyMarkers[1];
    frequencyMarker3 = spectrogram.frequencyMarkers[2];
    frequencyMarkerPicker1 = spectrogram.markerPickers[0];
    frequencyMarkerPicker2 = spectrogram.markerPickers[1];
    frequencyMarkerPicker3 = spectrogram.markerPickers[2];
    selectionRectMarker = spectrogram.measurement;
    callsMarker = spectrogram.callBox;
    spectrogramPositionMarker = spectrogram.playbackLine;
    spectrogramTextLabel = spectrogram.verdictLabel;

    spectroScrollBar = new QScrollBar(Qt::Horizontal, this);
    widgets.spectrogramLayout->addWidget(spectroScrollBar, 1, 0);
    connect(spectroScrollBar, &QScrollBar::valueChanged, this, &MainWindow::spectroScrollBar_valueChanged);

    // The frequency plot's canvas must line up with the spectrogram's, which
    // has the scroll bar below it.
    frequencyPlotTopSpacer = new QFrame(this);
    frequencyPlotTopSpacer->setFrameShape(QFrame::NoFrame);
    frequencyPlotTopSpacer->setMinimumHeight(0);
    frequencyPlotTopSpacer->setMaximumHeight(0);
    widgets.frequencyPlotLayout->addWidget(frequencyPlotTopSpacer, 0, 0);
    frequencyPlotBottomSpacer = new QFrame(this);
    frequencyPlotBottomSpacer->setFrameShape(QFrame::NoFrame);
    widgets.frequencyPlotLayout->addWidget(frequencyPlotBottomSpacer, 2, 0);

    connect(spectroPicker, &MyQwtPlotPicker::mouseMoved, this, &MainWindow::mouseMoved);
    connect(selectionPicker, &QwtPicker::activated, this, &MainWindow::deactivateZoomer);
    connect(selectionPicker, qOverload<const QPolygon &>(&QwtPicker::selected), this, &MainWindow::plotSelectionRect);
    connect(edgePickerLeft, qOverload<const QPoint &>(&QwtPicker::moved), this, &MainWindow::moveSelectorLeft);
    connect(edgePickerRight, qOverload<const QPoint &>(&QwtPicker::moved), this, &MainWindow::moveSelectorRight);
    connect(edgePickerTop, qOverload<const QPoint &>(&QwtPicker::moved), this, &MainWindow::moveSelectorTop);
    connect(edgePickerBottom, qOverload<const QPoint &>(&QwtPicker::moved), this, &MainWindow::moveSelectorBottom);
    connect(frequencyMarkerPicker1, qOverload<const QPointF &>(&QwtPlotPicker::moved), this, &MainWindow::moveMarker1);
    connect(frequencyMarkerPicker2, qOverload<const QPointF &>(&QwtPlotPicker::moved), this, &MainWindow::moveMarker2);
    connect(frequencyMarkerPicker3, qOverload<const QPointF &>(&QwtPlotPicker::moved), this, &MainWindow::moveMarker3);
    connect(spectroZoomer, &QwtPlotZoomer::zoomed, this, &MainWindow::spectroZoomed);

    SpectrogramInteraction::Wiring interaction;
    interaction.plot = spectrogramPlot;
    interaction.markerActions = {
        {ui->actionFrequency_Marker_1, ui->actionFrequency_Marker_2, ui->actionFrequency_Marker_3}};
    interaction.categorizationAction = ui->actionCategorization;
    interaction.batCalls = &detectedCalls;
    interaction.sizeFrame = widgets.spectrogramPane;
    spectrogramInteraction = new SpectrogramInteraction(interaction, this);

    SpectrogramScroller::Wiring scrolled;
    scrolled.spectrogramPlot = spectrogramPlot;
    scrolled.timePlot = timePlot;
    scrolled.scrollBar = spectroScrollBar;
    scrolled.bottomSpacer = frequencyPlotBottomSpacer;
    scrolled.scrollBarLayout = widgets.spectrogramLayout;
    spectrogramScroller = new SpectrogramScroller(scrolled, this);

    // The time axes one above the other, 0 s over 0 s and the end over the
    // end: the pane right of the time plot takes what the colour bar leaves.
    // The frequency axes side by side, each kilohertz on one row.
    CanvasAligner::Wiring aligned;
    aligned.timePlot = timePlot;
    aligned.spectrogramPlot = spectrogramPlot;
    aligned.rightPane = widgets.timePlotRightMargin;
    aligned.frequencyPlot = frequencyPlot;
    aligned.topSpacer = frequencyPlotTopSpacer;
    new CanvasAligner(aligned, this);

    // The panes take all the height the window can spare. The spacer under
    // them only keeps the start logo at the window's foot: sharing the room
    // with it, the plots would stop at the height they ask for once the lists
    // close, and leave an empty band below.
    ui->verticalLayout->setStretchFactor(widgets.splitterMain, 1);

    fitPanesToAxisTitles();
}

void MainWindow::fitPanesToAxisTitles()
{
    // Each plot's pane keeps the form's minimum and grows where a title needs
    // more, as the settings dialog grows for its texts.
    timePlot->fitCanvasToAxisTitles();
    widgets.timePlotPane->setMinimumHeight(
        qMax(widgets.timePlotPane->minimumHeight(), timePlot->minimumSizeHint().height()));

    // A scroll bar, when a long recording shows one, takes its room from the spectrogram.
    widgets.spectrogramPane->setMinimumHeight(
        qMax(widgets.spectrogramPane->minimumHeight(), spectrogramPlot->heightForAxisTitles()));
    // A window too short for the panes' minimums still gives them less, and a
    // pane then keeps its minimum and reaches past the splitter's edge: the
    // spectrogram's would reach further than the frequency plot's, which keeps
    // none, and their rows would part. The splitter holding both keeps the
    // spectrogram's minimum instead, and gives both panes one height.
    widgets.splitterFrequencyPlot->setMinimumHeight(widgets.spectrogramPane->minimumHeight());

    frequencyPlot->fitCanvasToAxisTitles();
    // The pane beside the time plot keeps the time axis level with the spectrogram's.
    const int frequencyPane = qMax(widgets.frequencyPlotPane->minimumWidth(), frequencyPlot->minimumSizeHint().width());
    widgets.frequencyPlotPane->setMinimumWidth(frequencyPane);
    widgets.timePlotLeftMargin->setMinimumWidth(qMax(widgets.timePlotLeftMargin->minimumWidth(), frequencyPane));
}

void MainWindow::applyStoredMarkers()
{
    for (size_t k = 0; k < SettingKeys::valueMarkers.size(); ++k)
        spectrogramPlot->setFrequencyMarker(int(k), readSetting(SettingKeys::valueMarkers[k]));
    for (size_t k = 0; k < SettingKeys::markersShown.size(); ++k)
        spectrogramPlot->showFrequencyMarker(int(k), readSetting(SettingKeys::markersShown[k]));
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
