#include "testregistry.h"

#include "filelist/filelistwidget.h"
#include "filelist/fileviewtreewidgetitem.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

namespace {

// A shown list of rows with an accept box each; rows from `enabledRows` on stay disabled.
struct BoxList {
    BoxList(int rows, int enabledRows)
    {
        list.setColumnCount(11);
        list.resize(400, 200);
        for (int i = 0; i < rows; ++i) {
            auto *row = new fileViewTreeWidgetItem(&list);
            row->setText(0, QStringLiteral("%1.wav").arg(i, 3, 10, QLatin1Char('0')));
            row->setFlags(i < enabledRows ? Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled
                                          : Qt::NoItemFlags);
            boxes << row->addAcceptCheckBox(false);
        }
        list.show();
        list.setFocus();
    }
    bool exposed() { return QTest::qWaitForWindowExposed(&list); }
    QWidget *box(int i) const { return boxes.at(i); }
    // The box's row, by its place on screen.
    int rowAtBox(int i) const { return list.indexOfTopLevelItem(list.itemAt(box(i)->geometry().center())); }
    FileListWidget list;
    QList<QCheckBox *> boxes;
};

} // namespace

class TestFileListWidget : public QObject
{
    Q_OBJECT
private slots:
    void boxesOfRowsInViewOnly();
    void enablingARowShowsItsBox();
    void focusKeepsAWidgetShown();
    void acceptBoxesMadeForRowsInView();
    void settingABoxAcceptsNothing();
    void rowCutByTheViewsEdgeIsInView();
    void rowChangeReachesAnOpenEditorOutOfView();
};

void TestFileListWidget::boxesOfRowsInViewOnly()
{
    BoxList l(300, 300);
    QVERIFY(l.exposed());
    QTRY_VERIFY(l.box(1)->isVisible());
    QCOMPARE(l.rowAtBox(1), 1);
    QVERIFY(!l.box(299)->isVisible());
    // Every row is as high as the first; a first row without a box still leaves room for one.
    static_cast<fileViewTreeWidgetItem *>(l.list.topLevelItem(0))->removeAcceptCheckBox();
    l.list.topLevelItem(0)->setText(1, QStringLiteral("x"));
    QCoreApplication::processEvents();
    QVERIFY(l.box(1)->sizeHint().height() <= l.list.visualItemRect(l.list.topLevelItem(1)).height());
    l.list.scrollToBottom();
    QVERIFY(l.box(299)->isVisible() && !l.box(1)->isVisible());
    QCOMPARE(l.rowAtBox(299), 299);
    // Sorted the other way round: each box goes with its row.
    l.list.sortItems(0, Qt::DescendingOrder);
    QTRY_VERIFY(l.box(1)->isVisible());
    QCOMPARE(l.rowAtBox(1), 298);
    l.list.hideColumn(5);
    QTRY_VERIFY(!l.box(1)->isVisible());
}

void TestFileListWidget::enablingARowShowsItsBox()
{
    BoxList l(5, 0);
    QVERIFY(l.exposed());
    QCoreApplication::processEvents();
    QVERIFY(!l.box(2)->isVisible());
    l.list.topLevelItem(2)->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    QVERIFY(l.box(2)->isVisible() && !l.box(1)->isVisible());
    QCOMPARE(l.rowAtBox(2), 2);
    l.list.topLevelItem(2)->setFlags(Qt::NoItemFlags);
    QVERIFY(!l.box(2)->isVisible());
}

void TestFileListWidget::focusKeepsAWidgetShown()
{
    BoxList l(300, 300);
    QVERIFY(l.exposed());
    QTRY_VERIFY(l.box(3)->isVisible());
    l.box(3)->setFocus();
    l.list.scrollToBottom();
    const int bottom = l.list.verticalScrollBar()->value();
    QCoreApplication::processEvents();
    // Hidden, it would hand the focus on and the list would scroll after the next box.
    QVERIFY(l.box(3)->isVisible() && !l.box(4)->isVisible());
    QCOMPARE(l.list.focusWidget(), static_cast<QWidget *>(l.box(3)));
    QCOMPARE(l.list.verticalScrollBar()->value(), bottom);
    // An open cell editor scrolled away stays open with its text, as Qt keeps it.
    l.list.scrollToTop();
    l.list.editItem(l.list.topLevelItem(0), 10);
    auto *editor = qobject_cast<QLineEdit *>(l.list.itemWidget(l.list.topLevelItem(0), 10));
    QVERIFY(editor);
    editor->setText(QStringLiteral("typed"));
    l.list.scrollToBottom();
    QCoreApplication::processEvents();
    QCOMPARE(l.list.itemWidget(l.list.topLevelItem(0), 10), editor);
    QVERIFY(!editor->isHidden());
}

void TestFileListWidget::acceptBoxesMadeForRowsInView()
{
    FileListWidget list;
    list.setColumnCount(11);
    list.resize(400, 200);
    QSet<QCheckBox *> announced;
    QObject::connect(&list, &FileListWidget::acceptBoxMade, [&announced](QCheckBox *box) { announced << box; });
    for (int i = 0; i < 300; ++i) {
        auto *row = new fileViewTreeWidgetItem(&list);
        row->setText(0, QStringLiteral("%1.wav").arg(i, 3, 10, QLatin1Char('0')));
        row->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        row->setAcceptBox(i % 3 == 0);
    }
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    const auto row = [&list](int i) { return static_cast<fileViewTreeWidgetItem *>(list.topLevelItem(i)); };
    const auto box = [&list](int i) { return qobject_cast<QCheckBox *>(list.itemWidget(list.topLevelItem(i), 5)); };
    QTRY_VERIFY(box(1));
    // A box for each row on screen, each in its row's state and tied to its row; none below.
    int onScreen = 0;
    while (box(onScreen))
        ++onScreen;
    QVERIFY2(onScreen >= 5 && onScreen < 20, qPrintable(QString::number(onScreen)));
    for (int i = onScreen; i < 300; ++i)
        QVERIFY(!box(i));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(list.viewport()->findChildren<QCheckBox *>().size(), onScreen);
    QVERIFY(box(0)->isChecked() && !box(1)->isChecked());
    QCOMPARE(box(1)->toolTip(), QStringLiteral("Accept proposal"));
    QCOMPARE(list.rowOfAcceptBox(box(1)), row(1));
    for (int i = 0; i < onScreen; ++i)
        QVERIFY(announced.contains(box(i)));
    QCOMPARE(fileViewTreeWidgetItem::acceptedFlag(row(299)), QStringLiteral("0"));
    QCOMPARE(fileViewTreeWidgetItem::acceptedFlag(row(297)), QStringLiteral("1"));

    // Scrolled away, a row keeps what its box was set to, and shows it when it comes back.
    box(1)->click();
    list.scrollToBottom();
    QVERIFY(box(299) && !box(299)->isChecked());
    QVERIFY(announced.contains(box(299)));
    QCOMPARE(list.rowOfAcceptBox(box(299)), row(299));
    QVERIFY(!box(1));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(list.viewport()->findChildren<QCheckBox *>().size(), onScreen);
    QCOMPARE(fileViewTreeWidgetItem::acceptedFlag(row(1)), QStringLiteral("1"));
    list.scrollToTop();
    QVERIFY(box(1) && box(1)->isChecked());

    // Taken away, the box goes from the row in view and stays away.
    row(1)->removeAcceptCheckBox();
    QCoreApplication::processEvents();
    QVERIFY(!box(1));
    QCOMPARE(fileViewTreeWidgetItem::acceptedFlag(row(1)), QString());
}

void TestFileListWidget::settingABoxAcceptsNothing()
{
    BoxList l(3, 3);
    QVERIFY(l.exposed());
    auto *row = static_cast<fileViewTreeWidgetItem *>(l.list.topLevelItem(1));
    QSignalSpy changes(l.boxes.at(1), &QCheckBox::stateChanged);
    row->setAcceptBox(true);
    QVERIFY(l.boxes.at(1)->isChecked());
    QVERIFY(changes.isEmpty());
    QCOMPARE(fileViewTreeWidgetItem::acceptedFlag(row), QStringLiteral("1"));
    l.boxes.at(1)->click();
    QCOMPARE(changes.size(), 1);
    QCOMPARE(fileViewTreeWidgetItem::acceptedFlag(row), QStringLiteral("0"));
}

void TestFileListWidget::rowCutByTheViewsEdgeIsInView()
{
    BoxList l(300, 0);
    QVERIFY(l.exposed());
    QCoreApplication::processEvents();
    // The viewport ends half-way down a row.
    const int rowHeight = l.list.visualItemRect(l.list.topLevelItem(0)).height();
    QVERIFY(rowHeight > 1);
    l.list.resize(l.list.width(), l.list.height() + rowHeight / 2 - l.list.viewport()->height() % rowHeight);
    QCoreApplication::processEvents();
    const int cut = l.list.viewport()->height() / rowHeight;
    const QRect cutRect = l.list.visualItemRect(l.list.topLevelItem(cut));
    QVERIFY(cutRect.top() < l.list.viewport()->height() && cutRect.bottom() >= l.list.viewport()->height());
    // Rows with texts in every column, as header replies leave them, change as a whole.
    for (int i : {cut, cut + 1}) {
        l.list.topLevelItem(i)->setText(10, QStringLiteral("note"));
        l.list.topLevelItem(i)->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    }
    QVERIFY(l.box(cut)->isVisible());
    QVERIFY(!l.box(cut + 1)->isVisible());
}

void TestFileListWidget::rowChangeReachesAnOpenEditorOutOfView()
{
    for (const bool inView : {true, false}) {
        BoxList l(300, 300);
        QVERIFY(l.exposed());
        QTreeWidgetItem *row = l.list.topLevelItem(1);
        l.list.editItem(row, 10);
        auto *editor = qobject_cast<QLineEdit *>(l.list.itemWidget(row, 10));
        QVERIFY(editor);
        editor->setText(QStringLiteral("typed"));
        if (!inView)
            l.list.scrollToBottom();
        QCoreApplication::processEvents();
        QCOMPARE(l.list.visualItemRect(row).intersects(l.list.viewport()->rect()), inView);
        {
            // A new text the list is told of only with the change of the whole row.
            const QSignalBlocker quiet(l.list.model());
            row->setText(10, QStringLiteral("stored"));
        }
        row->setFlags(row->flags());
        // As Qt gives an editor of a changed cell the cell's text, in view or not.
        QCOMPARE(editor->text(), QStringLiteral("stored"));
    }
}

QUILLON_TEST(TestFileListWidget)
#include "tst_filelistwidget.moc"
