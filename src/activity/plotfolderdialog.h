#pragma once

#include "activity/activitycharttab.h"
#include "activity/charts/activityrows.h"
#include "activity/foldersettings.h"
#include "activity/plotfolderdialogform.h"

#include <QByteArray>
#include <QColor>
#include <QDialog>
#include <QList>
#include <QRectF>
#include <QString>
#include <QTimeZone>
#include <QVariant>
#include <QVector>

#include <functional>
#include <memory>

class QDate;
class QGridLayout;
class QProgressDialog;
class QRadioButton;
class QTime;
class QTreeWidget;
class QwtLegend;
class QwtPlot;
class QwtPlotCanvas;
class QwtPlotCurve;
class QwtPlotGappedCurve;
class QwtPlotIntervalCurve;
class QwtPlotItem;
class QwtPlotZoomer;
struct ActivityForm;

/**
 * The activity plot dialog: seven charts of the loaded folder's activity, one
 * per tab (ActivityTab), over the settings of the folder's "QuillonSettings.ini".
 *
 * The frame (this class) loads the settings into the form, writes a setting
 * when the user changes its control, builds the seven plots with their items, legends
 * and zoomers, follows the year buttons, the tabs and the date edits, and
 * exports plots. It runs modally over the main window. Each tab's plot with its
 * canvas, legend, zoomers and valid-hours curve is one ActivityChartTab
 * (chartTab()), which builds and deletes them and answers its activity legend;
 * the members named `plotVs<Tab>` ... `firstPlotVs<Tab>` are bound to its parts.
 *
 * The charts
 * ----------
 * The seven chart computations are the slots plotFunctionVs<Tab>(init,
 * exportData). The frame never calls them directly: every call goes through
 * callChart, which first tells the chart-call observer (a test seam; the program
 * installs none) and then runs the computation. A computation
 *  - reads the form through `ui` (coordinates, zone, periods, twilight, ...) and
 *    the zone through chosenTimeZone(), never by indexing `timeZones` itself;
 *  - reads the folder's settings file in `wavDirectory` (readFolderSetting) for
 *    the invalid periods and the data files (read through BoundedLineReader);
 *  - reads the rows of `fileList` (fileRowTextsOf), the main window's file list
 *    of the folder's mode; it never changes them;
 *  - shows the year at `yearIndex` (one index for all tabs, stepped without a
 *    bound by the year buttons: the computation clamps it);
 *  - colours class i with makeColor(i);
 *  - draws into the tab's plot members below (`plotVs<Tab>`, `legendVs<Tab>`,
 *    `zoomerVs<Tab>`, `rightZoomerVs<Tab>`, `validHoursVs<Tab>`, the time plot's
 *    items), which the set-up built and which stay null on a weather tab without
 *    its file;
 *  - receives as `init` the tab's `firstPlotVs<Tab>` flag and clears it after
 *    drawing; with `exportData` asks for a CSV file and writes its values.
 *
 * What the charts share lives in activity/charts/. A drawing
 *  - starts with beginActivityChart(), which asks for the export file first,
 *    then takes the rows (activityRows(): rows, years, classes, curves:
 *    activityrows.h) and the year (takeShownYear()) and draws no data when
 *    that gives none; the time-of-day chart, which exports nothing, takes the
 *    rows and the year itself;
 *  - reads the form once through activityForm() and builds one RecorderClock
 *    for the year (common/recorderclock.h);
 *  - hands form, clock, rows and year to pure functions that compute its
 *    numbers: dayCandidates (activityevents.h), daysSeries, monthsActivity and
 *    nightActivity (activityseries.h), measuredActivity (measuredactivity.h);
 *    the time-of-day chart's series (timeofdayseries.h) build their own clock.
 *    They count in each day's valid periods (validperiods.h) and take every
 *    sun time through its daySunTimes;
 *  - draws with activityplotitems.h (legend markers, "_Activity" curves,
 *    valid-hours bars, scale engines, zoom bases);
 *  - exports with plotdatacsv.h (choosePlotDataFile first, plotDataCsvText and
 *    writePlotDataFile after drawing; the keys are in common/settingskeys.h).
 */
class plotFolderDialog : public QDialog
{
    Q_OBJECT

public:
    plotFolderDialog(QWidget *parent, const QString &wavDirectory, QTreeWidget *fileList);
    ~plotFolderDialog() override;

    Ui_plotFolderDialog *ui;
    QString wavDirectory;       // the settings file is wavDirectory + "/QuillonSettings.ini"
    QTreeWidget *fileList;      // not owned: the main window's list of the folder
    QList<QTimeZone> timeZones; // parallel to comboBox's items
    bool ready = false;         // the constructor has ended: settings changes draw from now on
    int yearIndex = 0;

    /**
     * The zone the recordings were written in: the chosen item's, or, with no
     * offered zone selected, the stored "TimeZone" id's (the system zone's when
     * that id names no zone).
     */
    QTimeZone chosenTimeZone() const;
    /** The id that Close stores: the chosen item's, else the id read when the dialog opened. */
    QByteArray chosenTimeZoneId() const;

    /** The tab on show. */
    ActivityTab currentTab() const;
    /** The tab's first-plot flag, which its chart takes as `init`. */
    bool firstPlotFlag(ActivityTab tab) const;
    /** The tab's plot; null on a weather tab without its file. */
    QwtPlot *plotOf(ActivityTab tab) const;

    /** Test seam: told of every chart computation the frame asks for, before it runs. */
    using ChartCallObserver = std::function<void(ActivityTab tab, bool init, bool exportData)>;
    static void setChartCallObserver(ChartCallObserver observer);
    /** Test seam: told after each step of the days chart's progress, which it may cancel as a user's close does. */
    using ProgressObserver = std::function<void(QProgressDialog &progress)>;
    static void setProgressObserver(ProgressObserver observer);

    // --- Plots (built by the set-up; the charts fill them) ----------------------
    QColor canvasColor;         // background of all seven canvases
    QColor recordingTimesColor; // the recording bands; the time canvas while they are hidden
    QColor invalidTimesColor;   // the invalid-period bands
    int invalidTimesZ = 0;      // z of the time chart's "Invalid" bands

    /** The seven tabs' plots, indexed by ActivityTab; a weather tab's plot is null while it has no file. */
    ActivityChartTab chartTabs[int(ActivityTab::WindSpeed) + 1];
    ActivityChartTab &chartTab(ActivityTab tab) { return chartTabs[int(tab)]; }
    const ActivityChartTab &chartTab(ActivityTab tab) const { return chartTabs[int(tab)]; }

    // The tabs' parts under the names the charts and the rest of the program know them by, bound once.
    QwtPlot *&plotVsTime = chartTabs[0].plot, *&plotVsDays = chartTabs[1].plot, *&plotVsMonth = chartTabs[2].plot,
            *&plotVsNight = chartTabs[3].plot, *&plotVsTemp = chartTabs[4].plot, *&plotVsPrec = chartTabs[5].plot,
            *&plotVsWind = chartTabs[6].plot;
    QwtPlotCanvas *&canvasVsTime = chartTabs[0].canvas, *&canvasVsDays = chartTabs[1].canvas,
                  *&canvasVsMonth = chartTabs[2].canvas, *&canvasVsNight = chartTabs[3].canvas,
                  *&canvasVsTemp = chartTabs[4].canvas, *&canvasVsPrec = chartTabs[5].canvas,
                  *&canvasVsWind = chartTabs[6].canvas;
    QwtLegend *&legendVsTime = chartTabs[0].legend, *&legendVsDays = chartTabs[1].legend,
              *&legendVsMonth = chartTabs[2].legend, *&legendVsNight = chartTabs[3].legend,
              *&legendVsTemp = chartTabs[4].legend, *&legendVsPrec = chartTabs[5].legend,
              *&legendVsWind = chartTabs[6].legend;
    QwtPlotZoomer *&zoomerVsTime = chartTabs[0].zoomer, *&zoomerVsDays = chartTabs[1].zoomer,
                  *&zoomerVsMonth = chartTabs[2].zoomer, *&zoomerVsNight = chartTabs[3].zoomer,
                  *&zoomerVsTemp = chartTabs[4].zoomer, *&zoomerVsPrec = chartTabs[5].zoomer,
                  *&zoomerVsWind = chartTabs[6].zoomer;
    QwtPlotZoomer *&rightZoomerVsDays = chartTabs[1].rightZoomer, *&rightZoomerVsMonth = chartTabs[2].rightZoomer,
                  *&rightZoomerVsNight = chartTabs[3].rightZoomer, *&rightZoomerVsTemp = chartTabs[4].rightZoomer,
                  *&rightZoomerVsPrec = chartTabs[5].rightZoomer, *&rightZoomerVsWind = chartTabs[6].rightZoomer;
    QwtPlotCurve *&validHoursVsDays = chartTabs[1].validHours, *&validHoursVsMonth = chartTabs[2].validHours,
                 *&validHoursVsNight = chartTabs[3].validHours, *&validHoursVsTemp = chartTabs[4].validHours,
                 *&validHoursVsPrec = chartTabs[5].validHours, *&validHoursVsWind = chartTabs[6].validHours;
    bool &firstPlotVsTime = chartTabs[0].firstPlot, &firstPlotVsDays = chartTabs[1].firstPlot,
         &firstPlotVsMonth = chartTabs[2].firstPlot, &firstPlotVsNight = chartTabs[3].firstPlot,
         &firstPlotVsTemp = chartTabs[4].firstPlot, &firstPlotVsPrec = chartTabs[5].firstPlot,
         &firstPlotVsWind = chartTabs[6].firstPlot;

    // The time plot's items, attached by its chart (the set-up only builds them).
    QwtPlotGappedCurve *sunriseCurve = nullptr;
    QwtPlotGappedCurve *sunsetCurve = nullptr;
    QwtPlotGappedCurve *sunrise2Curve = nullptr;
    QwtPlotGappedCurve *sunset2Curve = nullptr;
    QwtPlotIntervalCurve *twilightCurve = nullptr;
    QwtPlotIntervalCurve *twilight2Curve = nullptr;
    QwtPlotIntervalCurve *twilightSetCurve = nullptr;
    QwtPlotIntervalCurve *twilightSet2Curve = nullptr;
    QwtPlotIntervalCurve *recordingTimesCurve = nullptr;
    QwtPlotIntervalCurve *recordingTimes2Curve = nullptr;
    QwtPlotIntervalCurve *recordingTimes3Curve = nullptr;
    QwtPlotIntervalCurve *recordingTimes4Curve = nullptr;
    QwtPlotIntervalCurve *invalidTimesCurve = nullptr;

    /**
     * The data series the temperature, precipitation and wind charts read
     * last (measuredchart.cpp): taken again while the file and what decides
     * its reading stand.
     */
    struct MeasuredSeriesCache;
    std::shared_ptr<MeasuredSeriesCache> measuredSeries;

    /** The colour of class i in every chart (classColor over the stored "classColors"). */
    QColor makeColor(int i) const;

    // --- What the charts share (activity/charts/plotfolderdialog_chartinputs.cpp) ----------
    /** The form's settings and the folder's invalid periods, as one drawing reads them. */
    ActivityForm activityForm() const;
    /** The file list's rows with their years, classes and curves, as one drawing reads them. */
    ActivityRows activityRows() const;
    /**
     * The year a tab's chart shows, from the rows' years: `yearIndex` is first
     * clamped into them (and kept so), then the tab's "<" and ">" buttons are
     * hidden for a single year, else enabled unless at the first or last year.
     * With no year (no row has a date) both buttons are hidden, "Export Plot
     * Data" is disabled and 0 is returned: the chart draws no data. Call it
     * before anything that may end the drawing early.
     */
    int takeShownYear(ActivityTab tab, const QVector<int> &years);

    /** How an activity chart's drawing begins (beginActivityChart). */
    struct ActivityChartStart {
        bool draw = false;  // false: the drawing ends here
        QString exportPath; // the file the data goes to, with exportData
        ActivityRows rows;  // read once the file is chosen
        int year = 0;       // the shown year
    };
    /**
     * The first steps of an activity chart (days ... wind speed): both export
     * buttons enabled; with exportData the file asked for (cancelled: nothing
     * else happens); the rows read and the shown year taken (takeShownYear). With no year the
     * tab's plot is emptied (drawNoActivity), its first-plot flag cleared and
     * the drawing ends.
     */
    ActivityChartStart beginActivityChart(ActivityTab tab, bool init, bool exportData);
    /** The tab's "Valid Hours" curve; null on the time tab and on a weather tab without its file. */
    QwtPlotCurve *validHoursOf(ActivityTab tab) const;

public slots:
    // The chart computations (see above), each in activity/charts/plotfolderdialog_<chart>.cpp.
    void plotFunctionVsTime(bool init = false, bool exportData = false);
    void plotFunctionVsDays(bool init = false, bool exportData = false);
    void plotFunctionVsMonth(bool init = false, bool exportData = false);
    void plotFunctionVsNight(bool init = false, bool exportData = false);
    void plotFunctionVsTemp(bool init = false, bool exportData = false);
    void plotFunctionVsPrec(bool init = false, bool exportData = false);
    void plotFunctionVsWind(bool init = false, bool exportData = false);

    // Set-up of each tab's plot; the weather tabs' run again when their file is chosen.
    void initPlotVsTime();
    void initPlotVsDays();
    void initPlotVsMonth();
    void initPlotVsNight();
    void initPlotVsTemp();
    void initPlotVsPrec();
    void initPlotVsWind();

    // Legend entries show and hide the items they stand for.
    void legendChecked(const QVariant &itemInfo, bool on, int index);
    void legendVsDaysChecked(const QVariant &itemInfo, bool on, int index);
    void legendVsMonthChecked(const QVariant &itemInfo, bool on, int index);
    void legendVsNightChecked(const QVariant &itemInfo, bool on, int index);
    void legendVsTempChecked(const QVariant &itemInfo, bool on, int index);
    void legendVsPrecChecked(const QVariant &itemInfo, bool on, int index);
    void legendVsWindChecked(const QVariant &itemInfo, bool on, int index);

    // Zooms of the left-axis zoomers: the time and month plots move their date edits.
    void zoomed(const QRectF &zoom);
    void zoomedVsDays(const QRectF &zoom);
    void zoomedVsMonth(const QRectF &zoom);
    void zoomedVsNight(const QRectF &zoom);
    void zoomedVsTemp(const QRectF &zoom);
    void zoomedVsPrec(const QRectF &zoom);
    void zoomedVsWind(const QRectF &zoom);

private slots:
    // Settings: each draws the current chart and, once the dialog is ready, writes its key.
    void on_doubleSpinBox_valueChanged(double arg1);
    void on_doubleSpinBox_2_valueChanged(double arg1);
    void on_checkBox_clicked();
    void on_checkBox_2_clicked();
    void on_comboBox_currentIndexChanged(int index);
    void on_comboBox_2_currentIndexChanged(const QString &arg1);
    void on_comboBox_3_currentIndexChanged(const QString &arg1);
    void on_comboBox_4_currentIndexChanged(int index);
    void on_dateEdit_userDateChanged(const QDate &date);
    void on_dateEdit_2_userDateChanged(const QDate &date);
    void on_timeEdit_timeChanged(const QTime &time);
    void on_timeEdit_2_timeChanged(const QTime &time);
    void on_spinBox_valueChanged(int arg1);
    void on_spinBox_2_valueChanged(int arg1);

    // Linear (writes the tab's log key, draws the tab's chart) and logarithmic (nothing) scale buttons.
    void on_radioButton_11_toggled(bool checked);
    void on_radioButton_3_toggled(bool checked);
    void on_radioButton_2_toggled(bool checked);
    void on_radioButton_5_toggled(bool checked);
    void on_radioButton_7_toggled(bool checked);
    void on_radioButton_9_toggled(bool checked);
    void on_radioButton_toggled(bool checked);
    void on_radioButton_4_toggled(bool checked);
    void on_radioButton_6_toggled(bool checked);
    void on_radioButton_8_toggled(bool checked);
    void on_radioButton_10_toggled(bool checked);
    void on_radioButton_12_toggled(bool checked);

    void on_pushButton_clicked();    // invalid periods
    void on_pushButton_18_clicked(); // class colours
    void on_pushButton_11_clicked(); // weather file, temperature tab
    void on_pushButton_14_clicked(); // weather file, precipitation tab
    void on_pushButton_17_clicked(); // wind file and its format
    void on_pushButton_2_clicked();  // Export Plot
    void on_pushButton_19_clicked(); // Export Plot Data

    // Year buttons: "<" and ">" of each tab.
    void on_pushButton_3_clicked();
    void on_pushButton_4_clicked();
    void on_pushButton_20_clicked();
    void on_pushButton_21_clicked();
    void on_pushButton_5_clicked();
    void on_pushButton_6_clicked();
    void on_pushButton_7_clicked();
    void on_pushButton_8_clicked();
    void on_pushButton_9_clicked();
    void on_pushButton_10_clicked();
    void on_pushButton_12_clicked();
    void on_pushButton_13_clicked();
    void on_pushButton_15_clicked();
    void on_pushButton_16_clicked();

    void on_tabWidget_currentChanged(int index);

    void on_dateEditStart_userDateChanged(const QDate &date);
    void on_dateEditStop_userDateChanged(const QDate &date);
    void on_dateEdit_3_userDateChanged(const QDate &date);
    void on_dateEdit_4_userDateChanged(const QDate &date);

    void on_buttonBox_rejected(); // Close: stores each setting the user changed

private:
    /** Tells the observer, then runs the tab's computation. */
    void callChart(ActivityTab tab, bool init, bool exportData);
    /** The tab's computation with its first-plot flag, exportData false. */
    void drawChart(ActivityTab tab);
    /** drawChart of the tab on show, once the dialog is ready. */
    void drawCurrentChart();
    void stepYear(ActivityTab tab, int step);
    void chooseWeatherFile(ActivityTab tab);
    void writeLogKey(ActivityTab tab, bool linearChecked);
    FolderTimeSettings settingsFromControls() const;
    void loadControls(const FolderTimeSettings &stored);
    /** Stores a value the user gave a settings control; the controls' loading gives none. */
    template <typename T>
    void storeUserChange(const FolderSetting<T> &setting, const QVariant &value);
    /** The items of the boxes of the index settings (Twilight, PeriodType, intervalDays), for the slips' forms. */
    QVector<FolderSettings::BoxItems> boxItems() const;
    /** Tells the user of the slips in the folder's file (values not read show their defaults), and which file. */
    void tellUnreadableSettings(const QStringList &unread);

    // Set-up helpers (plotfolderdialog_setup.cpp).
    struct ActivityPlot;
    ActivityPlot activityPlot(ActivityTab tab);
    void buildActivityPlot(ActivityTab tab);
    bool weatherFileRule(ActivityTab tab);
    void setScaleButtons(QRadioButton *logarithmic, void (plotFolderDialog::*logarithmicSlot)(bool),
                         QRadioButton *linear, void (plotFolderDialog::*linearSlot)(bool), bool logarithmicScale);
    QList<QwtPlotItem *> timePlotItems() const;

    QByteArray storedTimeZoneId() const;
    void clearFirstPlotFlag(ActivityTab tab);

    // The settings as the file held them when the dialog opened (a GPS's
    // latitude with all its digits), and as the controls showed them then:
    // Close stores only what differs from the latter, what the user changed.
    FolderTimeSettings readAtOpen;
    FolderTimeSettings shownAtOpen;

    static ChartCallObserver chartCallObserver;
    static ProgressObserver progressObserver;
};
