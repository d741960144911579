// Golden Tavron files, written by hand from the export's rules and worked
// examples. Every time is read in the zone given, never the machine's: CTest
// runs these under three values of TZ and the texts must not change.
#include "export/classcounttext.h"
#include "export/tavronexport.h"
#include "exportrows.h"
#include "testregistry.h"

#include <QTest>

namespace {

QString crlf(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

const QString kHeader = QStringLiteral("DateTime (MESZ, UTC+2);Class1;Class2;Class3;Class4");

} // namespace

class TavronExportTest : public QObject
{
    Q_OBJECT

private slots:
    void golden_data();
    void golden();
    void fixedLists_data();
    void fixedLists();
    void years_data();
    void years();
    void onlyUnassigned_data();
    void onlyUnassigned();
};

void TavronExportTest::golden_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("filter");
    QTest::addColumn<QString>("zone");
    QTest::addColumn<bool>("daylightSaving");
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("leftOut");

    QTest::newRow("worked example: UTC+1 without daylight saving moves 1 hour")
        << QStringList{"a|15/06/21|22:30:00|||Pip|PipPip"} << QStringList{"Pip"} << "Europe/Berlin" << false << 0
        << crlf({kHeader, "15.06.2021 23:30:00;Pip;PipPip;;"}) << 0;
    QTest::newRow("a line break inside a class is a blank")
        << QStringList{"a|15/06/21|22:30:00|||Pip|Recorder X\r\nGain\n10"} << QStringList{"Pip"} << "Europe/Berlin"
        << false << 0 << crlf({kHeader, "15.06.2021 23:30:00;Pip;Recorder X Gain 10;;"}) << 0;
    QTest::newRow("daylight saving: summer stays, winter moves 1 hour")
        << QStringList{"a|15/06/21|22:30:00|||Pip", "b|15/01/21|22:30:00|||Pip"} << QStringList{"Pip"}
        << "Europe/Berlin" << true << 0 << crlf({kHeader, "15.06.2021 22:30:00;Pip;;;", "15.01.2021 23:30:00;Pip;;;"})
        << 0;
    QTest::newRow("UTC-5 without daylight saving: 7 hours, across midnight")
        << QStringList{"a|15/06/21|22:30:00|||Nyc"} << QStringList{"Nyc"} << "America/New_York" << false << 0
        << crlf({kHeader, "16.06.2021 05:30:00;Nyc;;;"}) << 0;
    QTest::newRow("UTC-5 with daylight saving in summer: 6 hours")
        << QStringList{"a|15/06/21|22:30:00|||Nyc"} << QStringList{"Nyc"} << "America/New_York" << true << 0
        << crlf({kHeader, "16.06.2021 04:30:00;Nyc;;;"}) << 0;
    QTest::newRow("standard offset 0: two hours, into the next year")
        << QStringList{"a|31/12/21|23:00:00|||Nyc"} << QStringList{"Nyc"} << "Europe/London" << false << 0
        << crlf({kHeader, "01.01.2022 01:00:00;Nyc;;;"}) << 0;
    QTest::newRow("standard offset UTC+2: unchanged")
        << QStringList{"a|15/06/21|22:30:00|||Nyc"} << QStringList{"Nyc"} << "Europe/Helsinki" << false << 0
        << crlf({kHeader, "15.06.2021 22:30:00;Nyc;;;"}) << 0;
    // A clock that follows daylight saving never shows 02:30 on 28 March; one that does had not changed yet.
    QTest::newRow("a time the spring change skips counts as standard time")
        << QStringList{"a|28/03/21|02:30:00|||Nyc"} << QStringList{"Nyc"} << "Europe/Berlin" << true << 0
        << crlf({kHeader, "28.03.2021 03:30:00;Nyc;;;"}) << 0;
    QTest::newRow("two-digit years are 20yy: 29 February 2000 exists")
        << QStringList{"a|29/02/00|23:30:00|||Nyc"} << QStringList{"Nyc"} << "Europe/Berlin" << false << 0
        << crlf({kHeader, "01.03.2000 00:30:00;Nyc;;;"}) << 0;
    QTest::newRow("year override moves the date first, then the time")
        << QStringList{"a|03/08/20|22:00:00|||Pip", "b|10/05/21|22:00:00|||Pip", "c|31/12/20|23:30:00|||Pip"}
        << QStringList{"Pip"} << "Europe/Berlin" << false << 2021
        << crlf({kHeader, "03.08.2021 23:00:00;Pip;;;", "10.05.2021 23:00:00;Pip;;;", "01.01.2022 00:30:00;Pip;;;"})
        << 0;
    QTest::newRow("year override: 29 February becomes the 28th in a common year")
        << QStringList{"a|29/02/20|22:00:00|||Pip"} << QStringList{"Pip"} << "Europe/Berlin" << true << 2021
        << crlf({kHeader, "28.02.2021 23:00:00;Pip;;;"}) << 0;
    QTest::newRow("the filter picks rows; every class of a picked row is written")
        << QStringList{"a|15/06/21|22:00:00|||Nyc|Pip|Myo|", "b|15/06/21|22:01:00|||Nyc",
                       "c|15/06/21|22:02:00|||Myo|Nyc|Pip|Enil"}
        << QStringList{"Pip"} << "Europe/Helsinki" << false << 0
        << crlf({kHeader, "15.06.2021 22:00:00;Nyc;Pip;Myo;", "15.06.2021 22:02:00;Myo;Nyc;Pip;Enil"}) << 0;
    QTest::newRow("an empty Class 1 is never written, whatever follows it")
        << QStringList{"a|15/06/21|22:00:00||||Pip", "b|15/06/21|22:00:00|||||Pip"} << QStringList{"Pip"}
        << "Europe/Helsinki" << false << 0 << crlf({kHeader}) << 0;
    QTest::newRow("nothing checked: the header alone") << QStringList{"a|15/06/21|22:00:00|||Pip"} << QStringList()
                                                       << "Europe/Helsinki" << false << 0 << crlf({kHeader}) << 0;
    QTest::newRow("rows without date or time are left out and counted")
        << QStringList{"a|N/A|N/A|||Pip", "b|15/06/21|22:00:00|||Pip", "c|||||Pip", "d|N/A|N/A|||Nyc"}
        << QStringList{"Pip"} << "Europe/Helsinki" << false << 2021 << crlf({kHeader, "15.06.2021 22:00:00;Pip;;;"})
        << 2;
}

void TavronExportTest::golden()
{
    QFETCH(QStringList, rows);
    QFETCH(QStringList, filter);
    QFETCH(QString, zone);
    QFETCH(bool, daylightSaving);
    QFETCH(int, year);
    QFETCH(QString, expected);
    QFETCH(int, leftOut);

    TavronExportOptions options;
    options.classFilter = filter;
    options.timeZone = QTimeZone(zone.toLatin1());
    options.daylightSaving = daylightSaving;
    options.yearOverride = year;
    const TavronExport::Result result = TavronExport::exportText(exportRows(rows), options);
    QCOMPARE(result.text, expected);
    QCOMPARE(result.leftOut, leftOut);
}

void TavronExportTest::fixedLists_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Tavron evaluation: long names; No Call alone is no bat")
        << 3
        << crlf({kHeader, "15.06.2021 22:01:00;No Call;Pip;;", "15.06.2021 22:02:00;PipPip;;;",
                 "15.06.2021 22:04:00;NycLow;;;", "15.06.2021 22:07:00;Enil;;;", "15.06.2021 22:09:00;Pip;Noise;;"});
    QTest::newRow("review: the recorder's short names")
        << 4
        << crlf({kHeader, "15.06.2021 22:01:00;No Call;Pip;;", "15.06.2021 22:03:00;Ppip;;;",
                 "15.06.2021 22:05:00;Nlow;;;", "15.06.2021 22:06:00;Nycmi;;;", "15.06.2021 22:07:00;Enil;;;",
                 "15.06.2021 22:09:00;Pip;Noise;;"});
    QTest::newRow("one file: no list") << 0 << crlf({kHeader});
}

void TavronExportTest::fixedLists()
{
    QFETCH(int, mode);
    QFETCH(QString, expected);

    const auto rows =
        exportRows({"a|15/06/21|22:00:00|||No Call", "b|15/06/21|22:01:00|||No Call|Pip",
                    "c|15/06/21|22:02:00|||PipPip", "d|15/06/21|22:03:00|||Ppip", "e|15/06/21|22:04:00|||NycLow",
                    "f|15/06/21|22:05:00|||Nlow", "g|15/06/21|22:06:00|||Nycmi", "h|15/06/21|22:07:00|||Enil",
                    "i|15/06/21|22:08:00|||Noise", "j|15/06/21|22:09:00|||Pip|Noise"});
    TavronExportOptions options;
    options.classFilter = TavronExport::fixedClassFilter(mode);
    options.timeZone = QTimeZone("Europe/Helsinki");
    options.daylightSaving = false;
    QCOMPARE(TavronExport::exportText(rows, options).text, expected);
}

void TavronExportTest::years_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("order of first appearance")
        << QStringList{"a|10/05/21|22:00:00|||Pip", "b|03/08/20|22:00:00|||Pip", "c|11/05/21|22:00:00|||Pip"}
        << QList<int>{2021, 2020};
    QTest::newRow("rows not written add no year")
        << QStringList{"a|10/05/21|22:00:00|||Pip", "b|03/08/19|22:00:00|||", "c|03/08/18|22:00:00|||Nyc",
                       "d|N/A|N/A|||Pip", "e|03/08/17|22:00:00|||||Pip"}
        << QList<int>{2021};
    QTest::newRow("the recorded year, even where UTC+2 is in the next")
        << QStringList{"a|31/12/20|23:30:00|||Pip"} << QList<int>{2020};
}

void TavronExportTest::years()
{
    QFETCH(QStringList, rows);
    QFETCH(QList<int>, expected);
    QCOMPARE(TavronExport::years(exportRows(rows), {"Pip"}), expected);
}

void TavronExportTest::onlyUnassigned_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<bool>("refused");

    QTest::newRow("an unassigned row with a second class") << QStringList{"a|||||", "b||||||Pip"} << false;
    QTest::newRow("only unassigned rows") << QStringList{"a|||||", "b|||||"} << true;
    QTest::newRow("one class") << QStringList{"a|||||", "b|||||Nyc"} << false;
    QTest::newRow("no rows") << QStringList() << false;
}

void TavronExportTest::onlyUnassigned()
{
    // The warning goes by the class counts: an unassigned row with a second class is not "only unassigned".
    QFETCH(QStringList, rows);
    QFETCH(bool, refused);
    QCOMPARE(TavronExport::onlyUnassigned(classCountsOfRows(exportRows(rows))), refused);
}

QUILLON_TEST(TavronExportTest)
#include "tst_tavronexport.moc"
