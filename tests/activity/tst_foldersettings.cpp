#include "testregistry.h"

#include "activity/charts/windseries.h"
#include "activity/foldersettings.h"
#include "activity/invalidtimestext.h"
#include "childprocess.h"
#include "filesizelimit.h"
#include "localzone.h"
#include "unusabletemporaryfolder.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

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
    void slipNamedWithHowToWriteIt_data();
    void slipNamedWithHowToWriteIt();
    void textWrittenPlainly_readsAsItStands_data();
    void textWrittenPlainly_readsAsItStands();
    void storeBesideValuesNotRead_data();
    void storeBesideValuesNotRead();
    void storeOneSetting_everyOtherLineStays_data();
    void storeOneSetting_everyOtherLineStays();
    void fullDisk_fileStays();
    void fileNotReadWhole_notWrittenOver();
    void parseOutOfMemory_readsAsDefaultsFileStays();
    void fileIsAFifo_readsAtOnceNeverWritten();
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

// Each row: a file from another machine, a damaged disk or an editor, what
// the dialog and the wind chart read of it, and each value that is not read
// (its key and its text as the user is told). Reading leaves the file as it was.
void TestFolderSettings::valueNotReadWhole_readsAsItsDefault_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("windSeparator2");
    QTest::addColumn<QStringList>("unread");
    const QByteArray hugeList = "@Variant(\\0\\0\\0\\t\\x7f\\xff\\xff\\xff)"; // Qt's decoder throws on it
    const QString zone = QString::fromLatin1(machineZoneForTest());
    // The defaults, but for the fields (by their place in dump()) given.
    const auto settings = [&zone](std::initializer_list<std::pair<int, const char *>> fields) {
        QStringList s = QStringLiteral("51|9|1|1|0|0|0|%1|01.01|31.12|00:00|00:00|0|0|").arg(zone).split('|');
        for (const auto &[field, value] : fields)
            s[field] = QLatin1String(value);
        return s.join('|');
    };
    enum { Lat, Lon, Dst, Center, Twilight, Period, Interval, Zone, Begin, End, Start, Stop, StartMin };
    const QString semicolon = QStringLiteral("Semicolon");
    QTest::newRow("a list claiming 2^31-1 entries")
        << "[Time]\nclassColors=" + hugeList + "\nStartMin=45\n"
        << settings({{StartMin, "45"}}) << semicolon << QStringList{"classColors = " + hugeList};
    QTest::newRow("a float cut short") << QByteArray("[Geocoordinates]\nlatitude=@Variant(\\0\\0\\0\\x87\\x41)\n"
                                                     "longitude=7.5\n")
                                       << settings({{Lon, "7.5"}}) << semicolon
                                       << QStringList{"latitude = @Variant(\\0\\0\\0\\x87\\x41)"};
    QTest::newRow("a latitude that is no number") << QByteArray("[Geocoordinates]\nlatitude=north\n") << settings({})
                                                  << semicolon << QStringList{"latitude = north"};
    QTest::newRow("the wind chart's beside a huge list")
        << "[WindDataSettings]\nseparator2=Space\nbroken=" + hugeList + "\n"
        << settings({}) << QStringLiteral("Space") << QStringList{"broken = " + hugeList};
    // Written by hand: texts that read, but not as their keys'.
    QTest::newRow("a number with a letter after it")
        << QByteArray("[Geocoordinates]\nlatitude=52e\nlongitude=7.5\n") << settings({{Lon, "7.5"}}) << semicolon
        << QStringList{"latitude = 52e"};
    QTest::newRow("a latitude past the box's")
        << QByteArray("[Geocoordinates]\nlatitude=75\n") << settings({}) << semicolon << QStringList{"latitude = 75"};
    QTest::newRow("a date without its year")
        << QByteArray("[Time]\nEndDate=31.12.\nStartMin=45\n") << settings({{StartMin, "45"}}) << semicolon
        << QStringList{"EndDate = 31.12."};
    QTest::newRow("a time without its minutes") << QByteArray("[Time]\nStartRecording=20:\n") << settings({})
                                                << semicolon << QStringList{"StartRecording = 20:"};
    QTest::newRow("minutes in letters") << QByteArray("[Time]\nStartMin=abc\n") << settings({}) << semicolon
                                        << QStringList{"StartMin = abc"};
    QTest::newRow("a twilight the box does not offer")
        << QByteArray("[Time]\nTwilight=9\n") << settings({}) << semicolon << QStringList{"Twilight = 9"};
    QTest::newRow("a truth in words") << QByteArray("[Time]\ndaylightSaving=no\n") << settings({}) << semicolon
                                      << QStringList{"daylightSaving = no"};
    QTest::newRow("a zone cut short") << QByteArray("[Time]\nTimeZone=@ByteArray(Europe/Berl\n") << settings({})
                                      << semicolon << QStringList{"TimeZone = @ByteArray(Europe/Berl"};
    QTest::newRow("an empty zone") << QByteArray("[Time]\nTimeZone=\nStartMin=45\n") << settings({{StartMin, "45"}})
                                   << semicolon << QStringList{"TimeZone = "};
    // At each end of what the boxes offer.
    QTest::newRow("the last twilight") << QByteArray("[Time]\nTwilight=3\n") << settings({{Twilight, "3"}}) << semicolon
                                       << QStringList();
    QTest::newRow("a twilight past the last")
        << QByteArray("[Time]\nTwilight=4\n") << settings({}) << semicolon << QStringList{"Twilight = 4"};
    QTest::newRow("the most minutes") << QByteArray("[Time]\nStartMin=360\n") << settings({{StartMin, "360"}})
                                      << semicolon << QStringList();
    QTest::newRow("a minute past the most")
        << QByteArray("[Time]\nStartMin=361\n") << settings({}) << semicolon << QStringList{"StartMin = 361"};
    QTest::newRow("the last quantity of days")
        << QByteArray("[Time]\nintervalDays=7\n") << settings({{Interval, "7"}}) << semicolon << QStringList();
    QTest::newRow("a quantity past the last")
        << QByteArray("[Time]\nintervalDays=8\n") << settings({}) << semicolon << QStringList{"intervalDays = 8"};
    QTest::newRow("the easternmost longitude")
        << QByteArray("[Geocoordinates]\nlongitude=180\n") << settings({{Lon, "180"}}) << semicolon << QStringList();
    QTest::newRow("a longitude past it") << QByteArray("[Geocoordinates]\nlongitude=181\n") << settings({}) << semicolon
                                         << QStringList{"longitude = 181"};
    QTest::newRow("truth values in capitals") << QByteArray("[Time]\ndaylightSaving=FALSE\ncenterNight=True\n")
                                              << settings({{Dst, "0"}}) << semicolon << QStringList();
    QTest::newRow("a key in another case, a key misspelt")
        << QByteArray("[Geocoordinates]\nLatitude=49.5\nlongtitude=8.5\n") << settings({}) << semicolon
        << QStringList{"Latitude = 49.5: no setting of this name: it is latitude in [Geocoordinates]",
                       "longtitude = 8.5: no setting of this name: it may be longitude in [Geocoordinates]"};
    QTest::newRow("a section in another case") << QByteArray("[time]\nBeginDate=01.05.21\n") << settings({})
                                               << semicolon << QStringList{"BeginDate = 01.05.21"};
    QTest::newRow("a section of one's own")
        << QByteArray("[Site]\nname=the old mill pond\n") << settings({}) << semicolon << QStringList();
    // A slip on one line stays on it: Qt's reader would carry the value on
    // over every line after it, and read those keys as missing.
    QTest::newRow("a stray quote") << QByteArray("[Time]\nEndDate=\"30.09.21\nStartRecording=20:00\n"
                                                 "StopRecording=06:00\nTwilight=1\n; the recorder's clock\n")
                                   << settings({{End, "30.09"}, {Start, "20:00"}, {Stop, "06:00"}, {Twilight, "1"}})
                                   << semicolon << QStringList();
    QTest::newRow("a folder ending in a backslash above a section")
        << QByteArray("[Files]\nwindSpeedFile=D:\\Wind\\\n[Geocoordinates]\nlatitude=49.5\nlongitude=8.25\n")
        << settings({{Lat, "49.5"}, {Lon, "8.25"}}) << semicolon << QStringList();
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
    // Each line as the user is told it, or as much of it as the row gives.
    QFETCH(QStringList, unread);
    const QStringList told = unreadValues(dir.path());
    QCOMPARE(told.size(), unread.size());
    for (int i = 0; i < told.size(); ++i)
        QVERIFY2(told.at(i) == unread.at(i) || told.at(i).startsWith(unread.at(i) + QLatin1String(": ")),
                 qPrintable(told.at(i)));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), file);
}

// Each row: a slip of each kind, and the whole line that names it: the text
// as written and how to write the value, or what is wrong with the key.
void TestFolderSettings::slipNamedWithHowToWriteIt_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("said");
    QTest::newRow("a number with a decimal comma")
        << QByteArray("[Geocoordinates]\nlatitude=49,78\n")
        << "latitude = 49,78: a number from -70 to 70 with a decimal point, such as 49.5";
    QTest::newRow("a whole number") << QByteArray("[Time]\nStartMin=half\n")
                                    << "StartMin = half: a whole number from -360 to 360";
    QTest::newRow("a truth value") << QByteArray("[Time]\ncenterNight=yes\n") << "centerNight = yes: true or false";
    QTest::newRow("a date of one digit") << QByteArray("[Time]\nBeginDate=1.5.21\n")
                                         << "BeginDate = 1.5.21: a date as dd.MM.yy, two digits each, such as 01.05.21";
    QTest::newRow("a time with seconds")
        << QByteArray("[Time]\nStartRecording=20:30:00\n")
        << "StartRecording = 20:30:00: a time as hh:mm, such as 20:30: the file holds no seconds, though the box "
           "shows them";
    QTest::newRow("a zone") << QByteArray("[Time]\nTimeZone=Mars/Olympus\n")
                            << "TimeZone = Mars/Olympus: a time zone, such as Europe/Berlin";
    QTest::newRow("a text made a list by quotes")
        << QByteArray("[Files]\nwindSpeedFile=\"/data/wind\", 2024.txt\n")
        << "windSpeedFile = \"/data/wind\", 2024.txt: a text, in quotes where it holds \",\" or \";\", such as \",\"";
    QTest::newRow("a text cut by a comment")
        << QByteArray("[Time]\ninvalidTimes=01.06.2022 22:00-02.06.2022 04:00;10.06.2022 21:30-11.06.2022 05:00\n")
        << "invalidTimes = 01.06.2022 22:00-02.06.2022 04:00: the rest of its line, after \";\", is a comment: put "
           "the whole value in quotes";
    QTest::newRow("a binary value under a key of one's own")
        << QByteArray("[Time]\nclassColors=@Variant(\\0\\0\\0\\x87\\x41)\n")
        << "classColors = @Variant(\\0\\0\\0\\x87\\x41): no setting of this name in [Time]";
    QTest::newRow("a binary value in a section of one's own")
        << QByteArray("[Site]\npond=@Variant(\\0\\0\\0\\x87\\x41)\n")
        << "pond = @Variant(\\0\\0\\0\\x87\\x41): a binary value of a kind Quillon never stores here";
    QTest::newRow("a key no setting has") << QByteArray("[WindDataSettings]\nstation=Hohe Warte\n")
                                          << "station = Hohe Warte: no setting of this name in [WindDataSettings]";
    QTest::newRow("a key under a general header") << QByteArray("[General]\nTwilight=2\n")
                                                  << "Twilight = 2: no setting of this name in [General]: it is "
                                                     "Twilight in [Time]";
}

void TestFolderSettings::slipNamedWithHowToWriteIt()
{
    QFETCH(QByteArray, file);
    QTemporaryDir dir;
    writeFileText(dir.path(), file);
    QTEST(unreadValues(dir.path()).join('\n'), "said");
}

// A text of the settings written plainly with a comma in it, which Qt's reader
// would make a list of, reads as it stands; one in quotes, as Qt writes it, too.
void TestFolderSettings::textWrittenPlainly_readsAsItStands_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("said"); // whether the box names a slip
    QTest::newRow("the default decimal separator")
        << QByteArray("[WindDataSettings]\ndecimalSeparator=,\n[Files]\nwindSpeedFile=/data/wind.txt\n") << ","
        << "/data/wind.txt" << false;
    QTest::newRow("in quotes") << QByteArray("[WindDataSettings]\ndecimalSeparator=\".\"\n") << "."
                               << "" << false;
    QTest::newRow("a path with commas and blanks")
        << QByteArray("[Files]\nwindSpeedFile = /data/Wind, 2024/a,b.txt \n[WindDataSettings]\ndecimalSeparator=.\n")
        << "."
        << "/data/Wind, 2024/a,b.txt" << false;
    // A list Qt reads from quotes is not a text: its setting reads as its default.
    QTest::newRow("a list") << QByteArray("[Files]\nwindSpeedFile=\"/data/wind\", 2024.txt\n") << ","
                            << "" << true;
}

void TestFolderSettings::textWrittenPlainly_readsAsItStands()
{
    QFETCH(QByteArray, file);
    QTemporaryDir dir;
    writeFileText(dir.path(), file);
    QTEST(readFolderSetting(dir.path(), windDecimalSeparator), "separator");
    QTEST(readFolderSetting(dir.path(), windSpeedFile), "path");
    QTEST(!unreadValues(dir.path()).isEmpty(), "said");
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
    QCOMPARE(fileText(dir.path()).toLatin1(), "[Geocoordinates]\nlatitude=48.5\nlongitude=7.25\n" + notRead);
    QVERIFY(!unreadValues(dir.path()).isEmpty());
}

// Each row: a file as a person writes it, one setting stored, and the file
// then: that setting's line, or a line for it, is all that changes.
void TestFolderSettings::storeOneSetting_everyOtherLineStays_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QByteArray>("stored");
    const QByteArray windows = "; Site A, the pond\r\n[Geocoordinates]\r\nlatitude = 49.5 ; GPS\r\n\r\n"
                               "[Time]\r\nBeginDate=01.05.21\r\n";
    QTest::newRow("a value between blanks, a comment after it, CR LF")
        << windows << "latitude" << QVariant(50.25)
        << QByteArray("; Site A, the pond\r\n[Geocoordinates]\r\nlatitude = 50.25 ; GPS\r\n\r\n"
                      "[Time]\r\nBeginDate=01.05.21\r\n");
    QTest::newRow("a key the file lacks, after the last of its section")
        << windows << "longitude" << QVariant(8.25)
        << QByteArray("; Site A, the pond\r\n[Geocoordinates]\r\nlatitude = 49.5 ; GPS\r\nlongitude=8.25\r\n\r\n"
                      "[Time]\r\nBeginDate=01.05.21\r\n");
    QTest::newRow("a section the file lacks, at its end, after a last line without its end")
        << QByteArray("; by hand\n[Time]\nBeginDate=01.05.21") << "latitude" << QVariant(50.0)
        << QByteArray("; by hand\n[Time]\nBeginDate=01.05.21\n\n[Geocoordinates]\nlatitude=50\n");
    QTest::newRow("a key the file lacks, after a last line without its end")
        << QByteArray("[Geocoordinates]\nlatitude=49.5") << "longitude" << QVariant(8.25)
        << QByteArray("[Geocoordinates]\nlatitude=49.5\nlongitude=8.25\n");
    QTest::newRow("a byte order mark and a path with an umlaut")
        << QByteArray("\xef\xbb\xbf; S\xc3\xbc"
                      "dhang\n[Files]\ntemperaturePrecipitationFile=@S\xc3\xbc"
                      "dhang.csv\n[Geocoordinates]\nlatitude=49.5\n")
        << "longitude" << QVariant(8.25)
        << QByteArray("\xef\xbb\xbf; S\xc3\xbc"
                      "dhang\n[Files]\ntemperaturePrecipitationFile=@S\xc3\xbc"
                      "dhang.csv\n[Geocoordinates]\nlatitude=49.5\nlongitude=8.25\n");
    QTest::newRow("a stray quote and the lines after it")
        << QByteArray("[Time]\nEndDate=\"30.09.21\nStartRecording=20:00\n; the recorder's clock\nTwilight=1\n")
        << "StartMin" << QVariant(30)
        << QByteArray("[Time]\nEndDate=\"30.09.21\nStartRecording=20:00\n; the recorder's clock\nTwilight=1\n"
                      "StartMin=30\n");
    QTest::newRow("a folder ending in a backslash above a section")
        << QByteArray("[Files]\nwindSpeedFile=D:\\Wind\\\n[Geocoordinates]\nlatitude=49.5\n") << "latitude"
        << QVariant(50.5) << QByteArray("[Files]\nwindSpeedFile=D:\\Wind\\\n[Geocoordinates]\nlatitude=50.5\n");
    QTest::newRow("a key standing twice: the one read")
        << QByteArray("[Time]\nStartMin=10\n\nStartMin=20\n") << "StartMin" << QVariant(30)
        << QByteArray("[Time]\nStartMin=10\n\nStartMin=30\n");
    // The box shows it as 0.0000: stored as 0, it stays as written.
    QTest::newRow("a longitude just west of Greenwich")
        << QByteArray("[Geocoordinates]\nlongitude=-0.000012\n") << "longitude" << QVariant(0.0)
        << QByteArray("[Geocoordinates]\nlongitude=-0.000012\n");
    QTest::newRow("an empty zone") << QByteArray("[Time]\nTimeZone=\n; Tokyo\n") << "TimeZone"
                                   << QVariant(QByteArray("Asia/Tokyo"))
                                   << QByteArray("[Time]\nTimeZone=@ByteArray(Asia/Tokyo)\n; Tokyo\n");
}

void TestFolderSettings::storeOneSetting_everyOtherLineStays()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    const QHash<QString, Key> keys{{"latitude", keyOf(latitude)},
                                   {"longitude", keyOf(longitude)},
                                   {"StartMin", keyOf(startMin)},
                                   {"TimeZone", keyOf(timeZone)}};
    QTemporaryDir dir;
    writeFileText(dir.path(), file);
    const QString before = readFolderSetting(dir.path(), temperaturePrecipitationFile);
    // A copy named as Qt names its save files stays: a person may have named it so.
    const QString copy = filePath(dir.path()) + QStringLiteral(".MyCopy");
    QVERIFY(QFile::copy(filePath(dir.path()), copy));
    setValue(dir.path(), keys.value(key), value, QVariant());
    QFile f(filePath(dir.path()));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QTEST(f.readAll(), "stored");
    QCOMPARE(readFolderSetting(dir.path(), temperaturePrecipitationFile), before);
    QVERIFY(QFile::exists(copy));
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

// A file that does not read whole (Qt reads nothing of one of 2 GiB) reads as
// the defaults and is never written over with them.
void TestFolderSettings::fileNotReadWhole_notWrittenOver()
{
    QTemporaryDir dir;
    QFile f(filePath(dir.path()));
    const qint64 huge = qint64(1) << 31;
    QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(huge)); // sparse: no room taken
    f.close();
    QCOMPARE(readFolderSetting(dir.path(), latitude), 51.0);
    writeFolderSetting(dir.path(), latitude, 48.5);
    QCOMPARE(QFileInfo(f).size(), huge);
}

// A file whose values take more memory than is left (some 16 times its 3.9 MB
// once parsed, with 16 MB left) reads as the defaults, and is never written
// over with them.
void TestFolderSettings::parseOutOfMemory_readsAsDefaultsFileStays()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("a sanitizer maps more address space than a memory limit leaves");
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    QSKIP("a sanitizer maps more address space than a memory limit leaves");
#endif
#endif
    QTemporaryDir dir;
    QByteArray text = "[Geocoordinates]\nlatitude=49.5\n[Site]\n";
    for (int i = 0; i < 400000; ++i)
        text += 'k' + QByteArray::number(i) + "=1\n";
    writeFileText(dir.path(), text);
    const int code = exitCodeInChild([&] {
        if (!limitMemoryTo(qint64(16) << 20))
            return 127;
        if (readFolderSetting(dir.path(), latitude) != latitude.fallback)
            return 2;
        writeFolderSetting(dir.path(), latitude, 48.5);
        return 0;
    });
    QCOMPARE(code, 0);
    QFile f(filePath(dir.path()));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), text);
}

// A FIFO named as the file: opened for reading as files are, it would wait
// for a writer, and the dialog would never open. It reads at once as a file
// that cannot be read, and a write leaves it as it is.
void TestFolderSettings::fileIsAFifo_readsAtOnceNeverWritten()
{
    QTemporaryDir dir;
    const QByteArray fifo = QFile::encodeName(filePath(dir.path()));
    QVERIFY(mkfifo(fifo.constData(), 0600) == 0);
    const int code = exitCodeInChild(
        [&] {
            if (readFolderSetting(dir.path(), latitude) != latitude.fallback)
                return 2;
            writeFolderSetting(dir.path(), latitude, 48.5);
            return 0;
        },
        20);
    QCOMPARE(code, 0);
    struct stat status = {};
    QVERIFY(stat(fifo.constData(), &status) == 0 && S_ISFIFO(status.st_mode));
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
