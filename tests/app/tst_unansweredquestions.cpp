#include "testregistry.h"

#include "common/userdialogs.h"
#include "guitest.h"
#include "scripteddialogs.h"

#include <QDialog>
#include <QTest>
#include <QTimer>

// A GUI test that meets a question nobody answers fails at once and goes on, instead of waiting for a person.
class TestUnansweredQuestions : public testsupport::GuiTestCase
{
    Q_OBJECT
private slots:
    void questionWithoutScript_answeredAsCancelled();
    void scriptedDialogs_answerUntilTheyGo();
    void modalDialogOfItsOwn_closed();
    void messageNobodyExpects_failsTheTest();
    void declaredMessageMissing_failsTheTest();
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
        outer.expectMessages();
        {
            ScriptedDialogs inner;
            inner.expectMessages();
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

// A box neither scripted nor expected fails the test that gets it, also when
// it comes from an event loop the test waits in. The failure is itself
// expected here: without it, the checks after QEXPECT_FAIL would pass where
// they are marked to fail, and fail the test.
void TestUnansweredQuestions::messageNobodyExpects_failsTheTest()
{
    ScriptedDialogs dialogs;
    dialogs.messageAnswers << QMessageBox::Yes;
    QCOMPARE(userDialogs().question(nullptr, QStringLiteral("Delete"), QStringLiteral("Delete?")), QMessageBox::Yes);
    dialogs.expectMessages();
    userDialogs().information(nullptr, QString(), QStringLiteral("expected"));

    QEXPECT_FAIL("", "a box the test did not script", Continue);
    QVERIFY(!userDialogs().confirm(nullptr, QStringLiteral("Delete"), QStringLiteral("stray")));

    bool shown = false;
    QTimer::singleShot(0, [&shown]() {
        userDialogs().warning(nullptr, QString(), QStringLiteral("stray, from a timer"));
        shown = true;
    });
    QEXPECT_FAIL("", "a box the test did not script, in a nested loop", Continue);
    QVERIFY(testsupport::waitUntil([&shown]() { return shown; }));
    QCOMPARE(dialogs.messages.size(), 4);
}

// A box declared or answered that never comes fails the test too, when the
// dialogs go: a test that expects a box holds that it came. Expected here as above.
void TestUnansweredQuestions::declaredMessageMissing_failsTheTest()
{
    {
        ScriptedDialogs dialogs;
        dialogs.expectMessages(2);
        userDialogs().information(nullptr, QString(), QStringLiteral("the first of two"));
        QEXPECT_FAIL("", "a declared box that never came", Continue);
    }
    {
        ScriptedDialogs dialogs;
        dialogs.messageAnswers << QMessageBox::Yes;
        QEXPECT_FAIL("", "an answered box that never came", Continue);
    }
}

QUILLON_TEST(TestUnansweredQuestions)
#include "tst_unansweredquestions.moc"
