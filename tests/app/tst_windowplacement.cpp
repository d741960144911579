#include "testregistry.h"

#include "app/windowplacement.h"

#include <QTest>

#include <climits>

Q_DECLARE_METATYPE(QVector<QRect>)
Q_DECLARE_METATYPE(QMargins)

class TestWindowPlacement : public QObject
{
    Q_OBJECT
private slots:
    void fitted_data();
    void fitted();
    void firstStart_data();
    void firstStart();
    void inScreen_data();
    void inScreen();
    void framed_data();
    void framed();
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
    QTest::newRow("past the right edge: moved in")
        << QRect(1500, 700, 900, 650) << QVector<QRect>{left} << QRect(1020, 390, 900, 650);
    QTest::newRow("past the top left: moved in")
        << QRect(-300, -40, 900, 650) << QVector<QRect>{left} << QRect(0, 0, 900, 650);
    QTest::newRow("mostly on the second screen: fitted to it")
        << QRect(1800, 100, 2000, 2000) << QVector<QRect>{left, right} << right;
    QTest::newRow("on no screen: the start-up place")
        << QRect(5000, 3000, 900, 650) << QVector<QRect>{left, right} << fallback;
    QTest::newRow("no size: the start-up place") << QRect(100, 100, 0, 0) << QVector<QRect>{left} << fallback;
    QTest::newRow("no screen: the start-up place") << QRect(100, 50, 900, 650) << QVector<QRect>{} << fallback;
    // A hand-edited store may hold any int: the size alone would overflow.
    QTest::newRow("edges at the ends of int: the start-up place")
        << QRect(QPoint(INT_MIN, INT_MIN), QPoint(INT_MAX, INT_MAX)) << QVector<QRect>{left} << fallback;
    QTest::newRow("2^31 px wide: the start-up place")
        << QRect(QPoint(0, 0), QPoint(INT_MAX, 649)) << QVector<QRect>{left} << fallback;
    // Only the bottom edge out of reach; the rest lies on the screen.
    QTest::newRow("bottom edge at the end of int: the start-up place")
        << QRect(QPoint(100, 100), QPoint(999, INT_MAX)) << QVector<QRect>{left} << fallback;
    QTest::newRow("edges 2^24-1 px out: the screen's width")
        << QRect(QPoint(-16777215, 0), QPoint(16777215, 649)) << QVector<QRect>{left} << QRect(0, 0, 1920, 650);
    QTest::newRow("an edge 2^24 px out: the start-up place")
        << QRect(QPoint(-16777216, 0), QPoint(899, 649)) << QVector<QRect>{left} << fallback;
}

void TestWindowPlacement::fitted()
{
    QFETCH(QRect, stored);
    QFETCH(QVector<QRect>, screens);
    QTEST(fittedWindowGeometry(stored, screens, QRect(585, 270, 750, 500)), "expected");
}

void TestWindowPlacement::firstStart_data()
{
    // A title bar of 31 px and 8 px borders; a window of at least 750 x 526 (the menu bar on 750 x 500).
    const QMargins frame(8, 31, 8, 8);
    QTest::addColumn<QSize>("needed");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("room to spare: 1200 x 800 in the middle")
        << QSize(607, 591) << QRect(0, 0, 1920, 1040) << frame << QRect(360, 131, 1200, 800);
    QTest::newRow("a laptop: as tall as the screen, frame included")
        << QSize(607, 591) << QRect(0, 0, 1366, 728) << frame << QRect(83, 31, 1200, 689);
    QTest::newRow("contents larger than the preferred size: theirs")
        << QSize(1300, 850) << QRect(0, 0, 1920, 1040) << frame << QRect(310, 106, 1300, 850);
    QTest::newRow("contents larger than the screen: the screen")
        << QSize(1300, 850) << QRect(0, 0, 1024, 768) << QMargins() << QRect(0, 0, 1024, 768);
    QTest::newRow("the second screen: centred on it")
        << QSize(607, 591) << QRect(1920, 0, 1280, 1024) << QMargins() << QRect(1960, 112, 1200, 800);
    QTest::newRow("a screen below the least size: the least, centred over it")
        << QSize(607, 591) << QRect(0, 0, 640, 480) << QMargins() << QRect(-55, -23, 750, 526);
}

void TestWindowPlacement::firstStart()
{
    QFETCH(QSize, needed);
    QFETCH(QRect, available);
    QFETCH(QMargins, frame);
    QTEST(firstWindowGeometry(QSize(1200, 800), needed, QSize(750, 526), available, frame), "expected");
}

void TestWindowPlacement::inScreen_data()
{
    // A laptop's 1366 x 768 less a task bar on top.
    const QRect laptop(0, 40, 1366, 728);
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("inside: where it is") << QRect(300, 200, 600, 400) << QRect(300, 200, 600, 400);
    QTest::newRow("taller, placed at the top: as tall as the area")
        << QRect(55, 20, 1256, 795) << QRect(55, 40, 1256, 728);
    QTest::newRow("wider and taller: the area") << QRect(-10, 0, 1500, 800) << laptop;
    QTest::newRow("past the bottom right: moved in") << QRect(1000, 600, 500, 300) << QRect(866, 468, 500, 300);
    QTest::newRow("on another screen: centred") << QRect(2000, 100, 400, 300) << QRect(483, 254, 400, 300);
    QTest::newRow("larger and on another screen: the area") << QRect(2000, 0, 1400, 900) << laptop;
}

void TestWindowPlacement::inScreen()
{
    QFETCH(QRect, window);
    QTEST(windowInScreen(window, QRect(0, 40, 1366, 728)), "expected");
}

void TestWindowPlacement::framed_data()
{
    const QMargins frame(8, 31, 8, 8);
    const int reach = 16777215; // QWIDGETSIZE_MAX
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("on a screen: the frame around it") << QRect(100, 50, 900, 650) << frame << QRect(92, 19, 916, 689);
    QTest::newRow("the frame reaching the edge of reach")
        << QRect(QPoint(8 - reach, 31 - reach), QPoint(0, 0)) << frame << QRect(QPoint(-reach, -reach), QPoint(8, 8));
    QTest::newRow("the frame one past it on the left: none")
        << QRect(QPoint(7 - reach, 0), QPoint(899, 649)) << frame << QRect();
    QTest::newRow("the frame one past it at the foot: none")
        << QRect(QPoint(0, 0), QPoint(899, reach - 7)) << frame << QRect();
    QTest::newRow("edges at the ends of int: none")
        << QRect(QPoint(INT_MIN, INT_MIN), QPoint(INT_MAX, INT_MAX)) << frame << QRect();
    // Added in int, INT_MAX + INT_MAX wraps to -2, well within reach: only the 64-bit sum is refused.
    QTest::newRow("bottom edge and frame at the end of int: none")
        << QRect(QPoint(0, 0), QPoint(899, INT_MAX)) << QMargins(8, 31, 8, INT_MAX) << QRect();
}

void TestWindowPlacement::framed()
{
    QFETCH(QRect, rect);
    QFETCH(QMargins, frame);
    QTEST(framedWithinReach(rect, frame), "expected");
}

QUILLON_TEST(TestWindowPlacement)
#include "tst_windowplacement.moc"
