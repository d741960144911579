#pragma once

#include <QFile>
#include <QString>

class QTextCodec;

/**
 * Reads a data file that a folder's settings name (the wind-speed file, the
 * weather log) or a recorder leaves beside its recordings (the result list)
 * line by line, within bounds that keep the user interface alive
 * whatever the path names: only a regular file, since a device or a pipe could
 * be read for ever (and a pipe blocks the open), of at most 500 MB; a line of
 * more than 4 KB is skipped whole, so no line can fill the memory.
 *
 * Lines come decoded with the codec of the system locale, without their line
 * break: the "\n" and every "\r" before it ("\r\n", "\r\r\n" of a file converted
 * twice), or the "\r"s that end a file cut before its "\n". A line at the limit
 * is kept with up to two CRs before its "\n".
 * Reading stops at the end of the file, or after 500 MB should the file grow
 * meanwhile. A reader that must have every line (the
 * recorder's result list) asks firstSkippedLine() at the end and refuses the
 * file.
 */
class BoundedLineReader
{
public:
    static constexpr qint64 maxFileBytes = 500LL * 1024 * 1024;
    static constexpr int maxLineBytes = 4 * 1024; // without the line break

    explicit BoundedLineReader(const QString &path);

    /** False, with nothing to read, when the path names no regular file of at most 500 MB or it cannot be opened. */
    bool open();

    /** The next line within the limit; false at the end. */
    bool readLine(QString &line);

    /** The number (from 1) of the first line skipped for its length so far; 0 when none was. */
    int firstSkippedLine() const { return firstSkipped; }

private:
    // Reads on to the end of a line that did not fit; false when the file or the limit ends first.
    bool skipRestOfLine();
    void noteSkipped();
    qint64 readChunk(char *buffer, qint64 size);

    QFile file;
    QTextCodec *codec;
    qint64 consumed = 0;
    int lineNumber = 0; // lines begun, the skipped ones too
    int firstSkipped = 0;
};
