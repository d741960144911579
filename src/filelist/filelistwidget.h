#pragma once

#include <QTreeWidget>

/**
 * The evaluation list: a QTreeWidget that stays as quick with an accept box
 * in each of ten thousand rows as with none. Qt's tree view places every item
 * widget of the list at every layout, and repaints the whole list when one
 * row changes in several cells at once (as when a header reply sets its row's
 * flags); with a box in every row, each header reply of a large folder would
 * then cost more than the one before. Here
 *  - an item widget is shown only while its row is in view and enabled (a row
 *    of a Tavron evaluation or a review is enabled by its header reply), and
 *    placed when it comes into view; the widget with the keyboard focus (an
 *    open cell editor, a box just clicked) stays shown;
 *  - a change of one row repaints that row alone;
 *  - every row is one line high, as the first one is.
 * Every child widget of the viewport is taken for an item widget or an editor.
 */
class FileListWidget : public QTreeWidget
{
    Q_OBJECT

public:
    explicit FileListWidget(QWidget *parent = nullptr);

    void doItemsLayout() override;

protected:
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QVector<int> &roles = QVector<int>()) override;
    void updateEditorGeometries() override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void placeWidgetsInView();

    // Rows were inserted since the last layout: Qt lays them out on its next
    // pass and places the widgets then. Until then a row's place is not known
    // without laying out every row at once.
    bool m_layoutPending = false;
};
