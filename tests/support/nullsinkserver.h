#pragma once

#include <QProcess>
#include <QTemporaryDir>

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

private:
    QString socket() const { return m_runtime.filePath(QStringLiteral("pulse/native")); }

    QTemporaryDir m_runtime;
    QProcess m_server;
    QString m_error;
};
