// The exports and the copy by class through the window's actions, on a
// folder of recordings opened for real and with the real copy worker.
#include "testregistry.h"

#include "common/settingskeys.h"
#include "evaluationfolder.h"
#include "export/exportcsvdialog.h"
#include "export/exporttavrondialog.h"
#include "export/exporttavrondialog2.h"
#include "export/recordingcopy.h"
#include "export/tavronexport.h"
#include "export/timezonechoicelist.h"

#include <QCheckBox>
#include <QComboBox>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTimer>

namespace {

using testsupport::readFile;

using evaluationfolder::waitSettled;

// Answers a check-tree dialog: unchecks the class rows named (all others with `keepOnly`), then OK.
std::function<void(QDialog *)> checkTree(const QStringList &names, bool keepOnly = false)
{
    return [names, keepOnly](QDialog *d) {
        auto *tree = d->findChild<QTreeWidget *>(QStringLiteral("treeWidget"));
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            QTreeWidgetItem *row = tree->topLevelItem(i);
            if (names.contains(row->text(0)) != keepOnly)
                qobject_cast<QCheckBox *>(tree->itemWidget(row, 2))->click();
        }
        d->accept();
    };
}

// Selects the zone offered under Berlin's name: standard offset +1 hour whatever the machine's zone.
void chooseBerlin(QDialog *d, const QList<QTimeZone> &zones)
{
    const QString name = TimeZoneChoiceList::displayName(QTimeZone("Europe/Berlin"));
    for (int i = 0; i < zones.size(); ++i) {
        if (TimeZoneChoiceList::displayName(zones.at(i)) == name)
            d->findChild<QComboBox *>(QStringLiteral("comboBox"))->setCurrentIndex(i);
    }
}

} // namespace

class TestMainWindowExport : public testsupport::GuiTestCase
{
    Q_OBJECT
private slots:
    void copyByClass();
    void copyFailuresCancelAndGuard();
    void exports();
    void tavronEvaluation();
    void refusedWhileHeadersAreRead();
    void failedCommentWrite();

private:
    // Writes recordings {name, description, "MM/dd/yy", "HH:mm:ss"} (no recording time without a date)
    // into a fresh folder.
    QString writeFolder(const QString &name, const QList<QStringList> &recordings)
    {
        m_folder = target(name);
        for (const QStringList &r : recordings) {
            testsupport::WavWriter writer;
            writer.fmt(250000, 16).data(QVector<int>(4096, int(r.at(0).at(0).unicode())), 16);
            writer.bext(r.at(1).toUtf8());
            if (!r.at(2).isEmpty())
                writer.chunk("TIME", testsupport::timePayload(r.at(2).toLatin1(), r.at(3).toLatin1()));
            writer.write(m_folder + QLatin1Char('/') + r.at(0) + ".wav");
        }
        return m_folder;
    }
    // Opens a folder of five recordings in the folder list: a, e "Bat" (a with a comment), b "Nyc + Pip",
    // c unassigned, d "Pip" a year earlier; e has no recording time.
    std::unique_ptr<MainWindow> openFolder(ScriptedDialogs &dialogs, const QString &name)
    {
        dialogs.fileAnswers << writeFolder(name, {{"a", "Bat|note", "06/15/21", "22:30:00"},
                                                  {"b", "Nyc + Pip|", "06/15/21", "22:30:30"},
                                                  {"c", "", "06/15/21", "22:45:00"},
                                                  {"d", "Pip|", "08/03/20", "01:00:00"},
                                                  {"e", "Bat|", "", ""}});
        auto w = std::make_unique<MainWindow>();
        w->ui->actionOpen_Folder->trigger();
        if (!evaluationfolder::waitSettled(*w))
            return nullptr;
        return w;
    }
    QString target(const QString &name) const
    {
        const QString path = m_dir.path() + QLatin1Char('/') + name;
        QDir().mkpath(path);
        return path;
    }

    QTemporaryDir m_dir;
    QString m_folder;
};

void TestMainWindowExport::copyByClass()
{
    ScriptedDialogs dialogs;
    auto w = openFolder(dialogs, "copy");
    QVERIFY(w);
    const QString to = target("copies");
    QVERIFY(testsupport::writeFile(to + "/a.wav", "old"));

    // Cancelled folder choice, then the recordings' own folder: nothing is offered.
    dialogs.fileAnswers << QString() << m_folder + "/.";
    dialogs.expectMessages();
    w->ui->actionCopy_Files_to_other_Folder->trigger();
    w->ui->actionCopy_Files_to_other_Folder->trigger();
    QVERIFY(dialogs.dialogRuns.isEmpty());
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.last().text, RecordingCopy::sameFolderText());

    // Bat and Unassigned: a, c, e. No keeps the old a.wav, Yes replaces it; Cancel copies nothing.
    const auto copyBatAndUnassigned = [&](QMessageBox::StandardButton answer, const QString &into) {
        dialogs.fileAnswers << into;
        dialogs.dialogAnswers << checkTree({"Nyc", "Pip"});
        dialogs.messageAnswers << answer;
        w->ui->actionCopy_Files_to_other_Folder->trigger();
        QVERIFY(waitSettled(*w));
    };
    copyBatAndUnassigned(QMessageBox::No, to);
    QCOMPARE(dialogs.messages.last().text, RecordingCopy::overwriteQuestionText());
    QCOMPARE(dialogs.messages.last().defaultButton, QMessageBox::No);
    QCOMPARE(QDir(to).entryList(QDir::Files), (QStringList{"a.wav", "c.wav", "e.wav"}));
    QCOMPARE(readFile(to + "/a.wav"), QByteArray("old"));
    QCOMPARE(readFile(to + "/e.wav"), readFile(m_folder + "/e.wav"));
    QCOMPARE(readSetting(SettingKeys::copyFilesPath), to);
    copyBatAndUnassigned(QMessageBox::Yes, to);
    QCOMPARE(readFile(to + "/a.wav"), readFile(m_folder + "/a.wav"));
    const QString other = target("other");
    QVERIFY(testsupport::writeFile(other + "/c.wav", "old"));
    copyBatAndUnassigned(QMessageBox::Cancel, other);
    QCOMPARE(QDir(other).entryList(QDir::Files), QStringList{"c.wav"});
    QCOMPARE(readSetting(SettingKeys::copyFilesPath), to);
}

void TestMainWindowExport::copyFailuresCancelAndGuard()
{
    ScriptedDialogs dialogs;
    auto w = openFolder(dialogs, "failing");
    QVERIFY(w);
    QVERIFY(QFile::remove(m_folder + "/a.wav") && QFile::remove(m_folder + "/c.wav"));

    // a fails: OK goes on; c fails: Cancel ends the chain before d and e.
    const QString to = target("partial");
    dialogs.fileAnswers << to;
    dialogs.dialogAnswers << checkTree({});
    dialogs.messageAnswers << QMessageBox::Ok << QMessageBox::Cancel;
    w->ui->actionCopy_Files_to_other_Folder->trigger();
    QVERIFY(waitSettled(*w));
    QCOMPARE(dialogs.messages.size(), 2);
    QCOMPARE(dialogs.messages.first().text, RecordingCopy::errorQuestionText("a.wav"));
    QCOMPARE(dialogs.messages.first().defaultButton, QMessageBox::Cancel);
    QCOMPARE(dialogs.messages.last().text, RecordingCopy::errorQuestionText("c.wav"));
    QCOMPARE(QDir(to).entryList(QDir::Files | QDir::Hidden), QStringList{"b.wav"});

    // While the chain runs, the exports and a second copy are refused; cancelled, it ends after b.
    const QString later = target("cancelled");
    dialogs.fileAnswers << later;
    dialogs.dialogAnswers << checkTree({"Bat", "Nyc", "Unassigned"});
    w->ui->actionCopy_Files_to_other_Folder->trigger();
    QCOMPARE(w->jobGuard.running(), JobGuard::Job::Copy);
    const int asked = dialogs.fileQuestions.size();
    dialogs.expectMessages(4);
    w->ui->actionExport_CSV_File->trigger();
    w->ui->actionExport_Tavron_File->trigger();
    w->ui->actionCopy_Files_to_other_Folder->trigger();
    w->exportCSVFileFromAction({w->ui->treeWidget_2->topLevelItem(1)});
    QCOMPARE(dialogs.fileQuestions.size(), asked);
    QCOMPARE(dialogs.messages.size(), 6);
    QCOMPARE(dialogs.messages.last().text, JobGuard::refusalText());
    w->progressDialog->cancel();
    QVERIFY(waitSettled(*w));
    QCOMPARE(QDir(later).entryList(QDir::Files), QStringList{"b.wav"});
}

void TestMainWindowExport::exports()
{
    ScriptedDialogs dialogs;
    auto w = openFolder(dialogs, "exports");
    QVERIFY(w);
    const QString csv = m_dir.path() + "/list.csv";

    // All classes, 1-minute events: e has no time and opens none; d's 2020 "Pip" is an event of its own.
    // A name typed without a suffix takes the filter's.
    dialogs.fileAnswers << m_dir.path() + "/list";
    dialogs.dialogAnswers << [](QDialog *d) {
        chooseBerlin(d, static_cast<exportcsvDialog *>(d)->timeZones);
        d->findChild<QCheckBox *>(QStringLiteral("checkBox"))->click();
        d->accept();
    };
    w->ui->actionExport_CSV_File->trigger();
    QStringList lines = QString::fromUtf8(readFile(csv)).split("\r\n");
    QVERIFY(lines.takeFirst().endsWith("];Length [s];Class1;Class2;Class3;Class4;1min class event (dynamic);Comment"));
    QCOMPARE(lines,
             (QStringList{"a.wav;15/06/21;22:30:00;0.016;Bat;;;;Bat;note",
                          "b.wav;15/06/21;22:30:30;0.016;Nyc;Pip;;;Nyc,Pip;", "c.wav;15/06/21;22:45:00;0.016;;;;;;",
                          "d.wav;03/08/20;01:00:00;0.016;Pip;;;;Pip;", "e.wav;N/A;N/A;0.016;Bat;;;;;", ""}));
    QCOMPARE(readSetting(SettingKeys::exportCSVPath), csv);

    // The selected rows in the order given, counted from themselves; a failed write keeps the stored path.
    dialogs.fileAnswers << m_dir.path() + "/missing/list.csv";
    dialogs.dialogAnswers << [](QDialog *d) {
        QCOMPARE(static_cast<exportcsvDialog *>(d)->checkedClasses, (QStringList{"Pip", "Unassigned"}));
        d->accept();
    };
    dialogs.expectMessages();
    w->exportCSVFileFromAction({w->ui->treeWidget_2->topLevelItem(3), w->ui->treeWidget_2->topLevelItem(2)});
    QCOMPARE(dialogs.messages.last().text, QStringLiteral("Could not write to file."));
    QCOMPARE(readSetting(SettingKeys::exportCSVPath), csv);

    // Tavron: Berlin's standard time moved to UTC+2, d moved into 2021, e left out and said so.
    const QString tavron = m_dir.path() + "/tavron.csv";
    dialogs.fileAnswers << tavron;
    dialogs.dialogAnswers << [](QDialog *d) {
        chooseBerlin(d, static_cast<ExportTavronDialog *>(d)->timeZones);
        d->findChild<QCheckBox *>(QStringLiteral("checkBox"))->click();
        d->accept();
    } << [](QDialog *d) {
        QCOMPARE(d->findChild<QComboBox *>()->currentText(), QStringLiteral("2021"));
        d->accept();
    };
    dialogs.expectMessages();
    w->ui->actionExport_Tavron_File->trigger();
    QCOMPARE(QString::fromUtf8(readFile(tavron)),
             TavronExport::headerLine()
                 + "\r\n15.06.2021 23:30:00;Bat;;;\r\n15.06.2021 23:30:30;Nyc;Pip;;\r\n03.08.2021 02:00:00;Pip;;;\r\n");
    QCOMPARE(dialogs.messages.last().text, TavronExport::leftOutText(1));
    QCOMPARE(readSetting(SettingKeys::exportTavronPath), tavron);

    // Selected unassigned rows: the dialog offers nothing to check, and the file, replaced, holds the header alone.
    dialogs.fileAnswers << tavron;
    dialogs.messageAnswers << QMessageBox::Yes;
    dialogs.dialogAnswers << checkTree({});
    w->exportTavronFileFromAction({w->ui->treeWidget_2->topLevelItem(2)});
    QCOMPARE(QString::fromUtf8(readFile(tavron)), TavronExport::headerLine() + "\r\n");
}

void TestMainWindowExport::tavronEvaluation()
{
    // p carries bat classes; u is unassigned and proposed as "No Call".
    const QString dir = writeFolder("evaluation", {{"p", "Pip + Nyc|Pip|1|", "06/15/21", "22:30:00"},
                                                   {"u", "|No Call|0|", "06/15/21", "22:45:00"}});
    ScriptedDialogs dialogs;
    auto w = evaluationfolder::open(dialogs, dir, EvaluationMode::Tavron);
    QVERIFY(w);

    // Tavron export of the fixed bat classes: only the clock is asked.
    const QString tavron = m_dir.path() + "/evaluation.csv";
    dialogs.fileAnswers << m_dir.path() + "/evaluation";
    dialogs.dialogAnswers << [](QDialog *d) {
        chooseBerlin(d, static_cast<ExportTavronDialog2 *>(d)->timeZones);
        d->accept();
    };
    w->ui->actionExport_Tavron_File->trigger();
    QCOMPARE(dialogs.dialogRuns.last().className, QStringLiteral("ExportTavronDialog2"));
    QCOMPARE(QString::fromUtf8(readFile(tavron)), TavronExport::headerLine() + "\r\n15.06.2021 22:30:00;Pip;Nyc;;\r\n");

    // CSV from the class tree: u is listed under "Detected No Call" alone.
    const QString csv = m_dir.path() + "/evaluation-list.csv";
    dialogs.fileAnswers << csv;
    dialogs.dialogAnswers << checkTree({});
    w->ui->actionExport_CSV_File->trigger();
    QStringList lines = QString::fromUtf8(readFile(csv)).split("\r\n").mid(1);
    QCOMPARE(lines, (QStringList{"p.wav;15/06/21;22:30:00;0.016;Pip;Nyc;;;",
                                 "u.wav;15/06/21;22:45:00;0.016;Detected No Call;;;;", ""}));

    // Copy of "Detected No Call" alone: u.
    const QString to = target("detected");
    dialogs.fileAnswers << to;
    dialogs.dialogAnswers << checkTree({"Detected No Call"}, true);
    w->ui->actionCopy_Files_to_other_Folder->trigger();
    QVERIFY(waitSettled(*w));
    QCOMPARE(QDir(to).entryList(QDir::Files), QStringList{"u.wav"});
}

void TestMainWindowExport::refusedWhileHeadersAreRead()
{
    ScriptedDialogs dialogs;
    dialogs.fileAnswers << writeFolder("loading",
                                       {{"a", "Bat|", "06/15/21", "22:30:00"}, {"b", "Nyc|", "06/15/21", "22:31:00"}});
    auto w = std::make_unique<MainWindow>();
    w->ui->actionOpen_Folder->trigger();
    evaluationfolder::HeaderPause pause(*w);
    QTreeWidget *list = w->ui->treeWidget_2;
    QVERIFY(testsupport::waitUntil(
        [&]() { return !list->topLevelItem(0)->text(FileViewColumn::Date).isEmpty() && !w->calculating; }));
    const int asked = dialogs.fileQuestions.size();

    // b is not read yet and would count as unassigned: nothing that reads every row starts.
    dialogs.expectMessages(6);
    bool activityShown = false;
    QTimer::singleShot(0, [&activityShown]() {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            activityShown = true;
            dialog->close();
        }
    });
    w->ui->actionActivity_Plot->trigger();
    QCoreApplication::processEvents();
    w->ui->actionExport_CSV_File->trigger();
    w->ui->actionExport_Tavron_File->trigger();
    w->ui->actionCopy_Files_to_other_Folder->trigger();
    w->exportCSVFileFromAction({list->topLevelItem(0)});
    w->exportTavronFileFromAction({list->topLevelItem(0)});
    QVERIFY(!activityShown);
    QCOMPARE(dialogs.fileQuestions.size(), asked);
    QCOMPARE(dialogs.messages.size(), 6);
    for (const MessageBoxRequest &message : qAsConst(dialogs.messages))
        QCOMPARE(message.text, JobGuard::refusalText());
    pause.release();
    QVERIFY(waitSettled(*w));
}

void TestMainWindowExport::failedCommentWrite()
{
    // b's last chunk runs past the end of the file: its description is read, but never written.
    ScriptedDialogs dialogs;
    dialogs.fileAnswers << writeFolder("comment", {{"a", "Bat|", "06/15/21", "22:30:00"}});
    testsupport::WavWriter broken;
    broken.fmt(250000, 16).data(QVector<int>(4096, 7), 16).bext("Nyc|stored");
    broken.chunk("junk", "xx", true, 100);
    QVERIFY(broken.write(m_folder + "/b.wav"));
    auto w = std::make_unique<MainWindow>();
    w->ui->actionOpen_Folder->trigger();
    QVERIFY(waitSettled(*w));
    QTreeWidgetItem *b = w->ui->treeWidget_2->topLevelItem(1);
    QCOMPARE(b->text(FileViewColumn::Comment), QStringLiteral("stored"));

    // After the message the row shows what the recording holds, and the export lists that.
    dialogs.expectMessages();
    b->setText(FileViewColumn::Comment, "typed");
    QCOMPARE(dialogs.messages.last().text,
             "Could not write file " + m_folder + "/b.wav\nNew comment is not saved to wav file.");
    QCOMPARE(b->text(FileViewColumn::Comment), QStringLiteral("stored"));
    const QString csv = m_dir.path() + "/comment.csv";
    dialogs.fileAnswers << csv;
    dialogs.dialogAnswers << [](QDialog *d) { d->accept(); };
    w->ui->actionExport_CSV_File->trigger();
    QVERIFY(QString::fromUtf8(readFile(csv)).contains(";Nyc;;;;stored\r\n"));
}

QUILLON_TEST(TestMainWindowExport)
#include "tst_mainwindow_export.moc"
