#include "testregistry.h"

#include "app/windowplacement.h"

#include <QTest>

Q_DECLARE_METATYPE(QVector<QRect>)

class TestWindowPlacement : public QObject
{
    Q_OBJECT
private slots:
    void fitted_data();
    void fitted();
};

void TestWindowPlacement::fitted_data()
{
    // A 1920 x 1040 desktop (a task bar below), and a second screen of 1280 x 1024 to its right.
    const QRect left(0, 0, 1920, 1040);
    const QRect right(1920, 0, 1280, 1024);
    const QRect fallback(585, 270, 750, 500);
    QTest::addColumn<QRect>("stored");
    QTest::addColumn<QVector<QRect>>("screens");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("inside a screen: as stored")
        << QRect(100, 50, 900, 650) << QVector<QRect>{left} << QRect(100, 50, 900, 650);
    QTest::newRow("far larger than any screen: the screen")
        << QRect(0, 0, 100000, 100000) << QVector<QRect>{left} << left;
    QTest::newRow("wider only: the width")
        << QRect(200, 100, 3000, 600) << QVector<QRect>{left} << QRect(0, 100, 1920, 600);
    QTest::newRow("past the right edge: moved in") << QRect(1500, 700, 900, 650) << QVector<QRect>{left}
                                                 << QRect(1020, 390, 900, 650);
    QTest::newRow("past the top left: moved in") << QRect(-300, -40, 900, 650) << QVector<QRect>{left}
                                               << QRect(0, 0, 900, 650);
    QTest::newRow("mostly on the second screen: fitted to it")
        << QRect(1800, 100, 2000, 2000) << QVector<QRect>{left, right} << right;
    QTest::newRow("on no screen: the start-up place")
        << QRect(5000, 3000, 900, 650) << QVector<QRect>{left, right} << fallback;
    QTest::newRow("no size: the start-up place") << QRect(100, 100, 0, 0) << QVector<QRect>{left} << fallback;
    QTest::newRow("no screen: the start-up place") << QRect(100, 50, 900, 650) << QVector<QRect>{} << fallback;
}

void TestWindowPlacement::fitted()
{
    QFETCH(QRect, stored);
    QFETCH(QVector<QRect>, screens);
    QTEST(fittedWindowGeometry(stored, screens, QRect(585, 270, 750, 500)), "expected");
}

QUILLON_TEST(TestWindowPlacement)
#include "tst_windowplacement.moc"
