#pragma once

#include "activity/charts/measuredactivity.h"
#include "activity/foldersettings.h"
#include "common/recorderclock.h"

#include <QString>

/** The wind-speed file's layout as the wind chart reads it from the folder's settings, with the chart's defaults. */
WindDataSettings windDataSettingsOf(const QString &folder);

/**
 * The wind speeds of the shown year. Each line whose date and time read is an
 * entry, without a value where its speed is missing or no finite number. Its
 * stamp is a clock time of the wind file's own zone (its standard time all
 * year without daylight saving); a time that clock skips is no entry. The stamps are then tied to their
 * 10-minute intervals (applyWindDateTimeDefinition) and placed on the
 * folder's clock: a value belongs to the year and the day on which it begins
 * there, so that a file written in UTC fills the evening hours of a folder in
 * Berlin on the right days. Read through the bounded reader; false when the
 * file cannot be opened. The series and its days go to the "quillon.activity"
 * debug lines.
 */
bool readWindSeries(const QString &path, const WindDataSettings &settings, const RecorderClock &folderClock, int year,
                    MeasurementSeries &series);
