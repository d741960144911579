#include "app/screenfit.h"

#include "app/windowplacement.h"

#include <QDialog>
#include <QScreen>
#include <QWidget>

namespace {

QMargins frameOf(const QWidget *window)
{
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

} // namespace

void fitIntoScreen(QWidget *window, const QRect &available, const QMargins &frame)
{
    const QRect inner = window->geometry();
    const QRect fitted = windowInScreen(inner + frame, available) - frame;
    if (!qobject_cast<QDialog *>(window) || window->testAttribute(Qt::WA_Moved)) {
        if (fitted != inner)
            window->setGeometry(fitted);
    } else if (fitted.size() != inner.size()) {
        window->resize(fitted.size());
    }
}

void fitShowingWindow(QWidget *window, const QWidget *framed)
{
    if (!window->isWindow() || window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const Qt::WindowType type = window->windowType();
    if (type != Qt::Window && type != Qt::Dialog && type != Qt::Sheet)
        return;
    // Unless moved by hand, a window opens on the screen of the window it belongs to.
    const QWidget *parent = window->parentWidget();
    const QScreen *screen =
        parent && !window->testAttribute(Qt::WA_Moved) ? parent->window()->screen() : window->screen();
    if (!screen)
        return;
    // Before its first show the window system has drawn no frame around it yet.
    QMargins frame = frameOf(window);
    if (frame.isNull() && framed)
        frame = frameOf(framed);
    fitIntoScreen(window, screen->availableGeometry(), frame);
}
