#include "platform/audiodevice.h"

#include <QAudioDeviceInfo>

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
