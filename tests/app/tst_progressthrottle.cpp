#include "testregistry.h"

#include "app/progressthrottle.h"

#include <QSignalSpy>
#include <QTest>

class TestProgressThrottle : public QObject
{
    Q_OBJECT

private slots:
    void steps_data();
    void steps();
    void ownTimer_deliversTheLatest();
};

// Each step is "report <ms> <percent>", "deliver <ms>" (the timer's wake-up at
// that time of the clock) or "flush".
void TestProgressThrottle::steps_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<int>>("passedOn");
    QTest::addColumn<bool>("timerActiveAfter");

    QTest::newRow("reports inside one interval: one value, the latest")
        << QStringList{"report 0 3", "report 20 5", "report 49 8", "deliver 50"} << QList<int>{8} << false;
    QTest::newRow("nothing before the interval has ended")
        << QStringList{"report 0 3", "report 30 4", "deliver 49"} << QList<int>{} << true;
    QTest::newRow("the interval counts from the first held report")
        << QStringList{"report 100 1", "report 140 2", "deliver 149", "deliver 150"} << QList<int>{2} << false;
    QTest::newRow("a report after a delivery opens a new interval")
        << QStringList{"report 0 1", "deliver 50", "report 60 2", "deliver 100", "deliver 110"} << QList<int>{1, 2}
        << false;
    QTest::newRow("flush passes the held value at once and stops the timer")
        << QStringList{"report 0 4", "report 10 6", "flush", "deliver 50"} << QList<int>{6} << false;
    QTest::newRow("flush with nothing held passes nothing")
        << QStringList{"report 0 4", "deliver 50", "flush"} << QList<int>{4} << false;
}

void TestProgressThrottle::steps()
{
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, passedOn);
    QFETCH(bool, timerActiveAfter);

    qint64 now = 0;
    ProgressThrottle throttle(nullptr, [&now]() { return now; });
    QCOMPARE(throttle.intervalMs(), 50);
    QList<int> values;
    connect(&throttle, &ProgressThrottle::progress, [&values](int percent) { values << percent; });
    for (const QString &step : steps) {
        const QStringList words = step.split(QLatin1Char(' '));
        if (words.first() == QLatin1String("report")) {
            now = words.at(1).toLongLong();
            throttle.report(words.at(2).toInt());
        } else if (words.first() == QLatin1String("deliver")) {
            now = words.at(1).toLongLong();
            throttle.deliverDue();
        } else {
            throttle.flush();
        }
    }
    QCOMPARE(values, passedOn);
    QCOMPARE(throttle.isTimerActive(), timerActiveAfter);
    QCOMPARE(throttle.hasPending(), timerActiveAfter);
}

void TestProgressThrottle::ownTimer_deliversTheLatest()
{
    ProgressThrottle throttle;
    QSignalSpy passed(&throttle, &ProgressThrottle::progress);
    throttle.report(12);
    throttle.report(13);
    QVERIFY(passed.isEmpty());
    QVERIFY(passed.wait());
    QCOMPARE(passed.size(), 1);
    QCOMPARE(passed.first().first().toInt(), 13);
    QVERIFY(!throttle.hasPending());
}

QUILLON_TEST(TestProgressThrottle)
#include "tst_progressthrottle.moc"
