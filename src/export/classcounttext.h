#pragma once

#include "filelist/filerowtexts.h"

#include <QPair>
#include <QString>
#include <QVector>

class QTreeWidget;

// Names that the exports and the copy by class treat apart from ordinary classes.
namespace ExportClassNames {
/** The pseudo-class of rows whose Class 1 is empty. */
inline QString unassigned()
{
    return QStringLiteral("Unassigned");
}
/** The class-tree row of unassigned rows whose proposal is "No call" (Tavron evaluation and review). */
inline QString detectedNoCall()
{
    return QStringLiteral("Detected No Call");
}
} // namespace ExportClassNames

/**
 * The text in which an export or the copy by class hands classes and counts
 * to its check tree: one line per class, "name\tcount\n", and below a class
 * its subclasses, "\tname\tcount\n". Counts are shown as given, never computed on.
 */
struct ClassCountLine {
    bool subclass = false;
    QString name;  // cut of surrounding white space
    QString count; // unchanged
};

/**
 * Counts the classes of file rows in row order: per row its Class 1, or
 * "Unassigned" when that is empty, then each non-empty Class 2 to Class 4;
 * every occurrence counts one (a class in two columns of a row counts twice).
 * Names stand in order of first occurrence, "Unassigned" moved to the end.
 */
QVector<QPair<QString, int>> classCountsOfRows(const QVector<FileRowTexts> &rows);

/** Class lines of classCountsOfRows(), no subclass lines. */
QString classCountTextOfRows(const QVector<FileRowTexts> &rows);

/** A line per top-level row of the window's class tree (name and count column, texts unchanged), each
 *  followed by a subclass line per child row. */
QString classCountTextOfClassTree(const QTreeWidget *classTree);

/**
 * Reads a ClassCountText. Empty lines are skipped. A line without TAB is a
 * class with an empty count; a subclass line before any class line is taken
 * as a class line, so that no line the caller handed over is lost.
 */
QVector<ClassCountLine> parseClassCountText(const QString &text);
