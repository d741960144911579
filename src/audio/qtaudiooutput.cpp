#include "audio/qtaudiooutput.h"

#include "platform/audiodevice.h"

#include <QAudioDeviceInfo>
#include <QAudioOutput>

#include <utility>

QtAudioOutput::QtAudioOutput(const QAudioFormat &format, QObject *parent)
    : AudioOutput(parent)
{
    // Before Qt's backend can lose its server: it shows itself only then.
    AudioDevice::watchSoundServer();
    m_clock.start();
    m_reports.setTimerType(Qt::PreciseTimer);
    m_reports.setInterval(1000); // QAudioOutput's own default
    connect(&m_reports, &QTimer::timeout, this, &AudioOutput::notify);
    createOutput(format);
}

QtAudioOutput::~QtAudioOutput()
{
    // Qt's PulseAudio output handles the events waiting in the queue while it
    // closes; whatever they ask of this output meanwhile finds it closed. One
    // of them may be the output's own next feed, queued while the server
    // wants more (the first seconds of a stream, or after it ran dry): on a
    // closed stream that is still Active it aborts the program, while a
    // Stopped output passes it over. Stopped unheard: nobody is told.
    QAudioOutput *output = std::exchange(m_output, nullptr);
    disconnect(output, nullptr, this, nullptr);
    output->stop();
    delete output;
}

void QtAudioOutput::createOutput(const QAudioFormat &format)
{
    m_device = QAudioDeviceInfo::defaultOutputDevice();
    m_output = new QAudioOutput(m_device, format, this);
    connect(m_output, &QAudioOutput::stateChanged, this, [this](QAudio::State state) {
        if (state == QAudio::ActiveState)
            m_reports.start();
        else
            m_reports.stop();
        emit stateChanged(state);
    });
}

// A new QAudioOutput on the device that is the default now, with the format
// and volume of the old one, which is stopped before it goes.
void QtAudioOutput::renewOutput()
{
    QAudioOutput *old = std::exchange(m_output, nullptr);
    disconnect(old, nullptr, this, nullptr);
    old->stop();
    // Later: its destructor handles the events waiting in the queue, and a
    // start may be running inside one of them.
    old->deleteLater();
    createOutput(old->format());
    m_output->setVolume(old->volume());
}

AudioOutputFactory QtAudioOutput::factory()
{
    return [](const QAudioFormat &format) -> AudioOutput * { return new QtAudioOutput(format); };
}

// A sound server lost leaves the output failed for good: a new one plays on
// the server, and the default device, there are now. Where Qt's backend has
// given up on the server, a start asks it to look again, as a person
// pressing Play after starting the server expects.
void QtAudioOutput::start(QIODevice *device)
{
    if (!m_output)
        return;
    if (m_output->error() == QAudio::FatalError)
        renewOutput();
    m_output->start(device);
    if (m_output->error() == QAudio::FatalError && AudioDevice::reconnectSoundServer()) {
        renewOutput();
        m_output->start(device);
    }
}
void QtAudioOutput::suspend()
{
    if (m_output)
        m_output->suspend();
}
void QtAudioOutput::resume()
{
    if (m_output)
        m_output->resume();
}
void QtAudioOutput::stop()
{
    if (m_output)
        m_output->stop();
}
void QtAudioOutput::reset()
{
    if (m_output)
        m_output->reset();
}
QAudio::State QtAudioOutput::state() const
{
    return m_output ? m_output->state() : QAudio::StoppedState;
}
QAudio::Error QtAudioOutput::error() const
{
    return m_output ? m_output->error() : QAudio::NoError;
}
// PulseAudio answers from the format alone (1 Hz up to 384 kHz and 1 % more);
// without any device nothing is taken.
bool QtAudioOutput::isFormatSupported(const QAudioFormat &format) const
{
    return m_device.isFormatSupported(format);
}
void QtAudioOutput::setNotifyInterval(int milliseconds)
{
    m_reports.setInterval(milliseconds);
}
int QtAudioOutput::notifyInterval() const
{
    return m_reports.interval();
}
qint64 QtAudioOutput::processedUSecs() const
{
    return m_output ? m_output->processedUSecs() : 0;
}
qint64 QtAudioOutput::clockUSecs() const
{
    return m_clock.nsecsElapsed() / 1000;
}
int QtAudioOutput::bufferSize() const
{
    return m_output ? m_output->bufferSize() : 0;
}
int QtAudioOutput::bytesFree() const
{
    return m_output ? m_output->bytesFree() : 0;
}
QAudioFormat QtAudioOutput::format() const
{
    return m_output ? m_output->format() : QAudioFormat();
}
void QtAudioOutput::setVolume(qreal volume)
{
    if (m_output)
        m_output->setVolume(volume);
}
qreal QtAudioOutput::volume() const
{
    return m_output ? m_output->volume() : 0.0;
}
