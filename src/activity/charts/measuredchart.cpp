#include "activity/charts/measuredchart.h"

#include "activity/activityzoomers.h"
#include "activity/charts/activityplotitems.h"
#include "activity/charts/plotdatacsv.h"
#include "activity/charts/windseries.h"
#include "activity/foldersettings.h"
#include "activity/plotfolderdialog.h"
#include "analysis/boundedlinereader.h"
#include "common/userdialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QRadioButton>
#include <algorithm>
#include <limits>
#include <memory>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>

// The data files read last, each with the key it was read under (null: unreadable): the weather log
// once for both of its charts.
struct plotFolderDialog::MeasuredSeriesCache {
    QString weatherKey;
    std::shared_ptr<WeatherSeries> weather;
    QString windKey;
    std::shared_ptr<MeasurementSeries> wind;
};

namespace {

// Hours above this count as valid time; a bin's hours are 0 or at least a second's worth.
constexpr float noHours = std::numeric_limits<float>::min();

// The tab's "logarithmic" button, which its chart reads.
QRadioButton *logarithmicButton(const plotFolderDialog &d, ActivityTab tab)
{
    if (tab == ActivityTab::Temperature)
        return d.ui->radioButton_6;
    return tab == ActivityTab::Precipitation ? d.ui->radioButton_8 : d.ui->radioButton_10;
}

plotFolderDialog::MeasuredSeriesCache &seriesCache(plotFolderDialog &d)
{
    if (!d.measuredSeries)
        d.measuredSeries = std::make_shared<plotFolderDialog::MeasuredSeriesCache>();
    return *d.measuredSeries;
}

// What was read under `key`, read again under another; null when the file cannot be opened.
template <class Series>
const Series *cached(QString &storedKey, std::shared_ptr<Series> &stored, const QString &key,
                     const std::function<bool(Series &)> &read)
{
    if (storedKey != key || !stored) {
        storedKey = key;
        stored = std::make_shared<Series>();
        if (!read(*stored))
            stored.reset();
    }
    return stored.get();
}

// Before an export asks where to write: a data file that is gone (or never could be read) would have the
// user choose a file that then stays unwritten, unsaid.
bool readableForExport(plotFolderDialog &dialog, const QString &path, bool exportData)
{
    if (!exportData || BoundedLineReader(path).open())
        return true;
    MessageBoxRequest request{&dialog, QMessageBox::Warning, plotFolderDialog::tr("Error"),
                              plotFolderDialog::tr("The data file cannot be read.")};
    request.informativeText = QDir::toNativeSeparators(path);
    userDialogs().message(request);
    dialog.ui->pushButton_19->setEnabled(false);
    return false;
}

QString seriesKey(const QString &path, const ActivityForm &form, int year, const QString &sourceKey)
{
    const QFileInfo file(path);
    return QStringList{path,
                       QString::number(file.size()),
                       QString::number(file.lastModified().toMSecsSinceEpoch()),
                       QString::fromLatin1(form.zone.id()),
                       QString::number(int(form.daylightSaving)),
                       QString::number(year),
                       sourceKey}
        .join(QChar(0x1f));
}

void setAxes(QwtPlot *plot, const MeasuredChart &chart, int year, const QVector<float> &hours, float maxActivity,
             bool logarithmic)
{
    int lowest = chart.bins.count() - 1, highest = 0;
    for (int bin = 0; bin < hours.size(); ++bin) {
        if (hours.at(bin) > noHours) {
            lowest = std::min(lowest, bin);
            highest = std::max(highest, bin);
        }
    }
    plot->setAxisTitle(QwtPlot::xBottom, chart.bottomTitle + QString::number(year));
    const QPair<double, double> bottom = chart.bottomRange(lowest, highest);
    plot->setAxisScale(QwtPlot::xBottom, bottom.first, bottom.second);
    setActivityScaleEngines(plot, logarithmic);
    const VerticalRanges r = verticalRanges(hours, maxActivity, logarithmic);
    plot->setAxisScale(QwtPlot::yLeft, r.leftMin, r.leftMax);
    plot->setAxisScale(QwtPlot::yRight, r.rightMin, r.rightMax);
}

} // namespace

VerticalRanges verticalRanges(const QVector<float> &hours, float maxActivity, bool logarithmic)
{
    const bool noneBelowOpen = std::none_of(hours.begin(), hours.end() - 1, [](float h) { return h > noHours; });
    const double maxHours = std::max(0.0f, *std::max_element(hours.begin(), hours.end()));
    const double top = maxActivity > 0.0f ? double(maxActivity) : 1.0;
    if (logarithmic) {
        if (noneBelowOpen)
            return {0.001, 1.0, 0.01, 1.0};
        const double hoursBottom = hasPartHours(hours) ? 0.1 : 1.0;
        return {0.001, logarithmicTop(0.001, top), hoursBottom, logarithmicTop(hoursBottom, maxHours)};
    }
    if (noneBelowOpen)
        return {0.0, 1.0, 0.0, 1.0};
    return {0.0, top, 0.0, maxHours};
}

void drawMeasuredChart(plotFolderDialog &dialog, const MeasuredChart &chart, const SeriesSource &source, bool init,
                       bool exportData)
{
    const plotFolderDialog::ActivityChartStart start = dialog.beginActivityChart(chart.tab, init, exportData);
    if (!start.draw)
        return;
    ActivityChartTab &t = dialog.chartTab(chart.tab);
    const ActivityForm form = dialog.activityForm();
    const RecorderClock clock(form.zone, form.daylightSaving, RecorderClock::OnTransitions, start.year);
    const MeasurementSeries *series = source(form, clock, start.year);
    if (!series) {
        dialog.ui->pushButton_19->setEnabled(false);
        return;
    }

    const BinnedActivity a =
        measuredActivity(form, clock, start.rows, start.year, *series, chart.bins, chart.standardSunHour);
    const bool logarithmic = logarithmicButton(dialog, chart.tab)->isChecked();
    setValidHoursSamples(t.plot, t.validHours, chart.bars(a.hours), logarithmic);
    drawActivityCurves(t.plot, t.validHours, start.rows, chart.xs, a.activity, {2.0, 10.0}, logarithmic, init,
                       [&dialog](int i) { return dialog.makeColor(i); });
    setAxes(t.plot, chart, start.year, a.hours, largestValue(a.activity, start.rows.curveList.size()), logarithmic);
    resetActivityZoomers(t.zoomer, t.rightZoomer);
    t.plot->replot();
    t.firstPlot = false;
    if (exportData) {
        const QVector<PlotDataColumn> columns =
            shownPlotDataColumns(t.plot, t.validHours, a.hours, start.rows, a.activity, QStringLiteral(" [Rec./h]"));
        writePlotDataFile(start.exportPath,
                          plotDataCsvText(QString(), chart.csvFirstHeader.arg(start.year), chart.csvLabels, columns),
                          *chart.exportKey);
    }
}

void drawWeatherChart(plotFolderDialog &dialog, const MeasuredChart &chart, WeatherValue which, bool init,
                      bool exportData)
{
    const QString path = readFolderSetting(dialog.wavDirectory, FolderSettings::temperaturePrecipitationFile);
    // Without its plot (no log when the tab was set up) "Export Plot" would have nothing to render.
    if (!dialog.plotOf(chart.tab) || path.isEmpty()) {
        dialog.ui->pushButton_2->setEnabled(false);
        dialog.ui->pushButton_19->setEnabled(false);
        return;
    }
    if (!readableForExport(dialog, path, exportData))
        return;
    plotFolderDialog::MeasuredSeriesCache &cache = seriesCache(dialog);
    const auto source = [&](const ActivityForm &form, const RecorderClock &clock,
                            int year) -> const MeasurementSeries * {
        const WeatherSeries *weather = cached<WeatherSeries>(
            cache.weatherKey, cache.weather, seriesKey(path, form, year, QString()), [&](WeatherSeries &series) {
                return readWeatherLog(path, weatherLogClock(form.zone, form.daylightSaving, year), clock, year, series);
            });
        return weather ? &weather->of(which) : nullptr;
    };
    drawMeasuredChart(dialog, chart, source, init, exportData);
}

void drawWindChart(plotFolderDialog &dialog, const MeasuredChart &chart, const QString &path,
                   const WindDataSettings &settings, const QString &formatKey, bool init, bool exportData)
{
    if (!readableForExport(dialog, path, exportData))
        return;
    plotFolderDialog::MeasuredSeriesCache &cache = seriesCache(dialog);
    const auto source = [&](const ActivityForm &form, const RecorderClock &clock, int year) {
        return cached<MeasurementSeries>(
            cache.windKey, cache.wind, seriesKey(path, form, year, formatKey),
            [&](MeasurementSeries &series) { return readWindSeries(path, settings, clock, year, series); });
    };
    drawMeasuredChart(dialog, chart, source, init, exportData);
}
