#include "testregistry.h"

#include "assignment/classtextrules.h"
#include "assignment/contextmenus.h"

#include <QMenu>
#include <QTest>

using namespace ContextMenus;

namespace {

// "&Add class|-|Reassign>|Reassign/Class 1": actions, separators, submenus and their actions.
QString render(const Entries &entries)
{
    QStringList parts;
    for (const Entry &e : entries) {
        if (e.kind == Entry::Kind::Separator)
            parts << QStringLiteral("-");
        else
            parts << (e.submenu.isEmpty() ? e.text : e.submenu + QLatin1Char('/') + e.text)
                         + (e.kind == Entry::Kind::Submenu ? QStringLiteral(">") : QString());
    }
    return parts.join(QLatin1Char('|'));
}

// Stands in for the window: notes which of its class-slot slots an entry reached.
class SlotReceiver : public QObject
{
    Q_OBJECT
public:
    QStringList reached;
public slots:
    void reassign1triggered() { reached << QStringLiteral("reassign1"); }
    void reassign2triggered() { reached << QStringLiteral("reassign2"); }
    void reassign3triggered() { reached << QStringLiteral("reassign3"); }
    void reassign4triggered() { reached << QStringLiteral("reassign4"); }
    void unassign1triggered() { reached << QStringLiteral("unassign1"); }
    void unassign2triggered() { reached << QStringLiteral("unassign2"); }
    void unassign3triggered() { reached << QStringLiteral("unassign3"); }
    void unassign4triggered() { reached << QStringLiteral("unassign4"); }
};

} // namespace

// The menus' entries for each state, their icons, and the texts of a replaced
// or removed class slot.
class TestContextMenus : public QObject
{
    Q_OBJECT
private slots:
    void classTree();
    void fileLists();
    void icons();
    void slotEntriesTriggerTheWindowsSlots();
    void classSlots();
};

void TestContextMenus::classTree()
{
    const QString save = "|-|&Save class model", edit = "&Rename class|&Change shortcut";
    const struct {
        int mode;
        TreePlace place;
        int topLevelRows;
        bool subclasses;
        QString entries;
    } cases[] = {
        {2, TreePlace::Nothing, 0, false, "&Add class"},
        {2, TreePlace::Nothing, 1, false, "&Add class" + save},
        {2, TreePlace::Unassigned, 1, false, "&Add class"},
        {2, TreePlace::Unassigned, 2, false, "&Add class" + save},
        {2, TreePlace::Class, 3, false, "&Add class|&Add subclass|-|&Delete class|-|" + edit + save},
        {2, TreePlace::Class, 3, true, "&Add class|&Add subclass|-|" + edit + save},
        {2, TreePlace::Subclass, 3, false, "&Delete subclass|-|&Rename subclass|&Change shortcut" + save},
        {0, TreePlace::Nothing, 3, false, ""},
        {1, TreePlace::Class, 3, false, ""},
        {3, TreePlace::Class, 3, false, ""},
        {4, TreePlace::Subclass, 3, false, ""},
    };
    for (const auto &c : cases)
        QCOMPARE(render(classTreeEntries({c.mode, c.place, c.topLevelRows, c.subclasses})), c.entries);
}

void TestContextMenus::fileLists()
{
    const QString one = "|-|&Copy File to Clipboard|&Delete File", many = "|-|&Copy Files to Clipboard|&Delete Files";
    const QString csv1 = "&Export selected File as CSV File", csvN = "&Export selected Files as CSV File";
    const QString tavron1 = "|&Export selected File as Tavron File", tavronN = "|&Export selected Files as Tavron File";
    const QString slots2 = "Reassign>|Reassign/Class 1|Reassign/Class 2|Unassign>|Unassign/Class 1|Unassign/Class 2|";
    const QString reset = "|-|&Reset all Files";
    const struct {
        bool folderList;
        int mode;
        int selected;
        QString pointed; // Class 1 to Class 4 of the row under the pointer
        bool anyClassified;
        QString entries;
    } cases[] = {
        {true, 1, 1, ",,,", false, csv1 + one},
        {true, 1, 3, ",,,", true, csvN + tavronN + many},
        {false, 2, 1, ",,,", false, "&Assign|-|" + csv1 + one},
        {false, 2, 1, "Pip,,,", true,
         "&Assign additional Class|Reassign>|Reassign/Class 1|Unassign>|Unassign/Class 1|-|" + csv1 + tavron1 + one},
        {false, 2, 1, "Pip,Nyc,,", true,
         "&Assign additional Class|" + slots2 + "Unassign/&All Classes|-|" + csv1 + tavron1 + one},
        {false, 3, 1, "A,B,C,D", true,
         "Reassign>|Reassign/Class 1|Reassign/Class 2|Reassign/Class 3|Reassign/Class 4|Unassign>|Unassign/Class 1|"
         "Unassign/Class 2|Unassign/Class 3|Unassign/Class 4|Unassign/&All Classes|-|"
             + csv1 + tavron1 + one + reset},
        {false, 2, 3, ",,,", true, "&Unassign all Classes|-|" + csvN + tavronN + many},
        {false, 4, 3, "Pip,,,", false, "&Assign|-|" + csvN + many + reset},
    };
    const IconSet icons = iconSet(1, true);
    for (const auto &c : cases) {
        const FileListState state{c.mode, c.selected, c.pointed.split(QLatin1Char(',')), c.anyClassified};
        QCOMPARE(render(c.folderList ? folderListEntries(state, icons) : evaluationListEntries(state, icons)),
                 c.entries);
    }
}

void TestContextMenus::icons()
{
    // Theme 1 light, 2 dark; 0 (or an unknown code) the desktop's preference.
    QCOMPARE(iconSet(1, false).copy + iconSet(2, true).csv + iconSet(0, true).tavron + iconSet(7, false).copy,
             QStringLiteral(":/images/copy_light.png:/images/csv_export_dark.png:/images/tavron_export_light.png"
                            ":/images/copy_dark.png"));
    QStringList names;
    for (const Entry &e : evaluationListEntries({2, 1, {"Pip", "", "", ""}, true}, iconSet(2, true))) {
        names << e.icon.section(QLatin1Char('/'), -1);
        QVERIFY2(e.icon.isEmpty() || QFile::exists(e.icon), qPrintable(e.icon));
    }
    QCOMPARE(names.join(QLatin1Char(',')),
             QStringLiteral("green_arrow_left.png,orange_arrows.png,,red_arrow_right.png,,,csv_export_dark.png,"
                            "tavron_export_dark.png,,copy_dark.png,red_cross.png"));
}

void TestContextMenus::slotEntriesTriggerTheWindowsSlots()
{
    // Four classes: every slot entry of both submenus, each connected to its own slot.
    const Entries entries = evaluationListEntries({2, 1, {"A", "B", "C", "D"}, true}, iconSet(1, true));
    SlotReceiver receiver;
    QMenu menu;
    fill(&menu, entries, &receiver);
    QStringList triggered;
    for (QAction *submenu : menu.actions()) {
        if (!submenu->menu())
            continue;
        for (QAction *action : submenu->menu()->actions()) {
            const Entry *entry = chosenEntry(entries, action);
            QVERIFY(entry);
            // A slot entry is no command of the menu's own: it reaches the window through its signal alone.
            QCOMPARE(entry->command == Command::None, entry->slotAction != ClassSlotAction::None);
            if (entry->slotAction == ClassSlotAction::None)
                continue;
            action->trigger();
            triggered << submenu->text() + QLatin1Char('/') + action->text();
        }
    }
    QCOMPARE(triggered.join(QLatin1Char(',')),
             QStringLiteral("Reassign/Class 1,Reassign/Class 2,Reassign/Class 3,Reassign/Class 4,Unassign/Class 1,"
                            "Unassign/Class 2,Unassign/Class 3,Unassign/Class 4"));
    QCOMPARE(receiver.reached.join(QLatin1Char(',')),
             QStringLiteral("reassign1,reassign2,reassign3,reassign4,unassign1,unassign2,unassign3,unassign4"));
}

void TestContextMenus::classSlots()
{
    // The row: file;proposal;accepted;class 1;class 2;class 3;class 4;comment; what is written ("-":
    // nothing) and the row's classes afterwards ("unchanged": the row stays).
    const struct {
        const char *operation;
        const char *row;
        const char *written;
        const char *classes;
    } cases[] = {
        {"reassign 2 Pip", "a.wav;;;Bat;No Call;;;", "Bat + Pip|", "Bat,Pip"},
        {"reassign 2 Nyc", "a.wav;Nyc, Pip;0;Pip;Bat;;;c", "Pip + Nyc|Nyc, Pip|1|c", "Pip,Nyc"},
        {"reassign 1 Nyc", "a.wav;Nyc, Pip;1;Pip;Bat;;;c", "Nyc + Bat|Nyc, Pip|0|c", "Nyc,Bat"},
        {"reassign 1 Bat", "a.WAV;;1;Pip;;;;x", "Bat||0|x", "Bat"},
        {"reassign 1 X", "a.wav;;;A;B;C;D;", "X + B + C + D|", "X,B,C,D"},
        {"reassign 4 D", "a.wav;A, B, C, D, E;0;A;B;C;X;", "A + B + C + D|A, B, C, D, E|1|", "A,B,C,D"},
        {"reassign 3 Nyc", "a.wav;;;A;B;;;", "-", "unchanged"},
        {"reassign 1 Nyc", "a.raw;;;Pip;;;;", "-", "Nyc"},
        {"unassign 1", "a.wav;;;Pip;;;;", "|", ""},
        {"unassign 1", "a.wav;Pip;1;Pip;;;;c", "|Pip|0|c", ""},
        {"unassign 1", "a.wav;;1;A;;;;", "||0|", ""},
        {"unassign 1", "a.wav;;;A;B;C;;", "B + C|", "B,C"},
        {"unassign 3", "a.wav;B, A;0;A;B;C;;n", "A + B|B, A|1|n", "A,B"},
        {"unassign 3", "a.wav;A, B, A, B, C;0;A;B;C;;", "A + B|A, B, A, B, C|1|", "A,B"},
        {"unassign 2", "a.wav;A, B;1;A;B;;;", "A|A, B|0|", "A"},
        {"unassign 4", "a.wav;;;A;B;;;", "-", "unchanged"},
    };
    const int columns[] = {FileViewColumn::Name,   FileViewColumn::Proposal, FileViewColumn::Accepted,
                           FileViewColumn::Class1, FileViewColumn::Class2,   FileViewColumn::Class3,
                           FileViewColumn::Class4, FileViewColumn::Comment};
    for (const auto &c : cases) {
        FileRowTexts copy;
        copy.setText(FileViewColumn::Date, QStringLiteral("01/06/24"));
        const QStringList texts = QString::fromUtf8(c.row).split(QLatin1Char(';'));
        for (int i = 0; i < 8; ++i)
            copy.setText(columns[i], texts.at(i));
        const QStringList op = QString::fromUtf8(c.operation).split(QLatin1Char(' '));
        const ClassTextRules::Outcome o = op.first() == QLatin1String("reassign")
                                              ? ClassTextRules::reassign(copy, op.at(1).toInt(), op.at(2))
                                              : ClassTextRules::unassignSlot(copy, op.at(1).toInt());
        QCOMPARE(o.write ? o.text : QStringLiteral("-"), QString::fromUtf8(c.written));
        QCOMPARE(o.rowChanges ? o.classes.join(QLatin1Char(',')) : QStringLiteral("unchanged"),
                 QString::fromUtf8(c.classes));
    }
}

QUILLON_TEST(TestContextMenus)
#include "tst_contextmenus.moc"
