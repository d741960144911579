#include "common/textfilewriter.h"

#include "common/filewritefailure.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

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

void removeLeftOverSaveFiles(const QString &path)
{
    // Qt names a save file after its target, with six letters of chance for
    // its "XXXXXX". A name a user gave ("Quillon.conf.backup", ".Backup") is
    // kept: a save file's letters are taken as chance only where some after
    // the first are capitals and some are not, as 61 in 64 of Qt's are.
    const QFileInfo target(path);
    const QString stem = target.fileName() + QLatin1Char('.');
    const auto isUpper = [](QChar c) { return c >= QLatin1Char('A') && c <= QLatin1Char('Z'); };
    const auto isLower = [](QChar c) { return c >= QLatin1Char('a') && c <= QLatin1Char('z'); };
    QDir folder = target.dir();
    const QStringList names =
        folder.entryList({stem + QStringLiteral("??????")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const QString letters = name.mid(stem.size());
        const bool chance =
            std::all_of(letters.cbegin(), letters.cend(), [&](QChar c) { return isUpper(c) || isLower(c); })
            && std::any_of(letters.cbegin() + 1, letters.cend(), isUpper)
            && std::any_of(letters.cbegin(), letters.cend(), isLower);
        if (chance)
            folder.remove(name);
    }
}
