#pragma once

#include <csignal>
#include <sys/resource.h>

/**
 * While alive, no file of this process may grow past `bytes`: a write past it
 * fails with EFBIG, as a write fails on a full disk, and the file keeps what
 * reached the limit. SIGXFSZ is ignored meanwhile, so the process lives on.
 * Root is bound by it as any user is. Keep it only around the write under
 * test: a test's own output to a file is cut as well.
 */
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
        : m_oldHandler(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_set = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool isSet() const { return m_set; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int);
    bool m_set = false;
};
