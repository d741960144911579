#pragma once

#include <QDialog>

namespace Ui {
class OpenModelDialog;
}

class QMenu;
class QTreeWidgetItem;

/**
 * "Set class model": the user puts together the class model of a manual
 * evaluation as a tree of classes and subclasses, each with a shortcut,
 * through a context menu and the Delete key, loads or saves it as a
 * class-model file, or takes one of the two default trees. The caller runs
 * it and, after OK, reads the tree through getModelText(). It starts empty.
 */
class OpenModelDialog : public QDialog
{
    Q_OBJECT

public:
    explicit OpenModelDialog(QWidget *parent);
    ~OpenModelDialog() override;

    /** The tree as class-model text (ClassModelText::write); the empty text for an empty tree. */
    QString getModelText() const;

    /**
     * Fills `menu` with the context menu's entries over `item`: a class, a
     * subclass, or null for the empty space below the entries. Entries carry
     * no icon; runMenuEntry() acts on the chosen one's text.
     */
    static void buildContextMenu(QMenu *menu, const QTreeWidgetItem *item);
    /** Runs the context-menu entry named `text` ("&Add Class", ...) for `item` (null: empty space). */
    void runMenuEntry(const QString &text, QTreeWidgetItem *item);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void rightClickMenu(const QPoint &pos);
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();
    void on_pushButton_clicked();
    void on_pushButton_3_clicked();
    void on_pushButton_2_clicked();
    void on_pushButton_4_clicked();
    void on_pushButton_5_clicked();

private:
    QStringList usedShortcuts() const;
    void loadDefaultTree(bool advanced);
    void addClass(QTreeWidgetItem *below);
    void addSubclass(QTreeWidgetItem *cls);
    void changeShortcut(QTreeWidgetItem *item);
    void rename(QTreeWidgetItem *item);

    Ui::OpenModelDialog *ui;
};
