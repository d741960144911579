#include "testregistry.h"

#include "classmodel/changeshortcutdialog.h"
#include "classmodel/classmodeltext.h"
#include "classmodel/insertitemdialog.h"
#include "classmodel/openmodeldialog.h"
#include "classmodel/renamedialog.h"
#include "scripteddialogs.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

void type(QDialog *dialog, const QString &text)
{
    dialog->findChild<QLineEdit *>(QStringLiteral("lineEdit"))->setText(text);
}

// The answer of a user who types a name and presses OK.
std::function<void(QDialog *)> typeAndAccept(const QString &name)
{
    return [name](QDialog *d) {
        type(d, name);
        d->accept();
    };
}

QTreeWidget *treeOf(const OpenModelDialog &editor)
{
    return editor.findChild<QTreeWidget *>(QStringLiteral("treeWidget"));
}

// The editor's tree in one line: "A <A> {B <B>}; C <C>".
QString treeText(const OpenModelDialog &editor)
{
    QStringList classes;
    for (int i = 0; i < treeOf(editor)->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *cls = treeOf(editor)->topLevelItem(i);
        QStringList subs;
        for (int j = 0; j < cls->childCount(); ++j)
            subs << cls->child(j)->text(0) + QLatin1Char(' ') + cls->child(j)->text(1);
        classes << cls->text(0) + QLatin1Char(' ') + cls->text(1)
                       + (subs.isEmpty() ? QString() : QStringLiteral(" {") + subs.join(", ") + QLatin1Char('}'));
    }
    return classes.join(QStringLiteral("; "));
}

void addClasses(OpenModelDialog &editor, const QStringList &names)
{
    for (const QString &name : names)
        treeOf(editor)->addTopLevelItem(new QTreeWidgetItem(QStringList{name, "<" + name.left(1) + ">"}));
}

void click(OpenModelDialog &editor, const char *button)
{
    editor.findChild<QPushButton *>(QLatin1String(button))->click();
}

} // namespace

class TestClassDialogs : public QObject
{
    Q_OBJECT

private slots:
    void shortcutChoices();
    void nameCheck_data();
    void nameCheck();
    void editorLoad();
    void editorSave();
    void editorSaveWithoutSuffix();
    void defaultTrees();
    void menuEntries();
    void menuActions();
    void menuOverTheTree();
    void deleteKey_data();
    void deleteKey();

private:
    QTemporaryDir m_dir;
};

void TestClassDialogs::shortcutChoices()
{
    InsertItemDialog insert(nullptr, {"<C>", "<A>", "", "<B>\r"});
    const auto *box = insert.findChild<QComboBox *>(QStringLiteral("comboBox"));
    QCOMPARE(box->count(), 24);
    QCOMPARE(box->itemText(0), QStringLiteral("<B>"));
    QCOMPARE(box->itemText(1), QStringLiteral("<D>"));
    QCOMPARE(insert.getShortcut(), QStringLiteral("<B>"));
    // Every letter in use: nothing to choose, and OK gives the empty shortcut.
    ChangeShortcutDialog full(nullptr, ClassModelText::allShortcuts());
    QCOMPARE(full.getShortcut(), QString());
}

void TestClassDialogs::nameCheck_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("refusal"); // empty: taken as typed
    // The refusal names what is refused, ";" among it.
    const QString unusable = QStringLiteral("This class name cannot be used.\nA class name may not hold \";\", "
                                            "\"|\", \" + \", a tab or a line break, nor end in \" +\", nor be "
                                            "\"Unassigned\" or \"Detected No Call\".");
    QTest::newRow("blanks only") << "   "
                                 << "The new Class Name may not be empty.";
    QTest::newRow("a bar") << "Pip|Nyc" << unusable;
    QTest::newRow("the class separator") << "Pip + Nyc" << unusable;
    QTest::newRow("a line break") << "Pip\nNyc" << unusable;
    QTest::newRow("the exports' separator") << "Pip;Nyc" << unusable;
    QTest::newRow("the unassigned row") << "Unassigned" << unusable;
    QTest::newRow("the no-call row") << "Detected No Call" << unusable;
    QTest::newRow("blanks kept") << " Pip " << QString();
}

void TestClassDialogs::nameCheck()
{
    QFETCH(QString, typed);
    QFETCH(QString, refusal);
    InsertItemDialog insert(nullptr, {});
    RenameDialog rename(nullptr, QStringLiteral("Old"));
    for (QDialog *dialog : QList<QDialog *>{&insert, &rename}) {
        ScriptedDialogs scripted;
        bool openAfterOk = false;
        // OK, then Cancel when OK left the dialog open.
        scripted.dialogAnswers << [&typed, &openAfterOk](QDialog *d) {
            typeAndAccept(typed)(d);
            openAfterOk = d->result() != QDialog::Accepted;
            if (openAfterOk)
                d->reject();
        };
        scripted.expectMessages(refusal.isEmpty() ? 0 : 1);
        const int result = userDialogs().runDialog(dialog);
        QCOMPARE(openAfterOk, !refusal.isEmpty());
        QCOMPARE(result, int(refusal.isEmpty() ? QDialog::Accepted : QDialog::Rejected));
        if (refusal.isEmpty()) {
            QVERIFY(scripted.messages.isEmpty());
            QCOMPARE(dialog == &insert ? insert.getName() : rename.getName(), typed);
            continue;
        }
        QCOMPARE(scripted.messages.size(), 1);
        QCOMPARE(scripted.messages.first().text, refusal);
        QCOMPARE(scripted.messages.first().icon, QMessageBox::Information);
        QVERIFY(!scripted.messages.first().parent && scripted.messages.first().title.isEmpty());
    }
}

void TestClassDialogs::editorLoad()
{
    QFile model(m_dir.filePath("model.txt"));
    QVERIFY(model.open(QIODevice::WriteOnly));
    model.write(QByteArray(" Pip \t<A>\r\n\tPnat\t<Q>\nUnassigned\t<U>\n\tSub\t<S>\nNyc|x\t<N>\n") + '\0'
                + "Nyc\t<Z>\n");
    model.close();
    ScriptedDialogs scripted;
    scripted.fileAnswers << model.fileName() << m_dir.filePath("missing.txt");
    OpenModelDialog editor(nullptr);
    addClasses(editor, {"Old"});
    scripted.expectMessages(2);
    click(editor, "pushButton_2");
    QCOMPARE(scripted.fileQuestions.at(0).caption, QStringLiteral("Open Model File"));
    QCOMPARE(scripted.fileQuestions.at(0).filter, QStringLiteral("TXT Files (*.txt)"));
    // Replaced without a question, names and shortcuts as they stand, the CR of a CR LF end
    // dropped; nothing after the NUL.
    QCOMPARE(treeText(editor), QStringLiteral(" Pip  <A> {Pnat <Q>}"));
    QVERIFY(treeOf(editor)->topLevelItem(0)->isExpanded());
    // One warning names every line left out.
    QCOMPARE(scripted.messages.size(), 1);
    QCOMPARE(scripted.messages.first().icon, QMessageBox::Warning);
    for (const char *name : {"Unassigned", "Sub", "Nyc|x"})
        QVERIFY(scripted.messages.first().text.contains(QLatin1String(name)));
    // A file that is no model at all: the warning names the first ten lines, cut short, and counts the rest.
    QFile table(m_dir.filePath("table.txt"));
    QVERIFY(table.open(QIODevice::WriteOnly));
    for (int i = 0; i < 25; ++i)
        table.write("row " + QByteArray::number(i) + QByteArray(100, 'x') + "|1|2|3\n");
    table.close();
    scripted.fileAnswers.prepend(table.fileName());
    click(editor, "pushButton_2");
    QCOMPARE(treeOf(editor)->topLevelItemCount(), 0);
    const QStringList lines = scripted.messages.last().text.split('\n');
    QCOMPARE(lines.size(), 12);
    QCOMPARE(lines.at(1), QStringLiteral("row 0") + QString(55, 'x') + QChar(0x2026));
    QVERIFY(lines.at(10).startsWith("row 9x"));
    QCOMPARE(lines.at(11), QStringLiteral("and 15 more"));
    scripted.messages.removeLast();
    // A file that cannot be read leaves the tree empty; no file chosen changes nothing.
    click(editor, "pushButton_2");
    QCOMPARE(treeOf(editor)->topLevelItemCount(), 0);
    addClasses(editor, {"Kept"});
    click(editor, "pushButton_2");
    QCOMPARE(treeText(editor), QStringLiteral("Kept <K>"));
    QCOMPARE(scripted.messages.size(), 1);
}

void TestClassDialogs::editorSave()
{
    ScriptedDialogs scripted;
    const QString saved = m_dir.filePath("saved.txt");
    const QString empty = m_dir.filePath("empty.txt");
    scripted.fileAnswers << saved << empty << m_dir.filePath("no/such/folder/model.txt");
    OpenModelDialog editor(nullptr);
    click(editor, "pushButton_5");
    treeOf(editor)->topLevelItem(1)->addChild(new QTreeWidgetItem(QStringList{" Nlow", "<Y>"}));
    click(editor, "pushButton_4");
    QCOMPARE(scripted.fileQuestions.at(0).caption, QStringLiteral("Save Model File"));
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("Bat\t<A>\nNo Call\t<D>\n\t Nlow\t<Y>\n"));
    // Clear, then Save: an empty file.
    click(editor, "pushButton_3");
    QCOMPARE(editor.getModelText(), QString());
    click(editor, "pushButton_4");
    QVERIFY(QFileInfo(empty).isFile());
    QCOMPARE(QFileInfo(empty).size(), 0);
    QVERIFY(scripted.messages.isEmpty());
    // A failed Save says so.
    scripted.expectMessages();
    click(editor, "pushButton_4");
    QCOMPARE(scripted.messages.size(), 1);
    QCOMPARE(scripted.messages.first().text, QStringLiteral("Could not write to file."));
    QCOMPARE(scripted.messages.first().icon, QMessageBox::Critical);
    QVERIFY(!scripted.messages.first().parent && scripted.messages.first().title.isEmpty());
}

void TestClassDialogs::editorSaveWithoutSuffix()
{
    // Saved as "mymodel.txt": Load, which lists only "*.txt", reads it back.
    ScriptedDialogs scripted;
    scripted.fileAnswers << m_dir.filePath("mymodel") << m_dir.filePath("mymodel.txt");
    OpenModelDialog editor(nullptr);
    addClasses(editor, {"Pip", "Nyc"});
    click(editor, "pushButton_4");
    click(editor, "pushButton_3");
    click(editor, "pushButton_2");
    QCOMPARE(treeText(editor), QStringLiteral("Pip <P>; Nyc <N>"));
}

void TestClassDialogs::defaultTrees()
{
    ScriptedDialogs scripted;
    OpenModelDialog editor(nullptr);
    // An empty tree takes a default tree without a question; a full one asks first.
    click(editor, "pushButton_5");
    QVERIFY(scripted.messages.isEmpty());
    QCOMPARE(editor.getModelText(), ClassModelText::write(ClassModelText::simpleDefaultTree()));
    QCOMPARE(treeOf(editor)->columnWidth(0), 150);
    QCOMPARE(treeOf(editor)->columnWidth(1), 50);
    scripted.messageAnswers << QMessageBox::Cancel << QMessageBox::Ok;
    click(editor, "pushButton");
    QCOMPARE(editor.getModelText(), ClassModelText::write(ClassModelText::simpleDefaultTree()));
    click(editor, "pushButton");
    QCOMPARE(editor.getModelText(), ClassModelText::write(ClassModelText::advancedDefaultTree()));
    QCOMPARE(scripted.messages.size(), 2);
    QCOMPARE(scripted.messages.first().text, QStringLiteral("Do you really want to load default Model?"));
    QCOMPARE(scripted.messages.first().informativeText, QStringLiteral("The current Model will be deleted!"));
    QCOMPARE(scripted.messages.first().defaultButton, QMessageBox::Cancel);
}

void TestClassDialogs::menuEntries()
{
    auto texts = [](const QTreeWidgetItem *item) {
        QMenu menu;
        OpenModelDialog::buildContextMenu(&menu, item);
        QStringList entries;
        for (const QAction *action : menu.actions())
            entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return entries;
    };
    QTreeWidgetItem cls(QStringList{"Pip", "<A>"});
    auto *sub = new QTreeWidgetItem(&cls, QStringList{"Pnat", "<B>"});
    QCOMPARE(texts(nullptr), QStringList{"&Add Class"});
    QCOMPARE(texts(&cls), (QStringList{"&Add Class", "&Add Subclass", "-", "&Delete Class", "-", "&Rename Class",
                                       "&Change Shortcut"}));
    QCOMPARE(texts(sub), (QStringList{"&Delete Subclass", "-", "&Rename Subclass", "&Change Shortcut"}));
}

void TestClassDialogs::menuActions()
{
    ScriptedDialogs scripted;
    OpenModelDialog editor(nullptr);
    QTreeWidget *tree = treeOf(editor);
    addClasses(editor, {"A", "B", "C"});
    scripted.dialogAnswers << typeAndAccept("New") << typeAndAccept("Sub") << [](QDialog *d) {
        // The entry's own letter is in use like every other: the first free one is F.
        auto *box = d->findChild<QComboBox *>(QStringLiteral("comboBox"));
        QCOMPARE(box->itemText(0), QStringLiteral("<F>"));
        box->setCurrentText(QStringLiteral("<Z>"));
        d->accept();
    } << typeAndAccept("Renamed");
    // Added over the second of three classes: third place, with the first free letter.
    editor.runMenuEntry(QStringLiteral("&Add Class"), tree->topLevelItem(1));
    editor.runMenuEntry(QStringLiteral("&Add Subclass"), tree->topLevelItem(0));
    editor.runMenuEntry(QStringLiteral("&Change Shortcut"), tree->topLevelItem(0)->child(0));
    editor.runMenuEntry(QStringLiteral("&Rename Subclass"), tree->topLevelItem(0)->child(0));
    QCOMPARE(treeText(editor), QStringLiteral("A <A> {Renamed <Z>}; B <B>; New <D>; C <C>"));
    QStringList titles;
    for (const ScriptedDialogs::DialogRun &run : qAsConst(scripted.dialogRuns))
        titles << run.title;
    QCOMPARE(titles, (QStringList{"Set new Class Parameter", "Set new Subclass Parameter", "Set new Shortcut",
                                  "Rename Class"}));

    scripted.messageAnswers << QMessageBox::Cancel << QMessageBox::Ok << QMessageBox::Ok;
    editor.runMenuEntry(QStringLiteral("&Delete Class"), tree->topLevelItem(0));
    QCOMPARE(scripted.messages.last().text,
             QStringLiteral("Do you really want to delete Class \"A\" and its Subclasses?"));
    editor.runMenuEntry(QStringLiteral("&Delete Subclass"), tree->topLevelItem(0)->child(0));
    QCOMPARE(scripted.messages.last().text, QStringLiteral("Do you really want to delete Subclass \"Renamed\"?"));
    editor.runMenuEntry(QStringLiteral("&Delete Class"), tree->topLevelItem(1));
    QCOMPARE(editor.getModelText(), QStringLiteral("A\t<A>\nNew\t<D>\nC\t<C>\n"));
}

void TestClassDialogs::menuOverTheTree()
{
    ScriptedDialogs scripted;
    OpenModelDialog editor(nullptr);
    scripted.menuAnswers << QStringLiteral("&Add Class");
    scripted.dialogAnswers << typeAndAccept("Bat");
    emit treeOf(editor)->customContextMenuRequested(QPoint(5, 5));
    QCOMPARE(scripted.menuRuns.size(), 1);
    QCOMPARE(scripted.menuRuns.first().entries, QStringList{"&Add Class"});
    QCOMPARE(scripted.menuRuns.first().globalPos, treeOf(editor)->viewport()->mapToGlobal(QPoint(5, 5)));
    QCOMPARE(treeText(editor), QStringLiteral("Bat <A>"));
}

void TestClassDialogs::deleteKey_data()
{
    QTest::addColumn<bool>("onSubclass");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("expected");
    const QString classQuestion = QStringLiteral("Do you really want to delete Class \"Pip\" and all its Subclasses?");
    QTest::newRow("class, OK") << false << int(QMessageBox::Ok) << classQuestion << "Nyc <N>";
    QTest::newRow("class, Cancel") << false << int(QMessageBox::Cancel) << classQuestion
                                   << "Pip <P> {Pnat <Q>}; Nyc <N>";
    QTest::newRow("subclass, OK") << true << int(QMessageBox::Ok) << "Do you really want to delete Subclass \"Pnat\"?"
                                  << "Pip <P>; Nyc <N>";
}

void TestClassDialogs::deleteKey()
{
    QFETCH(bool, onSubclass);
    QFETCH(int, answer);
    ScriptedDialogs scripted;
    OpenModelDialog editor(nullptr);
    addClasses(editor, {"Pip", "Nyc"});
    QTreeWidgetItem *pip = treeOf(editor)->topLevelItem(0);
    pip->addChild(new QTreeWidgetItem(QStringList{"Pnat", "<Q>"}));
    // No current row: the key asks nothing.
    QTest::keyClick(treeOf(editor), Qt::Key_Delete);
    QVERIFY(scripted.messages.isEmpty());
    treeOf(editor)->setCurrentItem(onSubclass ? pip->child(0) : pip);
    scripted.messageAnswers << QMessageBox::StandardButton(answer);
    QTest::keyClick(treeOf(editor), Qt::Key_Delete);
    QCOMPARE(scripted.messages.size(), 1);
    QTEST(scripted.messages.first().text, "question");
    QTEST(treeText(editor), "expected");
}

QUILLON_TEST(TestClassDialogs)
#include "tst_classdialogs.moc"
