#include "recording/wavfile.h"

#include "recording/bextdescriptionwriter.h"
#include "recording/recordinglogging.h"
#include "recording/samplebound.h"

#include <QMutex>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QTextCodec>

#ifdef __linux__
#include <sys/mman.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <variant>

namespace {

// The most a metadata chunk is read of: the fixed fields the program uses, and
// text up to a bound no recorder comes near. The rest is stepped over, so a
// hostile size field (a bext chunk of 300 MB) decides neither what is read nor
// what is allocated.
constexpr qint64 textBound = qint64(1) << 20;
constexpr qint64 timeReadBytes = 56 + textBound;
constexpr qint64 bextReadBytes = 602 + textBound;
constexpr qint64 splReadBytes = 8;
constexpr qint64 wamdReadBytes = textBound;
constexpr qint64 guanoReadBytes = textBound;

quint16 le16(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return quint16(u[0] | (u[1] << 8));
}

quint32 le32(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return quint32(u[0]) | (quint32(u[1]) << 8) | (quint32(u[2]) << 16) | (quint32(u[3]) << 24);
}

// A chunk id as the user can read it: bytes that are no printable ASCII become "?".
QString printableId(const QByteArray &id)
{
    QString text;
    for (const char c : id)
        text += (c >= 0x20 && c <= 0x7e) ? QChar::fromLatin1(c) : QLatin1Char('?');
    return text;
}

// A text field only when it lies wholly inside the chunk: short chunks must not
// lend their fields bytes of whatever follows them.
QString fieldInside(const QByteArray &chunk, int offset, int count)
{
    if (offset < 0 || count < 0 || qint64(offset) + count > chunk.size())
        return QString();
    return WavFile::readFixedString(chunk, offset, count);
}

// A wamd chunk is a list of entries: a 16-bit id, a 32-bit length, then that
// many bytes of value. The value of the first entry with id, or nothing when
// the walk ends without one (a length running past the chunk ends it too).
std::optional<QByteArray> wamdEntry(const QByteArray &chunk, quint16 id)
{
    qint64 at = 0;
    while (at + 6 <= chunk.size()) {
        const quint16 entryId = le16(chunk.constData() + at);
        const qint64 length = le32(chunk.constData() + at + 2);
        at += 6;
        if (length > chunk.size() - at)
            return std::nullopt;
        if (entryId == id)
            return chunk.mid(int(at), int(length));
        at += length;
    }
    return std::nullopt;
}

// The recorder's time stamp, entry 5: " 2022-08-15 21:34:14+0100", its clock's
// date and time, then the zone, which is left out: every source of a
// recording's date gives the time its clock showed. False without such an entry.
bool readWamdTimeStamp(const QByteArray &chunk, QString &date, QString &time)
{
    const std::optional<QByteArray> stamp = wamdEntry(chunk, 5);
    if (!stamp)
        return false;
    static const QRegularExpression pattern(QStringLiteral("^ *(\\d{4}-\\d\\d-\\d\\d) +(\\d\\d:\\d\\d:\\d\\d)"));
    const QRegularExpressionMatch m = pattern.match(QString::fromLatin1(*stamp));
    if (!m.hasMatch())
        return false;
    date = m.captured(1);
    time = m.captured(2);
    return true;
}

qint32 int32Inside(const QByteArray &chunk, int offset)
{
    if (qint64(offset) + 4 > chunk.size())
        return 0;
    return qint32(le32(chunk.constData() + offset));
}

// Recorders write two-digit years; every one of them is 20yy. Qt's own default
// would make it 19yy, which also loses 29 February 2000.
QDate parseTwoDigitYearDate(const QString &text, bool monthFirst)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d\\d)/(\\d\\d)/(\\d\\d)$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return QDate();
    const int first = m.captured(1).toInt();
    const int second = m.captured(2).toInt();
    const int year = 2000 + m.captured(3).toInt();
    return monthFirst ? QDate(year, first, second) : QDate(year, second, first);
}

// The recorder's clock reading as a local date-time. Inside a daylight-saving
// gap the local clock never showed that time and Qt calls such a value invalid;
// the recording still started then by the recorder's clock, so keep its date and
// time of day with the offset in force around that moment.
QDateTime wallClockDateTime(const QDate &date, const QTime &time)
{
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    QDateTime local(date, time, Qt::LocalTime);
    if (local.isValid() && local.date() == date && local.time() == time)
        return local;
    const int offset = QDateTime(date, time, Qt::UTC).toLocalTime().offsetFromUtc();
    return QDateTime(date, time, Qt::OffsetFromUTC, offset);
}

// GUANO timestamps: ISO 8601 with "T" or a blank, optional fractional seconds
// and an optional "Z", "+hh:mm" or "+hhmm" designator. The wall-clock date and
// time are kept as written.
QDateTime parseGuanoTimestamp(const QString &value)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{4})-(\\d\\d)-(\\d\\d)[T ](\\d\\d):(\\d\\d):(\\d\\d)(?:\\.(\\d+))?"
                       "(Z|[+-]\\d\\d:?\\d\\d)?$"));
    const QRegularExpressionMatch m = pattern.match(value);
    if (!m.hasMatch())
        return QDateTime();
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const int ms = m.captured(7).isEmpty() ? 0 : m.captured(7).leftJustified(3, QLatin1Char('0'), true).toInt();
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(), ms);
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    const QString zone = m.captured(8);
    if (zone.isEmpty())
        return wallClockDateTime(date, time);
    if (zone == QLatin1String("Z"))
        return QDateTime(date, time, Qt::UTC);
    const QString digits = zone.mid(1).remove(QLatin1Char(':'));
    const int hours = digits.left(2).toInt();
    const int minutes = digits.mid(2, 2).toInt();
    if (hours > 23 || minutes > 59)
        return QDateTime();
    const int sign = zone.at(0) == QLatin1Char('-') ? -1 : 1;
    return QDateTime(date, time, Qt::OffsetFromUTC, sign * (hours * 3600 + minutes * 60));
}

float guanoFloat(const QString &value)
{
    bool ok = false;
    const float v = value.toFloat(&ok);
    return ok ? v : 0.0f;
}

qint32 guanoInt(const QString &value)
{
    bool ok = false;
    const int v = value.toInt(&ok, 10);
    return ok ? v : 0;
}

// The field each understood GUANO key fills; its type says how the value is read.
using GuanoField =
    std::variant<QString GuanoChunk::*, float GuanoChunk::*, qint32 GuanoChunk::*, QDateTime GuanoChunk::*>;

struct GuanoKey {
    QLatin1String key;
    GuanoField field;
};

// Keys compare exactly, case included.
const GuanoKey guanoKeys[] = {
    {QLatin1String("GUANO|Version"), &GuanoChunk::version},
    {QLatin1String("Filter HP"), &GuanoChunk::filterHp},
    {QLatin1String("Filter LP"), &GuanoChunk::filterLp},
    {QLatin1String("Firmware Version"), &GuanoChunk::firmwareVersion},
    {QLatin1String("Hardware Version"), &GuanoChunk::hardwareVersion},
    {QLatin1String("Humidity"), &GuanoChunk::humidity},
    {QLatin1String("Length"), &GuanoChunk::length},
    {QLatin1String("Loc Accuracy"), &GuanoChunk::locAccuracy},
    {QLatin1String("Loc Elevation"), &GuanoChunk::locElevation},
    {QLatin1String("Loc Position"), &GuanoChunk::locPosition},
    {QLatin1String("Make"), &GuanoChunk::make},
    {QLatin1String("Model"), &GuanoChunk::model},
    {QLatin1String("Note"), &GuanoChunk::note},
    {QLatin1String("Original Filename"), &GuanoChunk::originalFilename},
    {QLatin1String("Samplerate"), &GuanoChunk::samplerate},
    {QLatin1String("Serial"), &GuanoChunk::serial},
    {QLatin1String("Species Auto ID"), &GuanoChunk::speciesAutoId},
    {QLatin1String("Species Manual ID"), &GuanoChunk::speciesManualId},
    {QLatin1String("Tags"), &GuanoChunk::tags},
    {QLatin1String("TE"), &GuanoChunk::te},
    {QLatin1String("Temperature Ext"), &GuanoChunk::temperatureExt},
    {QLatin1String("Temperature Int"), &GuanoChunk::temperatureInt},
    {QLatin1String("Timestamp"), &GuanoChunk::timestamp},
    {QLatin1String("WA|Song Meter|Prefix"), &GuanoChunk::waSongMeterPrefix},
    {QLatin1String("WA|Song Meter|Audio settings"), &GuanoChunk::waSongMeterAudioSettings},
};

void storeGuanoValue(GuanoChunk &g, const QString &key, const QString &value)
{
    for (const GuanoKey &k : guanoKeys) {
        if (key != k.key)
            continue;
        if (const auto text = std::get_if<QString GuanoChunk::*>(&k.field))
            g.**text = value;
        else if (const auto real = std::get_if<float GuanoChunk::*>(&k.field))
            g.**real = guanoFloat(value);
        else if (const auto integer = std::get_if<qint32 GuanoChunk::*>(&k.field))
            g.**integer = guanoInt(value);
        else
            g.*std::get<QDateTime GuanoChunk::*>(k.field) = value.isEmpty() ? QDateTime() : parseGuanoTimestamp(value);
        return;
    }
    qCDebug(lcRecording) << "Unknown Guano Item" << key;
}

// Decodes count little-endian samples of width bytes from src into dst.
// src may lie inside dst's own storage, behind the samples still to be written:
// each block of source bytes is copied out before its samples overwrite it.
void decodeSamples(const unsigned char *src, int *dst, size_t count, int width)
{
    constexpr size_t block = 4096;
    unsigned char local[block * 4];
    for (size_t start = 0; start < count; start += block) {
        const size_t n = std::min(block, count - start);
        std::memcpy(local, src + start * size_t(width), n * size_t(width));
        int *out = dst + start;
        switch (width) {
        case 1:
            for (size_t i = 0; i < n; ++i)
                out[i] = int(local[i]) - 128;
            break;
        case 2:
            for (size_t i = 0; i < n; ++i)
                out[i] = qint16(quint16(local[2 * i] | (local[2 * i + 1] << 8)));
            break;
        case 3:
            for (size_t i = 0; i < n; ++i) {
                const quint32 v =
                    quint32(local[3 * i]) | (quint32(local[3 * i + 1]) << 8) | (quint32(local[3 * i + 2]) << 16);
                // Shift the sign bit of the 24-bit value into bit 31, then back.
                out[i] = qint32(v << 8) >> 8;
            }
            break;
        default:
            for (size_t i = 0; i < n; ++i)
                out[i] = qint32(quint32(local[4 * i]) | (quint32(local[4 * i + 1]) << 8)
                                | (quint32(local[4 * i + 2]) << 16) | (quint32(local[4 * i + 3]) << 24));
            break;
        }
    }
}

// A minute at 500 kHz is 120 MB of samples: faulting that in 4 KiB pages costs
// more than reading the file. Large pages cut the faults by a factor of 512.
void adviseLargePages(void *start, size_t bytes)
{
#ifdef __linux__
    constexpr uintptr_t large = 2u << 20;
    const uintptr_t begin = (reinterpret_cast<uintptr_t>(start) + large - 1) & ~(large - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(start) + bytes) & ~(large - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    Q_UNUSED(start)
    Q_UNUSED(bytes)
#endif
}

} // namespace

WavFile::WavFile()
{
    reset();
}

WavFile::~WavFile()
{
    reset();
}

void WavFile::reset()
{
    riffFound = false;
    riffSize = 0;
    fmtFound = false;
    fmtSize = 1000;
    compressionCode = 0;
    numberOfChannels = 0;
    sampleRate = 0;
    bytesPerSecond = 0;
    blockAlignment = 0;
    bitsPerSample = 0;
    bytesPerSample = 0;
    dataSize = 0;
    dataHeld = -1;
    dataFound = false;
    dataOffset = 0;
    time = TimeChunk();
    bext = BextChunk();
    wamd = WamdChunk();
    spl = SplChunk();
    guano = GuanoChunk();
    std::vector<int>().swap(samples);
    errorText.clear();
    valid = false;
    walkedToEnd = false;
    cutChunkAt = -1;
    stopDetail.clear();
    walkSize = 0;
    chunkStart = 0;
    chunkId.clear();
    dataWhole = false;
    unpaddedId.clear();
    unpaddedAt = -1;
    file.reset();
}

void WavFile::open(const QString &fileName, bool headerOnly)
{
    reset();
    file = std::make_unique<QFile>(fileName);
    // Unbuffered: a header-only read must not pull the data chunk in through a read-ahead buffer.
    if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        qCDebug(lcRecording) << "Unable to open file. \n";
        errorText = QStringLiteral("Cannot open '") + fileName + QStringLiteral("'.");
        file.reset();
        return;
    }
    file->seek(0);
    readChunks(headerOnly);
    file->close();
    file.reset();
}

QString WavFile::readFixedString(const QByteArray &buffer, int start, int count)
{
    if (start < 0 || count <= 0 || start >= buffer.size())
        return QString();
    const int end = int(std::min<qint64>(qint64(start) + count, buffer.size()));
    QByteArray bytes;
    bytes.reserve(end - start);
    bool ascii = true;
    for (int i = start; i < end; ++i) {
        const char c = buffer.at(i);
        if (c == '\0')
            continue;
        bytes.append(c);
        if (static_cast<unsigned char>(c) > 0x7F)
            ascii = false;
    }
    if (ascii)
        return QString::fromLatin1(bytes);
    // The program writes UTF-8; anything that is not valid UTF-8 comes from
    // another tool and is taken byte for byte. A leading byte-order mark is
    // text like any other: the description must read back as it was written.
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    const QString text = QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    if (state.invalidChars > 0 || state.remainingChars > 0)
        return QString::fromLatin1(bytes);
    return text;
}

void WavFile::fail(const QString &text)
{
    valid = false;
    errorText = text;
}

qint64 WavFile::bytesLeft() const
{
    return walkSize - file->pos();
}

void WavFile::noteCutChunk(const QString &what)
{
    cutChunkAt = chunkStart;
    stopDetail = QStringLiteral("The chunk walk stopped at byte %1: %2").arg(chunkStart).arg(what);
    if (unpaddedAt >= 0)
        stopDetail += QStringLiteral(" The chunk \"%1\" at byte %2 has an odd size, and the byte behind it is not a "
                                     "zero pad byte: if its pad is missing, every chunk after it was read one byte "
                                     "off.")
                          .arg(printableId(unpaddedId))
                          .arg(unpaddedAt);
}

void WavFile::stopAtCutChunk(const QString &text, const QString &what)
{
    noteCutChunk(what);
    // A kill or a power cut while metadata is appended cuts the last chunk
    // short; the samples in front of it are whole and worth showing.
    if (dataWhole) {
        qCDebug(lcRecording) << "Chunk cut by the end of the file behind the data: a warning";
        if (!text.isEmpty())
            errorText = text;
        return;
    }
    fail(text);
}

QString WavFile::cutChunkText(quint32 size) const
{
    return QStringLiteral("the chunk \"%1\" there claims %2 bytes, more than the %3 left in the file.")
        .arg(printableId(chunkId))
        .arg(size)
        .arg(bytesLeft());
}

template <typename Record>
bool WavFile::readMetadataChunk(Record &record, quint32 size, qint64 maxRead, const char *repeatedLog,
                                const char *repeatedText, const QString &shortReadText, QByteArray &chunk)
{
    // Each kind once only, and only after checking that the file holds the
    // chunk; up to maxRead bytes into chunk, the rest stepped over.
    if (record.found) {
        qCDebug(lcRecording) << repeatedLog;
        fail(QString::fromLatin1(repeatedText));
        return false;
    }
    record.found = true;
    record.chunkSize = size;
    if (qint64(size) > bytesLeft()) {
        qCDebug(lcRecording) << "Wav-File Read Error";
        stopAtCutChunk(shortReadText, cutChunkText(size));
        return false;
    }
    QFile &f = *file;
    const qint64 read = std::min<qint64>(size, maxRead);
    const qint64 end = f.pos() + qint64(size);
    chunk.resize(int(read));
    if ((read > 0 && f.read(chunk.data(), read) != read) || !f.seek(end)) {
        qCDebug(lcRecording) << "Wav-File Read Error";
        fail(shortReadText);
        return false;
    }
    return true;
}

void WavFile::readChunks(bool headerOnly)
{
    if (!file || !file->isOpen()) {
        valid = false;
        return;
    }
    QFile &f = *file;
    walkSize = f.size();

    char head[8];
    if (f.read(head, 4) != 4 || std::memcmp(head, "RIFF", 4) != 0) {
        qCDebug(lcRecording) << "Not a RIFF-WAV file.";
        fail(QStringLiteral("File is not a RIFF-WAV."));
        return;
    }
    if (f.read(head, 4) != 4) {
        qCDebug(lcRecording) << "Wav-File Read Error";
        fail(QStringLiteral("WAV file read error."));
        return;
    }
    riffSize = le32(head);
    riffFound = true;
    if (qint64(quint32(riffSize + 8u)) != walkSize) {
        qCDebug(lcRecording) << "File size in header not identical to real file size.";
        errorText = QStringLiteral("File size in header not identical to real file size.");
    }
    if (f.read(head, 4) != 4 || std::memcmp(head, "WAVE", 4) != 0) {
        qCDebug(lcRecording) << "Not a WAVE file.";
        fail(QStringLiteral("File is not a WAVE file."));
        return;
    }

    while (bytesLeft() > 0) {
        chunkStart = f.pos();
        const qint64 got = f.read(head, 8);
        if (got < 8) {
            qCDebug(lcRecording) << "Wav-File Read Error";
            noteCutChunk(QStringLiteral("the %1 bytes left in the file are too few for a chunk header.")
                             .arg(std::max<qint64>(got, 0)));
            // Behind whole samples these are what a kill or a power cut leaves
            // of a chunk appended after them: a warning that says what is there.
            if (dataWhole) {
                errorText = stopDetail;
                return;
            }
            fail(got < 4 ? QString() : QStringLiteral("Error while reading a chunk header size."));
            return;
        }
        const QByteArray id(head, 4);
        const quint32 size = le32(head + 4);
        chunkId = id;

        bool goOn;
        if (id == "fmt ")
            goOn = readFmtChunk(size);
        else if (id == "data")
            goOn = readDataChunk(size, headerOnly);
        else if (id == "TIME")
            goOn = readTimeChunk(size);
        else if (id == "bext")
            goOn = readBextChunk(size);
        else if (id == "SPL ")
            goOn = readSplChunk(size);
        else if (id == "wamd")
            goOn = readWamdChunk(size);
        else if (id == "guan")
            goOn = readGuanoChunk(size);
        else
            goOn = skipUnknownChunk(size);
        if (!goOn)
            return;

        // RIFF pads odd chunks to an even length; the pad is not counted in the size.
        if ((size % 2) == 1 && bytesLeft() > 0) {
            char pad = 0;
            if (f.read(&pad, 1) == 1 && pad != 0 && unpaddedAt < 0) {
                unpaddedId = id;
                unpaddedAt = chunkStart;
            }
        }
    }

    walkedToEnd = true;
    if (!valid)
        qCDebug(lcRecording) << "End of read. \n";
}

bool WavFile::readFmtChunk(quint32 size)
{
    qCDebug(lcRecording) << "Found FMT chunk";
    if (fmtFound) {
        qCDebug(lcRecording) << "more then 2 fmt chunks.... wtf? where did u get this file? \n";
        fail(QStringLiteral("More then one FMT chunks."));
        return false;
    }
    fmtFound = true;
    fmtSize = size;
    if (size > 16) {
        qCDebug(lcRecording) << "format not supported!";
        fail(QStringLiteral("FMT format not supported."));
        return false;
    }
    const QString readError = QStringLiteral("WAV file read error in FMT chunk.");
    // Sixteen bytes are the whole format; fewer would take the next chunk's header for fields.
    if (size < 16) {
        qCDebug(lcRecording) << "WAV file read error";
        fail(readError);
        return false;
    }
    char fmt[16];
    const qint64 n = file->read(fmt, 16);
    if (n < 2) {
        qCDebug(lcRecording) << "WAV file read error";
        fail(readError);
        return false;
    }
    compressionCode = le16(fmt);
    if (compressionCode != 1) {
        qCDebug(lcRecording) << "Data format not supported";
        fail(QStringLiteral("Compression format not supported."));
        return false;
    }
    qCDebug(lcRecording) << "CompressionCode: " << compressionCode;
    if (n < 4) {
        qCDebug(lcRecording) << "Wav-File Read Error";
        fail(readError);
        return false;
    }
    numberOfChannels = le16(fmt + 2);
    if (numberOfChannels != 1) {
        qCDebug(lcRecording) << "Not more than 1 channel supported";
        fail(QStringLiteral("Not more than 1 channel supported."));
        return false;
    }
    qCDebug(lcRecording) << "Number of channels: " << numberOfChannels;
    if (n < 16) {
        qCDebug(lcRecording) << "Wav-File Read Error";
        fail(readError);
        return false;
    }
    sampleRate = le32(fmt + 4);
    bytesPerSecond = le32(fmt + 8);
    blockAlignment = le16(fmt + 12);
    bitsPerSample = le16(fmt + 14);
    bytesPerSample = bitsPerSample / 8;
    qCDebug(lcRecording) << "Sample rate: " << sampleRate << "Bytes per second: " << bytesPerSecond
                         << "BlockAllignment: " << blockAlignment << "Bits per sample: " << bitsPerSample
                         << "Bytes per sample: " << bytesPerSample;
    return true;
}

bool WavFile::readDataChunk(quint32 size, bool headerOnly)
{
    QFile &f = *file;
    qCDebug(lcRecording) << "Found DATA chunk";
    if (dataFound) {
        qCDebug(lcRecording) << "more then 1 data chunks. not supported. \n";
        fail(QStringLiteral("Not more than one DATA chunk supported."));
        return false;
    }
    dataFound = true;
    dataSize = size;
    qCDebug(lcRecording) << "Data size: " << size;
    if (qint64(size) > bytesLeft()) {
        qCDebug(lcRecording) << "Wav-File Read Error";
        // A copy cut short, or a header never finished: the user learns what
        // the chunk claims and what is there.
        dataHeld = bytesLeft();
        noteCutChunk(cutChunkText(size));
        fail(QStringLiteral("WAV file read error in DATA chunk. ") + stopDetail);
        return false;
    }
    if (headerOnly) {
        f.seek(f.pos() + size);
        dataWhole = true;
        return true;
    }
    dataOffset = 0;
    const bool usable = fmtFound && compressionCode == 1
                        && (bitsPerSample == 8 || bitsPerSample == 16 || bitsPerSample == 24 || bitsPerSample == 32);
    if (!usable) {
        qCDebug(lcRecording) << "data format problem \n rawbinary data: " << dataFound << " \n format: " << fmtFound
                             << " \n compression code : " << compressionCode << "\nBits per sample: " << bitsPerSample
                             << "\n";
        fail(QStringLiteral("Data format not supported."));
        return false;
    }
    const size_t frameBytes = size_t(numberOfChannels) * size_t(bytesPerSample);
    const size_t count = size / frameBytes;
    const size_t used = count * frameBytes;
    if (quint64(count) > maxRecordingSamples) {
        qCDebug(lcRecording) << "Data chunk of" << count << "samples: too many to hold";
        fail(tooManySamplesText(count));
        return false;
    }
    if (count > 0) {
        samples.reserve(count);
        adviseLargePages(samples.data(), count * sizeof(int));
        samples.resize(count);
        // The raw bytes go into the tail of the sample storage and are decoded
        // forward in place: no second buffer, one pass over the data.
        auto *storage = reinterpret_cast<unsigned char *>(samples.data());
        unsigned char *raw = storage + count * sizeof(int) - used;
        if (f.read(reinterpret_cast<char *>(raw), qint64(used)) != qint64(used)) {
            qCDebug(lcRecording) << "Wav-File Read Error";
            std::vector<int>().swap(samples);
            fail(QStringLiteral("WAV file read error in DATA chunk."));
            return false;
        }
        decodeSamples(raw, samples.data(), count, bytesPerSample);
    }
    // An incomplete last frame is not decoded; step over it so the walk goes on at the chunk's end.
    if (used < size)
        f.seek(f.pos() + qint64(size - used));
    dataWhole = true;
    valid = true;
    return true;
}

bool WavFile::readTimeChunk(quint32 size)
{
    qCDebug(lcRecording) << "Found TIME chunk";
    QByteArray chunk;
    if (!readMetadataChunk(time, size, timeReadBytes, "more then 1 time chunks. not supported. \n",
                           "Not more than one TIME chunk supported.",
                           QStringLiteral("WAV file read error in TIME chunk."), chunk))
        return false;
    time.char1 = fieldInside(chunk, 0, 4);
    time.number1 = int32Inside(chunk, 4);
    time.recDate = fieldInside(chunk, 8, 8);
    time.Date = fieldInside(chunk, 17, 8);
    time.char2 = fieldInside(chunk, 28, 4);
    time.number2 = int32Inside(chunk, 32);
    time.secDate = fieldInside(chunk, 36, 8);
    time.secTime = fieldInside(chunk, 45, 8);
    if (chunk.size() > 56)
        time.char3 = fieldInside(chunk, 56, chunk.size() - 56);
    // Stored "MM/dd/yy"; the rest of the program reads "dd/MM/yy".
    const QDate recorded = parseTwoDigitYearDate(time.recDate, true);
    time.recDate = recorded.isValid() ? recorded.toString(QStringLiteral("dd/MM/yy")) : QString();
    return true;
}

bool WavFile::readBextChunk(quint32 size)
{
    qCDebug(lcRecording) << "Found bext chunk";
    QByteArray chunk;
    if (!readMetadataChunk(bext, size, bextReadBytes, "more then 1 bext chunk. not supported. \n",
                           "Not more than one BEXT chunk supported.",
                           QStringLiteral("WAV file read error in BEXT chunk."), chunk))
        return false;
    bext.description = fieldInside(chunk, 0, 256);
    bext.originator = fieldInside(chunk, 256, 32);
    bext.reference = fieldInside(chunk, 288, 32);
    bext.date = fieldInside(chunk, 320, 10);
    bext.time = fieldInside(chunk, 330, 8);
    if (chunk.size() > 602)
        bext.codingHist = fieldInside(chunk, 602, chunk.size() - 602);
    return true;
}

bool WavFile::readSplChunk(quint32 size)
{
    qCDebug(lcRecording) << "Found SPL chunk";
    QByteArray chunk;
    if (!readMetadataChunk(spl, size, splReadBytes, "more then 1 SPL chunk. not supported. \n",
                           "Not more than one SPL chunk supported.", QString(), chunk))
        return false;
    spl.value = readFixedString(chunk, 0, 8).trimmed();
    qCDebug(lcRecording) << "SPL value: " << spl.value;
    return true;
}

bool WavFile::readWamdChunk(quint32 size)
{
    qCDebug(lcRecording) << "Found wamd chunk";
    QByteArray chunk;
    if (!readMetadataChunk(wamd, size, wamdReadBytes, "more then 1 wamd chunk. not supported. \n",
                           "Not more than one WAMD chunk supported.",
                           QStringLiteral("WAV file read error in WAMD chunk."), chunk))
        return false;
    // The fixed offsets fit one length of the recorder's model name only: they are the last resort.
    if (!readWamdTimeStamp(chunk, wamd.date, wamd.time)) {
        wamd.date = fieldInside(chunk, 67, 10);
        wamd.time = fieldInside(chunk, 78, 8);
    }
    qCDebug(lcRecording) << "wamd.date: " << wamd.date << "wamd.time: " << wamd.time;
    return true;
}

bool WavFile::readGuanoChunk(quint32 size)
{
    qCDebug(lcRecording) << "Found guano chunk";
    QByteArray chunk;
    if (!readMetadataChunk(guano, size, guanoReadBytes, "more then 1 guano chunk. not supported. \n",
                           "Not more than one GUANO chunk supported.",
                           QStringLiteral("WAV file read error in GUANO chunk."), chunk))
        return false;
    // A chunk cut at the bound ends in part of a line: its value would be cut too.
    if (size > guanoReadBytes)
        chunk.truncate(chunk.lastIndexOf('\n') + 1);
    const QStringList lines = readFixedString(chunk, 0, chunk.size()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.isEmpty())
            continue;
        const int colon = line.indexOf(QLatin1Char(':'));
        if (colon < 0)
            continue;
        // GUANO writes "Key: Value"; untrimmed, the blank would spoil every number and date.
        storeGuanoValue(guano, line.left(colon).trimmed(), line.mid(colon + 1).trimmed());
    }
    return true;
}

bool WavFile::skipUnknownChunk(quint32 size)
{
    qCDebug(lcRecording) << "Unknown Chunk. Throw warning";
    if (qint64(size) > bytesLeft()) {
        qCDebug(lcRecording) << "Wav-File Read Error";
        stopAtCutChunk(QString(), cutChunkText(size));
        return false;
    }
    file->seek(file->pos() + size);
    return true;
}

quint32 WavFile::frameCount() const
{
    if (numberOfChannels <= 0 || bytesPerSample <= 0 || dataSize == 0)
        return 0;
    return quint32(quint64(dataSize) / (quint64(numberOfChannels) * quint64(bytesPerSample)));
}

QDateTime WavFile::recordingDateTime() const
{
    if (!time.recDate.isEmpty() && !time.Date.isEmpty()) {
        const QDateTime t = wallClockDateTime(parseTwoDigitYearDate(time.recDate, false),
                                              QTime::fromString(time.Date, QStringLiteral("HH:mm:ss")));
        if (t.isValid())
            return t;
    }
    if (!wamd.date.isEmpty()) {
        const QDateTime t = wallClockDateTime(QDate::fromString(wamd.date, QStringLiteral("yyyy-MM-dd")),
                                              QTime::fromString(wamd.time, QStringLiteral("HH:mm:ss")));
        if (t.isValid())
            return t;
    }
    if (guano.timestamp.isValid())
        return guano.timestamp;
    return QDateTime();
}

QString WavFile::notReadToEndText() const
{
    QString why = QStringLiteral("The recording cannot be read to its end.");
    if (!errorText.isEmpty())
        why += QLatin1Char('\n') + errorText;
    // A chunk running past the end leaves no error text of its own, and the
    // user would not learn which chunk it is; some error texts hold the stop already.
    if (!stopDetail.isEmpty() && !errorText.contains(stopDetail))
        why += QLatin1Char('\n') + stopDetail;
    return why;
}

bool WavFile::writeBextDescription(const QString &fileName, const QString &text, QString *failure) const
{
    static QMutex oneWriteAtATime;
    const QMutexLocker locked(&oneWriteAtATime);
    if (failure)
        failure->clear();
    QFile target(fileName);
    // ExistingOnly: a recording that has gone away must not come back as an empty file.
    if (!target.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered)) {
        // One line per recording of a folder: it must say which.
        qCWarning(lcRecording).noquote() << QStringLiteral("Cannot open Wav file to write description in bext chunk: ")
                                                + fileName + QStringLiteral(" (") + target.errorString()
                                                + QLatin1Char(')');
        if (failure)
            *failure = target.errorString();
        return false;
    }
    // A chunk the reader refuses (a format it does not decode, a repeated or cut
    // chunk) stops its walk, and nothing behind the stop is ever read: a chunk
    // appended there would be lost to the program, a description written in
    // place would replace classes the user was never shown. Only a cut append
    // of the writer's own at the end is let through: the writer drops it.
    WavFile header;
    header.open(fileName, true);
    if (!header.walkedToEnd && !(header.cutChunkAt >= 0 && isCutAppendAt(target, header.cutChunkAt))) {
        const QString why = header.notReadToEndText();
        qCWarning(lcRecording).noquote()
            << QStringLiteral("WAV file not readable to its end, no description written in bext chunk: ") + fileName
                   + QStringLiteral(" (") + QString(why).replace(QLatin1Char('\n'), QLatin1Char(' '))
                   + QLatin1Char(')');
        if (failure)
            *failure = why;
        return false;
    }
    return writeBextDescriptionToFile(target, text, failure);
}
