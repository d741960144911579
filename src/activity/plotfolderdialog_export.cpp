// The two export buttons: the plot of the tab on show as a document, and the
// chart's values through its own computation.
#include "activity/plotfolderdialog.h"

#include "activity/plotexport.h"
#include "common/userdialogs.h"
#include "display/plotdocument.h"

#include <QDir>
#include <QImageWriter>
#include <QStandardPaths>
#include <qwt_plot.h>

namespace {

const char *const documentNames[] = {
    "/activityOverTime.pdf",      "/activityOverDays.pdf",        "/activityOverMonth.pdf",
    "/activityOverNightTime.pdf", "/activityOverTemperature.pdf", "/activityOverPrecipitation.pdf",
    "/activityOverWindSpeed.pdf",
};

} // namespace

QString plotExportFilters(const QList<QByteArray> &imageFormats)
{
    QStringList filters{QStringLiteral("PDF documents (*.pdf)"), QStringLiteral("SVG documents (*.svg)")};
    if (!imageFormats.isEmpty()) {
        QString images = QStringLiteral("Images (");
        for (const QByteArray &format : imageFormats)
            images += QStringLiteral(" *.") + QString::fromLatin1(format);
        filters << images + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

QString plotExportFolder()
{
    // Most Linux homes have no desktop folder: the home folder stands in.
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty() && QDir(desktop).exists())
        return desktop;
    return QDir::homePath();
}

void plotFolderDialog::on_pushButton_2_clicked()
{
    const ActivityTab tab = currentTab();
    QwtPlot *plot = plotOf(tab);
    // A weather tab before its file is chosen has no plot to export.
    if (!plot)
        return;
    const QString proposed = plotExportFolder() + QLatin1String(documentNames[int(tab)]);
    // The document's format follows the suffix: a name typed without one takes the chosen filter's.
    const QString fileName = userDialogs().saveFileNameWithSuffix(
        plot, tr("Export File Name"), proposed, plotExportFilters(QImageWriter::supportedImageFormats()));
    if (fileName.isEmpty())
        return;
    writePlotDocument(plot, fileName, activityPlotDocumentSize, activityPlotDocumentDpi);
}

void plotFolderDialog::on_pushButton_19_clicked()
{
    if (ready)
        callChart(currentTab(), firstPlotFlag(currentTab()), true);
}
