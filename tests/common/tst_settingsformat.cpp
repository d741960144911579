// The settings form read and written in memory, held against Qt's own INI
// reader and writer over a corpus: files Qt writes, and files of chance made
// of the bytes that mean something to an INI reader. Each file Qt reads has a
// name of its own: Qt keeps what it read of a file by its name.
#include "childprocess.h"
#include "common/inidocument.h"
#include "common/settingsformat.h"
#include "testregistry.h"

#include <QColor>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QPoint>
#include <QRandomGenerator>
#include <QRect>
#include <QScopeGuard>
#include <QSettings>
#include <QSize>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>

// GCC tells of a sanitizer by a macro, Clang only through __has_feature.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QUILLON_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define QUILLON_SANITIZER 1
#endif
#endif

namespace {

QString randomText(QRandomGenerator &random, int most)
{
    // Blanks at the ends, the signs Qt quotes or escapes, C escapes' letters,
    // hex digits after an escape, a NUL, Latin-1, a surrogate pair, a leading '@'.
    // clang-format off
    static const QString pieces[] = {
        " ", "\t", ";", ",", "=", "\"", "\\", "@", "@@", "a", "F", "0", "x", "\n", "\r", "\a",
        QString(QChar(0)), QString(QChar(0x7f)), QStringLiteral("\u00e4"), QStringLiteral("\u6771"),
        QStringLiteral("\U0001F987"), "@ByteArray(", "@Variant(", ")", "General"};
    // clang-format on
    QString text;
    for (int n = random.bounded(most + 1); n > 0; --n)
        text += pieces[random.bounded(int(std::size(pieces)))];
    return text;
}

// A key Qt takes as it is: no empty part between its slashes.
QString randomKey(QRandomGenerator &random)
{
    static const QString parts[] = {
        "a",      "Time",   "general", "General", "%General", "k y",        "x\\y",
        "\u00e9", "\u6771", "_-.",     "9",       "zZ",       "windowSize", QString(QChar(0xffff))};
    QString key = parts[random.bounded(int(std::size(parts)))];
    for (int n = random.bounded(3); n > 0; --n)
        key += QLatin1Char('/') + parts[random.bounded(int(std::size(parts)))];
    return key;
}

QVariant randomValue(QRandomGenerator &random)
{
    switch (random.bounded(15)) {
    case 0:
        return random.bounded(-100000, 100000);
    case 1:
        return random.generateDouble() * 1e6 - 5e5;
    case 2:
        return random.bounded(2) == 1;
    case 3: {
        QByteArray bytes;
        for (int n = random.bounded(12); n > 0; --n)
            bytes += char(random.bounded(256));
        return bytes;
    }
    case 4: {
        QStringList list;
        for (int n = random.bounded(4); n > 0; --n)
            list << randomText(random, 4);
        return list;
    }
    case 5:
        return QVariantList{randomText(random, 3), random.bounded(9), QByteArray("\x01@")};
    case 6:
        return QRect(random.bounded(-9, 9), 2, 3, random.bounded(9));
    case 7:
        return float(random.generateDouble());
    case 8:
        return QVariant();
    case 9: // the class colours of one class, or of none
        return random.bounded(2) ? QVariantList{QColor(random.bounded(256), 200, 100)} : QVariantList();
    case 10:
        return QSize(random.bounded(-9, 2000), random.bounded(9));
    case 11:
        return QPoint(random.bounded(-2000, 9), random.bounded(9));
    case 12: // in the local zone (Europe/Berlin) or in UTC
        return QDateTime::fromMSecsSinceEpoch(random.bounded(-5000000, 5000000) * qint64(1000000),
                                              random.bounded(2) ? Qt::LocalTime : Qt::UTC);
    default:
        return randomText(random, 8);
    }
}

// A text of chance: its bytes outside ASCII are all UTF-8 ("\xc3\xa9") or none ("\xff").
QByteArray randomIniText(QRandomGenerator &random)
{
    // clang-format off
    static const QByteArray pieces[] = {
        "\n", "\r", "\r\n", " ", "\t", "k=", "k2 = ", "a\\b=", "b=", "[a]", "%55=", "%U00e9=", "%4=", "%+1=",
        "[Time]", "[general]", "[ General ]", "[%General]", "[a\\b]", "[x", "]", ";", "\"", "\\", ",", "@", "@@",
        "v", "\xc3\xa9", QByteArray("\0", 1), "\\x41", "\\101", "\\n", "\\q", "@ByteArray(ab)",
        "@Rect(1 2 3 4)", "@Size(5 6)", "@Point(7)", "@Invalid()", "@String(s)",
        "@Variant(\\0\\0\\0\\x87?\\x80\\0\\0)", ")", "=", "windowSize=", "@Point(7 -8)",
        "@Variant(\\0\\0\\0\\t\\0\\0\\0\\x1\\0\\0\\0\\x43\\x1\\xff\\xff\\xff\\xff\\xc8\\xc8d\\x64\\0\\0)"};
    // clang-format on
    QByteArray text = random.bounded(4) == 0 ? QByteArray("\xef\xbb\xbf") : QByteArray();
    const bool utf8 = random.bounded(2) == 1;
    for (int n = random.bounded(40); n > 0; --n) {
        const QByteArray &piece = pieces[random.bounded(int(std::size(pieces)))];
        text += utf8 || piece != "\xc3\xa9" ? piece : QByteArray("\xff");
    }
    return text;
}

QString fileWith(const QTemporaryDir &folder, const QByteArray &bytes)
{
    static int files = 0;
    const QString path = folder.filePath(QString::number(++files) + QStringLiteral(".ini"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every key a settings object on `path` lists, and its value.
QSettings::SettingsMap readingsOf(const QString &path, QSettings::Format format)
{
    QSettings settings(path, format);
    QSettings::SettingsMap readings;
    for (const QString &key : settings.allKeys()) {
        if (!key.isEmpty()) // Qt lists a key without a name, and reads none
            readings.insert(key, settings.value(key));
    }
    return readings;
}

// The settings file at `path` read through the format in a child process and
// one setting stored, the child allowed `memory` bytes beyond what it has
// mapped (0: any) from the start, or only from the write on (`atWrite`): the
// settings object's status, or -1 where the child did not end of itself.
int storeOneSettingInAChild(const QString &path, qint64 memory, bool atWrite)
{
    return exitCodeInChild([&]() {
        if (memory > 0 && !atWrite && !limitMemoryTo(memory))
            return 127; // no status of a settings object
        QSettings settings(path, wholeIniFormat());
        settings.value(QStringLiteral("volume"));
        if (memory > 0 && atWrite && !limitMemoryTo(memory))
            return 127;
        settings.setValue(QStringLiteral("volume"), 10);
        settings.sync();
        return int(settings.status());
    });
}

} // namespace

class TestSettingsFormat : public QObject
{
    Q_OBJECT
private slots:
    void writesWhatQtWrites();
    void readsWhatQtReads();
    void storeEditedByHand_everyOtherLineStays_data();
    void storeEditedByHand_everyOtherLineStays();
    void utf8Store_readsAlikeAfterAWrite();
    void unreadStore_keptAsItIs_data();
    void unreadStore_keptAsItIs();
    void writeWhoseParseRunsOutOfMemory_storeKept();
    void keptInMemory_readsAsStoredOnceQtsCacheGoes_data();
    void keptInMemory_readsAsStoredOnceQtsCacheGoes();
};

// Values of every kind the program stores and more, under keys of every
// spelling: the bytes are Qt's, one for one, and read back as Qt's. A list of
// one is no list to Qt's writer: the class colours of one class would come
// back as a colour.
void TestSettingsFormat::writesWhatQtWrites()
{
    QTemporaryDir folder;
    QRandomGenerator random(5309);
    for (int round = 0; round < 300; ++round) {
        QSettings::SettingsMap settings;
        for (int n = random.bounded(1, 12); n > 0; --n)
            settings.insert(randomKey(random), randomValue(random));
        const QString byQt = fileWith(folder, QByteArray());
        {
            QSettings qt(byQt, QSettings::IniFormat);
            for (auto it = settings.cbegin(); it != settings.cend(); ++it)
                qt.setValue(it.key(), it.value());
        }
        const QByteArray text = IniDocument::qtTextOf(settings);
        QCOMPARE(text, bytesOf(byQt));
        // A date and time, which the program never stores, it reads as missing (common/inidocument.h).
        QSettings::SettingsMap qts = readingsOf(fileWith(folder, text), QSettings::IniFormat);
        for (auto it = qts.begin(); it != qts.end();)
            it = it->userType() == QMetaType::QDateTime ? qts.erase(it) : std::next(it);
        QCOMPARE(readingsOf(fileWith(folder, text), wholeIniFormat()), qts);
    }
}

// Texts of chance, with and without a byte order mark: every key Qt lists,
// it lists with the same value. Only values Qt may decode are tried on Qt.
// Qt reads a value's bytes as UTF-8 only after a byte order mark: a text
// without one whose bytes outside ASCII are UTF-8 reads as Qt reads it with one.
void TestSettingsFormat::readsWhatQtReads()
{
    QTemporaryDir folder;
    QRandomGenerator random(1789);
    // Where one key stands twice, the value Qt reads last: sections of one
    // name are read together, and in the order of their names.
    const QByteArray twice[] = {"[a]\nb=1\n[General]\na\\b=2\n", "[T]\nk=1\n[S]\nk=2\n[T]\nk=3\n[S]\nk=4\n"};
    int tried = 0;
    for (int round = -int(std::size(twice)); round < 3000; ++round) {
        const QByteArray text = round < 0 ? twice[round + std::size(twice)] : randomIniText(random);
        const QVector<IniDocument::Value> values = IniDocument(text).values();
        if (!std::all_of(values.cbegin(), values.cend(), [](const IniDocument::Value &v) { return v.safeToDecode; }))
            continue;
        ++tried;
        const auto ours = readingsOf(fileWith(folder, text), wholeIniFormat());
        const QByteArray mark = "\xef\xbb\xbf";
        const bool utf8 = !text.startsWith(mark) && text.contains("\xc3\xa9");
        const auto qts = readingsOf(fileWith(folder, utf8 ? mark + '\n' + text : text), QSettings::IniFormat);
        QCOMPARE(ours, qts);
    }
    QVERIFY(tried > 2500);
}

// Each row: a store as a person left it, one setting stored or removed
// through the format, and the store then: that setting's lines are all that
// change. A store in Qt's form ("" below) is written as Qt writes it.
void TestSettingsFormat::storeEditedByHand_everyOtherLineStays_data()
{
    QTest::addColumn<QByteArray>("store");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value"); // none: the key removed
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("a comment, a value between blanks, CR LF")
        << QByteArray("; mine\r\n[General]\r\nvolume = 40 ; loud\r\ntheme=1\r\n") << "volume" << QVariant(30)
        << QByteArray("; mine\r\n[General]\r\nvolume = 30 ; loud\r\ntheme=1\r\n");
    QTest::newRow("a key removed, every line of it") << QByteArray("[General]\na=1\n; x\na=2 ; two\nb=3\n") << "a"
                                                     << QVariant() << QByteArray("[General]\n; x\n; two\nb=3\n");
    QTest::newRow("a byte order mark, an accented folder")
        << QByteArray("\xef\xbb\xbf[General]\ncopyFolder=/data/Flederm\xc3\xa4use\nvolume=40\n") << "volume"
        << QVariant(30) << QByteArray("\xef\xbb\xbf[General]\ncopyFolder=/data/Flederm\xc3\xa4use\nvolume=30\n");
    QTest::newRow("a key and a section the store lacks")
        << QByteArray("[General]\nvolume=40\n; the end") << "Display/scale" << QVariant(2)
        << QByteArray("[General]\nvolume=40\n; the end\n\n[Display]\nscale=2\n");
    QTest::newRow("a store Qt wrote, a key added") << QByteArray() << "Display/scale" << QVariant(2) << QByteArray();
    QTest::newRow("a store Qt wrote, a key removed") << QByteArray() << "volume" << QVariant() << QByteArray();
}

void TestSettingsFormat::storeEditedByHand_everyOtherLineStays()
{
    QFETCH(QByteArray, store);
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(QByteArray, stored);
    const auto change = [&key, &value](QSettings &settings) {
        if (value.isValid())
            settings.setValue(key, value);
        else
            settings.remove(key);
    };
    QTemporaryDir folder;
    if (store.isEmpty()) {
        const QString byQt = fileWith(folder, QByteArray());
        {
            QSettings qt(byQt, QSettings::IniFormat);
            qt.setValue(QStringLiteral("volume"), 40);
            qt.setValue(QStringLiteral("Zoom/level"), 3);
        }
        store = bytesOf(byQt);
        const QString changedByQt = fileWith(folder, store);
        {
            QSettings qt(changedByQt, QSettings::IniFormat);
            change(qt);
        }
        stored = bytesOf(changedByQt);
    }
    const QString path = fileWith(folder, store);
    QSettings ours(path, wholeIniFormat());
    change(ours);
    ours.sync();
    QCOMPARE(bytesOf(path), stored);
    // The next write, of the file this run wrote last, keeps them as well.
    ours.setValue(QStringLiteral("x/later"), 1);
    ours.sync();
    QVERIFY2(bytesOf(path).startsWith(stored), bytesOf(path).constData());
}

// A store saved as UTF-8 without a byte order mark reads as UTF-8. A write
// keeps the line of a value it does not change, which reads as it did; a value
// it stores it writes in Qt's escapes, which Qt's own reader reads alike.
void TestSettingsFormat::utf8Store_readsAlikeAfterAWrite()
{
    QTemporaryDir folder;
    const QString bats = QStringLiteral("/data/Flederm\u00e4use");
    const QString path = fileWith(folder, "; mine\ncopyFolder=" + bats.toUtf8() + "\nvolume=40\n");
    {
        QSettings ours(path, wholeIniFormat());
        QCOMPARE(ours.value(QStringLiteral("copyFolder")).toString(), bats);
        ours.setValue(QStringLiteral("volume"), 30);
    }
    QCOMPARE(readingsOf(fileWith(folder, bytesOf(path)), wholeIniFormat()).value(QStringLiteral("copyFolder")),
             QVariant(bats));
    {
        QSettings ours(path, wholeIniFormat());
        ours.setValue(QStringLiteral("copyFolder"), bats + QStringLiteral("/S\u00fcd"));
    }
    const QString written = fileWith(folder, bytesOf(path));
    QCOMPARE(readingsOf(written, QSettings::IniFormat).value(QStringLiteral("copyFolder")),
             QVariant(bats + QStringLiteral("/S\u00fcd")));
    QCOMPARE(readingsOf(written, wholeIniFormat()).value(QStringLiteral("copyFolder")),
             QVariant(bats + QStringLiteral("/S\u00fcd")));
}

// Each row: a store, as many values as it holds (none: a sparse file of
// 2 GiB, which Qt's readAll hands back as nothing) and lines of comment, the memory the child that reads it and stores a
// setting has left (0: any), from the start or from the write on, and whether
// the write goes through. A store that does not read is never written over:
// written with what did read, it would lose the rest; nor is one whose write
// runs out of memory.
void TestSettingsFormat::unreadStore_keptAsItIs_data()
{
    QTest::addColumn<int>("values");
    QTest::addColumn<int>("commentLines");
    QTest::addColumn<qint64>("memory");
    QTest::addColumn<bool>("atWrite");
    QTest::addColumn<bool>("written");
    const qint64 mb = qint64(1) << 20;
    // The values take some 16 times the file's size once parsed: with 16 MB
    // left the file of 3.9 MB is read whole, and its parse runs out of memory.
    QTest::newRow("2 GiB") << 0 << 0 << qint64(0) << false << false;
    QTest::newRow("values the memory does not hold") << 400000 << 0 << 16 * mb << false << false;
    QTest::newRow("values the memory holds") << 4000 << 0 << 16 * mb << false << true;
    // Read whole before the limit; the write reads the 96 MB again, with 16 MB
    // left (and an allocator's arena of 64 MB mapped already, at most).
    QTest::newRow("a write whose reading runs out of memory") << 10 << 1500000 << 16 * mb << true << false;
}

void TestSettingsFormat::unreadStore_keptAsItIs()
{
    QFETCH(int, values);
    QFETCH(int, commentLines);
    QFETCH(qint64, memory);
    QFETCH(bool, atWrite);
    QFETCH(bool, written);
#ifdef QUILLON_SANITIZER
    if (memory > 0)
        QSKIP("a sanitizer maps more address space than a memory limit leaves");
#endif
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("store.conf"));
    QByteArray store;
    store.reserve(commentLines * 64 + values * 12);
    for (int i = 0; i < commentLines; ++i)
        store += "; a line of a person's, which a write keeps, so reads it whole\n"; // 64 bytes
    for (int i = 0; i < values; ++i)
        store += 'k' + QByteArray::number(i) + "=1\n";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(store) == store.size());
    if (values == 0)
        QVERIFY(file.resize(qint64(1) << 31));
    file.close();
    const qint64 size = QFileInfo(path).size();

    const int status = storeOneSettingInAChild(path, memory, atWrite);
    QCOMPARE(status, int(written ? QSettings::NoError : atWrite ? QSettings::AccessError : QSettings::FormatError));
    if (written) {
        const QSettings byQt(path, QSettings::IniFormat);
        QCOMPARE(byQt.allKeys().size(), values + 1);
        QCOMPARE(byQt.value(QStringLiteral("k0")), QVariant(QStringLiteral("1")));
    } else {
        QCOMPARE(QFileInfo(path).size(), size);
        if (values > 0)
            QCOMPARE(bytesOf(path), store);
    }
}

// A write reads the store afresh and parses it: where that parse runs out of
// memory, the write fails and the store stays. The store Qt read is a comment
// of 24 MB; behind Qt's back, with its size and time kept (Qt does not read it
// again), it becomes a value of 24 MB, whose text the write's parse makes
// 48 MB of, with 8 MB left beyond what the child's reading of the comment
// left it.
void TestSettingsFormat::writeWhoseParseRunsOutOfMemory_storeKept()
{
#ifdef QUILLON_SANITIZER
    QSKIP("a sanitizer maps more address space than a memory limit leaves");
#endif
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("store.conf"));
    const int size = 24000000;
    const QByteArray comment = "; " + QByteArray(size - 3, 'x') + '\n';
    const QByteArray value = "k=" + QByteArray(size - 3, 'x') + '\n';
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(comment) == size);
    file.close();
    const int status = exitCodeInChild([&]() {
        QSettings settings(path, wholeIniFormat());
        settings.value(QStringLiteral("volume"));
        struct stat read = {};
        QFile changed(path);
        if (stat(QFile::encodeName(path).constData(), &read) != 0 || !changed.open(QIODevice::WriteOnly)
            || changed.write(value) != size)
            return 127;
        changed.close();
        const timespec times[] = {read.st_atim, read.st_mtim};
        if (utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) != 0 || !limitMemoryTo(qint64(8) << 20))
            return 127;
        settings.setValue(QStringLiteral("volume"), 10);
        settings.sync();
        return int(settings.status());
    });
    QCOMPARE(status, int(QSettings::AccessError));
    QCOMPARE(bytesOf(path), value);
}

// Each row: how Qt comes to drop what it keeps of a settings file and read it
// again. A file kept in memory then reads as what this run stored, not as
// what the disk holds, and stays as it is on the disk.
void TestSettingsFormat::keptInMemory_readsAsStoredOnceQtsCacheGoes_data()
{
    QTest::addColumn<QByteArray>("changedTo"); // the file's bytes changed behind Qt's back; empty: left as is
    QTest::addColumn<int>("others");           // other files read through the format meanwhile
    // Qt keeps the files no settings object uses up to a cost of 100, each costing 10 and more.
    QTest::newRow("other files push it out of Qt's cache") << QByteArray() << 12;
    // Qt reads a file it still keeps again: it found the file's size changed.
    QTest::newRow("the file changed on the disk") << QByteArray("theme=5\nvolume=1\ngrid=false\n") << 0;
}

void TestSettingsFormat::keptInMemory_readsAsStoredOnceQtsCacheGoes()
{
    QFETCH(QByteArray, changedTo);
    QFETCH(int, others);
    QTemporaryDir folder;
    const QByteArray stored = "theme=2\nvolume=40\n";
    const QString path = fileWith(folder, stored);
    keepSettingsInMemory(path, {{QStringLiteral("theme"), 3}});
    const auto backOnDisk = qScopeGuard([&path]() { keepSettingsOnDisk(path); });
    {
        QSettings settings(path, wholeIniFormat());
        QCOMPARE(settings.value(QStringLiteral("theme")).toInt(), 3);
        settings.setValue(QStringLiteral("volume"), 10);
    }
    QCOMPARE(bytesOf(path), stored);
    if (!changedTo.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(changedTo) == changedTo.size());
    }
    for (int i = 0; i < others; ++i)
        QSettings(fileWith(folder, "k=1\n"), wholeIniFormat()).value(QStringLiteral("k"));
    {
        QSettings settings(path, wholeIniFormat());
        QCOMPARE(settings.value(QStringLiteral("theme")).toInt(), 3);
        QCOMPARE(settings.value(QStringLiteral("volume")).toInt(), 10);
        QVERIFY(!settings.contains(QStringLiteral("grid")));
        settings.setValue(QStringLiteral("grid"), true);
    }
    QCOMPARE(bytesOf(path), changedTo.isEmpty() ? stored : changedTo);
}

QUILLON_TEST(TestSettingsFormat)
#include "tst_settingsformat.moc"
