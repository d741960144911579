#pragma once

#include "filelist/filerowtexts.h"

#include <QMetaType>
#include <QVector>

#include <memory>

/**
 * The rows of one chained bext job: a copy of each row, in the order the job
 * works them off. Every request and reply of the job carries this list and
 * `index`, the position of the row it concerns.
 *
 * The list is shared, not copied, between the requests and replies of one
 * job: refreshing one row before its request is sent must not copy the whole
 * list (a copy per request would make a job over n rows cost n squared).
 * Sharing is safe because a job has exactly one request out at a time: the
 * user-interface thread refreshes the row at `index` + 1 only after the reply
 * for `index` has arrived, and the worker reads nothing but the row at the
 * index of its one request. The same holds for the reason the worker gives
 * for a failed write: it sets it before its reply, which the user-interface
 * thread reads after it.
 */
class FileRowList
{
public:
    FileRowList() = default;
    explicit FileRowList(QVector<FileRowTexts> rows);

    int size() const { return m_rows ? int(m_rows->rows.size()) : 0; }
    bool isEmpty() const { return size() == 0; }
    /** Row i; i must be in 0 .. size() - 1. */
    const FileRowTexts &at(int i) const { return m_rows->rows.at(i); }
    bool isLast(int i) const { return i == size() - 1; }
    /** Puts a fresh copy in place of row i, seen by every holder of the list. */
    void replace(int i, const FileRowTexts &row);
    /** Why row i was not written, as the user reads it; empty when it was, or when nothing is known. */
    QString failure(int i) const { return m_rows->failures.at(i); }
    void setFailure(int i, const QString &reason);

private:
    struct Shared {
        QVector<FileRowTexts> rows;
        QVector<QString> failures;
    };
    std::shared_ptr<Shared> m_rows;
};

Q_DECLARE_METATYPE(FileRowList)
