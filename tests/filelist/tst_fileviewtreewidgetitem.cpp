#include "testregistry.h"

#include "filelist/fileviewtreewidgetitem.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

// A row is given as "name|date|time|length|comment".
using Rows = QStringList;

class TestFileViewTreeWidgetItem : public QObject
{
    Q_OBJECT
private slots:
    void sort_data();
    void sort();
    void sort_followsChangedTexts();
    void sort_followsLocaleChange();
    void sort_descendingReverses();
    void rowWithoutList_comparesNames();
    void rowColour_data();
    void rowColour();
    void rowColour_oneChangeOfTheRow();
    void takeProposal_oneChangeOfTheRow();
    void acceptCheckBox();
    void fillSortedByName();
    void turnSortingOn_data();
    void turnSortingOn();
    void cleanup() { QLocale::setDefault(QLocale::c()); }
};

namespace {

void fill(QTreeWidget &list, const Rows &rows)
{
    list.setColumnCount(11);
    for (const QString &r : rows) {
        const QStringList f = r.split(QLatin1Char('|'));
        auto *item = new fileViewTreeWidgetItem(&list);
        item->setText(0, f.value(0));
        item->setText(1, f.value(1));
        item->setText(2, f.value(2));
        item->setText(3, f.value(3));
        item->setText(10, f.value(4));
    }
}

QStringList names(const QTreeWidget &list)
{
    QStringList n;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        n << list.topLevelItem(i)->text(0);
    return n;
}

} // namespace

void TestFileViewTreeWidgetItem::sort_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("column");
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QStringList>("ascending");

    QTest::newRow("lengths as numbers, not texts")
        << "C" << 3 << Rows{"a|||10.250", "b|||9.500", "c|||100.000"} << QStringList{"b", "a", "c"};
    QTest::newRow("unreadable length counts as 0") << "C" << 3 << Rows{"a|||0.500", "b|||N/A"} << QStringList{"b", "a"};
    QTest::newRow("lengths in a decimal-comma locale")
        << "de_DE" << 3 << Rows{"a|||10,250", "b|||9,500", "c|||1.000,500"} << QStringList{"b", "a", "c"};
    QTest::newRow("date across the turn of the year")
        << "C" << 1 << Rows{"new|01/01/22|00:00:01", "old|31/12/21|23:59:59"} << QStringList{"old", "new"};
    QTest::newRow("date by month before day")
        << "C" << 1 << Rows{"a|02/03/21|10:00:00", "b|10/02/21|10:00:00"} << QStringList{"b", "a"};
    QTest::newRow("same date sorts by time")
        << "C" << 1 << Rows{"late|05/06/21|22:00:00", "early|05/06/21|03:00:00"} << QStringList{"early", "late"};
    QTest::newRow("clock order through the spring daylight-saving gap")
        << "C" << 1 << Rows{"c|28/03/21|02:30:00", "d|28/03/21|03:01:00", "b|28/03/21|02:10:00", "a|28/03/21|01:59:00"}
        << QStringList{"a", "b", "c", "d"};
    QTest::newRow("leap days of 20yy") << "C" << 1
                                       << Rows{"mar|01/03/00|00:00:00", "leap|29/02/00|23:59:59",
                                               "feb|28/02/00|23:59:59"}
                                       << QStringList{"feb", "leap", "mar"};
    QTest::newRow("unreadable date-times come first")
        << "C" << 1 << Rows{"x|01/01/00|00:00:00", "na|N/A|N/A",          "bad|31/02/21|10:00:00",
                            "y|01/01/21|N/A",      "h|01/01/21|24:00:00", "short|1/01/21|10:00:00"}
        << QStringList{"na", "bad", "y", "h", "short", "x"};
    QTest::newRow("N/A time before midnight")
        << "C" << 2 << Rows{"midnight||00:00:00", "na||N/A", "noon||12:00:00"} << QStringList{"na", "midnight", "noon"};
    QTest::newRow("time ignores the date")
        << "C" << 2 << Rows{"a|01/01/20|23:00:00", "b|01/01/25|01:00:00"} << QStringList{"b", "a"};
    QTest::newRow("capital first letter first")
        << "C" << 0 << Rows{"bat.wav", "Bat.wav", "a.wav"} << QStringList{"Bat.wav", "a.wav", "bat.wav"};
    QTest::newRow("comment by plain text")
        << "C" << 10 << Rows{"a||||zz", "b||||Zz", "c||||"} << QStringList{"c", "b", "a"};
}

void TestFileViewTreeWidgetItem::sort()
{
    QFETCH(QString, locale);
    QFETCH(int, column);
    QFETCH(Rows, rows);
    QFETCH(QStringList, ascending);
    QLocale::setDefault(QLocale(locale));
    QTreeWidget list;
    fill(list, rows);
    list.sortItems(column, Qt::AscendingOrder);
    QCOMPARE(names(list), ascending);
}

void TestFileViewTreeWidgetItem::sort_followsChangedTexts()
{
    QTreeWidget list;
    fill(list, {"a|01/01/21|10:00:00|1.000", "b|02/01/21|10:00:00|2.000", "c|03/01/21|10:00:00|3.000"});
    list.sortItems(1, Qt::AscendingOrder);
    QCOMPARE(names(list), (QStringList{"a", "b", "c"}));
    list.sortItems(3, Qt::AscendingOrder);

    // A header reply fills the row after an earlier sort: the new texts count.
    list.topLevelItem(0)->setText(1, QStringLiteral("04/01/21"));
    list.topLevelItem(2)->setText(2, QStringLiteral("09:00:00"));
    list.topLevelItem(1)->setText(3, QStringLiteral("0.500"));
    list.topLevelItem(0)->setData(3, Qt::EditRole, QStringLiteral("7.000"));
    list.sortItems(1, Qt::AscendingOrder);
    QCOMPARE(names(list), (QStringList{"b", "c", "a"}));
    list.sortItems(2, Qt::AscendingOrder);
    QCOMPARE(names(list), (QStringList{"c", "b", "a"}));
    list.sortItems(3, Qt::AscendingOrder);
    QCOMPARE(names(list), (QStringList{"b", "c", "a"}));
}

void TestFileViewTreeWidgetItem::sort_followsLocaleChange()
{
    // In the C locale "1.000,5" does not parse (0) and comes first; in German it is 1000.5.
    QTreeWidget list;
    fill(list, {"big|||1.000,5", "small|||2,5"});
    list.sortItems(3, Qt::AscendingOrder);
    QCOMPARE(names(list), (QStringList{"big", "small"}));
    QLocale::setDefault(QLocale(QLocale::German));
    list.sortItems(3, Qt::AscendingOrder);
    QCOMPARE(names(list), (QStringList{"small", "big"}));
}

void TestFileViewTreeWidgetItem::sort_descendingReverses()
{
    QTreeWidget list;
    fill(list, {"mid|15/06/21|12:00:00", "first|01/01/21|00:00:00", "na|N/A|N/A", "last|31/12/21|23:59:59"});
    list.sortItems(1, Qt::DescendingOrder);
    QCOMPARE(names(list), (QStringList{"last", "mid", "first", "na"}));
}

void TestFileViewTreeWidgetItem::rowWithoutList_comparesNames()
{
    fileViewTreeWidgetItem a(nullptr), b(nullptr);
    a.setText(0, QStringLiteral("b.wav"));
    a.setText(3, QStringLiteral("1.000"));
    b.setText(0, QStringLiteral("a.wav"));
    b.setText(3, QStringLiteral("2.000"));
    QVERIFY(b < a);
    QVERIFY(!(a < b));
    QCOMPARE(a.type(), 0);
}

void TestFileViewTreeWidgetItem::rowColour_data()
{
    QTest::addColumn<QString>("accepted");
    QTest::addColumn<QString>("firstClass");
    QTest::addColumn<QString>("proposal");
    QTest::addColumn<QVariant>("expected"); // brush of columns 0 to 9 afterwards
    const QVariant green = QBrush(QColor(122, 184, 0)), orange = QBrush(QColor(255, 69, 0));
    const QVariant earlier = QBrush(QColor(Qt::blue));
    QTest::newRow("accepted without class is green") << "1"
                                                     << ""
                                                     << "Pip" << green;
    QTest::newRow("accepted with class is green") << "1"
                                                  << "Nyc"
                                                  << "Nyc" << green;
    QTest::newRow("not accepted with class is orange") << "0"
                                                       << "Pip"
                                                       << "Nyc" << orange;
    QTest::newRow("no flag with class is orange") << ""
                                                  << "Pip"
                                                  << "" << orange;
    QTest::newRow("no flag, no class: list colour again") << ""
                                                          << ""
                                                          << "Pip" << QVariant();
    QTest::newRow("not accepted, no class: unchanged") << "0"
                                                       << ""
                                                       << "Pip" << earlier;
}

void TestFileViewTreeWidgetItem::rowColour()
{
    QFETCH(QString, accepted);
    QFETCH(QString, firstClass);
    QFETCH(QString, proposal);
    QFETCH(QVariant, expected);
    QTreeWidget list;
    fill(list, {"a"});
    auto *row = static_cast<fileViewTreeWidgetItem *>(list.topLevelItem(0));
    for (int column = 0; column < 11; ++column)
        row->setForeground(column, QColor(Qt::blue));
    QVERIFY(fileViewTreeWidgetItem::hasCallProposal(proposal));
    row->applyRowColour(fileViewTreeWidgetItem::rowColourFor(accepted, firstClass));
    for (int column = 0; column <= 9; ++column)
        QCOMPARE(row->data(column, Qt::ForegroundRole), expected);
    QCOMPARE(row->foreground(10).color(), QColor(Qt::blue));
}

void TestFileViewTreeWidgetItem::rowColour_oneChangeOfTheRow()
{
    QTreeWidget list;
    fill(list, {"a"});
    auto *row = static_cast<fileViewTreeWidgetItem *>(list.topLevelItem(0));
    QSignalSpy changes(list.model(), &QAbstractItemModel::dataChanged);
    row->applyRowColour(fileViewTreeWidgetItem::RowColour::NotAccepted);
    // Ten columns, one change: the list looks at a header reply's row once for its colour.
    QCOMPARE(changes.count(), 1);
    const QVariant orange = QBrush(QColor(255, 69, 0));
    for (int column = 0; column <= 9; ++column)
        QCOMPARE(row->data(column, Qt::ForegroundRole), orange);
    QCOMPARE(row->data(10, Qt::ForegroundRole), QVariant());
    row->applyRowColour(fileViewTreeWidgetItem::RowColour::NotAccepted);
    QCOMPARE(changes.count(), 1);
    // A column's own colour set afterwards is that column's.
    row->setForeground(3, QColor(Qt::blue));
    QCOMPARE(row->foreground(3).color(), QColor(Qt::blue));
    QCOMPARE(row->data(4, Qt::ForegroundRole), orange);
}

void TestFileViewTreeWidgetItem::takeProposal_oneChangeOfTheRow()
{
    QTreeWidget list;
    fill(list, {"a"});
    auto *row = static_cast<fileViewTreeWidgetItem *>(list.topLevelItem(0));
    row->setFlags(Qt::NoItemFlags);
    QSignalSpy changes(list.model(), &QAbstractItemModel::dataChanged);
    const Qt::ItemFlags usable = Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
    row->takeProposal(usable, true, fileViewTreeWidgetItem::RowColour::Accepted);
    QCOMPARE(changes.count(), 1);
    // The whole row, without a role: its flags changed, and with them whether its box is shown.
    QCOMPARE(changes.at(0).at(0).toModelIndex().column(), 0);
    QCOMPARE(changes.at(0).at(1).toModelIndex().column(), 10);
    QCOMPARE(row->flags(), usable);
    QVERIFY(row->holdsAcceptBox());
    QVERIFY(row->acceptBoxChecked());
    QCOMPARE(row->foreground(9).color(), QColor(122, 184, 0));
}

void TestFileViewTreeWidgetItem::acceptCheckBox()
{
    QVERIFY(!fileViewTreeWidgetItem::hasCallProposal(QStringLiteral("No Call")));
    QVERIFY(!fileViewTreeWidgetItem::hasCallProposal(QStringLiteral("no call")));
    QVERIFY(fileViewTreeWidgetItem::hasCallProposal(QString()));
    QTreeWidget list;
    fill(list, {"a", "b"});
    auto *row = static_cast<fileViewTreeWidgetItem *>(list.topLevelItem(1));
    QCheckBox *box = row->addAcceptCheckBox(true);
    QVERIFY(box);
    QCOMPARE(list.itemWidget(row, 5), box);
    QVERIFY(box->isChecked());
    QCOMPARE(box->toolTip(), QStringLiteral("Accept proposal"));
    QVERIFY(box->text().isEmpty());
    QVERIFY(!list.itemWidget(list.topLevelItem(0), 5));
    fileViewTreeWidgetItem loose(nullptr);
    QVERIFY(!loose.addAcceptCheckBox(false));
}

void TestFileViewTreeWidgetItem::fillSortedByName()
{
    QTreeWidget list;
    fill(list, {"old"});
    const Qt::ItemFlags usable = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    // Listed without regard to case; by name the list puts capitals first.
    const QStringList listed{"b.wav", "a.wav", "B.wav", "c.wav", "A.wav"};
    fileViewTreeWidgetItem::fillSortedByName(&list, listed, usable);
    QCOMPARE(names(list), (QStringList{"A.wav", "B.wav", "a.wav", "b.wav", "c.wav"}));
    QCOMPARE(list.currentItem()->text(0), QStringLiteral("b.wav"));
    QCOMPARE(list.topLevelItem(4)->flags(), usable);
    QCOMPARE(list.header()->sortIndicatorSection(), 0);
    QCOMPARE(list.header()->sortIndicatorOrder(), Qt::AscendingOrder);
    // As the list's own sort by name leaves it.
    QTreeWidget sorted;
    fill(sorted, listed);
    sorted.sortByColumn(0, Qt::AscendingOrder);
    QCOMPARE(names(list), names(sorted));
    // Rows of the list: they sort by its sort column, lengths as numbers.
    const QStringList lengths{"2.0", "10.0", "9.5", "1.0", "3.0"};
    for (int i = 0; i < 5; ++i)
        list.topLevelItem(i)->setText(3, lengths.at(i));
    list.sortItems(3, Qt::AscendingOrder);
    QCOMPARE(names(list), (QStringList{"b.wav", "A.wav", "c.wav", "a.wav", "B.wav"}));
    fileViewTreeWidgetItem::fillSortedByName(&list, {"d"}, std::nullopt);
    QCOMPARE(names(list), QStringList{"d"});
    QCOMPARE(list.topLevelItem(0)->flags(), QTreeWidgetItem().flags());
    fileViewTreeWidgetItem::fillSortedByName(&list, {}, usable);
    QCOMPARE(list.topLevelItemCount(), 0);
}

void TestFileViewTreeWidgetItem::turnSortingOn_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QStringList>("sorted");
    const Rows byName{"a|01/01/22|10:00:00|3.0|", "b|31/12/21|09:00:00|1.0|", "c|01/01/22|08:00:00|2.0|"};
    QTest::newRow("by name, in order") << 0 << false << byName << QStringList{"a", "b", "c"};
    QTest::newRow("by length, out of order") << 3 << false << byName << QStringList{"b", "c", "a"};
    QTest::newRow("by date, descending, out of order") << 1 << true << byName << QStringList{"a", "c", "b"};
    QTest::newRow("by name, descending, in order")
        << 0 << true << Rows{"c||||", "b||||", "a||||"} << QStringList{"c", "b", "a"};
    QTest::newRow("equal lengths keep their order")
        << 3 << false << Rows{"b|||1.0|", "a|||1.0|", "c|||0.5|"} << QStringList{"c", "b", "a"};
    QTest::newRow("equal lengths in order") << 3 << false << Rows{"b|||1.0|", "a|||1.0|"} << QStringList{"b", "a"};
}

void TestFileViewTreeWidgetItem::turnSortingOn()
{
    QFETCH(int, column);
    QFETCH(bool, descending);
    QFETCH(Rows, rows);
    // As turning sorting on leaves a list, and its own sort: by the indicator the list shows.
    QTreeWidget list, reference;
    for (QTreeWidget *l : {&list, &reference}) {
        fill(*l, rows);
        l->header()->setSortIndicator(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    }
    fileViewTreeWidgetItem::turnSortingOn(&list);
    reference.setSortingEnabled(true);
    QVERIFY(list.isSortingEnabled());
    QTEST(names(list), "sorted");
    QCOMPARE(names(list), names(reference));
    // No place is left over: the next sort goes by the texts.
    list.sortByColumn(2, Qt::AscendingOrder);
    reference.sortByColumn(2, Qt::AscendingOrder);
    QCOMPARE(names(list), names(reference));
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        QCOMPARE(static_cast<fileViewTreeWidgetItem *>(list.topLevelItem(i))->place(), -1);
}

QUILLON_TEST(TestFileViewTreeWidgetItem)
#include "tst_fileviewtreewidgetitem.moc"
