#pragma once

#include <QDialog>
#include <QStringList>

namespace Ui {
class ChangeShortcutDialog;
}

/** Asks for a new shortcut among those "<A>" to "<Z>" that the tree does not use yet. */
class ChangeShortcutDialog : public QDialog
{
    Q_OBJECT

public:
    /** `usedShortcuts`: every shortcut of the tree, the changed entry's own included, so it moves to a free one. */
    ChangeShortcutDialog(QWidget *parent, const QStringList &usedShortcuts);
    ~ChangeShortcutDialog() override;

    /** The chosen shortcut; empty when every letter is in use. */
    QString getShortcut() const;

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    Ui::ChangeShortcutDialog *ui;
};
