#include "testregistry.h"

#include "display/viewranges.h"

#include <QTest>
#include <limits>

namespace {
const double inf = std::numeric_limits<double>::infinity();
const double nan = std::numeric_limits<double>::quiet_NaN();
} // namespace

class TestViewRanges : public QObject
{
    Q_OBJECT
private slots:
    void levelRange_data();
    void levelRange();
    void frequencyAxis_data();
    void frequencyAxis();
    void visibleSpan_data();
    void visibleSpan();
    void fixedAspect_data();
    void fixedAspect();
};

void TestViewRanges::levelRange_data()
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

void TestViewRanges::levelRange()
{
    QFETCH(double, minValue);
    QFETCH(double, maxValue);
    QFETCH(bool, raw);
    const LevelRange r = computedLevelRange(minValue, maxValue, raw);
    QTEST(r.lower, "lower");
    QTEST(r.upper, "upper");
}

void TestViewRanges::frequencyAxis_data()
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
    QTest::newRow("lower limit at a cut upper one") << 16000 << true << 8 << 120 << 7.0 << 8.0;
    QTest::newRow("lower limit stored above the upper") << 300000 << true << 120 << 100 << 99.0 << 100.0;
    QTest::newRow("lower limit equal to the upper") << 300000 << true << 100 << 100 << 99.0 << 100.0;
}

void TestViewRanges::frequencyAxis()
{
    QFETCH(int, sampleRate);
    QFETCH(bool, fixed);
    QFETCH(int, lowerLimit);
    QFETCH(int, upperLimit);
    const AxisRange r = frequencyAxisRange(fixed, lowerLimit, upperLimit, nyquistKHz(sampleRate));
    QTEST(r.lower, "lower");
    QTEST(r.upper, "upper");
}

void TestViewRanges::visibleSpan_data()
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

void TestViewRanges::visibleSpan()
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

void TestViewRanges::fixedAspect_data()
{
    QTest::addColumn<double>("duration");
    QTest::addColumn<double>("height");
    QTest::addColumn<double>("aspect");
    QTest::addColumn<double>("secondsPerColumn");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("axisMax");
    QTest::addColumn<bool>("scroll");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("pageStep");
    // Canvas 800 px wide, 125 kHz shown, left edge at 0.5 s: (800 / 400) x (125 / 10) = 25 s.
    QTest::newRow("short recording fits") << 4.0 << 400.0 << 10.0 << 0.0625 << true << 25.5 << false << 0 << 0;
    // 60 s: (60 - 25) / 0.0625 = 560 columns, 25 / 0.0625 = 400
    QTest::newRow("long recording scrolls") << 60.0 << 400.0 << 10.0 << 0.0625 << true << 25.5 << true << 560 << 400;
    // taller canvas: (800 / 1000) x 12.5 = 10 s
    QTest::newRow("taller canvas shows less") << 60.0 << 1000.0 << 10.0 << 0.0625 << true << 10.5 << true << 800 << 160;
    QTest::newRow("hidden canvas") << 60.0 << 0.0 << 10.0 << 0.0625 << false << 0.0 << false << 0 << 0;
    QTest::newRow("ratio of 0") << 60.0 << 400.0 << 0.0 << 0.0625 << false << 0.0 << false << 0 << 0;
    QTest::newRow("before the first spectrogram") << 60.0 << 400.0 << 10.0 << 0.0 << false << 0.0 << false << 0 << 0;
    QTest::newRow("fits before the first spectrogram")
        << 4.0 << 400.0 << 10.0 << 0.0 << true << 25.5 << false << 0 << 0;
    QTest::newRow("no recording") << nan << 400.0 << 10.0 << 0.0625 << false << 0.0 << false << 0 << 0;
}

void TestViewRanges::fixedAspect()
{
    QFETCH(double, duration);
    FixedAspectInput in;
    in.duration = duration;
    QFETCH(double, height);
    QFETCH(double, aspect);
    QFETCH(double, secondsPerColumn);
    QFETCH(bool, valid);
    in.canvasWidth = 800.0;
    in.canvasHeight = height;
    in.frequencySpan = 125.0;
    in.aspectRatio = aspect;
    in.left = 0.5;
    in.secondsPerColumn = secondsPerColumn;
    const std::optional<FixedAspectView> v = fixedAspectView(in);
    QCOMPARE(v.has_value(), valid);
    if (!valid)
        return;
    QCOMPARE(v->axisMin, 0.5);
    QTEST(v->axisMax, "axisMax");
    QTEST(v->scroll.needed, "scroll");
    if (v->scroll.needed) {
        QTEST(v->scroll.maximum, "maximum");
        QTEST(v->scroll.pageStep, "pageStep");
        QCOMPARE(v->scroll.singleStep, 20);
    }
}

QUILLON_TEST(TestViewRanges)
#include "tst_viewranges.moc"
