#include "testregistry.h"

#include "app/evaluationmode.h"
#include "app/themecode.h"
#include "assignment/assignsecondclassdialog.h"
#include "assignment/classtextrules.h"
#include "assignment/contextmenus.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
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
        else if (e.kind == Entry::Kind::Submenu)
            parts << e.text + QLatin1Char('>');
        else
            parts << (e.submenu.isEmpty() ? e.text : e.submenu + QLatin1Char('/') + e.text);
    }
    return parts.join(QLatin1Char('|'));
}

} // namespace

// The menus' entries for each state, the icon sets, the texts of a replaced
// or removed class slot, and the class dialog.
class TestContextMenus : public QObject
{
    Q_OBJECT
private slots:
    void classTree_data();
    void classTree();
    void fileLists_data();
    void fileLists();
    void icons();
    void classSlots_data();
    void classSlots();
    void dialog();
};

void TestContextMenus::classTree_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("place");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("subclasses");
    QTest::addColumn<QString>("entries");
    const int none = int(TreePlace::Nothing), unassigned = int(TreePlace::Unassigned), cls = int(TreePlace::Class),
              sub = int(TreePlace::Subclass);
    const QString add = "&Add class", save = "|-|&Save class model";
    QTest::newRow("empty tree") << 2 << none << 0 << false << add;
    QTest::newRow("empty space") << 2 << none << 1 << false << add + save;
    QTest::newRow("Unassigned alone") << 2 << unassigned << 1 << false << add;
    QTest::newRow("Unassigned") << 2 << unassigned << 2 << false << add + save;
    QTest::newRow("class") << 2 << cls << 3 << false
                           << "&Add class|&Add subclass|-|&Delete class|-|&Rename class|&Change shortcut" + save;
    QTest::newRow("class with subclasses") << 2 << cls << 3 << true
                                           << "&Add class|&Add subclass|-|&Rename class|&Change shortcut" + save;
    QTest::newRow("subclass") << 2 << sub << 3 << false
                              << "&Delete subclass|-|&Rename subclass|&Change shortcut" + save;
    for (int mode : {0, 1, 3, 4})
        QTest::addRow("mode %d", mode) << mode << cls << 3 << false << QString();
}

void TestContextMenus::classTree()
{
    QFETCH(int, mode);
    QFETCH(int, place);
    QFETCH(int, rows);
    QFETCH(bool, subclasses);
    QFETCH(QString, entries);
    QCOMPARE(render(classTreeEntries({mode, TreePlace(place), rows, subclasses})), entries);
}

void TestContextMenus::fileLists_data()
{
    QTest::addColumn<bool>("folderList");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("pointed");   // Class 1 to Class 4 of the row under the pointer
    QTest::addColumn<bool>("anyClassified");
    QTest::addColumn<QString>("entries");
    const QString one = "|-|&Copy File to Clipboard|&Delete File";
    const QString many = "|-|&Copy Files to Clipboard|&Delete Files";
    const QString csv1 = "&Export selected File as CSV File", csvN = "&Export selected Files as CSV File";
    const QString tavron1 = "|&Export selected File as Tavron File", tavronN = "|&Export selected Files as Tavron File";
    const QString reset = "|-|&Reset all Files";
    QTest::newRow("folder, one") << true << 1 << 1 << ",,," << false << csv1 + one;
    QTest::newRow("folder, several classified") << true << 1 << 3 << ",,," << true << csvN + tavronN + many;
    QTest::newRow("no class") << false << 2 << 1 << ",,," << false << "&Assign|-|" + csv1 + one;
    QTest::newRow("one class") << false << 2 << 1 << "Pip,,," << false
                               << "&Assign additional Class|Reassign>|Reassign/Class 1|Unassign>|Unassign/Class 1|-|"
                                      + csv1 + tavron1 + one;
    QTest::newRow("two classes") << false << 2 << 1 << "Pip,Nyc,," << true
                                 << "&Assign additional Class|Reassign>|Reassign/Class 1|Reassign/Class 2|Unassign>|"
                                    "Unassign/Class 1|Unassign/Class 2|Unassign/&All Classes|-|"
                                        + csv1 + tavron1 + one;
    QTest::newRow("four classes, Tavron") << false << 3 << 1 << "A,B,C,D" << true
                                          << "Reassign>|Reassign/Class 1|Reassign/Class 2|Reassign/Class 3|"
                                             "Reassign/Class 4|Unassign>|Unassign/Class 1|Unassign/Class 2|"
                                             "Unassign/Class 3|Unassign/Class 4|Unassign/&All Classes|-|"
                                                 + csv1 + tavron1 + one + reset;
    QTest::newRow("several, one classified") << false << 2 << 3 << ",,," << true
                                             << "&Unassign all Classes|-|" + csvN + tavronN + many;
    QTest::newRow("several, review") << false << 4 << 3 << "Pip,,," << false << "&Assign|-|" + csvN + many + reset;
}

void TestContextMenus::fileLists()
{
    QFETCH(bool, folderList);
    QFETCH(int, mode);
    QFETCH(int, selected);
    QFETCH(QString, pointed);
    QFETCH(bool, anyClassified);
    QFETCH(QString, entries);
    const FileListState state{mode, selected, pointed.split(QLatin1Char(',')), anyClassified};
    const IconSet icons = iconSet(ThemeCode::Light, true);
    QCOMPARE(render(folderList ? folderListEntries(state, icons) : evaluationListEntries(state, icons)), entries);
}

void TestContextMenus::icons()
{
    // The theme decides; following the desktop (or an unknown code), the desktop's preference does.
    const QString light = ":/images/copy_light.png", dark = ":/images/copy_dark.png";
    QCOMPARE(iconSet(ThemeCode::Light, false).copy, light);
    QCOMPARE(iconSet(ThemeCode::Dark, true).copy, dark);
    QCOMPARE(iconSet(ThemeCode::FollowSystem, true).copy, light);
    QCOMPARE(iconSet(ThemeCode::FollowSystem, false).copy, dark);
    QCOMPARE(iconSet(7, false).csv, QStringLiteral(":/images/csv_export_dark.png"));
    QCOMPARE(iconSet(7, false).tavron, QStringLiteral(":/images/tavron_export_dark.png"));

    const Entries entries = evaluationListEntries({EvaluationMode::Manual, 1, {"Pip", "", "", ""}, true},
                                                  iconSet(ThemeCode::Dark, true));
    QStringList names;
    for (const Entry &e : entries)
        names << e.icon.section(QLatin1Char('/'), -1).section(QLatin1Char('.'), 0, 0);
    QCOMPARE(names.join(QLatin1Char(',')), QStringLiteral("green_arrow_left,orange_arrows,,red_arrow_right,,,"
                                                          "csv_export_dark,tavron_export_dark,,copy_dark,red_cross"));
    for (const Entry &e : entries)
        QVERIFY2(e.icon.isEmpty() || QFile::exists(e.icon), qPrintable(e.icon));
}

void TestContextMenus::classSlots_data()
{
    // The operation; the row: file;proposal;accepted;class 1;class 2;class 3;class 4;comment; what is
    // written ("-": nothing) and the row's classes afterwards ("unchanged": the row stays).
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("classes");
    const auto add = [](const char *tag, const char *op, const char *row, const char *written, const char *classes) {
        QTest::newRow(tag) << op << row << written << classes;
    };
    add("reassign 2, no proposal", "reassign 2 Pip", "a.wav;;;Bat;No Call;;;", "Bat + Pip|", "Bat,Pip");
    add("reassign: sets equal", "reassign 2 Nyc", "a.wav;Nyc, Pip;0;Pip;Bat;;;c", "Pip + Nyc|Nyc, Pip|1|c", "Pip,Nyc");
    add("reassign: sets differ", "reassign 1 Nyc", "a.wav;Nyc, Pip;1;Pip;Bat;;;c", "Nyc + Bat|Nyc, Pip|0|c",
        "Nyc,Bat");
    add("reassign: flag text only", "reassign 1 Bat", "a.WAV;;1;Pip;;;;x", "Bat||0|x", "Bat");
    add("reassign 1 of four", "reassign 1 X", "a.wav;;;A;B;C;D;", "X + B + C + D|", "X,B,C,D");
    add("reassign 4, four proposed count", "reassign 4 D", "a.wav;A, B, C, D, E;0;A;B;C;X;", "A + B + C + D|A, B, C, D, E|1|",
        "A,B,C,D");
    add("reassign an empty slot", "reassign 3 Nyc", "a.wav;;;A;B;;;", "-", "unchanged");
    add("reassign .raw", "reassign 1 Nyc", "a.raw;;;Pip;;;;", "-", "Nyc");
    add("unassign the only class", "unassign 1", "a.wav;;;Pip;;;;", "|", "");
    add("unassign: no class, flag 0", "unassign 1", "a.wav;Pip;1;Pip;;;;c", "|Pip|0|c", "");
    add("unassign: flag text only", "unassign 1", "a.wav;;1;A;;;;", "||0|", "");
    add("unassign 1, later move up", "unassign 1", "a.wav;;;A;B;C;;", "B + C|", "B,C");
    add("unassign 3: sets equal", "unassign 3", "a.wav;B, A;0;A;B;C;;n", "A + B|B, A|1|n", "A,B");
    add("unassign 3: first four", "unassign 3", "a.wav;A, B, A, B, C;0;A;B;C;;", "A + B|A, B, A, B, C|1|", "A,B");
    add("unassign 2: sets differ", "unassign 2", "a.wav;A, B;1;A;B;;;", "A|A, B|0|", "A");
    add("unassign an empty slot", "unassign 4", "a.wav;;;A;B;;;", "-", "unchanged");
}

void TestContextMenus::classSlots()
{
    QFETCH(QString, operation);
    QFETCH(QString, row);
    QFETCH(QString, written);
    QFETCH(QString, classes);
    const QStringList texts = row.split(QLatin1Char(';'));
    FileRowTexts copy;
    const int columns[] = {FileViewColumn::Name,   FileViewColumn::Proposal, FileViewColumn::Accepted,
                           FileViewColumn::Class1, FileViewColumn::Class2,   FileViewColumn::Class3,
                           FileViewColumn::Class4, FileViewColumn::Comment};
    for (int i = 0; i < 8; ++i)
        copy.setText(columns[i], texts.at(i));
    copy.setText(FileViewColumn::Date, QStringLiteral("01/06/24"));
    const QStringList op = operation.split(QLatin1Char(' '));
    const ClassTextRules::Outcome o = op.first() == QLatin1String("reassign")
                                          ? ClassTextRules::reassign(copy, op.at(1).toInt(), op.at(2))
                                          : ClassTextRules::unassignSlot(copy, op.at(1).toInt());
    QCOMPARE(o.write ? o.text : QStringLiteral("-"), written);
    QCOMPARE(o.rowChanges ? o.classes.join(QLatin1Char(',')) : QStringLiteral("unchanged"), classes);
}

void TestContextMenus::dialog()
{
    // OK untouched takes the first name; Cancel and closing give 0.
    AssignSecondClassDialog d(nullptr, {"Nyc", "Pip"});
    QCOMPARE(d.size(), QSize(270, 100));
    QCOMPARE(d.windowTitle(), QStringLiteral("Dialog"));
    auto *box = d.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
    d.show();
    box->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(d.result(), 1);
    QCOMPARE(d.getClass(), QStringLiteral("Nyc"));
    d.findChild<QComboBox *>()->setCurrentIndex(1);
    QCOMPARE(d.getClass(), QStringLiteral("Pip"));
    d.show();
    box->button(QDialogButtonBox::Cancel)->click();
    QCOMPARE(d.result(), 0);
    d.show();
    d.close();
    QCOMPARE(d.result(), 0);
}

QUILLON_TEST(TestContextMenus)
#include "tst_contextmenus.moc"
