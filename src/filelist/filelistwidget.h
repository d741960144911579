#pragma once

#include <QPersistentModelIndex>
#include <QPointer>
#include <QTreeWidget>
#include <QVector>

class QCheckBox;

/**
 * The evaluation list: a QTreeWidget that stays as quick and as small with
 * an accept box in each of fifty thousand rows as with none. A QCheckBox in
 * every row, made with the rows, holds more memory than the rows themselves
 * (some 2 kB a box with its index) and freezes the window for a second while
 * a large folder's are made; Qt's tree view also places every item widget of
 * the list at every layout, and repaints the whole list when one row changes
 * in several cells at once (as when a header reply sets its row's flags).
 * Here
 *  - the QCheckBox of a row's accept box (fileViewTreeWidgetItem) is made as
 *    the row comes into view enabled, and taken away when it has left the
 *    view, the row keeping the box's state meanwhile: so the list holds the
 *    boxes of one screen, whatever the folder;
 *  - an item widget is shown only while its row is in view and enabled; the
 *    widget with the keyboard focus (an open cell editor, a box just
 *    clicked) stays shown and kept;
 *  - a change of one row repaints that row alone, and of a row out of view
 *    nothing;
 *  - every row is one line high, as the first one is;
 *  - a hidden list (its window hidden or being destroyed) makes and places
 *    no widget.
 * Every child widget of the viewport is taken for an item widget or an editor.
 */
class FileListWidget : public QTreeWidget
{
    Q_OBJECT

public:
    explicit FileListWidget(QWidget *parent = nullptr);

    void doItemsLayout() override;

    // The row of an accept box's QCheckBox this list made, or null.
    QTreeWidgetItem *rowOfAcceptBox(const QObject *box) const;

signals:
    // The QCheckBox of a row that came into view, made just now, to be connected.
    void acceptBoxMade(QCheckBox *box);

protected:
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QVector<int> &roles = QVector<int>()) override;
    void updateEditorGeometries() override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void placeWidgetsInView();
    void makeAcceptBox(const QModelIndex &row);
    void releaseBoxesOutOf(const QSet<QWidget *> &shown);

    // Rows were inserted since the last layout: Qt lays them out on its next
    // pass and places the widgets then. Until then a row's place is not known
    // without laying out every row at once.
    bool m_layoutPending = false;
    // Making a box changes its row, which would start a placing within the placing.
    bool m_placing = false;
    struct MadeBox {
        QPointer<QCheckBox> box;
        QPersistentModelIndex cell;
    };
    QVector<MadeBox> m_madeBoxes;
};
