#include "testregistry.h"

#include "common/userdialogs.h"
#include "guitest.h"
#include "scripteddialogs.h"
#include "wavwriter.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs `act` on the dialog of type Dialog as soon as it runs modally (the caller is inside exec()).
template <typename Dialog>
void whenShown(std::function<void(Dialog *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act]() {
        if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start();
}

} // namespace

class TestUserDialogs : public QObject
{
    Q_OBJECT

private slots:
    // Qt's own boxes, answered here: a question no ScriptedDialogs answers fails no test meanwhile.
    void initTestCase() { testsupport::setUnansweredQuestionsFail(false); }
    void cleanupTestCase() { testsupport::setUnansweredQuestionsFail(true); }
    void install_replacesAndRestores();
    void message_buildsTheRequestedBox();
    void existingDirectory_passesTheOptions();
    void saveFileNameWithSuffix_takesTheChosenFilters();
    void saveFileNameWithSuffix_asksOfTheNameWritten();
    void saveFileNameWithSuffix_leavesTheQuestionToItself();
};

void TestUserDialogs::install_replacesAndRestores()
{
    UserDialogs *qtDialogs = &UserDialogs::current();
    {
        ScriptedDialogs scripted;
        QCOMPARE(&UserDialogs::current(), static_cast<UserDialogs *>(&scripted));
        scripted.messageAnswers << QMessageBox::No;
        QCOMPARE(userDialogs().question(nullptr, "Delete", "Do you really want to delete?"), QMessageBox::No);
        QCOMPARE(scripted.messages.size(), 1);
        QCOMPARE(scripted.messages.first().icon, QMessageBox::Question);
        QCOMPARE(scripted.messages.first().buttons, QMessageBox::Yes | QMessageBox::No);
    }
    QCOMPARE(&UserDialogs::current(), qtDialogs);
}

void TestUserDialogs::message_buildsTheRequestedBox()
{
    QString title;
    QString text;
    QString details;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    whenShown<QMessageBox>([&](QMessageBox *box) {
        title = box->windowTitle();
        text = box->text();
        details = box->informativeText();
        format = box->textFormat();
        icon = box->icon();
        defaultButton = box->standardButton(box->defaultButton());
        box->button(QMessageBox::No)->click();
    });
    MessageBoxRequest request;
    request.icon = QMessageBox::Warning;
    request.title = QStringLiteral("Warning");
    request.text = QStringLiteral("<b>bold</b>");
    request.textFormat = Qt::RichText;
    request.buttons = QMessageBox::Yes | QMessageBox::No;
    request.defaultButton = QMessageBox::Yes;
    request.informativeText = QStringLiteral("/data/bat.wav\nFMT format not supported.");
    const QMessageBox::StandardButton answer = UserDialogs::current().message(request);
    QCOMPARE(answer, QMessageBox::No);
    QCOMPARE(title, request.title);
    QCOMPARE(text, request.text);
    QCOMPARE(details, request.informativeText);
    QCOMPARE(format, Qt::RichText);
    QCOMPARE(icon, QMessageBox::Warning);
    QCOMPARE(defaultButton, QMessageBox::Yes);
}

void TestUserDialogs::existingDirectory_passesTheOptions()
{
    QFileDialog::Options seen;
    whenShown<QFileDialog>([&](QFileDialog *dialog) {
        seen = dialog->options();
        dialog->reject();
    });
    const QString chosen =
        UserDialogs::current().existingDirectory(nullptr, QStringLiteral("Open Directory"), QDir::tempPath(),
                                                 QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    QVERIFY(chosen.isEmpty());
    QVERIFY(seen.testFlag(QFileDialog::ShowDirsOnly));
    QVERIFY(seen.testFlag(QFileDialog::DontResolveSymlinks));
}

void TestUserDialogs::saveFileNameWithSuffix_takesTheChosenFilters()
{
    ScriptedDialogs scripted;
    const QString filters = QStringLiteral("CSV Files (*.csv);;Text Files (*.txt)");
    scripted.fileAnswers << QStringLiteral("/d/list") << QString();
    scripted.selectedFilterAnswers << QStringLiteral("Text Files (*.txt)") << QStringLiteral("Text Files (*.txt)");
    QCOMPARE(userDialogs().saveFileNameWithSuffix(nullptr, "Export", "/d", filters), QStringLiteral("/d/list.txt"));
    QCOMPARE(scripted.fileQuestions.first().filter, filters);
    // Cancelled: no name to complete.
    QCOMPARE(userDialogs().saveFileNameWithSuffix(nullptr, "Export", "/d", filters), QString());
}

void TestUserDialogs::saveFileNameWithSuffix_asksOfTheNameWritten()
{
    QTemporaryDir dir;
    QVERIFY(testsupport::writeFile(dir.filePath("mymodel.txt"), "Pip\t<P>\n"));
    const QString filter = QStringLiteral("TXT Files (*.txt)");
    ScriptedDialogs scripted;
    // "mymodel" typed again names the saved "mymodel.txt": asked; No asks for a name again, that one proposed.
    scripted.fileAnswers << dir.filePath("mymodel") << dir.filePath("other") << dir.filePath("mymodel");
    scripted.messageAnswers << QMessageBox::No << QMessageBox::Yes;
    QCOMPARE(userDialogs().saveFileNameWithSuffix(nullptr, "Save Model File", dir.path(), filter),
             dir.filePath("other.txt"));
    QCOMPARE(scripted.messages.size(), 1);
    const MessageBoxRequest asked = scripted.messages.first();
    QVERIFY2(asked.text.startsWith("mymodel.txt "), qPrintable(asked.text));
    QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(asked.defaultButton, QMessageBox::No);
    QCOMPARE(scripted.fileQuestions.at(1).dir, dir.filePath("mymodel.txt"));
    // Yes: replaced.
    QCOMPARE(userDialogs().saveFileNameWithSuffix(nullptr, "Save Model File", dir.path(), filter),
             dir.filePath("mymodel.txt"));
    QCOMPARE(scripted.messages.size(), 2);
}

void TestUserDialogs::saveFileNameWithSuffix_leavesTheQuestionToItself()
{
    // Qt's save dialog would ask of the name as typed: it is told not to.
    QFileDialog::Options seen;
    whenShown<QFileDialog>([&](QFileDialog *dialog) {
        seen = dialog->options();
        dialog->reject();
    });
    const QString chosen = UserDialogs::current().saveFileNameWithSuffix(nullptr, QStringLiteral("Save Model File"),
                                                                         QDir::tempPath(), "TXT Files (*.txt)");
    QVERIFY(chosen.isEmpty());
    QVERIFY(seen.testFlag(QFileDialog::DontConfirmOverwrite));
}

QUILLON_TEST(TestUserDialogs)
#include "tst_userdialogs.moc"
