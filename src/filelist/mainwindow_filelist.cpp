// Opening recordings and folders, and the header chain that fills the file
// lists one recording at a time from the header worker's replies.
#include "app/mainwindow.h"

#include "assignment/writefilebextthread.h"
#include "classmodel/classnamerules.h"
#include "common/columnwidths.h"
#include "common/evaluationmode.h"
#include "common/settingskeys.h"
#include "common/treecolumns.h"
#include "common/userdialogs.h"
#include "filelist/classtreerows.h"
#include "filelist/fileviewtreewidgetitem.h"
#include "filelist/folderlisting.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QSignalBlocker>
#include <QThread>
#include <QUrl>

namespace {

const QString &unassignedName = ClassNames::unassigned;
const QString &detectedNoCallName = ClassNames::detectedNoCall;

// The refusals of a drop or a command line: an information icon and no title.
void showInformation(QWidget *parent, const QString &text)
{
    MessageBoxRequest box;
    box.parent = parent;
    box.icon = QMessageBox::Information;
    box.text = text;
    userDialogs().message(box);
}

// Names enough to find the recordings again; a read-only folder fails for all of them.
constexpr int listedWriteBackFailures = 5;

// One line of the list: the recording's name and, where known, why it was not written.
QString writeBackFailureLine(const QString &name, const QString &reason)
{
    if (reason.isEmpty())
        return name;
    return name + QStringLiteral(": ") + QString(reason).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

QString writeBackFailureText(const QStringList &lines)
{
    const int count = lines.size();
    QString text = count == 1
                       ? QCoreApplication::translate("MainWindow", "1 recording could not be written:")
                       : QCoreApplication::translate("MainWindow", "%1 recordings could not be written:").arg(count);
    text += QLatin1Char('\n') + lines.mid(0, listedWriteBackFailures).join(QLatin1Char('\n'));
    if (count > listedWriteBackFailures)
        text += QLatin1Char('\n')
                + QCoreApplication::translate("MainWindow", "and %1 more").arg(count - listedWriteBackFailures);
    return text + QStringLiteral("\n\n")
           + QCoreApplication::translate("MainWindow",
                                         "These files do not hold the proposals and classes the list shows.");
}

// The recording a header request names for a row of the list.
QString headerRequestPath(const QString &directory, const QTreeWidgetItem *row)
{
    return directory + QLatin1Char('/') + row->text(FileViewColumn::Name);
}

bool isNoCall(const QString &proposal)
{
    return !fileViewTreeWidgetItem::hasCallProposal(proposal);
}

// New rows go above "Unassigned", which stays the last top-level row once it exists.
void insertAboveUnassigned(QTreeWidget *tree, QTreeWidgetItem *row)
{
    const int last = tree->topLevelItemCount() - 1;
    if (last >= 0 && tree->topLevelItem(last)->text(ClassTreeColumn::Class) == unassignedName)
        tree->insertTopLevelItem(last, row);
    else
        tree->addTopLevelItem(row);
}

} // namespace

QTreeWidget *MainWindow::modeFileList() const
{
    return evaluationMode == EvaluationMode::Folder ? widgets.folderList : widgets.evaluationList;
}

QProgressBar *MainWindow::modeProgressBar() const
{
    return evaluationMode == EvaluationMode::Folder ? widgets.folderProgress : widgets.evaluationProgress;
}

void MainWindow::setFolderActionsEnabled(bool enabled)
{
    ui->actionActivity_Plot->setEnabled(enabled);
    ui->actionExport_CSV_File->setEnabled(enabled);
    ui->actionExport_Tavron_File->setEnabled(enabled);
    ui->actionCopy_Files_to_other_Folder->setEnabled(enabled);
}

bool MainWindow::headerChainRunning() const
{
    return fileInfoThread->isRunning();
}

void MainWindow::stopHeaderThread()
{
    fileInfoThread->quit();
    fileInfoThread->wait();
}

void MainWindow::fillFolderList(const QStringList &names, bool editable)
{
    QTreeWidget *list = widgets.folderList;
    // Rows of a drop keep a new row's flags: their comments are not edited.
    fileViewTreeWidgetItem::fillSortedByName(
        list, names,
        editable ? std::optional<Qt::ItemFlags>(Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled)
                 : std::nullopt);
    list->resizeColumnToContents(FileViewColumn::Name);
    widgets.folderCount->setText(itemCountText(list->topLevelItemCount()));
}

void MainWindow::startHeaderChain()
{
    fileInfoThread->start(QThread::InheritPriority);
    loadingFileInfo = true;
    headerWriteBackFailures.clear();
    modeProgressBar()->setValue(1);
    // The worker may read ahead of the chain, as classifying one recording at
    // a time would leave most cores idle.
    QTreeWidget *list = modeFileList();
    QStringList paths;
    paths.reserve(list->topLevelItemCount());
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        paths << headerRequestPath(wavDirectory, list->topLevelItem(i));
    emit signalExpectFileHeaders(paths);
    requestFileHeader(0);
}

void MainWindow::requestFileHeader(int index)
{
    QTreeWidgetItem *row = modeFileList()->topLevelItem(index);
    if (!row)
        return;
    const QString path = headerRequestPath(wavDirectory, row);
    const bool calcClasses = evaluationMode == EvaluationMode::Tavron;
    const QString resultFile = evaluationMode == EvaluationMode::RecorderReview
                                   ? wavDirectory + QStringLiteral("/calls_ch1_files.txt")
                                   : QString();
    emit signalGetFileHeaderInfo(index, path, calcClasses, resultFile, reviewMode);
}

void MainWindow::on_actionOpen_File_triggered()
{
    if (calculating || !mayStart(JobGuard::Action::Open))
        return;
    const QString fileName = userDialogs().openFileName(
        this, tr("Open Bat Call File"), readSetting(SettingKeys::filePath), tr("Bat call files (*.wav *.raw)"));
    if (fileName.isEmpty())
        return;
    writeSetting(SettingKeys::filePath, fileName);
    setFolderActionsEnabled(false);
    evaluationMode = EvaluationMode::SingleFile;
    if (headerChainRunning()) {
        headerLoadingRestartPending = true;
        loadingFileInfo = false;
    }
    plot_Data(fileName);
}

void MainWindow::on_actionOpen_Folder_triggered()
{
    if (calculating || !mayStart(JobGuard::Action::Open))
        return;
    // A folder reached through a link keeps the link's path, in the list and in "folderPath".
    const QString folder =
        userDialogs().existingDirectory(this, tr("Open Directory"), readSetting(SettingKeys::folderPath),
                                        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    if (folder.isEmpty())
        return;
    const QStringList names = listRecordings(folder, EvaluationMode::Folder);
    if (names.isEmpty()) {
        MessageBoxRequest box;
        box.icon = QMessageBox::Warning;
        box.text = tr("No Bat Call Files in Folder");
        userDialogs().message(box);
        return;
    }
    wavDirectory = folder;
    writeSetting(SettingKeys::folderPath, folder);
    widgets.folderList->setSortingEnabled(false);
    setFolderActionsEnabled(false);
    evaluationMode = EvaluationMode::Folder;
    if (headerChainRunning()) {
        headerLoadingRestartPending = true;
        loadingFileInfo = false;
        return;
    }
    fillFolderList(names, true);
    plot_Data(wavDirectory + QLatin1Char('/') + names.first());
    startHeaderChain();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *e)
{
    if (e->mimeData()->hasUrls())
        e->acceptProposedAction();
}

bool MainWindow::confirmAbortEvaluation(const QString &text)
{
    if (!EvaluationMode::isEvaluation(evaluationMode))
        return true;
    return userDialogs().confirm(this, tr("Warning"), text);
}

void MainWindow::dropEvent(QDropEvent *e)
{
    if (calculating)
        return;
    QStringList paths;
    for (const QUrl &url : e->mimeData()->urls())
        paths << url.toLocalFile();
    openDroppedPaths(paths);
}

void MainWindow::openDroppedPaths(const QStringList &paths)
{
    if (calculating || paths.isEmpty() || !mayStart(JobGuard::Action::Open))
        return;
    const DropPlan plan = planDrop(paths);
    if (plan.kind == DropPlan::MixedRefused) {
        showInformation(this, plan.message);
        return;
    }
    if (plan.kind == DropPlan::OneFile) {
        if (!confirmAbortEvaluation(tr("Do you really want to abort current evaluation and load new file?")))
            return;
        if (!plan.isRecording) {
            showInformation(this, tr("File type not supported."));
            return;
        }
        evaluationMode = EvaluationMode::SingleFile;
        setFolderActionsEnabled(false);
        if (headerChainRunning()) {
            headerLoadingRestartPending = true;
            loadingFileInfo = false;
        }
        plot_Data(plan.path);
        return;
    }

    if (!confirmAbortEvaluation(tr("Do you really want to abort current evaluation and load new files?")))
        return;
    const DropCollection collection = collectDroppedRecordings(paths);
    if (collection.recordings.isEmpty())
        return;
    if (!collection.message.isEmpty()) {
        showInformation(this, collection.message);
        return;
    }
    wavDirectory = collection.directory;
    widgets.folderList->setSortingEnabled(false);
    setFolderActionsEnabled(false);
    evaluationMode = EvaluationMode::Folder;
    if (headerChainRunning()) {
        // The rows are about to be replaced: the guard writes nothing from them until the reload.
        headerLoadingRestartPending = true;
        return;
    }
    QStringList names;
    for (const QString &path : collection.recordings)
        names << QFileInfo(path).fileName();
    fillFolderList(names, false);
    plot_Data(collection.recordings.first());
    startHeaderChain();
}

void MainWindow::useCommandLineArguments()
{
    openCommandLine(QCoreApplication::arguments());
}

void MainWindow::openCommandLine(const QStringList &arguments)
{
    const CommandLineChoice choice = chooseCommandLineFile(arguments);
    switch (choice.kind) {
    case CommandLineChoice::Nothing:
        return;
    case CommandLineChoice::Recording:
        evaluationMode = EvaluationMode::SingleFile;
        setFolderActionsEnabled(false);
        plot_Data(choice.path);
        return;
    case CommandLineChoice::Unsupported:
        showInformation(this, tr("File type not supported."));
        return;
    }
}

void MainWindow::fileInfoHeaderFinished(int index, QString batClass, QString batClass2, QString batClass3,
                                        QString batClass4, QString autoClass, QString accepted, QString length,
                                        QString date, QString time, QString comment, bool writeBackFailed,
                                        QString writeBackFailure)
{
    if (headerLoadingRestartPending) {
        stopHeaderThread();
        headerLoadingRestartPending = false;
        widgets.folderProgress->setValue(0);
        restartFileHeaderLoading();
        return;
    }
    if (!EvaluationMode::hasFileList(evaluationMode)) {
        // A single recording was opened meanwhile: the chain ends here.
        loadingFileInfo = false;
        stopHeaderThread();
        return;
    }
    QTreeWidget *list = modeFileList();
    QTreeWidgetItem *row = list->topLevelItem(index);
    if (!row) {
        // The rows were replaced meanwhile; no later row exists either.
        finishHeaderChain();
        return;
    }
    const QString path = headerRequestPath(wavDirectory, row);
    if (writeBackFailed) {
        // Told as a single write tells it; the worker writes no text that does not fit, so none is given.
        headerWriteBackFailures << writeBackFailureLine(
            row->text(FileViewColumn::Name), WriteFileBextThread::failureReason(path, QString(), writeBackFailure));
    }
    showStoredDescription(path);
    // With proposals a change of the whole row follows the texts and tells the
    // list of every cell at once, so the texts go in without telling it cell
    // by cell: a list with item widgets looks each one up again.
    const bool rowChangeFollows = EvaluationMode::hasProposals(evaluationMode);
    {
        const QSignalBlocker toldWithTheRow(rowChangeFollows ? list->model() : nullptr);
        row->setText(FileViewColumn::Date, date);
        row->setText(FileViewColumn::Time, time);
        row->setText(FileViewColumn::Length, length);
        row->setTextAlignment(FileViewColumn::Length, Qt::AlignCenter);
        row->setText(FileViewColumn::Proposal, autoClass);
        if (evaluationMode <= EvaluationMode::Manual)
            row->setText(FileViewColumn::Accepted, accepted);
        row->setText(FileViewColumn::Class1, batClass);
        row->setText(FileViewColumn::Class2, batClass2);
        row->setText(FileViewColumn::Class3, batClass3);
        row->setText(FileViewColumn::Class4, batClass4);
        // The comment the recording holds already: no edit of the user's, nothing to write back.
        const QSignalBlocker fromTheRecording(list);
        row->setText(FileViewColumn::Comment, comment);
    }

    if (rowChangeFollows) {
        // A "No Call" beside classes of the user's own stays open to them:
        // they keep their classes or accept the proposal.
        const bool holdsClass =
            !(batClass.isEmpty() && batClass2.isEmpty() && batClass3.isEmpty() && batClass4.isEmpty());
        if (!isNoCall(autoClass) || holdsClass) {
            giveProposalRow(row, batClass, accepted);
        } else {
            if (auto *fileRow = dynamic_cast<fileViewTreeWidgetItem *>(row))
                fileRow->removeAcceptCheckBox();
            // The row keeps its flags; setting them is the change of the whole row.
            row->setFlags(row->flags());
        }
    }
    // The first row sizes the columns anew for this folder; each later one
    // widens them where its text needs more: rows without a date ("N/A")
    // above dated ones would leave the dates cut.
    for (const int column : {FileViewColumn::Date, FileViewColumn::Time, FileViewColumn::Length}) {
        if (index == 0)
            list->resizeColumnToContents(column);
        else
            widenColumnToCell(list, list->model()->index(index, column));
    }
    if (evaluationMode >= EvaluationMode::Manual)
        countHeaderClasses({batClass, batClass2, batClass3, batClass4}, autoClass);

    const int next = index + 1;
    const int count = list->topLevelItemCount();
    if (next < count) {
        modeProgressBar()->setValue(headerChainProgress(next, count));
        requestFileHeader(next);
    } else {
        finishHeaderChain();
    }
}

// A header reply gives the row its accept box; setting the box accepts nothing.
void MainWindow::giveProposalRow(QTreeWidgetItem *row, const QString &firstClass, const QString &accepted)
{
    const Qt::ItemFlags usable = Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
    auto *fileRow = dynamic_cast<fileViewTreeWidgetItem *>(row);
    if (!fileRow) {
        row->setFlags(usable);
        return;
    }
    fileRow->takeProposal(usable, accepted == QLatin1String("1"),
                          fileViewTreeWidgetItem::rowColourFor(accepted, firstClass));
}

void MainWindow::countHeaderClasses(const QStringList &classes, const QString &proposal)
{
    QTreeWidget *tree = widgets.classTree;
    if (classes.value(0).isEmpty()) {
        if (EvaluationMode::hasProposals(evaluationMode) && isNoCall(proposal)) {
            if (QTreeWidgetItem *row = ClassTreeRows::topLevelNamed(tree, detectedNoCallName)) {
                ClassTreeRows::addToCount(row, 1);
            } else {
                auto *created = new QTreeWidgetItem;
                created->setText(ClassTreeColumn::Class, detectedNoCallName);
                created->setText(ClassTreeColumn::Count, QStringLiteral("1"));
                created->setForeground(ClassTreeColumn::Class, QBrush(Qt::blue));
                insertAboveUnassigned(tree, created);
            }
        } else {
            ClassTreeRows::raiseUnassigned(tree);
        }
    }
    for (const QString &name : classes) {
        if (name.isEmpty())
            continue;
        if (QTreeWidgetItem *row = ClassTreeRows::firstNamed(tree, name)) {
            ClassTreeRows::addToCount(row, 1);
            continue;
        }
        auto *created = new QTreeWidgetItem;
        created->setText(ClassTreeColumn::Class, name);
        created->setText(ClassTreeColumn::Count, QStringLiteral("1"));
        created->setForeground(ClassTreeColumn::Class, QBrush(Qt::blue));
        insertAboveUnassigned(tree, created);
        tree->setItemWidget(created, ClassTreeColumn::Assign, classAssignButton(name, evaluationMode, false));
    }
}

void MainWindow::finishHeaderChain()
{
    QTreeWidget *list = modeFileList();
    modeProgressBar()->setValue(100);
    fileViewTreeWidgetItem::turnSortingOn(list);
    loadingFileInfo = false;
    stopHeaderThread();
    setFolderActionsEnabled(true);
    if (!headerWriteBackFailures.isEmpty()) {
        // Once per chain: a read-only folder would otherwise ask once per recording.
        MessageBoxRequest box;
        box.parent = this;
        box.icon = QMessageBox::Warning;
        box.title = tr("Warning");
        box.text = writeBackFailureText(headerWriteBackFailures);
        headerWriteBackFailures.clear();
        userDialogs().message(box);
    }
}

void MainWindow::restartFileHeaderLoading()
{
    if (!EvaluationMode::hasFileList(evaluationMode))
        return;
    const QStringList names = listRecordings(wavDirectory, evaluationMode);
    QTreeWidget *list = modeFileList();
    if (evaluationMode == EvaluationMode::Folder) {
        widgets.folderPane->show();
    } else {
        widgets.evaluationPane->show();
    }
    list->clear();
    if (names.isEmpty()) {
        // The folder lost its recordings meanwhile: nothing to show, nothing to ask.
        loadingFileInfo = false;
        (evaluationMode == EvaluationMode::Folder ? widgets.folderCount : widgets.evaluationCount)
            ->setText(itemCountText(0));
        return;
    }
    if (evaluationMode == EvaluationMode::Folder) {
        // Rows of a reload keep the default flags: their comments are not edited.
        fillFolderList(names, false);
    } else {
        fillEvaluationList(names);
        if (evaluationMode == EvaluationMode::Manual)
            widgets.folderPane->hide();
    }
    plot_Data(wavDirectory + QLatin1Char('/') + names.first());
    startHeaderChain();
}
