// Deleting the selected recordings of a file list from storage, with their
// rows; the Delete key and the lists' context menus each bring their texts.
#include "app/mainwindow.h"

#include "assignment/progressstandaside.h"
#include "classmodel/classnamerules.h"
#include "common/treecolumns.h"
#include "common/userdialogs.h"
#include "filelist/classtreerows.h"
#include "filelist/filerowremoval.h"
#include "filelist/folderlisting.h"
#include "ui_mainwindow.h"

#include <QElapsedTimer>
#include <QFile>
#include <QItemSelectionModel>
#include <QProgressDialog>

#include <algorithm>
#include <vector>

void MainWindow::deleteFilesFromStorage(QTreeWidget *list, const FileDeletionTexts &texts)
{
    const QList<QTreeWidgetItem *> rows = list->selectedItems();
    const int count = rows.size();
    if (count == 0 || !mayStart(JobGuard::Action::DeleteFiles))
        return;
    const QString question =
        count == 1 ? texts.oneFile.arg(rows.first()->text(FileViewColumn::Name)) : texts.manyFiles.arg(count);
    if (!userDialogs().confirm(nullptr, tr("Warning"), question))
        return;
    const bool evaluationList = list == widgets.evaluationList;
    if (count > 1)
        openJobProgress(tr("Deleting..."), count, QString());
    // The progress window lets events through: nothing else may start until the last file.
    jobGuard.start(JobGuard::Job::Deletion);
    // Every removed row would make the selection model rework each selected
    // range: with a thousand rows selected that is a million steps. The rows
    // left when the deletion stops are selected again at the end.
    list->clearSelection();
    std::vector<bool> removed(size_t(count), false);
    // Rows whose files are gone leave the list together, before anything can
    // look at it (a message, the progress window's events, the end): one by
    // one, each removal would cost as much as the whole list has accept boxes.
    QVector<QTreeWidgetItem *> gone;
    const auto removeGoneRows = [&]() {
        FileRowRemoval::removeTopLevelRows(list, gone);
        gone.clear();
    };
    QElapsedTimer sinceUpdate;
    sinceUpdate.start();
    for (int i = 0; i < count; ++i) {
        QTreeWidgetItem *row = rows.at(i);
        const QString name = row->text(FileViewColumn::Name);
        if (!QFile::remove(wavDirectory + QLatin1Char('/') + name)) {
            removeGoneRows();
            const ProgressStandAside boxOnTop(count > 1 ? progressDialog : nullptr);
            userDialogs().message({this, QMessageBox::NoIcon, QString(), texts.failed.arg(name)});
            if (evaluationList)
                break;
            continue;
        }
        if (evaluationList) {
            QTreeWidget *tree = widgets.classTree;
            if (row->text(FileViewColumn::Class1).isEmpty()) {
                if (QTreeWidgetItem *unassigned = ClassTreeRows::topLevelNamed(tree, ClassNames::unassigned))
                    ClassTreeRows::addToCount(unassigned, -1);
            }
            for (int column = FileViewColumn::Class1; column <= FileViewColumn::Class4 && !row->text(column).isEmpty();
                 ++column) {
                if (QTreeWidgetItem *classRow = ClassTreeRows::firstNamed(tree, row->text(column)))
                    ClassTreeRows::addToCount(classRow, -1);
            }
        }
        gone << row;
        removed[size_t(i)] = true;
        (evaluationList ? widgets.evaluationCount : widgets.folderCount)
            ->setText(itemCountText(list->topLevelItemCount() - gone.size()));
        // Each update lets the list lay itself out, which visits every row's
        // accept box: a few per second are as much as the eye follows.
        if (count > 1 && (i == count - 1 || sinceUpdate.elapsed() >= 100)) {
            removeGoneRows();
            progressDialog->setValue(i);
            sinceUpdate.restart();
            if (progressDialog->wasCanceled())
                break;
        }
    }
    removeGoneRows();
    if (count > 1)
        progressDialog->cancel();
    // In one step: row by row, each would recount the whole selection.
    QItemSelection kept;
    const QAbstractItemModel *model = list->model();
    for (int i = 0; i < count; ++i) {
        if (removed[size_t(i)])
            continue;
        const int at = list->indexOfTopLevelItem(rows.at(i));
        kept.select(model->index(at, 0), model->index(at, model->columnCount() - 1));
    }
    list->selectionModel()->select(kept, QItemSelectionModel::Select);
    // The count of rows left, which the selection's own count would have replaced.
    if (std::count(removed.cbegin(), removed.cend(), true) > 0)
        (evaluationList ? widgets.evaluationCount : widgets.folderCount)
            ->setText(itemCountText(list->topLevelItemCount()));
    jobGuard.finish();
}
