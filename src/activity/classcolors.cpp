#include "activity/classcolors.h"

namespace {

constexpr int paletteAlpha = 127;

constexpr int classPalette[classPaletteSize][3] = {
    {122, 184, 0}, {255, 0, 0},     {0, 0, 255},   {139, 0, 139},  {140, 70, 20},
    {90, 100, 50}, {0, 130, 130},   {255, 0, 255}, {0, 255, 255},  {0, 255, 0},
    {180, 40, 40}, {220, 120, 220}, {0, 190, 240}, {30, 180, 170}, {180, 130, 11},
};

} // namespace

QColor classColor(const QVariantList &storedColors, int i)
{
    if (i >= 0 && i < storedColors.size())
        return qvariant_cast<QColor>(storedColors.at(i));
    const int k = ((i % classPaletteSize) + classPaletteSize) % classPaletteSize;
    return QColor(classPalette[k][0], classPalette[k][1], classPalette[k][2], paletteAlpha);
}
