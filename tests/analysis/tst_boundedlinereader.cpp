#include "testregistry.h"

#include "analysis/boundedlinereader.h"

#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

class TestBoundedLineReader : public QObject
{
    Q_OBJECT
private slots:
    void lines_data();
    void lines();
    void refusesWhatIsNoRegularFile();

private:
    QTemporaryDir dir;
};

void TestBoundedLineReader::lines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("firstSkipped");
    const QByteArray limit(BoundedLineReader::maxLineBytes, 'x');
    const QByteArray over(BoundedLineReader::maxLineBytes + 1, 'y');
    QTest::newRow("plain") << QByteArray("a\nb\n") << QStringList{"a", "b"} << 0;
    QTest::newRow("CR LF, no final break") << QByteArray("a\r\nb") << QStringList{"a", "b"} << 0;
    QTest::newRow("empty lines count") << QByteArray("\n\nc\n") << QStringList{"", "", "c"} << 0;
    QTest::newRow("4 KB kept, one byte more skipped") << limit + "\n" + over + "\nz\n"
                                                      << QStringList{QString(limit), "z"} << 2;
    QTest::newRow("4 KB before CR LF") << limit + "\r\n" << QStringList{QString(limit)} << 0;
    QTest::newRow("CR CR LF: converted twice") << QByteArray("a\r\r\nb\r\r\n") << QStringList{"a", "b"} << 0;
    QTest::newRow("4 KB before CR CR LF") << limit + "\r\r\nz\n" << QStringList{QString(limit), "z"} << 0;
    QTest::newRow("cut between CR and LF") << QByteArray("a\r\nNyctaloid\r") << QStringList{"a", "Nyctaloid"} << 0;
    QTest::newRow("4 KB, cut between CR and LF") << limit + "\r" << QStringList{QString(limit)} << 0;
    QTest::newRow("long line across several buffers")
        << "a\n" + QByteArray(20000, 'y') + "\r\nb" << QStringList{"a", "b"} << 2;
    QTest::newRow("long last line without break") << "a\n" + over << QStringList{"a"} << 2;
    QTest::newRow("UTF-8 under a UTF-8 locale") << QByteArray("3,4 m/s \xc2\xb0\n") << QStringList{"3,4 m/s °"} << 0;
}

void TestBoundedLineReader::lines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QFETCH(int, firstSkipped);
    const QString path = dir.filePath(QStringLiteral("lines.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();
    BoundedLineReader reader(path);
    QVERIFY(reader.open());
    QStringList read;
    QString line;
    while (reader.readLine(line))
        read << line;
    QCOMPARE(read, expected);
    QCOMPARE(reader.firstSkippedLine(), firstSkipped);
}

void TestBoundedLineReader::refusesWhatIsNoRegularFile()
{
    // A pipe would block the open, a device never end: neither is opened.
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // Sparse files: their size is what counts, not what is on disk.
    const auto sized = [&](const QString &name, qint64 size) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::WriteOnly) || !f.resize(size))
            qFatal("cannot make %s", qPrintable(name));
        return f.fileName();
    };
    const QString atLimit = sized(QStringLiteral("atLimit"), BoundedLineReader::maxFileBytes);
    const QString overLimit = sized(QStringLiteral("overLimit"), BoundedLineReader::maxFileBytes + 1);
    for (const QString &path : {fifo, QStringLiteral("/dev/zero"), dir.path(), dir.filePath("missing"), overLimit}) {
        BoundedLineReader reader(path);
        QVERIFY2(!reader.open(), qPrintable(path));
        QString line;
        QVERIFY(!reader.readLine(line));
    }
    BoundedLineReader reader(atLimit);
    QVERIFY(reader.open());
}

QUILLON_TEST(TestBoundedLineReader)
#include "tst_boundedlinereader.moc"
