// Checkable legend entries: each shows or hides the plot items it stands for,
// found by their titles, since the charts make new items at every drawing.
#include "activity/plotfolderdialog.h"

#include "activity/qwtplotgappedcurve.h"

#include <qwt_plot.h>
#include <qwt_plot_intervalcurve.h>
#include <qwt_text.h>

namespace {

void setItemsVisible(const QList<QwtPlotItem *> &items, bool on)
{
    for (QwtPlotItem *item : items)
        item->setVisible(on);
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
        ActivityChartTab::setTitledVisible(plotVsTime, QStringLiteral("Invalid"), on);
    } else {
        ActivityChartTab::setTitledVisible(plotVsTime, title + QStringLiteral("_marker"), on);
    }
    plotVsTime->replot();
}

// The activity tabs answer their own legends.
void plotFolderDialog::legendVsDaysChecked(const QVariant &itemInfo, bool on, int)
{
    chartTab(ActivityTab::Days).legendChecked(itemInfo, on);
}

void plotFolderDialog::legendVsMonthChecked(const QVariant &itemInfo, bool on, int)
{
    chartTab(ActivityTab::Months).legendChecked(itemInfo, on);
}

void plotFolderDialog::legendVsNightChecked(const QVariant &itemInfo, bool on, int)
{
    chartTab(ActivityTab::Night).legendChecked(itemInfo, on);
}

void plotFolderDialog::legendVsTempChecked(const QVariant &itemInfo, bool on, int)
{
    chartTab(ActivityTab::Temperature).legendChecked(itemInfo, on);
}

void plotFolderDialog::legendVsPrecChecked(const QVariant &itemInfo, bool on, int)
{
    chartTab(ActivityTab::Precipitation).legendChecked(itemInfo, on);
}

void plotFolderDialog::legendVsWindChecked(const QVariant &itemInfo, bool on, int)
{
    chartTab(ActivityTab::WindSpeed).legendChecked(itemInfo, on);
}
