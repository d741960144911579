#include "display/colormapjet.h"

ColorMapJet::ColorMapJet()
    : QwtLinearColorMap(QColor(0, 0, 189), QColor(189, 0, 0), QwtColorMap::RGB)
{
    static const int stops[13][3] = {
        {0, 0, 255},    {0, 66, 255},  {0, 132, 255}, {0, 189, 255}, {0, 255, 255}, {66, 255, 189}, {132, 255, 132},
        {189, 255, 66}, {255, 255, 0}, {255, 189, 0}, {255, 132, 0}, {255, 66, 0},  {189, 0, 0},
    };
    // Stop k sits at k/13; the last one coincides with the end colour at 1.
    for (int k = 1; k <= 13; ++k) {
        const int *c = stops[k - 1];
        addColorStop(double(k) / 13.0, QColor(c[0], c[1], c[2]));
    }
}
