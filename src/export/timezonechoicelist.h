#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTimeZone>

class QComboBox;

/**
 * The list of zones from which the user names the zone that recordings or
 * data were written in. Every dialog that asks for a zone builds it the same
 * way and keeps the zones parallel to its combo box's items.
 */
namespace TimeZoneChoiceList {

/** A zone's name: generic long name in the default locale. */
QString displayName(const QTimeZone &zone);

/**
 * The machine's zone, or UTC where Qt cannot read it (a POSIX rule in TZ such
 * as "CET-1CEST,M3.5.0,M10.5.0/3"): an unreadable zone would stand in the list
 * as a blank entry and convert every time as UTC without saying so.
 */
QTimeZone systemZone();
QByteArray systemZoneId();

/**
 * The zones to offer, from the identifiers `ids` followed by the system
 * zone's, each id once (UTC for a system zone that does not read, offered
 * under its own name): other names beginning with "UTC" are left out, and so are
 * zones that fail the ten-minute test when `tenMinuteTest` is set (ten minutes
 * added to 1 August 2017, 17:00 must show ten minutes later). Zones that share
 * a name all stay: Denver keeps summer time though Phoenix, of the same name,
 * has none. Sorted by standard offset at `sortAt`, west first; equal offsets
 * keep the ids' order.
 *
 * `storedId`, the zone a folder's settings name, is offered whenever Qt reads
 * it, whatever its name, the test or `ids` say: "Etc/UTC" is missing from the
 * platform's list and "UTC0" is named "UTC", yet a folder that stores either
 * must open showing it, not a blank box.
 */
QList<QTimeZone> build(const QList<QByteArray> &ids, const QByteArray &systemZoneId, bool tenMinuteTest,
                       const QDateTime &sortAt, const QByteArray &storedId = QByteArray());

/** build() over the platform's zones, the system zone and the current time. */
QList<QTimeZone> build(bool tenMinuteTest, const QByteArray &storedId = QByteArray());

/**
 * The combo's texts, parallel to `zones`: each zone's name, followed by its id
 * in parentheses where another zone of the list bears the same name.
 */
QStringList itemTexts(const QList<QTimeZone> &zones);

/**
 * Puts the zones' texts into `combo` and selects the zone whose id is
 * `preselect`'s (UTC's for a zone that does not read, as the system zone
 * falls back to it); none when it is not offered. The texts go in with the combo's
 * signals blocked and nothing current, so a slot on the combo hears only the
 * one selection, of the preselected item: appending would otherwise make the
 * first zone current for a moment, and a slot that stores the zone would store
 * that one.
 */
void fill(QComboBox *combo, const QList<QTimeZone> &zones, const QTimeZone &preselect);

/**
 * The zone at a combo's current index. A combo with nothing selected (index
 * -1, as when the system zone's name begins with "UTC") gives `fallback`, UTC
 * when that does not read.
 */
QTimeZone zoneAt(const QList<QTimeZone> &zones, int index, const QTimeZone &fallback);

/** The id of the zone at a combo's current index; `fallbackId` (kept as it is) with nothing selected. */
QByteArray idAt(const QList<QTimeZone> &zones, int index, const QByteArray &fallbackId);

} // namespace TimeZoneChoiceList
