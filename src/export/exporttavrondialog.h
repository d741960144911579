#pragma once

#include "export/classcheckdialog.h"
#include "export/tavronexport.h"

#include <QList>
#include <QTimeZone>

namespace Ui {
class ExportTavronDialog;
}

/**
 * Asks a Tavron export of chosen classes for the zone the recordings were
 * made in, whether daylight saving was considered, and the classes to write.
 * "Unassigned" is listed for the count alone: Tavron takes every written row
 * as a bat call, so unassigned rows are never written.
 */
class ExportTavronDialog : public ClassCheckDialog
{
    Q_OBJECT

public:
    ExportTavronDialog(QWidget *parent, const QString &classCountText);
    ~ExportTavronDialog() override;

    /** The chosen zone; `fallback` while no zone is selected. */
    QTimeZone getTimeZone(const QTimeZone &fallback = QTimeZone::systemTimeZone()) const;
    bool isDaylightSaving() const;
    /** The checked classes as the filter, the zone and daylight saving; no year override yet. */
    TavronExportOptions options(const QTimeZone &fallback = QTimeZone::systemTimeZone()) const;

    QList<QTimeZone> timeZones;

private:
    Ui::ExportTavronDialog *ui;
};
