#pragma once

#include "filelist/filerowtexts.h"

#include <QStringList>
#include <QVector>

// File rows written compactly for the golden tables:
//   "name|date|time|length|proposal|class1|class2|class3|class4|comment"
// Missing trailing fields are empty.
inline FileRowTexts exportRow(const QString &compact)
{
    static const int order[] = {FileViewColumn::Name,   FileViewColumn::Date,     FileViewColumn::Time,
                                FileViewColumn::Length, FileViewColumn::Proposal, FileViewColumn::Class1,
                                FileViewColumn::Class2, FileViewColumn::Class3,   FileViewColumn::Class4,
                                FileViewColumn::Comment};
    const QStringList fields = compact.split(QLatin1Char('|'));
    FileRowTexts row;
    for (int i = 0; i < fields.size() && i < 10; ++i)
        row.setText(order[i], fields.at(i));
    return row;
}

inline QVector<FileRowTexts> exportRows(const QStringList &compact)
{
    QVector<FileRowTexts> rows;
    for (const QString &line : compact)
        rows.append(exportRow(line));
    return rows;
}
