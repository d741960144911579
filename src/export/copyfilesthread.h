#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

/**
 * The worker of the copy by class, on a thread of its own: copies one file
 * per request and answers every request with one reply that repeats the
 * request's arguments. A failed file is marked by an extra last entry "error"
 * in the reply's file list. Keeps no state: the main window sends the next
 * request only after the reply for the previous one.
 */
class CopyFilesThread : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    /** The last entry of a reply's file list when its file failed. */
    static QString errorMarker() { return QStringLiteral("error"); }

public slots:
    /** Copies fileNames[index] from oldDirectory to newDirectory (see RecordingCopy::copyFile). */
    void copyFiles(int index, QString newDirectory, QString oldDirectory, QStringList fileNames, bool overwrite);

signals:
    void signalCopyFinished(int index, QString newDirectory, QString oldDirectory, QStringList fileNames,
                            bool overwrite);
};
