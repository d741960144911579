#include "testregistry.h"

#include "analysis/recorderresultlookup.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A result line: fields joined by TAB, field 0 the recording's name.
QByteArray line(const QStringList &fields)
{
    return fields.join(QLatin1Char('\t')).toUtf8() + '\n';
}

QStringList fields(const QString &name, const QString &verdict, const QStringList &rest)
{
    return QStringList{name, "2024-06-01", "22:14:03", verdict} + rest;
}

} // namespace

class TestRecorderResultLookup : public QObject
{
    Q_OBJECT

private slots:
    void proposal_data();
    void proposal();
    void proposal_unreadableFile();

private:
    QTemporaryDir m_dir;
};

void TestRecorderResultLookup::proposal_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("recording");
    QTest::addColumn<int>("reviewMode");
    QTest::addColumn<QString>("expected");

    const QStringList groups{"Pipistrelloid", "x", "Nyctaloid", "x", "Ppip", "x", "", "x", "Nnoc"};
    const QByteArray both = line(fields("rec_001.wav", "bat", groups));
    QTest::newRow("groups mapped") << both << "/data/night/rec_001.wav" << 0 << "Pip, Nyc";
    QTest::newRow("species codes skip empty") << both << "/data/night/rec_001.wav" << 1 << "Ppip, Nnoc";
    // Without a first name there is nothing to put a ", " after.
    QTest::newRow("first group empty")
        << line(fields("rec_001.wav", "bat", {"", "x", "Nyctaloid"})) << "/d/rec_001.wav" << 0 << "Nyc";
    QTest::newRow("first species empty")
        << line(fields("rec_001.wav", "bat", {"", "", "", "", "", "", "Pnat"})) << "/d/rec_001.wav" << 1 << "Pnat";
    QTest::newRow("noise") << line(fields("rec_001.wav", "noise", groups)) << "/d/rec_001.wav" << 1 << "No Call";
    QTest::newRow("test") << line(fields("rec_001.wav", "test", {"", "", ""})) << "/d/rec_001.wav" << 0 << "No Call";
    // Fields beyond the line's end count as empty.
    QTest::newRow("seven fields, long model")
        << line(fields("rec_001.wav", "bat", {"Nyctaloid", "x", "y"})) << "/d/rec_001.wav" << 1 << "";
    QTest::newRow("six fields") << line(fields("rec_001.wav", "noise", {"a", "b"})) << "/d/rec_001.wav" << 0 << "";
    // Two species of one group name the group once; the first of two equal codes stays in its place.
    QTest::newRow("group named twice")
        << line(fields("rec_001.wav", "bat", {"Pipistrelloid", "x", "Pipistrelloid"})) << "/d/rec_001.wav" << 0 << "Pip";
    QTest::newRow("species code named twice")
        << line(fields("rec_001.wav", "bat", {"", "", "", "", "Ppip", "x", "Nnoc", "x", "Ppip"})) << "/d/rec_001.wav"
        << 1 << "Ppip, Nnoc";
    QTest::newRow("no matching line") << both << "/d/rec_002.wav" << 0 << "";
    // The recording's own line wins over an earlier one naming a longer name, as a field or at a path's end.
    QTest::newRow("own line wins over a longer name")
        << line(fields("ba.wav", "noise", groups)) + line(fields("a.wav", "bat", groups)) << "/d/a.wav" << 0
        << "Pip, Nyc";
    QTest::newRow("own line as a path")
        << line(fields("11.wav", "noise", groups)) + line(fields("D:\\night\\1.wav", "bat", groups)) << "/d/1.wav"
        << 0 << "Pip, Nyc";
    // A line that holds the name only inside a longer one is another recording's.
    QTest::newRow("only a longer name")
        << line(fields("11.wav", "noise", groups)) + line(fields("D:\\night\\21.wav", "bat", groups)) << "/d/1.wav"
        << 0 << "";
}

void TestRecorderResultLookup::proposal()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, recording);
    QFETCH(int, reviewMode);
    QFETCH(QString, expected);
    QVERIFY(m_dir.isValid());
    const QString path = m_dir.filePath(QStringLiteral("calls_ch1_files.txt"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(content), qint64(content.size()));
    f.close();
    QCOMPARE(RecorderResultLookup::proposal(recording, path, reviewMode), expected);
}

void TestRecorderResultLookup::proposal_unreadableFile()
{
    QVERIFY(m_dir.isValid());
    const QString folder = m_dir.filePath(QStringLiteral("folder"));
    QVERIFY(QDir().mkpath(folder)); // a folder in place of the file
    for (const QString &path : {m_dir.filePath(QStringLiteral("nowhere/calls_ch1_files.txt")), folder, QString()})
        QCOMPARE(RecorderResultLookup::proposal(QStringLiteral("/d/rec_001.wav"), path, 0), QString());
}

QUILLON_TEST(TestRecorderResultLookup)
#include "tst_recorderresultlookup.moc"
