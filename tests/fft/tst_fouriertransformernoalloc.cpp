// forwardTransform allocates nothing. A replacement operator new applies to
// the whole test executable, so it only counts while a measurement has
// switched it on; every other test sees the ordinary allocator.
#include "testregistry.h"

#include "fft/fouriertransformer.h"

#include <QtTest>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

namespace {
std::atomic<bool> countingAllocations{false};
std::atomic<long> allocationCount{0};

void *allocate(std::size_t size)
{
    if (countingAllocations.load(std::memory_order_relaxed))
        allocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
} // namespace

void *operator new(std::size_t size)
{
    return allocate(size);
}

void *operator new[](std::size_t size)
{
    return allocate(size);
}

void operator delete(void *p) noexcept
{
    std::free(p);
}

void operator delete[](void *p) noexcept
{
    std::free(p);
}

void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete[](void *p, std::size_t) noexcept
{
    std::free(p);
}

class TestFourierTransformerNoAlloc : public QObject
{
    Q_OBJECT

private slots:
    void forwardTransform_allocatesNothing_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("window");
        QTest::newRow("4 points, variable") << 4 << "Rectangular";
        QTest::newRow("8 points, Hann") << 8 << "Hann";
        QTest::newRow("4096 points") << 4096 << "Rectangular";
        QTest::newRow("16384 points, Hamming") << 16384 << "Hamming";
        QTest::newRow("65536 points, variable") << 65536 << "Hann";
    }
    void forwardTransform_allocatesNothing()
    {
        QFETCH(int, size);
        QFETCH(QString, window);
        FourierTransformer fft(0, QString());
        fft.setSize(size);
        QVERIFY(fft.setWindowFunction(window));
        std::vector<float> input(static_cast<size_t>(size), 0.5f);
        std::vector<float> output(size_t(size) + 1, 0.0f);

        // The counter itself must work, or a zero below would prove nothing.
        allocationCount = 0;
        countingAllocations = true;
        // Called through a volatile pointer so that the compiler cannot drop the pair.
        void *(*volatile probe)(std::size_t) = &::operator new;
        ::operator delete(probe(16));
        countingAllocations = false;
        QCOMPARE(allocationCount.load(), 1L);

        allocationCount = 0;
        countingAllocations = true;
        for (int frame = 0; frame < 3; ++frame)
            fft.forwardTransform(input.data(), output.data());
        countingAllocations = false;
        QCOMPARE(allocationCount.load(), 0L);
        QVERIFY(output[0] != 0.0f); // the transforms did run
    }
};

QUILLON_TEST(TestFourierTransformerNoAlloc)
#include "tst_fouriertransformernoalloc.moc"
