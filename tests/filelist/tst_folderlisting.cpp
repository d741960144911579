#include "testregistry.h"

#include "common/evaluationmode.h"
#include "filelist/folderlisting.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

void touch(const QString &path)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    f.write("x");
}

} // namespace

class TestFolderListing : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void listing_data();
    void listing();
    void listingSortsAsTheFolderDoes();
    void selectionCount_data();
    void selectionCount();

private:
    QString path(const QString &relative) const { return m_dir.path() + QLatin1Char('/') + relative; }
    QTemporaryDir m_dir;
};

void TestFolderListing::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // mixed: recordings in every case of extension, other files, a folder posing as a recording
    QVERIFY(QDir(m_dir.path()).mkpath("mixed/sub.wav"));
    for (const char *name : {"b.WAV", "a.wav", "c.raw", "D.RAW", "notes.txt", "e.wav.bak", "F.Wav"})
        touch(path(QStringLiteral("mixed/") + name));
    QVERIFY(QDir(m_dir.path()).mkpath("text"));
    touch(path("text/readme.txt"));
}

void TestFolderListing::listing_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("names");
    const QStringList all{"a.wav", "b.WAV", "c.raw", "D.RAW", "F.Wav"};
    QTest::newRow("folder mode lists wav and raw by name, case ignored")
        << "mixed" << int(EvaluationMode::Folder) << all;
    QTest::newRow("manual evaluation") << "mixed" << int(EvaluationMode::Manual) << all;
    QTest::newRow("Tavron evaluation") << "mixed" << int(EvaluationMode::Tavron) << all;
    QTest::newRow("review lists wav only")
        << "mixed" << int(EvaluationMode::RecorderReview) << QStringList{"a.wav", "b.WAV", "F.Wav"};
    QTest::newRow("no recordings") << "text" << int(EvaluationMode::Folder) << QStringList();
    QTest::newRow("missing folder") << "gone" << int(EvaluationMode::Folder) << QStringList();
}

void TestFolderListing::listing()
{
    QFETCH(QString, folder);
    QFETCH(int, mode);
    QTEST(listRecordings(path(folder), mode), "names");
}

void TestFolderListing::listingSortsAsTheFolderDoes()
{
    // Names around the letters and beyond ASCII, a hidden one, links to a recording, to a folder and to nothing.
    const QString folder = path("sorted");
    QVERIFY(QDir().mkpath(folder + "/sub.WAV"));
    const QStringList names{"_x.wav", "Zeta.wav",   "alpha.WAV",  "10.wav", "9.wav",   "b-c.raw",    "b_c.raw",
                            "B.raw",  "\u00e4.wav", "\u00c5.wav", "~.wav",  "a b.wav", ".hidden.wav"};
    for (const QString &name : names)
        touch(folder + QLatin1Char('/') + name);
    for (const char *other : {"xwav", "raw", "y.wav.txt", "z.wa"})
        touch(folder + QLatin1Char('/') + other);
    QVERIFY(QFile::link(folder + "/Zeta.wav", folder + "/link.wav"));
    QVERIFY(QFile::link(folder + "/sub.WAV", folder + "/dirlink.wav"));
    QVERIFY(QFile::link(folder + "/gone.wav", folder + "/dead.wav"));
    const QStringList expected =
        QDir(folder).entryList({"*.wav", "*.WAV", "*.raw", "*.RAW"}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    QCOMPARE(expected.size(), names.size()); // the hidden file, the folders and the dead link left out, the link in
    QCOMPARE(listRecordings(folder, EvaluationMode::Folder), expected);
    QCOMPARE(listRecordings(folder, EvaluationMode::RecorderReview),
             QDir(folder).entryList({"*.wav", "*.WAV"}, QDir::Files, QDir::Name | QDir::IgnoreCase));
    // Names that differ in case alone: capitals first, whatever order the folder gives them in.
    const QString twins = path("twins");
    QVERIFY(QDir().mkpath(twins));
    for (const char *name : {"b.wav", "a.wav", "B.wav", "A.wav"})
        touch(twins + QLatin1Char('/') + name);
    QCOMPARE(listRecordings(twins, EvaluationMode::Folder), (QStringList{"A.wav", "a.wav", "B.wav", "b.wav"}));
}

void TestFolderListing::selectionCount_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("text");
    QTest::newRow("two of five") << 2 << 5 << "2 of 5\nitems selected";
    QTest::newRow("none of five") << 0 << 5 << "\n5 items";
    QTest::newRow("the one row") << 1 << 1 << "1 of 1\nitem selected";
}

void TestFolderListing::selectionCount()
{
    QFETCH(int, selected);
    QFETCH(int, rows);
    QTEST(selectionCountText(selected, rows), "text");
}

QUILLON_TEST(TestFolderListing)
#include "tst_folderlisting.moc"
