#include "display/canvasaligner.h"

#include <QEvent>
#include <QSet>
#include <QTimer>
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

// What the left axis's scale draw asks for without a minimum, rounded up as
// the layout rounds it.
double naturalExtent(QwtPlot *plot)
{
    QwtScaleDraw *draw = plot->axisScaleDraw(QwtPlot::yLeft);
    const double minimum = draw->minimumExtent();
    draw->setMinimumExtent(0.0);
    const double natural = std::ceil(draw->extent(plot->axisWidget(QwtPlot::yLeft)->font()));
    draw->setMinimumExtent(minimum);
    return natural;
}

// The whole pixels the left axis is wider than its contents ask for: each
// moves the canvas one pixel to the right.
int addedExtent(QwtPlot *plot)
{
    const double natural = naturalExtent(plot);
    return int(qMax(natural, std::ceil(plot->axisScaleDraw(QwtPlot::yLeft)->minimumExtent())) - natural);
}

void setAddedExtent(QwtPlot *plot, int added)
{
    const double wanted = added > 0 ? naturalExtent(plot) + added : 0.0;
    QwtScaleDraw *draw = plot->axisScaleDraw(QwtPlot::yLeft);
    if (wanted == draw->minimumExtent())
        return;
    draw->setMinimumExtent(wanted);
    plot->updateLayout();
}

} // namespace

CanvasAligner::CanvasAligner(const Wiring &wiring, QObject *parent)
    : QObject(parent)
    , m_timePlot(wiring.timePlot)
    , m_spectrogramPlot(wiring.spectrogramPlot)
    , m_rightPane(wiring.rightPane)
{
    // Every widget between a canvas and the plots' common ancestor moves the
    // canvas on the window when it moves or changes size.
    QSet<QWidget *> aboveTime;
    for (QWidget *w = m_timePlot; w; w = w->parentWidget())
        aboveTime.insert(w);
    QWidget *common = m_spectrogramPlot;
    while (common && !aboveTime.contains(common))
        common = common->parentWidget();
    for (QwtPlot *plot : {m_timePlot.data(), m_spectrogramPlot.data()}) {
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

void CanvasAligner::align()
{
    // A splitter moves the pane it closes out of the window, and may squeeze
    // the plot in it to nothing: measured there, an edge would pull the other
    // plot's far out of place. Nothing to line up until the pane opens again;
    // meanwhile the spectrogram takes back the room it gave.
    const auto shown = [](const QwtPlot *plot) {
        return plot && !plot->visibleRegion().isEmpty() && plot->canvas()->width() > 0 && plot->canvas()->height() > 0;
    };
    if (!shown(m_spectrogramPlot))
        return;
    if (!shown(m_timePlot)) {
        setAddedExtent(m_spectrogramPlot, 0);
        return;
    }
    const Span time = spanOnWindow(m_timePlot, QwtPlot::xTop);
    const Span spectrogramTime = spanOnWindow(m_spectrogramPlot, QwtPlot::xBottom);

    // Left: where each canvas would start without the extent added, and the
    // one further left widened until both start where the other does.
    const double timeStart = time.start - addedExtent(m_timePlot);
    const double spectrogramStart = spectrogramTime.start - addedExtent(m_spectrogramPlot);
    const double start = qMax(timeStart, spectrogramStart);
    setAddedExtent(m_timePlot, qRound(start - timeStart));
    setAddedExtent(m_spectrogramPlot, qRound(start - spectrogramStart));

    // Right: the pane beside the time plot grows by what the time axis
    // overshoots the spectrogram's end, or shrinks by what it falls short.
    if (m_rightPane) {
        const int width = qMax(0, m_rightPane->width() + qRound(time.end - spectrogramTime.end));
        if (width != m_rightPane->minimumWidth() || width != m_rightPane->maximumWidth())
            m_rightPane->setFixedWidth(width);
    }
}
