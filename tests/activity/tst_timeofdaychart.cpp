#include "testregistry.h"

#include "activity/charts/activityrows.h"
#include "activity/charts/timeofdaymarks.h"
#include "activity/charts/timeofdayseries.h"
#include "activitydialogtest.h"
#include "scripteddialogs.h"

#include <QtTest>
#include <qwt_legend.h>
#include <qwt_legend_label.h>
#include <qwt_plot.h>
#include <qwt_scale_div.h>

namespace {

// Independent of the code under test: the machine's local midnight and the reference day.
double localX(const QDate &d)
{
    return double(QDateTime(d, QTime(0, 0)).toMSecsSinceEpoch());
}

double hoursOf(double y)
{
    return (y - localX(QDate(2015, 1, 1))) / 3.6e6;
}

// Samples as "x:from-to", x in hours from base's 00:00, from and to in hours above the reference day's 00:00.
QString samplesText(const QVector<QwtIntervalSample> &samples, const QDate &base)
{
    QStringList t;
    for (const QwtIntervalSample &s : samples) {
        t << QStringLiteral("%1:%2-%3")
                 .arg((s.value - localX(base)) / 3.6e6)
                 .arg(hoursOf(s.interval.minValue()))
                 .arg(hoursOf(s.interval.maxValue()));
    }
    return t.join(QLatin1Char(' '));
}

ActivityForm place(double latitude, double longitude, const char *zone, bool daylightSaving = true)
{
    ActivityForm f;
    f.latitude = latitude;
    f.longitude = longitude;
    f.zone = QTimeZone(zone);
    f.daylightSaving = daylightSaving;
    f.startTime = f.stopTime = QTime(0, 0);
    f.monitoringBegin = QDate(2015, 1, 1);
    f.monitoringEnd = QDate(2015, 12, 31);
    return f;
}

// The y of the day's real point on a sun line: its point at x(date) that is not a break.
double sunAt(const QVector<QPointF> &points, const QDate &date)
{
    for (const QPointF &p : points) {
        if (p.x() == localX(date) && p.y() != -1.0)
            return p.y();
    }
    return -1.0;
}

} // namespace

// The time-of-day chart: its series from the form (pure), its bands and dots, and its drawing.
class TestTimeOfDayChart : public ActivityDialogTest
{
    Q_OBJECT
private slots:
    void sunLines();
    void twilightBands();
    void relativeRecordingParts();
    void absolutePeriodsAndMonitoring();
    void invalidBands();
    void recordingSlots();
    void drawingsReplaceTheirItems();
    void yearButtonsDateFieldsAndNoExport();
    void renderShowsDotAndBand();
};

void TestTimeOfDayChart::sunLines()
{
    const QDate june21(2021, 6, 21), march27(2021, 3, 27);
    const TimeOfDaySeries plain = plainTimeOfDaySeries(place(51, 9, "Europe/Berlin"), 2021);
    // The first day starts with a break (the previous sunrise counts as 0:00); no other break all year:
    // the step at the change to summer time is under 1.2 hours, drawn.
    QCOMPARE(plain.sunrise.first(), QPointF(localX(QDate(2021, 1, 1)) - 31200000, -1.0));
    QVERIFY(plain.sunrise.size() == 366 && plain.sunset.size() == 366);
    QVERIFY(plain.sunrise2.isEmpty() && plain.sunset2.isEmpty());
    // 21 June at 51 N 9 E in summer time: 05:09 and 21:42.
    QVERIFY(qAbs(hoursOf(sunAt(plain.sunrise, june21)) - 5.15) < 0.02);
    QVERIFY(qAbs(hoursOf(sunAt(plain.sunset, june21)) - 21.70) < 0.02);
    const double step = hoursOf(sunAt(plain.sunrise, march27.addDays(1))) - hoursOf(sunAt(plain.sunrise, march27));
    QVERIFY2(step > 0.93 && step < 0.99, qPrintable(QString::number(step)));

    // Standard time all year: the summer an hour earlier, the winter unchanged.
    const TimeOfDaySeries standard = plainTimeOfDaySeries(place(51, 9, "Europe/Berlin", false), 2021);
    QVERIFY(qAbs(sunAt(standard.sunset, june21) - (sunAt(plain.sunset, june21) - 3.6e6)) < 10);
    QCOMPARE(standard.sunrise.at(20), plain.sunrise.at(20));

    // Centred: the sunrise on the morning side of the day before, the sunset on the evening side of its day.
    const TimeOfDaySeries centred = centredTimeOfDaySeries(place(51, 9, "Europe/Berlin"), 2021);
    QCOMPARE(centred.sunrise.size(), 365); // no day changes side: no break
    QCOMPARE(sunAt(centred.sunrise, june21.addDays(-1)), sunAt(plain.sunrise, june21) + 86400000);
    QCOMPARE(sunAt(centred.sunrise2, june21.addDays(-1)), -1.0);
    QCOMPARE(sunAt(centred.sunset2, june21), sunAt(plain.sunset, june21));
    QCOMPARE(sunAt(centred.sunset, june21), -1.0);

    // Nuuk put its clocks forward at 22:00 on 27 March 2021: the sunset points take the offset at 23:00, so that
    // day's sunset already stands on the summer clock, an hour after the day before's.
    for (auto layout : {plainTimeOfDaySeries, centredTimeOfDaySeries}) {
        const TimeOfDaySeries nuuk = layout(place(64.2, -51.7, "America/Nuuk"), 2021);
        const QVector<QPointF> &sunsets = nuuk.sunset2.isEmpty() ? nuuk.sunset : nuuk.sunset2;
        const auto sunsetStep = [&sunsets](const QDate &d) {
            return hoursOf(sunAt(sunsets, d)) - hoursOf(sunAt(sunsets, d.addDays(-1)));
        };
        const double stepOn27 = sunsetStep(march27), stepOn28 = sunsetStep(march27.addDays(1));
        QVERIFY2(stepOn27 > 1.0 && stepOn27 < 1.1, qPrintable(QString::number(stepOn27)));
        QVERIFY2(stepOn28 > 0.0 && stepOn28 < 0.1, qPrintable(QString::number(stepOn28)));
    }

    // 70 N: no sunrise at midsummer nor at midwinter; both lines break there.
    const TimeOfDaySeries north = plainTimeOfDaySeries(place(70, 20, "Europe/Oslo"), 2021);
    const TimeOfDaySeries northCentred = centredTimeOfDaySeries(place(70, 20, "Europe/Oslo"), 2021);
    for (const QDate &d : {june21, QDate(2021, 12, 21)}) {
        QVERIFY(north.sunrise.contains(QPointF(localX(d), -1.0)) && north.sunset.contains(QPointF(localX(d), -1.0)));
        QVERIFY(northCentred.sunrise.contains(QPointF(localX(d), -1.0)));
        QVERIFY(northCentred.sunrise2.contains(QPointF(localX(d), -1.0)));
    }

    // Without summer time both modes are one.
    for (auto layout : {plainTimeOfDaySeries, centredTimeOfDaySeries}) {
        const TimeOfDaySeries a = layout(place(35.7, 139.7, "Asia/Tokyo"), 2021);
        const TimeOfDaySeries b = layout(place(35.7, 139.7, "Asia/Tokyo", false), 2021);
        QVERIFY(a.sunrise == b.sunrise && a.sunset2 == b.sunset2 && a.twilightSet == b.twilightSet);
        QVERIFY(a.twilight2 == b.twilight2 && a.recording == b.recording && a.recording4 == b.recording4);
    }
}

void TestTimeOfDayChart::twilightBands()
{
    const TimeOfDaySeries s = plainTimeOfDaySeries(place(51, 9, "Europe/Berlin"), 2021);
    // No sunrise near midnight: no copy of the dawn band. Summer sunsets after 20:00: the dusk band is
    // drawn shifted and put back, its copy a day lower.
    QVERIFY(s.twilight2.isEmpty());
    QVERIFY(s.twilight.size() == 365 && s.twilightSet.size() == 365 && s.twilightSet2.size() == 365);
    for (int i = 0; i < 365; ++i) {
        const QwtInterval dawn = s.twilight.at(i).interval, dusk = s.twilightSet.at(i).interval;
        QVERIFY(qAbs(dawn.minValue() - s.sunrise.at(i + 1).y()) < 1
                && qAbs(dusk.minValue() - s.sunset.at(i + 1).y()) < 100);
        QVERIFY(dawn.minValue() - dawn.maxValue() > 0.5e6 && dawn.minValue() - dawn.maxValue() < 3.6e6);
        QVERIFY(dusk.maxValue() - dusk.minValue() > 0.5e6 && dusk.maxValue() - dusk.minValue() < 3.6e6);
        QVERIFY(qAbs(s.twilightSet2.at(i).interval.maxValue() - (dusk.maxValue() - 86400000)) < 100);
    }

    // 15 %: sunset 20:00 and sunrise 06:00, a night of 10 hours: dusk 18:30; dawn has no width.
    QCOMPARE(fifteenPercentDusk(6, 20), 18.5f);
    QCOMPARE(fifteenPercentDusk(-1, -1), -1.0f);
    ActivityForm tavron = place(51, 9, "Europe/Berlin");
    tavron.twilightChoice = 3;
    const TimeOfDaySeries t = plainTimeOfDaySeries(tavron, 2021);
    for (const QwtIntervalSample &dawn : t.twilight)
        QCOMPARE(dawn.interval.minValue(), dawn.interval.maxValue());

    // 55 N at midsummer: no astronomical night; dawn and dusk meet at solar midnight, in the night's column.
    ActivityForm astronomical = place(55, 9, "Europe/Berlin");
    astronomical.twilightChoice = 2;
    const TimeOfDaySeries c = centredTimeOfDaySeries(astronomical, 2021);
    const double column = localX(QDate(2021, 6, 20));
    const auto in = [column](const QVector<QwtIntervalSample> &band) {
        return std::find_if(band.begin(), band.end(),
                            [column](const QwtIntervalSample &s) { return s.value == column; })
            ->interval;
    };
    const double meet = hoursOf(in(c.twilight).maxValue());
    QVERIFY(qAbs(in(c.twilightSet).minValue() - in(c.twilight).maxValue()) < 10);
    QVERIFY2(meet > 24.9 && meet < 25.6, qPrintable(QString::number(meet))); // about 01:25 summer time
    QCOMPARE(hoursOf(in(c.twilightSet).maxValue()), 24.0); // the dusk band runs on to the midnight level
}

void TestTimeOfDayChart::relativeRecordingParts()
{
    // Sunrise and sunset as hours of the day (-1: none), the delays, latitude and month; then "from to" of
    // the four parts in hours above the reference day's 00:00 (24: the plain top, the centred midnight).
    const struct {
        const char *name;
        bool centred;
        float rise, set;
        int startMin, stopMin;
        double latitude;
        int month;
        const char *parts;
    } days[] = {
        {"plain over midnight", false, 4.5f, 21.5f, 0, 0, 51, 6, "0 4.5 24 24 21.5 24 24 24"},
        {"plain after midnight", false, 4.5f, 21.5f, 180, 0, 51, 6, "0.5 4.5 24 24 24 24 24 24"},
        {"plain negative length", false, 4.5f, 21.5f, 300, -300, 51, 6, "24 24 24 24 24 24 24 24"},
        {"plain over a day", false, 8, 16, -360, 360, 51, 12, "0 24 24 24 24 24 24 24"},
        {"plain 70 N December", false, -1, -1, 0, 0, 70, 12, "0 24 24 24 24 24 24 24"},
        {"plain 70 N June", false, -1, -1, 0, 0, 70, 6, "24 24 24 24 24 24 24 24"},
        {"plain 70 S June", false, -1, -1, 0, 0, -70, 6, "0 24 24 24 24 24 24 24"},
        {"plain 70 S April", false, -1, -1, 0, 0, -70, 4, "24 24 24 24 24 24 24 24"},
        {"plain 70 N October", false, -1, -1, 0, 0, 70, 10, "24 24 24 24 24 24 24 24"},
        {"centred 21:30 to 04:30", true, 4.5f, 21.5f, 0, 0, 51, 6, "28.5 24 24 21.5 24 24 24 24"},
        {"centred both before midnight", true, 4.5f, 21.5f, -120, -330, 51, 6, "24 24 23 19.5 24 24 24 24"},
        {"centred to the next afternoon", true, 4.5f, 21.5f, 0, 600, 51, 6, "36 24 24 21.5 24 24 14.5 12"},
        {"centred negative length", true, 4.5f, 21.5f, 300, -300, 51, 6, "24 24 24 24 24 24 24 24"},
        {"centred over a day", true, 8, 16, -360, 360, 51, 12, "36 24 24 12 24 24 24 24"},
        {"centred 70 N December", true, -1, -1, 0, 0, 70, 12, "36 24 24 12 24 24 24 24"},
        {"centred 70 N June", true, -1, -1, 0, 0, 70, 6, "24 24 24 24 24 24 24 24"},
        {"centred 70 S June", true, -1, -1, 0, 0, -70, 6, "36 24 24 12 24 24 24 24"},
        {"centred 70 S December", true, -1, -1, 0, 0, -70, 12, "24 24 24 24 24 24 24 24"},
        {"centred 70 N April", true, -1, -1, 0, 0, 70, 4, "24 24 24 24 24 24 24 24"},
    };
    for (const auto &day : days) {
        ActivityForm form;
        form.startMin = day.startMin;
        form.stopMin = day.stopMin;
        form.latitude = day.latitude;
        QStringList got{QString::fromLatin1(day.name)};
        for (const YRange &r :
             ::relativeRecordingParts(day.centred ? TimeOfDayLayout::CentredNight : TimeOfDayLayout::Plain, day.rise,
                                      day.set, form, day.month, TimeOfDayAxes(2021)))
            got << QString::number(hoursOf(r.from)) << QString::number(hoursOf(r.to));
        QCOMPARE(got.join(QLatin1Char(' ')), QString::fromLatin1(day.name) + ' ' + day.parts);
    }
}

void TestTimeOfDayChart::absolutePeriodsAndMonitoring()
{
    // Start and stop, the monitoring period, the day whose 00:00 the x offsets (hours) count from, and per
    // part its sample count and first sample "x:from-to".
    const QDate may5(2021, 5, 5), may1(2021, 5, 1), may31(2021, 5, 31), jan1(2020, 1, 1), feb29(2020, 2, 29);
    const struct {
        const char *name;
        bool centred;
        int start, stop; // hours
        QDate begin, end, base;
        const char *parts;
    } periods[] = {
        {"plain over midnight", false, 22, 6, may5, may5, may5, "2 -12:22-24; 2 -12:0-6; 0; 0"},
        {"plain whole day", false, 0, 0, may5, may5, may5, "2 -12:0-24; 2 -12:0-24; 0; 0"},
        {"plain in the day", false, 10, 14, may5, may5, may5, "2 -12:10-14; 2 -12:10-14; 0; 0"},
        {"plain May", false, 22, 6, may1, may31, may1, "62 -12:22-24; 62 -12:0-6; 0; 0"},
        {"plain to 29 Feb, no leap year", false, 22, 6, jan1, feb29, QDate(2021, 1, 1),
         "118 -12:22-24; 118 -12:0-6; 0; 0"},
        {"plain to 29 Feb, leap year", false, 22, 6, jan1, feb29, jan1, "120 -12:22-24; 120 -12:0-6; 0; 0"},
        {"plain from 29 Feb", false, 22, 6, feb29, QDate(2020, 12, 31), QDate(2021, 3, 1),
         "612 -12:22-24; 612 -12:0-6; 0; 0"},
        {"centred 20:00 to 06:00", true, 20, 6, may5, may5, may5, "2 -36:30-24; 2 -12:24-20; 0; 0"},
        {"centred May, one night more", true, 22, 6, may1, may31, may1, "32 -36:30-24; 32 -12:24-22; 0; 0"},
        {"centred afternoon", true, 14, 20, may5, may5, may5, "2 -12:14-20; 0; 0; 0"},
        {"centred morning", true, 6, 10, may5, may5, may5, "2 -36:30-34; 0; 0; 0"},
        {"centred across noon", true, 10, 14, may5, may5, may5, "2 -36:34-38; 2 -12:10-14; 0; 0"},
        {"centred to the next afternoon", true, 20, 14, may5, may5, may5, "2 -36:36-24; 2 -12:24-20; 2 -12:14-12; 0"},
        {"centred morning to morning", true, 10, 6, may5, may5, may5, "2 -36:36-34; 2 -36:30-24; 2 -12:24-12; 0"},
        {"centred whole day", true, 12, 12, may5, may5, may5, "2 -36:36-24; 2 -12:24-12; 0; 0"},
    };
    for (const auto &p : periods) {
        ActivityForm form = place(51, 9, "Europe/Berlin");
        form.startTime = QTime(p.start, 0);
        form.stopTime = QTime(p.stop, 0);
        form.monitoringBegin = p.begin;
        form.monitoringEnd = p.end;
        const TimeOfDaySeries s = (p.centred ? centredTimeOfDaySeries : plainTimeOfDaySeries)(form, p.base.year());
        QStringList t;
        for (const QVector<QwtIntervalSample> *part : {&s.recording, &s.recording2, &s.recording3, &s.recording4})
            t << (part->isEmpty() ? QStringLiteral("0")
                                  : QString::number(part->size()) + ' ' + samplesText({part->first()}, p.base));
        QCOMPARE(QString::fromLatin1(p.name) + ": " + t.join(QStringLiteral("; ")),
                 QString::fromLatin1(p.name) + ": " + p.parts);
    }
}

void TestTimeOfDayChart::invalidBands()
{
    // Unreadable halves are skipped; an end before its begin stays (an empty band); periods are cut to the year.
    const QVector<ClockPeriod> periods = clockInvalidPeriodsOfYear(
        "20.12.2021 22:00-10.01.2022 02:00;01.05.2021 12:00;05.05.2021 12:00-04.05.2021 12:00;"
        "xx.05.2021 10:00-05.05.2021 11:00;05.05.2021 10:00-05.05.2021 1:30;15.03.2020 00:00-01.01.2021 06:00",
        2021);
    QCOMPARE(periods.size(), 3);
    QCOMPARE(periods.at(0).end, (ClockTime{QDate(2021, 12, 31), (23 * 60 + 59) * 60000}));
    QCOMPARE(periods.at(1).begin, (ClockTime{QDate(2021, 5, 5), 12 * 3600000}));
    QCOMPARE(periods.at(2).begin, (ClockTime{QDate(2021, 1, 1), 0}));

    const TimeOfDayAxes axes(2021);
    const QDate may5(2021, 5, 5);
    const auto period = [](int beginDay, int beginMin, int endDay, int endMin) {
        return ClockPeriod{{QDate(2021, 5, beginDay), beginMin * 60000}, {QDate(2021, 5, endDay), endMin * 60000}};
    };
    const ClockPeriod acrossMidnight = period(5, 22 * 60, 6, 120), acrossNoon = period(5, 600, 5, 750),
                      afternoon = period(5, 14 * 60, 5, 18 * 60);
    QCOMPARE(samplesText(plainInvalidBand(acrossMidnight, axes), may5),
             QStringLiteral("-12:0-0 -12:22-24 12:22-24 12:0-2 36:0-2 36:0-0"));
    QCOMPARE(samplesText(plainInvalidBand(acrossNoon, axes), may5),
             QStringLiteral("-12:0-0 -12:10-12.5 12:10-12.5 12:0-0"));
    QCOMPARE(samplesText(plainInvalidBand(periods.at(1), axes), may5), QStringLiteral("-12:0-0 -12:0-0"));
    // Centred: one block across the midnight level in the column of 5 May.
    CentredInvalidBands b = centredInvalidBands(acrossMidnight, axes);
    QCOMPARE(samplesText(b.morning, may5), QStringLiteral("-12:24-24 -12:24-26 12:24-26 12:24-24"));
    QCOMPARE(samplesText(b.evening, may5), QStringLiteral("-12:24-24 -12:22-24 12:22-24 12:12-12 36:12-12 36:24-24"));
    // Across noon: the morning at the top of 4 May's column, the afternoon at the foot of 5 May's.
    b = centredInvalidBands(acrossNoon, axes);
    QCOMPARE(samplesText(b.morning, may5), QStringLiteral("-36:24-24 -36:34-36 -12:34-36 -12:24-24"));
    QCOMPARE(samplesText(b.evening, may5), QStringLiteral("-12:24-24 -12:12-12.5 12:12-12.5 12:24-24"));
    b = centredInvalidBands(afternoon, axes);
    QCOMPARE(samplesText(b.morning, may5), QStringLiteral("-12:24-24 -12:24-24"));
    QCOMPARE(samplesText(b.evening, may5), QStringLiteral("-12:24-24 -12:14-18 12:14-18 12:24-24"));
    // Into the next year: whole days up to the cut at 31 December 23:59.
    const QString year = samplesText(plainInvalidBand(periods.at(0), axes), QDate(2021, 12, 20));
    QVERIFY(year.startsWith(QStringLiteral("-12:0-0 -12:22-24 12:22-24 12:0-24 36:0-24 ")));
    QVERIFY(year.endsWith(QStringLiteral(" 228:0-24 252:0-24 252:0-23.9833 276:0-23.9833 276:0-0")));
    QCOMPARE(year.count(QLatin1Char(' ')), 25);
}

void TestTimeOfDayChart::recordingSlots()
{
    QVector<FileRowTexts> texts;
    const auto add = [&texts](const char *date, const QString &time, const QStringList &classes) {
        FileRowTexts t;
        t.setText(FileViewColumn::Date, QString::fromLatin1(date));
        t.setText(FileViewColumn::Time, time);
        for (int i = 0; i < classes.size(); ++i)
            t.setText(FileViewColumn::Class1 + i, classes.at(i));
        texts << t;
    };
    add("03/01/21", "23:55:00", {"Pip"});
    add("04/01/21", "10:05:00", {"Pip", "Nyc", "Pip"}); // two classes, one of them twice
    for (int i = 0; i < 9; ++i)
        add("05/01/21", QStringLiteral("22:0%1:00").arg(i), {"Nyc"});
    for (int i = 0; i < 10; ++i)
        add("06/01/21", QStringLiteral("22:0%1:00").arg(i), {"Nyc"});
    add("07/01/21", "01:00:00", {"", "Nyc"}); // unassigned, and Nyc
    add("31/10/21", "23:55:00", {"Pip"});     // the 25-hour day: still its own last slot
    add("28/03/21", "02:30:00", {"Pip"});     // an hour the clocks skip: placed by its clock
    add("01/01/22", "00:05:00", {"Pip"});
    add("N/A", "22:00:00", {"Pip"});
    for (const char *t : {"02:05:00", "21:15:00", "11:30:00"})
        add("10/06/21", t, {"Bat"});
    add("31/12/21", "23:55:00", {"Bat"});
    add("01/01/21", "05:00:00", {"Bat"});
    const ActivityRows rows = activityRowsOf(texts);
    QCOMPARE(rows.classList, (QStringList{"Pip", "Nyc", "Bat", ""}));
    const auto nonZero = [&rows](int k, TimeOfDayLayout layout) {
        QMap<int, int> m;
        const QVector<int> counts = recordingSlotCounts(rows, k, 2021, layout);
        for (int i = 0; i < counts.size(); ++i) {
            if (counts.at(i))
                m.insert(i, counts.at(i));
        }
        return m;
    };
    const auto plain = TimeOfDayLayout::Plain, centred = TimeOfDayLayout::CentredNight;
    QCOMPARE(nonZero(0, plain),
             (QMap<int, int>{{2 * 144 + 143, 1}, {3 * 144 + 60, 1}, {86 * 144 + 15, 1}, {303 * 144 + 143, 1}}));
    QCOMPARE(nonZero(1, plain),
             (QMap<int, int>{{3 * 144 + 60, 1}, {4 * 144 + 132, 9}, {5 * 144 + 132, 10}, {6 * 144 + 6, 1}}));
    QCOMPARE(nonZero(3, plain), (QMap<int, int>{{6 * 144 + 6, 1}}));
    // Centred: a night from noon to noon, column 0 the night that began on 31 December before.
    QCOMPARE(nonZero(2, centred),
             (QMap<int, int>{
                 {30, 1}, {160 * 144 + 12, 1}, {160 * 144 + 69, 1}, {161 * 144 + 127, 1}, {365 * 144 + 143, 1}}));
    QCOMPARE(recordingSlotCounts(rows, 2, 2021, centred).size(), 366 * 144);

    for (auto [count, alpha] :
         std::initializer_list<std::pair<int, int>>{{1, 25}, {2, 51}, {5, 127}, {9, 229}, {10, 255}, {40, 255}})
        QCOMPARE(recordingMarkerAlpha(count), alpha);
    const TimeOfDayAxes axes(2021);
    const auto at = [](const QDate &d, double hours) {
        return QPointF(localX(d), localX(QDate(2015, 1, 1)) + hours * 3.6e6);
    };
    QCOMPARE(recordingMarkerPosition(2 * 144 + 143, 2021, axes, plain), at(QDate(2021, 1, 3), 23 + 50 / 60.0));
    QCOMPARE(recordingMarkerPosition(160 * 144 + 12, 2021, axes, centred), at(QDate(2021, 6, 9), 24 + 2));
    QCOMPARE(recordingMarkerPosition(160 * 144 + 69, 2021, axes, centred), at(QDate(2021, 6, 9), 24 + 11.5));
    QCOMPARE(recordingMarkerPosition(161 * 144 + 127, 2021, axes, centred), at(QDate(2021, 6, 10), 21 + 10 / 60.0));
    QCOMPARE(recordingMarkerPosition(365 * 144 + 143, 2021, axes, centred), at(QDate(2021, 12, 31), 23 + 50 / 60.0));
    QCOMPARE(recordingMarkerPosition(30, 2021, axes, centred), at(QDate(2020, 12, 31), 24 + 5));
}

void TestTimeOfDayChart::drawingsReplaceTheirItems()
{
    writeFolderSetting(path(), FolderSettings::invalidTimes,
                       QStringLiteral("01.06.2021 10:00-01.06.2021 12:30;bad;20.12.2021 22:00-10.01.2022 02:00"));
    addRow("01/06/21", {"Pip"});
    addRow("02/06/21", {"Nyc"});
    addRow("02/06/21", {});
    auto d = open(); // centred: the setting's default
    const QwtPlot *plot = d->plotVsTime;
    const auto count = [plot](const char *title) { return titled(plot, QLatin1String(title)).size(); };
    const auto dots = [&] { return count("Pip_marker") + count("Nyc_marker") + count("Unassigned_marker"); };
    for (int drawing = 0; drawing < 3; ++drawing) {
        QCOMPARE(count("Invalid"), 4); // a morning and an evening band per period
        QCOMPARE(count("centerNight"), 1);
        QCOMPARE(dots(), 3);
        QCOMPARE(count("Pip") + count("Nyc") + count("Unassigned"), 3); // the legend's entries, made once
        d->plotFunctionVsTime(false, false);
    }
    d->ui->checkBox_2->click(); // plain
    QCOMPARE(count("Invalid"), 2);
    QCOMPARE(count("centerNight"), 0);
    QCOMPARE(dots(), 3);
    d->ui->checkBox_2->setChecked(true);
    for (int drawing = 0; drawing < 3; ++drawing)
        d->plotFunctionVsTime(false, false);
    QCOMPARE(count("centerNight"), 1);
    d->ui->checkBox_2->setChecked(false);
    d->plotFunctionVsTime(false, false);
    QCOMPARE(count("centerNight"), 0);

    // A class hidden through its legend entry stays hidden, and its entry unchecked, over a redraw.
    auto *legend = static_cast<const QwtLegend *>(plot->legend());
    auto *pip = qobject_cast<QwtLegendLabel *>(legend->legendWidget(plot->itemToInfo(titled(plot, "Pip").first())));
    QVERIFY(pip && pip->isChecked());
    QTest::mouseClick(pip, Qt::LeftButton);
    QVERIFY(!titled(plot, "Pip_marker").first()->isVisible());
    d->plotFunctionVsTime(false, false);
    QVERIFY(!pip->isChecked());
    QVERIFY(!titled(plot, "Pip_marker").first()->isVisible());
    QVERIFY(titled(plot, "Nyc_marker").first()->isVisible());
}

void TestTimeOfDayChart::yearButtonsDateFieldsAndNoExport()
{
    ScriptedDialogs dialogs;
    for (const char *date : {"01/06/22", "01/06/20", "03/03/21"})
        addRow(date, {"Pip"});
    auto d = open();
    Ui_plotFolderDialog *ui = d->ui;
    const auto state = [ui] {
        QStringList t{QString::number(ui->pushButton_3->isEnabled()), QString::number(ui->pushButton_4->isEnabled())};
        for (const QDateEdit *e : {ui->dateEditStart, ui->dateEditStop})
            t << e->minimumDate().toString(Qt::ISODate) << e->maximumDate().toString(Qt::ISODate)
              << e->date().toString(Qt::ISODate);
        return t.join(' ');
    };
    QCOMPARE(state(), QStringLiteral("0 1 2020-01-01 2020-12-30 2020-01-01 2020-01-02 2020-12-31 2020-12-31"));
    ui->pushButton_4->click();
    ui->pushButton_4->click();
    QCOMPARE(state(), QStringLiteral("1 0 2022-01-01 2022-12-30 2022-01-01 2022-01-02 2022-12-31 2022-12-31"));
    QCOMPARE(d->plotVsTime->axisTitle(QwtPlot::xBottom).text(), QStringLiteral("2022"));
    QCOMPARE(d->plotVsTime->axisScaleDiv(QwtPlot::xBottom).upperBound(), localX(QDate(2022, 12, 31)));

    // This chart has no plot data: exportData asks for no file and leaves "Export Plot Data" off.
    ui->pushButton_19->setEnabled(true);
    d->plotFunctionVsTime(false, true);
    QVERIFY(dialogs.fileQuestions.isEmpty());
    QVERIFY(!ui->pushButton_19->isEnabled() && ui->pushButton_2->isEnabled());
}

void TestTimeOfDayChart::renderShowsDotAndBand()
{
    writeFolderSetting(path(), FolderSettings::invalidTimes, QStringLiteral("10.03.2021 13:00-20.03.2021 15:00"));
    for (int i = 0; i < 10; ++i) // ten in one slot: an opaque dot
        list.addTopLevelItem(
            new QTreeWidgetItem({"rec.wav", "01/07/21", QStringLiteral("14:0%1:00").arg(i), "3", "", "", "Pip"}));
    for (bool centred : {false, true}) {
        writeFolderSetting(path(), FolderSettings::centerNight, centred);
        auto d = open();
        QVERIFY(d->ui->pushButton_3->isHidden() && d->ui->pushButton_4->isHidden()); // one year
        d->resize(1400, 900);
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d.get()));
        QwtPlot *plot = d->plotVsTime;
        const QImage canvas = plot->canvas()->grab().toImage();
        const double afternoon = localX(QDate(2015, 1, 1)) + 14 * 3.6e6; // 14:00 on either axis
        const auto pixel = [&](const QDate &day) {
            return canvas.pixelColor(qRound(plot->transform(QwtPlot::xBottom, localX(day))),
                                     qRound(plot->transform(QwtPlot::yLeft, afternoon)));
        };
        const QColor dot = pixel(QDate(2021, 7, 1)), band = pixel(QDate(2021, 3, 15)),
                     outside = pixel(QDate(2021, 3, 5));
        QVERIFY2(dot.green() - dot.red() > 25 && dot.green() - dot.blue() > 60,
                 qPrintable(dot.name())); // (122, 184, 0)
        QVERIFY2(band.red() - band.green() > 10 && band.red() - band.blue() > 10, qPrintable(band.name()));
        QVERIFY2(qAbs(outside.red() - outside.green()) < 5, qPrintable(outside.name()));
    }
}

QUILLON_TEST(TestTimeOfDayChart)
#include "tst_timeofdaychart.moc"
