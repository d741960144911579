#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

namespace testsupport {

// Builds RIFF/WAVE files byte by byte for fixtures: chunks in any order, odd
// sizes with or without their pad byte, size fields that lie, any fmt fields.
// Nothing here is "correct by default" beyond what each call says, so a test
// can make exactly the broken file it needs.
class WavWriter
{
public:
    struct Chunk {
        QByteArray id; // exactly 4 bytes are written (padded with blanks, or cut)
        QByteArray payload;
        bool padOddSize = true;   // write the RIFF pad byte after an odd payload
        qint64 declaredSize = -1; // size field written instead of payload.size() when >= 0
    };

    // Appends a chunk. Returns *this so fixtures read as one expression.
    WavWriter &chunk(const QByteArray &id, const QByteArray &payload, bool padOddSize = true, qint64 declaredSize = -1);

    // A "fmt " chunk of fmtSize bytes (16 for plain PCM); byte rate and block
    // alignment follow from channels and bits unless given.
    WavWriter &fmt(quint32 sampleRate, quint16 bitsPerSample, quint16 channels = 1, quint16 formatTag = 1,
                   int fmtSize = 16, qint64 byteRate = -1, int blockAlign = -1);

    // A "data" chunk of the samples packed at bitsPerSample (8-bit unsigned,
    // 16/24/32-bit signed little-endian).
    WavWriter &data(const QVector<int> &samples, int bitsPerSample);

    // A "bext" chunk: description in the 256-byte field (bytes beyond 256 cut),
    // the rest of the 602-byte fixed part zero, then the coding history.
    WavWriter &bext(const QByteArray &description, const QByteArray &codingHistory = QByteArray(),
                    int fixedPartSize = 602);

    // Overrides the RIFF size field (otherwise file length - 8).
    WavWriter &riffSize(qint64 size);
    // Overrides the "RIFF" / "WAVE" magic words.
    WavWriter &magic(const QByteArray &riff, const QByteArray &wave);

    QByteArray bytes() const;
    bool write(const QString &path) const;

    static QByteArray pack(const QVector<int> &samples, int bitsPerSample);
    static QByteArray le16(quint16 v);
    static QByteArray le32(quint32 v);
    // A text field of exactly n bytes, zero-filled (or cut).
    static QByteArray field(const QByteArray &text, int n);

    QVector<Chunk> chunks;

private:
    qint64 m_riffSize = -1;
    QByteArray m_riff = "RIFF";
    QByteArray m_wave = "WAVE";
};

// A plain 16-bit mono PCM file of the given samples.
QByteArray simplePcmWav(const QVector<int> &samples, quint32 sampleRate, int bitsPerSample = 16);

bool writeFile(const QString &path, const QByteArray &bytes);

// Payloads of the recorders' metadata chunks, laid out field by field.
// A "TIME" payload of 56 bytes (plus char3): recDate "MM/dd/yy" as the
// recorder stores it, timeOfDay "HH:mm:ss".
QByteArray timePayload(const QByteArray &recDate, const QByteArray &timeOfDay, const QByteArray &char3 = QByteArray(),
                       qint32 number1 = 0, qint32 number2 = 0);
// A "wamd" payload of 86 bytes: date "yyyy-MM-dd" at offset 67, time "HH:mm:ss" at 78.
QByteArray wamdPayload(const QByteArray &date, const QByteArray &timeOfDay);
// A "guan" payload: the lines joined by "\n", UTF-8.
QByteArray guanoPayload(const QStringList &lines);
QByteArray readFile(const QString &path);

} // namespace testsupport
