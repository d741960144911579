#include "testregistry.h"

#include "activity/charts/plotdatacsv.h"
#include "guitest.h"
#include "scripteddialogs.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(PlotDataColumn)

// The plot-data file's layout and its writing, shared by the six activity charts.
class TestPlotDataCsv : public testsupport::GuiTestCase
{
    Q_OBJECT
private slots:
    void text_data();
    void text();
    void sameBytesUnderAGermanLocale();
    void fileChoice();
    void writtenAndRemembered();
    void failureKeepsTheStoredPath();
};

void TestPlotDataCsv::text_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QVector<PlotDataColumn>>("columns");
    QTest::addColumn<QByteArray>("expected");
    const QVector<PlotDataColumn> both{{QStringLiteral("Valid Hours [h]"), {0.0f, 7.3f}, 1},
                                       {QStringLiteral("Pip"), {5.0f, 0.1234f}, 3}};
    QTest::newRow("title, hours with one decimal, counts with three")
        << QStringLiteral("Number of Files per Day") << both
        << QByteArray("Number of Files per Day\r\nDay;Valid Hours [h];Pip\r\n01/01/21;0.0;5.000\r\n"
                      "02/01/21;7.3;0.123\r\n");
    QTest::newRow("no title: the header first")
        << QString() << both.mid(1) << QByteArray("Day;Pip\r\n01/01/21;5.000\r\n02/01/21;0.123\r\n");
    QTest::newRow("every column unchecked: the labels alone")
        << QString() << QVector<PlotDataColumn>{} << QByteArray("Day\r\n01/01/21\r\n02/01/21\r\n");
    QTest::newRow("a class name holding the separator: ',' in its place, the columns stay")
        << QString() << QVector<PlotDataColumn>{{QStringLiteral("Nyc;Pip [Rec./h]"), {1.0f, 2.0f}, 3}}
        << QByteArray("Day;Nyc,Pip [Rec./h]\r\n01/01/21;1.000\r\n02/01/21;2.000\r\n");
    QTest::newRow("no group separator, UTF-8 names")
        << QString()
        << QVector<PlotDataColumn>{{QStringLiteral("Fledermaus \u00e4 [Rec./h]"), {1234.5678f, 0.0005f}, 3}}
        << QByteArray("Day;Fledermaus \xc3\xa4 [Rec./h]\r\n01/01/21;1234.568\r\n02/01/21;0.001\r\n");
}

void TestPlotDataCsv::text()
{
    QFETCH(QString, title);
    QFETCH(QVector<PlotDataColumn>, columns);
    QFETCH(QByteArray, expected);
    const QStringList days{QStringLiteral("01/01/21"), QStringLiteral("02/01/21")};
    QCOMPARE(plotDataCsvText(title, QStringLiteral("Day"), days, columns).toUtf8(), expected);
}

void TestPlotDataCsv::sameBytesUnderAGermanLocale()
{
    const QVector<PlotDataColumn> columns{{QStringLiteral("Valid Hours [h]"), {12345.26f}, 1},
                                          {QStringLiteral("Nyc [Rec./h]"), {2.5f}, 3}};
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString german = plotDataCsvText(QString(), QStringLiteral("Month"), {QStringLiteral("03/21")}, columns);
    QLocale::setDefault(before);
    QCOMPARE(german.toUtf8(), QByteArray("Month;Valid Hours [h];Nyc [Rec./h]\r\n03/21;12345.3;2.500\r\n"));
}

void TestPlotDataCsv::fileChoice()
{
    ScriptedDialogs dialogs;
    QCOMPARE(choosePlotDataFile(nullptr, SettingKeys::exportPlotDataNightTime), QString()); // cancelled
    QCOMPARE(dialogs.fileQuestions.size(), 1);
    const ScriptedDialogs::FileQuestion &q = dialogs.fileQuestions.first();
    QCOMPARE(q.kind, QStringLiteral("save"));
    QCOMPARE(q.caption, QStringLiteral("Plot Data Export File"));
    // Nothing stored: the chart's file name in the home folder, not on a drive "C:/".
    QCOMPARE(q.dir, QDir::homePath() + QStringLiteral("/ActivityOverNightTimeData.csv"));
    QCOMPARE(q.filter, QStringLiteral("CSV Files (*.csv)"));
    writeSetting(SettingKeys::exportPlotDataNightTime, QStringLiteral("/data/night.csv"));
    dialogs.fileAnswers << QStringLiteral("/data/other"); // typed without a suffix
    QCOMPARE(choosePlotDataFile(nullptr, SettingKeys::exportPlotDataNightTime), QStringLiteral("/data/other.csv"));
    QCOMPARE(dialogs.fileQuestions.last().dir, QStringLiteral("/data/night.csv"));
}

void TestPlotDataCsv::writtenAndRemembered()
{
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("days.csv"));
    QVERIFY(writePlotDataFile(path, QStringLiteral("a;b\r\n\u00e9\r\n"), SettingKeys::exportPlotDataDays));
    QCOMPARE(fileBytes(path), QByteArray("a;b\r\n\xc3\xa9\r\n")); // UTF-8, no byte-order mark
    QCOMPARE(readSetting(SettingKeys::exportPlotDataDays), path);
    QVERIFY(writePlotDataFile(path, QStringLiteral("c\r\n"), SettingKeys::exportPlotDataDays));
    QCOMPARE(fileBytes(path), QByteArray("c\r\n"));
    QVERIFY(dialogs.messages.isEmpty());
}

void TestPlotDataCsv::failureKeepsTheStoredPath()
{
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    // A directory where the file should go: the write fails even for root.
    const QString path = dir.filePath(QStringLiteral("month.csv"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("month.csv")));
    writeSetting(SettingKeys::exportPlotDataMonth, QStringLiteral("/earlier/month.csv"));
    dialogs.expectMessages();
    QVERIFY(!writePlotDataFile(path, QStringLiteral("x\r\n"), SettingKeys::exportPlotDataMonth));
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.first().text, QStringLiteral("Could not write to file."));
    QCOMPARE(dialogs.messages.first().icon, QMessageBox::Critical);
    QCOMPARE(readSetting(SettingKeys::exportPlotDataMonth), QStringLiteral("/earlier/month.csv"));
    QVERIFY(QFileInfo(path).isDir());
}

QUILLON_TEST(TestPlotDataCsv)
#include "tst_plotdatacsv.moc"
