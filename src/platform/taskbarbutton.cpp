#include "platform/taskbarbutton.h"

#include "platform/taskbarprogress.h"

#include <QWindow>

TaskbarButton::TaskbarButton(QObject *parent)
    : QObject(parent)
    , m_progress(new TaskbarProgress(this))
{
}

void TaskbarButton::setWindow(QWindow *window)
{
    m_window = window;
}

QWindow *TaskbarButton::window() const
{
    return m_window;
}
