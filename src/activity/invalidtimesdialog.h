#pragma once

#include <QDialog>
#include <QString>

class QDateTimeEdit;
class QTreeWidgetItem;
namespace Ui {
class invalidTimesDialog;
}

/**
 * Edits the periods in which a folder's recorder gave no valid data: one row
 * per period, a begin and an end editor each. The editors show the clock
 * readings the text holds, read as the charts read them, and keep no zone: a
 * reading that local time skips is shown as written. A part of the text that
 * does not read gets no row; the dialog says how many there are, and Ok writes
 * them back unchanged after the rows unless "Delete All" deleted them. Run
 * with exec(); the caller takes invalidTimes (InvalidTimesText) only when the
 * result is Accepted.
 */
class invalidTimesDialog : public QDialog
{
    Q_OBJECT

public:
    invalidTimesDialog(QWidget *parent, const QString &invalidTimesText);
    ~invalidTimesDialog() override;

    // Empty until Ok composes it from the rows.
    QString invalidTimes;

private slots:
    void beginTimeChanged();
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
    void on_pushButton_3_clicked();
    void on_buttonBox_accepted();

private:
    QTreeWidgetItem *addRow(const QDateTime &begin, const QDateTime &end);
    void fitColumns();
    void showUnreadableCount();
    QDateTimeEdit *editorAt(QTreeWidgetItem *row, int column) const;
    // 1 January of the current year, 00:00: what "Add Period" puts in.
    static QDateTime newRowDefault();

    Ui::invalidTimesDialog *ui;
    QStringList unreadableParts; // of the text opened, written back after the rows
};
