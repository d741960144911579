#include "testregistry.h"

#include "audio/audioplayer.h"
#include "audio/playbackbuffers.h"
#include "audio/virtualaudiooutput.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>

// QAudio::State by value: Active, Suspended, Stopped, Idle, Interrupted.
static const QString stateLetters = QStringLiteral("ASTIX");

class TestAudioPlayer : public QObject
{
    Q_OBJECT

private slots:
    // Steps: p plays 0.25 s, q plays other data, e plays nothing, a pauses, s
    // stops, i interrupts, l loses the device (the sound server goes away), r
    // regains it, tN lets N ms pass. States as in stateLetters; refusals and
    // losses: how often the player said that nothing would play, or that the
    // device was lost.
    void states_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("states");
        QTest::addColumn<qint64>("lastPosition");
        QTest::addColumn<int>("refusals");
        QTest::addColumn<int>("losses");
        QTest::newRow("play while Active does not restart") << 8000 << "p t50 p t50"
                                                            << "A" << qint64(100) << 0 << 0;
        QTest::newRow("resume where it paused, whatever data") << 8000 << "p t50 a t50 q t30"
                                                               << "ASA" << qint64(80) << 0 << 0;
        QTest::newRow("play after Idle starts over") << 8000 << "p t300 p t20"
                                                     << "AIA" << qint64(20) << 0 << 0;
        QTest::newRow("stop from Active") << 8000 << "p t20 s"
                                          << "AT" << qint64(20) << 0 << 0;
        QTest::newRow("stop from Suspended") << 8000 << "p a s"
                                             << "AST" << qint64(-1) << 0 << 0;
        QTest::newRow("stop from Idle ends a loop's wait") << 8000 << "p t300 s"
                                                           << "AIT" << qint64(250) << 0 << 0;
        QTest::newRow("stop from Interrupted") << 8000 << "p i s"
                                               << "AXT" << qint64(-1) << 0 << 0;
        QTest::newRow("stop while Stopped") << 8000 << "s"
                                            << "" << qint64(-1) << 0 << 0;
        QTest::newRow("pause only while Active") << 8000 << "a p t300 a"
                                                 << "AI" << qint64(250) << 0 << 0;
        QTest::newRow("play while Interrupted") << 8000 << "p i p"
                                                << "AX" << qint64(-1) << 0 << 0;
        QTest::newRow("nothing to play stays Stopped") << 8000 << "e"
                                                       << "" << qint64(-1) << 0 << 0;
        QTest::newRow("500 kHz is refused before it starts, at each play") << 500000 << "p t20 p"
                                                                           << "" << qint64(-1) << 2 << 0;
        QTest::newRow("a start the lost device fails") << 8000 << "l p t20 p"
                                                       << "TT" << qint64(-1) << 0 << 2;
        QTest::newRow("the device lost while playing") << 8000 << "p t20 l t20"
                                                       << "AT" << qint64(20) << 0 << 1;
        QTest::newRow("the device back plays again") << 8000 << "p t20 l p r p t30"
                                                     << "ATTA" << qint64(30) << 0 << 2;
    }

    void states()
    {
        QFETCH(int, rate);
        QFETCH(QString, steps);
        VirtualAudioClock clock;
        AudioPlayer player(nullptr, clock.factory());
        player.setFormat(monoPcm16Format(rate));
        QString states;
        qint64 position = -1;
        connect(&player, &AudioPlayer::signalPlayerStateChanged, this,
                [&](QAudio::State s) { states += stateLetters.at(s); });
        connect(&player, &AudioPlayer::positionChanged, this, [&](qint64 p) { position = p; });
        QSignalSpy refused(&player, &AudioPlayer::outputRefused);
        QSignalSpy lost(&player, &AudioPlayer::outputLost);
        for (const QString &step : steps.split(' ')) {
            switch (step.at(0).toLatin1()) {
            case 'p':
                player.play(QByteArray(rate / 2, 1));
                break;
            case 'q':
                player.play(QByteArray(rate * 2, 2));
                break;
            case 'e':
                player.play(QByteArray());
                break;
            case 'a':
                player.pause();
                break;
            case 's':
                player.stop();
                break;
            case 'i':
                clock.output()->interrupt();
                break;
            case 'l':
                clock.loseDevice();
                break;
            case 'r':
                clock.regainDevice();
                break;
            case 't':
                clock.advance(step.mid(1).toInt());
                break;
            }
        }
        QTEST(states, "states");
        QTEST(position, "lastPosition");
        QTEST(int(refused.count()), "refusals");
        QTEST(int(lost.count()), "losses");
        for (const QVariantList &args : qAsConst(refused))
            QCOMPARE(args.first().toInt(), rate);
        QCOMPARE(stateLetters.at(player.state()), states.isEmpty() ? QChar('T') : states.back());
    }

    void position()
    {
        // 1600 bytes queued at 8 kHz are 100 ms still to come.
        QCOMPARE(AudioPlayer::playingPositionUSecs(250000, 1600, 0, monoPcm16Format(8000)), qint64(150000));
        // 2880 bytes of stereo 24-bit at 48 kHz are 480 frames, 10 ms.
        QAudioFormat stereo = monoPcm16Format(48000);
        stereo.setChannelCount(2);
        stereo.setSampleSize(24);
        QCOMPARE(AudioPlayer::playingPositionUSecs(50000, 4000, 1120, stereo), qint64(40000));
        QCOMPARE(AudioPlayer::playingPositionUSecs(50000, 4000, 0, monoPcm16Format(0)), qint64(50000));
    }

    void heardPosition_data()
    {
        QTest::addColumn<qint64>("previous");
        QTest::addColumn<qint64>("clockRun");
        QTest::addColumn<qint64>("leftQueue");
        QTest::addColumn<qint64>("playedAtLeast");
        QTest::addColumn<qint64>("heard");
        QTest::newRow("the queue drained as the clock ran")
            << qint64(100) << qint64(10) << qint64(110) << qint64(0) << qint64(110);
        QTest::newRow("a block taken ahead is not heard yet")
            << qint64(100) << qint64(10) << qint64(300) << qint64(0) << qint64(110);
        QTest::newRow("taken back from the sink: never back")
            << qint64(100) << qint64(10) << qint64(60) << qint64(0) << qint64(100);
        QTest::newRow("the block before was played: caught up")
            << qint64(100) << qint64(10) << qint64(500) << qint64(300) << qint64(300);
        QTest::newRow("played at least, but not beyond the queue")
            << qint64(100) << qint64(10) << qint64(200) << qint64(300) << qint64(200);
    }

    void heardPosition()
    {
        QFETCH(qint64, previous);
        QFETCH(qint64, clockRun);
        QFETCH(qint64, leftQueue);
        QFETCH(qint64, playedAtLeast);
        QTEST(AudioPlayer::heardUSecs(previous, clockRun, leftQueue, playedAtLeast), "heard");
    }

    void position_afterPauseAndResume()
    {
        // A sound server that takes the output's whole queue ahead of the
        // sink: only the clock tells what was heard, and it ran in the pause.
        struct TakenAhead : VirtualAudioOutput {
            using VirtualAudioOutput::VirtualAudioOutput;
            int bytesFree() const override { return bufferSize(); }
        };
        TakenAhead *output = nullptr;
        AudioPlayer player(nullptr, [&output](const QAudioFormat &format) { return output = new TakenAhead(format); });
        player.setFormat(monoPcm16Format(8000));
        qint64 position = -1;
        connect(&player, &AudioPlayer::positionChanged, this, [&](qint64 p) { position = p; });
        player.play(QByteArray(8000, 1));
        output->advance(50);
        player.pause();
        output->advance(50);
        player.play(QByteArray());
        output->advance(30);
        QCOMPARE(position, qint64(80));
    }

    void volumeAndMute()
    {
        VirtualAudioClock clock;
        AudioPlayer::setDefaultOutputFactory(clock.factory()); // as a window test would
        AudioPlayer player;
        AudioPlayer::setDefaultOutputFactory({});
        QSignalSpy muted(&player, &AudioPlayer::isMuted);
        player.setVolume(100);
        QCOMPARE(clock.output()->volume(), 1.0);
        // The slider's logarithmic v is the linear volume -ln(1 - v) / ln(100).
        player.setVolume(50);
        QVERIFY(qAbs(clock.output()->volume() - std::log(2.0) / std::log(100.0)) < 1e-9);
        player.setMute(true);
        player.setVolume(30);
        QCOMPARE(clock.output()->volume(), 0.0);
        player.setFormat(monoPcm16Format(250000));
        QCOMPARE(clock.output()->volume(), 0.0);
        player.setMute(false);
        QVERIFY(qAbs(clock.output()->volume() + std::log(0.7) / std::log(100.0)) < 1e-9);
        QCOMPARE(muted, (QList<QVariantList>{{true}, {false}}));
    }
};

QUILLON_TEST(TestAudioPlayer)
#include "tst_audioplayer.moc"
