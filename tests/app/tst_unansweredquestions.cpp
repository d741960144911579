#include "testregistry.h"

#include "common/userdialogs.h"
#include "guitest.h"
#include "scripteddialogs.h"

#include <QDialog>
#include <QTest>

// A GUI test that meets a question nobody answers fails at once and goes on, instead of waiting for a person.
class TestUnansweredQuestions : public testsupport::GuiTestCase
{
    Q_OBJECT
private slots:
    void questionWithoutScript_answeredAsCancelled();
    void scriptedDialogs_answerUntilTheyGo();
    void modalDialogOfItsOwn_closed();
};

void TestUnansweredQuestions::questionWithoutScript_answeredAsCancelled()
{
    testsupport::UnansweredQuestions unanswered;
    QVERIFY(!userDialogs().confirm(nullptr, QStringLiteral("Delete"), QStringLiteral("Delete 3 recordings?")));
    QCOMPARE(userDialogs().openFileName(nullptr, QStringLiteral("Open File"), QString(), QString()), QString());
    QCOMPARE(unanswered.questions, (QStringList{QStringLiteral("message box \"Delete 3 recordings?\""),
                                                QStringLiteral("file question \"Open File\"")}));
}

void TestUnansweredQuestions::scriptedDialogs_answerUntilTheyGo()
{
    testsupport::UnansweredQuestions unanswered;
    {
        ScriptedDialogs outer;
        {
            ScriptedDialogs inner;
            userDialogs().information(nullptr, QString(), QStringLiteral("inner"));
            QCOMPARE(inner.messages.size(), 1);
        }
        userDialogs().information(nullptr, QString(), QStringLiteral("outer"));
        QCOMPARE(outer.messages.size(), 1);
        QVERIFY(unanswered.questions.isEmpty());
    }
    userDialogs().information(nullptr, QString(), QStringLiteral("after"));
    QCOMPARE(unanswered.questions, QStringList{QStringLiteral("message box \"after\"")});
}

void TestUnansweredQuestions::modalDialogOfItsOwn_closed()
{
    testsupport::UnansweredQuestions unanswered(0);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Invalid Times"));
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(unanswered.questions, QStringList{QStringLiteral("modal QDialog \"Invalid Times\"")});
}

QUILLON_TEST(TestUnansweredQuestions)
#include "tst_unansweredquestions.moc"
