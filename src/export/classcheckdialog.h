#pragma once

#include <QDialog>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;

/**
 * A dialog whose user chooses classes in a check tree: one row per class and
 * subclass of a ClassCountText with its count and a check box, all checked at
 * first. The copy by class and both exports ask this way; each check box stands
 * alone (a class does not pass its state to its subclasses).
 */
class ClassCheckDialog : public QDialog
{
    Q_OBJECT

public:
    /** Names of the checked rows: the rows' order at first, then the order of the user's checks. */
    QStringList checkedClasses;

protected:
    explicit ClassCheckDialog(QWidget *parent);

    struct TreeStyle {
        /** false: "Unassigned" gets no check box and so is never chosen. */
        bool unassignedCheckable = true;
        /** "Detected No Call" shown in blue. */
        bool colourDetectedNoCall = true;
    };

    /** Fills `tree` (the form's "treeWidget", three columns) from the text and checks every box. */
    void fillCheckTree(QTreeWidget *tree, const QString &classCountText, const TreeStyle &style);

protected slots:
    /** A row's box changed: checked appends its name, unchecked removes the first occurrence. */
    void checkBox(int state);
    /** A double click anywhere on a row toggles its box; a row without one does not change. */
    void on_treeWidget_itemDoubleClicked(QTreeWidgetItem *item, int column);

private:
    QTreeWidgetItem *rowOfBox(const QObject *box) const;

    QTreeWidget *m_tree = nullptr;
};
