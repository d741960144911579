#include "analysis/boundedlinereader.h"

#include <QFileInfo>
#include <QTextCodec>

namespace {

// Room for a line at the limit, "\r\r\n" (a list converted to CR LF twice)
// and the terminating zero of QIODevice::readLine.
constexpr int bufferBytes = BoundedLineReader::maxLineBytes + 4;

} // namespace

BoundedLineReader::BoundedLineReader(const QString &path)
    : file(path)
    , codec(QTextCodec::codecForLocale())
{
}

bool BoundedLineReader::open()
{
    // Asked before opening: opening a pipe for reading waits for a writer.
    const QFileInfo info(file.fileName());
    if (!info.isFile() || info.size() > maxFileBytes)
        return false;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (file.isSequential()) {
        file.close();
        return false;
    }
    return true;
}

qint64 BoundedLineReader::readChunk(char *buffer, qint64 size)
{
    if (!file.isOpen() || consumed >= maxFileBytes)
        return 0;
    const qint64 n = file.readLine(buffer, qMin(size, maxFileBytes - consumed + 1));
    if (n > 0)
        consumed += n;
    return n;
}

bool BoundedLineReader::skipRestOfLine()
{
    char buffer[bufferBytes];
    for (;;) {
        const qint64 n = readChunk(buffer, bufferBytes);
        if (n <= 0)
            return false;
        if (buffer[n - 1] == '\n')
            return true;
    }
}

void BoundedLineReader::noteSkipped()
{
    if (firstSkipped == 0)
        firstSkipped = lineNumber;
}

bool BoundedLineReader::readLine(QString &line)
{
    char buffer[bufferBytes];
    for (;;) {
        const qint64 n = readChunk(buffer, bufferBytes);
        if (n <= 0)
            return false;
        ++lineNumber;
        qint64 length = n;
        const bool broken = buffer[length - 1] == '\n';
        if (!broken && !file.atEnd()) {
            noteSkipped();
            if (!skipRestOfLine())
                return false;
            continue;
        }
        if (broken)
            --length;
        // Every CR: a list converted twice ends its lines in CR CR LF, and a CR
        // left over would end the last field. Also at the end of a file cut before the LF.
        while (length > 0 && buffer[length - 1] == '\r')
            --length;
        if (length > maxLineBytes) {
            noteSkipped();
            continue;
        }
        line = codec->toUnicode(buffer, int(length));
        return true;
    }
}
