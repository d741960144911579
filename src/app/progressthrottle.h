#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

/**
 * Passes a worker's percentages on to the progress indicators at most once
 * per interval, always the latest one.
 *
 * A worker may report a hundred times in a few milliseconds, and a progress
 * bar repaints at once for each new value: on the window's thread that costs
 * more than showing the result itself. The first report after a quiet spell
 * opens an interval; whatever arrives within it is held, and the latest value
 * goes on when the interval ends. flush() passes a held value on at once:
 * the window calls it before it takes the worker's result, so that the last
 * value is shown and no held one arrives after the indicators were reset.
 */
class ProgressThrottle : public QObject
{
    Q_OBJECT

public:
    /** Milliseconds on a monotonic clock. */
    using Clock = std::function<qint64()>;

    static constexpr int defaultIntervalMs = 50;

    /** Without a clock the throttle uses the steady clock of the machine. */
    explicit ProgressThrottle(QObject *parent = nullptr, Clock clock = Clock(), int intervalMs = defaultIntervalMs);

    int intervalMs() const { return m_intervalMs; }
    /** True while a reported value waits for its interval to end. */
    bool hasPending() const { return m_pending; }
    /** True while the timer that ends the running interval is set. */
    bool isTimerActive() const { return m_timer.isActive(); }

public slots:
    void report(int percent);
    /** Passes a held value on now and ends the running interval. */
    void flush();
    /**
     * Passes the held value on if its interval has ended by the clock, and
     * otherwise waits for the rest. The timer calls it; a test with a clock
     * of its own calls it after moving that clock.
     */
    void deliverDue();

signals:
    void progress(int percent);

private:
    Clock m_clock;
    int m_intervalMs;
    QTimer m_timer;
    qint64 m_due = 0;
    int m_latest = 0;
    bool m_pending = false;
};
