#pragma once

#include <QAbstractButton>
#include <QHeaderView>
#include <QLabel>
#include <QList>
#include <QRect>
#include <QRegularExpression>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeView>
#include <QWidget>

#include <qwt_plot.h>
#include <qwt_scale_draw.h>
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
    bool wraps = false;
    const QFontMetrics metrics = widget->fontMetrics();
    if (auto *label = qobject_cast<const QLabel *>(widget)) {
        text = label->text();
        wraps = label->wordWrap();
        // Rich text is measured as shown, its tags left out (an About box's "<br>" breaks the line).
        if (label->textFormat() == Qt::RichText || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text))) {
            QTextDocument shown;
            shown.setHtml(text);
            text = shown.toPlainText();
        }
    } else if (auto *button = qobject_cast<const QAbstractButton *>(widget)) {
        text = button->text();
    }
    if (text.isEmpty())
        return QString();
    // The widest line (help texts and some buttons run over several); of a label that wraps, the widest word.
    const QRegularExpression breaks(wraps ? QStringLiteral("\\s+") : QStringLiteral("\n"));
    for (const QString &part : text.split(breaks))
        needed = qMax(needed, metrics.horizontalAdvance(part));
    const QString name = nameOf(widget, text);
    // The text alone, and the widget's own hint: text, indicator, bevel and the style's margins.
    if (widget->width() < needed)
        return QStringLiteral("%1: %2 px wide for %3 px of text").arg(name).arg(widget->width()).arg(needed);
    const QSize hint = widget->sizeHint();
    if (wraps ? widget->height() < widget->heightForWidth(widget->width())
              : widget->width() < hint.width() || widget->height() < hint.height())
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
        const int length =
            (vertical ? scale->height() : scale->width()) - scale->startBorderDist() - scale->endBorderDist();
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

// Where a rectangle of a widget shows on the window: what every pane around
// the widget leaves of it.
inline QRect shownPart(const QWidget *widget, const QRect &part, const QWidget *window)
{
    QRect shown = part.translated(widget->mapTo(window, QPoint(0, 0)));
    for (const QWidget *w = widget; w && w != window; w = w->parentWidget())
        shown &= QRect(w->mapTo(window, QPoint(0, 0)), w->size());
    return shown & window->rect();
}

// The band along an axis's outer edge that its title takes, in the scale
// widget's coordinates; the numbers lie between it and the canvas.
inline QRect titleBand(const QwtScaleWidget *scale)
{
    const bool vertical =
        scale->alignment() == QwtScaleDraw::LeftScale || scale->alignment() == QwtScaleDraw::RightScale;
    const int length =
        (vertical ? scale->height() : scale->width()) - scale->startBorderDist() - scale->endBorderDist();
    const int thickness = scale->titleHeightForWidth(qMax(0, length));
    QRect band = scale->rect();
    switch (scale->alignment()) {
    case QwtScaleDraw::BottomScale:
        band.setTop(band.bottom() + 1 - thickness);
        break;
    case QwtScaleDraw::TopScale:
        band.setHeight(thickness);
        break;
    case QwtScaleDraw::LeftScale:
        band.setWidth(thickness);
        break;
    case QwtScaleDraw::RightScale:
        band.setLeft(band.right() + 1 - thickness);
        break;
    }
    return band;
}

/**
 * Axis titles that do not show whole: clipped by the pane their plot sits in
 * (a plot squeezed below its least size runs out of it), or lying over the
 * title of another plot (two panes squeezed over each other). A plot whose
 * pane is closed (no room at all) is left out.
 */
inline QStringList hiddenAxisTitles(const QWidget *window)
{
    struct Title {
        const QwtScaleWidget *scale;
        QRect whole;
        QRect shown;
    };
    QList<Title> titles;
    for (const QwtPlot *plot : window->findChildren<QwtPlot *>()) {
        if (!plot->isVisible() || shownPart(plot, plot->rect(), window).isEmpty())
            continue;
        for (int axis = 0; axis < QwtPlot::axisCnt; ++axis) {
            const QwtScaleWidget *scale = plot->axisWidget(axis);
            if (!plot->axisEnabled(axis) || !scale->isVisible() || scale->title().isEmpty())
                continue;
            const QRect band = titleBand(scale);
            titles.append({scale, band.translated(scale->mapTo(window, QPoint(0, 0))), shownPart(scale, band, window)});
        }
    }
    QStringList hidden;
    for (int i = 0; i < titles.size(); ++i) {
        const QString text = titles[i].scale->title().text();
        if (titles[i].shown != titles[i].whole)
            hidden << QStringLiteral("\"%1\": %2 x %3 of %4 x %5 px shown")
                          .arg(text)
                          .arg(titles[i].shown.width())
                          .arg(titles[i].shown.height())
                          .arg(titles[i].whole.width())
                          .arg(titles[i].whole.height());
        for (int j = i + 1; j < titles.size(); ++j) {
            if (titles[i].scale->parentWidget() != titles[j].scale->parentWidget()
                && titles[i].shown.intersects(titles[j].shown))
                hidden << QStringLiteral("\"%1\" runs into \"%2\"").arg(text, titles[j].scale->title().text());
        }
    }
    return hidden;
}

/**
 * Plots not shown whole: cut by a pane around them, as a plot squeezed below
 * its least size runs out of it and loses the numbers along its edge, or
 * lying over another plot. A plot whose pane is closed is left out.
 */
inline QStringList cutPlots(const QWidget *window)
{
    QStringList cut;
    QList<QPair<QString, QRect>> placed;
    for (const QwtPlot *plot : window->findChildren<QwtPlot *>()) {
        const QRect shown = shownPart(plot, plot->rect(), window);
        if (!plot->isVisible() || shown.isEmpty())
            continue;
        const QString name = QString::fromLatin1(plot->metaObject()->className());
        const QRect whole = plot->rect().translated(plot->mapTo(window, QPoint(0, 0)));
        if (shown != whole)
            cut << QStringLiteral("%1: %2 x %3 of %4 x %5 px shown")
                       .arg(name)
                       .arg(shown.width())
                       .arg(shown.height())
                       .arg(whole.width())
                       .arg(whole.height());
        for (const auto &other : qAsConst(placed)) {
            if (other.second.intersects(whole))
                cut << QStringLiteral("%1 lies over %2").arg(name, other.first);
        }
        placed.append({name, whole});
    }
    return cut;
}

/**
 * Everything cut in the window: labels and buttons, item views (each may
 * scroll sideways only when named in `scrollingViews`), plot axis titles,
 * whole and apart; widgets in `skipped` are left out.
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
    cut << hiddenAxisTitles(window);
    return cut;
}

/**
 * Tabs that cannot be shown whole: each tab of the window's tab widgets is
 * chosen in turn (the bar scrolls to it, as a click on its arrows does) and
 * must then lie whole in the bar, clear of the arrows, its text not elided.
 * The tab first chosen is chosen again afterwards.
 */
inline QStringList hiddenTabs(const QWidget *window)
{
    QStringList hidden;
    for (QTabWidget *tabs : window->findChildren<QTabWidget *>()) {
        if (!tabs->isVisible())
            continue;
        const QTabBar *bar = tabs->tabBar();
        const int first = tabs->currentIndex();
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QRect clear = bar->rect();
            for (const QToolButton *arrow : bar->findChildren<QToolButton *>()) {
                if (!arrow->isVisible())
                    continue;
                if (arrow->geometry().center().x() > clear.center().x())
                    clear.setRight(qMin(clear.right(), arrow->x() - 1));
                else
                    clear.setLeft(qMax(clear.left(), arrow->geometry().right() + 1));
            }
            const QRect tab = bar->tabRect(i);
            if (!clear.contains(tab) || tab.width() < bar->fontMetrics().horizontalAdvance(bar->tabText(i)))
                hidden << QStringLiteral("tab \"%1\": %2 px from %3 in %4 px clear of the arrows")
                              .arg(tabs->tabText(i))
                              .arg(tab.width())
                              .arg(tab.x())
                              .arg(clear.width());
        }
        tabs->setCurrentIndex(first);
    }
    return hidden;
}

} // namespace dialogfit
