#pragma once

#include <QAudio>
#include <QIcon>
#include <QWidget>

class QSlider;
class QToolButton;

/**
 * Play/pause, stop and mute buttons and the volume slider. The widget mirrors
 * the player (setState, setMuted) and turns clicks into requests (play, pause,
 * stop, changeVolume, changeMuting); it never talks to the player itself.
 * Volume and mute choices are kept in the settings "volume" and "muted".
 */
class PlayerControls : public QWidget
{
    Q_OBJECT
public:
    explicit PlayerControls(QWidget *parent = nullptr);

    QAudio::State state() const { return playerState; }

signals:
    void play();
    void pause();
    void stop();
    void changeVolume(int volume);
    void changeMuting(bool muting);

public slots:
    void setState(QAudio::State state);
    // Moves the slider, which passes the value on through changeVolume.
    void setVolume(int volume);
    void setMuted(bool muted);
    void setTheme(bool darkTheme);
    // Play while stopped, idle or paused; pause while playing.
    void playClicked();
    void muteClicked();
    void volumeSliderMoved(int value);

private:
    void showState();

    QAudio::State playerState = QAudio::StoppedState;
    bool playerMuted = false;
    QToolButton *playButton = nullptr;
    QToolButton *stopButton = nullptr;
    QToolButton *muteButton = nullptr;
    QSlider *volumeSlider = nullptr;
    QIcon pauseIcon;
    QIcon playIcon;
    QIcon stopIcon;
};
