// The time-zone choice list: what it offers, its order, and the zone its
// dialogs hand back when the system zone is not among the items (as under
// TZ=UTC, whose name begins with "UTC"). CTest runs this under Europe/Berlin,
// UTC and America/New_York.
#include "export/exportcsvdialog.h"
#include "export/exporttavrondialog2.h"
#include "export/timezonechoicelist.h"
#include "testregistry.h"

#include <QComboBox>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

namespace {

QStringList idsOf(const QList<QTimeZone> &zones)
{
    QStringList ids;
    for (const QTimeZone &zone : zones)
        ids << QString::fromLatin1(zone.id());
    return ids;
}

template <class Dialog>
void checkPreselection(const Dialog &d)
{
    auto *combo = d.template findChild<QComboBox *>("comboBox");
    const QTimeZone system = QTimeZone::systemTimeZone();
    const QTimeZone tokyo("Asia/Tokyo");
    if (QTimeZone::systemTimeZoneId() == "UTC") {
        // "UTC" is never offered: nothing is selected and the getter falls back.
        QCOMPARE(combo->currentIndex(), -1);
        QCOMPARE(d.getTimeZone(), system);
        QCOMPARE(d.getTimeZone(tokyo), tokyo);
    } else if (!system.isValid()) {
        // A zone Qt cannot read (a POSIX rule in TZ): UTC, shown and selected as such.
        QCOMPARE(combo->currentText(), QStringLiteral("UTC"));
        QCOMPARE(d.getTimeZone(tokyo), QTimeZone::utc());
    } else {
        QVERIFY(combo->currentText().startsWith(TimeZoneChoiceList::displayName(system)));
        QCOMPARE(d.getTimeZone(tokyo).id(), QTimeZone::systemTimeZoneId());
    }
}

} // namespace

class TimeZoneChoiceListTest : public QObject
{
    Q_OBJECT

private slots:
    void platformList();
    void build_everyIdOnceSortedWestFirst();
    void itemTexts_tellSharedNamesApart();
    void fill_selectsTheStoredIdAmongSharedNames();
    void unreadableSystemZone_isUtcUnderItsName();
    void storedZone_offeredAndSelected_data();
    void storedZone_offeredAndSelected();
    void zoneAt_neverIndexesOutside();
    void fill_selectsOnceWithoutPassingTheFirstItem();
    void dialogs_preselectSystemZone();
};

void TimeZoneChoiceListTest::platformList()
{
    const QList<QTimeZone> zones = TimeZoneChoiceList::build(true);
    QVERIFY(zones.size() > 100);
    const QStringList texts = TimeZoneChoiceList::itemTexts(zones);
    QCOMPARE(QSet<QString>(texts.begin(), texts.end()).size(), texts.size());
    const QDateTime now = QDateTime::currentDateTime();
    // Only where it stands in for a system zone that does not read is "UTC" offered.
    const bool utcStandsIn = !QTimeZone::systemTimeZone().isValid();
    for (int i = 0; i < zones.size(); ++i) {
        QVERIFY2(!texts.at(i).startsWith(QLatin1String("UTC")) || (utcStandsIn && zones.at(i) == QTimeZone::utc()),
                 qPrintable(texts.at(i)));
        if (i > 0)
            QVERIFY(zones.at(i - 1).standardTimeOffset(now) <= zones.at(i).standardTimeOffset(now));
    }
    // One name, two sets of rules: both are offered.
    const QStringList ids = idsOf(zones);
    QVERIFY(ids.contains("America/Denver") && ids.contains("America/Phoenix"));
}

void TimeZoneChoiceListTest::build_everyIdOnceSortedWestFirst()
{
    // Berlin and Paris share one name; Berlin, the system zone, stands in the ids already.
    const QList<QByteArray> ids{"Asia/Tokyo", "Europe/Berlin", "America/New_York", "UTC", "Etc/GMT+5", "Europe/Paris"};
    const QDateTime winter(QDate(2021, 1, 15), QTime(12, 0), Qt::UTC);
    const auto zones = TimeZoneChoiceList::build(ids, "Europe/Berlin", true, winter);
    QCOMPARE(idsOf(zones),
             (QStringList{"America/New_York", "Etc/GMT+5", "Europe/Berlin", "Europe/Paris", "Asia/Tokyo"}));
}

void TimeZoneChoiceListTest::itemTexts_tellSharedNamesApart()
{
    const QTimeZone denver("America/Denver"), phoenix("America/Phoenix"), tokyo("Asia/Tokyo");
    const QString mountain = TimeZoneChoiceList::displayName(denver);
    QCOMPARE(TimeZoneChoiceList::displayName(phoenix), mountain);
    QCOMPARE(TimeZoneChoiceList::itemTexts({denver, tokyo, phoenix}),
             (QStringList{mountain + " (America/Denver)", TimeZoneChoiceList::displayName(tokyo),
                          mountain + " (America/Phoenix)"}));
}

void TimeZoneChoiceListTest::fill_selectsTheStoredIdAmongSharedNames()
{
    // Phoenix first, of the same name: a folder stored in Denver must keep Denver's summer time.
    const QList<QTimeZone> zones{QTimeZone("America/Phoenix"), QTimeZone("America/Denver")};
    QComboBox combo;
    TimeZoneChoiceList::fill(&combo, zones, QTimeZone("America/Denver"));
    QCOMPARE(combo.currentIndex(), 1);
    QCOMPARE(TimeZoneChoiceList::zoneAt(zones, combo.currentIndex(), QTimeZone()).id(), QByteArray("America/Denver"));
}

void TimeZoneChoiceListTest::unreadableSystemZone_isUtcUnderItsName()
{
    // A POSIX rule in TZ: Qt reads no zone from it.
    const QByteArray rule("CET-1CEST,M3.5.0,M10.5.0/3");
    QVERIFY(!QTimeZone(rule).isValid());
    const QDateTime winter(QDate(2021, 1, 15), QTime(12, 0), Qt::UTC);
    const auto zones = TimeZoneChoiceList::build({"Asia/Tokyo", "UTC", "America/New_York"}, rule, true, winter);
    QCOMPARE(idsOf(zones), (QStringList{"America/New_York", "UTC", "Asia/Tokyo"}));
    QCOMPARE(TimeZoneChoiceList::itemTexts(zones).at(1), QStringLiteral("UTC"));
    QComboBox combo;
    TimeZoneChoiceList::fill(&combo, zones, QTimeZone(rule));
    QCOMPARE(combo.currentText(), QStringLiteral("UTC"));
    // Nothing selected and an unreadable fallback: still a zone, UTC, never an invalid one.
    QCOMPARE(TimeZoneChoiceList::zoneAt(zones, -1, QTimeZone(rule)), QTimeZone::utc());
}

void TimeZoneChoiceListTest::storedZone_offeredAndSelected_data()
{
    QTest::addColumn<QByteArray>("systemId");
    QTest::addColumn<QByteArray>("storedId");
    QTest::addColumn<QStringList>("offered");
    // "Etc/UTC" is missing from some platforms' lists; "UTC0" reads, but is named "UTC".
    QTest::newRow("Etc/UTC under a POSIX rule") << QByteArray("CET-1CEST,M3.5.0,M10.5.0/3") << QByteArray("Etc/UTC")
                                                << QStringList{"UTC", "Etc/UTC", "Asia/Tokyo"};
    QTest::newRow("Etc/UTC under UTC0") << QByteArray("UTC0") << QByteArray("Etc/UTC")
                                        << QStringList{"Etc/UTC", "Asia/Tokyo"};
    QTest::newRow("UTC0 stored under UTC0")
        << QByteArray("UTC0") << QByteArray("UTC0") << QStringList{"UTC0", "Asia/Tokyo"};
    QTest::newRow("UTC stored, Berlin the system zone")
        << QByteArray("Europe/Berlin") << QByteArray("UTC") << QStringList{"UTC", "Europe/Berlin", "Asia/Tokyo"};
    QTest::newRow("a listed zone stands once")
        << QByteArray("Europe/Berlin") << QByteArray("Asia/Tokyo") << QStringList{"Europe/Berlin", "Asia/Tokyo"};
}

void TimeZoneChoiceListTest::storedZone_offeredAndSelected()
{
    QFETCH(QByteArray, systemId);
    QFETCH(QByteArray, storedId);
    QFETCH(QStringList, offered);
    const QDateTime winter(QDate(2021, 1, 15), QTime(12, 0), Qt::UTC);
    const auto zones = TimeZoneChoiceList::build({"Asia/Tokyo", "UTC"}, systemId, true, winter, storedId);
    QCOMPARE(idsOf(zones), offered);
    QComboBox combo;
    TimeZoneChoiceList::fill(&combo, zones, QTimeZone(storedId));
    QCOMPARE(TimeZoneChoiceList::idAt(zones, combo.currentIndex(), QByteArray()), storedId);

    // What Qt does not read is never offered, stored or not.
    QCOMPARE(idsOf(TimeZoneChoiceList::build({"Asia/Tokyo"}, "Asia/Tokyo", true, winter, "Mars/Olympus")),
             QStringList{"Asia/Tokyo"});
}

void TimeZoneChoiceListTest::zoneAt_neverIndexesOutside()
{
    const QList<QTimeZone> zones{QTimeZone("Asia/Tokyo"), QTimeZone("Europe/Berlin")};
    const QTimeZone fallback("America/New_York");
    QCOMPARE(TimeZoneChoiceList::zoneAt(zones, 1, fallback), QTimeZone("Europe/Berlin"));
    QCOMPARE(TimeZoneChoiceList::zoneAt(zones, -1, fallback), fallback);
    QCOMPARE(TimeZoneChoiceList::zoneAt(zones, 2, fallback), fallback);
    QCOMPARE(TimeZoneChoiceList::zoneAt({}, 0, fallback), fallback);
}

void TimeZoneChoiceListTest::fill_selectsOnceWithoutPassingTheFirstItem()
{
    const QList<QTimeZone> zones{QTimeZone("America/New_York"), QTimeZone("Europe/Berlin"), QTimeZone("Asia/Tokyo")};
    QComboBox combo;
    QSignalSpy changed(&combo, qOverload<int>(&QComboBox::currentIndexChanged));
    TimeZoneChoiceList::fill(&combo, zones, QTimeZone("Asia/Tokyo"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toInt(), 2);

    // Filled again, over a selection, with a zone that is not offered: nothing
    // is selected, and no slot is asked to read index -1.
    changed.clear();
    TimeZoneChoiceList::fill(&combo, zones, QTimeZone("Australia/Sydney"));
    QCOMPARE(combo.count(), 3);
    QCOMPARE(combo.currentIndex(), -1);
    QCOMPARE(changed.count(), 0);

    QCOMPARE(TimeZoneChoiceList::idAt(zones, 1, "Mars/Olympus"), QByteArray("Europe/Berlin"));
    QCOMPARE(TimeZoneChoiceList::idAt(zones, -1, "Mars/Olympus"), QByteArray("Mars/Olympus"));
    QCOMPARE(TimeZoneChoiceList::idAt(zones, 3, "Mars/Olympus"), QByteArray("Mars/Olympus"));
}

void TimeZoneChoiceListTest::dialogs_preselectSystemZone()
{
    // With and without the ten-minute test; the Tavron dialog's getter is the CSV dialog's twin.
    checkPreselection(exportcsvDialog(nullptr, QString(), QString(), QString()));
    checkPreselection(ExportTavronDialog2(nullptr));
}

QUILLON_TEST(TimeZoneChoiceListTest)
#include "tst_timezonechoicelist.moc"
