// The front object: size selection, window names, windowing in place, and
// that a refused size never lets a calculator of another size near the
// caller's buffers.
#include "testregistry.h"

#include "fft/fouriertransformer.h"
#include "fft/fouriervariablecalculator.h"
#include "fft/hammingwindow.h"
#include "fft/hannwindow.h"
#include "windowformula.h"

#include <QtTest>

#include <limits>
#include <vector>

namespace {

constexpr float sentinel = -777.25f;

QString windowKind(const WindowFunction<float> *w)
{
    if (!w)
        return QStringLiteral("none");
    if (dynamic_cast<const HammingWindow<float> *>(w))
        return QStringLiteral("Hamming");
    if (dynamic_cast<const HannWindow<float> *>(w))
        return QStringLiteral("Hann");
    return QStringLiteral("other");
}

std::vector<float> ramp(int n)
{
    std::vector<float> x(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        x[i] = float(i % 7) - 3.0f;
    return x;
}

} // namespace

class TestFourierTransformer : public QObject
{
    Q_OBJECT

private slots:
    void construct_emptyLeavesNothingSelected()
    {
        FourierTransformer fft(0, QString());
        QCOMPARE(fft.size(), 0);
        QVERIFY(!fft.calculator());
        QVERIFY(!fft.windowFunction());
        QCOMPARE(FourierTransformer::windowFunctions(), QStringList({"Rectangular", "Hamming", "Hann"}));
    }

    void construct_withSizeAndWindow()
    {
        FourierTransformer fft(256, QStringLiteral("Hann"));
        QCOMPARE(fft.size(), 256);
        QCOMPARE(fft.calculator()->size(), 256);
        QCOMPARE(windowKind(fft.windowFunction()), QStringLiteral("Hann"));
        QCOMPARE(int(fft.windowFunction()->table().size()), 256);
    }

    void setSize_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("sizeAfter");
        QTest::newRow("zero") << 0 << 2 << 0;
        QTest::newRow("negative power of two") << -8 << 2 << 0;
        QTest::newRow("not a power of two") << 12 << 2 << 0;
        QTest::newRow("most negative int") << std::numeric_limits<int>::min() << 2 << 0;
        QTest::newRow("8 fixed") << 8 << 1 << 8;
        QTest::newRow("512 fixed") << 512 << 1 << 512;
        QTest::newRow("4096 fixed") << 4096 << 1 << 4096;
        QTest::newRow("8192 fixed") << 8192 << 1 << 8192;
        QTest::newRow("16384 fixed") << 16384 << 1 << 16384;
        QTest::newRow("1 variable") << 1 << 0 << 1;
        QTest::newRow("2 variable") << 2 << 0 << 2;
        QTest::newRow("4 variable") << 4 << 0 << 4;
        QTest::newRow("32768 variable") << 32768 << 0 << 32768;
    }
    void setSize()
    {
        QFETCH(int, size);
        QFETCH(int, result);
        QFETCH(int, sizeAfter);
        FourierTransformer fft(64, QString());
        QCOMPARE(int(fft.setSize(size)), result);
        QCOMPARE(fft.size(), sizeAfter);
        if (result == FourierTransformer::InvalidSize) {
            // The 64-point calculator stays selected.
            QCOMPARE(fft.calculator()->size(), 64);
            return;
        }
        QCOMPARE(fft.calculator()->size(), size);
        const bool fixed = dynamic_cast<const FourierVariableCalculator *>(fft.calculator()) == nullptr;
        QCOMPARE(fixed, result == FourierTransformer::FixedSize);
    }

    // Part of the mend: with no size in force there is nothing to run, and the
    // caller's buffers stay as they were.
    void forwardTransform_withoutValidSizeDoesNothing_data()
    {
        QTest::addColumn<int>("firstSize");
        QTest::addColumn<int>("secondSize");
        QTest::newRow("never sized") << 0 << 0;
        QTest::newRow("16384 then 12") << 16384 << 12;
        QTest::newRow("8 then -8") << 8 << -8;
        QTest::newRow("65536 then 0") << 65536 << 0;
    }
    void forwardTransform_withoutValidSizeDoesNothing()
    {
        QFETCH(int, firstSize);
        QFETCH(int, secondSize);
        FourierTransformer fft(0, QString());
        fft.setSize(firstSize);
        fft.setWindowFunction(QStringLiteral("Hann"));
        QCOMPARE(int(fft.setSize(secondSize)), int(FourierTransformer::InvalidSize));
        // Four floats: far fewer than the calculator selected before would touch.
        std::vector<float> input{1.0f, 2.0f, 3.0f, 4.0f};
        std::vector<float> output(4, sentinel);
        fft.forwardTransform(input.data(), output.data());
        QCOMPARE(input, (std::vector<float>{1.0f, 2.0f, 3.0f, 4.0f}));
        QCOMPARE(output, std::vector<float>(4, sentinel));
    }

    void setWindowFunction_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("kind");
        // Every row starts from a Hamming window, so that "unchanged" shows.
        QTest::newRow("Rectangular") << "Rectangular" << true << "none";
        QTest::newRow("lower case") << "rectangular" << true << "none";
        QTest::newRow("Function suffix and blanks") << "  RectangularFunction \t" << true << "none";
        QTest::newRow("HannFunction") << "HannFunction" << true << "Hann";
        QTest::newRow("Hann") << "Hann" << true << "Hann";
        QTest::newRow("upper case") << "HANN" << true << "Hann";
        QTest::newRow("blank before Function stays") << "Hann Function" << false << "Hamming";
        QTest::newRow("Blackman is not offered") << "Blackman" << false << "Hamming";
        QTest::newRow("empty name") << "" << false << "Hamming";
        QTest::newRow("Hamming again") << "hammingfunction" << true << "Hamming";
    }
    void setWindowFunction()
    {
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        QFETCH(QString, kind);
        FourierTransformer fft(32, QStringLiteral("Hamming"));
        const WindowFunction<float> *before = fft.windowFunction();
        QCOMPARE(windowKind(before), QStringLiteral("Hamming"));
        QCOMPARE(fft.setWindowFunction(name), accepted);
        QCOMPARE(windowKind(fft.windowFunction()), kind);
        if (!accepted)
            QCOMPARE(fft.windowFunction(), before);
        if (fft.windowFunction())
            QCOMPARE(int(fft.windowFunction()->table().size()), 32);
    }

    void windowTable_followsValidSizes()
    {
        FourierTransformer fft(0, QString());
        QVERIFY(fft.setWindowFunction(QStringLiteral("Hann")));
        QVERIFY(fft.windowFunction()->table().empty()); // no valid size yet
        fft.setSize(8);
        QCOMPARE(int(fft.windowFunction()->table().size()), 8);
        fft.setSize(16);
        QCOMPARE(int(fft.windowFunction()->table().size()), 16);
        fft.setSize(12); // refused: the table keeps its length
        QCOMPARE(int(fft.windowFunction()->table().size()), 16);
        fft.setSize(1);
        QCOMPARE(fft.windowFunction()->table(), std::vector<float>{1.0f});
    }

    // The window multiplies the caller's samples in place; the spectrum is the
    // unwindowed transform of the multiplied samples.
    void forwardTransform_windowsInPlace_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("size");
        QTest::newRow("Hann, 16 points") << "Hann" << 16;
        QTest::newRow("Hamming, 1024 points") << "Hamming" << 1024;
        QTest::newRow("Hann, 32768 points") << "Hann" << 32768;
    }
    void forwardTransform_windowsInPlace()
    {
        QFETCH(QString, name);
        QFETCH(int, size);
        FourierTransformer windowed(size, name);
        std::vector<float> input = ramp(size);
        const std::vector<float> original = input;
        std::vector<float> output(size_t(size) + 1, sentinel);
        windowed.forwardTransform(input.data(), output.data());

        std::vector<float> expectedInput(static_cast<size_t>(size));
        for (int i = 0; i < size; ++i)
            expectedInput[i] = original[i] * windowFormula(name, i, size);
        QCOMPARE(input, expectedInput);

        FourierTransformer plain(size, QStringLiteral("Rectangular"));
        std::vector<float> again = expectedInput;
        std::vector<float> expectedOutput(size_t(size) + 1, sentinel);
        plain.forwardTransform(again.data(), expectedOutput.data());
        QCOMPARE(again, expectedInput); // no window: the samples stay
        QCOMPARE(output, expectedOutput);
        QCOMPARE(output[size], sentinel);
    }
};

QUILLON_TEST(TestFourierTransformer)
#include "tst_fouriertransformer.moc"
