#include "nullsinkserver.h"

#include <QFile>
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
