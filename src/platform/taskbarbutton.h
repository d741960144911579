#pragma once

#include <QObject>
#include <QPointer>

class QWindow;
class TaskbarProgress;

/**
 * The window's button on the desktop's taskbar, with its progress indicator.
 * Windows shows the progress there; elsewhere nothing is drawn, but the
 * binding to the window and the indicator's state are kept, so the main
 * window needs no platform switches of its own.
 */
class TaskbarButton : public QObject
{
    Q_OBJECT

public:
    explicit TaskbarButton(QObject *parent = nullptr);

    /** Binds the button to a native window; the window must be shown (have a handle) to be found on the taskbar. */
    void setWindow(QWindow *window);
    /** The bound window, or null when none was bound or it has been destroyed. */
    QWindow *window() const;

    /** The button's progress indicator, created with the button and owned by it. */
    TaskbarProgress *progress() const { return m_progress; }

private:
    QPointer<QWindow> m_window;
    TaskbarProgress *m_progress;
};
