#include "testregistry.h"

#include "filelist/filelistwidget.h"
#include "filelist/fileviewtreewidgetitem.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

namespace {

// A shown list of rows with an accept box each; rows below `enabledRows` stay disabled.
struct BoxList {
    explicit BoxList(int rows, int enabledRows)
    {
        list.setColumnCount(11);
        list.resize(400, 200);
        for (int i = 0; i < rows; ++i) {
            auto *row = new fileViewTreeWidgetItem(&list);
            row->setText(0, QStringLiteral("%1.wav").arg(i, 3, 10, QLatin1Char('0')));
            row->setFlags(i < enabledRows ? Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled
                                          : Qt::NoItemFlags);
            boxes << row->addAcceptCheckBox(i % 2 == 0);
        }
        list.show();
    }
    QWidget *box(int row) const { return boxes.at(row); }
    QRect cell(int row, int column) { return list.visualItemRect(list.topLevelItem(row)).intersected(
        QRect(list.header()->sectionViewportPosition(column), 0, list.columnWidth(column), 1 << 20)); }
    FileListWidget list;
    QList<QCheckBox *> boxes;
};

} // namespace

class TestFileListWidget : public QObject
{
    Q_OBJECT
private slots:
    void boxesInViewOnly();
    void focusedBoxStays();
    void rowEnabledShowsItsBox();
    void openEditorStays();
};

void TestFileListWidget::boxesInViewOnly()
{
    BoxList l(300, 300);
    QVERIFY(QTest::qWaitForWindowExposed(&l.list));
    l.list.setFocus();
    QTRY_VERIFY(l.box(0)->isVisible());
    QCOMPARE(l.box(0)->geometry().center().y(), l.cell(0, 5).center().y());
    QVERIFY(!l.box(299)->isVisible());
    // Every row is as high as the first; a row without a box there still leaves room for the box.
    static_cast<fileViewTreeWidgetItem *>(l.list.topLevelItem(0))->removeAcceptCheckBox();
    l.list.topLevelItem(0)->setText(1, QStringLiteral("x"));
    QCoreApplication::processEvents();
    QVERIFY(l.box(1)->sizeHint().height() <= l.list.visualItemRect(l.list.topLevelItem(1)).height());
    l.list.scrollToBottom();
    QVERIFY(l.box(299)->isVisible());
    QVERIFY(!l.box(1)->isVisible());
    QCOMPARE(l.box(299)->geometry().center().y(), l.cell(299, 5).center().y());
    // Sorted the other way round: each box goes with its row.
    l.list.sortItems(0, Qt::DescendingOrder);
    QTRY_VERIFY(l.box(1)->isVisible());
    QCOMPARE(l.list.topLevelItem(298)->text(0), QStringLiteral("001.wav"));
    QCOMPARE(l.box(1)->geometry().center().y(), l.cell(298, 5).center().y());
    // A hidden column hides its boxes.
    l.list.hideColumn(5);
    QTRY_VERIFY(!l.box(1)->isVisible());
}

void TestFileListWidget::focusedBoxStays()
{
    BoxList l(300, 300);
    QVERIFY(QTest::qWaitForWindowExposed(&l.list));
    QTRY_VERIFY(l.box(3)->isVisible());
    l.box(3)->setFocus();
    l.list.scrollToBottom();
    const int bottom = l.list.verticalScrollBar()->value();
    QCoreApplication::processEvents();
    // Hidden, it would hand the focus on and the list would scroll after the next box.
    QVERIFY(l.box(3)->isVisible());
    QCOMPARE(l.list.window()->focusWidget(), static_cast<QWidget *>(l.box(3)));
    QCOMPARE(l.list.verticalScrollBar()->value(), bottom);
    QVERIFY(!l.box(4)->isVisible());
}

void TestFileListWidget::rowEnabledShowsItsBox()
{
    BoxList l(5, 0);
    QVERIFY(QTest::qWaitForWindowExposed(&l.list));
    l.list.setFocus();
    QCoreApplication::processEvents();
    for (int i = 0; i < 5; ++i)
        QVERIFY(!l.box(i)->isVisible());
    l.list.topLevelItem(2)->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    QVERIFY(l.box(2)->isVisible());
    QCOMPARE(l.box(2)->geometry(), l.cell(2, 5));
    QVERIFY(!l.box(1)->isVisible());
    l.list.topLevelItem(2)->setFlags(Qt::NoItemFlags);
    QVERIFY(!l.box(2)->isVisible());
}

void TestFileListWidget::openEditorStays()
{
    BoxList l(300, 300);
    QVERIFY(QTest::qWaitForWindowExposed(&l.list));
    QTreeWidgetItem *first = l.list.topLevelItem(0);
    l.list.editItem(first, 10);
    auto *editor = qobject_cast<QLineEdit *>(l.list.itemWidget(first, 10));
    QVERIFY(editor);
    editor->setText(QStringLiteral("typed"));
    l.list.scrollToBottom();
    QCoreApplication::processEvents();
    // Out of view, but open with its text: Qt keeps an editor that scrolls away.
    QCOMPARE(l.list.itemWidget(first, 10), editor);
    QVERIFY(!editor->isHidden());
    QCOMPARE(editor->text(), QStringLiteral("typed"));
}

QUILLON_TEST(TestFileListWidget)
#include "tst_filelistwidget.moc"
