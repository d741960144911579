#include "testregistry.h"

#include "activity/charts/activityseries.h"
#include "activity/charts/suntimes.h"

#include <QtTest>

namespace {

FileRowTexts row(const QDateTime &local, const QStringList &classes)
{
    FileRowTexts r;
    r.setText(FileViewColumn::Date, local.toString(QStringLiteral("dd/MM/yy")));
    r.setText(FileViewColumn::Time, local.toString(QStringLiteral("hh:mm:ss")));
    for (int i = 0; i < classes.size(); ++i)
        r.setText(FileViewColumn::Class1 + i, classes.at(i));
    return r;
}

FileRowTexts row(const QString &date, const QString &time, const QStringList &classes)
{
    return row(QDateTime::fromString(date + QLatin1Char(' ') + time, QStringLiteral("yyyy-MM-dd hh:mm:ss")), classes);
}

ActivityForm berlinForm()
{
    ActivityForm f;
    f.zone = QTimeZone("Europe/Berlin");
    f.latitude = 51;
    f.longitude = 9;
    f.monitoringBegin = QDate(2015, 1, 1);
    f.monitoringEnd = QDate(2015, 12, 31);
    f.absolutePeriod = false; // sunset to sunrise
    return f;
}

QDateTime onClock(qint64 instant)
{
    return QDateTime::fromMSecsSinceEpoch(instant, QTimeZone("Europe/Berlin"));
}

// The bins in which the "All Classes" row has recordings (activity above 0).
QList<int> binsWithRecordings(const BinnedActivity &a)
{
    QList<int> bins;
    for (int b = 0; b < a.activity.last().size(); ++b) {
        if (a.activity.last()[b] > 0)
            bins << b;
    }
    return bins;
}

} // namespace

// Months and night-time bins: hours, counts and their division.
class TestActivitySeries : public QObject
{
    Q_OBJECT
private slots:
    void monthsCountClassesAndHours();
    void monthWithoutHoursHasNoActivity();
    void nightBinsOfMidsummer();
    void boundaryInstantCountsInTheLowerBin();
    void eveningBinBeforeSunset();
    void sunsetAfterMidnight();
    void dayNextToPolarDayIsSkipped();
};

void TestActivitySeries::monthsCountClassesAndHours()
{
    ActivityForm form = berlinForm();
    form.absolutePeriod = true;
    form.startTime = QTime(20, 0);
    form.stopTime = QTime(4, 0);
    form.monitoringBegin = QDate(2015, 4, 1);
    form.monitoringEnd = QDate(2015, 9, 30);
    const ActivityRows rows =
        activityRowsOf({row("2021-05-03", "22:00:00", {"Pip", "Nyc"}), row("2021-05-04", "23:00:00", {"", "Pip"}),
                        row("2021-05-04", "12:00:00", {"Pip"}), // outside the period
                        row("2021-03-04", "23:00:00", {"Pip"}), // before the monitoring
                        row("2021-07-04", "01:00:00", {"Pip", "Pip"})});
    const BinnedActivity months =
        monthsActivity(form, RecorderClock(form.zone, true, RecorderClock::OnTransitions, 2021), rows, 2021);
    QCOMPARE(rows.classList, (QStringList{"Pip", "Nyc", QString()}));
    QCOMPARE(months.hours, (QVector<float>{0, 0, 0, 240, 248, 240, 248, 248, 240, 0, 0, 0}));
    const int pip = 0, nyc = 1, unassigned = 2, all = 3;
    QCOMPARE(months.activity[pip][4], 1.0f / 248);
    QCOMPARE(months.activity[nyc][4], 1.0f / 248);
    QCOMPARE(months.activity[unassigned][4], 1.0f / 248); // "Pip" in Class 2 of an unassigned row counts nowhere else
    QCOMPARE(months.activity[all][4], 2.0f / 248);
    QCOMPARE(months.activity[pip][6], 2.0f / 248); // listed twice, counted twice
    QCOMPARE(months.activity[all][6], 1.0f / 248);
    QCOMPARE(months.activity[pip][2], 0.0f);
}

void TestActivitySeries::monthWithoutHoursHasNoActivity()
{
    // Five minutes on one day: under 0.1 hours, yet a recording lies in them.
    ActivityForm form = berlinForm();
    form.absolutePeriod = true;
    form.startTime = QTime(0, 0);
    form.stopTime = QTime(0, 5);
    form.monitoringBegin = form.monitoringEnd = QDate(2015, 3, 1);
    const ActivityRows rows = activityRowsOf({row("2021-03-01", "00:02:00", {"Pip"})});
    const BinnedActivity months =
        monthsActivity(form, RecorderClock(form.zone, true, RecorderClock::OnTransitions, 2021), rows, 2021);
    QCOMPARE(months.hours[2], 0.0f);
    for (const QVector<float> &r : months.activity)
        QCOMPARE(r[2], 0.0f); // not 1 / 1.1754944e-38
}

void TestActivitySeries::nightBinsOfMidsummer()
{
    // At 51 N 9 E the sun sets at 21:42 and rises at 05:09: midnight lies at
    // 0.31 of the night, so "0.3 to 0.4" is the bin it falls in.
    const ActivityForm form = berlinForm();
    const RecorderClock clock(form.zone, true, RecorderClock::OnTransitions, 2021);
    const QDate day(2021, 6, 22);
    const NightBinParts parts = nightBinParts(clock, day, daySunTimes(form, clock, day.addDays(-1)),
                                              daySunTimes(form, clock, day), daySunTimes(form, clock, day.addDays(1)));
    for (int k = 1; k < 4; ++k)
        QCOMPARE(parts[k].size(), 1);
    QCOMPARE(parts[4].size(), 2);
    QCOMPARE(onClock(parts[4][0].end), QDateTime(day.addDays(1), QTime(0, 0), form.zone));
    QCOMPARE(onClock(parts[4][1].begin), QDateTime(day, QTime(0, 0), form.zone));
    // Last night's sixth tenth holds 02:00 of this day: 4 h 18 min after 21:42 of a 7 h 27 min night.
    QVERIFY(parts[6][0].contains(QDateTime(day, QTime(2, 0), form.zone).toMSecsSinceEpoch()));

    // 02:00 of 22 June counts from the evening before: bin "0.5 to 0.6"; half an hour after sunset, bin "0 to 0.1".
    const QDateTime sunset = onClock(parts[1][0].begin);
    QCOMPARE(sunset.time().hour(), 21);
    const ActivityRows rows = activityRowsOf({row("2021-06-22", "02:00:00", {"Pip"})});
    const ActivityRows evening = activityRowsOf({row(sunset.addSecs(1800), {"Pip"})});
    QCOMPARE(binsWithRecordings(nightActivity(form, clock, rows, 2021)), QList<int>{6});
    const BinnedActivity afterSunset = nightActivity(form, clock, evening, 2021);
    QCOMPARE(binsWithRecordings(afterSunset), QList<int>{1});
    // Recording starts at sunset: the evening bin has no valid time. A recording
    // right at sunset lies on its last instant and counts there, in the lower
    // bin, but without hours that bin shows no activity (not 1e38).
    QCOMPARE(afterSunset.hours[0], 0.0f);
    const ActivityRows atSunset = activityRowsOf({row(sunset, {"Pip"})});
    QCOMPARE(binsWithRecordings(nightActivity(form, clock, atSunset, 2021)), QList<int>{});
    QVERIFY(afterSunset.hours[1] > 250 && afterSunset.hours[10] > 250);
}

void TestActivitySeries::boundaryInstantCountsInTheLowerBin()
{
    ActivityForm form = berlinForm();
    form.absolutePeriod = true; // all day: every bin has valid time
    const RecorderClock clock(form.zone, true, RecorderClock::OnTransitions, 2021);
    const QDate day(2021, 8, 10);
    const NightBinParts parts = nightBinParts(clock, day, daySunTimes(form, clock, day.addDays(-1)),
                                              daySunTimes(form, clock, day), daySunTimes(form, clock, day.addDays(1)));
    QCOMPARE(parts[1][0].end, parts[2][0].begin);
    const ActivityRows rows = activityRowsOf({row(onClock(parts[2][0].begin), {"Pip"})});
    QCOMPARE(binsWithRecordings(nightActivity(form, clock, rows, 2021)), QList<int>{1});
}

void TestActivitySeries::eveningBinBeforeSunset()
{
    ActivityForm form = berlinForm();
    form.startMin = -60;
    const RecorderClock clock(form.zone, true, RecorderClock::OnTransitions, 2021);
    const QDate day(2021, 7, 1);
    const DaySun sun = daySunTimes(form, clock, day);
    const QDateTime sunset(day, QTime(0, 0).addSecs(int(sunHoursOfDay(sun.sunset) * 3600.0f)), form.zone);
    const ActivityRows rows = activityRowsOf({row(sunset.addSecs(-20 * 60), {"Nyc"})});
    const BinnedActivity night = nightActivity(form, clock, rows, 2021);
    QCOMPARE(binsWithRecordings(night), QList<int>{0});
    // 15 % of the shortest night, 7.4 hours, is 67 minutes: the recorder heard the last hour of it every day.
    QVERIFY(night.hours[0] > 364.5f && night.hours[0] < 365.5f);
}

void TestActivitySeries::sunsetAfterMidnight()
{
    // A clock far ahead of the sun: sunset at 00:30 and sunrise at 03:00 of the same date.
    const RecorderClock clock(QTimeZone(0), true, RecorderClock::OnTransitions, 2021);
    const QDate day(2021, 6, 10);
    const auto at = [&](const QDate &d, const QTime &t) { return QDateTime(d, t, Qt::UTC).toMSecsSinceEpoch(); };
    const DaySun late{3.0f, 0.5f};
    NightBinParts parts = nightBinParts(clock, day, late, late, late);
    // 15 % of 2.5 hours before 00:30; bins of 15 minutes up to sunrise.
    QCOMPARE(parts[0], (QVector<Period>{{at(day, QTime(0, 7, 30)), at(day, QTime(0, 30))}}));
    QCOMPARE(parts[1], (QVector<Period>{{at(day, QTime(0, 30)), at(day, QTime(0, 45))}}));
    QCOMPARE(parts[10], (QVector<Period>{{at(day, QTime(2, 45)), at(day, QTime(3, 0))}}));
    // Sunset at 00:12: its evening reaches back before midnight, into the next night's evening too.
    const DaySun early{3.0f, 0.2f};
    parts = nightBinParts(clock, day, early, early, early);
    QCOMPARE(parts[0], (QVector<Period>{{at(day, QTime(0, 0)), at(day, QTime(0, 12))},
                                        {at(day, QTime(23, 46, 48)), at(day.addDays(1), QTime(0, 0))}}));
}

void TestActivitySeries::dayNextToPolarDayIsSkipped()
{
    ActivityForm form = berlinForm();
    form.latitude = 70;
    form.longitude = 20;
    form.absolutePeriod = true;
    const RecorderClock clock(form.zone, true, RecorderClock::OnTransitions, 2021);
    QDate firstPolar(2021, 5, 1);
    while (!daySunTimes(form, clock, firstPolar).none())
        firstPolar = firstPolar.addDays(1);
    const QDate before = firstPolar.addDays(-1);
    QVERIFY(!daySunTimes(form, clock, before).none());
    // Monitored on the last day with a sunset only: its morrow has none, so the day adds nothing.
    form.monitoringBegin = form.monitoringEnd = before;
    const ActivityRows rows = activityRowsOf({row(QDateTime(before, QTime(23, 0)), {"Pip"})});
    const BinnedActivity night = nightActivity(form, clock, rows, 2021);
    QCOMPARE(night.hours, QVector<float>(nightBinCount, 0.0f));
    QCOMPARE(binsWithRecordings(night), QList<int>{});
    // A day earlier both neighbours have their sun: it counts.
    form.monitoringBegin = form.monitoringEnd = before.addDays(-1);
    QVERIFY(nightActivity(form, clock, rows, 2021).hours[0] > 0);
}

QUILLON_TEST(TestActivitySeries)
#include "tst_activityseries.moc"
