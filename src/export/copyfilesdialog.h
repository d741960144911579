#pragma once

#include "export/classcheckdialog.h"

namespace Ui {
class CopyFilesDialog;
}

/**
 * Chooses the classes whose recordings the copy by class copies. Its caller
 * sets the window title; a non-empty label or button text replaces the form's.
 */
class CopyFilesDialog : public ClassCheckDialog
{
    Q_OBJECT

public:
    CopyFilesDialog(QWidget *parent, const QString &classCountText, const QString &labelText,
                    const QString &buttonText);
    ~CopyFilesDialog() override;

private:
    Ui::CopyFilesDialog *ui;
};
