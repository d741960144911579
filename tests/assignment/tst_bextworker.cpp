#include "testregistry.h"

#include "assignment/writefilebextthread.h"
#include "wavwriter.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

using testsupport::WavWriter;

// The recording a row names, before and after: 0.1 ms of silence at 250 kHz,
// an odd-sized data chunk where the file is to end on an odd byte.
WavWriter recording(const QString &kind, const QByteArray &description)
{
    WavWriter w;
    w.fmt(250000, 16);
    if (kind == QLatin1String("odd"))
        w.chunk("data", QByteArray(51, '\x01'), false);
    else
        w.data(QVector<int>(25, 7), 16);
    if (kind == QLatin1String("bext"))
        w.bext(description, "history");
    return w;
}

// What the file must hold after text was written: the same chunks with the
// description replaced, or with an 858-byte bext chunk appended behind them.
QByteArray afterWrite(const QString &kind, const QByteArray &text)
{
    if (kind == QLatin1String("bext"))
        return recording(kind, text).bytes();
    WavWriter w = recording(kind, QByteArray());
    if (kind == QLatin1String("odd"))
        w.chunks.last().padOddSize = true;
    return w.chunk("bext", WavWriter::field(text, 858)).bytes();
}

} // namespace

// The bext-writing worker on a thread of its own, writing real files: one
// table of the text rules, each row checked on the bytes the file holds
// afterwards and on the reply's success.
class TestBextWorker : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_worker = new WriteFileBextThread;
        m_worker->moveToThread(&m_thread);
        connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
        m_thread.start();
    }
    void cleanupTestCase()
    {
        m_thread.quit();
        m_thread.wait();
    }
    void rules_data();
    void rules();

private:
    QTemporaryDir m_dir;
    QThread m_thread;
    WriteFileBextThread *m_worker = nullptr;
    int m_rows = 0;
};

void TestBextWorker::rules_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("names");     // class names, ";" between the two of a rename
    QTest::addColumn<QString>("file");      // the row's name; "shown" in front: the accept column is shown
    QTest::addColumn<QString>("kind");      // bext (holding "Old|x"), none, odd (no bext, odd length), "not RIFF", raw
    QTest::addColumn<QString>("row");       // date;proposal;accepted;class 1;class 2;class 3;class 4;comment
    QTest::addColumn<QString>("written");   // the description afterwards; "-": the file is untouched
    QTest::addColumn<bool>("success");

    auto row = [](const char *texts) { return QString::fromUtf8(texts); };
    // Assigning: behind the filled slots, short form without a proposal.
    QTest::newRow("first class") << "assign" << "Nyc" << "a.wav" << "bext" << row("01/06/24;;;;;;;note")
                                 << "Nyc|note" << true;
    QTest::newRow("third class") << "assign" << "Enil" << "a.wav" << "bext" << row("01/06/24;;;Nyc;Pip;;;")
                                 << "Nyc + Pip + Enil|" << true;
    QTest::newRow("four classes: the fourth replaced")
        << "assign" << "Enil" << "a.wav" << "bext" << row("01/06/24;;;Nyc;Pip;NycLow;PipPp;") << "Nyc + Pip + NycLow + Enil|"
        << true;
    QTest::newRow("a gap closes") << "assign" << "Enil" << "a.wav" << "bext" << row("01/06/24;;;Nyc;;Pip;;")
                                  << "Nyc + Pip + Enil|" << true;
    QTest::newRow("class held already") << "assign" << "Pip" << "a.wav" << "bext" << row("01/06/24;;;Nyc;;;Pip;")
                                        << "-" << true;
    QTest::newRow("unread row") << "assign" << "Pip" << "a.wav" << "bext" << row(";;;;;;;") << "-" << true;
    // The accepted flag: the set of the new classes against the proposal's first four entries.
    QTest::newRow("No Call replaces every class")
        << "assign" << "No Call" << "shown a.wav" << "bext" << row("01/06/24;Nyc;;Nyc;Pip;;;c") << "No Call|Nyc|0|c"
        << true;
    QTest::newRow("a class replaces No Call, matching")
        << "assign" << "Pip" << "shown a.wav" << "bext" << row("01/06/24;Pip;;No Call;;;;") << "Pip|Pip|1|" << true;
    QTest::newRow("a class replaces No Call, not matching")
        << "assign" << "Pip" << "shown a.wav" << "bext" << row("01/06/24;Nyc;;No Call;;;;") << "Pip|Nyc|0|" << true;
    QTest::newRow("No Call is a class without the accept column")
        << "assign" << "No Call" << "a.wav" << "bext" << row("01/06/24;;;Nyc;;;;") << "Nyc + No Call|" << true;
    QTest::newRow("order ignored") << "assign" << "Nyc" << "shown a.wav" << "bext"
                                   << row("01/06/24;Nyc, Pip;;Pip;;;;") << "Pip + Nyc|Nyc, Pip|1|" << true;
    QTest::newRow("five proposed: four count") << "assign" << "D" << "shown a.wav" << "bext"
                                               << row("01/06/24;A, B, C, D, E;;A;B;C;;") << "A + B + C + D|A, B, C, D, E|1|"
                                               << true;
    QTest::newRow("flag text in mode 2") << "assign" << "Pip" << "a.wav" << "bext" << row("01/06/24;;1;Nyc;;;;")
                                         << "Nyc + Pip||0|" << true;
    // Which rows are written, and how the chunk is found or made.
    QTest::newRow(".WAV without a timestamp") << "assign" << "Nyc" << "a.WAV" << "bext" << row("N/A;;;;;;;")
                                              << "Nyc|" << true;
    QTest::newRow("no bext chunk: 866 bytes appended") << "assign" << "Nyc" << "a.wav" << "none"
                                                       << row("01/06/24;;;;;;;ü") << "Nyc|ü" << true;
    QTest::newRow("odd length: a pad byte and the chunk") << "assign" << "Nyc" << "a.wav" << "odd"
                                                          << row("01/06/24;;;;;;;") << "Nyc|" << true;
    QTest::newRow(".raw with a date fails in the writer") << "assign" << "Nyc" << "a.raw" << "raw"
                                                          << row("01/06/24;;;;;;;") << "-" << false;
    QTest::newRow(".raw without a timestamp") << "assign" << "Nyc" << "a.raw" << "raw" << row("N/A;;;;;;;")
                                              << "-" << false;
    QTest::newRow("not a RIFF file") << "assign" << "Nyc" << "a.wav" << "not RIFF" << row("01/06/24;;;;;;;") << "-"
                                     << false;
    QTest::newRow("longer than the field") << "assign" << "Nyc" << "a.wav" << "bext"
                                           << row("01/06/24;;;;;;;") + QString(253, QLatin1Char('x')) << "-" << false;
    QTest::newRow("marked Aborting: written, answered") << "assign Aborting" << "Nyc" << "a.wav" << "bext"
                                                        << row("01/06/24;;;;;;;") << "Nyc|" << true;
    // Renaming and deleting: proposal and flag as the row has them, a flag "0" when no class is left.
    QTest::newRow("rename in place") << "rename" << "Pip;Pipistrellus" << "a.wav" << "bext"
                                     << row("01/06/24;Nyc;1;Nyc;Pip;Enil;;c") << "Nyc + Pipistrellus + Enil|Nyc|1|c"
                                     << true;
    QTest::newRow("rename is exact") << "rename" << "Nyc;Big" << "a.wav" << "bext" << row("01/06/24;;;nyc;;;;")
                                     << "-" << true;
    QTest::newRow("rename of a RAW row") << "rename" << "Nyc;Big" << "a.raw" << "raw" << row("01/06/24;;;Nyc;;;;")
                                         << "-" << true;
    QTest::newRow("delete the first") << "delete" << "Nyc" << "a.wav" << "bext" << row("01/06/24;;;Nyc;Pip;Enil;;")
                                      << "Pip + Enil|" << true;
    QTest::newRow("delete the last") << "delete" << "Enil" << "a.wav" << "bext" << row("01/06/24;;;Nyc;Pip;Enil;;")
                                     << "Nyc + Pip|" << true;
    QTest::newRow("delete the only class") << "delete" << "Nyc" << "a.wav" << "bext" << row("01/06/24;;;Nyc;;;;")
                                           << "|" << true;
    QTest::newRow("delete the only accepted class") << "delete" << "Nyc" << "a.wav" << "bext"
                                                    << row("01/06/24;Nyc;1;Nyc;;;;c") << "|Nyc|0|c" << true;
    QTest::newRow("delete from an unread row") << "delete" << "Nyc" << "a.wav" << "bext" << row(";;;;;;;") << "-"
                                               << true;
    // Unassigning: every class goes, the proposal stays with the flag "0".
    QTest::newRow("unassign: nothing left") << "unassign" << "" << "a.wav" << "bext" << row("01/06/24;;;Nyc;;;;")
                                            << "" << true;
    QTest::newRow("unassign: the comment") << "unassign" << "" << "a.wav" << "bext"
                                           << row("01/06/24;;;Nyc;;;;note") << "|note" << true;
    QTest::newRow("unassign: accepted proposal") << "unassign" << "" << "a.wav" << "bext"
                                                 << row("01/06/24;Nyc;1;Nyc;;;;c") << "|Nyc|0|c" << true;
    QTest::newRow("unassign an unread row") << "unassign" << "" << "a.wav" << "bext" << row(";;;;;;;") << "-" << true;
    // Resetting keeps only the comment.
    QTest::newRow("reset") << "reset" << "" << "a.wav" << "bext" << row("01/06/24;Nyc;1;Nyc;;;;c") << "|c" << true;
    QTest::newRow("reset without a timestamp") << "reset" << "" << "a.wav" << "bext" << row("N/A;Nyc;1;Nyc;;;;c")
                                               << "-" << true;
    QTest::newRow("reset an unread row: the stored comment") << "reset" << "" << "a.wav" << "bext"
                                                              << row(";;;;;;;") << "|x" << true;
    QTest::newRow("reset a RAW row") << "reset" << "" << "a.raw" << "raw" << row("01/06/24;;;;;;;c") << "-" << true;
}

void TestBextWorker::rules()
{
    QFETCH(QString, operation);
    QFETCH(QString, names);
    QFETCH(QString, file);
    QFETCH(QString, kind);
    QFETCH(QString, row);
    QFETCH(QString, written);
    QFETCH(bool, success);

    const QString dir = m_dir.path() + QLatin1Char('/') + QString::number(++m_rows);
    QVERIFY(QDir().mkpath(dir));
    FileRowTexts copy;
    copy.acceptColumnShown = file.startsWith(QLatin1String("shown "));
    copy.setText(FileViewColumn::Name, file.split(QLatin1Char(' ')).last());
    const QStringList texts = row.split(QLatin1Char(';'));
    const int columns[] = {FileViewColumn::Date,   FileViewColumn::Proposal, FileViewColumn::Accepted,
                           FileViewColumn::Class1, FileViewColumn::Class2,   FileViewColumn::Class3,
                           FileViewColumn::Class4, FileViewColumn::Comment};
    for (int i = 0; i < 8; ++i)
        copy.setText(columns[i], texts.at(i));
    const QString path = dir + QLatin1Char('/') + copy.text(FileViewColumn::Name);
    const QByteArray before = kind == QLatin1String("not RIFF") ? QByteArray("RIFX0000WAVEfmt ")
                              : kind == QLatin1String("raw")    ? WavWriter::pack(QVector<int>(50, 300), 16)
                                                                : recording(kind, "Old|x").bytes();
    QVERIFY(testsupport::writeFile(path, before));

    // Replies are taken on this thread, as the window takes them.
    QList<bool> replies;
    QObject receiver;
    const auto take = [&replies](bool ok) { replies << ok; };
    const FileRowList rows(QVector<FileRowTexts>{FileRowTexts(), copy});
    const QString first = names.section(QLatin1Char(';'), 0, 0);
    const QString second = names.section(QLatin1Char(';'), 1, 1);
    WriteFileBextThread *worker = m_worker;
    if (operation.startsWith(QLatin1String("assign"))) {
        connect(worker, &WriteFileBextThread::signalFileBextFinishedExtended, &receiver,
                [&](int index, QString, ClassRowTexts item, FileRowList, bool ok) {
                    QCOMPARE(index, 1);
                    QCOMPARE(item.name, first);
                    take(ok);
                });
        ClassRowTexts cls;
        cls.name = first;
        cls.countText = operation.endsWith(QLatin1String("Aborting")) ? QStringLiteral("Aborting") : QStringLiteral("3");
        QMetaObject::invokeMethod(worker, [=]() { worker->writeFileBextExtended(1, dir, cls, rows); });
    } else if (operation == QLatin1String("rename")) {
        connect(worker, &WriteFileBextThread::signalRenameClassFile, &receiver,
                [&](int, QString, QString, QString, FileRowList, bool ok) { take(ok); });
        QMetaObject::invokeMethod(worker, [=]() { worker->renameClassFile(1, dir, first, second, rows); });
    } else if (operation == QLatin1String("delete")) {
        connect(worker, &WriteFileBextThread::signalDeleteClassFile, &receiver,
                [&](int, QString, QString, FileRowList, bool ok) { take(ok); });
        QMetaObject::invokeMethod(worker, [=]() { worker->deleteClassFile(1, dir, first, rows); });
    } else if (operation == QLatin1String("unassign")) {
        connect(worker, &WriteFileBextThread::signalUnassignFile, &receiver,
                [&](int, QString, FileRowList, bool ok) { take(ok); });
        QMetaObject::invokeMethod(worker, [=]() { worker->unassignFile(1, dir, rows); });
    } else {
        connect(worker, &WriteFileBextThread::signalResetFile, &receiver,
                [&](int, QString, FileRowList, bool ok) { take(ok); });
        QMetaObject::invokeMethod(worker, [=]() { worker->resetFile(1, dir, rows); });
    }
    QTRY_COMPARE(replies.size(), 1);
    QCOMPARE(replies.first(), success);
    const QByteArray after = testsupport::readFile(path);
    if (written == QLatin1String("-"))
        QCOMPARE(after, before);
    else
        QCOMPARE(after, afterWrite(kind, written.toUtf8()));
}

QUILLON_TEST(TestBextWorker)
#include "tst_bextworker.moc"
