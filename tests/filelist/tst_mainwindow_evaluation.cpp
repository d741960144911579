#include "testregistry.h"

#include "app/mainwindow.h"
#include "classmodel/openmodeldialog.h"
#include "common/evaluationmode.h"
#include "common/treecolumns.h"
#include "evaluationfolder.h"
#include "filelist/fileviewtreewidgetitem.h"
#include "guitest.h"
#include "scripteddialogs.h"
#include "signalbuilder.h"
#include "ui_mainwindow.h"
#include "wavwriter.h"

#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTreeWidget>

#include <cerrno>
#if defined(Q_OS_UNIX)
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

const Qt::ItemFlags usable = Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;

bool settled(const MainWindow &w)
{
    return !w.calculating && !w.loadingFileInfo && !w.fileInfoThread->isRunning() && !w.headerLoadingRestartPending;
}

QStringList rowNames(const QTreeWidget *list)
{
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        names << list->topLevelItem(i)->text(FileViewColumn::Name);
    return names;
}

// The class tree's rows in order, subclasses after their class: "name count shortcut [tool tip]".
QStringList classRows(QTreeWidget *tree)
{
    QStringList rows;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        auto *button = qobject_cast<QPushButton *>(tree->itemWidget(*it, ClassTreeColumn::Assign));
        rows << QStringLiteral("%1 %2 %3").arg((*it)->text(0), (*it)->text(1), (*it)->text(2))
                    + (button ? QStringLiteral(" [") + button->toolTip() + QLatin1Char(']') : QString());
    }
    return rows;
}

void trigger(MainWindow &w, int mode)
{
    (mode == EvaluationMode::Manual   ? w.ui->actionEvaluate_Folder
     : mode == EvaluationMode::Tavron ? w.ui->actionTavron_Folder_Evaluation
                                      : w.ui->actionManual_Review_of_RECORDER_VOD_Offline_Analysis)
        ->trigger();
}

#if defined(Q_OS_UNIX)
// While it lives, no file of the process grows past limit bytes: a write past
// it fails with the system's words, as on a full disk, whoever runs the test.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t limit)
        : m_oldHandler(std::signal(SIGXFSZ, SIG_IGN))
    {
        rlimit lowered{};
        ok = getrlimit(RLIMIT_FSIZE, &m_old) == 0;
        lowered = m_old;
        lowered.rlim_cur = limit;
        ok = ok && setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
    bool ok = false;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int);
};
#endif

} // namespace

class TestEvaluationModes : public testsupport::GuiTestCase
{
    Q_OBJECT
private slots:
    void initTestCase();
    void manualEvaluation();
    void tavronEvaluation();
    void review_data();
    void review();
    void reviewNoCallBesideOwnClass();
    void boxOfARowScrolledIntoView();
    void failedWriteBacksToldOnce();
    void failedWriteBackKeepsTheWritersReason();
    void reviewDiscardingAClass_infoLineShowsTheFile_data();
    void reviewDiscardingAClass_infoLineShowsTheFile();
    void headerRepliesForOthers_infoLineKeepsTheShownRecording();
    void refused_data();
    void refused();
    void newEvaluationDuringChain();

private:
    QString path(const QString &relative) const { return m_dir.path() + QLatin1Char('/') + relative; }
    QTemporaryDir m_dir;
};

void TestEvaluationModes::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QByteArray wav =
        testsupport::simplePcmWav(testsupport::SignalBuilder(250000.0, 0.1).tone(40000.0, -6.0).samples(), 250000);
    const QByteArray raw = testsupport::WavWriter::pack(QVector<int>(5000, 100), 16);
    const QList<QPair<const char *, QByteArray>> files{
        // eval: two WAVs and two RAW files, in both letter cases
        {"eval/b.wav", wav},
        {"eval/a.WAV", wav},
        {"eval/c.raw", raw},
        {"eval/d.RAW", raw},
        // review: the recorder found bats in a.wav and noise in b.wav; its RAW file is not listed
        {"review/a.wav", wav},
        {"review/b.wav", wav},
        {"review/c.raw", raw},
        {"review/calls_ch1_files.txt",
         "a.wav\t2024-06-01\t22:14:03\tbat\tPipistrelloid\tx\tNyctaloid\tx\tPpip\tx\t\tx\tNnoc\n"
         "b.wav\t2024-06-01\t22:15:03\tnoise\t\tx\t\tx\t\tx\t\tx\t\n"},
        {"noresult/x.wav", wav},
        {"rawonly/x.raw", raw},
        // longresult: its result list holds a line longer than any the recorder writes
        {"longresult/a.wav", wav},
        {"longresult/calls_ch1_files.txt", "a.wav\t2024-06-01\t22:14:03\tnoise\t\t\t\n" + QByteArray(5000, 'x')},
        // broken: its first recording does not load, so a chain runs while nothing is calculating
        {"broken/0_broken.wav", "not a RIFF file"},
        {"broken/1.wav", wav},
        {"broken/2.wav", wav}};
    for (const auto &file : files) {
        QVERIFY(QDir(m_dir.path()).mkpath(QFileInfo(path(file.first)).dir().dirName()));
        QVERIFY(testsupport::writeFile(path(file.first), file.second));
    }
    QVERIFY(QDir(m_dir.path()).mkpath("empty"));
}

void TestEvaluationModes::manualEvaluation()
{
    ScriptedDialogs dialogs;
    dialogs.fileAnswers << path("eval") << path("eval");
    // First the editor is cancelled, then a user takes the simple default tree.
    dialogs.dialogAnswers << [](QDialog *) {} << [](QDialog *dialog) {
        QVERIFY(qobject_cast<OpenModelDialog *>(dialog));
        dialog->findChild<QPushButton *>(QStringLiteral("pushButton_5"))->click();
        dialog->accept();
    };
    dialogs.expectMessages(2); // each load's warning about its RAW files
    MainWindow w;
    w.ui->actionEvaluate_Folder->trigger();
    // The folder key holds the new folder; the window is as it was.
    QCOMPARE(QSettings().value("evaluationFolderPath").toString(), path("eval"));
    QCOMPARE(w.evaluationMode, int(EvaluationMode::SingleFile));
    QCOMPARE(w.ui->treeWidget_fileView->topLevelItemCount(), 0);

    w.ui->actionEvaluate_Folder->trigger();
    QCOMPARE(dialogs.fileQuestions.last().caption, QStringLiteral("Open Evaluation Folder"));
    QCOMPARE(dialogs.fileQuestions.last().dir, path("eval"));
    QCOMPARE(dialogs.dialogRuns.last().title, QStringLiteral("Set class model"));
    // Each load warns once about its RAW files, however many there are.
    QCOMPARE(dialogs.messages.size(), 2);
    QVERIFY(dialogs.messages.last().text.startsWith("You are evaluating a folder which contains raw-files."));
    QCOMPARE(w.evaluationMode, int(EvaluationMode::Manual));
    QTreeWidget *list = w.ui->treeWidget_fileView;
    QCOMPARE(rowNames(list), (QStringList{"a.WAV", "b.wav", "c.raw", "d.RAW"}));
    QCOMPARE(list->topLevelItem(3)->flags(), usable);
    QVERIFY(list->isColumnHidden(FileViewColumn::Proposal) && list->isColumnHidden(FileViewColumn::Accepted));
    QCOMPARE(w.ui->label_22->text(), QStringLiteral("\n4 items"));

    QTRY_VERIFY_WITH_TIMEOUT(settled(w), 20000);
    QVERIFY(w.ui->groupBox_6->isVisibleTo(&w) && !w.ui->groupBox_8->isVisibleTo(&w));
    QCOMPARE(classRows(w.ui->treeWidget),
             (QStringList{"Bat 0 <A> [Assign selected File/s to Class \"Bat\"]",
                          "No Call 0 <D> [Assign selected File/s to Class \"No Call\"]", "Unassigned 4 "}));
}

void TestEvaluationModes::tavronEvaluation()
{
    ScriptedDialogs dialogs;
    dialogs.fileAnswers << path("eval") << path("eval");
    dialogs.messageAnswers << QMessageBox::Cancel << QMessageBox::Ok;
    MainWindow w;
    // On screen: the list makes the QCheckBox of an accept box for a row in view.
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QSignalSpy requests(&w, &MainWindow::signalGetFileHeaderInfo);
    w.ui->actionTavron_Folder_Evaluation->trigger();
    // Cancelled: nothing changed, the folder key included.
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages.first().text.startsWith("Tavron Evaluation allows only Tavron compatible\n"));
    QCOMPARE(dialogs.messages.first().defaultButton, QMessageBox::Cancel);
    QVERIFY(!QSettings().contains("tavronFolderPath"));
    QCOMPARE(w.evaluationMode, int(EvaluationMode::SingleFile));

    dialogs.expectMessages(); // the RAW files' warning
    w.ui->actionTavron_Folder_Evaluation->trigger();
    QCOMPARE(dialogs.messages.size(), 3); // the question, then the RAW files' warning
    QCOMPARE(QSettings().value("tavronFolderPath").toString(), path("eval"));
    QCOMPARE(w.evaluationMode, int(EvaluationMode::Tavron));
    QTreeWidget *list = w.ui->treeWidget_fileView;
    // Until its header reply no row can be chosen.
    QCOMPARE(list->topLevelItem(0)->flags(), Qt::NoItemFlags);
    QVERIFY(!list->isColumnHidden(FileViewColumn::Proposal) && !list->isColumnHidden(FileViewColumn::Accepted));
    QCOMPARE(requests.first().at(2).toBool(), true);
    QCOMPARE(classRows(w.ui->treeWidget).mid(0, 2),
             (QStringList{"Nyc 0 <A> [Assign selected file/s to class \"Nyc\"]",
                          "NycLow 0 <B> [Assign selected file/s to subclass \"NycLow\"]"}));

    QTRY_VERIFY_WITH_TIMEOUT(settled(w), 30000);
    // After its reply a row can be chosen, and holds a box, exactly when a call was proposed for it
    // (boxes are made for the rows in view: each is scrolled there first).
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = list->topLevelItem(i);
        const bool call = fileViewTreeWidgetItem::hasCallProposal(row->text(FileViewColumn::Proposal));
        QCOMPARE(row->flags(), call ? usable : Qt::NoItemFlags);
        list->scrollToItem(row);
        QCOMPARE(list->itemWidget(row, FileViewColumn::Accepted) != nullptr, call);
    }
}

void TestEvaluationModes::review_data()
{
    QTest::addColumn<bool>("advanced");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("reviewMode");  // afterwards; 5 before
    QTest::addColumn<QString>("refusal"); // part of the message refusing the folder; empty when it loads
    QTest::newRow("simple tree") << false << true << "review" << 0 << "";
    QTest::newRow("advanced tree") << true << true << "review" << 1 << "";
    QTest::newRow("advanced tree, cancelled") << true << false << "review" << 5 << "";
    QTest::newRow("advanced tree, no result file")
        << true << true << "noresult" << 1 << "does not contain the resulting file";
    QTest::newRow("result file with a line too long")
        << false << true << "longresult" << 0 << "'calls_ch1_files.txt' cannot be used: its line 2";
}

void TestEvaluationModes::review()
{
    QFETCH(bool, advanced);
    QFETCH(bool, confirmed);
    QFETCH(QString, folder);
    QFETCH(QString, refusal);
    ScriptedDialogs dialogs;
    dialogs.fileAnswers << path(folder);
    dialogs.dialogAnswers << [advanced, confirmed](QDialog *dialog) {
        if (advanced)
            dialog->findChild<QRadioButton *>(QStringLiteral("radioButton_detailedTree"))->click();
        if (confirmed)
            dialog->accept();
    };
    dialogs.expectMessages(confirmed && !refusal.isEmpty() ? 1 : 0);
    MainWindow w;
    // On screen: the list makes the QCheckBox of an accept box for a row in view.
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.reviewMode = 5;
    QSignalSpy requests(&w, &MainWindow::signalGetFileHeaderInfo);
    w.ui->actionManual_Review_of_RECORDER_VOD_Offline_Analysis->trigger();
    QCOMPARE(dialogs.fileQuestions.first().caption, QStringLiteral("Open Review Folder"));
    QCOMPARE(dialogs.dialogRuns.first().title, QStringLiteral("Select Class Tree"));
    QTEST(w.reviewMode, "reviewMode");
    QCOMPARE(QSettings().contains("tavronReviewPath"), confirmed);
    if (!confirmed || !refusal.isEmpty()) {
        QCOMPARE(dialogs.messages.size(), confirmed ? 1 : 0);
        if (confirmed)
            QVERIFY2(dialogs.messages.first().text.contains(refusal), qPrintable(dialogs.messages.first().text));
        QCOMPARE(w.evaluationMode, int(EvaluationMode::SingleFile));
        QCOMPARE(w.ui->treeWidget->topLevelItemCount(), 0);
        return;
    }
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(rowNames(w.ui->treeWidget_fileView), (QStringList{"a.wav", "b.wav"}));
    QCOMPARE(requests.first().at(3).toString(), path("review/calls_ch1_files.txt"));
    QCOMPARE(requests.first().at(4).toInt(), advanced ? 1 : 0);
    QCOMPARE(classRows(w.ui->treeWidget).at(1),
             QStringLiteral("Pnat 0 <%1> [Assign selected file/s to subclass \"Pnat\"]").arg(advanced ? "Q" : "H"));

    QTRY_VERIFY_WITH_TIMEOUT(settled(w), 30000);
    QTreeWidget *list = w.ui->treeWidget_fileView;
    QCOMPARE(list->topLevelItem(0)->text(FileViewColumn::Proposal), advanced ? "Ppip, Nnoc" : "Pip, Nyc");
    QVERIFY(qobject_cast<QCheckBox *>(list->itemWidget(list->topLevelItem(0), FileViewColumn::Accepted)));
    QCOMPARE(list->topLevelItem(1)->text(FileViewColumn::Proposal), QStringLiteral("No Call"));
    QCOMPARE(list->topLevelItem(1)->flags(), Qt::NoItemFlags);
}

void TestEvaluationModes::reviewNoCallBesideOwnClass()
{
    // The user assigned Pip by hand; the recorder heard noise.
    const QString folder = path("reviewown");
    QVERIFY(QDir().mkpath(folder));
    testsupport::WavWriter own;
    own.fmt(250000, 16).bext("Pip|mine").data(QVector<int>(25000, 0), 16);
    QVERIFY(own.write(folder + "/a.wav"));
    QVERIFY(testsupport::writeFile(folder + "/calls_ch1_files.txt", "a.wav\t2024-06-01\t22:14:03\tnoise\t\t\t\n"));

    ScriptedDialogs dialogs;
    dialogs.fileAnswers << folder;
    dialogs.dialogAnswers << [](QDialog *dialog) { dialog->accept(); };
    MainWindow w;
    // On screen: the list makes the QCheckBox of an accept box for a row in view.
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.ui->actionManual_Review_of_RECORDER_VOD_Offline_Analysis->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(settled(w), 30000);

    // The row keeps the class and can be chosen, its box unchecked: the user decides.
    QTreeWidgetItem *row = w.ui->treeWidget_fileView->topLevelItem(0);
    QCOMPARE(row->text(FileViewColumn::Proposal), QStringLiteral("No Call"));
    QCOMPARE(row->text(FileViewColumn::Class1), QStringLiteral("Pip"));
    QCOMPARE(row->flags(), usable);
    auto *box = qobject_cast<QCheckBox *>(w.ui->treeWidget_fileView->itemWidget(row, FileViewColumn::Accepted));
    QVERIFY(box && !box->isChecked());
    QVERIFY(dialogs.messages.isEmpty());
}

void TestEvaluationModes::boxOfARowScrolledIntoView()
{
    // More recordings than the list shows at once.
    QList<QPair<QString, QString>> recordings;
    for (int i = 0; i < 60; ++i)
        recordings << qMakePair(QStringLiteral("%1.wav").arg(i, 2, 10, QLatin1Char('0')), QStringLiteral("|Nyc|0|"));
    const QString folder = evaluationfolder::makeFolder(m_dir.path(), "many", recordings);
    ScriptedDialogs dialogs;
    auto w = evaluationfolder::open(dialogs, folder, EvaluationMode::Tavron);
    QVERIFY(w);
    QTreeWidget *list = w->ui->treeWidget_fileView;
    QTreeWidgetItem *last = list->topLevelItem(59);
    QVERIFY(!list->itemWidget(last, FileViewColumn::Accepted));
    // Its box, made as the row comes into view, accepts the proposal as any other.
    list->scrollToBottom();
    auto *box = qobject_cast<QCheckBox *>(list->itemWidget(last, FileViewColumn::Accepted));
    QVERIFY(box && !box->isChecked());
    QVERIFY(!list->itemWidget(list->topLevelItem(0), FileViewColumn::Accepted));
    box->click();
    QCOMPARE(evaluationfolder::description(folder + "/59.wav"), QStringLiteral("Nyc|Nyc|1|"));
    QCOMPARE(last->text(FileViewColumn::Class1), QStringLiteral("Nyc"));
    QCOMPARE(last->foreground(FileViewColumn::Name).color(), evaluationfolder::green);
}

void TestEvaluationModes::failedWriteBacksToldOnce()
{
    // Seven recordings whose bext chunk is too short for a description: the
    // writer refuses every proposal; the eighth takes its proposal.
    const QString folder = path("unwritable");
    QVERIFY(QDir().mkpath(folder));
    testsupport::WavWriter shortBext;
    shortBext.fmt(250000, 16).bext("", QByteArray(), 100).data(QVector<int>(25000, 0), 16);
    for (int i = 1; i <= 7; ++i)
        QVERIFY(shortBext.write(folder + QStringLiteral("/%1.wav").arg(i)));
    testsupport::WavWriter fine;
    fine.fmt(250000, 16).bext("").data(QVector<int>(25000, 0), 16);
    QVERIFY(fine.write(folder + "/8.wav"));

    ScriptedDialogs dialogs;
    dialogs.fileAnswers << folder;
    dialogs.messageAnswers << QMessageBox::Ok;
    dialogs.expectMessages();
    MainWindow w;
    w.ui->actionTavron_Folder_Evaluation->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(settled(w), 30000);

    // The Tavron question, then one warning for the whole chain, each recording with its reason.
    QCOMPARE(dialogs.messages.size(), 2);
    const auto &warning = dialogs.messages.last();
    QCOMPARE(warning.icon, QMessageBox::Warning);
    QString listed = QStringLiteral("7 recordings could not be written:\n");
    for (int i = 1; i <= 5; ++i)
        listed += QStringLiteral("%1.wav: The recording's bext chunk is too short to hold a description.\n").arg(i);
    QVERIFY2(warning.text.startsWith(listed + "and 2 more\n"), qPrintable(warning.text));
}

// A write-back that fails for a moment's reason, the file itself sound: the
// list tells the writer's own words.
void TestEvaluationModes::failedWriteBackKeepsTheWritersReason()
{
#if !defined(Q_OS_UNIX)
    QSKIP("needs a limit on the size of files");
#else
    // Without a bext chunk, the proposal is appended: the file would grow.
    const QString folder = path("fulldisk");
    QVERIFY(QDir().mkpath(folder));
    testsupport::WavWriter plain;
    plain.fmt(250000, 16).data(QVector<int>(25000, 0), 16);
    QVERIFY(plain.write(folder + "/1.wav"));

    ScriptedDialogs dialogs;
    dialogs.fileAnswers << folder;
    dialogs.messageAnswers << QMessageBox::Ok;
    dialogs.expectMessages();
    MainWindow w;
    {
        const FileSizeLimit noGrowth(rlim_t(plain.bytes().size()));
        QVERIFY(noGrowth.ok);
        w.ui->actionTavron_Folder_Evaluation->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(settled(w), 30000);
    }

    QCOMPARE(dialogs.messages.size(), 2);
    const QString warning = dialogs.messages.last().text;
    QVERIFY2(warning.startsWith(QStringLiteral("1 recording could not be written:\n1.wav: Could not write to file. ")
                                + qt_error_string(EFBIG) + QLatin1Char('\n')),
             qPrintable(warning));
#endif
}

void TestEvaluationModes::reviewDiscardingAClass_infoLineShowsTheFile_data()
{
    QTest::addColumn<bool>("drawnFirst");
    QTest::newRow("header read while the spectrogram is calculated") << false;
    QTest::newRow("header read after the spectrogram is drawn") << true;
}

void TestEvaluationModes::reviewDiscardingAClass_infoLineShowsTheFile()
{
    QFETCH(bool, drawnFirst);
    // The review's tree has no "Myotis": reading the folder takes it out of the recording on show.
    const QString folder = path("reviewdiscard");
    QVERIFY(QDir().mkpath(folder));
    testsupport::WavWriter recording;
    recording.fmt(250000, 16).bext("Myotis + Pip|note").data(QVector<int>(25000, 0), 16);
    QVERIFY(recording.write(folder + "/a.wav"));
    QVERIFY(
        testsupport::writeFile(folder + "/calls_ch1_files.txt", "a.wav\t2024-06-01\t22:14:03\tbat\tPipistrelloid\n"));

    ScriptedDialogs dialogs;
    dialogs.fileAnswers << folder;
    dialogs.dialogAnswers << [](QDialog *dialog) { dialog->accept(); };
    MainWindow w;
    // The worker that is to answer second waits until the first has answered.
    evaluationfolder::HeaderPause pause(drawnFirst ? w.fileInfoThread : w.spectrogramThread);
    w.ui->actionManual_Review_of_RECORDER_VOD_Offline_Analysis->trigger();
    QCOMPARE(w.currentFileName, folder + "/a.wav");
    QVERIFY(testsupport::waitUntil([&w, drawnFirst]() { return drawnFirst ? !w.calculating : !w.loadingFileInfo; }));
    if (drawnFirst) // drawn from the description as it was opened
        QVERIFY(w.ui->label_fileInfo->text().contains("Myotis"));
    pause.release();
    QTRY_VERIFY_WITH_TIMEOUT(settled(w), 30000);
    QVERIFY(!evaluationfolder::description(folder + "/a.wav").contains("Myotis"));
    // No date or time: the classes and the comment follow the length.
    const QString line = w.ui->label_fileInfo->text();
    QVERIFY2(line.startsWith("16bit; ") && line.endsWith("s; ; ; Pip; note"), qPrintable(line));
}

// The header replies for the recordings below the one on show, which hold
// other classes, leave the line above the plots to the recording on show.
void TestEvaluationModes::headerRepliesForOthers_infoLineKeepsTheShownRecording()
{
    const QString folder = evaluationfolder::makeFolder(m_dir.path(), "otherclasses",
                                                        {{"a.wav", "Bat|first"}, {"b.wav", "No Call|second"}});
    ScriptedDialogs dialogs;
    const auto w = evaluationfolder::open(dialogs, folder, EvaluationMode::Manual);
    QVERIFY(w);
    QVERIFY(testsupport::waitForSpectrogram(*w));
    QCOMPARE(w->currentFileName, folder + "/a.wav");
    const QString line = w->ui->label_fileInfo->text();
    QVERIFY2(line.endsWith("22:14:03; Bat; first"), qPrintable(line));
}

void TestEvaluationModes::refused_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("message");
    QTest::newRow("manual, empty folder") << int(EvaluationMode::Manual) << "empty"
                                          << "No Bat Call Files in Folder";
    QTest::newRow("Tavron, empty folder") << int(EvaluationMode::Tavron) << "empty"
                                          << "No Bat Call Files in Folder";
    QTest::newRow("review, RAW files only") << int(EvaluationMode::RecorderReview) << "rawonly"
                                            << "No Bat Call WAV Files in Folder";
}

void TestEvaluationModes::refused()
{
    QFETCH(int, mode);
    QFETCH(QString, folder);
    ScriptedDialogs dialogs;
    dialogs.fileAnswers << path(folder);
    MainWindow w;
    dialogs.expectMessages();
    trigger(w, mode);
    QCOMPARE(dialogs.messages.size(), 1);
    QTEST(dialogs.messages.first().text, "message");
    QCOMPARE(dialogs.messages.first().icon, QMessageBox::Warning);
    QVERIFY(dialogs.dialogRuns.isEmpty());
    QCOMPARE(w.evaluationMode, int(EvaluationMode::SingleFile));
    for (const char *key : {"evaluationFolderPath", "tavronFolderPath", "tavronReviewPath"})
        QVERIFY(!QSettings().contains(QLatin1String(key)));
}

void TestEvaluationModes::newEvaluationDuringChain()
{
    ScriptedDialogs dialogs;
    dialogs.fileAnswers << path("broken") << path("review");
    dialogs.dialogAnswers << [](QDialog *d) { d->accept(); };
    MainWindow w;
    dialogs.expectMessages();
    w.ui->actionOpen_Folder->trigger();
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages.first().informativeText.startsWith(path("broken/0_broken.wav")));
    QVERIFY(w.fileInfoThread->isRunning() && !w.calculating);
    w.ui->actionManual_Review_of_RECORDER_VOD_Offline_Analysis->trigger();
    // The class tree at once, the list only when the running chain answers next.
    QCOMPARE(classRows(w.ui->treeWidget).size(), 4);
    QCOMPARE(w.ui->treeWidget_fileView->topLevelItemCount(), 0);
    QVERIFY(w.headerLoadingRestartPending && !w.loadingFileInfo);
    QTRY_VERIFY_WITH_TIMEOUT(settled(w), 30000);
    QCOMPARE(rowNames(w.ui->treeWidget_fileView), (QStringList{"a.wav", "b.wav"}));
    QCOMPARE(w.ui->treeWidget_fileView->topLevelItem(0)->text(FileViewColumn::Proposal), QStringLiteral("Pip, Nyc"));
}

QUILLON_TEST(TestEvaluationModes)
#include "tst_mainwindow_evaluation.moc"
