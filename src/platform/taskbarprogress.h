#pragma once

#include <QObject>

/**
 * Progress shown on the window's taskbar button. Only Windows draws it; on
 * other desktops the object keeps its range, value and visibility so that the
 * window can drive it the same way everywhere (and tests can read it back).
 *
 * Like the progress indicator of the Windows taskbar, a value outside the
 * range is ignored rather than clamped: a worker that reports a stray
 * percentage does not move the bar.
 */
class TaskbarProgress : public QObject
{
    Q_OBJECT

public:
    explicit TaskbarProgress(QObject *parent = nullptr);

    int value() const { return m_value; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    bool isVisible() const { return m_visible; }

    /** Sets the range; a maximum below the minimum becomes the minimum. The value is pulled into it. */
    void setRange(int minimum, int maximum);

public slots:
    void setValue(int value);
    void setVisible(bool visible);
    void show() { setVisible(true); }
    void hide() { setVisible(false); }
    /** Rewinds the indicator to the minimum; the visibility stays as it is. */
    void reset();

signals:
    void valueChanged(int value);
    void visibilityChanged(bool visible);

private:
    int m_minimum = 0;
    int m_maximum = 100;
    int m_value = 0;
    bool m_visible = false;
};
