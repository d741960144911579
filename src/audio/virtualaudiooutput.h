#pragma once

#include "audio/audiooutput.h"

#include <QPointer>

/**
 * An output without sound whose time moves only when told: advance(ms) plays
 * that many milliseconds at once. Tests and benchmarks run the player on it
 * wherever there is no sound server, and get the same answer every time.
 *
 * It behaves as the PulseAudio output does where the player can tell: start()
 * fills a queue of 100 ms from the device and goes Active; playing drains the
 * queue at the format's byte rate and tops it up; the device running dry with
 * an empty queue makes it Idle; a format PulseAudio refuses (no rate, or one
 * above maxSampleRate) leaves it Stopped with an OpenError and reports Stopped
 * once more. isFormatSupported() says so beforehand, as PulseAudio's device does.
 */
class VirtualAudioOutput : public AudioOutput
{
    Q_OBJECT
public:
    static constexpr int maxSampleRate = 384000;

    explicit VirtualAudioOutput(const QAudioFormat &format, QObject *parent = nullptr);

    // Plays `milliseconds` of time in steps of one millisecond.
    void advance(int milliseconds);
    // Another program took the device: Active or Suspended become Interrupted.
    void interrupt();
    // The sound server went away: whatever plays stops with a FatalError, and
    // so does every start() from now on, while isFormatSupported() still
    // answers from the format alone, as PulseAudio's does.
    void loseDevice();
    // The sound server is back: the next start() plays.
    void regainDevice() { m_deviceLost = false; }

    void start(QIODevice *device) override;
    void suspend() override;
    void resume() override;
    void stop() override;
    void reset() override;
    QAudio::State state() const override { return m_state; }
    QAudio::Error error() const override { return m_error; }
    bool isFormatSupported(const QAudioFormat &format) const override;
    void setNotifyInterval(int milliseconds) override { m_notifyInterval = milliseconds; }
    int notifyInterval() const override { return m_notifyInterval; }
    qint64 processedUSecs() const override;
    qint64 clockUSecs() const override { return m_clockUs; }
    int bufferSize() const override { return m_bufferSize; }
    int bytesFree() const override { return m_bufferSize - m_queued; }
    QAudioFormat format() const override { return m_format; }
    void setVolume(qreal volume) override { m_volume = volume; }
    qreal volume() const override { return m_volume; }

private:
    void setState(QAudio::State state);
    void topUp();
    qint64 bytesPlayedAfter(qint64 microseconds) const;

    QAudioFormat m_format;
    qint64 m_bytesPerSecond = 0;
    int m_bytesPerFrame = 0;
    int m_bufferSize = 0;
    QAudio::State m_state = QAudio::StoppedState;
    QAudio::Error m_error = QAudio::NoError;
    bool m_deviceLost = false;
    QIODevice *m_device = nullptr; // borrowed from start() until stop()
    int m_notifyInterval = 1000;   // QAudioOutput's default
    qreal m_volume = 1.0;
    int m_queued = 0;       // bytes taken from the device and not yet played
    qint64 m_processed = 0; // bytes taken from the device since start()
    qint64 m_playingUs = 0; // time spent Active since start()
    qint64 m_clockUs = 0;   // all the time advance() was given
};

/**
 * One virtual clock, and sound server, for the outputs a player makes: hand
 * factory() to the player; advance() moves its newest output (older ones
 * were replaced).
 */
class VirtualAudioClock
{
public:
    AudioOutputFactory factory();
    VirtualAudioOutput *output() const { return m_newest; }
    void advance(int milliseconds);
    // The sound server goes away, or comes back, for the newest output and
    // every one made from now on.
    void loseDevice();
    void regainDevice();

private:
    QPointer<VirtualAudioOutput> m_newest;
    bool m_deviceLost = false;
};
