#pragma once

#include <QtGlobal>
#include <functional>

/**
 * Runs the long passes of one analysis request (transforms, filters, the
 * contour scan) on every core. A pass is cut into chunks of consecutive items;
 * the calling thread works through chunks itself while helpers from a pool
 * shared by all workers join in, and the call returns once every chunk has run.
 * A request therefore stays one call on its worker's thread: the pool is an
 * inner detail of it.
 *
 * What a chunk computes must depend only on its items, never on the thread
 * that runs it or on the moment it runs; then every thread count gives the
 * same results to the bit, and a thread count of 1 is the plain serial path.
 */
class AnalysisPool
{
public:
    /** Threads a pass may use: QThread::idealThreadCount() unless set otherwise. */
    static int threadCount();
    /**
     * Sets the threads a pass may use: 1 runs every pass on the calling thread
     * alone, 0 or less returns to QThread::idealThreadCount(). For tests and
     * benchmarks; the program itself never calls it.
     */
    static void setThreadCount(int count);

    /**
     * While an engaged one lives, threadCount() is 1 on the thread that made
     * it, so the passes started there run on that thread alone, splitting
     * nothing (other threads are not affected). For work that is already
     * spread over the cores one item per thread: splitting each item's
     * passes as well would only add the cost of the split.
     */
    class SerialScope
    {
    public:
        explicit SerialScope(bool engaged = true);
        ~SerialScope();
        SerialScope(const SerialScope &) = delete;
        SerialScope &operator=(const SerialScope &) = delete;

    private:
        bool m_engaged;
    };

    /** The slots forEachChunk uses for count items in chunks of chunkSize (at least 1). */
    static int slotCount(qint64 count, qint64 chunkSize);

    /**
     * Calls body(slot, begin, end) once for every chunk [begin, end) of
     * chunkSize items (the last may be shorter) covering 0 .. count - 1. slot,
     * 0 .. slotCount() - 1, names the thread: the chunks of one slot run one
     * after another on one thread, so per-thread scratch can be kept in an
     * array indexed by slot; slot 0 is the calling thread. Chunks are handed
     * out in increasing order.
     *
     * progress(done), if given, is called on the calling thread only, with
     * the number of items whose chunks have finished, growing with every call:
     * after each chunk of the caller, whenever a helper finishes one while the
     * caller waits, and last with count.
     */
    static void forEachChunk(qint64 count, qint64 chunkSize,
                             const std::function<void(int slot, qint64 begin, qint64 end)> &body,
                             const std::function<void(qint64 done)> &progress = {});
};
