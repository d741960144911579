#include "testregistry.h"

#include "assignment/progressstandaside.h"
#include "display/spectrogramplot.h"
#include "evaluationfolder.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace evaluationfolder;

using Roles = QMap<QString, QMessageBox::ButtonRole>;

// Classifying with the real workers on temporary folders of small recordings
// made on 01/06/24: each starter of the chains, their questions, write
// failures and ends, accepting proposals, the keys, and the guard.
class TestAssignment : public testsupport::GuiTestCase
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void tavronQuestions();
    void writeFailures();
    void failureBoxOverProgress();
    void progressAfterTheBox();
    void acceptingProposals();
    void proposalOutsideTree();
    void guardDuringChain();
    void thousandRecordings();
    void classJobs();
    void assignmentEnds();
    void deletionWithSkippedFailure();
    void classInLaterSlot_data();
    void classInLaterSlot();
    void unassignedWhileHeadersLoad();
    void keys();
    void letterOfNoClass_data();
    void letterOfNoClass();
    void classLetter_infoLineFollows_data();
    void classLetter_infoLineFollows();

private:
    QString folder(const QString &name, const QList<QPair<QString, QString>> &recordings, quint32 rate = 250000)
    {
        return makeFolder(m_dir.path(), name, recordings, rate);
    }
    QTemporaryDir m_dir;
};

void TestAssignment::tavronQuestions()
{
    const QString dir = folder("tavron", {{"f.wav", "Nyc + Pip + NycLow + PipPp|Nyc|0|"},
                                          {"k.wav", "No Call|Pip|0|"},
                                          {"n.wav", "Nyc + Pip|Nyc|0|"},
                                          {"p.wav", "Nyc|Nyc, Pip|0|"},
                                          {"t.wav", "Nyc + Pip + NycLow|Nyc|0|"}});
    ScriptedDialogs dialogs;
    auto w = open(dialogs, dir, EvaluationMode::Tavron);
    QVERIFY(w);

    // "No Call" over bat classes, asked first: Cancel changes nothing, OK replaces them all.
    select(*w, {"n.wav"});
    dialogs.messageAnswers << QMessageBox::Cancel << QMessageBox::Ok;
    clickAssign(*w, "No Call");
    QCOMPARE(w->jobGuard.running(), JobGuard::Job::None);
    clickAssign(*w, "No Call");
    QVERIFY(waitSettled(*w));
    QCOMPARE(dialogs.messages.last().text,
             QStringLiteral("File already assigned to a bat call class.\nThis assignment will be overwritten."));
    QCOMPARE(description(dir + "/n.wav"), QStringLiteral("No Call|Nyc|0|"));
    QCOMPARE(classes(*w, "n.wav"), QStringLiteral("No Call,,,"));
    QVERIFY(!box(*w, "n.wav")->isChecked());
    QCOMPARE(colour(*w, "n.wav"), orangeRed);

    // A class over "No Call", the proposal alone: accepted.
    select(*w, {"k.wav"});
    dialogs.messageAnswers << QMessageBox::Ok;
    clickAssign(*w, "Pip");
    QVERIFY(waitSettled(*w));
    QCOMPARE(dialogs.messages.last().text,
             QStringLiteral("File already assigned to 'No Call'.\nThis 'No Call' assignment will be overwritten."));
    QCOMPARE(description(dir + "/k.wav"), QStringLiteral("Pip|Pip|1|"));
    QVERIFY(box(*w, "k.wav")->isChecked());
    QCOMPARE(colour(*w, "k.wav"), green);

    // Class 4 is overwritten after Yes only; with several rows, No leaves the full ones out, not those with three.
    select(*w, {"f.wav"});
    dialogs.messageAnswers << QMessageBox::No << QMessageBox::Yes;
    clickAssign(*w, "Enil");
    QCOMPARE(dialogs.messages.last().text,
             QStringLiteral("All classes of the file are already assigned.\nDo you want to overwrite class 4?"));
    clickAssign(*w, "Enil");
    QVERIFY(waitSettled(*w));
    QCOMPARE(description(dir + "/f.wav"), QStringLiteral("Nyc + Pip + NycLow + Enil|Nyc|0|"));
    select(*w, {"f.wav", "p.wav", "t.wav"});
    dialogs.messageAnswers << QMessageBox::No;
    clickAssign(*w, "NycNoc");
    QVERIFY(waitSettled(*w));
    QVERIFY(dialogs.messages.last().text.startsWith("All classes of one or more files are already assigned."));
    QCOMPARE(description(dir + "/f.wav"), QStringLiteral("Nyc + Pip + NycLow + Enil|Nyc|0|"));
    QCOMPARE(description(dir + "/p.wav"), QStringLiteral("Nyc + NycNoc|Nyc, Pip|0|"));
    QCOMPARE(description(dir + "/t.wav"), QStringLiteral("Nyc + Pip + NycLow + NycNoc|Nyc|0|"));
    QCOMPARE(colour(*w, "p.wav"), orangeRed);
    QCOMPARE(counts(*w), QStringLiteral("Nyc 3, NycLow 2, NycNoc 2, Enil 1, Pip 3, No Call 1"));
}

void TestAssignment::writeFailures()
{
    const QString dir = folder("failures", {{"a.wav", ""}, {"b.wav", ""}, {"c.wav", ""}, {"e.wav", ""}, {"f.wav", ""}});
    QVERIFY(testsupport::writeFile(dir + "/d.raw", testsupport::WavWriter::pack(QVector<int>(500, 9), 16)));
    ScriptedDialogs dialogs;
    dialogs.expectMessages();
    auto w = open(dialogs, dir, EvaluationMode::Manual);
    QVERIFY(w);
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages.first().text.startsWith("You are evaluating a folder which contains raw-files."));
    for (const char *name : {"/a.wav", "/b.wav", "/c.wav"})
        QVERIFY(QFile::remove(dir + name));
    QList<FailureBox> boxes;

    // One row, a RAW recording: no "Skip for all"; the reason below the path; Escape is Cancel.
    select(*w, {"d.raw"});
    dialogs.dialogAnswers << onFailureBox(&boxes, [](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Escape); });
    press(w->ui->treeWidget_fileView, Qt::Key_A, "a");
    QVERIFY(waitSettled(*w));
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.last().text, "Error Writing File " + dir + "/d.raw");
    QCOMPARE(boxes.last().reason, QStringLiteral("Only WAV recordings can hold classes."));
    QCOMPARE(boxes.last().buttons, (Roles{{"Skip", QMessageBox::NoRole}, {"Cancel", QMessageBox::RejectRole}}));
    QCOMPARE(boxes.last().answeredBy, QStringLiteral("Cancel"));

    // "Skip for all": the later failures ask nothing, the rest is written and counted, and the row
    // below the last one is shown.
    select(*w, {"a.wav", "b.wav", "c.wav", "e.wav"});
    dialogs.dialogAnswers << onFailureBox(&boxes, clickButton("Skip for all"));
    clickAssign(*w, "Bat");
    QVERIFY(waitSettled(*w));
    QCOMPARE(boxes.size(), 2);
    QCOMPARE(boxes.last().buttons, (Roles{{"Skip", QMessageBox::NoRole},
                                          {"Skip for all", QMessageBox::YesRole},
                                          {"Cancel", QMessageBox::RejectRole}}));
    QVERIFY(boxes.last().reason.startsWith("The file cannot be opened for writing: "));
    QCOMPARE(description(dir + "/e.wav"), QStringLiteral("Bat|"));
    QCOMPARE(classes(*w, "e.wav"), QStringLiteral("Bat,,,"));
    QCOMPARE(counts(*w), QStringLiteral("Bat 1, Unassigned 5"));
    QVERIFY(w->currentFileName.endsWith("f.wav"));

    // The next job asks again; the window's close button stops it as Cancel does, and the row below
    // the failed one is shown.
    QSignalSpy requests(w.get(), &MainWindow::signalWriteFileBextExtended);
    select(*w, {"a.wav", "c.wav"});
    dialogs.dialogAnswers << onFailureBox(&boxes, [](QMessageBox *box) { box->close(); });
    dialogs.expectMessages();
    clickAssign(*w, "Bat");
    QVERIFY(waitSettled(*w));
    QCOMPARE(boxes.size(), 3);
    QCOMPARE(boxes.last().answeredBy, QStringLiteral("Cancel"));
    QCOMPARE(requests.size(), 1);
    QCOMPARE(w->ui->treeWidget_fileView->currentItem(), row(*w, "b.wav"));
    // b.wav is gone too: showing it says so.
    QCOMPARE(dialogs.messages.size(), 2);
    QCOMPARE(dialogs.messages.last().text, QStringLiteral("The wav file could not be loaded"));
    QVERIFY(dialogs.messages.last().informativeText.startsWith(dir + "/b.wav"));
    QVERIFY(!w->skipAllWriteErrors);

    // Enter answers "Skip": the job goes on past the failed recording.
    select(*w, {"a.wav", "f.wav"});
    dialogs.dialogAnswers << onFailureBox(&boxes, [](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Return); });
    clickAssign(*w, "Bat");
    QVERIFY(waitSettled(*w));
    QCOMPARE(boxes.size(), 4);
    QCOMPARE(boxes.last().answeredBy, QStringLiteral("Skip"));
    QCOMPARE(description(dir + "/f.wav"), QStringLiteral("Bat|"));
}

void TestAssignment::failureBoxOverProgress()
{
    const QString dir = folder("ontop", {{"a.wav", ""}, {"b.wav", ""}});
    ScriptedDialogs dialogs;
    auto w = open(dialogs, dir, EvaluationMode::Manual);
    QVERIFY(w);
    QVERIFY(QFile::remove(dir + "/a.wav"));
    QWidget *parent = nullptr;
    bool boxOnTop = false;
    bool progressShown = true;
    dialogs.dialogAnswers << [&](QDialog *box) {
        // Shown modal as exec() shows it, and kept up past the time the progress window maps itself.
        box->setAttribute(Qt::WA_ShowModal);
        box->show();
        QProgressDialog *progress = w->progressDialog;
        testsupport::waitUntil([progress]() { return progress->isVisible(); }, 2 * progress->minimumDuration());
        parent = box->parentWidget();
        boxOnTop = QApplication::activeModalWidget() == box;
        progressShown = progress->isVisible();
        clickButton("Skip")(qobject_cast<QMessageBox *>(box));
    };
    select(*w, {"a.wav", "b.wav"});
    clickAssign(*w, "Bat");
    QVERIFY(waitSettled(*w));
    QCOMPARE(parent, static_cast<QWidget *>(w.get()));
    QVERIFY(boxOnTop);
    QVERIFY(!progressShown);
    // The chain goes on past the skipped recording.
    QCOMPARE(description(dir + "/b.wav"), QStringLiteral("Bat|"));
}

void TestAssignment::progressAfterTheBox()
{
    // After "Skip" the job goes on and its window is back at once; after "Cancel" it stays away.
    for (const bool cancelled : {false, true}) {
        QProgressDialog progress(QStringLiteral("Writing..."), QStringLiteral("Cancel"), 0, 9);
        progress.setMinimumDuration(200);
        progress.setValue(3);
        {
            const ProgressStandAside boxOnTop(&progress); // the box, up past the window's 200 ms
            QVERIFY(!testsupport::waitUntil([&progress]() { return progress.isVisible(); }, 2 * 200));
            if (cancelled)
                progress.cancel();
        }
        QCOMPARE(progress.isVisible() || testsupport::waitUntil([&]() { return progress.isVisible(); }, 200),
                 !cancelled);
    }
}

void TestAssignment::acceptingProposals()
{
    const QString dir = folder(
        "accepting",
        {{"v.wav", "|Nyc, Pip, Enil, NycLow, PipPp|0|"}, {"x.wav", "|Nyc, Pip|0|note"}, {"y.wav", "Pip|Pip|0|"}});
    folder("accepting", {{"z.wav", QString()}}, 8000); // too slow to classify: no proposal
    ScriptedDialogs dialogs;
    auto w = open(dialogs, dir, EvaluationMode::Tavron);
    QVERIFY(w);
    const QString before = counts(*w);

    // The box: the proposal's classes in its order, green; unchecked, they go again.
    box(*w, "x.wav")->click();
    QCOMPARE(description(dir + "/x.wav"), QStringLiteral("Nyc + Pip|Nyc, Pip|1|note"));
    QCOMPARE(classes(*w, "x.wav"), QStringLiteral("Nyc,Pip,,"));
    QCOMPARE(colour(*w, "x.wav"), green);
    QCOMPARE(counts(*w), QStringLiteral("Nyc 1, Pip 2, Unassigned 2"));
    box(*w, "x.wav")->click();
    QCOMPARE(description(dir + "/x.wav"), QStringLiteral("|Nyc, Pip|0|note"));
    QCOMPARE(classes(*w, "x.wav"), QStringLiteral(",,,"));
    QVERIFY(!row(*w, "x.wav")->data(FileViewColumn::Name, Qt::ForegroundRole).isValid());
    QCOMPARE(counts(*w), before);

    // Space on the current row: at most four classes of a longer proposal; then on to the next row.
    QTreeWidget *list = w->ui->treeWidget_fileView;
    list->setCurrentItem(row(*w, "v.wav"));
    press(list, Qt::Key_Space, " ");
    QCOMPARE(description(dir + "/v.wav"), QStringLiteral("Nyc + Pip + Enil + NycLow|Nyc, Pip, Enil, NycLow, PipPp|1|"));
    QVERIFY(box(*w, "v.wav")->isChecked());
    QCOMPARE(list->currentItem(), row(*w, "x.wav"));
    QVERIFY(testsupport::waitForSpectrogram(*w));

    // An empty proposal has nothing to accept: the box goes back, Space moves on, nothing is written.
    const QByteArray zBytes = testsupport::readFile(dir + "/z.wav");
    box(*w, "z.wav")->click();
    QVERIFY(!box(*w, "z.wav")->isChecked());
    list->setCurrentItem(row(*w, "z.wav"));
    press(list, Qt::Key_Space, " ");
    QCOMPARE(testsupport::readFile(dir + "/z.wav"), zBytes);
    QCOMPARE(classes(*w, "z.wav"), QStringLiteral(",,,"));

    // A failed write: the box goes back and the message names the file and the system's reason.
    QVERIFY(QFile::remove(dir + "/y.wav"));
    dialogs.expectMessages();
    box(*w, "y.wav")->click();
    QVERIFY(!box(*w, "y.wav")->isChecked());
    QCOMPARE(dialogs.messages.last().text,
             "Could not write file " + dir + "/y.wav\nClass assignment is not saved to wav file.");
    QVERIFY(dialogs.messages.last().informativeText.endsWith("No such file or directory"));

    // A blank typed into a comment stays the comment's, even while a spectrogram is calculated.
    QVERIFY(testsupport::waitForSpectrogram(*w));
    KeySpy spy;
    list->installEventFilter(&spy);
    list->setCurrentItem(row(*w, "x.wav"));
    list->editItem(row(*w, "x.wav"), FileViewColumn::Comment);
    w->calculating = true;
    press(list, Qt::Key_Space, " ");
    QCOMPARE(spy.presses, 1);
    list->closePersistentEditor(row(*w, "x.wav"), FileViewColumn::Comment);
    w->calculating = false;
}

void TestAssignment::proposalOutsideTree()
{
    // The recorder proposes "Myotis, Nyc": the review's tree has no "Myotis", and the next load would drop it.
    const QString dir = folder("outside", {{"a.wav", "||0|"}});
    QVERIFY(testsupport::writeFile(dir + "/calls_ch1_files.txt",
                                   "a.wav\t2024-06-01\t22:14:03\tbat\tMyotis\tx\tNyctaloid\n"));
    ScriptedDialogs dialogs;
    auto w = open(dialogs, dir, EvaluationMode::RecorderReview);
    QVERIFY(w);
    QCOMPARE(row(*w, "a.wav")->text(FileViewColumn::Proposal), QStringLiteral("Myotis, Nyc"));

    // Neither the box nor Space accepts it; each says why, and the recording keeps its text.
    dialogs.expectMessages(2);
    box(*w, "a.wav")->click();
    QVERIFY(!box(*w, "a.wav")->isChecked());
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages.last().text.contains("the class tree has no class \"Myotis\""));
    QTreeWidget *list = w->ui->treeWidget_fileView;
    list->setCurrentItem(row(*w, "a.wav"));
    press(list, Qt::Key_Space, " ");
    QCOMPARE(dialogs.messages.size(), 2);
    QVERIFY(!box(*w, "a.wav")->isChecked());
    QCOMPARE(description(dir + "/a.wav"), QStringLiteral("||0|"));
    QCOMPARE(classes(*w, "a.wav"), QStringLiteral(",,,"));
    QCOMPARE(counts(*w), QStringLiteral("Unassigned 1"));
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
    clickAssign(*w, "Pip");
    const int shown = dialogs.messages.size();
    const QByteArray cBytes = testsupport::readFile(dir + "/c.wav");

    // Until its replies are handled nothing else starts or writes: a class
    // letter and Space are consumed, the rest refused.
    dialogs.expectMessages(7);
    clickAssign(*w, "Nyc");
    press(list, Qt::Key_A, "a");
    list->setCurrentItem(row(*w, "c.wav"));
    press(list, Qt::Key_Space, " ");
    box(*w, "c.wav")->click();
    row(*w, "c.wav")->setText(FileViewColumn::Comment, "typed");
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
    QCOMPARE(spy.presses, 0);
    QVERIFY(!box(*w, "c.wav")->isChecked());
    QCOMPARE(row(*w, "c.wav")->text(FileViewColumn::Comment), QStringLiteral("note"));
    QCOMPARE(dialogs.fileQuestions.size(), 1); // the evaluation's own folder
    QCOMPARE(dialogs.messages.size(), shown + 7);
    for (int i = shown; i < dialogs.messages.size(); ++i)
        QCOMPARE(dialogs.messages.at(i).text, pleaseWait);
    QCOMPARE(testsupport::readFile(dir + "/c.wav"), cBytes);

    QVERIFY(waitSettled(*w));
    QCOMPARE(description(dir + "/b.wav"), QStringLiteral("Pip|Nyc|0|"));
    select(*w, {"c.wav"});
    press(list, Qt::Key_L, "l");
    QVERIFY(waitSettled(*w));
    QCOMPARE(description(dir + "/c.wav"), QStringLiteral("Pip|Nyc|0|note"));
}

void TestAssignment::thousandRecordings()
{
    QList<QPair<QString, QString>> recordings;
    const auto name = [](int i) { return QStringLiteral("r%1.wav").arg(i, 4, 10, QLatin1Char('0')); };
    for (int i = 0; i < 1000; ++i)
        recordings << qMakePair(name(i), i % 2 ? QStringLiteral("No Call|c%1").arg(i) : QString());
    const QString dir = folder("thousand", recordings);
    ScriptedDialogs dialogs;
    auto w = open(dialogs, dir, EvaluationMode::Manual);
    QVERIFY(w);
    w->ui->treeWidget_fileView->selectAll();
    press(w->ui->treeWidget_fileView, Qt::Key_A, "a");
    QVERIFY(waitSettled(*w, 120000));
    for (int i = 0; i < 1000; ++i)
        QCOMPARE(description(dir + '/' + name(i)), i % 2 ? QStringLiteral("No Call + Bat|c%1").arg(i) : "Bat|");
    QCOMPARE(counts(*w), QStringLiteral("Bat 1000, No Call 500"));
}

void TestAssignment::classJobs()
{
    // The recorder proposes "Pip, Nyc" for each recording.
    const QString dir = folder(
        "review", {{"a.wav", "Pnat + Nyc||0|"}, {"b.wav", "Pnat||1|c"}, {"c.wav", "Nyc + Pip||1|"}, {"d.wav", "||0|"}});
    QString result;
    for (const char *name : {"a", "b", "c", "d"})
        result += QString::fromLatin1(name) + ".wav\t2024-06-01\t22:14:03\tbat\tPipistrelloid\tx\tNyctaloid\n";
    QVERIFY(testsupport::writeFile(dir + "/calls_ch1_files.txt", result.toUtf8()));
    ScriptedDialogs dialogs;
    auto w = open(dialogs, dir, EvaluationMode::RecorderReview);
    QVERIFY(w);
    QTreeWidget *tree = w->ui->treeWidget;
    const auto deleteKey = [&](const QString &className) { // true: consumed
        tree->setCurrentItem(classRow(*w, className));
        KeySpy spy;
        tree->installEventFilter(&spy);
        press(tree, Qt::Key_Delete);
        return spy.presses == 0;
    };

    // A class whose subclass recordings carry is refused; one that none carries goes at once.
    dialogs.expectMessages();
    QVERIFY(!deleteKey("Pip"));
    QCOMPARE(dialogs.messages.last().text,
             QStringLiteral("Files are assigned to subclasses of \"Pip\".\nPlease delete these subclasses first."));
    dialogs.messageAnswers << QMessageBox::Ok;
    QVERIFY(deleteKey("No Call"));
    QCOMPARE(dialogs.messages.last().text, QStringLiteral("Do you really want to delete \"No Call\"?\nClass "
                                                          "\"No Call\" will be unassigned in all files!"));
    QVERIFY(!classRow(*w, "No Call"));

    // A carried class leaves each recording, then its row goes; no class left means the flag "0".
    dialogs.messageAnswers << QMessageBox::Ok;
    QVERIFY(!deleteKey("Pnat"));
    QVERIFY(waitSettled(*w));
    QCOMPARE(description(dir + "/a.wav"), QStringLiteral("Nyc|Pip, Nyc|0|"));
    QCOMPARE(description(dir + "/b.wav"), QStringLiteral("|Pip, Nyc|0|c"));
    QVERIFY(!box(*w, "b.wav")->isChecked());
    QVERIFY(!classRow(*w, "Pnat"));
    QCOMPARE(counts(*w), QStringLiteral("Pip 1, Nyc 2, Unassigned 2"));

    // Renaming keeps the accepted flag; at the end the class's own row carries the new name in its place.
    QTreeWidgetItem *nyc = classRow(*w, "Nyc");
    QCOMPARE(w->renameClassInFiles(nyc, "Nycta"), MainWindow::ClassJobStart::Started);
    QVERIFY(waitSettled(*w));
    QCOMPARE(description(dir + "/a.wav"), QStringLiteral("Nycta|Pip, Nyc|0|"));
    QCOMPARE(description(dir + "/c.wav"), QStringLiteral("Nycta + Pip|Pip, Nyc|1|"));
    QCOMPARE(tree->topLevelItem(1), nyc);
    QCOMPARE(tree->topLevelItemCount(), 3);
    QCOMPARE(counts(*w), QStringLiteral("Pip 1, Nycta 2, Unassigned 2"));

    // Resetting keeps only the comments, then the review's tree and rows are read again.
    QVERIFY(w->resetAllFiles());
    QVERIFY(waitSettled(*w));
    for (const char *name : {"/a.wav", "/c.wav", "/d.wav"})
        QCOMPARE(description(dir + name), QStringLiteral("|"));
    QCOMPARE(description(dir + "/b.wav"), QStringLiteral("|c"));
    QStringList names; // the review's short tree again, not the advanced one
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        names << (*it)->text(ClassTreeColumn::Class);
    QCOMPARE(names, (QStringList{"Pip", "Pnat", "Nyc", "No Call", "Unassigned"}));
    QCOMPARE(counts(*w), QStringLiteral("Unassigned 4"));
    QCOMPARE(row(*w, "c.wav")->text(FileViewColumn::Proposal), QStringLiteral("Pip, Nyc"));
}

void TestAssignment::assignmentEnds()
{
    // b is proposed "No Call": it cannot be chosen.
    const QString dir =
        folder("ends", {{"a.wav", "|Nyc|0|"}, {"b.wav", "|No Call|0|"}, {"c.wav", "Nyc + Pip + NycLow|Nyc|0|"}});
    ScriptedDialogs dialogs;
    auto w = open(dialogs, dir, EvaluationMode::Tavron);
    QVERIFY(w);

    // After the last reply the list steps past b to c, which is shown.
    select(*w, {"a.wav"});
    clickAssign(*w, "Pip");
    QVERIFY(waitSettled(*w));
    QCOMPARE(w->ui->treeWidget_fileView->currentItem(), row(*w, "c.wav"));
    QVERIFY(w->currentFileName.endsWith("c.wav"));

    // Three classes: the fourth is added without the question about overwriting class 4.
    const int asked = dialogs.messages.size(); // the evaluation's own notice
    select(*w, {"c.wav"});
    clickAssign(*w, "Enil");
    QVERIFY(waitSettled(*w));
    QCOMPARE(dialogs.messages.size(), asked);
    QCOMPARE(description(dir + "/c.wav"), QStringLiteral("Nyc + Pip + NycLow + Enil|Nyc|0|"));
}

void TestAssignment::deletionWithSkippedFailure()
{
    // c holds Bat twice; b's write fails and is skipped.
    const QString dir = folder("skipped", {{"a.wav", "Bat|"}, {"b.wav", "Bat|"}, {"c.wav", "Bat + Bat|n"}});
    ScriptedDialogs dialogs;
    auto w = open(dialogs, dir, EvaluationMode::Manual);
    QVERIFY(w);
    QCOMPARE(counts(*w), QStringLiteral("Bat 4"));
    QVERIFY(QFile::remove(dir + "/b.wav"));
    QList<FailureBox> boxes;
    dialogs.messageAnswers << QMessageBox::Ok;
    dialogs.dialogAnswers << onFailureBox(&boxes, clickButton("Skip"));
    w->ui->treeWidget->setCurrentItem(classRow(*w, "Bat"));
    press(w->ui->treeWidget, Qt::Key_Delete);
    QVERIFY(waitSettled(*w));

    // Both of c's go; b still holds Bat, so its class row stays with b's count.
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(description(dir + "/a.wav"), QStringLiteral("|"));
    QCOMPARE(description(dir + "/c.wav"), QStringLiteral("|n"));
    QCOMPARE(classes(*w, "c.wav"), QStringLiteral(",,,"));
    QCOMPARE(classes(*w, "b.wav"), QStringLiteral("Bat,,,"));
    QVERIFY(classRow(*w, "Bat"));
    QCOMPARE(counts(*w), QStringLiteral("Bat 1, Unassigned 2"));
}

void TestAssignment::classInLaterSlot_data()
{
    // The class X stands in slot 2, 3 or 4; deleted, the later classes move up; renamed, Y takes its slot.
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("rename");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("shown"); // the row's four class columns afterwards
    QTest::newRow("slot 2, deleted") << "Nyc + X + Pip|" << false << "Nyc + Pip|"
                                     << "Nyc,Pip,,";
    QTest::newRow("slot 3, deleted") << "Nyc + Pip + X + Enil|" << false << "Nyc + Pip + Enil|"
                                     << "Nyc,Pip,Enil,";
    QTest::newRow("slot 4, deleted") << "Nyc + Pip + Enil + X|" << false << "Nyc + Pip + Enil|"
                                     << "Nyc,Pip,Enil,";
    QTest::newRow("slot 2, renamed") << "Nyc + X + Pip|" << true << "Nyc + Y + Pip|"
                                     << "Nyc,Y,Pip,";
    QTest::newRow("slot 3, renamed") << "Nyc + Pip + X + Enil|" << true << "Nyc + Pip + Y + Enil|"
                                     << "Nyc,Pip,Y,Enil";
    QTest::newRow("slot 4, renamed") << "Nyc + Pip + Enil + X|" << true << "Nyc + Pip + Enil + Y|"
                                     << "Nyc,Pip,Enil,Y";
}

void TestAssignment::classInLaterSlot()
{
    QFETCH(QString, stored);
    QFETCH(bool, rename);
    QFETCH(QString, written);
    QFETCH(QString, shown);
    const QString dir = folder(QString::fromLatin1(QTest::currentDataTag()), {{"a.wav", stored}});
    ScriptedDialogs dialogs;
    auto w = open(dialogs, dir, EvaluationMode::Manual);
    QVERIFY(w);
    if (rename) {
        QCOMPARE(w->renameClassInFiles(classRow(*w, "X"), "Y"), MainWindow::ClassJobStart::Started);
    } else {
        dialogs.messageAnswers << QMessageBox::Ok;
        w->ui->treeWidget->setCurrentItem(classRow(*w, "X"));
        press(w->ui->treeWidget, Qt::Key_Delete);
    }
    QVERIFY(waitSettled(*w));
    QCOMPARE(description(dir + "/a.wav"), written);
    QCOMPARE(classes(*w, "a.wav"), shown);
    QVERIFY(!classRow(*w, "X"));
    QCOMPARE(classRow(*w, "Y") != nullptr, rename);
}

void TestAssignment::unassignedWhileHeadersLoad()
{
    const QString dir = folder("unassigned", {{"a.wav", ""}, {"b.wav", ""}});
    ScriptedDialogs dialogs;
    auto w = testsupport::exposedWindow();
    QVERIFY(w);
    startEvaluation(dialogs, *w, dir, EvaluationMode::Manual);
    HeaderPause pause(*w);
    QTreeWidget *list = w->ui->treeWidget_fileView;
    QVERIFY(testsupport::waitUntil(
        [&]() { return !row(*w, "a.wav")->text(FileViewColumn::Date).isEmpty() && !w->calculating; }));
    // a leaves "Unassigned" with no recording; b, not read yet, shows no class either.
    select(*w, {"a.wav"});
    press(list, Qt::Key_A, "a");
    QVERIFY(testsupport::waitUntil([&w]() { return w->jobGuard.running() == JobGuard::Job::None; }));
    QCOMPARE(classes(*w, "a.wav"), QStringLiteral("Bat,,,"));
    list->setCurrentItem(nullptr);

    // The unread row is never taken for an unassigned recording.
    emit w->ui->treeWidget->itemDoubleClicked(classRow(*w, "Unassigned"), 0);
    QVERIFY(list->currentItem() != row(*w, "b.wav"));
    pause.release();
    QVERIFY(waitSettled(*w));
    list->setCurrentItem(nullptr);
    emit w->ui->treeWidget->itemDoubleClicked(classRow(*w, "Unassigned"), 0);
    QCOMPARE(list->currentItem(), row(*w, "b.wav"));
}

void TestAssignment::keys()
{
    const QString dir = folder("keys", {{"a.wav", "Bat|"}, {"b.wav", ""}, {"c.wav", ""}, {"d.wav", ""}});
    ScriptedDialogs dialogs;
    auto w = open(dialogs, dir, EvaluationMode::Manual);
    QVERIFY(w);
    QTreeWidget *tree = w->ui->treeWidget;
    QTreeWidget *list = w->ui->treeWidget_fileView;
    QTreeWidget *folderList = w->ui->treeWidget_2;
    KeySpy spy; // counts the keys passed on
    for (QTreeWidget *widget : {tree, list, folderList})
        widget->installEventFilter(&spy);

    // Enter on a class makes its first recording current, on a row shows it; the arrows step and are consumed.
    press(tree, Qt::Key_Return);
    QCOMPARE(list->currentItem(), row(*w, "a.wav"));
    list->setCurrentItem(row(*w, "c.wav"));
    press(list, Qt::Key_Enter);
    QVERIFY(w->currentFileName.endsWith("c.wav"));
    QVERIFY(testsupport::waitForSpectrogram(*w));
    press(list, Qt::Key_Right);
    QCOMPARE(list->currentItem(), row(*w, "d.wav"));
    QVERIFY(testsupport::waitForSpectrogram(*w));
    press(tree, Qt::Key_Left);
    QCOMPARE(list->currentItem(), row(*w, "c.wav"));
    press(list, Qt::Key_Z, "z"); // no class has it: consumed too
    QCOMPARE(spy.presses, 2);
    QVERIFY(testsupport::waitForSpectrogram(*w));

    // Delete on the evaluation list stops at the first file that cannot be removed; passed on.
    QVERIFY(QFile::remove(dir + "/c.wav"));
    select(*w, {"a.wav", "c.wav", "d.wav"});
    dialogs.messageAnswers << QMessageBox::Ok;
    dialogs.expectMessages();
    press(list, Qt::Key_Delete);
    QCOMPARE(dialogs.messages.at(dialogs.messages.size() - 2).text,
             QStringLiteral("Do you really want to permanently delete 3 files from your storage?"));
    QCOMPARE(dialogs.messages.last().text, QStringLiteral("The file \"c.wav\" could not be deleted."));
    QCOMPARE(QDir(dir).entryList({"*.wav"}), (QStringList{"b.wav", "d.wav"}));
    QCOMPARE(counts(*w), QStringLiteral("Unassigned 3"));
    QCOMPARE(w->ui->label_22->text(), QStringLiteral("\n3 items"));
    QCOMPARE(spy.presses, 3);

    // While the headers are read neither a class nor a recording can be deleted.
    dialogs.expectMessages(2);
    dialogs.fileAnswers << dir;
    w->ui->actionOpen_Folder->trigger();
    tree->setCurrentItem(tree->topLevelItem(0));
    press(tree, Qt::Key_Delete);
    press(folderList, Qt::Key_Delete);
    QCOMPARE(dialogs.messages.last().text, pleaseWait);
    QCOMPARE(dialogs.messages.at(dialogs.messages.size() - 2).text, pleaseWait);
    QVERIFY(waitSettled(*w));

    // The folder list goes on past a failure; with nothing selected it consumes the key.
    folderList->clearSelection();
    press(folderList, Qt::Key_Delete);
    QCOMPARE(spy.presses, 5);
    QVERIFY(QFile::remove(dir + "/b.wav"));
    dialogs.expectMessages();
    folderList->selectAll();
    dialogs.messageAnswers << QMessageBox::Ok;
    press(folderList, Qt::Key_Delete);
    QCOMPARE(dialogs.messages.last().text, QStringLiteral("The file \"b.wav\" could not be deleted."));
    QVERIFY(QDir(dir).entryList({"*.wav"}).isEmpty());
    QCOMPARE(folderList->topLevelItemCount(), 1);
    QCOMPARE(spy.presses, 6);
    // Without a pane's buttons the arrows are the focused widget's.
    w->ui->groupBox_8->hide();
    press(folderList, Qt::Key_Left);
    QCOMPARE(spy.presses, 7);
}

void TestAssignment::letterOfNoClass_data()
{
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QString>("classes"); // of a.wav after the keys and A
    QTest::newRow("the recording shown selected: classified") << QStringList{"a.wav"} << "Bat,,,";
    QTest::newRow("nothing selected (a greyed row clicked): nothing classified") << QStringList() << ",,,";
}

void TestAssignment::letterOfNoClass()
{
    // The simple tree: Bat <A>, No Call <D>. No class has X, 0 or "-"; names start with them, and with A.
    const QString dir = folder(
        "noclass", {{"-c.wav", ""}, {"0166_20240531_223911.wav", ""}, {"a.wav", ""}, {"ab.wav", ""}, {"xb.wav", ""}});
    ScriptedDialogs dialogs;
    auto w = open(dialogs, dir, EvaluationMode::Manual);
    QVERIFY(w);
    QTreeWidget *list = w->ui->treeWidget_fileView;
    list->setCurrentItem(row(*w, "a.wav"));
    QVERIFY(testsupport::waitForSpectrogram(*w));
    const QString shown = w->currentFileName;
    QFETCH(QStringList, selected);
    select(*w, selected);
    // Each leaves the selection and the recording shown where they were; the list's type-ahead search would
    // have chosen the row its name starts with.
    press(list, Qt::Key_X, "x");
    press(list, Qt::Key_0, "0");
    press(list, Qt::Key_Minus, "-");
    QCOMPARE(list->selectedItems().size(), selected.size());
    QCOMPARE(list->currentItem(), row(*w, "a.wav"));
    press(list, Qt::Key_A, "a");
    QVERIFY(waitSettled(*w));
    QTEST(classes(*w, "a.wav"), "classes");
    if (selected.isEmpty()) { // a class letter that classifies nothing stays out of the search too
        QVERIFY(list->selectedItems().isEmpty());
        QCOMPARE(list->currentItem(), row(*w, "a.wav"));
        QCOMPARE(w->currentFileName, shown);
    }
    QCOMPARE(description(dir + "/ab.wav"), QString());

    // Widgets other than the lists keep such keys: the spectrogram's zoomer takes "-".
    KeySpy spy;
    QWidget *canvas = w->spectrogramPlot->canvas();
    canvas->installEventFilter(&spy);
    press(canvas, Qt::Key_Minus, "-");
    press(canvas, Qt::Key_X, "x");
    QCOMPARE(spy.presses, 2);

    // A comment being typed takes every letter, class letters too (the double click made its row current).
    list->setCurrentItem(row(*w, "a.wav"));
    list->editItem(row(*w, "a.wav"), FileViewColumn::Comment);
    auto *typing = qobject_cast<QLineEdit *>(list->itemWidget(row(*w, "a.wav"), FileViewColumn::Comment));
    QVERIFY(typing);
    QTest::keyClicks(typing, "xa0d");
    QCOMPARE(typing->text(), QStringLiteral("xa0d"));
    QTest::keyClick(typing, Qt::Key_Escape);
    QVERIFY(waitSettled(*w));
    QTEST(classes(*w, "a.wav"), "classes");

    // Ctrl+A is the list's, given as some systems give it (the letter's own text with Ctrl): it selects all.
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(list->selectedItems().size(), 5);
    QVERIFY(waitSettled(*w));
    QTEST(classes(*w, "a.wav"), "classes");

    // Keys without text are no search: End, Up, Home and Down move the current row.
    QTreeWidgetItem *first = list->topLevelItem(0);
    QTreeWidgetItem *last = list->topLevelItem(list->topLevelItemCount() - 1);
    const QList<QPair<int, QTreeWidgetItem *>> moves{{Qt::Key_End, last},
                                                     {Qt::Key_Up, list->itemAbove(last)},
                                                     {Qt::Key_Home, first},
                                                     {Qt::Key_Down, list->itemBelow(first)}};
    for (const auto &move : moves) {
        press(list, move.first);
        QCOMPARE(list->currentItem(), move.second);
    }
    QVERIFY(waitSettled(*w));
}

void TestAssignment::classLetter_infoLineFollows_data()
{
    QTest::addColumn<QString>("letter"); // Bat's shortcut
    QTest::newRow("A") << "A";
    QTest::newRow("Z, the last letter") << "Z";
}

// The line above the plots names the class a letter gave the recording on show.
void TestAssignment::classLetter_infoLineFollows()
{
    QFETCH(QString, letter);
    // One recording: no next one is shown after the letter.
    const QString dir = folder("infoline" + letter, {{"a.wav", "|seen"}});
    ScriptedDialogs dialogs;
    auto w = open(dialogs, dir, EvaluationMode::Manual);
    QVERIFY(w);
    QVERIFY(testsupport::waitForSpectrogram(*w));
    classRow(*w, "Bat")->setText(ClassTreeColumn::Shortcut, '<' + letter + '>');
    const QLabel *line = w->ui->label_fileInfo;
    select(*w, {"a.wav"});
    press(w->ui->treeWidget_fileView, Qt::Key_A + letter.at(0).unicode() - 'A', letter.toLower());
    QVERIFY(waitSettled(*w));
    QVERIFY2(line->text().endsWith("22:14:03; Bat; seen"), qPrintable(line->text()));
}

QUILLON_TEST(TestAssignment)
#include "tst_mainwindow_assignment.moc"
