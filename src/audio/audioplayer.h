#pragma once

#include "audio/audiooutput.h"

#include <QAudio>
#include <QAudioFormat>
#include <QByteArray>
#include <QObject>

class QBuffer;

/**
 * Plays one PCM byte buffer through an audio output and reports its state and
 * playing position. The output comes from a factory (the system's default
 * device unless a test or benchmark passes another) and is made anew for
 * every format.
 *
 * States are the output's own; every change is passed on through
 * signalPlayerStateChanged. Position reports come every `notifyInterval` ms
 * while playing, in milliseconds of playing time from the start of the buffer:
 * what has been heard (heardUSecs), not what the output has passed on.
 */
class AudioPlayer : public QObject
{
    Q_OBJECT
public:
    // Without a factory of its own the player takes defaultOutputFactory().
    explicit AudioPlayer(QObject *parent = nullptr, AudioOutputFactory outputFactory = {});
    ~AudioPlayer() override;

    // The system's default device, unless a test or benchmark has set another
    // (for a window it builds, on a VirtualAudioClock); empty restores the system's.
    static AudioOutputFactory defaultOutputFactory();
    static void setDefaultOutputFactory(AudioOutputFactory factory);

    // What has left the output of all it was given: processed time minus what
    // still waits in the output's queue, in microseconds.
    static qint64 playingPositionUSecs(qint64 processedUSecs, int bufferSize, int bytesFree,
                                       const QAudioFormat &format);

    // The position heard, in microseconds, at a report: at least the one
    // reported before, at most that plus the time the output's clock has run
    // since then while playing, and never beyond what has left the output's
    // queue. A sound server takes its data ahead of the sink playing it, a
    // null sink a block of about 200 ms at a time, so what has left the
    // queue leads the sound by up to a block. Such a sink takes a block only
    // once it has played the one before: when more has left the queue,
    // `playedAtLeast` (what had left it before) has been heard. A sink that
    // keeps a device's buffer filled takes more before that, and the
    // position still leads by the device's latency, which no audio output
    // of Qt 5 tells.
    static qint64 heardUSecs(qint64 previous, qint64 clockRun, qint64 leftQueue, qint64 playedAtLeast);

    // Not playable: no rate, no channels, or no whole bytes per sample.
    static bool isPlayable(const QAudioFormat &format);

    // Whether the output takes the current format at `sampleRate` instead.
    bool takesSampleRate(int sampleRate) const;

signals:
    void signalPlayerStateChanged(QAudio::State state);
    void isMuted(bool muted);
    void positionChanged(qint64 position);
    // Nothing plays although there was something to play: the output does
    // not take the format (asked before it starts), or it stopped with an
    // error after it was started. Once per play() at most, and never
    // together with outputLost.
    void outputRefused(int sampleRate);
    // The output lost its sound server (or device), while it played or when
    // it was started. Once per play() at most.
    void outputLost();

public slots:
    // Suspended: resumes, whatever `data` holds. Stopped or Idle: plays a copy
    // of `data` from its start, unless it is empty or the format is not
    // playable (or the output refuses it: outputRefused). Active or
    // Interrupted: nothing.
    void play(const QByteArray &data);
    void pause();
    void stop();
    void setMute(bool mute);
    // 0 to 100 on a logarithmic scale, as the volume slider shows it.
    void setVolume(int volume);
    void setFormat(const QAudioFormat &format);
    void playerStateChanged(QAudio::State state);
    void notified();

public:
    QAudioFormat format() const;
    QAudio::State state() const;

private:
    void createOutput(const QAudioFormat &format);
    void reportOutputFailure();

    AudioOutputFactory outputFactory;
    AudioOutput *output = nullptr; // a child; replaced with every format
    QBuffer *buffer = nullptr;     // a child; what the output reads
    double volume = 1.0;           // linear, applied whenever not muted
    bool muted = false;
    int notifyInterval = 10;     // milliseconds between position reports
    qint64 heardPosition = 0;    // microseconds, the last one reported
    qint64 heardAtClock = 0;     // the output's clock then, or when it last went Active
    qint64 leftQueue = 0;        // microseconds, what had left the output's queue then
    qint64 leftQueueHeld = 0;    // the same at the last report at which it had not grown
    bool watchingOutput = false; // from a start's return until a stop or a told failure: Stopped with an error is one
};
