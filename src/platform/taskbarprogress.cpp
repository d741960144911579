#include "platform/taskbarprogress.h"

TaskbarProgress::TaskbarProgress(QObject *parent)
    : QObject(parent)
{
}

void TaskbarProgress::setValue(int value)
{
    if (value == m_value || value < minimum || value > maximum)
        return;
    m_value = value;
    emit valueChanged(m_value);
}

void TaskbarProgress::setVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    emit visibilityChanged(m_visible);
}

void TaskbarProgress::reset()
{
    if (m_value == minimum)
        return;
    m_value = minimum;
    emit valueChanged(m_value);
}
