#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QPen>
#include <QPointF>
#include <QStringList>
#include <QVector>
#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_scale_draw.h>

#include <initializer_list>

class QwtPlot;
class QwtPlotCanvas;
class QwtPlotGrid;
class QwtPlotItem;
class QwtPlotScaleItem;

/**
 * What the three plots build alike: the curve greens, the axis font, a canvas,
 * an axis that carries only its title, the cursor and playback lines. Each
 * plot's own class builds its items from these in its constructor.
 */
namespace PlotKit {

// The envelope's extremes and the spectra; the time plot's RMS curves in the lighter green.
inline const QColor green(122, 184, 0);
inline const QColor lightGreen(160, 220, 0);

/** The look of the time and frequency plots in the light or the dark theme. */
struct AxisPlotColours {
    QPalette canvas;
    QPen grid;
    QPen tracker;       // the read-out beside the cursor
    QPalette scaleItem; // the numbers inside the canvas
    QColor band;        // the shades beside a zoomed stretch: translucent, the curves show through
    QColor line;        // the cursor lines and the zero line

    static AxisPlotColours of(bool dark);
};

// The font the Windows dialogs use; elsewhere Qt substitutes the nearest family.
QFont axisFont();

/** A plain canvas in colour with square corners and the arrow cursor, set on plot. */
QwtPlotCanvas *makeCanvas(QwtPlot *plot, const QColor &colour);

/**
 * An axis that keeps its space and its title but draws no numbers: those
 * come from a scale item inside the canvas.
 */
void showTitleOnly(QwtPlot *plot, int axis);

/** A grid at z, its lines on or off, attached to plot. */
QwtPlotGrid *attachGrid(QwtPlot *plot, double z, bool shown);

/** Switches a grid's lines on or off; the whole item follows, whatever hid it before. */
void showGrid(QwtPlotGrid *grid, bool on);

/**
 * An axis's numbers drawn inside the canvas, along its edge given by
 * alignment, over every other item; those at the axis's ends stand whole
 * inside the canvas.
 */
QwtPlotScaleItem *attachScaleItem(QwtPlot *plot, QwtScaleDraw::Alignment alignment, const QFont &font);

/** A curve without title drawn with a 1 px pen of colour over a solid fill of the same colour. */
QwtPlotCurve *makeCurve(const QColor &colour, double z, QwtPlotCurve::CurveStyle style);

/** Points drawn by curve on plot, shown. */
void showCurve(QwtPlotCurve *curve, QwtPlot *plot, const QVector<QPointF> &points);

/** A hidden grey cursor line at 0 through the whole canvas; the themes recolour it. */
QwtPlotMarker *makeCursorLine(const QString &title, QwtPlotMarker::LineStyle style, Qt::PenStyle penStyle, double z);

/** The red vertical line that follows playback, at 0 and shown. */
QwtPlotMarker *makePlaybackLine();

/**
 * Qwt writes axis titles in 12 pt bold of the desktop's family, wider than
 * the Windows font the form's panes were measured for, and wraps a title
 * between words only: a word longer than its axis runs off both ends. The
 * canvas length an axis needs for the longest word of every title it may
 * carry, with room for the end labels the axis draws itself.
 */
int canvasLengthForTitles(const QwtPlot *plot, int axis, const QStringList &titles);

/**
 * The canvas length an axis needs to write each of the titles it may carry
 * on one line, with room for the end labels it draws itself.
 */
int canvasLengthForOneLineTitles(const QwtPlot *plot, int axis, const QStringList &titles);

/**
 * Deletes those of a plot's own items that are off every plot. The plot
 * deletes the items on it; the display takes some off while a recording
 * loads or a mode leaves them out, and those would outlive it.
 */
void deleteItemsOffPlot(std::initializer_list<QwtPlotItem *> items);

} // namespace PlotKit
