#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <filesystem>
#include <vector>

/**
 * Reads a recording's proposal from the result list "calls_ch1_files.txt" that
 * a recorder's offline analysis leaves beside its recordings (TAB-separated,
 * one line per recording).
 */
class RecorderResultLookup
{
public:
    /**
     * The proposal for wavFileName (a path with "/" separators): group names
     * for reviewMode 0, species codes for reviewMode 1, "No Call" for a noise or
     * test line. A line is the recording's only when it names the recording
     * as a whole: as a field, or at the end of a path in one. Empty when the
     * file cannot be read, holds no such line, or that line has fewer than
     * seven fields. Reads the file on every call; RecorderResultIndex answers
     * the same for a ".wav" recording from one reading.
     */
    static QString proposal(const QString &wavFileName, const QString &recorderResultFileName, int reviewMode);

    /** The proposal the recording's own line gives; empty for a null line. */
    static QString proposalFromLine(const QString &line, int reviewMode);

    /** Whether line names name as a whole: as a field, or at the end of a path in one. */
    static bool namesWhole(const QString &line, const QString &name);
};

/**
 * A result list read once: the lines that name a recording, and the fields
 * that may name one looked up through a sorted table, so that a folder of n
 * recordings costs one reading and n look-ups instead of n readings of n
 * lines. For a name that ends in ".wav" (a review lists WAV recordings alone)
 * it answers exactly as RecorderResultLookup::proposal does on the file as it
 * was read; any other name it answers with nothing.
 *
 * The file is read through BoundedLineReader, within its bounds: a list larger
 * than BoundedLineReader::maxFileBytes or with a line longer than
 * BoundedLineReader::maxLineBytes is refused whole, as a proposal taken from a
 * list read in part could be another recording's.
 *
 * Only a line with a field that ends in ".wav" can answer such a name, so only
 * those lines are kept: empty lines, notes and any other text cost nothing
 * once read. What the index holds is 2 bytes per character of the lines kept,
 * 12 bytes per such line and 16 per field of theirs that ends in ".wav", and
 * one block of 128 KB at most besides; while it reads, the two tables may
 * take twice their share. For the recorder's own lines that is at most about
 * 2.6 times the bytes they take in the file (1.3 GB for a list of 490 MB).
 */
class RecorderResultIndex
{
public:
    /** Why a reading was refused. */
    enum class Fault {
        None,
        Unreadable, ///< missing, no regular file, or not to be opened
        TooLarge,   ///< more than BoundedLineReader::maxFileBytes
        LongLine,   ///< a line longer than BoundedLineReader::maxLineBytes
    };

    /** Reads the file as text; false, and nothing held, when it is refused (fault()). */
    bool read(const QString &recorderResultFileName);

    /** Why the last reading was refused; Fault::None after a whole reading. */
    Fault fault() const { return m_fault; }
    /** For Fault::LongLine the number (from 1) of the first line too long; 0 otherwise. */
    int faultLine() const { return m_faultLine; }
    /**
     * The user's message for a refused reading, naming the file and the bound
     * it exceeds (the first over-long line by number); empty after a whole reading.
     */
    QString faultText() const;

    /** The proposal for wavFileName, from the lines read. */
    QString proposal(const QString &wavFileName, int reviewMode) const;

    /** The first line that names name as a whole, or a null string; null for a name not ending in ".wav". */
    QString lineFor(const QString &name) const;

private:
    // A kept line: where it stands in m_blocks.
    struct Line {
        int block;
        int begin;
        int size;
    };
    // A field that ends in ".wav", by the hash of its last path component:
    // the fields a name can stand at the end of share the hash of the name's
    // own last component. begin and end count from the start of the line.
    struct Field {
        uint componentHash;
        int line; // in m_lines
        int begin;
        int end;
    };

    // Appends the line when a field of it ends in ".wav".
    void keep(const QString &line);
    QStringView text(const Line &line) const;

    QString m_fileName;
    Fault m_fault = Fault::None;
    int m_faultLine = 0;
    // The kept lines one after another, in blocks that never move once
    // filled: the text grows without being copied to a larger place.
    std::vector<QString> m_blocks;
    std::vector<Line> m_lines;
    // Sorted by componentHash, then in file order: the first field that ends
    // in the whole name answers.
    std::vector<Field> m_fields;
};

/**
 * The index of the result file a request chain names, read on first use and
 * again only when the file's path, size or modification time changed. A file
 * the index refuses answers nothing, with a warning in the log.
 * Every request looks at the file's size and time, so they are taken as the
 * file system gives them: QFileInfo's time in local time would cost a
 * time-zone look-up per request, more than the rest of the look-up.
 */
class RecorderResultCache
{
public:
    /** The proposal for wavFileName from recorderResultFileName; empty when it cannot be read. */
    QString proposal(const QString &wavFileName, const QString &recorderResultFileName, int reviewMode);
    /** Forgets the index: the next request reads the file again. */
    void clear();

private:
    bool m_valid = false;    // the stamp below is the last reading's
    bool m_readable = false; // that reading was not refused
    QString m_path;
    std::filesystem::path m_file; // m_path as the file system takes it
    qint64 m_size = -1;
    qint64 m_modified = 0; // the file system's own count, compared only for equality
    RecorderResultIndex m_index;
};
