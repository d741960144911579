#include "testregistry.h"

#include "audio/playbackrefusal.h"

#include <QTest>

class TestPlaybackRefusal : public QObject
{
    Q_OBJECT

private slots:
    // The output takes minRate..maxRate. Rates worked out by hand: 500 kHz at
    // 50 % is 250 kHz, at 2:1 also 250 kHz; 768002 Hz at 50 % is 384001 Hz.
    void playableChoices_data()
    {
        QTest::addColumn<int>("recordingRate");
        QTest::addColumn<int>("refusedRate");
        QTest::addColumn<int>("minRate");
        QTest::addColumn<int>("maxRate");
        QTest::addColumn<int>("playbackRateIndex");
        QTest::addColumn<int>("undersamplingIndex");
        QTest::newRow("500 kHz: 50% or 2:1") << 500000 << 500000 << 1 << 384000 << 1 << 1;
        QTest::newRow("768 kHz: exactly the limit at 50% or 2:1") << 768000 << 768000 << 1 << 384000 << 1 << 1;
        QTest::newRow("768002 Hz: one above at 50%, so 25% or 4:1") << 768002 << 768002 << 1 << 384000 << 2 << 2;
        QTest::newRow("1 MHz refused at 50%: only lower rates help") << 1000000 << 500000 << 1 << 600000 << 2 << 2;
        QTest::newRow("16 kHz at most: only 1%") << 500000 << 500000 << 1 << 16000 << 6 << -1;
        QTest::newRow("8 to 20 kHz: only 26:1") << 500000 << 500000 << 8000 << 20000 << -1 << 13;
        QTest::newRow("too low already: nothing lower is taken") << 4000 << 4000 << 8000 << 384000 << -1 << -1;
    }

    void playableChoices()
    {
        QFETCH(int, recordingRate);
        QFETCH(int, refusedRate);
        QFETCH(int, minRate);
        QFETCH(int, maxRate);
        const PlayableChoices c =
            ::playableChoices(recordingRate, refusedRate, [&](int rate) { return rate >= minRate && rate <= maxRate; });
        QTEST(c.playbackRateIndex, "playbackRateIndex");
        QTEST(c.undersamplingIndex, "undersamplingIndex");
    }

    void text()
    {
        // No choice brings it within range: none is offered.
        QVERIFY(playbackRefusalText(500000, false, {-1, -1}).details.isEmpty());
        // Failed at a rate it takes: no rate to blame, no setting to change.
        const PlaybackRefusalText other = playbackRefusalText(250000, true, {1, 1});
        QVERIFY(!other.text.contains(QLatin1String("250000")) && other.details.isEmpty());
    }
};

QUILLON_TEST(TestPlaybackRefusal)
#include "tst_playbackrefusal.moc"
