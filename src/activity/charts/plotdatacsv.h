#pragma once

#include "common/settingskeys.h"

#include <QString>
#include <QStringList>
#include <QVector>

class QWidget;

/**
 * The plot-data file of an activity chart: the numbers it has just drawn, one
 * line per bin of its x axis (a day, a month, a night-time bin, a temperature,
 * precipitation or wind-speed class) and one column per shown curve.
 *
 *     Night Times in 2021;Valid Hours [h];Pip [Rec./h];All Classes [Rec./h]
 *     -0.15 to 0;0.0;0.000;0.000
 *     0 to 0.1;71.3;2.145;2.243
 *
 * UTF-8 without byte-order mark, ";" between cells (never quoted), CR LF after
 * every line, the last one included. Hours carry one decimal, curve values
 * three, always with a decimal point and no group separators, whatever the
 * user's locale: the file is read by spreadsheets and scripts, not people.
 * A column whose legend entry is unchecked is left out altogether.
 */
struct PlotDataColumn {
    QString header;        // name and unit: "Valid Hours [h]", "Pip [Rec./h]", "Pip"
    QVector<float> values; // one per bin
    int decimals = 3;
};

/**
 * The file's text: the title line when `title` is not empty, the header line
 * (`firstHeader`, then each column's header), then one line per bin label.
 */
QString plotDataCsvText(const QString &title, const QString &firstHeader, const QStringList &binLabels,
                        const QVector<PlotDataColumn> &columns);

/**
 * Asks where to write a chart's plot data ("Plot Data Export File", "CSV Files
 * (*.csv)"), starting at the path last written under `key`; a name typed
 * without a suffix takes ".csv". Empty when the user cancels.
 */
QString choosePlotDataFile(QWidget *parent, const Setting<QString> &key);

/**
 * Writes the text to path as a whole (see writeTextFile: nothing half-written
 * replaces an existing file). On success stores path under `key`; on failure
 * says "Could not write to file." and leaves the stored path as it was.
 */
bool writePlotDataFile(const QString &path, const QString &text, const Setting<QString> &key);
