#pragma once

#include <qwt_plot.h>

#include <array>

class MyQwtZoomer2;
class QwtPlotCanvas;
class QwtPlotCurve;
class QwtPlotGrid;
class QwtPlotMarker;
class QwtPlotScaleItem;
class RangeMarker;

/**
 * The amplitude/time plot above the spectrogram: amplitude (or level) over
 * the seconds the spectrogram shows, its numbers inside the canvas. It builds
 * and owns its curves, lines, bands, grid, scale item and read-out zoomer, all
 * empty and the lines hidden; the display fills, shows and hides them.
 */
class TimePlot : public QwtPlot
{
    Q_OBJECT

public:
    struct Items {
        QwtPlotCanvas *canvas = nullptr;
        // The envelope's maxima and minima, and its RMS above and below zero
        // in the lighter green; a level curve uses the first alone.
        std::array<QwtPlotCurve *, 4> curves{};
        QwtPlotGrid *grid = nullptr;
        MyQwtZoomer2 *zoomer = nullptr; // read-out only: its zoom stack holds nothing
        QwtPlotScaleItem *scaleItem = nullptr;
        // What lies outside a zoomed spectrogram, before and after it.
        std::array<RangeMarker *, 2> bands{};
        QwtPlotMarker *cursorLine = nullptr;   // the time under the mouse, hidden
        QwtPlotMarker *baseline = nullptr;     // zero, hidden
        QwtPlotMarker *playbackLine = nullptr; // shown
    };

    /** gridShown: the grid's lines start on. */
    explicit TimePlot(bool gridShown, QWidget *parent = nullptr);
    ~TimePlot() override;

    /** The plot's own items; they live as long as the plot, on it or off it. */
    const Items &items() const { return m_items; }

    /** The light or the dark look of the canvas and of what is drawn over the curves; replots. */
    void setColours(bool dark);

    /** Makes the canvas tall enough for every title the amplitude axis may carry. */
    void fitCanvasToAxisTitles();

private:
    Items m_items;
};
