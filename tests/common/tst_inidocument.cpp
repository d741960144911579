// The editor of INI text on its own: the bytes an edit gives, and how a value
// written by hand reads. Its agreement with Qt's own reader and writer is
// held over a corpus in tst_settingsformat.cpp.
#include "common/inidocument.h"
#include "testregistry.h"

#include <QTest>

class TestIniDocument : public QObject
{
    Q_OBJECT
private slots:
    void edits_everyOtherByteStays_data();
    void edits_everyOtherByteStays();
    void valueWrittenByHand_readsInItsEncoding_data();
    void valueWrittenByHand_readsInItsEncoding();
};

// Each row: a text as a person wrote it, read as Qt reads it or a line at a
// time, settings set (an invalid value: removed) in one go, and the bytes then.
void TestIniDocument::edits_everyOtherByteStays_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("lineAtATime");
    QTest::addColumn<QVariantMap>("changes");
    QTest::addColumn<QByteArray>("edited");
    // The edits come in the order of the keys: put in place out of the text's order, they garble it.
    QTest::newRow("two values in place, the keys not in their order")
        << QByteArray("; mine\nvolume=40\ntheme=1\n") << false << QVariantMap{{"volume", 30}, {"theme", 2}}
        << QByteArray("; mine\nvolume=30\ntheme=2\n");
    QTest::newRow("a key under a header that has no values yet")
        << QByteArray("; Site A\n[Geocoordinates]\n[Time]\nStartMin=5\n") << true
        << QVariantMap{{"Geocoordinates/latitude", 50}}
        << QByteArray("; Site A\n[Geocoordinates]\nlatitude=50\n[Time]\nStartMin=5\n");
    QTest::newRow("lines ending in CR alone: a key and a section added")
        << QByteArray("; Site A\r[Time]\rStartMin=5\r") << true
        << QVariantMap{{"Time/StopMin", 7}, {"Geocoordinates/latitude", 50}}
        << QByteArray("; Site A\r[Time]\rStartMin=5\rStopMin=7\r\r[Geocoordinates]\rlatitude=50\r");
    QTest::newRow("a trailing backslash before CR LF ends its line")
        << QByteArray("[Files]\r\nwindSpeedFile=D:\\Wind\\\r\n[Geocoordinates]\r\nlatitude=49.5\r\n") << true
        << QVariantMap{{"Geocoordinates/latitude", 50.5}}
        << QByteArray("[Files]\r\nwindSpeedFile=D:\\Wind\\\r\n[Geocoordinates]\r\nlatitude=50.5\r\n");
    QTest::newRow("a value set and one removed, a comment after each")
        << QByteArray("[General]\na=1 ; one\nb=2 ; two\n") << false << QVariantMap{{"a", QVariant()}, {"b", 3}}
        << QByteArray("[General]\n; one\nb=3 ; two\n");
    QTest::newRow("a UTF-8 value beside the one set stays byte for byte")
        << QByteArray("[Files]\nwindSpeedFile=/daten/S\xc3\xbc"
                      "dhang/wind.txt\n")
        << true << QVariantMap{{"Files/temperaturePrecipitationFile", QStringLiteral("/daten/S\u00fcdhang/wetter.csv")}}
        << QByteArray("[Files]\nwindSpeedFile=/daten/S\xc3\xbc"
                      "dhang/wind.txt\ntemperaturePrecipitationFile=/daten/S\\xfc\\x64hang/wetter.csv\n");
}

void TestIniDocument::edits_everyOtherByteStays()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, lineAtATime);
    QFETCH(QVariantMap, changes);
    IniDocument document(text, lineAtATime ? IniDocument::ValueEnds::AtLineEnd : IniDocument::ValueEnds::AsQt);
    for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
        if (it.value().isValid())
            document.set(it.key(), it.value());
        else
            document.remove(it.key());
    }
    QTEST(document.text(), "edited");
    // The edited text holds what was set, and reads so again.
    const IniDocument edited(document.text(),
                             lineAtATime ? IniDocument::ValueEnds::AtLineEnd : IniDocument::ValueEnds::AsQt);
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        QCOMPARE(edited.settings().value(it.key()).toString(), it.value().toString());
}

// Each row: a value as written into a file, with or without a byte order
// mark, and the text it reads as: UTF-8 where its bytes are UTF-8, each value
// judged on its own; other bytes as Latin-1, as Qt reads them; Qt's escapes as ever.
void TestIniDocument::valueWrittenByHand_readsInItsEncoding_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("path");  // the value of key "p"
    QTest::addColumn<QString>("other"); // the value of key "q"
    QTest::addColumn<QString>("shown"); // the text of "p" as written, as the user is told it
    const QByteArray mark = "\xef\xbb\xbf";
    const QByteArray utf8 = "p=/daten/S\xc3\xbc"
                            "dhang\n";
    const QString south = QStringLiteral("/daten/S\u00fcdhang");
    QTest::newRow("UTF-8 without a byte order mark") << utf8 << south << QString() << south;
    QTest::newRow("UTF-8 after a byte order mark") << mark + '\n' + utf8 << south << QString() << south;
    QTest::newRow("Latin-1") << QByteArray("p=/daten/S\xfc"
                                           "dhang\n")
                             << south << QString() << south;
    QTest::newRow("Latin-1 beside UTF-8: each as it is") << utf8
                                                                + "q=Stra\xdf"
                                                                  "e\n"
                                                         << south << QStringLiteral("Stra\u00dfe") << south;
    QTest::newRow("UTF-8 cut short reads as Latin-1")
        << QByteArray("p=S\xc3\n") << QStringLiteral("S\u00c3") << QString() << QStringLiteral("S\u00c3");
    QTest::newRow("Qt's escapes") << QByteArray("p=/daten/S\\xfc\\x64hang\n") << south << QString()
                                  << QStringLiteral("/daten/S\\xfc\\x64hang");
    QTest::newRow("a key of Latin-1 bytes, as Qt reads it")
        << QByteArray("p=1\nq\xc3\xa9=2\n") << QStringLiteral("1") << QString() << QStringLiteral("1");
}

void TestIniDocument::valueWrittenByHand_readsInItsEncoding()
{
    QFETCH(QByteArray, text);
    const IniDocument document(text);
    QTEST(document.settings().value(QStringLiteral("p")).toString(), "path");
    QTEST(document.settings().value(QStringLiteral("q")).toString(), "other");
    const IniDocument::Value *path = document.lastValueOf(QStringLiteral("p"));
    QVERIFY(path);
    QTEST(document.writtenText(*path), "shown");
}

QUILLON_TEST(TestIniDocument)
#include "tst_inidocument.moc"
