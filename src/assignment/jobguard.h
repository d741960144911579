#pragma once

#include <QString>

/**
 * The one guard over the window's long jobs: while one runs, the actions that
 * would disturb it are refused.
 *
 * A chained job sends one request per recording to a worker and changes the
 * rows from its replies; the worker writes or copies the recordings from row
 * copies taken when each request is sent. A second job, or a write, a class
 * change or a deletion in between, would change rows and recordings under it
 * (its progress window blocks input only after 500 ms). Jobs:
 *
 *   Bext     a chain of the bext-writing worker: assigning, renaming or deleting a
 *            class across the folder, unassigning, resetting
 *   Copy     the copy by class, through the copy worker
 *   Deletion recordings deleted from storage, row by row on this thread
 *   (header) the header chain that reads the folder's rows; the window knows
 *            whether it runs and tells allows()
 *
 * A job runs from start() to finish(): a chain from the request for index 0
 * to the handling of its last reply (or its cancel), a deletion from its
 * first file to its last. A job of another subsystem asks
 * MainWindow::mayStart(Action::StartJob) first, then calls start() and, at
 * each of its ends, finish(). What each action may do meanwhile:
 *
 *   action            any of these jobs runs    the header chain runs
 *   StartJob          refused                   allowed (unread rows are answered without a write)
 *   WriteRecording    refused                   allowed (accept box, Space, comment)
 *   ChangeClassTree   refused                   refused: deleting or renaming a class would miss the unread rows
 *   EditClassTree     refused                   allowed (adding a class, a new shortcut, saving the model)
 *   DeleteFiles       refused                   refused: the header replies address rows by position
 *   Open              refused                   allowed: the header chain restarts for the new load
 *   ReadRows          refused                   refused: the exports, the copy by class and the activity
 *                                               dialog would take the unread rows for unassigned ones
 *
 * A refused key is passed on, a refused accept box or comment is put back,
 * and where the user acted with the mouse or a menu refusalText() is shown.
 */
class JobGuard
{
public:
    enum class Job { None, Bext, Copy, Deletion };
    enum class Action { StartJob, WriteRecording, ChangeClassTree, EditClassTree, DeleteFiles, Open, ReadRows };

    void start(Job job) { m_running = job; }
    void finish() { m_running = Job::None; }
    Job running() const { return m_running; }

    bool allows(Action action, bool headerChainRunning) const;

    /** "Please wait until the current job has finished." */
    static QString refusalText();

private:
    Job m_running = Job::None;
};
