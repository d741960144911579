#include "analysis/automaticclassification.h"
#include "analysis/calcspectrogramthread.h"
#include "recording/wavfile.h"
#include "sweeprecording.h"
#include "testregistry.h"
#include "wavwriter.h"

#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Line {
    QtMsgType type;
    QByteArray category;
    QString text;
};

QVector<Line> *collected = nullptr;
QtMessageHandler previousHandler = nullptr;

void collect(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    collected->append({type, QByteArray(context.category), text});
}

// Every line any category writes while work runs, whoever writes it.
template <typename Work>
QVector<Line> linesOf(Work work)
{
    QVector<Line> lines;
    collected = &lines;
    previousHandler = qInstallMessageHandler(collect);
    work();
    qInstallMessageHandler(previousHandler);
    collected = nullptr;
    return lines;
}

bool has(const QVector<Line> &lines, const char *category, const QString &start)
{
    return std::any_of(lines.begin(), lines.end(),
                       [&](const Line &l) { return l.category == category && l.text.startsWith(start); });
}

QString describe(const QVector<Line> &lines)
{
    QStringList out;
    for (const Line &l : lines)
        out << QString::fromLatin1(l.category) + ": " + l.text;
    return out.join('\n');
}

} // namespace

class TestDiagnostics : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup() { QLoggingCategory::setFilterRules(QString()); }
    void normalRun_printsNothing();
    void rulesTurnEachSubsystemOn();
    void invalidTransformSize_isAWarning();

private:
    // Reading a recording with chunks the reader skips, its picture and its
    // classification: everything a load does below the window.
    void loadAsTheWindowDoes();
    QTemporaryDir m_dir;
    QString m_path;
};

void TestDiagnostics::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_path = m_dir.filePath(QStringLiteral("chatty.wav"));
    testsupport::WavWriter w;
    w.fmt(sweeprecording::sampleRate, 16).chunk("LIST", "abcd").chunk("junk", QByteArray(10, 'j')).bext("Nyc");
    w.data(sweeprecording::pipistrelleAndNoctule(), 16);
    QVERIFY(w.write(m_path));
}

void TestDiagnostics::loadAsTheWindowDoes()
{
    WavFile wav;
    wav.open(m_path, false);
    QVERIFY(wav.valid);
    const AutomaticClassification::Result r = AutomaticClassification::classify(wav.samples, qint64(wav.samples.size()),
                                                                                int(wav.sampleRate), wav.bitsPerSample);
    QVERIFY(!r.calls.isEmpty());
    calcSpectrogramThread worker;
    worker.process(int(wav.samples.size()), 16, 512, 100.0f, "Hann", 50.0, &wav.samples, int(wav.sampleRate), false);
    // A size that only the variable calculator serves.
    std::vector<int> few(64, 1);
    worker.process(64, 16, 4, 100.0f, "Hann", 0.0, &few, 250000, false);
}

void TestDiagnostics::normalRun_printsNothing()
{
    const QVector<Line> lines = linesOf([this] { loadAsTheWindowDoes(); });
    QVERIFY2(lines.isEmpty(), qPrintable(describe(lines)));
}

void TestDiagnostics::rulesTurnEachSubsystemOn()
{
    // The rule the README gives for QT_LOGGING_RULES.
    QLoggingCategory::setFilterRules(QStringLiteral("quillon.*=true"));
    const QVector<Line> lines = linesOf([this] { loadAsTheWindowDoes(); });
    QVERIFY2(has(lines, "quillon.recording", "Found FMT chunk"), qPrintable(describe(lines)));
    QVERIFY(has(lines, "quillon.recording", "Unknown Chunk. Throw warning"));
    QVERIFY(has(lines, "quillon.analysis", "Number of ffts"));
    QVERIFY(has(lines, "quillon.analysis", "Mittelwert"));
    QVERIFY(has(lines, "quillon.fft", "This size is not a default fixed size"));
    for (const Line &l : lines)
        QVERIFY2(l.category.startsWith("quillon."), qPrintable(l.text));
}

void TestDiagnostics::invalidTransformSize_isAWarning()
{
    // Without a transform the picture stays empty: a normal run says so.
    std::vector<int> samples(64, 1);
    calcSpectrogramThread worker;
    const QVector<Line> lines =
        linesOf([&] { worker.process(64, 16, 6, 100.0f, "Hann", 0.0, &samples, 250000, false); });
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.at(0).type, QtWarningMsg);
    QCOMPARE(lines.at(0).category, QByteArray("quillon.fft"));
}

QUILLON_TEST(TestDiagnostics)
#include "tst_diagnostics.moc"
