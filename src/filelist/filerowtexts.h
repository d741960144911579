#pragma once

#include "common/treecolumns.h"

#include <QDate>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVector>
#include <array>

class QTreeWidget;
class QTreeWidgetItem;

/**
 * A value copy of one file-list row: its texts by FileViewColumn, taken from
 * the live row when the copy is made. Workers and exports read only this copy,
 * so a row that changes or goes away meanwhile can never be read half-changed.
 */
struct FileRowTexts {
    std::array<QString, FileViewColumn::Count> texts;
    /** The list that holds the row shows its accept column. */
    bool acceptColumnShown = false;

    const QString &text(int column) const { return texts[static_cast<size_t>(column)]; }
    void setText(int column, const QString &text) { texts[static_cast<size_t>(column)] = text; }

    /** True when one of Class 1 to Class 4 is exactly `name`. */
    bool hasClass(const QString &name) const;
    /** An empty Class 1 marks an unassigned recording. */
    bool isUnassigned() const { return text(FileViewColumn::Class1).isEmpty(); }

    /** The recording day of a Date text "dd/MM/yy", read as 20yy (29/02/00 is a real day); an invalid
     *  date when the text does not parse ("N/A", empty). */
    static QDate recordingDate(const QString &date);
    /** Seconds since an arbitrary epoch of the Date and Time texts read as "dd/MM/yy hh:mm:ss" in
     *  calendar order, or -1 when either does not parse. */
    static qint64 dateTimeKey(const QString &date, const QString &time);
    /** Seconds since midnight of a Time text "hh:mm:ss", or -1 when it does not parse. */
    static int timeKey(const QString &time);

    /** Copies the row's texts now; the accept flag follows the row's list (false without one). */
    static FileRowTexts fromItem(QTreeWidgetItem *item);
};

/** Copies of `items`, in the order given. */
QVector<FileRowTexts> fileRowTextsOf(const QList<QTreeWidgetItem *> &items);
/** Copies of all top-level rows of `list`, top to bottom. */
QVector<FileRowTexts> fileRowTextsOf(const QTreeWidget *list);

Q_DECLARE_METATYPE(FileRowTexts)
