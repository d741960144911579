#pragma once

#include <QString>

// The broadcast extension "bext" chunk. The 256-byte description carries the
// class assignment text that the program writes back.
struct BextChunk {
    quint32 chunkSize = 0;
    bool found = false;
    QString description;
    QString originator;
    QString reference;
    QString date;
    QString time;
    QString codingHist;
};
