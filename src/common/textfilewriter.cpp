#include "common/textfilewriter.h"

#include "common/filewritefailure.h"

#include <QSaveFile>

bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *reason)
{
    QSaveFile file(path);
    // QSaveFile::commit() says true when the bytes left in its buffer meet a
    // full disk (it checks only the writes it saw fail), and the file it puts
    // in place is cut short: so the buffer is emptied, and its failure seen,
    // first. A failed write or flush discards the temporary file unrenamed.
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush()
                         && file.commit() && file.error() == QFileDevice::NoError;
    if (!written && reason) {
        // A flush the size limit cut short leaves Qt's error text empty.
        *reason = file.errorString();
        if (reason->isEmpty() || reason->compare(QLatin1String("Unknown error")) == 0)
            *reason = QStringLiteral("Not every byte of the file reached the disk.");
    }
    return written;
}

bool writeTextFile(const QString &path, const QString &text)
{
    const bool written = writeWholeFile(path, text.toUtf8(), nullptr);
    if (!written)
        reportFileWriteFailure();
    return written;
}
