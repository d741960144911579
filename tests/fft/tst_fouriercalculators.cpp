// Calculators on their own: the spectrum layout against an independent
// double-precision FFT, the exact small cases, inverse and rescale, and the
// agreement of the fixed-size and variable-size calculators.
#include "testregistry.h"

#include "fft/fftpasses.h"
#include "fft/fourierfixedcalculator.h"
#include "fft/fouriervariablecalculator.h"

#include <QtTest>

#include <cmath>
#include <complex>
#include <cstring>
#include <memory>
#include <random>
#include <utility>
#include <vector>

namespace {

constexpr float sentinel = 4242.5f;

// Plain iterative radix-2 complex FFT in double precision with every twiddle
// taken straight from cos/sin: an independent reference for the float engine.
std::vector<std::complex<double>> referenceSpectrum(const std::vector<float> &x)
{
    const size_t n = x.size();
    std::vector<std::complex<double>> a(n);
    for (size_t i = 0; i < n; ++i)
        a[i] = x[i];
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    const double pi = std::acos(-1.0);
    for (size_t len = 2; len <= n; len <<= 1) {
        for (size_t k = 0; k < len / 2; ++k) {
            const double angle = -2.0 * pi * double(k) / double(len);
            const std::complex<double> w(std::cos(angle), std::sin(angle));
            for (size_t s = 0; s < n; s += len) {
                const std::complex<double> u = a[s + k];
                const std::complex<double> v = a[s + k + len / 2] * w;
                a[s + k] = u + v;
                a[s + k + len / 2] = u - v;
            }
        }
    }
    return a;
}

// The radix-2 formulas evaluated one float operation at a time, in the plainest
// order: every calculator must reproduce them to the bit. Blocks up to
// tableLimit points take exact twiddles, longer ones rotate (1, 0) by the step
// of their block in float, restarting at every block.
struct PlainRadix2 {
    int n;
    int tableLimit;

    static constexpr double pi = 3.14159265358979323846;
    static constexpr float rootHalf = 0.70710677f;

    int reversed(int value) const
    {
        int r = 0;
        for (int bit = 1; bit < n; bit <<= 1) {
            r = (r << 1) | (value & 1);
            value >>= 1;
        }
        return r;
    }
    // (cos, sin) of 2 pi j / B for j = 1 .. B/4 - 1.
    std::vector<std::pair<float, float>> twiddles(int B) const
    {
        std::vector<std::pair<float, float>> t(static_cast<size_t>(B / 4));
        if (B <= tableLimit) {
            for (int j = 1; j < B / 4; ++j)
                t[size_t(j)] = {float(std::cos(j * pi / (B / 2))), float(std::cos((B / 4 - j) * pi / (B / 2)))};
            return t;
        }
        const double step = (pi / 2.0) / (B / 4);
        const float sc = float(std::cos(step));
        const float ss = float(std::sin(step));
        float c = 1.0f;
        float s = 0.0f;
        for (int j = 1; j < B / 4; ++j) {
            const float c2 = c * sc - s * ss;
            const float s2 = c * ss + s * sc;
            c = c2;
            s = s2;
            t[size_t(j)] = {c, s};
        }
        return t;
    }
    std::vector<float> forward(const std::vector<float> &x) const
    {
        std::vector<float> a(static_cast<size_t>(n));
        for (int i = 0; i < n / 4; ++i) {
            const int r = reversed(4 * i);
            const float p = x[r], q = x[r + n / 2], u = x[r + n / 4], v = x[r + 3 * n / 4];
            a[4 * i] = (p + q) + (u + v);
            a[4 * i + 1] = p - q;
            a[4 * i + 2] = (p + q) - (u + v);
            a[4 * i + 3] = u - v;
        }
        for (int B = 8; B <= n; B *= 2) {
            const int h = B / 2, q = B / 4;
            const auto t = twiddles(B);
            std::vector<float> d(static_cast<size_t>(n));
            for (int s = 0; s < n; s += B) {
                d[s] = a[s] + a[s + h];
                d[s + h] = a[s] - a[s + h];
                d[s + q] = a[s + q];
                d[s + h + q] = a[s + h + q];
                for (int j = 1; j < q; ++j) {
                    float v, w;
                    if (B == 8) {
                        v = (a[s + 5] - a[s + 7]) * rootHalf;
                        w = (a[s + 5] + a[s + 7]) * rootHalf;
                    } else {
                        const float c = t[j].first, sn = t[j].second;
                        v = a[s + h + j] * c - a[s + h + q + j] * sn;
                        w = a[s + h + j] * sn + a[s + h + q + j] * c;
                    }
                    d[s + j] = a[s + j] + v;
                    d[s + h - j] = a[s + j] - v;
                    d[s + h + j] = w + a[s + q + j];
                    d[s + B - j] = w - a[s + q + j];
                }
            }
            a.swap(d);
        }
        return a;
    }
    std::vector<float> inverse(const std::vector<float> &spectrum) const
    {
        std::vector<float> a(spectrum.begin(), spectrum.begin() + n);
        for (int B = n; B >= 8; B /= 2) {
            const int h = B / 2, q = B / 4;
            const auto t = twiddles(B);
            std::vector<float> d(static_cast<size_t>(n));
            for (int s = 0; s < n; s += B) {
                d[s] = a[s] + a[s + h];
                d[s + h] = a[s] - a[s + h];
                d[s + q] = 2.0f * a[s + q];
                d[s + h + q] = 2.0f * a[s + h + q];
                for (int j = 1; j < q; ++j) {
                    d[s + j] = a[s + j] + a[s + h - j];
                    d[s + q + j] = a[s + h + j] - a[s + B - j];
                    const float vr = a[s + j] - a[s + h - j];
                    const float vi = a[s + h + j] + a[s + B - j];
                    if (B == 8) {
                        d[s + h + j] = (vi + vr) * rootHalf;
                        d[s + h + q + j] = (vi - vr) * rootHalf;
                    } else {
                        const float c = t[j].first, sn = t[j].second;
                        d[s + h + j] = vr * c + vi * sn;
                        d[s + h + q + j] = vi * c - vr * sn;
                    }
                }
            }
            a.swap(d);
        }
        std::vector<float> y(static_cast<size_t>(n));
        for (int i = 0; i < n / 4; ++i) {
            const int r = reversed(4 * i);
            const float e = a[4 * i] + a[4 * i + 2];
            const float g = a[4 * i] - a[4 * i + 2];
            y[r] = e + 2.0f * a[4 * i + 1];
            y[r + n / 2] = e - 2.0f * a[4 * i + 1];
            y[r + n / 4] = g + 2.0f * a[4 * i + 3];
            y[r + 3 * n / 4] = g - 2.0f * a[4 * i + 3];
        }
        return y;
    }
};

std::vector<float> randomSamples(int n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
    std::vector<float> x(static_cast<size_t>(n));
    for (float &v : x)
        v = uniform(rng);
    return x;
}

std::unique_ptr<FourierCalculator> fixedCalculator(int exponent)
{
    switch (exponent) {
    case 3:
        return std::make_unique<FourierFixedCalculator<3>>();
    case 4:
        return std::make_unique<FourierFixedCalculator<4>>();
    case 5:
        return std::make_unique<FourierFixedCalculator<5>>();
    case 6:
        return std::make_unique<FourierFixedCalculator<6>>();
    case 7:
        return std::make_unique<FourierFixedCalculator<7>>();
    case 8:
        return std::make_unique<FourierFixedCalculator<8>>();
    case 9:
        return std::make_unique<FourierFixedCalculator<9>>();
    case 10:
        return std::make_unique<FourierFixedCalculator<10>>();
    case 11:
        return std::make_unique<FourierFixedCalculator<11>>();
    case 12:
        return std::make_unique<FourierFixedCalculator<12>>();
    case 13:
        return std::make_unique<FourierFixedCalculator<13>>();
    case 14:
        return std::make_unique<FourierFixedCalculator<14>>();
    default:
        return nullptr;
    }
}

// The calculator the front object would pick for 2^exponent points.
std::unique_ptr<FourierCalculator> calculatorFor(int exponent)
{
    if (auto fixed = fixedCalculator(exponent))
        return fixed;
    auto variable = std::make_unique<FourierVariableCalculator>();
    variable->setSize(1 << exponent);
    return variable;
}

// Runs forward into a buffer of n + 1 floats whose last one is a sentinel.
std::vector<float> forwardOf(FourierCalculator &calc, std::vector<float> x)
{
    std::vector<float> out(x.size() + 1, sentinel);
    calc.setData(x.data(), out.data());
    calc.forward();
    return out;
}

bool sameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void addSizeRows(int lastExponent)
{
    QTest::addColumn<int>("exponent");
    for (int e = 0; e <= lastExponent; ++e)
        QTest::newRow(qPrintable(QStringLiteral("%1 points").arg(1 << e))) << e;
}

} // namespace

class TestFourierCalculators : public QObject
{
    Q_OBJECT

private slots:
    void forward_matchesReference_data() { addSizeRows(16); }
    void forward_matchesReference()
    {
        QFETCH(int, exponent);
        const int n = 1 << exponent;
        const std::vector<float> x = randomSamples(n, 7u + unsigned(exponent));
        auto calc = calculatorFor(exponent);
        const std::vector<float> out = forwardOf(*calc, x);
        const auto ref = referenceSpectrum(x);

        double energy = 0.0;
        for (float v : x)
            energy += double(v) * v;
        // Rounding grows with the number of passes. Above 4096 points the top
        // passes take their twiddles from a float rotation, which drifts from
        // the exact values by about 1e-5 (8192, 16384 points) and up to about
        // 1.5e-4 in the longer rotations of 32768 points and more.
        const double eps = std::numeric_limits<float>::epsilon();
        const double perPass = n >= 32768 ? 1e-4 : (n >= 8192 ? 2e-5 : 2.0 * eps);
        const double tolerance = perPass * std::max(1, exponent) * std::sqrt(energy);

        double worst = 0.0;
        for (int k = 0; k <= n / 2; ++k)
            worst = std::max(worst, std::abs(out[k] - ref[k].real()));
        for (int k = 1; k < n / 2; ++k)
            worst = std::max(worst, std::abs(out[n / 2 + k] + ref[k].imag()));
        QVERIFY2(worst <= tolerance, qPrintable(QStringLiteral("error %1 > %2").arg(worst).arg(tolerance)));
        QCOMPARE(out[n], sentinel);
    }

    void forward_smallSizesClosedForm_data()
    {
        QTest::addColumn<std::vector<float>>("input");
        QTest::addColumn<std::vector<float>>("expected");
        QTest::newRow("1 point: the sample") << std::vector<float>{7} << std::vector<float>{7};
        QTest::newRow("2 points: sum, difference") << std::vector<float>{3, 5} << std::vector<float>{8, -2};
        // [(x0+x2)+(x1+x3), x0-x2, (x0+x2)-(x1+x3), x1-x3]
        QTest::newRow("4 points") << std::vector<float>{3, 5, 11, 17} << std::vector<float>{36, -8, -8, -12};
        QTest::newRow("8 points: impulse at x1")
            << std::vector<float>{0, 1, 0, 0, 0, 0, 0, 0}
            << std::vector<float>{1, 0.70710677f, 0, -0.70710677f, -1, 0.70710677f, 1, 0.70710677f};
    }
    void forward_smallSizesClosedForm()
    {
        QFETCH(std::vector<float>, input);
        QFETCH(std::vector<float>, expected);
        int exponent = 0;
        while ((1u << exponent) < input.size())
            ++exponent;
        std::vector<std::unique_ptr<FourierCalculator>> calcs;
        calcs.push_back(calculatorFor(exponent));
        auto variable = std::make_unique<FourierVariableCalculator>();
        variable->setSize(int(input.size()));
        calcs.push_back(std::move(variable));
        for (auto &calc : calcs) {
            const std::vector<float> out = forwardOf(*calc, input);
            for (size_t i = 0; i < expected.size(); ++i)
                QVERIFY2(out[i] == expected[i], qPrintable(QStringLiteral("index %1: %2").arg(i).arg(out[i])));
            QCOMPARE(out[input.size()], sentinel);
        }
    }

    // Impulse, constant and alternating inputs have exact spectra at every size.
    void forward_exactSpectra_data() { addSizeRows(16); }
    void forward_exactSpectra()
    {
        QFETCH(int, exponent);
        const int n = 1 << exponent;
        auto calc = calculatorFor(exponent);

        std::vector<float> impulse(size_t(n), 0.0f);
        impulse[0] = 1.0f;
        std::vector<float> out = forwardOf(*calc, impulse);
        for (int k = 0; k < n; ++k)
            QCOMPARE(out[k], k <= n / 2 ? 1.0f : 0.0f);
        QCOMPARE(out[n], sentinel);

        out = forwardOf(*calc, std::vector<float>(size_t(n), 1.0f));
        for (int k = 0; k < n; ++k)
            QCOMPARE(out[k], k == 0 ? float(n) : 0.0f);

        std::vector<float> alternating(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            alternating[i] = i % 2 == 0 ? 1.0f : -1.0f;
        out = forwardOf(*calc, alternating);
        for (int k = 0; k < n; ++k)
            QCOMPARE(out[k], k == n / 2 ? float(n) : 0.0f);
    }

    // A cosine of bin k0 lands in the real half, a sine in the imaginary half
    // with a positive sign.
    void forward_pureTones_data()
    {
        QTest::addColumn<int>("exponent");
        QTest::addColumn<int>("bin");
        QTest::newRow("16 points, bin 3") << 4 << 3;
        QTest::newRow("512 points, bin 1") << 9 << 1;
        QTest::newRow("4096 points, bin 2047") << 12 << 2047;
        QTest::newRow("16384 points, bin 1000") << 14 << 1000;
        QTest::newRow("32768 points, bin 12345") << 15 << 12345;
    }
    void forward_pureTones()
    {
        QFETCH(int, exponent);
        QFETCH(int, bin);
        const int n = 1 << exponent;
        auto calc = calculatorFor(exponent);
        std::vector<float> cosine(static_cast<size_t>(n));
        std::vector<float> sine(static_cast<size_t>(n));
        const double pi = std::acos(-1.0);
        for (int i = 0; i < n; ++i) {
            const double phase = 2.0 * pi * double((int64_t(bin) * i) % n) / n;
            cosine[i] = float(std::cos(phase));
            sine[i] = float(std::sin(phase));
        }
        const float tolerance = 2e-4f * n;
        const std::vector<float> c = forwardOf(*calc, cosine);
        const std::vector<float> s = forwardOf(*calc, sine);
        for (int k = 0; k < n; ++k) {
            QVERIFY2(std::abs(c[k] - (k == bin ? n / 2.0f : 0.0f)) <= tolerance, qPrintable(QString::number(k)));
            QVERIFY2(std::abs(s[k] - (k == n / 2 + bin ? n / 2.0f : 0.0f)) <= tolerance,
                     qPrintable(QString::number(k)));
        }
    }

    void inverse_andRescale_data() { addSizeRows(16); }
    void inverse_andRescale()
    {
        QFETCH(int, exponent);
        const int n = 1 << exponent;
        auto calc = calculatorFor(exponent);
        const std::vector<float> x = randomSamples(n, 99u + unsigned(exponent));
        std::vector<float> input = x;
        std::vector<float> spectrum(size_t(n) + 1, sentinel);
        calc->setData(input.data(), spectrum.data());
        calc->forward();
        QVERIFY(input == x);

        const std::vector<float> spectrumCopy = spectrum;
        std::vector<float> back(size_t(n) + 1, sentinel);
        calc->setData(spectrum.data(), back.data());
        calc->inverse();
        QVERIFY(spectrum == spectrumCopy);
        QCOMPARE(back[n], sentinel);
        // The oscillator passes of the large sizes drift (see forward_matchesReference).
        const float tolerance = (n >= 8192 ? 2e-4f : 2e-6f) * std::max(1, exponent) * n;
        for (int i = 0; i < n; ++i)
            QVERIFY2(std::abs(back[i] - n * x[i]) <= tolerance, qPrintable(QString::number(i)));

        // rescale scales the input array (here the spectrum) by exactly 1/n and
        // leaves the output alone.
        const std::vector<float> backCopy = back;
        calc->rescale();
        QVERIFY(back == backCopy);
        for (int i = 0; i < n; ++i)
            QVERIFY(sameBits(spectrum[i], spectrumCopy[i] / float(n)));
        QCOMPARE(spectrum[n], sentinel);
        calc->inverse();
        for (int i = 0; i < n; ++i)
            QVERIFY2(std::abs(back[i] - x[i]) <= tolerance / n, qPrintable(QString::number(i)));

        // Rescaling the unscaled inverse's result, handed in as input, gives x too.
        std::vector<float> scaledBack = backCopy;
        std::vector<float> unused(size_t(n), 0.0f);
        calc->setData(scaledBack.data(), unused.data());
        calc->rescale();
        for (int i = 0; i < n; ++i)
            QVERIFY2(std::abs(scaledBack[i] - x[i]) <= tolerance / n, qPrintable(QString::number(i)));
    }

    // Up to 4096 points both kinds run the same formulas with the same
    // twiddles, so they agree to the bit; at 8192 and 16384 points the fixed
    // calculators rotate their twiddles in the top passes. (The inverses are
    // pinned to the plain formulas in sameBitsAsPlainFormulas.)
    void fixedMatchesVariable_data()
    {
        QTest::addColumn<int>("exponent");
        for (int e = 3; e <= 14; ++e)
            QTest::newRow(qPrintable(QStringLiteral("%1 points").arg(1 << e))) << e;
    }
    void fixedMatchesVariable()
    {
        QFETCH(int, exponent);
        const int n = 1 << exponent;
        auto fixed = fixedCalculator(exponent);
        FourierVariableCalculator variable;
        variable.setSize(n);
        const std::vector<float> x = randomSamples(n, 1234u);
        const std::vector<float> a = forwardOf(*fixed, x);
        const std::vector<float> b = forwardOf(variable, x);
        if (n <= 4096) {
            for (int k = 0; k < n; ++k)
                QVERIFY2(sameBits(a[k], b[k]), qPrintable(QString::number(k)));
        } else {
            const float tolerance = 2e-5f * std::sqrt(float(n)) * exponent;
            for (int k = 0; k < n; ++k)
                QVERIFY2(std::abs(a[k] - b[k]) <= tolerance, qPrintable(QString::number(k)));
        }
    }

    // Fixed calculators tabulate twiddles up to 4096-point blocks and rotate
    // above; the variable engine tabulates up to 8192-point blocks.
    void sameBitsAsPlainFormulas_data()
    {
        QTest::addColumn<int>("exponent");
        QTest::addColumn<bool>("fixed");
        for (int e = 3; e <= 16; ++e) {
            if (e <= 14)
                QTest::newRow(qPrintable(QStringLiteral("%1 points, fixed").arg(1 << e))) << e << true;
            QTest::newRow(qPrintable(QStringLiteral("%1 points, variable").arg(1 << e))) << e << false;
        }
    }
    void sameBitsAsPlainFormulas()
    {
        QFETCH(int, exponent);
        QFETCH(bool, fixed);
        const int n = 1 << exponent;
        std::unique_ptr<FourierCalculator> calc = fixed ? fixedCalculator(exponent) : nullptr;
        if (!calc) {
            auto variable = std::make_unique<FourierVariableCalculator>();
            variable->setSize(n);
            calc = std::move(variable);
        }
        const PlainRadix2 plain{n, fixed ? 4096 : 8192};
        const std::vector<float> x = randomSamples(n, 77u);
        const std::vector<float> expected = plain.forward(x);
        const std::vector<float> out = forwardOf(*calc, x);
        for (int k = 0; k < n; ++k)
            QVERIFY2(sameBits(out[k], expected[k]),
                     qPrintable(QStringLiteral("%1: %2 %3").arg(k).arg(out[k]).arg(expected[k])));

        const std::vector<float> expectedBack = plain.inverse(expected);
        std::vector<float> spectrum = expected;
        std::vector<float> back(size_t(n) + 1, sentinel);
        calc->setData(spectrum.data(), back.data());
        calc->inverse();
        for (int i = 0; i < n; ++i)
            QVERIFY2(sameBits(back[i], expectedBack[i]), qPrintable(QString::number(i)));
    }

    // Inputs on which a changed order of operations shows beyond the rounding
    // of random samples: signed zeros (x - y and -(y - x) differ only in the
    // sign of a zero), values among many of them, values deep in the denormal
    // range and values across the whole exponent range. Both vector widths,
    // every fixed size.
    void sameBitsAsPlainFormulas_awkwardSamples_data()
    {
        QTest::addColumn<int>("exponent");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("wide");
        const QStringList kinds{QStringLiteral("signed zeros"), QStringLiteral("sparse"), QStringLiteral("denormal"),
                                QStringLiteral("wide range")};
        for (int e = 3; e <= 14; ++e) {
            for (const QString &kind : kinds) {
                for (bool wide : {true, false})
                    QTest::newRow(
                        qPrintable(QStringLiteral("%1 points, %2, %3 lanes").arg(1 << e).arg(kind).arg(wide ? 8 : 4)))
                        << e << kind << wide;
            }
        }
    }
    void sameBitsAsPlainFormulas_awkwardSamples()
    {
        QFETCH(int, exponent);
        QFETCH(QString, kind);
        QFETCH(bool, wide);
        if (wide && !fftpasses::wideVectors())
            QSKIP("this processor runs the four-lane code only");
        const int n = 1 << exponent;
        std::mt19937 rng(4711u + unsigned(exponent));
        std::uniform_real_distribution<float> uniform(-1.0f, 1.0f);
        std::uniform_int_distribution<int> exponents(-60, 60);
        std::vector<float> x(static_cast<size_t>(n));
        int nonzero = 0;
        for (float &v : x) {
            const bool negative = rng() & 1u;
            if (kind == QLatin1String("signed zeros")) {
                v = negative ? -0.0f : 0.0f;
            } else if (kind == QLatin1String("sparse")) {
                v = rng() % 4u == 0 ? uniform(rng) : (negative ? -0.0f : 0.0f);
            } else if (kind == QLatin1String("denormal")) {
                v = uniform(rng) * 1e-38f * 1e-3f;
            } else {
                v = std::ldexp(uniform(rng), exponents(rng));
            }
            nonzero += v != 0.0f;
        }
        QVERIFY(kind == QLatin1String("signed zeros") ? nonzero == 0 : nonzero > 0);

        struct Width {
            explicit Width(bool wide) { fftpasses::setWideVectorsEnabled(wide); }
            ~Width() { fftpasses::setWideVectorsEnabled(true); }
        } width(wide);
        auto calc = fixedCalculator(exponent);
        const std::vector<float> expected = PlainRadix2{n, 4096}.forward(x);
        const std::vector<float> out = forwardOf(*calc, x);
        for (int k = 0; k < n; ++k)
            QVERIFY2(sameBits(out[k], expected[k]), qPrintable(QStringLiteral("%1: %2 %3")
                                                                   .arg(k)
                                                                   .arg(double(out[k]), 0, 'g', 9)
                                                                   .arg(double(expected[k]), 0, 'g', 9)));
    }

    // Long transforms pick where their work array starts from where the
    // caller's arrays lie; the results must not depend on it. The rows put
    // the samples and the output at the same, near and far offsets within
    // 4 KiB pages.
    void forward_sameBitsWhereverTheArraysLie_data()
    {
        QTest::addColumn<int>("exponent");
        QTest::addColumn<int>("inOffset");
        QTest::addColumn<int>("outOffset");
        for (int e = 12; e <= 14; ++e) {
            for (int in : {0, 4, 60}) {
                for (int out : {0, 4, 64, 512, 1020})
                    QTest::newRow(
                        qPrintable(QStringLiteral("%1 points, in at %2, out at %3").arg(1 << e).arg(in).arg(out)))
                        << e << in << out;
            }
        }
    }
    void forward_sameBitsWhereverTheArraysLie()
    {
        QFETCH(int, exponent);
        QFETCH(int, inOffset);
        QFETCH(int, outOffset);
        const int n = 1 << exponent;
        const std::vector<float> x = randomSamples(n, 2024u);
        auto calc = fixedCalculator(exponent);
        const std::vector<float> expected = forwardOf(*calc, x);
        // Whole pages for each array, offsets in floats within them.
        const int pageFloats = 1024;
        std::vector<float> storage(size_t(2 * n + 4 * pageFloats), sentinel);
        const uintptr_t address = reinterpret_cast<uintptr_t>(storage.data());
        float *page = storage.data() + ((4096u - (address & 4095u)) & 4095u) / sizeof(float);
        float *in = page + inOffset;
        float *out = page + n + pageFloats + outOffset;
        std::copy(x.begin(), x.end(), in);
        calc->setData(in, out);
        calc->forward();
        for (int k = 0; k < n; ++k)
            QVERIFY2(sameBits(out[k], expected[k]), qPrintable(QString::number(k)));
        QCOMPARE(out[n], sentinel);
        QVERIFY(std::equal(x.begin(), x.end(), in));
    }

    // The four-lane code runs where the processor lacks AVX2; both widths
    // evaluate the same formulas and must agree to the bit.
    void vectorWidths_agree_data() { addSizeRows(16); }
    void vectorWidths_agree()
    {
        QFETCH(int, exponent);
        if (!fftpasses::wideVectors())
            QSKIP("this processor runs the four-lane code only");
        const int n = 1 << exponent;
        auto calc = calculatorFor(exponent);
        const std::vector<float> x = randomSamples(n, 31u);
        const std::vector<float> wide = forwardOf(*calc, x);
        std::vector<float> wideBack(size_t(n) + 1, sentinel);
        std::vector<float> spectrum = wide;
        calc->setData(spectrum.data(), wideBack.data());
        calc->inverse();

        // Switched back on even if a check below fails, so later tests run as usual.
        struct NarrowOnly {
            NarrowOnly() { fftpasses::setWideVectorsEnabled(false); }
            ~NarrowOnly() { fftpasses::setWideVectorsEnabled(true); }
        } narrowOnly;
        QVERIFY(!fftpasses::wideVectors());
        const std::vector<float> narrow = forwardOf(*calc, x);
        std::vector<float> narrowBack(size_t(n) + 1, sentinel);
        calc->setData(spectrum.data(), narrowBack.data());
        calc->inverse();

        for (int k = 0; k <= n; ++k) {
            QVERIFY2(sameBits(wide[k], narrow[k]), qPrintable(QString::number(k)));
            QVERIFY2(sameBits(wideBack[k], narrowBack[k]), qPrintable(QString::number(k)));
        }
    }

    // Every block of a rotated pass restarts at (1, 0), so a second transform
    // of the same samples repeats the first to the bit.
    void rotatedPasses_doNotCarryOver_data()
    {
        QTest::addColumn<int>("exponent");
        QTest::newRow("8192 points, fixed") << 13;
        QTest::newRow("16384 points, fixed") << 14;
        QTest::newRow("65536 points, variable") << 16;
    }
    void rotatedPasses_doNotCarryOver()
    {
        QFETCH(int, exponent);
        auto calc = calculatorFor(exponent);
        const std::vector<float> x = randomSamples(1 << exponent, 5u);
        const std::vector<float> first = forwardOf(*calc, x);
        const std::vector<float> other = forwardOf(*calc, randomSamples(1 << exponent, 6u));
        QVERIFY(other != first);
        QVERIFY(forwardOf(*calc, x) == first);
    }

    // The float rotation of the 16384-point pass 14 runs the sine a little past 1.
    void oscillator_drift()
    {
        FourierFixedCalculator<14> calc;
        forwardOf(calc, randomSamples(16384, 3u));
        const float sine = calc.workspace().oscillators[1].sine;
        QVERIFY2(sine > 1.00001f && sine < 1.000015f, qPrintable(QString::number(double(sine), 'g', 9)));
        QCOMPARE(calc.workspace().oscillators[0].stepCosine, float(std::cos(std::acos(-1.0) / 4096.0)));
    }

    void fixed_setSizeChangesNothing()
    {
        FourierFixedCalculator<4> calc;
        calc.setSize(8);
        QCOMPARE(calc.size(), 16);
        std::vector<float> impulse(16, 0.0f);
        impulse[0] = 1.0f;
        const std::vector<float> out = forwardOf(calc, impulse);
        for (int k = 0; k < 16; ++k)
            QCOMPARE(out[k], k <= 8 ? 1.0f : 0.0f);
        QCOMPARE(out[16], sentinel);
    }

    // Neither calculator has anything to do before it has buffers (and the
    // variable one an engine); they must not touch memory then.
    void calculators_withoutBuffersDoNothing()
    {
        FourierVariableCalculator noEngine;
        std::vector<float> x(8, 1.0f);
        std::vector<float> out(8, sentinel);
        noEngine.setData(x.data(), out.data());
        noEngine.forward();
        noEngine.inverse();
        noEngine.rescale();
        QCOMPARE(out, std::vector<float>(8, sentinel));
        QCOMPARE(x, std::vector<float>(8, 1.0f));

        FourierVariableCalculator noBuffers;
        noBuffers.setSize(64);
        noBuffers.forward();
        noBuffers.inverse();
        noBuffers.rescale();
        FourierFixedCalculator<6> fixedNoBuffers;
        fixedNoBuffers.forward();
        fixedNoBuffers.inverse();
        fixedNoBuffers.rescale();
        QCOMPARE(fixedNoBuffers.size(), 64);
    }

    void variable_keepsEngineForSameLength()
    {
        FourierVariableCalculator calc;
        QVERIFY(!calc.engine());
        calc.setSize(32768);
        const RealFftEngine<float> *engine = calc.engine();
        QVERIFY(engine);
        QCOMPARE(engine->length(), 32768);
        QCOMPARE(engine->bitCount(), 15);
        calc.setSize(32768);
        QCOMPARE(calc.engine(), engine);
        calc.setSize(4);
        QCOMPARE(calc.engine()->length(), 4);
        QCOMPARE(calc.engine()->bitCount(), 2);
        QCOMPARE(calc.size(), 4);
    }
};

QUILLON_TEST(TestFourierCalculators)
#include "tst_fouriercalculators.moc"
