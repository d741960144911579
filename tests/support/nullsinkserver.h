#pragma once

#include <QProcess>
#include <QTemporaryDir>

#include <functional>

/**
 * A PulseAudio server of the process's own, playing into a null sink, so that
 * the real audio output runs on machines without sound. Qt's backend connects
 * once per process, when something first asks for an audio device: construct
 * this object, and start() the server, before that. Never started, it leaves
 * the process pointed at a server that does not exist (no device at all).
 */
class NullSinkServer
{
public:
    NullSinkServer();  // a fresh runtime folder; the process's clients are pointed at it
    ~NullSinkServer(); // ends the server by its process id

    static bool installed();
    // Starts the server and waits until it takes connections; false with a reason in error().
    bool start();
    QString error() const { return m_error; }

    // What the sink has played of the one stream playing into it, in
    // microseconds of playing time, at the moment of the call: `written()`
    // (the playing time of every byte handed to the stream) less what still
    // waits in the stream's buffer and the sink's own latency, as the server
    // counts them (asked with pactl). Negative while the sink still plays
    // what it held before the stream came. False when no stream plays, when
    // its buffer has run dry, or when more was written while the server was
    // asked.
    static bool heardUSecs(const std::function<qint64()> &written, qint64 *heard);

private:
    static qint64 playbackLatencyUSecs();
    QString socket() const { return m_runtime.filePath(QStringLiteral("pulse/native")); }

    QTemporaryDir m_runtime;
    QProcess m_server;
    QString m_error;
};
