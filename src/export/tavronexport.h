#pragma once

#include "filelist/filerowtexts.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <QVector>

/** What one Tavron export writes. */
struct TavronExportOptions {
    /** A row is written when Class 1 is set and one of its classes is here (exact, case-sensitive). */
    QStringList classFilter;
    /** The zone the recorder's clock was set to, and whether it followed daylight saving. */
    QTimeZone timeZone;
    bool daylightSaving = true;
    /** Tavron takes one year only: when not 0, every date is moved into this year. */
    int yearOverride = 0;
};

namespace TavronExport {

/** The file's first line, without its line end. */
QString headerLine();

/**
 * The fixed class filter of the folder export in the Tavron evaluation (mode
 * 3) and the review (mode 4, the recorder's short names); empty in other modes.
 */
QStringList fixedClassFilter(int evaluationMode);

/** The folder export of modes 1 and 2 refuses a folder whose only class is "Unassigned". */
bool onlyUnassigned(const QVector<QPair<QString, int>> &classCounts);
QString onlyUnassignedText();

/** True when the row is written: Class 1 is set and one of Class 1 to 4 is in the filter. */
bool isExported(const FileRowTexts &row, const QStringList &classFilter);

/**
 * The distinct years (as recorded) of the rows written, in order of first
 * appearance. Rows without a readable date or time are not written and add no year.
 */
QList<int> years(const QVector<FileRowTexts> &rows, const QStringList &classFilter);

/**
 * A recording's date and time as Tavron reads them, "dd.MM.yyyy hh:mm:ss" in
 * UTC+2: the date moved into the override year first (29 February becomes
 * the 28th in a common year), then read on the recorder's clock and moved to
 * UTC+2. Empty when the texts do not parse.
 */
QString dateTimeText(const QString &dateText, const QString &timeText, const TavronExportOptions &options);

struct Result {
    QString text;
    /** Rows that would have been written but have no readable date or time. */
    int leftOut = 0;
};

/** The whole file: header, then "datetime;Class1;Class2;Class3;Class4" per written row, "\r\n" after each. */
Result exportText(const QVector<FileRowTexts> &rows, const TavronExportOptions &options);

/** What the user is told once when rows were left out. */
QString leftOutText(int leftOut);

} // namespace TavronExport
