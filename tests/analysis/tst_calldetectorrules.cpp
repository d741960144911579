#include "testregistry.h"

#include "analysis/calldetector.h"

#include <QTest>
#include <algorithm>
#include <limits>
#include <numeric>

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();

Blob blobAt(size_t frameMin, size_t frameMax, size_t binMin, size_t binMax, size_t cols = 255)
{
    Blob b;
    b.addPixel(frameMin * cols + binMin, binMin, frameMin, 1.0f);
    b.addPixel(frameMax * cols + binMax, binMax, frameMax, 1.0f);
    return b;
}

QList<int> sortedLabels(const std::unordered_map<int, Blob> &blobs)
{
    QList<int> labels;
    for (const auto &e : blobs)
        labels << e.first;
    std::sort(labels.begin(), labels.end());
    return labels;
}

} // namespace

using BlobList = QVector<QPair<int, Blob>>;
Q_DECLARE_METATYPE(BlobList)

class TestCallDetectorRules : public QObject
{
    Q_OBJECT

private slots:
    void classifyCall_data();
    void classifyCall();
    void shapeChecksAndLabel_data();
    void shapeChecksAndLabel();
    void selectTopBlobs_data();
    void selectTopBlobs();
    void suppressTrailingBlobs_data();
    void suppressTrailingBlobs();
};

void TestCallDetectorRules::classifyCall_data()
{
    QTest::addColumn<float>("duration");
    QTest::addColumn<float>("startFreq");
    QTest::addColumn<float>("endFreq");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("sub");

    QTest::newRow("0.036 is not Test") << 0.036f << 23.0f << 20.0f << "Nyc"
                                       << "No Sub";
    QTest::newRow("Test: steady long tone") << 0.05f << 40.0f << 36.0f << "Test"
                                            << "No Sub";
    QTest::newRow("Test needs less than 5 kHz change") << 0.05f << 41.0f << 36.0f << "Noise"
                                                       << "No Sub";
    QTest::newRow("Nyc top 33.0") << 0.01f << 40.0f << 33.0f << "Nyc"
                                  << "No Sub";
    QTest::newRow("Pip above 33") << 0.01f << 40.0f << 33.01f << "Pip"
                                  << "No Sub";
    QTest::newRow("Enil at 31.0") << 0.01f << 35.0f << 31.0f << "Nyc"
                                  << "Enil";
    QTest::newRow("float 31.2 is above 31.2") << 0.01f << 35.0f << 31.2f << "Nyc"
                                              << "No Sub";
    // Float durations widened to double: 0.0029f lies below 0.0029, 0.0059f above 0.0059.
    QTest::newRow("float 0.0029 is not above 0.0029") << 0.0029f << 25.0f << 20.0f << "Noise"
                                                      << "No Sub";
    QTest::newRow("float 0.0029 is too short for PipNat") << 0.0029f << 50.0f << 40.0f << "Pip"
                                                          << "No Sub";
    QTest::newRow("float 0.0059 is NycNoc") << 0.0059f << 25.0f << 20.0f << "Nyc"
                                            << "NycNoc";
    QTest::newRow("float 0.028 is above 0.028") << 0.028f << 20.0f << 14.0f << "Nyc"
                                                << "No Sub";
    QTest::newRow("41.0 is PipNat") << 0.01f << 50.0f << 41.0f << "Pip"
                                    << "PipNat";
    QTest::newRow("float 41.2 is PipPn") << 0.01f << 50.0f << 41.2f << "Pip"
                                         << "PipPn";
    QTest::newRow("42.5 is PipPn") << 0.01f << 50.0f << 42.5f << "Pip"
                                   << "PipPn";
    QTest::newRow("42.6 is PipPip") << 0.01f << 50.0f << 42.6f << "Pip"
                                    << "PipPip";
    QTest::newRow("0.016 is too long for PipPp") << 0.016f << 60.0f << 50.0f << "Pip"
                                                 << "No Sub";
    QTest::newRow("float 0.015 is PipPp") << 0.015f << 60.0f << 50.0f << "Pip"
                                          << "PipPp";
    QTest::newRow("above 65 is Noise") << 0.01f << 80.0f << 65.01f << "Noise"
                                       << "No Sub";
    QTest::newRow("float 0.0015 is above 0.0015") << 0.0015f << 60.0f << 45.0f << "Pip"
                                                  << "No Sub";
    // The band edges, each exact in float: the edge itself belongs to the band below it.
    QTest::newRow("8.0 is below Nyc") << 0.01f << 20.0f << 8.0f << "Noise"
                                      << "No Sub";
    QTest::newRow("15.0 is NycLow") << 0.01f << 20.0f << 15.0f << "Nyc"
                                    << "NycLow";
    QTest::newRow("21.0 is NycNoc") << 0.01f << 25.0f << 21.0f << "Nyc"
                                    << "NycNoc";
    QTest::newRow("26.5 is NycMid") << 0.01f << 30.0f << 26.5f << "Nyc"
                                    << "NycMid";
    QTest::newRow("49.5 is PipPip") << 0.01f << 60.0f << 49.5f << "Pip"
                                    << "PipPip";
    QTest::newRow("51.0 is PipPp") << 0.01f << 60.0f << 51.0f << "Pip"
                                   << "PipPp";
    QTest::newRow("64.0 is PipPyg") << 0.01f << 70.0f << 64.0f << "Pip"
                                    << "PipPyg";
    QTest::newRow("NaN duration") << kNaN << 40.0f << 36.0f << "Noise"
                                  << "No Sub";
    QTest::newRow("NaN end frequency") << 0.01f << 40.0f << kNaN << "Noise"
                                       << "No Sub";
}

void TestCallDetectorRules::classifyCall()
{
    QFETCH(float, duration);
    QFETCH(float, startFreq);
    QFETCH(float, endFreq);
    QFETCH(QString, group);
    QFETCH(QString, sub);
    // minFreq and maxFreq take no part: absurd values must not matter.
    QCOMPARE(CallDetector().classifyCall(duration, kNaN, -1.0f, startFreq, endFreq), (QStringList{group, sub}));
}

void TestCallDetectorRules::shapeChecksAndLabel_data()
{
    QTest::addColumn<QStringList>("groupAndSub");
    QTest::addColumn<float>("minFreq");
    QTest::addColumn<QVector<int>>("counts"); // switchCount, zeroCount, posHist, negHist
    QTest::addColumn<QString>("label");

    const QStringList low{"Nyc", "NycLow"};
    const QStringList pip{"Pip", "PipPip"};
    const QStringList test{"Test", "No Sub"};
    QTest::newRow("minFreq 7.9") << low << 7.9f << QVector<int>{0, 0, 0, 1} << "Noise";
    QTest::newRow("minFreq 8.0 is high enough") << low << 8.0f << QVector<int>{0, 0, 0, 1} << "NycLow";
    QTest::newRow("Nyc switch below zero - 2") << low << 20.0f << QVector<int>{0, 3, 0, 1} << "Noise";
    QTest::newRow("Nyc posHist 3") << low << 20.0f << QVector<int>{0, 0, 3, 0} << "Noise";
    QTest::newRow("Nyc without sub") << QStringList{"Nyc", "No Sub"} << 20.0f << QVector<int>{1, 0, 2, 6} << "Nyc";
    QTest::newRow("Enil skips the Nyc checks")
        << QStringList{"Nyc", "Enil"} << 20.0f << QVector<int>{5, 9, 7, 9} << "Enil";
    QTest::newRow("clean Pip") << pip << 40.0f << QVector<int>{2, 3, 1, 9} << "PipPip";
    QTest::newRow("Pip pos above neg + 1") << pip << 40.0f << QVector<int>{0, 0, 2, 0} << "Noise";
    QTest::newRow("Pip switch below zero - 1") << pip << 40.0f << QVector<int>{0, 2, 0, 0} << "Noise";
    // Switches at their most and as few as the zero crossings allow: still a call.
    QTest::newRow("Nyc at the switch limits") << low << 20.0f << QVector<int>{1, 3, 0, 0} << "NycLow";
    QTest::newRow("Pip at the switch limits") << pip << 40.0f << QVector<int>{2, 3, 1, 0} << "PipPip";
    // One past each count limit, the other counts clean: only that check rejects.
    QTest::newRow("Nyc switch 2") << low << 20.0f << QVector<int>{2, 0, 0, 0} << "Noise";
    QTest::newRow("Nyc negHist 7") << low << 20.0f << QVector<int>{0, 0, 0, 7} << "Noise";
    QTest::newRow("Pip switch 3") << pip << 40.0f << QVector<int>{3, 0, 0, 0} << "Noise";
    QTest::newRow("Pip negHist 10") << pip << 40.0f << QVector<int>{0, 0, 0, 10} << "Noise";
    QTest::newRow("Test excepted below 8 kHz") << test << 5.0f << QVector<int>{0, 0, 1, 1} << "Test";
    QTest::newRow("Test posHist 2 below 8 kHz") << test << 5.0f << QVector<int>{0, 0, 2, 1} << "Noise";
    QTest::newRow("Noise skips group checks")
        << QStringList{"Noise", "No Sub"} << 20.0f << QVector<int>{9, 0, 9, 20} << "Noise";
}

void TestCallDetectorRules::shapeChecksAndLabel()
{
    QFETCH(QStringList, groupAndSub);
    QFETCH(float, minFreq);
    QFETCH(QVector<int>, counts);
    QFETCH(QString, label);
    CallDetector d;
    const bool rejected = d.isRejected(groupAndSub, minFreq, counts[0], counts[1], counts[2], counts[3]);
    QCOMPARE(rejected, label == "Noise" && groupAndSub.first() != "Noise");
    QCOMPARE(d.callLabel(groupAndSub, rejected), label);
}

void TestCallDetectorRules::selectTopBlobs_data()
{
    QTest::addColumn<QVector<float>>("sums"); // label i + 1 gets sums[i]
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("kept");
    QTest::newRow("two greatest") << QVector<float>{5, 9, 1, 7} << 2 << QList<int>{2, 4};
    QTest::newRow("count 0") << QVector<float>{5, 9} << 0 << QList<int>{};
    QTest::newRow("count beyond the map") << QVector<float>{5, 9} << 10 << QList<int>{1, 2};
    QTest::newRow("tie: greater label stays") << QVector<float>{4, 6, 4, 4} << 2 << QList<int>{2, 4};
    QTest::newRow("tie for the last place") << QVector<float>{5, 5, 5, 5} << 3 << QList<int>{2, 3, 4};
    QTest::newRow("tie below a greater sum") << QVector<float>{3, 3, 9, 3} << 2 << QList<int>{3, 4};
}

void TestCallDetectorRules::selectTopBlobs()
{
    QFETCH(QVector<float>, sums);
    QFETCH(int, count);
    QFETCH(QList<int>, kept);
    // The map is filled in every order: its iteration order follows the order of
    // insertion, and a tie rule that only holds for one order must not pass.
    QVector<int> order(sums.size());
    std::iota(order.begin(), order.end(), 0);
    do {
        std::unordered_map<int, Blob> blobs;
        for (int i : order) {
            blobs[i + 1] = blobAt(size_t(2 + i), size_t(3 + i), 10, 12);
            blobs[i + 1].valueSum = sums[i];
        }
        const auto top = CallDetector().selectTopBlobs(blobs, size_t(count));
        QCOMPARE(sortedLabels(top), kept);
        for (int label : kept) // copies, field for field
            QCOMPARE(top.at(label).frameMin, size_t(1 + label));
    } while (std::next_permutation(order.begin(), order.end()));
}

void TestCallDetectorRules::suppressTrailingBlobs_data()
{
    QTest::addColumn<BlobList>("blobs");
    QTest::addColumn<QList<int>>("kept");

    // The first call spans frames 10..20, bins 50..60: a successor is dropped up to
    // frame 5 x 20 - 4 x 10 = 60 while its centre lies in bins 45..65.
    const Blob first = blobAt(10, 20, 50, 60);
    QTest::newRow("echo inside reach dropped") << BlobList{{1, first}, {2, blobAt(50, 55, 52, 58)}} << QList<int>{1};
    QTest::newRow("start at reach dropped") << BlobList{{1, first}, {2, blobAt(60, 65, 52, 58)}} << QList<int>{1};
    QTest::newRow("centre 66 kept") << BlobList{{1, first}, {2, blobAt(30, 35, 60, 72)}} << QList<int>{1, 2};
    QTest::newRow("centre 44 kept") << BlobList{{1, first}, {2, blobAt(30, 35, 40, 48)}} << QList<int>{1, 2};
    // A dropped region does not move the reach; a kept one does (5 x 65 - 4 x 61 = 81).
    QTest::newRow("reach from last kept")
        << BlobList{{1, first}, {2, blobAt(50, 90, 52, 58)}, {3, blobAt(61, 62, 52, 58)}} << QList<int>{1, 3};
    QTest::newRow("reach moves with kept")
        << BlobList{{1, first}, {2, blobAt(61, 65, 52, 58)}, {3, blobAt(80, 82, 52, 58)}} << QList<int>{1, 2};
    QTest::newRow("order by start, not label") << BlobList{{1, blobAt(50, 55, 52, 58)}, {2, first}} << QList<int>{2};
    // Start indexes compared as floats: 16777217 and 16777216 are equal there, so label 1 goes first.
    Blob late, early;
    late.addPixel(16777217, 10, 100, 1.0f);
    late.addPixel(16777217 + 2550, 20, 110, 1.0f);
    early.addPixel(16777216, 10, 100, 1.0f);
    early.addPixel(16777216 + 2550, 20, 110, 1.0f);
    QTest::newRow("start compared in float") << BlobList{{1, late}, {2, early}} << QList<int>{1};
}

void TestCallDetectorRules::suppressTrailingBlobs()
{
    QFETCH(BlobList, blobs);
    QFETCH(QList<int>, kept);
    std::unordered_map<int, Blob> map;
    for (const auto &p : blobs)
        map[p.first] = p.second;
    QCOMPARE(sortedLabels(CallDetector().suppressTrailingBlobs(map)), kept);
}

QUILLON_TEST(TestCallDetectorRules)
#include "tst_calldetectorrules.moc"
