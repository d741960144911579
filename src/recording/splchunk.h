#pragma once

#include <QString>

// The "SPL " chunk: a short sound-pressure-level text.
struct SplChunk {
    quint32 chunkSize = 0;
    bool found = false;
    QString value;
};
