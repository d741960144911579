// The shared twiddle arrays of the forward passes against what each fixed
// calculator would read or rotate itself: they must agree to the bit.
#include "testregistry.h"

#include "fft/fourierfixedcalculator.h"
#include "fft/twiddletables.h"

#include <QtTest>

#include <cstring>
#include <vector>

namespace {

bool sameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct CalculatorTwiddles {
    std::vector<float> cosineTable;
    FourierOscillator oscillators[2];
    int oscillatorCount = 0;
};

template <int N>
CalculatorTwiddles twiddlesOf()
{
    FourierFixedCalculator<N> calc;
    const auto &work = calc.workspace();
    CalculatorTwiddles t;
    t.cosineTable.assign(work.cosineTable.get(), work.cosineTable.get() + FourierFixedCalculator<N>::TableLength);
    t.oscillatorCount = FourierFixedCalculator<N>::OscillatorCount;
    for (int k = 0; k < t.oscillatorCount; ++k)
        t.oscillators[k] = work.oscillators[k];
    return t;
}

CalculatorTwiddles twiddlesOf(int exponent)
{
    switch (exponent) {
    case 4:
        return twiddlesOf<4>();
    case 5:
        return twiddlesOf<5>();
    case 6:
        return twiddlesOf<6>();
    case 7:
        return twiddlesOf<7>();
    case 8:
        return twiddlesOf<8>();
    case 9:
        return twiddlesOf<9>();
    case 10:
        return twiddlesOf<10>();
    case 11:
        return twiddlesOf<11>();
    case 12:
        return twiddlesOf<12>();
    case 13:
        return twiddlesOf<13>();
    default:
        return twiddlesOf<14>();
    }
}

} // namespace

class TestTwiddleTables : public QObject
{
    Q_OBJECT

private slots:
    void tabulated_sameBitsAsCalculatorTables_data()
    {
        QTest::addColumn<int>("exponent");
        for (int e = 4; e <= 14; ++e)
            QTest::newRow(qPrintable(QStringLiteral("%1 points").arg(1 << e))) << e;
    }
    // Every tabulated pass of every calculator: entry j m and (q - j) m of its
    // own table, for every j.
    void tabulated_sameBitsAsCalculatorTables()
    {
        QFETCH(int, exponent);
        const CalculatorTwiddles calc = twiddlesOf(exponent);
        const int T = int(calc.cosineTable.size());
        const TwiddleTables &tables = TwiddleTables::instance();
        const int lastTabulated = exponent < 13 ? exponent : 12;
        for (int p = 4; p <= lastTabulated; ++p) {
            const int B = 1 << p;
            const int q = B / 4;
            const int m = 4 * T / B;
            const TwiddleTables::Pass &pass = tables.tabulated(p);
            QCOMPARE(pass.quarter, q);
            for (int j = 1; j < q; ++j) {
                const QByteArray where = QStringLiteral("pass %1, j %2").arg(p).arg(j).toLatin1();
                QVERIFY2(sameBits(pass.cosine[j], calc.cosineTable[size_t(j * m)]), where.constData());
                QVERIFY2(sameBits(pass.sine[j], calc.cosineTable[size_t((q - j) * m)]), where.constData());
                QVERIFY2(sameBits(pass.mirrorCosine[j], calc.cosineTable[size_t((q - j) * m)]), where.constData());
                QVERIFY2(sameBits(pass.mirrorSine[j], calc.cosineTable[size_t(j * m)]), where.constData());
                if (j < q / 2) {
                    const size_t below = size_t((q / 2 - j) * m);
                    const size_t above = size_t((q / 2 + j) * m);
                    QVERIFY2(sameBits(pass.halfCosine[j], calc.cosineTable[below]), where.constData());
                    QVERIFY2(sameBits(pass.halfSine[j], calc.cosineTable[above]), where.constData());
                }
            }
        }
    }

    void rotated_sameBitsAsOscillator_data()
    {
        QTest::addColumn<int>("exponent");
        QTest::newRow("8192 points") << 13;
        QTest::newRow("16384 points") << 14;
    }
    // The rotation run from (1, 0) with the calculator's own step, one j at a time.
    void rotated_sameBitsAsOscillator()
    {
        QFETCH(int, exponent);
        const CalculatorTwiddles calc = twiddlesOf(exponent);
        QCOMPARE(calc.oscillatorCount, exponent - 12);
        for (int k = 0; k < calc.oscillatorCount; ++k) {
            const int p = 13 + k;
            const TwiddleTables::Pass &pass = TwiddleTables::instance().rotated(p);
            const int q = 1 << (p - 2);
            QCOMPARE(pass.quarter, q);
            const FourierOscillator &o = calc.oscillators[k];
            float c = 1.0f;
            float s = 0.0f;
            std::vector<float> cosines(size_t(q), 1.0f);
            std::vector<float> sines(size_t(q), 0.0f);
            for (int j = 1; j < q; ++j) {
                const float c2 = c * o.stepCosine - s * o.stepSine;
                const float s2 = c * o.stepSine + s * o.stepCosine;
                c = c2;
                s = s2;
                cosines[size_t(j)] = c;
                sines[size_t(j)] = s;
            }
            for (int j = 1; j < q; ++j) {
                const QByteArray where = QStringLiteral("pass %1, j %2").arg(p).arg(j).toLatin1();
                QVERIFY2(sameBits(pass.cosine[j], cosines[size_t(j)]), where.constData());
                QVERIFY2(sameBits(pass.sine[j], sines[size_t(j)]), where.constData());
                QVERIFY2(sameBits(pass.mirrorCosine[j], cosines[size_t(q - j)]), where.constData());
                QVERIFY2(sameBits(pass.mirrorSine[j], sines[size_t(q - j)]), where.constData());
            }
        }
    }

    // A transform leaves each oscillator at the value of its pass's last j,
    // as the rotation itself would.
    void forward_leavesOscillatorsAtLastTwiddle()
    {
        FourierFixedCalculator<14> calc;
        std::vector<float> in(16384, 0.25f);
        std::vector<float> out(16384);
        calc.setData(in.data(), out.data());
        calc.forward();
        for (int k = 0; k < 2; ++k) {
            const TwiddleTables::Pass &pass = TwiddleTables::instance().rotated(13 + k);
            QVERIFY(sameBits(calc.workspace().oscillators[k].cosine, pass.cosine[pass.quarter - 1]));
            QVERIFY(sameBits(calc.workspace().oscillators[k].sine, pass.sine[pass.quarter - 1]));
        }
    }
};

QUILLON_TEST(TestTwiddleTables)
#include "tst_twiddletables.moc"
