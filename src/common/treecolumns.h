#pragma once

#include <QStringList>

// Column numbers of the window's trees. Every subsystem that reads or writes a
// row (loading, assignment, exports, the activity plots) uses these names.

/** Columns of a file-list row, in `treeWidget_fileView` and `treeWidget_2` alike. */
namespace FileViewColumn {
enum : int {
    Name = 0,
    Date = 1,     // "dd/MM/yy"
    Time = 2,     // "hh:mm:ss"
    Length = 3,   // seconds
    Proposal = 4, // hidden
    Accepted = 5, // the accept-proposal check box; hidden
    Class1 = 6,
    Class2 = 7,
    Class3 = 8,
    Class4 = 9,
    Comment = 10,
    Count = 11
};
}

/** Columns of a class-tree row. */
namespace ClassTreeColumn {
enum : int {
    Class = 0,    // class name; the pseudo-class "Unassigned" on top
    Count = 1,    // recordings in the class
    Shortcut = 2, // "<A>" .. "<Z>"
    Assign = 3,   // the row's assign button
    ColumnCount = 4
};
}

/** Header texts of the file lists, one per FileViewColumn. */
inline QStringList fileViewHeaderLabels()
{
    return {QStringLiteral("Name"),        QStringLiteral("Date"),     QStringLiteral("Time"),
            QStringLiteral("Length in s"), QStringLiteral("Proposal"), QString(),
            QStringLiteral("Class 1"),     QStringLiteral("Class 2"),  QStringLiteral("Class 3"),
            QStringLiteral("Class 4"),     QStringLiteral("Comment")};
}

/** Header texts of the class tree, one per ClassTreeColumn. */
inline QStringList classTreeHeaderLabels()
{
    return {QStringLiteral("Class"), QStringLiteral("Count"), QStringLiteral("Shortcut"), QString()};
}
