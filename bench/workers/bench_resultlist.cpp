// The recorder's result list read into its index: peak memory and time for
//  1. 50 MB of empty lines (a list padded or damaged by another tool),
//  2. 50 MB of lines that name no recording (notes, a log pasted in),
//  3. 50 MB of result lines of the recorder's kind, each naming its recording,
// then 100,000 look-ups in the third list. --megabytes=N chooses another size.
//
// RelWithDebInfo, 8 cores shared with other builds; peak above the resident size before the reading:
//                        before (every line kept)       after (only the lines naming a .wav)
//   50 MB:
//   empty lines             2.94 GB, 7.4 s                 0.00 GB, 2.9 s
//   lines without a .wav    0.16 GB, 0.2 s                 0.00 GB, 0.2 s
//   result lines            0.25 GB, 0.6 s                 0.13 GB, 0.3 s
//   490 MB:
//   empty lines             about 28 GB (not run here)     0.00 GB, 28 s
//   result lines                                           1.25 GB, 3.0 s
#include "analysis/boundedlinereader.h"
#include "analysis/recorderresultlookup.h"
#include "benchutil.h"

#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <cstdio>
#include <malloc.h>

namespace {

// A file of about `bytes` bytes made of `line` repeated, its number put in place of "%1".
bool writeList(const QString &path, qint64 bytes, const QByteArray &line)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray block;
    qint64 written = 0;
    for (qint64 n = 0; written < bytes; ++n) {
        block += line.contains("%1") ? QByteArray(line).replace("%1", QByteArray::number(n)) : line;
        if (block.size() >= (1 << 20) || written + block.size() >= bytes) {
            if (f.write(block) != block.size())
                return false;
            written += block.size();
            block.clear();
        }
    }
    return true;
}

void measure(const char *what, const QString &path, qint64 lookups)
{
    // What the last reading freed goes back to the system: else this one would reuse it unseen.
    malloc_trim(0);
    const long long before = benchutil::rssBytes();
    benchutil::resetPeakRss();
    const double t0 = benchutil::nowSeconds();
    RecorderResultIndex index;
    const bool read = index.read(path);
    const double seconds = benchutil::nowSeconds() - t0;
    const long long peak = benchutil::peakRssBytes() - before;
    qint64 found = 0;
    const double t1 = benchutil::nowSeconds();
    for (qint64 n = 0; n < lookups; ++n)
        found += index.proposal(QStringLiteral("/card/night/rec_%1.wav").arg(n), 0).isEmpty() ? 0 : 1;
    const double lookupSeconds = benchutil::nowSeconds() - t1;
    std::printf("%-24s %s, peak %.3f GB above %.3f GB, read in %.2f s", what, read ? "read" : "refused",
                double(peak) / 1e9, double(before) / 1e9, seconds);
    if (lookups > 0)
        std::printf("; %lld look-ups in %.2f s, %lld found", lookups, lookupSeconds, found);
    std::printf("\n");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    qint64 megabytes = 50;
    for (const QString &arg : app.arguments().mid(1)) {
        if (arg.startsWith(QLatin1String("--megabytes=")))
            megabytes = arg.mid(12).toLongLong();
    }
    const qint64 bytes = qMin(megabytes << 20, BoundedLineReader::maxFileBytes);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const QString path = dir.filePath(QStringLiteral("calls_ch1_files.txt"));

    if (!writeList(path, bytes, "\n"))
        return 1;
    measure("empty lines", path, 0);
    if (!writeList(path, bytes, "22:14:03\tnote %1\tno recording named here\n"))
        return 1;
    measure("lines without a .wav", path, 0);
    const QByteArray result = "rec_%1.wav\t2024-06-01\t22:14:03\tbat\tPipistrelloid\t0.98\tNyctaloid\t0.5\t"
                              "Ppip\t0.91\tNnoc\t0.4\tPnat\n";
    if (!writeList(path, bytes, result))
        return 1;
    const qint64 lines = bytes / (result.size() + 4);
    measure("result lines", path, qMin<qint64>(lines, 100000));
    return 0;
}
