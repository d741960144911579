#pragma once

#include <QDialog>

namespace Ui {
class RenameDialog;
}

/**
 * Asks for a new name of a class or subclass, preset with its current name.
 * OK with a name the class tree cannot take keeps the dialog open with a
 * message (see ClassNames::refusal).
 */
class RenameDialog : public QDialog
{
    Q_OBJECT

public:
    RenameDialog(QWidget *parent, const QString &currentName);
    ~RenameDialog() override;

    /** The name as typed, blanks included. */
    QString getName() const;

public slots:
    void done(int result) override;

private:
    Ui::RenameDialog *ui;
};
