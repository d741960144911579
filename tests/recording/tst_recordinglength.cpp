#include "recording/recordinglength.h"

#include "testregistry.h"

#include <QLocale>
#include <QTest>

class TestRecordingLength : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void text_data()
    {
        QTest::addColumn<qint64>("samples");
        QTest::addColumn<qint64>("rate");
        QTest::addColumn<QString>("text");
        // 6.9825 s: the nearest double lies below the half, the nearest float above it.
        QTest::newRow("a half millisecond rounds up") << qint64(1787520) << qint64(256000) << "6.983";
        QTest::newRow("one sample less") << qint64(1787519) << qint64(256000) << "6.982";
        // 4.5 ms: the nearest double and the nearest float both lie below the half.
        QTest::newRow("a half below both floating-point quotients") << qint64(1152) << qint64(256000) << "0.005";
        QTest::newRow("half of the first millisecond") << qint64(127) << qint64(254000) << "0.001";
        QTest::newRow("no samples") << qint64(0) << qint64(250000) << "0.000";
        QTest::newRow("rounded up into the next second") << qint64(999999) << qint64(1000000) << "1.000";
        QTest::newRow("2^28 samples at 500 kHz") << (qint64(1) << 28) << qint64(500000) << "536.871";
        QTest::newRow("a raw file of 2^40 samples") << (qint64(1) << 40) << qint64(500000) << "2199023.256";
    }

    void text()
    {
        QFETCH(qint64, samples);
        QFETCH(qint64, rate);
        QLocale::setDefault(QLocale::c());
        QTEST(recordingLengthText(samples, rate), "text");
    }

    void text_inTheDefaultLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(recordingLengthText(1787520, 256000), QStringLiteral("6,983"));
    }
};

QUILLON_TEST(TestRecordingLength)
#include "tst_recordinglength.moc"
