#pragma once

#include "export/tavronexport.h"

#include <QDialog>
#include <QList>
#include <QTimeZone>

namespace Ui {
class ExportTavronDialog2;
}

/**
 * Asks a Tavron export whose classes are fixed (Tavron evaluation, review)
 * for the zone the recordings were made in and whether daylight saving was
 * considered. Offers zones that fail the ten-minute test as well.
 */
class ExportTavronDialog2 : public QDialog
{
    Q_OBJECT

public:
    explicit ExportTavronDialog2(QWidget *parent);
    ~ExportTavronDialog2() override;

    /** The chosen zone; `fallback` while no zone is selected. */
    QTimeZone getTimeZone(const QTimeZone &fallback = QTimeZone::systemTimeZone()) const;
    bool isDaylightSaving() const;
    /** Zone and daylight saving, with `classFilter` (the mode's fixed list). */
    TavronExportOptions options(const QStringList &classFilter,
                                const QTimeZone &fallback = QTimeZone::systemTimeZone()) const;

    QList<QTimeZone> timeZones;

private:
    Ui::ExportTavronDialog2 *ui;
};
