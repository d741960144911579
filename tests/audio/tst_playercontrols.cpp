#include "testregistry.h"

#include "audio/playercontrols.h"

#include <QSettings>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QToolButton>

static QImage picture(const QIcon &icon, QIcon::Mode mode = QIcon::Normal)
{
    return icon.pixmap(16, mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

class TestPlayerControls : public QObject
{
    Q_OBJECT

    PlayerControls c;
    QToolButton *play = c.findChild<QToolButton *>("playButton");
    QToolButton *stop = c.findChild<QToolButton *>("stopButton");
    QToolButton *mute = c.findChild<QToolButton *>("muteButton");

private slots:
    void states_data()
    {
        QTest::addColumn<QAudio::State>("state");
        QTest::addColumn<bool>("stopEnabled");
        QTest::addColumn<bool>("pauseShown");
        QTest::addColumn<QString>("click"); // what a click on play asks for
        QTest::newRow("Active") << QAudio::ActiveState << true << true << "pause";
        QTest::newRow("Suspended") << QAudio::SuspendedState << true << false << "play";
        QTest::newRow("Interrupted") << QAudio::InterruptedState << true << false << "";
        QTest::newRow("Idle") << QAudio::IdleState << false << false << "play";
        QTest::newRow("Stopped") << QAudio::StoppedState << false << false << "play";
    }

    void states()
    {
        QFETCH(QAudio::State, state);
        QFETCH(bool, pauseShown);
        c.setState(state);
        QSignalSpy played(&c, &PlayerControls::play);
        QSignalSpy paused(&c, &PlayerControls::pause);
        c.playClicked();
        QTEST(QString(played.isEmpty() ? "" : "play") + (paused.isEmpty() ? "" : "pause"), "click");
        QCOMPARE(play->toolTip(), pauseShown ? QString("Pause <F1>") : QString("Play <F1>"));
        for (const bool dark : {true, false}) {
            c.setTheme(dark);
            QTEST(stop->isEnabled(), "stopEnabled");
            const QStyle::StandardPixmap light = pauseShown ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay;
            const QString own = pauseShown ? ":/images/pause_dark.png" : ":/images/play_dark.png";
            QCOMPARE(picture(play->icon()), picture(dark ? QIcon(own) : c.style()->standardIcon(light)));
            const QString stopPicture = dark ? ":/images/stop_dark%1.png" : ":/images/stop_light%1.png";
            QCOMPARE(picture(stop->icon(), QIcon::Disabled), picture(QIcon(stopPicture.arg("Inactive"))));
            QCOMPARE(picture(stop->icon()), picture(QIcon(stopPicture.arg("Active"))));
        }
    }

    void muteAndVolume()
    {
        QSignalSpy muting(&c, &PlayerControls::changeMuting);
        QSignalSpy volume(&c, &PlayerControls::changeVolume);
        c.muteClicked();
        c.setMuted(true); // the player's answer
        QCOMPARE(mute->toolTip(), QString("Unmute <F3>"));
        QCOMPARE(picture(mute->icon()), picture(c.style()->standardIcon(QStyle::SP_MediaVolumeMuted)));
        QCOMPARE(QSettings().value("muted").toBool(), true);
        c.muteClicked();
        c.setMuted(false);
        QCOMPARE(QSettings().value("muted").toBool(), false);
        QCOMPARE(muting, (QList<QVariantList>{{true}, {false}}));
        // A stored volume equal to the slider's position must still reach the player.
        c.setVolume(40);
        c.setVolume(40);
        QCOMPARE(volume, (QList<QVariantList>{{40}, {40}}));
        QCOMPARE(QSettings().value("volume").toInt(), 40);
    }
};

QUILLON_TEST(TestPlayerControls)
#include "tst_playercontrols.moc"
