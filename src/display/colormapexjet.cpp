#include "display/colormapexjet.h"

ColorMapExJet::ColorMapExJet()
    : QwtLinearColorMap(QColor(0, 0, 0), QColor(132, 0, 0), QwtColorMap::RGB)
{
    static const int stops[17][3] = {
        {0, 0, 0},     {0, 0, 66},    {0, 0, 132},   {0, 0, 189},    {0, 0, 255},     {0, 66, 255},
        {0, 132, 255}, {0, 189, 255}, {0, 255, 255}, {66, 255, 189}, {132, 255, 132}, {189, 255, 66},
        {255, 255, 0}, {255, 189, 0}, {255, 132, 0}, {255, 66, 0},   {132, 0, 0},
    };
    for (int k = 0; k <= 16; ++k) {
        const int *c = stops[k];
        addColorStop(double(k) / 16.0, QColor(c[0], c[1], c[2]));
    }
}
