#pragma once

#include "assignment/filerowlist.h"
#include "filelist/classrowtexts.h"

#include <QObject>
#include <QString>

/**
 * The worker that stores class assignments in the recordings' bext
 * descriptions, on a thread of its own. Each request concerns the row at
 * `index` of `selectedFileItems` and is answered by exactly one reply that
 * repeats the request's arguments and adds whether the write succeeded; a
 * row the operation leaves alone is answered at once (ClassTextRules says
 * when, and with which success). The texts come from ClassTextRules; the
 * write goes through ClassAssignmentText::writeDescription, which never
 * writes over classes it cannot read, to the program's one serialised bext
 * write.
 *
 * Keeps no state between requests and never touches a widget: it reads only
 * the row copies it is sent. A row not written gets the reason in the list
 * it is answered with (FileRowList::failure), for the write-failure box.
 */
class WriteFileBextThread : public QObject
{
    Q_OBJECT

public:
    WriteFileBextThread();
    ~WriteFileBextThread() override;

    /**
     * Why text could not be stored in the recording at path, in the user's
     * words: not a WAV recording, a file that cannot be opened for writing, a
     * recording the reader cannot walk to its end (with the reader's own
     * words where it has any), a description holding classes that cannot be
     * read, a bext chunk too short for a description, or a text longer than
     * the 256-byte description. When none of
     * these holds, the bext writer's words for the write that failed
     * (writeError: a full disk, a read error of the moment), or empty when
     * it gives none.
     */
    static QString failureReason(const QString &path, const QString &text, const QString &writeError = QString());

signals:
    void signalFileBextFinishedExtended(int index, QString wavDirectory, ClassRowTexts classItem,
                                        FileRowList selectedFileItems, bool success);
    void signalRenameClassFile(int index, QString wavDirectory, QString oldClassName, QString newClassName,
                               FileRowList selectedFileItems, bool success);
    void signalDeleteClassFile(int index, QString wavDirectory, QString deleteClassName, FileRowList selectedFileItems,
                               bool success);
    void signalUnassignFile(int index, QString wavDirectory, FileRowList selectedFileItems, bool success);
    void signalResetFile(int index, QString wavDirectory, FileRowList selectedFileItems, bool success);

public slots:
    /** Adds the class named by classItem; a request marked "Aborting" is answered like any other. */
    void writeFileBextExtended(int index, QString wavDirectory, ClassRowTexts classItem, FileRowList selectedFileItems);
    void renameClassFile(int index, QString wavDirectory, QString oldClassName, QString newClassName,
                         FileRowList selectedFileItems);
    void deleteClassFile(int index, QString wavDirectory, QString deleteClassName, FileRowList selectedFileItems);
    void unassignFile(int index, QString wavDirectory, FileRowList selectedFileItems);
    /** Keeps only the comment; a row not read yet keeps the comment its recording holds. */
    void resetFile(int index, QString wavDirectory, FileRowList selectedFileItems);
};
