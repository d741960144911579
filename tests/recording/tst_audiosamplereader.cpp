#include "recording/audiosamplereader.h"
#include "recording/samplebound.h"

#include "fixturefolder.h"
#include "testregistry.h"
#include "wavwriter.h"

#include <QTest>

class TestAudioSampleReader : public QObject
{
    Q_OBJECT

private:
    FixtureFolder m_files;

    QString put(const QByteArray &bytes) { return m_files.put(bytes, QStringLiteral(".raw")); }

private slots:
    void initTestCase() { QVERIFY(m_files.isValid()); }

    void load_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("headerOnly");
        QTest::addColumn<QVector<int>>("samples");
        QTest::addColumn<bool>("fails");
        QTest::newRow("sign extension") << QByteArray::fromHex("0100ffff0080") << false << QVector<int>{1, -1, -32768}
                                        << false;
        QTest::newRow("largest value") << QByteArray::fromHex("ff7f") << false << QVector<int>{32767} << false;
        QTest::newRow("odd last byte ignored")
            << QByteArray::fromHex("0200030004") << false << QVector<int>{2, 3} << false;
        QTest::newRow("one byte, full load") << QByteArray::fromHex("07") << false << QVector<int>{} << true;
        QTest::newRow("one byte, header only") << QByteArray::fromHex("07") << true << QVector<int>{} << false;
        QTest::newRow("empty file, full load") << QByteArray() << false << QVector<int>{} << true;
        QTest::newRow("header only decodes nothing")
            << QByteArray::fromHex("01000200") << true << QVector<int>{} << false;
    }

    void load()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, headerOnly);
        QFETCH(QVector<int>, samples);
        QFETCH(bool, fails);
        const QString path = put(bytes);
        AudioSampleReader reader;
        reader.load(path, headerOnly);
        QCOMPARE(reader.errorText,
                 fails ? QStringLiteral("Cannot read data from '") + path + QStringLiteral("'") : QString());
        QCOMPARE(reader.fileSize, quint32(bytes.size()));
        QCOMPARE(reader.bytesPerSample, 2);
        QCOMPARE(QVector<int>(reader.samples.begin(), reader.samples.end()), samples);
    }

    void failedLoadForgetsThePreviousRecording_data()
    {
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("errorText");
        const QString missing = m_files.filePath("missing.raw");
        QTest::newRow("missing file") << missing << QStringLiteral("Cannot open file '") + missing + "'";
        QTest::newRow("folder") << m_files.path() << QStringLiteral("Cannot open file '") + m_files.path() + "'";
    }

    void failedLoadForgetsThePreviousRecording()
    {
        QFETCH(QString, second);
        QFETCH(QString, errorText);
        AudioSampleReader reader;
        reader.load(put(QByteArray::fromHex("010002000300")), false);
        QCOMPARE(int(reader.samples.size()), 3);
        reader.load(second, false);
        QCOMPARE(reader.errorText, errorText);
        QVERIFY(reader.samples.empty());
        QCOMPARE(reader.fileSize, 0u);
    }

    // A file of more samples than the program holds is refused before a byte
    // of it is read. The samples are a hole in a sparse file.
    void tooManySamples()
    {
        const quint64 samples = maxRecordingSamples + 1;
        const QString path = m_files.putSparse(QByteArray(), qint64(samples) * 2 + 1, QStringLiteral(".raw"));
        if (path.isEmpty())
            QSKIP("this file system stores no sparse files");
        AudioSampleReader reader;
        reader.load(path, false);
        QCOMPARE(reader.errorText, tooManySamplesText(samples));
        QVERIFY(reader.samples.empty());
        QCOMPARE(reader.fileSize, quint32(samples * 2 + 1));
        QFile::remove(path);
    }

    void resetKeepsSamples()
    {
        AudioSampleReader reader;
        reader.load(put(QByteArray::fromHex("0600")), false);
        reader.bytesPerSample = 4;
        reader.errorText = QStringLiteral("stale");
        reader.reset();
        QCOMPARE(reader.bytesPerSample, 2);
        QCOMPARE(reader.errorText, QString());
        QCOMPARE(QVector<int>(reader.samples.begin(), reader.samples.end()), QVector<int>{6});
        QCOMPARE(reader.fileSize, 2u);
    }
};

QUILLON_TEST(TestAudioSampleReader)
#include "tst_audiosamplereader.moc"
