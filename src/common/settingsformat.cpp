#include "common/settingsformat.h"

#include <QFile>
#include <QFileDevice>
#include <QMutex>
#include <QSet>
#include <QTemporaryDir>

#include <new>

namespace {

// Qt's own INI reader and writer do the work, on a scratch file of their own
// (a settings object on the file being synced would wait on that file's own
// lock): the program's files keep their form, escapes, sections and byte
// order mark included. The scratch file may meet a full disk too, so what is
// read from it or written through it is known whole first.
constexpr char scratchName[] = "settings.ini";

// Written after every other value, in a section that sorts after every other,
// and taken off again: a scratch file that ends in it holds every value before it.
const QString endMarkKey = QString(QChar(0xffff)) + QStringLiteral("/w");
constexpr char endMark[] = "[%UFFFF]\nw=1\n";

// Files whose last reading failed: Qt would take them for empty, and their
// next write would leave out every value they hold.
QMutex unreadLock;
QSet<QString> unread;

void setUnread(const QString &path, bool failed)
{
    const QMutexLocker lock(&unreadLock);
    if (failed)
        unread.insert(path);
    else
        unread.remove(path);
}

bool readIni(QIODevice &device, QSettings::SettingsMap &map)
{
    const bool read = readIniText(device.readAll(), &map);
    if (auto *file = qobject_cast<QFileDevice *>(&device))
        setUnread(file->fileName(), !read);
    return read;
}

bool writeIni(QIODevice &device, const QSettings::SettingsMap &map)
{
    if (auto *file = qobject_cast<QFileDevice *>(&device)) {
        const QMutexLocker lock(&unreadLock);
        if (unread.contains(file->fileName()))
            return false;
    }
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return false;
    const QString path = scratch.filePath(QLatin1String(scratchName));
    {
        QSettings ini(path, QSettings::IniFormat);
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            ini.setValue(it.key(), it.value());
        ini.setValue(endMarkKey, 1);
    }
    QFile copy(path);
    if (!copy.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = copy.readAll();
    if (!bytes.endsWith(endMark))
        return false;
    bytes.chop(int(qstrlen(endMark)));
    bytes.chop(bytes.endsWith("\n\n") ? 1 : 0); // the blank line before the mark's section
    // The flush is what meets a full disk: Qt's commit would not see it fail.
    auto *file = qobject_cast<QFileDevice *>(&device);
    return device.write(bytes) == bytes.size() && (!file || file->flush());
}

} // namespace

bool readIniText(const QByteArray &text, QSettings::SettingsMap *map)
{
    QTemporaryDir scratch;
    QFile copy(scratch.filePath(QLatin1String(scratchName)));
    const bool copied =
        scratch.isValid() && copy.open(QIODevice::WriteOnly) && copy.write(text) == text.size() && copy.flush();
    copy.close();
    if (!copied)
        return false;
    const QSettings ini(copy.fileName(), QSettings::IniFormat);
    try {
        for (const QString &key : ini.allKeys())
            map->insert(key, ini.value(key));
    } catch (const std::bad_alloc &) {
        // A value claiming more than memory holds (a damaged list): the text
        // reads as unreadable rather than ending the program.
        map->clear();
        return false;
    }
    // Qt's reader reads on past a line it cannot make sense of (it says
    // FormatError for a byte order mark on a line of its own): so does this one.
    return true;
}

QSettings::Format wholeIniFormat()
{
    static const QSettings::Format format = QSettings::registerFormat(QStringLiteral("conf"), readIni, writeIni);
    return format;
}
