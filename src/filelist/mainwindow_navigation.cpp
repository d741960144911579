// Moving through the file lists: previous and next, double clicks, the jump
// from a class to its first recording, the selection count, and the comment
// a user types into a row, written into its recording at once.
#include "app/mainwindow.h"

#include "classmodel/classnamerules.h"
#include "common/treecolumns.h"
#include "common/userdialogs.h"
#include "filelist/folderlisting.h"
#include "filelist/rowcomment.h"
#include "recording/recordingkind.h"
#include "ui_mainwindow.h"

namespace {

bool isSelectable(const QTreeWidgetItem *row)
{
    return row->flags() & Qt::ItemIsSelectable;
}

} // namespace

void MainWindow::on_pushButton_3_clicked()
{
    stepThroughList(widgets.folderList, false);
}

void MainWindow::on_pushButton_4_clicked()
{
    stepThroughList(widgets.folderList, true);
}

void MainWindow::on_pushButton_7_clicked()
{
    stepThroughList(widgets.evaluationList, false);
}

void MainWindow::on_pushButton_8_clicked()
{
    showNextEvaluationRow();
}

void MainWindow::showNextEvaluationRow()
{
    stepThroughList(widgets.evaluationList, true);
}

void MainWindow::stepThroughList(QTreeWidget *list, bool forward)
{
    if (calculating)
        return;
    QTreeWidgetItem *current = list->currentItem();
    if (!current)
        return;
    // Rows of the evaluation list without a call cannot be chosen: the step goes past them.
    const bool skipUnselectable = list == widgets.evaluationList;
    QTreeWidgetItem *next = current;
    do {
        next = forward ? list->itemBelow(next) : list->itemAbove(next);
    } while (next && skipUnselectable && !isSelectable(next));
    if (!next) {
        // At the end the current row stays, now the only one selected.
        list->setCurrentItem(current);
        return;
    }
    list->setCurrentItem(next);
    showRow(next);
}

void MainWindow::showRow(const QTreeWidgetItem *row)
{
    plot_Data(wavDirectory + QLatin1Char('/') + row->text(FileViewColumn::Name));
}

void MainWindow::on_treeWidget_2_itemDoubleClicked(QTreeWidgetItem *item, int column)
{
    if (calculating || !item)
        return;
    if (column == FileViewColumn::Comment)
        widgets.folderList->editItem(item, FileViewColumn::Comment);
    else
        showRow(item);
}

void MainWindow::on_treeWidget_fileView_itemDoubleClicked(QTreeWidgetItem *item, int column)
{
    // A row whose header has not been read yet is neither shown nor commented.
    if (calculating || !item || item->text(FileViewColumn::Date).isEmpty())
        return;
    if (column == FileViewColumn::Comment)
        widgets.evaluationList->editItem(item, FileViewColumn::Comment);
    else if (item->flags() != Qt::NoItemFlags)
        showRow(item);
}

void MainWindow::on_treeWidget_itemDoubleClicked(QTreeWidgetItem *item, int)
{
    if (!item)
        return;
    const QString name = item->text(ClassTreeColumn::Class);
    const QString wanted = name == ClassNames::unassigned ? QString() : name;
    QTreeWidget *list = widgets.evaluationList;
    const int rows = list->topLevelItemCount();
    // Only rows the user can choose, with their header read: the recordings the class tree counts.
    for (int column = FileViewColumn::Class1; column <= FileViewColumn::Class4; ++column) {
        for (int i = 0; i < rows; ++i) {
            QTreeWidgetItem *row = list->topLevelItem(i);
            if (row->text(column) == wanted && isSelectable(row) && !row->text(FileViewColumn::Date).isEmpty()) {
                list->setCurrentItem(row);
                return;
            }
        }
    }
}

void MainWindow::on_treeWidget_2_itemSelectionChanged()
{
    showSelectionCount(widgets.folderList, widgets.folderCount);
}

void MainWindow::on_treeWidget_fileView_itemSelectionChanged()
{
    showSelectionCount(widgets.evaluationList, widgets.evaluationCount);
}

void MainWindow::showSelectionCount(const QTreeWidget *list, QLabel *label)
{
    label->setText(selectionCountText(list->selectionModel()->selectedRows().size(), list->topLevelItemCount()));
}

void MainWindow::on_treeWidget_fileView_itemChanged(QTreeWidgetItem *item, int column)
{
    commentChanged(item, column);
}

void MainWindow::on_treeWidget_2_itemChanged(QTreeWidgetItem *item, int column)
{
    commentChanged(item, column);
}

void MainWindow::commentChanged(QTreeWidgetItem *row, int column)
{
    // The header replies set their comments without this signal: every change seen here is the user's.
    if (column != FileViewColumn::Comment || !row)
        return;
    const QString path = wavDirectory + QLatin1Char('/') + row->text(FileViewColumn::Name);
    // A RAW recording has no description: its comment lives in the row only.
    if (recordingKind(path) != RecordingKind::Wav)
        return;
    const QString text = commentWriteText(row);
    // A running job writes from row copies: a comment changed under it would be lost or written twice.
    // A row whose header is not read yet shows none of its classes: its text would wipe them.
    const bool refused = !jobAllows(JobGuard::Action::WriteRecording) || row->text(FileViewColumn::Date).isEmpty();
    if (text.isEmpty() || refused) {
        const QString typed = row->text(FileViewColumn::Comment);
        // Every later write of this row would store its comment: the row
        // takes back the one the recording holds.
        MessageBoxRequest box;
        box.parent = this;
        box.icon = QMessageBox::Warning;
        box.text = refused ? JobGuard::refusalText() : tr("The comment cannot be stored in the recording.");
        box.informativeText = refused ? QString() : commentRefusal(row);
        userDialogs().message(box);
        showStoredComment(row, path);
        // Too long or holding a bar, the text is the user's to mend; a write
        // refused for the moment leaves nothing to mend in it.
        if (!refused)
            editCommentAgain(row, typed);
        return;
    }
    // The row then shows what the recording holds, as the exports will read it.
    if (!writeRecordingNow(path, text, tr("\nNew comment is not saved to wav file.")))
        showStoredComment(row, path);
}
