#include "recording/bextdescriptionwriter.h"
#include "recording/wavfile.h"

#include "fixturefolder.h"
#include "testregistry.h"
#include "wavwriter.h"

#include <QRandomGenerator>
#include <QTest>

#include <atomic>
#include <cstdlib>

using testsupport::WavWriter;

// Allocation probe: records the largest single request while a read runs, so
// that a size field that asks for more than the file holds is caught even when
// the read then fails cleanly. AddressSanitizer brings its own allocator, so the
// probe stays out of sanitizer builds. GCC tells of AddressSanitizer by a
// macro, Clang only through __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define QUILLON_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLON_ADDRESS_SANITIZER 1
#endif
#endif
#if !defined(QUILLON_ADDRESS_SANITIZER)
#define QUILLON_ALLOCATION_PROBE 1
namespace {
std::atomic<bool> probing{false};
std::atomic<size_t> largestRequest{0};
void noteRequest(size_t n)
{
    if (!probing.load(std::memory_order_relaxed))
        return;
    size_t seen = largestRequest.load(std::memory_order_relaxed);
    while (n > seen && !largestRequest.compare_exchange_weak(seen, n)) {
    }
}
} // namespace
extern "C" void *__libc_malloc(size_t);
extern "C" void *__libc_realloc(void *, size_t);
extern "C" void *malloc(size_t n)
{
    noteRequest(n);
    return __libc_malloc(n);
}
extern "C" void *realloc(void *p, size_t n)
{
    noteRequest(n);
    return __libc_realloc(p, n);
}
#endif

namespace {

struct ProbeWindow {
    ProbeWindow()
    {
#ifdef QUILLON_ALLOCATION_PROBE
        largestRequest = 0;
        probing = true;
#endif
    }
    ~ProbeWindow()
    {
#ifdef QUILLON_ALLOCATION_PROBE
        probing = false;
#endif
    }
    size_t largest() const
    {
#ifdef QUILLON_ALLOCATION_PROBE
        return largestRequest;
#else
        return 0;
#endif
    }
};

// Offsets of every chunk header of a well-formed file, found by walking it.
QVector<int> chunkHeaders(const QByteArray &b)
{
    QVector<int> at;
    int p = 12;
    while (p + 8 <= b.size()) {
        at << p;
        const quint32 size = le32At(b, p + 4);
        p += 8 + int(size) + int(size % 2);
    }
    return at;
}

void putLe32(QByteArray &b, int at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xff);
}

} // namespace

class TestWavFuzz : public QObject
{
    Q_OBJECT

private:
    FixtureFolder m_files;
    QVector<QByteArray> m_bases;
    bool m_probeWorks = false;

    QByteArray mutate(QRandomGenerator &rng, const QByteArray &base)
    {
        QByteArray b = base;
        const QVector<int> headers = chunkHeaders(base);
        const int kind = rng.bounded(5);
        if (kind == 0 || kind == 4) {
            // A size field rewritten: RIFF's own or one chunk's.
            const int at = rng.bounded(headers.size() + 1) == 0 ? 4 : headers[rng.bounded(headers.size())] + 4;
            const quint32 choices[] = {rng.generate(),
                                       quint32(b.size() - at + rng.bounded(-8, 9)),
                                       0u,
                                       0xffffffffu,
                                       0x7fffffffu,
                                       quint32(rng.bounded(1, 700)),
                                       0x80000000u};
            putLe32(b, at, choices[rng.bounded(int(sizeof choices / sizeof choices[0]))]);
        }
        if (kind == 1 || kind == 4)
            b.truncate(rng.bounded(b.size() + 1));
        if (kind == 2) {
            const int flips = rng.bounded(1, 5);
            for (int i = 0; i < flips && !b.isEmpty(); ++i)
                b[rng.bounded(b.size())] = char(rng.bounded(256));
        }
        if (kind == 3 && !headers.isEmpty()) {
            // A chunk id swapped for another understood one, so chunks repeat or misread.
            static const char *const ids[] = {"fmt ", "data", "TIME", "bext", "SPL ", "wamd", "guan", "LIST"};
            const int at = headers[rng.bounded(headers.size())];
            b.replace(at, 4, ids[rng.bounded(8)]);
        }
        return b;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_files.isValid());

        QVector<int> tone;
        for (int i = 0; i < 300; ++i)
            tone << (i * 211) % 60000 - 30000;
        WavWriter rich;
        rich.fmt(384000, 16)
            .chunk("TIME", testsupport::timePayload("05/03/21", "21:14:05", "tail"))
            .bext("Nyc + Pip|Pip|1|comment", "A=PCM,F=384000,W=16,M=mono")
            .chunk("SPL ", "  -20.0 ")
            .chunk("wamd", testsupport::wamdPayload("2021-05-03", "21:14:05"))
            .chunk("guan", testsupport::guanoPayload({"GUANO|Version: 1.0", "Samplerate: 384000",
                                                      "Timestamp: 2021-05-03T21:14:05+02:00", "Humidity: 81.5"}))
            .chunk("junk", "odd")
            .data(tone, 16);
        m_bases << rich.bytes();
        m_bases << WavWriter().fmt(96000, 24).chunk("LIST", QByteArray(40, 'l')).data(tone, 24).bytes();
        m_bases << WavWriter().fmt(8000, 8).chunk("data", QByteArray(301, '\x80'), false).bytes();
        m_bases << WavWriter().data(tone.mid(0, 20), 32).chunk("bext", "short").fmt(8000, 32).bytes();

#ifdef QUILLON_ALLOCATION_PROBE
        {
            ProbeWindow window;
            QByteArray big(1 << 20, 'x');
            m_probeWorks = window.largest() >= size_t(1 << 20);
        }
        if (!m_probeWorks)
            qWarning("allocation probe not active: allocation sizes are not checked");
#endif
    }

    // Size fields far beyond the file: each chunk kind must fail (or step over)
    // without first allocating what its size field asks for.
    void hugeSizeFields_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray ids[] = {"data", "TIME", "bext", "SPL ", "wamd", "guan", "LIST"};
        for (const QByteArray &id : ids) {
            for (quint32 size : {0x7ffffff0u, 0xfffffff0u}) {
                WavWriter w;
                w.fmt(8000, 8).chunk(id, QByteArray(700, 'x'), true, size);
                QTest::newRow(qPrintable(QStringLiteral("%1 of %2 bytes").arg(QString::fromLatin1(id)).arg(size)))
                    << w.bytes();
            }
        }
    }

    void hugeSizeFields()
    {
        QFETCH(QByteArray, bytes);
        const QString path = m_files.filePath(QStringLiteral("huge.wav"));
        QVERIFY(testsupport::writeFile(path, bytes));
        for (bool headerOnly : {false, true}) {
            WavFile wav;
            ProbeWindow window;
            wav.open(path, headerOnly);
            QVERIFY(!wav.valid);
            // Without the probe (sanitizer builds) the sanitizer itself watches the reads.
            if (m_probeWorks)
                QVERIFY2(window.largest() <= size_t(bytes.size()) + 65536,
                         qPrintable(QString::number(window.largest())));
        }
    }

    void mangledFiles()
    {
        QRandomGenerator rng(20261207);
        const QString path = m_files.filePath(QStringLiteral("fuzz.wav"));
        const QString text = QStringLiteral("Nyc + Pip|Pip|0|Fledermäuse");
        for (int round = 0; round < 3000; ++round) {
            const QByteArray bytes = mutate(rng, m_bases[rng.bounded(m_bases.size())]);
            QVERIFY(testsupport::writeFile(path, bytes));
            const size_t fileSize = size_t(bytes.size());
            const QByteArray caseName = "round " + QByteArray::number(round) + ": " + bytes.left(64).toHex();

            for (bool headerOnly : {false, true}) {
                WavFile wav;
                size_t largest = 0;
                {
                    ProbeWindow window;
                    wav.open(path, headerOnly);
                    largest = window.largest();
                }
                // Samples are 4 bytes for each byte of an 8-bit file at most; the rest is bookkeeping.
                if (m_probeWorks)
                    QVERIFY2(largest <= 4 * fileSize + 65536, caseName.constData());
                QVERIFY2(!wav.file, caseName.constData());
                QVERIFY2(wav.samples.size() * size_t(std::max(1, wav.bytesPerSample)) <= fileSize,
                         caseName.constData());
                QVERIFY2(size_t(wav.bext.description.size() + wav.bext.codingHist.size() + wav.time.char3.size())
                             <= fileSize,
                         caseName.constData());
                if (headerOnly) {
                    QVERIFY2(!wav.valid && wav.samples.empty(), caseName.constData());
                } else if (wav.valid) {
                    QVERIFY2(wav.dataFound && wav.fmtFound, caseName.constData());
                    QVERIFY2(wav.samples.size() == wav.dataSize / quint32(wav.bytesPerSample), caseName.constData());
                }
            }

            bool written = false;
            {
                ProbeWindow window;
                written = WavFile().writeBextDescription(path, text);
                if (m_probeWorks)
                    QVERIFY2(window.largest() <= fileSize + 65536, caseName.constData());
            }
            const QByteArray after = testsupport::readFile(path);
            if (!written) {
                QVERIFY2(after == bytes, caseName.constData());
                continue;
            }
            const QByteArray utf8 = text.toUtf8();
            const QByteArray field = utf8 + QByteArray(256 - utf8.size(), '\0');
            if (after.size() == bytes.size()) {
                // In place: some 256-byte window now holds the field, and every byte
                // outside that window is as it was.
                int first = 0;
                while (first < after.size() && after[first] == bytes[first])
                    ++first;
                int last = after.size() - 1;
                while (last >= 0 && after[last] == bytes[last])
                    --last;
                bool fieldFound = false;
                for (int at = std::max(0, last - 255); at <= first && at + 256 <= after.size(); ++at)
                    fieldFound = fieldFound || after.mid(at, 256) == field;
                QVERIFY2(fieldFound, caseName.constData());
            } else {
                // The old bytes stay, less the start of a cut append of the
                // writer's own at the end, which is dropped; a pad byte evens an odd end.
                const QByteArray header("bext\x5a\x03\x00\x00", 8);
                const int start = after.size() - 866;
                const int kept = std::min(start, bytes.size());
                const int pad = start - kept;
                const QByteArray dropped = bytes.mid(kept);
                QVERIFY2(pad == 0 || (pad == 1 && bytes.size() % 2 == 1), caseName.constData());
                QVERIFY2(dropped.isEmpty() || (dropped.size() < 866 && header.startsWith(dropped.left(8))),
                         caseName.constData());
                QVERIFY2(after.left(4) == bytes.left(4) && after.mid(8, kept - 8) == bytes.mid(8, kept - 8),
                         caseName.constData());
                QVERIFY2(le32At(after, 4) == quint32(after.size() - 8), caseName.constData());
                QVERIFY2(after.mid(kept, pad) == QByteArray(pad, '\0'), caseName.constData());
                QVERIFY2(after.right(866)
                             == QByteArray("bext\x5a\x03\x00\x00", 8) + field + QByteArray(858 - 256, '\0'),
                         caseName.constData());
            }
        }
    }
};

QUILLON_TEST(TestWavFuzz)
#include "tst_wavfuzz.moc"
