// Window objects: names, coefficients, symmetry, when the table is rebuilt,
// and the one-point window.
#include "testregistry.h"

#include "fft/hammingwindow.h"
#include "fft/hannwindow.h"
#include "windowformula.h"

#include <QtTest>

#include <memory>

namespace {

// Counts how often a coefficient is computed, to tell a rebuilt table from a kept one.
class CountingWindow : public WindowFunction<float>
{
public:
    float calculate(int n, int size) const override
    {
        ++calls;
        return float(n + 1) / float(size);
    }
    mutable int calls = 0;
};

QString kindOf(const WindowFunction<float> *w)
{
    if (!w)
        return QStringLiteral("none");
    if (dynamic_cast<const HammingWindow<float> *>(w))
        return QStringLiteral("Hamming");
    if (dynamic_cast<const HannWindow<float> *>(w))
        return QStringLiteral("Hann");
    return QStringLiteral("other");
}

} // namespace

class TestWindowFunction : public QObject
{
    Q_OBJECT

private slots:
    void fromName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::newRow("Hamming") << "Hamming"
                                 << "Hamming";
        QTest::newRow("lower case") << "hamming"
                                    << "Hamming";
        QTest::newRow("upper case") << "HAMMING"
                                    << "Hamming";
        QTest::newRow("Function suffix, blanks") << " HammingFunction  "
                                                 << "Hamming";
        QTest::newRow("Hann") << "Hann"
                              << "Hann";
        QTest::newRow("Rectangular has no object") << "Rectangular"
                                                   << "none";
        QTest::newRow("empty") << ""
                               << "none";
        QTest::newRow("unknown") << "Blackman"
                                 << "none";
        QTest::newRow("inner blank kept") << "Hann Function"
                                          << "none";
    }
    void fromName()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        std::unique_ptr<WindowFunction<float>> w(WindowFunction<float>::fromName(name));
        QCOMPARE(kindOf(w.get()), kind);
        if (w)
            QVERIFY(w->table().empty());
    }

    void create_coefficients_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("size");
        QTest::newRow("Hann 8") << "Hann" << 8;
        QTest::newRow("Hann 9") << "Hann" << 9;
        QTest::newRow("Hamming 8") << "Hamming" << 8;
        QTest::newRow("Hamming 2") << "Hamming" << 2;
        QTest::newRow("Hann 1") << "Hann" << 1;
        QTest::newRow("Hamming 1") << "Hamming" << 1;
    }
    void create_coefficients()
    {
        QFETCH(QString, name);
        QFETCH(int, size);
        std::unique_ptr<WindowFunction<float>> w(WindowFunction<float>::fromName(name));
        w->create(size);
        const std::vector<float> &t = w->table();
        QCOMPARE(int(t.size()), size);
        const bool hann = name == QLatin1String("Hann");
        if (size == 1) {
            // One point has no ends to taper: the sample passes unchanged.
            QCOMPARE(t[0], 1.0f);
            return;
        }
        QCOMPARE(t.front(), hann ? 0.0f : float(0.54 - 0.46));
        for (int i = 0; i < size; ++i) {
            QCOMPARE(t[i], t[size - 1 - i]); // symmetric
            QCOMPARE(t[i], windowFormula(name, i, size));
            QVERIFY(t[i] <= 1.0f);
        }
        if (size % 2 == 1)
            QCOMPARE(t[size / 2], 1.0f);
    }

    void create_rebuildsOnlyForNewSize()
    {
        CountingWindow w;
        w.create(8);
        QCOMPARE(w.calls, 8);
        QCOMPARE(w.table()[7], 1.0f);
        w.create(8);
        QCOMPARE(w.calls, 8);
        w.create(16);
        QCOMPARE(w.calls, 24);
        QCOMPARE(int(w.table().size()), 16);
        QCOMPARE(w.table()[7], 0.5f);
    }

    void apply_multipliesInPlace()
    {
        CountingWindow w;
        w.create(4); // 0.25, 0.5, 0.75, 1
        float samples[5] = {4.0f, -8.0f, 2.0f, 3.0f, 9.0f};
        w.apply(samples, 0);
        QCOMPARE(samples[0], 4.0f);
        w.apply(samples, 4);
        QCOMPARE(samples[0], 1.0f);
        QCOMPARE(samples[1], -4.0f);
        QCOMPARE(samples[2], 1.5f);
        QCOMPARE(samples[3], 3.0f);
        QCOMPARE(samples[4], 9.0f); // beyond count
    }
};

QUILLON_TEST(TestWindowFunction)
#include "tst_windowfunction.moc"
