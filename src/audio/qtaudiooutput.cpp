#include "audio/qtaudiooutput.h"

#include <QAudioDeviceInfo>
#include <QAudioOutput>

#include <utility>

QtAudioOutput::QtAudioOutput(const QAudioFormat &format, QObject *parent)
    : AudioOutput(parent)
    , m_device(QAudioDeviceInfo::defaultOutputDevice())
    , m_output(new QAudioOutput(m_device, format, this))
{
    m_clock.start();
    m_reports.setTimerType(Qt::PreciseTimer);
    m_reports.setInterval(m_output->notifyInterval());
    connect(&m_reports, &QTimer::timeout, this, &AudioOutput::notify);
    connect(m_output, &QAudioOutput::stateChanged, this, [this](QAudio::State state) {
        if (state == QAudio::ActiveState)
            m_reports.start();
        else
            m_reports.stop();
        emit stateChanged(state);
    });
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

AudioOutputFactory QtAudioOutput::factory()
{
    return [](const QAudioFormat &format) -> AudioOutput * { return new QtAudioOutput(format); };
}

void QtAudioOutput::start(QIODevice *device)
{
    if (m_output)
        m_output->start(device);
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
