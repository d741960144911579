#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QPointer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

/**
 * A PulseAudio server of the process's own, playing into a null sink, so that
 * the real audio output runs on machines without sound. Qt's backend connects
 * once per process, when something first asks for an audio device: construct
 * this object, and start() the server, before that. Never started, it leaves
 * the process pointed at a server that does not exist (no device at all).
 *
 * Nothing of the calling shell's PulseAudio setup reaches the server or its
 * clients (this process, pactl, pacmd): every PULSE_ variable goes, and they
 * read configuration files of their own, not those in the home folder.
 */
class NullSinkServer
{
public:
    NullSinkServer();  // a fresh runtime folder; the process's clients are pointed at it
    ~NullSinkServer(); // ends pacmd and the server by their process ids

    // pulseaudio, and the pactl and pacmd that ask it.
    static bool installed();
    // Starts the server and waits until a client has connected to it and its
    // command line answers; false with a reason in error(). After kill(), it
    // starts again on the same socket, where the process's clients find it.
    bool start();
    QString error() const { return m_error; }
    // Ends the server at once, by its process id and without a word to its
    // clients, as a crash does, and waits until it has ended; its command
    // line goes with it, and a look awaited gets no answer.
    void kill();

    // The names of the clients connected to the server (Qt's backend names
    // itself "QtPulseAudio:<process id>"), asked through its command line;
    // empty when it does not answer.
    QStringList clientNames();

    // Asks the server what the sink has played of the one stream playing
    // into it, in microseconds of playing time at the moment of the call:
    // `written()` (the playing time of every byte handed to the stream) less
    // what still waits in the stream's buffer and the sink's own latency, as
    // the server counts them. Negative while the sink still plays what it
    // held before the stream came. The answer comes to `heard` from the
    // event loop a few milliseconds later, unless `context` is gone by then,
    // no stream plays, its buffer has run dry, or more was written while the
    // server was asked. Meant to be called at every position report: false
    // at once while an answer is still awaited, and when more was written
    // since the call before (the server may not have taken it yet).
    bool look(const QObject *context, std::function<qint64()> written, std::function<void(qint64)> heard);

private:
    // What the sink has played, in microseconds of playing time, by pacmd's
    // answer to listing the sinks, the sink inputs and the sinks again:
    // `written` less the one input's buffer and the null sink's latency; -1
    // unless exactly one input plays, with more than a resampler's leftover in
    // its buffer, and the sink took none of it between the two sink lists.
    static qint64 heardUSecs(qint64 written, const QByteArray &answer);

    bool waitUntilConnected(const QProcessEnvironment &clients);
    bool startCommandLine(const QProcessEnvironment &clients);
    void endCommandLine();
    // What the command line answers to `commands`; empty when it does not.
    QByteArray ask(const QByteArray &commands);
    void answered();
    void fail(const QString &what);
    QString path(const char *name) const { return m_runtime.filePath(QLatin1String(name)); }
    QString socket() const { return path("pulse/native"); }

    QTemporaryDir m_runtime;
    QProcess m_server;
    QProcess m_commandLine; // pacmd, connected to the server all along: a look costs no process start
    QString m_error;

    QPointer<const QObject> m_context; // of the look awaited; null when none is
    std::function<qint64()> m_written;
    std::function<void(qint64)> m_heard;
    qint64 m_before = -1; // written when the look awaited was asked; written at the last call otherwise
    QElapsedTimer m_asked;
    bool m_awaiting = false;
    QByteArray m_answer;
};
