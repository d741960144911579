#include "testregistry.h"

#include "app/mainwindow.h"
#include "common/evaluationmode.h"
#include "common/treecolumns.h"
#include "filelist/fileviewtreewidgetitem.h"
#include "guitest.h"
#include "scripteddialogs.h"
#include "signalbuilder.h"
#include "ui_mainwindow.h"
#include "wavwriter.h"

#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QLocale>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTreeWidget>
#include <QUrl>

namespace {

QStringList rowNames(const QTreeWidget *list)
{
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        names << list->topLevelItem(i)->text(FileViewColumn::Name);
    return names;
}

// The actions that work on a loaded folder's rows.
QList<QAction *> folderActions(MainWindow &w)
{
    return {w.ui->actionActivity_Plot, w.ui->actionExport_CSV_File, w.ui->actionExport_Tavron_File,
            w.ui->actionCopy_Files_to_other_Folder};
}

// Waits until the spectrogram is drawn and the header chain has ended.
bool settled(const MainWindow &w)
{
    return !w.calculating && !w.loadingFileInfo && !w.fileInfoThread->isRunning();
}

} // namespace

class TestOpening : public testsupport::GuiTestCase
{
    Q_OBJECT
private slots:
    void initTestCase();
    void openFolder();
    void openFolderWithoutRecordings();
    void folderListRowsAsHighAsTheFirst();
    void undatedRowsFirst_columnsFitTheDatesBelow();
    void openFolderDuringChain();
    void openFileDuringChain();
    void chainNamesItsRecordingsFirst();
    void dropFolder();
    void dropFiles();
    void dropOneAfterFolder_plotsTakeTheRoom();
    void dropRefused_data();
    void dropRefused();
    void dragEnter();
    void dropDuringEvaluation_data();
    void dropDuringEvaluation();
    void ignoredWhileCalculating();
    void commandLine_data();
    void commandLine();

private:
    QString path(const QString &relative) const { return m_dir.path() + QLatin1Char('/') + relative; }
    void writeRecording(const QString &relative, double seconds);
    QTemporaryDir m_dir;
};

void TestOpening::writeRecording(const QString &relative, double seconds)
{
    const QVector<int> samples = testsupport::SignalBuilder(250000.0, seconds).tone(40000.0, -6.0).samples();
    QVERIFY(testsupport::writeFile(path(relative), testsupport::simplePcmWav(samples, 250000)));
}

void TestOpening::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QLocale::setDefault(QLocale::c());
    QDir root(m_dir.path());
    for (const char *folder : {"mixed", "second", "text", "other", "broken", "undatedFirst"})
        QVERIFY(root.mkpath(folder));
    // mixed: 0.25 s and 0.5 s WAVs, a RAW of 50000 samples (0.1 s at 500 kHz), and other files
    writeRecording("mixed/b.WAV", 0.5);
    writeRecording("mixed/a.wav", 0.25);
    QVERIFY(testsupport::writeFile(path("mixed/c.raw"), testsupport::WavWriter::pack(QVector<int>(50000, 100), 16)));
    QVERIFY(testsupport::writeFile(path("mixed/notes.txt"), "notes"));
    writeRecording("second/x.wav", 0.25);
    writeRecording("second/y.wav", 0.25);
    QVERIFY(testsupport::writeFile(path("text/readme.txt"), "text"));
    writeRecording("other/z.wav", 0.25);
    // broken: the first recording does not load, so no spectrogram is calculating
    QVERIFY(testsupport::writeFile(path("broken/0_broken.wav"), "not a RIFF file"));
    for (int i = 1; i <= 5; ++i)
        writeRecording(QStringLiteral("broken/%1.wav").arg(i), 0.1);
    // undatedFirst: two recordings without a date (N/A), then one dated by
    // its TIME chunk, and longer: 1,787,520 samples at 256 kHz, 6.9825 s
    writeRecording("undatedFirst/a.wav", 0.25);
    writeRecording("undatedFirst/b.wav", 0.25);
    QVector<int> samples(1787520);
    for (int i = 0; i < samples.size(); ++i)
        samples[i] = i % 64 * 200 - 6400;
    testsupport::WavWriter dated;
    dated.fmt(256000, 16).chunk("TIME", testsupport::timePayload("12/31/20", "23:59:58")).data(samples, 16);
    QVERIFY(dated.write(path("undatedFirst/c.wav")));
}

void TestOpening::openFolder()
{
    ScriptedDialogs dialogs;
    dialogs.fileAnswers << path("mixed");
    MainWindow w;
    QSignalSpy progress(w.ui->progressBar_2, &QProgressBar::valueChanged);
    w.ui->actionOpen_Folder->trigger();
    QCOMPARE(dialogs.fileQuestions.size(), 1);
    QCOMPARE(dialogs.fileQuestions.first().kind, QStringLiteral("directory"));
    QCOMPARE(dialogs.fileQuestions.first().caption, QStringLiteral("Open Directory"));
    QCOMPARE(dialogs.fileQuestions.first().dir, QStringLiteral("/home"));
    QCOMPARE(dialogs.fileQuestions.first().options, QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    QCOMPARE(w.evaluationMode, int(EvaluationMode::Folder));
    QCOMPARE(w.wavDirectory, path("mixed"));
    QCOMPARE(w.currentFileName, path("mixed/a.wav"));
    QVERIFY(w.loadingFileInfo);
    QVERIFY(!w.ui->actionActivity_Plot->isEnabled());

    QTRY_VERIFY_WITH_TIMEOUT(settled(w), 20000);
    const QTreeWidget *list = w.ui->treeWidget_2;
    QCOMPARE(rowNames(list), (QStringList{"a.wav", "b.WAV", "c.raw"}));
    QCOMPARE(w.ui->label_21->text(), QStringLiteral("\n3 items"));
    // 1 at the start, then next / count of three rows, truncated, and 100 at the end.
    QList<int> values;
    for (const QList<QVariant> &v : qAsConst(progress))
        values << v.first().toInt();
    QCOMPARE(values, (QList<int>{1, 33, 66, 100}));
    QVERIFY(list->isSortingEnabled());
    // Lengths in seconds with three decimals: 0.25 s, 0.5 s, and 100000 bytes of RAW at 500 kHz.
    QCOMPARE(list->topLevelItem(0)->text(FileViewColumn::Length), QStringLiteral("0.250"));
    QCOMPARE(list->topLevelItem(1)->text(FileViewColumn::Length), QStringLiteral("0.500"));
    QCOMPARE(list->topLevelItem(2)->text(FileViewColumn::Length), QStringLiteral("0.100"));
    QCOMPARE(list->topLevelItem(0)->flags(), Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled);
    for (QAction *a : folderActions(w))
        QVERIFY(a->isEnabled());
    QVERIFY(w.ui->groupBox_8->isVisibleTo(&w));
    QVERIFY(!w.ui->groupBox_6->isVisibleTo(&w));
    QCOMPARE(QSettings().value("folderPath").toString(), path("mixed"));
    QVERIFY(dialogs.messages.isEmpty());
}

void TestOpening::folderListRowsAsHighAsTheFirst()
{
    ScriptedDialogs dialogs;
    dialogs.fileAnswers << path("second");
    MainWindow w;
    w.ui->actionOpen_Folder->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(settled(w), 20000);
    // The list lays out a large folder without asking each row for its
    // height: a cell of two lines leaves its row one line high.
    QTreeWidget *list = w.ui->treeWidget_2;
    list->topLevelItem(1)->setText(FileViewColumn::Date, QStringLiteral("two\nlines"));
    QCOMPARE(list->visualItemRect(list->topLevelItem(1)).height(),
             list->visualItemRect(list->topLevelItem(0)).height());
}

void TestOpening::undatedRowsFirst_columnsFitTheDatesBelow()
{
    ScriptedDialogs dialogs;
    dialogs.fileAnswers << path("undatedFirst");
    MainWindow w;
    w.ui->actionOpen_Folder->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(settled(w), 20000);
    // Each column as wide as its widest text: the last row's date, time and length.
    QTreeWidget *list = w.ui->treeWidget_2;
    const QTreeWidgetItem *dated = list->topLevelItem(2);
    QCOMPARE(dated->text(FileViewColumn::Date), QStringLiteral("31/12/20"));
    QCOMPARE(list->topLevelItem(0)->text(FileViewColumn::Date), QStringLiteral("N/A"));
    // The style draws a cell's text between a margin on either side.
    const QFontMetrics metrics(list->font());
    const int margins = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1);
    for (const int column : {FileViewColumn::Date, FileViewColumn::Time, FileViewColumn::Length}) {
        const QString text = dated->text(column);
        QVERIFY2(list->columnWidth(column) >= metrics.horizontalAdvance(text) + margins,
                 qPrintable(QStringLiteral("%1 in %2 px").arg(text).arg(list->columnWidth(column))));
    }
    // The list and the line above the plots round the half millisecond alike.
    QCOMPARE(dated->text(FileViewColumn::Length), QStringLiteral("6.983"));
    w.plot_Data(path("undatedFirst/c.wav"));
    QVERIFY(testsupport::waitForSpectrogram(w));
    QVERIFY2(w.ui->label_fileInfo->text().contains(QStringLiteral("Hz; 6.983s; ")),
             qPrintable(w.ui->label_fileInfo->text()));
}

void TestOpening::openFolderWithoutRecordings()
{
    ScriptedDialogs dialogs;
    dialogs.fileAnswers << path("text");
    MainWindow w;
    dialogs.expectMessages();
    w.ui->actionOpen_Folder->trigger();
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.first().text, QStringLiteral("No Bat Call Files in Folder"));
    QCOMPARE(dialogs.messages.first().icon, QMessageBox::Warning);
    QCOMPARE(dialogs.messages.first().title, QString());
    QCOMPARE(w.evaluationMode, int(EvaluationMode::SingleFile));
    QVERIFY(w.wavDirectory.isEmpty());
    QVERIFY(!QSettings().contains("folderPath"));
    QVERIFY(!w.fileInfoThread->isRunning());
}

void TestOpening::openFolderDuringChain()
{
    ScriptedDialogs dialogs;
    // The first folder's first recording fails to load, so nothing is calculating
    // and the second Open Folder comes while the first chain still runs.
    dialogs.fileAnswers << path("broken") << path("second");
    MainWindow w;
    QSignalSpy headerRequests(&w, &MainWindow::signalGetFileHeaderInfo);
    dialogs.expectMessages();
    w.ui->actionOpen_Folder->trigger();
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages.first().informativeText.startsWith(path("broken/0_broken.wav")));
    QVERIFY(w.fileInfoThread->isRunning());
    QVERIFY(!w.calculating);
    w.ui->actionOpen_Folder->trigger();
    QVERIFY(w.headerLoadingRestartPending);
    QVERIFY(!w.loadingFileInfo);
    QCOMPARE(headerRequests.count(), 1);

    QTRY_VERIFY_WITH_TIMEOUT(settled(w) && !w.headerLoadingRestartPending, 20000);
    QCOMPARE(w.wavDirectory, path("second"));
    QCOMPARE(rowNames(w.ui->treeWidget_2), (QStringList{"x.wav", "y.wav"}));
    QCOMPARE(w.ui->label_21->text(), QStringLiteral("\n2 items"));
    for (int i = 0; i < 2; ++i)
        QCOMPARE(w.ui->treeWidget_2->topLevelItem(i)->text(FileViewColumn::Length), QStringLiteral("0.250"));
    // One request for the old folder's first row, then the new chain from row 0.
    QCOMPARE(headerRequests.count(), 3);
    QCOMPARE(headerRequests.at(1).at(0).toInt(), 0);
    QCOMPARE(headerRequests.at(1).at(1).toString(), path("second/x.wav"));
    QCOMPARE(w.ui->progressBar_2->value(), 100);
    QCOMPARE(w.currentFileName, path("second/x.wav"));
}

void TestOpening::openFileDuringChain()
{
    ScriptedDialogs dialogs;
    dialogs.fileAnswers << path("broken") << path("other/z.wav");
    MainWindow w;
    QSignalSpy headerRequests(&w, &MainWindow::signalGetFileHeaderInfo);
    dialogs.expectMessages();
    w.ui->actionOpen_Folder->trigger();
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages.first().informativeText.startsWith(path("broken/0_broken.wav")));
    QVERIFY(w.fileInfoThread->isRunning());
    w.ui->actionOpen_File->trigger();
    QCOMPARE(dialogs.fileQuestions.last().caption, QStringLiteral("Open Bat Call File"));
    QCOMPARE(dialogs.fileQuestions.last().filter, QStringLiteral("Bat call files (*.wav *.raw)"));
    QCOMPARE(w.evaluationMode, int(EvaluationMode::SingleFile));
    QCOMPARE(w.currentFileName, path("other/z.wav"));
    QTRY_VERIFY_WITH_TIMEOUT(settled(w) && !w.headerLoadingRestartPending, 20000);
    // The chain stopped at the reply in flight: no further request.
    QCOMPARE(headerRequests.count(), 1);
    QCOMPARE(QSettings().value("filePath").toString(), path("other/z.wav"));
    // The folder list keeps its rows.
    QCOMPARE(w.ui->treeWidget_2->topLevelItemCount(), 6);
}

void TestOpening::chainNamesItsRecordingsFirst()
{
    ScriptedDialogs dialogs;
    dialogs.fileAnswers << path("mixed") << path("second");
    MainWindow w;
    QStringList sent;
    QObject::connect(&w, &MainWindow::signalExpectFileHeaders,
                     [&sent](const QStringList &paths) { sent << "expect " + paths.join(','); });
    QObject::connect(&w, &MainWindow::signalGetFileHeaderInfo, [&sent](int index, const QString &path) {
        sent << QStringLiteral("request %1 ").arg(index) + path;
    });
    w.ui->actionOpen_Folder->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(settled(w), 20000);
    w.ui->actionOpen_Folder->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(settled(w), 20000);
    // Each chain names its rows in list order before its first request, and once.
    const QString mixed = path("mixed/a.wav") + ',' + path("mixed/b.WAV") + ',' + path("mixed/c.raw");
    QCOMPARE(sent, (QStringList{"expect " + mixed, "request 0 " + path("mixed/a.wav"),
                                "request 1 " + path("mixed/b.WAV"), "request 2 " + path("mixed/c.raw"),
                                "expect " + path("second/x.wav") + ',' + path("second/y.wav"),
                                "request 0 " + path("second/x.wav"), "request 1 " + path("second/y.wav")}));
}

void TestOpening::dropFolder()
{
    ScriptedDialogs dialogs;
    MainWindow w;
    testsupport::dropFiles(w, {path("mixed")});
    QCOMPARE(w.evaluationMode, int(EvaluationMode::Folder));
    QCOMPARE(w.wavDirectory, path("mixed"));
    QTRY_VERIFY_WITH_TIMEOUT(settled(w), 20000);
    QCOMPARE(rowNames(w.ui->treeWidget_2), (QStringList{"a.wav", "b.WAV", "c.raw"}));
    // A drop leaves the rows with the default flags: not editable.
    QVERIFY(!(w.ui->treeWidget_2->topLevelItem(0)->flags() & Qt::ItemIsEditable));
    QCOMPARE(w.ui->label_21->text(), QStringLiteral("\n3 items"));
}

void TestOpening::dropFiles()
{
    ScriptedDialogs dialogs;
    MainWindow w;
    testsupport::dropFiles(w, {path("mixed/c.raw"), path("mixed/notes.txt"), path("mixed/a.wav")});
    QCOMPARE(w.currentFileName, path("mixed/c.raw"));
    QTRY_VERIFY_WITH_TIMEOUT(settled(w), 20000);
    QCOMPARE(rowNames(w.ui->treeWidget_2), (QStringList{"a.wav", "c.raw"}));
    QCOMPARE(w.ui->label_21->text(), QStringLiteral("\n2 items"));
    QVERIFY(dialogs.messages.isEmpty());

    // One recording alone is shown on its own, the list keeps its rows; the folder's actions end with it.
    testsupport::dropFiles(w, {path("other/z.wav")});
    QCOMPARE(w.evaluationMode, int(EvaluationMode::SingleFile));
    QCOMPARE(w.currentFileName, path("other/z.wav"));
    for (QAction *a : folderActions(w))
        QVERIFY2(!a->isEnabled(), qPrintable(a->text()));
    QTRY_VERIFY_WITH_TIMEOUT(settled(w), 20000);
    QCOMPARE(w.ui->treeWidget_2->topLevelItemCount(), 2);
}

void TestOpening::dropOneAfterFolder_plotsTakeTheRoom()
{
    ScriptedDialogs dialogs;
    auto w = testsupport::exposedWindow();
    QVERIFY(w);
    testsupport::dropFiles(*w, {path("second")});
    QTRY_VERIFY_WITH_TIMEOUT(settled(*w), 20000);
    w->resize(1400, 950); // taller than the panes ask for once the list has gone
    testsupport::dropFiles(*w, {path("other/z.wav")});
    QTRY_VERIFY_WITH_TIMEOUT(settled(*w) && !w->ui->groupBox_8->isVisible(), 20000);
    // The progress bar right under the plots stands at the window's foot: no empty band below.
    QTRY_COMPARE(w->ui->progressBar->geometry().bottom() + 1 + w->ui->verticalLayout->contentsMargins().bottom(),
                 w->ui->centralWidget->height());
}

void TestOpening::dropRefused_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QString>("message");
    QTest::newRow("recordings from two folders")
        << QStringList{"mixed/a.wav", "other/z.wav"} << "Recordings from several folders cannot be opened together.";
    QTest::newRow("folder and file") << QStringList{"mixed", "other/z.wav"}
                                     << "Do not load multiple folders or a mixture of files and folders.";
    QTest::newRow("one text file") << QStringList{"mixed/notes.txt"} << "File type not supported.";
    QTest::newRow("nothing to load") << QStringList{"mixed/notes.txt", "text/readme.txt"} << QString();
}

void TestOpening::dropRefused()
{
    QFETCH(QStringList, paths);
    QFETCH(QString, message);
    for (QString &p : paths)
        p = path(p);
    ScriptedDialogs dialogs;
    MainWindow w;
    QSignalSpy requests(&w, &MainWindow::signalCalcSpektrogramm);
    dialogs.expectMessages(message.isEmpty() ? 0 : 1);
    testsupport::dropFiles(w, paths);
    if (message.isEmpty()) {
        QVERIFY(dialogs.messages.isEmpty());
    } else {
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages.first().text, message);
        QCOMPARE(dialogs.messages.first().icon, QMessageBox::Information);
    }
    QCOMPARE(requests.count(), 0);
    QCOMPARE(w.evaluationMode, int(EvaluationMode::SingleFile));
    QVERIFY(w.wavDirectory.isEmpty());
    QCOMPARE(w.ui->treeWidget_2->topLevelItemCount(), 0);
}

void TestOpening::dragEnter()
{
    MainWindow w;
    QMimeData withUrls;
    withUrls.setUrls({QUrl::fromLocalFile(path("mixed/a.wav"))});
    QDragEnterEvent accepted(QPoint(5, 5), Qt::CopyAction, &withUrls, Qt::LeftButton, Qt::NoModifier);
    accepted.setAccepted(false);
    QApplication::sendEvent(&w, &accepted);
    QVERIFY(accepted.isAccepted());
    QMimeData text;
    text.setText("a.wav");
    QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QApplication::sendEvent(&w, &refused);
    QVERIFY(!refused.isAccepted());
}

void TestOpening::dropDuringEvaluation_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QString>("question");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("mode"); // after the drop
    const QString oneFile = QStringLiteral("Do you really want to abort current evaluation and load new file?");
    const QString files = QStringLiteral("Do you really want to abort current evaluation and load new files?");
    QTest::newRow("one file, cancelled") << QStringList{"other/z.wav"} << oneFile << int(QMessageBox::Cancel)
                                         << int(EvaluationMode::Tavron);
    QTest::newRow("one file, confirmed") << QStringList{"other/z.wav"} << oneFile << int(QMessageBox::Ok)
                                         << int(EvaluationMode::SingleFile);
    QTest::newRow("folder, cancelled") << QStringList{"second"} << files << int(QMessageBox::Cancel)
                                       << int(EvaluationMode::Tavron);
    QTest::newRow("folder, confirmed") << QStringList{"second"} << files << int(QMessageBox::Ok)
                                       << int(EvaluationMode::Folder);
}

void TestOpening::dropDuringEvaluation()
{
    QFETCH(QStringList, paths);
    QFETCH(QString, question);
    QFETCH(int, answer);
    QFETCH(int, mode);
    for (QString &p : paths)
        p = path(p);
    ScriptedDialogs dialogs;
    dialogs.messageAnswers << QMessageBox::StandardButton(answer);
    MainWindow w;
    w.evaluationMode = EvaluationMode::Tavron;
    QSignalSpy requests(&w, &MainWindow::signalCalcSpektrogramm);
    testsupport::dropFiles(w, paths);
    QCOMPARE(dialogs.messages.size(), 1);
    const MessageBoxRequest &asked = dialogs.messages.first();
    QCOMPARE(asked.text, question);
    QCOMPARE(asked.title, QStringLiteral("Warning"));
    QCOMPARE(asked.icon, QMessageBox::Warning);
    QCOMPARE(asked.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(asked.defaultButton, QMessageBox::Cancel);
    QCOMPARE(w.evaluationMode, mode);
    const bool loaded = answer == QMessageBox::Ok;
    QCOMPARE(requests.count(), loaded ? 1 : 0);
    QCOMPARE(w.currentFileName.isEmpty(), !loaded);
    QTRY_VERIFY_WITH_TIMEOUT(settled(w), 20000);
}

void TestOpening::ignoredWhileCalculating()
{
    ScriptedDialogs dialogs;
    dialogs.fileAnswers << path("mixed") << path("other/z.wav");
    MainWindow w;
    QSignalSpy requests(&w, &MainWindow::signalCalcSpektrogramm);
    // A spectrogram on its way: its worker reads the samples the window holds.
    w.calculating = true;
    w.ui->actionOpen_Folder->trigger();
    w.ui->actionOpen_File->trigger();
    testsupport::dropFiles(w, {path("second")});
    testsupport::dropFiles(w, {path("other/z.wav")});
    QVERIFY(dialogs.fileQuestions.isEmpty());
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(requests.count(), 0);
    QCOMPARE(w.evaluationMode, int(EvaluationMode::SingleFile));
    QVERIFY(w.wavDirectory.isEmpty());
    QVERIFY(w.currentFileName.isEmpty());
    QCOMPARE(w.ui->treeWidget_2->topLevelItemCount(), 0);
    QVERIFY(!w.fileInfoThread->isRunning());
    w.calculating = false;
}

void TestOpening::commandLine_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("message");
    QTest::newRow("recording") << "mixed/a.wav" << true << QString();
    QTest::newRow("RAW in capitals") << "upper/C.RAW" << true << QString();
    QTest::newRow("other file") << "mixed/notes.txt" << false << "File type not supported.";
    QTest::newRow("missing file") << "mixed/gone.wav" << false << QString();
    QTest::newRow("a folder named like a recording") << "named.wav" << false << QString();
}

void TestOpening::commandLine()
{
    QFETCH(QString, argument);
    QFETCH(bool, shown);
    QFETCH(QString, message);
    QVERIFY(QDir(m_dir.path()).mkpath("upper"));
    QVERIFY(QDir(m_dir.path()).mkpath("named.wav"));
    QVERIFY(testsupport::writeFile(path("upper/C.RAW"), testsupport::WavWriter::pack(QVector<int>(50000, 100), 16)));
    ScriptedDialogs dialogs;
    MainWindow w;
    for (QAction *a : folderActions(w)) // as after a folder
        a->setEnabled(true);
    dialogs.expectMessages(message.isEmpty() ? 0 : 1);
    w.openCommandLine({QStringLiteral("quillon"), path(argument)});
    QCOMPARE(w.currentFileName, shown ? path(argument) : QString());
    for (QAction *a : folderActions(w))
        QCOMPARE(a->isEnabled(), !shown);
    QCOMPARE(w.evaluationMode, int(EvaluationMode::SingleFile));
    if (message.isEmpty()) {
        QVERIFY(dialogs.messages.isEmpty());
    } else {
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages.first().text, message);
    }
    QVERIFY(testsupport::waitForSpectrogram(w));
}

QUILLON_TEST(TestOpening)

namespace {

// One header reply as the worker sends it.
struct Reply {
    QStringList classes; // up to four
    QString proposal;
    QString accepted;
};

void answer(MainWindow &w, int index, const Reply &r)
{
    w.fileInfoHeaderFinished(index, r.classes.value(0), r.classes.value(1), r.classes.value(2), r.classes.value(3),
                             r.proposal, r.accepted, QStringLiteral("1.000"), QStringLiteral("07/06/21"),
                             QStringLiteral("22:10:05"), QStringLiteral("note %1").arg(index));
}

// The class tree of a small model: Nyc with its sub-class NycNoc, and Pip.
void fillClassTree(QTreeWidget *tree)
{
    auto *nyc = new QTreeWidgetItem(tree, QStringList{"Nyc", "", "<N>"});
    new QTreeWidgetItem(nyc, QStringList{"NycNoc", "", "<O>"});
    new QTreeWidgetItem(tree, QStringList{"Pip", "", "<P>"});
}

QTreeWidgetItem *classRow(QTreeWidget *tree, const QString &name)
{
    const QList<QTreeWidgetItem *> hits = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return hits.isEmpty() ? nullptr : hits.first();
}

QStringList topLevelNames(QTreeWidget *tree)
{
    QStringList names;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        names << tree->topLevelItem(i)->text(ClassTreeColumn::Class);
    return names;
}

// Rows named 0.wav, 1.wav, ... in the evaluation list, as an evaluation loader leaves them.
void addRows(MainWindow &w, int count, Qt::ItemFlags flags)
{
    for (int i = 0; i < count; ++i) {
        auto *row = new fileViewTreeWidgetItem(w.ui->treeWidget_fileView);
        row->setText(FileViewColumn::Name, QStringLiteral("%1.wav").arg(i));
        row->setFlags(flags);
    }
    // As the loaders leave it: sorted by name once, sorting off while the chain runs.
    w.ui->treeWidget_fileView->sortByColumn(FileViewColumn::Name, Qt::AscendingOrder);
}

} // namespace

class TestHeaderReplies : public testsupport::GuiTestCase
{
    Q_OBJECT
private slots:
    void initTestCase();
    void manualEvaluationCounts();
    void tavronEvaluationRows();
    void reviewReplyChangesItsRowOnce();
    void requestsPerMode_data();
    void requestsPerMode();
    void replyForAMissingRow();
    void reloadInReviewMode();
    void reloadOfAnEmptiedFolder_data();
    void reloadOfAnEmptiedFolder();

private:
    QTemporaryDir m_dir;
};

void TestHeaderReplies::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QLocale::setDefault(QLocale::c());
}

void TestHeaderReplies::manualEvaluationCounts()
{
    ScriptedDialogs dialogs;
    MainWindow w;
    QObject::disconnect(&w, &MainWindow::signalGetFileHeaderInfo, nullptr, nullptr);
    QSignalSpy requests(&w, &MainWindow::signalGetFileHeaderInfo);
    w.evaluationMode = EvaluationMode::Manual;
    w.wavDirectory = QStringLiteral("/recordings");
    w.loadingFileInfo = true;
    fillClassTree(w.ui->treeWidget);
    addRows(w, 5, Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled);
    QTreeWidget *tree = w.ui->treeWidget;

    answer(w, 0, {{}, "Pip", "0"});         // no class: "Unassigned", whatever the proposal
    answer(w, 1, {{"NycNoc"}, "", ""});     // a sub-class counts only in its own row
    answer(w, 2, {{"Pip", "Pip"}, "", ""}); // the same class twice counts twice
    answer(w, 3, {{"Bat", "Nyc"}, "", ""}); // a class the model lacks gets a row of its own
    answer(w, 4, {{}, "", ""});

    QCOMPARE(classRow(tree, "Unassigned")->text(ClassTreeColumn::Count), QStringLiteral("2"));
    QCOMPARE(classRow(tree, "Unassigned")->foreground(ClassTreeColumn::Class).color(), QColor(Qt::red));
    QCOMPARE(classRow(tree, "NycNoc")->text(ClassTreeColumn::Count), QStringLiteral("1"));
    QCOMPARE(classRow(tree, "Nyc")->text(ClassTreeColumn::Count), QStringLiteral("1"));
    QCOMPARE(classRow(tree, "Pip")->text(ClassTreeColumn::Count), QStringLiteral("2"));
    QCOMPARE(classRow(tree, "Pip")->text(ClassTreeColumn::Shortcut), QStringLiteral("<P>"));
    QTreeWidgetItem *bat = classRow(tree, "Bat");
    QVERIFY(bat);
    QCOMPARE(bat->text(ClassTreeColumn::Count), QStringLiteral("1"));
    QCOMPARE(bat->foreground(ClassTreeColumn::Class).color(), QColor(Qt::blue));
    auto *assign = qobject_cast<QPushButton *>(tree->itemWidget(bat, ClassTreeColumn::Assign));
    QVERIFY(assign);
    // Worded like the buttons of the model's own rows in this mode.
    QCOMPARE(assign->toolTip(), QStringLiteral("Assign selected File/s to Class \"Bat\""));
    // "Unassigned" stays last: later rows go above it.
    QCOMPARE(topLevelNames(tree), (QStringList{"Nyc", "Pip", "Bat", "Unassigned"}));

    // Rows: texts in their columns, the accepted flag as text in this mode.
    QTreeWidgetItem *row = w.ui->treeWidget_fileView->topLevelItem(2);
    QCOMPARE(row->text(FileViewColumn::Class1), QStringLiteral("Pip"));
    QCOMPARE(row->text(FileViewColumn::Class2), QStringLiteral("Pip"));
    QCOMPARE(row->text(FileViewColumn::Comment), QStringLiteral("note 2"));
    QCOMPARE(w.ui->treeWidget_fileView->topLevelItem(0)->text(FileViewColumn::Accepted), QStringLiteral("0"));
    QCOMPARE(row->text(FileViewColumn::Date), QStringLiteral("07/06/21"));

    // Four requests followed replies 0 to 3; the last reply ended the chain.
    QCOMPARE(requests.count(), 4);
    QCOMPARE(requests.last().at(0).toInt(), 4);
    QCOMPARE(requests.last().at(1).toString(), QStringLiteral("/recordings/4.wav"));
    QCOMPARE(w.ui->progressBar_3->value(), 100);
    QVERIFY(w.ui->treeWidget_fileView->isSortingEnabled());
    QVERIFY(!w.loadingFileInfo);
    QVERIFY(w.ui->actionExport_CSV_File->isEnabled());
    QVERIFY(w.ui->actionActivity_Plot->isEnabled());
}

void TestHeaderReplies::tavronEvaluationRows()
{
    ScriptedDialogs dialogs;
    MainWindow w;
    QObject::disconnect(&w, &MainWindow::signalGetFileHeaderInfo, nullptr, nullptr);
    w.evaluationMode = EvaluationMode::Tavron;
    w.wavDirectory = QStringLiteral("/recordings");
    w.loadingFileInfo = true;
    addRows(w, 4, Qt::NoItemFlags);
    QTreeWidget *list = w.ui->treeWidget_fileView;
    QTreeWidget *tree = w.ui->treeWidget;
    // On screen: the list makes the QCheckBox of an accept box for a row in view.
    list->setColumnHidden(FileViewColumn::Accepted, false);
    w.ui->groupBox_6->show();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    answer(w, 0, {{}, "Nyc", ""});       // a proposal without class: "Unassigned"
    answer(w, 1, {{}, "No Call", ""});   // no call found: "Detected No Call"
    answer(w, 2, {{}, "Pip", "1"});      // accepted
    answer(w, 3, {{"Pip"}, "Nyc", "0"}); // a class that is not the proposal

    QCOMPARE(topLevelNames(tree), (QStringList{"Detected No Call", "Pip", "Unassigned"}));
    QCOMPARE(classRow(tree, "Unassigned")->text(ClassTreeColumn::Count), QStringLiteral("2"));
    QCOMPARE(classRow(tree, "Detected No Call")->text(ClassTreeColumn::Count), QStringLiteral("1"));
    QCOMPARE(classRow(tree, "Detected No Call")->foreground(ClassTreeColumn::Class).color(), QColor(Qt::blue));

    const Qt::ItemFlags usable = Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
    // The row without a call stays disabled, without box and colour.
    QCOMPARE(list->topLevelItem(1)->flags(), Qt::NoItemFlags);
    QVERIFY(!list->itemWidget(list->topLevelItem(1), FileViewColumn::Accepted));
    QCOMPARE(list->topLevelItem(1)->data(FileViewColumn::Name, Qt::ForegroundRole), QVariant());
    for (int i : {0, 2, 3})
        QCOMPARE(list->topLevelItem(i)->flags(), usable);
    auto box = [list](int i) {
        return qobject_cast<QCheckBox *>(list->itemWidget(list->topLevelItem(i), FileViewColumn::Accepted));
    };
    QVERIFY(box(0) && !box(0)->isChecked());
    QVERIFY(box(2) && box(2)->isChecked());
    QCOMPARE(box(2)->toolTip(), QStringLiteral("Accept proposal"));
    QVERIFY(box(3) && !box(3)->isChecked());
    QCOMPARE(list->topLevelItem(2)->foreground(FileViewColumn::Name).color(), QColor(122, 184, 0));
    QCOMPARE(list->topLevelItem(3)->foreground(FileViewColumn::Class4).color(), QColor(255, 69, 0));
    // The comment column keeps the list's own colour.
    QCOMPARE(list->topLevelItem(3)->data(FileViewColumn::Comment, Qt::ForegroundRole), QVariant());
    // In this mode the box, not the text, holds the accepted flag.
    QVERIFY(list->topLevelItem(2)->text(FileViewColumn::Accepted).isEmpty());
}

void TestHeaderReplies::reviewReplyChangesItsRowOnce()
{
    ScriptedDialogs dialogs;
    MainWindow w;
    QObject::disconnect(&w, &MainWindow::signalGetFileHeaderInfo, nullptr, nullptr);
    w.evaluationMode = EvaluationMode::RecorderReview;
    w.wavDirectory = QStringLiteral("/recordings");
    w.loadingFileInfo = true;
    addRows(w, 3, Qt::NoItemFlags);
    QTreeWidget *list = w.ui->treeWidget_fileView;
    QSignalSpy changes(list->model(), &QAbstractItemModel::dataChanged);
    // A call, and a "No Call" without classes that keeps its row as it was.
    answer(w, 0, {{}, "Pip", "1"});
    answer(w, 1, {{}, "No Call", ""});
    QCOMPARE(changes.count(), 2);
    for (int reply = 0; reply < 2; ++reply) {
        const QModelIndex first = changes.at(reply).at(0).toModelIndex();
        const QModelIndex last = changes.at(reply).at(1).toModelIndex();
        QCOMPARE(first.row(), reply);
        QCOMPARE(last.row(), reply);
        QCOMPARE(first.column(), int(FileViewColumn::Name));
        QCOMPARE(last.column(), int(FileViewColumn::Comment));
        QTreeWidgetItem *row = list->topLevelItem(reply);
        QCOMPARE(row->text(FileViewColumn::Date), QStringLiteral("07/06/21"));
        QCOMPARE(row->text(FileViewColumn::Comment), QStringLiteral("note %1").arg(reply));
    }
    QCOMPARE(list->topLevelItem(1)->text(FileViewColumn::Proposal), QStringLiteral("No Call"));
    QCOMPARE(list->topLevelItem(1)->flags(), Qt::NoItemFlags);
}

void TestHeaderReplies::requestsPerMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("calcClasses");
    QTest::addColumn<QString>("resultFile");
    QTest::newRow("manual evaluation") << int(EvaluationMode::Manual) << false << QString();
    QTest::newRow("Tavron evaluation classifies") << int(EvaluationMode::Tavron) << true << QString();
    QTest::newRow("review reads the recorder's result file")
        << int(EvaluationMode::RecorderReview) << false << "/recordings/calls_ch1_files.txt";
}

void TestHeaderReplies::requestsPerMode()
{
    QFETCH(int, mode);
    ScriptedDialogs dialogs;
    MainWindow w;
    QObject::disconnect(&w, &MainWindow::signalGetFileHeaderInfo, nullptr, nullptr);
    QSignalSpy requests(&w, &MainWindow::signalGetFileHeaderInfo);
    w.evaluationMode = mode;
    w.reviewMode = 1;
    w.wavDirectory = QStringLiteral("/recordings");
    w.loadingFileInfo = true;
    addRows(w, 3, Qt::NoItemFlags);
    answer(w, 0, {{}, "Nyc", ""});
    QCOMPARE(requests.count(), 1);
    QCOMPARE(requests.first().at(0).toInt(), 1);
    QCOMPARE(requests.first().at(1).toString(), QStringLiteral("/recordings/1.wav"));
    QTEST(requests.first().at(2).toBool(), "calcClasses");
    QTEST(requests.first().at(3).toString(), "resultFile");
    QCOMPARE(requests.first().at(4).toInt(), 1);
    // 1 of 3 rows answered.
    QCOMPARE(w.ui->progressBar_3->value(), 33);
}

void TestHeaderReplies::replyForAMissingRow()
{
    ScriptedDialogs dialogs;
    MainWindow w;
    QObject::disconnect(&w, &MainWindow::signalGetFileHeaderInfo, nullptr, nullptr);
    QSignalSpy requests(&w, &MainWindow::signalGetFileHeaderInfo);
    w.evaluationMode = EvaluationMode::Manual;
    w.loadingFileInfo = true;
    addRows(w, 2, Qt::NoItemFlags);
    answer(w, 7, {{"Pip"}, "", ""});
    QCOMPARE(requests.count(), 0);
    QVERIFY(!w.loadingFileInfo);
    QVERIFY(w.ui->treeWidget_fileView->isSortingEnabled());
    // Nothing was filled or counted.
    QVERIFY(!classRow(w.ui->treeWidget, "Pip"));
}

void TestHeaderReplies::reloadInReviewMode()
{
    // A review folder holding a RAW file among WAVs: the reload lists the WAVs only.
    QDir root(m_dir.path());
    const QVector<int> tone = testsupport::SignalBuilder(250000.0, 0.1).tone(40000.0, -6.0).samples();
    QVERIFY(testsupport::writeFile(root.filePath("b.wav"), testsupport::simplePcmWav(tone, 250000)));
    QVERIFY(testsupport::writeFile(root.filePath("a.WAV"), testsupport::simplePcmWav(tone, 250000)));
    QVERIFY(testsupport::writeFile(root.filePath("c.raw"), testsupport::WavWriter::pack(tone, 16)));

    ScriptedDialogs dialogs;
    MainWindow w;
    w.evaluationMode = EvaluationMode::RecorderReview;
    w.wavDirectory = m_dir.path();
    w.headerLoadingRestartPending = true;
    // The reply in flight of an earlier chain starts the reload.
    answer(w, 0, {{}, "", ""});
    QVERIFY(!w.headerLoadingRestartPending);
    QTreeWidget *list = w.ui->treeWidget_fileView;
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        names << list->topLevelItem(i)->text(FileViewColumn::Name);
    QCOMPARE(names, (QStringList{"a.WAV", "b.wav"}));
    QCOMPARE(w.ui->label_22->text(), QStringLiteral("\n2 items"));
    QCOMPARE(list->topLevelItem(0)->flags(), Qt::NoItemFlags);
    QVERIFY(!list->isColumnHidden(FileViewColumn::Proposal));
    QVERIFY(!list->isColumnHidden(FileViewColumn::Accepted));
    QCOMPARE(w.currentFileName, root.filePath("a.WAV"));
    QVERIFY(w.loadingFileInfo);
    QTRY_VERIFY_WITH_TIMEOUT(!w.loadingFileInfo && !w.fileInfoThread->isRunning() && !w.calculating, 20000);
    QCOMPARE(w.ui->progressBar_3->value(), 100);
    QCOMPARE(list->topLevelItem(1)->text(FileViewColumn::Length), QStringLiteral("0.100"));
}

void TestHeaderReplies::reloadOfAnEmptiedFolder_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("folder list") << int(EvaluationMode::Folder);
    QTest::newRow("manual evaluation") << int(EvaluationMode::Manual);
}

void TestHeaderReplies::reloadOfAnEmptiedFolder()
{
    QFETCH(int, mode);
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    ScriptedDialogs dialogs;
    MainWindow w;
    QSignalSpy headerRequests(&w, &MainWindow::signalGetFileHeaderInfo);
    QSignalSpy spectrogramRequests(&w, &MainWindow::signalCalcSpektrogramm);
    w.evaluationMode = mode;
    w.wavDirectory = empty.path();
    QTreeWidget *list = mode == 1 ? w.ui->treeWidget_2 : w.ui->treeWidget_fileView;
    QLabel *count = mode == 1 ? w.ui->label_21 : w.ui->label_22;
    // What the list held before its recordings went away.
    new fileViewTreeWidgetItem(list);
    count->setText(QStringLiteral("\n1 item"));
    w.headerLoadingRestartPending = true;
    w.loadingFileInfo = true;
    answer(w, 0, {{}, "", ""});
    QCOMPARE(list->topLevelItemCount(), 0);
    QCOMPARE(count->text(), QStringLiteral("\n0 items"));
    QCOMPARE(headerRequests.count(), 0);
    QCOMPARE(spectrogramRequests.count(), 0);
    QVERIFY(w.currentFileName.isEmpty());
    QVERIFY(!w.loadingFileInfo);
    QVERIFY(!w.headerLoadingRestartPending);
    QVERIFY(!w.fileInfoThread->isRunning());
}

QUILLON_TEST(TestHeaderReplies)
#include "tst_mainwindow_filelist.moc"
