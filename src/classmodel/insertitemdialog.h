#pragma once

#include <QDialog>
#include <QStringList>

namespace Ui {
class InsertItemDialog;
}

/**
 * Asks for a new class or subclass: its name and one of the shortcuts "<A>"
 * to "<Z>" that the tree does not use yet. OK with a name the class tree
 * cannot take keeps the dialog open with a message (see ClassNames::refusal).
 */
class InsertItemDialog : public QDialog
{
    Q_OBJECT

public:
    /** `usedShortcuts`: the shortcuts of every entry of the tree; they are not offered. */
    InsertItemDialog(QWidget *parent, const QStringList &usedShortcuts);
    ~InsertItemDialog() override;

    /** Replaces the label "Name" ("Class Name", "Subclass Name"). */
    void setLabelText(const QString &text);
    /** The name as typed, blanks included. */
    QString getName() const;
    /** The chosen shortcut; empty when every letter is in use. */
    QString getShortcut() const;

public slots:
    void done(int result) override;

private:
    Ui::InsertItemDialog *ui;
};
