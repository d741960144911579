#include "testregistry.h"

#include "common/settingskeys.h"

#include <QRect>
#include <QSettings>
#include <QTest>

// How a setting reads what the store holds: Qt hands a value read from the
// store's file over as text (or a list of texts, a rectangle).
class TestSettingsKeys : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setApplicationIdentity(); }
    void cleanup() { QSettings().clear(); }
    void readSetting_data();
    void readSetting();
};

void TestSettingsKeys::readSetting_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QVariant>("read");
    const QString v = QStringLiteral("volume");
    QTest::newRow("volume missing") << v << QVariant() << QVariant(99);
    QTest::newRow("volume 0") << v << QVariant("0") << QVariant(0);
    QTest::newRow("volume 100") << v << QVariant("100") << QVariant(100);
    QTest::newRow("volume loud") << v << QVariant("loud") << QVariant(99);
    QTest::newRow("volume 101") << v << QVariant("101") << QVariant(99);
    QTest::newRow("volume -1") << v << QVariant("-1") << QVariant(99);
    const QString d = QStringLiteral("fixedDuration");
    QTest::newRow("duration 0.05 s") << d << QVariant("0.05") << QVariant(1.0f);
    QTest::newRow("duration nan") << d << QVariant("nan") << QVariant(1.0f);
    QTest::newRow("duration 60 s") << d << QVariant("60") << QVariant(60.0f);
    QTest::newRow("duration 60.5 s") << d << QVariant("60.5") << QVariant(1.0f);
    // Read as another type, with another default, the key keeps its control's range.
    QTest::newRow("mixer 99 kHz as a float") << "mixerFrequency" << QVariant("99") << QVariant(99.0f);
    QTest::newRow("mixer 100 kHz as a float") << "mixerFrequency" << QVariant("100") << QVariant(20.0f);
    QTest::newRow("mixer 120 kHz as a float") << "mixerFrequency" << QVariant("120") << QVariant(20.0f);
    QTest::newRow("a place as text") << "geometry" << QVariant("left") << QVariant(QRect());
}

void TestSettingsKeys::readSetting()
{
    using namespace SettingKeys;
    QFETCH(QString, key);
    QFETCH(QVariant, stored);
    if (stored.isValid())
        QSettings().setValue(key, stored);
    const QVariant read = key == QLatin1String("volume")          ? QVariant(::readSetting(volume))
                          : key == QLatin1String("fixedDuration") ? QVariant(::readSetting(fixedDuration))
                          : key == QLatin1String("geometry")      ? QVariant(::readSetting(geometry))
                                                                  : QVariant(::readSetting(mixerFrequencyKHz));
    QTEST(read, "read");
}

QUILLON_TEST(TestSettingsKeys)
#include "tst_settingskeys.moc"
