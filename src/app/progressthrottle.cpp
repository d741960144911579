#include "app/progressthrottle.h"

#include <QElapsedTimer>

ProgressThrottle::ProgressThrottle(QObject *parent, Clock clock, int intervalMs)
    : QObject(parent)
    , m_clock(std::move(clock))
    , m_intervalMs(intervalMs)
{
    if (!m_clock) {
        QElapsedTimer started;
        started.start();
        m_clock = [started]() { return started.elapsed(); };
    }
    m_timer.setSingleShot(true);
    // A coarse timer may fire a little early, which would only cost a second wake-up.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ProgressThrottle::deliverDue);
}

void ProgressThrottle::report(int percent)
{
    m_latest = percent;
    if (m_pending)
        return;
    m_pending = true;
    m_due = m_clock() + m_intervalMs;
    m_timer.start(m_intervalMs);
}

void ProgressThrottle::flush()
{
    m_timer.stop();
    if (!m_pending)
        return;
    m_pending = false;
    emit progress(m_latest);
}

void ProgressThrottle::deliverDue()
{
    if (!m_pending)
        return;
    const qint64 now = m_clock();
    if (now < m_due) {
        m_timer.start(int(m_due - now));
        return;
    }
    flush();
}
