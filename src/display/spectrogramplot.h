#pragma once

#include <QColor>
#include <QVector>
#include <qwt_interval.h>
#include <qwt_plot.h>

#include <array>

class MyQwtPlotPicker;
class MyQwtZoomer;
class MyRectCallsMarker;
class MyRectRangeMarker;
class QwtMatrixRasterData;
class QwtPlotGrid;
class QwtPlotMarker;
class QwtPlotPicker;
class QwtPlotScaleItem;
class QwtPlotSpectrogram;
class QwtPlotTextLabel;
class QwtScaleWidget;

/**
 * The spectrogram: levels over seconds and kilohertz in the colours of a
 * colour map, the map's bar on the right, the numbers of the frequency axis
 * inside the canvas. It builds and owns its raster, the pickers and the zoomer
 * the mouse works through, the frequency markers and their handles, the
 * measurement rectangle, the box of a call, the playback line and the labels
 * of a categorization. All start empty, hidden or disabled. The display hands
 * it what to show through the functions below, none of which replots unless
 * it says so; SpectrogramInteraction works the pickers and markers.
 */
class SpectrogramPlot : public QwtPlot
{
    Q_OBJECT

public:
    struct Items {
        QwtPlotSpectrogram *raster = nullptr;
        QwtMatrixRasterData *data = nullptr; // the raster's, empty until a spectrogram is shown
        QwtScaleWidget *colourBar = nullptr; // the right axis
        MyQwtZoomer *zoomer = nullptr;
        MyQwtPlotPicker *tracker = nullptr;       // the read-out that follows the mouse
        QwtPlotPicker *selectionPicker = nullptr; // draws the measurement rectangle
        // Drag handles of the measurement rectangle's edges, disabled.
        QwtPlotPicker *leftEdgePicker = nullptr;
        QwtPlotPicker *rightEdgePicker = nullptr;
        QwtPlotPicker *topEdgePicker = nullptr;
        QwtPlotPicker *bottomEdgePicker = nullptr;
        QwtPlotScaleItem *scaleItem = nullptr;
        QwtPlotGrid *grid = nullptr;
        // Markers 1 to 3, hidden, and the handles that drag them, disabled.
        std::array<QwtPlotMarker *, 3> frequencyMarkers{};
        std::array<QwtPlotPicker *, 3> markerPickers{};
        MyRectRangeMarker *measurement = nullptr; // hidden
        MyRectCallsMarker *callBox = nullptr;     // hidden
        QwtPlotMarker *playbackLine = nullptr;    // shown
        QwtPlotTextLabel *verdictLabel = nullptr; // off the plot until a verdict is shown
    };

    /**
     * gridShown: the grid's lines start on. levels: the range in dBFS the
     * colour bar spans until a spectrogram is shown.
     */
    SpectrogramPlot(bool gridShown, const QwtInterval &levels, QWidget *parent = nullptr);
    ~SpectrogramPlot() override;

    /** The plot's own items; they live as long as the plot, on it or off it. */
    const Items &items() const { return m_items; }

    /**
     * The colours of the "colormap" value index: the raster's, the bar's over
     * levels, and those of every line and text drawn over the raster, so that
     * they stay readable against it. False, and nothing changed, for an
     * unknown index. Does not replot.
     */
    bool setColourMap(int index, const QwtInterval &levels);

    /**
     * The least height of the plot at which the titles of the frequency axis
     * and the colour bar fit beside the canvas. The canvas itself keeps no
     * minimum: in a collapsed pane it has no height, and shows no span.
     */
    int heightForAxisTitles() const;

    /** Puts frequency marker 0, 1 or 2 at kHz, labelled "<n>: <kHz> kHz" in the user's locale. */
    void setFrequencyMarker(int marker, double kHz);
    void showFrequencyMarker(int marker, bool shown);
    /** Markers above upper kHz come down to it, so that none lies off the axis. */
    void limitFrequencyMarkers(double upper);

    // --- What the plot shows ----------------------------------------------------
    /**
     * A new recording is on its way: unzoomed, the raster off the plot and
     * empty, no measurement, call box, call labels or verdict.
     */
    void clear();
    /**
     * Nothing to show: an empty raster kept off the plot (Qwt 6.1 cannot
     * render one) over the axes of a recording of the kind raw says.
     */
    void showEmpty(bool raw);
    /** The levels of a reply: columns of them over duration seconds, up to nyquist kHz. Stays off the plot. */
    void setRaster(const QVector<double> &levels, int columns, double duration, double nyquist);
    /** Levels between the raster's points blended (smooth) or the nearest one's. */
    void setSmoothing(bool smooth);
    /** The raster on the plot, the zoomer's way back leading to the axes as they are now. */
    void showRaster();
    /** The raster's levels, which the cursor curves and the axis plots' maxima read. */
    const QwtMatrixRasterData &rasterData() const;
    /**
     * The levels the colours span and the colour bar shows, in the colours
     * of the "colormap" value index (see setColourMap).
     */
    void setLevelRange(int colourMap, const QwtInterval &levels);
    QwtInterval levelRange() const;
    /** Where the numbers inside the canvas stand: at the start of the span on view. */
    void setScaleStart(double seconds);
    bool isZoomed() const;
    /** Back to the zoomer's base; the zoomer reports it, and the view follows. */
    void unzoom();
    /** The zoomer's way back leads to the axes as they are now; replots unless told not to. */
    void takeAxesAsZoomBase(bool doReplot = true);
    /**
     * With the selection tool the left button measures and Escape leaves a
     * zoom; with the zoom tool Shift with the left button measures, Escape
     * drops a measurement being drawn, and the right button zooms out.
     */
    void setSelectionTool(bool selection);
    void hideMeasurement();
    void showPlaybackLine(bool shown);
    void movePlaybackLine(double seconds);
    void showGrid(bool on);

    // --- Categorization -----------------------------------------------------
    /** Whether the spectrogram on show was calculated with categorization; marks it so. */
    bool isCategorized() const;
    void setCategorized(bool categorized);
    /** A call's class written beside it, at at (seconds, kHz) in the colour map's text colour. */
    void addCallLabel(const QString &className, const QPointF &at, bool shown);
    void removeCallLabels();
    /** The recording's verdict, in a box in the canvas's top right corner. */
    void showVerdict(const QString &verdict);
    /** Shows or hides the verdict and the calls' labels. */
    void showCategorization(bool shown);

private:
    Items m_items;
    QColor m_labelColour; // the colour map's text colour; none before a map was chosen
};
