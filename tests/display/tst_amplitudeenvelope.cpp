#include "testregistry.h"

#include "analysis/metatypes.h"
#include "display/amplitudeenvelope.h"

#include <QTest>

#include <cmath>
#include <vector>

class TestAmplitudeEnvelope : public QObject
{
    Q_OBJECT
private slots:
    void range_data();
    void range();
    void blocks();
    void axisLimit_data();
    void axisLimit();
};

void TestAmplitudeEnvelope::range_data()
{
    // 10 s at 250 kHz on 1000 pixels; mode, fixed duration and aspect span (-1: none) as the view has them.
    QTest::addColumn<bool>("zoomed");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("fixedDuration");
    QTest::addColumn<double>("aspect");
    QTest::addColumn<int>("rate");
    QTest::addColumn<QVector<qint64>>("expected"); // first, end, step; empty: the plot stays empty
    const QVector<qint64> whole{0, 2500000, 2500};
    QTest::newRow("whole recording") << false << 0.0 << 10.0 << 0 << 1.0 << -1.0 << 250000 << whole;
    QTest::newRow("one second of ten: a tenth of the step")
        << false << 0.0 << 1.0 << 1 << 1.0 << -1.0 << 250000 << QVector<qint64>{0, 2500000, 250};
    QTest::newRow("aspect span of 2.5 s")
        << false << 0.0 << 2.5 << 2 << 1.0 << 2.5 << 250000 << QVector<qint64>{0, 2500000, 625};
    QTest::newRow("aspect span not computable") << false << 0.0 << 10.0 << 2 << 1.0 << -1.0 << 250000 << whole;
    QTest::newRow("following a zoom: its stretch, no fixed span")
        << true << 1.25 << 2.5 << 1 << 1.0 << -1.0 << 250000 << QVector<qint64>{312500, 625000, 312};
    QTest::newRow("zoom past the end") << true << 9.0 << 11.0 << 0 << 1.0 << -1.0 << 250000
                                       << QVector<qint64>{2250000, 2500000, 250};
    QTest::newRow("no sample rate") << false << 0.0 << 10.0 << 0 << 1.0 << -1.0 << 0 << QVector<qint64>{};
    QTest::newRow("fixed duration of 0") << false << 0.0 << 0.0 << 1 << 0.0 << -1.0 << 250000 << QVector<qint64>{};
    QTest::newRow("empty zoomed stretch") << true << 3.0 << 3.0 << 0 << 1.0 << -1.0 << 250000 << QVector<qint64>{};
}

void TestAmplitudeEnvelope::range()
{
    QFETCH(bool, zoomed);
    QFETCH(double, aspect);
    QFETCH(QVector<qint64>, expected);
    EnvelopeView v;
    v.sampleCount = 2500000;
    QFETCH(int, rate);
    v.sampleRate = rate;
    v.zoomedIn = v.followZoom = zoomed;
    QFETCH(double, start);
    QFETCH(double, end);
    v.visibleStart = start;
    v.visibleEnd = end;
    QFETCH(int, mode);
    v.timeAxisMode = mode;
    QFETCH(double, fixedDuration);
    v.fixedDuration = fixedDuration;
    if (aspect > 0)
        v.aspectSpan = aspect;
    v.pixelWidth = 1000;
    const std::optional<EnvelopeRange> r = envelopeRange(v);
    QCOMPARE(r ? (QVector<qint64>{r->first, r->end, r->step}) : QVector<qint64>(), expected);
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
    QVERIFY(near(c.maxima[0].y(), 300 / f) && near(c.minima[0].y(), -400 / f));
    QVERIFY(near(c.rms[0].y(), std::sqrt(302500.0 / 4) / f));
    QCOMPARE(c.rmsNegative[0].y(), -c.rms[0].y());
    QCOMPARE(c.minima[1].y(), 0.0); // a block of positive samples still has its minimum at 0
    QVERIFY(near(c.peak, 1000 / f));

    // A later start keeps the points on the multiples counted from the recording's start.
    c = amplitudeEnvelope(samples, EnvelopeRange{5, 12, 4}, 4, 16);
    QCOMPARE(c.maxima.size(), 1);
    QVERIFY(c.maxima[0].x() == 2.0 && near(c.maxima[0].y(), 1000 / f));

    // Step 1: the first sample shares the point of the second.
    c = amplitudeEnvelope({3, -3, 5}, EnvelopeRange{0, 3, 1}, 4, 16);
    QVERIFY(near(c.maxima[0].y(), 3 / f) && near(c.minima[0].y(), -3 / f));
    QVERIFY(near(c.maxima[1].y(), 5 / f) && c.minima[1].y() == 0.0);

    // No full scale: nothing.
    QVERIFY(amplitudeEnvelope(samples, EnvelopeRange{0, 12, 4}, 4, 0).maxima.isEmpty());
}

void TestAmplitudeEnvelope::axisLimit_data()
{
    QTest::addColumn<std::vector<int>>("samples");
    QTest::addColumn<qint64>("step");
    QTest::addColumn<float>("limit");
    QTest::newRow("loudest sample at half scale") << std::vector<int>{0, 16384, -100, 7} << qint64(1) << 0.55f;
    QTest::newRow("loudest sample negative") << std::vector<int>{0, 100, -16384, 7} << qint64(1) << 0.55f;
    QTest::newRow("silence: +-1, not +-0") << std::vector<int>(100, 0) << qint64(10) << 1.0f;
}

void TestAmplitudeEnvelope::axisLimit()
{
    QFETCH(std::vector<int>, samples);
    QFETCH(qint64, step);
    QFETCH(float, limit);
    const EnvelopeCurves c = amplitudeEnvelope(samples, EnvelopeRange{0, qint64(samples.size()), step}, 1000, 16);
    QVERIFY2(std::abs(amplitudeAxisLimitFor(c.peak) - limit) < 1e-4f, qPrintable(QString::number(double(c.peak))));
}

QUILLON_TEST(TestAmplitudeEnvelope)
#include "tst_amplitudeenvelope.moc"
