#pragma once

#include <QString>

// Whether sound can be played at all. The program must run on machines (and
// under CI) without any audio output, and Qt has no "no device" query of its
// own: a default output device with an empty name means there is none.
// Tests replace the system's answer so that both cases can be exercised
// wherever they run.
class AudioDevice
{
public:
    // Name of the system's default audio output device, or the name a test set;
    // empty when there is no output device.
    static QString defaultOutputDeviceName();

    // True when defaultOutputDeviceName() is not empty.
    static bool outputAvailable();

    // From now on defaultOutputDeviceName() returns `name` (empty: no device)
    // instead of asking the system. GUI thread only.
    static void setDefaultOutputDeviceNameOverride(const QString &name);

    // Asks the system again.
    static void clearDefaultOutputDeviceNameOverride();
};
