#include "display/colourscheme.h"

#include "display/colormapexjet.h"
#include "display/colormapjet.h"

#include <QPalette>
#include <qwt_color_map.h>
#include <qwt_plot.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_picker.h>
#include <qwt_plot_scaleitem.h>
#include <qwt_plot_spectrogram.h>
#include <qwt_plot_zoomer.h>
#include <qwt_scale_widget.h>
#include <qwt_text.h>

namespace {

// The top colour of the "Black-Green" map; its zoomer tracker reuses it on white.
const QColor kGreen(122, 184, 0);

} // namespace

bool ColourScheme::forIndex(int index, ColourScheme *scheme)
{
    const QColor white(255, 255, 255);
    const QColor black(0, 0, 0);
    ColourScheme s;
    switch (index) {
    case ColorMapBlackGreen:
    case ColorMapJetIndex:
    case ColorMapExtendedJet:
        // All three maps start dark: white lines and texts on a black canvas.
        s.canvasBackground = black;
        s.pickerTrackerPen = white;
        s.scaleItemColour = black;
        s.zoomerRubberBandPen = white;
        s.zoomerTrackerPen = white;
        s.gridPen = QColor(255, 255, 255, 50);
        s.frequencyMarkerPen = white;
        s.blobTextColour = white;
        break;
    case ColorMapBlackWhite:
        // Quiet levels are white here, so everything drawn on top turns dark.
        s.canvasBackground = white;
        s.pickerTrackerPen = black;
        s.scaleItemColour = white;
        s.zoomerRubberBandPen = black;
        s.zoomerTrackerPen = kGreen;
        s.gridPen = QColor(0, 0, 0, 50);
        s.frequencyMarkerPen = black;
        s.blobTextColour = black;
        break;
    default:
        return false;
    }
    if (scheme)
        *scheme = s;
    return true;
}

QwtColorMap *colorMapFor(int index)
{
    switch (index) {
    case ColorMapBlackGreen:
        return new QwtLinearColorMap(QColor(0, 0, 0), kGreen, QwtColorMap::RGB);
    case ColorMapBlackWhite:
        return new QwtLinearColorMap(QColor(255, 255, 255), QColor(0, 0, 0), QwtColorMap::RGB);
    case ColorMapJetIndex:
        return new ColorMapJet;
    case ColorMapExtendedJet:
        return new ColorMapExJet;
    default:
        return nullptr;
    }
}

bool applyColourScheme(int index, const ColourSchemeTargets &t, const QwtInterval &levelRange)
{
    ColourScheme s;
    if (!ColourScheme::forIndex(index, &s))
        return false;

    if (t.raster)
        t.raster->setColorMap(colorMapFor(index));
    if (t.plot)
        t.plot->setCanvasBackground(QBrush(s.canvasBackground));
    if (t.picker)
        t.picker->setTrackerPen(QPen(s.pickerTrackerPen));
    if (t.scaleItem)
        t.scaleItem->setPalette(QPalette(s.scaleItemColour));
    if (t.zoomer) {
        t.zoomer->setRubberBandPen(QPen(s.zoomerRubberBandPen));
        t.zoomer->setTrackerPen(QPen(s.zoomerTrackerPen));
    }
    if (t.grid)
        t.grid->setPen(QPen(s.gridPen));
    for (QwtPlotMarker *marker : t.frequencyMarkers) {
        if (marker)
            marker->setLinePen(QPen(s.frequencyMarkerPen, 0, Qt::DashLine));
    }
    if (t.plot)
        recolourBlobLabels(t.plot, s.blobTextColour);
    if (t.colorBar)
        t.colorBar->setColorMap(levelRange, colorMapFor(index));
    return true;
}

void recolourBlobLabels(QwtPlot *plot, const QColor &colour)
{
    if (!plot)
        return;
    const QwtPlotItemList items = plot->itemList();
    for (QwtPlotItem *item : items) {
        if (item->title().text() != QLatin1String("Blob"))
            continue;
        auto *marker = dynamic_cast<QwtPlotMarker *>(item);
        if (!marker)
            continue;
        QwtText label = marker->label();
        label.setColor(colour);
        marker->setLabel(label);
    }
}
