// The chart of activity over night time: the night from sunset (0) to sunrise
// (1) in tenths of its own length, and the evening before sunset back to
// -0.15; per bin and curve the recordings per valid hour over the shown year,
// beside each bin's valid hours as a grey bar.
#include "activity/plotfolderdialog.h"

#include "activity/activityzoomers.h"
#include "activity/charts/activityplotitems.h"
#include "activity/charts/activityseries.h"
#include "activity/charts/plotdatacsv.h"

#include <qwt_plot.h>
#include <qwt_plot_curve.h>

namespace {

// Where each bin's values stand on the axis, and its name in the file.
const double binX[nightBinCount] = {-0.075, 0.05, 0.15, 0.25, 0.35, 0.45, 0.55, 0.65, 0.75, 0.85, 0.95};
const char *const binLabels[nightBinCount] = {"-0.15 to 0", "0 to 0.1",   "0.1 to 0.2", "0.2 to 0.3",
                                              "0.3 to 0.4", "0.4 to 0.5", "0.5 to 0.6", "0.6 to 0.7",
                                              "0.7 to 0.8", "0.8 to 0.9", "0.9 to 1"};

// Bars of a hundredth of the night at each bin's end, the first from -0.15.
QVector<QPointF> nightBars(const QVector<float> &hours)
{
    QVector<QPointF> bars{{-0.15, 0.0}, {-0.005, double(hours[0])}, {0.005, 0.0}};
    for (int k = 1; k < nightBinCount - 1; ++k)
        bars << QPointF(0.1 * k - 0.005, double(hours[k])) << QPointF(0.1 * k + 0.005, 0.0);
    bars << QPointF(0.995, double(hours[nightBinCount - 1])) << QPointF(0.995, 0.0);
    return bars;
}

} // namespace

void plotFolderDialog::plotFunctionVsNight(bool init, bool exportData)
{
    const ActivityChartStart start = beginActivityChart(ActivityTab::Night, init, exportData);
    if (!start.draw)
        return;
    const ActivityRows &rows = start.rows;
    const int year = start.year;
    const ActivityForm form = activityForm();
    const BinnedActivity night = nightActivity(
        form, RecorderClock(form.zone, form.daylightSaving, RecorderClock::OnTransitions, year), rows, year);
    const bool logarithmic = ui->radioButton->isChecked();

    setValidHoursSamples(plotVsNight, validHoursVsNight, nightBars(night.hours), logarithmic);
    const QVector<double> xs(std::begin(binX), std::end(binX));
    drawActivityCurves(plotVsNight, validHoursVsNight, rows, xs, night.activity, {2.0, 10.0}, logarithmic, init,
                       [this](int i) { return makeColor(i); });
    plotVsNight->setAxisTitle(QwtPlot::xBottom, tr("Night Time (0=Sunset, 1=Sunrise)\n") + QString::number(year));

    // Only the drawn curves set the maximum, without a margin.
    const double maximum = double(largestValue(night.activity, rows.curveList.size()));
    setActivityScaleEngines(plotVsNight, logarithmic);
    if (logarithmic) {
        const double hoursBottom = hasPartHours(night.hours) ? 0.1 : 1.0;
        plotVsNight->setAxisScale(QwtPlot::yLeft, 0.001, logarithmicTop(0.001, maximum));
        plotVsNight->setAxisScale(QwtPlot::yRight, hoursBottom,
                                  logarithmicTop(hoursBottom, double(largestValue({night.hours}))));
    } else {
        plotVsNight->setAxisScale(QwtPlot::yLeft, 0.0, maximum);
        plotVsNight->setAxisAutoScale(QwtPlot::yRight, true);
    }
    plotVsNight->replot();
    resetActivityZoomers(zoomerVsNight, rightZoomerVsNight);
    firstPlotVsNight = false;

    if (exportData) {
        QStringList labels;
        for (const char *label : binLabels)
            labels << QString::fromLatin1(label);
        const QString text =
            plotDataCsvText(QString(), QStringLiteral("Night Times in ") + QString::number(year), labels,
                            shownPlotDataColumns(plotVsNight, validHoursVsNight, night.hours, rows, night.activity,
                                                 QStringLiteral(" [Rec./h]")));
        writePlotDataFile(start.exportPath, text, SettingKeys::exportPlotDataNightTime);
    }
}
