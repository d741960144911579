#pragma once

#include <QColor>
#include <QString>

#include <utility>

class QGridLayout;
class QVariant;
class QWidget;
class QwtLegend;
class QwtPlot;
class QwtPlotCanvas;
class QwtPlotCurve;
class QwtPlotZoomer;

/**
 * One chart tab of the activity dialog: its plot with canvas, legend and
 * left-axis zoomer, and on the six activity tabs (all but the time tab) the
 * "Valid Hours" curve and a right-axis zoomer that only shows a tracker text.
 *
 * The tab builds them into the form's plot area and deletes them again. Once
 * built, the plot owns them all (canvas and legend are its children, the
 * zoomers the canvas's, the curve is attached): the tab keeps pointers, which
 * are null before the set-up and after destroy(). The dialog's chart of the
 * tab reads and fills them; the dialog connects the legend's and the zoomer's
 * signals to its own slots, which hand the activity legends' checks back to
 * legendChecked().
 */
class ActivityChartTab
{
public:
    QwtPlot *plot = nullptr;
    QwtPlotCanvas *canvas = nullptr;
    QwtLegend *legend = nullptr;
    QwtPlotZoomer *zoomer = nullptr;      // left axis: zooms
    QwtPlotZoomer *rightZoomer = nullptr; // right axis: its text only; none on the time tab
    QwtPlotCurve *validHours = nullptr;   // none on the time tab
    bool firstPlot = false;               // from the set-up until the tab's chart has drawn once

    enum class BottomAxis { Dates, NightFraction, ZeroToForty };
    /** A tab's left and right zoomer, both made on the canvas given. */
    using Zoomers = std::pair<QwtPlotZoomer *, QwtPlotZoomer *>;

    /** What an activity tab's plot is built with. */
    struct Setup {
        QGridLayout *layout; // the tab's plot area
        int column;          // where the plot goes in it (row 0)
        QString leftTitle;
        QString rightTitle;
        BottomAxis bottom;
        bool validHoursOutline;   // the bars get a pen of their own, not Qwt's
        bool trackerFollowsHours; // hiding the valid hours hides the right zoomer's text too
        QColor canvasColor;
        Zoomers (*makeZoomers)(QWidget *canvas);
    };

    /**
     * Builds an activity tab: the plot, its axis titles, the "Valid Hours" curve
     * on the right axis, canvas, checkable legend, grid, both zoomers and the
     * bottom axis; sets the first-plot flag.
     */
    void build(const Setup &setup);
    /** Deletes the plot with all it holds; every pointer is null again. */
    void destroy();

    // The steps of a build, for the time tab, which builds its plot its own way.
    void createPlot(QGridLayout *layout, int column);
    void addCanvas(const QColor &background);
    void addLegend();
    void addGrid();
    static void styleZoomer(QwtPlotZoomer *zoomer);
    /** A date scale on the axis, with the label format of each interval kind. */
    static void setDateAxis(QwtPlot *plot, int axis, const QString &coarse, const QString &week, const QString &fine,
                            const QString &milliseconds);

    /**
     * An activity legend's check: "Valid Hours" shows or hides the curve with
     * the right axis (and, where it follows them, the right zoomer's text);
     * any other entry the data items titled after it with "_Activity". Then a
     * replot. An entry that is not the plot's changes nothing.
     */
    void legendChecked(const QVariant &itemInfo, bool on);
    /**
     * Shows or hides every item of the plot that bears the title: the charts
     * make new items at every drawing, so a legend finds them by their titles.
     */
    static void setTitledVisible(QwtPlot *plot, const QString &title, bool on);

    /**
     * Zooms back to the base and then to the zoom rectangle with its left (or
     * right) edge moved to x; nothing without a zoomer.
     */
    void zoomEdgeTo(Qt::Edge edge, double x);

private:
    bool trackerFollowsHours = true;
};
