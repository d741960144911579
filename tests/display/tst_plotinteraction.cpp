#include "testregistry.h"

#include "display/myqwtzoomer.h"
#include "display/myrectcallsmarker.h"
#include "display/myrectrangemarker.h"
#include "display/spectrograminteraction.h"
#include "display/spectrogramplot.h"
#include "guitest.h"

#include <QAction>
#include <QFrame>
#include <QSettings>
#include <QtTest>
#include <memory>
#include <qwt_plot.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_picker.h>
#include <qwt_text.h>

Q_DECLARE_METATYPE(QPolygon)

namespace {

// The spectrogram plot with its pickers, markers and rectangles: 0 to 10 s,
// 0 to 125 kHz, markers at 20, 60 and 100 kHz.
struct SpectrogramFixture {
    SpectrogramPlot plot{false, QwtInterval(-100, -33)};
    const SpectrogramPlot::Items &items = plot.items();
    QFrame frame;
    MyQwtZoomer *zoomer = items.zoomer;
    QwtPlotPicker *selection = items.selectionPicker;
    QwtPlotPicker *edges[4] = {items.leftEdgePicker, items.rightEdgePicker, items.topEdgePicker,
                               items.bottomEdgePicker};
    QwtPlotPicker *markerPickers[3] = {items.markerPickers[0], items.markerPickers[1], items.markerPickers[2]};
    QwtPlotMarker *markers[3] = {items.frequencyMarkers[0], items.frequencyMarkers[1], items.frequencyMarkers[2]};
    QAction *markerActions[3];
    QAction categorization{nullptr};
    MyRectRangeMarker *rect = items.measurement;
    MyRectCallsMarker *callBox = items.callBox;
    QList<MyBatCall> calls;
    std::unique_ptr<SpectrogramInteraction> interaction;

    SpectrogramFixture()
    {
        plot.setAxisScale(QwtPlot::xBottom, 0, 10);
        plot.setAxisScale(QwtPlot::yLeft, 0, 125);
        plot.resize(800, 500);
        plot.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plot));
        plot.replot();

        for (int k = 0; k < 3; ++k) {
            markers[k]->show();
            markerActions[k] = new QAction(&frame);
            markerActions[k]->setCheckable(true);
            markerActions[k]->setChecked(true);
        }
        markers[0]->setYValue(20);
        markers[1]->setYValue(60);
        markers[2]->setYValue(100);
        categorization.setCheckable(true);
        frame.resize(100, 400);

        SpectrogramInteraction::Wiring parts;
        parts.plot = &plot;
        for (int k = 0; k < 3; ++k)
            parts.markerActions[size_t(k)] = markerActions[k];
        parts.categorizationAction = &categorization;
        parts.batCalls = &calls;
        parts.sizeFrame = &frame;
        interaction.reset(new SpectrogramInteraction(parts));
    }

    QPoint pixelOf(double seconds, double kHz) const
    {
        return QPoint(qRound(plot.transform(QwtPlot::xBottom, seconds)), qRound(plot.transform(QwtPlot::yLeft, kHz)));
    }
    // Which of the nine pickers are enabled: markers 1-3, edges L R T B, zoomer, selection.
    QString enabledPickers() const
    {
        QString s;
        for (auto *m : markerPickers)
            s += m->isEnabled() ? '1' : '0';
        for (auto *e : edges)
            s += e->isEnabled() ? '1' : '0';
        s += zoomer->isEnabled() ? '1' : '0';
        s += selection->isEnabled() ? '1' : '0';
        return s;
    }
};

} // namespace

class TestPlotInteraction : public testsupport::GuiTestCase
{
    Q_OBJECT
private slots:
    void cleanup();
    void selection_sameWhicheverWayDrawn_data();
    void selection_sameWhicheverWayDrawn();
    void edgeDrags();
    void markerDrag_snapsAndStores_data();
    void markerDrag_snapsAndStores();
    void tolerances_doubleOnTallFrame();
    void arbitration_data();
    void arbitration();
    void arbitration_selectionKeepsZoomerOff();
    void arbitration_dragKeepsItsPicker();
    void arbitration_zoomDragPassesOverMarkers();
    void callHover_data();
    void callHover();
    void zoomerRubberBandStaysOnCanvas();
};

void TestPlotInteraction::cleanup()
{
    QLocale::setDefault(QLocale::c());
    QSettings().clear();
}

void TestPlotInteraction::selection_sameWhicheverWayDrawn_data()
{
    QTest::addColumn<QPolygon>("polygon");
    const QPoint topLeft(100, 60), bottomRight(400, 300), topRight(400, 60), bottomLeft(100, 300);
    QTest::newRow("left to right, top to bottom") << QPolygon(QVector<QPoint>{topLeft, bottomRight});
    QTest::newRow("right to left, bottom to top") << QPolygon(QVector<QPoint>{bottomRight, topLeft});
    QTest::newRow("right to left, top to bottom") << QPolygon(QVector<QPoint>{topRight, bottomLeft});
    QTest::newRow("left to right, bottom to top") << QPolygon(QVector<QPoint>{bottomLeft, topRight});
    QTest::newRow("only first and last point count") << QPolygon(QVector<QPoint>{bottomLeft, QPoint(700, 5), topRight});
}

void TestPlotInteraction::selection_sameWhicheverWayDrawn()
{
    QFETCH(QPolygon, polygon);
    SpectrogramFixture f;
    const QwtScaleMap x = f.plot.canvasMap(QwtPlot::xBottom);
    const QwtScaleMap y = f.plot.canvasMap(QwtPlot::yLeft);
    f.interaction->plotSelectionRect(polygon);

    QVERIFY(f.rect->isVisible());
    QCOMPARE(f.rect->xIntervalValue().minValue(), x.invTransform(100));
    QCOMPARE(f.rect->xIntervalValue().maxValue(), x.invTransform(400));
    // The upper frequency (the smaller pixel row) comes first.
    QCOMPARE(f.rect->yIntervalValue().minValue(), y.invTransform(60));
    QCOMPARE(f.rect->yIntervalValue().maxValue(), y.invTransform(300));
    QVERIFY(f.rect->yIntervalValue().minValue() > f.rect->yIntervalValue().maxValue());
}

void TestPlotInteraction::edgeDrags()
{
    SpectrogramFixture f;
    f.rect->setIntervals(QwtInterval(2, 6), QwtInterval(100, 40));
    const QwtScaleMap x = f.plot.canvasMap(QwtPlot::xBottom);
    const QwtScaleMap y = f.plot.canvasMap(QwtPlot::yLeft);
    auto seconds = [&](double s) { return x.invTransform(f.pixelOf(s, 0).x()); };
    auto kHz = [&](double k) { return y.invTransform(f.pixelOf(0, k).y()); };

    f.interaction->moveSelectorLeft(f.pixelOf(3, 0));
    f.interaction->moveSelectorRight(f.pixelOf(8, 0));
    f.interaction->moveSelectorTop(f.pixelOf(0, 110));
    f.interaction->moveSelectorBottom(f.pixelOf(0, 30));
    QCOMPARE(f.rect->xIntervalValue(), QwtInterval(seconds(3), seconds(8)));
    QCOMPARE(f.rect->yIntervalValue(), QwtInterval(kHz(110), kHz(30)));

    // An edge dragged across its opposite stops on it instead of turning the box inside out.
    f.interaction->moveSelectorLeft(f.pixelOf(9.5, 0));
    f.interaction->moveSelectorTop(f.pixelOf(0, 5));
    QCOMPARE(f.rect->xIntervalValue(), QwtInterval(seconds(8), seconds(8)));
    QCOMPARE(f.rect->yIntervalValue(), QwtInterval(kHz(30), kHz(30)));
}

void TestPlotInteraction::markerDrag_snapsAndStores_data()
{
    QTest::addColumn<int>("marker");
    QTest::addColumn<double>("visibleTop");
    QTest::addColumn<double>("y");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("expected");
    QTest::addColumn<QString>("label");
    QTest::newRow("20.3 kHz snaps to 20.5") << 0 << 125.0 << 20.3 << "C" << 20.5 << "1: 20.5 kHz";
    QTest::newRow("20.2 kHz snaps to 20.0") << 0 << 125.0 << 20.2 << "C" << 20.0 << "1: 20.0 kHz";
    QTest::newRow("a quarter rounds up") << 1 << 125.0 << 40.25 << "C" << 40.5 << "2: 40.5 kHz";
    QTest::newRow("past the top pins to the visible maximum") << 2 << 125.0 << 131.7 << "C" << 125.0 << "3: 125.0 kHz";
    QTest::newRow("past a zoomed top pins to it") << 1 << 80.3 << 95.0 << "C" << 80.3 << "2: 80.3 kHz";
    QTest::newRow("snapping never leaves the visible range") << 1 << 80.3 << 80.26 << "C" << 80.3 << "2: 80.3 kHz";
    QTest::newRow("below zero pins to zero") << 0 << 125.0 << -4.0 << "C" << 0.0 << "1: 0.0 kHz";
    QTest::newRow("German decimal comma") << 2 << 125.0 << 55.74 << "de_DE" << 55.5 << "3: 55,5 kHz";
}

void TestPlotInteraction::markerDrag_snapsAndStores()
{
    QFETCH(int, marker);
    QFETCH(double, visibleTop);
    QFETCH(double, y);
    QFETCH(QString, locale);
    QFETCH(double, expected);
    QFETCH(QString, label);
    QLocale::setDefault(QLocale(locale));
    SpectrogramFixture f;
    f.plot.setAxisScale(QwtPlot::yLeft, 0, visibleTop);
    f.plot.replot();
    QwtText oldLabel(QStringLiteral("x"));
    oldLabel.setColor(Qt::white);
    f.markers[marker]->setLabel(oldLabel);
    QSignalSpy stored(f.interaction.get(), &SpectrogramInteraction::markerValueStored);

    switch (marker) {
    case 0:
        f.interaction->moveMarker1(QPointF(3, y));
        break;
    case 1:
        f.interaction->moveMarker2(QPointF(3, y));
        break;
    default:
        f.interaction->moveMarker3(QPointF(3, y));
        break;
    }

    QCOMPARE(f.markers[marker]->yValue(), expected);
    QCOMPARE(f.markers[marker]->label().text(), label);
    QCOMPARE(f.markers[marker]->label().color(), QColor(Qt::white));
    QCOMPARE(QSettings().value(QStringLiteral("valueMarker%1").arg(marker + 1)).toDouble(), expected);
    for (int other = 0; other < 3; ++other) {
        if (other != marker)
            QVERIFY(!QSettings().contains(QStringLiteral("valueMarker%1").arg(other + 1)));
    }
    QCOMPARE(stored.count(), 1);
    QCOMPARE(stored.at(0).at(0).toInt(), marker);
    QCOMPARE(stored.at(0).at(1).toDouble(), expected);
}

void TestPlotInteraction::tolerances_doubleOnTallFrame()
{
    SpectrogramFixture f;
    f.frame.resize(100, 500);
    const QPointF normal = f.interaction->tolerances();
    // Two pixels' worth, doubled.
    QCOMPARE(normal.x(), 4 * (f.plot.invTransform(QwtPlot::xBottom, 1) - f.plot.invTransform(QwtPlot::xBottom, 0)));
    f.frame.resize(100, 501);
    const QPointF tall = f.interaction->tolerances();
    QCOMPARE(tall.x(), 2 * normal.x());
    QCOMPARE(tall.y(), 2 * normal.y());
}

void TestPlotInteraction::arbitration_data()
{
    QTest::addColumn<int>("markerInteractive");
    QTest::addColumn<bool>("rectShown");
    QTest::addColumn<QPointF>("cursor");
    QTest::addColumn<QString>("enabled");
    QTest::addColumn<int>("cursorShape");
    QTest::addColumn<int>("actionOff"); // marker 0-2 whose view action is unchecked, or -1
    // Markers at 20, 60 and 100 kHz; rectangle 2 s to 6 s, 90 kHz down to 30 kHz.
    // Enabled pickers: markers 1-3, edges left right top bottom, zoomer, selection.
    const int arrow = Qt::ArrowCursor, hor = Qt::SizeHorCursor, ver = Qt::SizeVerCursor;
    QTest::newRow("empty canvas") << 1 << true << QPointF(8, 110) << "000000011" << arrow << -1;
    QTest::newRow("on marker 2, interactive") << 1 << true << QPointF(8, 60.2) << "010000000" << ver << -1;
    QTest::newRow("on marker 2, locked") << 0 << true << QPointF(8, 60.2) << "000000011" << arrow << -1;
    QTest::newRow("marker wins over the edge it crosses") << 1 << true << QPointF(2, 60) << "010000000" << ver << -1;
    QTest::newRow("locked marker leaves the edge grabbable")
        << 0 << true << QPointF(2.01, 60) << "000100000" << hor << -1;
    QTest::newRow("right edge") << 0 << true << QPointF(5.99, 50) << "000010000" << hor << -1;
    QTest::newRow("top edge") << 0 << true << QPointF(4, 90.1) << "000001000" << ver << -1;
    QTest::newRow("bottom edge") << 0 << true << QPointF(4, 29.9) << "000000100" << ver << -1;
    QTest::newRow("corner belongs to no edge") << 0 << true << QPointF(2, 90) << "000000011" << arrow << -1;
    QTest::newRow("marker with its action off cannot be grabbed")
        << 1 << true << QPointF(8, 60.2) << "000000011" << arrow << 1;
    QTest::newRow("marker with its action off leaves the edge under it")
        << 1 << true << QPointF(2.01, 60) << "000100000" << hor << 1;
    QTest::newRow("hidden rectangle has no edges") << 0 << false << QPointF(2, 50) << "000000011" << arrow << -1;
}

void TestPlotInteraction::arbitration()
{
    QFETCH(int, markerInteractive);
    QFETCH(bool, rectShown);
    QFETCH(QPointF, cursor);
    QFETCH(QString, enabled);
    QFETCH(int, cursorShape);
    QFETCH(int, actionOff);
    QSettings().setValue(QStringLiteral("markerInteractive"), markerInteractive);
    SpectrogramFixture f;
    if (actionOff >= 0)
        f.markerActions[actionOff]->setChecked(false);
    f.rect->setIntervals(QwtInterval(2, 6), QwtInterval(90, 30));
    f.rect->setVisible(rectShown);
    // Start from a state that every outcome must change.
    f.markerPickers[2]->setEnabled(true);
    f.zoomer->setEnabled(false);

    f.interaction->mouseMoved(cursor);
    QCOMPARE(f.enabledPickers(), enabled);
    QCOMPARE(int(f.plot.canvas()->cursor().shape()), cursorShape);
}

void TestPlotInteraction::arbitration_selectionKeepsZoomerOff()
{
    SpectrogramFixture f;
    QSignalSpy activated(f.selection, &QwtPicker::activated);
    // Shift-drag a selection; the zoomer must stay off while it is being drawn.
    QObject::connect(f.selection, &QwtPicker::activated, f.interaction.get(),
                     &SpectrogramInteraction::deactivateZoomer);
    QWidget *canvas = f.plot.canvas();
    const QPoint a = f.pixelOf(1, 100), b = f.pixelOf(3, 50);
    QMouseEvent press(QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(canvas, &press);
    QCOMPARE(activated.count(), 1);
    QVERIFY(!f.zoomer->isEnabled());
    f.interaction->mouseMoved(QPointF(2, 80));
    QVERIFY(!f.zoomer->isEnabled());
    QMouseEvent release(QEvent::MouseButtonRelease, b, Qt::LeftButton, Qt::NoButton, Qt::ShiftModifier);
    QApplication::sendEvent(canvas, &release);
    QCOMPARE(activated.count(), 2);
    QVERIFY(f.zoomer->isEnabled());
}

void TestPlotInteraction::arbitration_dragKeepsItsPicker()
{
    // The cursor runs ahead of a marker that snaps to half kilohertz; the drag
    // must not lose its picker to the zoomer or to another marker on the way.
    QSettings().setValue(QStringLiteral("markerInteractive"), 1);
    SpectrogramFixture f;
    f.interaction->mouseMoved(QPointF(5, 20));
    QCOMPARE(f.enabledPickers(), QStringLiteral("100000000"));
    QMouseEvent press(QEvent::MouseButtonPress, f.pixelOf(5, 20), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.plot.canvas(), &press);
    QVERIFY(f.markerPickers[0]->isActive());
    for (double kHz : {30.0, 60.0, 80.0}) {
        f.interaction->mouseMoved(QPointF(5, kHz));
        QCOMPARE(f.enabledPickers(), QStringLiteral("100000000"));
    }
    QMouseEvent release(QEvent::MouseButtonRelease, f.pixelOf(5, 80), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(f.plot.canvas(), &release);
    f.interaction->mouseMoved(QPointF(5, 80));
    QCOMPARE(f.enabledPickers(), QStringLiteral("000000011"));
}

void TestPlotInteraction::arbitration_zoomDragPassesOverMarkers()
{
    // A zoom rectangle being dragged across a marker or an edge must not hand
    // the mouse to that marker's or edge's picker halfway.
    QSettings().setValue(QStringLiteral("markerInteractive"), 1);
    SpectrogramFixture f;
    f.rect->setIntervals(QwtInterval(2, 6), QwtInterval(90, 30));
    f.rect->show();
    QMouseEvent press(QEvent::MouseButtonPress, f.pixelOf(8, 110), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.plot.canvas(), &press);
    QVERIFY(f.zoomer->isActive());
    for (const QPointF &cursor : {QPointF(8, 60), QPointF(2, 50), QPointF(4, 30)}) {
        f.interaction->mouseMoved(cursor);
        QCOMPARE(f.enabledPickers(), QStringLiteral("000000011"));
        QCOMPARE(f.plot.canvas()->cursor().shape(), Qt::ArrowCursor);
    }
}

void TestPlotInteraction::callHover_data()
{
    QTest::addColumn<bool>("categorize");
    QTest::addColumn<QPointF>("cursor");
    QTest::addColumn<QString>("shownClass");
    // Calls at 1.00-1.01 s (30-60 kHz) and 5.00-5.01 s (40-45 kHz).
    QTest::newRow("inside the first call") << true << QPointF(1.005, 40) << "Pip";
    QTest::newRow("inside the second call") << true << QPointF(5.005, 42) << "Nyc";
    QTest::newRow("just beside a narrow call") << true << QPointF(1.02, 40) << "Pip";
    QTest::newRow("far from any call") << true << QPointF(3, 40) << "";
    QTest::newRow("categorization off shows nothing") << false << QPointF(1.005, 40) << "";
}

void TestPlotInteraction::callHover()
{
    QFETCH(bool, categorize);
    QFETCH(QPointF, cursor);
    QFETCH(QString, shownClass);
    SpectrogramFixture f;
    MyBatCall pip;
    pip.rect = QRectF(1.0, 30, 0.01, 30);
    pip.batClass = QStringLiteral("Pip");
    MyBatCall nyc;
    nyc.rect = QRectF(5.0, 40, 0.01, 5);
    nyc.batClass = QStringLiteral("Nyc");
    f.calls = {pip, nyc};
    f.categorization.setChecked(categorize);
    // A box left from an earlier hover must go when nothing is under the cursor.
    f.callBox->show();

    f.interaction->mouseMoved(cursor);
    QCOMPARE(f.callBox->isVisible(), !shownClass.isEmpty());
    if (!shownClass.isEmpty())
        QCOMPARE(f.callBox->callValue().batClass, shownClass);
}

void TestPlotInteraction::zoomerRubberBandStaysOnCanvas()
{
    SpectrogramFixture f;
    f.zoomer->setZoomBase(QRectF(0, 0, 10, 125));
    QSignalSpy zoomed(f.zoomer, &QwtPlotZoomer::zoomed);
    QWidget *canvas = f.plot.canvas();
    const QPoint start = f.pixelOf(5, 60);
    // Expected values from the layout before the zoom changes the axes (and so the
    // canvas width). The far corner stops at the canvas border: the values of its last pixel
    // column and row, give or take the zoomer's own pixel-to-rectangle rounding.
    const QRect inside = canvas->contentsRect();
    const double pixelX = f.plot.invTransform(QwtPlot::xBottom, 1) - f.plot.invTransform(QwtPlot::xBottom, 0);
    const double pixelY = f.plot.invTransform(QwtPlot::yLeft, 0) - f.plot.invTransform(QwtPlot::yLeft, 1);
    const double right = f.plot.invTransform(QwtPlot::xBottom, inside.right());
    const double bottom = f.plot.invTransform(QwtPlot::yLeft, inside.bottom());
    QMouseEvent press(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &press);
    const QPoint outside(canvas->width() + 400, canvas->height() + 300);
    QMouseEvent move(QEvent::MouseMove, outside, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, outside, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &release);

    QCOMPARE(zoomed.count(), 1);
    const QRectF r = zoomed.at(0).at(0).toRectF();
    QVERIFY2(qAbs(r.right() - right) <= 1.5 * pixelX, qPrintable(QString::number(r.right())));
    QVERIFY2(qAbs(r.top() - bottom) <= 1.5 * pixelY, qPrintable(QString::number(r.top())));
    QVERIFY(qAbs(r.left() - 5.0) < 3 * pixelX);
    QVERIFY(qAbs(r.bottom() - 60.0) < 3 * pixelY);
}

QUILLON_TEST(TestPlotInteraction)
#include "tst_plotinteraction.moc"
