#include "display/spectrogramplot.h"

#include "display/colourscheme.h"
#include "display/myqwtplotpicker.h"
#include "display/myqwtzoomer.h"
#include "display/myrectcallsmarker.h"
#include "display/myrectrangemarker.h"
#include "display/plotkit.h"
#include "display/rasterimage.h"

#include <QLocale>
#include <QPainter>
#include <qwt_color_map.h>
#include <qwt_matrix_raster_data.h>
#include <qwt_picker_machine.h>
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

// Items found by title: the display and the colour maps reach every label of
// a categorization, and only those.
const QString callLabelTitle = QStringLiteral("Blob");
const QString categorizedTitle = QStringLiteral("categorizeMarker");

// Edge and frequency-marker drag handles: a press grabs, the drag reports
// every move, nothing is drawn. Disabled until the cursor is on their line
// (see SpectrogramInteraction).
QwtPlotPicker *makeDragPointPicker(QWidget *canvas)
{
    auto *picker =
        new QwtPlotPicker(QwtPlot::xBottom, QwtPlot::yLeft, QwtPicker::NoRubberBand, QwtPicker::AlwaysOff, canvas);
    picker->setStateMachine(new QwtPickerDragPointMachine);
    picker->setEnabled(false);
    return picker;
}

void disableKeyPatterns(QwtEventPattern *pattern, std::initializer_list<QwtEventPattern::KeyPatternCode> codes)
{
    for (QwtEventPattern::KeyPatternCode code : codes)
        pattern->setKeyPattern(code, 0);
}

// The raster as Qwt draws it, except where Qwt 6.1 cannot: it renders an
// image as many pixels wide (and high) as the rounded ends of the recording
// on the canvas are apart, and maps an image of one pixel onto a scale of no
// length, reading the levels at NaN, far outside the matrix. A recording that
// covers a pixel or less of the canvas (a short one in a long fixed span, or
// a canvas squeezed to a few rows) would show as a sliver at most; the canvas
// shows its background there instead.
// Where a pixel spans several cells it shows the loudest of them, not the one
// Qwt would read at its centre (see loudestRasterImage).
class RasterItem : public QwtPlotSpectrogram
{
public:
    void draw(QPainter *painter, const QwtScaleMap &xMap, const QwtScaleMap &yMap,
              const QRectF &canvasRect) const override
    {
        // On the paint device, as Qwt measures it.
        const QTransform &device = painter->transform();
        const QPointF first = device.map(QPointF(xMap.p1(), yMap.p1()));
        const QPointF last = device.map(QPointF(xMap.p2(), yMap.p2()));
        QwtScaleMap x = xMap;
        x.setPaintInterval(first.x(), last.x());
        QwtScaleMap y = yMap;
        y.setPaintInterval(first.y(), last.y());
        QRectF shown = QwtScaleMap::invTransform(x, y, device.mapRect(canvasRect));
        if (boundingRect().isValid())
            shown &= boundingRect();
        const QRectF pixels = QwtScaleMap::transform(x, y, shown);
        if (qRound(pixels.right()) - qRound(pixels.left()) < 2 || qRound(pixels.bottom()) - qRound(pixels.top()) < 2)
            return;
        QwtPlotSpectrogram::draw(painter, xMap, yMap, canvasRect);
    }

protected:
    QImage renderImage(const QwtScaleMap &xMap, const QwtScaleMap &yMap, const QRectF &area,
                       const QSize &imageSize) const override
    {
        const auto *matrix = dynamic_cast<const QwtMatrixRasterData *>(data());
        const QwtColorMap *colours = colorMap();
        if (!matrix || !colours || colours->format() != QwtColorMap::RGB || imageSize.isEmpty()
            || !matrix->interval(Qt::ZAxis).isValid())
            return QwtPlotSpectrogram::renderImage(xMap, yMap, area, imageSize);
        return loudestRasterImage(*matrix, *colours, xMap, yMap, imageSize);
    }
};

void removeItemsTitled(QwtPlot *plot, const QString &title)
{
    // Copy: detaching changes the plot's item list.
    const QwtPlotItemList items = plot->itemList();
    for (QwtPlotItem *item : items) {
        if (item->title().text() == title) {
            item->detach();
            delete item;
        }
    }
}

} // namespace

SpectrogramPlot::SpectrogramPlot(bool gridShown, const QwtInterval &levels, QWidget *parent)
    : QwtPlot(parent)
{
    using namespace PlotKit;
    const QFont font = PlotKit::axisFont();
    Items &d = m_items;

    d.raster = new RasterItem;
    setContentsMargins(0, 0, 0, 0);
    plotLayout()->setAlignCanvasToScales(true);
    makeCanvas(this, Qt::black);
    d.raster->setRenderThreadCount(0); // as many threads as the machine has
    d.raster->setCachePolicy(QwtPlotRasterItem::PaintCache);
    d.raster->attach(this);
    d.raster->setColorMap(colorMapFor(ColorMapBlackGreen));

    setAxisFont(QwtPlot::xBottom, font);
    setAxisTitle(QwtPlot::xBottom, QStringLiteral("Time in s"));
    setAxisFont(QwtPlot::yLeft, font);
    setAxisTitle(QwtPlot::yLeft, QStringLiteral("Frequency in kHz"));
    showTitleOnly(this, QwtPlot::yLeft);
    enableAxis(QwtPlot::yLeft, true);
    enableAxis(QwtPlot::yRight, true);
    d.colourBar = axisWidget(QwtPlot::yRight);
    d.colourBar->setColorBarEnabled(true);
    d.colourBar->setColorBarWidth(15);
    setAxisFont(QwtPlot::yRight, font);
    setAxisTitle(QwtPlot::yRight, QStringLiteral("Amplitude in dBFS"));
    d.data = new QwtMatrixRasterData;
    d.raster->setData(d.data);

    // Each picker filters the canvas's events while it is enabled, the one
    // enabled last seeing them first: the order below is the order they start in.
    d.zoomer = new MyQwtZoomer(canvas());
    d.zoomer->setRubberBandPen(QPen(Qt::white));
    d.zoomer->setTrackerPen(QPen(Qt::white));
    d.zoomer->setTrackerMode(QwtPicker::AlwaysOff);
    // The arrow keys and Home belong to the window's own shortcuts.
    disableKeyPatterns(d.zoomer, {QwtEventPattern::KeyUp, QwtEventPattern::KeyDown, QwtEventPattern::KeyLeft,
                                  QwtEventPattern::KeyRight, QwtEventPattern::KeyHome});
    d.zoomer->setMousePattern(QwtEventPattern::MouseSelect3, Qt::NoButton);

    d.tracker = new MyQwtPlotPicker(canvas());
    d.tracker->setRubberBandPen(QPen(Qt::white));
    d.tracker->setTrackerPen(QPen(Qt::white));
    d.tracker->setTrackerMode(QwtPicker::AlwaysOn);
    disableKeyPatterns(d.tracker, {QwtEventPattern::KeyUp, QwtEventPattern::KeyDown, QwtEventPattern::KeyLeft,
                                   QwtEventPattern::KeyRight});
    d.tracker->setMousePattern(QwtEventPattern::MouseSelect3, Qt::NoButton);

    d.selectionPicker = new QwtPlotPicker(canvas());
    d.selectionPicker->setStateMachine(new QwtPickerDragRectMachine);
    d.selectionPicker->setRubberBand(QwtPicker::RectRubberBand);
    d.selectionPicker->setRubberBandPen(
        QPen(QBrush(Qt::red, Qt::SolidPattern), 1.0, Qt::DashLine, Qt::SquareCap, Qt::BevelJoin));
    d.selectionPicker->setTrackerPen(QPen(Qt::green));
    d.selectionPicker->setTrackerMode(QwtPicker::AlwaysOff);
    d.selectionPicker->setKeyPattern(QwtEventPattern::KeySelect1, 0);
    // Shift with the left button until the selection tool makes the left button alone select.
    d.selectionPicker->setMousePattern(QwtEventPattern::MouseSelect1, Qt::LeftButton, Qt::ShiftModifier);

    d.leftEdgePicker = makeDragPointPicker(canvas());
    d.rightEdgePicker = makeDragPointPicker(canvas());
    d.topEdgePicker = makeDragPointPicker(canvas());
    d.bottomEdgePicker = makeDragPointPicker(canvas());

    d.scaleItem = attachScaleItem(this, QwtScaleDraw::RightScale, font);
    d.scaleItem->setPalette(QPalette(Qt::black));

    d.grid = new QwtPlotGrid;
    d.grid->setPen(QPen(QColor(255, 255, 255, 50)));
    d.grid->enableX(gridShown);
    d.grid->enableY(gridShown);
    d.grid->attach(this);

    for (size_t k = 0; k < d.frequencyMarkers.size(); ++k) {
        auto *marker = new QwtPlotMarker(QString());
        marker->setLineStyle(QwtPlotMarker::HLine);
        marker->setLinePen(QPen(Qt::white, 0, Qt::DashLine));
        marker->setValue(0.0, 0.0);
        marker->setLabelAlignment(Qt::AlignRight | Qt::AlignBottom);
        marker->attach(this);
        marker->hide();
        d.frequencyMarkers[k] = marker;
        d.markerPickers[k] = makeDragPointPicker(canvas());
    }

    d.measurement = new MyRectRangeMarker;
    d.measurement->setZ(102);
    d.measurement->attach(this);
    d.measurement->hide();
    d.callBox = new MyRectCallsMarker;
    d.callBox->setZ(102);
    d.callBox->attach(this);
    d.callBox->hide();
    d.playbackLine = makePlaybackLine();
    d.playbackLine->attach(this);
    d.verdictLabel = new QwtPlotTextLabel;

    // The colour bar shows the raster's map over the level range in use.
    d.colourBar->setColorMap(levels, colorMapFor(ColorMapBlackGreen));
    setAxisScale(QwtPlot::yRight, levels.minValue(), levels.maxValue());
}

SpectrogramPlot::~SpectrogramPlot()
{
    const Items &d = m_items;
    PlotKit::deleteItemsOffPlot({d.raster, d.scaleItem, d.grid, d.frequencyMarkers[0], d.frequencyMarkers[1],
                                 d.frequencyMarkers[2], d.measurement, d.callBox, d.playbackLine, d.verdictLabel});
}

int SpectrogramPlot::heightForAxisTitles() const
{
    const int frequencyAxis = PlotKit::canvasLengthForTitles(this, QwtPlot::yLeft, {axisTitle(QwtPlot::yLeft).text()});
    const int colourBar = PlotKit::canvasLengthForTitles(this, QwtPlot::yRight, {axisTitle(QwtPlot::yRight).text()});
    // Qwt's least size wraps the time axis's title as on the narrowest axis
    // it could get: the pane is never that narrow, and the title keeps one
    // line. Above the canvas the colour bar's top label reaches out by half.
    const QwtScaleWidget *time = axisWidget(QwtPlot::xBottom);
    int start = 0;
    int end = 0;
    m_items.colourBar->getBorderDistHint(start, end);
    return qMax(frequencyAxis, colourBar) + time->dimForLength(QWIDGETSIZE_MAX, time->font()) + qMax(start, end);
}

bool SpectrogramPlot::setColourMap(int index, const QwtInterval &levels)
{
    ColourScheme s;
    if (!ColourScheme::forIndex(index, &s))
        return false;
    const Items &d = m_items;
    d.raster->setColorMap(colorMapFor(index));
    setCanvasBackground(QBrush(s.canvasBackground));
    d.tracker->setTrackerPen(QPen(s.pickerTrackerPen));
    d.scaleItem->setPalette(QPalette(s.scaleItemColour));
    d.zoomer->setRubberBandPen(QPen(s.zoomerRubberBandPen));
    d.zoomer->setTrackerPen(QPen(s.zoomerTrackerPen));
    d.grid->setPen(QPen(s.gridPen));
    for (QwtPlotMarker *marker : d.frequencyMarkers)
        marker->setLinePen(QPen(s.frequencyMarkerPen, 0, Qt::DashLine));
    m_labelColour = s.blobTextColour;
    for (QwtPlotItem *item : itemList()) {
        if (item->title().text() != callLabelTitle)
            continue;
        if (auto *marker = dynamic_cast<QwtPlotMarker *>(item)) {
            QwtText label = marker->label();
            label.setColor(m_labelColour);
            marker->setLabel(label);
        }
    }
    // The bar and the raster each delete their own map: they must not share one.
    d.colourBar->setColorMap(levels, colorMapFor(index));
    return true;
}

void SpectrogramPlot::showGrid(bool on)
{
    PlotKit::showGrid(m_items.grid, on);
}

void SpectrogramPlot::setFrequencyMarker(int marker, double kHz)
{
    QwtPlotMarker *m = m_items.frequencyMarkers.at(size_t(marker));
    m->setYValue(kHz);
    QwtText label = m->label();
    label.setText(QString::number(marker + 1) + QStringLiteral(": ") + QLocale().toString(kHz, 'f', 1)
                  + QStringLiteral(" kHz"));
    m->setLabel(label);
}

bool SpectrogramPlot::isCategorized() const
{
    for (const QwtPlotItem *item : itemList()) {
        if (item->title().text() == categorizedTitle)
            return true;
    }
    return false;
}

void SpectrogramPlot::setCategorized(bool categorized)
{
    removeItemsTitled(this, categorizedTitle);
    if (!categorized)
        return;
    // Draws nothing: where it lies off the axes, it only marks the plot.
    auto *mark = new QwtPlotMarker(categorizedTitle);
    mark->setLabel(QwtText(QString()));
    mark->setValue(-100.0, -100.0);
    mark->attach(this);
}

void SpectrogramPlot::addCallLabel(const QString &className, const QPointF &at, bool shown)
{
    auto *label = new QwtPlotMarker(callLabelTitle);
    QwtText text(className);
    if (m_labelColour.isValid())
        text.setColor(m_labelColour);
    label->setLabel(text);
    label->setLabelAlignment(Qt::AlignRight);
    label->setValue(at);
    label->setRenderHint(QwtPlotItem::RenderAntialiased, true);
    label->attach(this);
    label->setVisible(shown);
}

void SpectrogramPlot::removeCallLabels()
{
    removeItemsTitled(this, callLabelTitle);
}

void SpectrogramPlot::showVerdict(const QString &verdict)
{
    QwtText text(QStringLiteral(" ") + verdict + QStringLiteral(" "));
    text.setRenderFlags(Qt::AlignRight | Qt::AlignTop);
    text.setColor(Qt::black);
    QColor background(Qt::white);
    background.setAlpha(200);
    text.setBackgroundBrush(QBrush(background));
    QFont font = text.font();
    font.setWeight(QFont::Bold);
    text.setFont(font);
    m_items.verdictLabel->setText(text);
    m_items.verdictLabel->setMargin(10);
    m_items.verdictLabel->attach(this);
}

void SpectrogramPlot::showCategorization(bool shown)
{
    m_items.verdictLabel->setVisible(shown);
    for (QwtPlotItem *item : itemList()) {
        if (item->title().text() == callLabelTitle)
            item->setVisible(shown);
    }
}

void SpectrogramPlot::showFrequencyMarker(int marker, bool shown)
{
    m_items.frequencyMarkers.at(size_t(marker))->setVisible(shown);
}

void SpectrogramPlot::limitFrequencyMarkers(double upper)
{
    for (QwtPlotMarker *marker : m_items.frequencyMarkers) {
        if (marker->yValue() > upper)
            marker->setYValue(upper);
    }
}

void SpectrogramPlot::clear()
{
    const Items &d = m_items;
    d.zoomer->zoom(0);
    d.measurement->hide();
    d.callBox->hide();
    removeCallLabels();
    d.verdictLabel->detach();
    d.raster->detach();
    d.zoomer->setMaxStackDepth(0);
    d.data->setValueMatrix(QVector<double>(1, 0.0), 0);
    d.raster->setData(d.data);
}

void SpectrogramPlot::showEmpty(bool raw)
{
    const Items &d = m_items;
    d.raster->detach();
    d.data->setValueMatrix(QVector<double>(1, 0.0), 0);
    d.data->setInterval(Qt::XAxis, QwtInterval(0.0, raw ? 0.1 : 1.0));
    d.data->setInterval(Qt::YAxis, QwtInterval(0.0, raw ? 10000.0 : 150.0));
    setAxisScale(QwtPlot::xBottom, 0.0, 1.0);
    setAxisScale(QwtPlot::yLeft, 0.0, raw ? 100000.0 : 150.0);
    d.raster->setData(d.data);
    d.zoomer->setZoomBase();
    d.zoomer->setMaxStackDepth(0);
    d.scaleItem->setPosition(0.0);
}

void SpectrogramPlot::setRaster(const QVector<double> &levels, int columns, double duration, double nyquist)
{
    m_items.data->setValueMatrix(levels, columns);
    m_items.data->setInterval(Qt::XAxis, QwtInterval(0.0, duration));
    m_items.data->setInterval(Qt::YAxis, QwtInterval(0.0, nyquist));
}

void SpectrogramPlot::setSmoothing(bool smooth)
{
    m_items.data->setResampleMode(smooth ? QwtMatrixRasterData::BilinearInterpolation
                                         : QwtMatrixRasterData::NearestNeighbour);
    // The raster keeps its last picture until told that its data changed.
    m_items.raster->invalidateCache();
}

void SpectrogramPlot::showRaster()
{
    const Items &d = m_items;
    d.raster->setData(d.data);
    d.zoomer->setZoomBase();
    d.zoomer->setMaxStackDepth(4);
    d.raster->attach(this);
    d.scaleItem->setPosition(0.0);
}

const QwtMatrixRasterData &SpectrogramPlot::rasterData() const
{
    return *m_items.data;
}

void SpectrogramPlot::setLevelRange(int colourMap, const QwtInterval &levels)
{
    setColourMap(colourMap, levels);
    m_items.data->setInterval(Qt::ZAxis, levels);
    // The raster keeps its last picture until told that its levels changed.
    m_items.raster->invalidateCache();
    setAxisScale(QwtPlot::yRight, levels.minValue(), levels.maxValue());
}

QwtInterval SpectrogramPlot::levelRange() const
{
    return m_items.data->interval(Qt::ZAxis);
}

void SpectrogramPlot::setScaleStart(double seconds)
{
    m_items.scaleItem->setPosition(seconds);
}

bool SpectrogramPlot::isZoomed() const
{
    return m_items.zoomer->zoomRectIndex() != 0;
}

void SpectrogramPlot::unzoom()
{
    m_items.zoomer->zoom(0);
}

void SpectrogramPlot::takeAxesAsZoomBase(bool doReplot)
{
    m_items.zoomer->setZoomBase(doReplot);
}

void SpectrogramPlot::setSelectionTool(bool selection)
{
    QwtPlotPicker *picker = m_items.selectionPicker;
    MyQwtZoomer *zoomer = m_items.zoomer;
    if (selection) {
        picker->setMousePattern(QwtEventPattern::MouseSelect1, Qt::LeftButton);
        picker->setKeyPattern(QwtEventPattern::KeyAbort, 0);
        zoomer->setMousePattern(QwtEventPattern::MouseSelect1, Qt::LeftButton, Qt::ShiftModifier);
        zoomer->setMousePattern(QwtEventPattern::MouseSelect2, Qt::NoButton);
        zoomer->setKeyPattern(QwtEventPattern::KeyHome, Qt::Key_Escape);
    } else {
        picker->setMousePattern(QwtEventPattern::MouseSelect1, Qt::LeftButton, Qt::ShiftModifier);
        picker->setKeyPattern(QwtEventPattern::KeyAbort, Qt::Key_Escape);
        zoomer->setMousePattern(QwtEventPattern::MouseSelect1, Qt::LeftButton);
        zoomer->setMousePattern(QwtEventPattern::MouseSelect2, Qt::RightButton);
        zoomer->setKeyPattern(QwtEventPattern::KeyHome, 0);
    }
}

void SpectrogramPlot::hideMeasurement()
{
    m_items.measurement->hide();
}

void SpectrogramPlot::showPlaybackLine(bool shown)
{
    m_items.playbackLine->setVisible(shown);
}

void SpectrogramPlot::movePlaybackLine(double seconds)
{
    m_items.playbackLine->setXValue(seconds);
}
