// The chart of the recordings over the time of day (see plotfolderdialog.h for what a chart may
// read and must do): one year of dots, one per class and ten-minute slot, over the sun times,
// the twilight, the daily recording period and the invalid periods, with the day from 00:00 to
// 24:00 or, with "Center night", each night whole in the column of its evening.
#include "activity/plotfolderdialog.h"

#include "activity/activityzoomers.h"
#include "activity/charts/activityform.h"
#include "activity/charts/activityplotitems.h"
#include "activity/charts/activityrows.h"
#include "activity/charts/timeofdaymarks.h"
#include "activity/charts/timeofdayseries.h"
#include "activity/qwtplotgappedcurve.h"

#include <QHash>
#include <QSet>
#include <QSignalBlocker>
#include <qwt_plot.h>
#include <qwt_plot_intervalcurve.h>
#include <qwt_plot_marker.h>
#include <qwt_symbol.h>
#include <qwt_text.h>

namespace {

const QString invalidBandTitle = QStringLiteral("Invalid");
// The zoomer's tracker text reads the centred times while an item of this title is attached.
const QString centreMarkerTitle = QStringLiteral("centerNight");
// Legend-only markers stand here, outside every range the chart shows.
constexpr double offPlot = -10.0;
constexpr double dayMs = 86400000.0;

// The dots of class k: "<class>_marker", "Unassigned_marker" for the empty class.
QString recordingMarkerTitle(const ActivityRows &rows, int k)
{
    return rows.curveName(k) + QStringLiteral("_marker");
}

/**
 * Takes the previous drawing's "Invalid" bands and recording markers off and
 * deletes them, in one pass and in the plot's order: each then stands near the
 * front of the items of its z, where the plot finds and removes it at once, so
 * a year of 50,000 dots goes in linear time (in any other order in quadratic).
 */
void deleteDrawnItems(QwtPlot *plot, const ActivityRows &rows)
{
    QSet<QString> titles{invalidBandTitle};
    for (int k = 0; k < rows.classList.size(); ++k)
        titles.insert(recordingMarkerTitle(rows, k));
    QVector<QwtPlotItem *> drawn;
    for (QwtPlotItem *item : plot->itemList()) {
        if (titles.contains(item->title().text()))
            drawn << item;
    }
    qDeleteAll(drawn); // each detaches itself
}

// One "centerNight" marker while the centred layout is shown, none otherwise.
void placeCentreMarker(QwtPlot *plot, bool centred)
{
    QVector<QwtPlotItem *> markers;
    for (QwtPlotItem *item : plot->itemList(QwtPlotItem::Rtti_PlotMarker)) {
        if (item->title().text() == centreMarkerTitle)
            markers << item;
    }
    if (!centred) {
        qDeleteAll(markers);
    } else if (markers.isEmpty()) {
        auto *marker = new QwtPlotMarker(centreMarkerTitle); // titled before attaching: the zoomer reads it then
        marker->setValue(offPlot, offPlot);
        marker->attach(plot);
    }
}

QwtPlotIntervalCurve *newInvalidBand(const QVector<QwtIntervalSample> &samples, const QColor &color, int z)
{
    auto *band = new QwtPlotIntervalCurve(invalidBandTitle);
    band->setBrush(QBrush(color, Qt::SolidPattern));
    band->setPen(QPen(QBrush(QColor(0, 0, 0, 0), Qt::SolidPattern), 0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    band->setRenderHint(QwtPlotItem::RenderAntialiased);
    band->setZ(z);
    band->setItemAttribute(QwtPlotItem::Legend, false);
    band->setSamples(samples);
    return band;
}

/**
 * The check state of each legend entry by its title (the classes' entries are
 * the first drawing's): read once per drawing, not per dot.
 */
QHash<QString, bool> legendStates(const QwtPlot *plot)
{
    QHash<QString, bool> states;
    for (QwtPlotItem *item : plot->itemList()) {
        if (item->testItemAttribute(QwtPlotItem::Legend))
            states.insert(item->title().text(), legendEntryChecked(plot, item));
    }
    return states;
}

QwtSymbol *classLegendSymbol(const QColor &color)
{
    return new QwtSymbol(QwtSymbol::Ellipse, QBrush(color), QPen(Qt::NoPen), QSize(4, 4));
}

} // namespace

void plotFolderDialog::plotFunctionVsTime(bool init, bool)
{
    // This chart has no plot data to export: its dots are the recordings themselves.
    ui->pushButton_2->setEnabled(true);
    ui->pushButton_19->setEnabled(false);
    const ActivityRows rows = activityRows();
    const int year = takeShownYear(ActivityTab::Time, rows.years);
    if (year == 0) { // no dated recording: nothing to draw, now or later (the list stays as it is)
        firstPlotVsTime = false;
        return;
    }
    const ActivityForm form = activityForm();
    const bool centred = form.centerNight;
    const TimeOfDayLayout layout = centred ? TimeOfDayLayout::CentredNight : TimeOfDayLayout::Plain;
    const TimeOfDayAxes axes(year);
    const QVector<ClockPeriod> invalid = clockInvalidPeriodsOfYear(form.invalidTimes, year);

    deleteDrawnItems(plotVsTime, rows);
    placeCentreMarker(plotVsTime, centred);
    const TimeOfDaySeries series = centred ? centredTimeOfDaySeries(form, year) : plainTimeOfDaySeries(form, year);

    // Axes: the year's days, and the day or the noon-to-noon night.
    const QDate first(year, 1, 1);
    const int days = first.daysInYear();
    plotVsTime->setAxisTitle(QwtPlot::xBottom, QString::number(year));
    plotVsTime->setAxisScale(QwtPlot::xBottom, axes.x(first), axes.x(first.addDays(days - 1)), 0);
    const double yFrom = centred ? axes.dayLevel(43200000) : axes.dayStart;
    plotVsTime->setAxisScale(QwtPlot::yLeft, yFrom, yFrom + dayMs, 0);

    sunriseCurve->setSamples(series.sunrise);
    sunrise2Curve->setSamples(series.sunrise2);
    sunsetCurve->setSamples(series.sunset);
    sunset2Curve->setSamples(series.sunset2);
    twilightCurve->setSamples(series.twilight);
    twilight2Curve->setSamples(series.twilight2);
    twilightSetCurve->setSamples(series.twilightSet);
    twilightSet2Curve->setSamples(series.twilightSet2);
    recordingTimesCurve->setSamples(series.recording);
    recordingTimes2Curve->setSamples(series.recording2);
    recordingTimes3Curve->setSamples(series.recording3);
    recordingTimes4Curve->setSamples(series.recording4);
    // The plain layout has no evening-side sun lines; the dialog deletes items it leaves detached.
    for (QwtPlotItem *item : timePlotItems()) {
        const bool secondSunLine = item == sunrise2Curve || item == sunset2Curve;
        item->attach(centred || !secondSunLine ? plotVsTime : nullptr);
    }

    // The invalid periods, shown as their legend entry is checked (and always on the first drawing).
    const bool invalidShown = init || legendEntryChecked(plotVsTime, invalidTimesCurve);
    const auto addBand = [&](const QVector<QwtIntervalSample> &samples) {
        QwtPlotIntervalCurve *band = newInvalidBand(samples, invalidTimesColor, invalidTimesZ);
        band->setVisible(invalidShown);
        band->attach(plotVsTime);
    };
    for (const ClockPeriod &p : invalid) {
        if (centred) {
            const CentredInvalidBands bands = centredInvalidBands(p, axes);
            addBand(bands.morning);
            addBand(bands.evening);
        } else {
            addBand(plainInvalidBand(p, axes));
        }
    }
    resetActivityZoomers(zoomerVsTime, nullptr);

    // The recordings: a dot per class and ten-minute slot, more opaque the more it holds. A class's
    // colour and legend state are read once, not per dot.
    const QHash<QString, bool> shownByLegend = legendStates(plotVsTime);
    QVector<QColor> colors;
    for (int k = 0; k < rows.classList.size(); ++k)
        colors << makeColor(k);
    for (int k = 0; k < rows.classList.size(); ++k) {
        const QString title = recordingMarkerTitle(rows, k);
        const bool shown = shownByLegend.value(rows.curveName(k), true);
        const QVector<int> counts = recordingSlotCounts(rows, k, year, layout);
        QColor color = colors.at(k);
        for (int i = 0; i < counts.size(); ++i) {
            if (counts.at(i) == 0)
                continue;
            color.setAlpha(recordingMarkerAlpha(counts.at(i)));
            auto *marker = new QwtPlotMarker(title);
            auto *dot = new QwtSymbol(QwtSymbol::Ellipse, QBrush(color), QPen(Qt::NoPen), QSize(3, 3));
            // A pixmap cached per dot would take three times the memory (some 170 MB for a season's 50,000)
            // to save some 50 ms a replot.
            dot->setCachePolicy(QwtSymbol::NoCache);
            marker->setSymbol(dot);
            marker->setRenderHint(QwtPlotItem::RenderAntialiased);
            marker->setValue(recordingMarkerPosition(i, year, axes, layout));
            marker->setVisible(shown);
            marker->attach(plotVsTime);
        }
    }

    // The classes' legend entries: made once, checked; later drawings only give them their colours.
    if (init) {
        for (int k = 0; k < rows.classList.size(); ++k) {
            auto *entry = new QwtPlotMarker(rows.curveName(k));
            entry->setSymbol(classLegendSymbol(colors.at(k)));
            entry->setValue(offPlot, offPlot);
            entry->setItemAttribute(QwtPlotItem::Legend, true);
            entry->attach(plotVsTime);
            setLegendEntryChecked(plotVsTime, entry, true);
        }
        for (QwtPlotItem *item : std::initializer_list<QwtPlotItem *>{sunriseCurve, sunsetCurve, twilightCurve,
                                                                      recordingTimesCurve, invalidTimesCurve})
            setLegendEntryChecked(plotVsTime, item, true);
    } else {
        QHash<QString, int> classOfTitle;
        for (int k = 0; k < rows.classList.size(); ++k)
            classOfTitle.insert(rows.curveName(k), k);
        for (QwtPlotItem *item : plotVsTime->itemList(QwtPlotItem::Rtti_PlotMarker)) {
            const auto k = classOfTitle.constFind(item->title().text());
            if (item->testItemAttribute(QwtPlotItem::Legend) && k != classOfTitle.constEnd())
                static_cast<QwtPlotMarker *>(item)->setSymbol(classLegendSymbol(colors.at(k.value())));
        }
    }

    plotVsTime->replot();
    firstPlotVsTime = false;
    // The date range shows the whole year; set quietly, as the zoom base already does.
    const QSignalBlocker quietStart(ui->dateEditStart), quietStop(ui->dateEditStop);
    ui->dateEditStart->setMinimumDate(first);
    ui->dateEditStart->setMaximumDate(first.addDays(days - 2));
    ui->dateEditStop->setMinimumDate(first.addDays(1));
    ui->dateEditStop->setMaximumDate(first.addDays(days - 1));
    ui->dateEditStart->setDate(first);
    ui->dateEditStop->setDate(first.addDays(days - 1));
}
