#include "assignment/filerowlist.h"

FileRowList::FileRowList(QVector<FileRowTexts> rows)
    : m_rows(std::make_shared<Shared>())
{
    m_rows->failures.resize(rows.size());
    m_rows->rows = std::move(rows);
}

// The vectors behind the pointer are never shared themselves, so writing
// through operator[] never detaches (copies) them.
void FileRowList::replace(int i, const FileRowTexts &row)
{
    m_rows->rows[i] = row;
}

void FileRowList::setFailure(int i, const QString &reason)
{
    m_rows->failures[i] = reason;
}
