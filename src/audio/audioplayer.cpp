#include "audio/audioplayer.h"

#include "audio/audiologging.h"
#include "audio/playbackbuffers.h"
#include "audio/qtaudiooutput.h"

#include <QBuffer>

namespace {

AudioOutputFactory &factoryOverride()
{
    static AudioOutputFactory factory;
    return factory;
}

} // namespace

AudioOutputFactory AudioPlayer::defaultOutputFactory()
{
    return factoryOverride() ? factoryOverride() : QtAudioOutput::factory();
}

void AudioPlayer::setDefaultOutputFactory(AudioOutputFactory factory)
{
    factoryOverride() = std::move(factory);
}

AudioPlayer::AudioPlayer(QObject *parent, AudioOutputFactory factory)
    : QObject(parent)
    , outputFactory(factory ? std::move(factory) : defaultOutputFactory())
{
    // Replaced by the first recording's own format before anything plays.
    createOutput(monoPcm16Format(300000));
    volume = output->volume();
    buffer = new QBuffer(this);
}

AudioPlayer::~AudioPlayer()
{
    // The output reads the buffer: it goes first, stopped before it is
    // deleted as any output is, and tells nobody.
    disconnect(output, nullptr, this, nullptr);
    output->stop();
    delete output;
    delete buffer;
}

void AudioPlayer::createOutput(const QAudioFormat &format)
{
    output = outputFactory(format);
    output->setParent(this);
    connect(output, &AudioOutput::stateChanged, this, &AudioPlayer::playerStateChanged);
    connect(output, &AudioOutput::notify, this, &AudioPlayer::notified);
    output->setNotifyInterval(notifyInterval);
}

bool AudioPlayer::isPlayable(const QAudioFormat &format)
{
    return format.sampleRate() > 0 && format.channelCount() > 0 && format.sampleSize() >= 8
           && format.sampleSize() % 8 == 0;
}

bool AudioPlayer::takesSampleRate(int sampleRate) const
{
    QAudioFormat format = output->format();
    format.setSampleRate(sampleRate);
    return output->isFormatSupported(format);
}

qint64 AudioPlayer::playingPositionUSecs(qint64 processedUSecs, int bufferSize, int bytesFree,
                                         const QAudioFormat &format)
{
    const qint64 queuedBytes = qint32(bufferSize - bytesFree);
    const qint64 bytesPerFrame = qint64(format.channelCount()) * format.sampleSize() / 8;
    const qint64 queuedUSecs =
        bytesPerFrame > 0 && format.sampleRate() > 0 ? queuedBytes * 1000000 / bytesPerFrame / format.sampleRate() : 0;
    return processedUSecs - queuedUSecs;
}

qint64 AudioPlayer::heardUSecs(qint64 previous, qint64 clockRun, qint64 leftQueue, qint64 playedAtLeast)
{
    const qint64 byClock = qMin(leftQueue, previous + clockRun);
    return qMax(previous, qMax(qMin(playedAtLeast, leftQueue), byClock));
}

void AudioPlayer::play(const QByteArray &data)
{
    switch (output->state()) {
    case QAudio::SuspendedState:
        output->resume();
        break;
    case QAudio::StoppedState:
    case QAudio::IdleState:
        // Nothing to play must not look like playing: an empty buffer would
        // go Active and Idle at once, and a loop would replay it for ever.
        if (data.isEmpty() || !isPlayable(output->format()))
            return;
        // Started, the output would stop again at once without a sound
        // (PulseAudio takes no more than 384 kHz); nothing would show why.
        if (!output->isFormatSupported(output->format())) {
            qCWarning(lcAudio) << "the audio output does not take" << output->format().sampleRate() << "Hz";
            emit outputRefused(output->format().sampleRate());
            return;
        }
        // What start() tries and gives up within it (an output may try once
        // more there) is looked at once it has returned.
        watchingOutput = false;
        if (buffer->isOpen())
            buffer->close();
        output->reset();
        buffer->setData(data);
        buffer->open(QIODevice::ReadOnly);
        heardPosition = 0;
        heardAtClock = output->clockUSecs();
        leftQueue = 0;
        leftQueueHeld = 0;
        output->start(buffer);
        watchingOutput = true;
        reportOutputFailure();
        break;
    case QAudio::ActiveState:
    case QAudio::InterruptedState:
        break;
    }
}

void AudioPlayer::pause()
{
    if (output->state() == QAudio::ActiveState)
        output->suspend();
}

void AudioPlayer::stop()
{
    watchingOutput = false; // stopped on request: no failure to tell of
    switch (output->state()) {
    case QAudio::ActiveState:
    case QAudio::InterruptedState:
    case QAudio::IdleState:
        // Idle too: a stop in the pause a loop makes before it replays must
        // end the loop, which only Stopped (not Idle) does.
        output->stop();
        buffer->close();
        break;
    case QAudio::SuspendedState:
        output->stop(); // the buffer stays open until the next play closes it
        break;
    case QAudio::StoppedState:
        break;
    }
}

void AudioPlayer::setMute(bool mute)
{
    muted = mute;
    output->setVolume(mute ? 0.0 : volume);
    emit isMuted(mute);
}

void AudioPlayer::setVolume(int value)
{
    volume = QAudio::convertVolume(value / 100.0, QAudio::LogarithmicVolumeScale, QAudio::LinearVolumeScale);
    if (!muted)
        output->setVolume(volume);
}

void AudioPlayer::setFormat(const QAudioFormat &format)
{
    // Stopping while still connected tells the controls and markers that
    // whatever played has ended; the new output starts Stopped.
    watchingOutput = false;
    output->stop();
    disconnect(output, nullptr, this, nullptr);
    output->reset();
    // Later: this may run inside one of the old output's own signals.
    output->deleteLater();
    createOutput(format);
    output->setVolume(muted ? 0.0 : volume);
}

void AudioPlayer::playerStateChanged(QAudio::State state)
{
    // Paused, interrupted or run dry, the sink played nothing of this
    // buffer: that time must not count as heard.
    if (state == QAudio::ActiveState)
        heardAtClock = output->clockUSecs();
    emit signalPlayerStateChanged(state);
    reportOutputFailure();
}

// A started output that ends up Stopped with an error has refused, at once or
// later (PulseAudio's stream fails), or lost its sound server (a fatal
// error). An underrun only says that the buffer ran dry, which is how every
// playing ends.
void AudioPlayer::reportOutputFailure()
{
    if (!watchingOutput || output->state() != QAudio::StoppedState)
        return;
    const QAudio::Error error = output->error();
    if (error == QAudio::NoError || error == QAudio::UnderrunError)
        return;
    watchingOutput = false;
    qCWarning(lcAudio) << "the audio output stopped at" << output->format().sampleRate() << "Hz with" << error;
    if (error == QAudio::FatalError)
        emit outputLost();
    else
        emit outputRefused(output->format().sampleRate());
}

void AudioPlayer::notified()
{
    const qint64 now = output->clockUSecs();
    const qint64 left =
        playingPositionUSecs(output->processedUSecs(), output->bufferSize(), output->bytesFree(), output->format());
    // A sink may take its block in more than one step, seen at reports in a
    // row: only what had left before the first of them has been heard. The
    // output's processed time loses a microsecond or so at every write,
    // which is no step.
    const bool grew = left > leftQueue + 1000;
    if (!grew)
        leftQueueHeld = left;
    heardPosition = heardUSecs(heardPosition, now - heardAtClock, left, grew ? leftQueueHeld : 0);
    heardAtClock = now;
    leftQueue = left;
    emit positionChanged(heardPosition / 1000);
}

QAudioFormat AudioPlayer::format() const
{
    return output->format();
}

QAudio::State AudioPlayer::state() const
{
    return output->state();
}
