#pragma once

#include <QColor>
#include <QVector>
#include <qwt_interval.h>

class QwtColorMap;
class QwtPlot;
class QwtPlotSpectrogram;
class QwtPlotPicker;
class QwtPlotScaleItem;
class QwtPlotZoomer;
class QwtPlotGrid;
class QwtPlotMarker;
class QwtScaleWidget;

// Index of the "colormap" setting; the values are the rows of the settings
// dialog's colour-map list.
enum ColorMapIndex {
    ColorMapBlackGreen = 0,
    ColorMapBlackWhite = 1,
    ColorMapJetIndex = 2,
    ColorMapExtendedJet = 3
};

// The colours that keep lines and texts on the spectrogram readable against
// one colour map's dark or light end.
struct ColourScheme {
    QColor canvasBackground;
    QColor pickerTrackerPen;
    QColor scaleItemColour;
    QColor zoomerRubberBandPen;
    QColor zoomerTrackerPen;
    QColor gridPen;          // carries its alpha: the grid must not hide the calls
    QColor frequencyMarkerPen;
    QColor blobTextColour;

    // False (and *scheme untouched) for an index outside the known maps.
    static bool forIndex(int index, ColourScheme *scheme);
};

// A new map for the "colormap" value, owned by the caller (hand it to a raster
// item or a scale widget, which take ownership); nullptr for an unknown index.
QwtColorMap *colorMapFor(int index);

// The plot parts that follow the colour map; any pointer may be null.
struct ColourSchemeTargets {
    QwtPlot *plot = nullptr;                 // canvas background and "Blob" labels
    QwtPlotSpectrogram *raster = nullptr;
    QwtPlotPicker *picker = nullptr;
    QwtPlotScaleItem *scaleItem = nullptr;
    QwtPlotZoomer *zoomer = nullptr;
    QwtPlotGrid *grid = nullptr;
    QVector<QwtPlotMarker *> frequencyMarkers;
    QwtScaleWidget *colorBar = nullptr;
};

// Recolours every target for the map `index`; the raster item and the colour
// bar each get a fresh map, the bar over `levelRange`. Returns false and
// changes nothing when the index is unknown.
bool applyColourScheme(int index, const ColourSchemeTargets &targets, const QwtInterval &levelRange);

// Gives every plot item titled "Blob" a label in `colour`.
void recolourBlobLabels(QwtPlot *plot, const QColor &colour);
