#include "app/windowwidgets.h"

#include "ui_mainwindow.h"

WindowWidgets windowWidgetsOf(const Ui_MainWindow &form)
{
    WindowWidgets widgets;
    widgets.classTree = form.treeWidget;
    widgets.folderList = form.treeWidget_2;
    widgets.evaluationList = form.treeWidget_fileView;

    widgets.plotsPane = form.groupBox_4;
    widgets.toolBar = form.frame_4;
    widgets.evaluationPane = form.groupBox_6;
    widgets.folderPane = form.groupBox_8;

    widgets.evaluationPrevious = form.pushButton_7;
    widgets.evaluationNext = form.pushButton_8;
    widgets.folderPrevious = form.pushButton_3;
    widgets.folderNext = form.pushButton_4;
    widgets.evaluationProgress = form.progressBar_3;
    widgets.folderProgress = form.progressBar_2;
    widgets.evaluationCount = form.label_22;
    widgets.folderCount = form.label_21;

    widgets.startLogo = form.label_9;
    widgets.startLogoNeighbour = form.label_18;

    widgets.splitterMain = form.splitter;
    widgets.splitterTimePlot = form.splitter_2;
    widgets.splitterFrequencyPlot = form.splitter_3;

    widgets.zoomTool = form.toolButton;
    widgets.selectionTool = form.toolButton_2;

    widgets.playerControlsLayout = form.horizontalLayout_3;
    widgets.timePlotPane = form.frame_3;
    widgets.timePlotLayout = form.gridLayout_7;
    widgets.timePlotLeftMargin = form.widget_2;
    widgets.timePlotRightMargin = form.widget;
    widgets.frequencyPlotPane = form.frame;
    widgets.frequencyPlotLayout = form.gridLayout_5;
    widgets.spectrogramPane = form.frame_5;
    widgets.spectrogramLayout = form.gridLayout_17;
    return widgets;
}
