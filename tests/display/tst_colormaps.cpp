#include "testregistry.h"

#include "display/colormapexjet.h"
#include "display/colormapjet.h"
#include "display/colourscheme.h"
#include "display/myqwtplotpicker.h"
#include "display/myqwtzoomer.h"
#include "display/spectrogramplot.h"

#include <QtTest>
#include <memory>
#include <qwt_plot.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_picker.h>
#include <qwt_plot_scaleitem.h>
#include <qwt_plot_spectrogram.h>
#include <qwt_plot_zoomer.h>
#include <qwt_scale_widget.h>
#include <qwt_text.h>

class TestColorMaps : public QObject
{
    Q_OBJECT
private slots:
    void stops_data();
    void stops();
    void jetOverLevelRange();
    void scheme_data();
    void scheme();
    void scheme_unknownIndexChangesNothing();
};

namespace {

QColor colourAt(const QwtColorMap &map, double min, double max, double value)
{
    return QColor::fromRgba(map.rgb(QwtInterval(min, max), value));
}

QVector<QColor> jetStops()
{
    return {{0, 0, 189},     {0, 0, 255},    {0, 66, 255},  {0, 132, 255}, {0, 189, 255}, {0, 255, 255}, {66, 255, 189},
            {132, 255, 132}, {189, 255, 66}, {255, 255, 0}, {255, 189, 0}, {255, 132, 0}, {255, 66, 0},  {189, 0, 0}};
}

QVector<QColor> exJetStops()
{
    return {{0, 0, 0},     {0, 0, 66},    {0, 0, 132},   {0, 0, 189},    {0, 0, 255},     {0, 66, 255},
            {0, 132, 255}, {0, 189, 255}, {0, 255, 255}, {66, 255, 189}, {132, 255, 132}, {189, 255, 66},
            {255, 255, 0}, {255, 189, 0}, {255, 132, 0}, {255, 66, 0},   {132, 0, 0}};
}

} // namespace

Q_DECLARE_METATYPE(QVector<QColor>)

void TestColorMaps::stops_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QVector<QColor>>("expected");
    QTest::newRow("jet, 14 stops at k/13") << int(ColorMapJetIndex) << jetStops();
    QTest::newRow("extended jet, 17 stops at k/16") << int(ColorMapExtendedJet) << exJetStops();
    QTest::newRow("black-green") << int(ColorMapBlackGreen) << QVector<QColor>{QColor(0, 0, 0), QColor(122, 184, 0)};
    QTest::newRow("black-white runs from white down to black")
        << int(ColorMapBlackWhite) << QVector<QColor>{Qt::white, Qt::black};
}

void TestColorMaps::stops()
{
    QFETCH(int, index);
    QFETCH(QVector<QColor>, expected);
    std::unique_ptr<QwtColorMap> map(colorMapFor(index));
    QVERIFY(map);
    // Over [0, n] the value k lies exactly at the stop k/n.
    const int n = expected.size() - 1;
    for (int k = 0; k <= n; ++k) {
        const QColor c = colourAt(*map, 0, n, k);
        QVERIFY2(c == expected[k], qPrintable(QString("stop %1: got %2").arg(k).arg(c.name())));
        QCOMPARE(c.alpha(), 255);
    }
}

void TestColorMaps::jetOverLevelRange()
{
    // A realistic dB range: 11/13 of the way up is orange, the top dark red,
    // below the range the start colour.
    ColorMapJet jet;
    const double lo = -100, hi = -33;
    const QColor at11 = colourAt(jet, lo, hi, lo + (hi - lo) * 11.0 / 13.0);
    QVERIFY2(qAbs(at11.red() - 255) <= 1 && qAbs(at11.green() - 132) <= 1 && at11.blue() <= 1, qPrintable(at11.name()));
    QCOMPARE(colourAt(jet, lo, hi, hi), QColor(189, 0, 0));
    QCOMPARE(colourAt(jet, lo, hi, lo), QColor(0, 0, 189));
    ColorMapExJet exJet;
    QCOMPARE(colourAt(exJet, lo, hi, hi), QColor(132, 0, 0));
    QCOMPARE(colourAt(exJet, lo, hi, lo), QColor(0, 0, 0));
}

namespace {

// The spectrogram plot with a call's label and another titled item on it.
struct SchemePlot {
    SpectrogramPlot plot{false, QwtInterval(-100, -33)};
    QwtPlotSpectrogram *raster = plot.items().raster;
    QwtPlotGrid *grid = plot.items().grid;
    QwtPlotScaleItem *scaleItem = plot.items().scaleItem;
    QwtPlotMarker *marker = plot.items().frequencyMarkers[0];
    QwtPlotMarker *blob = new QwtPlotMarker;
    QwtPlotMarker *other = new QwtPlotMarker;
    QwtPlotPicker *picker = plot.items().tracker;
    QwtPlotZoomer *zoomer = plot.items().zoomer;
    QwtScaleWidget &colorBar = *plot.items().colourBar;

    SchemePlot()
    {
        blob->setTitle(QStringLiteral("Blob"));
        blob->setLabel(QwtText(QStringLiteral("Pipistrellus")));
        blob->attach(&plot);
        other->setTitle(QStringLiteral("categorizeMarker"));
        QwtText otherLabel(QStringLiteral("x"));
        otherLabel.setColor(Qt::red);
        other->setLabel(otherLabel);
        other->attach(&plot);
    }
};

} // namespace

void TestColorMaps::scheme_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("lowest");
    QTest::addColumn<QColor>("highest");
    QTest::addColumn<QColor>("lines");      // picker, rubber band and marker pens, "Blob" labels
    QTest::addColumn<QColor>("background"); // canvas and the scale item inside it
    QTest::addColumn<QColor>("zoomTracker");
    QTest::addColumn<QColor>("grid");

    const QColor white(255, 255, 255);
    const QColor black(0, 0, 0);
    QTest::newRow("Black-Green") << int(ColorMapBlackGreen) << black << QColor(122, 184, 0) << white << black << white
                                 << QColor(255, 255, 255, 50);
    QTest::newRow("Black-White: quiet levels white, everything on top dark")
        << int(ColorMapBlackWhite) << white << black << black << white << QColor(122, 184, 0) << QColor(0, 0, 0, 50);
    QTest::newRow("Jet") << int(ColorMapJetIndex) << QColor(0, 0, 189) << QColor(189, 0, 0) << white << black << white
                         << QColor(255, 255, 255, 50);
    QTest::newRow("Extended Jet") << int(ColorMapExtendedJet) << black << QColor(132, 0, 0) << white << black << white
                                  << QColor(255, 255, 255, 50);
}

void TestColorMaps::scheme()
{
    QFETCH(int, index);
    QFETCH(QColor, lowest);
    QFETCH(QColor, highest);
    QFETCH(QColor, lines);
    QFETCH(QColor, background);
    QFETCH(QColor, zoomTracker);
    QFETCH(QColor, grid);

    SchemePlot p;
    const QwtInterval levels(-100, -33);
    QVERIFY(p.plot.setColourMap(index, levels));

    QCOMPARE(QColor::fromRgba(p.raster->colorMap()->rgb(levels, -100)), lowest);
    QCOMPARE(QColor::fromRgba(p.raster->colorMap()->rgb(levels, -33)), highest);
    QCOMPARE(p.plot.canvasBackground().color(), background);
    QCOMPARE(p.picker->trackerPen().color(), lines);
    QCOMPARE(p.scaleItem->palette().color(QPalette::Window), background);
    QCOMPARE(p.zoomer->rubberBandPen().color(), lines);
    QCOMPARE(p.zoomer->trackerPen().color(), zoomTracker);
    QCOMPARE(p.grid->majorPen().color(), grid);
    QCOMPARE(p.grid->majorPen().color().alpha(), 50);
    QCOMPARE(p.marker->linePen().color(), lines);
    QCOMPARE(p.marker->linePen().style(), Qt::DashLine);
    QCOMPARE(p.marker->linePen().width(), 0);
    QCOMPARE(p.blob->label().color(), lines);
    QCOMPARE(p.blob->label().text(), QStringLiteral("Pipistrellus"));
    // Only the region labels follow the map.
    QCOMPARE(p.other->label().color(), QColor(Qt::red));
    QCOMPARE(p.colorBar.colorBarInterval(), levels);
    QCOMPARE(QColor::fromRgba(p.colorBar.colorMap()->rgb(levels, -100)), lowest);
    QCOMPARE(QColor::fromRgba(p.colorBar.colorMap()->rgb(levels, -33)), highest);
    // The bar and the raster item must not share one map: each deletes its own.
    QVERIFY(p.colorBar.colorMap() != p.raster->colorMap());
}

void TestColorMaps::scheme_unknownIndexChangesNothing()
{
    QVERIFY(!colorMapFor(-1));
    QVERIFY(!colorMapFor(4));
    SchemePlot p;
    QVERIFY(p.plot.setColourMap(ColorMapExtendedJet, QwtInterval(-80, 0)));
    const QwtColorMap *mapBefore = p.raster->colorMap();
    QCOMPARE(p.blob->label().color(), QColor(Qt::white));
    QCOMPARE(p.grid->majorPen().color(), QColor(255, 255, 255, 50));

    QVERIFY(!p.plot.setColourMap(4, QwtInterval(-100, -33)));
    QCOMPARE(p.raster->colorMap(), mapBefore);
    QCOMPARE(p.plot.canvasBackground().color(), QColor(Qt::black));
    QCOMPARE(p.colorBar.colorBarInterval(), QwtInterval(-80, 0));
    QCOMPARE(p.blob->label().color(), QColor(Qt::white));
    QCOMPARE(p.grid->majorPen().color(), QColor(255, 255, 255, 50));
}

QUILLON_TEST(TestColorMaps)
#include "tst_colormaps.moc"
