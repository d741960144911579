#pragma once

#include "recording/bextchunk.h"
#include "recording/guanochunk.h"
#include "recording/splchunk.h"
#include "recording/timechunk.h"
#include "recording/wamdchunk.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>

#include <memory>
#include <vector>

/**
 * One RIFF/WAVE recording in memory: format fields, mono samples as 32-bit
 * integers, the metadata chunks the program understands, an error text and a
 * validity flag. Used by one thread at a time; not copyable.
 */
class WavFile
{
public:
    WavFile();
    ~WavFile();
    WavFile(const WavFile &) = delete;
    WavFile &operator=(const WavFile &) = delete;

    /** Empties every field; open() runs it first. */
    void reset();

    /**
     * Reads fileName. A full read succeeded when valid is true; a header-only
     * read never sets valid and is judged from the format fields and records.
     */
    void open(const QString &fileName, bool headerOnly);

    /** The start of the recording from the TIME, wamd or GUANO data, in that order; invalid if none gives one. */
    QDateTime recordingDateTime() const;

    /**
     * Sample frames the data chunk holds by its size field: 0 when the size,
     * the channel count or the sample width is 0. Known after a header-only read.
     * The file may hold fewer (see dataHeld).
     */
    quint32 frameCount() const;

    /**
     * Writes text (as UTF-8, at most 256 bytes) into the bext description of
     * the file on disk, or appends a bext chunk when there is none. Touches
     * none of this object's fields. Returns false, with the file unchanged,
     * on any failure, and failure receives why: the system's words where it
     * gave them (a full disk, a file it will not open), else what of the file
     * stopped the write (a chunk the reader cannot walk past). Should a
     * failed write in place not be undone, failure says so too: the
     * recording then holds a damaged description.
     *
     * A file that ends in a bext chunk of its own append cut short by a kill
     * or a power cut, whatever its RIFF size claims, is repaired on the way:
     * the cut chunk is dropped (also when the append that follows fails) and
     * a whole one appended.
     *
     * Every bext write of the program comes through here: the bext-writing
     * worker, the header worker's write-back and the single edits of the
     * user-interface thread. One process-wide lock serialises them, so two
     * threads never rewrite one recording at the same time.
     */
    bool writeBextDescription(const QString &fileName, const QString &text, QString *failure = nullptr) const;

    /**
     * Why nothing is written into a recording whose walk stopped early, in
     * words for the user: "The recording cannot be read to its end." and,
     * below it, the reader's error text and where the walk stopped (the
     * chunk, what it claims and what the file holds), each once.
     */
    QString notReadToEndText() const;

    /** The text of count bytes from start: zero bytes dropped, UTF-8 (Latin-1 when not valid UTF-8). */
    static QString readFixedString(const QByteArray &buffer, int start, int count);

    /** The chunk walk over the open file, positioned at byte 0. */
    void readChunks(bool headerOnly);

    bool riffFound = false;
    quint32 riffSize = 0;
    bool fmtFound = false;
    quint32 fmtSize = 1000;
    qint32 compressionCode = 0;
    qint32 numberOfChannels = 0;
    quint32 sampleRate = 0;
    quint32 bytesPerSecond = 0;
    qint32 blockAlignment = 0;
    qint32 bitsPerSample = 0;
    qint32 bytesPerSample = 0;
    quint32 dataSize = 0;
    /**
     * The bytes the file holds of a data chunk whose size field claims more
     * (a copy cut short, a header never finished); -1 when it holds it whole
     * or has none. Such a recording has no length to show: it does not open.
     */
    qint64 dataHeld = -1;
    bool dataFound = false;
    qint32 dataOffset = 0;
    TimeChunk time;
    BextChunk bext;
    WamdChunk wamd;
    SplChunk spl;
    GuanoChunk guano;
    std::vector<int> samples;
    QString errorText;
    bool valid = false;
    /**
     * True when the chunk walk went on to the end of the file. A walk that
     * stopped early may leave errorText empty (an unreadable chunk id, a short
     * SPL chunk, an unknown chunk running past the end): the chunks behind the
     * stop, a bext chunk among them, were never read.
     */
    bool walkedToEnd = false;
    /**
     * Where the chunk, or the chunk header, begins at which the walk stopped
     * because the end of the file cuts it short; -1 when it did not. Nothing
     * lies behind such a chunk. Behind a whole data chunk it is only a
     * warning (valid stays as the samples made it); its fields are not read.
     */
    qint64 cutChunkAt = -1;
    /**
     * Where and why the walk stopped at a chunk the end of the file cuts
     * short, in words for the user; the reason also where errorText stays
     * empty (stray bytes, an SPL or unknown chunk running past the end).
     */
    QString stopDetail;
    std::unique_ptr<QFile> file; // present only while open() runs

private:
    // One reader per chunk kind, called by readChunks() with the file at the
    // chunk's data and leaving it at the chunk's end (the pad byte is the
    // walk's). False stops the walk, with errorText set where the failure has
    // a text of its own.
    bool readFmtChunk(quint32 size);
    bool readDataChunk(quint32 size, bool headerOnly);
    bool readTimeChunk(quint32 size);
    bool readBextChunk(quint32 size);
    bool readSplChunk(quint32 size);
    bool readWamdChunk(quint32 size);
    bool readGuanoChunk(quint32 size);
    bool skipUnknownChunk(quint32 size);
    /** A metadata chunk's first maxRead bytes into chunk, the rest stepped over; each kind once only. */
    template <typename Record>
    bool readMetadataChunk(Record &record, quint32 size, qint64 maxRead, const char *repeatedLog,
                           const char *repeatedText, const QString &shortReadText, QByteArray &chunk);
    void fail(const QString &text);
    /** Sets cutChunkAt and stopDetail for a stop at chunkStart; what says why. */
    void noteCutChunk(const QString &what);
    /**
     * The walk stops at a chunk whose data the end of the file cuts short;
     * text is the failure text of its kind. Behind a whole data chunk it is a
     * warning (text, where the kind has one) and the samples stay valid.
     */
    void stopAtCutChunk(const QString &text, const QString &what);
    /** What a chunk of size bytes at chunkStart lacks, for stopDetail. */
    QString cutChunkText(quint32 size) const;
    /** Bytes from the file's position to its end as the walk began. */
    qint64 bytesLeft() const;

    qint64 walkSize = 0;    // the file's size, taken once as the walk begins
    qint64 chunkStart = 0;  // where the chunk being read begins
    QByteArray chunkId;     // its id
    bool dataWhole = false; // the data chunk lies wholly inside the file
    // The first chunk of odd size whose pad byte is not 0: if that byte is
    // really the next chunk's first, every chunk behind is read one byte off.
    QByteArray unpaddedId;
    qint64 unpaddedAt = -1;
};
