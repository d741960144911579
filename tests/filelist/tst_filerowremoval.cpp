#include "testregistry.h"

#include "filelist/filerowremoval.h"
#include "filelist/fileviewtreewidgetitem.h"

#include <QCheckBox>
#include <QPointer>
#include <QTest>

#include <random>

namespace {

QStringList names(const QList<QTreeWidgetItem *> &rows)
{
    QStringList out;
    for (const QTreeWidgetItem *row : rows)
        out << row->text(0);
    return out;
}

QList<QTreeWidgetItem *> rows(const QTreeWidget &list)
{
    QList<QTreeWidgetItem *> out;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        out << list.topLevelItem(i);
    return out;
}

} // namespace

class TestFileRowRemoval : public QObject
{
    Q_OBJECT
private slots:
    void currentRowAfterRemovals_table();
    void removeTopLevelRows_asOneByOne();
};

void TestFileRowRemoval::currentRowAfterRemovals_table()
{
    struct Case {
        int rows, current;
        std::vector<int> removed;
        int expected;
    };
    const Case cases[] = {{5, -1, {0, 1}, -1},  {5, 2, {1, 3}, 2},     {5, 2, {2}, 1},    {5, 4, {4}, 3},
                          {5, 0, {0}, 1},       {5, 2, {1, 2}, 0},     {5, 2, {3, 2}, 1}, {5, 2, {2, 1, 0}, 3},
                          {6, 0, {1, 2, 0}, 3}, {3, 1, {1, 0, 2}, -1}, {1, 0, {0}, -1}};
    for (const Case &c : cases)
        QCOMPARE(FileRowRemoval::currentRowAfterRemovals(c.rows, c.current, c.removed), c.expected);
}

// Qt's own removal, row by row in a random order, is the reference: the same
// rows, selection and current cell are left, and the rows kept keep their boxes.
void TestFileRowRemoval::removeTopLevelRows_asOneByOne()
{
    for (unsigned seed = 1; seed <= 12; ++seed) {
        std::mt19937 random(seed);
        QTreeWidget reference, list;
        for (QTreeWidget *l : {&reference, &list}) {
            l->setColumnCount(11);
            l->setSelectionMode(QAbstractItemView::ExtendedSelection);
            for (int i = 0; i < 40; ++i) {
                // The last seed's plain rows take Qt's own way.
                QTreeWidgetItem *row = seed < 12 ? new fileViewTreeWidgetItem(l) : new QTreeWidgetItem(l);
                row->setText(0, QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')));
                row->setSelected(i % 3 == 0);
                l->setItemWidget(row, 5, new QCheckBox);
            }
            l->sortByColumn(0, seed % 2 ? Qt::AscendingOrder : Qt::DescendingOrder);
            l->selectionModel()->setCurrentIndex(l->model()->index(int(seed * 7 % 40), int(seed % 11)),
                                                 QItemSelectionModel::NoUpdate);
        }
        QList<QTreeWidgetItem *> order = rows(list);
        std::shuffle(order.begin(), order.end(), random);
        const QVector<QTreeWidgetItem *> removed = order.mid(0, 2 + int(random() % 20)).toVector();
        QList<QPointer<QWidget>> keptBoxes, removedBoxes;
        for (QTreeWidgetItem *row : rows(list))
            (removed.contains(row) ? removedBoxes : keptBoxes) << list.itemWidget(row, 5);
        for (QTreeWidgetItem *row : removed)
            delete reference.findItems(row->text(0), Qt::MatchExactly).first();

        FileRowRemoval::removeTopLevelRows(&list, removed);

        QCOMPARE(names(rows(list)), names(rows(reference)));
        QCOMPARE(names(list.selectedItems()), names(reference.selectedItems()));
        QCOMPARE(list.currentIndex().row(), reference.currentIndex().row());
        QCOMPARE(list.currentIndex().column(), reference.currentIndex().column());
        for (int i = 0; i < keptBoxes.size(); ++i)
            QCOMPARE(list.itemWidget(list.topLevelItem(i), 5), keptBoxes.at(i).data());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(std::all_of(removedBoxes.cbegin(), removedBoxes.cend(), [](auto &box) { return box.isNull(); }));
    }
}

QUILLON_TEST(TestFileRowRemoval)
#include "tst_filerowremoval.moc"
