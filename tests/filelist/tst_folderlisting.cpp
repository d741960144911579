#include "testregistry.h"

#include "app/evaluationmode.h"
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

class TestFolderListing : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void listing_data();
    void listing();
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
