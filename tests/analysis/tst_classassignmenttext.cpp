#include "analysis/classassignmenttext.h"
#include "recording/wavfile.h"
#include "testregistry.h"
#include "wavwriter.h"

#include <QTemporaryDir>
#include <QTest>

class TestClassAssignmentText : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void readsWhole_data();
    void readsWhole();
    void compose_data();
    void compose();
    void descriptionField_limit();
    void commentWithBars_data();
    void commentWithBars();
    void writtenBackAsRead_data();
    void writtenBackAsRead();
};

namespace {

using Cat = ClassAssignmentText;

Cat make(const QStringList &classes, const QString &autoClass, const QString &accepted, const QString &comment)
{
    Cat t;
    t.setClasses(classes);
    t.AutoClass = autoClass;
    t.accepted = accepted;
    t.comment = comment;
    return t;
}

// A text of exactly n UTF-8 bytes: "ä" takes two bytes, "x" one.
QString utf8TextOfBytes(int n)
{
    QString s;
    while (n >= 2) {
        s += QChar(0x00E4);
        n -= 2;
    }
    if (n == 1)
        s += QLatin1Char('x');
    return s;
}

} // namespace

void TestClassAssignmentText::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("classes");
    QTest::addColumn<QString>("autoClass");
    QTest::addColumn<QString>("accepted");
    QTest::addColumn<QString>("comment");

    const QStringList none{"", "", "", ""};
    QTest::newRow("empty text") << "" << none << ""
                                << ""
                                << "";
    QTest::newRow("bare single class") << "Nyc" << QStringList{"Nyc", "", "", ""} << ""
                                       << ""
                                       << "";
    QTest::newRow("short form, no classes") << "|A note" << none << ""
                                            << ""
                                            << "A note";
    QTest::newRow("short form, empty comment") << "Nyc|" << QStringList{"Nyc", "", "", ""} << ""
                                               << ""
                                               << "";
    QTest::newRow("full form, compact list")
        << "Nyc + PipPip|Nyc, Pip|1|seen twice" << QStringList{"Nyc", "PipPip", "", ""} << "Nyc, Pip"
        << "1"
        << "seen twice";
    QTest::newRow("two bars: all behind the first is comment") << "Nyc|a|b" << QStringList{"Nyc", "", "", ""} << ""
                                                               << ""
                                                               << "a|b";
    QTest::newRow("four-slot list, full form") << "Nyc +  +  + |||a note" << QStringList{"Nyc", "", "", ""} << ""
                                               << ""
                                               << "a note";
    QTest::newRow("four-slot list, empty first slot")
        << " + Pip +  + |Pip|0|" << QStringList{"", "Pip", "", ""} << "Pip"
        << "0"
        << "";
    QTest::newRow("four slots all filled") << "A + B + C + D" << QStringList{"A", "B", "C", "D"} << ""
                                           << ""
                                           << "";
    QTest::newRow("four bars: comment with a bar") << "Nyc|Pip|0|x|y" << QStringList{"Nyc", "", "", ""} << ""
                                                   << ""
                                                   << "Pip|0|x|y";
    QTest::newRow("five names take no class") << "A + B + C + D + E|c" << none << ""
                                              << ""
                                              << "c";
    QTest::newRow("write-back of a proposal only") << " +  +  + |Nyc||" << none << "Nyc"
                                                   << ""
                                                   << "";
    QTest::newRow("plus without blanks is part of a name") << "Nyc+Pip" << QStringList{"Nyc+Pip", "", "", ""} << ""
                                                           << ""
                                                           << "";
    QTest::newRow("nothing trimmed") << " Nyc | x " << QStringList{" Nyc ", "", "", ""} << ""
                                     << ""
                                     << " x ";
    QTest::newRow("umlauts in comment") << QString::fromUtf8("Pip|Größe ähnlich, très")
                                        << QStringList{"Pip", "", "", ""} << ""
                                        << "" << QString::fromUtf8("Größe ähnlich, très");
}

void TestClassAssignmentText::parse()
{
    QFETCH(QString, text);
    QFETCH(QStringList, classes);
    QFETCH(QString, autoClass);
    QFETCH(QString, accepted);
    QFETCH(QString, comment);

    const Cat t = Cat::parse(text);
    QCOMPARE(t.classes(), classes);
    QCOMPARE(t.AutoClass, autoClass);
    QCOMPARE(t.accepted, accepted);
    QCOMPARE(t.comment, comment);
}

void TestClassAssignmentText::readsWhole_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("whole");
    QTest::newRow("four names") << "A + B + C + D|x|1|c" << true;
    QTest::newRow("five names") << "A + B + C + D + E" << false;
    QTest::newRow("five names, four of them empty") << " +  +  +  + |||" << false;
    QTest::newRow("separators in the comment only") << "A|a + b + c + d + e" << true;
    QTest::newRow("no class at all") << "" << true;
}

void TestClassAssignmentText::readsWhole()
{
    QFETCH(QString, text);
    QFETCH(bool, whole);
    QCOMPARE(Cat::readsWhole(text), whole);
}

void TestClassAssignmentText::compose_data()
{
    QTest::addColumn<QStringList>("classes");
    QTest::addColumn<QString>("autoClass");
    QTest::addColumn<QString>("accepted");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("full4");
    QTest::addColumn<QString>("row");

    QTest::newRow("one class, no proposal: short compact") << QStringList{"Nyc"} << ""
                                                           << ""
                                                           << ""
                                                           << "Nyc +  +  + |||"
                                                           << "Nyc|";
    QTest::newRow("gap closes in the compact list") << QStringList{"", "Pip", "", "Nyc"} << ""
                                                    << ""
                                                    << "x"
                                                    << " + Pip +  + Nyc|||x"
                                                    << "Pip + Nyc|x";
    QTest::newRow("accepted flag alone counts as a proposal") << QStringList{"Nyc"} << ""
                                                              << "0"
                                                              << ""
                                                              << "Nyc +  +  + ||0|"
                                                              << "Nyc||0|";
    QTest::newRow("proposal: full compact") << QStringList{"Nyc", "PipPip"} << "Nyc, Pip"
                                            << "1"
                                            << "seen twice"
                                            << "Nyc + PipPip +  + |Nyc, Pip|1|seen twice"
                                            << "Nyc + PipPip|Nyc, Pip|1|seen twice";
    QTest::newRow("nothing at all") << QStringList{} << ""
                                    << ""
                                    << ""
                                    << " +  +  + |||"
                                    << "|";
}

void TestClassAssignmentText::compose()
{
    QFETCH(QStringList, classes);
    QFETCH(QString, autoClass);
    QFETCH(QString, accepted);
    QFETCH(QString, comment);
    QFETCH(QString, full4);
    QFETCH(QString, row);

    const Cat t = make(classes, autoClass, accepted, comment);
    QCOMPARE(t.fullText(Cat::ClassList::FourSlots), full4);
    QCOMPARE(t.rowText(), row);
    // Every composed form reads back to the values it was made of.
    QCOMPARE(Cat::parse(full4), t);
    const Cat fromRow = Cat::parse(row);
    QCOMPARE(fromRow.comment, comment);
    QCOMPARE(fromRow.AutoClass, autoClass);
}

void TestClassAssignmentText::descriptionField_limit()
{
    // 256 bytes exactly: written into a recording, the text fills the field with
    // no zero byte behind it and reads back whole.
    const QString text = QStringLiteral("Nyc|") + utf8TextOfBytes(252);
    QCOMPARE(text.toUtf8().size(), 256);
    QVERIFY(Cat::fitsDescription(text));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.wav"));
    testsupport::WavWriter w;
    w.fmt(250000, 16).bext("Pip|old").data(QVector<int>(100, 0), 16);
    QVERIFY(w.write(path));
    QVERIFY(WavFile().writeBextDescription(path, text));
    for (testsupport::WavWriter::Chunk &c : w.chunks)
        if (c.id == "bext")
            c.payload.replace(0, 256, text.toUtf8());
    QCOMPARE(testsupport::readFile(path), w.bytes());

    WavFile read;
    read.open(path, true);
    const Cat back = Cat::parse(read.bext.description);
    QCOMPARE(back.classes(), (QStringList{"Nyc", "", "", ""}));
    QCOMPARE(back.comment, utf8TextOfBytes(252));

    // One byte more does not fit, although it is only 131 characters long.
    const QString longer = text + QLatin1Char('x');
    QCOMPARE(longer.size(), 4 + 126 + 1);
    QVERIFY(!Cat::fitsDescription(longer));
}

void TestClassAssignmentText::commentWithBars_data()
{
    QTest::addColumn<QString>("autoClass");
    QTest::addColumn<QString>("accepted");
    QTest::addColumn<int>("form");
    QTest::addColumn<QString>("comment"); // as it reads back

    // What each writer composes: assigning, reassigning, unassigning, renaming
    // and deleting a class write the row's form, accepting and withdrawing the full
    // compact form, the comment editor and the header worker the four slots.
    enum { Row, FullCompact, FullFourSlots };
    QTest::newRow("row with a proposal") << "Pip"
                                         << "1" << int(Row) << "x/y";
    QTest::newRow("row with only a flag") << ""
                                          << "0" << int(Row) << "x/y";
    QTest::newRow("row without a proposal keeps the short form") << ""
                                                                 << "" << int(Row) << "x|y";
    QTest::newRow("accepting") << "Pip, Nyc"
                               << "1" << int(FullCompact) << "x/y";
    QTest::newRow("withdrawing") << "Pip"
                                 << "0" << int(FullCompact) << "x/y";
    QTest::newRow("four slots") << "No Call"
                                << "" << int(FullFourSlots) << "x/y";
}

void TestClassAssignmentText::commentWithBars()
{
    QFETCH(QString, autoClass);
    QFETCH(QString, accepted);
    QFETCH(int, form);
    QFETCH(QString, comment);

    // The comment as another program stores it: "Pip|x|y" reads as Pip and "x|y".
    const Cat stored = Cat::parse(QStringLiteral("Pip|x|y"));
    QCOMPARE(stored.comment, QStringLiteral("x|y"));
    Cat t = make({"Pip", "Nyc"}, autoClass, accepted, stored.comment);
    const auto compose = [form](const Cat &c) {
        return form == 0 ? c.rowText() : c.fullText(form == 1 ? Cat::ClassList::Compact : Cat::ClassList::FourSlots);
    };
    const QString text = compose(t);
    const Cat back = Cat::parse(text);
    QCOMPARE(back.classes(), (QStringList{"Pip", "Nyc", "", ""}));
    QCOMPARE(back.AutoClass, autoClass);
    QCOMPARE(back.accepted, accepted);
    QCOMPARE(back.comment, comment);
    // Written again from what it read, the text stays as it is.
    QCOMPARE(compose(back), text);
}

void TestClassAssignmentText::writtenBackAsRead_data()
{
    QTest::addColumn<QString>("stored");
    // Descriptions of other software, each read and written back unchanged.
    QTest::newRow("bare, 256 bytes") << QString(256, 'x');
    QTest::newRow("bare behind an empty slot, 256 bytes") << QStringLiteral(" + ") + QString(253, 'x');
    QTest::newRow("a name ending in \" +\"") << QStringLiteral("Pip +|");
    QTest::newRow("a name ending in \" +\" behind an empty slot") << QStringLiteral(" + Pip +|note");
}

void TestClassAssignmentText::writtenBackAsRead()
{
    QFETCH(QString, stored);
    QVERIFY(Cat::fitsDescription(stored));
    const Cat read = Cat::parse(stored);
    // The compact list closes the gaps: so do the slots it reads back as.
    QStringList filled = read.classes();
    filled.removeAll(QString());
    Cat compact = read;
    compact.setClasses(filled);
    const QList<QPair<QString, Cat>> written{{read.rowText(), compact},
                                             {read.fullText(Cat::ClassList::Compact), compact},
                                             {read.fullText(Cat::ClassList::FourSlots), read}};
    for (const auto &w : written) {
        QVERIFY2(Cat::fitsDescription(w.first), qPrintable(w.first));
        QVERIFY2(Cat::parse(w.first) == w.second, qPrintable(w.first));
    }
}

QUILLON_TEST(TestClassAssignmentText)
#include "tst_classassignmenttext.moc"
