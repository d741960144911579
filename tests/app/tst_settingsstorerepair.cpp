#include "testregistry.h"

#include "app/mainwindow.h"
#include "app/settingsstorerepair.h"
#include "common/settingskeys.h"
#include "guitest.h"
#include "scripteddialogs.h"

#include <QColor>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSettings>
#include <QSplitter>
#include <QTest>

namespace {

// A list that claims 2^31-1 entries: Qt's decoding throws std::bad_alloc on it.
const QByteArray hugeList = QByteArrayLiteral("@Variant(\\0\\0\\0\\t\\x7f\\xff\\xff\\xff)");

// The store as a user who last ran the program left it, one value damaged in
// each of two groups.
const QByteArray damagedStore = QByteArrayLiteral("[General]\ntheme=2\nclassColors=") + hugeList
                                + QByteArrayLiteral("\nvolume=40\n\n[Recent]\nfolder=/data/bats\nbroken=") + hugeList
                                + QByteArrayLiteral("\n");

QString storePath()
{
    return QSettings().fileName();
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeStore(const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(storePath()).path());
    QFile file(storePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(storePath()));
}

// A splitter's layout laid out field by field: marker, version, sizes, collapsing, handle, opaque resize, orientation.
QByteArray layout(qint32 marker, const QVector<qint32> &sizes, qint32 handle, qint32 orientation, qint32 version = 1)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << marker << version << qint32(sizes.size());
    for (qint32 size : sizes)
        out << size;
    out << true << handle << false << orientation;
    if (version >= 1)
        out << true;
    return bytes;
}

QString copyPath(const char *suffix = "")
{
    const QFileInfo store(storePath());
    return store.dir().filePath(store.completeBaseName() + QStringLiteral(".unreadable") + QLatin1String(suffix)
                                + QStringLiteral(".conf"));
}

} // namespace

class TestSettingsStoreRepair : public testsupport::GuiTestCase
{
    Q_OBJECT
private slots:
    void damagedValues_fallBackOthersStay();
    void linesQtReadsOn_eachTriedAlone();
    void readableStore_leftAlone();
    void start_saysOnceWhereTheCopyIs();
    void splitterStateApplies_data();
    void splitterStateApplies();
    void hugeSplitterLayout_recordingOpensWithTheDefault();
    void cleanup();
};

void TestSettingsStoreRepair::cleanup()
{
    // The next test's init() empties the store through Qt, which a damaged one would not survive.
    QFile::remove(storePath());
    QFile::remove(copyPath());
    QFile::remove(copyPath("-2"));
}

void TestSettingsStoreRepair::damagedValues_fallBackOthersStay()
{
    writeStore(damagedStore);
    const QString copy = setAsideUnreadableSettings();
    QCOMPARE(copy, copyPath());
    QCOMPARE(bytesOf(copy), damagedStore);
    QStringList keys = QSettings().allKeys();
    keys.sort();
    QCOMPARE(keys, (QStringList{"Recent/folder", "theme", "volume"}));
    QCOMPARE(readSetting(SettingKeys::theme), 2);
    QCOMPARE(readSetting(SettingKeys::volume), 40);
    QVERIFY(readSetting(SettingKeys::classColors).isEmpty());

    // Read now: nothing more to set aside. Damaged again: an earlier copy is kept.
    QCOMPARE(setAsideUnreadableSettings(), QString());
    writeStore(damagedStore);
    QCOMPARE(setAsideUnreadableSettings(), copyPath("-2"));
    QCOMPARE(bytesOf(copy), damagedStore);
}

// A quote left open or a backslash at the end carries Qt's reading on into
// the next line: each is still tried alone, with its own section.
void TestSettingsStoreRepair::linesQtReadsOn_eachTriedAlone()
{
    const QByteArray store = QByteArrayLiteral("[General]\nclassColors=") + hugeList
                             + QByteArrayLiteral("\nvolume=40 ; loud\n[Recent]\nnote=\"open\nbroken=") + hugeList
                             + QByteArrayLiteral("\npath=C:\\\nlast=") + hugeList
                             + QByteArrayLiteral("\nfolder=/data/bats\n");
    writeStore(store);
    QCOMPARE(setAsideUnreadableSettings(), copyPath());
    QCOMPARE(bytesOf(storePath()), QByteArrayLiteral("[General]\nvolume=40 ; loud\n[Recent]\nnote=\"open\n"
                                                     "path=C:\\\nfolder=/data/bats\n"));
}

void TestSettingsStoreRepair::readableStore_leftAlone()
{
    QCOMPARE(setAsideUnreadableSettings(), QString()); // no store yet
    writeSetting(SettingKeys::classColors, QVariantList{QColor(255, 200, 100), QColor(Qt::blue)});
    QSplitter plotsAboveLists(Qt::Vertical);
    plotsAboveLists.addWidget(new QLabel);
    plotsAboveLists.addWidget(new QLabel);
    writeSetting(SettingKeys::splitterMainSizes, plotsAboveLists.saveState());
    QSettings().sync();
    const QByteArray before = bytesOf(storePath());
    QVERIFY(before.contains("@Variant("));
    QCOMPARE(setAsideUnreadableSettings(), QString());
    QCOMPARE(bytesOf(storePath()), before);
    QVERIFY(!QFileInfo::exists(copyPath()));
}

void TestSettingsStoreRepair::start_saysOnceWhereTheCopyIs()
{
    ScriptedDialogs dialogs;
    dialogs.expectMessages();
    writeStore(damagedStore);
    {
        MainWindow window;
        QCOMPARE(readSetting(SettingKeys::theme), 2);
    }
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.first().informativeText, QDir::toNativeSeparators(copyPath()));
    QCOMPARE(bytesOf(copyPath()), damagedStore);
    MainWindow again;
    QCOMPARE(dialogs.messages.size(), 1);
}

void TestSettingsStoreRepair::splitterStateApplies_data()
{
    QTest::addColumn<QByteArray>("state");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<bool>("applies");
    const int vertical = Qt::Vertical;
    const qint32 marker = 0xff;
    QSplitter splitter(Qt::Vertical);
    splitter.addWidget(new QLabel);
    splitter.addWidget(new QLabel);
    QTest::newRow("as Qt writes it") << splitter.saveState() << vertical << true;
    QTest::newRow("the other orientation") << splitter.saveState() << int(Qt::Horizontal) << false;
    QTest::newRow("none stored") << QByteArray() << vertical << false;
    QTest::newRow("version 2") << layout(marker, {200, 300}, -1, vertical, 2) << vertical << false;
    QTest::newRow("another marker") << layout(0xfe, {200, 300}, -1, vertical) << vertical << false;
    QTest::newRow("a handle of 0 px") << layout(marker, {200, 300}, 0, vertical) << vertical << false;
    QTest::newRow("a handle of 100 px") << layout(marker, {200, 300}, 100, vertical) << vertical << true;
    QTest::newRow("a handle of 101 px") << layout(marker, {200, 300}, 101, vertical) << vertical << false;
    QTest::newRow("a pane not laid out yet") << layout(marker, {-1, 500}, 6, vertical) << vertical << true;
    QTest::newRow("a negative size") << layout(marker, {-2, 500}, 6, vertical) << vertical << false;
    QTest::newRow("2^24-1 px") << layout(marker, {16777215, 0}, 6, vertical) << vertical << true;
    QTest::newRow("2^24 px") << layout(marker, {16777216, 0}, 6, vertical) << vertical << false;
    const QByteArray whole = layout(marker, {200, 300}, -1, vertical);
    QTest::newRow("cut before its last byte") << whole.left(whole.size() - 1) << vertical << false;
    QTest::newRow("2^31-1 sizes claimed") << QByteArray::fromHex("000000ff000000017fffffff") << vertical << false;
}

void TestSettingsStoreRepair::splitterStateApplies()
{
    QFETCH(QByteArray, state);
    QFETCH(int, orientation);
    QFETCH(bool, applies);
    QCOMPARE(::splitterStateApplies(state, Qt::Orientation(orientation)), applies);
}

void TestSettingsStoreRepair::hugeSplitterLayout_recordingOpensWithTheDefault()
{
    const QString recording = QDir(testsupport::testDataDir()).filePath(QStringLiteral("Barbastelle.wav"));
    const char *splitters[] = {"splitter", "splitter_2", "splitter_3"};
    QList<QList<int>> defaults;
    {
        auto window = testsupport::exposedWindow();
        QVERIFY(window);
        window->plot_Data(recording);
        QVERIFY(testsupport::waitForSpectrogram(*window));
        for (const char *name : splitters)
            defaults << window->findChild<QSplitter *>(QLatin1String(name))->sizes();
    }
    QSettings().clear();
    writeSetting(SettingKeys::splitterTimePlotSizes, QByteArray::fromHex("000000ff000000017fffffff"));
    QSettings().sync();
    const QByteArray stored = bytesOf(storePath());

    ScriptedDialogs dialogs;
    dialogs.expectMessages();
    auto window = testsupport::exposedWindow();
    QVERIFY(window);
    window->plot_Data(recording);
    QVERIFY(testsupport::waitForSpectrogram(*window));
    QList<QList<int>> shown;
    for (const char *name : splitters)
        shown << window->findChild<QSplitter *>(QLatin1String(name))->sizes();
    QCOMPARE(shown, defaults);
    QCOMPARE(bytesOf(copyPath()), stored);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.first().informativeText, QDir::toNativeSeparators(copyPath()));
}

QUILLON_TEST(TestSettingsStoreRepair)
#include "tst_settingsstorerepair.moc"
