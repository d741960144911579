#pragma once

#include <QMetaType>
#include <QString>

class QTreeWidgetItem;

/**
 * A value copy of one class-tree row, the class a bext request assigns: its
 * name and its count text, taken when the request is sent. The count text
 * "Aborting" marks the stand-alone row of a request that belongs to no chain
 * (the one class added to one recording); its reply is handled apart.
 */
struct ClassRowTexts {
    /** The row the copy was taken from; carried back, never dereferenced off the user-interface thread. */
    QTreeWidgetItem *item = nullptr;
    QString name;
    QString countText;

    static const QString singleWriteMarker; // "Aborting"

    bool isSingleWrite() const { return countText == singleWriteMarker; }

    /** Copies the row's name (column 0) and count (column 1) now. */
    static ClassRowTexts fromItem(QTreeWidgetItem *item);
};

Q_DECLARE_METATYPE(ClassRowTexts)
