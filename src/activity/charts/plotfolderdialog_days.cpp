// The chart of activity over days: per day of the shown year and curve the
// recordings per valid hour, the recordings or the class events in the valid
// periods, beside each day's valid hours as a grey bar.
#include "activity/plotfolderdialog.h"

#include "activity/activityzoomers.h"
#include "activity/charts/activityevents.h"
#include "activity/charts/activityplotitems.h"
#include "activity/charts/activityseries.h"
#include "activity/charts/plotdatacsv.h"

#include <QProgressDialog>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>

plotFolderDialog::ProgressObserver plotFolderDialog::progressObserver;

void plotFolderDialog::setProgressObserver(ProgressObserver observer)
{
    progressObserver = std::move(observer);
}

namespace {

// The y choices of comboBox_4: the left axis's title and the file's title line.
const char *const axisTitles[] = {
    "Activity (Recordings per Hour)",
    "Number of Files per Day",
    "Number of Events with Dynamic 1 Minute Time Intervals",
    "Number of Events with Dynamic 5 Minute Time Intervals",
    "Number of Events with Dynamic 10 Minute Time Intervals",
    "Number of Events with Static 1 Minute Time Intervals",
    "Number of Events with Static 5 Minute Time Intervals",
    "Number of Events with Static 10 Minute Time Intervals",
};
const char *const fileTitles[] = {
    "Daily Activity in Recordings per Hour",
    "Number of Files per Day",
    "Number of Events per Day with Dynamic 1 Minute Time Interval",
    "Number of Events per Day with Dynamic 5 Minute Time Interval",
    "Number of Events per Day with Dynamic 10 Minute Time Interval",
    "Number of Events per Day with Static 1 Minute Time Interval",
    "Number of Events per Day with Static 5 Minute Time Interval",
    "Number of Events per Day with Static 10 Minute Time Interval",
};

QString progressLabel(const DaysQuantity &quantity)
{
    if (quantity.activity)
        return QObject::tr("Calculating activities...");
    return quantity.events ? QObject::tr("Calculating events...") : QObject::tr("Calculating files per day...");
}

} // namespace

void plotFolderDialog::plotFunctionVsDays(bool init, bool exportData)
{
    const ActivityChartStart start = beginActivityChart(ActivityTab::Days, init, exportData);
    if (!start.draw)
        return;
    const ActivityRows &rows = start.rows;
    const int year = start.year;
    const ActivityForm form = activityForm();
    const int choice = qBound(0, form.daysChoice, 7);
    const DaysQuantity quantity = DaysQuantity::ofChoice(choice);
    const RecorderClock clock(form.zone, form.daylightSaving, RecorderClock::OnTransitions, year);

    QVector<QVector<QVector<qint64>>> candidates;
    {
        QProgressDialog progress(progressLabel(quantity), QString(), 0, rows.curveList.size(), this);
        progress.setCancelButton(nullptr);
        progress.setWindowModality(Qt::WindowModal);
        progress.setWindowTitle(tr("Please wait"));
        progress.setMinimumDuration(500);
        progress.setValue(0);
        for (int c = 0; c < rows.curveList.size(); ++c) {
            candidates << dayCandidates(rows, c, clock, year, quantity);
            progress.setValue(c + 1);
            if (progressObserver)
                progressObserver(progress);
            // Closed by the user: nothing drawn, nothing written, the first drawing still to come.
            if (progress.wasCanceled())
                return;
        }
    }
    const DaysSeries series = daysSeries(form, clock, year, candidates, quantity.activity);
    const bool logarithmic = ui->radioButton_12->isChecked();

    // Each day's bar reaches from 18:00 of the day before to 06:00 of the day, around its point at 00:00.
    const QDate newYear(year, 1, 1);
    const int days = series.validHours.size();
    QVector<QPointF> bars{{dateAxisX(newYear.addDays(-1), 18), 0.0}};
    QVector<double> xs(days);
    for (int d = 0; d < days; ++d) {
        const QDate date = newYear.addDays(d);
        xs[d] = dateAxisX(date, 0);
        bars << QPointF(dateAxisX(date, 6), double(series.validHours[d]));
        bars << QPointF(dateAxisX(date, d + 1 < days ? 18 : 6), 0.0);
    }
    setValidHoursSamples(plotVsDays, validHoursVsDays, bars, logarithmic);
    drawActivityCurves(plotVsDays, validHoursVsDays, rows, xs, series.values, {1.0, 1.0}, logarithmic, init,
                       [this](int i) { return makeColor(i); });

    plotVsDays->setAxisTitle(QwtPlot::xBottom, QString::number(year));
    plotVsDays->setAxisScale(QwtPlot::xBottom, dateAxisX(newYear, 0), dateAxisX(newYear.addYears(1), 0));
    plotVsDays->setAxisTitle(QwtPlot::yLeft, tr(axisTitles[choice]));
    setDaysAndMonthsAxes(plotVsDays, logarithmic, largestValue(series.values), series.validHours, 25.0);
    resetActivityZoomers(zoomerVsDays, rightZoomerVsDays);
    plotVsDays->replot();
    firstPlotVsDays = false;

    if (exportData) {
        QStringList labels;
        for (int d = 0; d < days; ++d)
            labels << newYear.addDays(d).toString(QStringLiteral("dd/MM/yy"));
        const QString unit = quantity.activity ? QStringLiteral(" [Rec./h]") : QString();
        const QString text = plotDataCsvText(
            QString::fromLatin1(fileTitles[choice]), QStringLiteral("Day"), labels,
            shownPlotDataColumns(plotVsDays, validHoursVsDays, series.validHours, rows, series.values, unit));
        writePlotDataFile(start.exportPath, text, SettingKeys::exportPlotDataDays);
    }
}
