#include "testregistry.h"

#include "display/powerspectraldensity.h"
#include "fft/windowweights.h"
#include "signalbuilder.h"

#include <QTest>

#include <cmath>
#include <complex>
#include <random>
#include <utility>

namespace {

std::vector<int> toVector(const QVector<int> &v)
{
    return std::vector<int>(v.begin(), v.end());
}

// The level of bin k, straight from the definition: the whole blocks of
// rectangular-windowed samples added, a DFT in double precision.
double referenceDensity(const std::vector<int> &s, qint64 count, int rate, int k)
{
    std::complex<double> x;
    for (qint64 b = 0; b < count / 4096; ++b) {
        for (int n = 0; n < 4096; ++n)
            x += double(s[size_t(b * 4096 + n)]) / 32767.0 * std::polar(1.0, -2.0 * M_PI * k * n / 4096.0);
    }
    return 10.0 * std::log10((k == 0 ? 1.0 : 2.0) * std::norm(x) / (double(count) * rate));
}

// The density at the point of frequency kHz.
double at(const QVector<QPointF> &points, double kHz)
{
    for (const QPointF &p : points) {
        if (std::abs(p.y() - kHz) < 1e-9)
            return p.x();
    }
    return NAN;
}

} // namespace

class TestPowerSpectralDensity : public QObject
{
    Q_OBJECT
private slots:
    void blocksAgainstDefinition();
    void toneAndWindows();
    void nothingFiniteIsLeftOut();
    void densityWindow_settingsOrder();
};

void TestPowerSpectralDensity::blocksAgainstDefinition()
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> level(-20000, 20000);
    std::vector<int> s(10000);
    for (int &v : s)
        v = level(random);
    const int rate = 250000;
    const QVector<QPointF> points = powerSpectralDensity(s, 10000, rate, 16, 0);
    QCOMPARE(points.size(), 2049);
    for (const int k : {0, 1, 100, 1000, 2047, 2048}) {
        QCOMPARE(points[k].y(), k * 250.0 / 4096.0);
        QVERIFY2(std::abs(points[k].x() - referenceDensity(s, 10000, rate, k)) < 0.01, qPrintable(QString::number(k)));
    }

    // 10000 samples are 2 blocks: the rest does not count, but all 10000 divide the power.
    std::vector<int> otherRest = s;
    std::fill(otherRest.begin() + 8192, otherRest.end(), 12345);
    QCOMPARE(powerSpectralDensity(otherRest, 10000, rate, 16, 0), points);
    const QVector<QPointF> twoBlocks = powerSpectralDensity(s, 8192, rate, 16, 0);
    QVERIFY(std::abs(twoBlocks[100].x() - points[100].x() - 10.0 * std::log10(10000.0 / 8192.0)) < 1e-4);
}

void TestPowerSpectralDensity::toneAndWindows()
{
    // 409.6 kHz: values 100 Hz apart, so 40 kHz is value 400.
    const std::vector<int> tone = toVector(testsupport::SignalBuilder(409600, 0.1).tone(40000, -6.0).samples());
    const QVector<QPointF> points = powerSpectralDensity(tone, qint64(tone.size()), 409600, 16, 1);
    const auto loudest = std::max_element(points.begin(), points.end(),
                                          [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });
    QCOMPARE(loudest->y(), 40.0);

    // Between two values the rectangular window leaks far; Hann keeps 10 kHz away quiet.
    // One block: the blocks of a tone half a value off would cancel in pairs.
    const std::vector<int> between = toVector(testsupport::SignalBuilder(409600, 0.01).tone(40050, -6.0).samples());
    const double rectangular = at(powerSpectralDensity(between, qint64(between.size()), 409600, 16, 0), 50.0);
    const double hann = at(powerSpectralDensity(between, qint64(between.size()), 409600, 16, 2), 50.0);
    QVERIFY2(hann < rectangular - 30.0, qPrintable(QStringLiteral("%1 %2").arg(hann).arg(rectangular)));

    // Indices from 6 on are Blackman-Harris, whose edges nearly vanish; at 500 kHz the last value is 250 kHz.
    QCOMPARE(densityWindow(9), densityWindow(6));
    QVERIFY(std::abs(densityWindow(6).front() - 6e-5f) < 1e-6f);
    const std::vector<int> noise = toVector(testsupport::SignalBuilder(500000, 0.02).noise(-20.0, 3).samples());
    QCOMPARE(powerSpectralDensity(noise, qint64(noise.size()), 500000, 16, 1).last().y(), 250.0);
}

void TestPowerSpectralDensity::nothingFiniteIsLeftOut()
{
    // Fewer than 4096 samples give a block of zeros, silence zeros: every density would be -inf.
    const std::vector<int> shortOne = toVector(testsupport::SignalBuilder(250000, 0.01).noise(-20.0).samples());
    QVERIFY(powerSpectralDensity(shortOne, qint64(shortOne.size()), 250000, 16, 1).isEmpty());
    QVERIFY(powerSpectralDensity(std::vector<int>(20000, 0), 20000, 250000, 16, 1).isEmpty());
    // And nothing to divide by.
    QVERIFY(powerSpectralDensity(std::vector<int>(8192, 5), 0, 250000, 16, 1).isEmpty());
    QVERIFY(powerSpectralDensity(std::vector<int>(8192, 5), 8192, 0, 16, 1).isEmpty());
    QVERIFY(!densityAxis({}));
    // The axis: from the largest density to the smallest, or to 0 at least.
    QCOMPARE(densityAxis({{-20, 1}, {-80, 2}, {-35, 3}})->right, -80.0);
    const std::optional<DensityAxis> a = densityAxis({{5, 1}, {3, 2}});
    QVERIFY(a->left == 5.0 && a->right == 0.0);
}

void TestPowerSpectralDensity::densityWindow_settingsOrder()
{
    // The settings dialog's order; an index it never writes is Blackman-Harris.
    const std::pair<int, WindowKind> kinds[] = {
        {0, WindowKind::Rectangular},    {1, WindowKind::Hamming},        {2, WindowKind::Hann},
        {3, WindowKind::Blackman},       {4, WindowKind::Bartlett},       {5, WindowKind::Flattop},
        {6, WindowKind::BlackmanHarris}, {9, WindowKind::BlackmanHarris}, {-1, WindowKind::BlackmanHarris}};
    for (const auto &[index, kind] : kinds) {
        const std::vector<double> w = windowWeights(kind, densityBlockSize);
        QVERIFY2(densityWindow(index) == std::vector<float>(w.begin(), w.end()), qPrintable(QString::number(index)));
    }
}

QUILLON_TEST(TestPowerSpectralDensity)
#include "tst_powerspectraldensity.moc"
