// Speed of the recording readers and the bext writer:
//  1. header-only reads of a folder of 10,000 small WAV files, with the bytes
//     the process read, to show that the data chunks are stepped over;
//  2. a full decode of 60 s at 500 kHz, 16 bit, against reading the same bytes;
//  3. a bext write into a 100 MB file against one into a 1 MB file.
#include "benchutil.h"
#include "recording/wavfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

QByteArray le16(quint16 v)
{
    return QByteArray(1, char(v & 0xff)) + char(v >> 8);
}
QByteArray le32(quint32 v)
{
    return le16(quint16(v & 0xffff)) + le16(quint16(v >> 16));
}

// A mono 16-bit file: fmt, data of dataBytes, optionally a bext chunk after the data.
QByteArray wavBytes(quint32 rate, qint64 dataBytes, bool withBext)
{
    QByteArray body = "WAVE";
    body += "fmt " + le32(16) + le16(1) + le16(1) + le32(rate) + le32(rate * 2) + le16(2) + le16(16);
    body += "data" + le32(quint32(dataBytes));
    QByteArray data(int(dataBytes), '\0');
    for (qint64 i = 0; i + 1 < dataBytes; i += 2) {
        const quint16 s = quint16((i * 7919) & 0xffff);
        data[int(i)] = char(s & 0xff);
        data[int(i + 1)] = char(s >> 8);
    }
    body += data;
    if (withBext)
        body += "bext" + le32(858) + QByteArray(858, '\0');
    return "RIFF" + le32(quint32(body.size())) + body;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Bytes this process has read through read() calls so far (page cache included).
long long bytesReadSoFar()
{
    std::ifstream in("/proc/self/io");
    std::string key;
    long long value = 0;
    while (in >> key >> value) {
        if (key == "rchar:")
            return value;
    }
    return -1;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void headerOnlyFolder(const QString &root)
{
    const int files = 10000;
    const qint64 dataBytes = 20000; // 0.04 s at 250 kHz
    const QString dir = root + QStringLiteral("/folder");
    QDir().mkpath(dir);
    const QByteArray bytes = wavBytes(250000, dataBytes, true);
    QStringList names;
    for (int i = 0; i < files; ++i) {
        names << dir + QStringLiteral("/rec%1.wav").arg(i, 5, 10, QLatin1Char('0'));
        writeBytes(names.last(), bytes);
    }
    // One warm-up pass so that both runs meet the same page cache.
    for (const QString &n : names) {
        WavFile w;
        w.open(n, true);
    }
    const long long readBefore = bytesReadSoFar();
    const double t0 = benchutil::nowSeconds();
    int ok = 0;
    for (const QString &n : names) {
        WavFile w;
        w.open(n, true);
        ok += (w.dataSize == quint32(dataBytes) && w.bext.found) ? 1 : 0;
    }
    const double seconds = benchutil::nowSeconds() - t0;
    const long long read = bytesReadSoFar() - readBefore;
    std::printf("header-only reads: %d files of %d bytes, %d read correctly\n", files, int(bytes.size()), ok);
    std::printf("  %.0f files/s (%.1f us per file)\n", files / seconds, 1e6 * seconds / files);
    std::printf("  bytes read: %lld in all, %.0f per file, against %d data bytes per file\n", read,
                double(read) / files, int(dataBytes));
}

void fullDecode(const QString &root)
{
    const qint64 dataBytes = 60LL * 500000 * 2;
    const QString path = root + QStringLiteral("/long.wav");
    writeBytes(path, wavBytes(500000, dataBytes, false));

    std::vector<double> readTimes;
    std::vector<double> decodeTimes;
    for (int round = 0; round < 7; ++round) {
        {
            const double t0 = benchutil::nowSeconds();
            QFile f(path);
            f.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
            f.seek(44);
            QByteArray buffer(int(dataBytes), Qt::Uninitialized);
            const qint64 got = f.read(buffer.data(), dataBytes);
            readTimes.push_back(benchutil::nowSeconds() - t0);
            if (got != dataBytes)
                std::printf("  short read of the yardstick\n");
        }
        {
            const double t0 = benchutil::nowSeconds();
            WavFile w;
            w.open(path, false);
            decodeTimes.push_back(benchutil::nowSeconds() - t0);
            if (!w.valid || w.samples.size() != size_t(dataBytes / 2))
                std::printf("  decode failed: %s\n", qPrintable(w.errorText));
        }
    }
    const double r = median(readTimes);
    const double d = median(decodeTimes);
    std::printf("full decode of 60 s, 500 kHz, 16 bit (%lld data bytes), median of 7:\n", dataBytes);
    std::printf("  read into memory %.1f ms, full WavFile read %.1f ms, ratio %.2f (target <= 1.5)\n", 1e3 * r, 1e3 * d,
                d / r);
}

void settleOnDisk(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        ::fsync(file.handle());
}

void bextWrites(const QString &root)
{
    const int rounds = 200;
    for (qint64 megabytes : {1, 100}) {
        const qint64 dataBytes = megabytes * 1000 * 1000;
        const QString inPlace = root + QStringLiteral("/inplace%1.wav").arg(megabytes);
        const QString append = root + QStringLiteral("/append%1.wav").arg(megabytes);
        writeBytes(inPlace, wavBytes(500000, dataBytes, true));
        const QByteArray plain = wavBytes(500000, dataBytes, false);
        WavFile writer;
        double inPlaceSeconds = 0;
        double appendSeconds = 0;
        for (int i = 0; i < rounds; ++i) {
            const QString text = QStringLiteral("Nyc + Pip|Pip|1|round %1").arg(i);
            double t0 = benchutil::nowSeconds();
            writer.writeBextDescription(inPlace, text);
            inPlaceSeconds += benchutil::nowSeconds() - t0;
            if (i % 20 == 0) {
                // Appending changes the file, so it is timed on fresh copies, fewer times.
                writeBytes(append, plain);
                // A recording on disk has no unwritten pages: the append's own sync
                // should flush the appended chunk, not the copy just made.
                settleOnDisk(append);
                t0 = benchutil::nowSeconds();
                writer.writeBextDescription(append, text);
                appendSeconds += benchutil::nowSeconds() - t0;
            }
        }
        std::printf("bext write into a %lld MB file: in place (bext after the data) %.1f us, append %.1f us\n",
                    megabytes, 1e6 * inPlaceSeconds / rounds, 1e6 * appendSeconds / (rounds / 20));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    headerOnlyFolder(dir.path());
    fullDecode(dir.path());
    bextWrites(dir.path());
    std::printf("peak RSS %.1f MB\n", benchutil::peakRssBytes() / 1e6);
    return 0;
}
