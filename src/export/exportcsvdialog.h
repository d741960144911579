#pragma once

#include "export/classcheckdialog.h"
#include "export/csvexport.h"

#include <QList>
#include <QTimeZone>

namespace Ui {
class exportcsvDialog;
}

/**
 * The options of a CSV export: the classes to write, the zone the recordings
 * were made in and whether daylight saving was considered, and the class-event
 * intervals with their mode. Every export starts from the same defaults.
 */
class exportcsvDialog : public ClassCheckDialog
{
    Q_OBJECT

public:
    exportcsvDialog(QWidget *parent, const QString &classCountText, const QString &labelText,
                    const QString &buttonText);
    ~exportcsvDialog() override;

    /** The chosen zone; `fallback` while no zone is selected. */
    QTimeZone getTimeZone(const QTimeZone &fallback = QTimeZone::systemTimeZone()) const;
    bool isDaylightSaving() const;
    /** All choices at once, as the export reads them. */
    CsvExportOptions options(const QTimeZone &fallback = QTimeZone::systemTimeZone()) const;

    QList<QTimeZone> timeZones;
    /** Chosen intervals in minutes: ascending, each of 1, 5 and 10 at most once. */
    QList<int> intervals;
    QString intervalMode;

private slots:
    // Clicks only: states set by the program do not reach these.
    void on_radioButton_clicked();
    void on_radioButton_2_clicked();
    void on_checkBox_clicked(bool checked);
    void on_checkBox_2_clicked(bool checked);
    void on_checkBox_3_clicked(bool checked);

private:
    Ui::exportcsvDialog *ui;
};
