#pragma once

#include <QAbstractButton>
#include <QHeaderView>
#include <QLabel>
#include <QList>
#include <QStringList>
#include <QTreeView>
#include <QWidget>

#include <qwt_plot.h>
#include <qwt_scale_widget.h>
#include <qwt_text.h>

// Whether a window shows its fixed texts whole, in the font the desktop gives
// it: labels, buttons, the headers and cells of its item views and the axis
// titles of its plots. Each function lists what is cut, one line per text
// ("label_3: 80 px wide for 120 px of text"); an empty list means all can be
// read. The window is shown and laid out by the caller.
namespace dialogfit {

inline QString nameOf(const QWidget *widget, const QString &text)
{
    return widget->objectName().isEmpty() ? text : widget->objectName();
}

// Where a label's or a button's text is cut, or an empty string.
inline QString cutText(const QWidget *widget, const QWidget *window)
{
    QString text;
    int needed = 0;
    const QFontMetrics metrics = widget->fontMetrics();
    if (auto *label = qobject_cast<const QLabel *>(widget))
        text = label->text();
    else if (auto *button = qobject_cast<const QAbstractButton *>(widget))
        text = button->text();
    if (text.isEmpty())
        return QString();
    // The widest line: help texts and some buttons run over several.
    for (const QString &line : text.split(QLatin1Char('\n')))
        needed = qMax(needed, metrics.horizontalAdvance(line));
    const QString name = nameOf(widget, text);
    // The text alone, and the widget's own hint: text, indicator, bevel and the style's margins.
    if (widget->width() < needed)
        return QStringLiteral("%1: %2 px wide for %3 px of text").arg(name).arg(widget->width()).arg(needed);
    const QSize hint = widget->sizeHint();
    if (widget->width() < hint.width() || widget->height() < hint.height())
        return QStringLiteral("%1: smaller than its hint").arg(name);
    const QRect onWindow(widget->mapTo(window, QPoint(0, 0)), widget->size());
    if (!window->rect().contains(onWindow))
        return QStringLiteral("%1: reaches out of the window").arg(name);
    return QString();
}

// Columns of a view too narrow for their header or a cell (an editor in it
// too), and columns that run past the view where it is not meant to scroll
// sideways.
inline QStringList cutColumns(const QAbstractItemView *view, bool scrollsSideways)
{
    QStringList cut;
    auto *tree = qobject_cast<const QTreeView *>(view);
    if (!tree)
        return cut; // the program's views are all trees
    const QHeaderView *header = tree->header();
    const QString name = nameOf(view, QStringLiteral("a view"));
    for (int i = 0; i < header->count(); ++i) {
        if (header->isSectionHidden(i))
            continue;
        const int width = header->sectionSize(i);
        const int forHeader = header->isHidden() ? 0 : header->sectionSizeHint(i);
        const int forCells = view->sizeHintForColumn(i);
        if (width < qMax(forHeader, forCells))
            cut << QStringLiteral("%1 column %2: %3 px for %4 px")
                       .arg(name)
                       .arg(i)
                       .arg(width)
                       .arg(qMax(forHeader, forCells));
    }
    if (!scrollsSideways && header->length() > view->viewport()->width())
        cut << QStringLiteral("%1: %2 px of columns in %3 px")
                   .arg(name)
                   .arg(header->length())
                   .arg(view->viewport()->width());
    return cut;
}

// Axis titles whose longest word is longer than the axis: the title wraps
// between words, never inside one, so such a word runs off both ends.
inline QStringList cutAxisTitles(const QwtPlot *plot)
{
    QStringList cut;
    for (int axis = 0; axis < QwtPlot::axisCnt; ++axis) {
        const QwtScaleWidget *scale = plot->axisWidget(axis);
        if (!plot->axisEnabled(axis) || !scale->isVisible() || scale->title().isEmpty())
            continue;
        const bool vertical = axis == QwtPlot::yLeft || axis == QwtPlot::yRight;
        const int length = (vertical ? scale->height() : scale->width()) - scale->startBorderDist()
            - scale->endBorderDist();
        const QFontMetrics metrics(scale->title().font());
        for (const QString &word : scale->title().text().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (metrics.horizontalAdvance(word) > length)
                cut << QStringLiteral("\"%1\": %2 px of an axis of %3 px")
                           .arg(word)
                           .arg(metrics.horizontalAdvance(word))
                           .arg(length);
        }
    }
    return cut;
}

/**
 * Everything cut in the window: labels and buttons, item views (each may
 * scroll sideways only when named in `scrollingViews`), plot axis titles;
 * widgets in `skipped` are left out.
 */
inline QStringList cutTexts(const QWidget *window, const QList<const QWidget *> &scrollingViews = {},
                            const QList<const QWidget *> &skipped = {})
{
    QStringList cut;
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisible() || skipped.contains(w))
            continue;
        if (qobject_cast<const QLabel *>(w) || qobject_cast<const QAbstractButton *>(w)) {
            const QString problem = cutText(w, window);
            if (!problem.isEmpty())
                cut << problem;
        } else if (auto *view = qobject_cast<const QAbstractItemView *>(w)) {
            cut << cutColumns(view, scrollingViews.contains(w));
        } else if (auto *plot = qobject_cast<const QwtPlot *>(w)) {
            cut << cutAxisTitles(plot);
        }
    }
    return cut;
}

} // namespace dialogfit
