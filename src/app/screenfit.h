#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

/**
 * Shrinks `window` into `available`, with `frame` (what the window system
 * draws around it) included, and moves it in across the edges it reaches
 * past (windowInScreen). A dialog that was not moved by hand is only
 * resized: Qt places it over its parent, inside the screen, as it shows.
 * The window never shrinks below its minimum size: its layout must allow it.
 */
void fitIntoScreen(QWidget *window, const QRect &available, const QMargins &frame);

/**
 * For a window about to show (a QShowEvent), whatever opened it, Qt's boxes
 * and file dialogs included: fits it into the available area of the screen
 * it opens on, its frame taken from `framed` (a window already shown) until
 * it has one of its own. Child widgets, popups, tool tips and maximised or
 * full-screen windows are left alone.
 */
void fitShowingWindow(QWidget *window, const QWidget *framed);
