// The main window's side of playback: the buffers of the shown recording, the
// player and its controls, and the markers and time label that follow it.
#include "app/mainwindow.h"

#include "app/spectrogramsettingsdialog.h"
#include "audio/audioplayer.h"
#include "audio/playbackbuffers.h"
#include "audio/playbackposition.h"
#include "audio/playbackrefusal.h"
#include "audio/playercontrols.h"
#include "common/settingskeys.h"
#include "common/userdialogs.h"
#include "display/shownrecording.h"
#include "display/spectrogramscroller.h"
#include "platform/audiodevice.h"
#include "recording/audiosamplereader.h"
#include "recording/wavfile.h"
#include "ui_mainwindow.h"

#include <QKeyEvent>
#include <QTimer>

#include <qwt_plot.h>
#include <qwt_plot_marker.h>

namespace {

// The pause before a loop plays the stretch again.
constexpr int loopPauseMs = 100;

// Why nothing plays, in a box of its own.
void tellNothingPlays(QWidget *parent, const PlaybackRefusalText &said)
{
    MessageBoxRequest box;
    box.parent = parent;
    box.icon = QMessageBox::Warning;
    box.title = MainWindow::tr("Playback");
    box.text = said.text;
    box.informativeText = said.details;
    userDialogs().message(box);
}

} // namespace

void MainWindow::setUpPlayer()
{
    audioPlayer = new AudioPlayer(this);
    playerControls = new PlayerControls(this);
    widgets.playerControlsLayout->insertWidget(0, playerControls);
    playerControls->setState(QAudio::StoppedState);
    // The form's placeholder would show beside the player until the first recording has a length.
    ui->labelDuration->clear();

    connect(playerControls, &PlayerControls::play, this, &MainWindow::playAudio);
    connect(playerControls, &PlayerControls::stop, audioPlayer, &AudioPlayer::stop);
    connect(playerControls, &PlayerControls::pause, audioPlayer, &AudioPlayer::pause);
    // Volume and mute go to the player directly; the controls learn the mute state back from it.
    connect(playerControls, &PlayerControls::changeVolume, audioPlayer, &AudioPlayer::setVolume);
    connect(playerControls, &PlayerControls::changeMuting, audioPlayer, &AudioPlayer::setMute);
    connect(audioPlayer, &AudioPlayer::isMuted, playerControls, &PlayerControls::setMuted);
    connect(audioPlayer, &AudioPlayer::positionChanged, this, &MainWindow::positionChanged);
    connect(audioPlayer, &AudioPlayer::signalPlayerStateChanged, this, &MainWindow::setAudioPlayerState);
    connect(audioPlayer, &AudioPlayer::signalPlayerStateChanged, playerControls, &PlayerControls::setState);
    // Queued: the box waits until the player has settled, not inside its output's signal.
    connect(audioPlayer, &AudioPlayer::outputRefused, this, &MainWindow::tellPlaybackRefused, Qt::QueuedConnection);
    // Steps with autoplay find the server still away; one box says so until
    // something plays again, while a press on Play is answered each time.
    connect(audioPlayer, &AudioPlayer::outputLost, this, [this] {
        if (autoplaying && soundLossTold)
            return;
        soundLossTold = true;
        QMetaObject::invokeMethod(this, &MainWindow::tellSoundServerLost, Qt::QueuedConnection);
    });

    // A scroll or a span fitted to the canvas puts another stretch on view.
    connect(spectrogramScroller, &SpectrogramScroller::spanChanged, this,
            [this](double start, double end) { setPlaybackSection(float(start), float(end)); });
}

void MainWindow::applyStoredPlayerSettings()
{
    // The player tells the controls, which show the state and store it again.
    audioPlayer->setMute(readSetting(SettingKeys::muted));
    playerControls->setVolume(readSetting(SettingKeys::volume));
}

// The spectrogram worker empties `timedata` once it has read it; the readers
// keep the samples for as long as the recording is on show.
const std::vector<int> &MainWindow::shownSamples() const
{
    static const std::vector<int> none;
    const ShownFormat format = shownFormat();
    if (format.sampleRate <= 0)
        return none;
    return format.raw ? rawFile->samples : wavFile->samples;
}

// The limit the buffer of start..end seconds is built with: never one that
// lets the samples played there clip.
float MainWindow::playbackLimitFor(float start, float end) const
{
    return playbackAxisLimit(amplitudeAxisLimit,
                             playedPeak(shownFormat(), shownSamples(), readPlaybackSettings(), start, end));
}

void MainWindow::createAudioWav()
{
    audioPlayer->stop();
    // Both old buffers go first: the new one is built beside nothing but the samples.
    audioData.clear();
    playData.clear();
    // Built for the stretch on view, which its callers cut next.
    const QwtInterval shown = spectrogramPlot->axisInterval(QwtPlot::xBottom);
    audioDataLimit = playbackLimitFor(float(shown.minValue()), float(shown.maxValue()));
    PlaybackBuffer built = buildPlaybackBuffer(shownFormat(), shownSamples(), readPlaybackSettings(), audioDataLimit);
    audioDurationMs = built.durationMs;
    audioPlayer->setFormat(built.format);
    audioData = std::move(built.data);
    positionChanged(0);
}

void MainWindow::createSubAudioWav(float start, float end)
{
    playData.clear();
    // Another stretch may hold louder samples than the buffer was scaled
    // for, or the time plot may have drawn a new peak: the whole buffer is
    // scaled again. The format stays, so a player stopped by the caller
    // keeps its output.
    const float limit = playbackLimitFor(start, end);
    if (limit != audioDataLimit && !audioData.isEmpty()) {
        audioData.clear();
        audioData = buildPlaybackBuffer(shownFormat(), shownSamples(), readPlaybackSettings(), limit).data;
        audioDataLimit = limit;
    }
    playData = playbackSlice(audioData, shownFormat(), readPlaybackSettings(), start, end);
}

void MainWindow::setPlaybackSection(float start, float end)
{
    audioPlayer->stop();
    createSubAudioWav(start, end);
}

void MainWindow::audioControlsChanged()
{
    if (audioPending)
        return; // the spectrogram on its way builds the buffers with these settings
    createAudioWav();
    const QwtInterval shown = spectrogramPlot->axisInterval(QwtPlot::xBottom);
    setPlaybackSection(float(shown.minValue()), float(shown.maxValue()));
    playIfAutoplay();
}

// A newly drawn spectrogram: its buffers, and the controls when there is a device to play to.
void MainWindow::preparePlayback()
{
    createAudioWav();
    const QwtInterval shown = spectrogramPlot->axisInterval(QwtPlot::xBottom);
    setPlaybackSection(float(shown.minValue()), float(shown.maxValue()));
    audioPending = false;

    const bool canPlay = AudioDevice::outputAvailable();
    playerControls->setEnabled(canPlay);
    spectroSettingsDialog->setPlaybackSettingsEnabled(canPlay);
    playIfAutoplay();
}

// The controls are enabled exactly while there is a buffer and a device to play it on.
void MainWindow::playIfAutoplay()
{
    if (audioPending || !playerControls->isEnabled() || !readSetting(SettingKeys::autoplay))
        return;
    // A rate the output refuses is told once, not with every recording of a
    // folder stepped through; a press on Play tells it each time.
    const int rate = audioPlayer->format().sampleRate();
    if (rate == toldRefusedRate && !audioPlayer->takesSampleRate(rate))
        return;
    autoplaying = true;
    playAudio();
    autoplaying = false;
}

void MainWindow::playAudio()
{
    audioPlayer->play(playData);
}

// Nothing plays: the rate the output refused, and the audio settings that bring the recording within its range.
void MainWindow::tellPlaybackRefused(int sampleRate)
{
    toldRefusedRate = sampleRate;
    const auto takes = [this](int rate) { return audioPlayer->takesSampleRate(rate); };
    tellNothingPlays(this, playbackRefusalText(sampleRate, takes(sampleRate),
                                               playableChoices(shownFormat().sampleRate, sampleRate, takes)));
}

// Nothing plays, and nothing will until the sound server runs again.
void MainWindow::tellSoundServerLost()
{
    tellNothingPlays(this, soundServerLostText(AudioDevice::canReconnectSoundServer()));
}

void MainWindow::setAudioPlayerState(QAudio::State state)
{
    switch (state) {
    case QAudio::SuspendedState:
        timePlot->showPlaybackLine(true);
        spectrogramPlot->showPlaybackLine(true);
        break;
    case QAudio::StoppedState:
    case QAudio::InterruptedState:
        timePlot->showPlaybackLine(false);
        spectrogramPlot->showPlaybackLine(false);
        // The output reports no position once it has stopped: the label
        // would go on showing the last one reported while it played.
        ui->labelDuration->setText(playbackTimeText(0, audioDurationMs));
        break;
    case QAudio::IdleState:
        timePlot->showPlaybackLine(false);
        spectrogramPlot->showPlaybackLine(false);
        ui->labelDuration->setText(playbackTimeText(0, audioDurationMs));
        // Only a player still idle when the pause is over plays again: a stop
        // meanwhile (Stopped, not Idle) ends the loop, and so does a new recording.
        if (readSetting(SettingKeys::loop) && !playData.isEmpty()) {
            QTimer::singleShot(loopPauseMs, this, [this]() {
                if (audioPlayer->state() == QAudio::IdleState)
                    playAudio();
            });
        }
        break;
    case QAudio::ActiveState:
        soundLossTold = false; // sound again: a later loss is news
        break;
    }
    timePlot->replot();
    spectrogramPlot->replot();
}

void MainWindow::positionChanged(qint64 progress)
{
    const QAudio::State state = audioPlayer->state();
    QString text;
    if (state == QAudio::ActiveState || state == QAudio::SuspendedState) {
        // Reports count playing time from the start of the stretch on view.
        const float viewStart = float(spectrogramPlot->axisInterval(QwtPlot::xBottom).minValue());
        const float positionMs = recordingPositionMs(progress, viewStart, readPlaybackSettings().playbackRate());
        const double seconds = double(positionMs) / 1000.0;
        timePlot->movePlaybackLine(seconds);
        spectrogramPlot->movePlaybackLine(seconds);
        timePlot->showPlaybackLine(true);
        spectrogramPlot->showPlaybackLine(true);
        text = playbackTimeText(qint64(positionMs), audioDurationMs);
    } else {
        timePlot->showPlaybackLine(false);
        spectrogramPlot->showPlaybackLine(false);
        text = playbackTimeText(0, audioDurationMs);
    }
    timePlot->replot();
    spectrogramPlot->replot();
    ui->labelDuration->setText(text);
}

bool MainWindow::handlePlayerKey(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_F1:
        // Consumed even when it does nothing. Disabled controls mean nothing
        // of the shown recording can play: it is being calculated, failed to
        // load, or there is no device.
        if (!calculating && playerControls->isEnabled())
            playerControls->playClicked();
        return true;
    case Qt::Key_F2:
        emit playerControls->stop();
        return true;
    case Qt::Key_F3:
        playerControls->muteClicked();
        return true;
    default:
        return false;
    }
}

void MainWindow::on_actionAudio_Settings_triggered()
{
    openSettingsDialog(2);
}
