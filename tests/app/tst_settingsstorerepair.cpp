#include "testregistry.h"

#include "app/mainwindow.h"
#include "app/settingsstorerepair.h"
#include "childprocess.h"
#include "common/inidocument.h"
#include "common/settingsformat.h"
#include "common/settingskeys.h"
#include "filesizelimit.h"
#include "guitest.h"
#include "scripteddialogs.h"
#include "unusabletemporaryfolder.h"

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
#include <new>
#include <sys/stat.h>

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

// A repair that cannot copy the store or rewrite it keeps this run's settings
// in memory: the guard puts the next test back on the store itself.
auto storeBackOnDisk()
{
    return qScopeGuard([]() { keepSettingsOnDisk(storePath()); });
}

// Where the store as it was is kept; empty when it needed no repair.
QString setAside()
{
    return setAsideUnreadableSettings().copyPath;
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

// `bytes` escaped one by one, as Qt reads them inside "@ByteArray(...)" or "@Variant(...)".
QByteArray escaped(const QByteArray &bytes)
{
    QByteArray text;
    for (char c : bytes)
        text += "\\x" + QByteArray::number(uchar(c), 16);
    return text;
}

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
// with the text of the unreadable values gone but their line ends kept, so
// that the line after one still begins a line of its own. Which layouts are
// the window's, and so unreadable, Qt decides: it reads the store without its
// undecodable values, in which each layout's name stands once.
void randomStore(QRandomGenerator &random, QByteArray *store, QByteArray *readable)
{
    const QByteArray layoutKeys[] = {"splitterMainSizes", "splitterMain%53izes", "splitterMain%U0053izes",
                                     " splitterTimePlotSizes ", "splitterFrequencyPlotSizes"};
    const QString layoutNames[] = {"splitterMainSizes", "splitterTimePlotSizes", "splitterFrequencyPlotSizes"};
    const int nameOfKey[] = {0, 0, 0, 1, 2};
    const QByteArray sections[] = {"[General]", "[ General ]", "[general]", "[General;", "[Recent]", "[%General]"};
    struct Piece {
        QByteArray text;
        QByteArray end;
        bool undecodable = false;
        int layout = -1; // the layout name it stores
    };
    QVector<Piece> pieces(24);
    const int surelyUnreadable = random.bounded(pieces.size());
    int layoutPiece[] = {-1, -1, -1};
    // U+FEFF as UTF-8: a byte order mark, which makes Qt read the file as UTF-8.
    const QByteArray mark = random.bounded(4) == 0 ? QString(QChar(0xfeff)).toUtf8() : QByteArray();
    for (int i = 0; i < pieces.size(); ++i) {
        Piece &piece = pieces[i];
        const QByteArray key = 'k' + QByteArray::number(random.bounded(6));
        const QByteArray value = 'v' + QByteArray::number(i);
        const QByteArray inner = randomLineEnd(random);
        const int layoutKey = random.bounded(5);
        // The last may end the file without a line end, inside quotes or after a backslash.
        piece.end = i + 1 == pieces.size() && random.bounded(2) ? QByteArray() : randomLineEnd(random);
        int kind = i == surelyUnreadable ? 0 : random.bounded(15);
        if (kind == 6 && layoutPiece[nameOfKey[layoutKey]] >= 0)
            kind = 14;
        switch (kind) {
        case 0:
            piece.text = key + '=' + hugeList;
            piece.undecodable = true;
            break;
        case 1:
            piece.text = "  " + key + " = " + value;
            break;
        case 2: // a backslash in a comment carries nothing on
            piece.text = key + '=' + value + " ; note \\";
            break;
        case 3:
            piece.text = key + "=\"" + value + inner + "[General]" + inner + "closed\"";
            break;
        case 4: // what reads as a value of its own alone is the end of this one
            piece.text = key + '=' + value + '\\' + inner + "broken=" + hugeList;
            break;
        case 5:
            piece.text = "broken=@Variant(\\0\\0\\0\\t\\" + inner + "\\x7f\\xff\\xff\\xff)";
            piece.undecodable = true;
            break;
        case 6:
            piece.text = layoutKeys[layoutKey] + '=' + hugeLayout;
            piece.layout = nameOfKey[layoutKey];
            layoutPiece[piece.layout] = i;
            break;
        case 7:
            piece.text = sections[random.bounded(6)];
            break;
        case 8:
            piece.text = "; " + value;
            break;
        case 9:
            piece.text = key + "=a, b ,\"c," + value + '"';
            break;
        case 10:
            piece.text = key + "=@ByteArray(" + value + ")";
            break;
        case 11: // Qt quotes every text that holds a ';'
            piece.text = key + "=\"" + value + ";" + value + "\" ; note";
            break;
        case 12: // a line end the backslash carries over, and one of its own
            piece.text = key + "=C:\\\r";
            piece.end = random.bounded(2) ? QByteArray("\r") : ";" + value + piece.end;
            break;
        case 13:
            piece.text = key + "=\"a;b\", \"" + value + ";\"";
            break;
        default:
            piece.text = key + "=@Rect(1 2 3 " + QByteArray::number(i) + ')';
            break;
        }
    }
    const auto compose = [&](auto gone) {
        QByteArray text = mark;
        for (const Piece &piece : pieces)
            text += (gone(piece) ? QByteArray() : piece.text) + piece.end;
        return text;
    };
    QTemporaryDir folder;
    const QString decodable = folder.filePath(QStringLiteral("decodable.ini"));
    QFile file(decodable);
    if (!folder.isValid() || !file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(decodable));
    file.write(compose([](const Piece &piece) { return piece.undecodable; }));
    file.close();
    const QStringList generalKeys = QSettings(decodable, QSettings::IniFormat).childKeys();
    const auto unreadable = [&](const Piece &piece) {
        return piece.undecodable || (piece.layout >= 0 && generalKeys.contains(layoutNames[piece.layout]));
    };
    *store = compose([](const Piece &) { return false; });
    *readable = compose(unreadable);
}

} // namespace

class TestSettingsStoreRepair : public testsupport::GuiTestCase
{
    Q_OBJECT
private slots:
    void damagedValues_fallBackOthersStay();
    void damagedFloat_startsOnTheOthers();
    void variantsOfAnyType_onlyTheProgramsKindsReachQt();
    void safeToDecode_data();
    void safeToDecode();
    void safeToDecode_agreesWithQtsDecoder();
    void writeFails_storeLeftAsItIsRunNotKept_data();
    void writeFails_storeLeftAsItIsRunNotKept();
    void fullDiskAtStart_storeStaysNoCopyClaimed();
    void storeWithByteOrderMark_readsAsUtf8AfterTheCheck();
    void linesAsQtReadsThem_data();
    void linesAsQtReadsThem();
    void randomStores_readableValuesReadTheSame();
    void readableStore_leftAlone();
    void start_saysOnceWhereTheCopyIs();
    void temporaryFolderUnusable_storeMendedAsEver();
    void filesBesideTheStore_stayAtStart();
    void storeIsAFifo_startGoesOnFifoStays();
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
    const QString copy = setAside();
    QCOMPARE(copy, copyPath());
    QCOMPARE(bytesOf(copy), damagedStore);
    QStringList keys = QSettings().allKeys();
    keys.sort();
    QCOMPARE(keys, (QStringList{"Recent/folder", "theme", "volume"}));
    QCOMPARE(readSetting(SettingKeys::theme), 2);
    QCOMPARE(readSetting(SettingKeys::volume), 40);
    QVERIFY(readSetting(SettingKeys::classColors).isEmpty());

    // Read now: nothing more to set aside. Damaged otherwise: the earlier copy
    // is kept beside the new one. The same damage again finds its copy there.
    QCOMPARE(setAside(), QString());
    const QByteArray other = damagedStore + "theme=3\n";
    writeStore(other);
    QCOMPARE(setAside(), copyPath("-2"));
    QCOMPARE(bytesOf(copy), damagedStore);
    writeStore(damagedStore);
    QCOMPARE(setAside(), copy);
    QCOMPARE(bytesOf(copyPath("-2")), other);
}

// The program's own fixedDuration with one byte changed crashed Qt's decoder at every start.
void TestSettingsStoreRepair::damagedFloat_startsOnTheOthers()
{
    const QByteArray store("theme=2\nfixedDuration=@Variant(\\0\\0\\0\xa8x87?\\xa0\\0\\0)\nvolume=40\n");
    ScriptedDialogs dialogs;
    dialogs.expectMessages();
    writeStore(store);
    MainWindow window;
    QCOMPARE(readSetting(SettingKeys::theme), 2);
    QCOMPARE(readSetting(SettingKeys::volume), 40);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(bytesOf(copyPath()), store);
}

// A value of any type number, bytes of chance after it: whatever Qt's loaders
// would do with it (crash, throw, read for minutes), only a kind the program
// stores reaches Qt, and the other values stay.
void TestSettingsStoreRepair::variantsOfAnyType_onlyTheProgramsKindsReachQt()
{
    QRandomGenerator random(1615);
    for (int round = 0; round < 200; ++round) {
        QByteArray payload;
        QDataStream out(&payload, QIODevice::WriteOnly);
        out << quint32(random.bounded(256));
        for (int n = random.bounded(24); n > 0; --n)
            out << quint8(random.bounded(256));
        writeStore("theme=2\nk=@Variant(" + escaped(payload) + ")\n");
        QFile::remove(setAside());
        const QMap<QString, QVariant> readings = readingsOf(storePath());
        QCOMPARE(readings.value(QStringLiteral("theme")), QVariant(QStringLiteral("2")));
        const int type = readings.value(QStringLiteral("k")).userType();
        QVERIFY2(readings.size() == 1 || type == QMetaType::Float || type == QMetaType::QColor
                     || type == QMetaType::QVariantList,
                 payload.toHex().constData());
        writeStore(QByteArray());
        readingsOf(storePath());
    }
}

// Each row: a value as it stands after the '=', and whether Qt may decode it.
void TestSettingsStoreRepair::safeToDecode_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<bool>("admitted");
    const QByteArray colour = "\\0\\0\\0\\x43\\x1\\xff\\xff\\xff\\xff\\xc8\\xc8\\x64\\x64\\0\\0";
    QTest::newRow("a float") << QByteArray("@Variant(\\0\\0\\0\\x87?\\x80\\0\\0)") << false << true;
    QTest::newRow("a float's type changed") << QByteArray("@Variant(\\0\\0\\0\xa8x87?\\xa0\\0\\0)") << false << false;
    QTest::newRow("a colour") << "@Variant(" + colour + ')' << false << true;
    QTest::newRow("a list of one colour") << "@Variant(\\0\\0\\0\\t\\0\\0\\0\\x1" + colour + ')' << false << true;
    QTest::newRow("a list of 2^31-1 colours") << hugeList << false << false;
    // Whole entries, but of a kind the program never stores in a list: a text.
    QTest::newRow("a list of one text") << QByteArray("@Variant(\\0\\0\\0\\t\\0\\0\\0\\x1\\0\\0\\0\\n"
                                                      "\\0\\0\\0\\x8\\0\\x62\\0\\x61\\0t\\0s)")
                                        << false << false;
    QTest::newRow("a date and time") << QByteArray("@DateTime(\\0\\0\\0\\x10\\0)") << false << false;
    // U+0087 as UTF-8: the float's type read as UTF-8, two other bytes read as Latin-1.
    QTest::newRow("UTF-8 as UTF-8") << QByteArray("@Variant(\\0\\0\\0\xc2\x87?\\x80\\0\\0)") << true << true;
    QTest::newRow("UTF-8 as Latin-1") << QByteArray("@Variant(\\0\\0\\0\xc2\x87?\\x80\\0\\0)") << false << false;
}

void TestSettingsStoreRepair::safeToDecode()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, utf8);
    QTEST(IniDocument::safeToDecode(value, utf8), "admitted");
}

// A list claiming 2^31-1 entries spelled in the ways Qt reads a value (escapes,
// quotes, blanks, lists): Qt throws std::bad_alloc exactly when it hands it to
// its decoder, and exactly then it may not be admitted.
void TestSettingsStoreRepair::safeToDecode_agreesWithQtsDecoder()
{
    QRandomGenerator random(4502);
    const QByteArray tails[] = {"", "  ", "\\x20", "  \\", "  \\x", "\\q  ", "x", "\"", " \" "};
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    for (int round = 0; round < 400; ++round) {
        const bool utf8 = random.bounded(2);
        QByteArray value = QByteArray(random.bounded(3), ' ') + (random.bounded(3) ? "" : "\"");
        for (char c : "@Variant(" + QByteArray::fromHex("000000097fffffff") + ')') {
            const bool plain = QByteArray("@()Vrint").contains(c) && random.bounded(2);
            value += plain               ? QByteArray(1, c)
                     : random.bounded(2) ? "\\x" + QByteArray::number(uchar(c), 16)
                                         : '\\' + QByteArray::number(uchar(c), 8).rightJustified(3, '0');
        }
        value += tails[random.bounded(9)];
        if (random.bounded(3) == 0)
            value = (utf8 ? "\xc3\xa9, " : "a, ") + value;
        // The value ends the file: an open quote would carry it over a line end.
        const QString path = folder.filePath(QString::number(round) + QStringLiteral(".ini"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(utf8 ? "\xef\xbb\xbf\n" : "") + "k=" + value);
        file.close();
        bool decoded = false;
        try {
            QSettings(path, QSettings::IniFormat).value(QStringLiteral("k"));
        } catch (const std::bad_alloc &) {
            decoded = true;
        }
        QVERIFY2(IniDocument::safeToDecode(value, utf8) != decoded, value.constData());
    }
}

// Each row: a write of the repair that fails. The store stays as it was (a
// store that cannot be rewritten is neither emptied nor removed), no part of
// a copy cut short is left, this run reads what it could and writes nothing
// into the store, and the message says so, with the file and why.
void TestSettingsStoreRepair::writeFails_storeLeftAsItIsRunNotKept_data()
{
    QTest::addColumn<QString>("failing"); // "copy" or "store"
    QTest::addColumn<bool>("saysWritten");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QString>("why");
    QTest::newRow("the copy meets a full disk") << "copy" << false << "will not be kept"
                                                << "No space left on device";
    QTest::newRow("the copy cut short, said written")
        << "copy" << true << "will not be kept"
        << QString("%1 of %2 bytes reached the disk").arg(damagedStore.size() / 2).arg(damagedStore.size());
    QTest::newRow("the store cannot be rewritten") << "store" << false << "could not be repaired"
                                                   << "Read-only file system";
}

void TestSettingsStoreRepair::writeFails_storeLeftAsItIsRunNotKept()
{
    QFETCH(QString, failing);
    QFETCH(bool, saysWritten);
    QFETCH(QString, said);
    QFETCH(QString, why);
    const QString store = storePath();
    const QString failingPath = failing == QLatin1String("copy") ? copyPath() : store;
    const auto backOnDisk = storeBackOnDisk();
    ScriptedDialogs dialogs;
    dialogs.expectMessages();
    writeStore(damagedStore);
    const WholeFileWriter writer = [&](const QString &path, const QByteArray &bytes, QString *reason) {
        if (path != failingPath)
            return writeWholeFile(path, bytes, reason);
        QFile file(path);
        if (path != store && file.open(QIODevice::WriteOnly))
            file.write(bytes.left(bytes.size() / 2)); // cut short by the full disk
        *reason = why;
        return saysWritten;
    };
    repairSettingsStoreAtStart(nullptr, writer);
    {
        MainWindow window;
        QCOMPARE(readSetting(SettingKeys::theme), 2);
        QVERIFY(readSetting(SettingKeys::classColors).isEmpty());
        writeSetting(SettingKeys::volume, 10);
    }
    QCOMPARE(readSetting(SettingKeys::volume), 10);
    QCOMPARE(bytesOf(store), damagedStore);
    QCOMPARE(bytesOf(copyPath()), failing == QLatin1String("copy") ? QByteArray() : damagedStore);
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages.first().text.contains(said));
    QVERIFY(dialogs.messages.first().informativeText.contains(QDir::toNativeSeparators(failingPath)
                                                              + QStringLiteral(" could not be written: ") + why));
    if (failing == QLatin1String("store"))
        QVERIFY(dialogs.messages.first().informativeText.startsWith(QDir::toNativeSeparators(copyPath())));
}

// A real full disk (a file size limit) at the start: the copy of a store of
// 1.3 KB would be cut to 1 KB. The store stays byte for byte, no copy is left
// or claimed, and the message sends the user to none.
void TestSettingsStoreRepair::fullDiskAtStart_storeStaysNoCopyClaimed()
{
    QByteArray stored = damagedStore;
    for (int i = 0; stored.size() < 1300; ++i)
        stored += "folder" + QByteArray::number(i) + "=/data/bats/survey/night\n";
    const QString store = storePath();
    const QString copy = copyPath();
    const auto backOnDisk = storeBackOnDisk();
    ScriptedDialogs dialogs;
    dialogs.expectMessages();
    writeStore(stored);
    {
        FileSizeLimit disk(1024);
        QVERIFY(disk.isSet());
        repairSettingsStoreAtStart(nullptr);
    }
    QCOMPARE(bytesOf(store), stored);
    QVERIFY(!QFileInfo::exists(copy));
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(!dialogs.messages.first().text.contains(QStringLiteral("kept in the file below")));
    // Qt has no words for a flush the disk cut short: the box still says why.
    QVERIFY(dialogs.messages.first().informativeText.endsWith(QStringLiteral("reached the disk.")));
}

// Qt reads a store that begins with a byte order mark as UTF-8 only through
// the object that reads it first: the check reads it through none.
void TestSettingsStoreRepair::storeWithByteOrderMark_readsAsUtf8AfterTheCheck()
{
    const QString folder = QStringLiteral("/data/Flederm\u00e4use/S\u00fcd");
    writeStore("\xef\xbb\xbf\n" + QByteArray("copyFilesPath=") + folder.toUtf8() + '\n');
    QCOMPARE(setAside(), QString());
    QCOMPARE(readSetting(SettingKeys::copyFilesPath), folder);
    // The next write keeps it, as the next start reads it (from a file Qt never saw).
    writeSetting(SettingKeys::volume, 10);
    QSettings().sync();
    QTemporaryDir next;
    QVERIFY(QFile::copy(storePath(), next.filePath(QStringLiteral("next.conf"))));
    QCOMPARE(readingsOf(next.filePath(QStringLiteral("next.conf"))).value(QStringLiteral("copyFilesPath")),
             QVariant(folder));
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
    QTest::newRow("a value on the byte order mark's line: the next key keeps its name")
        << "\xef\xbb\xbf"
           "classColors="
               + h + "\ntheme=2\nvolume=40\n"
        << QByteArray("\xef\xbb\xbf\ntheme=2\nvolume=40\n");
    // The next value is the one the line's probe would take over: only a layout is tried in Qt.
    QTest::newRow("a backslash before a lone CR, a layout next")
        << "folder=C:\\\r\rsplitterMainSizes=" + l + "\rvolume=40\r" << QByteArray("folder=C:\\\r\rvolume=40\r");
    QTest::newRow("a backslash and a lone CR before a comment, a layout next")
        << "folder=C:\\\r;note\rsplitterMainSizes=" + l + "\rvolume=40\r"
        << QByteArray("folder=C:\\\r;note\rvolume=40\r");
    // Its marker byte 0xff unescaped: as UTF-8, as a start reads it after the mark, a '?'.
    const QByteArray twoPanes = layout(0xff, {200, 300}, -1, Qt::Vertical);
    QTest::newRow("a layout that applies only without the byte order mark's UTF-8")
        << "\xef\xbb\xbf\nsplitterMainSizes=@ByteArray(\\0\\0\\0\xff" + escaped(twoPanes.mid(4)) + ")\nvolume=40\n"
        << QByteArray("\xef\xbb\xbf\nvolume=40\n");
    QTest::newRow("a layout with more sizes than its splitter's panes")
        << "splitterTimePlotSizes=@ByteArray(" + escaped(layout(0xff, {200, 300, 400}, -1, Qt::Vertical))
               + ")\nvolume=40\n"
        << QByteArray("volume=40\n");
}

void TestSettingsStoreRepair::linesAsQtReadsThem()
{
    QFETCH(QByteArray, store);
    writeStore(store);
    QCOMPARE(setAside(), copyPath());
    QCOMPARE(bytesOf(copyPath()), store);
    QTEST(bytesOf(storePath()), "kept");
    QCOMPARE(setAside(), QString());
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
        const QString copy = setAside();
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
    QCOMPARE(setAside(), QString()); // no store yet
    writeSetting(SettingKeys::classColors, QVariantList{QColor(255, 200, 100), QColor(Qt::blue)});
    QSplitter plotsAboveLists(Qt::Vertical);
    plotsAboveLists.addWidget(new QLabel);
    plotsAboveLists.addWidget(new QLabel);
    writeSetting(SettingKeys::splitterMainSizes, plotsAboveLists.saveState());
    QSettings().sync();
    const QByteArray before = bytesOf(storePath());
    QVERIFY(before.contains("@Variant("));
    QCOMPARE(setAside(), QString());
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

// The check needs nothing but the store: with the folder for temporary files
// a file, the store is mended as ever, once, and the next start finds it readable.
void TestSettingsStoreRepair::temporaryFolderUnusable_storeMendedAsEver()
{
    UnusableTemporaryFolder temporary;
    QVERIFY(temporary.isSet());
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
    QStringList keys = QSettings().allKeys();
    keys.sort();
    QCOMPARE(keys, (QStringList{"Recent/folder", "theme", "volume"}));
    writeSetting(SettingKeys::volume, 10);
    QSettings().sync();
    QVERIFY(bytesOf(storePath()).contains("volume=10\n"));
}

// A write of the store killed midway leaves Qt's save file beside it, named
// after the store with six letters of chance: the next start removes it.
// Files a user named so stay.
// Files beside the store, named as a person names a copy or as Qt names a
// save file a killed write left: no name tells the two apart, so all stay.
void TestSettingsStoreRepair::filesBesideTheStore_stayAtStart()
{
    const QFileInfo store(storePath());
    QVERIFY(QDir().mkpath(store.path()));
    const QString stem = store.fileName() + QLatin1Char('.');
    QStringList kept;
    for (const char *ending : {"MyCopy", "BackUp", "OldOne", "SiteAB", "qTzWbk", "backup", "myBackup", "a1B2c3"})
        kept << stem + QLatin1String(ending);
    kept << stem.toLower() + QStringLiteral("XyZabc");
    for (const QString &name : kept) {
        QFile file(store.dir().filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("volume=40\n") == 10);
    }
    const auto gone = qScopeGuard([&]() {
        for (const QString &name : kept)
            QFile::remove(store.dir().filePath(name));
    });
    QCOMPARE(setAside(), QString());
    kept.sort();
    QStringList found = store.dir().entryList({stem + QLatin1Char('*')}, QDir::Files); // in any case
    found.sort();
    QCOMPARE(found, kept);
}

// A FIFO named as the store: Qt opens the store for reading before the format
// sees it, and that waits for a writer. The start goes on at once on the
// defaults, and a write leaves the FIFO as it is.
void TestSettingsStoreRepair::storeIsAFifo_startGoesOnFifoStays()
{
    const QByteArray store = QFile::encodeName(storePath());
    QVERIFY(QDir().mkpath(QFileInfo(storePath()).path()));
    QFile::remove(storePath());
    QVERIFY(mkfifo(store.constData(), 0600) == 0);
    const int code = exitCodeInChild(
        [] {
            setAsideUnreadableSettings();
            if (!QSettings().allKeys().isEmpty())
                return 2;
            writeSetting(SettingKeys::volume, 10);
            QSettings().sync();
            return 0;
        },
        20);
    struct stat status = {};
    const bool fifo = stat(store.constData(), &status) == 0 && S_ISFIFO(status.st_mode);
    // Gone before cleanup() asks Qt for the store's name, which opens it: this process holds no FIFO open.
    QFile::remove(QFile::decodeName(store));
    QCOMPARE(code, 0);
    QVERIFY(fifo);
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
    QTest::newRow("one size for two panes") << layout(marker, {500}, 6, vertical) << vertical << true;
    QTest::newRow("three sizes for two panes") << layout(marker, {200, 300, 0}, 6, vertical) << vertical << false;
}

void TestSettingsStoreRepair::splitterStateApplies()
{
    QFETCH(QByteArray, state);
    QFETCH(int, orientation);
    QFETCH(bool, applies);
    QCOMPARE(::splitterStateApplies(state, Qt::Orientation(orientation), 2), applies);
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
