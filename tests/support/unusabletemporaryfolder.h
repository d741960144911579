#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

/**
 * While alive, the folder for temporary files (TMPDIR) is a file: nothing can
 * be made in it, as when that folder is missing or its disk full. Made before
 * anything the test asks of it, and gone before the next test.
 */
class UnusableTemporaryFolder
{
public:
    UnusableTemporaryFolder()
        : m_wasSet(qEnvironmentVariableIsSet("TMPDIR"))
        , m_old(qgetenv("TMPDIR"))
    {
        const QString notAFolder = m_holder.filePath(QStringLiteral("temporary"));
        QFile file(notAFolder);
        m_set = m_holder.isValid() && file.open(QIODevice::WriteOnly);
        if (m_set)
            qputenv("TMPDIR", QFile::encodeName(notAFolder));
    }
    ~UnusableTemporaryFolder()
    {
        if (m_wasSet)
            qputenv("TMPDIR", m_old);
        else
            qunsetenv("TMPDIR");
    }
    UnusableTemporaryFolder(const UnusableTemporaryFolder &) = delete;
    UnusableTemporaryFolder &operator=(const UnusableTemporaryFolder &) = delete;

    bool isSet() const { return m_set; }

private:
    QTemporaryDir m_holder; // made while TMPDIR still names a folder
    bool m_wasSet;
    QByteArray m_old;
    bool m_set = false;
};
