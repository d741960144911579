#pragma once

#include <QSizeF>
#include <QString>

class QwtPlot;

/**
 * Writes `plot` as a document of `sizeMM` at `dotsPerInch`, laid out as Qwt's
 * renderer lays out its documents (default renderer settings): a PDF, an SVG or
 * an image in any format Qt writes, chosen by the file name's suffix in any
 * case. An image is white behind the plot and measures sizeMM at the resolution
 * in whole pixels (300 x 200 mm at 85 dpi: 1004 x 669).
 *
 * The document replaces the file only once it is complete and on the disk
 * whole (writeWholeFile). When the suffix names no format, the painter cannot
 * begin, the image cannot be saved or the file cannot be written (a full disk
 * among the reasons: the file that stood there stays byte for byte), the user
 * reads "Could not write to file." and the result is false.
 */
bool writePlotDocument(QwtPlot *plot, const QString &fileName, const QSizeF &sizeMM, int dotsPerInch);
