#pragma once

#include "wavwriter.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdlib>

#include <sys/stat.h>

// The fixture files of one test class: each written under a new name, so that
// no case reads what another left behind, in a folder that goes with the class.
class FixtureFolder
{
public:
    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    QString put(const QByteArray &bytes, const QString &suffix = QStringLiteral(".wav"))
    {
        const QString path = m_dir.filePath(QStringLiteral("f%1").arg(++m_counter) + suffix);
        if (!testsupport::writeFile(path, bytes))
            qFatal("cannot write fixture %s", qPrintable(path));
        return path;
    }

    // A file of size bytes that begins with head and is a hole behind it;
    // empty when the file system cannot hold it without writing it out.
    QString putSparse(const QByteArray &head, qint64 size, const QString &suffix = QStringLiteral(".wav"))
    {
        const QString path = m_dir.filePath(QStringLiteral("f%1").arg(++m_counter) + suffix);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(head) != head.size() || !file.resize(size)) {
            file.remove();
            return QString();
        }
        file.close();
        struct stat st;
        if (::stat(QFile::encodeName(path).constData(), &st) != 0 || qint64(st.st_blocks) * 512 > (qint64(1) << 24)) {
            QFile::remove(path);
            return QString();
        }
        return path;
    }

private:
    QTemporaryDir m_dir;
    int m_counter = 0;
};

// The little-endian uint32 at byte at, read apart from the code under test.
inline quint32 le32At(const QByteArray &b, int at)
{
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 | quint32(quint8(b[at + 2])) << 16
           | quint32(quint8(b[at + 3])) << 24;
}
