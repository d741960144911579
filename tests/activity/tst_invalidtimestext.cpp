#include "testregistry.h"

#include "activity/invalidtimestext.h"

#include <QDateTime>
#include <QtTest>

class TestInvalidTimesText : public QObject
{
    Q_OBJECT
private slots:
    void half_data();
    void half();
};

void TestInvalidTimesText::half_data()
{
    QTest::addColumn<QString>("half");
    QTest::addColumn<QDateTime>("reading"); // invalid: the half is not read

    const auto at = [](int y, int m, int d, int h, int min) {
        return QDateTime(QDate(y, m, d), QTime(h, min), Qt::UTC);
    };
    QTest::newRow("a reading") << "27.12.2021 08:00" << at(2021, 12, 27, 8, 0);
    QTest::newRow("first minute of the first year") << "01.01.0001 00:00" << at(1, 1, 1, 0, 0);
    QTest::newRow("year 0, which no calendar has") << "01.01.0000 00:00" << QDateTime();
    QTest::newRow("a dot in the year") << "24.12.2.21 10:00" << QDateTime();
    QTest::newRow("a sign in the year") << "24.12.-021 10:00" << QDateTime();
}

void TestInvalidTimesText::half()
{
    QFETCH(QString, half);
    QFETCH(QDateTime, reading);
    QCOMPARE(invalidTimesReading(half), reading);
    // A half read is written back as it stands; one not read is kept as it stands by the periods dialog.
    if (reading.isValid())
        QCOMPARE(invalidTimesHalf(reading), half);
    const InvalidTimesSplit split = splitInvalidTimesText(half + QLatin1Char('-') + half);
    QCOMPARE(split.readable.size(), reading.isValid() ? 1 : 0);
    QCOMPARE(split.unreadable.size(), reading.isValid() ? 0 : 1);
}

QUILLON_TEST(TestInvalidTimesText)
#include "tst_invalidtimestext.moc"
