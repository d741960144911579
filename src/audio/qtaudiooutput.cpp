#include "audio/qtaudiooutput.h"

#include <QAudioDeviceInfo>
#include <QAudioOutput>

QtAudioOutput::QtAudioOutput(const QAudioFormat &format, QObject *parent)
    : AudioOutput(parent), m_output(new QAudioOutput(QAudioDeviceInfo::defaultOutputDevice(), format, this))
{
    connect(m_output, &QAudioOutput::stateChanged, this, &AudioOutput::stateChanged);
    connect(m_output, &QAudioOutput::notify, this, &AudioOutput::notify);
}

AudioOutputFactory QtAudioOutput::factory()
{
    return [](const QAudioFormat &format) -> AudioOutput * { return new QtAudioOutput(format); };
}

void QtAudioOutput::start(QIODevice *device) { m_output->start(device); }
void QtAudioOutput::suspend() { m_output->suspend(); }
void QtAudioOutput::resume() { m_output->resume(); }
void QtAudioOutput::stop() { m_output->stop(); }
void QtAudioOutput::reset() { m_output->reset(); }
QAudio::State QtAudioOutput::state() const { return m_output->state(); }
void QtAudioOutput::setNotifyInterval(int milliseconds) { m_output->setNotifyInterval(milliseconds); }
int QtAudioOutput::notifyInterval() const { return m_output->notifyInterval(); }
qint64 QtAudioOutput::processedUSecs() const { return m_output->processedUSecs(); }
int QtAudioOutput::bufferSize() const { return m_output->bufferSize(); }
int QtAudioOutput::bytesFree() const { return m_output->bytesFree(); }
QAudioFormat QtAudioOutput::format() const { return m_output->format(); }
void QtAudioOutput::setVolume(qreal volume) { m_output->setVolume(volume); }
qreal QtAudioOutput::volume() const { return m_output->volume(); }
