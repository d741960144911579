// The copy by class: which rows it takes per evaluation mode, the refusal of
// the recordings' own folder, and the real worker on its own thread copying
// a chain of files into temporary folders.
#include "export/copyfilesthread.h"
#include "export/recordingcopy.h"
#include "exportrows.h"
#include "filesizelimit.h"
#include "platform/filedatacopy.h"
#include "testregistry.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

QByteArray randomBytes(int size, quint32 seed)
{
    QRandomGenerator rng(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes)
        b = char(rng.bounded(256));
    return bytes;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), qint64(bytes.size()));
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Stands in for the main window's side of the chain: sends index 0, and from
// each reply the next index with the marker of a failure taken off again.
class ChainDriver : public QObject
{
    Q_OBJECT

public:
    QList<int> failedIndexes;
    int replies = 0;
    bool done = false;

    void start(const QString &to, const QString &from, const QStringList &names, bool overwrite)
    {
        emit request(0, to, from, names, overwrite);
    }

signals:
    void request(int index, QString newDirectory, QString oldDirectory, QStringList fileNames, bool overwrite);

public slots:
    void reply(int index, QString newDirectory, QString oldDirectory, QStringList fileNames, bool overwrite)
    {
        ++replies;
        if (fileNames.constLast() == QLatin1String("error")) {
            failedIndexes << index;
            fileNames.removeLast();
        }
        if (index + 1 < fileNames.size())
            emit request(index + 1, newDirectory, oldDirectory, fileNames, overwrite);
        else
            done = true;
    }
};

} // namespace

class RecordingCopyTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void selectFiles_data();
    void selectFiles();
    void isSameFolder();

    void chain_copiesByteIdentical();
    void chain_existingTargets_data();
    void chain_existingTargets();
    void chain_failuresKeepWhatWasThere();
    void chain_ownFolderIsNeverTouched();
    void copyFile_fullDisk();
    void copyFileData_fromAnyPosition();

private:
    void runChain(const QString &to, const QString &from, const QStringList &names, bool overwrite);
    QStringList entriesOf(const QString &folder) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_from;
    QString m_to;
    QThread *m_thread = nullptr;
    CopyFilesThread *m_worker = nullptr;
    std::unique_ptr<ChainDriver> m_driver;
    QMap<QString, QByteArray> m_sources;
};

void RecordingCopyTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_from = m_dir->filePath("recordings");
    m_to = m_dir->filePath("copies");
    QVERIFY(QDir().mkpath(m_from) && QDir().mkpath(m_to));
    // Empty, several copy blocks with a remainder, and small.
    m_sources = {
        {"a.wav", QByteArray()}, {"b.wav", randomBytes(3 * 1024 * 1024 + 17, 1)}, {"c.wav", randomBytes(1000, 2)}};
    for (auto it = m_sources.cbegin(); it != m_sources.cend(); ++it)
        writeFile(m_from + '/' + it.key(), it.value());

    m_thread = new QThread;
    m_worker = new CopyFilesThread;
    m_driver = std::make_unique<ChainDriver>();
    connect(m_driver.get(), &ChainDriver::request, m_worker, &CopyFilesThread::copyFiles);
    m_worker->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &CopyFilesThread::signalCopyFinished, m_driver.get(), &ChainDriver::reply);
    m_thread->start();
}

void RecordingCopyTest::cleanup()
{
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_driver.reset();
    m_dir.reset();
}

void RecordingCopyTest::runChain(const QString &to, const QString &from, const QStringList &names, bool overwrite)
{
    QSignalSpy replies(m_worker, &CopyFilesThread::signalCopyFinished);
    m_driver->start(to, from, names, overwrite);
    QTRY_VERIFY(m_driver->done);
    // Every request got exactly one reply, each on the worker's thread.
    QCOMPARE(replies.size(), names.size());
    QCOMPARE(m_driver->replies, names.size());
}

QStringList RecordingCopyTest::entriesOf(const QString &folder) const
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

void RecordingCopyTest::selectFiles_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("folder: a class in any column") << 1 << QStringList{"Nyc"} << QStringList{"a.wav", "d.wav"};
    QTest::newRow("folder: Unassigned takes every empty Class 1")
        << 1 << QStringList{"Unassigned"} << QStringList{"b.wav", "c.wav", "e.wav"};
    QTest::newRow("manual: a second class alone") << 2 << QStringList{"Enil"} << QStringList{"e.wav"};
    QTest::newRow("Tavron: Unassigned leaves the No call proposals")
        << 3 << QStringList{"Unassigned"} << QStringList{"c.wav", "e.wav"};
    QTest::newRow("Tavron: Detected No Call, whatever the classes")
        << 3 << QStringList{"Detected No Call"} << QStringList{"b.wav", "d.wav"};
    QTest::newRow("review: a row chosen twice is asked for twice")
        << 4 << QStringList{"Pip", "Detected No Call"} << QStringList{"b.wav", "d.wav", "d.wav"};
    QTest::newRow("folder: Detected No Call means nothing") << 1 << QStringList{"Detected No Call"} << QStringList();
    QTest::newRow("nothing checked") << 1 << QStringList() << QStringList();
    QTest::newRow("one file: nothing") << 0 << QStringList{"Nyc"} << QStringList();
}

void RecordingCopyTest::selectFiles()
{
    QFETCH(int, mode);
    QFETCH(QStringList, checked);
    QFETCH(QStringList, expected);
    const auto rows = exportRows(
        {"a.wav||||Nyc|Nyc", "b.wav||||No call|", "c.wav||||Pip|", "d.wav||||NO CALL|Pip|Nyc", "e.wav|||||||Enil"});
    QCOMPARE(RecordingCopy::selectFiles(rows, checked, mode), expected);
}

void RecordingCopyTest::isSameFolder()
{
    QVERIFY(RecordingCopy::isSameFolder(m_from, m_from));
    QVERIFY(RecordingCopy::isSameFolder(m_from, m_dir->path() + "/./copies/../recordings/"));
    const QString link = m_dir->filePath("link");
    QVERIFY(QFile::link(m_from, link));
    QVERIFY(RecordingCopy::isSameFolder(link, m_from));
    QVERIFY(!RecordingCopy::isSameFolder(m_to, m_from));
    QVERIFY(!RecordingCopy::isSameFolder(m_dir->filePath("missing"), m_dir->filePath("missing")));
}

void RecordingCopyTest::chain_copiesByteIdentical()
{
    runChain(m_to, m_from, {"a.wav", "b.wav", "c.wav"}, false);
    QVERIFY(m_driver->failedIndexes.isEmpty());
    // No temporary file is left behind.
    QCOMPARE(entriesOf(m_to), (QStringList{"a.wav", "b.wav", "c.wav"}));
    for (auto it = m_sources.cbegin(); it != m_sources.cend(); ++it)
        QVERIFY2(readFile(m_to + '/' + it.key()) == it.value(), qPrintable(it.key()));
}

void RecordingCopyTest::chain_existingTargets_data()
{
    QTest::addColumn<bool>("overwrite");
    QTest::newRow("No: existing files are skipped") << false;
    QTest::newRow("Yes: existing files are replaced") << true;
}

void RecordingCopyTest::chain_existingTargets()
{
    QFETCH(bool, overwrite);
    writeFile(m_to + "/b.wav", "older copy, longer than nothing");
    // A file chosen twice (by a class and by Detected No Call) comes twice.
    runChain(m_to, m_from, {"b.wav", "c.wav", "c.wav"}, overwrite);
    QVERIFY(m_driver->failedIndexes.isEmpty());
    QCOMPARE(readFile(m_to + "/b.wav"), overwrite ? m_sources["b.wav"] : QByteArray("older copy, longer than nothing"));
    QCOMPARE(readFile(m_to + "/c.wav"), m_sources["c.wav"]);
    QCOMPARE(entriesOf(m_to), (QStringList{"b.wav", "c.wav"}));
}

void RecordingCopyTest::chain_failuresKeepWhatWasThere()
{
    // A vanished source must not cost the copy that is already there, nor
    // may a folder where the file should go be touched; the chain goes on.
    writeFile(m_to + "/gone.wav", "the only copy left");
    QVERIFY(QDir().mkpath(m_to + "/c.wav/inside"));
    runChain(m_to, m_from, {"a.wav", "gone.wav", "c.wav", "b.wav"}, true);
    QCOMPARE(m_driver->failedIndexes, (QList<int>{1, 2}));
    QCOMPARE(readFile(m_to + "/gone.wav"), QByteArray("the only copy left"));
    QVERIFY(QFileInfo(m_to + "/c.wav/inside").isDir());
    QCOMPARE(readFile(m_to + "/b.wav"), m_sources["b.wav"]);
    QCOMPARE(entriesOf(m_to), (QStringList{"a.wav", "b.wav", "c.wav", "gone.wav"}));
}

void RecordingCopyTest::chain_ownFolderIsNeverTouched()
{
    // Answering "overwrite" with the recordings' own folder as target once deleted them.
    const QString sameThroughLink = m_dir->filePath("link");
    QVERIFY(QFile::link(m_from, sameThroughLink));
    runChain(sameThroughLink, m_from, {"b.wav", "c.wav"}, true);
    QCOMPARE(m_driver->failedIndexes, (QList<int>{0, 1}));
    QCOMPARE(entriesOf(m_from), (QStringList{"a.wav", "b.wav", "c.wav"}));
    for (auto it = m_sources.cbegin(); it != m_sources.cend(); ++it)
        QVERIFY2(readFile(m_from + '/' + it.key()) == it.value(), qPrintable(it.key()));
}

void RecordingCopyTest::copyFile_fullDisk()
{
    // The disk fills part way: the copy fails, and the one that was there stays, alone. From elsewhere than
    // the start the bytes go through a buffer, the last ones through Qt's: the full disk must show there too.
    writeFile(m_to + "/b.wav", "the copy that was there");
    QFile in(m_from + "/c.wav");
    QFile part(m_dir->filePath("part"));
    QVERIFY(in.open(QIODevice::ReadOnly) && part.open(QIODevice::WriteOnly) && in.seek(5));
    RecordingCopy::Outcome outcome;
    bool partCopied;
    {
        FileSizeLimit disk{512};
        QVERIFY(disk.isSet());
        outcome = RecordingCopy::copyFile(m_from + "/b.wav", m_to + "/b.wav", true);
        partCopied = copyFileData(in, part);
    }
    QVERIFY(outcome == RecordingCopy::Outcome::Failed && !partCopied);
    QCOMPARE(readFile(m_to + "/b.wav"), QByteArray("the copy that was there"));
    QCOMPARE(entriesOf(m_to), QStringList{"b.wav"});
}

void RecordingCopyTest::copyFileData_fromAnyPosition()
{
    // From the start the kernel may copy; from elsewhere the data goes through a buffer. Both give the rest.
    for (qint64 start : {qint64(0), qint64(5), qint64(1024 * 1024 + 3)}) {
        QFile in(m_from + "/b.wav");
        QFile out(m_to + QStringLiteral("/part%1").arg(start));
        QVERIFY(in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly));
        QVERIFY(in.seek(start));
        QVERIFY(copyFileData(in, out));
        out.close();
        QCOMPARE(readFile(out.fileName()), m_sources["b.wav"].mid(int(start)));
    }
}

QUILLON_TEST(RecordingCopyTest)
#include "tst_recordingcopy.moc"
