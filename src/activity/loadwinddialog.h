#pragma once

#include "activity/windfileformat.h"

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <QVector>

namespace Ui {
class LoadWindDialog;
}

/**
 * Lets the user describe the layout of a wind-speed file (date and time
 * formats, separators, decimal separator, what a time stamp stands for, the
 * zone and daylight saving of the stamps) and shows at once how its first
 * entries read. Ok stores the description in the group "WindDataSettings" of
 * the folder's settings file; Cancel writes nothing. The caller stores the
 * file's path itself. Run with exec().
 */
class LoadWindDialog : public QDialog
{
    Q_OBJECT

public:
    LoadWindDialog(QWidget *parent, QString folder, QString windFileName);
    ~LoadWindDialog() override;

    Ui::LoadWindDialog *ui;
    QList<QTimeZone> timeZones; // parallel to comboBox_2's items
    QString folder;
    QString windFileName;

public slots:
    void createPreview();

private slots:
    void on_comboBox_currentTextChanged(const QString &arg1);
    void on_comboBox_3_currentTextChanged(const QString &arg1);
    void on_comboBox_6_currentTextChanged(const QString &arg1);
    void on_comboBox_4_currentTextChanged(const QString &arg1);
    void on_comboBox_5_currentTextChanged(const QString &arg1);
    void on_checkBox_clicked(bool checked);
    void on_radioButton_toggled(bool checked);
    void on_radioButton_2_toggled(bool checked);
    void on_radioButton_3_toggled(bool checked);
    void on_comboBox_2_currentIndexChanged(int index);
    void on_buttonBox_accepted();

private:
    WindFileFormat chosenFormat() const;

    QByteArray storedTimeZoneId; // kept when no offered zone matches it
    bool loading = true;         // the constructor builds the preview once, at its end
};

/**
 * The preview's rows (date "dd.MM.yyyy", time "hh:mm:ss", speed with two
 * significant digits) of the first entries of `path` in `format`: lines are read
 * as local date-times until the file ends or more than 1000 entries were
 * collected, then tied to their intervals. A file that cannot be read gives none.
 */
QVector<QStringList> windPreviewRows(const QString &path, const WindFileFormat &format);
