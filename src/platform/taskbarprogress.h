#pragma once

#include <QObject>

/**
 * Progress shown on the window's taskbar button. Only Windows draws it; on
 * other desktops the object keeps its value and visibility so that the
 * window can drive it the same way everywhere (and tests can read it back).
 *
 * The range is fixed at 0 to 100: every sender reports percent. Like the
 * progress indicator of the Windows taskbar, a value outside it is ignored
 * rather than clamped, so a worker that reports a stray percentage does not
 * move the bar.
 */
class TaskbarProgress : public QObject
{
    Q_OBJECT

public:
    explicit TaskbarProgress(QObject *parent = nullptr);

    static constexpr int minimum = 0;
    static constexpr int maximum = 100;

    int value() const { return m_value; }
    bool isVisible() const { return m_visible; }

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
    int m_value = minimum;
    bool m_visible = false;
};
