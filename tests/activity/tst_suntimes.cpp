#include "testregistry.h"

#include "activity/charts/suntimes.h"
#include "activity/charts/validperiods.h"

#include <QDate>
#include <QtTest>
#include <cmath>

namespace {

// An almanac of our own, from the formulas of NOAA's solar calculator (Meeus,
// "Astronomical Algorithms": the sun's apparent longitude, the obliquity with
// nutation, the equation of time) for the 90.833 degree zenith, evaluated at
// the event's own instant: the UTC minute of sunrise or sunset, or NaN when the
// sun does not reach the horizon. It is good to a fraction of a minute, well
// inside what the charts' almanac is expected to keep to.
double noaaEventMinutes(const QDate &date, double latitude, double longitude, bool rise)
{
    const double rad = 3.14159265358979323846 / 180.0;
    double minutes = 720.0;
    for (int pass = 0; pass < 5; ++pass) {
        const double julianDay = double(date.toJulianDay()) - 0.5 + minutes / 1440.0;
        const double t = (julianDay - 2451545.0) / 36525.0;
        const double meanLongitude = std::fmod(280.46646 + t * (36000.76983 + 0.0003032 * t), 360.0);
        const double meanAnomaly = 357.52911 + t * (35999.05029 - 0.0001537 * t);
        const double eccentricity = 0.016708634 - t * (0.000042037 + 0.0000001267 * t);
        const double centre = std::sin(meanAnomaly * rad) * (1.914602 - t * (0.004817 + 0.000014 * t))
                              + std::sin(2 * meanAnomaly * rad) * (0.019993 - 0.000101 * t)
                              + std::sin(3 * meanAnomaly * rad) * 0.000289;
        const double omega = 125.04 - 1934.136 * t;
        const double apparentLongitude = meanLongitude + centre - 0.00569 - 0.00478 * std::sin(omega * rad);
        const double meanObliquity =
            23.0 + (26.0 + (21.448 - t * (46.815 + t * (0.00059 - t * 0.001813))) / 60.0) / 60.0;
        const double obliquity = meanObliquity + 0.00256 * std::cos(omega * rad);
        const double declination = std::asin(std::sin(obliquity * rad) * std::sin(apparentLongitude * rad));
        const double y = std::pow(std::tan(obliquity * rad / 2.0), 2);
        const double l0 = meanLongitude * rad, m = meanAnomaly * rad;
        const double equationOfTime =
            4.0 / rad
            * (y * std::sin(2 * l0) - 2 * eccentricity * std::sin(m)
               + 4 * eccentricity * y * std::sin(m) * std::cos(2 * l0) - 0.5 * y * y * std::sin(4 * l0)
               - 1.25 * eccentricity * eccentricity * std::sin(2 * m));
        const double cosHa = (std::cos(90.833 * rad) - std::sin(latitude * rad) * std::sin(declination))
                             / (std::cos(latitude * rad) * std::cos(declination));
        if (cosHa < -1.0 || cosHa > 1.0)
            return std::nan("");
        const double ha = std::acos(cosHa) / rad;
        minutes = 720.0 - 4.0 * (longitude + (rise ? ha : -ha)) - equationOfTime;
    }
    return minutes;
}

// Minutes between two times of day, across midnight.
double clockDistance(double minutesA, double minutesB)
{
    const double d = std::fmod(std::fabs(minutesA - minutesB), 1440.0);
    return std::min(d, 1440.0 - d);
}

float sunrise(const QDate &d, float lat, float lon, float zone, Twilight t = Twilight::None)
{
    return sunEventHours(SunEvent::Rise, d.year(), d.month(), d.day(), lat, lon, zone, 0, t);
}

float sunset(const QDate &d, float lat, float lon, float zone, Twilight t = Twilight::None)
{
    return sunEventHours(SunEvent::Set, d.year(), d.month(), d.day(), lat, lon, zone, 0, t);
}

// The charts' sun times of a day at 51 N 9 E on the clock of Berlin, with its summer time.
DaySun chartSunTimes(const QDate &d, Twilight t = Twilight::None)
{
    ActivityForm form;
    form.latitude = 51;
    form.longitude = 9;
    form.zone = QTimeZone("Europe/Berlin");
    form.daylightSaving = true;
    const RecorderClock clock(form.zone, true, RecorderClock::OnTransitions, d.year());
    return daySunTimes(form, clock, d, SunOffsetHours{}, t);
}

} // namespace

class TestSunTimes : public QObject
{
    Q_OBJECT
private slots:
    void workedExamples();
    void polarDayAndNight_data();
    void polarDayAndNight();
    void twilightsInTheirOrder();
    void tavronTwilightIsSunriseProper();
    void withinThreeMinutesOfAnAlmanac_data();
    void withinThreeMinutesOfAnAlmanac();
};

void TestSunTimes::workedExamples()
{
    const QDate midsummer(2021, 6, 21);
    // 51 N 9 E in summer time: 05:09 and 21:42; the sunset comes back negative.
    const DaySun sun = chartSunTimes(midsummer);
    const float rise = sun.sunrise;
    const float set = sun.sunset;
    QCOMPARE(qRound(rise * 100), 515);
    QCOMPARE(qRound(set * 100), -230);
    QCOMPARE(qRound(sunHoursOfDay(set) * 100), 2170);
    QCOMPARE(int(sunHoursOfDay(set) * 60), 21 * 60 + 42);
    // The daylight-saving hours are simply added.
    QCOMPARE(sunEventHours(SunEvent::Rise, 2021, 6, 21, 51, 9, 1, 1, Twilight::None), rise);

    // Sydney in its winter: UT of sunrise about -3.0, so 07:00 at +10; sunset -7.1, 16:53.
    const float sydneyRise = sunrise(midsummer, -33.9f, 151.2f, 10);
    const float sydneySet = sunset(midsummer, -33.9f, 151.2f, 10);
    QCOMPARE(qRound(sydneyRise * 10), 70);
    QCOMPARE(qRound(sunrise(midsummer, -33.9f, 151.2f, 0) * 10), -30);
    QCOMPARE(qRound(sydneySet * 10), -71);
    QCOMPARE(int(sunHoursOfDay(sydneySet) * 60), 16 * 60 + 53);
}

void TestSunTimes::polarDayAndNight_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<float>("latitude");
    QTest::newRow("midnight sun at 70 N") << QDate(2021, 6, 21) << 70.0f;
    QTest::newRow("polar night at 70 N") << QDate(2021, 12, 21) << 70.0f;
    QTest::newRow("midnight sun at 70 S") << QDate(2021, 12, 21) << -70.0f;
}

void TestSunTimes::polarDayAndNight()
{
    QFETCH(QDate, date);
    QFETCH(float, latitude);
    QCOMPARE(sunrise(date, latitude, 20, 1), -1.0f);
    QCOMPARE(sunset(date, latitude, 20, 1), -1.0f);
    // A month away from the solstice the sun rises and sets again.
    QVERIFY(sunrise(date.addMonths(-3), latitude, 20, 1) != -1.0f);
}

void TestSunTimes::twilightsInTheirOrder()
{
    const QDate equinox(2021, 3, 21);
    const Twilight order[] = {Twilight::Astronomical, Twilight::Nautical, Twilight::Civil, Twilight::None};
    for (int i = 0; i + 1 < 4; ++i) {
        // Deeper twilights begin earlier in the morning and end later in the evening.
        QVERIFY(sunrise(equinox, 51, 9, 1, order[i]) < sunrise(equinox, 51, 9, 1, order[i + 1]));
        QVERIFY(sunHoursOfDay(sunset(equinox, 51, 9, 1, order[i]))
                > sunHoursOfDay(sunset(equinox, 51, 9, 1, order[i + 1])));
    }
    // The twilight box's items, in order.
    QCOMPARE(twilightOfChoice(0), Twilight::Civil);
    QCOMPARE(twilightOfChoice(1), Twilight::Nautical);
    QCOMPARE(twilightOfChoice(2), Twilight::Astronomical);
    QCOMPARE(twilightOfChoice(3), Twilight::None);
    // The sun stays above -18 degrees all night at 51 N in June.
    QCOMPARE(chartSunTimes(QDate(2021, 6, 21), Twilight::Astronomical).sunrise, -1.0f);
    QVERIFY(chartSunTimes(QDate(2021, 6, 21), Twilight::Nautical).sunrise != -1.0f);
}

void TestSunTimes::tavronTwilightIsSunriseProper()
{
    for (int choice : {3, 4, -1}) {
        const DaySun day = chartSunTimes(QDate(2021, 9, 1), twilightOfChoice(choice));
        QCOMPARE(day.sunrise, sunrise(QDate(2021, 9, 1), 51, 9, 2));
        QCOMPARE(day.sunset, sunset(QDate(2021, 9, 1), 51, 9, 2));
    }
}

void TestSunTimes::withinThreeMinutesOfAnAlmanac_data()
{
    QTest::addColumn<double>("longitude");
    QTest::addColumn<int>("year");
    QTest::newRow("Greenwich, 2021") << 0.0 << 2021;
    QTest::newRow("9 E, leap year 2024") << 9.0 << 2024;
    QTest::newRow("151.2 E, 2023") << 151.2 << 2023;
    QTest::newRow("-75 W, 2022") << -75.0 << 2022;
    QTest::newRow("-150 W, 2021") << -150.0 << 2021;
}

void TestSunTimes::withinThreeMinutesOfAnAlmanac()
{
    QFETCH(double, longitude);
    QFETCH(int, year);
    double worst = 0;
    QString where;
    for (int latitude = -55; latitude <= 55; latitude += 5) {
        for (QDate d(year, 1, 1); d.year() == year; d = d.addDays(1)) {
            for (bool rise : {true, false}) {
                const double reference = noaaEventMinutes(d, latitude, longitude, rise);
                QVERIFY(!std::isnan(reference));
                const float hours = rise ? sunrise(d, float(latitude), float(longitude), 0)
                                         : sunset(d, float(latitude), float(longitude), 0);
                QVERIFY(hours != -1.0f);
                const double distance = clockDistance(sunHoursOfDay(hours) * 60.0, reference);
                if (distance > worst) {
                    worst = distance;
                    where = QStringLiteral("%1 at %2 deg on %3")
                                .arg(rise ? "sunrise" : "sunset")
                                .arg(latitude)
                                .arg(d.toString(Qt::ISODate));
                }
            }
        }
    }
    QVERIFY2(worst <= 3.0, qPrintable(QStringLiteral("%1 min off for %2").arg(worst).arg(where)));
}

QUILLON_TEST(TestSunTimes)
#include "tst_suntimes.moc"
