#pragma once

#include "analysis/blob.h"
#include "analysis/mybatcall.h"
#include "app/windowwidgets.h"
#include "assignment/filerowlist.h"
#include "assignment/jobguard.h"
#include "common/evaluationmode.h"
#include "display/frequencyplot.h"
#include "display/spectrogramplot.h"
#include "display/timeplot.h"
#include "filelist/classrowtexts.h"

#include <QAudio>
#include <QByteArray>
#include <QList>
#include <QMainWindow>
#include <QPointF>
#include <QPolygon>
#include <QString>
#include <QStringList>
#include <QVector>

#include <unordered_map>
#include <vector>

class Ui_MainWindow;

class QCheckBox;
class QDragEnterEvent;
class QDropEvent;
class QFrame;
class QKeyEvent;
class QLabel;
class QPoint;
class QProgressBar;
class QProgressDialog;
class QPushButton;
class QScrollBar;
class QThread;
class QTreeWidget;
class QTreeWidgetItem;

class QwtMatrixRasterData;
class QwtPlotCanvas;
class QwtPlotCurve;
class QwtPlotGrid;
class QwtPlotMarker;
class QwtPlotPicker;
class QwtPlotScaleItem;
class QwtPlotSpectrogram;
class QwtPlotTextLabel;
class QwtScaleWidget;
class QwtInterval;

class AudioPlayer;
class AudioSampleReader;
class FileRowIndex;
class MyQwtPlotPicker;
class MyQwtZoomer;
class MyQwtZoomer10;
class MyQwtZoomer2;
class MyRectCallsMarker;
class MyRectRangeMarker;
class PlayerControls;
class ProgressThrottle;
class RangeMarker;
class SpectrogramInteraction;
class SpectrogramScroller;
class SpectrogramSettingsDialog;
class TaskbarButton;
class TaskbarProgress;
class WavFile;
struct AxisRange;
struct LevelRange;
struct TavronExportOptions;
namespace ClassTextRules {
struct Outcome;
}
namespace ContextMenus {
struct Entry;
struct FileListState;
} // namespace ContextMenus
struct ShownFormat;

/**
 * The one top-level window and the switchboard of the program: it owns the
 * form, the plots, the player, the trees, the settings dialog, the recording on
 * show and the workers. Its operations live beside their subsystems, each in
 * that subsystem's mainwindow_<subsystem>.cpp; the shell's folder holds its
 * construction and the shell's own handlers.
 *
 * Its state is public: every subsystem's operations and the dialogs it opens
 * (the activity plots read the file list) reach it, and so do their tests.
 */
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // The window's members come in two kinds. Its documented state, in the
    // first block below, keeps the names, types and starting values that the
    // rest of the program, its dialogs and its tests know it by. Everything
    // marked "own helpers" (the second block, the public functions after the
    // slots and every private function) is this window's own way of carrying
    // that out and may change with it.

    // --- Documented state: shell, form, taskbar, settings dialog ---------------
    Ui_MainWindow *ui = nullptr;
    TaskbarButton *taskbarButton = nullptr;
    TaskbarProgress *taskbarProgress = nullptr;                 // hidden until a worker reports progress
    SpectrogramSettingsDialog *spectroSettingsDialog = nullptr; // made once, kept for the program's life

    // --- Documented state: the recording on show (owned; deleted by the destructor)
    WavFile *wavFile = nullptr;
    AudioSampleReader *rawFile = nullptr;
    QString currentFileName;   // full path of the recording shown; empty before the first one
    std::vector<int> timedata; // its samples; the spectrogram worker reads them in place while `calculating`

    // --- Documented state: spectrogram and plot display ------------------------
    // The plots build and own their items; the pointers below are theirs,
    // handed out once while the window is built. The window itself asks the
    // plots to show what it decided, and leaves their items to them.
    TimePlot *timePlot = nullptr;
    FrequencyPlot *frequencyPlot = nullptr;
    SpectrogramPlot *spectrogramPlot = nullptr;
    QwtPlotCanvas *timePlotCanvas = nullptr;
    QwtPlotCanvas *frequencyPlotCanvas = nullptr;
    QwtPlotSpectrogram *spectrogramItem = nullptr;
    QwtPlotCurve *timePlotCurve1 = nullptr;
    QwtPlotCurve *timePlotCurve2 = nullptr;
    QwtPlotCurve *timePlotCurve3 = nullptr;
    QwtPlotCurve *timePlotCurve4 = nullptr;
    QwtPlotCurve *frequencyPlotCurve = nullptr;
    QwtMatrixRasterData *spectrogramData = nullptr;
    MyQwtZoomer2 *timePlotZoomer = nullptr;
    MyQwtZoomer10 *frequencyPlotZoomer = nullptr;
    MyQwtZoomer *spectroZoomer = nullptr;
    MyQwtPlotPicker *spectroPicker = nullptr;
    QwtPlotScaleItem *timePlotScaleItem = nullptr;
    QwtPlotScaleItem *frequencyPlotScaleItem = nullptr;
    QwtPlotScaleItem *spectrogramScaleItem = nullptr;
    QwtScaleWidget *colorBarWidget = nullptr;
    QwtPlotGrid *spectrogramGrid = nullptr;
    QwtPlotGrid *timePlotGrid = nullptr;
    QwtPlotGrid *frequencyPlotGrid = nullptr;
    RangeMarker *timeRangeMarker1 = nullptr;
    RangeMarker *timeRangeMarker2 = nullptr;
    RangeMarker *frequencyRangeMarker1 = nullptr;
    RangeMarker *frequencyRangeMarker2 = nullptr;
    MyRectRangeMarker *selectionRectMarker = nullptr;
    QwtPlotPicker *selectionPicker = nullptr;
    QwtPlotPicker *edgePickerLeft = nullptr;
    QwtPlotPicker *edgePickerRight = nullptr;
    QwtPlotPicker *edgePickerTop = nullptr;
    QwtPlotPicker *edgePickerBottom = nullptr;
    QwtPlotMarker *frequencyMarker1 = nullptr;
    QwtPlotPicker *frequencyMarkerPicker1 = nullptr;
    QwtPlotMarker *frequencyMarker2 = nullptr;
    QwtPlotPicker *frequencyMarkerPicker2 = nullptr;
    QwtPlotMarker *frequencyMarker3 = nullptr;
    QwtPlotPicker *frequencyMarkerPicker3 = nullptr;
    QwtPlotMarker *timePositionMarker = nullptr;
    QwtPlotMarker *baselineMarker = nullptr;
    QwtPlotMarker *spectrogramPositionMarker = nullptr;
    QwtPlotTextLabel *spectrogramTextLabel = nullptr;
    QList<MyBatCall> detectedCalls;
    MyRectCallsMarker *callsMarker = nullptr;
    QwtPlotMarker *amplitudePlotMarker = nullptr;
    QwtPlotMarker *frequencyPlotMarker = nullptr;
    float secondsPerColumn = 0.0f; // seconds of recording per spectrogram column; 0 before the first one
    QScrollBar *spectroScrollBar = nullptr;
    QFrame *frequencyPlotBottomSpacer = nullptr;
    QFrame *frequencyPlotTopSpacer = nullptr;
    bool firstPlot = true;           // no recording shown yet: the stored layout is neither restored nor saved
    float amplitudeAxisLimit = 1.0f; // half-height of the amplitude axis; 1.1 x the peak once a recording is shown
    // Level range of the last spectrogram in dBFS. Before the first one they
    // hold the settings dialog's defaults, because the automatic level range
    // stores them as the limits even when no recording was ever shown.
    double spectroMaxDb = -33.0;
    double spectroMinDb = -100.0;
    bool calculating = false; // a spectrogram request is out: `timedata` belongs to the worker

    // --- Documented state: audio playback ---------------------------------------
    bool audioPending = true; // no playback buffer yet for the recording shown
    PlayerControls *playerControls = nullptr;
    QByteArray audioData;
    QByteArray playData;
    AudioPlayer *audioPlayer = nullptr;
    qint64 audioDurationMs = 0; // length of the playback buffer; written before playback can start

    // --- Documented state: folder loading, file lists, chained jobs ----------------
    QString wavDirectory; // folder of the loaded recordings
    bool headerLoadingRestartPending = false;
    int evaluationMode = EvaluationMode::SingleFile;
    QThread *fileInfoThread = nullptr;         // the header worker's thread, started per folder load
    bool loadingFileInfo = false;              // header requests are outstanding
    int reviewMode = 0;                        // the review tree: 0 simple, 1 advanced; sent with every header request
    QProgressDialog *progressDialog = nullptr; // the running chained write or copy job's dialog
    bool skipAllWriteErrors = false;           // "Skip for all" chosen in the running job

    // --- Own helpers ---------------------------------------------------------------
    WindowWidgets widgets; // the form's widgets by what they are, filled right after the form is set up
    ProgressThrottle *spectrogramProgress = nullptr; // the spectrogram worker's reports on their way to both bars
    SpectrogramInteraction *spectrogramInteraction = nullptr; // which picker the mouse over the spectrogram starts
    SpectrogramScroller *spectrogramScroller = nullptr;       // which stretch is on view: time axes, scroll bar, spacer
    // Why the worker refused the request out (a matrix too large to hold);
    // its empty reply then shows this rather than "too short".
    QString spectrogramRefusal;
    // The newest recording asked for while a spectrogram was calculating; shown
    // once the running result has been drawn under its own name.
    QString pendingPlotFileName;
    QThread *spectrogramThread = nullptr; // the spectrogram worker's thread, running for the window's life
    float audioDataLimit = 1.0f;          // the amplitude axis limit audioData is scaled for
    int toldRefusedRate = 0;              // the output rate whose refusal was told last: autoplay tells it once
    bool soundLossTold = false;           // a lost sound server was told, and nothing has played since
    bool autoplaying = false;             // within the play autoplay starts: a failure then is a step's
    QStringList headerWriteBackFailures;  // recordings of the running header chain whose write-back failed, with why
    JobGuard jobGuard;                    // which long job runs; asked before anything that would disturb it
    FileRowIndex *fileViewRows = nullptr; // the evaluation list's rows by file name: how replies find them
    QThread *bextThread = nullptr;        // the bext-writing worker's thread, running for the window's life
    QThread *copyThread = nullptr;        // the copy worker's thread, running for the window's life

signals:
    void signalProgress(int percent);
    void signalCalcSpektrogramm(int sampleSize, int bitsPerSample, int windowSize, float frameSize, QString window,
                                double overlap, std::vector<int> *timedata, int sampleRate, bool categorize);
    void signalGetFileHeaderInfo(int index, QString wavFileName, bool calcClasses, QString recorderResultFileName,
                                 int reviewMode);
    // Sent before a header chain's first request: the paths its requests will name, in row order.
    void signalExpectFileHeaders(QStringList wavFileNames);
    // A request to the copy worker: fileNames[index] from oldDirectory into newDirectory. Each is
    // answered by exactly one reply; the copy by class sends the next from the reply.
    void copyFiles(int index, QString newDirectory, QString oldDirectory, QStringList fileNames, bool overwrite);
    // Requests to the bext-writing worker: row `index` of the job's rows. Each
    // is answered by exactly one reply; a chain sends the next from the reply.
    void signalWriteFileBextExtended(int index, QString wavDirectory, ClassRowTexts classItem,
                                     FileRowList selectedFileItems);
    void signalRenameClassFile(int index, QString wavDirectory, QString oldClassName, QString newClassName,
                               FileRowList selectedFileItems);
    void signalDeleteClassFile(int index, QString wavDirectory, QString deleteClassName, FileRowList selectedFileItems);
    void signalUnassignFile(int index, QString wavDirectory, FileRowList selectedFileItems);
    void signalResetFile(int index, QString wavDirectory, FileRowList selectedFileItems);

public slots:
    // Spectrogram: the one entry that makes a recording the shown one, and the worker's reply.
    void plot_Data(QString fileName);
    void spectrogramCalculated(QVector<double> data, int numberOfFfts, double minValue, double maxValue,
                               std::unordered_map<int, Blob> blobs, QStringList classes, QList<MyBatCall> calls);

    // The axis plots of the recording on show, in the mode the settings chose:
    // the amplitude/time plot (which also sets amplitudeAxisLimit) and the
    // frequency plot. Both stay empty while no recording with samples is shown.
    void plotAmplitude();
    void plotFrequency();

    // Folder loading: opens what the command line names, once, 100 ms after start.
    void useCommandLineArguments();
    // The header worker's reply for row `index` of the mode's file list, and the reload it may start.
    void fileInfoHeaderFinished(int index, QString batClass, QString batClass2, QString batClass3, QString batClass4,
                                QString autoClass, QString accepted, QString length, QString date, QString time,
                                QString comment, bool writeBackFailed = false, QString writeBackFailure = QString());
    void restartFileHeaderLoading();

    // The spectrogram's scroll bar and zoomer: which stretch of the recording is on view.
    void spectroScrollBar_valueChanged(int value);
    void spectroZoomed(const QRectF &rect);

    // Playback: the stretch on view, the player's state and position in the
    // plots and the time label. The buffers: the whole recording made audible,
    // and the slice of it that belongs to start..end seconds of recording time.
    void playAudio();
    void setAudioPlayerState(QAudio::State state);
    void positionChanged(qint64 progress);
    void createAudioWav();
    void createSubAudioWav(float start, float end);
    // Stops the player first: what plays is always what is on view.
    void setPlaybackSection(float start, float end);

    // Settings dialog signals, answered by the display and audio subsystems.
    void slotColormapChanged();
    void slotFrequencyMarkerChanged();
    void slotAmplitudeScaleChanged();
    void slotFrequencyScaleChanged();
    void slotTimeScaleChanged();
    void slotApplySpectroSettings();
    void audioControlsChanged();
    void slotTimePlotChanged();
    void slotFrequencyPlotChanged();

    // The mouse over the spectrogram: which picker a press starts, the
    // measurement rectangle and its edges, the frequency markers.
    void mouseMoved(QPointF point);
    void deactivateZoomer(bool on);
    void plotSelectionRect(const QPolygon &polygon);
    void moveSelectorLeft(const QPoint &point);
    void moveSelectorRight(const QPoint &point);
    void moveSelectorTop(const QPoint &point);
    void moveSelectorBottom(const QPoint &point);
    void moveMarker1(const QPointF &point);
    void moveMarker2(const QPointF &point);
    void moveMarker3(const QPointF &point);

    // Class assignment: an assign button's click, and the worker's replies
    // that show each result in its row and send the next request.
    void assignFileToClass();
    void fileBextFinishedExtended(int index, QString wavDirectory, ClassRowTexts classItem,
                                  FileRowList selectedFileItems, bool success);
    void renameClassFileFinished(int index, QString wavDirectory, QString oldClassName, QString newClassName,
                                 FileRowList selectedFileItems, bool success);
    void deleteClassFileFinished(int index, QString wavDirectory, QString deleteClassName,
                                 FileRowList selectedFileItems, bool success);
    void unassignFileFinished(int index, QString wavDirectory, FileRowList selectedFileItems, bool success);
    // The last reply (or a cancel) reads the folder again in its mode.
    void resetFileFinished(int index, QString wavDirectory, FileRowList selectedFileItems, bool success);
    // An accept box's click: accepts the row's proposal or withdraws it, written at once.
    void acceptProposal(int state);
    // A class slot (1 to 4) of the evaluation list's first selected row, written at once: replaced by a
    // class the user picks among those the recording does not carry, or removed, the later classes moving up.
    // The entries "Class 1" to "Class 4" of the evaluation list's "Reassign" and "Unassign" submenus trigger them.
    void reassign1triggered();
    void reassign2triggered();
    void reassign3triggered();
    void reassign4triggered();
    void unassign1triggered();
    void unassign2triggered();
    void unassign3triggered();
    void unassign4triggered();

    // The exports of the given file-list rows (the context menus' "export selected"), in the order given.
    void exportCSVFileFromAction(QList<QTreeWidgetItem *> selectedItems);
    void exportTavronFileFromAction(QList<QTreeWidgetItem *> selectedItems);
    // The copy worker's reply: asks after a failed file, sends the next request or ends the copy.
    void copyingFinished(int index, QString newDirectory, QString oldDirectory, QStringList fileNames, bool overwrite);

    // Context menus of the three trees (class assignment): the class tree's menu edits the class model of a
    // manual evaluation; the file lists' menus export, copy and delete the selection, and the evaluation
    // list's also classifies it.
    void rightClickMenu(const QPoint &pos);
    void rightClickMenu_2(const QPoint &pos);
    void rightClickMenu_fileView(const QPoint &pos);

protected:
    // View toggles.
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private slots:
    // Reached through the form's connection by object name.
    void on_actionOpen_File_triggered();
    void on_actionOpen_Folder_triggered();
    void on_actionEvaluate_Folder_triggered();
    void on_actionManual_Review_of_RECORDER_VOD_Offline_Analysis_triggered();
    void on_actionTavron_Folder_Evaluation_triggered();
    void on_actionActivity_Plot_triggered();
    void on_actionExport_Amplitude_Plot_triggered();
    void on_actionExport_Frequency_Plot_triggered();
    void on_actionExport_Spectrogram_triggered();
    void on_actionExport_CSV_File_triggered();
    void on_actionExport_Tavron_File_triggered();
    void on_actionCopy_Files_to_other_Folder_triggered();
    void on_actionSpectrogram_Settings_triggered();
    void on_actionAxis_Plots_Settings_triggered();
    void on_actionAudio_Settings_triggered();
    void on_actionAmplitude_Plot_triggered(bool checked);
    void on_actionFrequency_Axis_Plot_triggered(bool checked);
    void on_actionFrequency_Marker_1_triggered(bool checked);
    void on_actionFrequency_Marker_2_triggered(bool checked);
    void on_actionFrequency_Marker_3_triggered(bool checked);
    void on_actionGrid_triggered(bool checked);
    void on_actionCategorization_triggered(bool checked);
    void on_actionWindows_Theme_triggered();
    void on_actionLight_Theme_triggered();
    void on_actionDark_Theme_triggered();
    void on_actionAbout_triggered();

    void on_pushButton_3_clicked();
    void on_pushButton_4_clicked();
    void on_pushButton_7_clicked();
    void on_pushButton_8_clicked();
    void on_toolButton_pressed();
    void on_toolButton_2_pressed();
    void on_splitter_2_splitterMoved(int pos, int index);
    void on_splitter_3_splitterMoved(int pos, int index);

    void on_treeWidget_itemDoubleClicked(QTreeWidgetItem *item, int column);
    void on_treeWidget_fileView_itemDoubleClicked(QTreeWidgetItem *item, int column);
    void on_treeWidget_2_itemDoubleClicked(QTreeWidgetItem *item, int column);
    void on_treeWidget_fileView_itemSelectionChanged();
    void on_treeWidget_2_itemSelectionChanged();
    void on_treeWidget_fileView_itemChanged(QTreeWidgetItem *item, int column);
    void on_treeWidget_2_itemChanged(QTreeWidgetItem *item, int column);

public:
    // --- Own helpers, public for the subsystems' dialogs and the tests -------------
    // Opens what `arguments` name as a command line does (arguments[0] is the program).
    void openCommandLine(const QStringList &arguments);
    // Empties the class tree and builds its rows from class-model text, the
    // assign buttons' tool tips worded for the evaluation mode `mode`.
    void fillClassTree(const QString &modelText, int mode);

    // --- Jobs: what may start, and the frame of every chained job ----------------
    /** True when the guard lets the action start; otherwise shows the guard's notice and returns false. */
    bool mayStart(JobGuard::Action action);
    /** The guard's answer without a notice: for keys, which are passed on, and boxes, which are put back. */
    bool jobAllows(JobGuard::Action action) const;
    /**
     * A new progress window for a job over count rows, kept in progressDialog
     * (the last job's window goes): window-modal, shown only when the job
     * takes longer than 500 ms, value 0.
     */
    QProgressDialog *openJobProgress(const QString &label, int count, const QString &title);
    /**
     * Starts the assignment of the class of classRow to rows, without the
     * questions of the assign button: the progress window "Assigning..." with
     * title, then the request for the first row. False when the guard refuses
     * (its notice shown) or there is no row.
     */
    bool startAssignment(QTreeWidgetItem *classRow, const QList<QTreeWidgetItem *> &rows, const QString &title);

    // The folder-wide class jobs, started by the Delete key and the context
    // menus. Each is refused with the guard's notice while another job runs;
    // deleting and renaming also while the header chain runs. The callers
    // ask their own questions first, the deletion's excepted.
    enum class ClassJobStart { Refused, DoneAtOnce, Started };
    /**
     * Deletes the class of classRow from every recording that carries it.
     * Refused, with a notice, when recordings carry one of its subclasses,
     * which would go with it. Asks question (a warning with OK and Cancel);
     * then a class no recording carries goes at once, with its subclasses;
     * otherwise the job starts behind "Deleting class assignment..." titled
     * progressTitle, which cannot be cancelled.
     */
    ClassJobStart deleteClassFromFiles(QTreeWidgetItem *classRow, const QString &question,
                                       const QString &progressTitle);
    /**
     * Renames the class of classRow to newName (which the caller has checked)
     * in every recording that carries it, behind "Renaming..."; a class no
     * recording carries is renamed at once.
     */
    ClassJobStart renameClassInFiles(QTreeWidgetItem *classRow, const QString &newName);
    /** Removes every class of rows' recordings, behind "Unassigning...", which can be cancelled. */
    bool unassignAllClasses(const QList<QTreeWidgetItem *> &rows);
    /**
     * Drops the classes, proposal and flag of every recording of the
     * evaluation list, keeping the comments, then reads the folder again.
     */
    bool resetAllFiles();

    /** The question and the failure of a deletion from storage; "%1" is a file's name or the number of files. */
    struct FileDeletionTexts {
        QString oneFile;
        QString manyFiles;
        QString failed;
    };
    /**
     * Deletes the selected recordings of list from storage after the
     * question, with their rows (and, in the evaluation list, their class
     * counts). A file that cannot be removed is named; the folder list goes
     * on with the next, the evaluation list stops. Refused with the guard's
     * notice while any job or the header chain runs.
     */
    void deleteFilesFromStorage(QTreeWidget *list, const FileDeletionTexts &texts);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    // --- Spectrogram request and view ------------------------------------------
    ShownFormat shownFormat() const;
    void setOpeningActionsEnabled(bool enabled);
    void setPlotExportActionsEnabled(bool enabled);
    void showModePanes();
    // The window's least size: 750 x 500, or what the panes on show need, once a recording was shown.
    void fitLeastSize();
    void setGridsFromAction();
    void restoreFirstWindowLayout(bool withSplitters);
    // The recording's samples into timedata; false, the user told why, when it has none to show.
    bool loadSamples(const QString &fileName);
    void showNoRecording();
    // message is the box's text; details (the file and the reason) go under it.
    void showLoadFailure(const QString &message, const QString &details, bool raw);
    void showEmptyView(bool raw);
    void showPendingRecording();
    // The calls' classes beside them and the verdict, as the categorization setting shows them.
    void showCategorizationResult(const std::unordered_map<int, Blob> &blobs, const QStringList &classes,
                                  const QList<MyBatCall> &calls, int bins, int sampleRate);
    // The levels the colours span: the fixed ones, or those computed, then stored as the limits.
    LevelRange drawnLevelRange(const LevelRange &computed);
    QString recordingInfoText(const ShownFormat &format) const;
    // The recording at path was written meanwhile: if it is the one on show, its info line shows what it holds now.
    void showStoredDescription(const QString &path);
    // The frequency axis the settings give the recording (0 to 150 kHz without one).
    AxisRange shownFrequencyRange(const ShownFormat &format) const;
    void applySmoothingSetting();

    // --- Axis plots and plot export ---------------------------------------------
    void drawEnvelope(const ShownFormat &format, const QwtInterval &shown);
    void drawMaximumOverTime(const ShownFormat &format, const QwtInterval &levels);
    void drawDensity(const ShownFormat &format);
    void drawMaximumOverFrequency(const ShownFormat &format, const QwtInterval &levels);
    // Keeps the frequency plot's canvas level with the spectrogram's.
    void alignFrequencyPlotSpacers();
    void exportPlot(QwtPlot *plot, const QString &fileName, const QAction *action);

    // --- Opening and the header chain -------------------------------------------
    QTreeWidget *modeFileList() const;
    QProgressBar *modeProgressBar() const;
    void setFolderActionsEnabled(bool enabled);
    bool headerChainRunning() const;
    void stopHeaderThread();
    void fillFolderList(const QStringList &names, bool editable);
    void startHeaderChain();
    void requestFileHeader(int index);
    void finishHeaderChain();
    void giveProposalRow(QTreeWidgetItem *row, const QString &firstClass, const QString &accepted);
    void countHeaderClasses(const QStringList &classes, const QString &proposal);
    bool confirmAbortEvaluation(const QString &text);
    void openDroppedPaths(const QStringList &paths);

    // --- Playback -----------------------------------------------------------------
    void setUpPlayer();
    void applyStoredPlayerSettings();
    const std::vector<int> &shownSamples() const;
    float playbackLimitFor(float start, float end) const;
    void preparePlayback();
    void playIfAutoplay();
    void tellPlaybackRefused(int sampleRate);
    void tellSoundServerLost();
    bool handlePlayerKey(const QKeyEvent *event);

    // --- Evaluation modes ---------------------------------------------------------
    void openEvaluationFolder(int mode);
    QPushButton *classAssignButton(const QString &name, int mode, bool subclass);
    void fillEvaluationList(const QStringList &names);

    // --- Navigation, selection and comments -----------------------------------------
    void stepThroughList(QTreeWidget *list, bool forward);
    // What the evaluation list's next button does: the row below, past rows without a call.
    void showNextEvaluationRow();
    void showRow(const QTreeWidgetItem *row);
    void showSelectionCount(const QTreeWidget *list, QLabel *label);
    void commentChanged(QTreeWidgetItem *row, int column);

    // --- Class assignment ----------------------------------------------------------
    /** A value copy of row for a request, the accept box's state included (see the definition). */
    FileRowTexts requestCopy(QTreeWidgetItem *row) const;
    FileRowList jobRows(const QList<QTreeWidgetItem *> &rows) const;
    /** The progress window of a chain on the bext-writing worker, and the guard's note that it runs. */
    void beginBextChain(const QString &label, int count, const QString &title);
    /** Shows the write-failure box for a failed reply; true when the reply succeeded. */
    bool replySucceeded(bool success, const QString &wavDirectory, const FileRowList &rows, int index);
    enum class ChainStep { Next, Cancelled, Finished };
    /** After a reply has been applied: cancelled, the last row done, or the next row's copy refreshed. */
    ChainStep advanceChain(int index, FileRowList &rows);
    /** A successful reply's result in its row (found by name), its counts, box and colours. */
    void showOutcome(const FileRowTexts &copy, const ClassTextRules::Outcome &outcome);
    bool confirmOverwrite(const QString &className, QList<QTreeWidgetItem *> &rows);
    bool confirmNoCallChange(const QString &className, const QList<QTreeWidgetItem *> &rows);
    void showRowAsDoubleClicked(QTreeWidgetItem *row);
    /** Writes the row's acceptance (or its withdrawal) into its recording; false, reported, when that fails. */
    bool writeAcceptance(QTreeWidgetItem *row, bool accept);
    /** The acceptance in the row: its classes, the class counts and its colours. */
    void showAcceptance(QTreeWidgetItem *row, bool accepted);
    QList<QTreeWidgetItem *> rowsCarrying(const QString &className) const;
    void openClassJobProgress(const QString &label, int count, const QString &title);
    void endClassDeletion(const QString &className);
    void endClassRenaming(const QString &oldClassName, const QString &newClassName);
    /** The class row a rename starts from: the first top-level row of that name, else any. */
    QTreeWidgetItem *renamedClassRow(const QString &name) const;
    /**
     * The box over the window after a single write into the recording at path
     * failed: "Could not write file " + path + tail, and below it reason, why.
     */
    void reportRecordingWriteFailure(const QString &path, const QString &reason, const QString &tail);
    /**
     * Writes text into the description of the recording at path at once;
     * false, reported with tail and why the write failed, when it fails.
     */
    bool writeRecordingNow(const QString &path, const QString &text, const QString &tail);
    /** Writes a single row's outcome at once and shows it; false, with "Could not write file ..." + failureTail. */
    bool writeRowOutcome(const FileRowTexts &copy, const ClassTextRules::Outcome &outcome, const QString &failureTail);
    /** The first selected row's copy, when its class slot (1 to 4) is filled and a write may start. */
    bool classSlotCopy(int slot, FileRowTexts *copy);
    void reassignClassSlot(int slot);
    void unassignClassSlot(int slot);
    /** The reply to the one class added to one recording: shown in its row, or reported. */
    void finishAdditionalClass(const QString &wavDirectory, const QString &className, const FileRowTexts &copy,
                               const QString &reason, bool success);

    // --- Context menus ---------------------------------------------------------------
    void runClassTreeEntry(const ContextMenus::Entry &entry, QTreeWidgetItem *row);
    void runFileListEntry(QTreeWidget *list, const ContextMenus::Entry &entry);
    /** Shows the menu of entries at pos of list's viewport; the chosen entry, or null. */
    const ContextMenus::Entry *runContextMenu(QTreeWidget *list, const QPoint &pos,
                                              const QVector<ContextMenus::Entry> &entries);
    ContextMenus::FileListState fileListState(QTreeWidget *list, const QTreeWidgetItem *pointed) const;
    QStringList usedShortcuts() const;
    void addClassFromMenu(QTreeWidgetItem *row, bool subclass);
    void renameClassFromMenu(QTreeWidgetItem *row);
    /** True, after "Name already exists.", when a class or subclass of the tree is named name. */
    bool classNameTaken(const QString &name);
    void saveClassModel();
    /** The class the user picks among candidates in a dialog titled title; empty when cancelled or none. */
    QString chooseClass(const QStringList &candidates, const QString &title, const QString &noneText);
    void assignFromMenu(const QList<QTreeWidgetItem *> &rows);
    void assignAdditionalClass(QTreeWidgetItem *row);

    // --- Exports and copying ------------------------------------------------------
    /** Asks where an export goes, starting at the stored path; empty when cancelled or refused by the guard. */
    QString exportFileName(const QString &caption, const QString &storedPath);
    void exportCsv(const QString &fileName, const QVector<FileRowTexts> &rows, const QString &classCountText,
                   bool detectedNoCallLines);
    /** Asks the classes, zone and daylight saving of rows; false when cancelled. */
    bool chooseTavronClasses(const QVector<FileRowTexts> &rows, TavronExportOptions *options);
    void exportTavron(const QString &fileName, const QVector<FileRowTexts> &rows, TavronExportOptions options);

    // --- Window-wide event filter ----------------------------------------------
    bool handleKeyPress(QObject *watched, QKeyEvent *event);
    /** A comment of the current row of a file list is being typed: the window's keys leave it alone. */
    bool commentBeingEdited() const;
    bool handleSpaceKey();
    bool handleDeleteKey(QObject *watched);
    bool handleEnterKey(QObject *watched);
    bool handleStepKey(bool forward);
    /** An evaluation's list is on show and no comment is being typed: its class letters assign. */
    bool classLettersLive() const;
    /** A class letter of the selected recordings; false when it assigned nothing. */
    bool handleClassShortcut(const QKeyEvent *event);
    /** Whether a key no handler took is kept from an item view's type-ahead search. */
    bool keptFromTypeAhead(QObject *watched, const QKeyEvent *event) const;
    void followCursor(const QPoint &pos);
    void leaveSpectrogram();

    // Themes: neither stores "theme" nor touches the theme actions.
    void setLightTheme();
    void setDarkTheme();
    // Stores a theme code and applies it; a code outside ThemeCode applies nothing.
    void applyThemeCode(int code);
    void setThemeButtonIcons(bool dark);

    // Plot set-up and view toggles.
    void setUpPlots();
    void fitPanesToAxisTitles();
    // After a drag of the handle above the lists: the list not shown takes the shown one's height.
    void shareListHeight();
    void applyStoredPlotSettings();
    // The frequency markers where the settings put them, labelled and shown as stored.
    void applyStoredMarkers();
    void openSettingsDialog(int tab);
    void saveLayout();

    void setUpTrees();
    void applyStoredViewSettings();
};
