#include "nullsinkserver.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

NullSinkServer::NullSinkServer()
{
    // The folder is the server's XDG_RUNTIME_DIR; clients are sent to its
    // socket by name, so that no other server on the machine answers.
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    qputenv("PULSE_SERVER", ("unix:" + socket()).toLocal8Bit());
}

NullSinkServer::~NullSinkServer()
{
    m_server.terminate();
    if (!m_server.waitForFinished(5000))
        m_server.kill();
}

bool NullSinkServer::installed()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty();
}

bool NullSinkServer::start()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("PULSE_SERVER"));
    m_server.setProcessEnvironment(env);
    // Its warnings (no cookie, no D-Bus) go to a log that is read only on failure.
    const QString log = m_runtime.filePath(QStringLiteral("server.log"));
    m_server.setProcessChannelMode(QProcess::MergedChannels);
    m_server.setStandardOutputFile(log);
    m_server.start(QStringLiteral("pulseaudio"),
                   {"-n", "--daemonize=no", "--exit-idle-time=-1", "--load=module-null-sink sink_name=nullsink",
                    "--load=module-native-protocol-unix"});
    const bool up =
        QTest::qWaitFor([&] { return QFile::exists(socket()) || m_server.state() == QProcess::NotRunning; }, 20000);
    if (up && QFile::exists(socket()))
        return true;
    QFile file(log);
    file.open(QIODevice::ReadOnly);
    m_error = QStringLiteral("pulseaudio made no socket: ") + m_server.errorString() + QLatin1Char('\n')
              + QString::fromLocal8Bit(file.readAll());
    return false;
}

qint64 NullSinkServer::playbackLatencyUSecs()
{
    QProcess pactl;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C")); // the labels parsed below
    pactl.setProcessEnvironment(env);
    pactl.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("sink-inputs")});
    if (!pactl.waitForFinished(5000))
        return -1;
    const QString text = QString::fromLocal8Bit(pactl.readAllStandardOutput());
    const QRegularExpressionMatch buffer =
        QRegularExpression(QStringLiteral("Buffer Latency: (\\d+) usec")).match(text);
    const QRegularExpressionMatch sink = QRegularExpression(QStringLiteral("Sink Latency: (\\d+) usec")).match(text);
    // A stream buffer run dry (all but a resampler's leftover) may have
    // left the sink playing silence after the stream's end, which its
    // latency then counts as well.
    constexpr qint64 dryUSecs = 5000;
    if (!buffer.hasMatch() || !sink.hasMatch() || buffer.captured(1).toLongLong() < dryUSecs)
        return -1;
    return buffer.captured(1).toLongLong() + sink.captured(1).toLongLong();
}

bool NullSinkServer::heardUSecs(const std::function<qint64()> &written, qint64 *heard)
{
    const qint64 before = written();
    QElapsedTimer asking;
    asking.start();
    const qint64 latency = playbackLatencyUSecs();
    const qint64 askedFor = asking.nsecsElapsed() / 1000;
    if (latency < 0 || written() != before)
        return false;
    // The server answered somewhere within those few milliseconds, while
    // the sink went on playing.
    *heard = before - latency - askedFor / 2;
    return true;
}
