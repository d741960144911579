#include "recording/recordingkind.h"

#include "testregistry.h"

#include <QTest>

Q_DECLARE_METATYPE(RecordingKind)

class TestRecordingKind : public QObject
{
    Q_OBJECT

private slots:
    void kind_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<RecordingKind>("kind");
        QTest::newRow("wav") << "/data/night1/rec.wav" << RecordingKind::Wav;
        QTest::newRow("WAV in capitals") << "REC.WAV" << RecordingKind::Wav;
        QTest::newRow("mixed case") << "rec.Wav" << RecordingKind::Wav;
        QTest::newRow("raw") << "/data/rec.raw" << RecordingKind::Raw;
        QTest::newRow("RAW in capitals") << "rec.RAW" << RecordingKind::Raw;
        QTest::newRow("a name that is only the ending") << ".wav" << RecordingKind::Wav;
        QTest::newRow("ending without a dot") << "recwav" << RecordingKind::None;
        QTest::newRow("longer ending") << "rec.wave" << RecordingKind::None;
        QTest::newRow("wav inside the name") << "rec.wav.txt" << RecordingKind::None;
        QTest::newRow("a folder named like a recording") << "/data/x.wav/notes" << RecordingKind::None;
        QTest::newRow("empty") << "" << RecordingKind::None;
    }

    void kind()
    {
        QFETCH(QString, path);
        QFETCH(RecordingKind, kind);
        QCOMPARE(recordingKind(path), kind);
        QCOMPARE(isRecordingPath(path), kind != RecordingKind::None);
    }
};

QUILLON_TEST(TestRecordingKind)
#include "tst_recordingkind.moc"
