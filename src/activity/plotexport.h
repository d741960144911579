#pragma once

#include <QByteArray>
#include <QList>
#include <QSizeF>
#include <QString>

// Activity plots are exported as documents of this size and resolution.
const QSizeF activityPlotDocumentSize(300, 200);   // mm
constexpr int activityPlotDocumentDpi = 85;

/**
 * The file dialog's filters: "PDF documents (*.pdf)", "SVG documents (*.svg)"
 * and, when Qt writes any image format, "Images ( *.bmp *.png ...)" with every
 * format in the given order, joined by ";;".
 */
QString plotExportFilters(const QList<QByteArray> &imageFormats);

/** Where an exported plot is proposed: the desktop folder, or the home folder when there is none. */
QString plotExportFolder();

/**
 * A file name typed without a suffix, with the suffix of the filter chosen
 * for it (its first "*.suffix"): "plot" with "SVG documents (*.svg)" is
 * "plot.svg". A name with a suffix, or a filter without one, stays as it is.
 */
QString withFilterSuffix(const QString &fileName, const QString &filter);
