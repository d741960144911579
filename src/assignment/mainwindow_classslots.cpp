// Single class changes of one recording: a class slot replaced or removed
// from the evaluation list's context menu, written at once on this thread,
// and the reply to the one class added to a recording through the worker.
// Each row changes only once its recording holds the change.
#include "app/mainwindow.h"

#include "assignment/classtextrules.h"
#include "assignment/contextmenus.h"
#include "assignment/writefilebextthread.h"
#include "common/treecolumns.h"
#include "common/userdialogs.h"
#include "filelist/rowcomment.h"
#include "ui_mainwindow.h"

void MainWindow::reportRecordingWriteFailure(const QString &path, const QString &reason, const QString &tail)
{
    MessageBoxRequest box;
    box.parent = this;
    box.icon = QMessageBox::Critical;
    box.text = tr("Could not write file ") + path + tail;
    box.informativeText = reason;
    userDialogs().message(box);
}

bool MainWindow::writeRecordingNow(const QString &path, const QString &text, const QString &tail)
{
    QString writeError;
    if (writeRowDescription(path, text, &writeError)) {
        showStoredDescription(path);
        return true;
    }
    // Told as the chains' write-failure box tells it.
    reportRecordingWriteFailure(path, WriteFileBextThread::failureReason(path, text, writeError), tail);
    return false;
}

bool MainWindow::writeRowOutcome(const FileRowTexts &copy, const ClassTextRules::Outcome &outcome,
                                 const QString &failureTail)
{
    const QString path = wavDirectory + QLatin1Char('/') + copy.text(FileViewColumn::Name);
    if (!outcome.refusal.isEmpty()) {
        reportRecordingWriteFailure(path, outcome.refusal, failureTail);
        return false;
    }
    if (outcome.write && !writeRecordingNow(path, outcome.text, failureTail))
        return false;
    showOutcome(copy, outcome);
    return true;
}

bool MainWindow::classSlotCopy(int slot, FileRowTexts *copy)
{
    const QList<QTreeWidgetItem *> selected = widgets.evaluationList->selectedItems();
    if (selected.isEmpty() || selected.first()->text(FileViewColumn::Class1 + slot - 1).isEmpty()
        || !mayStart(JobGuard::Action::WriteRecording))
        return false;
    *copy = requestCopy(selected.first());
    return true;
}

void MainWindow::reassignClassSlot(int slot)
{
    FileRowTexts copy;
    if (!classSlotCopy(slot, &copy))
        return;
    QStringList carried;
    for (int column = FileViewColumn::Class1; column <= FileViewColumn::Class4; ++column)
        carried << copy.text(column);
    static const char *const titles[] = {QT_TR_NOOP("Reassign first class"), QT_TR_NOOP("Reassign second class"),
                                         QT_TR_NOOP("Reassign third class"), QT_TR_NOOP("Reassign fourth class")};
    const QString name = chooseClass(ContextMenus::classCandidates(widgets.classTree, carried), tr(titles[slot - 1]),
                                     tr("Please add new class to class tree, before reassigning class %1.").arg(slot));
    if (name.isEmpty())
        return;
    writeRowOutcome(copy, ClassTextRules::reassign(copy, slot, name),
                    tr("\nClass assignment is not saved to wav file."));
}

void MainWindow::unassignClassSlot(int slot)
{
    FileRowTexts copy;
    if (classSlotCopy(slot, &copy))
        writeRowOutcome(copy, ClassTextRules::unassignSlot(copy, slot),
                        tr("\nClass unassignment is not saved to wav file."));
}

void MainWindow::reassign1triggered()
{
    reassignClassSlot(1);
}

void MainWindow::reassign2triggered()
{
    reassignClassSlot(2);
}

void MainWindow::reassign3triggered()
{
    reassignClassSlot(3);
}

void MainWindow::reassign4triggered()
{
    reassignClassSlot(4);
}

void MainWindow::unassign1triggered()
{
    unassignClassSlot(1);
}

void MainWindow::unassign2triggered()
{
    unassignClassSlot(2);
}

void MainWindow::unassign3triggered()
{
    unassignClassSlot(3);
}

void MainWindow::unassign4triggered()
{
    unassignClassSlot(4);
}

void MainWindow::finishAdditionalClass(const QString &wavDirectory, const QString &className, const FileRowTexts &copy,
                                       const QString &reason, bool success)
{
    jobGuard.finish();
    if (success) {
        showOutcome(copy, ClassTextRules::assign(copy, className));
        return;
    }
    reportRecordingWriteFailure(wavDirectory + QLatin1Char('/') + copy.text(FileViewColumn::Name), reason,
                                tr("\nClass assignment is not saved to wav file."));
}
