#pragma once

#include <QPointF>
#include <QVector>
#include <qwt_interval.h>
#include <qwt_plot.h>

#include <array>

struct EnvelopeCurves;
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
 * empty and the lines hidden. The display hands it what to show through the
 * functions below, none of which replots unless it says so.
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

    // --- What the plot shows ----------------------------------------------------
    /** Takes every curve off the plot and hides the zero line; the axes stay. */
    void clear();
    /** Nothing to show: one second of time over amplitudes -1 to 1. Replots. */
    void showEmpty();
    /**
     * The envelope of blocks of step samples on an amplitude axis from -limit
     * to limit. Its RMS curves only for blocks of more than 10 samples, whose
     * RMS lies far enough inside the extremes to show; the zero line only when
     * every sample is a point, to show where the wave crosses it.
     */
    void showEnvelope(const EnvelopeCurves &curves, int step, double limit);
    /** One level curve, filled down to the lower end of levels, on a level axis over levels. */
    void showLevels(const QVector<QPointF> &points, const QwtInterval &levels);
    /** The level axis over levels before the cursor draws a curve, which is then filled down to -300 dB. */
    void prepareCursorLevels(const QwtInterval &levels);
    /** The levels along the cursor's frequency, filled down to the lower end of levels. */
    void showCursorLevels(const QVector<QPointF> &points, const QwtInterval &levels);
    /** New levels for the level axis, and the level curve filled down to their lower end. */
    void setLevels(const QwtInterval &levels);
    /** The dashed line at the cursor's time. */
    void showCursorLine(double seconds);
    /** Hides the cursor line and, with levelCurve, the level curve; replots when either was shown. */
    void hideCursor(bool levelCurve);
    /** Both time axes over start..end seconds. */
    void setShownSpan(double start, double end);
    /** Where the numbers inside the canvas stand: at the start of the span on view. */
    void setScaleStart(double seconds);
    /** The read-out beside the cursor takes the axes as they are now. Replots. */
    void updateReadout();
    /** The shades before and after a zoomed stretch, and whether they show. */
    void setShading(const QwtInterval &before, const QwtInterval &after);
    void showShading(bool shown);
    void showPlaybackLine(bool shown);
    void movePlaybackLine(double seconds);
    void showGrid(bool on);

private:
    Items m_items;
};
