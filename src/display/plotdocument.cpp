#include "display/plotdocument.h"

#include "common/filewritefailure.h"
#include "common/textfilewriter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <qwt_plot.h>
#include <qwt_plot_renderer.h>
#include <qwt_text.h>

namespace {

constexpr double mmPerInch = 25.4;

bool renderInto(QPaintDevice *device, QwtPlot *plot, const QRectF &documentRect)
{
    QPainter painter;
    if (!painter.begin(device))
        return false;
    QwtPlotRenderer().render(plot, &painter, documentRect);
    return painter.end();
}

bool writeDocument(QwtPlot *plot, QBuffer &out, const QString &format, const QSizeF &sizeMM, int dotsPerInch)
{
    QString title = plot->title().text();
    if (title.isEmpty())
        title = QStringLiteral("Plot Document");
    const QSizeF size = sizeMM / mmPerInch * dotsPerInch;
    const QRectF documentRect(QPointF(0, 0), size);

    if (format == QLatin1String("pdf")) {
        QPdfWriter pdf(&out);
        pdf.setPageSize(QPageSize(sizeMM, QPageSize::Millimeter));
        pdf.setTitle(title);
        pdf.setPageMargins(QMarginsF());
        pdf.setResolution(dotsPerInch);
        return renderInto(&pdf, plot, documentRect);
    }
    if (format == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setTitle(title);
        svg.setOutputDevice(&out);
        svg.setResolution(dotsPerInch);
        svg.setViewBox(documentRect);
        return renderInto(&svg, plot, documentRect);
    }
    const QRect imageRect = documentRect.toRect();
    const int dotsPerMeter = qRound(dotsPerInch / mmPerInch * 1000.0);
    QImage image(imageRect.size(), QImage::Format_ARGB32);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(QColor(Qt::white).rgb());
    return renderInto(&image, plot, imageRect) && image.save(&out, format.toLatin1().constData());
}

} // namespace

bool writePlotDocument(QwtPlot *plot, const QString &fileName, const QSizeF &sizeMM, int dotsPerInch)
{
    const QString format = QFileInfo(fileName).suffix().toLower();
    const bool known = format == QLatin1String("pdf") || format == QLatin1String("svg")
                       || QImageWriter::supportedImageFormats().contains(format.toLatin1());
    // Made whole in memory first: the file is then written as every whole
    // file is, so a full disk leaves the document that stood there as it was.
    QBuffer document;
    const bool written = plot && known && !sizeMM.isEmpty() && dotsPerInch > 0 && document.open(QIODevice::WriteOnly)
                         && writeDocument(plot, document, format, sizeMM, dotsPerInch)
                         && writeWholeFile(fileName, document.data(), nullptr);
    if (!written)
        reportFileWriteFailure();
    return written;
}
