#pragma once

#include "common/evaluationmode.h"
#include "filelist/filerowtexts.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <QVector>

/** What the user chose for one CSV export. */
struct CsvExportOptions {
    static QString dynamicMode() { return QStringLiteral("dynamic"); }
    static QString staticMode() { return QStringLiteral("static"); }

    /** Rows with one of these classes are written; "Unassigned" stands for rows without Class 1. */
    QStringList checkedClasses;
    /** Class-event intervals in minutes, ascending, from 1, 5 and 10. */
    QList<int> intervals;
    /**
     * "dynamic": an event lasts N minutes from its first recording; "static":
     * an event lasts to the end of its clock-aligned N-minute slot.
     */
    QString intervalMode = dynamicMode();
    /** The zone the recorder's clock was set to, and whether it followed daylight saving. */
    QTimeZone timeZone;
    bool daylightSaving = true;
};

/**
 * True where unassigned rows proposed as "No call" are listed under "Detected
 * No Call" instead of "Unassigned": the folder export of the Tavron evaluation
 * and of the recorder review, whose class tree has that row.
 */
inline bool csvListsDetectedNoCall(bool folderExport, int evaluationMode)
{
    return folderExport && EvaluationMode::hasProposals(evaluationMode);
}

/**
 * The class events: for each interval of `options.intervals`, in that order,
 * one text per row (same index), the names of the classes whose event the row
 * opens, joined by ",". An event opens with a recording of the class more than
 * N minutes after the last event's start (dynamic) or in a new N-minute slot
 * of the clock (static); longer intervals thin the events of shorter ones.
 * Every row at the instant of an event start carries the class, whatever its
 * own classes. Rows without a readable date or time take no part.
 */
QVector<QStringList> csvClassEvents(const QVector<FileRowTexts> &rows, const CsvExportOptions &options);

/** The first line, "\r\n" included. */
QString csvHeaderLine(const CsvExportOptions &options);

/**
 * The whole file: the header and, per row in order, its class line when it
 * has a checked class (or is unassigned and "Unassigned" is checked), then,
 * with `detectedNoCallLines`, its "Detected No Call" line when it was proposed
 * as "No call" and that class is checked. Fields as the list shows them, ";"
 * between them, no quoting, "\r\n" after every line.
 */
QString csvExportText(const QVector<FileRowTexts> &rows, const CsvExportOptions &options, bool detectedNoCallLines);
