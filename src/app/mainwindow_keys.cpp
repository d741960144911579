// The window's keys, seen by its application-wide event filter before any
// widget: a handler returns true to consume a key, false to pass it on to
// the widget with the focus.
#include "app/mainwindow.h"

#include "assignment/classtextrules.h"
#include "common/evaluationmode.h"
#include "common/treecolumns.h"
#include "filelist/fileviewtreewidgetitem.h"
#include "ui_mainwindow.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QPushButton>

#include <algorithm>

#include <qwt_plot.h>

bool MainWindow::handleKeyPress(QObject *watched, QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Escape && watched == spectrogramPlot->canvas() && widgets.zoomTool->isChecked()) {
        spectrogramPlot->hideMeasurement();
        spectrogramPlot->replot();
    }
    switch (key) {
    case Qt::Key_Delete:
        return handleDeleteKey(watched);
    case Qt::Key_Enter:
    case Qt::Key_Return:
        return handleEnterKey(watched);
    case Qt::Key_Left:
    case Qt::Key_Right:
        return handleStepKey(key == Qt::Key_Right);
    case Qt::Key_Space:
        return handleSpaceKey() || keptFromTypeAhead(watched, event);
    default:
        break;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z && handleClassShortcut(event))
        return true;
    return handlePlayerKey(event) || keptFromTypeAhead(watched, event);
}

bool MainWindow::classLettersLive() const
{
    return widgets.evaluationList->isVisible() && !commentBeingEdited();
}

bool MainWindow::keptFromTypeAhead(QObject *watched, const QKeyEvent *event) const
{
    // A printable key that classifies nothing stays out of the lists: their
    // type-ahead search would select another recording ("0" the first one
    // named by date) while the shown one stays, and the next class letter
    // would classify a recording never seen. Ctrl and Alt combinations are
    // the lists' own (Ctrl+A selects all); other widgets keep every key.
    const QString text = event->text();
    if (text.isEmpty() || !classLettersLive() || !qobject_cast<QAbstractItemView *>(watched)
        || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isPrint(); });
}

bool MainWindow::commentBeingEdited() const
{
    const QTreeWidget *lists[] = {widgets.evaluationList, widgets.folderList};
    for (const QTreeWidget *list : lists) {
        QTreeWidgetItem *row = list->currentItem();
        // An open cell editor is the cell's index widget until it closes.
        if (row && list->itemWidget(row, FileViewColumn::Comment))
            return true;
    }
    return false;
}

bool MainWindow::handleClassShortcut(const QKeyEvent *event)
{
    // A combination with Ctrl or Alt is no class letter, whatever text the platform gives it.
    if (!classLettersLive() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    // Shift and Caps Lock make no difference.
    const QString shortcut = QLatin1Char('<') + event->text().toUpper() + QLatin1Char('>');
    const QList<QTreeWidgetItem *> classRows =
        widgets.classTree->findItems(shortcut, Qt::MatchExactly | Qt::MatchRecursive, ClassTreeColumn::Shortcut);
    const QList<QTreeWidgetItem *> rows = widgets.evaluationList->selectedItems();
    return !classRows.isEmpty() && !rows.isEmpty() && jobAllows(JobGuard::Action::StartJob)
           && startAssignment(classRows.first(), rows, QString());
}

bool MainWindow::handleSpaceKey()
{
    // First: a blank typed into a comment belongs to the comment, whatever else goes on.
    if (commentBeingEdited())
        return false;
    if (calculating)
        return true;
    QTreeWidget *list = widgets.evaluationList;
    if (!list->isVisible() || !EvaluationMode::hasProposals(evaluationMode)
        || !jobAllows(JobGuard::Action::WriteRecording))
        return false;
    QTreeWidgetItem *row = list->currentItem();
    if (!row || row->isDisabled()) {
        list->setCurrentItem(list->topLevelItem(0));
        row = list->currentItem();
    }
    if (!row || row->isDisabled())
        return true;
    auto *fileRow = dynamic_cast<fileViewTreeWidgetItem *>(row);
    const bool box = fileRow && fileRow->holdsAcceptBox();
    const bool accept = box && !fileRow->acceptBoxChecked();
    // Without a box, or with a proposal that has no entry, there is nothing to accept: on to the next row.
    const bool nothingToDo =
        !box || (accept && ClassTextRules::proposalClasses(row->text(FileViewColumn::Proposal)).isEmpty());
    if (!nothingToDo) {
        if (!writeAcceptance(row, accept))
            return true;
        fileRow->setAcceptBox(accept);
        showAcceptance(row, accept);
    }
    showNextEvaluationRow();
    // Consumed: passed on, it would reach a focused accept box, which would toggle back what was just written.
    return true;
}

bool MainWindow::handleDeleteKey(QObject *watched)
{
    if (watched == widgets.classTree) {
        QTreeWidgetItem *classRow = widgets.classTree->currentItem();
        if (!classRow)
            return false;
        const QString name = classRow->text(ClassTreeColumn::Class);
        // Consumed only when the class went at once; a job's replies take it away later.
        return deleteClassFromFiles(classRow,
                                    tr("Do you really want to delete \"") + name + tr("\"?\nClass \"") + name
                                        + tr("\" will be unassigned in all files!"),
                                    QString())
               == ClassJobStart::DoneAtOnce;
    }
    auto *list = qobject_cast<QTreeWidget *>(watched);
    if (list != widgets.evaluationList && list != widgets.folderList)
        return false;
    const bool nothingSelected = list->selectedItems().isEmpty();
    deleteFilesFromStorage(list, {tr("Do you really want to permanently delete the file \"%1\" from your storage?"),
                                  tr("Do you really want to permanently delete %1 files from your storage?"),
                                  tr("The file \"%1\" could not be deleted.")});
    return nothingSelected && list == widgets.folderList;
}

bool MainWindow::handleEnterKey(QObject *watched)
{
    if (watched == widgets.classTree) {
        if (QTreeWidgetItem *row = widgets.classTree->currentItem())
            on_treeWidget_itemDoubleClicked(row, ClassTreeColumn::Class);
    } else if (watched == widgets.evaluationList) {
        QTreeWidgetItem *row = widgets.evaluationList->currentItem();
        if (row && !commentBeingEdited())
            on_treeWidget_fileView_itemDoubleClicked(row, FileViewColumn::Name);
    } else if (watched == widgets.folderList && !calculating) {
        if (QTreeWidgetItem *row = widgets.folderList->currentItem())
            showRow(row);
    }
    // Always passed on: the lists keep their own use of the key.
    return false;
}

bool MainWindow::handleStepKey(bool forward)
{
    if (commentBeingEdited())
        return false;
    // The buttons of the pane on show; without one the key moves the focused widget's own cursor.
    if ((forward ? widgets.evaluationNext : widgets.evaluationPrevious)->isVisible())
        stepThroughList(widgets.evaluationList, forward);
    else if ((forward ? widgets.folderNext : widgets.folderPrevious)->isVisible())
        stepThroughList(widgets.folderList, forward);
    else
        return false;
    return true;
}
