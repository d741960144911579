// The chart of activity over temperature: 35 classes of 2 °C from -20 °C to 50 °C,
// the first and the last open (below -18, 48 and above).
#include "activity/charts/measuredchart.h"
#include "activity/plotfolderdialog.h"

namespace {

constexpr int temperatureBins = 35;

// One bar per class from -19.95 + 2k to -18.05 + 2k (the first from -20), 0.1 °C apart.
QVector<QPointF> temperatureBars(const QVector<float> &hours)
{
    QVector<QPointF> points{{-20.0, 0.0}};
    for (int k = 0; k < temperatureBins - 1; ++k)
        points << QPointF(-18.05 + 2 * k, double(hours.at(k))) << QPointF(-17.95 + 2 * k, 0.0);
    points << QPointF(49.95, double(hours.at(temperatureBins - 1))) << QPointF(50.0, 0.0);
    return points;
}

// The axis shows -20, -10 or 0 to 30, 40 or 50 °C, as far as the valid hours reach.
QPair<double, double> temperatureRange(int lowestBin, int highestBin)
{
    const double lower = lowestBin < 5 ? -20.0 : lowestBin < 10 ? -10.0 : 0.0;
    const double upper = highestBin >= 30 ? 50.0 : highestBin >= 25 ? 40.0 : 30.0;
    return {lower, upper};
}

} // namespace

MeasuredChart temperatureChart()
{
    MeasuredChart c;
    c.tab = ActivityTab::Temperature;
    for (int k = 0; k < temperatureBins; ++k) {
        if (k < temperatureBins - 1)
            c.bins.limits << float(-18 + 2 * k);
        c.xs << -19.0 + 2 * k;
        c.csvLabels << QStringLiteral("%1 to %2").arg(-20 + 2 * k).arg(-18 + 2 * k);
    }
    c.bars = temperatureBars;
    c.bottomTitle = QStringLiteral("Temperatures in °C \n");
    c.bottomRange = temperatureRange;
    c.csvFirstHeader = QStringLiteral("Temperatures in %1 [°C]");
    c.exportKey = &SettingKeys::exportPlotDataTemperature;
    c.standardSunHour = 0;
    return c;
}

void plotFolderDialog::plotFunctionVsTemp(bool init, bool exportData)
{
    drawWeatherChart(*this, temperatureChart(), WeatherValue::Temperature, init, exportData);
}
