#pragma once

#include <QElapsedTimer>
#include <QFile>

#include <chrono>
#include <csignal>
#include <exception>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

/**
 * Lets this process map no more than `memory` bytes beyond what it has mapped
 * now: for a child of exitCodeInChild only. A real limit, on the child alone:
 * a seam throwing in place of an allocation could not show that an
 * allocation's own failure is caught, and a limit on the test process would
 * fail its other threads.
 */
inline bool limitMemoryTo(qint64 memory)
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    const qint64 mapped =
        statm.open(QIODevice::ReadOnly) ? statm.readAll().split(' ').value(0).toLongLong() * sysconf(_SC_PAGESIZE) : -1;
    rlimit limit{};
    getrlimit(RLIMIT_AS, &limit);
    limit.rlim_cur = rlim_t(mapped + memory);
    return mapped >= 0 && setrlimit(RLIMIT_AS, &limit) == 0;
}

/**
 * Runs `body` in a child of this process, which ends the moment `body` does,
 * whatever befalls it: its return value is the child's exit code, an escaping
 * exception ends it with 125 and a fatal signal with that signal, and it never
 * returns into the caller's code (so never into the remaining tests).
 *
 * Gives the exit code, or -1 where the child died of a signal, could not be
 * started, or had not ended after `seconds` (it is then killed): a fault that
 * makes the body hang or throw fails its test at once, not at the watchdog.
 */
inline int exitCodeInChild(const std::function<int()> &body, int seconds = 60)
{
    const pid_t child = fork();
    if (child == 0) {
        // No QTest here, nor its handlers: the parent reports what befalls the child.
        for (const int fatal : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL})
            std::signal(fatal, SIG_DFL);
        std::set_terminate([] { _exit(125); });
        int code = 125;
        try {
            code = body();
        } catch (...) {
            code = 125;
        }
        _exit(code);
    }
    if (child < 0)
        return -1;
    QElapsedTimer waited;
    waited.start();
    int status = 0;
    pid_t ended = 0;
    while ((ended = waitpid(child, &status, WNOHANG)) == 0 && waited.elapsed() < seconds * 1000LL)
        std::this_thread::sleep_for(std::chrono::milliseconds(5)); // the child's end, polled
    if (ended == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        return -1;
    }
    return ended == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
