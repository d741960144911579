#include "testregistry.h"

#include "app/evaluationmode.h"
#include "../app/scripteddialogs.h"
#include "app/guimetatypes.h"
#include "app/mainwindow.h"
#include "app/treecolumns.h"
#include "filelist/fileviewtreewidgetitem.h"
#include "signalbuilder.h"
#include "ui_mainwindow.h"
#include "wavwriter.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTreeWidget>

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

class TestHeaderReplies : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void manualEvaluationCounts();
    void tavronEvaluationRows();
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
    registerMetaTypes();
    QCoreApplication::setOrganizationName(QStringLiteral("Harmonvale"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillon"));
    QLocale::setDefault(QLocale::c());
}

void TestHeaderReplies::init()
{
    QSettings().clear();
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

    answer(w, 0, {{}, "Pip", "0"});             // no class: "Unassigned", whatever the proposal
    answer(w, 1, {{"NycNoc"}, "", ""});          // a sub-class counts only in its own row
    answer(w, 2, {{"Pip", "Pip"}, "", ""});      // the same class twice counts twice
    answer(w, 3, {{"Bat", "Nyc"}, "", ""});      // a class the model lacks gets a row of its own
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
    QCOMPARE(assign->toolTip(), QStringLiteral("Assign selected file/s to class \"Bat\""));
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

    answer(w, 0, {{}, "Nyc", ""});          // a proposal without class: "Unassigned"
    answer(w, 1, {{}, "No Call", ""});      // no call found: "Detected No Call"
    answer(w, 2, {{}, "Pip", "1"});         // accepted
    answer(w, 3, {{"Pip"}, "Nyc", "0"});    // a class that is not the proposal

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
#include "tst_headerreplies.moc"
