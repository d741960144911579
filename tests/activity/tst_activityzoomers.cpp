#include "testregistry.h"

#include "activity/activityzoomers.h"

#include <QtTest>
#include <qwt_plot.h>
#include <qwt_plot_marker.h>
#include <qwt_text.h>

namespace {

// Which zoomer a row asks; the right-axis ones by their class number.
enum Kind { Time, TimeNight, Days, Month, Night, Temp, Prec, Wind, R91, R41, R51, R61, R71, R81 };

double localMs(const QDate &date, const QTime &time = QTime(0, 0))
{
    return double(QDateTime(date, time).toMSecsSinceEpoch());
}

// y of the time plot: a time of day on its reference day.
double timeOfDay(int hour, int minute)
{
    return localMs(QDate(2015, 1, 1), QTime(hour, minute));
}

QString trackerText(int kind, const QPointF &pos, QwtPicker::RubberBand band = QwtPicker::RectRubberBand)
{
    QwtPlot plot;
    QWidget *c = plot.canvas();
    if (kind == TimeNight) {
        auto *marker = new QwtPlotMarker(QStringLiteral("centerNight"));
        marker->setValue(-10, -10);
        marker->attach(&plot);
    }
    const int x = QwtPlot::xBottom, y = QwtPlot::yRight;
    const auto text = [&](auto *zoomer) {
        zoomer->setRubberBand(band);
        return zoomer->trackerTextF(pos).text();
    };
    switch (kind) {
    case Time:
    case TimeNight:
        return text(new MyQwtZoomer3(c, &plot));
    case Days:
        return text(new MyQwtZoomer9(c));
    case Month:
        return text(new MyQwtZoomer4(c));
    case Night:
        return text(new MyQwtZoomer5(c));
    case Temp:
        return text(new MyQwtZoomer6(c));
    case Prec:
        return text(new MyQwtZoomer7(c));
    case Wind:
        return text(new MyQwtZoomer8(c));
    case R91:
        return text(new MyQwtZoomer91(x, y, c));
    case R41:
        return text(new MyQwtZoomer41(x, y, c));
    case R51:
        return text(new MyQwtZoomer51(x, y, c));
    case R61:
        return text(new MyQwtZoomer61(x, y, c));
    case R71:
        return text(new MyQwtZoomer71(x, y, c));
    default:
        return text(new MyQwtZoomer81(x, y, c));
    }
}

// A time plot over one year by one day, shown, with its zoomer.
struct TimePlot {
    QwtPlot plot;
    MyQwtZoomer3 *zoomer;
    TimePlot()
    {
        plot.setAxisScale(QwtPlot::xBottom, localMs(QDate(2024, 1, 1)), localMs(QDate(2025, 1, 1)));
        plot.setAxisScale(QwtPlot::yLeft, timeOfDay(0, 0), localMs(QDate(2015, 1, 2)));
        plot.resize(800, 500);
        plot.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plot));
        plot.replot();
        zoomer = new MyQwtZoomer3(plot.canvas(), &plot);
    }
    void mouse(QEvent::Type type, const QPoint &at, Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, at, type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(plot.canvas(), &e);
    }
};

// The second CTest run sets a German locale; Qt must then follow it.
bool germanRun()
{
    return qgetenv("LC_ALL").startsWith("de_");
}

} // namespace

class TestActivityZoomers : public QObject
{
    Q_OBJECT
private slots:
    void texts_data();
    void texts();
    void germanTexts();
    void dragPastCanvasStopsAtBorder();
    void smallRectangleGrowsToMinimum();
    void centredViewFollowsAttachments();
};

void TestActivityZoomers::texts_data()
{
    if (germanRun())
        QSKIP("English month names and decimal points: the C locale run checks them");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QPointF>("pos");
    QTest::addColumn<QString>("expected");
    const double june3 = localMs(QDate(2024, 6, 3));
    QTest::newRow("time 21:34 rounds down") << int(Time) << QPointF(june3, timeOfDay(21, 34)) << "3. Jun.\n21:30";
    QTest::newRow("time 21:35 rounds up") << int(Time) << QPointF(june3, timeOfDay(21, 35)) << "3. Jun.\n21:40";
    QTest::newRow("time 23:57 takes the rounded hour")
        << int(Time) << QPointF(june3, timeOfDay(23, 57)) << "3. Jun.\n00:00";
    QTest::newRow("time 02:10") << int(Time) << QPointF(june3, timeOfDay(2, 10)) << "3. Jun.\n02:10";
    QTest::newRow("night-centred 02:10 is the next day")
        << int(TimeNight) << QPointF(june3, timeOfDay(2, 10)) << "4. Jun.\n02:10";
    QTest::newRow("time: 11 h before midnight names the day")
        << int(Time) << QPointF(june3 - 11 * 3600e3, timeOfDay(12, 0)) << "3. Jun.\n12:00";
    QTest::newRow("time: 5 May has no point")
        << int(Time) << QPointF(localMs(QDate(2024, 5, 5)), timeOfDay(12, 0)) << "5. May\n12:00";
    QTest::newRow("days: 5 June") << int(Days) << QPointF(localMs(QDate(2024, 6, 5), QTime(13, 0)), 2.5)
                                  << "05.Jun.\n2.500\n";
    QTest::newRow("days: 5 May, 11 h past midnight is the day before")
        << int(Days) << QPointF(localMs(QDate(2024, 5, 6), QTime(11, 0)), 0.1234) << "05.May\n0.123\n";
    QTest::newRow("month: 16 January") << int(Month) << QPointF(localMs(QDate(2024, 1, 16)), 1.25)
                                       << "Jan.\n1.250 Rec./h\n";
    QTest::newRow("month: 17 January") << int(Month) << QPointF(localMs(QDate(2024, 1, 17)), 1.25)
                                       << "Feb.\n1.250 Rec./h\n";
    QTest::newRow("month: 16 April names May")
        << int(Month) << QPointF(localMs(QDate(2024, 4, 16)), 0) << "May\n0.000 Rec./h\n";
    QTest::newRow("night") << int(Night) << QPointF(0.45678, 12.3456) << "0.457\n12.346 Rec./h\n";
    QTest::newRow("temperature") << int(Temp) << QPointF(-3.24, 1) << "-3.2 °C\n1.000 Rec./h\n";
    QTest::newRow("precipitation") << int(Prec) << QPointF(0.1234, 1) << "0.12 mm/min\n1.000 Rec./h\n";
    QTest::newRow("wind") << int(Wind) << QPointF(3.46, 1) << "3.5 m/s\n1.000 Rec./h\n";
    const QPointF hours(1.0, 7.24);
    QTest::newRow("days right") << int(R91) << hours << "\n\n 7.2 h";
    QTest::newRow("months right") << int(R41) << hours << "\n\n    7.2 h";
    QTest::newRow("night right") << int(R51) << hours << "\n\n    7.2 h";
    QTest::newRow("temperature right") << int(R61) << hours << "\n\n       7.2 h";
    QTest::newRow("precipitation right") << int(R71) << hours << "\n\n       7.2 h";
    QTest::newRow("wind right") << int(R81) << QPointF(1, 0.06) << "\n\n     0.1 h";
}

void TestActivityZoomers::texts()
{
    QFETCH(int, kind);
    QFETCH(QPointF, pos);
    QFETCH(QString, expected);
    QCOMPARE(trackerText(kind, pos), expected);
    // A line rubber band shows the one coordinate it follows.
    QCOMPARE(trackerText(kind, QPointF(1.5, 2.25), QwtPicker::HLineRubberBand), QStringLiteral("2.2500"));
    QCOMPARE(trackerText(kind, QPointF(1.5, 2.25), QwtPicker::VLineRubberBand), QStringLiteral("1.5000"));
}

void TestActivityZoomers::germanTexts()
{
    if (!germanRun())
        QSKIP("needs LC_ALL=de_DE.UTF-8 (the second CTest run)");
    QCOMPARE(trackerText(Time, QPointF(localMs(QDate(2024, 5, 5)), timeOfDay(21, 34))),
             QStringLiteral("5. Mai\n21:30"));
    // German short names that carry their own point get no second one.
    QCOMPARE(trackerText(Time, QPointF(localMs(QDate(2024, 1, 5)), timeOfDay(0, 0))), QStringLiteral("5. Jan.\n00:00"));
    QCOMPARE(trackerText(Night, QPointF(0.45678, 12.3456)), QStringLiteral("0,457\n12,346 Rec./h\n"));
    QCOMPARE(trackerText(R61, QPointF(1, 7.24)), QStringLiteral("\n\n       7,2 h"));
}

void TestActivityZoomers::dragPastCanvasStopsAtBorder()
{
    TimePlot t;
    QSignalSpy moved(t.zoomer, qOverload<const QPointF &>(&QwtPlotPicker::moved));
    QWidget *canvas = t.plot.canvas();
    t.mouse(QEvent::MouseButtonPress, canvas->rect().center(), Qt::LeftButton);
    t.mouse(QEvent::MouseMove, QPoint(canvas->width() + 300, canvas->height() + 200), Qt::LeftButton);
    t.mouse(QEvent::MouseMove, QPoint(-300, -200), Qt::LeftButton);
    QCOMPARE(moved.count(), 2);
    const QRect inside = canvas->contentsRect();
    const auto value = [&](int px, int py) {
        return QPointF(t.plot.invTransform(QwtPlot::xBottom, px), t.plot.invTransform(QwtPlot::yLeft, py));
    };
    QCOMPARE(moved.at(0).at(0).toPointF(), value(inside.right(), inside.bottom()));
    QCOMPARE(moved.at(1).at(0).toPointF(), value(inside.left(), inside.top()));
}

void TestActivityZoomers::smallRectangleGrowsToMinimum()
{
    TimePlot t;
    QSignalSpy zoomed(t.zoomer, &QwtPlotZoomer::zoomed);
    const QPoint from = t.plot.canvas()->rect().center();
    t.mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    t.mouse(QEvent::MouseMove, from + QPoint(3, 3), Qt::LeftButton);
    t.mouse(QEvent::MouseButtonRelease, from + QPoint(3, 3), Qt::NoButton);
    QCOMPARE(zoomed.count(), 1);
    const QRectF r = zoomed.at(0).at(0).toRectF();
    QCOMPARE(r.width(), 604800000.0); // 7 days
    QCOMPARE(r.height(), 3600000.0);  // 1 hour
}

void TestActivityZoomers::centredViewFollowsAttachments()
{
    if (germanRun())
        QSKIP("English month names: the C locale run checks them");
    QwtPlot plot;
    auto *zoomer = new MyQwtZoomer3(plot.canvas(), &plot);
    const QPointF night(localMs(QDate(2024, 6, 3)), timeOfDay(2, 10));
    const auto centred = [&] { return zoomer->trackerTextF(night).text() == QLatin1String("4. Jun.\n02:10"); };
    const auto marker = [&](const QString &title) {
        auto *m = new QwtPlotMarker(title);
        m->attach(&plot);
        return m;
    };

    QwtPlotMarker *first = marker(QStringLiteral("centerNight"));
    QVERIFY(centred());
    first->detach();
    QVERIFY(!centred());
    first->attach(&plot);
    QwtPlotMarker *second = marker(QStringLiteral("centerNight"));
    delete first; // detaches itself from its destructor
    QVERIFY(centred());
    second->setTitle(QStringLiteral("Nyc_marker"));
    QVERIFY(!centred());
    delete second;
    marker(QStringLiteral("Nyc_marker"));
    QVERIFY(!centred());
}

QUILLON_TEST(TestActivityZoomers)
#include "tst_activityzoomers.moc"
