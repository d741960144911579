#include "assignment/contextmenus.h"

#include "classmodel/classnamerules.h"
#include "common/evaluationmode.h"
#include "common/themecode.h"
#include "common/treecolumns.h"

#include <QCoreApplication>
#include <QHash>
#include <QIcon>
#include <QMenu>
#include <QMimeData>
#include <QTreeWidget>
#include <QUrl>

namespace ContextMenus {

namespace {

const QString deleteIcon = QStringLiteral(":/images/red_cross.png");
const QString assignIcon = QStringLiteral(":/images/green_arrow_left.png");
const QString reassignIcon = QStringLiteral(":/images/orange_arrows.png");
const QString unassignIcon = QStringLiteral(":/images/red_arrow_right.png");
// Not translated: the submenus and their slot entries read the same in every language.
const QString reassignMenu = QStringLiteral("Reassign");
const QString unassignMenu = QStringLiteral("Unassign");

QString tr(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

class Builder
{
public:
    Builder &action(const QString &text, Command command, const QString &icon = QString())
    {
        Entry e;
        e.text = text;
        e.command = command;
        e.icon = icon;
        m_entries << e;
        return *this;
    }
    Builder &separator()
    {
        Entry e;
        e.kind = Entry::Kind::Separator;
        m_entries << e;
        return *this;
    }
    Builder &submenu(const QString &text, const QString &icon)
    {
        Entry e;
        e.kind = Entry::Kind::Submenu;
        e.text = text;
        e.icon = icon;
        m_entries << e;
        return *this;
    }
    Builder &inSubmenu(const QString &submenu, const QString &text, Command command,
                       ClassSlotAction slotAction = ClassSlotAction::None, int classSlot = 0)
    {
        Entry e;
        e.text = text;
        e.submenu = submenu;
        e.command = command;
        e.slotAction = slotAction;
        e.classSlot = classSlot;
        m_entries << e;
        return *this;
    }
    Entries entries() const { return m_entries; }

private:
    Entries m_entries;
};

// Class 1, then each further filled slot, each reaching its own slot of the window.
void slotEntries(Builder &b, const QString &submenu, ClassSlotAction action, const QStringList &classes)
{
    b.inSubmenu(submenu, QStringLiteral("Class 1"), Command::None, action, 1);
    for (int slot = 2; slot <= 4; ++slot) {
        if (!classes.value(slot - 1).isEmpty())
            b.inSubmenu(submenu, QStringLiteral("Class %1").arg(slot), Command::None, action, slot);
    }
}

// Exports, copy and delete, worded for one file or several; the Tavron export only where it has classes to take.
void fileEntries(Builder &b, bool one, bool withTavron, const IconSet &icons)
{
    b.action(one ? tr("&Export selected File as CSV File") : tr("&Export selected Files as CSV File"),
             Command::ExportCsv, icons.csv);
    if (withTavron)
        b.action(one ? tr("&Export selected File as Tavron File") : tr("&Export selected Files as Tavron File"),
                 Command::ExportTavron, icons.tavron);
    b.separator();
    b.action(one ? tr("&Copy File to Clipboard") : tr("&Copy Files to Clipboard"), Command::CopyToClipboard,
             icons.copy);
    b.action(one ? tr("&Delete File") : tr("&Delete Files"), Command::DeleteFiles, deleteIcon);
}

} // namespace

Entries classTreeEntries(const ClassTreeState &state)
{
    Builder b;
    if (state.mode != EvaluationMode::Manual)
        return b.entries();
    const QString addClass = tr("&Add class");
    const QString save = tr("&Save class model");
    switch (state.place) {
    case TreePlace::Nothing:
    case TreePlace::Unassigned:
        b.action(addClass, Command::AddClass);
        // The model to save holds every class but "Unassigned".
        if (state.topLevelRows > (state.place == TreePlace::Unassigned ? 1 : 0))
            b.separator().action(save, Command::SaveModel);
        break;
    case TreePlace::Class:
        b.action(addClass, Command::AddClass).action(tr("&Add subclass"), Command::AddSubclass).separator();
        if (!state.hasSubclasses)
            b.action(tr("&Delete class"), Command::DeleteClass).separator();
        b.action(tr("&Rename class"), Command::RenameClass)
            .action(tr("&Change shortcut"), Command::ChangeShortcut)
            .separator()
            .action(save, Command::SaveModel);
        break;
    case TreePlace::Subclass:
        b.action(tr("&Delete subclass"), Command::DeleteSubclass)
            .separator()
            .action(tr("&Rename subclass"), Command::RenameSubclass)
            .action(tr("&Change shortcut"), Command::ChangeShortcut)
            .separator()
            .action(save, Command::SaveModel);
        break;
    }
    return b.entries();
}

IconSet iconSet(int themeCode, bool systemPrefersLight)
{
    bool light = systemPrefersLight;
    if (themeCode == ThemeCode::Light)
        light = true;
    else if (themeCode == ThemeCode::Dark)
        light = false;
    const QString look = light ? QStringLiteral("light") : QStringLiteral("dark");
    return {QStringLiteral(":/images/csv_export_%1.png").arg(look),
            QStringLiteral(":/images/tavron_export_%1.png").arg(look),
            QStringLiteral(":/images/copy_%1.png").arg(look)};
}

Entries folderListEntries(const FileListState &state, const IconSet &icons)
{
    Builder b;
    fileEntries(b, state.selected == 1, state.anySelectedClassified, icons);
    return b.entries();
}

Entries evaluationListEntries(const FileListState &state, const IconSet &icons)
{
    Builder b;
    const bool one = state.selected == 1;
    const QStringList &classes = state.pointedClasses;
    if (one && classes.value(0).isEmpty()) {
        b.action(tr("&Assign"), Command::Assign, assignIcon).separator();
        // One unclassified recording has no class for Tavron to take.
        fileEntries(b, true, false, icons);
    } else if (one) {
        if (classes.value(3).isEmpty())
            b.action(tr("&Assign additional Class"), Command::AssignAdditional, assignIcon);
        b.submenu(reassignMenu, reassignIcon);
        slotEntries(b, reassignMenu, ClassSlotAction::Reassign, classes);
        b.submenu(unassignMenu, unassignIcon);
        slotEntries(b, unassignMenu, ClassSlotAction::Unassign, classes);
        if (!classes.value(1).isEmpty())
            b.inSubmenu(unassignMenu, tr("&All Classes"), Command::UnassignAll);
        b.separator();
        fileEntries(b, true, true, icons);
    } else {
        if (state.anySelectedClassified)
            b.action(tr("&Unassign all Classes"), Command::UnassignAll, unassignIcon);
        else
            b.action(tr("&Assign"), Command::Assign, assignIcon);
        b.separator();
        fileEntries(b, false, state.anySelectedClassified, icons);
    }
    if (EvaluationMode::hasProposals(state.mode))
        b.separator().action(tr("&Reset all Files"), Command::ResetAll);
    return b.entries();
}

QVector<QAction *> addEntries(QMenu *menu, const Entries &entries)
{
    QVector<QAction *> actions;
    actions.reserve(entries.size());
    QHash<QString, QMenu *> submenus;
    for (const Entry &e : entries) {
        QAction *action = nullptr;
        switch (e.kind) {
        case Entry::Kind::Separator:
            menu->addSeparator();
            break;
        case Entry::Kind::Submenu:
            submenus.insert(e.text, menu->addMenu(QIcon(e.icon), e.text));
            break;
        case Entry::Kind::Action: {
            QMenu *target = e.submenu.isEmpty() ? menu : submenus.value(e.submenu);
            action = e.icon.isEmpty() ? target->addAction(e.text) : target->addAction(QIcon(e.icon), e.text);
            break;
        }
        }
        actions << action;
    }
    return actions;
}

const Entry *chosenEntry(const Entries &entries, const QAction *chosen)
{
    if (!chosen)
        return nullptr;
    const auto *holder = qobject_cast<const QMenu *>(chosen->parent());
    const QString submenu = holder ? holder->title() : QString();
    for (const Entry &e : entries) {
        if (e.kind == Entry::Kind::Action && e.text == chosen->text() && e.submenu == submenu)
            return &e;
    }
    return nullptr;
}

QStringList classCandidates(QTreeWidget *tree, const QStringList &carried)
{
    const auto offered = [&carried](const QTreeWidgetItem *row) {
        const QString name = row->text(ClassTreeColumn::Class);
        // "Detected No Call" counts unclassified recordings; stored as a class, the next load would drop it.
        return name != ClassNames::unassigned && name != ClassNames::detectedNoCall && !carried.contains(name);
    };
    QStringList names;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *cls = tree->topLevelItem(i);
        if (offered(cls))
            names << cls->text(ClassTreeColumn::Class);
        for (int k = 0; k < cls->childCount(); ++k) {
            if (offered(cls->child(k)))
                names << cls->child(k)->text(ClassTreeColumn::Class);
        }
    }
    return names;
}

QMimeData *fileCopyData(const QStringList &paths)
{
    QList<QUrl> urls;
    urls.reserve(paths.size());
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    auto *data = new QMimeData;
    data->setUrls(urls);
    static const char copyAndLink[4] = {5, 0, 0, 0};
    data->setData(QStringLiteral("Preferred DropEffect"), QByteArray(copyAndLink, 4));
    return data;
}

} // namespace ContextMenus
