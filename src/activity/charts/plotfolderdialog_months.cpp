// The chart of activity over months: per month of the shown year and curve the
// recordings per valid hour, as a line with large dots on each month's first
// day, beside each month's valid hours as a grey bar.
#include "activity/plotfolderdialog.h"

#include "activity/activityzoomers.h"
#include "activity/charts/activityplotitems.h"
#include "activity/charts/activityseries.h"
#include "activity/charts/plotdatacsv.h"

#include <QSignalBlocker>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>

void plotFolderDialog::plotFunctionVsMonth(bool init, bool exportData)
{
    const ActivityChartStart start = beginActivityChart(ActivityTab::Months, init, exportData);
    if (!start.draw)
        return;
    const ActivityRows &rows = start.rows;
    const int year = start.year;
    const ActivityForm form = activityForm();
    const BinnedActivity months = monthsActivity(
        form, RecorderClock(form.zone, form.daylightSaving, RecorderClock::OnTransitions, year), rows, year);
    const bool logarithmic = ui->radioButton_4->isChecked();

    // One bar per month around its middle (the 16th, the 15th in February), two days apart.
    const QDate newYear(year, 1, 1);
    QVector<QPointF> bars{{dateAxisX(newYear.addDays(-15)), 0.0}};
    QVector<double> xs(12);
    for (int m = 0; m < 12; ++m) {
        const QDate first = newYear.addMonths(m);
        const QDate middle = first.addDays(first.daysInMonth() / 2);
        xs[m] = dateAxisX(first);
        bars << QPointF(dateAxisX(middle), double(months.hours[m]));
        bars << QPointF(dateAxisX(m < 11 ? middle.addDays(2) : middle), 0.0);
    }
    setValidHoursSamples(plotVsMonth, validHoursVsMonth, bars, logarithmic);
    drawActivityCurves(plotVsMonth, validHoursVsMonth, rows, xs, months.activity, {2.0, 10.0}, logarithmic, init,
                       [this](int i) { return makeColor(i); });

    // The month edits zoom the x axis; set quietly, they do not zoom now.
    const QDate f(year, 1, 15);
    {
        const QSignalBlocker quiet(ui->dateEdit_3);
        ui->dateEdit_3->setDateRange(f.addDays(-14), f.addMonths(9));
        ui->dateEdit_3->setDate(f);
    }
    {
        const QSignalBlocker quiet(ui->dateEdit_4);
        ui->dateEdit_4->setDateRange(f.addMonths(2), f.addMonths(11));
        ui->dateEdit_4->setDate(f.addMonths(11));
    }

    plotVsMonth->setAxisTitle(QwtPlot::xBottom, QString::number(year));
    plotVsMonth->setAxisScale(QwtPlot::xBottom, dateAxisX(newYear.addDays(-16)),
                              dateAxisX(newYear.addMonths(11).addDays(16)));
    // "All Classes" counts too, drawn or not.
    setDaysAndMonthsAxes(plotVsMonth, logarithmic, largestValue(months.activity), months.hours, 750.0);
    resetActivityZoomers(zoomerVsMonth, rightZoomerVsMonth);
    plotVsMonth->replot();
    firstPlotVsMonth = false;

    if (exportData) {
        QStringList labels;
        for (int m = 0; m < 12; ++m)
            labels << newYear.addMonths(m).toString(QStringLiteral("MM/yy"));
        const QString text = plotDataCsvText(QString(), QStringLiteral("Month"), labels,
                                             shownPlotDataColumns(plotVsMonth, validHoursVsMonth, months.hours, rows,
                                                                  months.activity, QStringLiteral(" [Rec./h]")));
        writePlotDataFile(start.exportPath, text, SettingKeys::exportPlotDataMonth);
    }
}
