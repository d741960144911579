#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <ctime>

// For a test that depends on the machine's zone: the zone the environment
// names (CTest names one, a rerun another), else Europe/Berlin, set here so
// that the executable run on its own tests the same as under CTest.
inline QByteArray machineZoneForTest()
{
    if (qEnvironmentVariableIsEmpty("TZ")) {
        qputenv("TZ", "Europe/Berlin");
        tzset();
    }
    return qgetenv("TZ");
}
