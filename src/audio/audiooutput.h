#pragma once

#include <QAudio>
#include <QAudioFormat>
#include <QObject>

#include <functional>

class QIODevice;

/**
 * The playing half of an audio output, as the player uses it: QAudioOutput's
 * operations behind an interface of our own, so that the player can run on a
 * virtual clock in tests and benchmarks instead of a sound server.
 *
 * An output plays one format for its whole life; a new format means a new
 * output. States and signals follow QAudioOutput: `stateChanged` on every
 * change, `notify` every notifyInterval() milliseconds of playing.
 */
class AudioOutput : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Pulls the bytes to play from `device`, which stays open and alive until
    // the output is stopped or reset. A format the device refuses leaves the
    // output Stopped, with error() saying so.
    virtual void start(QIODevice *device) = 0;
    virtual void suspend() = 0;
    virtual void resume() = 0;
    virtual void stop() = 0;
    // Drops whatever is queued and counts processed time from zero again; the
    // state is left to the next start() or stop().
    virtual void reset() = 0;
    virtual QAudio::State state() const = 0;
    // Why the output last went Stopped without being told to: NoError after
    // a stop() or a start() that plays.
    virtual QAudio::Error error() const = 0;
    // Whether the device this output plays on takes `format`, asked without
    // starting anything. Some refusals come only from start() all the same.
    virtual bool isFormatSupported(const QAudioFormat &format) const = 0;

    virtual void setNotifyInterval(int milliseconds) = 0;
    virtual int notifyInterval() const = 0;

    // Playing time of all bytes taken from the device since start(), in
    // microseconds, including those still queued in the output's buffer.
    virtual qint64 processedUSecs() const = 0;
    // A clock that runs as fast as the output plays, in microseconds: the
    // system's monotonic clock for a device, the virtual time for a virtual
    // output. Only differences between two readings mean anything.
    virtual qint64 clockUSecs() const = 0;
    // The output's own queue, in bytes: its size and how much of it is empty.
    virtual int bufferSize() const = 0;
    virtual int bytesFree() const = 0;

    virtual QAudioFormat format() const = 0;
    // Linear volume, 0.0 to 1.0.
    virtual void setVolume(qreal volume) = 0;
    virtual qreal volume() const = 0;

signals:
    void stateChanged(QAudio::State state);
    void notify();
};

// Makes an output for a format; whoever calls it owns the output.
using AudioOutputFactory = std::function<AudioOutput *(const QAudioFormat &format)>;
