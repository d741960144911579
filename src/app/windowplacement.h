#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>
#include <QVector>

/**
 * Where the main window opens with the geometry stored when it last closed.
 * The store may hold a place no screen shows now (a screen taken away) or a
 * size no screen has (a hand-edited or foreign settings file): a window that
 * large costs a backing store of gigabytes and reaches far past the desktop.
 *
 * Of the screens' available areas, the one that overlaps `stored` most
 * receives it: shrunk to that area where it is larger, and moved in across
 * the edges it reaches past. `fallback` when it overlaps none, when it is
 * no rectangle at all (no width or height), or when it is not within a
 * widget's reach.
 */
QRect fittedWindowGeometry(const QRect &stored, const QVector<QRect> &availableScreens, const QRect &fallback);

/**
 * Whether every edge of `rect` lies within QWIDGETSIZE_MAX of the origin,
 * where a widget can be: only then can it be measured, moved or given a
 * frame without overflow. A stored rectangle may reach to the ends of int.
 */
bool withinWidgetReach(const QRect &rect);

/**
 * `rect` with `frame` around it, or an empty QRect where the framed
 * rectangle would not be within a widget's reach: a stored place may lie at
 * the ends of int, where adding the frame would overflow.
 */
QRect framedWithinReach(const QRect &rect, const QMargins &frame);

// The size the main window first opens at, screen permitting: the spectrogram
// well above its least height, and several rows of the class tree and file list.
inline constexpr QSize firstWindowSize(1200, 800);

/**
 * Where the main window opens when no geometry is stored: `preferred`, grown
 * to `needed` (what the window's contents ask for at least, so that no plot
 * overlaps another and no axis title is cut), centred in `available`. The
 * window with its `frame` stays inside `available`, shrunk where it is
 * smaller, but never below `minimum`. Sizes and the result are the window's
 * own, without the frame.
 */
QRect firstWindowGeometry(const QSize &preferred, const QSize &needed, const QSize &minimum, const QRect &available,
                          const QMargins &frame);

/**
 * Where a window or dialog about to show lies: `window`, frame included, as
 * the program or Qt placed it, fitted into `available`, the available area
 * of the screen it opens on, as fittedWindowGeometry fits a stored geometry.
 * One that lies on no part of the area is centred in it.
 */
QRect windowInScreen(const QRect &window, const QRect &available);
