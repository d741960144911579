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
    QTest::addColumn<bool>("editable");     // the periods dialog gives it a row

    const auto at = [](int y, int m, int d, int h, int min) {
        return QDateTime(QDate(y, m, d), QTime(h, min), Qt::UTC);
    };
    QTest::newRow("a reading") << "27.12.2021 08:00" << at(2021, 12, 27, 8, 0) << true;
    QTest::newRow("first minute of the first year") << "01.01.0001 00:00" << at(1, 1, 1, 0, 0) << false;
    QTest::newRow("year 0, which no calendar has") << "01.01.0000 00:00" << QDateTime() << false;
    QTest::newRow("a dot in the year") << "24.12.2.21 10:00" << QDateTime() << false;
    QTest::newRow("a sign in the year") << "24.12.-021 10:00" << QDateTime() << false;
    QTest::newRow("last minute of the day") << "27.12.2021 23:59" << at(2021, 12, 27, 23, 59) << true;
    QTest::newRow("minute 75 is no quarter past nine") << "27.12.2021 08:75" << QDateTime() << false;
    QTest::newRow("minute 60") << "27.12.2021 08:60" << QDateTime() << false;
    QTest::newRow("hour 24") << "27.12.2021 24:00" << QDateTime() << false;
    QTest::newRow("the editors' first day") << "14.09.1752 00:00" << at(1752, 9, 14, 0, 0) << true;
    QTest::newRow("the last minute before it: read, kept as text")
        << "13.09.1752 23:59" << at(1752, 9, 13, 23, 59) << false;
}

void TestInvalidTimesText::half()
{
    QFETCH(QString, half);
    QFETCH(QDateTime, reading);
    QFETCH(bool, editable);
    QCOMPARE(invalidTimesReading(half), reading);
    // A half read is written back as it stands; one without a row is kept as it stands by the periods dialog.
    if (reading.isValid())
        QCOMPARE(invalidTimesHalf(reading), half);
    const InvalidTimesSplit split = splitInvalidTimesText(half + QLatin1Char('-') + half);
    QCOMPARE(split.readable.size(), editable ? 1 : 0);
    QCOMPARE(split.unreadable.size(), editable ? 0 : 1);
}

QUILLON_TEST(TestInvalidTimesText)
#include "tst_invalidtimestext.moc"
