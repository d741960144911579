// The chart of activity over wind speed: classes of 1 m/s up to 10 m/s and one
// of 10 m/s and more, from the folder's wind-speed file in its own layout.
#include "activity/charts/measuredchart.h"
#include "activity/charts/windseries.h"
#include "activity/plotfolderdialog.h"

#include <QRadioButton>
#include <qwt_plot.h>

namespace {

constexpr int windBins = 11;

// Bars from b + 0.05 to b + 0.95, the open class's from 10.05 to 11.5.
QVector<QPointF> windBars(const QVector<float> &hours)
{
    QVector<QPointF> points;
    for (int b = 0; b < windBins - 1; ++b)
        points << QPointF(b + 0.05, 0.0) << QPointF(b + 0.95, double(hours.at(b)));
    points << QPointF(10.05, 0.0) << QPointF(11.5, double(hours.at(windBins - 1)));
    return points;
}

QPair<double, double> windRange(int, int)
{
    return {0.0, 11.5};
}

// What besides the file decides how it reads.
QString formatKey(const WindDataSettings &s)
{
    const WindFileFormat &f = s.format;
    return QStringList{f.dateFormat,
                       f.timeFormat,
                       f.decimalSeparator,
                       f.separator1,
                       f.separator2,
                       f.dateTimeDefinition,
                       QString::number(int(s.considerDaylightSaving)),
                       QString::fromLatin1(s.timeZone)}
        .join(QChar(0x1f));
}

} // namespace

MeasuredChart windSpeedChart()
{
    MeasuredChart c;
    c.tab = ActivityTab::WindSpeed;
    for (int b = 0; b < windBins; ++b) {
        if (b < windBins - 1) {
            c.bins.limits << float(b + 1);
            c.csvLabels << QStringLiteral("%1 to %2").arg(b).arg(b + 1);
        }
        c.xs << b + 0.5;
    }
    c.csvLabels << QStringLiteral(">10");
    c.bars = windBars;
    c.bottomTitle = QStringLiteral("Wind Speed in m/s\n");
    c.bottomRange = windRange;
    c.csvFirstHeader = QStringLiteral("Wind Speeds in %1 [m/s]");
    c.exportKey = &SettingKeys::exportPlotDataWindSpeed;
    return c;
}

void plotFolderDialog::plotFunctionVsWind(bool init, bool exportData)
{
    const QString path = readFolderSetting(wavDirectory, FolderSettings::windSpeedFile);
    const bool hasFile = !path.isEmpty();
    ui->label_13->setVisible(!hasFile);
    for (QWidget *w : {static_cast<QWidget *>(ui->radioButton_9), static_cast<QWidget *>(ui->radioButton_10),
                       static_cast<QWidget *>(ui->pushButton_15), static_cast<QWidget *>(ui->pushButton_16),
                       static_cast<QWidget *>(plotVsWind)}) {
        w->setVisible(hasFile);
    }
    if (!hasFile) {
        ui->pushButton_2->setEnabled(false);
        ui->pushButton_19->setEnabled(false);
        return;
    }
    const WindDataSettings settings = windDataSettingsOf(wavDirectory);
    drawWindChart(*this, windSpeedChart(), path, settings, formatKey(settings), init, exportData);
}
