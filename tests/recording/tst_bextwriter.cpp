#include "recording/bextdescriptionwriter.h"
#include "recording/wavfile.h"

#include "fixturefolder.h"
#include "testregistry.h"
#include "wavwriter.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include <cerrno>

using testsupport::WavWriter;

namespace {

// A file whose disk fills up at its n-th write, as a real one answers: that
// write stores half of its bytes and reports the short count, the next (the
// rest of it) fails with the system's words for a full disk. Every other
// write goes through, unless the disk stays full for good.
class ShortWriteFile : public QFile
{
public:
    ShortWriteFile(const QString &name, int failingWrite, bool fullForGood = false)
        : QFile(name)
        , m_failingWrite(failingWrite)
        , m_fullForGood(fullForGood)
    {
    }
    int writes = 0;

protected:
    qint64 writeData(const char *data, qint64 len) override
    {
        ++writes;
        if (writes == m_failingWrite)
            return QFile::writeData(data, len / 2);
        if (m_failingWrite > 0 && (writes == m_failingWrite + 1 || (m_fullForGood && writes > m_failingWrite))) {
            setErrorString(qt_error_string(ENOSPC));
            return -1;
        }
        return QFile::writeData(data, len);
    }

private:
    int m_failingWrite;
    bool m_fullForGood;
};

// A disk already full: it refuses every write from its first byte on.
class FullDiskFile : public QFile
{
public:
    using QFile::QFile;

protected:
    qint64 writeData(const char *, qint64) override
    {
        setErrorString(qt_error_string(ENOSPC));
        return -1;
    }
};

// Keeps what the file holds after each write and each resize, and what it
// would hold had a write stopped after its first bytes: the files a kill of
// the program, or a power cut, at that point would leave behind.
class SnapshotFile : public ShortWriteFile
{
public:
    using ShortWriteFile::ShortWriteFile;
    QList<QByteArray> states;
    QByteArray synced;                   // what the file held at its last sync
    QList<QByteArray> syncedAtSizeWrite; // that, each time the RIFF size is written

    bool resize(qint64 size) override
    {
        const bool done = ShortWriteFile::resize(size);
        states << testsupport::readFile(fileName());
        return done;
    }

    // Syncs as the writer does, noting what is then on the disk for sure.
    FileSync sync()
    {
        return [this](QFile &file, QString *why) {
            synced = testsupport::readFile(fileName());
            return syncFileToDisk(file, why);
        };
    }

protected:
    qint64 writeData(const char *data, qint64 len) override
    {
        const QByteArray before = testsupport::readFile(fileName());
        const qint64 at = pos();
        if (at == 4)
            syncedAtSizeWrite << synced;
        // A cut in the header, in the description and in the zeros behind it.
        for (const qint64 cut : {qint64(1), qint64(4), qint64(7), qint64(8), len / 2, qint64(264), len - 1}) {
            if (cut <= 0 || cut >= len)
                continue;
            QByteArray killed = before;
            if (killed.size() < at + cut)
                killed.append(QByteArray(int(at + cut - killed.size()), '\0'));
            killed.replace(int(at), int(cut), QByteArray(data, int(cut)));
            states << killed;
        }
        const qint64 written = ShortWriteFile::writeData(data, len);
        states << testsupport::readFile(fileName());
        return written;
    }
};

// A file as a kill between the two writes of an append leaves it: the chunk is
// there, the RIFF size is that of the file before. With `tail` behind the chunk
// or a non-zero originator it is no longer what the writer appends.
QByteArray appendedWithOldSize(const QByteArray &originator = QByteArray(), const QByteArray &tail = QByteArray())
{
    const QByteArray before = testsupport::simplePcmWav({1, 2}, 8000);
    WavWriter w;
    w.fmt(8000, 16).chunk("data", WavWriter::pack({1, 2}, 16));
    w.chunk("bext", WavWriter::field("Nyc", 256) + WavWriter::field(originator, 602));
    if (!tail.isEmpty())
        w.chunk("LIST", tail);
    return w.riffSize(before.size() - 8).bytes();
}

// A write the user asked for and that did not happen leaves one warning on the
// terminal, also in a normal run: the header worker writes without a window.
// It names the file, as a folder's writes may each leave one.
void expectRefusalWarning(const QString &path)
{
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("bext chunk.*") + QRegularExpression::escape(path)));
}

// 256 bytes of UTF-8: 128 two-byte characters.
QString umlauts256()
{
    return QString(128, QChar(0x00E4));
}

} // namespace

class TestBextWriter : public QObject
{
    Q_OBJECT

private:
    FixtureFolder m_files;

    QString put(const QByteArray &bytes) { return m_files.put(bytes); }

    // fmt, a bext chunk whose fields after the description are all set, data.
    static QByteArray withBext(const QByteArray &oldDescription)
    {
        QByteArray rest;
        for (int i = 0; i < 602 - 256; ++i)
            rest += char('A' + i % 26);
        WavWriter w;
        w.fmt(250000, 16)
            .chunk("bext", WavWriter::field(oldDescription, 256) + rest + "coding history")
            .chunk("data", WavWriter::pack({1, -2, 3}, 16));
        return w.bytes();
    }
    static constexpr int descriptionOffset = 12 + 24 + 8;

private slots:
    void initTestCase() { QVERIFY(m_files.isValid()); }

    void inPlace_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("three letters over a longer text") << QStringLiteral("Nyc");
        QTest::newRow("empty text") << QString();
        QTest::newRow("umlauts") << QStringLiteral("Großer Abendsegler | Zwergfledermäuse | 1 | über dem Teich");
        QTest::newRow("exactly 256 UTF-8 bytes") << umlauts256();
        QTest::newRow("leading byte-order mark") << QString(QChar(0xFEFF)) + QStringLiteral("Nyc|Größe");
    }

    void inPlace()
    {
        QFETCH(QString, text);
        const QByteArray before = withBext(QByteArray(200, 'o'));
        const QString path = put(before);
        QVERIFY(WavFile().writeBextDescription(path, text));

        const QByteArray after = testsupport::readFile(path);
        const QByteArray utf8 = text.toUtf8();
        QCOMPARE(after.size(), before.size());
        QCOMPARE(after.left(descriptionOffset), before.left(descriptionOffset));
        QCOMPARE(after.mid(descriptionOffset, 256), utf8 + QByteArray(256 - utf8.size(), '\0'));
        QCOMPARE(after.mid(descriptionOffset + 256), before.mid(descriptionOffset + 256));

        WavFile wav;
        wav.open(path, false);
        QVERIFY2(wav.valid, qPrintable(wav.errorText));
        QCOMPARE(wav.bext.description, text);
    }

    // An odd chunk and its pad byte in front, the samples behind: only the 256
    // description bytes change, wherever the chunk stands.
    void inPlaceBehindAnOddChunk()
    {
        const QByteArray odd("abc");
        WavWriter w;
        w.fmt(8000, 16)
            .chunk("LIST", odd)
            .chunk("bext", WavWriter::field("Pip|old", 256) + "origin")
            .chunk("data", WavWriter::pack({7, -7}, 16));
        const QByteArray before = w.bytes();
        const int offset = 12 + 24 + 8 + odd.size() + 1 + 8;
        QCOMPARE(before.mid(offset - 8, 4), QByteArray("bext"));
        const QString path = put(before);
        QVERIFY(WavFile().writeBextDescription(path, QStringLiteral("Nyc|ü")));

        const QByteArray after = testsupport::readFile(path);
        const QByteArray utf8 = QStringLiteral("Nyc|ü").toUtf8();
        QCOMPARE(after.size(), before.size());
        QCOMPARE(after.left(offset), before.left(offset));
        QCOMPARE(after.mid(offset, 256), utf8 + QByteArray(256 - utf8.size(), '\0'));
        QCOMPARE(after.mid(offset + 256), before.mid(offset + 256));
    }

    // A bext chunk of the description alone takes a text to its last byte.
    void inPlaceIntoBareDescription()
    {
        const QByteArray before =
            WavWriter().fmt(8000, 16).chunk("bext", QByteArray(256, 'o')).data({5, -5}, 16).bytes();
        const QString path = put(before);
        QVERIFY(WavFile().writeBextDescription(path, umlauts256()));
        QByteArray expected = before;
        expected.replace(descriptionOffset, 256, umlauts256().toUtf8());
        QCOMPARE(testsupport::readFile(path), expected);
    }

    void append_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pad");
        const QByteArray plain = testsupport::simplePcmWav({1, 2, 3}, 250000);
        QTest::newRow("no bext") << plain << QStringLiteral("Nyc") << 0;
        QTest::newRow("no bext, empty text") << plain << QString() << 0;
        QTest::newRow("no bext, 256 UTF-8 bytes") << plain << umlauts256() << 0;
        QTest::newRow("RIFF header alone") << QByteArray("RIFF\x04\x00\x00\x00WAVE", 12) << QStringLiteral("Pip") << 0;
        QTest::newRow("last chunk odd without its pad")
            << WavWriter().fmt(8000, 8).chunk("data", QByteArray::fromHex("808182"), false).bytes()
            << QStringLiteral("Pip") << 1;
        QTest::newRow("RIFF size that lies")
            << WavWriter().fmt(8000, 16).chunk("data", "ab").riffSize(3).bytes() << QStringLiteral("Nyc") << 0;
    }

    void append()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(int, pad);
        const QString path = put(bytes);
        QVERIFY(WavFile().writeBextDescription(path, text));

        const QByteArray after = testsupport::readFile(path);
        const int old = bytes.size();
        QCOMPARE(after.size(), old + pad + 866);
        QCOMPARE(after.left(4), bytes.left(4));
        QCOMPARE(after.mid(8, old - 8), bytes.mid(8));
        QCOMPARE(le32At(after, 4), quint32(after.size() - 8));
        QCOMPARE(after.mid(old, pad), QByteArray(pad, '\0'));
        QCOMPARE(after.mid(old + pad, 8), QByteArray("bext\x5a\x03\x00\x00", 8)); // 858
        const QByteArray utf8 = text.toUtf8();
        QCOMPARE(after.mid(old + pad + 8), utf8 + QByteArray(858 - utf8.size(), '\0'));

        WavFile wav;
        wav.open(path, true);
        QCOMPARE(wav.errorText, QString());
        QVERIFY(wav.bext.found);
        QCOMPARE(wav.bext.chunkSize, 858u);
        QCOMPARE(wav.bext.description, text);
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        const QString nyc = QStringLiteral("Nyc");
        const QString tooLong = umlauts256() + QLatin1Char('x');
        QTest::newRow("not RIFF") << QByteArray("OggS and more bytes") << nyc;
        QTest::newRow("empty file") << QByteArray() << nyc;
        QTest::newRow("not WAVE") << WavWriter().magic("RIFF", "AVI ").fmt(8000, 16).bytes() << nyc;
        QTest::newRow("257 UTF-8 bytes, in place") << withBext("old") << tooLong;
        QTest::newRow("257 UTF-8 bytes, append") << testsupport::simplePcmWav({1}, 8000) << tooLong;
        QTest::newRow("bext shorter than its description")
            << WavWriter().fmt(8000, 16).chunk("bext", QByteArray(100, 'b')).chunk("data", QByteArray(400, 'd')).bytes()
            << nyc;
        QTest::newRow("bext cut by the end of the file") << withBext("old").left(descriptionOffset + 200) << nyc;
        QTest::newRow("chunk larger than the file")
            << WavWriter().fmt(8000, 16).chunk("data", "abcd", true, 4000).bytes() << nyc;
        QTest::newRow("two stray bytes after the last chunk") << testsupport::simplePcmWav({1}, 8000) + "zz" << nyc;
        QTest::newRow("six stray bytes after the last chunk") << testsupport::simplePcmWav({1}, 8000) + "zzzzzz" << nyc;
        // The reader stops at a format it refuses: a description behind it is never read back.
        QTest::newRow("fmt of 18 bytes, bext behind it")
            << WavWriter().fmt(8000, 16, 1, 1, 18).data({1, 2}, 16).bext("Pip|seen by another program").bytes() << nyc;
        QTest::newRow("two channels, no bext") << WavWriter().fmt(8000, 16, 2).data({1, 2, 3, 4}, 16).bytes() << nyc;
        QTest::newRow("second TIME chunk before the bext")
            << WavWriter()
                   .fmt(8000, 16)
                   .data({1}, 16)
                   .chunk("TIME", testsupport::timePayload("06/01/24", "22:14:03"))
                   .chunk("TIME", testsupport::timePayload("06/01/24", "22:14:03"))
                   .bext("Nyc|")
                   .bytes()
            << QStringLiteral("Pip");
        QTest::newRow("real 32-bit float recording")
            << testsupport::readFile(testsupport::testDataDir() + QStringLiteral("/wav_float.wav")) << nyc;
        QTest::newRow("real recording with a 56-byte fmt chunk") << testsupport::readFile(
            testsupport::testDataDir() + QStringLiteral("/3773_SE_Array_S1_20210615_222235_319.wav"))
                                                                 << nyc;
        // A cut chunk is dropped only when nothing but our own append can have left it.
        const QByteArray appended = appendedWithOldSize();
        QTest::newRow("cut bext without a zero byte past its description")
            << testsupport::simplePcmWav({1, 2}, 8000) + "bext" + WavWriter::le32(858) + QByteArray(257, 'n') << nyc;
        QTest::newRow("cut bext past the RIFF size, originator set")
            << appendedWithOldSize("recorder").left(appended.size() - 300) << nyc;
        QTest::newRow("cut chunk of another kind behind a bext chunk")
            << WavWriter().fmt(8000, 16).data({1, 2}, 16).bext("Nyc").chunk("junk", "xx", true, 100).bytes() << nyc;
    }

    void refused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const QString path = put(bytes);
        expectRefusalWarning(path);
        QVERIFY(!WavFile().writeBextDescription(path, text));
        QCOMPARE(testsupport::readFile(path), bytes);
    }

    void noSuchFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing file") << m_files.filePath("gone.wav");
        QTest::newRow("missing folder") << m_files.filePath("gone/x.wav");
        QTest::newRow("folder") << m_files.path();
    }

    void noSuchFile()
    {
        QFETCH(QString, path);
        const bool existed = QFileInfo::exists(path);
        expectRefusalWarning(path);
        QVERIFY(!WavFile().writeBextDescription(path, QStringLiteral("Nyc")));
        QCOMPARE(QFileInfo::exists(path), existed);
    }

    // Appending to a file of nearly 4 GiB would carry the RIFF size past 32 bits:
    // refused before anything is written. The big chunk is a hole in a sparse file.
    void appendPastThirtyTwoBitsRefused()
    {
        const quint32 junkSize = 0xfffffff0u;
        const qint64 fileSize = 12 + 8 + qint64(junkSize);
        const QByteArray head =
            "RIFF" + WavWriter::le32(quint32(fileSize - 8)) + "WAVE" + "junk" + WavWriter::le32(junkSize);
        const QString path = m_files.putSparse(head, fileSize);
        if (path.isEmpty())
            QSKIP("this file system stores no sparse files of 4 GiB");
        expectRefusalWarning(path);
        const bool written = WavFile().writeBextDescription(path, QStringLiteral("Nyc"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const qint64 sizeAfter = f.size();
        const QByteArray headAfter = f.read(head.size());
        f.close();
        QFile::remove(path);
        QVERIFY(!written);
        QCOMPARE(sizeAfter, fileSize);
        QCOMPARE(headAfter, head);
    }

    // Every state a kill can leave, a write cut in the middle among them, keeps
    // its samples whole, claims no byte the file lacks, and the next write
    // leaves the RIFF size and the file in agreement.
    void killedWrite_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("failingWrite"); // 0: none fails
        const QByteArray plain = testsupport::simplePcmWav({1, 2}, 8000);
        QTest::newRow("append") << plain << 0;
        QTest::newRow("append after a pad") << WavWriter().fmt(8000, 8).chunk("data", "abc", false).bytes() << 0;
        QTest::newRow("append rolled back after its RIFF size fails") << plain << 2;
        QTest::newRow("in place into a chunk appended before a kill") << appendedWithOldSize() << 0;
        QTest::newRow("append to a real recording")
            << testsupport::readFile(testsupport::testDataDir() + QStringLiteral("/Barbastelle.wav")) << 0;
        // Sizes a kill does not leave but other programs do: no cut append may lock these.
        QTest::newRow("append, RIFF size of a header never finished")
            << WavWriter().fmt(8000, 16).data({1, 2}, 16).riffSize(0xffffffff).bytes() << 0;
        QTest::newRow("append, RIFF size 2 bytes too many")
            << WavWriter().fmt(8000, 16).data({1, 2}, 16).riffSize(plain.size() - 8 + 2).bytes() << 0;
    }

    void killedWrite()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, failingWrite);
        SnapshotFile file(put(bytes), failingWrite);
        QVERIFY(file.open(QIODevice::ReadWrite | QIODevice::Unbuffered));
        if (failingWrite > 0)
            expectRefusalWarning(file.fileName());
        QCOMPARE(writeBextDescriptionToFile(file, QStringLiteral("Nyc")), failingWrite == 0);
        QVERIFY(!file.states.isEmpty());
        WavFile original;
        original.open(put(bytes), false);
        QVERIFY(!original.samples.empty());
        const bool claimedNoMore = qint64(original.riffSize) + 8 <= bytes.size();
        for (const QByteArray &killed : file.states) {
            const QString path = put(killed);
            WavFile wav;
            wav.open(path, false);
            QCOMPARE(wav.samples, original.samples);
            QVERIFY2(wav.valid, qPrintable(wav.errorText));
            if (claimedNoMore)
                QVERIFY(qint64(wav.riffSize) + 8 <= killed.size());

            QVERIFY(WavFile().writeBextDescription(path, QStringLiteral("Pip")));
            const QByteArray after = testsupport::readFile(path);
            QCOMPARE(le32At(after, 4), quint32(after.size() - 8));
            wav.open(path, true);
            QCOMPARE(wav.errorText, QString());
            QCOMPARE(wav.bext.description, QStringLiteral("Pip"));
        }
    }

    // A RIFF size that lies is left alone unless the last chunk is exactly what an append writes.
    void lyingSizeKeptBesideOtherBext_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("an originator set") << appendedWithOldSize("recorder");
        QTest::newRow("a chunk behind") << appendedWithOldSize(QByteArray(), "info");
    }

    void lyingSizeKeptBesideOtherBext()
    {
        QFETCH(QByteArray, bytes);
        const QString path = put(bytes);
        QVERIFY(WavFile().writeBextDescription(path, QStringLiteral("Pip")));
        const QByteArray after = testsupport::readFile(path);
        QCOMPARE(after.size(), bytes.size());
        QCOMPARE(after.left(8), bytes.left(8));
    }

    // What a cut append leaves is dropped wherever the RIFF size ends, and the
    // size is right after the new append.
    void cutAppendDropped_data()
    {
        QTest::addColumn<QByteArray>("cut");
        QTest::addColumn<quint32>("riffSize");
        const QByteArray append = "bext" + WavWriter::le32(858) + WavWriter::field("Nyc", 858);
        const quint32 before = quint32(testsupport::simplePcmWav({1, 2}, 8000).size() - 8);
        QTest::newRow("just past the RIFF size") << append.left(300) << before;
        QTest::newRow("at the RIFF size's last 2 bytes") << append.left(300) << before + 2;
        QTest::newRow("inside the RIFF size") << append.left(300) << before + 866;
        // The longest cut that no zero byte follows: one more byte would be none of ours.
        QTest::newRow("264 bytes in, a description of 256 letters")
            << "bext" + WavWriter::le32(858) + QByteArray(256, 'n') << before;
    }

    void cutAppendDropped()
    {
        QFETCH(QByteArray, cut);
        QFETCH(quint32, riffSize);
        const QByteArray plain = testsupport::simplePcmWav({1, 2}, 8000);
        const QString path = put("RIFF" + WavWriter::le32(riffSize) + plain.mid(8) + cut);
        QVERIFY(WavFile().writeBextDescription(path, QStringLiteral("Pip")));
        const QByteArray appended = "bext" + WavWriter::le32(858) + WavWriter::field("Pip", 858);
        QCOMPARE(testsupport::readFile(path),
                 "RIFF" + WavWriter::le32(quint32(plain.size() + 866 - 8)) + plain.mid(8) + appended);
    }

    void failedWriteLeavesFileAsItWas_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("failingWrite");
        QTest::newRow("in place") << withBext("old text") << 1;
        QTest::newRow("in place, the RIFF size it repairs") << appendedWithOldSize() << 2;
        QTest::newRow("append: the chunk") << testsupport::simplePcmWav({1, 2}, 8000) << 1;
        QTest::newRow("append: the RIFF size") << testsupport::simplePcmWav({1, 2}, 8000) << 2;
        QTest::newRow("append after a pad: the chunk")
            << WavWriter().fmt(8000, 8).chunk("data", "abc", false).bytes() << 1;
    }

    void failedWriteLeavesFileAsItWas()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, failingWrite);
        const QString path = put(bytes);
        ShortWriteFile file(path, failingWrite);
        QVERIFY(file.open(QIODevice::ReadWrite | QIODevice::Unbuffered));
        expectRefusalWarning(path);
        QString failure;
        QVERIFY(!writeBextDescriptionToFile(file, QStringLiteral("Nyc + Pip"), &failure));
        QVERIFY(file.writes >= failingWrite);
        QVERIFY(!file.isOpen());
        QCOMPARE(testsupport::readFile(path), bytes);
        // The system's words, for the message that tells the user.
        QCOMPARE(failure, qt_error_string(ENOSPC));
    }

    // A write in place that fails and cannot be undone leaves part of the new
    // text over the old: the caller must be told the description is damaged.
    void failedRollbackReported()
    {
        const QByteArray before = withBext(QByteArray(200, 'o'));
        const QString path = put(before);
        ShortWriteFile file(path, 1, true);
        QVERIFY(file.open(QIODevice::ReadWrite | QIODevice::Unbuffered));
        expectRefusalWarning(path);
        QString failure;
        QVERIFY(!writeBextDescriptionToFile(file, QString(40, QLatin1Char('n')), &failure));
        // The first 128 bytes of the field were written, the old text stands behind them.
        QCOMPARE(testsupport::readFile(path).mid(descriptionOffset, 200),
                 QByteArray(40, 'n') + QByteArray(88, '\0') + QByteArray(72, 'o'));
        QVERIFY2(failure.startsWith(qt_error_string(ENOSPC)), qPrintable(failure));
        QVERIFY2(failure.contains(QStringLiteral("damaged description")), qPrintable(failure));
    }

    // Nothing of the new text went in: the user must not be told of a damaged description.
    void refusedFirstByteNoDamageReported()
    {
        const QByteArray before = withBext(QByteArray(200, 'o'));
        const QString path = put(before);
        FullDiskFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite | QIODevice::Unbuffered));
        expectRefusalWarning(path);
        QString failure;
        QVERIFY(!writeBextDescriptionToFile(file, QString(40, QLatin1Char('n')), &failure));
        QCOMPARE(testsupport::readFile(path), before);
        QCOMPARE(failure, qt_error_string(ENOSPC));
    }

    // A power cut keeps what was synced and any part of what was written
    // since: the appended chunk must be on the disk before the RIFF size
    // that claims it is written.
    void chunkSyncedBeforeItsSize()
    {
        const QString path = put(testsupport::simplePcmWav({1, 2}, 8000));
        SnapshotFile file(path, 0);
        QVERIFY(file.open(QIODevice::ReadWrite | QIODevice::Unbuffered));
        QVERIFY(writeBextDescriptionToFile(file, QStringLiteral("Pip"), nullptr, file.sync()));
        QCOMPARE(file.syncedAtSizeWrite.size(), 1);
        QCOMPARE(file.syncedAtSizeWrite.first().mid(8), testsupport::readFile(path).mid(8));
    }
};

QUILLON_TEST(TestBextWriter)
#include "tst_bextwriter.moc"
