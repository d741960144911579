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
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>

#include <climits>

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

// A splitter layout that claims 2^31-1 sizes, as the store writes it: it decodes, but cannot be applied.
const QByteArray hugeLayout = QByteArrayLiteral("@ByteArray(\\0\\0\\0\\xff\\0\\0\\0\\x1\\x7f\\xff\\xff\\xff)");

QString copyPath(const char *suffix = "")
{
    const QFileInfo store(storePath());
    return store.dir().filePath(store.completeBaseName() + QStringLiteral(".unreadable") + QLatin1String(suffix)
                                + QStringLiteral(".conf"));
}

// Every value the INI file at `path` holds, as Qt reads it.
QMap<QString, QVariant> readingsOf(const QString &path)
{
    QMap<QString, QVariant> readings;
    try {
        QSettings settings(path, QSettings::IniFormat);
        const QStringList keys = settings.allKeys();
        for (const QString &key : keys)
            readings.insert(key, settings.value(key));
    } catch (const std::exception &) {
        readings.insert(QStringLiteral("(does not read)"), QVariant());
    }
    return readings;
}

QByteArray randomLineEnd(QRandomGenerator &random)
{
    const char *ends[] = {"\n", "\r", "\r\n"};
    return ends[random.bounded(3)];
}

// A store of values of every kind Qt reads, some of them unreadable, in
// sections spelled in several ways: `store` as written, `readable` the same
// without the unreadable values.
void randomStore(QRandomGenerator &random, QByteArray *store, QByteArray *readable)
{
    const QByteArray layoutKeys[] = {"splitterMainSizes", "splitterMain%53izes", "splitterMain%U0053izes",
                                     " splitterTimePlotSizes ", "splitterFrequencyPlotSizes"};
    const QByteArray sections[] = {"[General]", "[ General ]", "[general]", "[General;", "[Recent]", "[%General]"};
    const int pieces = 24;
    const int surelyUnreadable = random.bounded(pieces);
    bool general = true;
    // Qt reads a first line that begins right after the byte order mark with the mark.
    if (random.bounded(4) == 0) {
        *store += "\xef\xbb\xbf";
        *readable += "\xef\xbb\xbf";
    }
    const bool mark = !store->isEmpty();
    for (int i = 0; i < pieces; ++i) {
        const QByteArray key = 'k' + QByteArray::number(random.bounded(6));
        const QByteArray value = 'v' + QByteArray::number(i);
        const QByteArray inner = randomLineEnd(random);
        QByteArray text;
        bool unreadable = false;
        switch (i == surelyUnreadable ? 0 : random.bounded(12)) {
        case 0:
            text = key + '=' + hugeList;
            unreadable = true;
            break;
        case 1:
            text = "  " + key + " = " + value;
            break;
        case 2: // a backslash in a comment carries nothing on
            text = key + '=' + value + " ; note \\";
            break;
        case 3:
            text = key + "=\"" + value + inner + "[General]" + inner + "closed\"";
            break;
        case 4: // what reads as a value of its own alone is the end of this one
            text = key + '=' + value + '\\' + inner + "broken=" + hugeList;
            break;
        case 5:
            text = "broken=@Variant(\\0\\0\\0\\t\\" + inner + "\\x7f\\xff\\xff\\xff)";
            unreadable = true;
            break;
        case 6: // a layout of the window only in the general section
            text = layoutKeys[random.bounded(5)] + '=' + hugeLayout;
            unreadable = general && !(mark && i == 0);
            break;
        case 7: {
            const int section = random.bounded(6);
            text = sections[section];
            general = section < 4;
            break;
        }
        case 8:
            text = "; " + value;
            break;
        case 9:
            text = key + "=a, b ,\"c," + value + '"';
            break;
        case 10:
            text = key + "=@ByteArray(" + value + ")";
            break;
        default:
            text = key + "=@Rect(1 2 3 " + QByteArray::number(i) + ')';
            break;
        }
        // The last may end the file without a line end, inside quotes or after a backslash.
        const QByteArray end = i + 1 == pieces && random.bounded(2) ? QByteArray() : randomLineEnd(random);
        *store += text + end;
        if (!unreadable)
            *readable += text + end;
    }
}

} // namespace

class TestSettingsStoreRepair : public testsupport::GuiTestCase
{
    Q_OBJECT
private slots:
    void damagedValues_fallBackOthersStay();
    void linesAsQtReadsThem_data();
    void linesAsQtReadsThem();
    void randomStores_readableValuesReadTheSame();
    void readableStore_leftAlone();
    void start_saysOnceWhereTheCopyIs();
    void storeTheRewriteCannotMend_setAsideWholeOnce();
    void splitterStateApplies_data();
    void splitterStateApplies();
    void hugeSplitterLayout_recordingOpensWithTheDefault();
    void layoutStoredAfterStart_recordingOpensWithTheDefault();
    void storedPlaceAtTheEndsOfInt_windowOnTheScreen();
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

// Each row: a store, and what is left of it. Only the values Qt could not
// read go, with their line ends; every other byte stays.
void TestSettingsStoreRepair::linesAsQtReadsThem_data()
{
    QTest::addColumn<QByteArray>("store");
    QTest::addColumn<QByteArray>("kept");
    const QByteArray h = hugeList;
    const QByteArray l = hugeLayout;
    QTest::newRow("lines ending in CR") << "[General]\rtheme=2\rclassColors=" + h + "\rvolume=40\r"
                                        << QByteArray("[General]\rtheme=2\rvolume=40\r");
    QTest::newRow("a value before a CR on its line")
        << "volume=40\rclassColors=" + h + "\n[Recent]\nfolder=/data/bats\n"
        << QByteArray("volume=40\r[Recent]\nfolder=/data/bats\n");
    QTest::newRow("an undecodable value continued over two lines")
        << QByteArray("theme=2\nclassColors=@Variant(\\0\\0\\0\\t\\\n\\x7f\\xff\\xff\\xff)\nvolume=40\n")
        << QByteArray("theme=2\nvolume=40\n");
    QTest::newRow("a line a backslash joins to the value before")
        << "path=C:\\\nbroken=" + h + "\nlast=" + h + "\nfolder=/data/bats\n"
        << "path=C:\\\nbroken=" + h + "\nfolder=/data/bats\n";
    QTest::newRow("a layout in the general section spaced") << "[ General ]\nsplitterMainSizes=" + l + "\nvolume=40\n"
                                                            << QByteArray("[ General ]\nvolume=40\n");
    QTest::newRow("a layout's key escaped by two digits") << "splitterMain%53izes=" + l + "\nvolume=40\n"
                                                          << QByteArray("volume=40\n");
    QTest::newRow("a layout's key escaped by four digits") << "splitterMain%U0053izes=" + l + "\nvolume=40\n"
                                                           << QByteArray("volume=40\n");
    QTest::newRow("an empty layout under a general section cut by a comment")
        << QByteArray("[General;\nsplitterMainSizes=\nvolume=40\n") << QByteArray("[General;\nvolume=40\n");
    QTest::newRow("a key on the byte order mark's line: no layout")
        << "\xef\xbb\xbf  splitterMainSizes=" + l + "\nbroken=" + h + '\n'
        << "\xef\xbb\xbf  splitterMainSizes=" + l + '\n';
    QTest::newRow("a key after the byte order mark's line") << "\xef\xbb\xbf\nsplitterMainSizes=" + l + "\nvolume=40\n"
                                                            << QByteArray("\xef\xbb\xbf\nvolume=40\n");
}

void TestSettingsStoreRepair::linesAsQtReadsThem()
{
    QFETCH(QByteArray, store);
    writeStore(store);
    QCOMPARE(setAsideUnreadableSettings(), copyPath());
    QCOMPARE(bytesOf(copyPath()), store);
    QTEST(bytesOf(storePath()), "kept");
    QCOMPARE(setAsideUnreadableSettings(), QString());
}

// Stores of random lines, a fixed seed: whatever Qt reads from one without its
// unreadable values, it reads the same from the repaired store.
void TestSettingsStoreRepair::randomStores_readableValuesReadTheSame()
{
    QRandomGenerator random(20240611);
    QTemporaryDir references;
    QVERIFY(references.isValid());
    for (int round = 0; round < 150; ++round) {
        QByteArray store;
        QByteArray readable;
        randomStore(random, &store, &readable);
        const QString reference = references.filePath(QString::number(round) + QStringLiteral(".ini"));
        QFile file(reference);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(readable) == readable.size());
        file.close();
        writeStore(store);
        const QString copy = setAsideUnreadableSettings();
        QVERIFY2(!copy.isEmpty(), store.constData());
        const QMap<QString, QVariant> expected = readingsOf(reference);
        QVERIFY(!expected.contains(QStringLiteral("(does not read)")));
        QVERIFY2(readingsOf(storePath()) == expected, store.toPercentEncoding(" =;\"[]\\").constData());
        QFile::remove(copy);
        // Qt rereads a file it has read only when its size or time differs: an empty one comes between.
        writeStore(QByteArray());
        readingsOf(storePath());
    }
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

// Without a scratch folder (the folder for temporary files is a file) no value
// can be tried, and the rewritten store would not read whole: it is set aside
// whole, once, and the next start finds it readable.
void TestSettingsStoreRepair::storeTheRewriteCannotMend_setAsideWholeOnce()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString notAFolder = folder.filePath(QStringLiteral("temporary"));
    QFile file(notAFolder);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const bool temporarySet = qEnvironmentVariableIsSet("TMPDIR");
    const QByteArray temporary = qgetenv("TMPDIR");
    const auto restore = qScopeGuard([temporarySet, &temporary]() {
        if (temporarySet)
            qputenv("TMPDIR", temporary);
        else
            qunsetenv("TMPDIR");
    });
    qputenv("TMPDIR", QFile::encodeName(notAFolder));
    ScriptedDialogs dialogs;
    dialogs.expectMessages();
    writeStore(damagedStore);
    repairSettingsStoreAtStart(nullptr);
    repairSettingsStoreAtStart(nullptr);
    const QFileInfo store(storePath());
    const QStringList copies = store.dir().entryList({store.completeBaseName() + QStringLiteral(".unreadable*")});
    QCOMPARE(copies, QStringList{QFileInfo(copyPath()).fileName()});
    QCOMPARE(bytesOf(copyPath()), damagedStore);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(QSettings().allKeys(), QStringList());
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

// A layout that reaches the store after the start repair (written by another
// copy of the program, say) is checked where the window applies it.
void TestSettingsStoreRepair::layoutStoredAfterStart_recordingOpensWithTheDefault()
{
    const QString recording = QDir(testsupport::testDataDir()).filePath(QStringLiteral("Barbastelle.wav"));
    QList<int> defaultSizes;
    {
        auto window = testsupport::exposedWindow();
        QVERIFY(window);
        window->plot_Data(recording);
        QVERIFY(testsupport::waitForSpectrogram(*window));
        defaultSizes = window->findChild<QSplitter *>(QStringLiteral("splitter"))->sizes();
    }
    QSettings().clear();
    auto window = testsupport::exposedWindow();
    QVERIFY(window);
    writeSetting(SettingKeys::splitterMainSizes, QByteArray::fromHex("000000ff000000017fffffff"));
    window->plot_Data(recording);
    QVERIFY(testsupport::waitForSpectrogram(*window));
    QCOMPARE(window->findChild<QSplitter *>(QStringLiteral("splitter"))->sizes(), defaultSizes);
}

// Adding the window's frame to a place stored at the ends of int would
// overflow (the sanitizer build reports it); the window opens on the screen.
void TestSettingsStoreRepair::storedPlaceAtTheEndsOfInt_windowOnTheScreen()
{
    writeSetting(SettingKeys::geometry, QRect(INT_MIN, INT_MIN, 900, 650));
    auto window = testsupport::exposedWindow();
    QVERIFY(window);
    window->plot_Data(QDir(testsupport::testDataDir()).filePath(QStringLiteral("Barbastelle.wav")));
    QVERIFY(testsupport::waitForSpectrogram(*window));
    QVERIFY(window->screen()->availableGeometry().contains(window->geometry()));
}

QUILLON_TEST(TestSettingsStoreRepair)
#include "tst_settingsstorerepair.moc"
