#include "analysis/analysispool.h"

#include <QRunnable>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

std::atomic<int> configuredThreads{0};

// One pool for every worker: a spectrogram and a folder evaluation running at
// once share the cores instead of starting twice as many threads.
Q_GLOBAL_STATIC(QThreadPool, helperPool)

// The state of one pass, shared with its helpers. A helper that the pool
// starts only after the last chunk was handed out finds nothing to do and
// never touches the caller's body, which may be gone by then; the pass itself
// lives as long as the last helper holding it.
struct Pass {
    std::function<void(int, qint64, qint64)> body;
    qint64 count = 0;
    qint64 chunkSize = 1;
    qint64 chunks = 0;
    std::atomic<bool> published{false};
    std::atomic<qint64> nextChunk{0};
    std::atomic<qint64> done{0};
    std::mutex mutex;
    std::condition_variable chunkFinished;

    // Runs the chunk taken, or returns false when none is left.
    bool runNextChunk(int slot)
    {
        const qint64 chunk = nextChunk.fetch_add(1);
        if (chunk >= chunks)
            return false;
        const qint64 begin = chunk * chunkSize;
        const qint64 end = std::min(count, begin + chunkSize);
        body(slot, begin, end);
        done.fetch_add(end - begin);
        return true;
    }
};

class Helper : public QRunnable
{
public:
    Helper(std::shared_ptr<Pass> pass, int slot)
        : m_pass(std::move(pass)), m_slot(slot)
    {
    }

    void run() override
    {
        // The pool's own hand-over is invisible to the thread sanitizer; this
        // acquire pairs with the caller's release and orders everything set up before.
        if (!m_pass->published.load(std::memory_order_acquire))
            return;
        while (m_pass->runNextChunk(m_slot)) {
            std::lock_guard<std::mutex> lock(m_pass->mutex);
            m_pass->chunkFinished.notify_all();
        }
    }

private:
    std::shared_ptr<Pass> m_pass;
    int m_slot;
};

} // namespace

int AnalysisPool::threadCount()
{
    const int configured = configuredThreads.load();
    return configured > 0 ? configured : std::max(1, QThread::idealThreadCount());
}

void AnalysisPool::setThreadCount(int count)
{
    configuredThreads.store(std::max(0, count));
}

int AnalysisPool::slotCount(qint64 count, qint64 chunkSize)
{
    if (count <= 0)
        return 1;
    const qint64 size = std::max<qint64>(1, chunkSize);
    const qint64 chunks = (count + size - 1) / size;
    return int(std::max<qint64>(1, std::min<qint64>(threadCount(), chunks)));
}

void AnalysisPool::forEachChunk(qint64 count, qint64 chunkSize,
                                const std::function<void(int, qint64, qint64)> &body,
                                const std::function<void(qint64)> &progress)
{
    if (count <= 0)
        return;
    const qint64 size = std::max<qint64>(1, chunkSize);
    const int slotTotal = slotCount(count, size);
    if (slotTotal == 1) {
        // The serial path: no pass object, no lock, the chunks in order.
        for (qint64 begin = 0; begin < count; begin += size) {
            const qint64 end = std::min(count, begin + size);
            body(0, begin, end);
            if (progress)
                progress(end);
        }
        return;
    }

    auto pass = std::make_shared<Pass>();
    pass->body = body;
    pass->count = count;
    pass->chunkSize = size;
    pass->chunks = (count + size - 1) / size;
    pass->published.store(true, std::memory_order_release);

    QThreadPool *pool = helperPool();
    if (pool->maxThreadCount() < slotTotal - 1)
        pool->setMaxThreadCount(slotTotal - 1);
    for (int slot = 1; slot < slotTotal; ++slot)
        pool->start(new Helper(pass, slot));

    qint64 reported = 0;
    auto report = [&](qint64 done) {
        if (progress && done > reported) {
            reported = done;
            progress(done);
        }
    };
    while (pass->runNextChunk(0))
        report(pass->done.load());
    std::unique_lock<std::mutex> lock(pass->mutex);
    while (pass->done.load() < count) {
        pass->chunkFinished.wait(lock);
        const qint64 done = pass->done.load();
        lock.unlock();
        report(done);
        lock.lock();
    }
    lock.unlock();
    report(count);
}
