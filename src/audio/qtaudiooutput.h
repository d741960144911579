#pragma once

#include "audio/audiooutput.h"

#include <QAudioDeviceInfo>
#include <QElapsedTimer>
#include <QTimer>

class QAudioOutput;

/**
 * The system's default audio output (QAudioOutput). Without any output device
 * Qt plays into a null device: start() then leaves the output Stopped.
 *
 * `notify` comes from a timer of its own, every notifyInterval() ms while
 * Active. QAudioOutput's own notify follows the bytes it writes, and
 * PulseAudio asks for them in bursts: a null sink every 200 ms or so, so
 * that its reports would stand still between them.
 *
 * A QAudioOutput that lost its sound server (a fatal error) stays without
 * one; start() then plays through a new one on the device that is the
 * default now, having Qt's backend look for the server again where it has
 * given up on it (AudioDevice::reconnectSoundServer).
 */
class QtAudioOutput : public AudioOutput
{
    Q_OBJECT
public:
    explicit QtAudioOutput(const QAudioFormat &format, QObject *parent = nullptr);
    ~QtAudioOutput() override;

    // The factory the player uses unless told otherwise.
    static AudioOutputFactory factory();

    void start(QIODevice *device) override;
    void suspend() override;
    void resume() override;
    void stop() override;
    void reset() override;
    QAudio::State state() const override;
    QAudio::Error error() const override;
    bool isFormatSupported(const QAudioFormat &format) const override;
    void setNotifyInterval(int milliseconds) override;
    int notifyInterval() const override;
    qint64 processedUSecs() const override;
    qint64 clockUSecs() const override;
    int bufferSize() const override;
    int bytesFree() const override;
    QAudioFormat format() const override;
    void setVolume(qreal volume) override;
    qreal volume() const override;

private:
    void createOutput(const QAudioFormat &format);
    void renewOutput();

    QAudioDeviceInfo m_device;        // the system's default when the QAudioOutput was made
    QAudioOutput *m_output = nullptr; // a child of this object; null once it is closing
    QTimer m_reports;                 // notify while Active
    QElapsedTimer m_clock;            // started with the output
};
