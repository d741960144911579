#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class QAction;
class QMenu;
class QMimeData;
class QObject;
class QTreeWidget;

/**
 * The entries of the window's three context menus, worked out from what lies
 * under the pointer and what is selected, apart from any menu: the window
 * fills a menu from them, runs it, and acts on the entry whose text was chosen.
 */
namespace ContextMenus {

/** What an entry does when it is chosen. */
enum class Command {
    None,
    // Class tree
    AddClass,
    AddSubclass,
    DeleteClass,
    DeleteSubclass,
    RenameClass,
    RenameSubclass,
    ChangeShortcut,
    SaveModel,
    // File lists
    Assign,
    AssignAdditional,
    UnassignAll,
    ExportCsv,
    ExportTavron,
    CopyToClipboard,
    DeleteFiles,
    ResetAll,
};

struct Entry {
    enum class Kind { Action, Separator, Submenu };
    Kind kind = Kind::Action;
    QString text;    // an action's or a submenu's text; empty for a separator
    QString icon;    // resource path; empty for none
    QString submenu; // the text of the submenu that holds the action; empty on the menu itself
    Command command = Command::None;
    /**
     * The main window's slot that the action's triggered() reaches, as SLOT()
     * names it: the "Class 1" to "Class 4" entries of the "Reassign" and
     * "Unassign" submenus, which carry no command. Null for the others.
     */
    const char *member = nullptr;
};
using Entries = QVector<Entry>;

/** Where a right click on the class tree lands. */
enum class TreePlace { Nothing, Unassigned, Class, Subclass };

struct ClassTreeState {
    int mode = 0; // EvaluationMode
    TreePlace place = TreePlace::Nothing;
    int topLevelRows = 0;       // "Unassigned" included
    bool hasSubclasses = false; // the class under the pointer has some
};

/**
 * The class tree's entries: only a manual evaluation edits its class model;
 * in every other mode there are none and no menu is shown. A class with
 * subclasses cannot be deleted here, and "Unassigned" can only have a class
 * added below it.
 */
Entries classTreeEntries(const ClassTreeState &state);

/** The icons of the entries that follow the light or dark look. */
struct IconSet {
    QString csv;
    QString tavron;
    QString copy;
};

/** The light set for the light theme, the dark set for the dark one; otherwise as the desktop prefers. */
IconSet iconSet(int themeCode, bool systemPrefersLight);

struct FileListState {
    int mode = 0;                       // EvaluationMode
    int selected = 0;                   // rows selected
    QStringList pointedClasses;         // Class 1 to Class 4 of the row under the pointer
    bool anySelectedClassified = false; // some selected row has a Class 1
};

/** The folder list's entries: export, copy and delete; the Tavron export only with a classified row. */
Entries folderListEntries(const FileListState &state, const IconSet &icons);
/**
 * The evaluation list's entries. One selected row: the class operations the
 * row under the pointer allows (assign when it has no class; else add a
 * class while a slot is free, reassign or unassign each filled slot, and
 * unassign all with two classes or more). Several rows: unassign all when
 * one is classified, else assign. Then the exports, copy and delete; in the
 * Tavron evaluation and the review, the reset of the whole folder.
 */
Entries evaluationListEntries(const FileListState &state, const IconSet &icons);

/** Fills menu with entries, submenus included, connecting each entry that names a member to it on receiver. */
void fill(QMenu *menu, const Entries &entries, QObject *receiver);
/** The entry of chosen (an action of a menu filled from entries): by its text and its submenu's. Null for none. */
const Entry *chosenEntry(const Entries &entries, const QAction *chosen);

/**
 * The classes a recording can be given, in tree order, each class before its
 * subclasses: every class and subclass of tree but the pseudo-classes and
 * the names in carried (the recording's own). A subclass is offered even when
 * its class is carried.
 */
QStringList classCandidates(QTreeWidget *tree, const QStringList &carried);

/**
 * What copying recordings puts on the clipboard: their file URLs, and
 * "Preferred DropEffect" 5 (copy and link, 32-bit little-endian), so that a
 * file manager's paste copies rather than moves them.
 */
QMimeData *fileCopyData(const QStringList &paths);

} // namespace ContextMenus
