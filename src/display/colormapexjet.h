#pragma once

#include <qwt_color_map.h>

// Jet extended at the low end down to black, so that the quietest levels fade
// into the canvas background instead of standing out in dark blue.
class ColorMapExJet : public QwtLinearColorMap
{
public:
    ColorMapExJet();
};
