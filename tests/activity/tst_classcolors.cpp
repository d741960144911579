#include "testregistry.h"

#include "activity/charts/activityrows.h"
#include "activity/classcolors.h"
#include "activity/plotexport.h"

#include <QtTest>

namespace {

FileRowTexts row(const QString &date, const QStringList &classes)
{
    FileRowTexts r;
    r.setText(FileViewColumn::Date, date);
    for (int i = 0; i < classes.size(); ++i)
        r.setText(FileViewColumn::Class1 + i, classes.at(i));
    return r;
}

} // namespace

class TestClassColors : public QObject
{
    Q_OBJECT
private slots:
    void classColor_data();
    void classColor();
    void classList_data();
    void classList();
    void exportFilters();
};

void TestClassColors::classColor_data()
{
    QTest::addColumn<QVariantList>("stored");
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("expected");
    const QColor green(122, 184, 0, 127);
    QTest::newRow("nothing stored: first colour") << QVariantList() << 0 << green;
    QTest::newRow("nothing stored: 15 starts again") << QVariantList() << 15 << green;
    QTest::newRow("nothing stored: 16") << QVariantList() << 16 << QColor(255, 0, 0, 127);
    const QVariantList three{QColor(1, 2, 3, 200), QColor(4, 5, 6), QColor(7, 8, 9, 10)};
    QTest::newRow("third stored, alpha kept") << three << 2 << QColor(7, 8, 9, 10);
    QTest::newRow("past the stored: own index") << three << 3 << QColor(139, 0, 139, 127);
    QTest::newRow("a stored name converts") << QVariantList{QStringLiteral("#102030")} << 0 << QColor(16, 32, 48);
    QTest::newRow("stored text that is no colour") << QVariantList{QStringLiteral("no colour")} << 0 << QColor();
}

void TestClassColors::classColor()
{
    QFETCH(QVariantList, stored);
    QFETCH(int, index);
    QFETCH(QColor, expected);
    const QColor c = ::classColor(stored, index);
    QCOMPARE(c.isValid(), expected.isValid());
    QCOMPARE(c.rgba(), expected.rgba());
}

void TestClassColors::classList_data()
{
    QTest::addColumn<QVector<FileRowTexts>>("rows");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("Nyc, unassigned, Pip")
        << QVector<FileRowTexts>{row("01/06/24", {"Nyc"}), row("01/06/24", {}), row("02/06/24", {"Pip"})}
        << QStringList{"Nyc", "Pip", ""};
    QTest::newRow("four classes, none empty")
        << QVector<FileRowTexts>{row("01/06/24", {"A", "B", "C", "D"})} << QStringList{"A", "B", "C", "D"};
    QTest::newRow("rows without a date count for nothing")
        << QVector<FileRowTexts>{row("N/A", {"Nyc"}), row("", {"Pip"}), row("01/06/24", {"a", "A", "a", "A"})}
        << QStringList{"a", "A"};
}

void TestClassColors::classList()
{
    QFETCH(QVector<FileRowTexts>, rows);
    QFETCH(QStringList, expected);
    // The class-colour dialog lists the charts' classes.
    QCOMPARE(activityRowsOf(rows).classList, expected);
}

void TestClassColors::exportFilters()
{
    QCOMPARE(plotExportFilters({"png", "jpg"}),
             QStringLiteral("PDF documents (*.pdf);;SVG documents (*.svg);;Images ( *.png *.jpg)"));
}

QUILLON_TEST(TestClassColors)
#include "tst_classcolors.moc"
