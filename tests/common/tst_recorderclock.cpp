// The recorder's clock: the exports and the activity charts read ordinary
// times alike and part, on purpose, where the zone's offset changes.
#include "common/recorderclock.h"
#include "testregistry.h"

#include <QDateTime>
#include <QTest>

class RecorderClockTest : public QObject
{
    Q_OBJECT

private slots:
    void changes_data();
    void changes();
};

void RecorderClockTest::changes_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<bool>("daylightSaving");
    QTest::addColumn<QString>("reading"); // the clock's "yyyy-MM-dd hh:mm"
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("perReading");    // UTC
    QTest::addColumn<QString>("onTransitions"); // UTC

    QTest::newRow("an ordinary summer reading: both alike")
        << QByteArray("Europe/Berlin") << true << "2021-06-15 22:30" << true << "2021-06-15 20:30"
        << "2021-06-15 20:30";
    QTest::newRow("an ordinary reading without daylight saving: both alike")
        << QByteArray("Europe/Berlin") << false << "2021-06-15 22:30" << true << "2021-06-15 21:30"
        << "2021-06-15 21:30";
    QTest::newRow("the spring change skips it: standard offset, or the change itself")
        << QByteArray("Europe/Berlin") << true << "2021-03-28 02:30" << false << "2021-03-28 01:30"
        << "2021-03-28 01:00";
    QTest::newRow("the autumn change repeats it: the later, or the first")
        << QByteArray("Europe/Berlin") << true << "2021-10-31 02:30" << true << "2021-10-31 01:30"
        << "2021-10-31 00:30";
    // Volgograd moved its standard time from UTC+4 to UTC+3 at 02:00 of 27 December 2020.
    QTest::newRow("standard time moved later that day: the day's, or the one then")
        << QByteArray("Europe/Volgograd") << false << "2020-12-27 00:30" << true << "2020-12-26 21:30"
        << "2020-12-26 20:30";
}

void RecorderClockTest::changes()
{
    QFETCH(QByteArray, zone);
    QFETCH(bool, daylightSaving);
    QFETCH(QString, reading);
    QFETCH(bool, shown);
    QFETCH(QString, perReading);
    QFETCH(QString, onTransitions);

    // Read apart: as one local date-time the machine's own zone could skip it.
    const QDate date = QDate::fromString(reading.left(10), Qt::ISODate);
    const qint64 ms = QTime::fromString(reading.mid(11), QStringLiteral("hh:mm")).msecsSinceStartOfDay();
    const auto utc = [](qint64 instant) {
        return QDateTime::fromMSecsSinceEpoch(instant, Qt::UTC).toString(QStringLiteral("yyyy-MM-dd hh:mm"));
    };
    const RecorderClock each(QTimeZone(zone), daylightSaving, RecorderClock::PerReading);
    const RecorderClock scale(QTimeZone(zone), daylightSaving, RecorderClock::OnTransitions, date.year());
    QCOMPARE(utc(each.instant(date, ms)), perReading);
    QCOMPARE(utc(scale.instant(date, ms)), onTransitions);
    QCOMPARE(each.exists(date, ms), shown);
    QCOMPARE(scale.exists(date, ms), shown);
}

QUILLON_TEST(RecorderClockTest)
#include "tst_recorderclock.moc"
