// Assigning recordings to a class. An assign button or a letter key starts a
// chain of requests to the bext-writing worker, one recording per request;
// each reply shows its result in its row and the class counts and sends the
// next request. The frame every chained job shares lives here too: the
// guard's answer, the progress window, the write-failure box and the step to
// the next row.
#include "app/mainwindow.h"

#include "analysis/classnames.h"
#include "assignment/classtextrules.h"
#include "assignment/progressstandaside.h"
#include "common/evaluationmode.h"
#include "common/filewritefailure.h"
#include "common/treecolumns.h"
#include "common/userdialogs.h"
#include "filelist/classtreerows.h"
#include "filelist/filerowindex.h"
#include "filelist/fileviewtreewidgetitem.h"
#include "ui_mainwindow.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QTreeWidgetItemIterator>

#include <algorithm>

namespace {

bool isNoCall(const QString &name)
{
    return name.compare(ClassNames::noCall, Qt::CaseInsensitive) == 0;
}

bool holdsClass(const QTreeWidgetItem *row, const QString &name)
{
    for (int column = FileViewColumn::Class1; column <= FileViewColumn::Class4; ++column) {
        if (row->text(column) == name)
            return true;
    }
    return false;
}

QString pickOne(int count, const QString &one, const QString &several)
{
    return count == 1 ? one : several;
}

} // namespace

bool MainWindow::jobAllows(JobGuard::Action action) const
{
    // A new load waits for the header reply in flight: until then the rows
    // name recordings of the folder before, and a path from wavDirectory
    // would reach another recording of the same name.
    if (headerLoadingRestartPending && action != JobGuard::Action::Open)
        return false;
    return jobGuard.allows(action, headerChainRunning());
}

bool MainWindow::mayStart(JobGuard::Action action)
{
    if (jobAllows(action))
        return true;
    userDialogs().information(nullptr, QString(), JobGuard::refusalText());
    return false;
}

QProgressDialog *MainWindow::openJobProgress(const QString &label, int count, const QString &title)
{
    // The last job's window has ended with its job.
    if (progressDialog)
        progressDialog->deleteLater();
    progressDialog = new QProgressDialog(label, tr("Cancel"), 0, count - 1, this);
    progressDialog->setWindowModality(Qt::WindowModal);
    progressDialog->setWindowTitle(title);
    progressDialog->setMinimumDuration(500);
    progressDialog->setValue(0);
    return progressDialog;
}

void MainWindow::beginBextChain(const QString &label, int count, const QString &title)
{
    openJobProgress(label, count, title);
    jobGuard.start(JobGuard::Job::Bext);
}

// In the evaluations with proposals the accept box holds a row's flag and its
// column 5 has no text. A row with a proposal is written in the full form
// either way; its copy carries the box's flag, so that renaming a class keeps
// an accepted recording accepted. A row without a proposal keeps the empty
// column, so that the short form is chosen for it as for any other.
FileRowTexts MainWindow::requestCopy(QTreeWidgetItem *row) const
{
    FileRowTexts copy = FileRowTexts::fromItem(row);
    if (copy.text(FileViewColumn::Accepted).isEmpty() && !copy.text(FileViewColumn::Proposal).isEmpty())
        copy.setText(FileViewColumn::Accepted, fileViewTreeWidgetItem::acceptedFlag(row));
    return copy;
}

FileRowList MainWindow::jobRows(const QList<QTreeWidgetItem *> &rows) const
{
    QVector<FileRowTexts> copies;
    copies.reserve(rows.size());
    for (QTreeWidgetItem *row : rows)
        copies.append(requestCopy(row));
    return FileRowList(std::move(copies));
}

bool MainWindow::replySucceeded(bool success, const QString &wavDirectory, const FileRowList &rows, int index)
{
    if (success)
        return true;
    if (skipAllWriteErrors)
        return false;
    // The box is the window's and stays on top while the chain waits for it:
    // the progress window would map itself over it once its 500 ms are up.
    const ProgressStandAside boxOnTop(progressDialog);
    const WriteFailureChoice choice =
        askAfterWriteFailure(this, wavDirectory + QLatin1Char('/') + rows.at(index).text(FileViewColumn::Name),
                             rows.failure(index), rows.size() > 1);
    if (choice == WriteFailureChoice::SkipForAll) {
        skipAllWriteErrors = true;
    } else if (choice == WriteFailureChoice::Cancel) {
        progressDialog->cancel();
        skipAllWriteErrors = false;
    }
    return false;
}

MainWindow::ChainStep MainWindow::advanceChain(int index, FileRowList &rows)
{
    if (progressDialog->wasCanceled()) {
        skipAllWriteErrors = false;
        jobGuard.finish();
        return ChainStep::Cancelled;
    }
    progressDialog->setValue(index);
    if (rows.isLast(index)) {
        progressDialog->cancel();
        skipAllWriteErrors = false;
        jobGuard.finish();
        return ChainStep::Finished;
    }
    // The copy is taken now, from the row as the replies so far left it: a row
    // listed twice (a class carried in two slots) is written from its latest state.
    if (QTreeWidgetItem *next = fileViewRows->row(rows.at(index + 1).text(FileViewColumn::Name)))
        rows.replace(index + 1, requestCopy(next));
    return ChainStep::Next;
}

void MainWindow::showOutcome(const FileRowTexts &copy, const ClassTextRules::Outcome &outcome)
{
    // The line above the plots shows what the recording on show holds, as its row does.
    showStoredDescription(wavDirectory + QLatin1Char('/') + copy.text(FileViewColumn::Name));
    QTreeWidgetItem *row = fileViewRows->row(copy.text(FileViewColumn::Name));
    if (!outcome.rowChanges || !row)
        return;
    QStringList old;
    for (int column = FileViewColumn::Class1; column <= FileViewColumn::Class4; ++column)
        old << copy.text(column);
    ClassTreeRows::moveCounts(widgets.classTree, old, outcome.classes);
    for (int slot = 0; slot < 4; ++slot)
        row->setText(FileViewColumn::Class1 + slot, outcome.classes.value(slot));
    if (!outcome.fullForm)
        return;
    // The row shows the flag its recording now holds: in its box and colours
    // where the list shows the accept column, else as the column's text.
    auto *fileRow = dynamic_cast<fileViewTreeWidgetItem *>(row);
    if (!fileRow || !fileRow->holdsAcceptBox()) {
        row->setText(FileViewColumn::Accepted, outcome.flag);
        return;
    }
    if (!copy.acceptColumnShown)
        return;
    const bool accepted = outcome.flag == QLatin1String("1");
    fileRow->setAcceptBox(accepted);
    fileRow->applyRowColour(accepted                    ? fileViewTreeWidgetItem::RowColour::Accepted
                            : outcome.classes.isEmpty() ? fileViewTreeWidgetItem::RowColour::Default
                                                        : fileViewTreeWidgetItem::RowColour::NotAccepted);
}

void MainWindow::showRowAsDoubleClicked(QTreeWidgetItem *row)
{
    widgets.evaluationList->setCurrentItem(row);
    on_treeWidget_fileView_itemDoubleClicked(row, FileViewColumn::Name);
}

void MainWindow::assignFileToClass()
{
    if (calculating)
        return;
    QTreeWidget *tree = widgets.classTree;
    QTreeWidgetItem *classRow = nullptr;
    for (QTreeWidgetItemIterator it(tree); *it && !classRow; ++it) {
        if (tree->itemWidget(*it, ClassTreeColumn::Assign) == sender())
            classRow = *it;
    }
    QList<QTreeWidgetItem *> rows = widgets.evaluationList->selectedItems();
    if (!classRow || rows.isEmpty() || !mayStart(JobGuard::Action::StartJob))
        return;
    const QString name = classRow->text(ClassTreeColumn::Class);
    if (!confirmOverwrite(name, rows) || !confirmNoCallChange(name, rows))
        return;
    startAssignment(classRow, rows, tr("Please wait"));
}

bool MainWindow::confirmOverwrite(const QString &className, QList<QTreeWidgetItem *> &rows)
{
    const bool anyFull = std::any_of(rows.cbegin(), rows.cend(), [&className](const QTreeWidgetItem *row) {
        return !row->text(FileViewColumn::Class4).isEmpty() && !holdsClass(row, className);
    });
    if (!anyFull)
        return true;
    const bool one = rows.size() == 1;
    MessageBoxRequest box;
    box.icon = QMessageBox::Warning;
    box.title = tr("Warning");
    box.text = one ? tr("All classes of the file are already assigned.\nDo you want to overwrite class 4?")
                   : tr("All classes of one or more files are already assigned.\nDo you want to overwrite class 4 "
                        "in such files?");
    box.buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    box.defaultButton = QMessageBox::No;
    const QMessageBox::StandardButton answer = userDialogs().message(box);
    if (answer == QMessageBox::Yes)
        return true;
    if (one || answer != QMessageBox::No)
        return false;
    // No: the rows whose fourth class would go are left out.
    for (int i = rows.size() - 1; i >= 0; --i) {
        if (!rows.at(i)->text(FileViewColumn::Class4).isEmpty())
            rows.removeAt(i);
    }
    return !rows.isEmpty();
}

bool MainWindow::confirmNoCallChange(const QString &className, const QList<QTreeWidgetItem *> &rows)
{
    if (!EvaluationMode::hasProposals(evaluationMode))
        return true;
    const bool toNoCall = isNoCall(className);
    const bool asked = std::any_of(rows.cbegin(), rows.cend(), [toNoCall](const QTreeWidgetItem *row) {
        const QString first = row->text(FileViewColumn::Class1);
        return toNoCall ? !first.isEmpty() && !isNoCall(first) : isNoCall(first);
    });
    if (!asked)
        return true;
    const int count = rows.size();
    const QString text =
        toNoCall
            ? pickOne(count, tr("File already assigned to a bat call class.\nThis assignment will be overwritten."),
                      tr("One or more files already assigned to a bat call class.\nThis assignment will be "
                         "overwritten."))
            : pickOne(count,
                      tr("File already assigned to 'No Call'.\nThis 'No Call' assignment will be "
                         "overwritten."),
                      tr("One or more files already assigned to 'No Call'.\nThis 'No Call' assignment will "
                         "be overwritten."));
    return userDialogs().confirm(nullptr, tr("Warning"), text);
}

bool MainWindow::startAssignment(QTreeWidgetItem *classRow, const QList<QTreeWidgetItem *> &rows, const QString &title)
{
    if (rows.isEmpty() || !mayStart(JobGuard::Action::StartJob))
        return false;
    beginBextChain(tr("Assigning..."), rows.size(), title);
    emit signalWriteFileBextExtended(0, wavDirectory, ClassRowTexts::fromItem(classRow), jobRows(rows));
    return true;
}

void MainWindow::fileBextFinishedExtended(int index, QString wavDirectory, ClassRowTexts classItem,
                                          FileRowList selectedFileItems, bool success)
{
    // The one class added to one recording belongs to no chain.
    if (classItem.isSingleWrite()) {
        finishAdditionalClass(wavDirectory, classItem.name, selectedFileItems.at(index),
                              selectedFileItems.failure(index), success);
        return;
    }
    const FileRowTexts &copy = selectedFileItems.at(index);
    if (replySucceeded(success, wavDirectory, selectedFileItems, index))
        showOutcome(copy, ClassTextRules::assign(copy, classItem.name));
    QTreeWidget *list = widgets.evaluationList;
    switch (advanceChain(index, selectedFileItems)) {
    case ChainStep::Next:
        emit signalWriteFileBextExtended(index + 1, wavDirectory, classItem, selectedFileItems);
        break;
    case ChainStep::Cancelled:
        // Whatever its flags: the user stopped here and goes on from the next row.
        if (QTreeWidgetItem *row = fileViewRows->row(copy.text(FileViewColumn::Name))) {
            if (QTreeWidgetItem *below = list->itemBelow(row))
                showRowAsDoubleClicked(below);
        }
        break;
    case ChainStep::Finished:
        if (QTreeWidgetItem *row = fileViewRows->row(copy.text(FileViewColumn::Name))) {
            QTreeWidgetItem *below = list->itemBelow(row);
            while (below && !(below->flags() & Qt::ItemIsSelectable))
                below = list->itemBelow(below);
            if (below)
                showRowAsDoubleClicked(below);
        }
        break;
    }
}
