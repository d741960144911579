#include "display/canvasaligner.h"

#include "display/plotkit.h"

#include <QEvent>
#include <QSet>
#include <QTimer>
#include <QVector>
#include <QWidget>
#include <qwt_plot.h>
#include <qwt_scale_draw.h>
#include <qwt_scale_map.h>
#include <qwt_scale_widget.h>

#include <cmath>

namespace {

// Where a time axis's scale begins and ends on the window, in pixels.
struct Span {
    double start = 0.0;
    double end = 0.0;
};

Span spanOnWindow(const QwtPlot *plot, int axis)
{
    const QwtScaleMap map = plot->canvasMap(axis);
    const double left = plot->canvas()->mapTo(plot->window(), QPoint(0, 0)).x();
    return {left + map.p1(), left + map.p2()};
}

// Where a plot's lowest and highest frequency rows stand in the pane that
// holds it: above the pane's foot and below its head, in pixels.
struct Rows {
    double aboveFoot = 0.0;
    double belowHead = 0.0;
};

Rows rowsInPane(const QwtPlot *plot)
{
    const QWidget *pane = plot->parentWidget();
    const QwtScaleMap map = plot->canvasMap(QwtPlot::yLeft);
    const double top = plot->canvas()->mapTo(pane, QPoint(0, 0)).y();
    return {pane->height() - (top + map.p1()), top + map.p2()};
}

// What an axis's scale draw asks for without a minimum, rounded up as the
// layout rounds it.
double naturalExtent(QwtPlot *plot, int axis)
{
    QwtScaleDraw *draw = plot->axisScaleDraw(axis);
    const double minimum = draw->minimumExtent();
    draw->setMinimumExtent(0.0);
    const double natural = std::ceil(draw->extent(plot->axisWidget(axis)->font()));
    draw->setMinimumExtent(minimum);
    return natural;
}

// The whole pixels an axis is wider than its contents ask for: each moves
// the canvas edge beside it one pixel inwards.
int addedExtent(QwtPlot *plot, int axis)
{
    const double natural = naturalExtent(plot, axis);
    return int(qMax(natural, std::ceil(plot->axisScaleDraw(axis)->minimumExtent())) - natural);
}

void setAddedExtent(QwtPlot *plot, int axis, int added)
{
    const double wanted = added > 0 ? naturalExtent(plot, axis) + added : 0.0;
    QwtScaleDraw *draw = plot->axisScaleDraw(axis);
    if (wanted == draw->minimumExtent())
        return;
    draw->setMinimumExtent(wanted);
    plot->updateLayout();
}

// The rows a canvas can give up to the axis below it: those it has without
// the extent added there, less the length the titles of the axes beside it
// take. A window too small for both keeps the titles whole and the canvas of
// a size Qwt draws, and lines the rows up as far as it can.
int rowsToSpare(QwtPlot *plot)
{
    int titles = 0;
    for (int axis : {QwtPlot::yLeft, QwtPlot::yRight}) {
        if (plot->axisEnabled(axis) && !plot->axisTitle(axis).isEmpty())
            titles = qMax(titles, PlotKit::canvasLengthForTitles(plot, axis, {plot->axisTitle(axis).text()}));
    }
    return qMax(0, plot->canvas()->height() + addedExtent(plot, QwtPlot::xBottom) - titles);
}

} // namespace

CanvasAligner::CanvasAligner(const Wiring &wiring, QObject *parent)
    : QObject(parent)
    , m_timePlot(wiring.timePlot)
    , m_spectrogramPlot(wiring.spectrogramPlot)
    , m_rightPane(wiring.rightPane)
    , m_frequencyPlot(wiring.frequencyPlot)
    , m_topSpacer(wiring.topSpacer)
{
    // Every widget between a canvas and the plots' common ancestor moves the
    // canvas on the window when it moves or changes size.
    QVector<QwtPlot *> plots;
    for (QwtPlot *plot : {wiring.timePlot, wiring.spectrogramPlot, wiring.frequencyPlot}) {
        if (plot)
            plots.append(plot);
    }
    QWidget *common = plots.isEmpty() ? nullptr : plots.first();
    for (QwtPlot *plot : plots) {
        QSet<QWidget *> above;
        for (QWidget *w = plot; w; w = w->parentWidget())
            above.insert(w);
        while (common && !above.contains(common))
            common = common->parentWidget();
    }
    for (QwtPlot *plot : plots) {
        for (QWidget *w = plot->canvas(); w && w != common; w = w->parentWidget())
            w->installEventFilter(this);
    }
    if (m_rightPane)
        m_rightPane->installEventFilter(this);
}

bool CanvasAligner::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
        alignLater();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void CanvasAligner::alignLater()
{
    // A move or resize arrives in the middle of a layout pass, which may go
    // on to move the other plot: measured now, the two would not agree yet.
    if (m_pending)
        return;
    m_pending = true;
    QTimer::singleShot(0, this, [this] {
        m_pending = false;
        align();
    });
}

namespace {

// A splitter moves the pane it closes out of the window, and may squeeze the
// plot in it to nothing: measured there, an edge would pull the other plot's
// far out of place.
bool shown(const QwtPlot *plot)
{
    return plot && !plot->visibleRegion().isEmpty() && plot->canvas()->width() > 0 && plot->canvas()->height() > 0;
}

} // namespace

void CanvasAligner::align()
{
    if (!shown(m_spectrogramPlot))
        return;
    alignTimeAxes();
    alignFrequencyAxes();
}

void CanvasAligner::alignTimeAxes()
{
    // Nothing to line up while the time plot's pane is closed; meanwhile the
    // spectrogram takes back the room it gave.
    if (!shown(m_timePlot)) {
        setAddedExtent(m_spectrogramPlot, QwtPlot::yLeft, 0);
        return;
    }
    const Span time = spanOnWindow(m_timePlot, QwtPlot::xTop);
    const Span spectrogramTime = spanOnWindow(m_spectrogramPlot, QwtPlot::xBottom);

    // Left: where each canvas would start without the extent added, and the
    // one further left widened until both start where the other does.
    const double timeStart = time.start - addedExtent(m_timePlot, QwtPlot::yLeft);
    const double spectrogramStart = spectrogramTime.start - addedExtent(m_spectrogramPlot, QwtPlot::yLeft);
    const double start = qMax(timeStart, spectrogramStart);
    setAddedExtent(m_timePlot, QwtPlot::yLeft, qRound(start - timeStart));
    setAddedExtent(m_spectrogramPlot, QwtPlot::yLeft, qRound(start - spectrogramStart));

    // Right: the pane beside the time plot grows by what the time axis
    // overshoots the spectrogram's end, or shrinks by what it falls short.
    if (m_rightPane) {
        const int width = qMax(0, m_rightPane->width() + qRound(time.end - spectrogramTime.end));
        if (width != m_rightPane->minimumWidth() || width != m_rightPane->maximumWidth())
            m_rightPane->setFixedWidth(width);
    }
}

void CanvasAligner::alignFrequencyAxes()
{
    if (!shown(m_frequencyPlot)) {
        setAddedExtent(m_spectrogramPlot, QwtPlot::xBottom, 0);
        return;
    }
    // Measured in each plot's own pane, which the splitter keeps level with
    // the other: while the splitter is still sharing out a new height, one
    // pane may stand laid out and the other not yet, and their rows on the
    // window would differ by what the panes do, not by what the axes do.
    const Rows frequency = rowsInPane(m_frequencyPlot);
    const Rows spectrogram = rowsInPane(m_spectrogramPlot);

    // Bottom: how far each canvas's lowest row would stand above the foot of
    // its pane without the extent added, and the one standing lower raised
    // until both stand as high as the other, as far as it has rows to spare.
    const double frequencyFoot = frequency.aboveFoot - addedExtent(m_frequencyPlot, QwtPlot::xBottom);
    const double spectrogramFoot = spectrogram.aboveFoot - addedExtent(m_spectrogramPlot, QwtPlot::xBottom);
    const double foot = qMax(frequencyFoot, spectrogramFoot);
    const int frequencyRaised = qMin(qRound(foot - frequencyFoot), rowsToSpare(m_frequencyPlot));
    const int spectrogramRaised = qMin(qRound(foot - spectrogramFoot), rowsToSpare(m_spectrogramPlot));
    setAddedExtent(m_frequencyPlot, QwtPlot::xBottom, frequencyRaised);
    setAddedExtent(m_spectrogramPlot, QwtPlot::xBottom, spectrogramRaised);

    // Top: the spacer grows by what the frequency plot's highest row stands
    // above the spectrogram's, or shrinks by what it stands below.
    if (m_topSpacer) {
        const int height = qMax(0, m_topSpacer->height() + qRound(spectrogram.belowHead - frequency.belowHead));
        if (height != m_topSpacer->minimumHeight() || height != m_topSpacer->maximumHeight())
            m_topSpacer->setFixedHeight(height);
    }
}
