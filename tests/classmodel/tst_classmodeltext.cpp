#include "testregistry.h"

#include "analysis/classassignmenttext.h"
#include "classmodel/classmodeltext.h"
#include "classmodel/classnamerules.h"

#include <QMetaType>
#include <QSet>
#include <QTest>

Q_DECLARE_METATYPE(ClassModelEntry)

namespace {

// A model in one line: "Nyc <A> {NycLow <B>, NycNoc <C>}; No Call <K>".
QString notation(const ClassModel &model)
{
    QStringList classes;
    for (const ClassModelEntry &cls : model) {
        QString text = cls.name + QLatin1Char(' ') + cls.shortcut;
        QStringList subs;
        for (const ClassModelEntry &sub : cls.subclasses)
            subs << sub.name + QLatin1Char(' ') + sub.shortcut;
        if (!subs.isEmpty())
            text += QStringLiteral(" {") + subs.join(QStringLiteral(", ")) + QLatin1Char('}');
        classes << text;
    }
    return classes.join(QStringLiteral("; "));
}

QString readTrimmed(const QString &text)
{
    return notation(ClassModelText::read(text, ClassModelText::Names::Trimmed).model);
}

} // namespace

class TestClassModelText : public QObject
{
    Q_OBJECT

private slots:
    void writeThenRead();
    void builtInTrees_data();
    void builtInTrees();
    void read_data();
    void read();
    void refusedLines();
    void decodeFile_data();
    void decodeFile();
    void freeShortcuts_data();
    void freeShortcuts();
    void usableNames_data();
    void usableNames();
    void usableNamesReadBackFromTheStoredText();
    void refusalTexts();
};

void TestClassModelText::writeThenRead()
{
    const ClassModel model{{"Nyc", "<A>", {{"NycLow", "<B>", {}}, {"", "<C>", {}}}},
                           {" Pip ", "<D>", {}},
                           {"No Call", "<Z>", {{"Ümlaut", "<E>", {}}}}};
    const QString text = ClassModelText::write(model);
    QCOMPARE(text, QStringLiteral("Nyc\t<A>\n\tNycLow\t<B>\n\t\t<C>\n Pip \t<D>\nNo Call\t<Z>\n\tÜmlaut\t<E>\n"));
    QCOMPARE(ClassModelText::read(text, ClassModelText::Names::AsTheyStand).model, model);
    QCOMPARE(ClassModelText::write({}), QString());
    QVERIFY(ClassModelText::read(QString(), ClassModelText::Names::AsTheyStand).model.isEmpty());
}

void TestClassModelText::builtInTrees_data()
{
    QTest::addColumn<ClassModel>("model");
    QTest::addColumn<QString>("expected");
    auto fromText = [](const QString &text) {
        return ClassModelText::read(text, ClassModelText::Names::Trimmed).model;
    };
    QTest::newRow("Tavron") << fromText(ClassModelText::tavronTree())
                            << "Nyc <A> {NycLow <B>, NycNoc <C>, NycMid <D>, Enil <E>}; "
                               "Pip <L> {PipNat <F>, PipPn <G>, PipPip <H>, PipPp <I>, PipPyg <J>}; No Call <K>";
    QTest::newRow("simple review") << fromText(ClassModelText::simpleReviewTree())
                                   << "Pip <G> {Pnat <H>}; Nyc <F>; No Call <J>";
    QTest::newRow("advanced review")
        << fromText(ClassModelText::advancedReviewTree())
        << "Pip <A> {Pnat <Q>, PpPn <W>, Ppip <E>, PpPp <R>, Ppyg <T>}; "
           "Nyc <S> {Nlow <Y>, Nnoc <X>, Nycmi <C>, Enil <V>}; No Call <D>";
    QTest::newRow("simple default") << ClassModelText::simpleDefaultTree() << "Bat <A>; No Call <D>";
    QTest::newRow("advanced default")
        << ClassModelText::advancedDefaultTree()
        << "Pip <A> {Pnat <Q>, PpPn <W>, Ppip <E>, PpPp <R>, Ppyg <T>}; "
           "Nyc <S> {Nlow <Y>, Nnoc <X>, Nycmi <C>, Enil <V>}; Test <D>; Noise <F>";
}

void TestClassModelText::builtInTrees()
{
    QFETCH(ClassModel, model);
    QTEST(notation(model), "expected");
    // A key finds one entry: no letter twice within a tree.
    const QStringList shortcuts = ClassModelText::shortcutsOf(model);
    QCOMPARE(QSet<QString>(shortcuts.begin(), shortcuts.end()).size(), shortcuts.size());
}

void TestClassModelText::read_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("last line without LF") << "A\t<A>\n\tB\t<B>" << "A <A> {B <B>}";
    QTest::newRow("blank lines skipped") << "\n\nA\t<A>\n\n\n\tB\t<B>\n\n" << "A <A> {B <B>}";
    QTest::newRow("subclass before any class dropped") << "\tX\t<X>\nA\t<A>\n\tB\t<B>" << "A <A> {B <B>}";
    QTest::newRow("CR LF keeps the CR in the shortcut") << "A\t<A>\r\n\tB\t<B>\r\n" << "A <A>\r {B <B>\r}";
    QTest::newRow("further fields ignored") << "A\t<A>\textra\tmore" << "A <A>";
    QTest::newRow("no TAB: empty shortcut") << "A\n\tB" << "A  {B }";
    QTest::newRow("two leading TABs: a nameless subclass") << "A\t<A>\n\t\tB\t<B>" << "A <A> { B}";
    QTest::newRow("names trimmed, shortcut as it stands") << " Pip \t <P> \n\t Nyc\t<N>" << "Pip  <P>  {Nyc <N>}";
}

void TestClassModelText::read()
{
    QFETCH(QString, text);
    QTEST(readTrimmed(text), "expected");
}

void TestClassModelText::refusedLines()
{
    const QString text = QStringLiteral("Pip\t<A>\n\tP|x\t<B>\n\tPnat\t<C>\nUnassigned\t<D>\n\tSub\t<E>\n"
                                        "a + b\t<F>\n Detected No Call\t<G>\nNyc\t<H>\n\tNlow\t<I>\n");
    const ClassModelText::Reading reading = ClassModelText::read(text, ClassModelText::Names::AsTheyStand);
    // A refused class takes its subclasses along; the lines after it are read as usual.
    QCOMPARE(notation(reading.model), QStringLiteral("Pip <A> {Pnat <C>}; Nyc <H> {Nlow <I>}"));
    QCOMPARE(reading.refusedNames,
             (QStringList{"P|x", "Unassigned", "Sub", "a + b", " Detected No Call"}));
}

void TestClassModelText::decodeFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("UTF-8") << QByteArray("\xc3\x9c" "ber\t<A>\n") << QStringLiteral("Über\t<A>\n");
    QTest::newRow("NUL ends the text") << QByteArray("A\t<A>\n\0B\t<B>\n", 12) << QStringLiteral("A\t<A>\n");
    QTest::newRow("NUL first") << QByteArray("\0A\t<A>", 6) << QString();
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestClassModelText::decodeFile()
{
    QFETCH(QByteArray, bytes);
    QTEST(ClassModelText::decodeFile(bytes), "text");
}

void TestClassModelText::freeShortcuts_data()
{
    QTest::addColumn<QStringList>("used");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QTest::newRow("none used") << QStringList() << 26 << "<A>";
    QTest::newRow("A and C used") << QStringList{"<C>", "<A>"} << 24 << "<B>";
    QTest::newRow("texts that are no shortcut remove nothing") << QStringList{"", "<A>\r", "A", "<a>"} << 26 << "<A>";
    QTest::newRow("all used") << ClassModelText::allShortcuts() << 0 << QString();
}

void TestClassModelText::freeShortcuts()
{
    QFETCH(QStringList, used);
    QFETCH(int, count);
    const QStringList free = ClassModelText::freeShortcuts(used);
    QCOMPARE(free.size(), count);
    QTEST(free.value(0), "first");
    for (const QString &shortcut : used)
        QVERIFY(!free.contains(shortcut));
    QVERIFY(std::is_sorted(free.begin(), free.end()));
}

void TestClassModelText::usableNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("usable");
    QTest::newRow("plain") << "Pip" << true;
    QTest::newRow("blanks around") << "  Pip " << true;
    QTest::newRow("plus without blanks") << "a+b" << true;
    QTest::newRow("plus first") << "+ a" << true;
    QTest::newRow("empty: the caller's rule") << "" << true;
    QTest::newRow("case differs from a pseudo-class") << "unassigned" << true;
    QTest::newRow("bar") << "a|b" << false;
    QTest::newRow("class separator") << "a + b" << false;
    QTest::newRow("ends in a plus after a blank") << "a +" << false;
    QTest::newRow("TAB") << "a\tb" << false;
    QTest::newRow("LF") << "a\nb" << false;
    QTest::newRow("CR") << "a\r" << false;
    QTest::newRow("Unassigned") << "Unassigned" << false;
    QTest::newRow("Unassigned with blanks") << " Unassigned " << false;
    QTest::newRow("Detected No Call") << "Detected No Call" << false;
}

void TestClassModelText::usableNames()
{
    QFETCH(QString, name);
    QTEST(ClassNames::isUsable(name), "usable");
}

// An independent check of the rule: every pair of names it lets through, as
// the class tree holds them (trimmed), reads back from a recording's text as
// the same two classes, in both class-list forms.
void TestClassModelText::usableNamesReadBackFromTheStoredText()
{
    const QString alphabet = QStringLiteral("a +|");
    QStringList names;
    QStringList layer{QString()};
    for (int length = 1; length <= 4; ++length) {
        QStringList next;
        for (const QString &prefix : qAsConst(layer)) {
            for (QChar c : alphabet)
                next << prefix + c;
        }
        names += next;
        layer = next;
    }
    QStringList usable;
    for (const QString &name : qAsConst(names)) {
        if (ClassNames::isUsable(name) && !name.trimmed().isEmpty())
            usable << name.trimmed();
    }
    QVERIFY(usable.size() > 20);
    for (const QString &first : qAsConst(usable)) {
        for (const QString &second : qAsConst(usable)) {
            ClassAssignmentText t;
            t.setClasses({first, second});
            t.comment = QStringLiteral("note");
            for (auto style : {ClassAssignmentText::ClassList::Compact, ClassAssignmentText::ClassList::FourSlots}) {
                const ClassAssignmentText back = ClassAssignmentText::parse(t.fullText(style));
                if (back.batClass1 != first || back.batClass2 != second || !back.batClass3.isEmpty())
                    QFAIL(qPrintable(QStringLiteral("\"%1\" and \"%2\" read back as \"%3\" and \"%4\"")
                                         .arg(first, second, back.batClass1, back.batClass2)));
            }
        }
    }
}

void TestClassModelText::refusalTexts()
{
    QCOMPARE(ClassNames::refusal(QStringLiteral("  ")), QStringLiteral("The new Class Name may not be empty."));
    QCOMPARE(ClassNames::refusal(QStringLiteral("a|b")), QStringLiteral("This class name cannot be used."));
    QCOMPARE(ClassNames::refusal(QStringLiteral(" Pip")), QString());
}

QUILLON_TEST(TestClassModelText)
#include "tst_classmodeltext.moc"
