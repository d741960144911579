#pragma once

#include <QPointF>
#include <QVector>
#include <qwt_interval.h>
#include <qwt_plot.h>

#include <array>

struct DensityAxis;
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
 * hidden. The display hands it what to show through the functions below,
 * none of which replots unless it says so.
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

    /**
     * Makes the canvas wide enough to write every title the level axis may
     * carry on one line. The axis then takes as many rows below the canvas as
     * the spectrogram's time axis, whose title is one line too: in panes of
     * one height the two canvases end on the same row, however short the
     * panes, with no row taken from either canvas.
     */
    void fitCanvasToAxisTitles();

    // --- What the plot shows ----------------------------------------------------
    /** Takes the curve and the shades off the plot; the axes stay. */
    void clear();
    /** Nothing to show: 0 to 150 kHz over an axis from 1 to 0. */
    void showEmpty();
    /** The power spectral density over its axis, unfilled, the numbers at the axis's right end. */
    void showDensity(const QVector<QPointF> &points, const DensityAxis &axis);
    /** One level curve filled down to the lower end of levels, which run right to left, towards the spectrogram. */
    void showLevels(const QVector<QPointF> &points, const QwtInterval &levels);
    /** The curve the cursor is to draw will be filled. */
    void prepareCursorLevels();
    /** The spectrum at the cursor's time, filled down to the lower end of levels. */
    void showCursorLevels(const QVector<QPointF> &points, const QwtInterval &levels);
    /** New levels for the level axis, the numbers and the fill of the level curve. */
    void setLevels(const QwtInterval &levels);
    /** The dashed line at the cursor's frequency. */
    void showCursorLine(double kHz);
    /** Hides the cursor line; replots when it was shown. */
    void hideCursor();
    /** The shades below and above a zoomed stretch, put on the plot; and whether they show. */
    void setShading(const QwtInterval &below, const QwtInterval &above);
    void showShading(bool shown);
    void showGrid(bool on);

private:
    Items m_items;
};
