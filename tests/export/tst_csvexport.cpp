// Golden CSV files, written by hand from the export's rules: each case names
// the rule it shows. The zone is given explicitly, so the texts must come out
// the same whatever TZ the test runs under (CTest runs it under three).
#include "export/csvexport.h"
#include "exportrows.h"
#include "testregistry.h"

#include <QTest>

Q_DECLARE_METATYPE(QList<int>)

namespace {

// The golden text: every line ends in CR LF, the last one too.
QString crlf(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

} // namespace

class CsvExportTest : public QObject
{
    Q_OBJECT

private slots:
    void golden_data();
    void golden();
    void eventTexts_unreadableRowsNeverMatchEachOther();
};

void CsvExportTest::golden_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QList<int>>("intervals");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("daylightSaving");
    QTest::addColumn<bool>("noCallLines");
    QTest::addColumn<QString>("expected");

    const QString dyn = QStringLiteral("dynamic");
    const QString fixed = QStringLiteral("static");

    QTest::newRow("empty list: the header alone")
        << QStringList() << QStringList{"Nyc"} << QList<int>() << dyn << false << false
        << crlf({"FileName;Date;Time [UTC+01:00];Length [s];Class1;Class2;Class3;Class4;Comment"});

    QTest::newRow("no intervals: no event fields; a ';' in a comment is a ','")
        << QStringList{"a.wav|15/06/21|22:10:00|5.0||Nyc|Pip|||note; with semicolon",
                       "b.wav|15/06/21|22:11:00|3.5||Pip", "c.wav|15/06/21|22:12:00|1.0||"}
        << QStringList{"Nyc"} << QList<int>() << dyn << true << false
        << crlf({"FileName;Date;Time [GMT+1];Length [s];Class1;Class2;Class3;Class4;Comment",
                 "a.wav;15/06/21;22:10:00;5.0;Nyc;Pip;;;note, with semicolon"});

    QTest::newRow("a class checked only in the fourth slot")
        << QStringList{"a.wav|15/06/21|22:10:00|5.0||Nyc|Pip|Enil|Eser", "b.wav|15/06/21|22:11:00|3.5||Nyc|Eser"}
        << QStringList{"Eser"} << QList<int>() << dyn << true << false
        << crlf({"FileName;Date;Time [GMT+1];Length [s];Class1;Class2;Class3;Class4;Comment",
                 "a.wav;15/06/21;22:10:00;5.0;Nyc;Pip;Enil;Eser;", "b.wav;15/06/21;22:11:00;3.5;Nyc;Eser;;;"});

    QTest::newRow("a ';' in a class is a ',' in its column and its events: the fields stay in place")
        << QStringList{"a.wav|15/06/21|22:10:00|5.0||Nyc;Pip|Enil|||c"} << QStringList{"Nyc;Pip"} << QList<int>{1}
        << dyn << true << false
        << crlf({"FileName;Date;Time [GMT+1];Length [s];Class1;Class2;Class3;Class4;1min class event (dynamic);"
                 "Comment",
                 "a.wav;15/06/21;22:10:00;5.0;Nyc,Pip;Enil;;;Nyc,Pip;c"});

    QTest::newRow("a line break inside a class or a comment is a blank: one record stays one line")
        << QStringList{"a.wav|15/06/21|22:10:00|5.0||Nyc|Recorder X\r\nGain 10|||seen\nand\rheard"}
        << QStringList{"Nyc"} << QList<int>() << dyn << true << false
        << crlf({"FileName;Date;Time [GMT+1];Length [s];Class1;Class2;Class3;Class4;Comment",
                 "a.wav;15/06/21;22:10:00;5.0;Nyc;Recorder X Gain 10;;;seen and heard"});

    QTest::newRow("dynamic 1 min: exactly 60 s after the event start is inside it")
        << QStringList{"a.wav|15/06/21|10:00:00|5.0||Nyc", "b.wav|15/06/21|10:01:00|5.0||Nyc",
                       "c.wav|15/06/21|10:01:01|5.0||Nyc"}
        << QStringList{"Nyc"} << QList<int>{1} << dyn << true << false
        << crlf({"FileName;Date;Time [GMT+1];Length [s];Class1;Class2;Class3;Class4;1min class event (dynamic);"
                 "Comment",
                 "a.wav;15/06/21;10:00:00;5.0;Nyc;;;;Nyc;", "b.wav;15/06/21;10:01:00;5.0;Nyc;;;;;",
                 "c.wav;15/06/21;10:01:01;5.0;Nyc;;;;Nyc;"});

    QTest::newRow("cascade: the 5-minute events thin the 1-minute events")
        << QStringList{"a.wav|15/06/21|00:00:00|5.0||Pip", "b.wav|15/06/21|00:04:50|5.0||Pip",
                       "c.wav|15/06/21|00:05:10|5.0||Pip"}
        << QStringList{"Pip"} << QList<int>{1, 5} << dyn << true << false
        << crlf({"FileName;Date;Time [GMT+1];Length [s];Class1;Class2;Class3;Class4;1min class event (dynamic);"
                 "5min class event (dynamic);Comment",
                 "a.wav;15/06/21;00:00:00;5.0;Pip;;;;Pip;Pip;", "b.wav;15/06/21;00:04:50;5.0;Pip;;;;Pip;;",
                 "c.wav;15/06/21;00:05:10;5.0;Pip;;;;;;"});

    QTest::newRow("5 minutes alone thin the whole list")
        << QStringList{"a.wav|15/06/21|00:00:00|5.0||Pip", "b.wav|15/06/21|00:04:50|5.0||Pip",
                       "c.wav|15/06/21|00:05:10|5.0||Pip"}
        << QStringList{"Pip"} << QList<int>{5} << dyn << true << false
        << crlf({"FileName;Date;Time [GMT+1];Length [s];Class1;Class2;Class3;Class4;5min class event (dynamic);"
                 "Comment",
                 "a.wav;15/06/21;00:00:00;5.0;Pip;;;;Pip;", "b.wav;15/06/21;00:04:50;5.0;Pip;;;;;",
                 "c.wav;15/06/21;00:05:10;5.0;Pip;;;;Pip;"});

    QTest::newRow("static 5 min: slots of the clock, 10:05:00 opens the next")
        << QStringList{"a.wav|15/06/21|10:00:00|5.0||Nyc", "b.wav|15/06/21|10:04:59|5.0||Nyc",
                       "c.wav|15/06/21|10:05:00|5.0||Nyc"}
        << QStringList{"Nyc"} << QList<int>{5} << fixed << true << false
        << crlf({"FileName;Date;Time [GMT+1];Length [s];Class1;Class2;Class3;Class4;5min class event (static);"
                 "Comment",
                 "a.wav;15/06/21;10:00:00;5.0;Nyc;;;;Nyc;", "b.wav;15/06/21;10:04:59;5.0;Nyc;;;;;",
                 "c.wav;15/06/21;10:05:00;5.0;Nyc;;;;Nyc;"});

    QTest::newRow("static 10 min: a new hour always opens an event")
        << QStringList{"a.wav|15/06/21|10:50:00|5.0||Nyc", "b.wav|15/06/21|10:59:59|5.0||Nyc",
                       "c.wav|15/06/21|11:00:00|5.0||Nyc"}
        << QStringList{"Nyc"} << QList<int>{10} << fixed << true << false
        << crlf({"FileName;Date;Time [GMT+1];Length [s];Class1;Class2;Class3;Class4;10min class event (static);"
                 "Comment",
                 "a.wav;15/06/21;10:50:00;5.0;Nyc;;;;Nyc;", "b.wav;15/06/21;10:59:59;5.0;Nyc;;;;;",
                 "c.wav;15/06/21;11:00:00;5.0;Nyc;;;;Nyc;"});

    QTest::newRow("a shared timestamp marks both rows, classes in checked order")
        << QStringList{"a.wav|15/06/21|22:00:00|5.0||Nyc", "b.wav|15/06/21|22:00:00|5.0||Pip",
                       "c.wav|15/06/21|22:00:30|5.0||Pip"}
        << QStringList{"Pip", "Nyc"} << QList<int>{1} << dyn << true << false
        << crlf({"FileName;Date;Time [GMT+1];Length [s];Class1;Class2;Class3;Class4;1min class event (dynamic);"
                 "Comment",
                 "a.wav;15/06/21;22:00:00;5.0;Nyc;;;;Pip,Nyc;", "b.wav;15/06/21;22:00:00;5.0;Pip;;;;Pip,Nyc;",
                 "c.wav;15/06/21;22:00:30;5.0;Pip;;;;;"});

    QTest::newRow("the same class twice in a row is one recording")
        << QStringList{"a.wav|15/06/21|22:00:00|5.0||Nyc|Nyc", "b.wav|15/06/21|22:00:30|5.0||Nyc"} << QStringList{"Nyc"}
        << QList<int>{1} << dyn << true << false
        << crlf({"FileName;Date;Time [GMT+1];Length [s];Class1;Class2;Class3;Class4;1min class event (dynamic);"
                 "Comment",
                 "a.wav;15/06/21;22:00:00;5.0;Nyc;Nyc;;;Nyc;", "b.wav;15/06/21;22:00:30;5.0;Nyc;;;;;"});

    // 28 March 2021, Berlin: 02:00 CET becomes 03:00 CEST. With daylight saving
    // 01:58 and 03:02 are four minutes apart, without it 64 minutes.
    QTest::newRow("daylight saving on: real elapsed time across the change")
        << QStringList{"a.wav|28/03/21|01:58:00|5.0||Nyc", "b.wav|28/03/21|03:02:00|5.0||Nyc"} << QStringList{"Nyc"}
        << QList<int>{5} << dyn << true << false
        << crlf({"FileName;Date;Time [GMT+1];Length [s];Class1;Class2;Class3;Class4;5min class event (dynamic);"
                 "Comment",
                 "a.wav;28/03/21;01:58:00;5.0;Nyc;;;;Nyc;", "b.wav;28/03/21;03:02:00;5.0;Nyc;;;;;"});
    QTest::newRow("daylight saving off: the clock texts' difference")
        << QStringList{"a.wav|28/03/21|01:58:00|5.0||Nyc", "b.wav|28/03/21|03:02:00|5.0||Nyc"} << QStringList{"Nyc"}
        << QList<int>{5} << dyn << false << false
        << crlf({"FileName;Date;Time [UTC+01:00];Length [s];Class1;Class2;Class3;Class4;5min class event "
                 "(dynamic);Comment",
                 "a.wav;28/03/21;01:58:00;5.0;Nyc;;;;Nyc;", "b.wav;28/03/21;03:02:00;5.0;Nyc;;;;Nyc;"});

    const QStringList proposals{"a.wav|15/06/21|22:00:00|5.0|No call|Pip", "b.wav|15/06/21|22:10:00|5.0|NO CALL|",
                                "c.wav|15/06/21|22:20:00|5.0|Pip|"};
    QTest::newRow("folder of proposals: class line, then the Detected No Call line")
        << proposals << QStringList{"Pip", "Unassigned", "Detected No Call"} << QList<int>{1} << dyn << true << true
        << crlf({"FileName;Date;Time [GMT+1];Length [s];Class1;Class2;Class3;Class4;1min class event (dynamic);"
                 "Comment",
                 "a.wav;15/06/21;22:00:00;5.0;Pip;;;;Pip;", "a.wav;15/06/21;22:00:00;5.0;Detected No Call;;;;Pip;",
                 "b.wav;15/06/21;22:10:00;5.0;Detected No Call;;;;;", "c.wav;15/06/21;22:20:00;5.0;;;;;;"});
    QTest::newRow("folder of proposals: unassigned No call rows need Detected No Call")
        << proposals << QStringList{"Pip", "Unassigned"} << QList<int>() << dyn << true << true
        << crlf({"FileName;Date;Time [GMT+1];Length [s];Class1;Class2;Class3;Class4;Comment",
                 "a.wav;15/06/21;22:00:00;5.0;Pip;;;;", "c.wav;15/06/21;22:20:00;5.0;;;;;"});
    QTest::newRow("selected rows: no Detected No Call line, every unassigned row")
        << proposals << QStringList{"Pip", "Unassigned", "Detected No Call"} << QList<int>() << dyn << true << false
        << crlf({"FileName;Date;Time [GMT+1];Length [s];Class1;Class2;Class3;Class4;Comment",
                 "a.wav;15/06/21;22:00:00;5.0;Pip;;;;", "b.wav;15/06/21;22:10:00;5.0;;;;;",
                 "c.wav;15/06/21;22:20:00;5.0;;;;;"});

    QTest::newRow("Unassigned anywhere in the checked list has no events")
        << QStringList{"a.wav|15/06/21|22:00:00|5.0||Nyc", "b.wav|15/06/21|22:00:20|5.0||",
                       "c.wav|15/06/21|22:05:00|5.0||Pip"}
        << QStringList{"Pip", "Unassigned", "Nyc"} << QList<int>{1} << dyn << true << false
        << crlf({"FileName;Date;Time [GMT+1];Length [s];Class1;Class2;Class3;Class4;1min class event (dynamic);"
                 "Comment",
                 "a.wav;15/06/21;22:00:00;5.0;Nyc;;;;Nyc;", "b.wav;15/06/21;22:00:20;5.0;;;;;;",
                 "c.wav;15/06/21;22:05:00;5.0;Pip;;;;Pip;"});

    QTest::newRow("rows without date or time are written in list order and take no part")
        << QStringList{"d.wav|15/06/21|22:01:10|5.0||Nyc", "b.wav|N/A|N/A|5.0||Nyc", "a.wav|15/06/21|22:00:00|5.0||Nyc",
                       "e.wav|||5.0||Nyc", "c.wav|15/06/21|22:00:30|5.0||Nyc"}
        << QStringList{"Nyc"} << QList<int>{1} << dyn << true << false
        << crlf({"FileName;Date;Time [GMT+1];Length [s];Class1;Class2;Class3;Class4;1min class event (dynamic);"
                 "Comment",
                 "d.wav;15/06/21;22:01:10;5.0;Nyc;;;;Nyc;", "b.wav;N/A;N/A;5.0;Nyc;;;;;",
                 "a.wav;15/06/21;22:00:00;5.0;Nyc;;;;Nyc;", "e.wav;;;5.0;Nyc;;;;;",
                 "c.wav;15/06/21;22:00:30;5.0;Nyc;;;;;"});
}

void CsvExportTest::golden()
{
    QFETCH(QStringList, rows);
    QFETCH(QStringList, checked);
    QFETCH(QList<int>, intervals);
    QFETCH(QString, mode);
    QFETCH(bool, daylightSaving);
    QFETCH(bool, noCallLines);
    QFETCH(QString, expected);

    CsvExportOptions options;
    options.checkedClasses = checked;
    options.intervals = intervals;
    options.intervalMode = mode;
    options.timeZone = QTimeZone("Europe/Berlin");
    options.daylightSaving = daylightSaving;
    QCOMPARE(csvExportText(exportRows(rows), options, noCallLines), expected);
}

void CsvExportTest::eventTexts_unreadableRowsNeverMatchEachOther()
{
    // Two rows without a timestamp must not be taken as one moment and marked together.
    CsvExportOptions options;
    options.checkedClasses = QStringList{"Nyc", "Pip"};
    options.intervals = {1};
    options.timeZone = QTimeZone("Europe/Berlin");
    const auto rows = exportRows({"a|N/A|N/A|1||Nyc", "b|N/A|N/A|1||Pip", "c|15/06/21|23:00:00|1||Pip"});
    QCOMPARE(csvClassEvents(rows, options).at(0), (QStringList{"", "", "Pip"}));
}

QUILLON_TEST(CsvExportTest)
#include "tst_csvexport.moc"
