#pragma once

#include "analysis/recorderresultlookup.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <vector>

/**
 * The file-header worker: lives on a thread of its own and reads, per
 * request, one recording's date, time, length and the classes, proposal and
 * comment stored in its bext description; on demand it takes the proposal
 * from a recorder's result file or classifies the recording itself, checks the
 * classes against the vocabulary of the evaluation and writes the corrected
 * text back. Every request is answered by exactly one
 * signalFileInfoHeaderFinished(), because the folder chain asks for the next
 * file only from a reply; that reply also tells whether a write-back failed.
 *
 * Working ahead. Most recordings of a folder are short, and one of them split
 * over every core leaves each core little to do. So the window names, before
 * a chain's first request, the recordings the chain will ask for
 * (expectFileHeaderRequests). A classifying request whose recording has not
 * been examined yet examines it together with the next recordings of that
 * list, one recording per core on the analysis pool, and keeps what it found;
 * the following requests take their findings from there. Examining only reads:
 * the write-back, the message and the reply of every request still happen on
 * this thread, when that request comes, in request order. A finding is used
 * only while the recording's size and modification time are those it was read
 * with and the request asks what it was examined for; otherwise the request
 * examines its recording afresh. Replies and written files are therefore those
 * of the one-at-a-time run, whatever the thread count.
 *
 * The recorder's result file is read once per chain into an index, and again
 * only when its size or modification time changed.
 */
class GetFileInfoThread : public QObject
{
    Q_OBJECT

public:
    GetFileInfoThread();

    /**
     * The class names a request keeps in the four class slots: the detector's
     * labels when it classifies, else the recorder's short (reviewMode 0) or
     * long (1) review names. Each list starts with the empty name.
     */
    static const QStringList &recordingClassNames(bool calcClasses, int reviewMode);

    /** One request's question. */
    struct Request {
        QString wavFileName;
        bool calcClasses = false;
        QString recorderResultFileName;
        int reviewMode = 0;
        bool operator==(const Request &o) const;
    };

    /**
     * What a request finds, before anything is written or sent: the reply's
     * texts, a message for the user, and the description to write back.
     */
    struct Finding {
        QString batClass1, batClass2, batClass3, batClass4, autoClass, accepted, length, date, time, comment;
        QString message; // shown before the reply; empty for none
        bool writeBack = false;
        QString writtenText; // the description written back when writeBack is set
    };

    /**
     * Examines one recording: reads it, takes the proposal (resultProposal,
     * the recorder's, when a result file is named) or classifies it, and decides the reply and
     * the write-back. Reads only; safe on any thread.
     */
    static Finding examine(const Request &request, const QString &resultProposal);

    /**
     * How many recordings from the front of fileSizes one look-ahead examines:
     * at most maxCount, and no more than byteBudget bytes of files in all, the
     * first always.
     */
    static int lookAheadCount(const std::vector<qint64> &fileSizes, int maxCount, qint64 byteBudget);

signals:
    /**
     * The row of one recording; index as requested. Texts "N/A" for a header
     * that cannot be read. writeBackFailed: the corrected texts were to be
     * written into the recording and the write failed or was refused (a
     * description holding more classes than can be read is never written
     * over), so the file does not hold what the row shows. writeBackFailure:
     * then the writer's words for why (ClassAssignmentText::writeDescription),
     * empty where it has none.
     */
    void signalFileInfoHeaderFinished(int index, QString batClass, QString batClass2, QString batClass3,
                                      QString batClass4, QString autoClass, QString accepted, QString length,
                                      QString date, QString time, QString comment, bool writeBackFailed,
                                      QString writeBackFailure);
    /** Declared for the progress bar; requests are too short to report progress. */
    void signalProgressBar(int k);
    /** A message for the user, shown by the user-interface thread; the reply still follows. */
    void signalShowMessage(QString text);

public slots:
    /**
     * wavFileName: full path with "/" separators (".wav" or ".raw" in any case).
     * calcClasses: classify recordings whose description holds no proposal.
     * recorderResultFileName: path of "calls_ch1_files.txt", or empty.
     * reviewMode: 0 short, 1 long review class names.
     */
    void getFileHeaderInfo(int index, QString wavFileName, bool calcClasses, QString recorderResultFileName,
                           int reviewMode);
    /**
     * Starts a chain: the paths its requests will name, in order. Forgets what
     * earlier chains found and the result file's index.
     */
    void expectFileHeaderRequests(QStringList wavFileNames);

private:
    struct Ahead {
        Request request;
        QString recorderProposal;
        qint64 size = -1; // the recording as it was examined
        qint64 modifiedMs = -1;
        Finding finding;
    };

    QString recorderProposal(const Request &request);
    // The finding made ahead for request's recording (which must be held), unless it is stale.
    bool takeAhead(const Request &request, Finding &finding);
    Finding examineAhead(int position, const Request &request);
    void deliver(int index, const Request &request, const Finding &finding);

    QStringList m_expected;
    QHash<QString, int> m_expectedAt; // path -> its first position in m_expected
    QHash<QString, Ahead> m_ahead;    // findings made ahead, by path, each used once
    RecorderResultCache m_recorderResults;
};
