#include "analysis/classassignmenttext.h"
#include "analysis/getfileinfothread.h"
#include "analysis/metatypes.h"
#include "recording/wavfile.h"
#include "testregistry.h"
#include "wavwriter.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

using testsupport::WavWriter;

// Sends header requests as the folder loading does and relays the worker's
// replies into the test's thread.
class HeaderClient : public QObject
{
    Q_OBJECT
signals:
    void signalGetFileHeaderInfo(int index, QString wavFileName, bool calcClasses, QString recorderResultFileName,
                                 int reviewMode);
    void reply(int index, QString batClass, QString batClass2, QString batClass3, QString batClass4, QString autoClass,
               QString accepted, QString length, QString date, QString time, QString comment, bool writeBackFailed);
    void message(QString text);
};

class HeaderWorkerOnThread
{
public:
    HeaderWorkerOnThread()
        : worker(new GetFileInfoThread)
        , replies(&client, &HeaderClient::reply)
        , messages(&client, &HeaderClient::message)
    {
        worker->moveToThread(&thread);
        QObject::connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
        QObject::connect(&client, &HeaderClient::signalGetFileHeaderInfo, worker,
                         &GetFileInfoThread::getFileHeaderInfo);
        QObject::connect(worker, &GetFileInfoThread::signalFileInfoHeaderFinished, &client, &HeaderClient::reply);
        QObject::connect(worker, &GetFileInfoThread::signalShowMessage, &client, &HeaderClient::message);
        thread.start();
    }
    ~HeaderWorkerOnThread()
    {
        thread.quit();
        thread.wait();
    }

    // The ten texts of the reply to one request, in signal order after the index.
    QStringList request(const QString &path, bool calcClasses = false, const QString &resultFile = QString(),
                        int reviewMode = 0)
    {
        const int before = replies.count();
        emit client.signalGetFileHeaderInfo(before, path, calcClasses, resultFile, reviewMode);
        if (!replies.wait(60000) && replies.count() == before)
            return {};
        QStringList texts;
        const QList<QVariant> args = replies.last();
        if (args.at(0).toInt() != before)
            return {QStringLiteral("wrong index")};
        for (int i = 1; i <= 10; ++i)
            texts << args.at(i).toString();
        return texts;
    }

    bool lastWriteBackFailed() const { return replies.last().at(11).toBool(); }

    QThread thread;
    GetFileInfoThread *worker;
    HeaderClient client;
    QSignalSpy replies;
    QSignalSpy messages;
};

// wamd payload: date text at 67, one byte, time text at 78, 86 bytes in all.
QByteArray wamd(const QByteArray &date, const QByteArray &time)
{
    return QByteArray(67, '\0') + WavWriter::field(date, 10) + QByteArray(1, '\0') + WavWriter::field(time, 8);
}

// A 16-bit recording of silence with a bext chunk in front of the data.
WavWriter recording(const QByteArray &description, quint32 rate = 250000, int frames = 25000)
{
    WavWriter w;
    w.fmt(rate, 16).bext(description).data(QVector<int>(frames, 0), 16);
    return w;
}

// Reply texts in signal order: classes 1-4, proposal, accepted, length, date, time, comment.
QStringList row(const QStringList &classes, const QString &autoClass, const QString &accepted, const QString &length,
                const QString &date, const QString &time, const QString &comment)
{
    QStringList r = classes;
    while (r.size() < 4)
        r << QString();
    return r << autoClass << accepted << length << date << time << comment;
}

} // namespace

Q_DECLARE_METATYPE(WavWriter)

class TestFileHeaderWorker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void header_data();
    void header();
    void rawFile();
    void evaluation_data();
    void evaluation();
    void refusedClassification_data();
    void refusedClassification();
    void everyRequestAnsweredInOrder();
    void failedWriteBackInReply();
    void failedWriteBackSaysWhy();
    void recordingClassNames_data();
    void recordingClassNames();
    void lookAheadCount_data();
    void lookAheadCount();
    void lookAhead_data();
    void lookAhead();
    void resultFileReadOncePerChain();

private:
    QTemporaryDir m_dir;
};

void TestFileHeaderWorker::initTestCase()
{
    registerAnalysisMetaTypes();
    // Lengths follow the default locale; fix it so "0.100" is what the file gives.
    QLocale::setDefault(QLocale::c());
    QVERIFY(m_dir.isValid());
}

void TestFileHeaderWorker::header_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");

    const QString na = QStringLiteral("N/A");
    {
        WavWriter w;
        w.fmt(250000, 16).chunk("wamd", wamd("2021-05-03", "21:14:05")).bext("Pip + Nyc|PipPip, Nyc|1|two calls");
        w.data(QVector<int>(25000, 0), 16);
        QTest::newRow("upper-case ending, full form, wamd time")
            << "a.WAV" << w.bytes()
            << row({"Pip", "Nyc"}, "PipPip, Nyc", "1", "0.100", "03/05/21", "21:14:05", "two calls");
    }
    QTest::newRow("short form, no timestamp")
        << "b.wav" << recording("Pip|seen twice").bytes() << row({"Pip"}, "", "", "0.100", na, na, "seen twice");
    QTest::newRow("four classes, bare form")
        << "d.wav" << recording("A + B + C + D").bytes() << row({"A", "B", "C", "D"}, "", "", "0.100", na, na, "");
    QTest::newRow("five classes read as none")
        << "e.wav" << recording("A + B + C + D + E").bytes() << row({}, "", "", "0.100", na, na, "");
    QTest::newRow("umlauts") << "g.wav"
                             << recording("Nyc|Gr\xc3\xb6\xc3\x9f"
                                          "e")
                                    .bytes()
                             << row({"Nyc"}, "", "", "0.100", na, na, QString::fromUtf8("Größe"));
    {
        WavWriter w;
        w.fmt(250000, 16).data(QVector<int>(50000, 0), 16).bext("Nyc|behind the data");
        QTest::newRow("bext behind the data chunk")
            << "h.wav" << w.bytes() << row({"Nyc"}, "", "", "0.200", na, na, "behind the data");
    }
    QTest::newRow("no bext chunk") << "i.wav" << testsupport::simplePcmWav(QVector<int>(384000, 0), 384000)
                                   << row({}, "", "", "1.000", na, na, "");
    QTest::newRow("not RIFF") << "j.wav" << QByteArray("just some text, no RIFF header at all")
                              << row({}, "", "", na, na, na, "");
    {
        WavWriter w;
        w.fmt(0, 16).bext("Nyc").data(QVector<int>(1000, 0), 16);
        QTest::newRow("sample rate 0") << "k.wav" << w.bytes() << row({}, "", "", na, na, na, "");
    }
    {
        WavWriter w;
        w.bext("Nyc").data(QVector<int>(1000, 0), 16);
        QTest::newRow("no fmt chunk") << "l.wav" << w.bytes() << row({}, "", "", na, na, na, "");
    }
    {
        // A copy cut right behind the data chunk's header: none of the length it claims is there.
        WavWriter w;
        w.fmt(250000, 16).bext("Nyc|cut").chunk("data", QByteArray(), true, 50000);
        QTest::newRow("file ends behind the data chunk header")
            << "n.wav" << w.bytes() << row({"Nyc"}, "", "", na, na, na, "cut");
    }
    QTest::newRow("neither wav nor raw") << "m.txt" << recording("Nyc").bytes() << row({}, "", "", "", "", "", "");
}

void TestFileHeaderWorker::header()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);

    const QString path = m_dir.filePath(name);
    QVERIFY(testsupport::writeFile(path, bytes));
    HeaderWorkerOnThread w;
    QCOMPARE(w.request(path), expected);
    // Neither classification nor a result file asked for: the file is never touched.
    QCOMPARE(testsupport::readFile(path), bytes);
    QCOMPARE(w.messages.count(), 0);
}

void TestFileHeaderWorker::rawFile()
{
    const QString path = m_dir.filePath(QStringLiteral("rec.RAW"));
    QVERIFY(testsupport::writeFile(path, QByteArray(1000000, '\x01')));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    const QDateTime stamp(QDate(2022, 7, 14), QTime(22, 5, 9));
    QVERIFY(f.setFileTime(stamp, QFileDevice::FileModificationTime));
    f.close();

    const QString tiny = m_dir.filePath(QStringLiteral("tiny.raw"));
    QVERIFY(testsupport::writeFile(tiny, QByteArray(1, '\x01')));

    HeaderWorkerOnThread w;
    // 1,000,000 bytes are 500,000 samples: one second at the fixed RAW rate.
    QCOMPARE(w.request(path, true), row({}, "", "", "1.000", "14/07/22", "22:05:09", ""));
    QCOMPARE(w.request(tiny), row({}, "", "", "N/A", "N/A", "N/A", ""));
}

void TestFileHeaderWorker::evaluation_data()
{
    QTest::addColumn<WavWriter>("file");
    QTest::addColumn<bool>("calcClasses");
    QTest::addColumn<QByteArray>("resultLine"); // empty: no result file
    QTest::addColumn<int>("reviewMode");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QByteArray>("written"); // the description the file must hold afterwards

    // Silence: the detector finds nothing and the verdict of no calls is the empty proposal.
    const QString len = "0.100";
    const QString na = "N/A";
    QTest::newRow("detector names: unknown class dropped, proposal computed")
        << recording("Nyc + Bat|||") << true << QByteArray() << 0 << row({"Nyc"}, "", "", len, na, na, "")
        << QByteArray("Nyc +  +  + |||");
    QTest::newRow("detector names: four-slot gap kept, lower-case class dropped")
        << recording(" + pip + Nyc + |Pip|1|") << true << QByteArray() << 0
        << row({"", "", "Nyc"}, "Pip", "1", len, na, na, "") << QByteArray(" +  + Nyc + |Pip|1|");
    // A proposal "No Call" leaves the user's classes; the flag "0" says the two disagree.
    QTest::newRow("proposal No Call keeps the classes, stored as they disagree")
        << recording("Nyc + Pip|No Call|0|x") << true << QByteArray() << 0
        << row({"Nyc", "Pip"}, "No Call", "0", len, na, na, "x") << QByteArray("Nyc + Pip|No Call|0|x");
    QTest::newRow("proposal No Call accepted beside a class: flag 0 stored")
        << recording("Nyc|No Call|1|x") << true << QByteArray() << 0 << row({"Nyc"}, "No Call", "0", len, na, na, "x")
        << QByteArray("Nyc +  +  + |No Call|0|x");
    QTest::newRow("proposal No Call beside the class No Call agrees")
        << recording("No Call|No Call|1|x") << true << QByteArray() << 0
        << row({"No Call"}, "No Call", "1", len, na, na, "x") << QByteArray("No Call|No Call|1|x");
    QTest::newRow("proposal No call (small c) empties nothing")
        << recording("Nyc|No call|0|x") << true << QByteArray() << 0 << row({"Nyc"}, "No call", "0", len, na, na, "x")
        << QByteArray("Nyc|No call|0|x");
    QTest::newRow("review short: group names, long name dropped")
        << recording("Pnat + Ppip|a") << false << QByteArray("x\t1\t2\tbat\tPipistrelloid\t\tNyctaloid") << 0
        << row({"Pnat"}, "Pip, Nyc", "", len, na, na, "a") << QByteArray("Pnat +  +  + |Pip, Nyc||a");
    QTest::newRow("review long: names known, nothing written")
        << recording("Ppip + Nnoc|a") << false << QByteArray("x\t1\t2\tbat\t\t\t\t\tPpip\t\t\t\tNnoc") << 1
        << row({"Ppip", "Nnoc"}, "Ppip, Nnoc", "", len, na, na, "a") << QByteArray("Ppip + Nnoc|a");
    QTest::newRow("review long: short-model name Pnat kept, Nyc kept, Bat dropped")
        << recording("Pnat + Bat + Nyc|a") << false << QByteArray("x\t1\t2\tbat\t\t\t\t\tPnat") << 1
        << row({"Pnat", "", "Nyc"}, "Pnat", "", len, na, na, "a") << QByteArray("Pnat +  + Nyc + |Pnat||a");
    QTest::newRow("review short: another proposal in place of the accepted one is not accepted")
        << recording("Ppip + Pnat + Nnoc|Ppip, Pnat, Nnoc|1|") << false
        << QByteArray("x\t1\t2\tbat\tPipistrelloid\t\tNyctaloid") << 0
        << row({"", "Pnat"}, "Pip, Nyc", "0", len, na, na, "") << QByteArray(" + Pnat +  + |Pip, Nyc|0|");
    QTest::newRow("review long: the accepted proposal again keeps its flag")
        << recording("Ppip + Pnat + Bat|Ppip, Pnat|1|") << false << QByteArray("x\t1\t2\tbat\t\t\t\t\tPpip\t\tPnat")
        << 1 << row({"Ppip", "Pnat"}, "Ppip, Pnat", "1", len, na, na, "")
        << QByteArray("Ppip + Pnat +  + |Ppip, Pnat|1|");
    QTest::newRow("review: noise line gives No Call, the user's class stays")
        << recording("Ppip|a") << false << QByteArray("x\t1\t2\tnoise\t\t\t") << 1
        << row({"Ppip"}, "No Call", "0", len, na, na, "a") << QByteArray("Ppip +  +  + |No Call|0|a");
    // The flag says "0" already: the new proposal alone is worth the write.
    QTest::newRow("review: noise line beside a class, flag 0 already")
        << recording("Ppip|Pip|0|a") << false << QByteArray("x\t1\t2\tnoise\t\t\t") << 1
        << row({"Ppip"}, "No Call", "0", len, na, na, "a") << QByteArray("Ppip +  +  + |No Call|0|a");
    QTest::newRow("review: noise line without a class, nothing written")
        << recording("|a") << false << QByteArray("x\t1\t2\tnoise\t\t\t") << 1
        << row({}, "No Call", "", len, na, na, "a") << QByteArray("|a");
    // Another program's comment with bars: written back as slashes, so the text keeps its three bars.
    QTest::newRow("stored comment with bars written with slashes")
        << recording("Pnat + Bat|x|y") << false << QByteArray("x\t1\t2\tbat\tPipistrelloid\t\t") << 0
        << row({"Pnat"}, "Pip", "", len, na, na, "x/y") << QByteArray("Pnat +  +  + |Pip||x/y");
    QTest::newRow("below 16 kHz: detector not run, checks still apply")
        << recording("Nyc + Bat", 8000, 800) << true << QByteArray() << 0 << row({"Nyc"}, "", "", len, na, na, "")
        << QByteArray("Nyc +  +  + |||");
    {
        // The reader stops at the second SPL chunk: the bext chunk behind it is never
        // read, so its classes must not be overwritten by a text made without them.
        WavWriter w;
        w.fmt(250000, 16).data(QVector<int>(25000, 0), 16);
        w.chunk("SPL ", QByteArray(8, '\0')).chunk("SPL ", QByteArray(8, '\0')).bext("Nyc + Bat|keep");
        QTest::newRow("header walk stopped early: nothing written, nothing shown")
            << w << true << QByteArray() << 0 << row({}, "", "", len, na, na, "") << QByteArray("Nyc + Bat|keep");
    }
    {
        // Walks that stop without a reason in the error text, as a recorder that
        // stops mid-file leaves them: read in part, so never written, even though
        // the bext chunk in front of the stop was read.
        const QByteArray stored = "Nyc + Bat|||";
        const QStringList readRow = row({"Nyc", "Bat"}, "", "", len, na, na, "");
        QTest::newRow("walk stopped at an unreadable chunk id")
            << recording(stored).chunk("LIST", "zzz", false, 0) << true << QByteArray() << 0 << readRow << stored;
        QTest::newRow("walk stopped at a short SPL chunk")
            << recording(stored).chunk("SPL ", "x", true, 100) << true << QByteArray() << 0 << readRow << stored;
        QTest::newRow("walk stopped at an unknown chunk past the end")
            << recording(stored).chunk("LIST", "abcd", true, 100) << true << QByteArray() << 0 << readRow << stored;
    }
    {
        // Recorders often leave a RIFF size that does not match the file: the whole
        // header is still read, so the write-back goes ahead.
        WavWriter w = recording("Nyc + Bat|||");
        w.riffSize(100);
        QTest::newRow("RIFF size off: written all the same")
            << w << true << QByteArray() << 0 << row({"Nyc"}, "", "", len, na, na, "") << QByteArray("Nyc +  +  + |||");
    }
    // 10 + 246 = 256 bytes stored; four slots would need 15 + 246 = 261, the class alone 6 + 246.
    const QByteArray longComment(246, 'c');
    QTest::newRow("write-back beyond 256 bytes in four slots: written without the empty ones")
        << recording("Nyc + Bat|" + longComment) << true << QByteArray() << 0
        << row({"Nyc"}, "", "", len, na, na, QString::fromLatin1(longComment)) << QByteArray("Nyc|||" + longComment);
    // 5 + 251 = 256 bytes stored; with the proposal and its flag 15 + 251 = 266.
    const QByteArray longerComment(251, 'c');
    QTest::newRow("write-back beyond 256 bytes: not written, file values replied")
        << recording("Ppip|" + longerComment) << false << QByteArray("x\t1\t2\tnoise\t\t\t") << 1
        << row({"Ppip"}, "", "", len, na, na, QString::fromLatin1(longerComment))
        << QByteArray("Ppip|" + longerComment);
}

void TestFileHeaderWorker::evaluation()
{
    QFETCH(WavWriter, file);
    QFETCH(bool, calcClasses);
    QFETCH(QByteArray, resultLine);
    QFETCH(int, reviewMode);
    QFETCH(QStringList, expected);
    QFETCH(QByteArray, written);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.wav"));
    QVERIFY(file.write(path));
    QString resultFile;
    if (!resultLine.isEmpty()) {
        resultFile = dir.filePath(QStringLiteral("calls_ch1_files.txt"));
        // The recording is named on its line (field 0) unless the line names another file.
        QByteArray line = resultLine;
        if (line.startsWith("x\t"))
            line.replace(0, 1, "a.wav");
        QVERIFY(testsupport::writeFile(resultFile, "header line\n" + line + "\n"));
    }

    HeaderWorkerOnThread w;
    QCOMPARE(w.request(path, calcClasses, resultFile, reviewMode), expected);
    QCOMPARE(w.messages.count(), 0);

    // The whole file must be what the fixture gives with the expected description:
    // the text in the field, zero bytes behind it, nothing else changed.
    WavWriter expectedFile = file;
    for (WavWriter::Chunk &c : expectedFile.chunks) {
        if (c.id == "bext")
            c.payload.replace(0, 256, WavWriter::field(written, 256));
    }
    QCOMPARE(testsupport::readFile(path), expectedFile.bytes());
}

void TestFileHeaderWorker::refusedClassification_data()
{
    QTest::addColumn<WavWriter>("file");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("why");

    // The header reads well (rate known, no data bytes), the full read gives no sample.
    WavWriter noSamples;
    noSamples.fmt(250000, 16).bext("Nyc + Bat").data(QVector<int>(), 16);
    QTest::newRow("full read without samples")
        << noSamples << row({"Nyc", "Bat"}, "", "", "0.000", "N/A", "N/A", "") << " could not be loaded.";
    // 2^31 data bytes claimed: 2.1e9 frames need 1e9 cells even without overlap,
    // refused from the header before any sample is read (4294.967 s at 500 kHz).
    WavWriter huge;
    huge.fmt(500000, 8).bext("Nyc").chunk("data", QByteArray(1024, '\x80'), true, 0x80000000LL);
    QTest::newRow("matrix too large") << huge << row({"Nyc"}, "", "", "N/A", "N/A", "N/A", "")
                                      << " is too long to be categorized.";
}

void TestFileHeaderWorker::refusedClassification()
{
    QFETCH(WavWriter, file);
    QFETCH(QStringList, expected);
    QFETCH(QString, why);
    const QString path = m_dir.filePath(QStringLiteral("refused.wav"));
    QVERIFY(file.write(path));

    // Still exactly one reply, without proposal and without write-back; the
    // message goes separately to the user-interface thread.
    HeaderWorkerOnThread worker;
    QCOMPARE(worker.request(path, true), expected);
    QTRY_COMPARE(worker.messages.count(), 1);
    QCOMPARE(worker.messages.at(0).at(0).toString(), "The file " + path + why + "\nCategorization aborted!");
    QCOMPARE(testsupport::readFile(path), file.bytes());
    QCOMPARE(worker.replies.count(), 1);
}

void TestFileHeaderWorker::everyRequestAnsweredInOrder()
{
    const QString good = m_dir.filePath(QStringLiteral("good.wav"));
    QVERIFY(recording("Nyc").write(good));
    WavWriter empty;
    empty.fmt(250000, 16).data(QVector<int>(), 16);
    const QString bad = m_dir.filePath(QStringLiteral("bad.wav"));
    QVERIFY(empty.write(bad));

    HeaderWorkerOnThread w;
    const QStringList paths{good, bad, m_dir.filePath("none.txt"), bad, good};
    for (int i = 0; i < paths.size(); ++i)
        emit w.client.signalGetFileHeaderInfo(i, paths.at(i), true, QString(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(w.replies.count(), paths.size(), 60000);
    for (int i = 0; i < paths.size(); ++i)
        QCOMPARE(w.replies.at(i).at(0).toInt(), i);
    QCOMPARE(w.messages.count(), 2);
}

void TestFileHeaderWorker::failedWriteBackInReply()
{
    // A bext chunk too short for a description: read whole, but the writer refuses it.
    WavWriter shortBext;
    shortBext.fmt(250000, 16).bext("", QByteArray(), 100).data(QVector<int>(25000, 0), 16);
    const QString refused = m_dir.filePath(QStringLiteral("shortbext.wav"));
    QVERIFY(shortBext.write(refused));
    const QString written = m_dir.filePath(QStringLiteral("written.wav"));
    QVERIFY(recording("Nyc + Bat").write(written));
    // Five classes of another program read as none: written over, they would be gone unseen.
    const QString five = m_dir.filePath(QStringLiteral("five.wav"));
    QVERIFY(recording("A + B + C + D + E|x").write(five));

    HeaderWorkerOnThread w;
    // Still one reply each, showing the corrected texts.
    QCOMPARE(w.request(refused, true), row({}, "", "", "0.100", "N/A", "N/A", ""));
    QVERIFY(w.lastWriteBackFailed());
    QCOMPARE(testsupport::readFile(refused), shortBext.bytes());
    QCOMPARE(w.request(written, true), row({"Nyc"}, "", "", "0.100", "N/A", "N/A", ""));
    QVERIFY(!w.lastWriteBackFailed());
    QCOMPARE(w.request(five, true), row({}, "", "", "0.100", "N/A", "N/A", "x"));
    QVERIFY(w.lastWriteBackFailed());
    QCOMPARE(testsupport::readFile(five), recording("A + B + C + D + E|x").bytes());
    QCOMPARE(w.replies.count(), 3);
}

// The writer's words for a refused write-back travel with the reply, for the window's list of failures.
void TestFileHeaderWorker::failedWriteBackSaysWhy()
{
    const QString five = m_dir.filePath(QStringLiteral("fivewhy.wav"));
    QVERIFY(recording("A + B + C + D + E|x").write(five));
    const QString written = m_dir.filePath(QStringLiteral("writtenwhy.wav"));
    QVERIFY(recording("Nyc + Bat").write(written));
    GetFileInfoThread worker;
    QSignalSpy replies(&worker, &GetFileInfoThread::signalFileInfoHeaderFinished);
    worker.getFileHeaderInfo(0, five, true, QString(), 0);
    worker.getFileHeaderInfo(1, written, true, QString(), 0);
    QCOMPARE(replies.count(), 2);
    QVERIFY(replies.at(0).at(11).toBool());
    QCOMPARE(replies.at(0).at(12).toString(), ClassAssignmentText::unreadDescriptionText());
    QVERIFY(!replies.at(1).at(11).toBool());
    QCOMPARE(replies.at(1).at(12).toString(), QString());
}

void TestFileHeaderWorker::recordingClassNames_data()
{
    QTest::addColumn<bool>("calcClasses");
    QTest::addColumn<int>("reviewMode");
    QTest::addColumn<QStringList>("names");
    const QStringList detector{"",    "No Call", "Nyc",   "NycLow", "NycNoc", "NycMid", "Enil",
                               "Pip", "PipNat",  "PipPn", "PipPip", "PipPp",  "PipPyg"};
    QTest::newRow("detector names") << true << 0 << detector;
    QTest::newRow("detector names whatever the review mode") << true << 1 << detector;
    QTest::newRow("short review names") << false << 0 << QStringList{"", "No Call", "Nyc", "Pip", "Pnat"};
    QTest::newRow("long review names") << false << 1
                                       << QStringList{"",    "No Call", "Nyc",  "Nlow", "Nnoc", "Nycmi", "Enil",
                                                      "Pip", "Pnat",    "PpPn", "Ppip", "PpPp", "Ppyg"};
}

void TestFileHeaderWorker::recordingClassNames()
{
    QFETCH(bool, calcClasses);
    QFETCH(int, reviewMode);
    QTEST(GetFileInfoThread::recordingClassNames(calcClasses, reviewMode), "names");
}

void TestFileHeaderWorker::lookAheadCount_data()
{
    QTest::addColumn<QList<qint64>>("sizes");
    QTest::addColumn<int>("maxCount");
    QTest::addColumn<qint64>("budget");
    QTest::addColumn<int>("count");
    QTest::newRow("nothing expected") << QList<qint64>{} << 8 << qint64(100) << 0;
    QTest::newRow("all fit") << QList<qint64>{10, 20, 30} << 8 << qint64(100) << 3;
    QTest::newRow("count reached") << QList<qint64>{1, 1, 1, 1} << 3 << qint64(100) << 3;
    QTest::newRow("budget reached exactly") << QList<qint64>{50, 30, 20, 1} << 8 << qint64(100) << 3;
    QTest::newRow("one byte over the budget") << QList<qint64>{50, 30, 21, 1} << 8 << qint64(100) << 2;
    QTest::newRow("the first alone beyond the budget") << QList<qint64>{500, 1} << 8 << qint64(100) << 1;
    QTest::newRow("a large one stops the run") << QList<qint64>{10, 500, 10} << 8 << qint64(100) << 1;
    QTest::newRow("empty files") << QList<qint64>{0, 0, 0} << 2 << qint64(0) << 2;
}

void TestFileHeaderWorker::lookAheadCount()
{
    QFETCH(QList<qint64>, sizes);
    QFETCH(int, maxCount);
    QFETCH(qint64, budget);
    const std::vector<qint64> v(sizes.begin(), sizes.end());
    QTEST(GetFileInfoThread::lookAheadCount(v, maxCount, budget), "count");
}

void TestFileHeaderWorker::lookAhead_data()
{
    QTest::addColumn<QString>("change"); // what happens to b.wav between the requests for a.wav and b.wav
    QTest::addColumn<bool>("calcClasses");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QByteArray>("written");

    const QString na = QStringLiteral("N/A");
    // Silence: the detector finds nothing, the proposal stays empty and the check writes the full form.
    QTest::newRow("nothing changed") << "none" << true << row({"Pip"}, "", "", "0.100", na, na, "one")
                                     << QByteArray("Pip +  +  + |||one");
    // Shows that b.wav was examined with a.wav: its new text, of the same length, is not read.
    QTest::newRow("rewritten, size and time kept: the finding made ahead")
        << "text" << true << row({"Pip"}, "", "", "0.100", na, na, "one") << QByteArray("Pip +  +  + |||one");
    QTest::newRow("rewritten later, same size")
        << "text later" << true << row({"Nyc"}, "", "", "0.100", na, na, "two") << QByteArray("Nyc +  +  + |||two");
    QTest::newRow("rewritten longer, same time")
        << "longer" << true << row({"Nyc"}, "", "", "0.104", na, na, "two") << QByteArray("Nyc +  +  + |||two");
    QTest::newRow("removed") << "remove" << true << row({}, "", "", na, na, na, "") << QByteArray();
    QTest::newRow("asked without classification")
        << "none" << false << row({"Pip"}, "", "", "0.100", na, na, "one") << QByteArray("Pip|one");
    // Examined for a Tavron chain, asked with a recorder's result list: its proposal, nothing classified.
    QTest::newRow("asked with a result file")
        << "result file" << true << row({"Pip"}, "Nyc", "", "0.100", na, na, "one") << QByteArray("Pip|one");
}

void TestFileHeaderWorker::lookAhead()
{
    QFETCH(QString, change);
    QFETCH(bool, calcClasses);
    QFETCH(QByteArray, written);

    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.wav"));
    const QString b = dir.filePath(QStringLiteral("b.wav"));
    QVERIFY(recording("Nyc|zero").write(a));
    QVERIFY(recording("Pip|one").write(b));
    const QDateTime stamp(QDate(2024, 6, 1), QTime(22, 0, 0));
    auto setTime = [&b](const QDateTime &t) {
        QFile f(b);
        return f.open(QIODevice::ReadWrite) && f.setFileTime(t, QFileDevice::FileModificationTime);
    };
    QVERIFY(setTime(stamp));

    HeaderWorkerOnThread w;
    QMetaObject::invokeMethod(w.worker, "expectFileHeaderRequests", Qt::QueuedConnection,
                              Q_ARG(QStringList, QStringList({a, b})));
    QCOMPARE(w.request(a, true).value(9), QStringLiteral("zero"));
    if (change == QLatin1String("text") || change == QLatin1String("text later")) {
        QVERIFY(recording("Nyc|two").write(b));
        QVERIFY(setTime(change == QLatin1String("text") ? stamp : stamp.addSecs(60)));
    } else if (change == QLatin1String("longer")) {
        QVERIFY(recording("Nyc|two", 250000, 26000).write(b));
        QVERIFY(setTime(stamp));
    } else if (change == QLatin1String("remove")) {
        QVERIFY(QFile::remove(b));
    }
    QString resultFile;
    if (change == QLatin1String("result file")) {
        resultFile = dir.filePath(QStringLiteral("calls_ch1_files.txt"));
        QVERIFY(testsupport::writeFile(resultFile, "b.wav\t1\t2\tbat\tNyctaloid\t\t\n"));
    }
    QTEST(w.request(b, calcClasses, resultFile), "expected");
    QCOMPARE(w.messages.count(), 0);
    if (!written.isEmpty()) {
        WavFile file;
        file.open(b, true);
        QCOMPARE(file.bext.description.toUtf8(), written);
    }
}

void TestFileHeaderWorker::resultFileReadOncePerChain()
{
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.wav"));
    QVERIFY(recording("|mine").write(a));
    const QString resultFile = dir.filePath(QStringLiteral("calls_ch1_files.txt"));
    const QDateTime stamp(QDate(2024, 6, 2), QTime(8, 0, 0));
    auto writeResults = [&](const QByteArray &group) {
        QFile f(resultFile);
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate)
               && f.write("a.wav\t1\t2\tbat\t" + group + "\t\t\n") > 0 && f.flush()
               && f.setFileTime(stamp, QFileDevice::FileModificationTime);
    };
    QVERIFY(writeResults("Pipistrelloid"));

    HeaderWorkerOnThread w;
    auto startChain = [&w, a]() {
        QMetaObject::invokeMethod(w.worker, "expectFileHeaderRequests", Qt::QueuedConnection,
                                  Q_ARG(QStringList, QStringList{a}));
    };
    startChain();
    QCOMPARE(w.request(a, false, resultFile).value(4), QStringLiteral("Pip"));
    // Rewritten with the same size and time within the chain: the list read before still answers.
    QVERIFY(writeResults("Pipistrelloix"));
    QCOMPARE(w.request(a, false, resultFile).value(4), QStringLiteral("Pip"));
    // A new chain reads it again.
    startChain();
    QCOMPARE(w.request(a, false, resultFile).value(4), QStringLiteral("Pipistrelloix"));
}

QUILLON_TEST(TestFileHeaderWorker)
#include "tst_fileheaderworker.moc"
