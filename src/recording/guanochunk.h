#pragma once

#include <QDateTime>
#include <QString>

#include <limits>

// The GUANO "guan" chunk, one field per key the program understands.
// NaN marks a measurement the file did not give; 0 marks the other numbers.
struct GuanoChunk {
    quint32 chunkSize = 0;
    bool found = false;
    QString version;
    float filterHp = 0.0f;
    float filterLp = 0.0f;
    QString firmwareVersion;
    QString hardwareVersion;
    float humidity = std::numeric_limits<float>::quiet_NaN();
    float length = std::numeric_limits<float>::quiet_NaN();
    float locAccuracy = std::numeric_limits<float>::quiet_NaN();
    float locElevation = std::numeric_limits<float>::quiet_NaN();
    QString locPosition;
    QString make;
    QString model;
    QString note;
    QString originalFilename;
    qint32 samplerate = 0;
    QString serial;
    QString speciesAutoId;
    QString speciesManualId;
    QString tags;
    qint32 te = 0;
    float temperatureExt = std::numeric_limits<float>::quiet_NaN();
    float temperatureInt = std::numeric_limits<float>::quiet_NaN();
    QDateTime timestamp; // wall-clock date and time as written in the file
    QString waSongMeterPrefix;
    QString waSongMeterAudioSettings;
};
