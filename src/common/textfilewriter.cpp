#include "common/textfilewriter.h"

#include "common/filewritefailure.h"

#include <QSaveFile>

bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *reason)
{
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!written && reason)
        *reason = file.errorString();
    return written;
}

bool writeTextFile(const QString &path, const QString &text)
{
    const bool written = writeWholeFile(path, text.toUtf8(), nullptr);
    if (!written)
        reportFileWriteFailure();
    return written;
}
