#include "app/windowplacement.h"

#include <QWidget>

namespace {

qint64 area(const QRect &r)
{
    return r.isValid() ? qint64(r.width()) * r.height() : 0;
}

} // namespace

bool withinWidgetReach(const QRect &rect)
{
    const auto within = [](int edge) { return edge >= -QWIDGETSIZE_MAX && edge <= QWIDGETSIZE_MAX; };
    return within(rect.left()) && within(rect.top()) && within(rect.right()) && within(rect.bottom());
}

QRect framedWithinReach(const QRect &rect, const QMargins &frame)
{
    // In 64 bits: every edge of a QRect and of QMargins is an int.
    const qint64 edges[] = {qint64(rect.left()) - frame.left(), qint64(rect.top()) - frame.top(),
                            qint64(rect.right()) + frame.right(), qint64(rect.bottom()) + frame.bottom()};
    for (const qint64 edge : edges) {
        if (edge < -QWIDGETSIZE_MAX || edge > QWIDGETSIZE_MAX)
            return QRect();
    }
    return QRect(QPoint(int(edges[0]), int(edges[1])), QPoint(int(edges[2]), int(edges[3])));
}

QRect fittedWindowGeometry(const QRect &stored, const QVector<QRect> &availableScreens, const QRect &fallback)
{
    if (!stored.isValid() || !withinWidgetReach(stored))
        return fallback;
    const QRect *best = nullptr;
    qint64 bestOverlap = 0;
    for (const QRect &screen : availableScreens) {
        const qint64 overlap = area(screen.intersected(stored));
        if (overlap > bestOverlap) {
            bestOverlap = overlap;
            best = &screen;
        }
    }
    if (!best)
        return fallback;
    QRect fitted(stored.topLeft(), stored.size().boundedTo(best->size()));
    // Shrunk, it fits: moving it in across one edge never pushes it out across the other.
    if (fitted.right() > best->right())
        fitted.moveRight(best->right());
    if (fitted.bottom() > best->bottom())
        fitted.moveBottom(best->bottom());
    if (fitted.left() < best->left())
        fitted.moveLeft(best->left());
    if (fitted.top() < best->top())
        fitted.moveTop(best->top());
    return fitted;
}

QRect firstWindowGeometry(const QSize &preferred, const QSize &needed, const QSize &minimum, const QRect &available,
                          const QMargins &frame)
{
    const QRect inside = available - frame;
    const QSize size = preferred.expandedTo(needed).boundedTo(inside.size()).expandedTo(minimum);
    return QRect(inside.x() + (inside.width() - size.width()) / 2, inside.y() + (inside.height() - size.height()) / 2,
                 size.width(), size.height());
}

QRect windowInScreen(const QRect &window, const QRect &available)
{
    QRect centred(QPoint(), window.size().boundedTo(available.size()));
    centred.moveCenter(available.center());
    return fittedWindowGeometry(window, {available}, centred);
}
