#include "export/timezonechoicelist.h"

#include <QComboBox>
#include <QHash>
#include <QLocale>
#include <QSet>
#include <QSignalBlocker>
#include <algorithm>

namespace TimeZoneChoiceList {

QString displayName(const QTimeZone &zone)
{
    return zone.displayName(QTimeZone::GenericTime, QTimeZone::LongName, QLocale());
}

QTimeZone systemZone()
{
    const QTimeZone system = QTimeZone::systemTimeZone();
    return system.isValid() ? system : QTimeZone::utc();
}

QByteArray systemZoneId()
{
    return systemZone().id();
}

namespace {

// Zones whose clock does not move on by ten minutes in ten minutes on an
// ordinary summer afternoon are broken in the platform's data; offering
// them would give wrong times.
bool passesTenMinuteTest(const QTimeZone &zone)
{
    const QDateTime start(QDate(2017, 8, 1), QTime(17, 0), zone);
    const QDateTime later = start.addSecs(600);
    const int before = start.time().hour() + start.time().minute();
    const int after = later.time().hour() + later.time().minute();
    return after == before + 10;
}

} // namespace

QList<QTimeZone> build(const QList<QByteArray> &ids, const QByteArray &systemZoneId, bool tenMinuteTest,
                       const QDateTime &sortAt, const QByteArray &storedId)
{
    // A system zone Qt cannot read is offered as UTC, under that name.
    const bool readable = QTimeZone(systemZoneId).isValid();
    const QByteArray utcStandIn = readable ? QByteArray() : QTimeZone::utc().id();
    const QByteArray stored = !storedId.isEmpty() && QTimeZone(storedId).isValid() ? storedId : QByteArray();
    QList<QByteArray> all = ids;
    all.append(readable ? systemZoneId : utcStandIn);
    if (!stored.isEmpty())
        all.append(stored);

    QVector<QPair<int, QTimeZone>> byOffset;
    byOffset.reserve(all.size());
    QSet<QByteArray> seen;
    for (const QByteArray &id : qAsConst(all)) {
        if (seen.contains(id))
            continue;
        seen.insert(id);
        const QTimeZone zone(id);
        if (!zone.isValid())
            continue;
        if (id != stored
            && ((tenMinuteTest && !passesTenMinuteTest(zone))
                || (displayName(zone).startsWith(QLatin1String("UTC")) && id != utcStandIn)))
            continue;
        byOffset.append({zone.standardTimeOffset(sortAt), zone});
    }
    std::stable_sort(byOffset.begin(), byOffset.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<QTimeZone> zones;
    zones.reserve(byOffset.size());
    for (const auto &entry : byOffset)
        zones.append(entry.second);
    return zones;
}

QList<QTimeZone> build(bool tenMinuteTest, const QByteArray &storedId)
{
    return build(QTimeZone::availableTimeZoneIds(), QTimeZone::systemTimeZoneId(), tenMinuteTest,
                 QDateTime::currentDateTime(), storedId);
}

QStringList itemTexts(const QList<QTimeZone> &zones)
{
    QStringList names;
    names.reserve(zones.size());
    QHash<QString, int> uses;
    for (const QTimeZone &zone : zones) {
        names.append(displayName(zone));
        ++uses[names.last()];
    }
    for (int i = 0; i < names.size(); ++i) {
        if (uses.value(names.at(i)) > 1)
            names[i] += QStringLiteral(" (") + QString::fromLatin1(zones.at(i).id()) + QLatin1Char(')');
    }
    return names;
}

void fill(QComboBox *combo, const QList<QTimeZone> &zones, const QTimeZone &preselect)
{
    {
        // The zones stand parallel to the items: nothing else may stand in the combo.
        const QSignalBlocker quiet(combo);
        combo->clear();
        combo->addItems(itemTexts(zones));
        combo->setCurrentIndex(-1);
    }
    const QByteArray wanted = preselect.isValid() ? preselect.id() : QTimeZone::utc().id();
    int index = -1;
    for (int i = 0; i < zones.size() && index < 0; ++i) {
        if (zones.at(i).id() == wanted)
            index = i;
    }
    combo->setCurrentIndex(index);
}

QTimeZone zoneAt(const QList<QTimeZone> &zones, int index, const QTimeZone &fallback)
{
    if (index < 0 || index >= zones.size())
        return fallback.isValid() ? fallback : QTimeZone::utc();
    return zones.at(index);
}

QByteArray idAt(const QList<QTimeZone> &zones, int index, const QByteArray &fallbackId)
{
    if (index < 0 || index >= zones.size())
        return fallbackId;
    return zones.at(index).id();
}

} // namespace TimeZoneChoiceList
