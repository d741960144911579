#include "testregistry.h"

#include "app/mainwindow.h"
#include "app/spectrogramsettingsdialog.h"
#include "display/myqwtzoomer.h"
#include "display/myrectrangemarker.h"
#include "display/rangemarker.h"
#include "evaluationfolder.h"
#include "guitest.h"
#include "ui_mainwindow.h"

#include <QAction>
#include <QDir>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <qwt_plot.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_renderer.h>
#include <qwt_plot_scaleitem.h>
#include <qwt_scale_engine.h>
#include <qwt_scale_widget.h>

#include <memory>

namespace {

// Renders a plot's canvas into an image with scale maps worked out here, not
// taken from the plot's layout: x over 0 .. width, y from height up to 0.
QImage renderCanvas(QwtPlot *plot, const QSize &size)
{
    plot->updateAxes();
    QwtScaleMap maps[QwtPlot::axisCnt];
    for (int axis = 0; axis < QwtPlot::axisCnt; ++axis) {
        maps[axis].setTransformation(plot->axisScaleEngine(axis)->transformation());
        maps[axis].setScaleInterval(plot->axisScaleDiv(axis).lowerBound(), plot->axisScaleDiv(axis).upperBound());
        const bool vertical = axis == QwtPlot::yLeft || axis == QwtPlot::yRight;
        maps[axis].setPaintInterval(vertical ? size.height() : 0, vertical ? 0 : size.width());
    }
    QImage image(size, QImage::Format_ARGB32);
    QPainter painter(&image);
    QwtPlotRenderer renderer;
    renderer.setDiscardFlag(QwtPlotRenderer::DiscardCanvasFrame);
    renderer.renderCanvas(plot, &painter, QRectF(QPointF(0, 0), size), maps);
    return image;
}

bool near(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) <= 1 && qAbs(a.green() - b.green()) <= 1 && qAbs(a.blue() - b.blue()) <= 1;
}

// Where second t stands on the window in a plot whose time runs along axis.
double xOnWindow(const QwtPlot *plot, int axis, double t)
{
    return plot->canvas()->mapTo(plot->window(), QPoint(0, 0)).x() + plot->canvasMap(axis).transform(t);
}

double yOnWindow(const QwtPlot *plot, double kHz)
{
    return plot->canvas()->mapTo(plot->window(), QPoint(0, 0)).y() + plot->canvasMap(QwtPlot::yLeft).transform(kHz);
}

// Whether the numbers a scale item writes into its canvas stay in the canvas's
// rows: drawn with 20 rows to spare above and below it, none leave ink there.
bool numbersInsideCanvas(const QwtPlot *plot, const QwtPlotScaleItem *numbers)
{
    const QRect canvas = plot->canvas()->contentsRect();
    QImage image(canvas.width(), canvas.height() + 40, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QImage blank = image;
    QPainter painter(&image);
    painter.translate(-canvas.left(), 20 - canvas.top());
    numbers->draw(&painter, plot->canvasMap(QwtPlot::xBottom), plot->canvasMap(QwtPlot::yLeft), canvas);
    painter.resetTransform();
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillRect(0, 20, canvas.width(), canvas.height(), Qt::transparent);
    painter.end();
    return image == blank;
}

#define COMPARE_COLOUR(actual, expected)                                                                               \
    QVERIFY2(near((actual), (expected)), qPrintable(QVariant(actual).toString() + " " + QVariant(expected).toString()))

// Pixels of a colour in a row, by default from x = 60 on: the scale items
// write their numbers at the left edge.
int countInRow(const QImage &image, int row, const QColor &colour, int from = 60, int to = -1)
{
    int n = 0;
    for (int x = from; x < (to < 0 ? image.width() : to); ++x)
        n += near(image.pixelColor(x, row), colour) ? 1 : 0;
    return n;
}

} // namespace

class TestPlots : public testsupport::GuiTestCase
{
    Q_OBJECT

private slots:
    void items_renderWhereTheirIntervalsMap();
    void markerDrag_snapsStoresAndDialogFollows_data();
    void markerDrag_snapsStoresAndDialogFollows();
    void selection_sameWhicheverWayDrawn_data();
    void selection_sameWhicheverWayDrawn();
    void colourBar_blackToGreenOverTheLevelRange();
    void axes_lineUp_data();
    void axes_lineUp();
    void storedMarkersAndTitles_data();
    void storedMarkersAndTitles();
};

void TestPlots::items_renderWhereTheirIntervalsMap()
{
    MainWindow window;
    for (QwtPlotGrid *grid : {window.timePlotGrid, window.frequencyPlotGrid, window.spectrogramGrid}) {
        grid->enableX(false);
        grid->enableY(false);
    }
    const QColor canvas(250, 250, 250);
    const QColor shade(221, 221, 221); // black at alpha 30 over 250: 250 x 225 / 255

    // Time plot, 400 px over 10 s: 40 px a second.
    window.timePlot->setAxisScale(QwtPlot::xBottom, 0, 10);
    window.timePlot->setAxisScale(QwtPlot::yLeft, -1, 1);
    window.timeRangeMarker1->setInterval(QwtInterval(0, 2));
    window.timeRangeMarker2->setInterval(QwtInterval(8, 10));
    window.timePositionMarker->setXValue(1);
    QImage image = renderCanvas(window.timePlot, QSize(400, 100));
    COMPARE_COLOUR(image.pixelColor(70, 50), shade);
    COMPARE_COLOUR(image.pixelColor(360, 50), shade);
    COMPARE_COLOUR(image.pixelColor(100, 50), canvas);
    COMPARE_COLOUR(image.pixelColor(300, 50), canvas);
    COMPARE_COLOUR(image.pixelColor(40, 20), QColor(Qt::red)); // the playback line lies over the band
    QCOMPARE(countInRow(image, 50, Qt::darkGray), 0);          // the cursor lines start hidden
    window.baselineMarker->show();
    QVERIFY(countInRow(renderCanvas(window.timePlot, QSize(400, 100)), 50, Qt::darkGray) > 250);

    // Frequency plot, 200 px over 100 kHz: 2 px a kilohertz, 0 kHz on the bottom row.
    window.frequencyPlot->setAxisScale(QwtPlot::yLeft, 0, 100);
    window.frequencyRangeMarker1->setInterval(QwtInterval(0, 20));
    window.frequencyRangeMarker2->setInterval(QwtInterval(90, 100));
    image = renderCanvas(window.frequencyPlot, QSize(300, 200));
    COMPARE_COLOUR(image.pixelColor(100, 180), shade);
    COMPARE_COLOUR(image.pixelColor(100, 10), shade);
    COMPARE_COLOUR(image.pixelColor(100, 100), canvas);

    // Spectrogram, 400 x 250 px: 40 px a second, 2 px a kilohertz; no recording yet.
    window.spectrogramPlot->setAxisScale(QwtPlot::xBottom, 0, 10);
    window.spectrogramPlot->setAxisScale(QwtPlot::yLeft, 0, 125);
    window.spectrogramPositionMarker->setXValue(9);
    window.frequencyMarker1->setYValue(50);
    window.selectionRectMarker->setIntervals(QwtInterval(2, 4), QwtInterval(100, 75));
    image = renderCanvas(window.spectrogramPlot, QSize(400, 250));
    COMPARE_COLOUR(image.pixelColor(200, 150), QColor(Qt::black));
    COMPARE_COLOUR(image.pixelColor(360, 150), QColor(Qt::red));
    QCOMPARE(countInRow(image, 150, Qt::white), 0);       // marker hidden
    QCOMPARE(countInRow(image, 50, Qt::red, 80, 161), 0); // measurement hidden
    window.frequencyMarker1->show();
    window.selectionRectMarker->show();
    image = renderCanvas(window.spectrogramPlot, QSize(400, 250));
    QVERIFY(countInRow(image, 150, Qt::white) > 150); // dashed across the canvas at 50 kHz
    QCOMPARE(countInRow(image, 140, Qt::white), 0);
    // Its dashed top edge at 100 kHz from 2 to 4 s.
    QVERIFY(countInRow(image, 50, Qt::red, 80, 161) + countInRow(image, 49, Qt::red, 80, 161) > 30);
    COMPARE_COLOUR(image.pixelColor(120, 75), QColor(Qt::black));
}

void TestPlots::markerDrag_snapsStoresAndDialogFollows_data()
{
    QTest::addColumn<int>("marker");
    QTest::addColumn<double>("draggedTo");
    QTest::addColumn<double>("expected");
    QTest::addColumn<QString>("label");
    QTest::newRow("20.3 kHz snaps to 20.5") << 1 << 20.3 << 20.5 << "1: 20.5 kHz";
    QTest::newRow("61.2 kHz snaps down to 61.0") << 2 << 61.2 << 61.0 << "2: 61.0 kHz";
    QTest::newRow("past the top pins to the visible maximum") << 3 << 140.0 << 125.0 << "3: 125.0 kHz";
}

void TestPlots::markerDrag_snapsStoresAndDialogFollows()
{
    QFETCH(int, marker);
    QFETCH(double, draggedTo);
    QFETCH(double, expected);
    QFETCH(QString, label);
    MainWindow window;
    window.spectrogramPlot->setAxisScale(QwtPlot::yLeft, 0, 125);
    window.spectrogramPlot->updateAxes();
    window.spectroSettingsDialog->show();
    const QwtPlotMarker *markers[] = {window.frequencyMarker1, window.frequencyMarker2, window.frequencyMarker3};
    QwtPlotPicker *pickers[] = {window.frequencyMarkerPicker1, window.frequencyMarkerPicker2,
                                window.frequencyMarkerPicker3};

    emit pickers[marker - 1]->moved(QPointF(3.0, draggedTo));

    QCOMPARE(markers[marker - 1]->yValue(), expected);
    QCOMPARE(markers[marker - 1]->label().text(), label);
    QCOMPARE(QSettings().value(QStringLiteral("valueMarker%1").arg(marker)).toDouble(), expected);
    const auto *spinBox =
        window.spectroSettingsDialog->findChild<QDoubleSpinBox *>(QStringLiteral("spinBox_marker%1").arg(marker));
    QCOMPARE(spinBox->value(), expected);
}

void TestPlots::selection_sameWhicheverWayDrawn_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    // Always the canvas pixels (100, 60) and (300, 200) as opposite corners.
    QTest::newRow("left to right, top down") << QPoint(100, 60) << QPoint(300, 200);
    QTest::newRow("right to left, bottom up") << QPoint(300, 200) << QPoint(100, 60);
    QTest::newRow("right to left, top down") << QPoint(300, 60) << QPoint(100, 200);
    QTest::newRow("left to right, bottom up") << QPoint(100, 200) << QPoint(300, 60);
}

void TestPlots::selection_sameWhicheverWayDrawn()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    auto window = testsupport::spectrogramOnScreen();
    QVERIFY(window);
    QwtPlot *plot = window->spectrogramPlot;
    QVERIFY(plot->canvas()->width() > 300 && plot->canvas()->height() > 200);

    // Zoom mode: Shift with the left button measures, it does not zoom.
    testsupport::drag(plot->canvas(), from, to, Qt::ShiftModifier);

    QVERIFY(window->selectionRectMarker->isVisible());
    QCOMPARE(window->spectroZoomer->zoomRectIndex(), 0u);
    const QwtInterval time = window->selectionRectMarker->xIntervalValue();
    const QwtInterval frequency = window->selectionRectMarker->yIntervalValue();
    QCOMPARE(time.minValue(), plot->invTransform(QwtPlot::xBottom, 100));
    QCOMPARE(time.maxValue(), plot->invTransform(QwtPlot::xBottom, 300));
    // The upper frequency (the smaller pixel row) first.
    QCOMPARE(frequency.minValue(), plot->invTransform(QwtPlot::yLeft, 60));
    QCOMPARE(frequency.maxValue(), plot->invTransform(QwtPlot::yLeft, 200));
}

void TestPlots::colourBar_blackToGreenOverTheLevelRange()
{
    auto window = testsupport::spectrogramOnScreen();
    QVERIFY(window);
    QwtScaleWidget *bar = window->colorBarWidget;
    QCOMPARE(bar, window->spectrogramPlot->axisWidget(QwtPlot::yRight));
    QVERIFY(window->spectrogramPlot->axisEnabled(QwtPlot::yRight));
    QCOMPARE(bar->title().text(), QStringLiteral("Amplitude in dBFS"));
    const QRect barRect = bar->colorBarRect(bar->contentsRect()).toRect();
    QCOMPARE(barRect.width(), 15);
    QVERIFY(barRect.height() > 100);

    // The loudest level at the top in the spectrogram's green, the quietest
    // black at the bottom, and a straight blend between them.
    const QImage image = bar->grab().toImage();
    const int x = barRect.center().x();
    const auto within = [](const QColor &a, const QColor &b, int tolerance) {
        return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
               && qAbs(a.blue() - b.blue()) <= tolerance;
    };
    QVERIFY(within(image.pixelColor(x, barRect.top() + 1), QColor(122, 184, 0), 4));
    QVERIFY(within(image.pixelColor(x, barRect.bottom() - 1), QColor(Qt::black), 4));
    QVERIFY(within(image.pixelColor(x, barRect.center().y()), QColor(61, 92, 0), 4));
}

void TestPlots::axes_lineUp_data()
{
    QTest::addColumn<QSize>("size");          // empty: maximised (on the test screen); at least the least size
    QTest::addColumn<QString>("lists");       // "folder": three recordings dropped; "evaluation": manual
    QTest::addColumn<int>("plotsHeight");     // > 0: asked of the splitter above the lists, which keeps the least
    QTest::addColumn<QStringList>("toggled"); // view actions triggered, in this order
    QTest::addColumn<QVariantMap>("stored");  // with "frequencyPlotZoom", zoomed to 0.2 - 0.6 s, 20 - 60 kHz
    const QSize least(750, 500);
    const QSize restored(1000, 700);
    // The density, then the levels, in windows of the common sizes with one recording open.
    QTest::newRow("1366 px") << QSize(1366, 700) << "" << 0 << QStringList{} << QVariantMap{};
    QTest::newRow("1000 px") << restored << "" << 0 << QStringList{} << QVariantMap{};
    QTest::newRow("maximised") << QSize() << "" << 0 << QStringList{} << QVariantMap{};
    QTest::newRow("cursor levels") << restored << "" << 0 << QStringList{} << QVariantMap{{"frequencyPlotMode", 1}};
    QTest::newRow("maximum levels") << restored << "" << 0 << QStringList{} << QVariantMap{{"frequencyPlotMode", 2}};
    QTest::newRow("scroll bar") << restored << "" << 0 << QStringList{}
                                << QVariantMap{{"fixedXScale", 1}, {"fixedDuration", 0.3}};
    QTest::newRow("zoomed") << restored << "" << 0 << QStringList{}
                            << QVariantMap{{"timePlotZoom", true}, {"frequencyPlotZoom", true}};
    QTest::newRow("frequency plot hidden")
        << restored << "" << 0 << QStringList{"actionFrequency_Axis_Plot"} << QVariantMap{};
    // Its pane closed, the time plot lies out of the window: nothing there to line up with.
    QTest::newRow("time plot hidden") << restored << "" << 0 << QStringList{"actionAmplitude_Plot"} << QVariantMap{};
    QTest::newRow("time plot hidden and shown again")
        << restored << "" << 0 << QStringList{"actionAmplitude_Plot", "actionAmplitude_Plot"} << QVariantMap{};
    // The lists below leave the plots a pane shorter than the least the
    // plots ask for (at the least window), or just that (the lists made as
    // tall as they go): the density's title is longer than the levels'.
    for (int mode = 0; mode <= 2; ++mode) {
        const QVariantMap levels{{"frequencyPlotMode", mode}};
        QTest::addRow("least window, folder, mode %d", mode) << least << "folder" << 0 << QStringList{} << levels;
        QTest::addRow("1000 x 700, evaluation, lists up, mode %d", mode)
            << restored << "evaluation" << 1 << QStringList{} << levels;
    }
    QTest::newRow("least window, evaluation") << least << "evaluation" << 0 << QStringList{} << QVariantMap{};
    QTest::newRow("maximised, evaluation") << QSize() << "evaluation" << 0 << QStringList{} << QVariantMap{};
    QTest::newRow("1920 x 1050, evaluation, lists up")
        << QSize(1920, 1050) << "evaluation" << 1 << QStringList{} << QVariantMap{};
    QTest::newRow("1920 x 1050, folder, lists half way")
        << QSize(1920, 1050) << "folder" << 450 << QStringList{} << QVariantMap{};
    QTest::newRow("least window, folder, time plot hidden")
        << least << "folder" << 0 << QStringList{"actionAmplitude_Plot"} << QVariantMap{};
    QTest::newRow("least window, folder, time plot hidden and shown again")
        << least << "folder" << 0 << QStringList{"actionAmplitude_Plot", "actionAmplitude_Plot"} << QVariantMap{};
    QTest::newRow("least window, folder, frequency plot hidden and shown again")
        << least << "folder" << 0 << QStringList{"actionFrequency_Axis_Plot", "actionFrequency_Axis_Plot"}
        << QVariantMap{};
    QTest::newRow("least window, folder, scroll bar")
        << least << "folder" << 0 << QStringList{} << QVariantMap{{"fixedXScale", 1}, {"fixedDuration", 0.3}};
}

void TestPlots::axes_lineUp()
{
    QFETCH(QSize, size);
    QFETCH(QString, lists);
    QFETCH(int, plotsHeight);
    QFETCH(QStringList, toggled);
    QFETCH(QVariantMap, stored);
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        QSettings().setValue(it.key(), it.value());
    ScriptedDialogs dialogs;
    auto window = testsupport::exposedWindow();
    QVERIFY(window);
    const QStringList recordings{"Barbastelle.wav", "Natterers.wav", "SopranoFeedingBuzz.wav"};
    QTemporaryDir folder;
    for (const QString &name : recordings)
        QVERIFY(QFile::copy(QDir(testsupport::testDataDir()).filePath(name), folder.filePath(name)));
    if (lists == "folder")
        testsupport::dropFiles(
            *window, {folder.filePath(recordings[0]), folder.filePath(recordings[1]), folder.filePath(recordings[2])});
    else if (lists == "evaluation")
        evaluationfolder::startEvaluation(dialogs, *window, folder.path(), EvaluationMode::Manual);
    else
        window->plot_Data(folder.filePath(recordings[0]));
    QVERIFY(evaluationfolder::waitSettled(*window));
    QVERIFY(testsupport::waitForSpectrogram(*window));
    QCOMPARE(window->widgets.folderPane->isVisible(), lists == "folder");
    QCOMPARE(window->widgets.evaluationPane->isVisible(), lists == "evaluation");
    size.isValid() ? window->resize(size) : window->showMaximized();
    QVERIFY(testsupport::waitUntil([&] {
        return size.isValid() ? window->size() == size.expandedTo(window->minimumSize()) : window->isMaximized();
    }));
    if (plotsHeight > 0) {
        // As the handle above the lists dragged up leaves them; the rest to the list shown.
        QSplitter *splitter = window->widgets.splitterMain;
        const int before = splitter->sizes().value(0);
        QList<int> sizes{plotsHeight};
        while (sizes.size() < splitter->count())
            sizes << splitter->height() - plotsHeight;
        splitter->setSizes(sizes);
        QVERIFY(splitter->sizes().value(0) < before);
    }
    const MainWindow *w = window.get();
    for (const QString &action : toggled) {
        window->findChild<QAction *>(action)->trigger();
        // Each plot in sight or out of it, as its action says, before the next step.
        QVERIFY(testsupport::waitUntil([w] {
            return w->timePlot->visibleRegion().isEmpty() != w->ui->actionAmplitude_Plot->isChecked()
                   && w->frequencyPlot->visibleRegion().isEmpty() != w->ui->actionFrequency_Axis_Plot->isChecked();
        }));
    }
    if (stored.contains("frequencyPlotZoom"))
        window->spectroZoomer->zoom(QRectF(QPointF(0.2, 20.0), QPointF(0.6, 60.0)));
    QCOMPARE(window->spectroScrollBar->isVisible(), stored.contains("fixedDuration"));

    // A call's envelope above its trace, the start over the start and the end
    // over the end; a level beside its row of the spectrogram.
    const QwtPlot *time = window->timePlot;
    QwtPlot *spectrogram = window->spectrogramPlot;
    const QwtPlot *frequency = window->frequencyPlot;
    const QwtInterval shown = spectrogram->axisInterval(QwtPlot::xBottom);
    const QwtInterval kHz = spectrogram->axisInterval(QwtPlot::yLeft);
    QCOMPARE(time->axisInterval(QwtPlot::xTop), shown);
    const bool timeShown = w->ui->actionAmplitude_Plot->isChecked();
    const bool frequencyShown = w->ui->actionFrequency_Axis_Plot->isChecked();
    const auto apart = [&] {
        double worst = 0.0;
        for (int k = 0; k <= 5; ++k) {
            const double t = shown.minValue() + shown.width() * k / 5;
            const double f = kHz.minValue() + kHz.width() * k / 5;
            if (timeShown)
                worst =
                    qMax(worst, qAbs(xOnWindow(time, QwtPlot::xTop, t) - xOnWindow(spectrogram, QwtPlot::xBottom, t)));
            if (frequencyShown)
                worst = qMax(worst, qAbs(yOnWindow(frequency, f) - yOnWindow(spectrogram, f)));
        }
        return worst;
    };
    testsupport::waitUntil([&] { return apart() <= 1.0; }, 5000);
    QVERIFY2(apart() <= 1.0, qPrintable(QStringLiteral("%1 px apart").arg(apart())));
    // The numbers at the ends of the canvases whole, 0 kHz not cut in half.
    if (frequencyShown) {
        QCOMPARE(frequency->axisInterval(QwtPlot::yLeft), kHz);
        QVERIFY(numbersInsideCanvas(frequency, window->frequencyPlotScaleItem));
    }
    QVERIFY(numbersInsideCanvas(spectrogram, window->spectrogramScaleItem));
}

void TestPlots::storedMarkersAndTitles_data()
{
    QTest::addColumn<QVariantMap>("stored");
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QList<bool>>("visible");
    QTest::addColumn<QStringList>("titles"); // time plot's left axis, frequency plot's bottom axis
    QTest::newRow("empty store") << QVariantMap{} << QList<double>{16, 33, 55}
                                 << QStringList{"1: 16.0 kHz", "2: 33.0 kHz", "3: 55.0 kHz"}
                                 << QList<bool>{false, false, false} << QStringList{"Norm. Amplitude", "Ampl. in dBFS"};
    QTest::newRow("stored values, marker 2 shown, levels")
        << QVariantMap{{"valueMarker1", 20.5},
                       {"valueMarker2", "42.5"},
                       {"marker2", true},
                       {"timePlotMode", 2},
                       {"frequencyPlotMode", 1}}
        << QList<double>{20.5, 42.5, 55} << QStringList{"1: 20.5 kHz", "2: 42.5 kHz", "3: 55.0 kHz"}
        << QList<bool>{false, true, false} << QStringList{"Ampl. in dBFS", "Ampl. in dBFS"};
    QTest::newRow("unknown modes leave no titles")
        << QVariantMap{{"marker1", true}, {"marker3", true}, {"timePlotMode", 3}, {"frequencyPlotMode", -1}}
        << QList<double>{16, 33, 55} << QStringList{"1: 16.0 kHz", "2: 33.0 kHz", "3: 55.0 kHz"}
        << QList<bool>{true, false, true} << QStringList{"", ""};
}

void TestPlots::storedMarkersAndTitles()
{
    QFETCH(QVariantMap, stored);
    QFETCH(QList<double>, values);
    QFETCH(QStringList, labels);
    QFETCH(QList<bool>, visible);
    QFETCH(QStringList, titles);
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        QSettings().setValue(it.key(), it.value());
    MainWindow window;
    const QwtPlotMarker *markers[] = {window.frequencyMarker1, window.frequencyMarker2, window.frequencyMarker3};
    for (int k = 0; k < 3; ++k) {
        QCOMPARE(markers[k]->yValue(), values[k]);
        QCOMPARE(markers[k]->label().text(), labels[k]);
        QCOMPARE(markers[k]->isVisible(), visible[k]);
    }
    QCOMPARE(window.timePlot->axisTitle(QwtPlot::yLeft).text(), titles[0]);
    QCOMPARE(window.frequencyPlot->axisTitle(QwtPlot::xBottom).text(), titles[1]);
}

QUILLON_TEST(TestPlots)
#include "tst_mainwindow_plots.moc"
