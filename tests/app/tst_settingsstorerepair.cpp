#include "testregistry.h"

#include "app/mainwindow.h"
#include "app/settingsstorerepair.h"
#include "common/settingskeys.h"
#include "guitest.h"
#include "scripteddialogs.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
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
    void readableStore_leftAlone();
    void start_saysOnceWhereTheCopyIs();
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

void TestSettingsStoreRepair::readableStore_leftAlone()
{
    QCOMPARE(setAsideUnreadableSettings(), QString()); // no store yet
    writeSetting(SettingKeys::classColors, QVariantList{QColor(255, 200, 100), QColor(Qt::blue)});
    writeSetting(SettingKeys::splitterMainSizes, QByteArray("\0\xff\x7f", 3));
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

QUILLON_TEST(TestSettingsStoreRepair)
#include "tst_settingsstorerepair.moc"
