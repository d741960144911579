// The window's keys, seen by its application-wide event filter before any
// widget: a handler returns true to consume a key, false to pass it on to
// the widget with the focus.
#include "app/mainwindow.h"

#include "app/evaluationmode.h"
#include "app/treecolumns.h"
#include "assignment/classtextrules.h"
#include "display/myrectrangemarker.h"
#include "ui_mainwindow.h"

#include <QCheckBox>
#include <QKeyEvent>

#include <qwt_plot.h>
#include <qwt_plot_canvas.h>

bool MainWindow::handleKeyPress(QObject *watched, QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Escape && watched == spectrogramPlot->canvas() && ui->toolButton->isChecked()) {
        selectionRectMarker->hide();
        spectrogramPlot->replot();
    }
    if (key == Qt::Key_Space)
        return handleSpaceKey();
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return handleClassShortcut(event);
    return handlePlayerKey(event);
}

bool MainWindow::commentBeingEdited() const
{
    const QTreeWidget *lists[] = {ui->treeWidget_fileView, ui->treeWidget_2};
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
    QTreeWidget *list = ui->treeWidget_fileView;
    if (!list->isVisible() || commentBeingEdited())
        return false;
    // Shift and Caps Lock make no difference; Ctrl gives a control character, which no shortcut matches.
    const QString shortcut = QLatin1Char('<') + event->text().toUpper() + QLatin1Char('>');
    const QList<QTreeWidgetItem *> classRows =
        ui->treeWidget->findItems(shortcut, Qt::MatchExactly | Qt::MatchRecursive, ClassTreeColumn::Shortcut);
    const QList<QTreeWidgetItem *> rows = list->selectedItems();
    if (classRows.isEmpty() || rows.isEmpty() || !jobAllows(JobGuard::Action::StartJob))
        return false;
    return startAssignment(classRows.first(), rows, QString());
}

bool MainWindow::handleSpaceKey()
{
    // First: a blank typed into a comment belongs to the comment, whatever else goes on.
    if (commentBeingEdited())
        return false;
    if (calculating)
        return true;
    QTreeWidget *list = ui->treeWidget_fileView;
    if (!list->isVisible()
        || (evaluationMode != EvaluationMode::Tavron && evaluationMode != EvaluationMode::RecorderReview)
        || !jobAllows(JobGuard::Action::WriteRecording))
        return false;
    QTreeWidgetItem *row = list->currentItem();
    if (!row || row->isDisabled()) {
        list->setCurrentItem(list->topLevelItem(0));
        row = list->currentItem();
    }
    if (!row || row->isDisabled())
        return true;
    QCheckBox *box = acceptBox(row);
    const bool accept = box && !box->isChecked();
    // Without a box, or with a proposal that has no entry, there is nothing to accept: on to the next row.
    const bool nothingToDo =
        !box || (accept && ClassTextRules::proposalClasses(row->text(FileViewColumn::Proposal)).isEmpty());
    if (!nothingToDo) {
        if (!writeAcceptance(row, accept))
            return true;
        setAcceptBox(box, accept);
        showAcceptance(row, accept);
    }
    on_pushButton_8_clicked();
    // Consumed: passed on, it would reach a focused accept box, which would toggle back what was just written.
    return true;
}
