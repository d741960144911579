// The context menus over a manual evaluation of 10,000 small recordings, each
// holding the class Bat: opening the evaluation list's menu and the folder
// list's with every row selected (target under 50 ms to the shown menu),
// "&Unassign all Classes" over all rows beside the assignment chain over the
// same rows (target: the same time per recording), and deleting every tenth
// row, 1,000 of 10,000, from storage, in the manual and the Tavron evaluation
// (target under 2 s).
#include "app/mainwindow.h"
#include "benchutil.h"
#include "common/treecolumns.h"
#include "evaluationbench.h"

#include <QItemSelectionModel>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int recordings = 10000;

using namespace evaluationbench;

// The slowest of five openings of list's menu over its first row, closed without a choice, in ms.
double menuOpening(QTreeWidget *list, void (MainWindow::*menu)(const QPoint &), MainWindow &w)
{
    list->selectAll();
    const QPoint pos = list->visualItemRect(list->topLevelItem(0)).center();
    double worst = 0;
    for (int i = 0; i < 5; ++i) {
        const double t0 = benchutil::nowSeconds();
        (w.*menu)(pos);
        worst = std::max(worst, benchutil::nowSeconds() - t0);
    }
    return worst * 1000.0;
}

double timed(MainWindow &w, const std::function<void()> &start)
{
    const double t0 = benchutil::nowSeconds();
    start();
    waitFor(w);
    return benchutil::nowSeconds() - t0;
}

// Deletes every tenth row of list from storage through its menu; seconds.
double deleteEveryTenth(MainWindow &w, ScriptedDialogs &dialogs)
{
    QTreeWidget *list = w.ui->treeWidget_fileView;
    QItemSelection tenths;
    for (int i = 0; i < list->topLevelItemCount(); i += 10)
        tenths.select(list->model()->index(i, 0), list->model()->index(i, FileViewColumn::Comment));
    list->selectionModel()->select(tenths, QItemSelectionModel::ClearAndSelect);
    return timed(w, [&]() {
        dialogs.menuAnswers << QStringLiteral("&Delete Files");
        dialogs.messageAnswers << QMessageBox::Ok;
        w.rightClickMenu_fileView(list->visualItemRect(list->topLevelItem(0)).center());
    });
}

} // namespace

int main(int argc, char *argv[])
{
    BenchApplication application(argc, argv);

    QTemporaryDir dir;
    writeRecordings(dir.path(), recordings, "Bat|a comment");
    ScriptedDialogs dialogs;
    MainWindow w;
    evaluate(w, dialogs, dir.path());
    QTreeWidget *list = w.ui->treeWidget_fileView;

    const double evaluationMenu = menuOpening(list, &MainWindow::rightClickMenu_fileView, w);

    list->selectAll();
    const double unassigning = timed(w, [&]() {
        dialogs.menuAnswers << QStringLiteral("&Unassign all Classes");
        w.rightClickMenu_fileView(list->visualItemRect(list->topLevelItem(0)).center());
    });
    list->selectAll();
    QTreeWidgetItem *bat = w.ui->treeWidget->topLevelItem(0);
    const double assigning = timed(w, [&]() { w.startAssignment(bat, list->selectedItems(), QString()); });

    const double deleting = deleteEveryTenth(w, dialogs);
    const int left = list->topLevelItemCount();

    dialogs.fileAnswers << dir.path();
    w.ui->actionOpen_Folder->trigger();
    waitFor(w);
    const double folderMenu = menuOpening(w.ui->treeWidget_2, &MainWindow::rightClickMenu_2, w);

    // The Tavron evaluation: every row carries an accept box.
    QTemporaryDir tavronDir;
    writeRecordings(tavronDir.path(), recordings, "Nyc|Nyc|1|a comment");
    dialogs.fileAnswers << tavronDir.path();
    dialogs.messageAnswers << QMessageBox::Ok;
    w.ui->actionTavron_Folder_Evaluation->trigger();
    waitFor(w);
    const double deletingWithBoxes = deleteEveryTenth(w, dialogs);

    std::printf("menu with %d rows selected: evaluation list %.1f ms, folder list (%d rows) %.1f ms (target under "
                "50 ms)\n",
                recordings, evaluationMenu, w.ui->treeWidget_2->topLevelItemCount(), folderMenu);
    std::printf("unassign all classes of %d recordings: %.2f s, %.3f ms per recording; assigning them: %.2f s, "
                "%.3f ms per recording (target: the same per recording)\n",
                recordings, unassigning, unassigning * 1000.0 / recordings, assigning, assigning * 1000.0 / recordings);
    std::printf("deleting every tenth of %d rows: %.2f s, %d rows left; with accept boxes %.2f s (target under 2 s)\n",
                recordings, deleting, left, deletingWithBoxes);
    return 0;
}
