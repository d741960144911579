#include "testregistry.h"

#include "evaluationfolder.h"
#include "platform/desktoptheme.h"

#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QSemaphore>
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

// Holds the header worker after the request it has: the rows after the first stay unread until release().
struct HeaderPause {
    explicit HeaderPause(QThread *thread)
    {
        auto *anchor = new QObject;
        anchor->moveToThread(thread);
        QMetaObject::invokeMethod(anchor, [this, anchor]() {
            go.acquire();
            anchor->deleteLater();
        }, Qt::QueuedConnection);
    }
    ~HeaderPause() { release(); }
    void release()
    {
        if (!released)
            go.release();
        released = true;
    }
    QSemaphore go;
    bool released = false;
};

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

    // Added on empty space first, below a class, below "Unassigned"; subclasses last under their class.
    dialogs.menuAnswers << "&Add class" << "&Add class" << "&Add class" << "&Add subclass" << "&Add class";
    dialogs.dialogAnswers << answer(" Pip ") << answer("Nyc") << answer("Myo") << answer("Nnoc") << answer("Nnoc");
    rightClick(tree, nullptr);
    QCOMPARE(dialogs.menuRuns.last().entries, (QStringList{"&Add class", "&Save class model"}));
    rightClick(tree, classRow(*w, "Bat"));
    rightClick(tree, classRow(*w, "Unassigned"));
    rightClick(tree, classRow(*w, "Nyc"));
    QCOMPARE(dialogs.dialogRuns.last().title, QStringLiteral("Set new subclass parameter"));
    rightClick(tree, classRow(*w, "Pip"));
    QCOMPARE(dialogs.messages.last().text, QStringLiteral("Name already exists."));
    QCOMPARE(topLevelNames(tree), QStringLiteral("Pip,Bat,Nyc,No Call,Unassigned,Myo"));
    QCOMPARE(classRow(*w, "Nnoc")->parent(), classRow(*w, "Nyc"));
    QVERIFY(tree->itemWidget(classRow(*w, "Nnoc"), ClassTreeColumn::Assign));

    // A new shortcut; a class no recording carries goes at once; a carried one is renamed in its recordings.
    dialogs.menuAnswers << "&Change shortcut" << "&Delete class" << "&Rename class";
    dialogs.dialogAnswers << answer("<Q>") << answer("Bats");
    dialogs.messageAnswers << QMessageBox::Ok << QMessageBox::Ok;
    rightClick(tree, classRow(*w, "Pip"));
    rightClick(tree, classRow(*w, "No Call"));
    QCOMPARE(dialogs.messages.last().text, QStringLiteral("Do you really want to delete class No Call?\nClass No "
                                                          "Call will be unassigned in all files!"));
    rightClick(tree, classRow(*w, "Bat"));
    QTRY_VERIFY(settled(*w));
    QCOMPARE(description(dir + "/a.wav"), QStringLiteral("Bats|"));
    QCOMPARE(topLevelNames(tree), QStringLiteral("Pip,Bats,Nyc,Unassigned,Myo"));
    QCOMPARE(counts(*w), QStringLiteral("Bats 1, Unassigned 1"));

    // Saved as the class-model text, "Unassigned" left out.
    const QString model = m_dir.path() + "/model.txt";
    dialogs.menuAnswers << "&Save class model";
    dialogs.fileAnswers << model;
    rightClick(tree, classRow(*w, "Nnoc"));
    QCOMPARE(dialogs.fileQuestions.last().filter, QStringLiteral("TXT Files (*.txt)"));
    QCOMPARE(testsupport::readFile(model), QByteArray("Pip\t<Q>\nBats\t<A>\nNyc\t<C>\n\tNnoc\t<F>\nMyo\t<E>\n"));

    // No menu while a spectrogram is calculated.
    const int runs = dialogs.menuRuns.size();
    w->calculating = true;
    rightClick(tree, classRow(*w, "Pip"));
    rightClick(w->ui->treeWidget_fileView, row(*w, "a.wav"));
    w->calculating = false;
    QCOMPARE(dialogs.menuRuns.size(), runs);
}

void TestContextMenuWindow::evaluationList()
{
    const QString dir = makeFolder(m_dir.path(), "tavron", {{"p.wav", "Pip + Enil|Nyc, Pip|0|c"},
                                                            {"q.wav", "Nyc|Nyc, Pip|0|"},
                                                            {"r.wav", "Nyc|Nyc|1|"},
                                                            {"s.wav", "Nyc + Pip|Nyc|0|"},
                                                            {"u.wav", "Pip|Pip|1|"},
                                                            {"v.wav", "Enil|Pip|0|"},
                                                            {"z.wav", "|No Call|0|"}});
    ScriptedDialogs dialogs;
    auto w = open(dialogs, dir, EvaluationMode::Tavron);
    QVERIFY(w);
    QTreeWidget *list = w->ui->treeWidget_fileView;

    // No menu on a disabled row, nor on the class tree in this mode.
    rightClick(list, row(*w, "z.wav"));
    rightClick(w->ui->treeWidget, classRow(*w, "Nyc"));
    QVERIFY(dialogs.menuRuns.isEmpty());

    // One slot replaced, one removed: written at once; box, colours and counts follow the flag.
    select(*w, {"p.wav"});
    dialogs.menuAnswers << "Reassign/Class 2" << "Unassign/Class 1";
    dialogs.dialogAnswers << answer("Nyc");
    rightClick(list, row(*w, "p.wav"));
    QCOMPARE(dialogs.dialogRuns.last().title, QStringLiteral("Reassign second class"));
    QCOMPARE(description(dir + "/p.wav"), QStringLiteral("Pip + Nyc|Nyc, Pip|1|c"));
    QVERIFY(box(*w, "p.wav")->isChecked());
    QCOMPARE(colour(*w, "p.wav"), green);
    select(*w, {"r.wav"});
    rightClick(list, row(*w, "r.wav"));
    QCOMPARE(description(dir + "/r.wav"), QStringLiteral("|Nyc|0|"));
    QVERIFY(!box(*w, "r.wav")->isChecked());
    QVERIFY(!row(*w, "r.wav")->data(FileViewColumn::Name, Qt::ForegroundRole).isValid());

    // An additional class, written by the worker and shown from its reply; a failed write changes nothing.
    QStringList offered;
    select(*w, {"q.wav"});
    dialogs.menuAnswers << "&Assign additional Class" << "&Assign additional Class";
    dialogs.dialogAnswers << answer("Pip", &offered) << answer("Enil");
    rightClick(list, row(*w, "q.wav"));
    QTRY_VERIFY(settled(*w));
    QVERIFY(offered.contains("NycLow") && !offered.contains("Nyc"));
    QVERIFY(!offered.contains("Detected No Call") && !offered.contains("Unassigned"));
    QCOMPARE(description(dir + "/q.wav"), QStringLiteral("Nyc + Pip|Nyc, Pip|1|"));
    QVERIFY(box(*w, "q.wav")->isChecked());
    QVERIFY(QFile::remove(dir + "/s.wav"));
    select(*w, {"s.wav"});
    rightClick(list, row(*w, "s.wav"));
    QTRY_VERIFY(settled(*w));
    QCOMPARE(dialogs.messages.last().text,
             "Could not write file " + dir + "/s.wav\nClass assignment is not saved to wav file.");
    QCOMPARE(classes(*w, "s.wav"), QStringLiteral("Nyc,Pip,,"));
    QCOMPARE(counts(*w), QStringLiteral("Nyc 3, Enil 1, Pip 4, Detected No Call 1, Unassigned 1"));

    // All classes of several recordings, or of one.
    select(*w, {"u.wav", "v.wav"});
    dialogs.menuAnswers << "&Unassign all Classes" << "Unassign/&All Classes";
    rightClick(list, row(*w, "v.wav"));
    QTRY_VERIFY(settled(*w));
    select(*w, {"p.wav"});
    rightClick(list, row(*w, "p.wav"));
    QTRY_VERIFY(settled(*w));
    QCOMPARE(description(dir + "/v.wav"), QStringLiteral("|Pip|0|"));
    QCOMPARE(description(dir + "/p.wav"), QStringLiteral("|Nyc, Pip|0|c"));
    QCOMPARE(counts(*w), QStringLiteral("Nyc 2, Pip 2, Detected No Call 1, Unassigned 4"));

    // Copy: the files' URLs and the copy effect, with the icons of the desktop's look.
    setSystemPrefersLightThemeOverride(false);
    select(*w, {"p.wav", "q.wav"});
    dialogs.menuAnswers << "&Copy Files to Clipboard";
    rightClick(list, row(*w, "q.wav"));
    setSystemPrefersLightThemeOverride(std::nullopt);
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

    // "&Assign": the chain of the assign buttons with the class picked.
    select(*w, {"b.wav", "c.wav"});
    dialogs.menuAnswers << "&Assign";
    dialogs.dialogAnswers << answer("No Call");
    rightClick(list, row(*w, "b.wav"));
    QTRY_VERIFY(settled(*w));
    QCOMPARE(dialogs.dialogRuns.last().title, QStringLiteral("Assign Class"));
    QCOMPARE(description(dir + "/c.wav"), QStringLiteral("No Call|"));

    // The evaluation list stops at the first file that cannot be removed.
    QVERIFY(QFile::remove(dir + "/c.wav"));
    select(*w, {"a.wav", "c.wav", "d.wav"});
    dialogs.menuAnswers << "&Delete Files";
    dialogs.messageAnswers << QMessageBox::Ok;
    rightClick(list, row(*w, "a.wav"));
    QCOMPARE(dialogs.messages.at(dialogs.messages.size() - 2).text,
             QStringLiteral("Do you really want to permanently delete 3 Files from your Storage?"));
    QCOMPARE(dialogs.messages.last().text, QStringLiteral("The File c.wav could not be deleted."));
    QCOMPARE(QDir(dir).entryList({"*.wav"}), (QStringList{"b.wav", "d.wav"}));
    QCOMPARE(counts(*w), QStringLiteral("No Call 2, Unassigned 1"));
    QCOMPARE(w->ui->label_22->text(), QStringLiteral("\n3 items"));

    // The folder list goes on past a failure.
    dialogs.fileAnswers << dir;
    w->ui->actionOpen_Folder->trigger();
    QTRY_VERIFY(settled(*w));
    QTreeWidget *folderList = w->ui->treeWidget_2;
    QVERIFY(QFile::remove(dir + "/b.wav"));
    folderList->selectAll();
    dialogs.menuAnswers << "&Delete Files";
    dialogs.messageAnswers << QMessageBox::Ok;
    rightClick(folderList, folderList->topLevelItem(1));
    QCOMPARE(dialogs.menuRuns.last().entries,
             (QStringList{"&Export selected Files as CSV File", "&Export selected Files as Tavron File",
                          "&Copy Files to Clipboard", "&Delete Files"}));
    QCOMPARE(dialogs.messages.last().text, QStringLiteral("The file b.wav could not be deleted."));
    QVERIFY(QDir(dir).entryList({"*.wav"}).isEmpty());
    QCOMPARE(w->ui->label_21->text(), QStringLiteral("\n1 item"));
}

void TestContextMenuWindow::whileHeadersAreRead()
{
    const QString dir = makeFolder(m_dir.path(), "loading", {{"a.wav", "Bat + No Call|"}, {"b.wav", "Bat|"}});
    ScriptedDialogs dialogs;
    auto w = testsupport::exposedWindow();
    QVERIFY(w);
    startEvaluation(dialogs, *w, dir, EvaluationMode::Manual);
    HeaderPause pause(w->fileInfoThread);
    QTRY_VERIFY(!row(*w, "a.wav")->text(FileViewColumn::Date).isEmpty() && !w->calculating);

    // Deleting or renaming a class, or deleting a recording, would miss or shift the rows not read yet.
    select(*w, {"a.wav"});
    dialogs.menuAnswers << "&Delete class" << "&Rename class" << "&Delete File" << "Unassign/&All Classes";
    rightClick(w->ui->treeWidget, classRow(*w, "Bat"));
    rightClick(w->ui->treeWidget, classRow(*w, "Bat"));
    rightClick(w->ui->treeWidget_fileView, row(*w, "a.wav"));
    QCOMPARE(dialogs.messages.size(), 3);
    for (const MessageBoxRequest &m : qAsConst(dialogs.messages))
        QCOMPARE(m.text, pleaseWait);
    QVERIFY(QFile::exists(dir + "/a.wav"));

    // Unassigning a read recording does not wait; the counts stay right as the other rows arrive.
    rightClick(w->ui->treeWidget_fileView, row(*w, "a.wav"));
    QTRY_COMPARE(w->jobGuard.running(), JobGuard::Job::None);
    QCOMPARE(description(dir + "/a.wav"), QStringLiteral(""));
    pause.release();
    QTRY_VERIFY(settled(*w));
    QCOMPARE(counts(*w), QStringLiteral("Bat 1, Unassigned 1"));

    // A reset writes the rows not read yet from what their recordings hold.
    const QString review = makeFolder(m_dir.path(), "loading review", {{"a.wav", "Pip|Pip, Nyc|1|"},
                                                                        {"b.wav", "Nyc|Pip|0|kept"}});
    QVERIFY(testsupport::writeFile(review + "/calls_ch1_files.txt",
                                   "a.wav\t2024-06-01\t22:14:03\tbat\tPipistrelloid\tx\tNyctaloid\n"
                                   "b.wav\t2024-06-01\t22:14:03\tbat\tPipistrelloid\tx\tNyctaloid\n"));
    auto w2 = testsupport::exposedWindow();
    QVERIFY(w2);
    startEvaluation(dialogs, *w2, review, EvaluationMode::RecorderReview);
    HeaderPause pause2(w2->fileInfoThread);
    QTRY_VERIFY(!row(*w2, "a.wav")->text(FileViewColumn::Date).isEmpty() && !w2->calculating);
    dialogs.menuAnswers << "&Reset all Files";
    dialogs.messageAnswers << QMessageBox::Ok;
    rightClick(w2->ui->treeWidget_fileView, row(*w2, "a.wav"));
    QTRY_COMPARE(w2->jobGuard.running(), JobGuard::Job::None);
    QCOMPARE(dialogs.messages.last().text, QStringLiteral("Reset will delete Class Assignments and Tavron Proposals\n"
                                                          "of all Files in your current loaded Folder."));
    QCOMPARE(description(review + "/a.wav"), QStringLiteral("|"));
    QCOMPARE(description(review + "/b.wav"), QStringLiteral("|kept"));
    pause2.release();
    QTRY_VERIFY(settled(*w2));
    QCOMPARE(counts(*w2), QStringLiteral("Unassigned 2"));
}

QUILLON_TEST(TestContextMenuWindow)
#include "tst_mainwindow_contextmenus.moc"
