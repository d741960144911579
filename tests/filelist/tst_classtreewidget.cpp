#include "testregistry.h"

#include "common/treecolumns.h"
#include "filelist/classtreewidget.h"

#include <QPaintEvent>
#include <QRegion>
#include <QtTest>

namespace {

// The regions painted in a widget, one per paint.
class PaintRecorder : public QObject
{
public:
    explicit PaintRecorder(QWidget *widget) { widget->installEventFilter(this); }
    QVector<QRegion> painted;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted << static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};

// A shown class tree of two rows, every change painted before the recording starts.
struct ShownTree {
    ShownTree()
    {
        tree.setColumnCount(ClassTreeColumn::ColumnCount);
        tree.resize(300, 200);
        for (const char *name : {"Nyc", "Pip"})
            new QTreeWidgetItem(&tree, QStringList{QString::fromLatin1(name), QStringLiteral("0")});
        tree.show();
    }
    QRect countCell(int row) const { return tree.visualRect(tree.model()->index(row, ClassTreeColumn::Count)); }
    bool paintedSince(int paints, const QRect &cell, const PaintRecorder &recorder) const
    {
        for (int i = paints; i < recorder.painted.size(); ++i) {
            if (recorder.painted.at(i).contains(cell))
                return true;
        }
        return false;
    }
    ClassTreeWidget tree;
};

} // namespace

class TestClassTreeWidget : public QObject
{
    Q_OBJECT
private slots:
    void countsOfManyRepliesPaintedTogether();
};

void TestClassTreeWidget::countsOfManyRepliesPaintedTogether()
{
    ShownTree t;
    QVERIFY(QTest::qWaitForWindowExposed(&t.tree));
    PaintRecorder recorder(t.tree.viewport());
    const int replies = 200;
    int beforeLastTwo = 0;
    for (int i = 1; i <= replies; ++i) {
        if (i == replies - 1)
            beforeLastTwo = recorder.painted.size();
        t.tree.topLevelItem(i % 2)->setText(ClassTreeColumn::Count, QString::number(i));
        // As between two header replies: every posted event, a pending repaint among them, is handled.
        QCoreApplication::processEvents();
    }
    // Painted once per reply, the counts would take the window longer than the recordings do.
    QVERIFY2(recorder.painted.size() < replies / 4, qPrintable(QString::number(recorder.painted.size())));
    // The last count of each row is painted all the same, without any further change.
    QTRY_VERIFY(t.paintedSince(beforeLastTwo, t.countCell(0), recorder)
                && t.paintedSince(beforeLastTwo, t.countCell(1), recorder));
    QCOMPARE(t.tree.topLevelItem(0)->text(ClassTreeColumn::Count), QString::number(replies));
}

QUILLON_TEST(TestClassTreeWidget)
#include "tst_classtreewidget.moc"
