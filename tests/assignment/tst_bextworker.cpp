#include "testregistry.h"

#include "assignment/writefilebextthread.h"
#include "wavwriter.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cerrno>

namespace {

using testsupport::WavWriter;

// The recording a row names: a bext chunk holding "Old|x", one holding five
// classes of another program ("five"), none ("none"), or none and an
// odd-sized last chunk without its pad byte ("odd").
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
    else if (kind == QLatin1String("five"))
        w.bext("A + B + C + D + E|x", "history");
    return w;
}

// The file after text was written, built independently: the same chunks with
// the description replaced in place, or an 858-byte bext chunk appended.
QByteArray afterWrite(const QString &kind, const QByteArray &text)
{
    if (kind == QLatin1String("bext"))
        return recording(kind, text).bytes();
    WavWriter w = recording(kind, QByteArray());
    w.chunks.last().padOddSize = true;
    return w.chunk("bext", WavWriter::field(text, 858)).bytes();
}

} // namespace

// The bext-writing worker on a thread of its own, writing real files: one
// table of the text rules, each row checked on the bytes the file holds
// afterwards and on the success of its one reply.
class TestBextWorker : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_worker->moveToThread(&m_thread);
        connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
        // Replies are taken on this thread, as the window takes them; each repeats its request's arguments.
        const auto take = [this](int index, const FileRowList &rows, bool ok) {
            m_replies << (index == 1 && ok);
            m_reasons << rows.failure(index);
        };
        connect(m_worker, &WriteFileBextThread::signalFileBextFinishedExtended, this,
                [take](int i, QString, ClassRowTexts, FileRowList rows, bool ok) { take(i, rows, ok); });
        connect(m_worker, &WriteFileBextThread::signalRenameClassFile, this,
                [take](int i, QString, QString, QString, FileRowList rows, bool ok) { take(i, rows, ok); });
        connect(m_worker, &WriteFileBextThread::signalDeleteClassFile, this,
                [take](int i, QString, QString, FileRowList rows, bool ok) { take(i, rows, ok); });
        connect(m_worker, &WriteFileBextThread::signalUnassignFile, this,
                [take](int i, QString, FileRowList rows, bool ok) { take(i, rows, ok); });
        connect(m_worker, &WriteFileBextThread::signalResetFile, this,
                [take](int i, QString, FileRowList rows, bool ok) { take(i, rows, ok); });
        m_thread.start();
    }
    void cleanupTestCase()
    {
        m_thread.quit();
        m_thread.wait();
    }
    void rules_data();
    void rules();
    void failureReasons_data();
    void failureReasons();
    void failureReasons_writeError();

private:
    QTemporaryDir m_dir;
    QThread m_thread;
    WriteFileBextThread *m_worker = new WriteFileBextThread;
    int m_rows = 0;
    QList<bool> m_replies;    // success of each reply for row 1 (false for any other row)
    QList<QString> m_reasons; // the reason each reply carries for its row
};

void TestBextWorker::rules_data()
{
    // operation and class names; the file ("shown": the list shows the accept
    // column; then a bext chunk, none, odd, or a file that is not RIFF); the
    // row: date;proposal;accepted;class 1;class 2;class 3;class 4;comment; the
    // description afterwards ("-": the file is untouched); the reply's success.
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("success");
    const auto add = [](const char *tag, const char *op, const char *file, const QString &row, const char *written,
                        bool success) {
        QTest::newRow(tag) << op << file << row << QString::fromUtf8(written) << success;
    };
    add("first class, short form", "assign Nyc", "a.wav bext", "01/06/24;;;;;;;note", "Nyc|note", true);
    add("behind the filled slots", "assign Enil", "a.wav bext", "01/06/24;;;Nyc;Pip;;;", "Nyc + Pip + Enil|", true);
    add("class 4 replaced", "assign Enil", "a.wav bext", "01/06/24;;;Nyc;Pip;NycLow;PipPp;",
        "Nyc + Pip + NycLow + Enil|", true);
    add("a gap closes", "assign Enil", "a.wav bext", "01/06/24;;;Nyc;;Pip;;", "Nyc + Pip + Enil|", true);
    add("held already", "assign Pip", "a.wav bext", "01/06/24;;;Nyc;;;Pip;", "-", true);
    add("unread row", "assign Pip", "a.wav bext", ";;;;;;;", "-", true);
    add("No Call replaces all", "assign No Call", "shown a.wav bext", "01/06/24;Nyc;;Nyc;Pip;;;c", "No Call|Nyc|0|c",
        true);
    add("a class replaces No Call", "assign Pip", "shown a.wav bext", "01/06/24;Pip;;No Call;;;;", "Pip|Pip|1|", true);
    add("No Call a class unshown", "assign No Call", "a.wav bext", "01/06/24;;;Nyc;;;;", "Nyc + No Call|", true);
    add("flag by set", "assign Nyc", "shown a.wav bext", "01/06/24;Nyc, Pip;;Pip;;;;", "Pip + Nyc|Nyc, Pip|1|", true);
    add("four proposed count", "assign D", "shown a.wav bext", "01/06/24;A, B, C, D, E;;A;B;C;;",
        "A + B + C + D|A, B, C, D, E|1|", true);
    add("flag text only", "assign Pip", "a.wav bext", "01/06/24;;1;Nyc;;;;", "Nyc + Pip||0|", true);
    add(".WAV, N/A date", "assign Nyc", "a.WAV bext", "N/A;;;;;;;", "Nyc|", true);
    add("appended: 866 bytes", "assign Nyc", "a.wav none", "01/06/24;;;;;;;ü", "Nyc|ü", true);
    add("appended after a pad byte", "assign Nyc", "a.wav odd", "01/06/24;;;;;;;", "Nyc|", true);
    add(".raw with a date", "assign Nyc", "a.raw", "01/06/24;;;;;;;", "-", false);
    add(".raw, N/A date", "assign Nyc", "a.raw", "N/A;;;;;;;", "-", false);
    add("not RIFF", "assign Nyc", "a.wav RIFX", "01/06/24;;;;;;;", "-", false);
    add("behind a class ending in \" +\"", "assign Nyc", "a.wav bext", "01/06/24;;;Pip +;;;;", "-", false);
    add("over five classes of another program", "assign Nyc", "a.wav five", "01/06/24;;;;;;;x", "-", false);
    add("over 256 bytes", "assign Nyc", "a.wav bext", "01/06/24;;;;;;;" + QString(253, QLatin1Char('x')), "-", false);
    add("Aborting: answered", "assign! Nyc", "a.wav bext", "01/06/24;;;;;;;", "Nyc|", true);
    add("rename in place", "rename Pip Pipi", "a.wav bext", "01/06/24;Nyc;1;Nyc;Pip;Enil;;c",
        "Nyc + Pipi + Enil|Nyc|1|c", true);
    add("rename is exact", "rename Nyc Big", "a.wav bext", "01/06/24;;;nyc;;;;", "-", true);
    add("rename .raw", "rename Nyc Big", "a.raw", "01/06/24;;;Nyc;;;;", "-", true);
    add("delete, later move up", "delete Nyc", "a.wav bext", "01/06/24;;;Nyc;Pip;Enil;;", "Pip + Enil|", true);
    add("delete the only class", "delete Nyc", "a.wav bext", "01/06/24;;;Nyc;;;;", "|", true);
    add("delete: no class, flag 0", "delete Nyc", "a.wav bext", "01/06/24;Nyc;1;Nyc;;;;c", "|Nyc|0|c", true);
    add("delete, unread row", "delete Nyc", "a.wav bext", ";;;;;;;", "-", true);
    add("unassign: nothing left", "unassign", "a.wav bext", "01/06/24;;;Nyc;;;;", "", true);
    add("unassign: the comment", "unassign", "a.wav bext", "01/06/24;;;Nyc;;;;n", "|n", true);
    add("unassign: flag 0", "unassign", "a.wav bext", "01/06/24;Nyc;1;Nyc;;;;c", "|Nyc|0|c", true);
    add("unassign, unread row", "unassign", "a.wav bext", ";;;;;;;", "-", true);
    add("reset", "reset", "a.wav bext", "01/06/24;Nyc;1;Nyc;;;;c", "|c", true);
    add("reset, N/A date", "reset", "a.wav bext", "N/A;Nyc;1;Nyc;;;;c", "-", true);
    add("reset, unread: stored comment", "reset", "a.wav bext", ";;;;;;;", "|x", true);
}

void TestBextWorker::rules()
{
    QFETCH(QString, operation);
    QFETCH(QString, file);
    QFETCH(QString, row);
    QFETCH(QString, written);
    QFETCH(bool, success);

    const QStringList names = operation.section(QLatin1Char(' '), 1).split(QLatin1Char(' '));
    const QString className = operation.section(QLatin1Char(' '), 1); // "No Call" holds a blank
    const QStringList where = file.split(QLatin1Char(' '));
    FileRowTexts copy;
    copy.acceptColumnShown = where.first() == QLatin1String("shown");
    copy.setText(FileViewColumn::Name, where.at(copy.acceptColumnShown ? 1 : 0));
    const QString kind = where.last();
    const QStringList texts = row.split(QLatin1Char(';'));
    const int columns[] = {FileViewColumn::Date,   FileViewColumn::Proposal, FileViewColumn::Accepted,
                           FileViewColumn::Class1, FileViewColumn::Class2,   FileViewColumn::Class3,
                           FileViewColumn::Class4, FileViewColumn::Comment};
    for (int i = 0; i < 8; ++i)
        copy.setText(columns[i], texts.at(i));

    const QString dir = m_dir.path() + QLatin1Char('/') + QString::number(++m_rows);
    QVERIFY(QDir().mkpath(dir));
    const QString path = dir + QLatin1Char('/') + copy.text(FileViewColumn::Name);
    const QByteArray before = kind == QLatin1String("RIFX")          ? QByteArray("RIFX0000WAVEfmt ")
                              : path.endsWith(QLatin1String(".raw")) ? WavWriter::pack(QVector<int>(50, 3), 16)
                                                                     : recording(kind, "Old|x").bytes();
    QVERIFY(testsupport::writeFile(path, before));

    // The row is the second of the job's list.
    const FileRowList rows(QVector<FileRowTexts>{FileRowTexts(), copy});
    m_replies.clear();
    m_reasons.clear();
    WriteFileBextThread *worker = m_worker;
    const QString verb = operation.section(QLatin1Char(' '), 0, 0);
    const ClassRowTexts cls{nullptr, className, verb.endsWith(QLatin1Char('!')) ? "Aborting" : "3"};
    QMetaObject::invokeMethod(worker, [=]() {
        if (verb.startsWith(QLatin1String("assign")))
            worker->writeFileBextExtended(1, dir, cls, rows);
        else if (verb == QLatin1String("rename"))
            worker->renameClassFile(1, dir, names.value(0), names.value(1), rows);
        else if (verb == QLatin1String("delete"))
            worker->deleteClassFile(1, dir, className, rows);
        else if (verb == QLatin1String("unassign"))
            worker->unassignFile(1, dir, rows);
        else
            worker->resetFile(1, dir, rows);
    });
    QTRY_COMPARE(m_replies.size(), 1);
    QCOMPARE(m_replies.first(), success);
    // A row not written carries its reason back for the write-failure box.
    QCOMPARE(m_reasons.first().isEmpty(), success);
    QCOMPARE(testsupport::readFile(path), written == QLatin1String("-") ? before : afterWrite(kind, written.toUtf8()));
}

void TestBextWorker::failureReasons_data()
{
    // The recording (none: no file; "dir": a folder of that name), the text's length in bytes, the reason;
    // a reason ending in ": " is followed by the system's own words.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("recording");
    QTest::addColumn<int>("textBytes");
    QTest::addColumn<QString>("reason");
    const QByteArray plain = recording("bext", "Old|x").bytes();
    const QString unreadable = QStringLiteral("The recording cannot be read to its end.");
    QTest::newRow("fits: no reason") << "a.wav" << plain << 256 << QString();
    QTest::newRow("one byte too many") << "a.wav" << plain << 257
                                       << "The text to store takes 257 bytes, more than the 256 bytes of the "
                                          "recording's description.";
    // The junk chunk's header at 12 + 24 (fmt) + 58 (data) + 618 (bext, 617 bytes and a pad byte) = 712.
    QTest::newRow("a chunk running past the end: which, and what it claims")
        << "a.wav" << recording("bext", "Old|x").chunk("junk", "xx", true, 100).bytes() << 3
        << unreadable
               + "\nThe chunk walk stopped at byte 712: the chunk \"junk\" there claims 100 bytes, more than the 2 "
                 "left in the file.";
    QTest::newRow("a second format chunk, in the reader's words")
        << "a.wav" << recording("bext", "Old|x").fmt(250000, 16).bytes() << 3
        << unreadable + "\nMore then one FMT chunks.";
    QTest::newRow("five classes of another program")
        << "a.wav" << recording("five", QByteArray()).bytes() << 3
        << "The recording's description holds more than four classes, joined by \" + \", which cannot be read: it "
           "is left as it stands.";
    QTest::newRow("a bext chunk of the description alone: no reason")
        << "a.wav" << recording("none", QByteArray()).bext("", QByteArray(), 256).bytes() << 3 << QString();
    QTest::newRow("a bext chunk a byte too short for a description")
        << "a.wav" << recording("none", QByteArray()).bext("", QByteArray(), 255).bytes() << 3
        << "The recording's bext chunk is too short to hold a description.";
    QTest::newRow("a RAW recording") << "a.raw" << WavWriter::pack(QVector<int>(50, 3), 16) << 3
                                     << "Only WAV recordings can hold classes.";
    QTest::newRow("gone") << "a.wav" << QByteArray() << 3 << "The file cannot be opened for writing: ";
    QTest::newRow("a folder") << "a.wav" << QByteArray("dir") << 3 << "The file cannot be opened for writing: ";
}

void TestBextWorker::failureReasons()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, recording);
    QFETCH(int, textBytes);
    QFETCH(QString, reason);
    const QString dir = m_dir.path() + QLatin1Char('/') + QString::number(++m_rows);
    const QString path = dir + QLatin1Char('/') + name;
    QVERIFY(QDir().mkpath(recording == "dir" ? path : dir));
    if (!recording.isEmpty() && recording != "dir")
        QVERIFY(testsupport::writeFile(path, recording));
    const QString text(textBytes, QLatin1Char('x'));
    const QString given = WriteFileBextThread::failureReason(path, text);
    if (reason.endsWith(QLatin1String(": ")))
        QVERIFY2(given.startsWith(reason) && given.size() > reason.size(), qPrintable(given));
    else
        QCOMPARE(given, reason);
}

// A write that failed for a moment's reason, a full disk: the file shows no
// fault of its own, and the system's words tell the user why.
void TestBextWorker::failureReasons_writeError()
{
    const QString dir = m_dir.path() + QLatin1Char('/') + QString::number(++m_rows);
    const QString path = dir + QStringLiteral("/a.wav");
    QVERIFY(QDir().mkpath(dir));
    QVERIFY(testsupport::writeFile(path, recording("none", QByteArray()).bytes()));
    const QString noSpace = qt_error_string(ENOSPC);
    QCOMPARE(WriteFileBextThread::failureReason(path, QStringLiteral("Nyc"), noSpace),
             QStringLiteral("Could not write to file.\n") + noSpace);
    // A lasting fault of the file comes first.
    QVERIFY(!WriteFileBextThread::failureReason(path, QString(257, QLatin1Char('x')), noSpace).contains(noSpace));
}

QUILLON_TEST(TestBextWorker)
#include "tst_bextworker.moc"
