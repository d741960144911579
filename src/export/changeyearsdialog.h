#pragma once

#include <QDialog>
#include <QList>

namespace Ui {
class ChangeYearsDialog;
}

/** Tavron takes one year only: asks which year all exported timestamps move into. */
class ChangeYearsDialog : public QDialog
{
    Q_OBJECT

public:
    /** `years` in the order offered; the first one is selected. */
    ChangeYearsDialog(QWidget *parent, const QList<int> &years);
    ~ChangeYearsDialog() override;

    /** The chosen year as its decimal text, "2021". */
    QString getYear() const;

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    Ui::ChangeYearsDialog *ui;
};
