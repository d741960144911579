#include "activity/activityzoomers.h"

#include "display/myqwtzoomer.h"
#include "display/trackertext.h"

#include <QDateTime>
#include <QLocale>
#include <qwt_plot.h>
#include <qwt_text.h>

namespace {

constexpr double halfDayMs = 43200000;
constexpr double fiveMinutesMs = 300000;

// Zoom limits in axis units: a week by an hour on the time plot; about 10.3 days
// (not a whole number of days) on the days and months plots.
const QSizeF timeMinZoom(604800000, 3600000);
const QSizeF dateMinZoom(889032704, 0.01);
const QSizeF unitMinZoom(0.1, 0.01);
const QSizeF precipitationMinZoom(0.01, 0.01);

QString fixed(double value, int decimals)
{
    return QLocale().toString(value, 'f', decimals);
}

QDateTime localDateTime(double msecsSinceEpoch)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(msecsSinceEpoch));
}

// A short month name gets an abbreviation point, but May is never shortened
// ("Mai" in German), and a locale whose short names carry their own point
// ("Jan." in German) must not get a second one.
QString withMonthPoint(const QDateTime &dateTime, const QString &format)
{
    const QString month = dateTime.toString(QStringLiteral("MMM"));
    if (month == QLatin1String("Mai") || month == QLatin1String("May") || month.endsWith(QLatin1Char('.')))
        return dateTime.toString(format);
    return dateTime.toString(format + QLatin1Char('.'));
}

QString activityLine(double recordingsPerHour)
{
    return fixed(recordingsPerHour, 3) + QStringLiteral(" Rec./h\n");
}

template <class OwnText>
QwtText zoomerText(QwtPicker::RubberBand band, const QPointF &pos, OwnText ownText)
{
    const QString line = lineRubberBandText(band, pos);
    return QwtText(line.isNull() ? ownText() : line);
}

QwtText validHoursText(QwtPicker::RubberBand band, const QPointF &pos, int blanks)
{
    return zoomerText(band, pos, [&] {
        return QStringLiteral("\n\n") + QString(blanks, QLatin1Char(' ')) + fixed(pos.y(), 1) + QStringLiteral(" h");
    });
}

} // namespace

// ---- Activity over the time of day

MyQwtZoomer3::MyQwtZoomer3(QWidget *canvas, const QwtPlot *plot, bool doReplot)
    : QwtPlotZoomer(canvas, doReplot)
    , timePlot(plot)
{
    if (!timePlot)
        return;
    for (QwtPlotItem *item : timePlot->itemList())
        itemAttached(item, true);
    connect(timePlot, &QwtPlot::itemAttached, this, &MyQwtZoomer3::itemAttached);
}

void MyQwtZoomer3::itemAttached(QwtPlotItem *item, bool on)
{
    if (!on)
        centreMarkers.removeAll(item);
    else if (item->title().text() == QLatin1String("centerNight"))
        centreMarkers.append(item);
}

bool MyQwtZoomer3::nightCentred() const
{
    // A marker retitled since its attaching no longer counts.
    for (const QwtPlotItem *item : centreMarkers) {
        if (item->title().text() == QLatin1String("centerNight"))
            return true;
    }
    return false;
}

QwtText MyQwtZoomer3::trackerTextF(const QPointF &pos) const
{
    return zoomerText(rubberBand(), pos, [&] {
        // A day's dots stand at its midnight: the half day either side names that day.
        QDateTime day = localDateTime(pos.x() + halfDayMs);
        // Five minutes on, then the minutes' last digit cut: the nearest ten minutes.
        const QTime time = localDateTime(pos.y() + fiveMinutesMs).time();
        // The centred view runs from noon to noon: its morning hours belong to the next day.
        if (nightCentred() && time.hour() < 12)
            day = day.addDays(1);
        return withMonthPoint(day, QStringLiteral("d. MMM")) + QLatin1Char('\n')
               + QStringLiteral("%1:%2").arg(time.hour(), 2, 10, QLatin1Char('0')).arg(time.minute() / 10)
               + QLatin1Char('0');
    });
}

QSizeF MyQwtZoomer3::minZoomSize() const
{
    return timeMinZoom;
}

void MyQwtZoomer3::move(const QPoint &pos)
{
    QwtPlotZoomer::move(MyQwtZoomer::clampedToCanvas(parentWidget(), pos));
}

// ---- Left axes

MyQwtZoomer9::MyQwtZoomer9(QWidget *canvas, bool doReplot)
    : QwtPlotZoomer(canvas, doReplot)
{
}

QwtText MyQwtZoomer9::trackerTextF(const QPointF &pos) const
{
    return zoomerText(rubberBand(), pos, [&] {
        return withMonthPoint(localDateTime(pos.x() - halfDayMs), QStringLiteral("dd.MMM")) + QLatin1Char('\n')
               + fixed(pos.y(), 3) + QLatin1Char('\n');
    });
}

QSizeF MyQwtZoomer9::minZoomSize() const
{
    return dateMinZoom;
}

void MyQwtZoomer9::move(const QPoint &pos)
{
    QwtPlotZoomer::move(MyQwtZoomer::clampedToCanvas(parentWidget(), pos));
}

MyQwtZoomer4::MyQwtZoomer4(QWidget *canvas, bool doReplot)
    : QwtPlotZoomer(canvas, doReplot)
{
}

QwtText MyQwtZoomer4::trackerTextF(const QPointF &pos) const
{
    return zoomerText(rubberBand(), pos, [&] {
        // A month's value stands at its first day; past the middle of a month the
        // cursor is nearer the next one.
        QDate date = localDateTime(pos.x()).date();
        if (date.day() > date.daysInMonth() / 2)
            date = date.addDays(15);
        return withMonthPoint(date.startOfDay(), QStringLiteral("MMM")) + QLatin1Char('\n') + activityLine(pos.y());
    });
}

QSizeF MyQwtZoomer4::minZoomSize() const
{
    return dateMinZoom;
}

void MyQwtZoomer4::move(const QPoint &pos)
{
    QwtPlotZoomer::move(MyQwtZoomer::clampedToCanvas(parentWidget(), pos));
}

MyQwtZoomer5::MyQwtZoomer5(QWidget *canvas, bool doReplot)
    : QwtPlotZoomer(canvas, doReplot)
{
}

QwtText MyQwtZoomer5::trackerTextF(const QPointF &pos) const
{
    return zoomerText(rubberBand(), pos, [&] { return fixed(pos.x(), 3) + QLatin1Char('\n') + activityLine(pos.y()); });
}

QSizeF MyQwtZoomer5::minZoomSize() const
{
    return unitMinZoom;
}

void MyQwtZoomer5::move(const QPoint &pos)
{
    QwtPlotZoomer::move(MyQwtZoomer::clampedToCanvas(parentWidget(), pos));
}

MyQwtZoomer6::MyQwtZoomer6(QWidget *canvas, bool doReplot)
    : QwtPlotZoomer(canvas, doReplot)
{
}

QwtText MyQwtZoomer6::trackerTextF(const QPointF &pos) const
{
    return zoomerText(rubberBand(), pos,
                      [&] { return fixed(pos.x(), 1) + QStringLiteral(" °C\n") + activityLine(pos.y()); });
}

QSizeF MyQwtZoomer6::minZoomSize() const
{
    return unitMinZoom;
}

void MyQwtZoomer6::move(const QPoint &pos)
{
    QwtPlotZoomer::move(MyQwtZoomer::clampedToCanvas(parentWidget(), pos));
}

MyQwtZoomer7::MyQwtZoomer7(QWidget *canvas, bool doReplot)
    : QwtPlotZoomer(canvas, doReplot)
{
}

QwtText MyQwtZoomer7::trackerTextF(const QPointF &pos) const
{
    return zoomerText(rubberBand(), pos,
                      [&] { return fixed(pos.x(), 2) + QStringLiteral(" mm/min\n") + activityLine(pos.y()); });
}

QSizeF MyQwtZoomer7::minZoomSize() const
{
    return precipitationMinZoom;
}

void MyQwtZoomer7::move(const QPoint &pos)
{
    QwtPlotZoomer::move(MyQwtZoomer::clampedToCanvas(parentWidget(), pos));
}

MyQwtZoomer8::MyQwtZoomer8(QWidget *canvas, bool doReplot)
    : QwtPlotZoomer(canvas, doReplot)
{
}

QwtText MyQwtZoomer8::trackerTextF(const QPointF &pos) const
{
    return zoomerText(rubberBand(), pos,
                      [&] { return fixed(pos.x(), 1) + QStringLiteral(" m/s\n") + activityLine(pos.y()); });
}

QSizeF MyQwtZoomer8::minZoomSize() const
{
    return unitMinZoom;
}

void MyQwtZoomer8::move(const QPoint &pos)
{
    QwtPlotZoomer::move(MyQwtZoomer::clampedToCanvas(parentWidget(), pos));
}

// ---- Right axes: valid hours, the blanks line the value up under the left text

MyQwtZoomer91::MyQwtZoomer91(int xAxis, int yAxis, QWidget *canvas, bool doReplot)
    : QwtPlotZoomer(xAxis, yAxis, canvas, doReplot)
{
}

QwtText MyQwtZoomer91::trackerTextF(const QPointF &pos) const
{
    return validHoursText(rubberBand(), pos, 1);
}

QSizeF MyQwtZoomer91::minZoomSize() const
{
    return dateMinZoom;
}

MyQwtZoomer41::MyQwtZoomer41(int xAxis, int yAxis, QWidget *canvas, bool doReplot)
    : QwtPlotZoomer(xAxis, yAxis, canvas, doReplot)
{
}

QwtText MyQwtZoomer41::trackerTextF(const QPointF &pos) const
{
    return validHoursText(rubberBand(), pos, 4);
}

QSizeF MyQwtZoomer41::minZoomSize() const
{
    return dateMinZoom;
}

MyQwtZoomer51::MyQwtZoomer51(int xAxis, int yAxis, QWidget *canvas, bool doReplot)
    : QwtPlotZoomer(xAxis, yAxis, canvas, doReplot)
{
}

QwtText MyQwtZoomer51::trackerTextF(const QPointF &pos) const
{
    return validHoursText(rubberBand(), pos, 4);
}

QSizeF MyQwtZoomer51::minZoomSize() const
{
    return unitMinZoom;
}

MyQwtZoomer61::MyQwtZoomer61(int xAxis, int yAxis, QWidget *canvas, bool doReplot)
    : QwtPlotZoomer(xAxis, yAxis, canvas, doReplot)
{
}

QwtText MyQwtZoomer61::trackerTextF(const QPointF &pos) const
{
    return validHoursText(rubberBand(), pos, 7);
}

QSizeF MyQwtZoomer61::minZoomSize() const
{
    return unitMinZoom;
}

MyQwtZoomer71::MyQwtZoomer71(int xAxis, int yAxis, QWidget *canvas, bool doReplot)
    : QwtPlotZoomer(xAxis, yAxis, canvas, doReplot)
{
}

QwtText MyQwtZoomer71::trackerTextF(const QPointF &pos) const
{
    return validHoursText(rubberBand(), pos, 7);
}

QSizeF MyQwtZoomer71::minZoomSize() const
{
    return precipitationMinZoom;
}

MyQwtZoomer81::MyQwtZoomer81(int xAxis, int yAxis, QWidget *canvas, bool doReplot)
    : QwtPlotZoomer(xAxis, yAxis, canvas, doReplot)
{
}

QwtText MyQwtZoomer81::trackerTextF(const QPointF &pos) const
{
    return validHoursText(rubberBand(), pos, 5);
}

QSizeF MyQwtZoomer81::minZoomSize() const
{
    return unitMinZoom;
}
