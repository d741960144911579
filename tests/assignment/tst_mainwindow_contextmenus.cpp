#include "testregistry.h"

#include "evaluationfolder.h"
#include "platform/desktoptheme.h"

#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>

using namespace evaluationfolder;

namespace {

// A right click on row of tree, or on the empty space below its rows.
void rightClick(QTreeWidget *tree, QTreeWidgetItem *row)
{
    QPoint pos = tree->visualItemRect(row).center();
    if (!row) {
        QTreeWidgetItem *last = tree->topLevelItem(tree->topLevelItemCount() - 1);
        pos = QPoint(5, tree->visualItemRect(last).bottom() + 5);
        QVERIFY(!tree->itemAt(pos));
    }
    QContextMenuEvent e(QContextMenuEvent::Mouse, pos, tree->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(tree->viewport(), &e);
}

// Answers a class dialog: types name (the insert and rename dialogs) or picks it (the others), then OK.
std::function<void(QDialog *)> answer(const QString &name, QStringList *offered = nullptr)
{
    return [name, offered](QDialog *d) {
        if (auto *edit = d->findChild<QLineEdit *>(QStringLiteral("lineEdit"))) {
            edit->setText(name);
        } else {
            auto *combo = d->findChild<QComboBox *>();
            for (int i = 0; offered && i < combo->count(); ++i)
                *offered << combo->itemText(i);
            combo->setCurrentIndex(combo->findText(name));
        }
        d->accept();
    };
}

QString topLevelNames(QTreeWidget *tree)
{
    QStringList names;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        names << tree->topLevelItem(i)->text(ClassTreeColumn::Class);
    return names.join(QLatin1Char(','));
}

} // namespace

// The three context menus of the window with the real workers: each entry's
// path from the right click to the recordings, the class tree and the rows.
class TestContextMenuWindow : public testsupport::GuiTestCase
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void classTree();
    void evaluationList();
    void deleting();
    void whileHeadersAreRead();

private:
    QTemporaryDir m_dir;
};

void TestContextMenuWindow::classTree()
{
    const QString dir = makeFolder(m_dir.path(), "tree", {{"a.wav", "Bat|"}, {"b.wav", ""}});
    ScriptedDialogs dialogs;
    auto w = open(dialogs, dir, EvaluationMode::Manual);
    QVERIFY(w);
    QTreeWidget *tree = w->ui->treeWidget;
    // The chosen entry is read after its menu has closed: the list it lies in
    // must still be there (the tests run with freed memory overwritten).

    // Added first on empty space, below a class or "Unassigned", last under a class; taken names refused.
    dialogs.menuAnswers << "&Add class"
                        << "&Add class"
                        << "&Add class"
                        << "&Add subclass"
                        << "&Add class"
                        << "&Change shortcut"
                        << "&Delete class"
                        << "&Rename class"
                        << "&Save class model";
    dialogs.dialogAnswers << answer(" Pip ") << answer("Nyc") << answer("Myo") << answer("Nnoc") << answer("Nnoc")
                          << answer("<Q>") << answer("Bats");
    dialogs.expectMessages(); // the second "Nnoc", a name taken
    rightClick(tree, nullptr);
    rightClick(tree, classRow(*w, "Bat"));
    rightClick(tree, classRow(*w, "Unassigned"));
    rightClick(tree, classRow(*w, "Nyc"));
    rightClick(tree, classRow(*w, "Pip"));
    QCOMPARE(dialogs.messages.last().text, QStringLiteral("Name already exists."));
    QCOMPARE(topLevelNames(tree), QStringLiteral("Pip,Bat,Nyc,No Call,Unassigned,Myo"));
    QCOMPARE(classRow(*w, "Nnoc")->parent(), classRow(*w, "Nyc"));

    // A new shortcut; a class no recording carries goes at once, a carried one is renamed in its recordings.
    dialogs.messageAnswers << QMessageBox::Ok << QMessageBox::Ok;
    rightClick(tree, classRow(*w, "Pip"));
    rightClick(tree, classRow(*w, "No Call"));
    QCOMPARE(dialogs.messages.last().text, QStringLiteral("Do you really want to delete class No Call?\nClass No "
                                                          "Call will be unassigned in all files!"));
    rightClick(tree, classRow(*w, "Bat"));
    QVERIFY(waitSettled(*w));
    QCOMPARE(description(dir + "/a.wav"), QStringLiteral("Bats|"));
    QCOMPARE(topLevelNames(tree), QStringLiteral("Pip,Bats,Nyc,Unassigned,Myo"));

    // Saved as the class-model text without "Unassigned", a name typed without ".txt" with it.
    dialogs.fileAnswers << m_dir.path() + "/model.v2";
    rightClick(tree, classRow(*w, "Nnoc"));
    QCOMPARE(testsupport::readFile(m_dir.path() + "/model.v2.txt"),
             QByteArray("Pip\t<Q>\nBats\t<A>\nNyc\t<C>\n\tNnoc\t<F>\nMyo\t<E>\n"));
}

void TestContextMenuWindow::evaluationList()
{
    const QString dir = makeFolder(m_dir.path(), "tavron",
                                   {{"p.wav", "Pip + Enil|Nyc, Pip|0|c"},
                                    {"q.wav", "Nyc|Nyc, Pip|0|"},
                                    {"r.wav", "Nyc|Nyc|1|"},
                                    {"s.wav", "Nyc + Pip|Nyc|0|"},
                                    {"z.wav", "|No Call|0|"}});
    ScriptedDialogs dialogs;
    auto w = open(dialogs, dir, EvaluationMode::Tavron);
    QVERIFY(w);
    QTreeWidget *list = w->ui->treeWidget_fileView;

    // No menu on a disabled row, on the class tree in this mode, or while a spectrogram is calculated.
    rightClick(list, row(*w, "z.wav"));
    rightClick(w->ui->treeWidget, classRow(*w, "Nyc"));
    w->calculating = true;
    rightClick(list, row(*w, "p.wav"));
    w->calculating = false;
    QVERIFY(dialogs.menuRuns.isEmpty());

    // One slot replaced, one removed, written at once; the box and colours follow the flag.
    dialogs.menuAnswers << "Reassign/Class 2"
                        << "Unassign/Class 1";
    dialogs.dialogAnswers << answer("Nyc");
    select(*w, {"p.wav"});
    rightClick(list, row(*w, "p.wav"));
    QCOMPARE(dialogs.dialogRuns.last().title, QStringLiteral("Reassign second class"));
    QCOMPARE(description(dir + "/p.wav"), QStringLiteral("Pip + Nyc|Nyc, Pip|1|c"));
    QCOMPARE(colour(*w, "p.wav"), green);
    select(*w, {"r.wav"});
    rightClick(list, row(*w, "r.wav"));
    QCOMPARE(description(dir + "/r.wav"), QStringLiteral("|Nyc|0|"));
    QVERIFY(!box(*w, "r.wav")->isChecked());

    // An additional class, shown from the worker's reply; a failed write changes nothing.
    QStringList offered;
    dialogs.menuAnswers << "&Assign additional Class"
                        << "&Assign additional Class";
    dialogs.dialogAnswers << answer("Pip", &offered) << answer("Enil");
    select(*w, {"q.wav"});
    rightClick(list, row(*w, "q.wav"));
    QVERIFY(waitSettled(*w));
    QVERIFY(offered.contains("NycLow") && !offered.contains("Nyc") && !offered.contains("Detected No Call"));
    QCOMPARE(description(dir + "/q.wav"), QStringLiteral("Nyc + Pip|Nyc, Pip|1|"));
    QVERIFY(box(*w, "q.wav")->isChecked());
    QVERIFY(QFile::remove(dir + "/s.wav"));
    select(*w, {"s.wav"});
    dialogs.expectMessages();
    rightClick(list, row(*w, "s.wav"));
    QVERIFY(waitSettled(*w));
    QCOMPARE(dialogs.messages.last().text,
             "Could not write file " + dir + "/s.wav\nClass assignment is not saved to wav file.");
    QCOMPARE(counts(*w), QStringLiteral("Nyc 3, Pip 3, Detected No Call 1, Unassigned 1"));

    // Several recordings unassigned, then copied: their URLs and the copy effect, icons of the desktop's look.
    setSystemPrefersLightThemeOverride(false);
    dialogs.menuAnswers << "&Unassign all Classes"
                        << "&Copy Files to Clipboard";
    select(*w, {"p.wav", "q.wav"});
    rightClick(list, row(*w, "q.wav"));
    QVERIFY(waitSettled(*w));
    rightClick(list, row(*w, "q.wav"));
    setSystemPrefersLightThemeOverride(std::nullopt);
    QCOMPARE(description(dir + "/p.wav"), QStringLiteral("|Nyc, Pip|0|c"));
    QCOMPARE(counts(*w), QStringLiteral("Nyc 1, Pip 1, Detected No Call 1, Unassigned 3"));
    const QMimeData *copied = QGuiApplication::clipboard()->mimeData();
    QCOMPARE(copied->urls(), (QList<QUrl>{QUrl::fromLocalFile(dir + "/p.wav"), QUrl::fromLocalFile(dir + "/q.wav")}));
    QCOMPARE(copied->data("Preferred DropEffect"), QByteArray("\x05\0\0\0", 4));
    const ScriptedDialogs::MenuRun &menu = dialogs.menuRuns.last();
    QCOMPARE(menu.icons.at(menu.entries.indexOf("&Copy Files to Clipboard")),
             QImage(":/images/copy_dark.png").convertToFormat(QImage::Format_ARGB32));
}

void TestContextMenuWindow::deleting()
{
    const QString dir =
        makeFolder(m_dir.path(), "deleting", {{"a.wav", "Bat|"}, {"b.wav", ""}, {"c.wav", ""}, {"d.wav", ""}});
    ScriptedDialogs dialogs;
    auto w = open(dialogs, dir, EvaluationMode::Manual);
    QVERIFY(w);
    QTreeWidget *list = w->ui->treeWidget_fileView;

    // "&Assign" runs the assignment chain with the class picked, the first one offered when untouched.
    dialogs.menuAnswers << "&Assign"
                        << "&Delete Files"
                        << "&Delete Files";
    dialogs.dialogAnswers <<
        [](QDialog *d) { d->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click(); };
    select(*w, {"b.wav", "c.wav"});
    rightClick(list, row(*w, "b.wav"));
    QVERIFY(waitSettled(*w));
    QCOMPARE(dialogs.dialogRuns.last().title, QStringLiteral("Assign Class"));
    QCOMPARE(description(dir + "/c.wav"), QStringLiteral("Bat|"));

    // The evaluation list stops at the first file that cannot be removed; the rest stay selected.
    QVERIFY(QFile::remove(dir + "/c.wav"));
    select(*w, {"a.wav", "c.wav", "d.wav"});
    dialogs.messageAnswers << QMessageBox::Ok;
    dialogs.expectMessages();
    rightClick(list, row(*w, "a.wav"));
    QCOMPARE(dialogs.messages.at(dialogs.messages.size() - 2).text,
             QStringLiteral("Do you really want to permanently delete 3 Files from your Storage?"));
    QCOMPARE(dialogs.messages.last().text, QStringLiteral("The File c.wav could not be deleted."));
    QCOMPARE(QDir(dir).entryList({"*.wav"}), (QStringList{"b.wav", "d.wav"}));
    QCOMPARE(counts(*w), QStringLiteral("Bat 2, Unassigned 1"));
    QCOMPARE(w->ui->label_22->text(), QStringLiteral("\n3 items"));
    QCOMPARE(list->selectedItems(), (QList<QTreeWidgetItem *>{row(*w, "c.wav"), row(*w, "d.wav")}));

    // The folder list goes on past a failure.
    dialogs.fileAnswers << dir;
    w->ui->actionOpen_Folder->trigger();
    QVERIFY(waitSettled(*w));
    QVERIFY(QFile::remove(dir + "/b.wav"));
    QTreeWidget *folderList = w->ui->treeWidget_2;
    folderList->selectAll();
    dialogs.messageAnswers << QMessageBox::Ok;
    dialogs.expectMessages();
    rightClick(folderList, folderList->topLevelItem(1));
    QCOMPARE(dialogs.messages.last().text, QStringLiteral("The file b.wav could not be deleted."));
    QVERIFY(QDir(dir).entryList({"*.wav"}).isEmpty());
    QCOMPARE(w->ui->label_21->text(), QStringLiteral("\n1 item"));
}

void TestContextMenuWindow::whileHeadersAreRead()
{
    // The recorder proposes "Pip, Nyc" for a.wav; the rows after it stay unread until the pause ends.
    const QString dir = makeFolder(m_dir.path(), "loading",
                                   {{"a.wav", "Pip + Nyc|Pip|0|"}, {"b.wav", "Nyc|Pip|0|kept"}, {"c.wav", "Pip||0|"}});
    QVERIFY(testsupport::writeFile(dir + "/calls_ch1_files.txt",
                                   "a.wav\t2024-06-01\t22:14:03\tbat\tPipistrelloid\tx\tNyctaloid\n"));
    ScriptedDialogs dialogs;
    auto w = testsupport::exposedWindow();
    QVERIFY(w);
    startEvaluation(dialogs, *w, dir, EvaluationMode::RecorderReview);
    HeaderPause pause(*w);
    QVERIFY(testsupport::waitUntil(
        [&w]() { return !row(*w, "a.wav")->text(FileViewColumn::Date).isEmpty() && !w->calculating; }));
    QTreeWidget *list = w->ui->treeWidget_fileView;
    select(*w, {"a.wav"});

    // A deletion would shift the rows the header replies address; unassigning and resetting do not wait.
    dialogs.menuAnswers << "&Delete File"
                        << "Unassign/&All Classes"
                        << "&Reset all Files";
    dialogs.messageAnswers << QMessageBox::Ok << QMessageBox::Ok;
    rightClick(list, row(*w, "a.wav"));
    QCOMPARE(dialogs.messages.last().text, pleaseWait);
    rightClick(list, row(*w, "a.wav"));
    QVERIFY(testsupport::waitUntil([&w]() { return w->jobGuard.running() == JobGuard::Job::None; }));
    QCOMPARE(description(dir + "/a.wav"), QStringLiteral("|Pip, Nyc|0|"));
    rightClick(list, row(*w, "a.wav"));
    QVERIFY(testsupport::waitUntil([&w]() { return w->jobGuard.running() == JobGuard::Job::None; }));
    QCOMPARE(dialogs.messages.last().text, QStringLiteral("Reset will delete Class Assignments and Tavron Proposals\n"
                                                          "of all Files in your current loaded Folder."));
    QCOMPARE(description(dir + "/a.wav"), QStringLiteral("|"));
    QCOMPARE(description(dir + "/b.wav"), QStringLiteral("|kept"));
    pause.release();
    QVERIFY(waitSettled(*w));
    QCOMPARE(counts(*w), QStringLiteral("Unassigned 3"));
}

QUILLON_TEST(TestContextMenuWindow)
#include "tst_mainwindow_contextmenus.moc"
