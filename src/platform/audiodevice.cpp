#include "platform/audiodevice.h"

#include "audio/audiologging.h"

#include <QAudioDeviceInfo>
#include <QAudioOutput>
#include <QCoreApplication>
#include <QEvent>
#include <QMetaMethod>
#include <QPointer>
#include <QTimer>

namespace {

struct Override {
    bool active = false;
    QString name;
};

Override &deviceOverride()
{
    static Override o;
    return o;
}

/**
 * Qt's PulseAudio engine, the backend's one connection to the sound server:
 * an object of the backend's own that no public API hands out. It shows
 * itself when its connection fails: it queues a call to itself
 * (onContextFailed), which passes the application's event filters. That call
 * emits its signal contextFailed(), lets the connection go and has the
 * engine's private slot prepare() connect again 3 s later. prepare() finding
 * no server gives up with a warning on the terminal and no signal; finding
 * one that fails before it is ready, it emits contextFailed() again, with
 * another try 3 s later.
 *
 * prepare() may be called again once the engine has let its connection go
 * and no try of its own is to come; on a connected engine it would leak a
 * second connection, and called before the engine's own try, the two would.
 */
class SoundServerWatch : public QObject
{
    Q_OBJECT
public:
    explicit SoundServerWatch(QObject *parent)
        : QObject(parent)
    {
        // The engine's own try is a coarse 3 s timer, due within 3.15 s;
        // timers run in the order they are due, so this one runs after it.
        m_ownRetry.setSingleShot(true);
        m_ownRetry.setTimerType(Qt::PreciseTimer);
        m_ownRetry.setInterval(3500);
    }

    static SoundServerWatch *instance()
    {
        static QPointer<SoundServerWatch> watch;
        if (!watch && QCoreApplication::instance()) {
            watch = new SoundServerWatch(QCoreApplication::instance());
            QCoreApplication::instance()->installEventFilter(watch);
        }
        return watch;
    }

    bool engineSeen() const { return m_engine; }
    bool retryPending() const { return m_ownRetry.isActive(); }

    bool reconnect()
    {
        if (!m_engine || retryPending())
            return false;
        // A failure already queued for the engine goes first, and brings a
        // try of its own.
        QCoreApplication::sendPostedEvents(m_engine, QEvent::MetaCall);
        if (retryPending() || connected())
            return false;
        qCDebug(lcAudio) << "asking Qt's PulseAudio engine to connect to the sound server again";
        return QMetaObject::invokeMethod(m_engine, "prepare", Qt::DirectConnection);
    }

    // The engine's one queued call is its failure: its own try is to come
    // from the moment it is delivered, before anyone has heard of it.
    bool eventFilter(QObject *receiver, QEvent *event) override
    {
        if (event->type() != QEvent::MetaCall)
            return false;
        if (!m_engine && qstrcmp(receiver->metaObject()->className(), "QPulseAudioEngine") == 0)
            follow(receiver);
        if (receiver == m_engine)
            m_ownRetry.start();
        return false;
    }

private slots:
    // Also where a try of the engine's own, or one asked for, fails after it
    // has connected: no queued call then.
    void connectionFailed()
    {
        qCDebug(lcAudio) << "Qt's PulseAudio engine lost the sound server; its own try comes in 3 s";
        m_ownRetry.start();
    }

private:
    // Seen as its failure is delivered, which emits contextFailed() next.
    void follow(QObject *engine)
    {
        const QMetaObject *meta = engine->metaObject();
        const int failed = meta->indexOfSignal("contextFailed()");
        // Another version of the engine than the one this was written for: left alone.
        if (failed < 0 || meta->indexOfMethod("prepare()") < 0)
            return;
        m_engine = engine;
        const QMetaMethod slot = staticMetaObject.method(staticMetaObject.indexOfSlot("connectionFailed()"));
        connect(engine, meta->method(failed), this, slot);
    }

    // An output starts only on a connected engine, at once and without a
    // sound when it is not. Started without data and stopped at once, it
    // plays nothing.
    static bool connected()
    {
        QAudioFormat format;
        format.setSampleRate(48000);
        format.setChannelCount(1);
        format.setSampleSize(16);
        format.setCodec(QStringLiteral("audio/pcm"));
        format.setByteOrder(QAudioFormat::LittleEndian);
        format.setSampleType(QAudioFormat::SignedInt);
        auto *probe = new QAudioOutput(QAudioDeviceInfo::defaultOutputDevice(), format);
        probe->start();
        const bool connected = probe->error() != QAudio::FatalError;
        probe->stop();
        // Later: its destructor handles the events waiting in the queue.
        probe->deleteLater();
        return connected;
    }

    QPointer<QObject> m_engine;
    QTimer m_ownRetry; // runs from a failure until the engine's own try has come
};

} // namespace

QString AudioDevice::defaultOutputDeviceName()
{
    const Override &o = deviceOverride();
    if (o.active)
        return o.name;
    return QAudioDeviceInfo::defaultOutputDevice().deviceName();
}

bool AudioDevice::outputAvailable()
{
    return !defaultOutputDeviceName().isEmpty();
}

void AudioDevice::setDefaultOutputDeviceNameOverride(const QString &name)
{
    Override &o = deviceOverride();
    o.active = true;
    o.name = name;
}

void AudioDevice::clearDefaultOutputDeviceNameOverride()
{
    Override &o = deviceOverride();
    o.active = false;
    o.name.clear();
}

void AudioDevice::watchSoundServer()
{
    SoundServerWatch::instance();
}

bool AudioDevice::canReconnectSoundServer()
{
    const SoundServerWatch *watch = SoundServerWatch::instance();
    return watch && watch->engineSeen();
}

bool AudioDevice::soundServerRetryPending()
{
    const SoundServerWatch *watch = SoundServerWatch::instance();
    return watch && watch->retryPending();
}

bool AudioDevice::reconnectSoundServer()
{
    SoundServerWatch *watch = SoundServerWatch::instance();
    return watch && watch->reconnect();
}

#include "audiodevice.moc"
