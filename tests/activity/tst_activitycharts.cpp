#include "testregistry.h"

#include "activity/charts/activityplotitems.h"
#include "activity/qwtplotgappedcurve.h"
#include "activitydialogtest.h"
#include "common/settingskeys.h"
#include "scripteddialogs.h"

#include <QProgressDialog>
#include <QtTest>
#include <qwt_date.h>
#include <qwt_legend.h>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_scale_div.h>
#include <qwt_symbol.h>

namespace {

double localX(const QDate &date, int hour = 0)
{
    return QwtDate::toDouble(QDateTime(date, QTime(hour, 0)));
}

QList<QwtPlotCurve *> curvesTitled(const QwtPlot *plot, const QString &title)
{
    QList<QwtPlotCurve *> curves;
    for (QwtPlotItem *item : plot->itemList(QwtPlotItem::Rtti_PlotCurve)) {
        if (item->title().text() == title)
            curves << static_cast<QwtPlotCurve *>(item);
    }
    return curves;
}

QPair<double, double> range(const QwtPlot *plot, int axis)
{
    const QwtScaleDiv &div = plot->axisScaleDiv(axis);
    return {div.lowerBound(), div.upperBound()};
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every day of 2021 from the rules: 20:00 to 04:00 is 8 hours, 7 on the day the
// clocks go forward and 9 on the day they go back; the recordings of 5 January
// (two Pip, one Nyc) are the only ones inside the period.
QByteArray expectedDaysFile(const QString &title, const QString &header, bool hours, bool nyc, bool perHour)
{
    QByteArray text = (title + QStringLiteral("\r\n") + header + QStringLiteral("\r\n")).toUtf8();
    for (QDate d(2021, 1, 1); d.year() == 2021; d = d.addDays(1)) {
        const double h = d == QDate(2021, 3, 28) ? 7 : d == QDate(2021, 10, 31) ? 9 : 8;
        const bool fifth = d == QDate(2021, 1, 5);
        const double pip = fifth ? 2 : 0, nycs = fifth ? 1 : 0, all = pip + nycs;
        const double unit = perHour ? h : 1;
        QString line = d.toString(QStringLiteral("dd/MM/yy"));
        if (hours)
            line += QStringLiteral(";%1").arg(h, 0, 'f', 1);
        line += QStringLiteral(";%1").arg(pip / unit, 0, 'f', 3);
        if (nyc)
            line += QStringLiteral(";%1").arg(nycs / unit, 0, 'f', 3);
        line += QStringLiteral(";0.000;%1\r\n").arg(all / unit, 0, 'f', 3);
        text += line.toUtf8();
    }
    return text;
}

} // namespace

// The days, months and night-time charts as drawn into the dialog's plots, and their plot-data files.
class TestActivityCharts : public ActivityDialogTest
{
    Q_OBJECT
private:
    void addRecording(const QString &date, const QString &time, const QStringList &classes)
    {
        list.addTopLevelItem(new QTreeWidgetItem(
            QStringList{QStringLiteral("rec.wav"), date, time, QStringLiteral("3"), QString(), QString()} + classes));
    }
    // The folder's zone, whatever the machine's: the hours and the night's bins follow its rules.
    void inBerlin() { writeFolderSetting(path(), FolderSettings::timeZone, QByteArray("Europe/Berlin")); }
    // Three recordings on 5 January 2021 inside 20:00-04:00, one outside on the 6th.
    void fourRecordings()
    {
        inBerlin();
        addRecording(QStringLiteral("05/01/21"), QStringLiteral("22:00:00"), {QStringLiteral("Pip")});
        addRecording(QStringLiteral("05/01/21"), QStringLiteral("03:00:00"), {QStringLiteral("Nyc")});
        addRecording(QStringLiteral("05/01/21"), QStringLiteral("23:30:00"), {QStringLiteral("Pip")});
        addRecording(QStringLiteral("06/01/21"), QStringLiteral("12:00:00"), {});
        writeFolderSetting(path(), FolderSettings::startRecording, QStringLiteral("20:00"));
        writeFolderSetting(path(), FolderSettings::stopRecording, QStringLiteral("04:00"));
    }
    void show(plotFolderDialog &d, ActivityTab tab) { d.ui->tabWidget->setCurrentIndex(int(tab)); }

private slots:
    void cleanup()
    {
        plotFolderDialog::setProgressObserver(nullptr);
        ActivityDialogTest::cleanup();
    }
    void daysOfAYear_data();
    void daysOfAYear();
    void daysScales();
    void legendMarkersOnceAndVisibilityKept();
    void daysStoppedThroughTheProgress();
    void noDatedRecording();
    void monthsOfALeapYear();
    void nightTime();
    void daysFile_data();
    void daysFile();
    void monthsAndNightFiles();
    void cancelledFileChoiceDrawsNothing();
};

void TestActivityCharts::daysOfAYear_data()
{
    QTest::addColumn<int>("year");
    QTest::newRow("365 days") << 2021;
    QTest::newRow("366 days") << 2024;
}

void TestActivityCharts::daysOfAYear()
{
    QFETCH(int, year);
    const QDate fifth(year, 1, 5);
    addRecording(fifth.toString(QStringLiteral("dd/MM/yy")), QStringLiteral("22:00:00"), {});
    writeFolderSetting(path(), FolderSettings::intervalDays, 1); // files per day
    writeFolderSetting(path(), FolderSettings::endDate, QStringLiteral("30.06.15"));
    auto d = open();
    show(*d, ActivityTab::Days);
    const int days = QDate(year, 1, 1).daysInYear();
    // Only unassigned recordings: one pair of curves, one legend marker, no "All Classes".
    const QList<QwtPlotCurve *> pip = curvesTitled(d->plotVsDays, QStringLiteral("Unassigned_Activity"));
    QCOMPARE(pip.size(), 2);
    QVERIFY(curvesTitled(d->plotVsDays, QStringLiteral("All Classes_Activity")).isEmpty());
    QCOMPARE(d->plotVsDays->itemList(QwtPlotItem::Rtti_PlotMarker).size(), 1);
    QCOMPARE(pip[0]->dataSize(), size_t(days));
    QCOMPARE(pip[0]->sample(4), QPointF(localX(fifth), 1.0));
    QCOMPARE(pip[0]->sample(days - 1).x(), localX(QDate(year, 12, 31)));
    // Bars: one before the year, then a value and a closing point per day; the last closes where it stands.
    QwtPlotCurve *bars = d->validHoursVsDays;
    QCOMPARE(bars->dataSize(), size_t(2 * days + 1));
    QCOMPARE(bars->sample(0), QPointF(localX(QDate(year - 1, 12, 31), 18), 0.0));
    QCOMPARE(bars->sample(1), QPointF(localX(QDate(year, 1, 1), 6), 24.0));
    QCOMPARE(bars->sample(2), QPointF(localX(QDate(year, 1, 1), 18), 0.0));
    QCOMPARE(bars->sample(2 * days), QPointF(localX(QDate(year, 12, 31), 6), 0.0)); // after the monitoring
    QCOMPARE(range(d->plotVsDays, QwtPlot::xBottom),
             qMakePair(localX(QDate(year, 1, 1)), localX(QDate(year + 1, 1, 1))));
    QCOMPARE(d->plotVsDays->axisTitle(QwtPlot::xBottom).text(), QString::number(year));
    QCOMPARE(d->plotVsDays->axisTitle(QwtPlot::yLeft).text(), QStringLiteral("Number of Files per Day"));
    QVERIFY(!d->firstPlotVsDays);
    QVERIFY(d->ui->pushButton_20->isHidden() && d->ui->pushButton_21->isHidden());
}

void TestActivityCharts::daysScales()
{
    fourRecordings();
    writeFolderSetting(path(), FolderSettings::intervalDays, 1);
    auto d = open();
    show(*d, ActivityTab::Days);
    QwtPlot *plot = d->plotVsDays;
    // Linear: every value drawn (the gap value -1 never occurs), left up to the most files + 0.1, right 0 to 25.
    auto *line = dynamic_cast<QwtPlotGappedCurve *>(curvesTitled(plot, QStringLiteral("Pip_Activity")).first());
    QVERIFY(line);
    QCOMPARE(line->gap(), -1.0);
    QCOMPARE(range(plot, QwtPlot::yLeft), qMakePair(0.0, 3.1));
    QCOMPARE(range(plot, QwtPlot::yRight), qMakePair(0.0, 25.0));
    QCOMPARE(d->validHoursVsDays->sample(0).y(), 0.0);

    // Logarithmic: zero breaks the line, empty bars stand at 0.01 below the axis, whole hours start it at 1.
    d->ui->radioButton_12->click();
    line = dynamic_cast<QwtPlotGappedCurve *>(curvesTitled(plot, QStringLiteral("Pip_Activity")).first());
    QCOMPARE(line->gap(), 0.0);
    QCOMPARE(range(plot, QwtPlot::yLeft), qMakePair(0.001, 3.1));
    QCOMPARE(range(plot, QwtPlot::yRight), qMakePair(1.0, 1000.0));
    QCOMPARE(d->validHoursVsDays->sample(0).y(), 0.01);
    QCOMPARE(d->validHoursVsDays->sample(1).y(), 8.0);

    // Half an hour a day: the right axis starts at 0.1. Nothing counted: the left axis ends at 1.1.
    d->ui->timeEdit->setTime(QTime(0, 0));
    d->ui->timeEdit_2->setTime(QTime(0, 30));
    QCOMPARE(range(plot, QwtPlot::yRight), qMakePair(0.1, 1000.0));
    QCOMPARE(range(plot, QwtPlot::yLeft), qMakePair(0.001, 1.1));
    d->ui->radioButton_11->click();
    QCOMPARE(range(plot, QwtPlot::yLeft), qMakePair(0.0, 1.1));
    // However often it is drawn, the plot holds one drawing's items.
    QCOMPARE(plot->itemList(QwtPlotItem::Rtti_PlotCurve).size(), 1 + 2 * 4);
}

void TestActivityCharts::legendMarkersOnceAndVisibilityKept()
{
    fourRecordings();
    auto d = open();
    show(*d, ActivityTab::Months);
    QwtPlot *plot = d->plotVsMonth;
    QwtPlotMarker *pip = legendMarker(plot, QStringLiteral("Pip"));
    QVERIFY(pip && curveShown(plot, QStringLiteral("All Classes")));
    QVERIFY(legendEntryChecked(plot, d->validHoursVsMonth));
    // The user unchecks Pip; a changed setting draws again.
    setLegendEntryChecked(plot, pip, false);
    d->legendVsMonthChecked(plot->itemToInfo(pip), false, 0);
    writeSetting(SettingKeys::classColors, QVariantList{QColor(1, 2, 3)});
    d->ui->doubleSpinBox->setValue(50);
    QCOMPARE(plot->itemList(QwtPlotItem::Rtti_PlotMarker).size(), 4);
    QCOMPARE(legendMarker(plot, QStringLiteral("Pip")), pip);
    for (QwtPlotCurve *curve : curvesTitled(plot, QStringLiteral("Pip_Activity")))
        QVERIFY(!curve->isVisible());
    for (QwtPlotCurve *curve : curvesTitled(plot, QStringLiteral("Nyc_Activity")))
        QVERIFY(curve->isVisible());
    QCOMPARE(pip->symbol()->brush().color(), QColor(1, 2, 3));
}

void TestActivityCharts::daysStoppedThroughTheProgress()
{
    ScriptedDialogs dialogs;
    fourRecordings();
    addRecording(QStringLiteral("05/01/22"), QStringLiteral("22:00:00"), {QStringLiteral("Pip")});
    auto d = open();
    d->yearIndex = 9;
    int steps = 0;
    plotFolderDialog::setProgressObserver([&](QProgressDialog &progress) {
        ++steps;
        QCOMPARE(progress.windowTitle(), QStringLiteral("Please wait"));
        QCOMPARE(progress.labelText(), QStringLiteral("Calculating activities..."));
        progress.cancel(); // as closing it does
    });
    const QString target = path() + QStringLiteral("/days.csv");
    dialogs.fileAnswers << target;
    d->ui->tabWidget->setCurrentIndex(int(ActivityTab::Days));
    d->ui->pushButton_19->click();
    QCOMPARE(steps, 2);
    QVERIFY(d->plotVsDays->itemList(QwtPlotItem::Rtti_PlotMarker).isEmpty());
    QVERIFY(curvesTitled(d->plotVsDays, QStringLiteral("Pip_Activity")).isEmpty());
    QVERIFY(d->firstPlotVsDays);
    QVERIFY(!QFile::exists(target));
    // The shown year was taken before the stop: the index is back in range, the buttons say so.
    QCOMPARE(d->yearIndex, 1);
    QVERIFY(d->ui->pushButton_20->isEnabled() && !d->ui->pushButton_21->isEnabled());
}

void TestActivityCharts::noDatedRecording()
{
    addRecording(QStringLiteral("N/A"), QString(), {QStringLiteral("Pip")});
    auto d = open();
    for (ActivityTab tab : {ActivityTab::Days, ActivityTab::Months, ActivityTab::Night}) {
        show(*d, tab);
        QwtPlot *plot = d->plotOf(tab);
        QCOMPARE(plot->itemList(QwtPlotItem::Rtti_PlotCurve).size(), 1); // the empty "Valid Hours"
        QVERIFY(!d->ui->pushButton_19->isEnabled());
        QVERIFY(!d->firstPlotFlag(tab));
    }
    QVERIFY(d->ui->pushButton_7->isHidden() && d->ui->pushButton_8->isHidden());
}

void TestActivityCharts::monthsOfALeapYear()
{
    addRecording(QStringLiteral("10/02/24"), QStringLiteral("22:00:00"), {QStringLiteral("Pip")});
    auto d = open();
    show(*d, ActivityTab::Months);
    QwtPlot *plot = d->plotVsMonth;
    // 17 December, then per month its middle and two days later; February's middle is the 15th.
    QwtPlotCurve *bars = d->validHoursVsMonth;
    QCOMPARE(bars->dataSize(), size_t(25));
    QCOMPARE(bars->sample(0), QPointF(localX(QDate(2023, 12, 17)), 0.0));
    QCOMPARE(bars->sample(3), QPointF(localX(QDate(2024, 2, 15)), 29 * 24.0));
    QCOMPARE(bars->sample(4), QPointF(localX(QDate(2024, 2, 17)), 0.0));
    QCOMPARE(bars->sample(24), QPointF(localX(QDate(2024, 12, 16)), 0.0));
    QCOMPARE(range(plot, QwtPlot::xBottom), qMakePair(localX(QDate(2023, 12, 16)), localX(QDate(2024, 12, 17))));
    const QList<QwtPlotCurve *> pip = curvesTitled(plot, QStringLiteral("Pip_Activity"));
    QCOMPARE(pip.size(), 2);
    QCOMPARE(pip[1]->style(), QwtPlotCurve::Dots);
    QCOMPARE(pip[1]->pen().widthF(), 10.0);
    QCOMPARE(pip[0]->sample(1), QPointF(localX(QDate(2024, 2, 1)), double(1.0f / (29 * 24))));
    QCOMPARE(range(plot, QwtPlot::yLeft).second, double(1.0f / (29 * 24)) + 0.1);
    QCOMPARE(range(plot, QwtPlot::yRight), qMakePair(0.0, 750.0));
    QCOMPARE(d->ui->dateEdit_3->date(), QDate(2024, 1, 15));
    QCOMPARE(d->ui->dateEdit_4->date(), QDate(2024, 12, 15));
    QCOMPARE(d->ui->dateEdit_4->minimumDate(), QDate(2024, 3, 15));
}

void TestActivityCharts::nightTime()
{
    // Relative period from sunset to sunrise at 51 N 9 E: 02:00 of 22 June lies at 0.58 of the night before.
    addRecording(QStringLiteral("22/06/21"), QStringLiteral("02:00:00"), {QStringLiteral("Pip")});
    writeFolderSetting(path(), FolderSettings::periodType, 1);
    inBerlin();
    auto d = open();
    show(*d, ActivityTab::Night);
    QwtPlot *plot = d->plotVsNight;
    const QList<QwtPlotCurve *> pip = curvesTitled(plot, QStringLiteral("Pip_Activity"));
    QCOMPARE(pip[0]->dataSize(), size_t(11));
    QCOMPARE(pip[0]->sample(0).x(), -0.075);
    QCOMPARE(pip[0]->sample(6).x(), 0.55);
    for (int bin = 0; bin < 11; ++bin)
        QCOMPARE(pip[0]->sample(bin).y() > 0, bin == 6);
    QCOMPARE(range(plot, QwtPlot::yLeft), qMakePair(0.0, pip[0]->sample(6).y()));
    QCOMPARE(plot->axisTitle(QwtPlot::xBottom).text(), QStringLiteral("Night Time (0=Sunset, 1=Sunrise)\n2021"));
    QwtPlotCurve *bars = d->validHoursVsNight;
    QCOMPARE(bars->dataSize(), size_t(23));
    QCOMPARE(bars->sample(1), QPointF(-0.005, 0.0)); // recording starts at sunset
    QCOMPARE(bars->sample(3).x(), 0.095);
    QVERIFY(bars->sample(3).y() > 300);
    QCOMPARE(bars->sample(22), QPointF(0.995, 0.0));
}

void TestActivityCharts::daysFile_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<bool>("hours");
    QTest::addColumn<bool>("nyc");
    QTest::addColumn<bool>("german");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("files per day, every column")
        << 1 << true << true << false
        << expectedDaysFile("Number of Files per Day", "Day;Valid Hours [h];Pip;Nyc;Unassigned;All Classes", true, true,
                            false);
    QTest::newRow("activity: units, divided by the hours")
        << 0 << true << true << false
        << expectedDaysFile("Daily Activity in Recordings per Hour",
                            "Day;Valid Hours [h];Pip [Rec./h];Nyc [Rec./h];Unassigned [Rec./h];All Classes [Rec./h]",
                            true, true, true);
    QTest::newRow("Valid Hours and Nyc unchecked")
        << 5 << false << false << false
        << expectedDaysFile("Number of Events per Day with Static 1 Minute Time Interval",
                            "Day;Pip;Unassigned;All Classes", false, false, false);
    QTest::newRow("the same bytes under a German locale")
        << 1 << true << true << true
        << expectedDaysFile("Number of Files per Day", "Day;Valid Hours [h];Pip;Nyc;Unassigned;All Classes", true, true,
                            false);
}

void TestActivityCharts::daysFile()
{
    QFETCH(int, choice);
    QFETCH(bool, hours);
    QFETCH(bool, nyc);
    QFETCH(bool, german);
    QFETCH(QByteArray, expected);
    ScriptedDialogs dialogs;
    fourRecordings();
    writeFolderSetting(path(), FolderSettings::intervalDays, choice);
    auto d = open();
    show(*d, ActivityTab::Days);
    setLegendEntryChecked(d->plotVsDays, d->validHoursVsDays, hours);
    setLegendEntryChecked(d->plotVsDays, legendMarker(d->plotVsDays, QStringLiteral("Nyc")), nyc);
    const QLocale before;
    if (german)
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString target = path() + QStringLiteral("/days.csv");
    dialogs.fileAnswers << target;
    d->ui->pushButton_19->click();
    QLocale::setDefault(before);
    QCOMPARE(dialogs.fileQuestions.first().dir, QDir::homePath() + QStringLiteral("/ActivityOverDaysData.csv"));
    QCOMPARE(fileBytes(target), expected);
    QCOMPARE(readSetting(SettingKeys::exportPlotDataDays), target);
}

void TestActivityCharts::monthsAndNightFiles()
{
    ScriptedDialogs dialogs;
    fourRecordings();
    auto d = open();
    show(*d, ActivityTab::Months);
    dialogs.fileAnswers << path() + QStringLiteral("/months.csv");
    d->ui->pushButton_19->click();
    // January: 248 hours, two Pip, one Nyc.
    QByteArray months = "Month;Valid Hours [h];Pip [Rec./h];Nyc [Rec./h];Unassigned [Rec./h];All Classes [Rec./h]\r\n"
                        "01/21;248.0;0.008;0.004;0.000;0.012\r\n";
    const char *const hours[] = {"224.0", "247.0", "240.0", "248.0", "240.0", "248.0",
                                 "248.0", "240.0", "249.0", "240.0", "248.0"};
    for (int m = 2; m <= 12; ++m)
        months += QStringLiteral("%1/21;%2;0.000;0.000;0.000;0.000\r\n")
                      .arg(m, 2, 10, QLatin1Char('0'))
                      .arg(hours[m - 2])
                      .toUtf8();
    QCOMPARE(fileBytes(path() + QStringLiteral("/months.csv")), months);

    // No day inside the monitoring: every bin without hours, every activity 0, the left axis 0 to 0.
    d->ui->dateEdit->setDate(QDate(2015, 10, 1));
    d->ui->dateEdit_2->setDate(QDate(2015, 3, 1));
    show(*d, ActivityTab::Night);
    setLegendEntryChecked(d->plotVsNight, legendMarker(d->plotVsNight, QStringLiteral("Unassigned")), false);
    dialogs.fileAnswers << path() + QStringLiteral("/night.csv");
    d->ui->pushButton_19->click();
    QByteArray night = "Night Times in 2021;Valid Hours [h];Pip [Rec./h];Nyc [Rec./h];All Classes [Rec./h]\r\n";
    for (const char *label : {"-0.15 to 0", "0 to 0.1", "0.1 to 0.2", "0.2 to 0.3", "0.3 to 0.4", "0.4 to 0.5",
                              "0.5 to 0.6", "0.6 to 0.7", "0.7 to 0.8", "0.8 to 0.9", "0.9 to 1"})
        night += QByteArray(label) + ";0.0;0.000;0.000;0.000\r\n";
    QCOMPARE(fileBytes(path() + QStringLiteral("/night.csv")), night);
    QCOMPARE(range(d->plotVsNight, QwtPlot::yLeft), qMakePair(0.0, 0.0));
    QCOMPARE(readSetting(SettingKeys::exportPlotDataNightTime), path() + QStringLiteral("/night.csv"));
    // Logarithmic without activity or hours: both axes run up from their bottoms, not down to 0.
    d->ui->radioButton->click();
    QCOMPARE(range(d->plotVsNight, QwtPlot::yLeft), qMakePair(0.001, 1.0));
    QCOMPARE(range(d->plotVsNight, QwtPlot::yRight), qMakePair(1.0, 1000.0));
}

void TestActivityCharts::cancelledFileChoiceDrawsNothing()
{
    ScriptedDialogs dialogs;
    fourRecordings();
    auto d = open();
    d->ready = false; // the tab change alone draws nothing
    show(*d, ActivityTab::Months);
    d->ready = true;
    d->ui->pushButton_19->setEnabled(true); // as the months chart leaves it; the time chart, drawn at opening, does not
    d->ui->pushButton_19->click();
    QCOMPARE(dialogs.fileQuestions.size(), 1);
    QVERIFY(d->plotVsMonth->itemList(QwtPlotItem::Rtti_PlotMarker).isEmpty());
    QCOMPARE(d->validHoursVsMonth->dataSize(), size_t(0));
    QVERIFY(d->firstPlotVsMonth);
    QVERIFY(QDir(path()).entryList({QStringLiteral("*.csv")}).isEmpty());
}

QUILLON_TEST(TestActivityCharts)
#include "tst_activitycharts.moc"
