#pragma once

#include <QByteArray>
#include <QList>
#include <QSizeF>
#include <QString>

// Activity plots are exported as documents of this size and resolution.
const QSizeF activityPlotDocumentSize(300, 200); // mm
constexpr int activityPlotDocumentDpi = 85;

/**
 * The file dialog's filters: "PDF documents (*.pdf)", "SVG documents (*.svg)"
 * and, when Qt writes any image format, "Images ( *.bmp *.png ...)" with every
 * format in the given order, joined by ";;".
 */
QString plotExportFilters(const QList<QByteArray> &imageFormats);

/** Where an exported plot is proposed: the desktop folder, or the home folder when there is none. */
QString plotExportFolder();
