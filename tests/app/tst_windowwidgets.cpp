#include "testregistry.h"

#include "app/windowwidgets.h"
#include "ui_mainwindow.h"

#include <QTest>

namespace {

bool inside(const QObject *part, const QObject *holder)
{
    for (const QObject *o = part; o; o = o->parent())
        if (o == holder)
            return true;
    return false;
}

// The row of widget in its pane's grid: a list's previous button sits above its next one.
int gridRow(const QWidget *pane, QWidget *widget)
{
    auto *grid = qobject_cast<QGridLayout *>(pane->layout());
    int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
    if (grid && grid->indexOf(widget) >= 0)
        grid->getItemPosition(grid->indexOf(widget), &row, &column, &rowSpan, &columnSpan);
    return row;
}

} // namespace

// Each name must reach the widget that does that job: checked through where
// the form puts it (its pane, its place in a splitter or row), not its name.
class TestWindowWidgets : public QObject
{
    Q_OBJECT
private slots:
    void eachListKeepsItsOwnParts();
    void splittersAndPanesByPlace();
};

void TestWindowWidgets::eachListKeepsItsOwnParts()
{
    QMainWindow host;
    Ui_MainWindow form;
    form.setupUi(&host);
    const WindowWidgets w = windowWidgetsOf(form);

    const QList<QWidget *> evaluationParts{w.classTree,      w.evaluationList,     w.evaluationPrevious,
                                           w.evaluationNext, w.evaluationProgress, w.evaluationCount};
    const QList<QWidget *> folderParts{w.folderList, w.folderPrevious, w.folderNext, w.folderProgress, w.folderCount};
    for (QWidget *part : evaluationParts) {
        QVERIFY(inside(part, w.evaluationPane));
        QVERIFY(!inside(part, w.folderPane));
    }
    for (QWidget *part : folderParts) {
        QVERIFY(inside(part, w.folderPane));
        QVERIFY(!inside(part, w.evaluationPane));
    }
    QVERIFY(gridRow(w.evaluationPane, w.evaluationPrevious) >= 0);
    QVERIFY(gridRow(w.evaluationPane, w.evaluationPrevious) < gridRow(w.evaluationPane, w.evaluationNext));
    QVERIFY(gridRow(w.folderPane, w.folderPrevious) >= 0);
    QVERIFY(gridRow(w.folderPane, w.folderPrevious) < gridRow(w.folderPane, w.folderNext));
}

void TestWindowWidgets::splittersAndPanesByPlace()
{
    QMainWindow host;
    Ui_MainWindow form;
    form.setupUi(&host);
    const WindowWidgets w = windowWidgetsOf(form);

    QCOMPARE(w.splitterMain->widget(0), w.plotsPane);
    QVERIFY(inside(w.evaluationPane, w.splitterMain) && inside(w.folderPane, w.splitterMain));
    QVERIFY(inside(w.splitterTimePlot, w.plotsPane));
    QCOMPARE(w.splitterTimePlot->widget(0), w.timePlotPane);
    QVERIFY(inside(w.splitterFrequencyPlot, w.splitterTimePlot->widget(1)));
    QCOMPARE(w.splitterFrequencyPlot->widget(0), w.frequencyPlotPane);
    QCOMPARE(w.splitterFrequencyPlot->widget(1), w.spectrogramPane);
    QCOMPARE(w.frequencyPlotLayout->parentWidget(), w.frequencyPlotPane);
    QCOMPARE(w.spectrogramLayout->parentWidget(), w.spectrogramPane);

    // The time plot's row: the left margin, the plot's own frame, the right margin.
    QLayout *timeRow = w.timePlotPane->layout();
    QCOMPARE(timeRow->indexOf(w.timePlotLeftMargin), 0);
    QCOMPARE(timeRow->indexOf(w.timePlotLayout->parentWidget()), 1);
    QCOMPARE(timeRow->indexOf(w.timePlotRightMargin), 2);

    // The tool bar: the player's place first, then the two tools, the zoom tool on at start.
    QVERIFY(inside(w.playerControlsLayout, w.toolBar));
    QVERIFY(inside(w.zoomTool, w.toolBar) && inside(w.selectionTool, w.toolBar));
    QVERIFY(w.zoomTool->isChecked() && !w.selectionTool->isChecked());

    QVERIFY(!w.startLogo->pixmap(Qt::ReturnByValue).isNull());
    QVERIFY(w.startLogoNeighbour->pixmap(Qt::ReturnByValue).isNull());
    QVERIFY(!inside(w.startLogo, w.toolBar) && !inside(w.startLogo, w.splitterMain));
}

QUILLON_TEST(TestWindowWidgets)
#include "tst_windowwidgets.moc"
