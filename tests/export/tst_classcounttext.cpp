// The text that hands classes and counts to the check trees: counted from
// file rows, copied from the window's class tree, and read back.
#include "export/classcounttext.h"
#include "exportrows.h"
#include "testregistry.h"

#include <QTest>
#include <QTreeWidget>

class ClassCountTextTest : public QObject
{
    Q_OBJECT

private slots:
    void ofRows_countsOccurrencesUnassignedLast();
    void ofClassTree_takesTextsUnchanged();
    void parse_data();
    void parse();
};

void ClassCountTextTest::ofRows_countsOccurrencesUnassignedLast()
{
    const auto rows = exportRows(
        {"a||||", "b|||||Nyc|Nyc", "c|||||Pip|Nyc", "d||||", "e|||||Enil||Pip", "f||||||Myo", "g|||||Nyc|||Eser"});
    QCOMPARE(classCountTextOfRows(rows), QStringLiteral("Nyc\t4\nPip\t2\nEnil\t1\nMyo\t1\nEser\t1\nUnassigned\t3\n"));
    QCOMPARE(classCountTextOfRows({}), QString());
}

void ClassCountTextTest::ofClassTree_takesTextsUnchanged()
{
    QTreeWidget tree;
    new QTreeWidgetItem(&tree, {"Unassigned", "4"});
    auto *nyc = new QTreeWidgetItem(&tree, {"Nyc", "12"});
    new QTreeWidgetItem(nyc, {"NycNoc", "0"});
    new QTreeWidgetItem(nyc, {" NycLow", "x"});
    new QTreeWidgetItem(&tree, {"Detected No Call", "2"});
    QCOMPARE(classCountTextOfClassTree(&tree),
             QStringLiteral("Unassigned\t4\nNyc\t12\n\tNycNoc\t0\n\t NycLow\tx\nDetected No Call\t2\n"));
}

void ClassCountTextTest::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // per line: "+" for a subclass, name, "=", count; "|" between

    QTest::newRow("classes and subclasses, names cut") << "Nyc\t5\n\t NycNoc \t2\n Pip\t0\n"
                                                       << "Nyc=5|+NycNoc=2|Pip=0";
    QTest::newRow("empty lines skipped, a missing final line end") << "\nNyc\t1\n\n\nPip\t2"
                                                                   << "Nyc=1|Pip=2";
    QTest::newRow("a subclass line first is a class") << "\tNycNoc\t2\nNyc\t1\n\tNycLow\t3\n"
                                                      << "NycNoc=2|Nyc=1|+NycLow=3";
    QTest::newRow("a line without TAB has no count") << "Nyc\n"
                                                     << "Nyc=";
    QTest::newRow("empty") << ""
                           << "";
}

void ClassCountTextTest::parse()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QStringList lines;
    for (const ClassCountLine &line : parseClassCountText(text))
        lines << (line.subclass ? "+" : "") + line.name + "=" + line.count;
    QCOMPARE(lines.join('|'), expected);
}

QUILLON_TEST(ClassCountTextTest)
#include "tst_classcounttext.moc"
