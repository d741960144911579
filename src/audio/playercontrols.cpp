#include "audio/playercontrols.h"

#include "common/settingskeys.h"

#include <QGridLayout>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

namespace {

QIcon stopIconFor(bool dark)
{
    const QString active =
        dark ? QStringLiteral(":/images/stop_darkActive.png") : QStringLiteral(":/images/stop_lightActive.png");
    QIcon icon;
    icon.addFile(dark ? QStringLiteral(":/images/stop_darkInactive.png")
                      : QStringLiteral(":/images/stop_lightInactive.png"),
                 QSize(), QIcon::Disabled, QIcon::Off);
    for (QIcon::Mode mode : {QIcon::Normal, QIcon::Selected, QIcon::Active})
        icon.addFile(active, QSize(), mode, QIcon::Off);
    return icon;
}

} // namespace

PlayerControls::PlayerControls(QWidget *parent)
    : QWidget(parent)
{
    playButton = new QToolButton(this);
    playButton->setObjectName(QStringLiteral("playButton"));
    playButton->setToolTip(tr("Play <F1>"));
    connect(playButton, &QAbstractButton::clicked, this, &PlayerControls::playClicked);

    stopButton = new QToolButton(this);
    stopButton->setObjectName(QStringLiteral("stopButton"));
    stopButton->setEnabled(false);
    stopButton->setToolTip(tr("Stop <F2>"));
    connect(stopButton, &QAbstractButton::clicked, this, &PlayerControls::stop);

    muteButton = new QToolButton(this);
    muteButton->setObjectName(QStringLiteral("muteButton"));
    muteButton->setIcon(style()->standardIcon(QStyle::SP_MediaVolume));
    muteButton->setToolTip(tr("Mute <F3>"));
    connect(muteButton, &QAbstractButton::clicked, this, &PlayerControls::muteClicked);

    volumeSlider = new QSlider(Qt::Horizontal, this);
    volumeSlider->setObjectName(QStringLiteral("volumeSlider"));
    volumeSlider->setRange(0, 100);
    connect(volumeSlider, &QSlider::valueChanged, this, &PlayerControls::volumeSliderMoved);

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(playButton, 0, 0);
    layout->addWidget(stopButton, 0, 1);
    layout->addWidget(muteButton, 0, 2);
    layout->addWidget(volumeSlider, 0, 3, 1, 2);

    setTheme(false);
}

void PlayerControls::setState(QAudio::State state)
{
    if (state == playerState)
        return;
    playerState = state;
    showState();
    playButton->setToolTip(state == QAudio::ActiveState ? tr("Pause <F1>") : tr("Play <F1>"));
}

// Stop is offered while something plays or waits to go on; the play button
// shows what a click on it would do.
void PlayerControls::showState()
{
    const bool running = playerState == QAudio::ActiveState || playerState == QAudio::SuspendedState
                         || playerState == QAudio::InterruptedState;
    stopButton->setEnabled(running);
    playButton->setIcon(playerState == QAudio::ActiveState ? pauseIcon : playIcon);
}

void PlayerControls::setVolume(int volume)
{
    writeSetting(SettingKeys::volume, volume);
    // The slider passes on only a change: a stored volume equal to its
    // position must still reach the player, which starts at full volume.
    if (volumeSlider->value() == volume)
        emit changeVolume(volume);
    else
        volumeSlider->setValue(volume);
}

void PlayerControls::setMuted(bool muted)
{
    if (muted != playerMuted) {
        playerMuted = muted;
        muteButton->setIcon(style()->standardIcon(muted ? QStyle::SP_MediaVolumeMuted : QStyle::SP_MediaVolume));
        muteButton->setToolTip(muted ? tr("Unmute <F3>") : tr("Mute <F3>"));
    }
    writeSetting(SettingKeys::muted, muted);
}

void PlayerControls::setTheme(bool darkTheme)
{
    stopIcon = stopIconFor(darkTheme);
    playIcon =
        darkTheme ? QIcon(QStringLiteral(":/images/play_dark.png")) : style()->standardIcon(QStyle::SP_MediaPlay);
    pauseIcon =
        darkTheme ? QIcon(QStringLiteral(":/images/pause_dark.png")) : style()->standardIcon(QStyle::SP_MediaPause);
    stopButton->setIcon(stopIcon);
    showState();
}

void PlayerControls::playClicked()
{
    switch (playerState) {
    case QAudio::ActiveState:
        emit pause();
        break;
    case QAudio::SuspendedState:
    case QAudio::StoppedState:
    case QAudio::IdleState:
        emit play();
        break;
    case QAudio::InterruptedState:
        break;
    }
}

void PlayerControls::muteClicked()
{
    emit changeMuting(!playerMuted);
}

void PlayerControls::volumeSliderMoved(int value)
{
    writeSetting(SettingKeys::volume, value);
    emit changeVolume(value);
}
