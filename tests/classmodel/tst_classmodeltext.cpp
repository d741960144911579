#include "testregistry.h"

#include "analysis/classassignmenttext.h"
#include "classmodel/classmodeltext.h"
#include "classmodel/classnamerules.h"

#include <QSet>
#include <QTest>

namespace {

// A model in one line: "Nyc <A> {NycLow <B>, NycNoc <C>}; No Call <K>".
QString notation(const ClassModel &model)
{
    QStringList classes;
    for (const ClassModelEntry &cls : model) {
        QStringList subs;
        for (const ClassModelEntry &sub : cls.subclasses)
            subs << sub.name + QLatin1Char(' ') + sub.shortcut;
        classes << cls.name + QLatin1Char(' ') + cls.shortcut
                       + (subs.isEmpty() ? QString() : QStringLiteral(" {") + subs.join(", ") + QLatin1Char('}'));
    }
    return classes.join(QStringLiteral("; "));
}

ClassModel trimmed(const QString &text)
{
    return ClassModelText::read(text, ClassModelText::Names::Trimmed).model;
}

} // namespace

class TestClassModelText : public QObject
{
    Q_OBJECT

private slots:
    void writeThenRead();
    void builtInTrees();
    void read_data();
    void read();
    void refusedLines();
    void usableNames_data();
    void usableNames();
    void usableNamesReadBackFromTheStoredText();
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
    QVERIFY(trimmed(QString()).isEmpty());
}

void TestClassModelText::builtInTrees()
{
    const QList<QPair<ClassModel, QString>> trees{
        {trimmed(ClassModelText::tavronTree()),
         "Nyc <A> {NycLow <B>, NycNoc <C>, NycMid <D>, Enil <E>}; "
         "Pip <L> {PipNat <F>, PipPn <G>, PipPip <H>, PipPp <I>, PipPyg <J>}; No Call <K>"},
        {trimmed(ClassModelText::simpleReviewTree()), "Pip <G> {Pnat <H>}; Nyc <F>; No Call <J>"},
        {trimmed(ClassModelText::advancedReviewTree()),
         "Pip <A> {Pnat <Q>, PpPn <W>, Ppip <E>, PpPp <R>, Ppyg <T>}; "
         "Nyc <S> {Nlow <Y>, Nnoc <X>, Nycmi <C>, Enil <V>}; No Call <D>"},
        {ClassModelText::simpleDefaultTree(), "Bat <A>; No Call <D>"},
        {ClassModelText::advancedDefaultTree(),
         "Pip <A> {Pnat <Q>, PpPn <W>, Ppip <E>, PpPp <R>, Ppyg <T>}; "
         "Nyc <S> {Nlow <Y>, Nnoc <X>, Nycmi <C>, Enil <V>}; Test <D>; Noise <F>"}};
    for (const auto &tree : trees) {
        QCOMPARE(notation(tree.first), tree.second);
        // A key finds one entry: no letter twice within a tree.
        const QStringList shortcuts = ClassModelText::shortcutsOf(tree.first);
        QCOMPARE(QSet<QString>(shortcuts.begin(), shortcuts.end()).size(), shortcuts.size());
    }
}

void TestClassModelText::read_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");
    QTest::newRow("last line without LF") << QByteArray("A\t<A>\n\tB\t<B>") << "A <A> {B <B>}";
    QTest::newRow("blank lines skipped") << QByteArray("\n\nA\t<A>\n\n\tB\t<B>\n\n") << "A <A> {B <B>}";
    QTest::newRow("subclass before any class dropped") << QByteArray("\tX\t<X>\nA\t<A>") << "A <A>";
    QTest::newRow("CR LF read as LF") << QByteArray("A\t<A>\r\n\r\n\tB\t<B>\r\n") << "A <A> {B <B>}";
    QTest::newRow("CR CR LF, a last line ending in CR") << QByteArray("A\t<A>\r\r\n\tB\t<B>\r") << "A <A> {B <B>}";
    QTest::newRow("NUL ends the text") << QByteArray("A\t<A>\n\0B\t<B>\n", 12) << "A <A>";
    QTest::newRow("UTF-8") << QByteArray("\xc3\x9c"
                                         "ber\t<A>")
                           << "Über <A>";
    QTest::newRow("further fields ignored, none missing") << QByteArray("A\t<A>\tx\tx\n\tB") << "A <A> {B }";
    QTest::newRow("two leading TABs: a nameless subclass") << QByteArray("A\t<A>\n\t\tB\t<B>") << "A <A> { B}";
    QTest::newRow("names trimmed, shortcut as it stands")
        << QByteArray(" Pip \t <P> \n\t Nyc\t<N>") << "Pip  <P>  {Nyc <N>}";
    QTest::newRow("a class of blanks left out with its subclasses")
        << QByteArray("  \t<A>\n\tB\t<B>\nC\t<C>") << "C <C>";
}

void TestClassModelText::read()
{
    QFETCH(QByteArray, file);
    const ClassModel model = trimmed(ClassModelText::decodeFile(file));
    QTEST(notation(model), "expected");
    // What is read is saved so that it reads back the same.
    QCOMPARE(trimmed(ClassModelText::write(model)), model);
}

void TestClassModelText::refusedLines()
{
    const ClassModelText::Reading reading = ClassModelText::read(
        "Pip\t<A>\n\tP|x\t<B>\n\tPnat\t<C>\nUnassigned\t<D>\n\tSub\t<E>\na + b\t<F>\nNyc\t<H>\n\tNlow\t<I>\n"
        "  \t<J>\n\tBlankSub\t<K>\n",
        ClassModelText::Names::AsTheyStand);
    // A refused class takes its subclasses along; the lines after it are read as usual. A class of
    // blanks, kept as it stands, is refused as the trimmed reading refuses it.
    QCOMPARE(notation(reading.model), QStringLiteral("Pip <A> {Pnat <C>}; Nyc <H> {Nlow <I>}"));
    QCOMPARE(reading.refusedNames, (QStringList{"P|x", "Unassigned", "Sub", "a + b", "  ", "BlankSub"}));
}

void TestClassModelText::usableNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("usable");
    QTest::newRow("plain") << "Pip" << true;
    QTest::newRow("blanks around") << "  Pip " << true;
    QTest::newRow("plus without blanks") << "a+b" << true;
    QTest::newRow("empty: the caller's rule") << "" << true;
    QTest::newRow("case differs from a pseudo-class") << "unassigned" << true;
    QTest::newRow("bar") << "a|b" << false;
    QTest::newRow("class separator") << "a + b" << false;
    QTest::newRow("ends in a plus after a blank") << "a +" << false;
    QTest::newRow("TAB") << "a\tb" << false;
    QTest::newRow("LF") << "a\nb" << false;
    QTest::newRow("CR") << "a\r" << false;
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
    QStringList usable;
    QStringList layer{QString()};
    for (int length = 1; length <= 4; ++length) {
        QStringList next;
        for (const QString &prefix : qAsConst(layer)) {
            for (QChar c : QStringLiteral("a +|"))
                next << prefix + c;
        }
        for (const QString &name : qAsConst(next)) {
            if (ClassNames::isUsable(name) && !name.trimmed().isEmpty())
                usable << name.trimmed();
        }
        layer = next;
    }
    QVERIFY(usable.size() > 20);
    for (const QString &first : qAsConst(usable)) {
        for (const QString &second : qAsConst(usable)) {
            ClassAssignmentText t;
            t.setClasses({first, second});
            for (auto style : {ClassAssignmentText::ClassList::Compact, ClassAssignmentText::ClassList::FourSlots}) {
                const QStringList back = ClassAssignmentText::parse(t.fullText(style)).classes();
                if (back != QStringList{first, second, QString(), QString()})
                    QFAIL(qPrintable(
                        QStringLiteral("\"%1\" and \"%2\" read back as \"%3\"").arg(first, second, back.join('"'))));
            }
        }
    }
}

QUILLON_TEST(TestClassModelText)
#include "tst_classmodeltext.moc"
