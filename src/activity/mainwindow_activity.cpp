#include "activity/plotfolderdialog.h"
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::on_actionActivity_Plot_triggered()
{
    // The activity of a folder: nothing to show for one recording.
    QTreeWidget *list = nullptr;
    QString title;
    if (evaluationMode == EvaluationMode::Folder) {
        list = widgets.folderList;
        title = tr("Activity Plots");
    } else if (EvaluationMode::isEvaluation(evaluationMode)) {
        list = widgets.evaluationList;
        title = tr("Activity Plot");
    } else {
        return;
    }
    // The charts and their plot-data exports count every row's classes: rows
    // whose headers are not read yet would count as unassigned.
    if (!mayStart(JobGuard::Action::ReadRows))
        return;
    plotFolderDialog dialog(this, wavDirectory, list);
    dialog.setWindowTitle(title);
    // As large as its contents ask, the zone's name whole; showing fits it to the screen.
    dialog.resize(dialog.size().expandedTo(dialog.sizeHint()));
    dialog.exec();
}
