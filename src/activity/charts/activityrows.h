#pragma once

#include "filelist/filerowtexts.h"

#include <QDate>
#include <QStringList>
#include <QVector>
#include <array>

/**
 * One row of the folder's file list as every activity chart reads it: once per
 * drawing, into plain values, so that a year of recordings is walked without
 * touching a widget again.
 */
struct ActivityRow {
    QDate date;                     // "Date" ("dd/MM/yy") read as 20yy; invalid for "N/A" or an unreadable text
    int msOfDay = -1;               // "Time" ("hh:mm:ss") in milliseconds of the day; -1 when unreadable
    int year = 0;                   // 2000 + the date text's two digits at 6 and 7; 0 when the row has no year
    std::array<QString, 4> classes; // "Class 1" to "Class 4", empty where the row has fewer

    /** Date and time both read: the row can be placed on the clock. */
    bool hasDateTime() const { return date.isValid() && msOfDay >= 0; }
    /** An empty "Class 1" marks an unassigned recording. */
    bool isUnassigned() const { return classes[0].isEmpty(); }
    /**
     * The classes the row counts for in the months, night and weather charts:
     * "Class 1" to "Class 4" up to the first empty one (a text listed twice
     * counts twice); the empty class alone when the row is unassigned.
     */
    QStringList countedClasses() const;
};

/**
 * The rows of the file list with the year, class and curve lists that every
 * activity chart draws from.
 *
 * Curves are numbered as their legend entries and colours: curve i < the size
 * of classList is the class classList[i] (the empty text being the unassigned
 * recordings, shown as "Unassigned"); curve classList.size() is "All Classes",
 * which is drawn only when there is not exactly one class, but whose counts
 * the charts keep in any case.
 */
struct ActivityRows {
    QVector<ActivityRow> rows; // every row of the list, top to bottom
    QVector<int> years;        // the rows' years, each once, ascending
    QStringList classList;     // of the rows with a year: each text once, in the order met; the empty text last
    QStringList curveList;     // classList with the empty text as "Unassigned", then "All Classes" unless one class

    int allClassesIndex() const { return classList.size(); }
    /** The legend and CSV name of class i, or "All Classes" for i = allClassesIndex(). */
    QString curveName(int i) const;
    /**
     * Whether a row belongs to curve i as the days chart selects it: "All
     * Classes" every row, "Unassigned" the rows with an empty "Class 1", a class
     * the rows that name it in any of "Class 1" to "Class 4".
     */
    bool rowInCurve(const ActivityRow &row, int curve) const;
};

/** Reads the rows (copies of the file list's rows, top to bottom). */
ActivityRows activityRowsOf(const QVector<FileRowTexts> &rows);

/** The title of a curve's plot items: its name followed by "_Activity" ("Unassigned_Activity", ...). */
QString activityItemTitle(const QString &curveName);
