#pragma once

#include <QDialog>
#include <QStringList>

namespace Ui {
class AssignSecondClassDialog;
}

/**
 * Asks which class to give a recording: the one added to its classes, or the
 * one that takes a class slot's place. The caller offers the names and sets
 * the window title.
 */
class AssignSecondClassDialog : public QDialog
{
    Q_OBJECT

public:
    /** Offers classes in the order given, the first one chosen. */
    AssignSecondClassDialog(QWidget *parent, const QStringList &classes);
    ~AssignSecondClassDialog() override;

    /** The chosen class. */
    QString getClass() const;

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    Ui::AssignSecondClassDialog *ui;
};
