#include "testregistry.h"

#include "analysis/classassignmenttext.h"
#include "app/mainwindow.h"
#include "common/evaluationmode.h"
#include "common/treecolumns.h"
#include "filelist/fileviewtreewidgetitem.h"
#include "guitest.h"
#include "recording/wavfile.h"
#include "scripteddialogs.h"
#include "signalbuilder.h"
#include "ui_mainwindow.h"
#include "wavwriter.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

const Qt::ItemFlags usable = Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;

// A row as its header reply leaves it.
fileViewTreeWidgetItem *addRow(QTreeWidget *list, const QString &name, Qt::ItemFlags flags,
                               const QStringList &classes = {})
{
    auto *row = new fileViewTreeWidgetItem(list);
    row->setText(FileViewColumn::Name, name);
    row->setText(FileViewColumn::Date, QStringLiteral("07/06/21"));
    for (int i = 0; i < classes.size(); ++i)
        row->setText(FileViewColumn::Class1 + i, classes.at(i));
    row->setFlags(flags);
    return row;
}

QString description(const QString &path)
{
    WavFile recording;
    recording.open(path, true);
    return recording.bext.description;
}

} // namespace

class TestNavigation : public testsupport::GuiTestCase
{
    Q_OBJECT
private slots:
    void initTestCase();
    void stepsSkipRowsThatCannotBeChosen();
    void classTreeDoubleClick_data();
    void classTreeDoubleClick();
    void unreadRowDoubleClick();
    void selectionCountLabels();
    void commentWritten_data();
    void commentWritten();
    void commentWhileHeadersLoad();
    void writesToTheShownRecording_infoLineFollows();
    void commentRefused_data();
    void commentRefused();
    void commentWriteFails_data();
    void commentWriteFails();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    void writeRecording(const QString &name, const QByteArray &description = QByteArray());
    QTemporaryDir m_dir;
};

void TestNavigation::writeRecording(const QString &name, const QByteArray &stored)
{
    testsupport::WavWriter wav;
    wav.fmt(250000, 16).data(testsupport::SignalBuilder(250000.0, 0.05).tone(40000.0, -6.0).samples(), 16);
    if (!stored.isNull())
        wav.bext(stored);
    QVERIFY(wav.write(path(name)));
}

void TestNavigation::initTestCase()
{
    QVERIFY(m_dir.isValid());
    for (const char *name : {"a.wav", "b.wav", "c.wav", "d.wav"})
        writeRecording(QLatin1String(name));
}

void TestNavigation::stepsSkipRowsThatCannotBeChosen()
{
    ScriptedDialogs dialogs;
    MainWindow w;
    w.evaluationMode = EvaluationMode::Tavron;
    w.wavDirectory = m_dir.path();
    QTreeWidget *list = w.ui->treeWidget_fileView;
    QTreeWidgetItem *a = addRow(list, "a.wav", usable);
    addRow(list, "b.wav", Qt::NoItemFlags); // no call: cannot be chosen
    QTreeWidgetItem *c = addRow(list, "c.wav", usable);
    addRow(list, "d.wav", Qt::NoItemFlags);
    list->setCurrentItem(a);
    w.ui->pushButton_8->click();
    QCOMPARE(list->currentItem(), c);
    QCOMPARE(w.currentFileName, path("c.wav"));
    QTRY_VERIFY_WITH_TIMEOUT(!w.calculating, 20000);
    // Past the last row that can be chosen: c stays, now the only row selected.
    a->setSelected(true);
    w.ui->pushButton_8->click();
    QCOMPARE(list->selectedItems(), QList<QTreeWidgetItem *>{c});
    w.ui->pushButton_7->click();
    QCOMPARE(list->currentItem(), a);
    QCOMPARE(w.currentFileName, path("a.wav"));
    // While a spectrogram is calculated the buttons do nothing.
    QVERIFY(w.calculating);
    w.ui->pushButton_8->click();
    QCOMPARE(list->currentItem(), a);
    QTRY_VERIFY_WITH_TIMEOUT(!w.calculating, 20000);
}

void TestNavigation::classTreeDoubleClick_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<int>("current"); // row index; 4 is where it was
    QTest::newRow("first row with class 1 empty") << "Unassigned" << 3;
    QTest::newRow("class 1 before class 2") << "Pip" << 1;
    QTest::newRow("class 2 when no class 1 has it") << "Nyc" << 0;
    QTest::newRow("no row of the class") << "Bat" << 4;
}

void TestNavigation::classTreeDoubleClick()
{
    MainWindow w;
    QTreeWidget *list = w.ui->treeWidget_fileView;
    addRow(list, "0.wav", usable, {"Enil", "Nyc"});
    addRow(list, "1.wav", usable, {"Pip"});
    addRow(list, "2.wav", Qt::NoItemFlags); // no call: cannot be chosen
    addRow(list, "3.wav", usable);
    addRow(list, "4.wav", usable)->setText(FileViewColumn::Date, QString()); // header not read yet
    list->setCurrentItem(list->topLevelItem(4));
    QFETCH(QString, className);
    auto *classRow = new QTreeWidgetItem(w.ui->treeWidget, QStringList{className});
    w.calculating = true; // not consulted: the shown recording does not change
    emit w.ui->treeWidget->itemDoubleClicked(classRow, 0);
    QTEST(list->indexOfTopLevelItem(list->currentItem()), "current");
    QVERIFY(w.currentFileName.isEmpty());
    w.calculating = false;
}

void TestNavigation::unreadRowDoubleClick()
{
    // A row whose header reply has not come yet: its name only, no date. Neither shown nor commented.
    MainWindow w;
    w.evaluationMode = EvaluationMode::Manual;
    w.wavDirectory = m_dir.path();
    QTreeWidget *list = w.ui->treeWidget_fileView;
    QTreeWidgetItem *row = addRow(list, "a.wav", usable);
    row->setText(FileViewColumn::Date, QString());
    emit list->itemDoubleClicked(row, FileViewColumn::Name);
    emit list->itemDoubleClicked(row, FileViewColumn::Comment);
    QVERIFY(w.currentFileName.isEmpty());
    QVERIFY(!list->itemWidget(row, FileViewColumn::Comment));
}

void TestNavigation::selectionCountLabels()
{
    MainWindow w;
    for (QTreeWidget *list : QList<QTreeWidget *>{w.ui->treeWidget_2, w.ui->treeWidget_fileView}) {
        for (int i = 0; i < 5; ++i)
            addRow(list, QStringLiteral("%1.wav").arg(i), usable);
        list->topLevelItem(1)->setSelected(true);
        list->topLevelItem(3)->setSelected(true);
        QCOMPARE((list == w.ui->treeWidget_2 ? w.ui->label_21 : w.ui->label_22)->text(),
                 QStringLiteral("2 of 5\nitems selected"));
    }
}

void TestNavigation::commentWritten_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("classes");
    QTest::addColumn<QString>("proposal");
    QTest::addColumn<QString>("accepted"); // "box" and "box checked": the accept box instead of the text
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("written");
    QTest::newRow("accepted by its box") << int(EvaluationMode::Tavron) << QStringList{"Pip"} << "Pip"
                                         << "box checked"
                                         << "seen twice"
                                         << "Pip +  +  + |Pip|1|seen twice";
    QTest::newRow("box not checked") << int(EvaluationMode::RecorderReview) << QStringList{"", "Nyc"} << "Nyc, Pip"
                                     << "box"
                                     << "x"
                                     << " + Nyc +  + |Nyc, Pip|0|x";
    QTest::newRow("flag as text, no proposal") << int(EvaluationMode::Manual) << QStringList{"A", "B", "C", "D"} << ""
                                               << ""
                                               << "Ümlaut"
                                               << "A + B + C + D|||Ümlaut";
    QTest::newRow("folder list") << int(EvaluationMode::Folder) << QStringList() << ""
                                 << "1"
                                 << ""
                                 << " +  +  + ||1|";
}

void TestNavigation::commentWritten()
{
    QFETCH(int, mode);
    QFETCH(QStringList, classes);
    QFETCH(QString, accepted);
    QFETCH(QString, comment);
    writeRecording("comment.WAV", "Old|note");
    ScriptedDialogs dialogs;
    MainWindow w;
    w.evaluationMode = mode;
    w.wavDirectory = m_dir.path();
    QTreeWidget *list = mode == EvaluationMode::Folder ? w.ui->treeWidget_2 : w.ui->treeWidget_fileView;
    fileViewTreeWidgetItem *row = addRow(list, "comment.WAV", usable, classes);
    QFETCH(QString, proposal);
    row->setText(FileViewColumn::Proposal, proposal);
    if (accepted.startsWith(QLatin1String("box")))
        row->addAcceptCheckBox(accepted == QLatin1String("box checked"));
    else
        row->setText(FileViewColumn::Accepted, accepted);
    QCOMPARE(description(path("comment.WAV")), QStringLiteral("Old|note"));
    row->setText(FileViewColumn::Comment, comment + QStringLiteral("."));
    row->setText(FileViewColumn::Comment, comment);
    QTEST(description(path("comment.WAV")), "written");
    QVERIFY(dialogs.messages.isEmpty());
    // Comments that a header reply sets are what the recording holds already: not written.
    w.loadingFileInfo = true;
    w.fileInfoHeaderFinished(0, row->text(FileViewColumn::Class1), row->text(FileViewColumn::Class2),
                             row->text(FileViewColumn::Class3), row->text(FileViewColumn::Class4), proposal,
                             fileViewTreeWidgetItem::acceptedFlag(row), QString(), row->text(FileViewColumn::Date),
                             QString(), QStringLiteral("from a reply"));
    QCOMPARE(row->text(FileViewColumn::Comment), QStringLiteral("from a reply"));
    QTEST(description(path("comment.WAV")), "written");
}

// The line above the plots shows what the recording on show holds after a
// comment and after a class slot emptied.
void TestNavigation::writesToTheShownRecording_infoLineFollows()
{
    writeRecording("shown.wav", "Nyc|old");
    ScriptedDialogs dialogs;
    MainWindow w;
    w.evaluationMode = EvaluationMode::Manual;
    w.wavDirectory = m_dir.path();
    QTreeWidgetItem *row = addRow(w.ui->treeWidget_fileView, "shown.wav", usable, {"Nyc"});
    row->setText(FileViewColumn::Comment, QStringLiteral("old"));
    w.plot_Data(path("shown.wav"));
    QVERIFY(testsupport::waitForSpectrogram(w));
    const QLabel *line = w.ui->label_fileInfo;
    QVERIFY2(line->text().endsWith(QLatin1String("; Nyc; old")), qPrintable(line->text()));
    row->setText(FileViewColumn::Comment, QStringLiteral("seen again"));
    QVERIFY2(line->text().endsWith(QLatin1String("; Nyc; seen again")), qPrintable(line->text()));
    w.ui->treeWidget_fileView->setCurrentItem(row);
    w.unassign1triggered();
    QVERIFY2(line->text().endsWith(QLatin1String("; seen again")) && !line->text().contains(QLatin1String("Nyc")),
             qPrintable(line->text()));
    QVERIFY(dialogs.messages.isEmpty());
}

void TestNavigation::commentWhileHeadersLoad()
{
    writeRecording("read.wav", "Nyc|old");
    writeRecording("waiting.wav", "Pip|kept");
    ScriptedDialogs dialogs;
    MainWindow w;
    w.evaluationMode = EvaluationMode::Folder;
    w.wavDirectory = m_dir.path();
    w.loadingFileInfo = true;
    QTreeWidget *list = w.ui->treeWidget_2;
    QTreeWidgetItem *read = addRow(list, "read.wav", usable, {"Nyc"});
    auto *waiting = new fileViewTreeWidgetItem(list);
    waiting->setText(FileViewColumn::Name, QStringLiteral("waiting.wav"));
    waiting->setFlags(usable);
    // A row already read takes the user's comment at once, whatever rows are still to come.
    read->setText(FileViewColumn::Comment, QStringLiteral("typed"));
    QCOMPARE(description(path("read.wav")), QStringLiteral("Nyc +  +  + |||typed"));
    QVERIFY(dialogs.messages.isEmpty());
    // A row still waiting shows no classes: writing from it would wipe "Pip".
    dialogs.expectMessages(2);
    waiting->setText(FileViewColumn::Comment, QStringLiteral("too early"));
    QCOMPARE(description(path("waiting.wav")), QStringLiteral("Pip|kept"));
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.first().text, QStringLiteral("Please wait until the current job has finished."));
    QCOMPARE(waiting->text(FileViewColumn::Comment), QStringLiteral("kept"));
    // Another folder was opened meanwhile: the rows name its recordings' namesakes until the reload.
    w.headerLoadingRestartPending = true;
    read->setText(FileViewColumn::Comment, QStringLiteral("for the folder before"));
    QCOMPARE(description(path("read.wav")), QStringLiteral("Nyc +  +  + |||typed"));
    QCOMPARE(dialogs.messages.size(), 2);
    QCOMPARE(read->text(FileViewColumn::Comment), QStringLiteral("typed"));
}

void TestNavigation::commentRefused_data()
{
    QTest::addColumn<QString>("comment");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QStringList>("why"); // what the box says below its text
    // A long comment has the empty class slots dropped: "Pip|Pip|1|" leaves 246 bytes for it.
    const QString fits = QString(256 - QByteArray("Pip|Pip|1|").size(), QLatin1Char('x'));
    const QStringList tooLong{"takes 247 bytes", "of 256 bytes leaves 246"};
    QTest::newRow("a bar") << "a|b" << true << QStringList{"cannot hold \"|\""};
    QTest::newRow("text of 256 bytes") << fits << false << QStringList();
    QTest::newRow("text of 257 bytes") << fits + QLatin1Char('x') << true << tooLong;
    QTest::newRow("257 bytes through a letter of two") << fits.mid(1) + QStringLiteral("ü") << true << tooLong;
}

void TestNavigation::commentRefused()
{
    QFETCH(QString, comment);
    QFETCH(bool, refused);
    QFETCH(QStringList, why);
    writeRecording("refused.wav", "Pip|Pip|1|stored note");
    ScriptedDialogs dialogs;
    MainWindow w;
    w.evaluationMode = EvaluationMode::Tavron;
    w.wavDirectory = m_dir.path();
    fileViewTreeWidgetItem *row = addRow(w.ui->treeWidget_fileView, "refused.wav", usable, {"Pip"});
    row->setText(FileViewColumn::Proposal, QStringLiteral("Pip"));
    row->addAcceptCheckBox(true);
    // Typed into the cell's editor and committed with Enter, as a user does.
    QTreeWidget *list = w.ui->treeWidget_fileView;
    list->editItem(row, FileViewColumn::Comment);
    const QPointer<QLineEdit> typing = qobject_cast<QLineEdit *>(list->itemWidget(row, FileViewColumn::Comment));
    QVERIFY(typing);
    dialogs.expectMessages(refused ? 1 : 0);
    typing->setText(comment);
    QTest::keyClick(typing, Qt::Key_Return);
    QTRY_VERIFY(typing.isNull()); // committed and closed
    QCOMPARE(dialogs.messages.size(), refused ? 1 : 0);
    if (!refused) {
        QCOMPARE(description(path("refused.wav")).toUtf8().size(), 256);
        return;
    }
    QCOMPARE(dialogs.messages.first().text, QStringLiteral("The comment cannot be stored in the recording."));
    for (const QString &part : why)
        QVERIFY2(dialogs.messages.first().informativeText.contains(part), qPrintable(part));
    // The recording keeps its text, and the row shows the comment the recording holds.
    QCOMPARE(description(path("refused.wav")), QStringLiteral("Pip|Pip|1|stored note"));
    QCOMPARE(row->text(FileViewColumn::Comment), QStringLiteral("stored note"));
    // The typed text waits in the cell's editor, opened again, for the user to shorten it.
    QTRY_VERIFY(list->itemWidget(row, FileViewColumn::Comment));
    QCOMPARE(list->itemWidget(row, FileViewColumn::Comment)->property("text").toString(), comment);
}

void TestNavigation::commentWriteFails_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: the file is removed
    QTest::addColumn<QString>("why");        // how the reason below the text begins
    QTest::newRow("recording removed") << QByteArray()
                                       << "The file cannot be opened for writing: No such file or directory";
    QTest::newRow("not a RIFF file") << QByteArray("JUNK0000WAVEfmt ") << "The recording cannot be read to its end.";
    // Another program's five classes read as none: a comment written over them would wipe them unseen.
    QTest::newRow("five classes")
        << testsupport::WavWriter().fmt(250000, 16).data(QVector<int>(100, 1), 16).bext("A + B + C + D + E").bytes()
        << ClassAssignmentText::unreadDescriptionText();
}

void TestNavigation::commentWriteFails()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, why);
    QFile::remove(path("failing.wav"));
    if (!content.isEmpty())
        QVERIFY(testsupport::writeFile(path("failing.wav"), content));
    QVERIFY(testsupport::writeFile(path("kept.raw"), testsupport::WavWriter::pack(QVector<int>(100, 1), 16)));
    ScriptedDialogs dialogs;
    MainWindow w;
    w.evaluationMode = EvaluationMode::Folder;
    w.wavDirectory = m_dir.path();
    QTreeWidgetItem *row = addRow(w.ui->treeWidget_2, "failing.wav", usable);
    dialogs.expectMessages();
    row->setText(FileViewColumn::Comment, QStringLiteral("new"));
    QCOMPARE(dialogs.messages.size(), 1);
    const MessageBoxRequest &box = dialogs.messages.first();
    QCOMPARE(box.text, "Could not write file " + path("failing.wav") + "\nNew comment is not saved to wav file.");
    QCOMPARE(box.icon, QMessageBox::Critical);
    QVERIFY(box.informativeText.startsWith(why));
    QVERIFY(box.parent == &w && box.title.isEmpty());
    // The row shows what the recording holds: here no comment at all.
    QCOMPARE(row->text(FileViewColumn::Comment), QString());
    if (content.isEmpty())
        QVERIFY(!QFile::exists(path("failing.wav")));
    else
        QCOMPARE(testsupport::readFile(path("failing.wav")), content);
    // A RAW recording keeps its comment in the row only: nothing is written, nothing said.
    addRow(w.ui->treeWidget_2, "kept.raw", usable)->setText(FileViewColumn::Comment, QStringLiteral("a|b"));
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(QFileInfo(path("kept.raw")).size(), 200);
}

QUILLON_TEST(TestNavigation)
#include "tst_mainwindow_navigation.moc"
