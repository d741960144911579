#pragma once

#include <QString>

// The recording date and time of a "wamd" chunk.
struct WamdChunk {
    quint32 chunkSize = 0;
    bool found = false;
    QString date; // "yyyy-MM-dd"
    QString time; // "HH:mm:ss"
};
