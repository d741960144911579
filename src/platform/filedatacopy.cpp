#include "platform/filedatacopy.h"

#include <QFile>
#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <unistd.h>
#endif

namespace {

// Large blocks: a recording of minutes is hundreds of megabytes.
const qint64 kBlockBytes = 1 << 20;

bool copyThroughBuffer(QFile &in, QFile &out)
{
    QByteArray block(int(kBlockBytes), Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(block.data(), kBlockBytes);
        if (n < 0)
            return false;
        // The last bytes may still wait in Qt's write buffer: a full disk
        // shows only when they go out, and a copy cut short there is no copy.
        if (n == 0)
            return out.flush();
        if (out.write(block.constData(), n) != n)
            return false;
    }
}

} // namespace

bool copyFileData(QFile &in, QFile &out)
{
#ifdef Q_OS_LINUX
    // Only on unbuffered positions: nothing may wait in Qt's buffers on either side.
    if (in.pos() == 0 && out.pos() == 0 && out.flush()) {
        const int from = in.handle();
        const int to = out.handle();
        bool kernelCopies = true;
        qint64 copied = 0;
        for (;;) {
            const ssize_t n = ::copy_file_range(from, nullptr, to, nullptr, size_t(kBlockBytes) * 64, 0);
            if (n == 0)
                return true;
            if (n > 0) {
                copied += n;
                continue;
            }
            if (errno == EINTR)
                continue;
            // Not offered between these files (other file systems, old kernels): copy by hand, from
            // the start, when nothing has been copied yet.
            kernelCopies = copied == 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP);
            break;
        }
        if (!kernelCopies)
            return false;
    }
#endif
    return copyThroughBuffer(in, out);
}
