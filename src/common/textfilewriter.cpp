#include "common/textfilewriter.h"

#include "common/filewritefailure.h"

#include <QSaveFile>

bool writeTextFile(const QString &path, const QString &text)
{
    QSaveFile file(path);
    bool written = false;
    if (file.open(QIODevice::WriteOnly)) {
        const QByteArray bytes = text.toUtf8();
        written = file.write(bytes) == bytes.size() && file.commit();
    }
    if (!written)
        reportFileWriteFailure();
    return written;
}
