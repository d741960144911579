#pragma once

class ClassTreeWidget;
class FileListWidget;
class QFrame;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QSplitter;
class QToolButton;
class QTreeWidget;
class QWidget;
class Ui_MainWindow;

/**
 * The main window's form objects under names that say what they are. The form
 * keeps its designer names (the window's slots are connected by them); the
 * window's code reads the widgets through this, filled once from the form
 * right after it is set up.
 */
struct WindowWidgets {
    // The three trees: the class model, the plain folder list and the evaluation list.
    ClassTreeWidget *classTree = nullptr;
    QTreeWidget *folderList = nullptr;
    FileListWidget *evaluationList = nullptr;

    // The panes, hidden until a recording or folder is loaded.
    QGroupBox *plotsPane = nullptr;      // the three plots and their splitters
    QFrame *toolBar = nullptr;           // player controls, playback time, the two tools, recording info
    QGroupBox *evaluationPane = nullptr; // class tree, evaluation list and its buttons
    QGroupBox *folderPane = nullptr;     // folder list and its buttons

    // Previous and next of each list, its header-loading bar and its item count.
    QPushButton *evaluationPrevious = nullptr;
    QPushButton *evaluationNext = nullptr;
    QPushButton *folderPrevious = nullptr;
    QPushButton *folderNext = nullptr;
    QProgressBar *evaluationProgress = nullptr;
    QProgressBar *folderProgress = nullptr;
    QLabel *evaluationCount = nullptr;
    QLabel *folderCount = nullptr;

    // The logo shown before the first recording, and the empty label left of it.
    QLabel *startLogo = nullptr;
    QLabel *startLogoNeighbour = nullptr;

    // The splitters, named as their stored sizes are.
    QSplitter *splitterMain = nullptr;          // plots above the lists
    QSplitter *splitterTimePlot = nullptr;      // time plot above the spectrogram
    QSplitter *splitterFrequencyPlot = nullptr; // frequency plot left of the spectrogram

    // The spectrogram's mouse tools (exactly one is checked).
    QToolButton *zoomTool = nullptr;
    QToolButton *selectionTool = nullptr;

    // Where the plots and the player controls go.
    QHBoxLayout *playerControlsLayout = nullptr;
    QFrame *timePlotPane = nullptr; // first pane of splitterTimePlot
    QGridLayout *timePlotLayout = nullptr;
    // Beside the time plot, so that its axis lines up with the spectrogram's:
    // the left one as wide as the frequency plot pane, the right one as the colour bar.
    QWidget *timePlotLeftMargin = nullptr;
    QWidget *timePlotRightMargin = nullptr;
    QFrame *frequencyPlotPane = nullptr; // first pane of splitterFrequencyPlot
    QGridLayout *frequencyPlotLayout = nullptr;
    QFrame *spectrogramPane = nullptr; // second pane of splitterFrequencyPlot
    QGridLayout *spectrogramLayout = nullptr;
};

/** The widgets of a form that has been set up. */
WindowWidgets windowWidgetsOf(const Ui_MainWindow &form);
