#include "recording/samplebound.h"
#include "recording/wavfile.h"

#include "fixturefolder.h"
#include "testregistry.h"
#include "wavwriter.h"

#include <QDir>
#include <QTest>

#include <cmath>
#include <cstdlib>
#include <ctime>

using testsupport::WavWriter;

class TestWavFile : public QObject
{
    Q_OBJECT

private:
    FixtureFolder m_files;

    QString put(const QByteArray &bytes) { return m_files.put(bytes); }

    // Reads a recording whose chunk id lies between the format and two samples
    // of data: the samples come out whole, whatever the chunk holds.
    void openWithChunk(WavFile &wav, const QByteArray &id, const QByteArray &payload)
    {
        WavWriter w;
        w.fmt(250000, 16).chunk(id, payload).chunk("data", pcm16({9, -9}));
        wav.open(put(w.bytes()), false);
        QVERIFY2(wav.valid, qPrintable(wav.errorText));
        QCOMPARE(QVector<int>(wav.samples.begin(), wav.samples.end()), (QVector<int>{9, -9}));
    }

    static QByteArray pcm16(const QVector<int> &samples) { return WavWriter::pack(samples, 16); }

    // A wamd entry as a recorder writes it: 16-bit id, 32-bit length, the value.
    static QByteArray wamdEntry(quint16 id, const QByteArray &value)
    {
        return WavWriter::le16(id) + WavWriter::le32(quint32(value.size())) + value;
    }

    // A sample as its bytes give it, read apart from the code under test.
    static int sampleAt(const QByteArray &b, int at, int bits)
    {
        if (bits == 8)
            return int(quint8(b[at])) - 128;
        qint64 v = 0;
        const int n = bits / 8;
        for (int i = 0; i < n; ++i)
            v |= qint64(quint8(b[at + i])) << (8 * i);
        if (v & (qint64(1) << (bits - 1)))
            v -= qint64(1) << bits;
        return int(v);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_files.isValid());
        // The daylight-saving cases need a zone with a gap; CTest sets it too.
        qputenv("TZ", "Europe/Berlin");
        tzset();
    }

    // Every length, request and refusal is built on this count.
    void frameCount_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("bytesPerSample");
        QTest::addColumn<quint32>("dataSize");
        QTest::addColumn<quint32>("frames");
        QTest::newRow("16-bit mono") << 1 << 2 << 10u << 5u;
        QTest::newRow("24-bit stereo, part of a frame left over") << 2 << 3 << 13u << 2u;
        QTest::newRow("largest size field, no overflow") << 1 << 4 << 0xffffffffu << 0x3fffffffu;
        QTest::newRow("no channels") << 0 << 2 << 10u << 0u;
        QTest::newRow("no sample width") << 1 << 0 << 10u << 0u;
        QTest::newRow("empty data") << 1 << 2 << 0u << 0u;
    }
    void frameCount()
    {
        QFETCH(int, channels);
        QFETCH(int, bytesPerSample);
        QFETCH(quint32, dataSize);
        WavFile wav;
        wav.numberOfChannels = channels;
        wav.bytesPerSample = bytesPerSample;
        wav.dataSize = dataSize;
        QTEST(wav.frameCount(), "frames");
    }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("bits");
        QTest::addColumn<QVector<int>>("samples");
        QTest::newRow("16-bit sign extension")
            << QByteArray::fromHex("0100ffff0080") << 16 << QVector<int>{1, -1, -32768};
        QTest::newRow("8-bit has 128 as zero") << QByteArray::fromHex("80ff00") << 8 << QVector<int>{0, 127, -128};
        QTest::newRow("24-bit extremes") << QByteArray::fromHex("ffff7f000080ffffff") << 24
                                         << QVector<int>{8388607, -8388608, -1};
        QTest::newRow("32-bit extremes") << QByteArray::fromHex("ffffff7f00000080feffffff") << 32
                                         << QVector<int>{2147483647, -2147483647 - 1, -2};
        QTest::newRow("16-bit incomplete last frame ignored")
            << QByteArray::fromHex("0200030004") << 16 << QVector<int>{2, 3};
        QTest::newRow("24-bit incomplete last frame ignored")
            << QByteArray::fromHex("0100000203") << 24 << QVector<int>{1};
        QTest::newRow("16-bit one byte holds no sample") << QByteArray::fromHex("07") << 16 << QVector<int>{};
        // Long runs cross the decoder's blocks, where source and result share storage.
        for (int bits : {8, 16, 24, 32}) {
            QVector<int> ramp;
            const qint64 span = qint64(1) << bits;
            for (int i = 0; i < 10007; ++i)
                ramp << int((qint64(i) * 7919 % span) - span / 2);
            QTest::newRow(qPrintable(QStringLiteral("%1-bit ramp of 10007 samples").arg(bits)))
                << WavWriter::pack(ramp, bits) << bits << ramp;
        }
    }

    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, bits);
        QFETCH(QVector<int>, samples);
        WavWriter w;
        w.fmt(192000, quint16(bits)).chunk("data", bytes);
        WavFile wav;
        wav.open(put(w.bytes()), false);
        QVERIFY2(wav.valid, qPrintable(wav.errorText));
        QCOMPARE(wav.errorText, QString());
        QCOMPARE(wav.bitsPerSample, bits);
        QCOMPARE(wav.bytesPerSample, bits / 8);
        QCOMPARE(wav.dataSize, quint32(bytes.size()));
        QCOMPARE(QVector<int>(wav.samples.begin(), wav.samples.end()), samples);
    }

    void walk_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("headerOnly");
        QTest::addColumn<QString>("errorText");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("sampleCount");

        const QByteArray d3 = pcm16({1, 2, 3});
        auto good = [&]() {
            WavWriter w;
            w.fmt(250000, 16);
            return w;
        };

        QTest::newRow("plain file") << good().chunk("data", d3).bytes() << false << QString() << true << 3;
        QTest::newRow("empty file") << QByteArray() << false << "File is not a RIFF-WAV." << false << 0;
        QTest::newRow("not RIFF") << good().chunk("data", d3).magic("RIFX", "WAVE").bytes() << false
                                  << "File is not a RIFF-WAV." << false << 0;
        QTest::newRow("RIFF size cut") << QByteArray("RIFF\x10\x00", 6) << false << "WAV file read error." << false
                                       << 0;
        QTest::newRow("not WAVE") << good().chunk("data", d3).magic("RIFF", "AVI ").bytes() << false
                                  << "File is not a WAVE file." << false << 0;
        QTest::newRow("RIFF header only")
            << QByteArray("RIFF\x04\x00\x00\x00WAVE", 12) << false << QString() << false << 0;
        QTest::newRow("RIFF size disagrees is a warning")
            << good().chunk("data", d3).riffSize(1000).bytes() << false
            << "File size in header not identical to real file size." << true << 3;
        QTest::newRow("fmt of 18 bytes refused before its format tag")
            << WavWriter().fmt(16000, 16, 1, 1, 18).chunk("data", d3).bytes() << false << "FMT format not supported."
            << false << 0;
        QTest::newRow("float in 16-byte fmt") << WavWriter().fmt(16000, 32, 1, 3).chunk("data", d3).bytes() << false
                                              << "Compression format not supported." << false << 0;
        QTest::newRow("stereo") << WavWriter().fmt(16000, 16, 2).chunk("data", d3).bytes() << false
                                << "Not more than 1 channel supported." << false << 0;
        QTest::newRow("fmt smaller than 16 bytes") << WavWriter().fmt(16000, 16, 1, 1, 12).chunk("data", d3).bytes()
                                                   << false << "WAV file read error in FMT chunk." << false << 0;
        QTest::newRow("fmt of 15 bytes, one short") << WavWriter().fmt(16000, 16, 1, 1, 15).chunk("data", d3).bytes()
                                                    << false << "WAV file read error in FMT chunk." << false << 0;
        QTest::newRow("format code 0") << WavWriter().fmt(16000, 16, 1, 0).chunk("data", d3).bytes() << false
                                       << "Compression format not supported." << false << 0;
        QTest::newRow("fmt cut by the end of the file")
            << good().bytes().left(12 + 8 + 10) << false << "WAV file read error in FMT chunk." << false << 0;
        QTest::newRow("fmt cut before its channel count, bad tag seen first")
            << WavWriter().fmt(16000, 16, 1, 3).bytes().left(12 + 8 + 2) << false << "Compression format not supported."
            << false << 0;
        QTest::newRow("second fmt") << good().fmt(250000, 16).chunk("data", d3).bytes() << false
                                    << "More then one FMT chunks." << false << 0;
        QTest::newRow("second data") << good().chunk("data", d3).chunk("data", d3).bytes() << false
                                     << "Not more than one DATA chunk supported." << false << 3;
        QTest::newRow("data before fmt, full read") << WavWriter().chunk("data", d3).fmt(250000, 16).bytes() << false
                                                    << "Data format not supported." << false << 0;
        QTest::newRow("data before fmt, header only")
            << WavWriter().chunk("data", d3).fmt(250000, 16).bytes() << true << QString() << false << 0;
        QTest::newRow("12-bit samples") << WavWriter().fmt(16000, 12).chunk("data", d3).bytes() << false
                                        << "Data format not supported." << false << 0;
        // What the chunk claims and what the file holds behind its header.
        const QString cutData =
            QStringLiteral("WAV file read error in DATA chunk. The chunk walk stopped at byte 36: "
                           "the chunk \"data\" there claims %1 bytes, more than the 6 left in the file.");
        QTest::newRow("data larger than the file, full read")
            << good().chunk("data", d3, true, 0x7ffffff0).bytes() << false << cutData.arg(0x7ffffff0) << false << 0;
        QTest::newRow("data larger than the file, header only")
            << good().chunk("data", d3, true, 7).bytes() << true << cutData.arg(7) << false << 0;
        QTest::newRow("second TIME") << good()
                                            .chunk("TIME", testsupport::timePayload("05/03/21", "21:14:05"))
                                            .chunk("data", d3)
                                            .chunk("TIME", testsupport::timePayload("05/03/21", "21:14:05"))
                                            .bytes()
                                     << false << "Not more than one TIME chunk supported." << false << 3;
        QTest::newRow("second bext after the samples") << good().bext("a").chunk("data", d3).bext("b").bytes() << false
                                                       << "Not more than one BEXT chunk supported." << false << 3;
        QTest::newRow("second SPL") << good().chunk("SPL ", "1").chunk("SPL ", "2").chunk("data", d3).bytes() << false
                                    << "Not more than one SPL chunk supported." << false << 0;
        QTest::newRow("second wamd") << good()
                                            .chunk("wamd", testsupport::wamdPayload("2021-05-03", "21:14:05"))
                                            .chunk("wamd", testsupport::wamdPayload("2021-05-03", "21:14:05"))
                                            .bytes()
                                     << true << "Not more than one WAMD chunk supported." << false << 0;
        QTest::newRow("second guan") << good().chunk("guan", "Make: A").chunk("guan", "Make: B").bytes() << true
                                     << "Not more than one GUANO chunk supported." << false << 0;
        const quint32 huge = 0xfffffff0u;
        QTest::newRow("TIME larger than the file") << good().chunk("TIME", "x", true, huge).bytes() << false
                                                   << "WAV file read error in TIME chunk." << false << 0;
        QTest::newRow("bext larger than the file") << good().chunk("bext", "x", true, huge).bytes() << false
                                                   << "WAV file read error in BEXT chunk." << false << 0;
        QTest::newRow("wamd larger than the file") << good().chunk("wamd", "x", true, huge).bytes() << true
                                                   << "WAV file read error in WAMD chunk." << false << 0;
        QTest::newRow("guan larger than the file") << good().chunk("guan", "x", true, huge).bytes() << true
                                                   << "WAV file read error in GUANO chunk." << false << 0;
        QTest::newRow("SPL larger than the file")
            << good().chunk("SPL ", "x", true, huge).bytes() << false << QString() << false << 0;
        QTest::newRow("bext coding history beyond the file")
            << good().bext("Nyc", "A=PCM").chunk("data", d3).bytes().left(12 + 24 + 8 + 602 + 2) << false
            << "WAV file read error in BEXT chunk." << false << 0;
        QTest::newRow("unknown chunk larger than the file, replaces the size warning")
            << good().chunk("LIST", "abcd", true, 100).riffSize(5).bytes() << false << QString() << false << 0;
        QTest::newRow("unknown chunks are stepped over")
            << good().chunk("LIST", "abc").chunk("junk", QByteArray(10, 'j')).chunk("data", d3).bytes() << false
            << QString() << true << 3;
        QTest::newRow("ids compare case and blanks")
            << good().chunk("DATA", d3).chunk("fmt_", "x").chunk("data", d3).bytes() << false << QString() << true << 3;
        // Behind whole samples, bytes too few for a chunk header are what a
        // kill leaves of an append: a warning that says so, also in place of
        // the size warning the RIFF size of the file before the append brings.
        const QString tooFew = QStringLiteral("The chunk walk stopped at byte 50: the %1 bytes left in the file are "
                                              "too few for a chunk header.");
        QTest::newRow("two stray bytes after the data")
            << good().chunk("data", d3).bytes() + QByteArray(2, 'z') << false << tooFew.arg(2) << true << 3;
        QTest::newRow("six stray bytes after the data")
            << good().chunk("data", d3).bytes() + QByteArray(6, 'z') << false << tooFew.arg(6) << true << 3;
        QTest::newRow("append cut after 3 bytes, RIFF size before it")
            << good().chunk("data", d3).riffSize(42).bytes() + "bex" << false << tooFew.arg(3) << true << 3;
        QTest::newRow("two stray bytes without data before them")
            << good().chunk("LIST", "ab").bytes() + QByteArray(2, 'z') << false << QString() << false << 0;
        QTest::newRow("odd guan with pad before data")
            << good().chunk("guan", "Make: A").chunk("data", d3).bytes() << false << QString() << true << 3;
        QTest::newRow("odd data without pad at the end")
            << WavWriter().fmt(8000, 8).chunk("data", QByteArray::fromHex("808182"), false).bytes() << false
            << QString() << true << 3;
        QTest::newRow("no data chunk") << good().chunk("LIST", "ab").bytes() << false << QString() << false << 0;
        // What a kill leaves of metadata appended behind the samples: they stay whole and valid.
        const QByteArray withBext = good().chunk("data", d3).bext("Nyc").bytes();
        QTest::newRow("bext cut behind the data is a warning")
            << withBext.left(withBext.size() - 300) << false << "WAV file read error in BEXT chunk." << true << 3;
        QTest::newRow("unknown chunk cut behind the data is a warning")
            << good().chunk("data", d3).chunk("LIST", "abcd", true, 100).bytes() << false << QString() << true << 3;
    }

    void walk()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, headerOnly);
        QFETCH(QString, errorText);
        QFETCH(bool, valid);
        QFETCH(int, sampleCount);
        WavFile wav;
        wav.open(put(bytes), headerOnly);
        QCOMPARE(wav.errorText, errorText);
        QCOMPARE(wav.valid, valid);
        QCOMPARE(int(wav.samples.size()), sampleCount);
        QVERIFY(!wav.file);
    }

    // Whether the walk reached the end is its own fact: neither the error text
    // (empty for three early stops) nor valid (false for every header-only read) tells it.
    void walkedToEnd_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("headerOnly");
        QTest::addColumn<bool>("walkedToEnd");
        const QByteArray d3 = pcm16({1, 2, 3});
        auto good = [&]() {
            WavWriter w;
            w.fmt(250000, 16).bext("Nyc").chunk("data", d3);
            return w;
        };

        QTest::newRow("whole file") << good().bytes() << false << true;
        QTest::newRow("whole file, header only") << good().bytes() << true << true;
        QTest::newRow("RIFF size disagrees") << good().riffSize(1000).bytes() << true << true;
        QTest::newRow("no data chunk") << WavWriter().fmt(250000, 16).bytes() << false << true;
        QTest::newRow("RIFF header alone") << QByteArray("RIFF\x04\x00\x00\x00WAVE", 12) << true << true;
        QTest::newRow("chunk id unreadable") << good().bytes() + QByteArray(3, 'z') << true << false;
        QTest::newRow("chunk size unreadable") << good().bytes() + QByteArray(6, 'z') << true << false;
        QTest::newRow("short SPL read") << good().chunk("SPL ", "x", true, 100).bytes() << true << false;
        QTest::newRow("unknown chunk past the end") << good().chunk("LIST", "abcd", true, 100).bytes() << true << false;
        QTest::newRow("second bext") << good().bext("Pip").bytes() << true << false;
        QTest::newRow("fmt refused") << WavWriter().fmt(16000, 16, 1, 1, 18).bext("Nyc").bytes() << true << false;
        QTest::newRow("not WAVE") << good().magic("RIFF", "AVI ").bytes() << true << false;
    }

    void walkedToEnd()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, headerOnly);
        WavFile wav;
        wav.open(put(bytes), headerOnly);
        QTEST(wav.walkedToEnd, "walkedToEnd");
    }

    // A data chunk of more samples than the program holds is refused before a
    // byte of it is read. The data is a hole in a sparse file.
    void tooManySamples_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<quint64>("samples");
        QTest::newRow("one sample over") << 16 << maxRecordingSamples + 1;
        QTest::newRow("8 bits, nearly 4 GiB") << 8 << quint64(0xffffffd0u);
    }

    void tooManySamples()
    {
        QFETCH(int, bits);
        QFETCH(quint64, samples);
        const quint32 dataSize = quint32(samples * quint64(bits / 8));
        WavWriter w;
        w.fmt(500000, quint16(bits)).chunk("data", QByteArray(), true, dataSize);
        const QByteArray head = w.riffSize(36 + qint64(dataSize)).bytes();
        const QString path = m_files.putSparse(head, head.size() + qint64(dataSize));
        if (path.isEmpty())
            QSKIP("this file system stores no sparse files of 4 GiB");
        WavFile wav;
        wav.open(path, false);
        QCOMPARE(wav.errorText, tooManySamplesText(samples));
        QVERIFY(wav.errorText.contains(QString::number(maxRecordingSamples)));
        QVERIFY(wav.samples.empty());
        QVERIFY(!wav.valid);
        QFile::remove(path);
    }

    void metadataRecords_data()
    {
        QTest::addColumn<bool>("headerOnly");
        QTest::newRow("full read") << false;
        QTest::newRow("header only") << true;
    }

    void metadataRecords()
    {
        QFETCH(bool, headerOnly);
        QByteArray bextPayload = WavWriter::field("Nyc + Pip|Pip|1|two bats", 256);
        bextPayload += WavWriter::field("Recorder Co", 32);
        bextPayload += WavWriter::field("REF-17", 32);
        bextPayload += WavWriter::field("2021-05-03", 10);
        bextPayload += WavWriter::field("21:14:05", 8);
        bextPayload += QByteArray(264, '\x01'); // reserved part: skipped, never shown
        bextPayload += "A=PCM,F=384000";
        WavWriter w;
        w.chunk("SPL ", "  -12.5 dB trailing")
            .chunk("bext", bextPayload)
            .fmt(384000, 16)
            .chunk("TIME", testsupport::timePayload("12/31/20", "23:59:58", "extra text", 7, -3))
            .chunk("wamd", testsupport::wamdPayload("2020-12-31", "23:59:58"))
            .chunk("data", pcm16({-1, 0, 1}));
        WavFile wav;
        wav.open(put(w.bytes()), headerOnly);
        QCOMPARE(wav.errorText, QString());
        QCOMPARE(wav.valid, !headerOnly);
        QCOMPARE(int(wav.samples.size()), headerOnly ? 0 : 3);
        QCOMPARE(wav.sampleRate, 384000u);
        QCOMPARE(wav.bytesPerSecond, 768000u);
        QCOMPARE(wav.blockAlignment, 2);
        QCOMPARE(wav.fmtSize, 16u);
        QVERIFY(wav.dataFound);
        QCOMPARE(wav.dataSize, 6u);
        QVERIFY(wav.time.found);
        QCOMPARE(wav.time.chunkSize, 66u);
        QCOMPARE(wav.time.char1, QStringLiteral("TIME"));
        QCOMPARE(wav.time.number1, 7);
        QCOMPARE(wav.time.recDate, QStringLiteral("31/12/20"));
        QCOMPARE(wav.time.Date, QStringLiteral("23:59:58"));
        QCOMPARE(wav.time.char2, QStringLiteral("SEC "));
        QCOMPARE(wav.time.number2, -3);
        QCOMPARE(wav.time.secDate, QStringLiteral("12/31/20"));
        QCOMPARE(wav.time.secTime, QStringLiteral("23:59:58"));
        QCOMPARE(wav.time.char3, QStringLiteral("extra text"));
        QVERIFY(wav.bext.found);
        QCOMPARE(wav.bext.chunkSize, quint32(bextPayload.size()));
        QCOMPARE(wav.bext.description, QStringLiteral("Nyc + Pip|Pip|1|two bats"));
        QCOMPARE(wav.bext.originator, QStringLiteral("Recorder Co"));
        QCOMPARE(wav.bext.reference, QStringLiteral("REF-17"));
        QCOMPARE(wav.bext.date, QStringLiteral("2021-05-03"));
        QCOMPARE(wav.bext.time, QStringLiteral("21:14:05"));
        QCOMPARE(wav.bext.codingHist, QStringLiteral("A=PCM,F=384000"));
        QVERIFY(wav.spl.found);
        QCOMPARE(wav.spl.value, QStringLiteral("-12.5")); // first eight bytes, trimmed
        QCOMPARE(wav.wamd.date, QStringLiteral("2020-12-31"));
        QCOMPARE(wav.wamd.time, QStringLiteral("23:59:58"));
        QCOMPARE(wav.recordingDateTime(), QDateTime(QDate(2020, 12, 31), QTime(23, 59, 58)));
    }

    void shortChunks_data()
    {
        QTest::addColumn<QByteArray>("id");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QStringList>("fields");

        const QByteArray time = testsupport::timePayload("05/03/21", "21:14:05");
        QTest::newRow("TIME of 20 bytes keeps the date, loses the time")
            << QByteArray("TIME") << time.left(20) << QStringList{"TIME", "03/05/21", "", ""};
        QTest::newRow("TIME of 3 bytes") << QByteArray("TIME") << time.left(3) << QStringList{"", "", "", ""};
        QTest::newRow("TIME of 52 bytes loses only the second time")
            << QByteArray("TIME") << time.left(52) << QStringList{"TIME", "03/05/21", "21:14:05", ""};
        QByteArray bext = WavWriter::field("Nyc", 256) + WavWriter::field("Orig", 32) + WavWriter::field("Ref", 32)
                          + WavWriter::field("2021-05-03", 10) + WavWriter::field("21:14:05", 8);
        QTest::newRow("bext of 300 bytes")
            << QByteArray("bext") << bext.left(300) << QStringList{"Nyc", "Orig", "", ""};
        QTest::newRow("bext of 337 bytes loses its time")
            << QByteArray("bext") << bext.left(337) << QStringList{"Nyc", "Orig", "Ref", ""};
        QTest::newRow("bext of 100 bytes loses its description")
            << QByteArray("bext") << bext.left(100) << QStringList{"", "", "", ""};
        const QByteArray wamd = testsupport::wamdPayload("2021-05-03", "21:14:05");
        QTest::newRow("wamd of 69 bytes") << QByteArray("wamd") << wamd.left(69) << QStringList{"", ""};
        QTest::newRow("wamd of 80 bytes keeps the date")
            << QByteArray("wamd") << wamd.left(80) << QStringList{"2021-05-03", ""};
    }

    void shortChunks()
    {
        QFETCH(QByteArray, id);
        QFETCH(QByteArray, payload);
        QFETCH(QStringList, fields);
        // The next chunk follows at once: a reader that runs past the short chunk's
        // end would take the data chunk's header for field bytes and lose the samples.
        WavFile wav;
        openWithChunk(wav, id, payload);
        if (QTest::currentTestFailed())
            return;
        QStringList got;
        if (id == "TIME")
            got << wav.time.char1 << wav.time.recDate << wav.time.Date << wav.time.secTime;
        else if (id == "bext")
            got << wav.bext.description << wav.bext.originator << wav.bext.reference << wav.bext.time;
        else
            got << wav.wamd.date << wav.wamd.time;
        QCOMPARE(got, fields);
    }

    // The time stamp is found by walking the entries, wherever the ones before
    // it put it; where there is none, the fixed offsets are read.
    void wamdTimeStamp_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QStringList>("fields"); // date, time
        const QStringList stamped{"2022-08-15", "21:34:14"};
        const QByteArray stamp = wamdEntry(5, " 2022-08-15 21:34:14+0100");
        const auto head = [](const QByteArray &model) {
            return wamdEntry(0, QByteArray("\x01\x00", 2)) + wamdEntry(1, model) + wamdEntry(3, "1.6.2");
        };
        // Behind the longer name the stamp's date lies at the fixed offset 67, behind the shorter one not.
        for (const QByteArray &model : {QByteArray("EMT2"), QByteArray("Echo Meter Touch 2 Standard Android")})
            QTest::addRow("model name of %d bytes", int(model.size()))
                << head(model) + stamp + wamdEntry(6, "x") << stamped;
        // The id decides, not a value that looks like a stamp.
        QTest::newRow("an extra entry before the stamp")
            << head("EMT2") + wamdEntry(4, " 1999-01-01 00:00:00") + stamp << stamped;
        QTest::newRow("no entry list: the fixed offsets")
            << testsupport::wamdPayload("2021-05-03", "21:14:05") << QStringList{"2021-05-03", "21:14:05"};
        QTest::newRow("entry 5 holding no stamp") << head("EMT2") + wamdEntry(5, "15/08/22") << QStringList{"", ""};
        // A real recording's 69 bytes: five entries, none of them a stamp, and too short for the fixed fields.
        const QByteArray real = testsupport::readFile(
            QDir(testsupport::testDataDir()).filePath(QStringLiteral("3773_SE_Array_S1_20210615_222235_319.wav")));
        const QByteArray chunk = real.mid(real.lastIndexOf("wamd") + 8, 69);
        QCOMPARE(le32At(real, real.lastIndexOf("wamd") + 4), 69u);
        QTest::newRow("a real recording's entries") << chunk << QStringList{"", ""};
        QTest::newRow("a stamp behind a real recording's entries") << chunk + stamp << stamped;
    }

    void wamdTimeStamp()
    {
        QFETCH(QByteArray, payload);
        QFETCH(QStringList, fields);
        WavFile wav;
        openWithChunk(wav, "wamd", payload);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE((QStringList{wav.wamd.date, wav.wamd.time}), fields);
    }

    // Chunks declaring more than the program reads of them: the fields come out
    // as written, text stops at 1 MiB, and the walk goes on at the chunk's end.
    void boundedChunkRead_data()
    {
        QTest::addColumn<QByteArray>("id");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QStringList>("fields");

        const int bound = 1 << 20;
        const QByteArray beyond(bound + 4096, 'x');
        const QString kept = QString::number(bound);
        QByteArray bext = WavWriter::field("Nyc|x", 256) + WavWriter::field("Orig", 32);
        bext += QByteArray(602 - bext.size(), '\0') + beyond;
        QTest::newRow("bext, coding history cut") << QByteArray("bext") << bext << QStringList{"Nyc|x", "Orig", kept};
        QTest::newRow("TIME, text behind cut")
            << QByteArray("TIME") << testsupport::timePayload("05/03/21", "21:14:05", beyond)
            << QStringList{"03/05/21", "21:14:05", kept};
        // The line running over the bound is dropped whole, the one behind it never read.
        QTest::newRow("GUANO, lines beyond the bound")
            << QByteArray("guan")
            << testsupport::guanoPayload({"Make: Early", "Note: " + QString(bound, 'n'), "Model: Late"})
            << QStringList{"Early", "", ""};
        QTest::newRow("wamd with a long tail")
            << QByteArray("wamd") << testsupport::wamdPayload("2021-05-03", "21:14:05") + beyond
            << QStringList{"2021-05-03", "21:14:05"};
        QTest::newRow("SPL with a long tail")
            << QByteArray("SPL ") << QByteArray("  -12.5 ") + beyond << QStringList{"-12.5"};
    }

    void boundedChunkRead()
    {
        QFETCH(QByteArray, id);
        QFETCH(QByteArray, payload);
        QFETCH(QStringList, fields);
        WavFile wav;
        openWithChunk(wav, id, payload);
        if (QTest::currentTestFailed())
            return;
        QStringList got;
        if (id == "bext")
            got << wav.bext.description << wav.bext.originator << QString::number(wav.bext.codingHist.size());
        else if (id == "TIME")
            got << wav.time.recDate << wav.time.Date << QString::number(wav.time.char3.size());
        else if (id == "guan")
            got << wav.guano.make << wav.guano.note << wav.guano.model;
        else if (id == "wamd")
            got << wav.wamd.date << wav.wamd.time;
        else
            got << wav.spl.value;
        QCOMPARE(got, fields);
    }

    void timeChunkDate_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("recDate");
        QTest::newRow("month first becomes day first") << QByteArray("05/03/21") << "03/05/21";
        QTest::newRow("29 February 2000 exists") << QByteArray("02/29/00") << "29/02/00";
        QTest::newRow("29 February 2021 does not") << QByteArray("02/29/21") << "";
        QTest::newRow("month 13") << QByteArray("13/01/21") << "";
        QTest::newRow("not a date") << QByteArray("hh:mm:ss") << "";
    }

    void timeChunkDate()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, recDate);
        WavWriter w;
        w.fmt(250000, 16).chunk("TIME", testsupport::timePayload(stored, "01:02:03"));
        WavFile wav;
        wav.open(put(w.bytes()), true);
        QCOMPARE(wav.errorText, QString());
        QCOMPARE(wav.time.recDate, recDate);
    }

    void guano_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::newRow("Samplerate") << "Samplerate:500000"
                                    << "samplerate"
                                    << "500000";
        QTest::newRow("blank after the colon") << "Samplerate: 500000"
                                               << "samplerate"
                                               << "500000";
        QTest::newRow("Loc Position keeps its inner blank") << "Loc Position:52.1 13.4"
                                                            << "locPosition"
                                                            << "52.1 13.4";
        QTest::newRow("carriage return at line end") << "Make: Wildlife Acoustics\r"
                                                     << "make"
                                                     << "Wildlife Acoustics";
        QTest::newRow("Make without a colon is ignored") << "Make"
                                                         << "make"
                                                         << "";
        QTest::newRow("key case matters") << "make: X"
                                          << "make"
                                          << "";
        QTest::newRow("value with colons") << "Note: a: b"
                                           << "note"
                                           << "a: b";
        QTest::newRow("UTF-8 note") << QStringLiteral("Note: Fledermäuse") << "note" << QStringLiteral("Fledermäuse");
        QTest::newRow("float") << "Temperature Ext: -3.25"
                               << "temperatureExt"
                               << "-3.25";
        QTest::newRow("float not given stays NaN") << "Make: X"
                                                   << "humidity"
                                                   << "nan";
        QTest::newRow("float that does not parse is 0") << "Humidity: wet"
                                                        << "humidity"
                                                        << "0";
        QTest::newRow("Timestamp empty") << "Timestamp:"
                                         << "timestamp"
                                         << "";
        QTest::newRow("Timestamp without a blank") << "Timestamp:2024-05-31T22:39:11"
                                                   << "timestamp"
                                                   << "2024-05-31T22:39:11.000";
        QTest::newRow("Timestamp after a blank, blank inside") << "Timestamp: 2024-05-31 22:39:11"
                                                               << "timestamp"
                                                               << "2024-05-31T22:39:11.000";
        QTest::newRow("Timestamp with microseconds") << "Timestamp: 2024-05-31T22:39:11.123456"
                                                     << "timestamp"
                                                     << "2024-05-31T22:39:11.123";
        QTest::newRow("Timestamp in UTC") << "Timestamp: 2024-05-31T22:39:11Z"
                                          << "timestamp"
                                          << "2024-05-31T22:39:11.000Z";
        QTest::newRow("Timestamp with +hh:mm") << "Timestamp: 2024-05-31T22:39:11+02:00"
                                               << "timestamp"
                                               << "2024-05-31T22:39:11.000+02:00";
        QTest::newRow("Timestamp with -hhmm") << "Timestamp: 2024-05-31T22:39:11.5-0530"
                                              << "timestamp"
                                              << "2024-05-31T22:39:11.500-05:30";
        QTest::newRow("Timestamp that is no date") << "Timestamp: yesterday"
                                                   << "timestamp"
                                                   << "";
        QTest::newRow("Timestamp on 30 February") << "Timestamp: 2024-02-30T22:39:11"
                                                  << "timestamp"
                                                  << "";
    }

    void guano()
    {
        QFETCH(QString, line);
        QFETCH(QString, field);
        QFETCH(QString, value);
        WavWriter w;
        w.fmt(250000, 16).chunk("guan", testsupport::guanoPayload({"GUANO|Version: 1.0", "", line, "Unknown Key: 1"}));
        WavFile wav;
        wav.open(put(w.bytes()), true);
        QCOMPARE(wav.errorText, QString());
        QCOMPARE(wav.guano.version, QStringLiteral("1.0"));
        const GuanoChunk &g = wav.guano;
        // The timestamp is shown as written, with the designator's offset when one was given.
        const QMap<QString, QString> got{{"samplerate", QString::number(g.samplerate)},
                                         {"locPosition", g.locPosition},
                                         {"make", g.make},
                                         {"note", g.note},
                                         {"temperatureExt", QString::number(double(g.temperatureExt))},
                                         {"humidity", QString::number(double(g.humidity))},
                                         {"timestamp", g.timestamp.toString(Qt::ISODateWithMs)}};
        QCOMPARE(got.value(field), value);
    }

    // Every understood key reaches its own field (a key read into the wrong field
    // or misspelt would go unnoticed by the cases above).
    void guanoEveryKey()
    {
        const QStringList lines{"GUANO|Version: 1.0",
                                "Filter HP: 8.5",
                                "Filter LP: 120",
                                "Firmware Version: 4.6",
                                "Hardware Version: 2",
                                "Humidity: 81.5",
                                "Length: 3.25",
                                "Loc Accuracy: 7",
                                "Loc Elevation: 41.5",
                                "Loc Position: 52.5 13.25",
                                "Make: Maker",
                                "Model: M1",
                                "Note: a note",
                                "Original Filename: orig.wav",
                                "Samplerate: 384000",
                                "Serial: S-9",
                                "Species Auto ID: Pipistrellus",
                                "Species Manual ID: Nyctalus",
                                "Tags: t1,t2",
                                "TE: 10",
                                "Temperature Ext: -2.5",
                                "Temperature Int: 18.75",
                                "Timestamp: 2023-07-01T23:05:59",
                                "WA|Song Meter|Prefix: SM4",
                                "WA|Song Meter|Audio settings: [{\"rate\": 384000}]"};
        WavWriter w;
        w.fmt(384000, 16).chunk("guan", testsupport::guanoPayload(lines));
        WavFile wav;
        wav.open(put(w.bytes()), true);
        QCOMPARE(wav.errorText, QString());
        const GuanoChunk &g = wav.guano;
        const QStringList texts{g.version,
                                g.firmwareVersion,
                                g.hardwareVersion,
                                g.locPosition,
                                g.make,
                                g.model,
                                g.note,
                                g.originalFilename,
                                g.serial,
                                g.speciesAutoId,
                                g.speciesManualId,
                                g.tags,
                                g.waSongMeterPrefix,
                                g.waSongMeterAudioSettings};
        QCOMPARE(texts, (QStringList{"1.0", "4.6", "2", "52.5 13.25", "Maker", "M1", "a note", "orig.wav", "S-9",
                                     "Pipistrellus", "Nyctalus", "t1,t2", "SM4", "[{\"rate\": 384000}]"}));
        // Every value is exact in binary, so the floats compare exactly.
        const QVector<float> floats{g.filterHp,    g.filterLp,     g.humidity,       g.length,
                                    g.locAccuracy, g.locElevation, g.temperatureExt, g.temperatureInt};
        QCOMPARE(floats, (QVector<float>{8.5f, 120.0f, 81.5f, 3.25f, 7.0f, 41.5f, -2.5f, 18.75f}));
        QCOMPARE(g.samplerate, 384000);
        QCOMPARE(g.te, 10);
        QCOMPARE(g.timestamp.date(), QDate(2023, 7, 1));
        QCOMPARE(g.timestamp.time(), QTime(23, 5, 59));
    }

    void recordingDateTime_data()
    {
        QTest::addColumn<QString>("recDate");
        QTest::addColumn<QString>("timeOfDay");
        QTest::addColumn<QString>("wamdDate");
        QTest::addColumn<QString>("wamdTime");
        QTest::addColumn<QDateTime>("guano");
        QTest::addColumn<QDateTime>("expected");
        // Expected values carry a date and a time of day only; UTC keeps Qt from judging them.
        auto wall = [](int y, int mo, int d, int h, int mi, int sec) {
            return QDateTime(QDate(y, mo, d), QTime(h, mi, sec), Qt::UTC);
        };
        const QDateTime g(QDate(2019, 7, 1), QTime(1, 2, 3));
        QTest::newRow("TIME") << "03/05/21"
                              << "21:14:05"
                              << ""
                              << "" << QDateTime() << wall(2021, 5, 3, 21, 14, 5);
        QTest::newRow("TIME wins over wamd and GUANO") << "03/05/21"
                                                       << "21:14:05"
                                                       << "2020-01-01"
                                                       << "00:00:01" << g << wall(2021, 5, 3, 21, 14, 5);
        QTest::newRow("TIME does not parse, wamd used") << "33/05/21"
                                                        << "21:14:05"
                                                        << "2021-05-03"
                                                        << "21:14:05" << QDateTime() << wall(2021, 5, 3, 21, 14, 5);
        QTest::newRow("TIME without time of day, wamd used") << "03/05/21"
                                                             << ""
                                                             << "2021-05-04"
                                                             << "20:00:00" << g << wall(2021, 5, 4, 20, 0, 0);
        QTest::newRow("GUANO only when the others fail") << ""
                                                         << ""
                                                         << "2021-05-03"
                                                         << "25:00:00" << g << g;
        QTest::newRow("nothing") << ""
                                 << ""
                                 << ""
                                 << "" << QDateTime() << QDateTime();
        QTest::newRow("two-digit year 00 is 2000") << "29/02/00"
                                                   << "12:00:00"
                                                   << ""
                                                   << "" << QDateTime() << wall(2000, 2, 29, 12, 0, 0);
        QTest::newRow("two-digit year 99 is 2099") << "01/01/99"
                                                   << "12:00:00"
                                                   << ""
                                                   << "" << QDateTime() << wall(2099, 1, 1, 12, 0, 0);
        // 28 March 2021, 02:00 to 03:00 never happened on a clock in Berlin.
        QTest::newRow("TIME in the daylight-saving gap") << "28/03/21"
                                                         << "02:30:00"
                                                         << ""
                                                         << "" << g << wall(2021, 3, 28, 2, 30, 0);
        QTest::newRow("wamd in the daylight-saving gap") << ""
                                                         << ""
                                                         << "2021-03-28"
                                                         << "02:05:09" << g << wall(2021, 3, 28, 2, 5, 9);
    }

    void recordingDateTime()
    {
        QFETCH(QString, recDate);
        QFETCH(QString, timeOfDay);
        QFETCH(QString, wamdDate);
        QFETCH(QString, wamdTime);
        QFETCH(QDateTime, guano);
        QFETCH(QDateTime, expected);
        WavFile wav;
        wav.time.recDate = recDate;
        wav.time.Date = timeOfDay;
        wav.wamd.date = wamdDate;
        wav.wamd.time = wamdTime;
        wav.guano.timestamp = guano;
        const QDateTime got = wav.recordingDateTime();
        QCOMPARE(got.isValid(), expected.isValid());
        QCOMPARE(got.date(), expected.date());
        QCOMPARE(got.time(), expected.time());
    }

    void reset()
    {
        WavWriter w;
        w.fmt(250000, 16)
            .bext("Nyc")
            .chunk("guan",
                   testsupport::guanoPayload({"Humidity: 80", "Length: 1.5", "Loc Accuracy: 3", "Loc Elevation: 40",
                                              "Temperature Ext: 12", "Temperature Int: 14", "Filter HP: 8",
                                              "Filter LP: 120", "Timestamp: 2024-05-31T22:39:11"}))
            .chunk("data", pcm16({1, 2}));
        WavFile wav;
        wav.open(put(w.bytes()), false);
        QVERIFY(wav.valid);
        QCOMPARE(wav.guano.humidity, 80.0f);
        QCOMPARE(wav.guano.filterLp, 120.0f);
        wav.reset();
        for (float f : {wav.guano.humidity, wav.guano.length, wav.guano.locAccuracy, wav.guano.locElevation,
                        wav.guano.temperatureExt, wav.guano.temperatureInt})
            QVERIFY(std::isnan(f));
        QCOMPARE(wav.guano.filterHp, 0.0f);
        QCOMPARE(wav.guano.filterLp, 0.0f);
        QVERIFY(!wav.guano.timestamp.isValid());
        QVERIFY(!wav.guano.found);
        QCOMPARE(wav.fmtSize, 1000u);
        QCOMPARE(wav.sampleRate, 0u);
        QVERIFY(!wav.fmtFound && !wav.dataFound && !wav.riffFound && !wav.bext.found);
        QCOMPARE(wav.bext.description, QString());
        QVERIFY(wav.samples.empty());
        QCOMPARE(wav.samples.capacity(), size_t(0));
        QVERIFY(!wav.valid);
        QVERIFY(!wav.walkedToEnd);
    }

    void reopenForgetsThePreviousFile()
    {
        WavWriter rich;
        rich.fmt(250000, 16).bext("Nyc").chunk("data", pcm16({1, 2, 3}));
        WavFile wav;
        wav.open(put(rich.bytes()), false);
        QVERIFY(wav.valid);
        wav.open(put(WavWriter().fmt(250000, 16).bytes()), false);
        QVERIFY(!wav.valid);
        QVERIFY(wav.samples.empty());
        QVERIFY(!wav.bext.found);
        QCOMPARE(wav.bext.description, QString());
    }

    void cannotOpen_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing file") << m_files.filePath("no such file.wav");
        QTest::newRow("missing folder") << m_files.filePath("nowhere/x.wav");
        QTest::newRow("folder") << m_files.path();
    }

    void cannotOpen()
    {
        QFETCH(QString, path);
        WavFile wav;
        wav.open(path, false);
        QVERIFY(!wav.valid);
        QCOMPARE(wav.errorText, QStringLiteral("Cannot open '") + path + QStringLiteral("'."));
        QVERIFY(!wav.file);
    }

    void readFixedString_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero bytes inside are dropped") << QByteArray("ab\0c\0\0", 6) << 0 << 6 << "abc";
        QTest::newRow("UTF-8") << QStringLiteral("Zwergfledermaus ä").toUtf8() << 0 << 19
                               << QStringLiteral("Zwergfledermaus ä");
        QTest::newRow("bytes that are not UTF-8 taken one by one")
            << QByteArray("M\xfcller") << 0 << 6 << QStringLiteral("Müller");
        QTest::newRow("count past the buffer") << QByteArray("abc") << 1 << 10 << "bc";
        // A byte-order mark is a character of the text, not a header to strip.
        QTest::newRow("leading byte-order mark kept")
            << QByteArray("\xef\xbb\xbfNyc\xc3\xa4") << 0 << 8 << QString(QChar(0xFEFF)) + QStringLiteral("Nycä");
    }

    void readFixedString()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, start);
        QFETCH(int, count);
        QFETCH(QString, text);
        QCOMPARE(WavFile::readFixedString(bytes, start, count), text);
    }

    void realRecordings_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("errorText");
        const QString none;
        for (const char *name :
             {"Barbastelle.wav", "DaubentonSocialCalls.wav", "Natterers.wav", "NoctuleFeedingBuzz.wav",
              "SopranoFeedingBuzz.wav", "test_file.wav", "wav_pcm_24.wav", "wav_pcm_u8.wav"})
            QTest::newRow(name) << QString::fromLatin1(name) << none;
        // The fmt size is judged before the format tag.
        QTest::newRow("56-byte fmt") << "3773_SE_Array_S1_20210615_222235_319.wav"
                                     << "FMT format not supported.";
        QTest::newRow("A-law, 18-byte fmt") << "wav_alaw.wav"
                                            << "FMT format not supported.";
        QTest::newRow("IMA ADPCM, 20-byte fmt") << "wav_ima_adpcm.wav"
                                                << "FMT format not supported.";
        QTest::newRow("float, 16-byte fmt") << "wav_float.wav"
                                            << "Compression format not supported.";
    }

    void realRecordings()
    {
        QFETCH(QString, name);
        QFETCH(QString, errorText);
        const QString path = QDir(testsupport::testDataDir()).filePath(name);
        const QByteArray bytes = testsupport::readFile(path);
        QVERIFY2(!bytes.isEmpty(), qPrintable(QStringLiteral("missing recording ") + path));

        WavFile wav;
        wav.open(path, false);
        QCOMPARE(wav.errorText, errorText);
        // Every one of these files begins with its fmt chunk at byte 12.
        QCOMPARE(bytes.mid(12, 4), QByteArray("fmt "));
        QVERIFY(wav.fmtFound);
        QCOMPARE(wav.fmtSize, le32At(bytes, 16));
        if (!errorText.isEmpty()) {
            QVERIFY(!wav.valid);
            QVERIFY(wav.samples.empty());
            return;
        }
        // The files read in full hold a 16-byte fmt chunk and the data chunk right after it.
        QCOMPARE(le32At(bytes, 16), 16u);
        QCOMPARE(bytes.mid(36, 4), QByteArray("data"));
        const quint32 rate = le32At(bytes, 24);
        const int bits = quint8(bytes[34]) | quint8(bytes[35]) << 8;
        const quint32 size = le32At(bytes, 40);
        const int width = bits / 8;
        const int count = int(size) / width;
        QVERIFY(wav.valid);
        QCOMPARE(wav.sampleRate, rate);
        QCOMPARE(wav.bitsPerSample, bits);
        QCOMPARE(wav.dataSize, size);
        QCOMPARE(int(wav.samples.size()), count);
        QCOMPARE(wav.samples.front(), sampleAt(bytes, 44, bits));
        QCOMPARE(wav.samples[size_t(count / 2)], sampleAt(bytes, 44 + (count / 2) * width, bits));
        QCOMPARE(wav.samples.back(), sampleAt(bytes, 44 + (count - 1) * width, bits));

        WavFile header;
        header.open(path, true);
        QVERIFY(!header.valid);
        QCOMPARE(header.errorText, QString());
        QCOMPARE(header.sampleRate, rate);
        QCOMPARE(header.dataSize, size);
    }
};

QUILLON_TEST(TestWavFile)
#include "tst_wavfile.moc"
