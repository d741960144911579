#include "testregistry.h"

#include "app/mainwindow.h"
#include "app/spectrogramsettingsdialog.h"
#include "display/myqwtzoomer.h"
#include "display/myrectrangemarker.h"
#include "evaluationfolder.h"
#include "guitest.h"
#include "platform/taskbarbutton.h"
#include "recording/wavfile.h"
#include "scripteddialogs.h"
#include "ui_mainwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <qwt_plot.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_marker.h>

#include <memory>

namespace {

QAction *action(const MainWindow &w, const QString &name)
{
    return w.findChild<QAction *>(name);
}

// Drags a handle of a splitter (handle 1: the one after its first pane) to `pos` along the splitter, as the user would.
void dragHandle(QSplitter *splitter, int pos, int index = 1)
{
    QSplitterHandle *handle = splitter->handle(index);
    const QPoint grab = handle->rect().center();
    const QPoint target = splitter->orientation() == Qt::Horizontal ? QPoint(pos + grab.x(), handle->y() + grab.y())
                                                                    : QPoint(handle->x() + grab.x(), pos + grab.y());
    const QPoint local = handle->mapFromGlobal(splitter->mapToGlobal(target));
    testsupport::sendMouse(handle, QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
    testsupport::sendMouse(handle, QEvent::MouseMove, local, Qt::NoButton, Qt::LeftButton);
    testsupport::sendMouse(handle, QEvent::MouseButtonRelease, local, Qt::LeftButton, Qt::NoButton);
}

} // namespace

class TestViewToggles : public testsupport::GuiTestCase
{
    Q_OBJECT

private slots:
    void markerToggle_storesAndDialogFollows_data();
    void markerToggle_storesAndDialogFollows();
    void gridToggle_switchesAllThreeGrids();
    void axisPlotPanes_followToggleAndDrags();
    void listHeight_keptForTheOtherList();
    void toolButtons_switchMouseHandling_data();
    void toolButtons_switchMouseHandling();
    void settingsDialog_data();
    void settingsDialog();
    void show_bindsTaskbarButton();
};

void TestViewToggles::markerToggle_storesAndDialogFollows_data()
{
    QTest::addColumn<int>("marker");
    QTest::addColumn<bool>("storedBefore");
    QTest::newRow("marker 1 on") << 1 << false;
    QTest::newRow("marker 2 on") << 2 << false;
    QTest::newRow("marker 3 off") << 3 << true;
}

void TestViewToggles::markerToggle_storesAndDialogFollows()
{
    QFETCH(int, marker);
    QFETCH(bool, storedBefore);
    const QString key = QStringLiteral("marker%1").arg(marker);
    QSettings().setValue(key, storedBefore);
    MainWindow window;
    window.spectroSettingsDialog->show();
    const QwtPlotMarker *markers[] = {window.frequencyMarker1, window.frequencyMarker2, window.frequencyMarker3};
    QSignalSpy markerSignal(window.spectroSettingsDialog, &SpectrogramSettingsDialog::frequencyMarkerChanged);

    action(window, QStringLiteral("actionFrequency_Marker_%1").arg(marker))->trigger();

    for (int k = 1; k <= 3; ++k)
        QCOMPARE(markers[k - 1]->isVisible(), k == marker ? !storedBefore : false);
    QCOMPARE(QSettings().value(key).toBool(), !storedBefore);
    // The open dialog's check box follows at once, and the display hears of it.
    QCOMPARE(window.spectroSettingsDialog->findChild<QCheckBox *>(QStringLiteral("checkBox_visible%1").arg(marker))
                 ->isChecked(),
             !storedBefore);
    QCOMPARE(markerSignal.count(), 1);
}

void TestViewToggles::gridToggle_switchesAllThreeGrids()
{
    MainWindow window;
    const QwtPlotGrid *grids[] = {window.spectrogramGrid, window.timePlotGrid, window.frequencyPlotGrid};
    for (bool on : {true, false}) {
        action(window, QStringLiteral("actionGrid"))->trigger();
        for (const QwtPlotGrid *grid : grids) {
            QCOMPARE(grid->xEnabled(), on);
            QCOMPARE(grid->yEnabled(), on);
        }
        QCOMPARE(QSettings().value(QStringLiteral("grid")).toBool(), on);
    }
}

void TestViewToggles::axisPlotPanes_followToggleAndDrags()
{
    auto window = testsupport::spectrogramOnScreen();
    QVERIFY(window);
    auto *plots = window->findChild<QSplitter *>(QStringLiteral("splitter_3"));
    auto *panes = window->findChild<QSplitter *>(QStringLiteral("splitter_2"));
    // widget_2 sits left of the time plot and keeps the frequency pane's width.
    auto *companion = window->findChild<QWidget *>(QStringLiteral("widget_2"));
    const int paneMinimum = plots->widget(0)->minimumWidth();
    QAction *frequencyPlot = action(*window, QStringLiteral("actionFrequency_Axis_Plot"));
    QAction *timePlot = action(*window, QStringLiteral("actionAmplitude_Plot"));

    frequencyPlot->trigger(); // hide
    QCOMPARE(plots->sizes().value(0), 0);
    QCOMPARE(companion->minimumWidth(), 0);
    frequencyPlot->trigger(); // show, at the pane's minimum width
    QCOMPARE(plots->sizes().value(0), paneMinimum);
    QCOMPARE(companion->minimumWidth(), paneMinimum);

    dragHandle(plots, 0);
    QCOMPARE(plots->sizes().value(0), 0);
    QVERIFY(!frequencyPlot->isChecked());
    QCOMPARE(companion->minimumWidth(), 0);
    dragHandle(plots, 200);
    QVERIFY(frequencyPlot->isChecked());
    QCOMPARE(companion->minimumWidth(), plots->handle(1)->x());
    QVERIFY(companion->minimumWidth() >= paneMinimum);

    dragHandle(panes, 0);
    QCOMPARE(panes->sizes().value(0), 0);
    QVERIFY(!timePlot->isChecked());
    dragHandle(panes, 150);
    QVERIFY(timePlot->isChecked());
    // None of this is stored.
    QVERIFY(!QSettings().contains(QStringLiteral("splitterTimePlotSizes")));
    QVERIFY(!QSettings().contains(QStringLiteral("splitterFrequencyPlotSizes")));
}

void TestViewToggles::listHeight_keptForTheOtherList()
{
    ScriptedDialogs dialogs;
    auto window = testsupport::exposedWindow();
    QVERIFY(window);
    QGroupBox *folderList = window->widgets.folderPane;
    QGroupBox *evaluationList = window->widgets.evaluationPane;
    // The test screen is 800 x 600 px: with the lists as tall as their panes
    // ask, the least window would fill it and leave no height to choose.
    folderList->setMinimumHeight(60);
    evaluationList->setMinimumHeight(60);
    const QStringList recordings{"Barbastelle.wav", "Natterers.wav"};
    QTemporaryDir folder;
    for (const QString &name : recordings)
        QVERIFY(QFile::copy(QDir(testsupport::testDataDir()).filePath(name), folder.filePath(name)));
    testsupport::dropFiles(*window, {folder.filePath(recordings[0]), folder.filePath(recordings[1])});
    QVERIFY(evaluationfolder::waitSettled(*window));

    // The folder list dragged taller; one recording opened, which closes it; then an evaluation.
    QSplitter *splitter = window->widgets.splitterMain;
    const int before = folderList->height();
    dragHandle(splitter, splitter->handle(2)->y() - 40, 2);
    const int dragged = folderList->height();
    QVERIFY(dragged > before);
    dialogs.fileAnswers << folder.filePath(recordings[1]);
    window->ui->actionOpen_File->trigger();
    QVERIFY(testsupport::waitForSpectrogram(*window));
    QVERIFY(!folderList->isVisible());
    evaluationfolder::startEvaluation(dialogs, *window, folder.path(), EvaluationMode::Manual);
    QVERIFY(evaluationfolder::waitSettled(*window));
    QVERIFY(evaluationList->isVisible());
    QTRY_COMPARE(evaluationList->height(), dragged);
}

void TestViewToggles::toolButtons_switchMouseHandling_data()
{
    QTest::addColumn<QStringList>("presses"); // tool buttons clicked, in order
    QTest::addColumn<bool>("selectionMode");
    QTest::newRow("at start: zoom") << QStringList{} << false;
    QTest::newRow("selection tool") << QStringList{"toolButton_2"} << true;
    QTest::newRow("zoom tool clicked while on") << QStringList{"toolButton"} << true;
    QTest::newRow("zoom tool twice") << QStringList{"toolButton", "toolButton"} << false;
    QTest::newRow("selection, then zoom") << QStringList{"toolButton_2", "toolButton"} << false;
}

void TestViewToggles::toolButtons_switchMouseHandling()
{
    QFETCH(QStringList, presses);
    QFETCH(bool, selectionMode);
    auto window = testsupport::spectrogramOnScreen();
    QVERIFY(window);
    for (const QString &name : presses)
        QTest::mouseClick(window->findChild<QToolButton *>(name), Qt::LeftButton);
    QCOMPARE(window->findChild<QToolButton *>(QStringLiteral("toolButton"))->isChecked(), !selectionMode);
    QCOMPARE(window->findChild<QToolButton *>(QStringLiteral("toolButton_2"))->isChecked(), selectionMode);

    QWidget *canvas = window->spectrogramPlot->canvas();
    QVERIFY(canvas->width() > 300 && canvas->height() > 200);
    MyQwtZoomer *zoomer = window->spectroZoomer;

    // A plain drag zooms in zoom mode and measures in selection mode; Shift swaps them.
    testsupport::drag(canvas, QPoint(50, 40), QPoint(150, 120), Qt::NoModifier);
    QCOMPARE(zoomer->zoomRectIndex(), selectionMode ? 0u : 1u);
    QCOMPARE(window->selectionRectMarker->isVisible(), selectionMode);
    zoomer->zoom(0);
    window->selectionRectMarker->hide();
    testsupport::drag(canvas, QPoint(60, 50), QPoint(200, 150), Qt::ShiftModifier);
    QCOMPARE(zoomer->zoomRectIndex(), selectionMode ? 1u : 0u);
    QCOMPARE(window->selectionRectMarker->isVisible(), !selectionMode);

    // Escape goes back to the full view only in selection mode, the right button only in zoom mode.
    zoomer->zoom(QRectF(2, 20, 3, 40));
    const uint zoomed = zoomer->zoomRectIndex();
    QTest::keyClick(canvas, Qt::Key_Escape);
    QCOMPARE(zoomer->zoomRectIndex(), selectionMode ? 0u : zoomed);
    zoomer->zoom(QRectF(2, 20, 3, 40));
    testsupport::sendMouse(canvas, QEvent::MouseButtonPress, QPoint(80, 80), Qt::RightButton, Qt::RightButton);
    testsupport::sendMouse(canvas, QEvent::MouseButtonRelease, QPoint(80, 80), Qt::RightButton, Qt::NoButton);
    QCOMPARE(zoomer->zoomRectIndex() > 0, selectionMode);

    // Escape cancels a measurement being dragged in zoom mode only.
    zoomer->zoom(0);
    window->selectionRectMarker->hide();
    const Qt::KeyboardModifiers measure = selectionMode ? Qt::NoModifier : Qt::ShiftModifier;
    testsupport::sendMouse(canvas, QEvent::MouseButtonPress, QPoint(60, 50), Qt::LeftButton, Qt::LeftButton, measure);
    testsupport::sendMouse(canvas, QEvent::MouseMove, QPoint(200, 150), Qt::NoButton, Qt::LeftButton, measure);
    QTest::keyClick(canvas, Qt::Key_Escape);
    testsupport::sendMouse(canvas, QEvent::MouseButtonRelease, QPoint(200, 150), Qt::LeftButton, Qt::NoButton, measure);
    QCOMPARE(window->selectionRectMarker->isVisible(), selectionMode);
}

void TestViewToggles::settingsDialog_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("calculating");
    QTest::addColumn<double>("nyquistKHz"); // 0: no recording
    QTest::newRow("no recording") << "" << false << 0.0;
    QTest::newRow("upper-case WAV: its own rate") << "/data/BAT.WAV" << false << 192.0;
    QTest::newRow("Raw: 500 kHz") << "/data/bat.Raw" << false << 250.0;
    QTest::newRow("another suffix: no rate") << "/data/bat.wav.flac" << false << 0.0;
    QTest::newRow("while calculating") << "/data/bat.wav" << true << 192.0;
}

void TestViewToggles::settingsDialog()
{
    QFETCH(QString, fileName);
    QFETCH(bool, calculating);
    QFETCH(double, nyquistKHz);
    MainWindow window;
    window.currentFileName = fileName;
    window.wavFile->sampleRate = 384000;
    window.calculating = calculating;
    SpectrogramSettingsDialog *dialog = window.spectroSettingsDialog;
    auto *tabs = dialog->findChild<QTabWidget *>();
    tabs->setCurrentIndex(2);
    auto *apply = dialog->findChild<QPushButton *>(QStringLiteral("pushButton_apply"));
    auto *defaults = dialog->findChild<QPushButton *>(QStringLiteral("pushButton_default"));

    action(window, QStringLiteral("actionSpectrogram_Settings"))->trigger();

    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QCOMPARE(tabs->currentIndex(), 0);
    // The dialog limits the markers to the recording's Nyquist frequency, 150 kHz without one.
    QCOMPARE(dialog->findChild<QDoubleSpinBox *>(QStringLiteral("spinBox_marker1"))->maximum(),
             nyquistKHz == 0.0 ? 150.0 : nyquistKHz);
    QCOMPARE(apply->isEnabled(), nyquistKHz != 0.0 && !calculating);
    QCOMPARE(defaults->isEnabled(), !calculating);
}

void TestViewToggles::show_bindsTaskbarButton()
{
    MainWindow window;
    QVERIFY(!window.taskbarButton->window());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.taskbarButton->window(), window.windowHandle());
}

QUILLON_TEST(TestViewToggles)
#include "tst_mainwindow_view.moc"
