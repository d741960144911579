#pragma once

#include <QString>

// Whether sound can be played at all. The program must run on machines (and
// under CI) without any audio output, and Qt has no "no device" query of its
// own: a default output device with an empty name means there is none.
// Tests replace the system's answer so that both cases can be exercised
// wherever they run.
//
// Qt's PulseAudio backend connects to the sound server once per process, when
// something first asks for a device. Having lost the server, it tries once
// more 3 s later and, finding none then, never again: every output fails from
// then on. It keeps the name of the device it last knew meanwhile. Watched
// (from the first real output on), it can be asked to connect again.
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

    // Watches Qt's PulseAudio backend from now on, which then shows itself
    // when it loses its server. Once is enough; GUI thread only.
    static void watchSoundServer();

    // Whether the backend has been seen to lose its server, and so can be
    // asked to connect again. A backend that found no server at the start
    // never shows itself: a server started later is found by a new start of
    // the program only.
    static bool canReconnectSoundServer();

    // From the moment the backend lost its server until its own try to
    // connect again, 3 s later, has come.
    static bool soundServerRetryPending();

    // Asks the backend to connect again where it lost its server, has no try
    // of its own to come and is not connected: true when it was asked,
    // whatever it found. It blocks until the server answers (at once when
    // there is none). Call when an output could not start for want of a
    // server, or when the user looks for the device again.
    static bool reconnectSoundServer();
};
