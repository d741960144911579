#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

/**
 * The file-header worker: lives on a thread of its own and reads, per
 * request, one recording's date, time, length and the classes, proposal and
 * comment stored in its bext description; on demand it takes the proposal
 * from a recorder's result file or classifies the recording itself, checks the
 * classes against the vocabulary of the evaluation and writes the corrected
 * text back. Every request is answered by exactly one
 * signalFileInfoHeaderFinished(), because the folder chain asks for the next
 * file only from a reply; that reply also tells whether a write-back failed.
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

signals:
    /**
     * The row of one recording; index as requested. Texts "N/A" for a header
     * that cannot be read. writeBackFailed: the corrected texts were to be
     * written into the recording and the write failed, so the file does not
     * hold what the row shows.
     */
    void signalFileInfoHeaderFinished(int index, QString batClass, QString batClass2, QString batClass3,
                                      QString batClass4, QString autoClass, QString accepted, QString length,
                                      QString date, QString time, QString comment, bool writeBackFailed);
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
};
