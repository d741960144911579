#include "display/colourscheme.h"

#include "display/colormapexjet.h"
#include "display/colormapjet.h"

#include <qwt_color_map.h>

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
