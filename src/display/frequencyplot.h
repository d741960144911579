#pragma once

#include <qwt_plot.h>

#include <array>

class MyQwtZoomer10;
class QwtPlotCanvas;
class QwtPlotCurve;
class QwtPlotGrid;
class QwtPlotMarker;
class QwtPlotScaleItem;
class RangeMarker;

/**
 * The frequency plot left of the spectrogram: density or level over the
 * kilohertz the spectrogram shows, frequency running up as there, its
 * numbers inside the canvas. It builds and owns its curve, cursor line,
 * bands, grid, scale item and read-out zoomer, all empty and the line
 * hidden; the display fills, shows and hides them.
 */
class FrequencyPlot : public QwtPlot
{
    Q_OBJECT

public:
    struct Items {
        QwtPlotCanvas *canvas = nullptr;
        QwtPlotCurve *curve = nullptr;
        QwtPlotGrid *grid = nullptr;
        MyQwtZoomer10 *zoomer = nullptr; // read-out only: its zoom stack holds nothing
        QwtPlotScaleItem *scaleItem = nullptr;
        QwtPlotMarker *cursorLine = nullptr; // the frequency under the mouse, hidden
        // What lies outside a zoomed spectrogram, below and above it.
        std::array<RangeMarker *, 2> bands{};
    };

    /** gridShown: the grid's lines start on. */
    explicit FrequencyPlot(bool gridShown, QWidget *parent = nullptr);
    ~FrequencyPlot() override;

    /** The plot's own items; they live as long as the plot, on it or off it. */
    const Items &items() const { return m_items; }

    /** The light or the dark look of the canvas and of what is drawn over the curve; replots. */
    void setColours(bool dark);

    /** Makes the canvas wide enough for every title the level axis may carry. */
    void fitCanvasToAxisTitles();

private:
    Items m_items;
};
