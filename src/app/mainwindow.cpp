#include "app/mainwindow.h"

#include "analysis/calcspectrogramthread.h"
#include "analysis/getfileinfothread.h"
#include "app/abouttext.h"
#include "app/progressthrottle.h"
#include "app/settingsstorerepair.h"
#include "app/spectrogramsettingsdialog.h"
#include "assignment/writefilebextthread.h"
#include "audio/audioplayer.h"
#include "common/columnwidths.h"
#include "common/evaluationmode.h"
#include "common/settingskeys.h"
#include "common/themecode.h"
#include "common/treecolumns.h"
#include "common/userdialogs.h"
#include "export/copyfilesthread.h"
#include "filelist/filerowindex.h"
#include "platform/desktoptheme.h"
#include "platform/taskbarbutton.h"
#include "platform/taskbarprogress.h"
#include "recording/audiosamplereader.h"
#include "recording/wavfile.h"
#include "ui_mainwindow.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLocale>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QThread>

namespace {

// The settings dialog is built for a 300 kHz recording until one is shown.
constexpr int initialDialogSampleRate = 300000;

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui_MainWindow)
{
    ui->setupUi(this);
    widgets = windowWidgetsOf(*ui);

    setApplicationIdentity();
    // Before the first read: one value Qt cannot decode would throw out of every access to the store.
    repairSettingsStoreAtStart(this);

    ui->actionOpen_File->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    ui->actionOpen_Folder->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    ui->actionAudio_Settings->setIcon(style()->standardIcon(QStyle::SP_MediaVolume));

    auto *themeGroup = new QActionGroup(this);
    themeGroup->addAction(ui->actionWindows_Theme);
    themeGroup->addAction(ui->actionDark_Theme);
    themeGroup->addAction(ui->actionLight_Theme);

    setWindowTitle(QCoreApplication::applicationName());
    setAcceptDrops(true);

    firstPlot = true;
    evaluationMode = EvaluationMode::SingleFile;
    audioPending = true;
    loadingFileInfo = false;
    reviewMode = 0;

    // The theme applied at the end sets these again; until then the light set shows.
    setThemeButtonIcons(false);

    taskbarButton = new TaskbarButton(this);
    taskbarProgress = taskbarButton->progress();
    ui->statusBar->hide();
    ui->progressBar->hide();
    taskbarProgress->hide();

    // Small and centred until a recording is shown; the first spectrogram then
    // restores the stored layout.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, QSize(500, 300), screen->availableGeometry()));

    setUpPlots();
    setUpPlayer();

    audioData = QByteArray();
    playData = QByteArray();

    // Nothing to export or plot before a recording or folder is loaded.
    ui->actionExport_Amplitude_Plot->setEnabled(false);
    ui->actionExport_Frequency_Plot->setEnabled(false);
    ui->actionExport_Spectrogram->setEnabled(false);
    ui->actionExport_CSV_File->setEnabled(false);
    ui->actionExport_Tavron_File->setEnabled(false);
    ui->actionCopy_Files_to_other_Folder->setEnabled(false);
    ui->actionActivity_Plot->setEnabled(false);

    // Plots, player and tool bar, class tree and both file lists appear when loading fills them.
    widgets.plotsPane->hide();
    widgets.toolBar->hide();
    widgets.evaluationPane->hide();
    widgets.folderPane->hide();
    connect(widgets.splitterMain, &QSplitter::splitterMoved, this, &MainWindow::shareListHeight);

    setUpTrees();

    spectroSettingsDialog = new SpectrogramSettingsDialog(this, initialDialogSampleRate);
    connect(spectroSettingsDialog, &SpectrogramSettingsDialog::colormapChanged, this, &MainWindow::slotColormapChanged);
    connect(spectroSettingsDialog, &SpectrogramSettingsDialog::frequencyMarkerChanged, this,
            &MainWindow::slotFrequencyMarkerChanged);
    connect(spectroSettingsDialog, &SpectrogramSettingsDialog::scaleAmplitudeChanged, this,
            &MainWindow::slotAmplitudeScaleChanged);
    connect(spectroSettingsDialog, &SpectrogramSettingsDialog::scaleFrequencyChanged, this,
            &MainWindow::slotFrequencyScaleChanged);
    connect(spectroSettingsDialog, &SpectrogramSettingsDialog::scaleTimeChanged, this,
            &MainWindow::slotTimeScaleChanged);
    connect(spectroSettingsDialog, &SpectrogramSettingsDialog::apply, this, &MainWindow::slotApplySpectroSettings);
    connect(spectroSettingsDialog, &SpectrogramSettingsDialog::signalAudioControlsChanged, this,
            &MainWindow::audioControlsChanged);
    connect(spectroSettingsDialog, &SpectrogramSettingsDialog::timePlotChanged, this, &MainWindow::slotTimePlotChanged);
    connect(spectroSettingsDialog, &SpectrogramSettingsDialog::frequencyPlotChanged, this,
            &MainWindow::slotFrequencyPlotChanged);

    // The workers have no parent: each is about to change thread. The window
    // talks to them only through queued signals.
    spectrogramThread = new QThread;
    auto *spectrogramWorker = new calcSpectrogramThread;
    connect(this, &MainWindow::signalCalcSpektrogramm, spectrogramWorker, &calcSpectrogramThread::process);
    spectrogramWorker->moveToThread(spectrogramThread);
    connect(spectrogramThread, &QThread::finished, spectrogramWorker, &QObject::deleteLater);
    // A refusal arrives just before the empty reply of the same request.
    connect(spectrogramWorker, &calcSpectrogramThread::error, this, [this](const QString &reason) {
        if (calculating)
            spectrogramRefusal = reason;
    });
    connect(spectrogramWorker, &calcSpectrogramThread::finished, this, &MainWindow::spectrogramCalculated);
    // Up to a hundred reports per recording: each would repaint the bar before
    // the result could be taken, so the bars show the latest one now and then.
    spectrogramProgress = new ProgressThrottle(this);
    connect(spectrogramWorker, &calcSpectrogramThread::signalProgressBar, spectrogramProgress,
            &ProgressThrottle::report);
    connect(spectrogramProgress, &ProgressThrottle::progress, ui->progressBar, &QProgressBar::setValue);
    connect(spectrogramProgress, &ProgressThrottle::progress, taskbarProgress, &TaskbarProgress::setValue);
    spectrogramThread->start();

    // Started for each folder's header chain and stopped at its end.
    fileInfoThread = new QThread;
    auto *headerWorker = new GetFileInfoThread;
    connect(this, &MainWindow::signalGetFileHeaderInfo, headerWorker, &GetFileInfoThread::getFileHeaderInfo);
    connect(this, &MainWindow::signalExpectFileHeaders, headerWorker, &GetFileInfoThread::expectFileHeaderRequests);
    headerWorker->moveToThread(fileInfoThread);
    connect(headerWorker, &GetFileInfoThread::signalFileInfoHeaderFinished, this, &MainWindow::fileInfoHeaderFinished);
    connect(headerWorker, &GetFileInfoThread::signalProgressBar, ui->progressBar, &QProgressBar::setValue);
    connect(headerWorker, &GetFileInfoThread::signalShowMessage, this,
            [this](const QString &text) { userDialogs().information(this, QString(), text); });
    // Not on the thread's finished(): the thread stops after every chain, the worker stays.
    connect(fileInfoThread, &QObject::destroyed, [headerWorker]() { delete headerWorker; });
    headerLoadingRestartPending = false;

    // Runs for the window's life: every class write of a chained job goes through it, one recording per request.
    bextThread = new QThread;
    auto *bextWorker = new WriteFileBextThread;
    connect(this, &MainWindow::signalWriteFileBextExtended, bextWorker, &WriteFileBextThread::writeFileBextExtended);
    connect(this, &MainWindow::signalRenameClassFile, bextWorker, &WriteFileBextThread::renameClassFile);
    connect(this, &MainWindow::signalDeleteClassFile, bextWorker, &WriteFileBextThread::deleteClassFile);
    connect(this, &MainWindow::signalUnassignFile, bextWorker, &WriteFileBextThread::unassignFile);
    connect(this, &MainWindow::signalResetFile, bextWorker, &WriteFileBextThread::resetFile);
    bextWorker->moveToThread(bextThread);
    connect(bextThread, &QThread::finished, bextWorker, &QObject::deleteLater);
    connect(bextWorker, &WriteFileBextThread::signalFileBextFinishedExtended, this,
            &MainWindow::fileBextFinishedExtended);
    connect(bextWorker, &WriteFileBextThread::signalRenameClassFile, this, &MainWindow::renameClassFileFinished);
    connect(bextWorker, &WriteFileBextThread::signalDeleteClassFile, this, &MainWindow::deleteClassFileFinished);
    connect(bextWorker, &WriteFileBextThread::signalUnassignFile, this, &MainWindow::unassignFileFinished);
    connect(bextWorker, &WriteFileBextThread::signalResetFile, this, &MainWindow::resetFileFinished);
    bextThread->start();

    // Runs for the window's life: the copy by class sends it one file per request.
    copyThread = new QThread;
    auto *copyWorker = new CopyFilesThread;
    connect(this, &MainWindow::copyFiles, copyWorker, &CopyFilesThread::copyFiles);
    copyWorker->moveToThread(copyThread);
    connect(copyThread, &QThread::finished, copyWorker, &QObject::deleteLater);
    connect(copyWorker, &CopyFilesThread::signalCopyFinished, this, &MainWindow::copyingFinished);
    copyThread->start();

    connect(this, &MainWindow::signalProgress, ui->progressBar, &QProgressBar::setValue);
    connect(this, &MainWindow::signalProgress, taskbarProgress, &TaskbarProgress::setValue);

    // Every keyboard shortcut of the window is handled in its application-wide event filter.
    qApp->installEventFilter(this);

    wavFile = new WavFile;
    rawFile = new AudioSampleReader;

    applyStoredViewSettings();
}

MainWindow::~MainWindow()
{
    saveLayout();
    // No event reaches a half-destroyed window, and no worker still reads its samples.
    qApp->removeEventFilter(this);
    spectrogramThread->quit();
    spectrogramThread->wait();
    delete spectrogramThread;
    fileInfoThread->quit();
    fileInfoThread->wait();
    delete fileInfoThread;
    // A write in progress ends first; replies still queued for this window are dropped with it.
    bextThread->quit();
    bextThread->wait();
    delete bextThread;
    // A file being copied is finished first, so that no temporary copy is left in the target folder.
    copyThread->quit();
    copyThread->wait();
    delete copyThread;
    // Qt's PulseAudio output handles the events waiting in the queue while it
    // closes. It goes now, while the window is whole, and the replies still
    // queued for the window go before it: nothing reaches a window half torn down.
    QCoreApplication::removePostedEvents(this);
    delete audioPlayer;
    audioPlayer = nullptr;
    delete rawFile;
    delete wavFile;
    delete ui;
}

void MainWindow::setUpTrees()
{
    QTreeWidget *classTree = widgets.classTree;
    classTree->setHeaderLabels(classTreeHeaderLabels());
    classTree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(classTree, &QWidget::customContextMenuRequested, this, &MainWindow::rightClickMenu);
    // The style's minimum section size (about 36 px) would widen the narrow
    // button and check-box columns past the widths they are given.
    classTree->header()->setMinimumSectionSize(30);
    // The form's widths, wider where the desktop's font needs more for a
    // header ("Shortcut"); the tree keeps the 20 px the form leaves beside its
    // 270 px of columns for the frame and a vertical scroll bar.
    const int columns = setColumnWidthsAtLeast(classTree, {150, 40, 50, 30});
    classTree->setFixedWidth(qMax(classTree->minimumWidth(), columns + 20));

    QTreeWidget *secondList = widgets.folderList;
    secondList->setHeaderLabels(fileViewHeaderLabels());
    secondList->setContextMenuPolicy(Qt::CustomContextMenu);
    secondList->hideColumn(FileViewColumn::Proposal);
    secondList->hideColumn(FileViewColumn::Accepted);
    connect(secondList, &QWidget::customContextMenuRequested, this, &MainWindow::rightClickMenu_2);

    FileListWidget *fileList = widgets.evaluationList;
    fileList->setHeaderLabels(fileViewHeaderLabels());
    fileList->header()->setSectionResizeMode(FileViewColumn::Accepted, QHeaderView::Fixed);
    fileList->setContextMenuPolicy(Qt::CustomContextMenu);
    fileList->header()->setMinimumSectionSize(15);
    fileList->setColumnWidth(FileViewColumn::Accepted, 15);
    fileList->hideColumn(FileViewColumn::Proposal);
    fileList->hideColumn(FileViewColumn::Accepted);
    connect(fileList, &QWidget::customContextMenuRequested, this, &MainWindow::rightClickMenu_fileView);
    // The list makes a row's accept box as the row comes into view: the one
    // place where a box's stateChanged(int) is tied to the acceptance.
    connect(fileList, &FileListWidget::acceptBoxMade, this,
            [this](QCheckBox *box) { connect(box, &QCheckBox::stateChanged, this, &MainWindow::acceptProposal); });
    fileViewRows = new FileRowIndex(fileList);
}

void MainWindow::applyStoredViewSettings()
{
    ui->actionGrid->setChecked(readSetting(SettingKeys::grid));
    ui->actionCategorization->setChecked(readSetting(SettingKeys::categorization));
    QAction *markerActions[] = {ui->actionFrequency_Marker_1, ui->actionFrequency_Marker_2,
                                ui->actionFrequency_Marker_3};
    for (size_t k = 0; k < SettingKeys::markersShown.size(); ++k)
        markerActions[k]->setChecked(readSetting(SettingKeys::markersShown[k]));

    applyStoredPlotSettings();

    const int theme = readSetting(SettingKeys::theme);
    switch (theme) {
    case ThemeCode::FollowSystem:
        ui->actionWindows_Theme->setChecked(true);
        break;
    case ThemeCode::Light:
        ui->actionLight_Theme->setChecked(true);
        break;
    case ThemeCode::Dark:
        ui->actionDark_Theme->setChecked(true);
        break;
    default:
        break;
    }
    applyThemeCode(theme);

    applyStoredPlayerSettings();
}

void MainWindow::on_actionAbout_triggered()
{
    MessageBoxRequest about;
    about.parent = nullptr;
    about.icon = QMessageBox::Information;
    about.title = QStringLiteral("About");
    about.text = aboutBoxText(QCoreApplication::applicationName(), applicationVersionText(),
                              buildDateFromCompilerDate(__DATE__));
    about.textFormat = Qt::RichText;
    about.buttons = QMessageBox::Ok;
    about.defaultButton = QMessageBox::Ok;
    userDialogs().message(about);
}
