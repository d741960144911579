#include "testregistry.h"

#include "activity/charts/activityplotitems.h"
#include "activity/charts/measuredchart.h"
#include "activity/charts/windseries.h"
#include "activity/qwtplotgappedcurve.h"
#include "activitydialogtest.h"
#include "scripteddialogs.h"

#include <QDateTime>
#include <QRadioButton>
#include <QtTest>
#include <cmath>
#include <limits>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_scale_div.h>

namespace {

const QTimeZone berlin("Europe/Berlin");

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Golden files are written here with "\n"; the charts end every line with CR LF.
QByteArray crlf(const char *text)
{
    return QByteArray(text).replace("\n", "\r\n");
}

QPair<double, double> axisRange(const QwtPlot *plot, int axis)
{
    const QwtScaleDiv &div = plot->axisScaleDiv(axis);
    return {div.lowerBound(), div.upperBound()};
}

// Each entry as "dd.MM hh:mm=value@day" on Berlin's clock ("-": in no day).
QStringList entriesOf(const MeasurementSeries &series)
{
    QVector<int> dayOf(series.instants.size(), -1);
    for (int d = 0; d + 1 < series.dayStarts.size(); ++d) {
        for (int k = series.dayStarts.at(d); k < series.dayStarts.at(d + 1); ++k)
            dayOf[series.byDay.at(k)] = d;
    }
    QStringList out;
    for (int i = 0; i < series.instants.size(); ++i) {
        const QDateTime t = QDateTime::fromMSecsSinceEpoch(series.instants.at(i), berlin);
        out << t.toString(QStringLiteral("dd.MM hh:mm=")) + QString::number(double(series.values.at(i))) + '@'
                   + (dayOf.at(i) < 0 ? QStringLiteral("-") : QString::number(dayOf.at(i)));
    }
    return out;
}

} // namespace

// The charts of activity over temperature, precipitation and wind speed, and
// the weather log and wind-speed file they read.
class TestMeasuredCharts : public ActivityDialogTest
{
    Q_OBJECT
private slots:
    void weatherLines();
    void weatherLogWithoutSummerTime_data();
    void weatherLogWithoutSummerTime();
    void windLineInEveryLayout();
    void windSeries();
    void bins();
    void pieces();
    void axisRanges();
    void weatherCharts();
    void oneReadOfTheLogForBothCharts();
    void exportFromALogThatIsGone();
    void windFileInUtcForAFolderInBerlin();
    void withoutData();

private:
    void addRecording(const QString &date, const QString &time, const QStringList &classes)
    {
        list.addTopLevelItem(new QTreeWidgetItem(
            QStringList{QStringLiteral("rec.wav"), date, time, QStringLiteral("3"), QString(), QString()} + classes));
    }
    QString writeData(const QString &name, const QStringList &lines)
    {
        QFile f(folder->filePath(name));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(f.fileName()));
        f.write(lines.join(QStringLiteral("\r\n")).toUtf8());
        return f.fileName();
    }
    // A weather log of 1 June 2021: 13 °C and no rain from 22:00, 11 °C and 0.5 mm/min from 22:10.
    QString writeWeather()
    {
        return writeData(QStringLiteral("weather.csv"),
                         {"Date,Temperature,Precipitation", "2021-06-01 22:00:00,13,0", "2021-06-01 22:10:00,11,0.5"});
    }
};

void TestMeasuredCharts::weatherLines()
{
    // A line of the log; the temperature and the precipitation it gives in 2021 on Berlin's clock
    // ("nan": an entry without a value, which ends the one before and counts in no bin).
    const QString at = QStringLiteral("01.06 22:10=%1@151");
    const QString none = at.arg(QStringLiteral("nan"));
    const QList<QStringList> cases{
        {"2021-06-01 22:10:00,14.5,0", at.arg(14.5), at.arg(0)},
        {"2021-06-01 22:10:00\t14.5\t0", at.arg(14.5), at.arg(0)},
        {"\"2021-06-01 22:10:00\",\"14.5\",\"0\"", at.arg(14.5), at.arg(0)},
        {"2021-06-01T22:10:00,14.5,0", at.arg(14.5), at.arg(0)},
        {"2021-06-01 22:10,14.5,0", "", ""}, // the time does not read: no entry, not midnight
        {"Date,Temperature,Precipitation", "", ""},
        {"2021-06-01 22:10:00,nan,0.25", none, at.arg(0.25)},
        {"2021-06-01 22:10:00,12.5,nan", at.arg(12.5), none},
        {"2021-06-01 22:10:00,NaN,-inf", none, none},
        {"2021-06-01 22:10:00,inf,1e40", none, none},
        {"2021-06-01 22:10:00,,n/a", none, none},
        {"2021-06-01 22:10:00\t12,5\t0", none, at.arg(0)},
        {"2021-06-01 22:10:00,12,5,0", "", ""}, // four fields
        {"2021-06-01 22:10:00,14.5,0,", "", ""},
        {"2020-06-01 22:10:00,14.5,0", "", ""},
        {"2021-03-28 02:30:00,14.5,0", "", ""}}; // the hour the clocks skip
    const RecorderClock clock(berlin, true, RecorderClock::OnTransitions, 2021);
    for (const QStringList &c : cases) {
        WeatherSeries series;
        QVERIFY(readWeatherLog(writeData("weather.csv", {c.at(0)}), clock, clock, 2021, series));
        for (WeatherValue which : {WeatherValue::Temperature, WeatherValue::Precipitation})
            QVERIFY2(entriesOf(series.of(which)).join(' ') == c.at(int(which)), qPrintable(c.at(0)));
    }
}

void TestMeasuredCharts::weatherLogWithoutSummerTime_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("stamp");
    QTest::addColumn<QString>("utc"); // the instant the stamp stands for, worked out by hand
    // The zone's standard offset all year, as it stands on 1 January: where January
    // is summer (Sydney, +11 on its clocks then) that is still the winter offset.
    QTest::newRow("Berlin in June: +1, not +2") << QByteArray("Europe/Berlin") << "2021-06-01 22:00:00"
                                                << "2021-06-01 21:00";
    QTest::newRow("New York in July: -5, not -4") << QByteArray("America/New_York") << "2021-07-01 22:00:00"
                                                  << "2021-07-02 03:00";
    QTest::newRow("Sydney in January: +10, not +11") << QByteArray("Australia/Sydney") << "2021-01-15 22:00:00"
                                                     << "2021-01-15 12:00";
    QTest::newRow("Sydney in July: +10") << QByteArray("Australia/Sydney") << "2021-07-15 22:00:00"
                                         << "2021-07-15 12:00";
}

void TestMeasuredCharts::weatherLogWithoutSummerTime()
{
    QFETCH(QByteArray, zone);
    QFETCH(QString, stamp);
    QFETCH(QString, utc);
    const QTimeZone z(zone);
    WeatherSeries series;
    QVERIFY(readWeatherLog(writeData("weather.csv", {stamp + ",14.5,0"}), weatherLogClock(z, false, 2021),
                           RecorderClock(z, false, RecorderClock::OnTransitions, 2021), 2021, series));
    QDateTime expected = QDateTime::fromString(utc, QStringLiteral("yyyy-MM-dd hh:mm"));
    expected.setTimeSpec(Qt::UTC);
    QCOMPARE(series.temperature.instants, QVector<qint64>{expected.toMSecsSinceEpoch()});
}

void TestMeasuredCharts::windLineInEveryLayout()
{
    // 2 June 2021 as each date format writes it: day and month apart.
    const QList<QPair<QString, QString>> dates{{"dd.mm.yyyy", "02.06.2021"}, {"dd/mm/yyyy", "02/06/2021"},
                                               {"mm/dd/yyyy", "06/02/2021"}, {"yyyy/mm/dd", "2021/06/02"},
                                               {"yyyy-mm-dd", "2021-06-02"}, {"dd-mm-yyyy", "02-06-2021"}};
    const QList<QPair<QString, QString>> separators{{"Space", " "}, {"Semicolon", ";"}, {"Tabulator", "\t"}};
    for (int i = 0; i < dates.size() * 3 * 3 * 2; ++i) {
        const auto &[dateFormat, date] = dates.at(i / 18);
        const auto &[name1, separator1] = separators.at(i / 6 % 3);
        const auto &[name2, separator2] = separators.at(i / 2 % 3);
        const QString decimal = i % 2 ? QStringLiteral(",") : QStringLiteral(".");
        const QString line = date + separator1 + "22:10:00" + separator2 + "3" + decimal + "4";
        const WindLine read = readWindLine(line, {dateFormat, "hh:mm:ss", decimal, name1, name2, "Beginning"});
        QVERIFY2(read.hasSpeed && read.speed == 3.4f && read.date == QDate(2021, 6, 2) && read.time == QTime(22, 10),
                 qPrintable(line));
    }
}

void TestMeasuredCharts::windSeries()
{
    struct Case {
        const char *name;
        QStringList lines;
        QString definition;
        QByteArray zone;
        bool daylightSaving;
        int year;
        QStringList entries; // on the folder's clock, Berlin with summer time
    };
    const QByteArray b("Europe/Berlin");
    const QList<Case> cases{
        {"beginning: off the mark dropped, of equal stamps the later",
         {"01.06.2021;22:15:00;1", "01.06.2021;22:10:30;2", "01.06.2021;22:10:00;3", "01.06.2021;22:10:00;4",
          "Date;Time;Speed"},
         "Beginning",
         b,
         true,
         2021,
         {"01.06 22:10=4@151"}},
        {"end: ten minutes earlier; 1 January 00:00 in no day",
         {"01.01.2022;00:00:00;5", "01.01.2022;00:20:00;6", "01.01.2022;00:25:00;7"},
         "End",
         b,
         true,
         2022,
         {"31.12 23:50=5@-", "01.01 00:10=6@0"}},
        {"end: a stamp of the next year is not this year's", {"01.01.2022;00:00:00;5"}, "End", b, true, 2021, {}},
        {"round: one mean per ten minutes",
         {"01.06.2021;22:11:00;1", "01.06.2021;22:14:30;2", "01.06.2021;22:19:59;6", "01.06.2021;22:20:00;5"},
         "Round",
         b,
         true,
         2021,
         {"01.06 22:10=3@151", "01.06 22:20=5@151"}},
        {"a file in UTC: on Berlin's day and year",
         {"01.06.2021;22:00:00;1", "31.12.2021;23:20:00;2"},
         "Beginning",
         "UTC",
         true,
         2021,
         {"02.06 00:00=1@152"}},
        {"Berlin without summer time: standard time all year",
         {"01.06.2021;22:00:00;1"},
         "Beginning",
         b,
         false,
         2021,
         {"01.06 23:00=1@151"}},
        {"Berlin with summer time: the skipped hour is no value",
         {"28.03.2021;02:10:00;1", "28.03.2021;03:10:00;2"},
         "Beginning",
         b,
         true,
         2021,
         {"28.03 03:10=2@86"}},
        {"a time that does not read is no entry, a missing speed an entry without a value",
         {"01.06.2021;22h10;1", "01.06.2021;22:20:00;n/a", "01.06.2021;22:30:00;NaN", "01.06.2021;22:40:00;inf"},
         "Beginning",
         b,
         true,
         2021,
         {"01.06 22:20=nan@151", "01.06 22:30=nan@151", "01.06 22:40=nan@151"}},
        {"round: the mean of the numbers only",
         {"01.06.2021;22:11:00;1", "01.06.2021;22:12:00;n/a", "01.06.2021;22:14:00;3", "01.06.2021;22:21:00;n/a"},
         "Round",
         b,
         true,
         2021,
         {"01.06 22:10=2@151", "01.06 22:20=nan@151"}}};
    for (const Case &c : cases) {
        const WindDataSettings s{
            {"dd.mm.yyyy", "hh:mm:ss", ",", "Semicolon", "Semicolon", c.definition}, c.daylightSaving, c.zone};
        MeasurementSeries series;
        QVERIFY(readWindSeries(writeData("data.txt", c.lines), s,
                               RecorderClock(berlin, true, RecorderClock::OnTransitions, c.year), c.year, series));
        QVERIFY2(entriesOf(series) == c.entries, c.name);
    }
}

void TestMeasuredCharts::bins()
{
    const float nan = std::nanf("");
    const float inf = std::numeric_limits<float>::infinity();
    const MeasuredChart charts[] = {temperatureChart(), precipitationChart(), windSpeedChart()};
    const QList<std::tuple<int, float, int>> cases{// chart, value, bin
                                                   {0, -25, 0},
                                                   {0, -18, 1},
                                                   {0, 0, 10},
                                                   {0, 1.99f, 10},
                                                   {0, 47.99f, 33},
                                                   {0, 48, 34},
                                                   {0, 60, 34},
                                                   {1, 0, 0},
                                                   {1, -0.0f, 0},
                                                   {1, 0.01f, 1},
                                                   {1, 0.99f, 1},
                                                   {1, 1, 2},
                                                   {1, 8.99f, 9},
                                                   {1, 9, 10},
                                                   {1, 12.5f, 10},
                                                   {1, -1, 1},
                                                   {2, 0.99f, 0},
                                                   {2, 1, 1},
                                                   {2, 9.99f, 9},
                                                   {2, 10, 10},
                                                   {2, 25, 10},
                                                   {2, -1, 0},
                                                   // A missing value lands in no bin: not the open one, not 0.
                                                   {0, nan, -1},
                                                   {1, nan, -1},
                                                   {2, nan, -1},
                                                   {0, inf, -1},
                                                   {1, -inf, -1},
                                                   {2, inf, -1}};
    for (const auto &[chart, value, bin] : cases)
        QVERIFY2(charts[chart].bins.binOf(value) == bin, qPrintable(QStringLiteral("%1: %2").arg(chart).arg(value)));
}

void TestMeasuredCharts::pieces()
{
    struct Case {
        const char *name;
        QString period; // the daily recording period on 1 June 2021, Berlin
        double latitude;
        QStringList entries; // "hh:mm=°C"
        QStringList recordings;
        QString expected; // "bin:minutes:recordings per hour" of each bin with hours or activity
    };
    QStringList oneMinuteLog; // 22:00 to 22:29
    for (int m = 0; m < 30; ++m)
        oneMinuteLog << QStringLiteral("22:%1=1").arg(m, 2, 10, QLatin1Char('0'));
    const QList<Case> cases{
        {"22:05 to 22:15 over two intervals: the border recording in the lower bin",
         "22:05-22:15",
         51,
         {"22:00=13", "22:10=11"},
         {"22:10:00"},
         "15:5:12 16:5:0"},
        {"a gap in the log adds nothing and counts nothing",
         "22:00-23:00",
         51,
         {"22:00=1.5"},
         {"22:05:00", "22:30:00"},
         "10:10:6"},
        {"a period inside one interval, both ends included",
         "22:02-22:07",
         51,
         {"22:00=1"},
         {"22:07:00", "22:08:00"},
         "10:5:12"},
        {"an entry lasts until the next one", "22:00-23:00", 51, {"22:00=1", "22:05=1"}, {}, "10:15:0"},
        {"a log of one value a minute: each counts its minute", "22:00-22:30", 51, oneMinuteLog, {}, "10:30:0"},
        {"a missing value ends the one before and counts nowhere",
         "22:00-22:05",
         51,
         {"22:00=13", "22:01=nan", "22:02=13"},
         {"22:01:30", "22:03:00"},
         "16:4:15"},
        {"of two entries at one instant the later stands", "22:00-23:00", 51, {"22:00=1", "22:00=13"}, {}, "16:10:0"},
        {"a piece of length zero takes its instant's recording, activity 0",
         "21:50-22:00",
         51,
         {"21:50=13", "22:00=-25"},
         {"22:00:00"},
         "16:10:0"},
        {"the sun does not set: the day adds nothing", "22:00-23:00", 80, {"22:00=1"}, {"22:05:00"}, ""}};
    const QDate day(2021, 6, 1);
    const RecorderClock clock(berlin, true, RecorderClock::OnTransitions, 2021);
    for (const Case &c : cases) {
        ActivityForm form;
        form.latitude = c.latitude;
        form.zone = berlin;
        form.startTime = QTime::fromString(c.period.left(5), QStringLiteral("hh:mm"));
        form.stopTime = QTime::fromString(c.period.right(5), QStringLiteral("hh:mm"));
        form.monitoringBegin = QDate(2015, 1, 1);
        form.monitoringEnd = QDate(2015, 12, 31);
        MeasurementSeries series;
        for (const QString &e : c.entries) {
            const QTime t = QTime::fromString(e.section('=', 0, 0), QStringLiteral("hh:mm"));
            series.append(clock.instant(day, t.msecsSinceStartOfDay()), e.section('=', 1).toFloat());
        }
        series.index(clock, 2021);
        QVector<FileRowTexts> texts;
        for (const QString &time : c.recordings) {
            FileRowTexts row;
            row.setText(FileViewColumn::Date, QStringLiteral("01/06/21"));
            row.setText(FileViewColumn::Time, time);
            texts << row;
        }
        const BinnedActivity a =
            measuredActivity(form, clock, activityRowsOf(texts), 2021, series, temperatureChart().bins);
        QStringList bins;
        for (int bin = 0; bin < 35; ++bin) {
            if (a.hours.at(bin) > 0 || a.activity.last().at(bin) > 0)
                bins << QStringLiteral("%1:%2:%3").arg(bin).arg(a.hours.at(bin) * 60).arg(a.activity.last().at(bin));
        }
        QVERIFY2(bins.join(' ') == c.expected, c.name);
    }
}

void TestMeasuredCharts::axisRanges()
{
    // Vertical: three bins, the last the open one.
    const QList<std::tuple<QVector<float>, float, bool, VerticalRanges>> vertical{
        {{0, 0, 5}, 2, false, {0, 1, 0, 1}}, // no hours below the open bin
        {{0, 0, 5}, 2, true, {0.001, 1, 0.01, 1}},
        {{0, 3, 0.5f}, 4, false, {0, 4, 0, 3}},
        {{0, 3, 0.5f}, 4, true, {0.001, 4, 0.1, 3}}, // a bin under an hour
        {{0, 3, 2}, 4, true, {0.001, 4, 1, 3}},
        {{2, 0, 0}, 0, false, {0, 1, 0, 2}}, // hours without recordings
        {{2, 0, 0}, 0, true, {0.001, 1, 1, 2}},
        // Activity and hours that stay under the logarithmic bottoms: three decades up, never downwards.
        {{0, 0.05f, 0}, 0.0005f, true, {0.001, 1, 0.1, 100}},
        {{0, 0.05f, 0}, 0.0005f, false, {0, 0.0005f, 0, 0.05f}},
    };
    for (const auto &[hours, maxActivity, logarithmic, ranges] : vertical)
        QVERIFY(verticalRanges(hours, maxActivity, logarithmic) == ranges);
    // Temperature: as far as the bins with hours reach; without any, 0 to 30.
    const auto range = temperatureChart().bottomRange;
    QCOMPARE(range(0, 25), qMakePair(-20.0, 40.0));
    QCOMPARE(range(10, 20), qMakePair(0.0, 30.0));
    QCOMPARE(range(5, 30), qMakePair(-10.0, 50.0));
    QCOMPARE(range(34, 0), qMakePair(0.0, 30.0));
}

void TestMeasuredCharts::weatherCharts()
{
    ScriptedDialogs dialogs;
    addRecording(QStringLiteral("01/06/21"), QStringLiteral("22:05:00"), {"A"});
    addRecording(QStringLiteral("01/06/21"), QStringLiteral("22:12:00"), {});
    auto d = open();
    Ui_plotFolderDialog *ui = d->ui;
    dialogs.fileAnswers << writeWeather();
    ui->tabWidget->setCurrentIndex(int(ActivityTab::Temperature));
    ui->pushButton_11->click();
    QwtPlot *plot = d->plotVsTemp;
    QVERIFY(!d->firstPlotVsTemp && titled(plot, "All Classes_Activity").size() == 2);
    QCOMPARE(plot->axisTitle(QwtPlot::xBottom).text(), QStringLiteral("Temperatures in °C \n2021"));
    QCOMPARE(axisRange(plot, QwtPlot::xBottom), qMakePair(0.0, 30.0));
    QCOMPARE(axisRange(plot, QwtPlot::yLeft).second, 6.0);
    // The bar of 10 to 12 °C: from 10.05 to 11.95 at a sixth of an hour.
    QCOMPARE(d->validHoursVsTemp->sample(30), QPointF(10.05, 0.0));
    QCOMPARE(d->validHoursVsTemp->sample(31), QPointF(11.95, double(1.0f / 6.0f)));
    // An unchecked class: hidden at the next drawing, left out of the file.
    setLegendEntryChecked(plot, legendMarker(plot, QStringLiteral("Unassigned")), false);
    const QString csv = path() + QStringLiteral("/data.csv");
    dialogs.fileAnswers << csv;
    ui->pushButton_19->click();
    QVERIFY(!titled(plot, QStringLiteral("Unassigned_Activity")).first()->isVisible());
    QCOMPARE(dialogs.fileQuestions.last().dir, QDir::homePath() + QStringLiteral("/ActivityOverTemperatureData.csv"));
    QCOMPARE(fileBytes(csv), crlf("Temperatures in 2021 [°C];Valid Hours [h];A [Rec./h];All Classes [Rec./h]\n"
                                  "-20 to -18;0.0;0.000;0.000\n-18 to -16;0.0;0.000;0.000\n-16 to -14;0.0;0.000;0.000\n"
                                  "-14 to -12;0.0;0.000;0.000\n-12 to -10;0.0;0.000;0.000\n-10 to -8;0.0;0.000;0.000\n"
                                  "-8 to -6;0.0;0.000;0.000\n-6 to -4;0.0;0.000;0.000\n-4 to -2;0.0;0.000;0.000\n"
                                  "-2 to 0;0.0;0.000;0.000\n0 to 2;0.0;0.000;0.000\n2 to 4;0.0;0.000;0.000\n"
                                  "4 to 6;0.0;0.000;0.000\n6 to 8;0.0;0.000;0.000\n8 to 10;0.0;0.000;0.000\n"
                                  "10 to 12;0.2;0.000;6.000\n12 to 14;0.2;6.000;6.000\n14 to 16;0.0;0.000;0.000\n"
                                  "16 to 18;0.0;0.000;0.000\n18 to 20;0.0;0.000;0.000\n20 to 22;0.0;0.000;0.000\n"
                                  "22 to 24;0.0;0.000;0.000\n24 to 26;0.0;0.000;0.000\n26 to 28;0.0;0.000;0.000\n"
                                  "28 to 30;0.0;0.000;0.000\n30 to 32;0.0;0.000;0.000\n32 to 34;0.0;0.000;0.000\n"
                                  "34 to 36;0.0;0.000;0.000\n36 to 38;0.0;0.000;0.000\n38 to 40;0.0;0.000;0.000\n"
                                  "40 to 42;0.0;0.000;0.000\n42 to 44;0.0;0.000;0.000\n44 to 46;0.0;0.000;0.000\n"
                                  "46 to 48;0.0;0.000;0.000\n48 to 50;0.0;0.000;0.000\n"));

    // The log chosen on the temperature tab serves the precipitation tab too.
    ui->tabWidget->setCurrentIndex(int(ActivityTab::Precipitation));
    plot = d->plotVsPrec;
    QVERIFY(plot && ui->pushButton_2->isEnabled() && ui->pushButton_19->isEnabled());
    QCOMPARE(axisRange(plot, QwtPlot::xBottom), qMakePair(-0.5, 10.5));
    // Logarithmic: hours of 0 stand at 0.01, activities of 0 leave gaps.
    ui->radioButton_8->setChecked(true);
    QCOMPARE(d->validHoursVsPrec->sample(5), QPointF(1.95, 0.01));
    QCOMPARE(dynamic_cast<QwtPlotGappedCurve *>(titled(plot, QStringLiteral("A_Activity")).first())->gap(), 0.0);
    QCOMPARE(axisRange(plot, QwtPlot::yRight), qMakePair(0.1, double(1.0f / 6.0f)));
    setLegendEntryChecked(plot, d->validHoursVsPrec, false);
    // The same file again: replaced when the user says so.
    dialogs.fileAnswers << csv;
    dialogs.messageAnswers << QMessageBox::Yes;
    ui->pushButton_19->click();
    QVERIFY(!dialogs.messages.isEmpty() && dialogs.messages.last().text.startsWith("data.csv "));
    QCOMPARE(fileBytes(csv),
             crlf("Precipitations in 2021 [mm/min];A [Rec./h];Unassigned [Rec./h];All Classes [Rec./h]\n"
                  "0;6.000;0.000;6.000\n0 to 1;0.000;6.000;6.000\n1 to 2;0.000;0.000;0.000\n"
                  "2 to 3;0.000;0.000;0.000\n3 to 4;0.000;0.000;0.000\n4 to 5;0.000;0.000;0.000\n"
                  "5 to 6;0.000;0.000;0.000\n6 to 7;0.000;0.000;0.000\n7 to 8;0.000;0.000;0.000\n"
                  "8 to 9;0.000;0.000;0.000\n9 to 10;0.000;0.000;0.000\n"));
}

void TestMeasuredCharts::oneReadOfTheLogForBothCharts()
{
    addRecording(QStringLiteral("01/06/21"), QStringLiteral("22:05:00"), {"A"});
    const QString log = writeWeather();
    writeFolderSetting(path(), FolderSettings::temperaturePrecipitationFile, log);
    auto d = open();
    d->ui->tabWidget->setCurrentIndex(int(ActivityTab::Temperature));
    // The same log in size and time, but with heavy rain: a chart that read it again would show it.
    QFile file(log);
    const QDateTime written = QFileInfo(file).lastModified();
    const QByteArray bytes = fileBytes(log).replace(",0\r\n", ",9\r\n").replace(",0.5", ",9.5");
    QCOMPARE(bytes.size(), QFileInfo(file).size());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
    QVERIFY(file.flush() && file.setFileTime(written, QFileDevice::FileModificationTime));
    file.close();
    d->ui->tabWidget->setCurrentIndex(int(ActivityTab::Precipitation));
    // No rain, then 0.5 mm/min: a sixth of an hour each in the first two bins, none at 9 mm/min and more.
    QCOMPARE(d->validHoursVsPrec->sample(1), QPointF(0.05, double(1.0f / 6.0f)));
    QCOMPARE(d->validHoursVsPrec->sample(3), QPointF(0.95, double(1.0f / 6.0f)));
    QCOMPARE(d->validHoursVsPrec->sample(21), QPointF(9.95, 0.0));
}

void TestMeasuredCharts::exportFromALogThatIsGone()
{
    ScriptedDialogs dialogs;
    addRecording(QStringLiteral("01/06/21"), QStringLiteral("22:05:00"), {"A"});
    const QString log = writeWeather();
    writeFolderSetting(path(), FolderSettings::temperaturePrecipitationFile, log);
    auto d = open();
    d->ui->tabWidget->setCurrentIndex(int(ActivityTab::Temperature));
    QVERIFY(d->ui->pushButton_19->isEnabled());
    QVERIFY(QFile::remove(log));
    dialogs.expectMessages();
    d->ui->pushButton_19->click();
    // Said before any file is asked for.
    QVERIFY(dialogs.fileQuestions.isEmpty());
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.first().text, QStringLiteral("The data file cannot be read."));
    QCOMPARE(dialogs.messages.first().informativeText, QDir::toNativeSeparators(log));
    QVERIFY(!d->ui->pushButton_19->isEnabled());
}

void TestMeasuredCharts::windFileInUtcForAFolderInBerlin()
{
    ScriptedDialogs dialogs;
    writeFolderSetting(path(), FolderSettings::timeZone, QByteArray("Europe/Berlin"));
    // 23:50 on 1 June, 00:00 and 00:10 on 2 June in Berlin.
    const QString wind = writeData(QStringLiteral("wind.txt"),
                                   {"01.06.2021;21:50:00;3,5", "01.06.2021;22:00:00;12", "01.06.2021;22:10:00;0,5"});
    writeWindDataSettings(path(), {WindFileFormat{"dd.mm.yyyy", "hh:mm:ss", ",", "Semicolon", "Semicolon", "Beginning"},
                                   true, QByteArray("UTC")});
    writeFolderSetting(path(), FolderSettings::windSpeedFile, wind);
    addRecording(QStringLiteral("02/06/21"), QStringLiteral("00:05:00"), {});
    auto d = open();
    d->ui->tabWidget->setCurrentIndex(int(ActivityTab::WindSpeed));
    QVERIFY(d->ui->label_13->isHidden() && !d->plotVsWind->isHidden() && !d->ui->radioButton_9->isHidden());
    // One class (the unassigned recordings): its line and dots, no "All Classes".
    QCOMPARE(d->plotVsWind->itemList(QwtPlotItem::Rtti_PlotCurve).size(), 1 + 2);
    QCOMPARE(d->plotVsWind->axisTitle(QwtPlot::xBottom).text(), QStringLiteral("Wind Speed in m/s\n2021"));
    const QString csv = path() + QStringLiteral("/wind.csv");
    dialogs.fileAnswers << csv;
    d->ui->pushButton_19->click();
    QCOMPARE(fileBytes(csv), crlf("Wind Speeds in 2021 [m/s];Valid Hours [h];Unassigned [Rec./h]\n0 to 1;0.2;0.000\n"
                                  "1 to 2;0.0;0.000\n2 to 3;0.0;0.000\n3 to 4;0.2;0.000\n4 to 5;0.0;0.000\n"
                                  "5 to 6;0.0;0.000\n6 to 7;0.0;0.000\n7 to 8;0.0;0.000\n8 to 9;0.0;0.000\n"
                                  "9 to 10;0.0;0.000\n>10;0.2;6.000\n"));
}

void TestMeasuredCharts::withoutData()
{
    addRecording(QStringLiteral("01/06/21"), QStringLiteral("22:05:00"), {"A"});
    auto d = open();
    Ui_plotFolderDialog *ui = d->ui;
    ui->tabWidget->setCurrentIndex(int(ActivityTab::WindSpeed));
    QVERIFY(!ui->label_13->isHidden() && d->plotVsWind->isHidden() && ui->pushButton_15->isHidden());
    QVERIFY(!ui->pushButton_2->isEnabled() && !ui->pushButton_19->isEnabled() && d->firstPlotVsWind);

    // A file that cannot be opened: nothing drawn, nothing to export, the plot may still be exported.
    writeFolderSetting(path(), FolderSettings::windSpeedFile, path());
    ui->radioButton_10->setChecked(true);
    QVERIFY(ui->label_13->isHidden() && ui->pushButton_2->isEnabled() && !ui->pushButton_19->isEnabled());
    QVERIFY(d->firstPlotVsWind);

    // No line fits: drawn, without hours; the axes of no hours below 10 m/s.
    const QString wind = writeData(QStringLiteral("wind.txt"), {"Date;Time;Speed in m/s at 10 m"});
    writeFolderSetting(path(), FolderSettings::windSpeedFile, wind);
    writeFolderSetting(path(), FolderSettings::windSeparator1, QStringLiteral("Semicolon"));
    ui->radioButton_9->setChecked(true);
    QVERIFY(!d->firstPlotVsWind && ui->pushButton_19->isEnabled());
    QCOMPARE(axisRange(d->plotVsWind, QwtPlot::yRight), qMakePair(0.0, 1.0));
    // The series stays while the file's size and time stand; a new time reads it again.
    const QDateTime modified = QFileInfo(wind).lastModified();
    writeData(QStringLiteral("wind.txt"), {"01.06.2021;22:00:00;1,5;mast A"});
    QFile file(wind);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(modified, QFileDevice::FileModificationTime));
    file.close();
    ui->doubleSpinBox->setValue(50);
    QCOMPARE(axisRange(d->plotVsWind, QwtPlot::yRight), qMakePair(0.0, 1.0));
    QVERIFY(file.open(QIODevice::ReadWrite)
            && file.setFileTime(modified.addSecs(1), QFileDevice::FileModificationTime));
    file.close();
    ui->doubleSpinBox->setValue(51);
    QCOMPARE(axisRange(d->plotVsWind, QwtPlot::yRight).second, double(1.0f / 6.0f));
}

QUILLON_TEST(TestMeasuredCharts)
#include "tst_measuredcharts.moc"
