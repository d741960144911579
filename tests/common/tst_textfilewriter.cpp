// Writing an export file: the bytes exactly, and on any failure the one
// message with nothing of the old file lost. CI runs as root, so failures are
// made with a folder in place of the file, a missing parent folder and a file
// size limit standing for a full disk.
#include "common/settingsformat.h"
#include "common/settingskeys.h"
#include "common/textfilewriter.h"
#include "filesizelimit.h"
#include "scripteddialogs.h"
#include "testregistry.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TextFileWriterTest : public QObject
{
    Q_OBJECT

private slots:
    void writesUtf8WithoutMarkReplacingTheWholeFile();
    void failures_data();
    void failures();
    void settingsOnAFullDisk_fileStays_data();
    void settingsOnAFullDisk_fileStays();
};

void TextFileWriterTest::writesUtf8WithoutMarkReplacingTheWholeFile()
{
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QString path = dir.filePath("export.csv");
    QVERIFY(writeTextFile(path, QStringLiteral("a much longer first export, to be replaced\r\n")));
    QVERIFY(writeTextFile(path, QStringLiteral("Bechsteinfledermaus;\u00e4\u00df;\u6771\r\n")));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("Bechsteinfledermaus;\xc3\xa4\xc3\x9f;\xe6\x9d\xb1\r\n"));
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"export.csv"});
}

void TextFileWriterTest::failures_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("a folder in place of the file") << "taken.csv";
    QTest::newRow("a missing parent folder") << "missing/export.csv";
    // Fewer bytes than Qt's write buffer holds: they meet the full disk only at the commit.
    QTest::newRow("a full disk") << "full.csv";
}

void TextFileWriterTest::failures()
{
    QFETCH(QString, target);
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath("taken.csv/kept"));
    const QByteArray old(30, 'o');
    if (target == QLatin1String("full.csv")) {
        QFile full(dir.filePath(target));
        QVERIFY(full.open(QIODevice::WriteOnly) && full.write(old) == old.size());
    }
    dialogs.expectMessages();
    {
        FileSizeLimit disk(1024);
        QVERIFY(disk.isSet());
        QVERIFY(!writeTextFile(dir.filePath(target), QString(1500, QLatin1Char('x'))));
    }
    QCOMPARE(dialogs.messages.size(), 1);
    const MessageBoxRequest &m = dialogs.messages.first();
    QCOMPARE(m.text, QStringLiteral("Could not write to file."));
    QCOMPARE(m.icon, QMessageBox::Critical);
    QVERIFY(m.title.isEmpty());
    QVERIFY(!m.parent);
    // What stood there before is still there, and nothing was added beside it.
    QVERIFY(QFileInfo(dir.filePath("taken.csv/kept")).isDir());
    QStringList left{"taken.csv"};
    if (target == QLatin1String("full.csv")) {
        QFile full(dir.filePath(target));
        QVERIFY(full.open(QIODevice::ReadOnly));
        QCOMPARE(full.readAll(), old);
        left.prepend(target);
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name), left);
}

// Qt writes a settings file through its own save file: the store, as the
// program makes it, and a file of its form meet a full disk as every other
// whole file does, and the status says so.
void TextFileWriterTest::settingsOnAFullDisk_fileStays_data()
{
    QTest::addColumn<bool>("programsStore");
    QTest::newRow("the store as the program makes it") << true;
    QTest::newRow("a file of the store's form") << false;
}

void TextFileWriterTest::settingsOnAFullDisk_fileStays()
{
    QFETCH(bool, programsStore);
    QTemporaryDir dir;
    setApplicationIdentity();
    QFile::remove(QSettings().fileName());
    const auto storeGone = qScopeGuard([]() { QFile::remove(QSettings().fileName()); });
    const auto settings = [&]() {
        return programsStore ? std::make_unique<QSettings>()
                             : std::make_unique<QSettings>(dir.filePath("Quillon.conf"), wholeIniFormat());
    };
    settings()->setValue("copyFilesPath", "/data/bats");
    QFile file(settings()->fileName());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    QCOMPARE(before, QByteArray("[General]\ncopyFilesPath=/data/bats\n"));
    const auto store = settings();
    store->setValue("note", QString(1500, QLatin1Char('x')));
    FileSizeLimit disk(1024);
    QVERIFY(disk.isSet());
    store->sync();
    QCOMPARE(store->status(), QSettings::AccessError);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

QUILLON_TEST(TextFileWriterTest)
#include "tst_textfilewriter.moc"
