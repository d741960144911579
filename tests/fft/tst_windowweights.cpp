// The window weights every user shares: sizes 1 and 2, odd sizes and powers
// of two, symmetry, and values worked out by hand for each kind.
#include "testregistry.h"

#include "fft/windowweights.h"

#include <QtTest>

#include <cmath>

Q_DECLARE_METATYPE(WindowKind)

class TestWindowWeights : public QObject
{
    Q_OBJECT

private slots:
    void windowWeight_data()
    {
        QTest::addColumn<WindowKind>("kind");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("n");
        QTest::addColumn<double>("expected");
        // With M = 8, n = 2 puts the cosines of n, 2n, 3n and 4n steps at 0, -1, 0, 1 and the centre
        // n = 4 at -1, 1, -1, 1; two points put them all at 1 (and Bartlett, without a centre, at 0).
        const char *names[] = {"Rectangular", "Hamming", "Hann", "Blackman", "Bartlett", "Flattop", "Blackman-Harris"};
        const double twoPoints[] = {1.0, 0.08, 0.0, 0.0, 0.0, 0.0, 0.00006};
        const double quarter[] = {1.0, 0.54, 0.5, 0.34, 0.5, -0.262, 0.21747};
        const double centre[] = {1.0, 1.0, 1.0, 1.0, 1.0, 4.636, 1.0};
        for (int k = 0; k < 7; ++k) {
            const QByteArray name(names[k]);
            QTest::newRow(name + ", one point") << WindowKind(k) << 1 << 0 << 1.0;
            QTest::newRow(name + ", two points") << WindowKind(k) << 2 << 0 << twoPoints[k];
            QTest::newRow(name + ", 9 points, quarter") << WindowKind(k) << 9 << 2 << quarter[k];
            QTest::newRow(name + ", 9 points, centre") << WindowKind(k) << 9 << 4 << centre[k];
        }
        // 8 points: 1 - cos(8 pi / 7) halved is cos^2(pi / 14).
        QTest::newRow("Hann, 8 points, beside the centre")
            << WindowKind::Hann << 8 << 3 << std::pow(std::cos(M_PI / 14), 2);
        // An even size puts the peak at h = M / 2 rounded down, and the last weight below zero.
        QTest::newRow("Bartlett, 512 points, peak") << WindowKind::Bartlett << 512 << 255 << 1.0;
        QTest::newRow("Bartlett, 512 points, last") << WindowKind::Bartlett << 512 << 511 << -1.0 / 255;
    }
    void windowWeight()
    {
        QFETCH(WindowKind, kind);
        QFETCH(int, size);
        QFETCH(int, n);
        QFETCH(double, expected);
        const double w = ::windowWeight(kind, n, size);
        QVERIFY2(std::abs(w - expected) < 1e-12, qPrintable(QString::number(w, 'g', 17)));
        // Symmetric about the centre; Bartlett about its peak, for an even size half a point left of it.
        const int mirror = (kind == WindowKind::Bartlett ? (size - 1) / 2 * 2 : size - 1) - n;
        if (mirror >= 0)
            QVERIFY(std::abs(::windowWeight(kind, mirror, size) - w) < 1e-12);
        // The table is the same weights, and nothing for no points.
        QCOMPARE(windowWeights(kind, size).at(size_t(n)), w);
        QVERIFY(windowWeights(kind, 0).empty());
    }
};

QUILLON_TEST(TestWindowWeights)
#include "tst_windowweights.moc"
