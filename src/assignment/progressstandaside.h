#pragma once

#include <QPointer>

class QProgressDialog;

/**
 * Keeps a running job's progress window from covering a box the job asks the
 * user while it waits (a failed write, a copy that went wrong).
 *
 * A progress window maps itself once its minimum duration is up, also while
 * a box's own event loop runs; it then lies over the box, and the user sees a
 * job that has stopped moving, with the question it waits for out of sight.
 * While a ProgressStandAside lives, the window is hidden and its timer
 * stopped; at its end a job that has not been cancelled gets its window back
 * at the value it had: at once when the job has run longer than the minimum
 * duration, otherwise once it has. A job still at its first value starts the
 * window's clock again, as a new one does.
 */
class ProgressStandAside
{
public:
    /** dialog may be null, or a window already cancelled: then nothing is done. */
    explicit ProgressStandAside(QProgressDialog *dialog);
    ~ProgressStandAside();
    ProgressStandAside(const ProgressStandAside &) = delete;
    ProgressStandAside &operator=(const ProgressStandAside &) = delete;

private:
    QPointer<QProgressDialog> m_dialog; // null when nothing was put aside
    int m_value = 0;
};
