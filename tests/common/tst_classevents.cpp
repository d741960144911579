// Class events: recordings of one class close together count as one, by the
// dynamic or the static rule, for the CSV export and the days chart alike.
#include "common/classevents.h"
#include "common/recorderclock.h"
#include "testregistry.h"

#include <QTest>
#include <QTime>

namespace {

QVector<ClockedRecording> clocked(const QDate &date, const QStringList &times)
{
    const RecorderClock clock(QTimeZone("Europe/Berlin"), true, RecorderClock::OnTransitions, date.year());
    QVector<ClockedRecording> out;
    for (const QString &t : times) {
        const int ms = QTime::fromString(t, QStringLiteral("hh:mm:ss")).msecsSinceStartOfDay();
        out.append({clock.instant(date, ms), date, ms});
    }
    return out;
}

} // namespace

class ClassEventsTest : public QObject
{
    Q_OBJECT

private slots:
    void events_data();
    void events();
    void staticSlotsAreOfTheirDay();
};

void ClassEventsTest::events_data()
{
    QTest::addColumn<QStringList>("times");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<bool>("dynamic");
    QTest::addColumn<QStringList>("starts");
    QTest::newRow("dynamic 1: a minute later is the same event")
        << QStringList{"00:00:00", "00:00:30", "00:01:00", "00:01:30"} << 1 << true
        << QStringList{"00:00:00", "00:01:30"};
    QTest::newRow("dynamic 5, unsorted input")
        << QStringList{"10:05:01", "10:05:00", "10:00:00"} << 5 << true << QStringList{"10:00:00", "10:05:01"};
    QTest::newRow("dynamic 10 counts from the event's start, not the last recording")
        << QStringList{"10:00:00", "10:09:59", "10:10:00", "10:10:01", "10:19:00"} << 10 << true
        << QStringList{"10:00:00", "10:10:01"};
    QTest::newRow("static 1: by the clock's minute")
        << QStringList{"10:00:00", "10:00:59", "10:01:00"} << 1 << false << QStringList{"10:00:00", "10:01:00"};
    QTest::newRow("static 5: 10:04 and 10:05 are two")
        << QStringList{"10:04:00", "10:05:00"} << 5 << false << QStringList{"10:04:00", "10:05:00"};
    QTest::newRow("static 5: 10:05 and 10:09 are one")
        << QStringList{"10:05:00", "10:09:00"} << 5 << false << QStringList{"10:05:00"};
    QTest::newRow("static 10: the slot is of the hour")
        << QStringList{"10:09:00", "10:10:00", "10:19:59", "11:19:00"} << 10 << false
        << QStringList{"10:09:00", "10:10:00", "11:19:00"};
}

void ClassEventsTest::events()
{
    QFETCH(QStringList, times);
    QFETCH(int, minutes);
    QFETCH(bool, dynamic);
    QFETCH(QStringList, starts);
    const QDate day(2021, 6, 10);
    const QVector<ClockedRecording> kept =
        eventStarts(clocked(day, times), minutes, dynamic ? EventRule::Dynamic : EventRule::Static);
    QStringList keptTimes;
    for (const ClockedRecording &r : kept)
        keptTimes << QTime::fromMSecsSinceStartOfDay(r.msOfDay).toString(QStringLiteral("hh:mm:ss"));
    QCOMPARE(keptTimes, starts);
}

void ClassEventsTest::staticSlotsAreOfTheirDay()
{
    // The static rule compares the date too: the same slot on another day is a new event.
    QVector<ClockedRecording> twoDays =
        clocked(QDate(2021, 6, 10), {"10:04:00"}) + clocked(QDate(2021, 6, 11), {"10:04:00"});
    QCOMPARE(eventStarts(twoDays, 10, EventRule::Static).size(), 2);
}

QUILLON_TEST(ClassEventsTest)
#include "tst_classevents.moc"
