// The three evaluations of a folder: the manual one with a class model the
// user puts together, the Tavron evaluation with its built-in tree and
// computed proposals, and the review of the recorder's own analysis; and the
// class tree each of them starts from.
#include "app/mainwindow.h"

#include "analysis/recorderresultlookup.h"
#include "classmodel/classmodeltext.h"
#include "classmodel/openmodeldialog.h"
#include "common/evaluationmode.h"
#include "common/settingskeys.h"
#include "common/treecolumns.h"
#include "common/userdialogs.h"
#include "filelist/filelistlogging.h"
#include "filelist/fileviewtreewidgetitem.h"
#include "filelist/folderlisting.h"
#include "filelist/reviewfolderdialog.h"
#include "recording/recordingkind.h"
#include "ui_mainwindow.h"

#include <QFileInfo>
#include <QPushButton>

namespace {

const QString recorderResultFile = QStringLiteral("calls_ch1_files.txt");

// The warnings of a refused or doubtful folder: no parent, no title.
void warn(const QString &text)
{
    MessageBoxRequest box;
    box.icon = QMessageBox::Warning;
    box.text = text;
    userDialogs().message(box);
}

bool confirmTavronEvaluation()
{
    return userDialogs().confirm(nullptr, QCoreApplication::translate("MainWindow", "Warning"),
                                 QCoreApplication::translate("MainWindow",
                                                             "Tavron Evaluation allows only Tavron compatible\n"
                                                             "classifications.\n\nAll preassigned non-Tavron "
                                                             "classifications will be discarded."));
}

bool listsRawFile(const QStringList &names)
{
    for (const QString &name : names) {
        if (recordingKind(name) == RecordingKind::Raw)
            return true;
    }
    return false;
}

const Setting<QString> &folderKeyOf(int mode)
{
    switch (mode) {
    case EvaluationMode::Manual:
        return SettingKeys::evaluationFolderPath;
    case EvaluationMode::Tavron:
        return SettingKeys::tavronFolderPath;
    default:
        return SettingKeys::tavronReviewPath;
    }
}

} // namespace

void MainWindow::on_actionEvaluate_Folder_triggered()
{
    openEvaluationFolder(EvaluationMode::Manual);
}

void MainWindow::on_actionTavron_Folder_Evaluation_triggered()
{
    openEvaluationFolder(EvaluationMode::Tavron);
}

void MainWindow::on_actionManual_Review_of_RECORDER_VOD_Offline_Analysis_triggered()
{
    openEvaluationFolder(EvaluationMode::RecorderReview);
}

void MainWindow::openEvaluationFolder(int mode)
{
    if (calculating || !mayStart(JobGuard::Action::Open))
        return;
    const bool review = mode == EvaluationMode::RecorderReview;
    const Setting<QString> &folderKey = folderKeyOf(mode);
    const QString folder = userDialogs().existingDirectory(
        this, review ? tr("Open Review Folder") : tr("Open Evaluation Folder"), readSetting(folderKey));
    if (folder.isEmpty())
        return;
    const QStringList names = listRecordings(folder, mode);
    if (names.isEmpty()) {
        warn(review ? tr("No Bat Call WAV Files in Folder") : tr("No Bat Call Files in Folder"));
        return;
    }

    // Up to the class tree nothing of the window changes but the folder key
    // and, in a review, the review tree chosen.
    QString modelText;
    if (review) {
        ReviewFolderDialog choice(this);
        if (userDialogs().runDialog(&choice) != QDialog::Accepted)
            return;
        reviewMode = choice.simpleTree ? 0 : 1;
        writeSetting(folderKey, folder);
        qCDebug(lcFileList) << "review folder" << folder;
        if (!QFileInfo(folder + QLatin1Char('/') + recorderResultFile).isFile()) {
            warn(tr("The selected folder does not contain the resulting file 'calls_ch1_files.txt' of a ZEVEDADI "
                    "VOD Offline Analysis.\n\nPlease run the VOD Offline Analysis with the software ZEVEDADI first."));
            return;
        }
        // Refused here, before the folder is shown, rather than reviewed without a single proposal.
        RecorderResultIndex resultList;
        if (!resultList.read(folder + QLatin1Char('/') + recorderResultFile)) {
            warn(resultList.faultText());
            return;
        }
        modelText = reviewMode == 0 ? ClassModelText::simpleReviewTree() : ClassModelText::advancedReviewTree();
    } else {
        if (mode == EvaluationMode::Tavron && !confirmTavronEvaluation())
            return;
        writeSetting(folderKey, folder);
        if (listsRawFile(names))
            warn(tr("You are evaluating a folder which contains raw-files. Please be aware that your classification "
                    "progress is not saved for this type of file. By closing the evaluation mode or quiting the "
                    "programm your classifications will be lost."));
        if (mode == EvaluationMode::Manual) {
            OpenModelDialog editor(this);
            if (userDialogs().runDialog(&editor) != QDialog::Accepted)
                return;
            modelText = editor.getModelText();
        } else {
            modelText = ClassModelText::tavronTree();
        }
    }

    fillClassTree(modelText, mode);
    wavDirectory = folder;
    widgets.evaluationList->setSortingEnabled(false);
    setFolderActionsEnabled(false);
    evaluationMode = mode;
    if (headerChainRunning()) {
        // The reply in flight ends the running chain and lists this folder anew.
        headerLoadingRestartPending = true;
        loadingFileInfo = false;
        return;
    }
    fillEvaluationList(names);
    plot_Data(wavDirectory + QLatin1Char('/') + names.first());
    startHeaderChain();
}

void MainWindow::fillEvaluationList(const QStringList &names)
{
    QTreeWidget *list = widgets.evaluationList;
    // With proposals a row waits for its header reply before it can be
    // chosen: only the reply tells whether the recording holds a call.
    const bool proposals = EvaluationMode::hasProposals(evaluationMode);
    fileViewTreeWidgetItem::fillSortedByName(
        list, names, proposals ? Qt::NoItemFlags : Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled);
    list->resizeColumnToContents(FileViewColumn::Name);
    list->setColumnHidden(FileViewColumn::Proposal, !proposals);
    list->setColumnHidden(FileViewColumn::Accepted, !proposals);
    widgets.evaluationCount->setText(itemCountText(list->topLevelItemCount()));
}

void MainWindow::fillClassTree(const QString &modelText, int mode)
{
    QTreeWidget *tree = widgets.classTree;
    tree->clear();
    const ClassModel model = ClassModelText::read(modelText, ClassModelText::Names::Trimmed).model;
    for (const ClassModelEntry &cls : model) {
        auto *row = new QTreeWidgetItem(tree, QStringList{cls.name, QStringLiteral("0"), cls.shortcut});
        tree->setItemWidget(row, ClassTreeColumn::Assign, classAssignButton(cls.name, mode, false));
        for (const ClassModelEntry &sub : cls.subclasses) {
            auto *subRow = new QTreeWidgetItem(row, QStringList{sub.name, QStringLiteral("0"), sub.shortcut});
            tree->setItemWidget(subRow, ClassTreeColumn::Assign, classAssignButton(sub.name, mode, true));
        }
        row->setExpanded(true);
    }
}

// Every assign button of the class tree is made here, for the model's rows
// and for the classes the header replies find: the one place to connect a
// button's clicked() to the assignment of the selected recordings.
QPushButton *MainWindow::classAssignButton(const QString &name, int mode, bool subclass)
{
    auto *button = new QPushButton;
    button->setText(QString());
    button->setIcon(QIcon(QStringLiteral(":/images/green_arrow_left.png")));
    QString prefix;
    if (mode == EvaluationMode::Manual)
        prefix = subclass ? tr("Assign selected File/s to Subclass ") : tr("Assign selected File/s to Class ");
    else
        prefix = subclass ? tr("Assign selected file/s to subclass ") : tr("Assign selected file/s to class ");
    button->setToolTip(prefix + QLatin1Char('"') + name + QLatin1Char('"'));
    connect(button, &QPushButton::clicked, this, &MainWindow::assignFileToClass);
    return button;
}
