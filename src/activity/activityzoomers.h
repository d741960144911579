#pragma once

#include <QSizeF>
#include <QVector>
#include <qwt_plot_zoomer.h>

class QwtPlot;
class QwtPlotItem;

/*
 * The zoomers of the seven activity plots. Each plot has a left-axis zoomer
 * (x bottom, y left: MyQwtZoomer3 to 9) that zooms and keeps its rubber band on
 * the canvas. The six plots with valid hours on a right axis also carry a
 * right-axis zoomer (MyQwtZoomer41 to 91, given x bottom and y right) that the
 * plot set-up leaves without a selection machine, so it only shows its tracker
 * text, and never draws a rubber band that could leave the canvas. Both texts
 * stand at the cursor at once: the right one starts with two empty lines and a
 * run of blanks, so that its hours sit below the left one's two lines.
 *
 * Axis values: the time plot has x = a local day and y = a local time of day on
 * 1 January 2015, both as milliseconds since the epoch; the days and months plots
 * have x in milliseconds since the epoch; the others x in their own unit (fraction
 * of the night, degrees Celsius, mm/min, m/s). Numbers follow the default QLocale;
 * month names come from the system locale, as Qt's date formatting takes them.
 *
 * minZoomSize is in axis units: a smaller rectangle grows to it around its centre.
 */

// Activity over the time of day. The night-centred view is on while an item
// titled "centerNight" is attached to the plot; the chart attaches and detaches
// it. Qwt asks for the text several times per mouse move on a plot that may hold
// 100,000 dots, so the zoomer follows the plot's attachments instead of walking
// its items: an item counts when it bears the title as it is attached (the chart
// titles its marker first), until it is detached or deleted.
class MyQwtZoomer3 : public QwtPlotZoomer
{
public:
    MyQwtZoomer3(QWidget *canvas, const QwtPlot *plot, bool doReplot = true);
    QwtText trackerTextF(const QPointF &pos) const override;
    QSizeF minZoomSize() const override;

protected:
    void move(const QPoint &pos) override;

private:
    void itemAttached(QwtPlotItem *item, bool on);
    bool nightCentred() const;

    const QwtPlot *timePlot; // not owned; outlives the zoomer
    // The attached "centerNight" items, compared by address only: a deleted
    // item reports its detaching from its destructor.
    QVector<const QwtPlotItem *> centreMarkers;
};

class MyQwtZoomer9 : public QwtPlotZoomer // days
{
public:
    explicit MyQwtZoomer9(QWidget *canvas, bool doReplot = true);
    QwtText trackerTextF(const QPointF &pos) const override;
    QSizeF minZoomSize() const override;

protected:
    void move(const QPoint &pos) override;
};

class MyQwtZoomer4 : public QwtPlotZoomer // months
{
public:
    explicit MyQwtZoomer4(QWidget *canvas, bool doReplot = true);
    QwtText trackerTextF(const QPointF &pos) const override;
    QSizeF minZoomSize() const override;

protected:
    void move(const QPoint &pos) override;
};

class MyQwtZoomer5 : public QwtPlotZoomer // night
{
public:
    explicit MyQwtZoomer5(QWidget *canvas, bool doReplot = true);
    QwtText trackerTextF(const QPointF &pos) const override;
    QSizeF minZoomSize() const override;

protected:
    void move(const QPoint &pos) override;
};

class MyQwtZoomer6 : public QwtPlotZoomer // temperature
{
public:
    explicit MyQwtZoomer6(QWidget *canvas, bool doReplot = true);
    QwtText trackerTextF(const QPointF &pos) const override;
    QSizeF minZoomSize() const override;

protected:
    void move(const QPoint &pos) override;
};

class MyQwtZoomer7 : public QwtPlotZoomer // precipitation
{
public:
    explicit MyQwtZoomer7(QWidget *canvas, bool doReplot = true);
    QwtText trackerTextF(const QPointF &pos) const override;
    QSizeF minZoomSize() const override;

protected:
    void move(const QPoint &pos) override;
};

class MyQwtZoomer8 : public QwtPlotZoomer // wind speed
{
public:
    explicit MyQwtZoomer8(QWidget *canvas, bool doReplot = true);
    QwtText trackerTextF(const QPointF &pos) const override;
    QSizeF minZoomSize() const override;

protected:
    void move(const QPoint &pos) override;
};

class MyQwtZoomer91 : public QwtPlotZoomer
{
public:
    MyQwtZoomer91(int xAxis, int yAxis, QWidget *canvas, bool doReplot = true);
    QwtText trackerTextF(const QPointF &pos) const override;
    QSizeF minZoomSize() const override;
};

class MyQwtZoomer41 : public QwtPlotZoomer
{
public:
    MyQwtZoomer41(int xAxis, int yAxis, QWidget *canvas, bool doReplot = true);
    QwtText trackerTextF(const QPointF &pos) const override;
    QSizeF minZoomSize() const override;
};

class MyQwtZoomer51 : public QwtPlotZoomer
{
public:
    MyQwtZoomer51(int xAxis, int yAxis, QWidget *canvas, bool doReplot = true);
    QwtText trackerTextF(const QPointF &pos) const override;
    QSizeF minZoomSize() const override;
};

class MyQwtZoomer61 : public QwtPlotZoomer
{
public:
    MyQwtZoomer61(int xAxis, int yAxis, QWidget *canvas, bool doReplot = true);
    QwtText trackerTextF(const QPointF &pos) const override;
    QSizeF minZoomSize() const override;
};

class MyQwtZoomer71 : public QwtPlotZoomer
{
public:
    MyQwtZoomer71(int xAxis, int yAxis, QWidget *canvas, bool doReplot = true);
    QwtText trackerTextF(const QPointF &pos) const override;
    QSizeF minZoomSize() const override;
};

class MyQwtZoomer81 : public QwtPlotZoomer
{
public:
    MyQwtZoomer81(int xAxis, int yAxis, QWidget *canvas, bool doReplot = true);
    QwtText trackerTextF(const QPointF &pos) const override;
    QSizeF minZoomSize() const override;
};
