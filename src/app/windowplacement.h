#pragma once

#include <QRect>
#include <QVector>

/**
 * Where the main window opens with the geometry stored when it last closed.
 * The store may hold a place no screen shows now (a screen taken away) or a
 * size no screen has (a hand-edited or foreign settings file): a window that
 * large costs a backing store of gigabytes and reaches far past the desktop.
 *
 * Of the screens' available areas, the one that overlaps `stored` most
 * receives it: shrunk to that area where it is larger, and moved in across
 * the edges it reaches past. `fallback` when it overlaps none, or when it is
 * no rectangle at all (no width or height).
 */
QRect fittedWindowGeometry(const QRect &stored, const QVector<QRect> &availableScreens, const QRect &fallback);
