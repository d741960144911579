#include "testregistry.h"

#include "activity/activitycharttab.h"
#include "activity/activityzoomers.h"

#include <QGridLayout>
#include <QPointer>
#include <QWidget>
#include <QtTest>
#include <qwt_legend.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>

class TestActivityChartTab : public QObject
{
    Q_OBJECT
private slots:
    void buildsOwnedPartsAndDestroysThem();
};

// A tab hands its parts to the plot as it builds them, and takes them all down with it.
void TestActivityChartTab::buildsOwnedPartsAndDestroysThem()
{
    QWidget area;
    auto *layout = new QGridLayout(&area);
    ActivityChartTab tab;
    const auto zoomers = [](QWidget *canvas) -> ActivityChartTab::Zoomers {
        return {new MyQwtZoomer6(canvas), new MyQwtZoomer61(QwtPlot::xBottom, QwtPlot::yRight, canvas)};
    };
    tab.build({layout, 2, QStringLiteral("left"), QStringLiteral("right"), ActivityChartTab::BottomAxis::ZeroToForty,
               false, true, QColor(1, 2, 3), zoomers});

    QVERIFY(tab.firstPlot);
    QCOMPARE(layout->itemAtPosition(0, 2)->widget(), tab.plot);
    QCOMPARE(tab.plot->canvas(), tab.canvas);
    QCOMPARE(tab.plot->legend(), tab.legend);
    QCOMPARE(tab.validHours->plot(), tab.plot);
    QCOMPARE(tab.zoomer->parent(), tab.canvas);
    QCOMPARE(tab.rightZoomer->parent(), tab.canvas);
    QVERIFY(tab.zoomer->stateMachine() && !tab.rightZoomer->stateMachine());

    const QList<QPointer<QObject>> parts{tab.plot, tab.canvas, tab.legend, tab.zoomer, tab.rightZoomer};
    tab.destroy();
    for (const QPointer<QObject> &part : parts)
        QVERIFY(part.isNull());
    QVERIFY(!tab.plot && !tab.canvas && !tab.legend && !tab.zoomer && !tab.rightZoomer && !tab.validHours);
    QVERIFY(!layout->itemAtPosition(0, 2));
    // What a date edit asks of a tab without its plot: nothing happens.
    tab.zoomEdgeTo(Qt::LeftEdge, 1.0);
}

QUILLON_TEST(TestActivityChartTab)
#include "tst_activitycharttab.moc"
