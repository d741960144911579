#include "nullsinkserver.h"

#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <utility>
#include <vector>

namespace {

// The server's command line has no command that echoes; an unknown one
// answers with its name, and marks where an answer ends.
const QByteArray endMark = "end-of-answer";
const QByteArray endOfAnswer = "Unknown command: " + endMark + "\n";

// Long enough for a server started beside a build on every core.
constexpr int readyMs = 30000;

bool writeFile(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

QString tail(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("(none)");
    const QByteArray text = file.readAll();
    return QString::fromLocal8Bit(text.right(4000)).trimmed();
}

} // namespace

NullSinkServer::NullSinkServer()
{
    // A shell set up for a PulseAudio of its own (PULSE_SERVER,
    // PULSE_RUNTIME_PATH, PULSE_COOKIE, PULSE_SINK, PULSE_LATENCY_MSEC, ...)
    // would send the clients elsewhere or change how they play.
    for (const QString &name : QProcessEnvironment::systemEnvironment().keys()) {
        if (name.startsWith(QLatin1String("PULSE_")))
            qunsetenv(name.toLocal8Bit().constData());
    }
    // The folder is the server's runtime folder; clients are sent to its
    // socket by name, so that no other server on the machine answers, and
    // read a client configuration of their own, not the one in the home
    // folder (which may name another server, or start one).
    writeFile(path("client.conf"), "autospawn = no\n");
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    qputenv("PULSE_RUNTIME_PATH", path("pulse").toLocal8Bit());
    qputenv("PULSE_SERVER", ("unix:" + socket()).toLocal8Bit());
    qputenv("PULSE_CLIENTCONFIG", path("client.conf").toLocal8Bit());
    qputenv("PULSE_COOKIE", path("cookie").toLocal8Bit());
    QObject::connect(&m_commandLine, &QProcess::readyReadStandardOutput, [this] { answered(); });
}

NullSinkServer::~NullSinkServer()
{
    QObject::disconnect(&m_commandLine, nullptr, nullptr, nullptr);
    endCommandLine();
    if (m_server.state() != QProcess::NotRunning) {
        m_server.terminate();
        if (!m_server.waitForFinished(5000))
            m_server.kill();
    }
}

void NullSinkServer::endCommandLine()
{
    if (m_commandLine.state() != QProcess::NotRunning) {
        m_commandLine.closeWriteChannel(); // pacmd ends with its input, or with its server
        if (!m_commandLine.waitForFinished(5000)) {
            m_commandLine.kill();
            m_commandLine.waitForFinished(5000);
        }
    }
    m_awaiting = false;
    m_context = nullptr;
    m_answer.clear();
}

void NullSinkServer::kill()
{
    if (m_server.state() != QProcess::NotRunning) {
        m_server.kill();
        m_server.waitForFinished(readyMs);
    }
    endCommandLine();
}

QByteArray NullSinkServer::ask(const QByteArray &commands)
{
    if (m_awaiting || m_commandLine.state() != QProcess::Running)
        return {};
    m_answer.clear();
    m_commandLine.write(commands + endMark + '\n');
    if (!QTest::qWaitFor([&] { return m_answer.endsWith(endOfAnswer); }, readyMs))
        return {};
    return std::exchange(m_answer, {});
}

QStringList NullSinkServer::clientNames()
{
    QStringList names;
    const QRegularExpression name(QStringLiteral("application\\.name = \"([^\"]*)\""));
    const QString answer = QString::fromLocal8Bit(ask("list-clients\n"));
    for (QRegularExpressionMatchIterator found = name.globalMatch(answer); found.hasNext();)
        names << found.next().captured(1);
    return names;
}

bool NullSinkServer::installed()
{
    for (const char *program : {"pulseaudio", "pactl", "pacmd"}) {
        if (QStandardPaths::findExecutable(QLatin1String(program)).isEmpty())
            return false;
    }
    return true;
}

void NullSinkServer::fail(const QString &what)
{
    m_error = what + QStringLiteral("\nThe server's log:\n") + tail(path("server.log"));
}

bool NullSinkServer::start()
{
    QProcessEnvironment clients = QProcessEnvironment::systemEnvironment();
    clients.insert(QStringLiteral("LC_ALL"), QStringLiteral("C")); // the answers parsed
    // The server takes its own, empty daemon configuration too, and keeps its
    // state in the runtime folder; so its cookie, which its clients read.
    QProcessEnvironment env = clients;
    env.remove(QStringLiteral("PULSE_SERVER"));
    env.insert(QStringLiteral("PULSE_CONFIG"), path("daemon.conf"));
    env.insert(QStringLiteral("PULSE_STATE_PATH"), path("state"));
    if (!writeFile(path("daemon.conf"), {})) {
        m_error = QStringLiteral("cannot write to ") + m_runtime.path();
        return false;
    }
    m_server.setProcessEnvironment(env);
    // Its warnings (no D-Bus, run as root) go to a log that is read only on failure.
    m_server.setProcessChannelMode(QProcess::MergedChannels);
    m_server.setStandardOutputFile(path("server.log"), QIODevice::Append);
    // Should this process end without its destructor (a crash), the server
    // follows once its last client has gone: pacmd ends with its input.
    m_server.start(QStringLiteral("pulseaudio"),
                   {"-n", "--daemonize=no", "--exit-idle-time=20", "--load=module-null-sink sink_name=nullsink",
                    "--load=module-cli-protocol-unix",
                    "--load=module-native-protocol-unix auth-cookie=\"" + path("cookie") + '"'});
    if (!m_server.waitForStarted(readyMs)) {
        m_error = QStringLiteral("pulseaudio did not start: ") + m_server.errorString();
        return false;
    }
    return waitUntilConnected(clients) && startCommandLine(clients);
}

// The socket appears before the server takes connections: on a busy machine
// a client that came at once was refused, and Qt's backend, which connects
// once per process, then saw no device at all. Ready is when a client has
// connected.
bool NullSinkServer::waitUntilConnected(const QProcessEnvironment &clients)
{
    QElapsedTimer waited;
    waited.start();
    QProcess probe;
    probe.setProcessEnvironment(clients);
    QString refused = QStringLiteral("(pactl never ran: the socket did not appear)");
    const auto serverEnded = [&] { return m_server.state() == QProcess::NotRunning; };
    while (!serverEnded() && waited.elapsed() < readyMs) {
        const auto socketMade = [&] { return QFile::exists(socket()) || serverEnded(); };
        if (!QTest::qWaitFor(socketMade, int(readyMs - waited.elapsed())) || serverEnded())
            break;
        probe.start(QStringLiteral("pactl"), {QStringLiteral("info")});
        if (!probe.waitForStarted(readyMs)) {
            refused = QStringLiteral("(pactl did not start: %1)").arg(probe.errorString());
            break;
        }
        const auto answered = [&] { return probe.state() == QProcess::NotRunning; };
        if (!QTest::qWaitFor(answered, int(readyMs - waited.elapsed()))) {
            probe.kill();
            probe.waitForFinished(5000);
            refused = QStringLiteral("(pactl info had no answer yet)");
            break;
        }
        if (probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0)
            return true;
        refused = QString::fromLocal8Bit(probe.readAllStandardError()).trimmed();
        // Another try once the server has had a moment, unless it ended meanwhile.
        if (QTest::qWaitFor(serverEnded, 20))
            break;
    }
    if (serverEnded()) {
        fail(QStringLiteral("pulseaudio ended (exit code %1) %2 ms after it started, before it took a connection")
                 .arg(m_server.exitCode())
                 .arg(waited.elapsed()));
    } else {
        fail(QStringLiteral("pulseaudio took no connection within %1 s; pactl info said: %2")
                 .arg(readyMs / 1000)
                 .arg(refused));
    }
    return false;
}

bool NullSinkServer::startCommandLine(const QProcessEnvironment &clients)
{
    m_commandLine.setProcessEnvironment(clients);
    m_commandLine.start(QStringLiteral("pacmd"), QStringList());
    m_commandLine.write(endMark + '\n');
    const bool answered = QTest::qWaitFor(
        [&] { return m_answer.endsWith(endOfAnswer) || m_commandLine.state() == QProcess::NotRunning; }, readyMs);
    if (answered && m_answer.endsWith(endOfAnswer)) {
        m_answer.clear();
        return true;
    }
    fail(QStringLiteral("pacmd had %1 (%2): %3")
             .arg(answered ? QStringLiteral("ended") : QStringLiteral("no answer within %1 s").arg(readyMs / 1000))
             .arg(m_commandLine.errorString())
             .arg(QString::fromLocal8Bit(m_answer + m_commandLine.readAllStandardError()).trimmed()));
    return false;
}

bool NullSinkServer::look(const QObject *context, std::function<qint64()> written, std::function<void(qint64)> heard)
{
    const qint64 now = written();
    const bool more = !m_awaiting && now != std::exchange(m_before, now);
    if (m_awaiting || more || m_commandLine.state() != QProcess::Running)
        return false;
    m_context = context;
    m_written = std::move(written);
    m_heard = std::move(heard);
    m_awaiting = true;
    m_asked.start();
    m_commandLine.write("list-sinks\nlist-sink-inputs\nlist-sinks\n" + endMark + '\n');
    // Sent now, not when the event loop next runs: the time asked is what counts.
    m_commandLine.waitForBytesWritten(1000);
    return true;
}

void NullSinkServer::answered()
{
    m_answer += m_commandLine.readAllStandardOutput();
    if (!m_answer.endsWith(endOfAnswer) || !m_awaiting)
        return;
    const qint64 askedFor = m_asked.nsecsElapsed() / 1000;
    const QByteArray answer = std::exchange(m_answer, {});
    m_awaiting = false;
    const QPointer<const QObject> context = std::exchange(m_context, nullptr);
    const auto heard = std::exchange(m_heard, {});
    const auto written = std::exchange(m_written, {});
    if (!context || written() != m_before)
        return;
    const qint64 played = heardUSecs(m_before, answer);
    // The server answered somewhere within those few milliseconds, while
    // the sink went on playing.
    if (played != -1)
        heard(played - askedFor / 2);
}

qint64 NullSinkServer::heardUSecs(qint64 written, const QByteArray &answer)
{
    // Each list opens with a line that counts its entries; each entry tells
    // its current latency among much else.
    const QString text = QString::fromLatin1(answer);
    const QRegularExpression heading(QStringLiteral("^(\\d+) (sink|sink input)\\(s\\) available\\.$"),
                                     QRegularExpression::MultilineOption);
    const QRegularExpression latency(QStringLiteral("current latency: (\\d+\\.\\d+) ms"));
    QStringList kinds;
    std::vector<qint64> latencies;
    for (QRegularExpressionMatchIterator lists = heading.globalMatch(text); lists.hasNext();) {
        const QRegularExpressionMatch list = lists.next();
        if (list.captured(1) != QLatin1String("1"))
            return -1; // no stream, or another one as well
        const QRegularExpressionMatch first = latency.match(text, list.capturedEnd());
        if (!first.hasMatch())
            return -1;
        kinds << list.captured(2);
        latencies.push_back(qRound64(first.captured(1).toDouble() * 1000));
    }
    if (kinds != QStringList{QStringLiteral("sink"), QStringLiteral("sink input"), QStringLiteral("sink")})
        return -1;
    const qint64 sinkBefore = latencies[0], bufferUSecs = latencies[1], sinkAfter = latencies[2];
    // The sink takes a block of the stream's buffer whenever its own
    // latency has run down: taken between the two looks at the sink, the
    // block would count in neither the buffer nor the first look. Between
    // blocks the sink's latency only falls.
    if (sinkAfter > sinkBefore)
        return -1;
    // A stream buffer run dry (all but a resampler's leftover) may have
    // left the sink playing silence after the stream's end, which its
    // latency then counts as well.
    constexpr qint64 dryUSecs = 5000;
    if (bufferUSecs < dryUSecs)
        return -1;
    return written - bufferUSecs - (sinkBefore + sinkAfter) / 2;
}
