#include "testregistry.h"

#include "scripteddialogs.h"
#include "classmodel/changeshortcutdialog.h"
#include "classmodel/classmodeltext.h"
#include "classmodel/insertitemdialog.h"
#include "classmodel/openmodeldialog.h"
#include "classmodel/renamedialog.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

QStringList comboTexts(const QDialog &dialog)
{
    const auto *box = dialog.findChild<QComboBox *>(QStringLiteral("comboBox"));
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

void type(QDialog *dialog, const QString &text)
{
    dialog->findChild<QLineEdit *>(QStringLiteral("lineEdit"))->setText(text);
}

// The editor's tree in one line: "A <A> {B <B>}; C <C>".
QString treeText(const OpenModelDialog &editor)
{
    const auto *tree = editor.findChild<QTreeWidget *>(QStringLiteral("treeWidget"));
    QStringList classes;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *cls = tree->topLevelItem(i);
        QString text = cls->text(0) + QLatin1Char(' ') + cls->text(1);
        QStringList subs;
        for (int j = 0; j < cls->childCount(); ++j)
            subs << cls->child(j)->text(0) + QLatin1Char(' ') + cls->child(j)->text(1);
        if (!subs.isEmpty())
            text += QStringLiteral(" {") + subs.join(QStringLiteral(", ")) + QLatin1Char('}');
        classes << text;
    }
    return classes.join(QStringLiteral("; "));
}

QTreeWidget *treeOf(OpenModelDialog &editor)
{
    return editor.findChild<QTreeWidget *>(QStringLiteral("treeWidget"));
}

void click(OpenModelDialog &editor, const char *button)
{
    editor.findChild<QPushButton *>(QLatin1String(button))->click();
}

QStringList menuTexts(const QTreeWidgetItem *item)
{
    QMenu menu;
    OpenModelDialog::buildContextMenu(&menu, item);
    QStringList texts;
    for (const QAction *action : menu.actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

} // namespace

class TestClassDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void shortcutChoices();
    void nameCheck_data();
    void nameCheck();
    void cancelAfterRefusal();
    void editorLoad();
    void editorLoadRefusesNames();
    void editorSave();
    void editorSaveFails();
    void editorClear();
    void defaultTrees_data();
    void defaultTrees();
    void menuEntries();
    void menuActions();
    void menuOverTheTree();
    void deleteKey_data();
    void deleteKey();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

void TestClassDialogs::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestClassDialogs::shortcutChoices()
{
    InsertItemDialog insert(nullptr, {"<C>", "<A>", ""});
    QStringList expected = ClassModelText::allShortcuts();
    expected.removeAll("<A>");
    expected.removeAll("<C>");
    QCOMPARE(comboTexts(insert), expected);
    QCOMPARE(insert.getShortcut(), QStringLiteral("<B>"));
    // The changed entry's own shortcut is among those in use: it is not offered.
    ChangeShortcutDialog change(nullptr, ClassModelText::allShortcuts().mid(1));
    QCOMPARE(comboTexts(change), QStringList{"<A>"});
    ChangeShortcutDialog full(nullptr, ClassModelText::allShortcuts());
    QCOMPARE(full.getShortcut(), QString());
}

void TestClassDialogs::nameCheck_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("refusal");   // empty: taken as typed
    const QString empty = QStringLiteral("The new Class Name may not be empty.");
    const QString unusable = QStringLiteral("This class name cannot be used.");
    QTest::newRow("blanks only") << "   " << empty;
    QTest::newRow("a bar") << "Pip|Nyc" << unusable;
    QTest::newRow("the class separator") << "Pip + Nyc" << unusable;
    QTest::newRow("a line break") << "Pip\nNyc" << unusable;
    QTest::newRow("the unassigned row") << "Unassigned" << unusable;
    QTest::newRow("the no-call row") << "Detected No Call" << unusable;
    QTest::newRow("blanks kept") << " Pip " << QString();
}

void TestClassDialogs::nameCheck()
{
    QFETCH(QString, typed);
    QFETCH(QString, refusal);
    for (int kind = 0; kind < 2; ++kind) {
        ScriptedDialogs scripted;
        InsertItemDialog insert(nullptr, {});
        RenameDialog rename(nullptr, QStringLiteral("Old"));
        QDialog *dialog = kind == 0 ? static_cast<QDialog *>(&insert) : &rename;
        scripted.dialogAnswers << [&typed](QDialog *d) {
            type(d, typed);
            d->accept();
        };
        const int result = userDialogs().runDialog(dialog);
        if (refusal.isEmpty()) {
            QCOMPARE(result, int(QDialog::Accepted));
            QVERIFY(scripted.messages.isEmpty());
            QCOMPARE(kind == 0 ? insert.getName() : rename.getName(), typed);
        } else {
            QCOMPARE(scripted.messages.size(), 1);
            QCOMPARE(scripted.messages.first().text, refusal);
            QCOMPARE(scripted.messages.first().icon, QMessageBox::Information);
            QCOMPARE(scripted.messages.first().title, QString());
            QVERIFY(!scripted.messages.first().parent);
            // The refused OK left the dialog open; the script then closed it.
            QCOMPARE(result, int(QDialog::Rejected));
        }
    }
}

void TestClassDialogs::cancelAfterRefusal()
{
    ScriptedDialogs scripted;
    RenameDialog rename(nullptr, QStringLiteral("Pip"));
    bool openAfterRefusal = false;
    scripted.dialogAnswers << [&openAfterRefusal](QDialog *d) {
        type(d, QString());
        d->accept();
        openAfterRefusal = d->result() != QDialog::Accepted;
        d->reject();
    };
    QCOMPARE(userDialogs().runDialog(&rename), int(QDialog::Rejected));
    QVERIFY(openAfterRefusal);
    QCOMPARE(scripted.messages.size(), 1);
}

void TestClassDialogs::editorLoad()
{
    QFile model(path("model.txt"));
    QVERIFY(model.open(QIODevice::WriteOnly));
    model.write(" Pip \t<A>\r\n\tPnat\t<Q>\r\n\0trailing\t<Z>\n", 36);
    model.close();
    ScriptedDialogs scripted;
    scripted.fileAnswers << path("model.txt") << path("missing.txt");
    OpenModelDialog editor(nullptr);
    treeOf(editor)->addTopLevelItem(new QTreeWidgetItem(QStringList{"Old", "<O>"}));
    click(editor, "pushButton_2");
    // Replaced without a question; names and shortcuts as they stand, CR and all; nothing after the NUL.
    QCOMPARE(treeText(editor), QStringLiteral(" Pip  <A>\r {Pnat <Q>\r}"));
    QVERIFY(treeOf(editor)->topLevelItem(0)->isExpanded());
    QVERIFY(scripted.messages.isEmpty());
    const ScriptedDialogs::FileQuestion &asked = scripted.fileQuestions.at(0);
    QCOMPARE(asked.caption, QStringLiteral("Open Model File"));
    QCOMPARE(asked.filter, QStringLiteral("TXT Files (*.txt)"));
    QCOMPARE(asked.dir, QCoreApplication::applicationDirPath());
    // A file that cannot be read leaves the tree empty.
    click(editor, "pushButton_2");
    QCOMPARE(treeOf(editor)->topLevelItemCount(), 0);
    // No file chosen: nothing changes.
    treeOf(editor)->addTopLevelItem(new QTreeWidgetItem(QStringList{"Kept", "<K>"}));
    click(editor, "pushButton_2");
    QCOMPARE(treeText(editor), QStringLiteral("Kept <K>"));
}

void TestClassDialogs::editorLoadRefusesNames()
{
    QFile model(path("refused.txt"));
    QVERIFY(model.open(QIODevice::WriteOnly));
    model.write("Pip\t<A>\nUnassigned\t<B>\n\tSub\t<C>\nNyc|x\t<D>\nNyc\t<E>\n");
    model.close();
    ScriptedDialogs scripted;
    scripted.fileAnswers << path("refused.txt");
    OpenModelDialog editor(nullptr);
    click(editor, "pushButton_2");
    QCOMPARE(treeText(editor), QStringLiteral("Pip <A>; Nyc <E>"));
    QCOMPARE(scripted.messages.size(), 1);
    QCOMPARE(scripted.messages.first().icon, QMessageBox::Warning);
    for (const char *name : {"Unassigned", "Sub", "Nyc|x"})
        QVERIFY(scripted.messages.first().text.contains(QLatin1String(name)));
}

void TestClassDialogs::editorSave()
{
    ScriptedDialogs scripted;
    scripted.fileAnswers << path("saved.txt") << path("empty.txt");
    OpenModelDialog editor(nullptr);
    click(editor, "pushButton"); // advanced default tree
    click(editor, "pushButton_4");
    QFile saved(path("saved.txt"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("Pip\t<A>\n\tPnat\t<Q>\n\tPpPn\t<W>\n\tPpip\t<E>\n\tPpPp\t<R>\n\tPpyg\t<T>\n"
                                         "Nyc\t<S>\n\tNlow\t<Y>\n\tNnoc\t<X>\n\tNycmi\t<C>\n\tEnil\t<V>\n"
                                         "Test\t<D>\nNoise\t<F>\n"));
    QCOMPARE(scripted.fileQuestions.at(0).caption, QStringLiteral("Save Model File"));
    click(editor, "pushButton_3");
    click(editor, "pushButton_4");
    QCOMPARE(QFileInfo(path("empty.txt")).size(), 0);
    QVERIFY(QFileInfo(path("empty.txt")).isFile());
    QVERIFY(scripted.messages.isEmpty());
}

void TestClassDialogs::editorSaveFails()
{
    ScriptedDialogs scripted;
    scripted.fileAnswers << path("no/such/folder/model.txt");
    OpenModelDialog editor(nullptr);
    click(editor, "pushButton_5");
    click(editor, "pushButton_4");
    QCOMPARE(scripted.messages.size(), 1);
    QCOMPARE(scripted.messages.first().text, QStringLiteral("Could not write to file."));
    QCOMPARE(scripted.messages.first().icon, QMessageBox::Critical);
    QCOMPARE(scripted.messages.first().title, QString());
    QVERIFY(!scripted.messages.first().parent);
}

void TestClassDialogs::editorClear()
{
    ScriptedDialogs scripted;
    OpenModelDialog editor(nullptr);
    click(editor, "pushButton_5");
    click(editor, "pushButton_3");
    QCOMPARE(treeOf(editor)->topLevelItemCount(), 0);
    QCOMPARE(editor.getModelText(), QString());
    QVERIFY(scripted.messages.isEmpty());
}

void TestClassDialogs::defaultTrees_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("expected");
    const QString simple = QStringLiteral("Bat <A>; No Call <D>");
    QTest::newRow("simple, OK") << "pushButton_5" << int(QMessageBox::Ok) << simple;
    QTest::newRow("simple, Cancel") << "pushButton_5" << int(QMessageBox::Cancel) << "Mine <M>";
    QTest::newRow("advanced, OK") << "pushButton" << int(QMessageBox::Ok)
                                  << "Pip <A> {Pnat <Q>, PpPn <W>, Ppip <E>, PpPp <R>, Ppyg <T>}; "
                                     "Nyc <S> {Nlow <Y>, Nnoc <X>, Nycmi <C>, Enil <V>}; Test <D>; Noise <F>";
}

void TestClassDialogs::defaultTrees()
{
    QFETCH(QString, button);
    QFETCH(int, answer);
    ScriptedDialogs scripted;
    OpenModelDialog editor(nullptr);
    // An empty tree takes a default tree without a question.
    click(editor, qPrintable(button));
    QVERIFY(scripted.messages.isEmpty());
    QCOMPARE(treeOf(editor)->columnWidth(0), 150);
    QCOMPARE(treeOf(editor)->columnWidth(1), 50);
    click(editor, "pushButton_3");
    treeOf(editor)->addTopLevelItem(new QTreeWidgetItem(QStringList{"Mine", "<M>"}));
    scripted.messageAnswers << QMessageBox::StandardButton(answer);
    click(editor, qPrintable(button));
    QCOMPARE(scripted.messages.size(), 1);
    const MessageBoxRequest &asked = scripted.messages.first();
    QCOMPARE(asked.text, QStringLiteral("Do you really want to load default Model?"));
    QCOMPARE(asked.informativeText, QStringLiteral("The current Model will be deleted!"));
    QCOMPARE(asked.title, QStringLiteral("Warning"));
    QCOMPARE(asked.defaultButton, QMessageBox::Cancel);
    QTEST(treeText(editor), "expected");
}

void TestClassDialogs::menuEntries()
{
    QTreeWidgetItem cls(QStringList{"Pip", "<A>"});
    auto *sub = new QTreeWidgetItem(&cls, QStringList{"Pnat", "<B>"});
    QCOMPARE(menuTexts(nullptr), QStringList{"&Add Class"});
    QCOMPARE(menuTexts(&cls), (QStringList{"&Add Class", "&Add Subclass", "-", "&Delete Class", "-", "&Rename Class",
                                           "&Change Shortcut"}));
    QCOMPARE(menuTexts(sub), (QStringList{"&Delete Subclass", "-", "&Rename Subclass", "&Change Shortcut"}));
    QMenu menu;
    OpenModelDialog::buildContextMenu(&menu, &cls);
    for (const QAction *action : menu.actions())
        QVERIFY(action->icon().isNull());
}

void TestClassDialogs::menuActions()
{
    ScriptedDialogs scripted;
    OpenModelDialog editor(nullptr);
    QTreeWidget *tree = treeOf(editor);
    for (const char *name : {"A", "B", "C"})
        tree->addTopLevelItem(new QTreeWidgetItem(QStringList{name, QStringLiteral("<%1>").arg(name)}));
    auto answerName = [&scripted](const QString &name) {
        scripted.dialogAnswers << [name](QDialog *d) {
            type(d, name);
            d->accept();
        };
    };

    answerName("New");
    editor.runMenuEntry(QStringLiteral("&Add Class"), tree->topLevelItem(1));
    QCOMPARE(scripted.dialogRuns.last().title, QStringLiteral("Set new Class Parameter"));
    // Added over the second of three classes: third place, with the first free letter.
    QCOMPARE(treeText(editor), QStringLiteral("A <A>; B <B>; New <D>; C <C>"));

    answerName("Sub");
    editor.runMenuEntry(QStringLiteral("&Add Subclass"), tree->topLevelItem(0));
    QCOMPARE(scripted.dialogRuns.last().title, QStringLiteral("Set new Subclass Parameter"));
    QCOMPARE(treeText(editor), QStringLiteral("A <A> {Sub <E>}; B <B>; New <D>; C <C>"));

    scripted.dialogAnswers << [](QDialog *d) {
        // The entry's own letter is in use like every other: the first free one is F.
        QCOMPARE(d->findChild<QComboBox *>(QStringLiteral("comboBox"))->itemText(0), QStringLiteral("<F>"));
        d->findChild<QComboBox *>(QStringLiteral("comboBox"))->setCurrentText(QStringLiteral("<Z>"));
        d->accept();
    };
    editor.runMenuEntry(QStringLiteral("&Change Shortcut"), tree->topLevelItem(0)->child(0));
    QCOMPARE(scripted.dialogRuns.last().title, QStringLiteral("Set new Shortcut"));

    answerName("Renamed");
    editor.runMenuEntry(QStringLiteral("&Rename Subclass"), tree->topLevelItem(0)->child(0));
    QCOMPARE(scripted.dialogRuns.last().title, QStringLiteral("Rename Class"));
    QCOMPARE(treeText(editor), QStringLiteral("A <A> {Renamed <Z>}; B <B>; New <D>; C <C>"));

    scripted.messageAnswers << QMessageBox::Cancel << QMessageBox::Ok << QMessageBox::Ok;
    editor.runMenuEntry(QStringLiteral("&Delete Class"), tree->topLevelItem(0));
    QCOMPARE(scripted.messages.last().text,
             QStringLiteral("Do you really want to delete Class \"A\" and its Subclasses?"));
    QCOMPARE(tree->topLevelItemCount(), 4);
    editor.runMenuEntry(QStringLiteral("&Delete Subclass"), tree->topLevelItem(0)->child(0));
    QCOMPARE(scripted.messages.last().text, QStringLiteral("Do you really want to delete Subclass \"Renamed\"?"));
    editor.runMenuEntry(QStringLiteral("&Delete Class"), tree->topLevelItem(1));
    QCOMPARE(treeText(editor), QStringLiteral("A <A>; New <D>; C <C>"));
    QCOMPARE(editor.getModelText(), QStringLiteral("A\t<A>\nNew\t<D>\nC\t<C>\n"));
}

void TestClassDialogs::menuOverTheTree()
{
    ScriptedDialogs scripted;
    OpenModelDialog editor(nullptr);
    editor.resize(412, 306);
    scripted.menuAnswers << QStringLiteral("&Add Class");
    scripted.dialogAnswers << [](QDialog *d) {
        type(d, QStringLiteral("Bat"));
        d->accept();
    };
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
    QTest::newRow("class, OK") << false << int(QMessageBox::Ok)
                               << "Do you really want to delete Class \"Pip\" and all its Subclasses?" << "Nyc <S>";
    QTest::newRow("class, Cancel") << false << int(QMessageBox::Cancel)
                                   << "Do you really want to delete Class \"Pip\" and all its Subclasses?"
                                   << "Pip <A> {Pnat <Q>}; Nyc <S>";
    QTest::newRow("subclass, OK") << true << int(QMessageBox::Ok)
                                  << "Do you really want to delete Subclass \"Pnat\"?" << "Pip <A>; Nyc <S>";
}

void TestClassDialogs::deleteKey()
{
    QFETCH(bool, onSubclass);
    QFETCH(int, answer);
    ScriptedDialogs scripted;
    OpenModelDialog editor(nullptr);
    QTreeWidget *tree = treeOf(editor);
    auto *pip = new QTreeWidgetItem(tree, QStringList{"Pip", "<A>"});
    new QTreeWidgetItem(pip, QStringList{"Pnat", "<Q>"});
    new QTreeWidgetItem(tree, QStringList{"Nyc", "<S>"});
    // No current row: the key asks nothing.
    QTest::keyClick(tree, Qt::Key_Delete);
    QVERIFY(scripted.messages.isEmpty());
    tree->setCurrentItem(onSubclass ? pip->child(0) : pip);
    scripted.messageAnswers << QMessageBox::StandardButton(answer);
    QTest::keyClick(tree, Qt::Key_Delete);
    QCOMPARE(scripted.messages.size(), 1);
    QTEST(scripted.messages.first().text, "question");
    QCOMPARE(scripted.messages.first().defaultButton, QMessageBox::Cancel);
    QTEST(treeText(editor), "expected");
}

QUILLON_TEST(TestClassDialogs)
#include "tst_classdialogs.moc"
