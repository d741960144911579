#pragma once

#include <QColor>

class QwtColorMap;

// Index of the "colormap" setting; the values are the rows of the settings
// dialog's colour-map list.
enum ColorMapIndex { ColorMapBlackGreen = 0, ColorMapBlackWhite = 1, ColorMapJetIndex = 2, ColorMapExtendedJet = 3 };

// The colours that keep lines and texts on the spectrogram readable against
// one colour map's dark or light end.
struct ColourScheme {
    QColor canvasBackground;
    QColor pickerTrackerPen;
    QColor scaleItemColour;
    QColor zoomerRubberBandPen;
    QColor zoomerTrackerPen;
    QColor gridPen; // carries its alpha: the grid must not hide the calls
    QColor frequencyMarkerPen;
    QColor blobTextColour;

    // False (and *scheme untouched) for an index outside the known maps.
    static bool forIndex(int index, ColourScheme *scheme);
};

// A new map for the "colormap" value, owned by the caller (hand it to a raster
// item or a scale widget, which take ownership); nullptr for an unknown index.
QwtColorMap *colorMapFor(int index);
