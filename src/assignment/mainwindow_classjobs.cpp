// The folder-wide class jobs: deleting or renaming a class in every
// recording that carries it, unassigning the selected recordings and
// resetting the whole folder. Each runs as a chain on the bext-writing
// worker, one recording per request, in the frame of the assignment chain.
#include "app/mainwindow.h"

#include "assignment/classtextrules.h"
#include "classmodel/classmodeltext.h"
#include "common/evaluationmode.h"
#include "common/treecolumns.h"
#include "common/userdialogs.h"
#include "filelist/classtreerows.h"
#include "ui_mainwindow.h"

#include <QProgressDialog>

QList<QTreeWidgetItem *> MainWindow::rowsCarrying(const QString &className) const
{
    // Column by column, so a row carrying the class twice is listed twice:
    // each request then removes or renames one of them.
    QTreeWidget *list = widgets.evaluationList;
    QList<QTreeWidgetItem *> rows;
    for (int column = FileViewColumn::Class1; column <= FileViewColumn::Class4; ++column) {
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            if (list->topLevelItem(i)->text(column) == className)
                rows << list->topLevelItem(i);
        }
    }
    return rows;
}

void MainWindow::openClassJobProgress(const QString &label, int count, const QString &title)
{
    // Half a deletion or renaming leaves the class in two states: the job
    // cannot be cancelled, nor its window closed.
    beginBextChain(label, count, title);
    progressDialog->setCancelButton(nullptr);
    progressDialog->setWindowFlags(
        windowFlags() & ~(Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
}

MainWindow::ClassJobStart MainWindow::deleteClassFromFiles(QTreeWidgetItem *classRow, const QString &question,
                                                           const QString &progressTitle)
{
    if (!mayStart(JobGuard::Action::ChangeClassTree))
        return ClassJobStart::Refused;
    const QString name = classRow->text(ClassTreeColumn::Class);
    for (int i = 0; i < classRow->childCount(); ++i) {
        if (!rowsCarrying(classRow->child(i)->text(ClassTreeColumn::Class)).isEmpty()) {
            userDialogs().information(nullptr, QString(),
                                      tr("Files are assigned to subclasses of \"") + name
                                          + tr("\".\nPlease delete these subclasses first."));
            return ClassJobStart::Refused;
        }
    }
    if (!userDialogs().confirm(nullptr, tr("Warning"), question))
        return ClassJobStart::Refused;
    const QList<QTreeWidgetItem *> rows = rowsCarrying(name);
    if (rows.isEmpty()) {
        delete classRow;
        return ClassJobStart::DoneAtOnce;
    }
    openClassJobProgress(tr("Deleting class assignment..."), rows.size(), progressTitle);
    emit signalDeleteClassFile(0, wavDirectory, name, jobRows(rows));
    return ClassJobStart::Started;
}

void MainWindow::deleteClassFileFinished(int index, QString wavDirectory, QString deleteClassName,
                                         FileRowList selectedFileItems, bool success)
{
    const FileRowTexts &copy = selectedFileItems.at(index);
    if (replySucceeded(success, wavDirectory, selectedFileItems, index))
        showOutcome(copy, ClassTextRules::remove(copy, deleteClassName));
    if (advanceChain(index, selectedFileItems) == ChainStep::Next)
        emit signalDeleteClassFile(index + 1, wavDirectory, deleteClassName, selectedFileItems);
    else
        endClassDeletion(deleteClassName);
}

void MainWindow::endClassDeletion(const QString &className)
{
    // A class that some recording still carries (a skipped failure) stays.
    QTreeWidgetItem *row = ClassTreeRows::firstNamed(widgets.classTree, className);
    if (row && row->text(ClassTreeColumn::Count) == QLatin1String("0"))
        delete row;
}

QTreeWidgetItem *MainWindow::renamedClassRow(const QString &name) const
{
    if (QTreeWidgetItem *row = ClassTreeRows::topLevelNamed(widgets.classTree, name))
        return row;
    return ClassTreeRows::firstNamed(widgets.classTree, name);
}

MainWindow::ClassJobStart MainWindow::renameClassInFiles(QTreeWidgetItem *classRow, const QString &newName)
{
    if (!mayStart(JobGuard::Action::ChangeClassTree))
        return ClassJobStart::Refused;
    const QString name = classRow->text(ClassTreeColumn::Class);
    const QList<QTreeWidgetItem *> rows = rowsCarrying(name);
    if (rows.isEmpty()) {
        classRow->setText(ClassTreeColumn::Class, newName);
        return ClassJobStart::DoneAtOnce;
    }
    openClassJobProgress(tr("Renaming..."), rows.size(), tr("Please wait"));
    emit signalRenameClassFile(0, wavDirectory, name, newName, jobRows(rows));
    return ClassJobStart::Started;
}

void MainWindow::renameClassFileFinished(int index, QString wavDirectory, QString oldClassName, QString newClassName,
                                         FileRowList selectedFileItems, bool success)
{
    const FileRowTexts &copy = selectedFileItems.at(index);
    if (replySucceeded(success, wavDirectory, selectedFileItems, index)) {
        QTreeWidgetItem *oldRow = renamedClassRow(oldClassName);
        if (!oldRow) {
            skipAllWriteErrors = false;
            progressDialog->cancel();
            jobGuard.finish();
            userDialogs().message({this, QMessageBox::NoIcon, QString(), tr("Item not found.")});
            return;
        }
        // Until the end the new name has a row of its own beside the old one,
        // which keeps counting the recordings not renamed yet.
        if (!ClassTreeRows::firstNamed(widgets.classTree, newClassName)) {
            auto *created = new QTreeWidgetItem(
                QStringList{newClassName, QStringLiteral("0"), oldRow->text(ClassTreeColumn::Shortcut)});
            QTreeWidgetItem *parent = oldRow->parent();
            if (parent)
                parent->insertChild(parent->indexOfChild(oldRow) + 1, created);
            else
                widgets.classTree->insertTopLevelItem(widgets.classTree->indexOfTopLevelItem(oldRow) + 1, created);
            created->setExpanded(true);
            widgets.classTree->setItemWidget(created, ClassTreeColumn::Assign,
                                             classAssignButton(newClassName, evaluationMode, false));
        }
        showOutcome(copy, ClassTextRules::rename(copy, oldClassName, newClassName));
    }
    if (advanceChain(index, selectedFileItems) == ChainStep::Next)
        emit signalRenameClassFile(index + 1, wavDirectory, oldClassName, newClassName, selectedFileItems);
    else
        endClassRenaming(oldClassName, newClassName);
}

void MainWindow::endClassRenaming(const QString &oldClassName, const QString &newClassName)
{
    QTreeWidgetItem *oldRow = renamedClassRow(oldClassName);
    if (!oldRow || oldRow->text(ClassTreeColumn::Count) != QLatin1String("0"))
        return;
    if (oldRow->parent()) {
        delete oldRow;
        return;
    }
    // A class keeps its place, its subclasses and its shortcut under the new name.
    QTreeWidgetItem *newRow = ClassTreeRows::topLevelNamed(widgets.classTree, newClassName);
    if (!newRow)
        return;
    oldRow->setText(ClassTreeColumn::Class, newClassName);
    oldRow->setText(ClassTreeColumn::Count, newRow->text(ClassTreeColumn::Count));
    widgets.classTree->setItemWidget(oldRow, ClassTreeColumn::Assign,
                                     classAssignButton(newClassName, evaluationMode, false));
    delete newRow;
}

bool MainWindow::unassignAllClasses(const QList<QTreeWidgetItem *> &rows)
{
    if (rows.isEmpty() || !mayStart(JobGuard::Action::StartJob))
        return false;
    beginBextChain(tr("Unassigning..."), rows.size(), tr("Please wait"));
    emit signalUnassignFile(0, wavDirectory, jobRows(rows));
    return true;
}

void MainWindow::unassignFileFinished(int index, QString wavDirectory, FileRowList selectedFileItems, bool success)
{
    const FileRowTexts &copy = selectedFileItems.at(index);
    if (replySucceeded(success, wavDirectory, selectedFileItems, index))
        showOutcome(copy, ClassTextRules::unassign(copy));
    if (advanceChain(index, selectedFileItems) == ChainStep::Next)
        emit signalUnassignFile(index + 1, this->wavDirectory, selectedFileItems);
}

bool MainWindow::resetAllFiles()
{
    QTreeWidget *list = widgets.evaluationList;
    QList<QTreeWidgetItem *> rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << list->topLevelItem(i);
    if (rows.isEmpty() || !mayStart(JobGuard::Action::StartJob))
        return false;
    beginBextChain(tr("Unassigning..."), rows.size(), tr("Please wait"));
    emit signalResetFile(0, wavDirectory, jobRows(rows));
    return true;
}

void MainWindow::resetFileFinished(int index, QString wavDirectory, FileRowList selectedFileItems, bool success)
{
    // Nothing to show per row: the whole folder is read again at the end.
    replySucceeded(success, wavDirectory, selectedFileItems, index);
    if (advanceChain(index, selectedFileItems) == ChainStep::Next) {
        emit signalResetFile(index + 1, this->wavDirectory, selectedFileItems);
        return;
    }
    widgets.evaluationList->setSortingEnabled(false);
    setFolderActionsEnabled(false);
    // The tree of the mode the folder is evaluated in, counted afresh by the header replies.
    const QString model = evaluationMode == EvaluationMode::Tavron ? ClassModelText::tavronTree()
                          : reviewMode == 0                        ? ClassModelText::simpleReviewTree()
                                                                   : ClassModelText::advancedReviewTree();
    fillClassTree(model, evaluationMode);
    if (headerChainRunning()) {
        // The running chain lists the folder anew when its next reply arrives.
        headerLoadingRestartPending = true;
        loadingFileInfo = false;
        return;
    }
    restartFileHeaderLoading();
}
