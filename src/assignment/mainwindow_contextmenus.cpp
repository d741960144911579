// The context menus of the class tree and the two file lists: each is built
// from ContextMenus' entries for what lies under the pointer, run through the
// injectable dialogs, and the chosen entry carried out here. Everything that
// starts a job or writes a file asks the job guard first.
#include "app/mainwindow.h"

#include "assignment/assignsecondclassdialog.h"
#include "assignment/contextmenus.h"
#include "classmodel/changeshortcutdialog.h"
#include "classmodel/classmodeltext.h"
#include "classmodel/classnamerules.h"
#include "classmodel/insertitemdialog.h"
#include "classmodel/renamedialog.h"
#include "common/evaluationmode.h"
#include "common/settingskeys.h"
#include "common/textfilewriter.h"
#include "common/treecolumns.h"
#include "common/userdialogs.h"
#include "filelist/classtreerows.h"
#include "platform/desktoptheme.h"
#include "ui_mainwindow.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QTreeWidgetItemIterator>

#include <algorithm>

using ContextMenus::Command;
using ContextMenus::Entry;

namespace {

// Read each time a menu opens: the theme or the desktop's look may have changed since.
ContextMenus::IconSet currentIcons()
{
    return ContextMenus::iconSet(readSetting(SettingKeys::theme), systemPrefersLightTheme());
}

} // namespace

const Entry *MainWindow::runContextMenu(QTreeWidget *list, const QPoint &pos, const QVector<Entry> &entries)
{
    if (entries.isEmpty())
        return nullptr;
    QMenu menu(this);
    ContextMenus::fill(&menu, entries, this);
    return ContextMenus::chosenEntry(entries, userDialogs().runMenu(&menu, list->viewport()->mapToGlobal(pos)));
}

// --- The class tree ------------------------------------------------------------------

void MainWindow::rightClickMenu(const QPoint &pos)
{
    if (calculating)
        return;
    QTreeWidget *tree = widgets.classTree;
    QTreeWidgetItem *row = tree->itemAt(pos);
    ContextMenus::ClassTreeState state;
    state.mode = evaluationMode;
    state.topLevelRows = tree->topLevelItemCount();
    if (!row)
        state.place = ContextMenus::TreePlace::Nothing;
    else if (row->parent())
        state.place = ContextMenus::TreePlace::Subclass;
    else if (row->text(ClassTreeColumn::Class) == ClassNames::unassigned)
        state.place = ContextMenus::TreePlace::Unassigned;
    else
        state.place = ContextMenus::TreePlace::Class;
    state.hasSubclasses = row && row->childCount() > 0;
    // Kept here: the chosen entry points into the list while it runs.
    const ContextMenus::Entries entries = ContextMenus::classTreeEntries(state);
    if (const Entry *entry = runContextMenu(tree, pos, entries))
        runClassTreeEntry(*entry, row);
}

void MainWindow::runClassTreeEntry(const Entry &entry, QTreeWidgetItem *row)
{
    switch (entry.command) {
    case Command::AddClass:
        addClassFromMenu(row, false);
        break;
    case Command::AddSubclass:
        addClassFromMenu(row, true);
        break;
    case Command::DeleteClass:
    case Command::DeleteSubclass: {
        const QString name = row->text(ClassTreeColumn::Class);
        const QString question = entry.command == Command::DeleteClass
                                     ? tr("Do you really want to delete class ") + name + tr("?\nClass ") + name
                                           + tr(" will be unassigned in all files!")
                                     : tr("Do you really want to delete subclass ") + name + tr("?\nSubclass ") + name
                                           + tr(" will be unassigned in all files!");
        deleteClassFromFiles(row, question, tr("Please wait"));
        break;
    }
    case Command::RenameClass:
    case Command::RenameSubclass:
        renameClassFromMenu(row);
        break;
    case Command::ChangeShortcut: {
        if (!mayStart(JobGuard::Action::EditClassTree))
            return;
        ChangeShortcutDialog dialog(this, usedShortcuts());
        dialog.setWindowTitle(tr("Set new shortcut"));
        // With every letter taken there is nothing to choose: the class keeps its own.
        if (userDialogs().runDialog(&dialog) == QDialog::Accepted && !dialog.getShortcut().isEmpty())
            row->setText(ClassTreeColumn::Shortcut, dialog.getShortcut());
        break;
    }
    case Command::SaveModel:
        saveClassModel();
        break;
    default:
        break;
    }
}

QStringList MainWindow::usedShortcuts() const
{
    QStringList shortcuts;
    for (QTreeWidgetItemIterator it(widgets.classTree); *it; ++it)
        shortcuts << (*it)->text(ClassTreeColumn::Shortcut);
    return shortcuts;
}

bool MainWindow::classNameTaken(const QString &name)
{
    if (ClassTreeRows::firstNamed(widgets.classTree, name) == nullptr)
        return false;
    userDialogs().message({nullptr, QMessageBox::NoIcon, QString(), tr("Name already exists.")});
    return true;
}

void MainWindow::addClassFromMenu(QTreeWidgetItem *row, bool subclass)
{
    if (!mayStart(JobGuard::Action::EditClassTree))
        return;
    InsertItemDialog dialog(this, usedShortcuts());
    dialog.setWindowTitle(subclass ? tr("Set new subclass parameter") : tr("Set new class parameter"));
    dialog.setLabelText(subclass ? tr("Subclass name") : tr("Class name"));
    if (userDialogs().runDialog(&dialog) != QDialog::Accepted)
        return;
    // The tree shows names trimmed, as the recordings' classes are read back.
    const QString name = dialog.getName().trimmed();
    if (name.isEmpty() || classNameTaken(name))
        return;
    QTreeWidget *tree = widgets.classTree;
    auto *created = new QTreeWidgetItem(QStringList{name, QStringLiteral("0"), dialog.getShortcut()});
    if (subclass) {
        row->addChild(created);
        row->setExpanded(true);
    } else {
        tree->insertTopLevelItem(row ? tree->indexOfTopLevelItem(row) + 1 : 0, created);
    }
    created->setExpanded(true);
    tree->setItemWidget(created, ClassTreeColumn::Assign, classAssignButton(name, evaluationMode, subclass));
}

void MainWindow::renameClassFromMenu(QTreeWidgetItem *row)
{
    // Asked before the questions: a refusal after them would waste the user's answers.
    if (!mayStart(JobGuard::Action::ChangeClassTree))
        return;
    const QString name = row->text(ClassTreeColumn::Class);
    const bool subclass = row->parent() != nullptr;
    const QString question =
        subclass ? tr("Do you really want to rename subclass ") + name + tr("?\nAll related files will be updated!")
                 : tr("Do you really want to rename class ") + name + tr("?\nAll related files will be updated!");
    if (!userDialogs().confirm(nullptr, tr("Warning"), question))
        return;
    RenameDialog dialog(this, name);
    dialog.setWindowTitle(subclass ? tr("Rename subclass") : tr("Rename class"));
    if (userDialogs().runDialog(&dialog) != QDialog::Accepted)
        return;
    const QString newName = dialog.getName().trimmed();
    // The unchanged name is taken too, by the row itself.
    if (newName.isEmpty() || classNameTaken(newName))
        return;
    renameClassInFiles(row, newName);
}

void MainWindow::saveClassModel()
{
    if (!mayStart(JobGuard::Action::EditClassTree))
        return;
    const QString path = userDialogs().saveFileNameWithSuffix(
        this, tr("Save Model File"), QCoreApplication::applicationDirPath(), tr("TXT Files (*.txt)"));
    if (path.isEmpty())
        return;
    ClassModel model;
    QTreeWidget *tree = widgets.classTree;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *cls = tree->topLevelItem(i);
        const QString name = cls->text(ClassTreeColumn::Class);
        if (name == ClassNames::unassigned || name == ClassNames::detectedNoCall)
            continue;
        ClassModelEntry entry{name, cls->text(ClassTreeColumn::Shortcut), {}};
        for (int k = 0; k < cls->childCount(); ++k)
            entry.subclasses.append(
                {cls->child(k)->text(ClassTreeColumn::Class), cls->child(k)->text(ClassTreeColumn::Shortcut), {}});
        model.append(entry);
    }
    writeTextFile(path, ClassModelText::write(model));
}

// --- The file lists ----------------------------------------------------------------------

ContextMenus::FileListState MainWindow::fileListState(QTreeWidget *list, const QTreeWidgetItem *pointed) const
{
    const QList<QTreeWidgetItem *> selected = list->selectedItems();
    ContextMenus::FileListState state;
    state.mode = evaluationMode;
    state.selected = selected.size();
    for (int column = FileViewColumn::Class1; column <= FileViewColumn::Class4; ++column)
        state.pointedClasses << pointed->text(column);
    state.anySelectedClassified = std::any_of(selected.cbegin(), selected.cend(), [](const QTreeWidgetItem *row) {
        return !row->text(FileViewColumn::Class1).isEmpty();
    });
    return state;
}

void MainWindow::rightClickMenu_2(const QPoint &pos)
{
    QTreeWidget *list = widgets.folderList;
    const QTreeWidgetItem *pointed = list->itemAt(pos);
    if (calculating || !pointed)
        return;
    const ContextMenus::Entries entries = ContextMenus::folderListEntries(fileListState(list, pointed), currentIcons());
    if (const Entry *entry = runContextMenu(list, pos, entries))
        runFileListEntry(list, *entry);
}

void MainWindow::rightClickMenu_fileView(const QPoint &pos)
{
    QTreeWidget *list = widgets.evaluationList;
    const QTreeWidgetItem *pointed = list->itemAt(pos);
    // A row waiting for its header, or a "No call" row of the evaluations with proposals, has no flags.
    if (calculating || !pointed || !(pointed->flags() & Qt::ItemIsEnabled))
        return;
    const ContextMenus::Entries entries =
        ContextMenus::evaluationListEntries(fileListState(list, pointed), currentIcons());
    if (const Entry *entry = runContextMenu(list, pos, entries))
        runFileListEntry(list, *entry);
}

void MainWindow::runFileListEntry(QTreeWidget *list, const Entry &entry)
{
    const QList<QTreeWidgetItem *> selected = list->selectedItems();
    const bool evaluationList = list == widgets.evaluationList;
    switch (entry.command) {
    case Command::ExportCsv:
        if (!selected.isEmpty())
            exportCSVFileFromAction(selected);
        break;
    case Command::ExportTavron:
        if (!selected.isEmpty())
            exportTavronFileFromAction(selected);
        break;
    case Command::CopyToClipboard: {
        if (selected.isEmpty())
            return;
        QStringList paths;
        for (const QTreeWidgetItem *row : selected)
            paths << wavDirectory + QLatin1Char('/') + row->text(FileViewColumn::Name);
        QGuiApplication::clipboard()->setMimeData(ContextMenus::fileCopyData(paths));
        break;
    }
    case Command::DeleteFiles:
        if (evaluationList)
            deleteFilesFromStorage(list, {tr("Do you really want to permanently delete the File \"%1\" from your "
                                             "Storage?"),
                                          tr("Do you really want to permanently delete %1 Files from your Storage?"),
                                          tr("The File %1 could not be deleted.")});
        else
            deleteFilesFromStorage(list, {tr("Do you really want to permanently delete the file \"%1\" from your "
                                             "storage?"),
                                          tr("Do you really want to permanently delete %1 files from your storage?"),
                                          tr("The file %1 could not be deleted.")});
        break;
    case Command::Assign:
        assignFromMenu(selected);
        break;
    case Command::AssignAdditional:
        if (!selected.isEmpty())
            assignAdditionalClass(selected.first());
        break;
    case Command::UnassignAll:
        unassignAllClasses(selected);
        break;
    case Command::ResetAll:
        if (mayStart(JobGuard::Action::StartJob)
            && userDialogs().confirm(nullptr, tr("Warning"),
                                     tr("Reset will delete Class Assignments and Tavron Proposals\nof all Files in "
                                        "your current loaded Folder.")))
            resetAllFiles();
        break;
    default:
        break;
    }
}

QString MainWindow::chooseClass(const QStringList &candidates, const QString &title, const QString &noneText)
{
    if (candidates.isEmpty()) {
        userDialogs().information(nullptr, QString(), noneText);
        return QString();
    }
    AssignSecondClassDialog dialog(this, candidates);
    dialog.setWindowTitle(title);
    if (userDialogs().runDialog(&dialog) != QDialog::Accepted)
        return QString();
    return dialog.getClass();
}

void MainWindow::assignFromMenu(const QList<QTreeWidgetItem *> &rows)
{
    if (rows.isEmpty() || !mayStart(JobGuard::Action::StartJob))
        return;
    const QString name = chooseClass(ContextMenus::classCandidates(widgets.classTree, {}), tr("Assign Class"),
                                     tr("Please add new Class to Class Tree, before assigning a Class."));
    if (name.isEmpty())
        return;
    QTreeWidgetItem *classRow = ClassTreeRows::topLevelNamed(widgets.classTree, name);
    // No overwrite question: the entry is offered for recordings without a class.
    startAssignment(classRow ? classRow : ClassTreeRows::firstNamed(widgets.classTree, name), rows, QString());
}

void MainWindow::assignAdditionalClass(QTreeWidgetItem *row)
{
    if (!mayStart(JobGuard::Action::WriteRecording))
        return;
    QStringList carried;
    for (int column = FileViewColumn::Class1; column <= FileViewColumn::Class4; ++column)
        carried << row->text(column);
    const QString name =
        chooseClass(ContextMenus::classCandidates(widgets.classTree, carried), tr("Assign additional Class"),
                    tr("Please add new Class to Class Tree, before assigning a second Class."));
    if (name.isEmpty())
        return;
    ClassRowTexts single;
    single.name = name;
    single.countText = ClassRowTexts::singleWriteMarker;
    // Until its reply the row must stay as the worker was sent it: nothing else starts or writes.
    jobGuard.start(JobGuard::Job::Bext);
    emit signalWriteFileBextExtended(0, wavDirectory, single, jobRows({row}));
}
