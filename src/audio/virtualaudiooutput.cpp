#include "audio/virtualaudiooutput.h"

#include <QIODevice>

VirtualAudioOutput::VirtualAudioOutput(const QAudioFormat &format, QObject *parent)
    : AudioOutput(parent)
    , m_format(format)
{
    m_bytesPerFrame = qMax(0, format.channelCount() * format.sampleSize() / 8);
    m_bytesPerSecond = qint64(qMax(0, format.sampleRate())) * m_bytesPerFrame;
    // 100 ms in whole frames, as PulseAudio's default target length is.
    m_bufferSize = m_bytesPerFrame > 0 ? int(m_bytesPerSecond / 10 / m_bytesPerFrame * m_bytesPerFrame) : 0;
}

void VirtualAudioOutput::start(QIODevice *device)
{
    m_device = nullptr;
    m_queued = 0;
    m_processed = 0;
    m_playingUs = 0;
    m_error = QAudio::NoError;
    if (m_deviceLost || !isFormatSupported(m_format) || m_bufferSize <= 0 || !device) {
        m_error = m_deviceLost ? QAudio::FatalError : QAudio::OpenError;
        m_state = QAudio::StoppedState;
        emit stateChanged(m_state); // PulseAudio reports the refusal this way
        return;
    }
    m_device = device;
    topUp();
    setState(QAudio::ActiveState);
}

bool VirtualAudioOutput::isFormatSupported(const QAudioFormat &format) const
{
    return format.isValid() && format.sampleRate() > 0 && format.sampleRate() <= maxSampleRate
           && format.channelCount() > 0 && format.sampleSize() >= 8;
}

void VirtualAudioOutput::suspend()
{
    if (m_state == QAudio::ActiveState || m_state == QAudio::IdleState)
        setState(QAudio::SuspendedState);
}

void VirtualAudioOutput::resume()
{
    if (m_state == QAudio::SuspendedState)
        setState(QAudio::ActiveState);
}

void VirtualAudioOutput::stop()
{
    if (m_state == QAudio::StoppedState)
        return;
    m_device = nullptr;
    m_queued = 0;
    m_error = QAudio::NoError;
    setState(QAudio::StoppedState);
}

void VirtualAudioOutput::reset()
{
    m_queued = 0;
    m_processed = 0;
    m_playingUs = 0;
}

void VirtualAudioOutput::interrupt()
{
    if (m_state == QAudio::ActiveState || m_state == QAudio::SuspendedState)
        setState(QAudio::InterruptedState);
}

void VirtualAudioOutput::loseDevice()
{
    m_deviceLost = true;
    if (m_state == QAudio::StoppedState)
        return;
    m_device = nullptr;
    m_queued = 0;
    m_error = QAudio::FatalError;
    setState(QAudio::StoppedState);
}

qint64 VirtualAudioOutput::processedUSecs() const
{
    return m_bytesPerSecond > 0 ? m_processed * 1000000 / m_bytesPerSecond : 0;
}

void VirtualAudioOutput::advance(int milliseconds)
{
    int ms = 0;
    for (; ms < milliseconds && m_state == QAudio::ActiveState; ++ms) {
        m_clockUs += 1000;
        const qint64 due = bytesPlayedAfter(m_playingUs + 1000) - bytesPlayedAfter(m_playingUs);
        m_queued -= int(qMin<qint64>(m_queued, due));
        m_playingUs += 1000;
        topUp();
        if (m_notifyInterval > 0 && m_playingUs % (qint64(m_notifyInterval) * 1000) == 0)
            emit notify();
        if (m_state == QAudio::ActiveState && m_queued == 0 && m_device && m_device->bytesAvailable() <= 0)
            setState(QAudio::IdleState);
    }
    m_clockUs += qint64(milliseconds - ms) * 1000;
}

// Whole frames played in the first `microseconds` of playing.
qint64 VirtualAudioOutput::bytesPlayedAfter(qint64 microseconds) const
{
    const qint64 bytes = microseconds * m_bytesPerSecond / 1000000;
    return bytes - bytes % m_bytesPerFrame;
}

void VirtualAudioOutput::topUp()
{
    if (!m_device)
        return;
    const QByteArray read = m_device->read(m_bufferSize - m_queued);
    m_queued += read.size();
    m_processed += read.size();
}

void VirtualAudioOutput::setState(QAudio::State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

AudioOutputFactory VirtualAudioClock::factory()
{
    return [this](const QAudioFormat &format) -> AudioOutput * {
        auto *output = new VirtualAudioOutput(format);
        if (m_deviceLost)
            output->loseDevice();
        m_newest = output;
        return output;
    };
}

void VirtualAudioClock::advance(int milliseconds)
{
    if (m_newest)
        m_newest->advance(milliseconds);
}

void VirtualAudioClock::loseDevice()
{
    m_deviceLost = true;
    if (m_newest)
        m_newest->loseDevice();
}

void VirtualAudioClock::regainDevice()
{
    m_deviceLost = false;
    if (m_newest)
        m_newest->regainDevice();
}
