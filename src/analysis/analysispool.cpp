#include "analysis/analysispool.h"

#include <QThread>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

std::atomic<int> configuredThreads{0};
// SerialScopes alive on this thread.
thread_local int serialDepth = 0;

// The state of one pass, shared with its helpers. A helper that starts only
// after the last chunk was handed out finds nothing to do and never touches
// the caller's body, which may be gone by then; the pass itself lives as long
// as the last helper holding it.
struct Pass {
    std::function<void(int, qint64, qint64)> body;
    qint64 count = 0;
    qint64 chunkSize = 1;
    qint64 chunks = 0;
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

    void help(int slot)
    {
        while (runNextChunk(slot)) {
            std::lock_guard<std::mutex> lock(mutex);
            chunkFinished.notify_all();
        }
    }
};

// Helper threads shared by every worker: a spectrogram and a folder evaluation
// running at once share the cores instead of starting twice as many threads.
// Plain standard threads, so that every hand-over is one the thread sanitizer
// sees. Started on first use, idle until the process ends.
class Helpers
{
public:
    ~Helpers()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_all();
        for (std::thread &t : m_threads)
            t.join();
    }

    void post(const std::shared_ptr<Pass> &pass, int slot, int wanted)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            while (int(m_threads.size()) < wanted)
                m_threads.emplace_back([this] { serve(); });
            m_tasks.push_back({pass, slot});
        }
        m_wake.notify_one();
    }

private:
    struct Task {
        std::shared_ptr<Pass> pass;
        int slot;
    };

    void serve()
    {
        for (;;) {
            Task task;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_wake.wait(lock, [this] { return m_stopping || !m_tasks.empty(); });
                if (m_tasks.empty())
                    return;
                task = std::move(m_tasks.front());
                m_tasks.pop_front();
            }
            task.pass->help(task.slot);
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Task> m_tasks;
    std::vector<std::thread> m_threads;
    bool m_stopping = false;
};

Helpers &helpers()
{
    static Helpers instance;
    return instance;
}

} // namespace

int AnalysisPool::threadCount()
{
    if (serialDepth > 0)
        return 1;
    const int configured = configuredThreads.load();
    return configured > 0 ? configured : std::max(1, QThread::idealThreadCount());
}

AnalysisPool::SerialScope::SerialScope(bool engaged)
    : m_engaged(engaged)
{
    if (m_engaged)
        ++serialDepth;
}

AnalysisPool::SerialScope::~SerialScope()
{
    if (m_engaged)
        --serialDepth;
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

void AnalysisPool::forEachChunk(qint64 count, qint64 chunkSize, const std::function<void(int, qint64, qint64)> &body,
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
    for (int slot = 1; slot < slotTotal; ++slot)
        helpers().post(pass, slot, slotTotal - 1);

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
