#include "testregistry.h"

#include "display/shownrecording.h"
#include "recording/audiosamplereader.h"
#include "recording/wavfile.h"

#include <QLocale>
#include <QTest>
#include <cmath>

class TestShownRecording : public QObject
{
    Q_OBJECT
private slots:
    void duration_data();
    void duration();
    void truncatedRecording();
    void infoLine_data();
    void infoLine();
    void infoLineLocale();
    void infoLine_lengthAsTheListShowsIt();
};

void TestShownRecording::duration_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("channels");
    QTest::addColumn<double>("seconds"); // -1: no number
    // WAV: 500000 bytes of 16-bit samples at 250 kHz; RAW: 1000000 bytes at 500 kHz.
    QTest::newRow("wav") << "/r/a.wav" << 1 << 1.0;
    QTest::newRow("WAV in capitals") << "/r/A.WAV" << 1 << 1.0;
    QTest::newRow("two channels") << "/r/a.wav" << 2 << 0.5;
    QTest::newRow("no channels") << "/r/a.wav" << 0 << 0.0;
    QTest::newRow("raw") << "/r/a.Raw" << 1 << 1.0;
    QTest::newRow("nothing shown") << "" << 1 << -1.0;
    QTest::newRow("other ending") << "/r/a.txt" << 1 << -1.0;
}

void TestShownRecording::duration()
{
    QFETCH(QString, fileName);
    QFETCH(int, channels);
    QFETCH(double, seconds);
    WavFile wav;
    wav.sampleRate = 250000;
    wav.numberOfChannels = channels;
    wav.bytesPerSample = 2;
    wav.dataSize = 500000;
    wav.samples.resize(wav.frameCount());
    AudioSampleReader raw;
    raw.bytesPerSample = 2;
    raw.fileSize = 1000000;
    raw.samples.resize(500000);
    const double d = shownFormat(fileName, wav, raw).duration();
    if (seconds < 0)
        QVERIFY(std::isnan(d));
    else
        QCOMPARE(d, seconds);

    // A header that says 0 Hz gives no duration rather than an infinite one.
    wav.sampleRate = 0;
    if (fileName.endsWith(".wav", Qt::CaseInsensitive))
        QVERIFY(std::isnan(shownFormat(fileName, wav, raw).duration()));
}

// The length is the one the spectrogram is drawn over: a header that promises
// more than the file holds counts only the samples read.
void TestShownRecording::truncatedRecording()
{
    WavFile wav;
    wav.sampleRate = 250000;
    wav.numberOfChannels = 1;
    wav.bitsPerSample = 16;
    wav.bytesPerSample = 2;
    wav.dataSize = 500000;      // 250000 frames promised
    wav.samples.resize(125000); // half of them read
    AudioSampleReader raw;
    const ShownFormat f = shownFormat(QStringLiteral("/r/cut.wav"), wav, raw);
    QCOMPARE(f.sampleCount, qint64(125000));
    QCOMPARE(f.duration(), 0.5);
    QCOMPARE(f.bitsPerSample, 16);
    QVERIFY(!f.raw);

    raw.bytesPerSample = 2;
    raw.fileSize = 1000000; // 500000 samples by its size
    raw.samples.resize(250000);
    const ShownFormat r = shownFormat(QStringLiteral("/r/cut.raw"), wav, raw);
    QCOMPARE(r.sampleCount, qint64(250000));
    QCOMPARE(r.sampleRate, rawSampleRate);
    QCOMPARE(r.duration(), 0.5);
    QVERIFY(r.raw);
}

void TestShownRecording::infoLine_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("line");
    const QString head = QStringLiteral("16bit; 250000Hz; 1.500s; 07/12/26; 05:14:26");
    QTest::newRow("no description") << QString() << head;
    QTest::newRow("bare classes") << "Nyc + Pip" << head + "; Nyc; Pip";
    QTest::newRow("full text") << "Nyc + PipPip|Nyc|1|near the pond" << head + "; Nyc; PipPip; near the pond";
    QTest::newRow("short text with comment only") << "|windy" << head + "; windy";
    QTest::newRow("two bars keep the rest as comment") << "Enil|a|b" << head + "; Enil; a|b";
    QTest::newRow("more than four classes show none") << "A + B + C + D + E|note" << head + "; note";
}

void TestShownRecording::infoLine()
{
    QFETCH(QString, description);
    QLocale::setDefault(QLocale::c());
    QTEST(recordingInfoLine(16, 250000, 375000, QStringLiteral("07/12/26"), QStringLiteral("05:14:26"),
                            shownClassesAndComment(description)),
          "line");
}

void TestShownRecording::infoLineLocale()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString line = recordingInfoLine(24, 384000, 864000, QString(), QString(), {});
    QLocale::setDefault(QLocale::c());
    QCOMPARE(line, QStringLiteral("24bit; 384.000Hz; 2,250s; ; "));
}

void TestShownRecording::infoLine_lengthAsTheListShowsIt()
{
    // 4.5 ms, which a quotient in floating point puts below the half.
    QLocale::setDefault(QLocale::c());
    QCOMPARE(recordingInfoLine(16, 256000, 1152, QString(), QString(), {}),
             QStringLiteral("16bit; 256000Hz; 0.005s; ; "));
}

QUILLON_TEST(TestShownRecording)
#include "tst_shownrecording.moc"
