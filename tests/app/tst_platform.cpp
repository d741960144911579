#include "testregistry.h"

#include "platform/desktoptheme.h"
#include "platform/taskbarbutton.h"
#include "platform/taskbarprogress.h"

#include <QDir>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <memory>

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void taskbarProgress_values_data();
    void taskbarProgress_values();
    void taskbarProgress_visibility();
    void taskbarButton_windowBinding();
    void lightStyle_data();
    void lightStyle();
    void styles_existHere();
    void systemTheme_override();
    void systemTheme_ignoresRegistryNamedFile();
};

void TestPlatform::cleanup()
{
    setSystemPrefersLightThemeOverride(std::nullopt);
}

void TestPlatform::taskbarProgress_values_data()
{
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<int>("finalValue");
    QTest::addColumn<int>("changeSignals");
    QTest::newRow("in range") << QList<int>{10, 55, 100} << 100 << 3;
    QTest::newRow("same value twice signals once") << QList<int>{30, 30} << 30 << 1;
    QTest::newRow("above the range is ignored") << QList<int>{40, 150} << 40 << 1;
    QTest::newRow("below the range is ignored") << QList<int>{40, -1} << 40 << 1;
    QTest::newRow("minimum reached from above") << QList<int>{5, 0} << 0 << 2;
}

void TestPlatform::taskbarProgress_values()
{
    QFETCH(QList<int>, values);
    QFETCH(int, finalValue);
    QFETCH(int, changeSignals);
    TaskbarProgress progress;
    QSignalSpy changed(&progress, &TaskbarProgress::valueChanged);
    for (int value : values)
        progress.setValue(value);
    QCOMPARE(progress.value(), finalValue);
    QCOMPARE(changed.size(), changeSignals);
}

void TestPlatform::taskbarProgress_visibility()
{
    TaskbarProgress progress;
    QSignalSpy visibility(&progress, &TaskbarProgress::visibilityChanged);
    QVERIFY(!progress.isVisible());
    progress.show();
    QVERIFY(progress.isVisible());
    progress.setValue(70);
    progress.reset();
    // reset rewinds without hiding.
    QCOMPARE(progress.value(), 0);
    QVERIFY(progress.isVisible());
    progress.hide();
    QVERIFY(!progress.isVisible());
    progress.hide();
    QCOMPARE(visibility.size(), 2);
    QCOMPARE(visibility.at(0).at(0).toBool(), true);
    QCOMPARE(visibility.at(1).at(0).toBool(), false);
}

void TestPlatform::taskbarButton_windowBinding()
{
    TaskbarButton button;
    QVERIFY(button.progress());
    QCOMPARE(button.progress()->parent(), &button);
    QVERIFY(button.window() == nullptr);
    auto window = std::make_unique<QWindow>();
    button.setWindow(window.get());
    QCOMPARE(button.window(), window.get());
    window.reset();
    QVERIFY(button.window() == nullptr);
}

void TestPlatform::lightStyle_data()
{
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Windows offers Vista") << QStringList{"windowsvista", "Windows", "Fusion"} << "WindowsVista";
    QTest::newRow("exact name") << QStringList{"WindowsVista"} << "WindowsVista";
    QTest::newRow("Linux offers no Vista") << QStringList{"Windows", "Fusion"} << "Fusion";
    QTest::newRow("nothing offered") << QStringList{} << "Fusion";
}

void TestPlatform::lightStyle()
{
    QFETCH(QStringList, offered);
    QFETCH(QString, expected);
    QCOMPARE(lightThemeStyleName(offered), expected);
}

void TestPlatform::styles_existHere()
{
    for (const QString &name : {lightThemeStyleName(), darkThemeStyleName()}) {
        std::unique_ptr<QStyle> style(QStyleFactory::create(name));
        QVERIFY2(style, qPrintable(name));
    }
}

void TestPlatform::systemTheme_override()
{
    setSystemPrefersLightThemeOverride(false);
    QVERIFY(!systemPrefersLightTheme());
    setSystemPrefersLightThemeOverride(true);
    QVERIFY(systemPrefersLightTheme());
}

void TestPlatform::systemTheme_ignoresRegistryNamedFile()
{
#ifdef Q_OS_WIN
    QSKIP("Windows reads the registry itself");
#else
    // Asked naively, QSettings would read a file named after the registry path
    // from the working folder: a stray file there must not turn the program dark.
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString registryPath =
        QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize");
    QFile planted(folder.filePath(registryPath));
    QVERIFY(planted.open(QIODevice::WriteOnly));
    planted.write("[General]\nAppsUseLightTheme=0\n");
    planted.close();
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder.path()));
    const bool light = systemPrefersLightTheme();
    const QStringList left = QDir(folder.path()).entryList(QDir::Files);
    QDir::setCurrent(before);
    QVERIFY(light);
    QCOMPARE(left, QStringList{registryPath});
#endif
}

QUILLON_TEST(TestPlatform)
#include "tst_platform.moc"
