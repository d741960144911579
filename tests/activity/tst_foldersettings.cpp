#include "testregistry.h"

#include "activity/charts/windseries.h"
#include "activity/foldersettings.h"
#include "activity/invalidtimestext.h"
#include "filesizelimit.h"
#include "localzone.h"
#include "unusabletemporaryfolder.h"

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
    void sectionInsideTheGroup_data();
    void sectionInsideTheGroup();
    void closeWithoutChange_handWrittenLinesStay();
    void valueNotReadWhole_readsAsItsDefault_data();
    void valueNotReadWhole_readsAsItsDefault();
    void storeBesideValuesNotRead_data();
    void storeBesideValuesNotRead();
    void fullDisk_fileStays();
    void temporaryFolderUnusable_fileReadAndWritten();
    void invalidTimesReader_data();
    void invalidTimesReader();
    void invalidTimesRoundTrip();

private:
    static void writeFileText(const QString &folder, const QByteArray &text)
    {
        QFile f(filePath(folder));
        if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
            qFatal("cannot write %s", qPrintable(f.fileName()));
    }
    static QString fileText(const QString &folder)
    {
        QFile f(filePath(folder));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    // Every field in one line; of the dates only day and month carry meaning.
    static QString dump(const FolderTimeSettings &s)
    {
        return QStringList{
            QString::number(s.latitude),     QString::number(s.longitude),       QString::number(s.daylightSaving),
            QString::number(s.centerNight),  QString::number(s.twilight),        QString::number(s.periodType),
            QString::number(s.intervalDays), QString::fromLatin1(s.timeZone),    s.beginDate.toString("dd.MM"),
            s.endDate.toString("dd.MM"),     s.startRecording.toString("hh:mm"), s.stopRecording.toString("hh:mm"),
            QString::number(s.startMin),     QString::number(s.stopMin),         s.invalidTimes}
            .join('|');
    }
};

void TestFolderSettings::missingFileGivesDefaults()
{
    const QByteArray machineZone = machineZoneForTest();
    QTemporaryDir dir;
    QCOMPARE(dump(readFolderTimeSettings(dir.path())),
             QStringLiteral("51|9|1|1|0|0|0|%1|01.01|31.12|00:00|00:00|0|0|").arg(QString::fromLatin1(machineZone)));
    QVERIFY(!readFolderSetting(dir.path(), logDays));
    // Reading leaves no file behind.
    QVERIFY(!QFile::exists(filePath(dir.path())));
}

void TestFolderSettings::timeSettingsRoundTrip()
{
    QTemporaryDir dir;
    writeFolderSetting(dir.path(), invalidTimes, QStringLiteral("01.06.2022 22:00-02.06.2022 04:00"));
    const FolderTimeSettings w{-33.8688,
                               151.2093,
                               false,
                               false,
                               3,
                               1,
                               7,
                               "America/New_York",
                               QDate(2015, 4, 15),
                               QDate(2015, 9, 30),
                               QTime(21, 30),
                               QTime(5, 45),
                               -30,
                               360,
                               QStringLiteral("never written")};
    writeFolderTimeSettings(dir.path(), w);
    QCOMPARE(dump(readFolderTimeSettings(dir.path())),
             QStringLiteral("-33.8688|151.209|0|0|3|1|7|America/New_York|15.04|30.09|21:30|05:45|-30|360|"
                            "01.06.2022 22:00-02.06.2022 04:00"));
    const QString text = fileText(dir.path());
    QVERIFY2(text.contains("TimeZone=@ByteArray(America/New_York)"), qPrintable(text));
    QVERIFY2(text.contains("BeginDate=15.04.15") && text.contains("StopRecording=05:45"), qPrintable(text));
}

void TestFolderSettings::otherKeysRoundTrip()
{
    QTemporaryDir dir;
    const QString d = dir.path();
    for (const auto &key : {logDays, logMonth, logNight, logTemp, logPrec, logWind, windConsiderDaylightSaving}) {
        writeFolderSetting(d, key, !key.fallback);
        QCOMPARE(readFolderSetting(d, key), !key.fallback);
    }
    const std::pair<FolderSetting<QString>, QString> texts[] = {
        {temperaturePrecipitationFile, "/data/weather log; 2022.csv"},
        {windSpeedFile, "/data/wind.txt"},
        {windDateFormat, "yyyy-mm-dd"},
        {windTimeFormat, "hh-mm-ss"},
        {windDecimalSeparator, "."},
        {windSeparator1, "Tabulator"},
        {windSeparator2, "Space"},
        {windDateTimeDefinition, "Round"}};
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
    writeFileText(dir.path(),
                  "[Geocoordinates]\nlatitude=\"48.5\"\nlongitude=-3.25\n"
                  "[Time]\nTimeZone=Asia/Tokyo\nBeginDate=\"15.04.21\"\nEndDate=31.02.21\nStartRecording=\"21:30\"\n"
                  "daylightSaving=false\nTwilight=2\n"
                  "invalidTimes=\"01.06.2022 22:00-02.06.2022 04:00;10.06.2022 21:30-11.06.2022 05:00\"\n");
    // The end date names no day: it reads as its default.
    const FolderTimeSettings s = readFolderTimeSettings(dir.path());
    QCOMPARE(dump(s), QStringLiteral("48.5|-3.25|0|1|2|0|0|Asia/Tokyo|15.04|31.12|21:30|00:00|0|0|"
                                     "01.06.2022 22:00-02.06.2022 04:00;10.06.2022 21:30-11.06.2022 05:00"));
}

void TestFolderSettings::sectionInsideTheGroup_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::newRow("slash") << QByteArray("[Time/A]");
    QTest::newRow("backslash") << QByteArray("[Time\\A]");
}

void TestFolderSettings::sectionInsideTheGroup()
{
    QFETCH(QByteArray, section);
    QTemporaryDir dir;
    writeFileText(dir.path(), "[Time]\nStartMin=45\nBeginDate=15.04.21\nlogDays=true\n" + section + "\nx=1\n");
    const FolderTimeSettings s = readFolderTimeSettings(dir.path());
    QCOMPARE(s.startMin, 45);
    QCOMPARE(s.beginDate.toString("dd.MM"), QStringLiteral("15.04"));
    QVERIFY(readFolderSetting(dir.path(), logDays));
    // The dialog's Close writes back what it read: the stored values stay.
    writeFolderTimeSettings(dir.path(), s);
    const QString text = fileText(dir.path());
    QVERIFY2(text.contains("StartMin=45") && text.contains("BeginDate=15.04.21"), qPrintable(text));
}

// Qt rewrites the whole file at a write, in its own form: "[Time/A]" would
// become "A\x=1" under [Time], and the comment would go.
void TestFolderSettings::closeWithoutChange_handWrittenLinesStay()
{
    QTemporaryDir dir;
    writeFolderTimeSettings(dir.path(), readFolderTimeSettings(dir.path()));
    QFile f(filePath(dir.path()));
    QVERIFY(f.open(QIODevice::Append));
    f.write("[Time/A]\nx=1\n; the recorder's own clock\n");
    f.close();
    const QString before = fileText(dir.path());
    writeFolderTimeSettings(dir.path(), readFolderTimeSettings(dir.path()));
    QCOMPARE(fileText(dir.path()), before);
}

// Each row: a file from another machine or a damaged disk, what the dialog
// and the wind chart read of it. Reading leaves the file as it was.
void TestFolderSettings::valueNotReadWhole_readsAsItsDefault_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("windSeparator2");
    const QByteArray hugeList = "@Variant(\\0\\0\\0\\t\\x7f\\xff\\xff\\xff)"; // Qt's decoder throws on it
    const QString zone = QString::fromLatin1(machineZoneForTest());
    // The defaults but for the coordinates and the start minutes.
    const auto settings = [&zone](const char *coordinates, int startMin) {
        return QStringLiteral("%1|1|1|0|0|0|%2|01.01|31.12|00:00|00:00|%3|0|")
            .arg(QLatin1String(coordinates), zone)
            .arg(startMin);
    };
    QTest::newRow("a list claiming 2^31-1 entries") << "[Time]\nclassColors=" + hugeList + "\nStartMin=45\n"
                                                    << settings("51|9", 45) << QStringLiteral("Semicolon");
    QTest::newRow("a float cut short") << QByteArray("[Geocoordinates]\nlatitude=@Variant(\\0\\0\\0\\x87\\x41)\n"
                                                     "longitude=7.5\n")
                                       << settings("51|7.5", 0) << QStringLiteral("Semicolon");
    QTest::newRow("a latitude that is no number")
        << QByteArray("[Geocoordinates]\nlatitude=north\n") << settings("51|9", 0) << QStringLiteral("Semicolon");
    QTest::newRow("the wind chart's beside a huge list")
        << "[WindDataSettings]\nseparator2=Space\nbroken=" + hugeList + "\n"
        << settings("51|9", 0) << QStringLiteral("Space");
    // Written by hand: texts that read, but not as their keys'.
    QTest::newRow("a number with a letter after it") << QByteArray("[Geocoordinates]\nlatitude=52e\nlongitude=7.5\n")
                                                     << settings("51|7.5", 0) << QStringLiteral("Semicolon");
    QTest::newRow("a latitude past the box's")
        << QByteArray("[Geocoordinates]\nlatitude=75\n") << settings("51|9", 0) << QStringLiteral("Semicolon");
    QTest::newRow("a date without its year")
        << QByteArray("[Time]\nEndDate=31.12.\nStartMin=45\n") << settings("51|9", 45) << QStringLiteral("Semicolon");
    QTest::newRow("a time without its minutes")
        << QByteArray("[Time]\nStartRecording=20:\n") << settings("51|9", 0) << QStringLiteral("Semicolon");
    QTest::newRow("minutes in letters") << QByteArray("[Time]\nStartMin=abc\n") << settings("51|9", 0)
                                        << QStringLiteral("Semicolon");
    QTest::newRow("a twilight the box does not offer")
        << QByteArray("[Time]\nTwilight=9\n") << settings("51|9", 0) << QStringLiteral("Semicolon");
    QTest::newRow("a truth in words") << QByteArray("[Time]\ndaylightSaving=no\n") << settings("51|9", 0)
                                      << QStringLiteral("Semicolon");
    QTest::newRow("a zone cut short") << QByteArray("[Time]\nTimeZone=@ByteArray(Europe/Berl\n") << settings("51|9", 0)
                                      << QStringLiteral("Semicolon");
}

void TestFolderSettings::valueNotReadWhole_readsAsItsDefault()
{
    QFETCH(QByteArray, file);
    QTemporaryDir dir;
    QFile f(filePath(dir.path()));
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(file) == file.size());
    f.close();
    QTEST(dump(readFolderTimeSettings(dir.path())), "settings");
    QTEST(windDataSettingsOf(dir.path()).format.separator2, "windSeparator2");
    QVERIFY(holdsUnreadableValues(dir.path()));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), file);
}

// Each row: values that are not read, beside a latitude that is. A setting
// stored beside them is kept, the latitude stays, and each of them stays as
// written (no '@' doubled), still not read, until its own setting is stored.
void TestFolderSettings::storeBesideValuesNotRead_data()
{
    QTest::addColumn<QByteArray>("notRead");
    QTest::newRow("a list claiming 2^31-1 entries")
        << QByteArray("[Time]\nclassColors=@Variant(\\0\\0\\0\\t\\x7f\\xff\\xff\\xff)\n");
    QTest::newRow("a float cut short") << QByteArray("[Time]\nStartMin=@Variant(\\0\\0\\0\\x87\\x41)\n");
    QTest::newRow("a zone cut short beside minutes in letters")
        << QByteArray("[Time]\nTimeZone=@ByteArray(Europe/Berl\nStartMin=abc\n");
    QTest::newRow("a date without its year, quoted") << QByteArray("[Time]\nEndDate=\"31.12.\"\n");
}

void TestFolderSettings::storeBesideValuesNotRead()
{
    QFETCH(QByteArray, notRead);
    QTemporaryDir dir;
    writeFileText(dir.path(), "[Geocoordinates]\nlatitude=48.5\n" + notRead);
    writeFolderSetting(dir.path(), longitude, 7.25);
    QCOMPARE(readFolderSetting(dir.path(), longitude), 7.25);
    QCOMPARE(readFolderSetting(dir.path(), latitude), 48.5);
    const QString text = fileText(dir.path());
    for (const QByteArray &line : notRead.split('\n'))
        QVERIFY2(text.contains(QString::fromLatin1(line)), qPrintable(text));
    QVERIFY2(!text.contains(QStringLiteral("@@")), qPrintable(text));
    QVERIFY(holdsUnreadableValues(dir.path()));
}

// A folder's file meets a full disk as every whole file does.
void TestFolderSettings::fullDisk_fileStays()
{
    QTemporaryDir dir;
    writeFolderSetting(dir.path(), latitude, 48.5);
    const QString before = fileText(dir.path());
    {
        FileSizeLimit disk(1024);
        QVERIFY(disk.isSet());
        writeFolderSetting(dir.path(), invalidTimes, QString(1500, QLatin1Char('x')));
    }
    QCOMPARE(fileText(dir.path()), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{fileName});
}

// The file needs nothing but itself: no temporary folder, no room elsewhere.
void TestFolderSettings::temporaryFolderUnusable_fileReadAndWritten()
{
    QTemporaryDir dir;
    writeFileText(dir.path(), "[Geocoordinates]\nlatitude=49.5\n[Time]\nTimeZone=@ByteArray(Europe/Berlin)\n");
    UnusableTemporaryFolder temporary;
    QVERIFY(temporary.isSet());
    QCOMPARE(readFolderSetting(dir.path(), latitude), 49.5);
    QCOMPARE(readFolderSetting(dir.path(), timeZone), QByteArray("Europe/Berlin"));
    writeFolderSetting(dir.path(), longitude, 8.25);
    QCOMPARE(readFolderSetting(dir.path(), longitude), 8.25);
    QCOMPARE(readFolderSetting(dir.path(), latitude), 49.5);
}

void TestFolderSettings::invalidTimesReader_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("periods"); // "begin|end"
    const QString a = QStringLiteral("01.06.2022 22:00"), b = QStringLiteral("02.06.2022 04:00");
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("one period") << a + "-" + b << QStringList{a + "|" + b};
    QTest::newRow("end before begin kept") << b + "-" + a << QStringList{b + "|" + a};
    QTest::newRow("part without dash skipped") << a + ";" + a + "-" + b << QStringList{a + "|" + b};
    QTest::newRow("empty parts skipped") << ";" + a + "-" + b + ";;" << QStringList{a + "|" + b};
    QTest::newRow("half that does not parse kept") << "x-" + b << QStringList{"x|" + b};
    QTest::newRow("second dash ends the end") << a + "-" + b + "-junk" << QStringList{a + "|" + b};
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
    const QDateTime t = invalidTimesReading(QStringLiteral("27.12.2021 08:00"));
    QCOMPARE(t, QDateTime(QDate(2021, 12, 27), QTime(8, 0), Qt::UTC));
    QCOMPARE(invalidTimesHalf(t), QStringLiteral("27.12.2021 08:00"));
    QVERIFY(!invalidTimesReading(QStringLiteral("27.12.21 08:00")).isValid());
}

QUILLON_TEST(TestFolderSettings)
#include "tst_foldersettings.moc"
