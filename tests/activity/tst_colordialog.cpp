#include "testregistry.h"

#include "activity/colordialog.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTreeWidget>
#include <QtTest>

namespace {

struct Colours {
    ColorDialog dialog;
    QTreeWidget *tree = dialog.findChild<QTreeWidget *>("treeWidget");

    Colours(const QStringList &names, const QList<QColor> &colors)
        : dialog(nullptr, names, colors)
    {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    }
    // Double-clicks a cell and returns the editor it opened, if any.
    QLineEdit *doubleClick(int row, int column)
    {
        QTreeWidgetItem *item = tree->topLevelItem(row);
        const QRect r = tree->visualItemRect(item);
        const QPoint at(tree->header()->sectionViewportPosition(column) + tree->columnWidth(column) / 2,
                        r.center().y());
        // A real double-click: the view only takes one on the cell it was pressed on.
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        return qobject_cast<QLineEdit *>(tree->indexWidget(tree->model()->index(row, column)));
    }
};

} // namespace

class TestColorDialog : public QObject
{
    Q_OBJECT
private slots:
    void rowsAndColours();
    void editorOnlyInComponentColumns();
    void committedEditTurnsSwatch();
    void emptyClassList();
};

void TestColorDialog::rowsAndColours()
{
    Colours c({"Nyc", "", "All Classes"}, {QColor(10, 20, 30), QColor(200, 100, 50, 127), QColor(0, 0, 255, 40)});
    QCOMPARE(c.tree->topLevelItemCount(), 3);
    QCOMPARE(c.tree->topLevelItem(1)->text(0), QStringLiteral("Unassigned"));
    QCOMPARE(c.tree->topLevelItem(1)->text(1), QStringLiteral("200"));
    QCOMPARE(c.tree->topLevelItem(0)->background(4).color(), QColor(10, 20, 30));
    QCOMPARE(c.dialog.getColors(),
             QList<QColor>({QColor(10, 20, 30, 127), QColor(200, 100, 50, 127), QColor(0, 0, 255, 127)}));
}

void TestColorDialog::editorOnlyInComponentColumns()
{
    Colours c({"Nyc"}, {QColor(10, 20, 30)});
    QVERIFY(!c.doubleClick(0, 0));
    QVERIFY(!c.doubleClick(0, 4));
    for (int column = 1; column <= 3; ++column) {
        QLineEdit *editor = c.doubleClick(0, column);
        QVERIFY2(editor, qPrintable(QString::number(column)));
        // Letters are refused as they are typed, a value past 255 when it would be committed.
        editor->clear();
        QTest::keyClicks(editor, QStringLiteral("2a56"));
        QCOMPARE(editor->text(), QStringLiteral("256"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // a commit would arrive queued
        QVERIFY(editor->isVisible());
        QTest::keyClick(editor, Qt::Key_Escape);
    }
    QCOMPARE(c.dialog.getColors(), QList<QColor>{QColor(10, 20, 30, 127)});
}

void TestColorDialog::committedEditTurnsSwatch()
{
    Colours c({"Nyc", "Pip"}, {QColor(0, 20, 30), QColor(1, 2, 3)});
    QLineEdit *editor = c.doubleClick(0, 1);
    QVERIFY(editor);
    editor->setText(QStringLiteral("255"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(c.tree->topLevelItem(0)->text(1), QStringLiteral("255"));
    QCOMPARE(c.tree->topLevelItem(0)->background(4).color(), QColor(255, 20, 30, 127));
    QCOMPARE(c.tree->topLevelItem(1)->background(4).color(), QColor(1, 2, 3));
    QCOMPARE(c.dialog.getColors(), QList<QColor>({QColor(255, 20, 30, 127), QColor(1, 2, 3, 127)}));
}

void TestColorDialog::emptyClassList()
{
    ColorDialog dialog(nullptr, {}, {});
    QCOMPARE(dialog.findChild<QTreeWidget *>("treeWidget")->topLevelItemCount(), 0);
    QVERIFY(dialog.getColors().isEmpty());
}

QUILLON_TEST(TestColorDialog)
#include "tst_colordialog.moc"
