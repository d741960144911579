#include "wavwriter.h"

#include <QFile>

namespace testsupport {

WavWriter &WavWriter::chunk(const QByteArray &id, const QByteArray &payload, bool padOddSize, qint64 declaredSize)
{
    chunks.append(Chunk{id, payload, padOddSize, declaredSize});
    return *this;
}

WavWriter &WavWriter::fmt(quint32 sampleRate, quint16 bitsPerSample, quint16 channels, quint16 formatTag, int fmtSize,
                          qint64 byteRate, int blockAlign)
{
    const int align = blockAlign >= 0 ? blockAlign : channels * ((bitsPerSample + 7) / 8);
    const quint32 rate = byteRate >= 0 ? quint32(byteRate) : sampleRate * quint32(align);
    QByteArray p;
    p += le16(formatTag);
    p += le16(channels);
    p += le32(sampleRate);
    p += le32(rate);
    p += le16(quint16(align));
    p += le16(bitsPerSample);
    if (fmtSize < p.size())
        p.truncate(fmtSize);
    else
        p += QByteArray(fmtSize - p.size(), '\0');
    return chunk("fmt ", p);
}

WavWriter &WavWriter::data(const QVector<int> &samples, int bitsPerSample)
{
    return chunk("data", pack(samples, bitsPerSample));
}

WavWriter &WavWriter::bext(const QByteArray &description, const QByteArray &codingHistory, int fixedPartSize)
{
    QByteArray p = field(description, 256);
    if (fixedPartSize > 256)
        p += QByteArray(fixedPartSize - 256, '\0');
    else
        p.truncate(fixedPartSize);
    p += codingHistory;
    return chunk("bext", p);
}

WavWriter &WavWriter::riffSize(qint64 size)
{
    m_riffSize = size;
    return *this;
}

WavWriter &WavWriter::magic(const QByteArray &riff, const QByteArray &wave)
{
    m_riff = riff;
    m_wave = wave;
    return *this;
}

QByteArray WavWriter::bytes() const
{
    QByteArray body = field(m_wave, 4);
    for (const Chunk &c : chunks) {
        body += field(c.id.leftJustified(4, ' ', true), 4);
        body += le32(quint32(c.declaredSize >= 0 ? c.declaredSize : c.payload.size()));
        body += c.payload;
        if (c.padOddSize && (c.payload.size() % 2) == 1)
            body += '\0';
    }
    QByteArray out = field(m_riff, 4);
    out += le32(quint32(m_riffSize >= 0 ? m_riffSize : body.size()));
    out += body;
    return out;
}

bool WavWriter::write(const QString &path) const
{
    return writeFile(path, bytes());
}

QByteArray WavWriter::pack(const QVector<int> &samples, int bitsPerSample)
{
    QByteArray out;
    const int bytesPer = (bitsPerSample + 7) / 8;
    out.reserve(samples.size() * bytesPer);
    for (int s : samples) {
        quint32 v = bitsPerSample == 8 ? quint32(s + 128) : quint32(s);
        for (int b = 0; b < bytesPer; ++b)
            out += char((v >> (8 * b)) & 0xff);
    }
    return out;
}

QByteArray WavWriter::le16(quint16 v)
{
    QByteArray b(2, '\0');
    b[0] = char(v & 0xff);
    b[1] = char(v >> 8);
    return b;
}

QByteArray WavWriter::le32(quint32 v)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xff);
    return b;
}

QByteArray WavWriter::field(const QByteArray &text, int n)
{
    QByteArray f = text.left(n);
    if (f.size() < n)
        f += QByteArray(n - f.size(), '\0');
    return f;
}

QByteArray simplePcmWav(const QVector<int> &samples, quint32 sampleRate, int bitsPerSample)
{
    WavWriter w;
    w.fmt(sampleRate, quint16(bitsPerSample)).data(samples, bitsPerSample);
    return w.bytes();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

QByteArray timePayload(const QByteArray &recDate, const QByteArray &timeOfDay, const QByteArray &char3, qint32 number1,
                       qint32 number2)
{
    QByteArray p;
    p += WavWriter::field("TIME", 4);
    p += WavWriter::le32(quint32(number1));
    p += WavWriter::field(recDate, 8);
    p += '\0';
    p += WavWriter::field(timeOfDay, 8);
    p += QByteArray(3, '\0');
    p += WavWriter::field("SEC ", 4);
    p += WavWriter::le32(quint32(number2));
    p += WavWriter::field(recDate, 8);
    p += '\0';
    p += WavWriter::field(timeOfDay, 8);
    p += QByteArray(3, '\0');
    p += char3;
    return p;
}

QByteArray wamdPayload(const QByteArray &date, const QByteArray &timeOfDay)
{
    QByteArray p(67, 'w');
    p += WavWriter::field(date, 10);
    p += ' ';
    p += WavWriter::field(timeOfDay, 8);
    return p;
}

QByteArray guanoPayload(const QStringList &lines)
{
    return lines.join(QLatin1Char('\n')).toUtf8();
}

} // namespace testsupport
