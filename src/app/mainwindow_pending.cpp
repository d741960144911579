// Main-window operations whose subsystems are not built yet. Each body moves
// to its subsystem's mainwindow_<subsystem>.cpp when that subsystem lands;
// until then the form's automatic connections and the settings dialog's
// signals reach these and nothing happens.
#include "app/mainwindow.h"

#include <QPoint>
#include <QTreeWidgetItem>

void MainWindow::rightClickMenu(const QPoint &) {}            // class assignment (src/assignment)
void MainWindow::rightClickMenu_2(const QPoint &) {}          // class assignment
void MainWindow::rightClickMenu_fileView(const QPoint &) {}   // class assignment

void MainWindow::on_actionEvaluate_Folder_triggered() {}      // folder loading
void MainWindow::on_actionManual_Review_of_RECORDER_VOD_Offline_Analysis_triggered() {}   // folder loading
void MainWindow::on_actionTavron_Folder_Evaluation_triggered() {}   // folder loading
void MainWindow::on_actionExport_CSV_File_triggered() {}         // exports (src/export)
void MainWindow::on_actionExport_Tavron_File_triggered() {}      // exports
void MainWindow::on_actionCopy_Files_to_other_Folder_triggered() {}   // exports: copying

void MainWindow::on_pushButton_3_clicked() {}   // folder loading: navigation
void MainWindow::on_pushButton_4_clicked() {}   // folder loading: navigation
void MainWindow::on_pushButton_7_clicked() {}   // folder loading: navigation
void MainWindow::on_pushButton_8_clicked() {}   // folder loading: navigation

void MainWindow::on_treeWidget_itemDoubleClicked(QTreeWidgetItem *, int) {}            // folder loading
void MainWindow::on_treeWidget_fileView_itemDoubleClicked(QTreeWidgetItem *, int) {}   // folder loading
void MainWindow::on_treeWidget_2_itemDoubleClicked(QTreeWidgetItem *, int) {}          // folder loading
void MainWindow::on_treeWidget_fileView_itemSelectionChanged() {}                      // folder loading
void MainWindow::on_treeWidget_2_itemSelectionChanged() {}                             // folder loading
void MainWindow::on_treeWidget_fileView_itemChanged(QTreeWidgetItem *, int) {}         // folder loading: comments
void MainWindow::on_treeWidget_2_itemChanged(QTreeWidgetItem *, int) {}                // folder loading: comments
