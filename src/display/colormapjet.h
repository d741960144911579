#pragma once

#include <qwt_color_map.h>

// The classic jet ramp from dark blue through cyan and yellow to dark red, in
// fourteen evenly spaced stops; the dark ends keep the plot's white lines readable.
class ColorMapJet : public QwtLinearColorMap
{
public:
    ColorMapJet();
};
