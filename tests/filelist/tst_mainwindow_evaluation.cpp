#include "testregistry.h"

#include "scripteddialogs.h"
#include "app/evaluationmode.h"
#include "app/mainwindow.h"
#include "app/treecolumns.h"
#include "classmodel/openmodeldialog.h"
#include "filelist/fileviewtreewidgetitem.h"
#include "guitest.h"
#include "signalbuilder.h"
#include "ui_mainwindow.h"
#include "wavwriter.h"

#include <QCheckBox>
#include <QDir>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTreeWidget>

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

// The class tree in one line: "Nyc 0 <A> [tool tip] {NycLow 0 <B> [...]}; ...".
QString classTreeText(QTreeWidget *tree, bool withToolTips)
{
    auto rowText = [tree, withToolTips](QTreeWidgetItem *row) {
        QString text = row->text(ClassTreeColumn::Class) + QLatin1Char(' ') + row->text(ClassTreeColumn::Count)
                       + QLatin1Char(' ') + row->text(ClassTreeColumn::Shortcut);
        auto *button = qobject_cast<QPushButton *>(tree->itemWidget(row, ClassTreeColumn::Assign));
        if (withToolTips && button)
            text += QStringLiteral(" [") + button->toolTip() + QLatin1Char(']');
        return text;
    };
    QStringList classes;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *cls = tree->topLevelItem(i);
        QString text = rowText(cls);
        QStringList subs;
        for (int j = 0; j < cls->childCount(); ++j)
            subs << rowText(cls->child(j));
        if (!subs.isEmpty())
            text += QStringLiteral(" {") + subs.join(QStringLiteral(", ")) + QLatin1Char('}');
        classes << text;
    }
    return classes.join(QStringLiteral("; "));
}

QString messageTexts(const ScriptedDialogs &dialogs)
{
    QStringList texts;
    for (const MessageBoxRequest &m : dialogs.messages)
        texts << m.text;
    return texts.join(QStringLiteral(" / "));
}

// The editor answered as a user who takes the simple default tree and presses OK.
void takeSimpleDefaultTree(QDialog *dialog)
{
    QVERIFY(qobject_cast<OpenModelDialog *>(dialog));
    dialog->findChild<QPushButton *>(QStringLiteral("pushButton_5"))->click();
    dialog->accept();
}

const QString tavronQuestion = QStringLiteral(
    "Tavron Evaluation allows only Tavron compatible\nclassifications.\n\nAll preassigned non-Tavron classifications "
    "will be discarded.");
const QString rawWarning = QStringLiteral(
    "You are evaluating a folder which contains raw-files. Please be aware that your classification progress is not "
    "saved for this type of file. By closing the evaluation mode or quiting the programm your classifications will "
    "be lost.");
const QString noResultFile = QStringLiteral(
    "The selected folder does not contain the resulting file 'calls_ch1_files.txt' of a ZEVEDADI VOD Offline "
    "Analysis.\n\nPlease run the VOD Offline Analysis with the software ZEVEDADI first.");

} // namespace

class TestEvaluationModes : public testsupport::GuiTestCase
{
    Q_OBJECT
private slots:
    void initTestCase();
    void manualEvaluation();
    void manualEvaluationCancelled();
    void tavronEvaluation_data();
    void tavronEvaluation();
    void review_data();
    void review();
    void nothingToEvaluate_data();
    void nothingToEvaluate();
    void newEvaluationDuringChain();
    void classTreeOfEachMode_data();
    void classTreeOfEachMode();

private:
    QString path(const QString &relative) const { return m_dir.path() + QLatin1Char('/') + relative; }
    void writeRecording(const QString &relative);
    QTemporaryDir m_dir;
};

void TestEvaluationModes::writeRecording(const QString &relative)
{
    const QVector<int> samples = testsupport::SignalBuilder(250000.0, 0.1).tone(40000.0, -6.0).samples();
    QVERIFY(testsupport::writeFile(path(relative), testsupport::simplePcmWav(samples, 250000)));
}

void TestEvaluationModes::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QLocale::setDefault(QLocale::c());
    QDir root(m_dir.path());
    for (const char *folder : {"eval", "review", "noresult", "rawonly", "broken"})
        QVERIFY(root.mkpath(folder));
    // eval: two WAVs and two RAW files, in both letter cases
    writeRecording("eval/b.wav");
    writeRecording("eval/a.WAV");
    const QByteArray raw = testsupport::WavWriter::pack(QVector<int>(5000, 100), 16);
    QVERIFY(testsupport::writeFile(path("eval/c.raw"), raw));
    QVERIFY(testsupport::writeFile(path("eval/d.RAW"), raw));
    // review: the recorder found bats in a.wav and noise in b.wav; its RAW file is not listed
    writeRecording("review/a.wav");
    writeRecording("review/b.wav");
    QVERIFY(testsupport::writeFile(path("review/c.raw"), raw));
    const QByteArray results = "a.wav\t2024-06-01\t22:14:03\tbat\tPipistrelloid\tx\tNyctaloid\tx\tPpip\tx\t\tx\tNnoc\n"
                               "b.wav\t2024-06-01\t22:15:03\tnoise\t\tx\t\tx\t\tx\t\tx\t\n";
    QVERIFY(testsupport::writeFile(path("review/calls_ch1_files.txt"), results));
    writeRecording("noresult/x.wav");
    QVERIFY(testsupport::writeFile(path("rawonly/x.raw"), raw));
    // broken: its first recording does not load, so a chain runs while nothing is calculating
    QVERIFY(testsupport::writeFile(path("broken/0_broken.wav"), "not a RIFF file"));
    for (int i = 1; i <= 3; ++i)
        writeRecording(QStringLiteral("broken/%1.wav").arg(i));
}

void TestEvaluationModes::manualEvaluation()
{
    ScriptedDialogs dialogs;
    dialogs.fileAnswers << path("eval");
    dialogs.dialogAnswers << takeSimpleDefaultTree;
    MainWindow w;
    w.ui->actionEvaluate_Folder->trigger();
    QCOMPARE(dialogs.fileQuestions.first().caption, QStringLiteral("Open Evaluation Folder"));
    QCOMPARE(dialogs.fileQuestions.first().dir, QStringLiteral("/home"));
    QCOMPARE(dialogs.dialogRuns.size(), 1);
    QCOMPARE(dialogs.dialogRuns.first().title, QStringLiteral("Set class model"));
    // The warning about RAW files comes once, however many there are.
    QCOMPARE(messageTexts(dialogs), rawWarning);
    QCOMPARE(dialogs.messages.first().icon, QMessageBox::Warning);
    QCOMPARE(w.evaluationMode, int(EvaluationMode::Manual));
    QCOMPARE(QSettings().value("evaluationFolderPath").toString(), path("eval"));
    QTreeWidget *list = w.ui->treeWidget_fileView;
    QCOMPARE(rowNames(list), (QStringList{"a.WAV", "b.wav", "c.raw", "d.RAW"}));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(list->topLevelItem(i)->flags(), usable);
    QVERIFY(list->isColumnHidden(FileViewColumn::Proposal));
    QVERIFY(list->isColumnHidden(FileViewColumn::Accepted));
    QCOMPARE(w.ui->label_22->text(), QStringLiteral("\n4 items"));
    QVERIFY(!w.ui->actionExport_CSV_File->isEnabled());

    QTRY_VERIFY_WITH_TIMEOUT(settled(w), 20000);
    QVERIFY(w.ui->groupBox_6->isVisibleTo(&w));
    QVERIFY(!w.ui->groupBox_8->isVisibleTo(&w));
    QCOMPARE(classTreeText(w.ui->treeWidget, true),
             QStringLiteral("Bat 0 <A> [Assign selected File/s to Class \"Bat\"]; "
                            "No Call 0 <D> [Assign selected File/s to Class \"No Call\"]; Unassigned 4 "));
    QVERIFY(w.ui->actionExport_CSV_File->isEnabled());
}

void TestEvaluationModes::manualEvaluationCancelled()
{
    ScriptedDialogs dialogs;
    dialogs.fileAnswers << path("eval");
    MainWindow w;
    new QTreeWidgetItem(w.ui->treeWidget, QStringList{"Earlier"});
    w.ui->actionEvaluate_Folder->trigger();
    QCOMPARE(dialogs.dialogRuns.size(), 1);
    // The folder key holds the new folder; the window is as it was.
    QCOMPARE(QSettings().value("evaluationFolderPath").toString(), path("eval"));
    QCOMPARE(w.evaluationMode, int(EvaluationMode::SingleFile));
    QCOMPARE(w.ui->treeWidget->topLevelItem(0)->text(0), QStringLiteral("Earlier"));
    QCOMPARE(w.ui->treeWidget_fileView->topLevelItemCount(), 0);
    QVERIFY(w.wavDirectory.isEmpty());
    QVERIFY(!w.fileInfoThread->isRunning());
}

void TestEvaluationModes::tavronEvaluation_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("OK") << int(QMessageBox::Ok);
    QTest::newRow("Cancel") << int(QMessageBox::Cancel);
}

void TestEvaluationModes::tavronEvaluation()
{
    QFETCH(int, answer);
    ScriptedDialogs dialogs;
    dialogs.fileAnswers << path("eval");
    dialogs.messageAnswers << QMessageBox::StandardButton(answer);
    MainWindow w;
    QSignalSpy requests(&w, &MainWindow::signalGetFileHeaderInfo);
    w.ui->actionTavron_Folder_Evaluation->trigger();
    const MessageBoxRequest &question = dialogs.messages.first();
    QCOMPARE(question.text, tavronQuestion);
    QCOMPARE(question.title, QStringLiteral("Warning"));
    QCOMPARE(question.defaultButton, QMessageBox::Cancel);
    QVERIFY(!question.parent);
    if (answer == QMessageBox::Cancel) {
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(!QSettings().contains("tavronFolderPath"));
        QCOMPARE(w.evaluationMode, int(EvaluationMode::SingleFile));
        QCOMPARE(requests.count(), 0);
        return;
    }
    QCOMPARE(dialogs.messages.size(), 2);
    QCOMPARE(dialogs.messages.last().text, rawWarning);
    QCOMPARE(QSettings().value("tavronFolderPath").toString(), path("eval"));
    QCOMPARE(w.evaluationMode, int(EvaluationMode::Tavron));
    QTreeWidget *list = w.ui->treeWidget_fileView;
    // Until its header reply no row can be chosen.
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        QCOMPARE(list->topLevelItem(i)->flags(), Qt::NoItemFlags);
    QVERIFY(!list->isColumnHidden(FileViewColumn::Proposal));
    QVERIFY(!list->isColumnHidden(FileViewColumn::Accepted));
    QCOMPARE(requests.first().at(2).toBool(), true);
    QVERIFY(classTreeText(w.ui->treeWidget, true)
                .startsWith(QStringLiteral("Nyc 0 <A> [Assign selected file/s to class \"Nyc\"] "
                                           "{NycLow 0 <B> [Assign selected file/s to subclass \"NycLow\"]")));

    QTRY_VERIFY_WITH_TIMEOUT(settled(w), 30000);
    // After its reply a row can be chosen exactly when a call was proposed for it.
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = list->topLevelItem(i);
        const bool call = fileViewTreeWidgetItem::hasCallProposal(row->text(FileViewColumn::Proposal));
        QCOMPARE(row->flags(), call ? usable : Qt::NoItemFlags);
        QCOMPARE(list->itemWidget(row, FileViewColumn::Accepted) != nullptr, call);
    }
}

void TestEvaluationModes::review_data()
{
    QTest::addColumn<bool>("advanced");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("reviewMode");   // afterwards; 5 before
    QTest::newRow("simple tree") << false << true << "review" << 0;
    QTest::newRow("advanced tree") << true << true << "review" << 1;
    QTest::newRow("advanced tree, cancelled") << true << false << "review" << 5;
    QTest::newRow("advanced tree, no result file") << true << true << "noresult" << 1;
}

void TestEvaluationModes::review()
{
    QFETCH(bool, advanced);
    QFETCH(bool, confirmed);
    QFETCH(QString, folder);
    ScriptedDialogs dialogs;
    dialogs.fileAnswers << path(folder);
    dialogs.dialogAnswers << [advanced, confirmed](QDialog *dialog) {
        if (advanced)
            dialog->findChild<QRadioButton *>(QStringLiteral("radioButton_detailedTree"))->click();
        if (confirmed)
            dialog->accept();
    };
    MainWindow w;
    w.reviewMode = 5;
    QSignalSpy requests(&w, &MainWindow::signalGetFileHeaderInfo);
    w.ui->actionManual_Review_of_RECORDER_VOD_Offline_Analysis->trigger();
    QCOMPARE(dialogs.fileQuestions.first().caption, QStringLiteral("Open Review Folder"));
    QCOMPARE(dialogs.dialogRuns.first().title, QStringLiteral("Select Class Tree"));
    QTEST(w.reviewMode, "reviewMode");
    QCOMPARE(QSettings().contains("tavronReviewPath"), confirmed);
    if (!confirmed || folder == QLatin1String("noresult")) {
        QCOMPARE(messageTexts(dialogs), confirmed ? noResultFile : QString());
        QCOMPARE(w.evaluationMode, int(EvaluationMode::SingleFile));
        QCOMPARE(w.ui->treeWidget->topLevelItemCount(), 0);
        return;
    }
    QCOMPARE(w.evaluationMode, int(EvaluationMode::RecorderReview));
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(rowNames(w.ui->treeWidget_fileView), (QStringList{"a.wav", "b.wav"}));
    QCOMPARE(requests.first().at(3).toString(), path("review/calls_ch1_files.txt"));
    QCOMPARE(requests.first().at(4).toInt(), advanced ? 1 : 0);
    QVERIFY(classTreeText(w.ui->treeWidget, true)
                .startsWith(QStringLiteral("Pip 0 <%1> [Assign selected file/s to class \"Pip\"] "
                                           "{Pnat 0 <%2> [Assign selected file/s to subclass \"Pnat\"]")
                                .arg(advanced ? "A" : "G", advanced ? "Q" : "H")));

    QTRY_VERIFY_WITH_TIMEOUT(settled(w), 30000);
    QTreeWidget *list = w.ui->treeWidget_fileView;
    QCOMPARE(list->topLevelItem(0)->text(FileViewColumn::Proposal),
             advanced ? QStringLiteral("Ppip, Nnoc") : QStringLiteral("Pip, Nyc"));
    QCOMPARE(list->topLevelItem(0)->flags(), usable);
    QVERIFY(qobject_cast<QCheckBox *>(list->itemWidget(list->topLevelItem(0), FileViewColumn::Accepted)));
    QCOMPARE(list->topLevelItem(1)->text(FileViewColumn::Proposal), QStringLiteral("No Call"));
    QCOMPARE(list->topLevelItem(1)->flags(), Qt::NoItemFlags);
}

void TestEvaluationModes::nothingToEvaluate_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("message");
    QTest::newRow("manual, empty folder") << int(EvaluationMode::Manual) << "empty" << "No Bat Call Files in Folder";
    QTest::newRow("Tavron, empty folder") << int(EvaluationMode::Tavron) << "empty" << "No Bat Call Files in Folder";
    QTest::newRow("review, RAW files only")
        << int(EvaluationMode::RecorderReview) << "rawonly" << "No Bat Call WAV Files in Folder";
}

void TestEvaluationModes::nothingToEvaluate()
{
    QFETCH(int, mode);
    QFETCH(QString, folder);
    QFETCH(QString, message);
    QVERIFY(QDir(m_dir.path()).mkpath("empty"));
    ScriptedDialogs dialogs;
    dialogs.fileAnswers << path(folder);
    MainWindow w;
    QAction *actions[] = {nullptr, nullptr, w.ui->actionEvaluate_Folder, w.ui->actionTavron_Folder_Evaluation,
                          w.ui->actionManual_Review_of_RECORDER_VOD_Offline_Analysis};
    actions[mode]->trigger();
    QCOMPARE(messageTexts(dialogs), message);
    QCOMPARE(dialogs.messages.first().icon, QMessageBox::Warning);
    QCOMPARE(dialogs.messages.first().title, QString());
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
    w.ui->actionOpen_Folder->trigger();
    QVERIFY(w.fileInfoThread->isRunning());
    QVERIFY(!w.calculating);
    w.ui->actionManual_Review_of_RECORDER_VOD_Offline_Analysis->trigger();
    // The class tree at once, the list only when the running chain answers next.
    QVERIFY(classTreeText(w.ui->treeWidget, false).startsWith(QStringLiteral("Pip 0 <G> {Pnat 0 <H>}")));
    QCOMPARE(w.ui->treeWidget_fileView->topLevelItemCount(), 0);
    QVERIFY(w.headerLoadingRestartPending);
    QVERIFY(!w.loadingFileInfo);
    QTRY_VERIFY_WITH_TIMEOUT(settled(w), 30000);
    QCOMPARE(rowNames(w.ui->treeWidget_fileView), (QStringList{"a.wav", "b.wav"}));
    QCOMPARE(w.ui->treeWidget_fileView->topLevelItem(0)->text(FileViewColumn::Proposal), QStringLiteral("Pip, Nyc"));
    QCOMPARE(w.ui->progressBar_3->value(), 100);
}

void TestEvaluationModes::classTreeOfEachMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("classPrefix");
    QTest::addColumn<QString>("subclassPrefix");
    QTest::newRow("manual") << int(EvaluationMode::Manual) << "Assign selected File/s to Class "
                            << "Assign selected File/s to Subclass ";
    QTest::newRow("Tavron") << int(EvaluationMode::Tavron) << "Assign selected file/s to class "
                            << "Assign selected file/s to subclass ";
    QTest::newRow("review") << int(EvaluationMode::RecorderReview) << "Assign selected file/s to class "
                            << "Assign selected file/s to subclass ";
}

void TestEvaluationModes::classTreeOfEachMode()
{
    QFETCH(int, mode);
    QFETCH(QString, classPrefix);
    QFETCH(QString, subclassPrefix);
    MainWindow w;
    new QTreeWidgetItem(w.ui->treeWidget, QStringList{"Earlier"});
    w.fillClassTree(QStringLiteral(" Pip \t<A> \n\t Pnat\t<B>\nNyc\t<C>"), mode);
    QCOMPARE(classTreeText(w.ui->treeWidget, true),
             QStringLiteral("Pip 0 <A>  [%1\"Pip\"] {Pnat 0 <B> [%2\"Pnat\"]}; Nyc 0 <C> [%1\"Nyc\"]")
                 .arg(classPrefix, subclassPrefix));
    QTreeWidgetItem *pip = w.ui->treeWidget->topLevelItem(0);
    QVERIFY(pip->isExpanded());
    auto *button = qobject_cast<QPushButton *>(w.ui->treeWidget->itemWidget(pip, ClassTreeColumn::Assign));
    QVERIFY(button->text().isEmpty());
    QVERIFY(!button->icon().isNull());
}

QUILLON_TEST(TestEvaluationModes)
#include "tst_mainwindow_evaluation.moc"
