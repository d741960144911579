#pragma once

#include <QAction>
#include <QString>
#include <QStringList>
#include <QVector>

class QMenu;
class QMimeData;
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

/** The window's slots that the "Class 1" to "Class 4" entries of the "Reassign" and "Unassign" submenus reach. */
enum class ClassSlotAction { None, Reassign, Unassign };

struct Entry {
    enum class Kind { Action, Separator, Submenu };
    Kind kind = Kind::Action;
    QString text;    // an action's or a submenu's text; empty for a separator
    QString icon;    // resource path; empty for none
    QString submenu; // the text of the submenu that holds the action; empty on the menu itself
    Command command = Command::None;
    /**
     * The "Class N" entries carry no command: their triggered() reaches the
     * window's reassignNtriggered() or unassignNtriggered() for N = classSlot
     * (1 to 4), as fill connects them. None and 0 for the others.
     */
    ClassSlotAction slotAction = ClassSlotAction::None;
    int classSlot = 0;
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

/** Fills menu with entries, submenus included: the action made for each entry, null for the others. */
QVector<QAction *> addEntries(QMenu *menu, const Entries &entries);

/**
 * Fills menu with entries, submenus included, and connects each "Class N"
 * entry to receiver's reassignNtriggered() or unassignNtriggered(): the
 * window's slots, named at compile time.
 */
template <class Receiver>
void fill(QMenu *menu, const Entries &entries, Receiver *receiver)
{
    using Slot = void (Receiver::*)();
    const Slot reassign[] = {&Receiver::reassign1triggered, &Receiver::reassign2triggered,
                             &Receiver::reassign3triggered, &Receiver::reassign4triggered};
    const Slot unassign[] = {&Receiver::unassign1triggered, &Receiver::unassign2triggered,
                             &Receiver::unassign3triggered, &Receiver::unassign4triggered};
    const QVector<QAction *> actions = addEntries(menu, entries);
    for (int i = 0; i < entries.size(); ++i) {
        const Entry &e = entries.at(i);
        if (e.slotAction == ClassSlotAction::None || e.classSlot < 1 || e.classSlot > 4)
            continue;
        const Slot *targets = e.slotAction == ClassSlotAction::Reassign ? reassign : unassign;
        QObject::connect(actions.at(i), &QAction::triggered, receiver, targets[e.classSlot - 1]);
    }
}
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
