#pragma once

#include <QPersistentModelIndex>
#include <QTimer>
#include <QTreeWidget>
#include <QVector>

/**
 * The class tree: a QTreeWidget whose counts may change thousands of times a
 * second, as a header chain counts a large folder's recordings one reply at
 * a time. Qt's tree view measures a changed row anew (laying out the text of
 * every cell) and repaints it at each change, which would take the window
 * longer than reading the recording. Here a change of a count alone is
 * painted at once when it is the first for countRepaintMs; those that follow
 * it within that time are painted together when it has passed. The texts
 * themselves change at once: only their painting waits, never longer than
 * countRepaintMs, and the last count is always painted.
 */
class ClassTreeWidget : public QTreeWidget
{
    Q_OBJECT

public:
    // Far below what the eye follows of a changing number, far above the time a reply takes.
    static constexpr int countRepaintMs = 40;

    explicit ClassTreeWidget(QWidget *parent = nullptr);

protected:
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QVector<int> &roles = QVector<int>()) override;

private:
    void showWaitingCounts();

    // Runs for countRepaintMs from each count painted: changes meanwhile wait for it.
    QTimer m_countRepaint;
    QVector<QPersistentModelIndex> m_waitingCounts;
};
