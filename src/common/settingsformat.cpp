#include "common/settingsformat.h"

#include "common/inidocument.h"

#include <QFileDevice>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSet>

#include <new>

namespace {

QMutex filesLock;
// Files whose last reading failed: Qt would take them for empty, and their
// next write would leave out every value they hold.
QSet<QString> unread;
// Files this run keeps off the disk, with what they hold for it.
QHash<QString, QSettings::SettingsMap> inMemory;
// What this run last wrote to each file in Qt's form: a file that still holds
// it needs no reading before the next write.
QHash<QString, QByteArray> lastWrittenInQtsForm;

QString fileNameOf(const QIODevice &device)
{
    const auto *file = qobject_cast<const QFileDevice *>(&device);
    return file ? file->fileName() : QString();
}

bool readIni(QIODevice &device, QSettings::SettingsMap &map)
{
    const QString path = fileNameOf(device);
    {
        const QMutexLocker lock(&filesLock);
        const auto kept = inMemory.constFind(path);
        if (kept != inMemory.cend()) {
            map = *kept;
            return true;
        }
    }
    bool read = false;
    try {
        QByteArray text;
        bool whole = true;
        if (auto *file = qobject_cast<QFileDevice *>(&device))
            whole = IniDocument::readWhole(*file, &text);
        else
            text = device.readAll();
        if (whole) {
            map = IniDocument(text).settings();
            // Not before: a store whose values ran out of memory would read as
            // empty, and its next write would keep none of them.
            read = true;
        }
    } catch (const std::bad_alloc &) {
        // Values larger than memory holds read as unreadable rather than
        // ending the program or reading as empty.
        map.clear();
    }
    const QMutexLocker lock(&filesLock);
    if (read)
        unread.remove(path);
    else
        unread.insert(path);
    return read;
}

// The bytes `map` is written as into the store at `path`: its lines a person
// wrote stay (the store is edited, not written anew), unless it holds what
// this run wrote last, which is in Qt's form. False where the store is not
// read whole, or its reading and editing run out of memory: it stays as it is.
bool storeTextOf(const QString &path, const QSettings::SettingsMap &map, QByteArray *bytes, bool *inQtsForm)
{
    try {
        QByteArray current;
        if (!IniDocument::readFile(path, &current))
            return false;
        bool holdsLastWritten = false;
        {
            const QMutexLocker lock(&filesLock);
            const auto last = lastWrittenInQtsForm.constFind(path);
            holdsLastWritten = last != lastWrittenInQtsForm.cend() && *last == current;
        }
        if (holdsLastWritten) {
            *bytes = IniDocument::qtTextOf(map);
            *inQtsForm = true;
            return true;
        }
        IniDocument store(current);
        store.holdSettings(map);
        *bytes = store.text();
        // An edit of a text in Qt's form is in it; an edit of any other text
        // that happens to give Qt's form is found so at the next write.
        *inQtsForm = store.isInQtsForm();
        return true;
    } catch (const std::bad_alloc &) {
        return false;
    }
}

bool writeIni(QIODevice &device, const QSettings::SettingsMap &map)
{
    const QString path = fileNameOf(device);
    {
        const QMutexLocker lock(&filesLock);
        const auto kept = inMemory.find(path);
        if (kept != inMemory.end()) {
            *kept = map;
            return false; // Qt's save file is discarded: the file stays as it is
        }
        if (unread.contains(path))
            return false;
    }
    QByteArray bytes;
    bool inQtsForm = false;
    if (!storeTextOf(path, map, &bytes, &inQtsForm))
        return false;
    // The flush is what meets a full disk: Qt's commit would not see it fail.
    auto *file = qobject_cast<QFileDevice *>(&device);
    if (device.write(bytes) != bytes.size() || (file && !file->flush()))
        return false;
    const QMutexLocker lock(&filesLock);
    if (inQtsForm)
        lastWrittenInQtsForm.insert(path, bytes);
    else
        lastWrittenInQtsForm.remove(path); // lines of a person's: read it again
    return true;
}

// As Qt names a settings file: its absolute path.
QString settingsFileName(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

QSettings::Format wholeIniFormat()
{
    static const QSettings::Format format = QSettings::registerFormat(QStringLiteral("conf"), readIni, writeIni);
    return format;
}

void keepSettingsInMemory(const QString &path, const QSettings::SettingsMap &settings)
{
    const QMutexLocker lock(&filesLock);
    inMemory.insert(settingsFileName(path), settings);
}

bool settingsKeptInMemory(const QString &path)
{
    const QMutexLocker lock(&filesLock);
    return inMemory.contains(settingsFileName(path));
}

void keepSettingsOnDisk(const QString &path)
{
    const QMutexLocker lock(&filesLock);
    inMemory.remove(settingsFileName(path));
}
