// The chart of activity over precipitation: a class of no rain at all, then
// classes of 1 mm/min up to 9 mm/min and one of 9 mm/min and more.
#include "activity/charts/measuredchart.h"
#include "activity/plotfolderdialog.h"

namespace {

constexpr int precipitationBins = 11;

// A bar of 0.1 around 0 for no rain, then bars from k - 0.95 to k - 0.05 (the first from 0.15).
QVector<QPointF> precipitationBars(const QVector<float> &hours)
{
    QVector<QPointF> points{{-0.05, 0.0}, {0.05, double(hours.at(0))}, {0.15, 0.0}};
    for (int k = 1; k < precipitationBins - 1; ++k)
        points << QPointF(k - 0.05, double(hours.at(k))) << QPointF(k + 0.05, 0.0);
    points << QPointF(9.95, double(hours.at(precipitationBins - 1))) << QPointF(10.0, 0.0);
    return points;
}

QPair<double, double> precipitationRange(int, int)
{
    return {-0.5, 10.5};
}

} // namespace

MeasuredChart precipitationChart()
{
    MeasuredChart c;
    c.tab = ActivityTab::Precipitation;
    c.bins.zeroBin = true;
    c.xs << 0.0;
    c.csvLabels << QStringLiteral("0");
    for (int k = 1; k < precipitationBins; ++k) {
        if (k < precipitationBins - 1)
            c.bins.limits << float(k);
        c.xs << k - 0.5;
        c.csvLabels << QStringLiteral("%1 to %2").arg(k - 1).arg(k);
    }
    c.bars = precipitationBars;
    c.bottomTitle = QStringLiteral("Precipitation in mm/min \n");
    c.bottomRange = precipitationRange;
    c.csvFirstHeader = QStringLiteral("Precipitations in %1 [mm/min]");
    c.exportKey = &SettingKeys::exportPlotDataPrecipitation;
    c.standardSunHour = 0;
    return c;
}

void plotFolderDialog::plotFunctionVsPrec(bool init, bool exportData)
{
    drawWeatherChart(*this, precipitationChart(), WeatherValue::Precipitation, init, exportData);
}
