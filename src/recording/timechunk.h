#pragma once

#include <QString>

// The recorder's "TIME" chunk. Texts hold the stored bytes; recDate is already
// turned into "dd/MM/yy" by the chunk walk, and Date, despite its name, holds
// the time of day "HH:mm:ss".
struct TimeChunk {
    quint32 chunkSize = 0;
    bool found = false;
    QString Date;
    QString recDate;
    QString char1;
    QString char2;
    QString secTime;
    QString secDate;
    QString char3;
    qint32 number1 = 0;
    qint32 number2 = 0;
};
