#pragma once

#include <QImage>

class QSize;
class QwtColorMap;
class QwtMatrixRasterData;
class QwtScaleMap;

/**
 * The picture of the spectrogram's level matrix, imageSize pixels whose
 * centres xMap and yMap place, as Qwt hands them to a raster item's
 * renderImage. Along an axis on which one pixel spans more than one cell, a
 * pixel shows the loudest of the cells it spans: a recording shown whole has
 * several frames to each pixel column, and a call that falls between the
 * frames a single reading would take must still be drawn, whatever the
 * canvas width. Along an axis on which a pixel spans one cell or less it reads
 * the matrix as QwtMatrixRasterData::value does, nearest cell or bilinear by
 * the raster's resample mode, so a zoomed-in view looks as it always did.
 * Outside the raster a pixel gets what the colour map gives not-a-number.
 * The colour map must be an RGB one.
 */
QImage loudestRasterImage(const QwtMatrixRasterData &raster, const QwtColorMap &colours, const QwtScaleMap &xMap,
                          const QwtScaleMap &yMap, const QSize &imageSize);
