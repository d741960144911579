#include "testregistry.h"

#include "display/spectrogramview.h"

#include <QLocale>
#include <QTest>
#include <limits>

namespace {
const double inf = std::numeric_limits<double>::infinity();
const double nan = std::numeric_limits<double>::quiet_NaN();
}

class TestSpectrogramViewRules : public QObject {
    Q_OBJECT
private slots:
    void levelRange_data();
    void levelRange();
    void frequencyAxis_data();
    void frequencyAxis();
    void visibleSpan_data();
    void visibleSpan();
    void infoLine_data();
    void infoLine();
    void infoLineLocale();
};

void TestSpectrogramViewRules::levelRange_data()
{
    QTest::addColumn<double>("minValue");
    QTest::addColumn<double>("maxValue");
    QTest::addColumn<bool>("raw");
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    QTest::newRow("rounded outward") << -73.4 << -12.2 << false << -74.0 << -12.0;
    QTest::newRow("wav floor") << -130.2 << -20.5 << false << -100.0 << -20.0;
    QTest::newRow("raw floor") << -95.0 << -20.0 << true << -80.0 << -20.0;
    QTest::newRow("silence: max equals min") << -40.0 << -40.0 << false << -40.0 << -39.0;
    QTest::newRow("max below min") << -40.0 << -40.5 << false << -40.0 << -39.0;
    QTest::newRow("max infinite") << -60.0 << inf << false << -60.0 << -59.0;
    QTest::newRow("max not a number") << -60.0 << nan << false << -60.0 << -59.0;
    QTest::newRow("digital silence in a raw file") << -inf << -inf << true << -80.0 << -79.0;
    QTest::newRow("min not a number") << nan << -10.0 << false << -100.0 << -10.0;
}

void TestSpectrogramViewRules::levelRange()
{
    QFETCH(double, minValue);
    QFETCH(double, maxValue);
    QFETCH(bool, raw);
    const LevelRange r = computedLevelRange(minValue, maxValue, raw);
    QTEST(r.lower, "lower");
    QTEST(r.upper, "upper");
}

void TestSpectrogramViewRules::frequencyAxis_data()
{
    QTest::addColumn<int>("sampleRate");
    QTest::addColumn<bool>("fixed");
    QTest::addColumn<int>("lowerLimit");
    QTest::addColumn<int>("upperLimit");
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    QTest::newRow("44.1 kHz reaches 22.05 kHz") << 44100 << false << 0 << 150 << 0.0 << 22.05;
    QTest::newRow("raw rate") << 500000 << false << 0 << 150 << 0.0 << 250.0;
    QTest::newRow("fixed within Nyquist") << 500000 << true << 10 << 100 << 10.0 << 100.0;
    QTest::newRow("upper limit above Nyquist") << 300000 << true << 10 << 200 << 10.0 << 150.0;
    QTest::newRow("both limits above Nyquist") << 300000 << true << 160 << 200 << 149.0 << 150.0;
    QTest::newRow("fixed on 44.1 kHz") << 44100 << true << 0 << 150 << 0.0 << 22.05;
}

void TestSpectrogramViewRules::frequencyAxis()
{
    QFETCH(int, sampleRate);
    QFETCH(bool, fixed);
    QFETCH(int, lowerLimit);
    QFETCH(int, upperLimit);
    const AxisRange r = frequencyAxisRange(fixed, lowerLimit, upperLimit, nyquistKHz(sampleRate));
    QTEST(r.lower, "lower");
    QTEST(r.upper, "upper");
}

void TestSpectrogramViewRules::visibleSpan_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("canvasHeight");
    QTest::addColumn<double>("aspect");
    QTest::addColumn<bool>("computable");
    QTest::addColumn<double>("span");
    // Recording of 3.5 s, fixed duration 1 s, canvas 800 px wide, 125 kHz shown.
    QTest::newRow("whole recording") << 0 << 400.0 << 10.0 << true << 3.5;
    QTest::newRow("fixed duration") << 1 << 400.0 << 10.0 << true << 1.0;
    // (800 / 400) x (125 / 10) = 25 s
    QTest::newRow("fixed aspect") << 2 << 400.0 << 10.0 << true << 25.0;
    QTest::newRow("fixed aspect, wider seconds") << 2 << 400.0 << 50.0 << true << 5.0;
    QTest::newRow("canvas not laid out yet") << 2 << 0.0 << 10.0 << false << 0.0;
    QTest::newRow("stored ratio of 0") << 2 << 400.0 << 0.0 << false << 0.0;
    QTest::newRow("unknown mode") << 3 << 400.0 << 10.0 << true << 0.0;
}

void TestSpectrogramViewRules::visibleSpan()
{
    QFETCH(int, mode);
    QFETCH(double, canvasHeight);
    QFETCH(double, aspect);
    QFETCH(bool, computable);
    const std::optional<double> span = visibleTimeSpan(mode, 3.5, 1.0, 800.0, canvasHeight, 125.0, aspect);
    QCOMPARE(span.has_value(), computable);
    if (computable)
        QTEST(*span, "span");
}

void TestSpectrogramViewRules::infoLine_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("line");
    const QString head = QStringLiteral("16bit; 250000Hz; 1.500s; 07/12/26; 05:14:26");
    QTest::newRow("no description") << QString() << head;
    QTest::newRow("bare classes") << "Nyc + Pip" << head + "; Nyc; Pip";
    QTest::newRow("full text") << "Nyc + PipPip|Nyc|1|near the pond" << head + "; Nyc; PipPip; near the pond";
    QTest::newRow("short text with comment only") << "|windy" << head + "; windy";
    QTest::newRow("two bars keep the rest as comment") << "Enil|a|b" << head + "; Enil; a|b";
    QTest::newRow("more than four classes show none") << "A + B + C + D + E|note" << head + "; note";
}

void TestSpectrogramViewRules::infoLine()
{
    QFETCH(QString, description);
    QLocale::setDefault(QLocale::c());
    QTEST(recordingInfoLine(16, 250000, 1.5, QStringLiteral("07/12/26"), QStringLiteral("05:14:26"),
                            shownClassesAndComment(description)),
          "line");
}

void TestSpectrogramViewRules::infoLineLocale()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString line = recordingInfoLine(24, 384000, 2.25, QString(), QString(), {});
    QLocale::setDefault(QLocale::c());
    QCOMPARE(line, QStringLiteral("24bit; 384.000Hz; 2,250s; ; "));
}

QUILLON_TEST(TestSpectrogramViewRules)
#include "tst_spectrogramviewrules.moc"
