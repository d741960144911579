#include "testregistry.h"

#include "activity/charts/activityplotitems.h"
#include "activity/charts/activityrows.h"
#include "activitydialogtest.h"

#include <QtTest>
#include <qwt_legend.h>
#include <qwt_legend_label.h>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_symbol.h>

namespace {

QList<QwtPlotItem *> titled(const QwtPlot &plot, const QString &title)
{
    QList<QwtPlotItem *> items;
    for (QwtPlotItem *item : plot.itemList()) {
        if (item->title().text() == title)
            items << item;
    }
    return items;
}

ActivityRows rowsWithClasses(const QList<QStringList> &classes)
{
    QVector<FileRowTexts> texts;
    for (const QStringList &c : classes) {
        FileRowTexts t;
        t.setText(FileViewColumn::Date, QStringLiteral("01/06/21"));
        for (int i = 0; i < c.size(); ++i)
            t.setText(FileViewColumn::Class1 + i, c.at(i));
        texts << t;
    }
    return activityRowsOf(texts);
}

// As the dialog's set-up makes them.
QwtLegend *checkableLegend()
{
    auto *legend = new QwtLegend;
    legend->setDefaultItemMode(QwtLegendData::Checkable);
    return legend;
}

} // namespace

// What every chart takes before it computes (the shown year, the form) and the
// plot items all activity charts draw alike.
class TestChartInputs : public ActivityDialogTest
{
    Q_OBJECT
private slots:
    void shownYearClampsAndSetsTheButtons_data();
    void shownYearClampsAndSetsTheButtons();
    void shownYearOfEveryTab();
    void legendMarkersMadeOnceAndRecoloured();
    void curvesFollowTheirLegendEntry();
    void validHoursOnLogarithmicAxes();
};

void TestChartInputs::shownYearClampsAndSetsTheButtons_data()
{
    QTest::addColumn<QStringList>("dates");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("clamped");
    QTest::addColumn<QString>("buttons");   // "<" and ">": e enabled, d disabled, h hidden
    const QStringList three{"01/06/22", "N/A", "01/06/20", "03/03/21"};
    QTest::newRow("past the last year: the last") << three << 7 << 2022 << 2 << "ed";
    QTest::newRow("before the first: the first") << three << -3 << 2020 << 0 << "de";
    QTest::newRow("in between") << three << 1 << 2021 << 1 << "ee";
    QTest::newRow("one year: both hidden") << QStringList{"01/06/21", "02/06/21"} << 4 << 2021 << 0 << "hh";
    QTest::newRow("no dated row: hidden, no year") << QStringList{"N/A", ""} << 2 << 0 << 2 << "hh";
}

void TestChartInputs::shownYearClampsAndSetsTheButtons()
{
    QFETCH(QStringList, dates);
    QFETCH(int, index);
    QFETCH(int, year);
    QFETCH(int, clamped);
    QFETCH(QString, buttons);
    for (const QString &date : dates)
        addRow(date, {QStringLiteral("Pip")});
    auto d = open();
    d->yearIndex = index;
    d->ui->pushButton_19->setEnabled(true);
    QCOMPARE(d->takeShownYear(ActivityTab::Days, d->activityRows().years), year);
    QCOMPARE(d->yearIndex, clamped);
    const auto state = [](QPushButton *b) { return b->isHidden() ? 'h' : b->isEnabled() ? 'e' : 'd'; };
    QCOMPARE(QString(QChar(state(d->ui->pushButton_20))) + QChar(state(d->ui->pushButton_21)), buttons);
    // Without a year there is nothing to export.
    QCOMPARE(d->ui->pushButton_19->isEnabled(), year != 0);
}

void TestChartInputs::shownYearOfEveryTab()
{
    for (const char *date : {"01/06/22", "01/06/20", "03/03/21"})
        addRow(date, {});
    auto d = open();
    const std::tuple<ActivityTab, QPushButton *, QPushButton *> tabs[] = {
        {ActivityTab::Time, d->ui->pushButton_3, d->ui->pushButton_4},
        {ActivityTab::Days, d->ui->pushButton_20, d->ui->pushButton_21},
        {ActivityTab::Months, d->ui->pushButton_5, d->ui->pushButton_6},
        {ActivityTab::Night, d->ui->pushButton_7, d->ui->pushButton_8},
        {ActivityTab::Temperature, d->ui->pushButton_9, d->ui->pushButton_10},
        {ActivityTab::Precipitation, d->ui->pushButton_12, d->ui->pushButton_13},
        {ActivityTab::WindSpeed, d->ui->pushButton_15, d->ui->pushButton_16}};
    for (const auto &[tab, previous, next] : tabs) {
        d->yearIndex = 5;
        QCOMPARE(d->takeShownYear(tab, {2020, 2021, 2022}), 2022);
        QVERIFY(previous->isEnabled());
        QVERIFY(!next->isEnabled());
    }
}

void TestChartInputs::legendMarkersMadeOnceAndRecoloured()
{
    QwtPlot plot;
    plot.insertLegend(checkableLegend());
    auto *validHours = new QwtPlotCurve(QStringLiteral("Valid Hours"));
    validHours->attach(&plot);
    const ActivityRows rows = rowsWithClasses({{"Pip"}, {}});
    const auto palette = [](int i) { return QColor::fromHsv(40 * i, 255, 255); };
    updateLegendMarkers(&plot, validHours, rows, true, palette);
    QCOMPARE(rows.curveList, (QStringList{"Pip", "Unassigned", "All Classes"}));
    for (int i = 0; i < rows.curveList.size(); ++i) {
        const QList<QwtPlotItem *> markers = titled(plot, rows.curveList.at(i));
        QCOMPARE(markers.size(), 1);
        auto *marker = static_cast<QwtPlotMarker *>(markers.first());
        QCOMPARE(marker->rtti(), int(QwtPlotItem::Rtti_PlotMarker));
        QCOMPARE(marker->value(), QPointF(-10, -10));
        QCOMPARE(marker->symbol()->brush().color(), palette(i));
        QCOMPARE(marker->symbol()->size(), QSize(4, 4));
        QVERIFY(legendEntryChecked(&plot, marker));
        QVERIFY(curveShown(&plot, rows.curveList.at(i)));
    }
    QVERIFY(legendEntryChecked(&plot, validHours));

    // Later drawings only recolour: no second set of markers.
    const auto other = [](int i) { return QColor::fromHsv(300 - 40 * i, 128, 200); };
    updateLegendMarkers(&plot, validHours, rows, false, other);
    QCOMPARE(plot.itemList(QwtPlotItem::Rtti_PlotMarker).size(), 3);
    QCOMPARE(static_cast<QwtPlotMarker *>(titled(plot, "All Classes").first())->symbol()->brush().color(), other(2));
    QCOMPARE(static_cast<QwtPlotMarker *>(titled(plot, "Pip").first())->symbol()->brush().color(), other(0));
}

void TestChartInputs::curvesFollowTheirLegendEntry()
{
    QwtPlot plot;
    plot.insertLegend(checkableLegend());
    auto *validHours = new QwtPlotCurve(QStringLiteral("Valid Hours"));
    validHours->attach(&plot);
    const ActivityRows rows = rowsWithClasses({{"Pip", "Nyc", "Myo", "Eser"}});
    const QVector<QPointF> samples{{0, 1}, {1, 0}, {2, 3}};
    // Before the markers exist the curves are shown.
    addActivityCurves(&plot, QStringLiteral("Pip"), samples, Qt::red, {2.0, 10.0}, false);
    QList<QwtPlotItem *> pip = titled(plot, QStringLiteral("Pip_Activity"));
    QCOMPARE(pip.size(), 2);
    for (QwtPlotItem *item : pip) {
        auto *curve = static_cast<QwtPlotCurve *>(item);
        QVERIFY(curve->isVisible());
        QVERIFY(!curve->testItemAttribute(QwtPlotItem::Legend));
        QCOMPARE(curve->dataSize(), size_t(3));
        QCOMPARE(curve->pen().color(), QColor(Qt::red));
    }
    QCOMPARE(static_cast<QwtPlotCurve *>(pip[0])->pen().widthF(), 2.0);
    QCOMPARE(static_cast<QwtPlotCurve *>(pip[1])->style(), QwtPlotCurve::Dots);
    QCOMPARE(static_cast<QwtPlotCurve *>(pip[1])->pen().widthF(), 10.0);

    updateLegendMarkers(&plot, validHours, rows, true, [](int) { return QColor(Qt::blue); });
    setLegendEntryChecked(&plot, legendMarker(&plot, QStringLiteral("Pip")), false);
    QVERIFY(!curveShown(&plot, QStringLiteral("Pip")));
    // A redraw: the old curves go (and only they), the new ones keep the unchecked state.
    deleteActivityCurves(&plot);
    QVERIFY(titled(plot, QStringLiteral("Pip_Activity")).isEmpty());
    QCOMPARE(plot.itemList(QwtPlotItem::Rtti_PlotMarker).size(), 5);
    QVERIFY(titled(plot, QStringLiteral("Valid Hours")).size() == 1);
    addActivityCurves(&plot, QStringLiteral("Pip"), samples, Qt::red, {1.0, 1.0}, true);
    addActivityCurves(&plot, QStringLiteral("Nyc"), samples, Qt::red, {1.0, 1.0}, true);
    for (QwtPlotItem *item : titled(plot, QStringLiteral("Pip_Activity")))
        QVERIFY(!item->isVisible());
    for (QwtPlotItem *item : titled(plot, QStringLiteral("Nyc_Activity")))
        QVERIFY(item->isVisible());
    QCOMPARE(plot.itemList(QwtPlotItem::Rtti_PlotCurve).size(), 1 + 4);
}

void TestChartInputs::validHoursOnLogarithmicAxes()
{
    QwtPlot plot;
    auto *validHours = new QwtPlotCurve(QStringLiteral("Valid Hours"));
    const QVector<QPointF> bars{{0, 0}, {1, 5}, {2, 0}};
    setValidHoursSamples(&plot, validHours, bars, true);
    QCOMPARE(validHours->plot(), &plot);
    QCOMPARE(validHours->sample(0), QPointF(0, 0.01));
    QCOMPARE(validHours->sample(1), QPointF(1, 5));
    QCOMPARE(validHours->sample(2), QPointF(2, 0.01));
    setValidHoursSamples(&plot, validHours, bars, false);
    QCOMPARE(validHours->sample(2), QPointF(2, 0));
}

QUILLON_TEST(TestChartInputs)
#include "tst_chartinputs.moc"
