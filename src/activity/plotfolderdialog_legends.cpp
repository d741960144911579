// Checkable legend entries: each shows or hides the plot items it stands for,
// found by their titles, since the charts make new items at every drawing.
#include "activity/plotfolderdialog.h"

#include "activity/activityzoomers.h"
#include "activity/qwtplotgappedcurve.h"

#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_intervalcurve.h>
#include <qwt_plot_zoomer.h>
#include <qwt_text.h>

namespace {

void setItemsVisible(const QList<QwtPlotItem *> &items, bool on)
{
    for (QwtPlotItem *item : items)
        item->setVisible(on);
}

void setTitledVisible(QwtPlot *plot, const QString &title, bool on)
{
    for (QwtPlotItem *item : plot->itemList()) {
        if (item->title().text() == title)
            item->setVisible(on);
    }
}

} // namespace

void plotFolderDialog::legendChecked(const QVariant &itemInfo, bool on, int)
{
    const QwtPlotItem *entry = plotVsTime->infoToItem(itemInfo);
    if (!entry)
        return;
    const QString title = entry->title().text();
    if (title == QLatin1String("Sunrise")) {
        setItemsVisible({sunriseCurve, sunrise2Curve}, on);
    } else if (title == QLatin1String("Sunset")) {
        setItemsVisible({sunsetCurve, sunset2Curve}, on);
    } else if (title == QLatin1String("Twilight")) {
        setItemsVisible({twilightCurve, twilightSetCurve, twilight2Curve, twilightSet2Curve}, on);
    } else if (title == QLatin1String("Recording Times")) {
        setItemsVisible({recordingTimesCurve, recordingTimes2Curve, recordingTimes3Curve, recordingTimes4Curve}, on);
        // While the bands are hidden the whole canvas takes their colour.
        plotVsTime->setCanvasBackground(QBrush(on ? canvasColor : recordingTimesColor));
    } else if (title == QLatin1String("Invalid Times")) {
        // The entry's own item stays as it is: it only stands for the chart's bands.
        setTitledVisible(plotVsTime, QStringLiteral("Invalid"), on);
    } else {
        setTitledVisible(plotVsTime, title + QStringLiteral("_marker"), on);
    }
    plotVsTime->replot();
}

void plotFolderDialog::activityLegendChecked(QwtPlot *plot, QwtPlotCurve *validHours, QwtPlotZoomer *rightZoomer,
                                             const QVariant &itemInfo, bool on)
{
    const QwtPlotItem *entry = plot->infoToItem(itemInfo);
    if (!entry)
        return;
    const QString title = entry->title().text();
    if (title == QLatin1String("Valid Hours")) {
        validHours->setVisible(on);
        plot->enableAxis(QwtPlot::yRight, on);
        if (rightZoomer)
            rightZoomer->setTrackerMode(on ? QwtPicker::AlwaysOn : QwtPicker::AlwaysOff);
    } else {
        setTitledVisible(plot, title + QStringLiteral("_Activity"), on);
    }
    plot->replot();
}

void plotFolderDialog::legendVsDaysChecked(const QVariant &itemInfo, bool on, int)
{
    activityLegendChecked(plotVsDays, validHoursVsDays, rightZoomerVsDays, itemInfo, on);
}

void plotFolderDialog::legendVsMonthChecked(const QVariant &itemInfo, bool on, int)
{
    activityLegendChecked(plotVsMonth, validHoursVsMonth, rightZoomerVsMonth, itemInfo, on);
}

void plotFolderDialog::legendVsNightChecked(const QVariant &itemInfo, bool on, int)
{
    activityLegendChecked(plotVsNight, validHoursVsNight, rightZoomerVsNight, itemInfo, on);
}

void plotFolderDialog::legendVsTempChecked(const QVariant &itemInfo, bool on, int)
{
    activityLegendChecked(plotVsTemp, validHoursVsTemp, rightZoomerVsTemp, itemInfo, on);
}

// The precipitation and wind plots keep their right-axis tracker text with the hours hidden.
void plotFolderDialog::legendVsPrecChecked(const QVariant &itemInfo, bool on, int)
{
    activityLegendChecked(plotVsPrec, validHoursVsPrec, nullptr, itemInfo, on);
}

void plotFolderDialog::legendVsWindChecked(const QVariant &itemInfo, bool on, int)
{
    activityLegendChecked(plotVsWind, validHoursVsWind, nullptr, itemInfo, on);
}
