#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>

#include <sys/inotify.h>
#include <unistd.h>

namespace testsupport {

/**
 * How often the file `name` in `folder` was written whole while `work` ran,
 * -1 where the folder cannot be watched. A whole file is written to a save
 * file beside it and renamed to its name. The kernel folds an event into the
 * one queued before it when the two are alike: each save file's creation,
 * under a name of its own, keeps the renames apart, so both are watched.
 */
inline int wholeWritesOf(const QString &folder, const QString &name, const std::function<void()> &work)
{
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch < 0 || inotify_add_watch(watch, QFile::encodeName(folder).constData(), IN_MOVED_TO | IN_CREATE) < 0)
        return -1;
    work();
    // The kernel queued each rename as it was made: all are there to read.
    int writes = 0;
    alignas(inotify_event) char events[4096];
    ssize_t got;
    while ((got = read(watch, events, sizeof events)) > 0) {
        for (const char *p = events; p < events + got;) {
            const auto *event = reinterpret_cast<const inotify_event *>(p);
            writes += (event->mask & IN_MOVED_TO) && event->len > 0 && QFile::decodeName(event->name) == name;
            p += sizeof(inotify_event) + event->len;
        }
    }
    close(watch);
    return writes;
}

} // namespace testsupport
