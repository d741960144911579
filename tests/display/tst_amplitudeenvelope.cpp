#include "testregistry.h"

#include "display/amplitudeenvelope.h"

#include <QTest>

#include <cmath>

Q_DECLARE_METATYPE(EnvelopeView)

class TestAmplitudeEnvelope : public QObject {
    Q_OBJECT
private slots:
    void fullScale_data();
    void fullScale();
    void range_data();
    void range();
    void blocks();
    void axisLimit();
};

void TestAmplitudeEnvelope::fullScale_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("8 bits") << 8 << qint64(127);
    QTest::newRow("16 bits") << 16 << qint64(32767);
    QTest::newRow("24 bits") << 24 << qint64(8388607);
    QTest::newRow("32 bits") << 32 << qint64(2147483647);
    QTest::newRow("no width") << 0 << qint64(0);
    QTest::newRow("wider than any format") << 33 << qint64(0);
}

void TestAmplitudeEnvelope::fullScale()
{
    QFETCH(int, bits);
    QTEST(sampleFullScale(bits), "expected");
}

void TestAmplitudeEnvelope::range_data()
{
    QTest::addColumn<EnvelopeView>("view");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("first");
    QTest::addColumn<qint64>("end");
    QTest::addColumn<qint64>("step");

    // 10 s at 250 kHz on 1000 pixels, unzoomed, the whole recording on view.
    EnvelopeView v;
    v.sampleCount = 2500000;
    v.sampleRate = 250000;
    v.visibleEnd = 10.0;
    v.pixelWidth = 1000;
    QTest::newRow("whole recording") << v << true << qint64(0) << qint64(2500000) << qint64(2500);
    EnvelopeView fixed = v;
    fixed.timeAxisMode = 1;
    QTest::newRow("one second of ten: a tenth of the step") << fixed << true << qint64(0) << qint64(2500000)
                                                            << qint64(250);
    EnvelopeView aspect = v;
    aspect.timeAxisMode = 2;
    aspect.aspectSpan = 2.5;
    QTest::newRow("aspect span of 2.5 s") << aspect << true << qint64(0) << qint64(2500000) << qint64(625);
    aspect.aspectSpan.reset();
    QTest::newRow("aspect span not computable: the whole recording")
        << aspect << true << qint64(0) << qint64(2500000) << qint64(2500);
    EnvelopeView zoomed = fixed;
    zoomed.zoomedIn = true;
    zoomed.followZoom = true;
    zoomed.visibleStart = 1.25;
    zoomed.visibleEnd = 2.5;
    QTest::newRow("following a zoom: its stretch, no fixed span")
        << zoomed << true << qint64(312500) << qint64(625000) << qint64(312);
    zoomed.visibleStart = 9.0;
    zoomed.visibleEnd = 11.0;
    QTest::newRow("zoom past the end") << zoomed << true << qint64(2250000) << qint64(2500000) << qint64(250);
    zoomed.followZoom = false;
    QTest::newRow("zoomed, not following") << zoomed << true << qint64(0) << qint64(2500000) << qint64(2500);
    EnvelopeView shortOne = v;
    shortOne.sampleCount = 500;
    QTest::newRow("fewer samples than pixels: every sample") << shortOne << true << qint64(0) << qint64(500)
                                                             << qint64(1);

    // Nothing sound to divide by: the plot stays empty.
    EnvelopeView none = v;
    none.sampleRate = 0;
    QTest::newRow("no sample rate") << none << false << qint64(0) << qint64(0) << qint64(0);
    none = v;
    none.sampleCount = 0;
    QTest::newRow("no samples") << none << false << qint64(0) << qint64(0) << qint64(0);
    none = fixed;
    none.fixedDuration = 0.0;
    QTest::newRow("fixed duration of 0") << none << false << qint64(0) << qint64(0) << qint64(0);
    none = v;
    none.pixelWidth = 0;
    QTest::newRow("no pixel width") << none << false << qint64(0) << qint64(0) << qint64(0);
    none = zoomed;
    none.followZoom = true;
    none.visibleStart = none.visibleEnd = 3.0;
    QTest::newRow("empty zoomed stretch") << none << false << qint64(0) << qint64(0) << qint64(0);
}

void TestAmplitudeEnvelope::range()
{
    QFETCH(EnvelopeView, view);
    QFETCH(bool, valid);
    const std::optional<EnvelopeRange> r = envelopeRange(view);
    QCOMPARE(r.has_value(), valid);
    if (!r)
        return;
    QTEST(r->first, "first");
    QTEST(r->end, "end");
    QTEST(r->step, "step");
}

void TestAmplitudeEnvelope::blocks()
{
    // At 4 Hz the points of step 4 fall on whole seconds.
    const std::vector<int> samples{100, -200, 300, 50, -400, 0, 0, 1000, 5, 7, 9, 11};
    const double f = 32767.0;
    const auto near = [](double a, double b) { return std::abs(a - b) < 1e-6; };

    // Block 0..4, then 5..8; 9..11 end before the next multiple and give nothing.
    EnvelopeCurves c = amplitudeEnvelope(samples, EnvelopeRange{0, 12, 4}, 4, 16);
    QCOMPARE(c.maxima.size(), 2);
    QCOMPARE(c.maxima[0].x(), 1.0);
    QCOMPARE(c.maxima[1].x(), 2.0);
    QVERIFY(near(c.maxima[0].y(), 300 / f));
    QVERIFY(near(c.minima[0].y(), -400 / f));
    QVERIFY(near(c.rms[0].y(), std::sqrt(302500.0 / 4) / f));
    QCOMPARE(c.rmsNegative[0].y(), -c.rms[0].y());
    // A block of positive samples still has its minimum at 0.
    QCOMPARE(c.minima[1].y(), 0.0);
    QVERIFY(near(c.peak, 1000 / f));

    // A later start keeps the points on the multiples counted from the recording's start.
    c = amplitudeEnvelope(samples, EnvelopeRange{5, 12, 4}, 4, 16);
    QCOMPARE(c.maxima.size(), 1);
    QCOMPARE(c.maxima[0].x(), 2.0);
    QVERIFY(near(c.maxima[0].y(), 1000 / f));

    // Step 1: the first sample shares the point of the second.
    c = amplitudeEnvelope({3, -3, 5}, EnvelopeRange{0, 3, 1}, 4, 16);
    QCOMPARE(c.maxima.size(), 2);
    QVERIFY(near(c.maxima[0].y(), 3 / f) && near(c.minima[0].y(), -3 / f));
    QVERIFY(near(c.maxima[1].y(), 5 / f) && c.minima[1].y() == 0.0);

    // No full scale, no rate: nothing.
    QVERIFY(amplitudeEnvelope(samples, EnvelopeRange{0, 12, 4}, 4, 0).maxima.isEmpty());
    QVERIFY(amplitudeEnvelope(samples, EnvelopeRange{0, 12, 4}, 0, 16).maxima.isEmpty());
}

void TestAmplitudeEnvelope::axisLimit()
{
    // The loudest sample at half scale gives an axis of +-0.55.
    const EnvelopeCurves c = amplitudeEnvelope({0, 16384, -100, 7}, EnvelopeRange{0, 4, 1}, 1000, 16);
    QVERIFY(std::abs(amplitudeAxisLimitFor(c.peak) - 0.55f) < 1e-4f);
    // Silence leaves the axis at +-1, not +-0.
    const EnvelopeCurves silent = amplitudeEnvelope(std::vector<int>(100, 0), EnvelopeRange{0, 100, 10}, 1000, 16);
    QCOMPARE(silent.peak, 0.0f);
    QCOMPARE(amplitudeAxisLimitFor(silent.peak), 1.0f);
}

QUILLON_TEST(TestAmplitudeEnvelope)
#include "tst_amplitudeenvelope.moc"
