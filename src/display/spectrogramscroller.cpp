#include "display/spectrogramscroller.h"

#include "common/settingskeys.h"
#include "display/spectrogramplot.h"
#include "display/timeplot.h"
#include "display/viewranges.h"

#include <QFrame>
#include <QGridLayout>
#include <QScrollBar>

#include <cmath>

SpectrogramScroller::SpectrogramScroller(const Wiring &wiring, QObject *parent)
    : QObject(parent)
    , p(wiring)
{
    sizeSpacer();
}

double SpectrogramScroller::showFromStart(double duration, double frequencySpan, double secondsPerColumn)
{
    const int mode = readSetting(SettingKeys::fixedXScale);
    const QRect canvas = p.spectrogramPlot->canvas()->contentsRect();
    // A canvas without height (a collapsed pane, or one not laid out yet)
    // gives no aspect span: show the whole recording until the canvas gets
    // its size and fitToCanvas takes over.
    const double span = visibleTimeSpan(mode, duration, readSetting(SettingKeys::fixedDuration), canvas.width(),
                                        canvas.height(), frequencySpan, readSetting(SettingKeys::timeAxisAspectRatio))
                            .value_or(duration);
    keepScrollBarRoom(mode == TimeAxisMode::FixedAspectRatio);
    const std::optional<ScrollRange> scroll = scrollRange(duration, span, secondsPerColumn);
    if (scroll && scroll->needed)
        showScrollBar(*scroll);
    else
        hideScrollBar();
    p.spectrogramPlot->setAxisScale(QwtPlot::xBottom, 0.0, span);
    return span;
}

void SpectrogramScroller::fitToCanvas(double duration, double secondsPerColumn)
{
    if (readSetting(SettingKeys::fixedXScale) != TimeAxisMode::FixedAspectRatio)
        return;
    // The mode may have been chosen after the last spectrogram was drawn.
    keepScrollBarRoom(true);
    // Back to the zoom base first: the span and its left edge are those of the unzoomed view.
    p.spectrogramPlot->unzoom();
    p.spectrogramPlot->updateAxes();
    const QRect contents = p.spectrogramPlot->canvas()->contentsRect();
    FixedAspectInput in;
    in.duration = duration;
    in.canvasWidth = contents.width();
    // The bar keeps its room while hidden in this mode, so the height is the
    // one the canvas keeps whether or not the bar shows.
    in.canvasHeight = contents.height();
    in.frequencySpan = p.spectrogramPlot->axisInterval(QwtPlot::yLeft).width();
    in.aspectRatio = readSetting(SettingKeys::timeAxisAspectRatio);
    in.left = p.spectrogramPlot->axisInterval(QwtPlot::xBottom).minValue();
    in.secondsPerColumn = secondsPerColumn;

    const std::optional<FixedAspectView> view = fixedAspectView(in);
    if (!view)
        return; // keep the last valid view
    if (view->scroll.needed)
        showScrollBar(view->scroll);
    else
        hideScrollBar();
    p.spectrogramPlot->setAxisScale(QwtPlot::xBottom, view->axisMin, view->axisMax);
    p.spectrogramPlot->replot();
    p.timePlot->setShownSpan(view->axisMin, view->axisMax);
    p.timePlot->replot();
    p.spectrogramPlot->takeAxesAsZoomBase(false);
    emit spanChanged(view->axisMin, view->axisMax);
}

void SpectrogramScroller::scrollTo(int value, double duration, double secondsPerColumn)
{
    if (!std::isfinite(duration))
        return; // no recording on show: nothing to scroll through
    const QRect canvas = p.spectrogramPlot->canvas()->contentsRect();
    // In the whole-recording mode the bar is hidden; should its value change
    // all the same, the whole recording stays on view.
    const std::optional<double> span =
        visibleTimeSpan(readSetting(SettingKeys::fixedXScale), duration, readSetting(SettingKeys::fixedDuration),
                        canvas.width(), canvas.height(), p.spectrogramPlot->axisInterval(QwtPlot::yLeft).width(),
                        readSetting(SettingKeys::timeAxisAspectRatio));
    if (!span)
        return; // nothing sound to divide by yet: keep the last valid view
    const double start = value * secondsPerColumn;
    const double end = start + *span;

    p.spectrogramPlot->setAxisScale(QwtPlot::xBottom, start, end);
    p.spectrogramPlot->setScaleStart(start);
    p.spectrogramPlot->replot();
    p.spectrogramPlot->takeAxesAsZoomBase(false);

    p.timePlot->setShownSpan(start, end);
    p.timePlot->setScaleStart(start);
    p.timePlot->replot();
    emit spanChanged(start, end);
}

void SpectrogramScroller::keepScrollBarRoom(bool keep)
{
    for (QWidget *w : {static_cast<QWidget *>(p.scrollBar), static_cast<QWidget *>(p.bottomSpacer)}) {
        QSizePolicy policy = w->sizePolicy();
        if (policy.retainSizeWhenHidden() == keep)
            continue;
        policy.setRetainSizeWhenHidden(keep);
        w->setSizePolicy(policy);
        // At once, not on the next pass of the event loop: a span worked out
        // from the canvas now must be that of the height it keeps. Left to
        // showing the bar, the layout would shrink the canvas in the middle
        // of fitting the span to it, and the stale span would win.
        if (QLayout *layout = w->parentWidget() ? w->parentWidget()->layout() : nullptr)
            layout->activate();
    }
}

void SpectrogramScroller::sizeSpacer()
{
    // The height the layout gives the bar, laid out or not: a bar never shown
    // still has the construction-time height of an unplaced widget, though its
    // room, kept while hidden, is its size hint.
    const QWidget *bar = p.scrollBar;
    const int barHeight = qBound(bar->minimumHeight(), bar->sizeHint().height(), bar->maximumHeight());
    const int height = qMax(0, p.scrollBarLayout->verticalSpacing()) + barHeight;
    p.bottomSpacer->setMaximumHeight(height);
    p.bottomSpacer->setMinimumHeight(height);
}

void SpectrogramScroller::showScrollBar(const ScrollRange &range)
{
    p.scrollBar->setMinimum(0);
    p.scrollBar->setMaximum(range.maximum);
    p.scrollBar->setValue(0);
    p.scrollBar->setPageStep(range.pageStep);
    p.scrollBar->setSingleStep(range.singleStep);
    p.scrollBar->show();
    sizeSpacer();
    p.bottomSpacer->show();
}

void SpectrogramScroller::hideScrollBar()
{
    sizeSpacer();
    p.scrollBar->hide();
    p.bottomSpacer->hide();
}
