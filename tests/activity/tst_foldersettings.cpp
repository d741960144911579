#include "testregistry.h"

#include "activity/foldersettings.h"
#include "activity/invalidtimestext.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace FolderSettings;

class TestFolderSettings : public QObject
{
    Q_OBJECT
private slots:
    void missingFileGivesDefaults();
    void timeSettingsRoundTrip();
    void otherKeysRoundTrip();
    void handWrittenFile();
    void invalidTimesReader_data();
    void invalidTimesReader();
    void invalidTimesRoundTrip();

private:
    static QString fileText(const QString &folder)
    {
        QFile f(filePath(folder));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
};

void TestFolderSettings::missingFileGivesDefaults()
{
    QTemporaryDir dir;
    const FolderTimeSettings s = readFolderTimeSettings(dir.path());
    QCOMPARE(s.latitude, 51.0);
    QCOMPARE(s.longitude, 9.0);
    QVERIFY(s.daylightSaving);
    QVERIFY(s.centerNight);
    QCOMPARE(s.twilight, 0);
    QCOMPARE(s.periodType, 0);
    QCOMPARE(s.intervalDays, 0);
    QCOMPARE(s.timeZone, QByteArray("Europe/Berlin"));   // the tests' TZ
    QCOMPARE(s.beginDate.day(), 1);
    QCOMPARE(s.beginDate.month(), 1);
    QCOMPARE(s.endDate.day(), 31);
    QCOMPARE(s.endDate.month(), 12);
    QCOMPARE(s.startRecording, QTime(0, 0));
    QCOMPARE(s.stopRecording, QTime(0, 0));
    QCOMPARE(s.startMin, 0);
    QCOMPARE(s.stopMin, 0);
    QVERIFY(s.invalidTimes.isEmpty());
    QVERIFY(!readFolderSetting(dir.path(), logDays));
    QCOMPARE(readFolderSetting(dir.path(), windSeparator1), QStringLiteral("Space"));
    QCOMPARE(readFolderSetting(dir.path(), windSeparator1InChart), QStringLiteral("Semicolon"));
    // Reading leaves no file behind.
    QVERIFY(!QFile::exists(filePath(dir.path())));
}

void TestFolderSettings::timeSettingsRoundTrip()
{
    QTemporaryDir dir;
    const QString periods = QStringLiteral("01.06.2022 22:00-02.06.2022 04:00");
    writeFolderSetting(dir.path(), invalidTimes, periods);
    FolderTimeSettings w;
    w.latitude = -33.8688;
    w.longitude = 151.2093;
    w.daylightSaving = false;
    w.centerNight = false;
    w.twilight = 3;
    w.periodType = 1;
    w.intervalDays = 7;
    w.timeZone = "America/New_York";
    w.beginDate = QDate(2015, 4, 15);
    w.endDate = QDate(2015, 9, 30);
    w.startRecording = QTime(21, 30);
    w.stopRecording = QTime(5, 45);
    w.startMin = -30;
    w.stopMin = 360;
    w.invalidTimes = QStringLiteral("not written");
    writeFolderTimeSettings(dir.path(), w);

    const FolderTimeSettings r = readFolderTimeSettings(dir.path());
    QCOMPARE(r.latitude, w.latitude);
    QCOMPARE(r.longitude, w.longitude);
    QCOMPARE(r.daylightSaving, false);
    QCOMPARE(r.centerNight, false);
    QCOMPARE(r.twilight, 3);
    QCOMPARE(r.periodType, 1);
    QCOMPARE(r.intervalDays, 7);
    QCOMPARE(r.timeZone, w.timeZone);
    QCOMPARE(r.beginDate.day(), 15);
    QCOMPARE(r.beginDate.month(), 4);
    QCOMPARE(r.endDate.day(), 30);
    QCOMPARE(r.endDate.month(), 9);
    QCOMPARE(r.startRecording, w.startRecording);
    QCOMPARE(r.stopRecording, w.stopRecording);
    QCOMPARE(r.startMin, -30);
    QCOMPARE(r.stopMin, 360);
    QCOMPARE(r.invalidTimes, periods);
    const QString text = fileText(dir.path());
    QVERIFY2(text.contains("TimeZone=@ByteArray(America/New_York)"), qPrintable(text));
    QVERIFY2(text.contains("BeginDate=15.04.15") && text.contains("StopRecording=05:45"), qPrintable(text));
}

void TestFolderSettings::otherKeysRoundTrip()
{
    QTemporaryDir dir;
    const QString d = dir.path();
    for (const auto &key : {logDays, logMonth, logNight, logTemp, logPrec, logWind, windConsiderDaylightSaving}) {
        writeFolderSetting(d, key, !key.fallback, Sync::Now);
        QCOMPARE(readFolderSetting(d, key), !key.fallback);
    }
    const std::pair<FolderSetting<QString>, QString> texts[] = {
        {temperaturePrecipitationFile, "/data/weather log; 2022.csv"}, {windSpeedFile, "/data/wind.txt"},
        {windDateFormat, "yyyy-mm-dd"}, {windTimeFormat, "hh-mm-ss"}, {windDecimalSeparator, "."},
        {windSeparator1, "Tabulator"}, {windSeparator2, "Space"}, {windDateTimeDefinition, "Round"}};
    for (const auto &[key, v] : texts) {
        writeFolderSetting(d, key, v);
        QCOMPARE(readFolderSetting(d, key), v);
    }
    writeFolderSetting(d, windDataTimeZone, QByteArray("Asia/Tokyo"));
    QCOMPARE(readFolderSetting(d, windDataTimeZone), QByteArray("Asia/Tokyo"));
    QVERIFY(fileText(d).contains("WindDataTimeZone=@ByteArray(Asia/Tokyo)"));
}

void TestFolderSettings::handWrittenFile()
{
    QTemporaryDir dir;
    QFile f(filePath(dir.path()));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Geocoordinates]\nlatitude=\"48.5\"\nlongitude=-3.25\n"
            "[Time]\nTimeZone=Asia/Tokyo\nBeginDate=\"15.04.21\"\nEndDate=31.02.21\nStartRecording=\"21:30\"\n"
            "daylightSaving=false\nTwilight=2\n"
            "invalidTimes=\"01.06.2022 22:00-02.06.2022 04:00;10.06.2022 21:30-11.06.2022 05:00\"\n");
    f.close();
    const FolderTimeSettings s = readFolderTimeSettings(dir.path());
    QCOMPARE(s.latitude, 48.5);
    QCOMPARE(s.longitude, -3.25);
    QCOMPARE(s.timeZone, QByteArray("Asia/Tokyo"));
    QCOMPARE(s.beginDate.day(), 15);
    QCOMPARE(s.beginDate.month(), 4);
    QVERIFY(!s.endDate.isValid());   // the control keeps its value
    QCOMPARE(s.startRecording, QTime(21, 30));
    QCOMPARE(s.daylightSaving, false);
    QCOMPARE(s.twilight, 2);
    QCOMPARE(readInvalidTimesText(s.invalidTimes).size(), 2);
}

void TestFolderSettings::invalidTimesReader_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("periods");   // "begin|end"
    const QString a = QStringLiteral("01.06.2022 22:00"), b = QStringLiteral("02.06.2022 04:00");
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("one period") << a + "-" + b << QStringList{a + "|" + b};
    QTest::newRow("end before begin kept") << b + "-" + a << QStringList{b + "|" + a};
    QTest::newRow("part without dash skipped") << a + ";" + a + "-" + b << QStringList{a + "|" + b};
    QTest::newRow("empty parts skipped") << ";" + a + "-" + b + ";;" << QStringList{a + "|" + b};
    QTest::newRow("half that does not parse kept") << "x-" + b << QStringList{"x|" + b};
    QTest::newRow("second dash ends the end") << a + "-" + b + "-junk" << QStringList{a + "|" + b};
    QTest::newRow("dash alone") << QStringLiteral("-") << QStringList{"|"};
}

void TestFolderSettings::invalidTimesReader()
{
    QFETCH(QString, text);
    QFETCH(QStringList, periods);
    QStringList got;
    for (const InvalidTimesPeriod &p : readInvalidTimesText(text))
        got << p.begin + "|" + p.end;
    QCOMPARE(got, periods);
}

void TestFolderSettings::invalidTimesRoundTrip()
{
    const QString text = QStringLiteral("24.12.2021 18:00-27.12.2021 08:00;01.05.2022 00:00-01.05.2022 23:59");
    QCOMPARE(composeInvalidTimesText(readInvalidTimesText(text)), text);
    QCOMPARE(composeInvalidTimesText({}), QString());
    const QDateTime t = invalidTimesDateTime(QStringLiteral("27.12.2021 08:00"));
    QCOMPARE(t, QDateTime(QDate(2021, 12, 27), QTime(8, 0)));
    QCOMPARE(invalidTimesHalf(t), QStringLiteral("27.12.2021 08:00"));
    QVERIFY(!invalidTimesDateTime(QStringLiteral("27.12.21 08:00")).isValid());
}

QUILLON_TEST(TestFolderSettings)
#include "tst_foldersettings.moc"
