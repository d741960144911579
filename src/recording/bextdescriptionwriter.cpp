#include "recording/bextdescriptionwriter.h"

#include "recording/recordinglogging.h"

#include <QByteArray>
#include <QFile>

#include <cstring>
#include <limits>

namespace {

constexpr int descriptionSize = 256;
// Description, originator, reference, date, time, 264 reserved bytes and 256
// bytes of empty coding history.
constexpr quint32 appendedChunkSize = 858;

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

bool writeAllAt(QFile &file, qint64 pos, const QByteArray &bytes)
{
    return file.seek(pos) && file.write(bytes) == bytes.size();
}

// A description the user asked for was not stored: worth a line on the terminal
// even in a normal run, because the callers that write in the background cannot show one.
bool fail(QFile &file, const char *logLine)
{
    qCWarning(lcRecording) << logLine;
    file.close();
    return false;
}

const char readError[] = "WAV file read error in write description in bext chunk";
const char writeError[] = "WAV file write error in write description in bext chunk";

} // namespace

bool writeBextDescriptionToFile(QFile &file, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    // Cutting the text could split a character or lose a comment silently; the caller must shorten it.
    if (utf8.size() > descriptionSize) {
        qCWarning(lcRecording) << "Description longer than 256 bytes, not written to bext chunk";
        file.close();
        return false;
    }
    QByteArray field = utf8;
    field.append(QByteArray(descriptionSize - utf8.size(), '\0'));

    const qint64 oldSize = file.size();
    if (!file.seek(0))
        return fail(file, readError);
    char head[8];
    if (file.read(head, 4) != 4 || std::memcmp(head, "RIFF", 4) != 0)
        return fail(file, "Not a RIFF-WAV file to write description in bext chunk");
    if (file.read(head, 4) != 4)
        return fail(file, readError);
    const QByteArray oldRiffSize(head, 4);
    const bool riffSizeOff = qint64(quint32(le32(head) + 8u)) != oldSize;
    if (riffSizeOff)
        qCDebug(lcRecording) << "File size in header not identical to real file size.";
    if (file.read(head, 4) != 4 || std::memcmp(head, "WAVE", 4) != 0)
        return fail(file, readError);

    while (file.pos() < oldSize) {
        const qint64 got = file.read(head, 8);
        if (got < 4)
            return fail(file, "Error while reading a chunk header descriptor in writing bext chunk description");
        if (got < 8)
            return fail(file, readError);
        const quint32 size = le32(head + 4);
        const qint64 dataStart = file.pos();
        const qint64 left = oldSize - dataStart;
        if (std::memcmp(head, "bext", 4) == 0) {
            // A description field cut short by the chunk or the file would spill over
            // the next chunk's header or grow the file.
            if (size < quint32(descriptionSize) || left < descriptionSize)
                return fail(file, writeError);
            const QByteArray old = file.read(descriptionSize);
            if (old.size() != descriptionSize)
                return fail(file, readError);
            // A kill between the two writes of an append leaves the chunk with the
            // RIFF size of the file before it: every opening would warn about the
            // size. Such a file is told by its last chunk, exactly as appended.
            bool repairSize = false;
            if (riffSizeOff && size == appendedChunkSize && dataStart + size == oldSize) {
                const QByteArray rest = file.read(appendedChunkSize - descriptionSize);
                repairSize = rest == QByteArray(int(appendedChunkSize) - descriptionSize, '\0');
            }
            // A failed write must not leave half a description behind: put the old one back.
            if (!writeAllAt(file, dataStart, field)
                || (repairSize && !writeAllAt(file, 4, le32Bytes(quint32(oldSize - 8)))) || !file.flush()) {
                if (repairSize)
                    writeAllAt(file, 4, oldRiffSize);
                writeAllAt(file, dataStart, old);
                return fail(file, writeError);
            }
            file.close();
            return true;
        }
        qCDebug(lcRecording) << "Unknown Chunk. Throw warning";
        if (qint64(size) > left)
            return fail(file, readError);
        qint64 next = dataStart + size;
        if ((size % 2) == 1 && next < oldSize)
            ++next;
        if (!file.seek(next))
            return fail(file, readError);
    }

    qCDebug(lcRecording) << "No Bext chunk exists";
    // A last chunk of odd size without its pad byte leaves the file odd-sized; the
    // reader steps over a pad there, so the new chunk must start after one.
    const int pad = int(oldSize % 2);
    QByteArray appended(pad, '\0');
    appended += "bext";
    appended += le32Bytes(appendedChunkSize);
    appended += field;
    appended += QByteArray(int(appendedChunkSize) - descriptionSize, '\0');
    // The RIFF size field is 32 bits wide: past it the size would wrap and
    // misdescribe the whole file.
    const qint64 newRiffSize = oldSize + appended.size() - 8;
    if (newRiffSize > qint64(std::numeric_limits<quint32>::max()))
        return fail(file, writeError);
    // The chunk first, the size behind it: a kill between the two leaves a RIFF
    // size that claims no byte the file lacks, and the next write repairs it.
    if (!writeAllAt(file, oldSize, appended) || !writeAllAt(file, 4, le32Bytes(quint32(newRiffSize)))
        || !file.flush()) {
        // Half a chunk would make the file unreadable; put it back as it was,
        // the size first for the same reason.
        writeAllAt(file, 4, oldRiffSize);
        file.resize(oldSize);
        return fail(file, writeError);
    }
    file.close();
    return true;
}
