#pragma once

#include <QDialog>

namespace Ui {
class ReviewFolderDialog;
}

/**
 * Before a review of the recorder's analysis: the choice between the simple
 * and the advanced review tree, with the warning that stored classes outside
 * the chosen tree are discarded. The caller reads simpleTree after OK.
 */
class ReviewFolderDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ReviewFolderDialog(QWidget *parent);
    ~ReviewFolderDialog() override;

    bool simpleTree = true; // the simple tree is chosen

private slots:
    void on_radioButton_simpleTree_toggled(bool checked);

private:
    Ui::ReviewFolderDialog *ui;
};
