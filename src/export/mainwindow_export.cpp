// The exports and the copy by class as the window runs them. The exports
// gather value copies of the rows, ask through their dialogs and write the
// text the pure export functions build, all on this thread. The copy by class
// is a chained job of the copy worker: one file per request, the next one
// sent from the reply of the last, under the one job guard.
#include "app/mainwindow.h"

#include "assignment/progressstandaside.h"
#include "common/evaluationmode.h"
#include "common/settingskeys.h"
#include "common/textfilewriter.h"
#include "common/userdialogs.h"
#include "export/changeyearsdialog.h"
#include "export/classcounttext.h"
#include "export/copyfilesdialog.h"
#include "export/copyfilesthread.h"
#include "export/csvexport.h"
#include "export/exportcsvdialog.h"
#include "export/exportlog.h"
#include "export/exporttavrondialog.h"
#include "export/exporttavrondialog2.h"
#include "export/recordingcopy.h"
#include "export/tavronexport.h"
#include "ui_mainwindow.h"

#include <QProgressDialog>

QString MainWindow::exportFileName(const QString &caption, const QString &storedPath)
{
    // An export reads every row: a running job is still changing them, and
    // rows whose headers are not read yet would count as unassigned.
    if (!mayStart(JobGuard::Action::ReadRows))
        return QString();
    return userDialogs().saveFileNameWithSuffix(this, caption, storedPath, tr("CSV Files (*.csv)"));
}

void MainWindow::on_actionExport_CSV_File_triggered()
{
    const QString fileName = exportFileName(tr("CSV Export File"), readSetting(SettingKeys::exportCSVPath));
    if (fileName.isEmpty())
        return;
    if (evaluationMode == EvaluationMode::Folder) {
        const QVector<FileRowTexts> rows = fileRowTextsOf(widgets.folderList);
        exportCsv(fileName, rows, classCountTextOfRows(rows), false);
    } else if (EvaluationMode::isEvaluation(evaluationMode)) {
        exportCsv(fileName, fileRowTextsOf(widgets.evaluationList), classCountTextOfClassTree(widgets.classTree),
                  csvListsDetectedNoCall(true, evaluationMode));
    }
}

void MainWindow::exportCSVFileFromAction(QList<QTreeWidgetItem *> selectedItems)
{
    if (selectedItems.isEmpty())
        return;
    const QString fileName = exportFileName(tr("CSV Export File"), readSetting(SettingKeys::exportCSVPath));
    if (fileName.isEmpty() || !EvaluationMode::hasFileList(evaluationMode))
        return;
    const QVector<FileRowTexts> rows = fileRowTextsOf(selectedItems);
    exportCsv(fileName, rows, classCountTextOfRows(rows), csvListsDetectedNoCall(false, evaluationMode));
}

void MainWindow::exportCsv(const QString &fileName, const QVector<FileRowTexts> &rows, const QString &classCountText,
                           bool detectedNoCallLines)
{
    exportcsvDialog dialog(this, classCountText, QString(), QString());
    if (userDialogs().runDialog(&dialog) != QDialog::Accepted)
        return;
    const CsvExportOptions options = dialog.options();
    qCDebug(lcExport) << "CSV export of" << rows.size() << "rows, classes" << options.checkedClasses << "intervals"
                      << options.intervals << options.intervalMode;
    if (writeTextFile(fileName, csvExportText(rows, options, detectedNoCallLines)))
        writeSetting(SettingKeys::exportCSVPath, fileName);
}

void MainWindow::on_actionExport_Tavron_File_triggered()
{
    const QString fileName = exportFileName(tr("Tavron Export File"), readSetting(SettingKeys::exportTavronPath));
    if (fileName.isEmpty())
        return;
    QVector<FileRowTexts> rows;
    TavronExportOptions options;
    if (evaluationMode == EvaluationMode::Folder || evaluationMode == EvaluationMode::Manual) {
        rows = fileRowTextsOf(evaluationMode == EvaluationMode::Folder ? widgets.folderList : widgets.evaluationList);
        if (TavronExport::onlyUnassigned(classCountsOfRows(rows))) {
            userDialogs().warning(nullptr, QString(), TavronExport::onlyUnassignedText());
            return;
        }
        if (!chooseTavronClasses(rows, &options))
            return;
    } else if (EvaluationMode::isEvaluation(evaluationMode)) {
        // The Tavron evaluation and the review export their fixed bat classes: only the clock is asked.
        rows = fileRowTextsOf(widgets.evaluationList);
        ExportTavronDialog2 dialog(this);
        if (userDialogs().runDialog(&dialog) != QDialog::Accepted)
            return;
        options = dialog.options(TavronExport::fixedClassFilter(evaluationMode));
    } else {
        return;
    }
    exportTavron(fileName, rows, options);
}

void MainWindow::exportTavronFileFromAction(QList<QTreeWidgetItem *> selectedItems)
{
    if (selectedItems.isEmpty())
        return;
    const QString fileName = exportFileName(tr("Tavron Export File"), readSetting(SettingKeys::exportTavronPath));
    if (fileName.isEmpty())
        return;
    // Chosen rows always offer their own classes, whatever the evaluation.
    const QVector<FileRowTexts> rows = fileRowTextsOf(selectedItems);
    TavronExportOptions options;
    if (chooseTavronClasses(rows, &options))
        exportTavron(fileName, rows, options);
}

bool MainWindow::chooseTavronClasses(const QVector<FileRowTexts> &rows, TavronExportOptions *options)
{
    ExportTavronDialog dialog(this, classCountTextOfRows(rows));
    if (userDialogs().runDialog(&dialog) != QDialog::Accepted)
        return false;
    *options = dialog.options();
    return true;
}

void MainWindow::exportTavron(const QString &fileName, const QVector<FileRowTexts> &rows, TavronExportOptions options)
{
    const QList<int> years = TavronExport::years(rows, options.classFilter);
    if (years.size() > 1) {
        ChangeYearsDialog dialog(this, years);
        if (userDialogs().runDialog(&dialog) != QDialog::Accepted)
            return;
        options.yearOverride = dialog.getYear().toInt();
    }
    const TavronExport::Result result = TavronExport::exportText(rows, options);
    if (!writeTextFile(fileName, result.text))
        return;
    writeSetting(SettingKeys::exportTavronPath, fileName);
    if (result.leftOut > 0)
        userDialogs().warning(nullptr, QString(), TavronExport::leftOutText(result.leftOut));
}

void MainWindow::on_actionCopy_Files_to_other_Folder_triggered()
{
    // Rows whose headers are not read yet would be copied as unassigned ones.
    if (!mayStart(JobGuard::Action::ReadRows))
        return;
    const QString folder =
        userDialogs().existingDirectory(this, tr("Copy Files to Folder"), readSetting(SettingKeys::copyFilesPath),
                                        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    if (folder.isEmpty())
        return;
    QVector<FileRowTexts> rows;
    QString classCountText;
    if (evaluationMode == EvaluationMode::Folder) {
        rows = fileRowTextsOf(widgets.folderList);
        classCountText = classCountTextOfRows(rows);
    } else if (EvaluationMode::isEvaluation(evaluationMode)) {
        rows = fileRowTextsOf(widgets.evaluationList);
        classCountText = classCountTextOfClassTree(widgets.classTree);
    } else {
        return;
    }
    // Every target would be its own source: refused before anything is chosen.
    if (RecordingCopy::isSameFolder(folder, wavDirectory)) {
        userDialogs().warning(nullptr, tr("Warning"), RecordingCopy::sameFolderText());
        return;
    }

    CopyFilesDialog dialog(this, classCountText,
                           tr("All files which are assigned to at least one checked class\n are copied to the "
                              "selected folder."),
                           tr("Copy"));
    dialog.setWindowTitle(tr("Copy Files to other Folder"));
    if (userDialogs().runDialog(&dialog) != QDialog::Accepted || dialog.checkedClasses.isEmpty())
        return;
    const QStringList fileNames = RecordingCopy::selectFiles(rows, dialog.checkedClasses, evaluationMode);
    if (fileNames.isEmpty())
        return;

    bool overwrite = false;
    if (RecordingCopy::anyTargetExists(folder, fileNames)) {
        MessageBoxRequest box;
        box.icon = QMessageBox::Warning;
        box.title = tr("Warning");
        box.text = RecordingCopy::overwriteQuestionText();
        box.buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        box.defaultButton = QMessageBox::No;
        const QMessageBox::StandardButton answer = userDialogs().message(box);
        if (answer != QMessageBox::Yes && answer != QMessageBox::No)
            return;
        overwrite = answer == QMessageBox::Yes;
    }

    openJobProgress(tr("Copying..."), fileNames.size(), tr("Please wait"));
    jobGuard.start(JobGuard::Job::Copy);
    emit copyFiles(0, folder, wavDirectory, fileNames, overwrite);
    writeSetting(SettingKeys::copyFilesPath, folder);
}

void MainWindow::copyingFinished(int index, QString newDirectory, QString oldDirectory, QStringList fileNames,
                                 bool overwrite)
{
    if (jobGuard.running() != JobGuard::Job::Copy || !progressDialog)
        return;
    if (!fileNames.isEmpty() && fileNames.constLast() == CopyFilesThread::errorMarker()) {
        // The next request goes without the marker.
        fileNames.removeLast();
        MessageBoxRequest box;
        box.parent = this;
        box.icon = QMessageBox::Warning;
        box.title = tr("Warning");
        box.text = RecordingCopy::errorQuestionText(fileNames.value(index));
        box.buttons = QMessageBox::Ok | QMessageBox::Cancel;
        box.defaultButton = QMessageBox::Cancel;
        const ProgressStandAside boxOnTop(progressDialog);
        if (userDialogs().message(box) != QMessageBox::Ok)
            progressDialog->cancel();
    }
    // Cancelled during the last file: that file is copied, no further one.
    if (progressDialog->wasCanceled()) {
        jobGuard.finish();
        return;
    }
    progressDialog->setValue(index);
    if (index + 1 < fileNames.size()) {
        emit copyFiles(index + 1, newDirectory, oldDirectory, fileNames, overwrite);
        return;
    }
    progressDialog->cancel();
    jobGuard.finish();
}
