#include "testregistry.h"

#include "activity/charts/activityevents.h"
#include "activity/charts/activityseries.h"
#include "activity/charts/suntimes.h"
#include "activity/charts/validperiods.h"
#include "activity/charts/weatherlog.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

using Periods = QVector<Period>;

FileRowTexts row(const QString &date, const QString &time, const QStringList &classes)
{
    FileRowTexts r;
    r.setText(FileViewColumn::Date, date);
    r.setText(FileViewColumn::Time, time);
    for (int i = 0; i < classes.size(); ++i)
        r.setText(FileViewColumn::Class1 + i, classes.at(i));
    return r;
}

ActivityForm absoluteForm(const QByteArray &zone, bool daylightSaving, const QTime &start, const QTime &stop)
{
    ActivityForm f;
    f.zone = QTimeZone(zone);
    f.daylightSaving = daylightSaving;
    f.absolutePeriod = true;
    f.startTime = start;
    f.stopTime = stop;
    f.monitoringBegin = QDate(2000, 1, 1);
    f.monitoringEnd = QDate(2000, 12, 31);
    return f;
}

ActivityForm relativeForm(const QByteArray &zone, double latitude, double longitude, int startMin, int stopMin)
{
    ActivityForm f = absoluteForm(zone, true, QTime(0, 0), QTime(0, 0));
    f.absolutePeriod = false;
    f.latitude = latitude;
    f.longitude = longitude;
    f.startMin = startMin;
    f.stopMin = stopMin;
    return f;
}

// "yyyy-MM-dd hh:mm[:ss]" on the recorder's clock, as Qt's own zone code places it.
qint64 at(const QString &text, const QTimeZone &zone)
{
    const QString format =
        text.size() > 16 ? QStringLiteral("yyyy-MM-dd hh:mm:ss") : QStringLiteral("yyyy-MM-dd hh:mm");
    const QDateTime local = QDateTime::fromString(text, format);
    return QDateTime(local.date(), local.time(), zone).toMSecsSinceEpoch();
}

Period between(const QString &begin, const QString &end, const QTimeZone &zone)
{
    return {at(begin, zone), at(end, zone)};
}

// The clock time, in whole seconds, of a sun time plus minutes on that date.
QString sunClock(const QDate &date, float sunHours, int minutes)
{
    const float h = sunHoursOfDay(sunHours + float(minutes) / 60.0f);
    return date.toString(Qt::ISODate) + QLatin1Char(' ')
           + QTime(0, 0).addSecs(int(h * 3600.0f)).toString(QStringLiteral("hh:mm:ss"));
}

} // namespace

Q_DECLARE_METATYPE(Period)
Q_DECLARE_METATYPE(ActivityForm)

class TestActivityBasis : public QObject
{
    Q_OBJECT
private slots:
    void yearClassAndCurveLists_data();
    void yearClassAndCurveLists();
    void countedClasses();
    void recordingPeriods_data();
    void recordingPeriods();
    void midnightThatTheClocksSkip();
    void standardTimeAsTheZoneMovesIt();
    void invalidPeriodsOfTheYear_data();
    void invalidPeriodsOfTheYear();
    void invalidPeriodsTakenOff_data();
    void invalidPeriodsTakenOff();
    void monitoringBounds_data();
    void monitoringBounds();
    void daysQuantities();
    void shortestValidDay_data();
    void shortestValidDay();
    void countsOfARandomFolder();
};

void TestActivityBasis::yearClassAndCurveLists_data()
{
    QTest::addColumn<QVector<FileRowTexts>>("rows");
    QTest::addColumn<QVector<int>>("years");
    QTest::addColumn<QStringList>("classList");
    QTest::addColumn<QStringList>("curveList");
    const QString u;
    QTest::newRow("classes in the order met, the empty one last; undated rows left out")
        << QVector<FileRowTexts>{row("01/06/22", "22:00:00", {"Pip", "Nyc"}), row("N/A", "22:00:00", {"Myo"}),
                                 row("15/07/21", "", {u, "Eser"}), row("02/06/22", "x", {"Nyc", "Pip"})}
        << QVector<int>{2021, 2022} << QStringList{"Pip", "Nyc", "Eser", u}
        << QStringList{"Pip", "Nyc", "Eser", "Unassigned", "All Classes"};
    QTest::newRow("only unassigned rows: one curve, no All Classes")
        << QVector<FileRowTexts>{row("01/06/21", "01:00:00", {}), row("01/06/21", "02:00:00", {})} << QVector<int>{2021}
        << QStringList{u} << QStringList{"Unassigned"};
    QTest::newRow("four classes on every row: no Unassigned")
        << QVector<FileRowTexts>{row("01/06/23", "01:00:00", {"A", "B", "C", "D"})} << QVector<int>{2023}
        << QStringList{"A", "B", "C", "D"} << QStringList{"A", "B", "C", "D", "All Classes"};
    QTest::newRow("case counts") << QVector<FileRowTexts>{row("01/06/21", "01:00:00", {"Pip", "pip", "Pip", "PIP"})}
                                 << QVector<int>{2021} << QStringList{"Pip", "pip", "PIP"}
                                 << QStringList{"Pip", "pip", "PIP", "All Classes"};
    QTest::newRow("no row with a date: no year, no class")
        << QVector<FileRowTexts>{row("N/A", "", {"Pip"}), row("", "", {})} << QVector<int>{} << QStringList{}
        << QStringList{"All Classes"};
    QTest::newRow("a year from an unreadable date still counts; letters do not")
        << QVector<FileRowTexts>{row("31/02/24", "01:00:00", {"Pip"}), row("01/01/ab", "", {"Nyc"})}
        << QVector<int>{2024} << QStringList{"Pip", u} << QStringList{"Pip", "Unassigned", "All Classes"};
}

void TestActivityBasis::yearClassAndCurveLists()
{
    QFETCH(QVector<FileRowTexts>, rows);
    QFETCH(QVector<int>, years);
    QFETCH(QStringList, classList);
    QFETCH(QStringList, curveList);
    const ActivityRows a = activityRowsOf(rows);
    QCOMPARE(a.rows.size(), rows.size());
    QCOMPARE(a.years, years);
    QCOMPARE(a.classList, classList);
    QCOMPARE(a.curveList, curveList);
}

void TestActivityBasis::countedClasses()
{
    const ActivityRows a = activityRowsOf({row("01/06/21", "22:00:00", {"", "Pip"}),
                                           row("01/06/21", "22:00:00", {"Pip", "Nyc", "", "Myo"}),
                                           row("01/06/21", "22:00:00", {"Pip", "Pip"})});
    QCOMPARE(a.rows[0].countedClasses(), QStringList{QString()});
    QCOMPARE(a.rows[1].countedClasses(), (QStringList{"Pip", "Nyc"}));
    QCOMPARE(a.rows[2].countedClasses(), (QStringList{"Pip", "Pip"}));
    // The days chart's selection: "Pip" in column 7 of an unassigned row counts for Pip there.
    const int pip = a.classList.indexOf("Pip"), unassigned = a.classList.indexOf(QString());
    QVERIFY(a.rowInCurve(a.rows[0], pip));
    QVERIFY(a.rowInCurve(a.rows[0], unassigned));
    QVERIFY(!a.rowInCurve(a.rows[1], unassigned));
    QVERIFY(a.rowInCurve(a.rows[1], a.allClassesIndex()));
    QVERIFY(!a.rowInCurve(a.rows[2], a.classList.indexOf("Nyc")));
}

void TestActivityBasis::recordingPeriods_data()
{
    QTest::addColumn<ActivityForm>("form");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<Periods>("expected");
    QTest::addColumn<float>("hours");
    const QTimeZone berlin("Europe/Berlin"), newYork("America/New_York");
    const QTimeZone standard(3600); // Berlin's clock without summer time
    const QDate june(2021, 6, 10), spring(2021, 3, 28), autumn(2021, 10, 31);

    QTest::newRow("absolute over midnight: morning and evening")
        << absoluteForm("Europe/Berlin", true, QTime(22, 0), QTime(6, 0)) << june
        << Periods{between("2021-06-10 00:00", "2021-06-10 06:00", berlin),
                   between("2021-06-10 22:00", "2021-06-11 00:00", berlin)}
        << 8.0f;
    QTest::newRow("absolute start equal to stop: the whole day")
        << absoluteForm("Europe/Berlin", true, QTime(8, 0), QTime(8, 0)) << june
        << Periods{between("2021-06-10 00:00", "2021-06-11 00:00", berlin)} << 24.0f;
    QTest::newRow("absolute, summer time ignored: the standard offset all year")
        << absoluteForm("Europe/Berlin", false, QTime(22, 0), QTime(6, 0)) << june
        << Periods{between("2021-06-10 00:00", "2021-06-10 06:00", standard),
                   between("2021-06-10 22:00", "2021-06-11 00:00", standard)}
        << 8.0f;
    QTest::newRow("clocks go forward: 01:00 to 04:00 lasts two hours")
        << absoluteForm("Europe/Berlin", true, QTime(1, 0), QTime(4, 0)) << spring
        << Periods{between("2021-03-28 01:00", "2021-03-28 04:00", berlin)} << 2.0f;
    QTest::newRow("a start the change skips begins after the gap")
        << absoluteForm("Europe/Berlin", true, QTime(2, 30), QTime(5, 0)) << spring
        << Periods{between("2021-03-28 03:00", "2021-03-28 05:00", berlin)} << 2.0f;
    QTest::newRow("clocks go back: a 25-hour day")
        << absoluteForm("Europe/Berlin", true, QTime(0, 0), QTime(0, 0)) << autumn
        << Periods{between("2021-10-31 00:00", "2021-11-01 00:00", berlin)} << 25.0f;
    QTest::newRow("New York's own change, not the machine's")
        << absoluteForm("America/New_York", true, QTime(22, 0), QTime(6, 0)) << QDate(2021, 3, 14)
        << Periods{between("2021-03-14 00:00", "2021-03-14 06:00", newYork),
                   between("2021-03-14 22:00", "2021-03-15 00:00", newYork)}
        << 7.0f;

    // Relative periods: the clock times of sunset + StartMin and sunrise + StopMin.
    const auto sun = [](const QDate &d, float lat, float lon, float zone) {
        return std::make_pair(sunEventHours(SunEvent::Rise, d.year(), d.month(), d.day(), lat, lon, zone, 0, {}),
                              sunEventHours(SunEvent::Set, d.year(), d.month(), d.day(), lat, lon, zone, 0, {}));
    };
    const QDate midsummer(2021, 6, 21);
    const auto [riseJune, setJune] = sun(midsummer, 51, 9, 2);
    QTest::newRow("relative 0/0 at 51 N: midnight to sunrise, sunset to midnight")
        << relativeForm("Europe/Berlin", 51, 9, 0, 0) << midsummer
        << Periods{{at("2021-06-21 00:00", berlin), at(sunClock(midsummer, riseJune, 0), berlin)},
                   {at(sunClock(midsummer, setJune, 0), berlin), at("2021-06-22 00:00", berlin)}}
        << -1.0f;
    // On the change days the sun's clock time is taken in the zone, not as hours elapsed since midnight.
    const auto [riseSpring, setSpring] = sun(spring, 51, 9, 2);
    QTest::newRow("relative on the day the clocks go forward")
        << relativeForm("Europe/Berlin", 51, 9, 30, -30) << spring
        << Periods{{at("2021-03-28 00:00", berlin), at(sunClock(spring, riseSpring, -30), berlin)},
                   {at(sunClock(spring, setSpring, 30), berlin), at("2021-03-29 00:00", berlin)}}
        << -1.0f;
    const auto [riseAutumn, setAutumn] = sun(autumn, 51, 9, 1);
    QTest::newRow("relative on the day the clocks go back")
        << relativeForm("Europe/Berlin", 51, 9, 0, 0) << autumn
        << Periods{{at("2021-10-31 00:00", berlin), at(sunClock(autumn, riseAutumn, 0), berlin)},
                   {at(sunClock(autumn, setAutumn, 0), berlin), at("2021-11-01 00:00", berlin)}}
        << -1.0f;
    const QDate july(2021, 7, 1);
    const auto [riseNY, setNY] = sun(july, 40.7f, -74, -4);
    QTest::newRow("relative in New York under Berlin's machine zone")
        << relativeForm("America/New_York", 40.7, -74, 0, 0) << july
        << Periods{{at("2021-07-01 00:00", newYork), at(sunClock(july, riseNY, 0), newYork)},
                   {at(sunClock(july, setNY, 0), newYork), at("2021-07-02 00:00", newYork)}}
        << -1.0f;
    const auto [riseStd, setStd] = sun(midsummer, 51, 9, 1);
    ActivityForm noSummerTime = relativeForm("Europe/Berlin", 51, 9, 60, 0);
    noSummerTime.daylightSaving = false;
    QTest::newRow("relative without summer time: sun times at the standard offset")
        << noSummerTime << midsummer
        << Periods{{at("2021-06-21 00:00", standard), at(sunClock(midsummer, riseStd, 0), standard)},
                   {at(sunClock(midsummer, setStd, 60), standard), at("2021-06-22 00:00", standard)}}
        << -1.0f;
    QTest::newRow("start delay beyond the 7-hour night: nothing (not 21 hours)")
        << relativeForm("Europe/Berlin", 51, 9, 300, -300) << midsummer << Periods{} << 0.0f;
    QTest::newRow("stop delay beyond the 8-hour day: the whole day")
        << relativeForm("Europe/Berlin", 51, 9, -360, 360) << QDate(2021, 12, 21)
        << Periods{between("2021-12-21 00:00", "2021-12-22 00:00", berlin)} << 24.0f;
    QTest::newRow("no sunset in June at 70 N: nothing")
        << relativeForm("Europe/Berlin", 70, 20, 0, 0) << midsummer << Periods{} << 0.0f;
    QTest::newRow("no sunrise in December at 70 N: the whole day")
        << relativeForm("Europe/Berlin", 70, 20, 0, 0) << QDate(2021, 12, 21)
        << Periods{between("2021-12-21 00:00", "2021-12-22 00:00", berlin)} << 24.0f;
    QTest::newRow("no sunrise in June at 70 S: the whole day")
        << relativeForm("Europe/Berlin", -70, 20, 0, 0) << midsummer
        << Periods{between("2021-06-21 00:00", "2021-06-22 00:00", berlin)} << 24.0f;
}

void TestActivityBasis::recordingPeriods()
{
    QFETCH(ActivityForm, form);
    QFETCH(QDate, date);
    QFETCH(Periods, expected);
    QFETCH(float, hours);
    const RecorderClock clock(form.zone, form.daylightSaving, RecorderClock::OnTransitions, date.year());
    const Periods periods = recordingPeriodsOfDay(form, clock, date, daySunTimes(form, clock, date));
    QCOMPARE(periods, expected);
    if (hours >= 0)
        QCOMPARE(hoursOf(periods), hours);
}

void TestActivityBasis::midnightThatTheClocksSkip()
{
    // Chile moved its clocks from 24:00 to 01:00 on 5 September 2021: that day
    // has no 00:00 and no 00:00:01, so it starts at 23:59:59 of the day before.
    const QTimeZone santiago("America/Santiago");
    const RecorderClock clock(santiago, true, RecorderClock::OnTransitions, 2021);
    QVERIFY(!clock.exists(QDate(2021, 9, 5), 0));
    QCOMPARE(clock.midnight(QDate(2021, 9, 5)), at("2021-09-04 23:59:59", santiago));
    QCOMPARE(clock.midnight(QDate(2021, 9, 6)), at("2021-09-06 00:00", santiago));
    QCOMPARE(clock.instant(QDate(2021, 9, 5), 1800000), at("2021-09-05 01:00", santiago));
    QCOMPARE(clock.sunZoneOffset(QDate(2021, 9, 5)), -3.0f);
    QCOMPARE(clock.sunZoneOffset(QDate(2021, 9, 4)), -4.0f);
}

void TestActivityBasis::standardTimeAsTheZoneMovesIt()
{
    // Pyongyang never had summer time; in August 2015 it moved from UTC+9 to UTC+8:30.
    // Without daylight saving its December is at +8:30 all the same.
    const QTimeZone pyongyang("Asia/Pyongyang");
    const RecorderClock standard(pyongyang, false, RecorderClock::OnTransitions, 2015),
        rules(pyongyang, true, RecorderClock::OnTransitions, 2015);
    for (const QDate &date : {QDate(2015, 6, 1), QDate(2015, 12, 1)}) {
        QCOMPARE(standard.instant(date, 22 * 3600000LL), rules.instant(date, 22 * 3600000LL));
        QCOMPARE(standard.instant(date, 22 * 3600000LL),
                 at(date.toString(Qt::ISODate) + QStringLiteral(" 22:00"), pyongyang));
    }
    // Volgograd moved from UTC+4 to UTC+3 at 02:00 of 27 December 2020: the sun times of that
    // day take +4 where a chart takes the offset at 00:00, +3 where at 12:00; the weather log
    // keeps the offset of 1 January.
    const QTimeZone volgograd("Europe/Volgograd");
    const RecorderClock clock(volgograd, false, RecorderClock::OnTransitions, 2020);
    const qint64 lateDecember = clock.instant(QDate(2020, 12, 30), 0);
    QCOMPARE(clock.offsetAt(lateDecember), 3 * 3600);
    QCOMPARE(clock.sunZoneOffset(QDate(2020, 12, 27), 0), 4.0f);
    QCOMPARE(clock.sunZoneOffset(QDate(2020, 12, 27), 12), 3.0f);
    QCOMPARE(weatherLogClock(volgograd, false, 2020).offsetAt(lateDecember), 4 * 3600);
}

void TestActivityBasis::invalidPeriodsOfTheYear_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Periods>("expected");
    const QTimeZone berlin("Europe/Berlin");
    const QString y0 = QStringLiteral("2021-01-01 00:00"), y1 = QStringLiteral("2021-12-31 23:59");
    QTest::newRow("inside the year, in the text's order")
        << "10.06.2021 22:00-12.06.2021 03:30;01.02.2021 08:00-01.02.2021 09:00"
        << Periods{between("2021-06-10 22:00", "2021-06-12 03:30", berlin),
                   between("2021-02-01 08:00", "2021-02-01 09:00", berlin)};
    QTest::newRow("into the next year: cut at 31 December 23:59")
        << "01.01.2021 00:00-15.02.2022 00:00" << Periods{between(y0, y1, berlin)};
    QTest::newRow("from the year before up to 23:59")
        << "20.12.2020 00:00-31.12.2021 23:59" << Periods{between(y0, y1, berlin)};
    QTest::newRow("wholly in another year") << "20.12.2020 00:00-31.12.2020 10:00" << Periods{};
    QTest::newRow("the last minute of the year lies outside") << "31.12.2021 23:59-01.01.2022 05:00" << Periods{};
    QTest::newRow("an end before its begin is skipped")
        << "12.06.2021 03:30-10.06.2021 22:00;01.02.2021 08:00-01.02.2021 09:00"
        << Periods{between("2021-02-01 08:00", "2021-02-01 09:00", berlin)};
    QTest::newRow("halves not exactly dd.MM.yyyy hh:mm are skipped")
        << "1.02.2021 08:00-01.02.2021 09:00;01.02.2021 8:00-01.02.2021 09:00;31.02.2021 08:00-01.03.2021 09:00;"
           "01.02.2021 08:00-01.02.2021 24:00;garbage;;01.02.2021 08:00 -01.02.2021 09:00"
        << Periods{};
    QTest::newRow("begin equal to end is kept")
        << "01.02.2021 08:00-01.02.2021 08:00" << Periods{between("2021-02-01 08:00", "2021-02-01 08:00", berlin)};
}

void TestActivityBasis::invalidPeriodsOfTheYear()
{
    QFETCH(QString, text);
    QFETCH(Periods, expected);
    QCOMPARE(invalidPeriodsOfYear(
                 text, RecorderClock(QTimeZone("Europe/Berlin"), true, RecorderClock::OnTransitions, 2021), 2021),
             expected);
}

void TestActivityBasis::invalidPeriodsTakenOff_data()
{
    QTest::addColumn<QString>("invalid");
    QTest::addColumn<Periods>("expected");
    const QTimeZone berlin("Europe/Berlin");
    // The day's recording periods are 00:00-04:00 and 20:00-24:00 of 10 June 2021.
    const Period morning = between("2021-06-10 00:00", "2021-06-10 04:00", berlin);
    const Period evening = between("2021-06-10 20:00", "2021-06-11 00:00", berlin);
    QTest::newRow("none") << QString() << Periods{morning, evening};
    QTest::newRow("inside the evening: split in two")
        << "10.06.2021 21:00-10.06.2021 22:00"
        << Periods{morning, between("2021-06-10 20:00", "2021-06-10 21:00", berlin),
                   between("2021-06-10 22:00", "2021-06-11 00:00", berlin)};
    QTest::newRow("covering the evening: removed") << "10.06.2021 19:00-11.06.2021 01:00" << Periods{morning};
    QTest::newRow("across the day: both cut") << "10.06.2021 03:00-10.06.2021 21:00"
                                              << Periods{between("2021-06-10 00:00", "2021-06-10 03:00", berlin),
                                                         between("2021-06-10 21:00", "2021-06-11 00:00", berlin)};
    QTest::newRow("starting where the evening begins: cut from its start")
        << "10.06.2021 20:00-10.06.2021 21:00"
        << Periods{morning, between("2021-06-10 20:00", "2021-06-10 20:00", berlin),
                   between("2021-06-10 21:00", "2021-06-11 00:00", berlin)};
    QTest::newRow("ending where the evening begins: a touch, nothing lost")
        << "10.06.2021 18:00-10.06.2021 20:00" << Periods{morning, evening};
    QTest::newRow("two periods, one after the other")
        << "10.06.2021 01:00-10.06.2021 02:00;09.06.2021 12:00-10.06.2021 00:30"
        << Periods{between("2021-06-10 00:30", "2021-06-10 01:00", berlin), evening,
                   between("2021-06-10 02:00", "2021-06-10 04:00", berlin)};
    QTest::newRow("backwards (end before begin): skipped, nothing added")
        << "10.06.2021 22:00-10.06.2021 02:00" << Periods{morning, evening};
}

void TestActivityBasis::invalidPeriodsTakenOff()
{
    QFETCH(QString, invalid);
    QFETCH(Periods, expected);
    ActivityForm form = absoluteForm("Europe/Berlin", true, QTime(20, 0), QTime(4, 0));
    form.invalidTimes = invalid;
    const RecorderClock clock(form.zone, true, RecorderClock::OnTransitions, 2021);
    const QVector<Period> periods = validPeriodsOfDay(form, clock, QDate(2021, 6, 10),
                                                      MonitoringPeriod(QDate(2021, 1, 1), QDate(2021, 12, 31), 2021),
                                                      invalidPeriodsOfYear(invalid, clock, 2021));
    QCOMPARE(periods, expected);
}

void TestActivityBasis::monitoringBounds_data()
{
    QTest::addColumn<QDate>("begin");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("daysInside");
    QTest::addColumn<QDate>("firstInside");
    // Only day and month of the edits count.
    QTest::newRow("whole year") << QDate(2015, 1, 1) << QDate(2015, 12, 31) << 2024 << 366 << QDate(2024, 1, 1);
    QTest::newRow("April to September") << QDate(2015, 4, 1) << QDate(2015, 9, 30) << 2021 << 183 << QDate(2021, 4, 1);
    QTest::newRow("begin 29 February, a leap year")
        << QDate(2016, 2, 29) << QDate(2016, 3, 1) << 2024 << 2 << QDate(2024, 2, 29);
    QTest::newRow("begin 29 February becomes 1 March")
        << QDate(2016, 2, 29) << QDate(2016, 3, 2) << 2021 << 2 << QDate(2021, 3, 1);
    QTest::newRow("end 29 February becomes 28 February")
        << QDate(2016, 2, 1) << QDate(2016, 2, 29) << 2021 << 28 << QDate(2021, 2, 1);
    QTest::newRow("end before begin: no day") << QDate(2015, 10, 1) << QDate(2015, 3, 1) << 2021 << 0 << QDate();
}

void TestActivityBasis::monitoringBounds()
{
    QFETCH(QDate, begin);
    QFETCH(QDate, end);
    QFETCH(int, year);
    QFETCH(int, daysInside);
    QFETCH(QDate, firstInside);
    const MonitoringPeriod monitoring(begin, end, year);
    int inside = 0;
    QDate first;
    for (QDate d(year, 1, 1); d.year() == year; d = d.addDays(1)) {
        if (monitoring.contains(d)) {
            ++inside;
            if (!first.isValid())
                first = d;
        }
    }
    QCOMPARE(inside, daysInside);
    QCOMPARE(first, firstInside);
}

void TestActivityBasis::daysQuantities()
{
    const struct {
        int choice;
        bool activity, events, dynamic;
        int minutes;
    } table[] = {{0, true, false, true, 0},  {1, false, false, true, 0}, {2, false, true, true, 1},
                 {3, false, true, true, 5},  {4, false, true, true, 10}, {5, false, true, false, 1},
                 {6, false, true, false, 5}, {7, false, true, false, 10}};
    for (const auto &t : table) {
        const DaysQuantity q = DaysQuantity::ofChoice(t.choice);
        QCOMPARE(q.activity, t.activity);
        QCOMPARE(q.events, t.events);
        if (t.events) {
            QCOMPARE(q.minutes, t.minutes);
            QCOMPARE(q.rule == EventRule::Dynamic, t.dynamic);
        }
    }
}

void TestActivityBasis::shortestValidDay_data()
{
    QTest::addColumn<int>("minutes");
    QTest::addColumn<float>("hours");
    QTest::addColumn<float>("activity"); // of one recording in the period
    QTest::newRow("5 minutes: under 0.1 hours, none") << 5 << 0.0f << 0.0f;
    QTest::newRow("exactly 6 minutes: 0.1 hours count") << 6 << 0.1f << 10.0f;
    QTest::newRow("7 minutes") << 7 << float(7.0 / 60.0) << float(60.0 / 7.0);
}

void TestActivityBasis::shortestValidDay()
{
    QFETCH(int, minutes);
    QFETCH(float, hours);
    QFETCH(float, activity);
    const ActivityForm form = absoluteForm("Europe/Berlin", true, QTime(22, 0), QTime(22, minutes));
    const RecorderClock clock(form.zone, true, RecorderClock::OnTransitions, 2021);
    const QDate day(2021, 6, 10);
    const int d = day.dayOfYear() - 1;
    QVector<QVector<QVector<qint64>>> candidates(1, QVector<QVector<qint64>>(365));
    candidates[0][d] << at("2021-06-10 22:03", form.zone);
    const DaysSeries series = daysSeries(form, clock, 2021, candidates, true);
    QCOMPARE(series.validHours.at(d), hours);
    QCOMPARE(series.values[0].at(d), activity);
}

void TestActivityBasis::countsOfARandomFolder()
{
    // 2,000 recordings at random seconds of 2021 (a few of 2022 and some
    // without a date), one to four classes each, under an absolute period of
    // 21:00 to 05:00 in Berlin's zone with summer time, monitored from 1 March
    // to 31 October, less two invalid periods.
    QRandomGenerator random(19);
    const QStringList names{"Pip", "Nyc", "Myo", "Eser"};
    QVector<FileRowTexts> texts;
    for (int i = 0; i < 2000; ++i) {
        const QDate date = QDate(2021, 1, 1).addDays(random.bounded(380));
        const QTime time = QTime(0, 0).addSecs(random.bounded(86400));
        QStringList classes;
        const int count = random.bounded(5); // 0: unassigned
        for (int c = 0; c < count; ++c)
            classes << (random.bounded(6) == 0 ? QString() : names.at(random.bounded(names.size())));
        texts << row(i % 97 == 0 ? QStringLiteral("N/A") : date.toString(QStringLiteral("dd/MM/yy")),
                     time.toString(QStringLiteral("hh:mm:ss")), classes);
    }
    const ActivityRows rows = activityRowsOf(texts);
    ActivityForm form = absoluteForm("Europe/Berlin", true, QTime(21, 0), QTime(5, 0));
    form.monitoringBegin = QDate(2015, 3, 1);
    form.monitoringEnd = QDate(2015, 10, 31);
    form.invalidTimes = QStringLiteral("10.06.2021 22:00-12.06.2021 03:30;01.08.2021 00:00-01.08.2021 23:59");
    const RecorderClock clock(form.zone, true, RecorderClock::OnTransitions, 2021);

    QVector<QVector<QVector<qint64>>> candidates;
    for (int c = 0; c < rows.curveList.size(); ++c)
        candidates << dayCandidates(rows, c, clock, 2021, DaysQuantity::ofChoice(1));
    const DaysSeries series = daysSeries(form, clock, 2021, candidates, false);

    // The plain count: the clock's own date and time, compared as text.
    const QDateTime invalid[][2] = {
        {QDateTime(QDate(2021, 6, 10), QTime(22, 0)), QDateTime(QDate(2021, 6, 12), QTime(3, 30))},
        {QDateTime(QDate(2021, 8, 1), QTime(0, 0)), QDateTime(QDate(2021, 8, 1), QTime(23, 59))}};
    QVector<QVector<float>> plain(rows.curveList.size(), QVector<float>(365, 0.0f));
    for (const FileRowTexts &t : texts) {
        const QDate date = QDate::fromString(t.text(FileViewColumn::Date), QStringLiteral("dd/MM/yy")).addYears(100);
        const QTime time = QTime::fromString(t.text(FileViewColumn::Time), QStringLiteral("hh:mm:ss"));
        if (!date.isValid() || date.year() != 2021 || date.month() < 3 || date.month() > 10)
            continue;
        if (time > QTime(5, 0) && time < QTime(21, 0))
            continue;
        const QDateTime local(date, time);
        bool inInvalid = false;
        for (const auto &p : invalid)
            inInvalid = inInvalid || (local > p[0] && local < p[1]);
        if (inInvalid)
            continue;
        QStringList classes;
        for (int c = FileViewColumn::Class1; c <= FileViewColumn::Class4; ++c)
            classes << t.text(c);
        for (int curve = 0; curve < rows.curveList.size(); ++curve) {
            const QString name = rows.curveList.at(curve);
            const bool member =
                name == QLatin1String("All Classes")
                || (name == QLatin1String("Unassigned") ? classes.first().isEmpty() : classes.contains(name));
            if (member)
                plain[curve][date.dayOfYear() - 1] += 1.0f;
        }
    }
    QStringList classesMet = rows.curveList.mid(0, 4);
    classesMet.sort();
    QCOMPARE(classesMet, (QStringList{"Eser", "Myo", "Nyc", "Pip"}));
    QCOMPARE(rows.curveList.mid(4), (QStringList{"Unassigned", "All Classes"}));
    QCOMPARE(series.values, plain);
    float counted = 0;
    for (float v : series.values.last())
        counted += v;
    QVERIFY(counted > 400); // the test means something: a good share of the year's recordings counts

    // Valid hours of a few days, worked out by hand.
    const auto hoursOn = [&](int month, int day) { return series.validHours[QDate(2021, month, day).dayOfYear() - 1]; };
    QCOMPARE(hoursOn(2, 28), 0.0f); // before the monitoring
    QCOMPARE(hoursOn(6, 1), 8.0f);
    QCOMPARE(hoursOn(6, 10), 6.0f);  // 00:00-05:00 and 21:00-22:00
    QCOMPARE(hoursOn(6, 11), 0.0f);  // invalid all day
    QCOMPARE(hoursOn(6, 12), 4.5f);  // 03:30-05:00 and 21:00-24:00
    QCOMPARE(hoursOn(3, 28), 7.0f);  // the clocks go forward inside the morning
    QCOMPARE(hoursOn(10, 31), 9.0f); // and back
    QCOMPARE(hoursOn(8, 1), 0.0f);   // 23:59-24:00 is a minute: below 0.1 hours
    QCOMPARE(hoursOn(11, 1), 0.0f);

    // Activity: each count over its day's hours; a day without hours has 0, never a division by almost nothing.
    const DaysSeries activity = daysSeries(form, clock, 2021, candidates, true);
    for (int d = 0; d < 365; ++d) {
        const float hours = series.validHours[d];
        QCOMPARE(activity.values.last()[d], hours > 0 ? series.values.last()[d] / hours : 0.0f);
    }
}

QUILLON_TEST(TestActivityBasis)
#include "tst_activitybasis.moc"
