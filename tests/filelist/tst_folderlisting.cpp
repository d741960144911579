#include "testregistry.h"

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
    void recordingPath_data();
    void recordingPath();
    void countText_data();
    void countText();
    void progress_data();
    void progress();
    void dropPlan_data();
    void dropPlan();
    void dropCollection_data();
    void dropCollection();
    void commandLine_data();
    void commandLine();

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
    QVERIFY(QDir(m_dir.path()).mkpath("other"));
    touch(path("other/z.wav"));
}

void TestFolderListing::listing_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("names");
    const QStringList all{"a.wav", "b.WAV", "c.raw", "D.RAW", "F.Wav"};
    QTest::newRow("folder mode lists wav and raw by name, case ignored") << "mixed" << 1 << all;
    QTest::newRow("manual evaluation") << "mixed" << 2 << all;
    QTest::newRow("Tavron evaluation") << "mixed" << 3 << all;
    QTest::newRow("review lists wav only") << "mixed" << 4 << QStringList{"a.wav", "b.WAV", "F.Wav"};
    QTest::newRow("no recordings") << "text" << 1 << QStringList();
    QTest::newRow("missing folder") << "gone" << 1 << QStringList();
}

void TestFolderListing::listing()
{
    QFETCH(QString, folder);
    QFETCH(int, mode);
    QTEST(listRecordings(path(folder), mode), "names");
}

void TestFolderListing::recordingPath_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("recording");
    QTest::newRow("lower wav") << "/a/b.wav" << true;
    QTest::newRow("upper RAW") << "/a/B.RAW" << true;
    QTest::newRow("mixed Wav") << "x.Wav" << true;
    QTest::newRow("text") << "/a/b.txt" << false;
    QTest::newRow("backup of a wav") << "/a/b.wav.bak" << false;
    QTest::newRow("no dot") << "/a/wav" << false;
}

void TestFolderListing::recordingPath()
{
    QFETCH(QString, name);
    QTEST(isRecordingPath(name), "recording");
}

void TestFolderListing::countText_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << 0 << "\n0 items";
    QTest::newRow("one") << 1 << "\n1 item";
    QTest::newRow("many") << 12 << "\n12 items";
}

void TestFolderListing::countText()
{
    QFETCH(int, rows);
    QTEST(itemCountText(rows), "text");
}

void TestFolderListing::progress_data()
{
    QTest::addColumn<int>("next");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("percent");
    QTest::newRow("first of three") << 1 << 3 << 33;
    QTest::newRow("second of three truncates") << 2 << 3 << 66;
    QTest::newRow("done") << 3 << 3 << 100;
    QTest::newRow("empty list") << 0 << 0 << 100;
}

void TestFolderListing::progress()
{
    QFETCH(int, next);
    QFETCH(int, count);
    QTEST(headerChainProgress(next, count), "percent");
}

void TestFolderListing::dropPlan_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("isRecording");
    QTest::newRow("one folder") << QStringList{"mixed"} << int(DropPlan::Collection) << false;
    QTest::newRow("one recording") << QStringList{"mixed/D.RAW"} << int(DropPlan::OneFile) << true;
    QTest::newRow("one text file") << QStringList{"mixed/notes.txt"} << int(DropPlan::OneFile) << false;
    QTest::newRow("several files") << QStringList{"mixed/a.wav", "mixed/notes.txt"} << int(DropPlan::Collection)
                                   << false;
    QTest::newRow("folder and file") << QStringList{"mixed/a.wav", "text"} << int(DropPlan::MixedRefused) << false;
    QTest::newRow("two folders") << QStringList{"mixed", "text"} << int(DropPlan::MixedRefused) << false;
}

void TestFolderListing::dropPlan()
{
    QFETCH(QStringList, paths);
    QFETCH(int, kind);
    for (QString &p : paths)
        p = path(p);
    const DropPlan plan = planDrop(paths);
    QCOMPARE(int(plan.kind), kind);
    QTEST(plan.isRecording, "isRecording");
    if (kind == DropPlan::MixedRefused)
        QCOMPARE(plan.message, QStringLiteral("Do not load multiple folders or a mixture of files and folders."));
    if (kind == DropPlan::OneFile)
        QCOMPARE(plan.path, paths.first());
}

void TestFolderListing::dropCollection_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QStringList>("recordings");
    QTest::addColumn<QString>("directory");
    QTest::addColumn<bool>("refused");
    QTest::newRow("one folder") << QStringList{"mixed"}
                                << QStringList{"mixed/a.wav", "mixed/b.WAV", "mixed/c.raw", "mixed/D.RAW",
                                               "mixed/F.Wav"}
                                << "mixed" << false;
    QTest::newRow("three files, one of them text")
        << QStringList{"mixed/c.raw", "mixed/notes.txt", "mixed/a.wav"}
        << QStringList{"mixed/c.raw", "mixed/a.wav"} << "mixed" << false;
    QTest::newRow("recordings from two folders") << QStringList{"mixed/a.wav", "other/z.wav"}
                                                 << QStringList{"mixed/a.wav", "other/z.wav"} << "mixed" << true;
    QTest::newRow("nothing to load") << QStringList{"mixed/notes.txt", "text/readme.txt"} << QStringList()
                                     << QString() << false;
    QTest::newRow("folder without recordings") << QStringList{"text"} << QStringList() << QString() << false;
}

void TestFolderListing::dropCollection()
{
    QFETCH(QStringList, paths);
    QFETCH(QStringList, recordings);
    QFETCH(QString, directory);
    QFETCH(bool, refused);
    for (QString &p : paths)
        p = path(p);
    for (QString &p : recordings)
        p = path(p);
    const DropCollection c = collectDroppedRecordings(paths);
    QCOMPARE(c.recordings, recordings);
    QCOMPARE(c.directory, directory.isEmpty() ? QString() : path(directory));
    QCOMPARE(c.message,
             refused ? QStringLiteral("Recordings from several folders cannot be opened together.") : QString());
}

void TestFolderListing::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("kind");
    QTest::newRow("program only") << QStringList{"quillon"} << int(CommandLineChoice::Nothing);
    QTest::newRow("existing RAW in capitals") << QStringList{"quillon", "mixed/D.RAW"}
                                              << int(CommandLineChoice::Recording);
    QTest::newRow("existing text file") << QStringList{"quillon", "mixed/notes.txt"}
                                        << int(CommandLineChoice::Unsupported);
    QTest::newRow("missing recording") << QStringList{"quillon", "mixed/missing.wav"}
                                       << int(CommandLineChoice::Nothing);
    QTest::newRow("the last argument counts") << QStringList{"quillon", "mixed/a.wav", "mixed/notes.txt"}
                                              << int(CommandLineChoice::Unsupported);
    QTest::newRow("a folder named like a recording") << QStringList{"quillon", "mixed/sub.wav"}
                                                     << int(CommandLineChoice::Nothing);
}

void TestFolderListing::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, kind);
    for (int i = 1; i < arguments.size(); ++i)
        arguments[i] = path(arguments[i]);
    const CommandLineChoice choice = chooseCommandLineFile(arguments);
    QCOMPARE(int(choice.kind), kind);
    if (kind != CommandLineChoice::Nothing)
        QCOMPARE(choice.path, arguments.last());
}

QUILLON_TEST(TestFolderListing)
#include "tst_folderlisting.moc"
