#include "testregistry.h"

#include "evaluationfolder.h"

#include <QCheckBox>
#include <QFile>
#include <QMimeData>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace evaluationfolder;

namespace {

const QColor green(122, 184, 0);
const QColor orangeRed(255, 69, 0);

bool jobDone(const MainWindow &w)
{
    return w.jobGuard.running() == JobGuard::Job::None;
}

QCheckBox *box(MainWindow &w, const QString &name)
{
    return qobject_cast<QCheckBox *>(w.ui->treeWidget_fileView->itemWidget(row(w, name), FileViewColumn::Accepted));
}

QColor colour(MainWindow &w, const QString &name)
{
    return row(w, name)->foreground(FileViewColumn::Name).color();
}

} // namespace

// Classifying with the real workers on temporary folders: each starter of
// the assignment chain, its questions and write failures, accepting
// proposals, and the guard against a second job.
class TestAssignment : public testsupport::GuiTestCase
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void manualByButtonAndKey();
    void tavronQuestions();
    void writeFailures();
    void acceptingProposals();
    void guardDuringChain();
    void thousandRecordings();

private:
    QString folder(const QString &name, const QList<QPair<QString, QString>> &recordings, quint32 rate = 250000)
    {
        const QString dir = m_dir.path() + QLatin1Char('/') + name;
        QDir().mkpath(dir);
        for (const auto &r : recordings)
            writeRecording(dir + QLatin1Char('/') + r.first, r.second, rate);
        return dir;
    }
    QTemporaryDir m_dir;
};

void TestAssignment::manualByButtonAndKey()
{
    const QString dir = folder("manual", {{"a.wav", ""}, {"b.wav", "Bat|x"}, {"c.wav", ""}});
    QVERIFY(testsupport::writeFile(dir + "/d.raw", testsupport::WavWriter::pack(QVector<int>(500, 9), 16)));
    ScriptedDialogs dialogs;
    auto w = open(dialogs, dir, EvaluationMode::Manual);
    QVERIFY(w);
    QCOMPARE(counts(*w), QStringLiteral("Bat 1, Unassigned 3"));

    // The button: both rows written and counted; then the next selectable row below is shown.
    select(*w, {"a.wav", "c.wav"});
    assignButton(*w, "Bat")->click();
    QTRY_VERIFY(settled(*w));
    QCOMPARE(description(dir + "/a.wav"), QStringLiteral("Bat|"));
    QCOMPARE(description(dir + "/c.wav"), QStringLiteral("Bat|"));
    QCOMPARE(classes(*w, "c.wav"), (QStringList{"Bat", "", "", ""}));
    QCOMPARE(counts(*w), QStringLiteral("Bat 3, Unassigned 1"));
    QCOMPARE(w->ui->treeWidget_fileView->currentItem(), row(*w, "d.raw"));
    QVERIFY(w->currentFileName.endsWith("d.raw"));

    // A letter key: the class with that shortcut; "No Call" is a class like any other here.
    KeySpy spy;
    w->ui->treeWidget_fileView->installEventFilter(&spy);
    select(*w, {"b.wav"});
    press(w->ui->treeWidget_fileView, Qt::Key_D, "d");
    QCOMPARE(spy.presses, 0);
    QTRY_VERIFY(settled(*w));
    QCOMPARE(description(dir + "/b.wav"), QStringLiteral("Bat + No Call|x"));
    QCOMPARE(counts(*w), QStringLiteral("Bat 3, No Call 1, Unassigned 1"));
    press(w->ui->treeWidget_fileView, Qt::Key_Z, "z");   // no class has it
    QCOMPARE(spy.presses, 1);

    // A RAW recording cannot be written: one row, so no "Skip for all".
    select(*w, {"d.raw"});
    press(w->ui->treeWidget_fileView, Qt::Key_A, "A");
    QTRY_VERIFY(settled(*w));
    QCOMPARE(dialogs.choices.size(), 1);
    QCOMPARE(dialogs.choices.first().text, "Error Writing File " + dir + "/d.raw");
    QCOMPARE(dialogs.choices.first().buttonTexts, (QStringList{"Skip", "Cancel"}));
    QCOMPARE(classes(*w, "d.raw").first(), QString());
    QCOMPARE(counts(*w), QStringLiteral("Bat 3, No Call 1, Unassigned 1"));
    QVERIFY(!w->skipAllWriteErrors);
}

void TestAssignment::tavronQuestions()
{
    const QString dir = folder("tavron", {{"f.wav", "Nyc + Pip + NycLow + PipPp|Nyc|0|"},
                                          {"k.wav", "No Call|Pip|0|"},
                                          {"n.wav", "Nyc + Pip|Nyc|0|"},
                                          {"p.wav", "Nyc|Nyc, Pip|0|"}});
    ScriptedDialogs dialogs;
    auto w = open(dialogs, dir, EvaluationMode::Tavron);
    QVERIFY(w);
    QCOMPARE(counts(*w), QStringLiteral("Nyc 3, NycLow 1, Pip 2, PipPp 1, No Call 1"));
    const int asked = dialogs.messages.size();

    // "No Call" over bat classes: asked first; Cancel leaves everything as it was.
    select(*w, {"n.wav"});
    dialogs.messageAnswers << QMessageBox::Cancel << QMessageBox::Ok;
    assignButton(*w, "No Call")->click();
    QVERIFY(jobDone(*w));
    assignButton(*w, "No Call")->click();
    QTRY_VERIFY(settled(*w));
    QCOMPARE(dialogs.messages.at(asked).text,
             QStringLiteral("File already assigned to a bat call class.\nThis assignment will be overwritten."));
    QCOMPARE(dialogs.messages.at(asked).defaultButton, QMessageBox::Cancel);
    QCOMPARE(description(dir + "/n.wav"), QStringLiteral("No Call|Nyc|0|"));
    QCOMPARE(classes(*w, "n.wav"), (QStringList{"No Call", "", "", ""}));
    QVERIFY(!box(*w, "n.wav")->isChecked());
    QCOMPARE(colour(*w, "n.wav"), orangeRed);

    // A class over "No Call", equal to the proposal: accepted.
    select(*w, {"k.wav"});
    dialogs.messageAnswers << QMessageBox::Ok;
    assignButton(*w, "Pip")->click();
    QTRY_VERIFY(settled(*w));
    QCOMPARE(dialogs.messages.last().text,
             QStringLiteral("File already assigned to 'No Call'.\nThis 'No Call' assignment will be overwritten."));
    QCOMPARE(description(dir + "/k.wav"), QStringLiteral("Pip|Pip|1|"));
    QVERIFY(box(*w, "k.wav")->isChecked());
    QCOMPARE(colour(*w, "k.wav"), green);

    // Class 4 overwritten only after Yes.
    select(*w, {"f.wav"});
    dialogs.messageAnswers << QMessageBox::No << QMessageBox::Yes;
    assignButton(*w, "Enil")->click();
    QVERIFY(jobDone(*w));
    QCOMPARE(dialogs.messages.last().text,
             QStringLiteral("All classes of the file are already assigned.\nDo you want to overwrite class 4?"));
    QCOMPARE(dialogs.messages.last().defaultButton, QMessageBox::No);
    assignButton(*w, "Enil")->click();
    QTRY_VERIFY(settled(*w));
    QCOMPARE(description(dir + "/f.wav"), QStringLiteral("Nyc + Pip + NycLow + Enil|Nyc|0|"));

    // The letter key asks nothing; the proposal's classes in another order still accept it.
    select(*w, {"p.wav"});
    press(w->ui->treeWidget_fileView, Qt::Key_L, "l");
    QTRY_VERIFY(settled(*w));
    QCOMPARE(description(dir + "/p.wav"), QStringLiteral("Nyc + Pip|Nyc, Pip|1|"));
    QVERIFY(box(*w, "p.wav")->isChecked());
    QCOMPARE(colour(*w, "p.wav"), green);

    // Several rows, No: the full ones are left out, the others assigned.
    select(*w, {"f.wav", "p.wav"});
    dialogs.messageAnswers << QMessageBox::No;
    assignButton(*w, "NycMid")->click();
    QTRY_VERIFY(settled(*w));
    QVERIFY(dialogs.messages.last().text.startsWith("All classes of one or more files are already assigned."));
    QCOMPARE(description(dir + "/p.wav"), QStringLiteral("Nyc + Pip + NycMid|Nyc, Pip|0|"));
    QCOMPARE(description(dir + "/f.wav"), QStringLiteral("Nyc + Pip + NycLow + Enil|Nyc|0|"));
    QCOMPARE(counts(*w), QStringLiteral("Nyc 2, NycLow 1, NycMid 1, Enil 1, Pip 3, No Call 1"));
}

void TestAssignment::writeFailures()
{
    const QString dir = folder("failures", {{"a.wav", ""}, {"b.wav", ""}, {"c.wav", ""}, {"e.wav", ""}});
    ScriptedDialogs dialogs;
    auto w = open(dialogs, dir, EvaluationMode::Manual);
    QVERIFY(w);
    for (const char *name : {"/a.wav", "/b.wav", "/c.wav"})
        QVERIFY(QFile::remove(dir + name));

    // "Skip for all": the later failures ask nothing, the rest is written.
    select(*w, {"a.wav", "b.wav", "c.wav", "e.wav"});
    dialogs.choiceAnswers << 1;
    assignButton(*w, "Bat")->click();
    QTRY_VERIFY(settled(*w));
    QCOMPARE(dialogs.choices.size(), 1);
    QCOMPARE(dialogs.choices.first().buttonTexts, (QStringList{"Skip", "Skip for all", "Cancel"}));
    QCOMPARE(description(dir + "/e.wav"), QStringLiteral("Bat|"));
    QCOMPARE(classes(*w, "b.wav").first(), QString());
    QCOMPARE(counts(*w), QStringLiteral("Bat 1, Unassigned 3"));
    QVERIFY(!w->skipAllWriteErrors);

    // The next job asks again; Cancel stops it, and the row below the failed one is shown.
    QSignalSpy requests(w.get(), &MainWindow::signalWriteFileBextExtended);
    select(*w, {"a.wav", "c.wav"});
    dialogs.choiceAnswers << 2;
    assignButton(*w, "Bat")->click();
    QTRY_VERIFY(jobDone(*w));
    QCOMPARE(dialogs.choices.size(), 2);
    QCOMPARE(requests.size(), 1);
    QVERIFY(w->progressDialog->wasCanceled());
    QCOMPARE(w->ui->treeWidget_fileView->currentItem(), row(*w, "b.wav"));
    QVERIFY(!w->skipAllWriteErrors);
}

void TestAssignment::acceptingProposals()
{
    const QString dir = folder("accepting", {{"v.wav", "|Nyc, Pip, Enil, NycLow, PipPp|0|"},
                                             {"x.wav", "|Nyc, Pip|0|note"},
                                             {"y.wav", "Pip|Pip|0|"}});
    folder("accepting", {{"z.wav", QString()}}, 8000);   // too slow to classify: no proposal
    ScriptedDialogs dialogs;
    auto w = open(dialogs, dir, EvaluationMode::Tavron);
    QVERIFY(w);
    QCOMPARE(row(*w, "z.wav")->text(FileViewColumn::Proposal), QString());
    const QString before = counts(*w);

    // The box: the proposal's classes in proposal order, green; unchecked, all classes go again.
    box(*w, "x.wav")->click();
    QCOMPARE(description(dir + "/x.wav"), QStringLiteral("Nyc + Pip|Nyc, Pip|1|note"));
    QCOMPARE(classes(*w, "x.wav"), (QStringList{"Nyc", "Pip", "", ""}));
    QCOMPARE(colour(*w, "x.wav"), green);
    QCOMPARE(counts(*w), QStringLiteral("Nyc 1, Pip 2, Unassigned 2"));
    box(*w, "x.wav")->click();
    QCOMPARE(description(dir + "/x.wav"), QStringLiteral("|Nyc, Pip|0|note"));
    QCOMPARE(classes(*w, "x.wav"), (QStringList{"", "", "", ""}));
    QVERIFY(!row(*w, "x.wav")->data(FileViewColumn::Name, Qt::ForegroundRole).isValid());
    QCOMPARE(counts(*w), before);

    // Space on the current row: at most four classes of a longer proposal; then on to the next row.
    QTreeWidget *list = w->ui->treeWidget_fileView;
    list->setCurrentItem(row(*w, "v.wav"));
    press(list, Qt::Key_Space, " ");
    QCOMPARE(description(dir + "/v.wav"), QStringLiteral("Nyc + Pip + Enil + NycLow|Nyc, Pip, Enil, NycLow, PipPp|1|"));
    QVERIFY(box(*w, "v.wav")->isChecked());
    QCOMPARE(list->currentItem(), row(*w, "x.wav"));
    QTRY_VERIFY(!w->calculating);

    // An empty proposal has nothing to accept: the box goes back, Space moves on, nothing is written.
    const QByteArray zBytes = testsupport::readFile(dir + "/z.wav");
    box(*w, "z.wav")->click();
    QVERIFY(!box(*w, "z.wav")->isChecked());
    list->setCurrentItem(row(*w, "z.wav"));
    press(list, Qt::Key_Space, " ");
    QCOMPARE(testsupport::readFile(dir + "/z.wav"), zBytes);
    QCOMPARE(classes(*w, "z.wav").first(), QString());

    // A failed write: the box goes back and the message names the file.
    QVERIFY(QFile::remove(dir + "/y.wav"));
    box(*w, "y.wav")->click();
    QVERIFY(!box(*w, "y.wav")->isChecked());
    QCOMPARE(dialogs.messages.last().text,
             "Could not write file " + dir + "/y.wav\nClass assignment is not saved to wav file.");
    QCOMPARE(classes(*w, "y.wav").first(), QStringLiteral("Pip"));

    // A blank typed into a comment stays the comment's, even while a spectrogram is calculated.
    QTRY_VERIFY(!w->calculating);
    KeySpy spy;
    list->installEventFilter(&spy);
    list->setCurrentItem(row(*w, "x.wav"));
    list->editItem(row(*w, "x.wav"), FileViewColumn::Comment);
    w->calculating = true;
    press(list, Qt::Key_Space, " ");
    QCOMPARE(spy.presses, 1);
    list->closePersistentEditor(row(*w, "x.wav"), FileViewColumn::Comment);
    w->calculating = false;
    QCOMPARE(description(dir + "/x.wav"), QStringLiteral("|Nyc, Pip|0|note"));
}

void TestAssignment::guardDuringChain()
{
    const QString dir = folder("guard", {{"a.wav", "|Nyc|0|"}, {"b.wav", "|Nyc|0|"}, {"c.wav", "|Nyc|0|note"}});
    ScriptedDialogs dialogs;
    auto w = open(dialogs, dir, EvaluationMode::Tavron);
    QVERIFY(w);
    QSignalSpy requests(w.get(), &MainWindow::signalWriteFileBextExtended);
    KeySpy spy;
    QTreeWidget *list = w->ui->treeWidget_fileView;
    list->installEventFilter(&spy);
    select(*w, {"a.wav", "b.wav"});
    assignButton(*w, "Pip")->click();
    QCOMPARE(w->jobGuard.running(), JobGuard::Job::Bext);
    const int shown = dialogs.messages.size();
    const QByteArray cBytes = testsupport::readFile(dir + "/c.wav");

    // Until its replies are handled, nothing else starts or writes.
    assignButton(*w, "Nyc")->click();
    press(list, Qt::Key_A, "a");                         // passed on
    list->setCurrentItem(row(*w, "c.wav"));
    press(list, Qt::Key_Space, " ");                     // passed on
    box(*w, "c.wav")->click();                           // put back
    row(*w, "c.wav")->setText(FileViewColumn::Comment, "typed");   // put back
    w->ui->actionOpen_File->trigger();
    w->ui->actionOpen_Folder->trigger();
    w->ui->actionEvaluate_Folder->trigger();
    QMimeData urls;
    urls.setUrls({QUrl::fromLocalFile(dir + "/a.wav")});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &urls, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.get(), &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &urls, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.get(), &drop);
    QCOMPARE(requests.size(), 1);
    QCOMPARE(spy.presses, 2);
    QVERIFY(!box(*w, "c.wav")->isChecked());
    QCOMPARE(row(*w, "c.wav")->text(FileViewColumn::Comment), QStringLiteral("note"));
    QVERIFY(dialogs.fileQuestions.size() == 1);   // the folder of the evaluation only
    QCOMPARE(dialogs.messages.size(), shown + 7);
    for (int i = shown; i < dialogs.messages.size(); ++i)
        QCOMPARE(dialogs.messages.at(i).text, QStringLiteral("Please wait until the current job has finished."));
    QCOMPARE(testsupport::readFile(dir + "/c.wav"), cBytes);

    QTRY_VERIFY(settled(*w));
    QCOMPARE(description(dir + "/b.wav"), QStringLiteral("Pip|Nyc|0|"));
    box(*w, "c.wav")->click();
    QCOMPARE(description(dir + "/c.wav"), QStringLiteral("Nyc|Nyc|1|note"));
}

void TestAssignment::thousandRecordings()
{
    QList<QPair<QString, QString>> recordings;
    for (int i = 0; i < 1000; ++i)
        recordings << qMakePair(QStringLiteral("r%1.wav").arg(i, 4, 10, QLatin1Char('0')),
                                i % 2 ? QStringLiteral("No Call|c%1").arg(i) : QString());
    const QString dir = folder("thousand", recordings);
    ScriptedDialogs dialogs;
    auto w = open(dialogs, dir, EvaluationMode::Manual);
    QVERIFY(w);
    w->ui->treeWidget_fileView->selectAll();
    press(w->ui->treeWidget_fileView, Qt::Key_A, "a");
    QTRY_VERIFY_WITH_TIMEOUT(settled(*w), 120000);
    for (int i = 0; i < 1000; ++i) {
        const QString expected = i % 2 ? QStringLiteral("No Call + Bat|c%1").arg(i) : QStringLiteral("Bat|");
        QCOMPARE(description(dir + QStringLiteral("/r%1.wav").arg(i, 4, 10, QLatin1Char('0'))), expected);
    }
    QCOMPARE(counts(*w), QStringLiteral("Bat 1000, No Call 500"));
    QVERIFY(dialogs.choices.isEmpty());
}

QUILLON_TEST(TestAssignment)
#include "tst_mainwindow_assignment.moc"
