#pragma once

#include "analysis/blob.h"
#include "analysis/mybatcall.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>
#include <unordered_map>
#include <vector>

/**
 * The spectrogram worker: lives on a thread of its own and turns the samples
 * of the recording on screen into log-power levels in dB, one row per
 * frequency bin (bin 1 up to the Nyquist bin) and one column per analysis
 * block. Requests arrive as queued calls of process(); each is answered by
 * exactly one finished(). Holds no state between requests.
 */
class calcSpectrogramThread : public QObject
{
    Q_OBJECT

public:
    calcSpectrogramThread();

    /** Blackman-Harris weight of sample n of a window of size samples. */
    double blackmanHarrisCoefficient(int n, int size);
    /** Flat-top weight of sample n of a window of size samples. */
    double flattopCoefficient(int n, int size);

    /**
     * Makes the allocation of every reply of more than cells levels fail, as
     * on a machine short of memory; 0 or less lifts the limit. For tests; the
     * program itself never calls it.
     */
    static void setAllocationLimit(qint64 cells);

signals:
    /**
     * The matrix (windowSize / 2 rows of numberOfFfts levels, row-major), the
     * smallest level but not below -40 and the largest but not above 0. A
     * request that cannot give one block answers with an empty matrix and 0
     * blocks, as does one whose matrix cannot be held (after error()). blobs,
     * classes and calls are always empty.
     */
    void finished(QVector<double> data, int numberOfFfts, double minValue, double maxValue,
                  std::unordered_map<int, Blob> blobs, QStringList classes, QList<MyBatCall> calls);
    /** The call labels of one file categorised by processTavron, in order of measurement. */
    void tavronFinished(int index, QStringList classes);
    /** Percent 0 .. 99, at most about 100 times per request. */
    void signalProgressBar(int k);
    /** A message for the user, shown by the user-interface thread. */
    void error(QString err);

public slots:
    /**
     * One spectrogram of the samples in *timedata (read in place: the caller
     * leaves the vector alone until the reply). The vector is emptied before
     * finished() is emitted. Samples are taken at 16-bit scale whatever
     * bitsPerSample says, so that levels do not depend on the recorder's sample
     * width. categorize is carried, not used.
     */
    void process(int sampleSize, int bitsPerSample, int windowSize, float frameSize, QString window, double overlap,
                 std::vector<int> *timedata, int sampleRate, bool categorize);
    /**
     * Categorises the one recording at the path wavDirectory (.wav or .raw) and
     * answers with tavronFinished(index, labels), or with error() when the file
     * cannot be categorised.
     */
    void processTavron(int index, QString wavDirectory);
};
