#include "recording/bextdescriptionwriter.h"

#include "recording/recordinglogging.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#if defined(Q_OS_WIN)
#include <io.h>
#elif defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace {

constexpr int descriptionSize = 256;
// Description, originator, reference, date, time, 264 reserved bytes and 256
// bytes of empty coding history.
constexpr quint32 appendedChunkSize = 858;
constexpr int chunkHeaderSize = 8;

quint32 le32(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return quint32(u[0]) | (quint32(u[1]) << 8) | (quint32(u[2]) << 16) | (quint32(u[3]) << 24);
}

QByteArray le32Bytes(quint32 v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xff);
    return b;
}

// A disk that fills up takes part of a write and reports no error; the rest,
// written again, brings the system's reason into the file's error string.
// written, where given, receives the bytes that went in, also on failure.
bool writeAllAt(QFile &file, qint64 pos, const QByteArray &bytes, qint64 *written = nullptr)
{
    qint64 done = 0;
    if (written)
        *written = 0;
    if (!file.seek(pos))
        return false;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
        if (written)
            *written = done;
    }
    return true;
}

// The bytes an append of ours leaves when a kill or a power cut stops its one
// write short: a prefix of "bext", the size 858, a description of UTF-8 text
// (which holds no zero byte) followed by zeros, and zeros after it.
bool isCutAppend(const QByteArray &tail)
{
    if (tail.isEmpty() || tail.size() >= chunkHeaderSize + int(appendedChunkSize))
        return false;
    const QByteArray header = QByteArray("bext") + le32Bytes(appendedChunkSize);
    const int headerPart = std::min(tail.size(), chunkHeaderSize);
    if (tail.left(headerPart) != header.left(headerPart))
        return false;
    const int firstZero = tail.indexOf('\0', chunkHeaderSize);
    if (firstZero < 0)
        return tail.size() <= chunkHeaderSize + descriptionSize;
    return std::all_of(tail.constBegin() + firstZero, tail.constEnd(), [](char c) { return c == '\0'; });
}

// A description the user asked for was not stored: worth a line on the terminal
// even in a normal run, because the callers that write in the background cannot
// show one. It names the file, as one such line may come for every recording of a folder.
// why is never empty: the system's words, or what of the file stopped the write.
bool fail(QFile &file, const char *logLine, QString *failure, const QString &why)
{
    qCWarning(lcRecording).noquote() << QLatin1String(logLine) + QStringLiteral(": ") + file.fileName()
                                            + QStringLiteral(" (") + why + QLatin1Char(')');
    if (failure)
        *failure = why;
    file.close();
    return false;
}

// A write in place that failed and could not be undone leaves part of the
// new text over the old: other classes, or a comment cut in the middle.
QString withDamageNote(const QString &why)
{
    const QString note = QStringLiteral("The old description could not be put back: the recording now holds a damaged "
                                        "description, part new and part old text, until it is written again.");
    return why.isEmpty() ? note : why + QLatin1Char('\n') + note;
}

QString notRiffWave()
{
    return QStringLiteral("The file is not a RIFF WAV file.");
}

QString cutHeader()
{
    return QStringLiteral("The file ends inside a chunk header.");
}

const char readError[] = "WAV file read error in write description in bext chunk";
const char writeError[] = "WAV file write error in write description in bext chunk";

} // namespace

bool isCutAppendAt(QFile &file, qint64 chunkStart)
{
    const qint64 length = file.size() - chunkStart;
    if (length >= chunkHeaderSize + qint64(appendedChunkSize) || !file.seek(chunkStart))
        return false;
    const QByteArray tail = file.read(length);
    return tail.size() == length && isCutAppend(tail);
}

bool syncFileToDisk(QFile &file, QString *why)
{
    if (!file.flush()) {
        if (why)
            *why = file.errorString();
        return false;
    }
#if defined(Q_OS_WIN)
    const bool synced = ::_commit(file.handle()) == 0;
#elif defined(Q_OS_UNIX)
    const bool synced = ::fsync(file.handle()) == 0;
#else
    const bool synced = true;
#endif
    if (!synced && why)
        *why = qt_error_string(errno);
    return synced;
}

bool writeBextDescriptionToFile(QFile &file, const QString &text, QString *failure, const FileSync &sync)
{
    if (failure)
        failure->clear();
    const QByteArray utf8 = text.toUtf8();
    // Cutting the text could split a character or lose a comment silently; the caller must shorten it.
    if (utf8.size() > descriptionSize)
        return fail(file, "Description longer than 256 bytes, not written to bext chunk", failure,
                    QStringLiteral("The description takes %1 bytes, more than the %2 bytes of the bext chunk's field.")
                        .arg(utf8.size())
                        .arg(descriptionSize));
    QByteArray field = utf8;
    field.append(QByteArray(descriptionSize - utf8.size(), '\0'));

    // Where the file ends for the walk, and where an append goes.
    qint64 end = file.size();
    if (!file.seek(0))
        return fail(file, readError, failure, file.errorString());
    char head[chunkHeaderSize];
    if (file.read(head, 4) != 4 || std::memcmp(head, "RIFF", 4) != 0)
        return fail(file, "Not a RIFF-WAV file to write description in bext chunk", failure, notRiffWave());
    if (file.read(head, 4) != 4)
        return fail(file, readError, failure, QStringLiteral("The file ends inside its RIFF header."));
    const QByteArray oldRiffSize(head, 4);
    const bool riffSizeOff = qint64(quint32(le32(head) + 8u)) != end;
    if (riffSizeOff)
        qCDebug(lcRecording) << "File size in header not identical to real file size.";
    if (file.read(head, 4) != 4 || std::memcmp(head, "WAVE", 4) != 0)
        return fail(file, readError, failure, notRiffWave());

    while (file.pos() < end) {
        const qint64 chunkStart = file.pos();
        const qint64 got = file.read(head, chunkHeaderSize);
        const quint32 size = got == chunkHeaderSize ? le32(head + 4) : 0;
        const qint64 dataStart = chunkStart + chunkHeaderSize;
        const qint64 left = end - dataStart;
        if (got < chunkHeaderSize || qint64(size) > left) {
            // A chunk the end of the file cuts short, shaped exactly as our
            // append: the one write of an append that a kill or a power cut
            // stopped. Nothing else of the file depends on it.
            if (isCutAppendAt(file, chunkStart)) {
                qCDebug(lcRecording) << "Cut bext chunk of an earlier append dropped";
                if (!file.resize(chunkStart))
                    return fail(file, writeError, failure, file.errorString());
                end = chunkStart;
                break;
            }
            if (got < 4)
                return fail(file, "Error while reading a chunk header descriptor in writing bext chunk description",
                            failure, cutHeader());
            if (got < chunkHeaderSize)
                return fail(file, readError, failure, cutHeader());
            return fail(
                file, readError, failure,
                QStringLiteral("The chunk at byte %1 claims %2 bytes, more than the %3 the file holds after it.")
                    .arg(chunkStart)
                    .arg(size)
                    .arg(left));
        }
        if (std::memcmp(head, "bext", 4) == 0) {
            // A description field cut short by the chunk would spill over the next chunk's header.
            if (size < quint32(descriptionSize))
                return fail(file, writeError, failure,
                            QStringLiteral("The bext chunk is too short to hold a description."));
            const QByteArray old = file.read(descriptionSize);
            if (old.size() != descriptionSize)
                return fail(file, readError, failure, file.errorString());
            // A kill between the two writes of an append leaves the chunk with the
            // RIFF size of the file before it: every opening would warn about the
            // size. Such a file is told by its last chunk, exactly as appended.
            bool repairSize = false;
            if (riffSizeOff && size == appendedChunkSize && dataStart + size == end) {
                const QByteArray rest = file.read(appendedChunkSize - descriptionSize);
                repairSize = rest == QByteArray(int(appendedChunkSize) - descriptionSize, '\0');
            }
            // A failed write must not leave half a description behind: put the old one back.
            qint64 fieldWritten = 0;
            if (!writeAllAt(file, dataStart, field, &fieldWritten)
                || (repairSize && !writeAllAt(file, 4, le32Bytes(quint32(end - 8)))) || !file.flush()) {
                const QString why = file.errorString();
                // Refused from its first byte, the write changed nothing: the old description stands whole.
                if (fieldWritten == 0)
                    return fail(file, writeError, failure, why);
                // A size not put back is repaired by the next write, as after a kill.
                if (repairSize && !writeAllAt(file, 4, oldRiffSize))
                    qCWarning(lcRecording).noquote() << QStringLiteral("RIFF size not put back: ") + file.fileName();
                if (!writeAllAt(file, dataStart, old) || !file.flush())
                    return fail(file, writeError, failure, withDamageNote(why));
                return fail(file, writeError, failure, why);
            }
            file.close();
            return true;
        }
        qCDebug(lcRecording) << "Unknown Chunk. Throw warning";
        qint64 next = dataStart + size;
        if ((size % 2) == 1 && next < end)
            ++next;
        if (!file.seek(next))
            return fail(file, readError, failure, file.errorString());
    }

    qCDebug(lcRecording) << "No Bext chunk exists";
    // A last chunk of odd size without its pad byte leaves the file odd-sized; the
    // reader steps over a pad there, so the new chunk must start after one.
    const int pad = int(end % 2);
    QByteArray appended(pad, '\0');
    appended += "bext";
    appended += le32Bytes(appendedChunkSize);
    appended += field;
    appended += QByteArray(int(appendedChunkSize) - descriptionSize, '\0');
    // The RIFF size field is 32 bits wide: past it the size would wrap and
    // misdescribe the whole file.
    const qint64 newRiffSize = end + appended.size() - 8;
    if (newRiffSize > qint64(std::numeric_limits<quint32>::max()))
        return fail(file, writeError, failure,
                    QStringLiteral("The file would grow past the 4 GiB that its RIFF size can describe."));
    // The chunk first, on the disk before the size behind it claims it: a
    // kill or a power cut anywhere leaves a RIFF size that claims no byte the
    // file lacks, and the next write repairs what is left.
    QString why;
    if (!writeAllAt(file, end, appended) || !sync(file, &why) || !writeAllAt(file, 4, le32Bytes(quint32(newRiffSize)))
        || !file.flush()) {
        if (why.isEmpty())
            why = file.errorString();
        // Half a chunk would make the file unreadable; put it back as it was,
        // the size first for the same reason. What cannot be put back is what
        // a kill leaves, and the next write repairs it.
        if (!writeAllAt(file, 4, oldRiffSize) || !file.resize(end))
            qCWarning(lcRecording).noquote() << QStringLiteral("Append not undone: ") + file.fileName();
        return fail(file, writeError, failure, why);
    }
    file.close();
    return true;
}
