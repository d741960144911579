#include "platform/taskbarprogress.h"

TaskbarProgress::TaskbarProgress(QObject *parent) : QObject(parent) {}

void TaskbarProgress::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = qMax(minimum, maximum);
    const int bounded = qBound(m_minimum, m_value, m_maximum);
    if (bounded != m_value) {
        m_value = bounded;
        emit valueChanged(m_value);
    }
}

void TaskbarProgress::setValue(int value)
{
    if (value == m_value || value < m_minimum || value > m_maximum)
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
    if (m_value == m_minimum)
        return;
    m_value = m_minimum;
    emit valueChanged(m_value);
}
