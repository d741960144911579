#include "assignment/filerowlist.h"

FileRowList::FileRowList(QVector<FileRowTexts> rows)
    : m_rows(std::make_shared<QVector<FileRowTexts>>(std::move(rows)))
{
}

void FileRowList::replace(int i, const FileRowTexts &row)
{
    // The one QVector behind the pointer is never shared itself, so writing
    // through operator[] never detaches (copies) it.
    (*m_rows)[i] = row;
}
