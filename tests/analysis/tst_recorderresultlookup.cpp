#include "testregistry.h"

#include "analysis/boundedlinereader.h"
#include "analysis/recorderresultlookup.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <malloc.h>

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

// Line n of a table: the fields naming recordings in front (the date and time
// fill what they leave of the first three), then a bat verdict whose first
// group name is "L<n>", so that the proposal tells which line was taken.
QByteArray numbered(const QStringList &nameFields, int n)
{
    QStringList f = nameFields;
    for (const char *filler : {"2024-06-01", "22:14:03"}) {
        if (f.size() < 3)
            f << filler;
    }
    return line(f + QStringList{"bat", QStringLiteral("L%1").arg(n), "x", ""});
}

bool writeResultFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
}

// Bytes the heap hands out at the moment, small blocks and mapped ones.
qint64 heapBytes()
{
    const struct mallinfo2 m = mallinfo2();
    return qint64(m.uordblks) + qint64(m.hblkhd);
}

// What an index of path holds on the heap once read; -1 when it cannot read it.
qint64 heldByIndex(const QString &path, RecorderResultIndex &index)
{
    const qint64 before = heapBytes();
    return index.read(path) ? heapBytes() - before : -1;
}

} // namespace

class TestRecorderResultLookup : public QObject
{
    Q_OBJECT

private slots:
    void proposal_data();
    void proposal();
    void proposal_unreadableFile();
    void index_answersAsThePlainLookup_data();
    void index_answersAsThePlainLookup();
    void index_refusesWhatExceedsTheBounds_data();
    void index_refusesWhatExceedsTheBounds();
    void index_memoryGrowsWithTheFileAlone();
    void index_memoryKeepsOnlyLinesNamingARecording();
    void cache_readsAgainOnlyWhenChanged();
    void cache_refusedListNotReadAgain();

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
    QTest::newRow("first group empty") << line(fields("rec_001.wav", "bat", {"", "x", "Nyctaloid"})) << "/d/rec_001.wav"
                                       << 0 << "Nyc";
    QTest::newRow("first species empty") << line(fields("rec_001.wav", "bat", {"", "", "", "", "", "", "Pnat"}))
                                         << "/d/rec_001.wav" << 1 << "Pnat";
    QTest::newRow("noise") << line(fields("rec_001.wav", "noise", groups)) << "/d/rec_001.wav" << 1 << "No Call";
    QTest::newRow("test") << line(fields("rec_001.wav", "test", {"", "", ""})) << "/d/rec_001.wav" << 0 << "No Call";
    // Fields beyond the line's end count as empty.
    QTest::newRow("seven fields, long model")
        << line(fields("rec_001.wav", "bat", {"Nyctaloid", "x", "y"})) << "/d/rec_001.wav" << 1 << "";
    QTest::newRow("six fields") << line(fields("rec_001.wav", "noise", {"a", "b"})) << "/d/rec_001.wav" << 0 << "";
    // Two species of one group name the group once; the first of two equal codes stays in its place.
    QTest::newRow("group named twice") << line(fields("rec_001.wav", "bat", {"Pipistrelloid", "x", "Pipistrelloid"}))
                                       << "/d/rec_001.wav" << 0 << "Pip";
    QTest::newRow("species code named twice")
        << line(fields("rec_001.wav", "bat", {"", "", "", "", "Ppip", "x", "Nnoc", "x", "Ppip"})) << "/d/rec_001.wav"
        << 1 << "Ppip, Nnoc";
    // A list converted to CR LF twice: no CR stays in the last field, to be written as a class.
    QTest::newRow("line ending in CR CR LF")
        << QByteArray(line(fields("rec_001.wav", "bat", {"", "", "", "", "Ppip", "x", "Nnoc", "x", "Eptser"}))
                          .replace("\n", "\r\r\n"))
        << "/d/rec_001.wav" << 1 << "Ppip, Nnoc, Eptser";
    QTest::newRow("no matching line") << both << "/d/rec_002.wav" << 0 << "";
    // The recording's own line wins over an earlier one naming a longer name, as a field or at a path's end.
    QTest::newRow("own line wins over a longer name")
        << line(fields("ba.wav", "noise", groups)) + line(fields("a.wav", "bat", groups)) << "/d/a.wav" << 0
        << "Pip, Nyc";
    QTest::newRow("own line as a path") << line(fields("11.wav", "noise", groups))
                                               + line(fields("D:\\night\\1.wav", "bat", groups))
                                        << "/d/1.wav" << 0 << "Pip, Nyc";
    // A line that holds the name only inside a longer one is another recording's.
    QTest::newRow("only a longer name") << line(fields("11.wav", "noise", groups))
                                               + line(fields("D:\\night\\21.wav", "bat", groups))
                                        << "/d/1.wav" << 0 << "";
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
    // The index the review reads through answers the same.
    RecorderResultIndex index;
    QVERIFY(index.read(path));
    QCOMPARE(index.proposal(recording, reviewMode), expected);
}

void TestRecorderResultLookup::proposal_unreadableFile()
{
    QVERIFY(m_dir.isValid());
    const QString folder = m_dir.filePath(QStringLiteral("folder"));
    QVERIFY(QDir().mkpath(folder)); // a folder in place of the file
    for (const QString &path : {m_dir.filePath(QStringLiteral("nowhere/calls_ch1_files.txt")), folder, QString()})
        QCOMPARE(RecorderResultLookup::proposal(QStringLiteral("/d/rec_001.wav"), path, 0), QString());
}

void TestRecorderResultLookup::index_answersAsThePlainLookup_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("a field of its own, and a name no line holds")
        << numbered({"a.wav"}, 1) + numbered({"b.wav"}, 2) << QStringList{"a.wav", "b.wav", "c.wav"};
    QTest::newRow("a longer name first") << numbered({"ba.wav"}, 1) + numbered({"a.wav"}, 2) + numbered({"xa.wav"}, 3)
                                         << QStringList{"a.wav", "ba.wav", "xa.wav", "aa.wav"};
    QTest::newRow("ends of paths, both separators")
        << numbered({"D:\\night\\11.wav"}, 1) + numbered({"/mnt/card/1.wav"}, 2) + numbered({"night\\1.wav"}, 3)
        << QStringList{"1.wav", "11.wav", "night\\1.wav", "card/1.wav", "D:"};
    QTest::newRow("the name in a later field")
        << numbered({"0001", "x/a.wav"}, 1) + numbered({"a.wav"}, 2) << QStringList{"a.wav", "0001"};
    QTest::newRow("the first of two lines wins")
        << numbered({"a.wav"}, 1) + numbered({"a.wav"}, 2) + numbered({"x/a.wav"}, 3) << QStringList{"a.wav"};
    // Up to 16 equal fields a sort may leave in file order by chance (it sorts
    // such short runs by insertion); more of them only the order it is given keeps.
    QByteArray many;
    for (int n = 1; n <= 40; ++n)
        many += numbered({n % 3 == 0 ? "x/a.wav" : "a.wav"}, n) + numbered({"b.wav"}, 100 + n);
    QTest::newRow("the first of forty lines wins") << many << QStringList{"a.wav", "x/a.wav", "b.wav"};
    QTest::newRow("a name inside a field is no name")
        << numbered({"a.wav.bak"}, 1) + numbered({"a.wav a"}, 2) + numbered({"x a.wav"}, 3)
        << QStringList{"a.wav", "x a.wav", "a.wav a"};
    QTest::newRow("letter case counts") << numbered({"A.WAV"}, 1) + numbered({"a.wav"}, 2) + numbered({"a.Wav"}, 3)
                                        << QStringList{"a.wav", "A.WAV", "a.Wav", "A.wav"};
    QTest::newRow("names that are only an ending")
        << numbered({"x/.wav"}, 1) + numbered({".WAV"}, 2) << QStringList{".wav", ".WAV", "wav"};
    QTest::newRow("blanks and umlauts") << numbered({"Nacht 1/Fl\xc3\xbcgel 2.wav"}, 1)
                                        << QStringList{QString::fromUtf8("Fl\xc3\xbcgel 2.wav"), "2.wav"};
    QTest::newRow("line ends of Windows")
        << QByteArray("a.wav\t1\t2\tbat\tL1\tx\t\r\nb.wav\t1\t2\tbat\tL2\tx\t\r\n") << QStringList{"a.wav", "b.wav"};
    // Every tail of the path behind a separator names the recording as a whole.
    QTest::newRow("a path of separators")
        << numbered({QString(3000, '/') + "a.wav"}, 1) + numbered({QString(3000, '\\') + "a.wav"}, 2)
        << QStringList{"a.wav", "\\a.wav", QString(2999, '\\') + "a.wav", "x\\a.wav"};
    QTest::newRow("empty lines and fields")
        << QByteArray("\n\t\t\n") + numbered({"", "a.wav"}, 1) << QStringList{"a.wav"};
    // A name with a TAB is looked for through the lines; one without ".wav" names no recording of a review.
    QTest::newRow("other endings, a TAB, no name at all")
        << numbered({"a.raw"}, 1) + numbered({"x", "y.wav"}, 2) + QByteArray("\n") + numbered({"notes"}, 3)
        << QStringList{"a.raw", "x\ty.wav", "", "notes", "y.wav"};
}

void TestRecorderResultLookup::index_answersAsThePlainLookup()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, names);
    QVERIFY(m_dir.isValid());
    const QString path = m_dir.filePath(QStringLiteral("calls_ch1_files.txt"));
    QVERIFY(writeResultFile(path, content));
    RecorderResultIndex index;
    QVERIFY(index.read(path));
    int found = 0;
    for (const QString &name : names) {
        const QString recording = QStringLiteral("/data/night/") + name;
        const QString plain = RecorderResultLookup::proposal(recording, path, 0);
        const bool recordingName = name.endsWith(QLatin1String(".wav"), Qt::CaseInsensitive);
        QCOMPARE(index.proposal(recording, 0), recordingName ? plain : QString());
        found += plain.isEmpty() || !recordingName ? 0 : 1;
    }
    // Every row asks for at least one name a line holds.
    QVERIFY(found > 0);
}

void TestRecorderResultLookup::index_refusesWhatExceedsTheBounds_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: the file is made as the row says
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("faultLine");

    const int limit = BoundedLineReader::maxLineBytes;
    // The first line names the recording asked for: a list read in part must not answer for it.
    const QByteArray own = numbered({"a.wav"}, 1);
    const auto lineOf = [](int bytes) { return numbered({"b.wav", QString(bytes - 27, 'x')}, 2); };
    QCOMPARE(lineOf(limit).size(), limit + 1);
    QTest::newRow("a line at the limit") << own + lineOf(limit) << "list" << int(RecorderResultIndex::Fault::None) << 0;
    QTest::newRow("a line one byte longer")
        << own + lineOf(limit + 1) + own << "list" << int(RecorderResultIndex::Fault::LongLine) << 2;
    QTest::newRow("larger than the file bound")
        << QByteArray() << "huge" << int(RecorderResultIndex::Fault::TooLarge) << 0;
    QTest::newRow("missing") << QByteArray() << "missing" << int(RecorderResultIndex::Fault::Unreadable) << 0;
}

void TestRecorderResultLookup::index_refusesWhatExceedsTheBounds()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, file);
    QFETCH(int, fault);
    QFETCH(int, faultLine);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("calls_ch1_files.txt"));
    if (file == QLatin1String("list")) {
        QVERIFY(writeResultFile(path, content));
    } else if (file == QLatin1String("huge")) {
        // Sparse: its size is what counts.
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(numbered({"a.wav"}, 1)) > 0
                && f.resize(BoundedLineReader::maxFileBytes + 1));
    }
    RecorderResultIndex index;
    QCOMPARE(index.read(path), fault == int(RecorderResultIndex::Fault::None));
    QCOMPARE(int(index.fault()), fault);
    QCOMPARE(index.faultLine(), faultLine);
    QCOMPARE(index.proposal(QStringLiteral("/d/a.wav"), 0), fault ? QString() : QStringLiteral("L1"));
}

void TestRecorderResultLookup::index_memoryGrowsWithTheFileAlone()
{
    // Lines of a path with thousands of separators, each line its own path:
    // an index of every tail would hold about 8 MB per line of 4 KB.
    QByteArray content;
    for (int i = 0; i < 8; ++i)
        content += numbered({QString(4000, '/') + QStringLiteral("%1.wav").arg(i)}, i);
    QVERIFY(m_dir.isValid());
    const QString path = m_dir.filePath(QStringLiteral("separators.txt"));
    QVERIFY(writeResultFile(path, content));
    if (heapBytes() == 0)
        QSKIP("The heap does not report its use here (a sanitizer's allocator).");

    RecorderResultIndex index;
    const qint64 held = heldByIndex(path, index);
    QVERIFY(held >= 0);
    // Lines as UTF-16, their fields, the hash: a few times the file's bytes.
    QVERIFY2(held < 8 * content.size(),
             qPrintable(QStringLiteral("%1 bytes held for a file of %2").arg(held).arg(content.size())));
    QCOMPARE(index.proposal(QStringLiteral("/d/7.wav"), 0), QStringLiteral("L7"));
}

void TestRecorderResultLookup::index_memoryKeepsOnlyLinesNamingARecording()
{
    // Empty lines and lines that name no recording, as a list padded by
    // another tool holds them by the million: each kept as a string took 56
    // times its bytes.
    const int lines = 100000;
    QByteArray content;
    for (int i = 0; i < lines / 2; ++i)
        content += "\n22:14:03\tnote\ta.raw\n";
    content += numbered({"a.wav"}, 1);
    QVERIFY(m_dir.isValid());
    const QString path = m_dir.filePath(QStringLiteral("padded.txt"));
    QVERIFY(writeResultFile(path, content));
    if (heapBytes() == 0)
        QSKIP("The heap does not report its use here (a sanitizer's allocator).");

    RecorderResultIndex index;
    const qint64 held = heldByIndex(path, index);
    QVERIFY(held >= 0);
    // The one line naming a recording, and less than a byte for each of the others.
    QVERIFY2(held < lines, qPrintable(QStringLiteral("%1 bytes held for %2 lines").arg(held).arg(lines)));
    QCOMPARE(index.proposal(QStringLiteral("/d/a.wav"), 0), QStringLiteral("L1"));
}

void TestRecorderResultLookup::cache_readsAgainOnlyWhenChanged()
{
    QVERIFY(m_dir.isValid());
    const QString path = m_dir.filePath(QStringLiteral("cached/calls_ch1_files.txt"));
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    const QDateTime stamp(QDate(2024, 6, 2), QTime(8, 0, 0));
    auto write = [&](const QByteArray &content, const QDateTime &modified) {
        QFile f(path);
        // Flushed first: bytes written after the time would set it anew.
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size() && f.flush()
               && f.setFileTime(modified, QFileDevice::FileModificationTime);
    };
    RecorderResultCache cache;
    QVERIFY(write(numbered({"a.wav"}, 1), stamp));
    QCOMPARE(cache.proposal("/d/a.wav", path, 0), QStringLiteral("L1"));
    // Same size, same time: the index read before still answers.
    QVERIFY(write(numbered({"a.wav"}, 2), stamp));
    QCOMPARE(cache.proposal("/d/a.wav", path, 0), QStringLiteral("L1"));
    // Another time: read again.
    QVERIFY(write(numbered({"a.wav"}, 2), stamp.addSecs(1)));
    QCOMPARE(cache.proposal("/d/a.wav", path, 0), QStringLiteral("L2"));
    // Another size at the same time: read again.
    QVERIFY(write(numbered({"a.wav"}, 30), stamp.addSecs(1)));
    QCOMPARE(cache.proposal("/d/a.wav", path, 0), QStringLiteral("L30"));
    // Forgotten: read again although nothing changed.
    QVERIFY(write(numbered({"a.wav"}, 31), stamp.addSecs(1)));
    QCOMPARE(cache.proposal("/d/a.wav", path, 0), QStringLiteral("L30"));
    cache.clear();
    QCOMPARE(cache.proposal("/d/a.wav", path, 0), QStringLiteral("L31"));
    // A file that cannot be read answers nothing, and is read once it can be.
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir().mkpath(path));
    QCOMPARE(cache.proposal("/d/a.wav", path, 0), QString());
    QVERIFY(QDir().rmdir(path));
    QVERIFY(write(numbered({"a.wav"}, 31), stamp.addSecs(1)));
    QCOMPARE(cache.proposal("/d/a.wav", path, 0), QStringLiteral("L31"));
}

void TestRecorderResultLookup::cache_refusedListNotReadAgain()
{
    // Refused once, the list must not be read (and refused with a warning) for every recording again.
    QVERIFY(m_dir.isValid());
    const QString path = m_dir.filePath(QStringLiteral("refused/calls_ch1_files.txt"));
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    const QDateTime stamp(QDate(2024, 6, 2), QTime(8, 0, 0));
    const QByteArray longLine = numbered({"a.wav", QString(BoundedLineReader::maxLineBytes, 'x')}, 1);
    auto write = [&](const QByteArray &content) {
        QFile f(path);
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size() && f.flush()
               && f.setFileTime(stamp, QFileDevice::FileModificationTime);
    };
    RecorderResultCache cache;
    QVERIFY(write(longLine));
    QCOMPARE(cache.proposal("/d/a.wav", path, 0), QString());
    // Readable now, with the size and time it was refused with: only a reading would see it.
    QByteArray readable = numbered({"a.wav"}, 2);
    readable += QByteArray(longLine.size() - readable.size(), '\n');
    QVERIFY(write(readable));
    QCOMPARE(cache.proposal("/d/a.wav", path, 0), QString());
    QCOMPARE(cache.proposal("/d/b.wav", path, 0), QString());
    // Changed: read again.
    QVERIFY(write(readable + '\n'));
    QCOMPARE(cache.proposal("/d/a.wav", path, 0), QStringLiteral("L2"));
}

QUILLON_TEST(TestRecorderResultLookup)
#include "tst_recorderresultlookup.moc"
