#include "testregistry.h"

#include "app/mainwindow.h"
#include "display/myqwtzoomer.h"
#include "display/myrectrangemarker.h"
#include "guitest.h"
#include "scripteddialogs.h"
#include "signalbuilder.h"
#include "ui_mainwindow.h"
#include "wavwriter.h"

#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <qwt_matrix_raster_data.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>

namespace {

// Counts the resize events of the object it watches.
class ResizeCounter : public QObject
{
public:
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Resize)
            ++count;
        return false;
    }
};

} // namespace

class TestEventFilter : public testsupport::GuiTestCase
{
    Q_OBJECT
private slots:
    void initTestCase();
    void fixedAspectResize_data();
    void fixedAspectResize();
    void resizeWithoutFixedAxis();
    void fixedAspectChosenLater();
    void cursorCurves();
    void leavingHidesMarkers();
    void rightClickAndEscape();
    void openingWindowsFitTheScreen();

private:
    QString path(const QString &name) const { return m_dir.path() + QLatin1Char('/') + name; }
    // Shows a recording of the given length and waits for its spectrogram.
    bool showRecording(MainWindow &w, double seconds);
    QTemporaryDir m_dir;
};

void TestEventFilter::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QLocale::setDefault(QLocale::c());
}

bool TestEventFilter::showRecording(MainWindow &w, double seconds)
{
    const QString name = path(QStringLiteral("rec%1.wav").arg(seconds));
    const QVector<int> samples = testsupport::SignalBuilder(250000.0, seconds).tone(40000.0, -6.0).samples();
    if (!testsupport::writeFile(name, testsupport::simplePcmWav(samples, 250000)))
        return false;
    w.resize(1200, 800);
    w.show();
    w.plot_Data(name);
    return testsupport::waitForSpectrogram(w);
}

void TestEventFilter::fixedAspectResize_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<double>("aspect");
    QTest::newRow("recording fits the span") << 0.5 << 10.0;
    QTest::newRow("recording longer than the span") << 4.0 << 400.0;
}

void TestEventFilter::fixedAspectResize()
{
    QFETCH(double, seconds);
    QFETCH(double, aspect);
    QSettings().setValue("fixedXScale", 2);
    QSettings().setValue("fixedAspectRatio", aspect);
    ScriptedDialogs dialogs;
    MainWindow w;
    QVERIFY(showRecording(w, seconds));
    w.resize(1000, 700);
    QCoreApplication::processEvents();
    QWidget *canvas = w.spectrogramPlot->canvas();
    // A zoomed view first: the resize starts again from the whole span.
    w.spectroZoomer->zoom(QRectF(QPointF(0.1, 20.0), QPointF(0.2, 30.0)));
    QResizeEvent resize(canvas->size(), canvas->size());
    QApplication::sendEvent(canvas, &resize);

    // One second is drawn as wide as `aspect` kHz are tall: S = (W / H) x (F / A).
    const QRect contents = canvas->contentsRect();
    const double frequencySpan = w.spectrogramPlot->axisInterval(QwtPlot::yLeft).width();
    const double span = double(contents.width()) / contents.height() * frequencySpan / aspect;
    const QwtInterval time = w.spectrogramPlot->axisInterval(QwtPlot::xBottom);
    QCOMPARE(time.minValue(), 0.0);
    QVERIFY2(qAbs(time.maxValue() - span) < 1e-4 * span,
             qPrintable(QStringLiteral("%1 shown, %2 expected, canvas %3 x %4")
                            .arg(time.maxValue())
                            .arg(span)
                            .arg(contents.width())
                            .arg(contents.height())));
    QCOMPARE(w.timePlot->axisInterval(QwtPlot::xBottom).maxValue(), time.maxValue());
    QCOMPARE(w.timePlot->axisInterval(QwtPlot::xTop).maxValue(), time.maxValue());
    // The zoomer's way back leads to the new span, set in the same pass.
    QCOMPARE(w.spectroZoomer->zoomRectIndex(), 0u);
    QVERIFY(qAbs(w.spectroZoomer->zoomBase().right() - time.maxValue()) < 1e-9 * span);
    const bool scrolls = span < seconds;
    QCOMPARE(w.spectroScrollBar->isVisibleTo(&w), scrolls);
    QCOMPARE(w.frequencyPlotBottomSpacer->isVisibleTo(&w), scrolls);
    if (scrolls) {
        QCOMPARE(w.spectroScrollBar->maximum(), int((seconds - time.maxValue()) / w.secondsPerColumn));
        QCOMPARE(w.spectroScrollBar->pageStep(), int(time.maxValue() / w.secondsPerColumn));
        QCOMPARE(w.spectroScrollBar->singleStep(), 20);
        QCOMPARE(w.spectroScrollBar->value(), 0);
        QCOMPARE(w.frequencyPlotBottomSpacer->minimumHeight(),
                 w.spectroScrollBar->height() + w.ui->gridLayout_17->verticalSpacing());
    }
    // The frequency plot ends level with the spectrogram, bar shown or not.
    const auto bottom = [&w](const QWidget *plot) { return plot->mapTo(&w, QPoint(0, plot->height())).y(); };
    QCOMPARE(bottom(w.frequencyPlot), bottom(w.spectrogramPlot));
    // The canvas keeps its height whether or not the bar shows: a second pass changes nothing.
    QApplication::sendEvent(canvas, &resize);
    QCOMPARE(w.spectrogramPlot->axisInterval(QwtPlot::xBottom).maxValue(), time.maxValue());
}

void TestEventFilter::resizeWithoutFixedAxis()
{
    ScriptedDialogs dialogs;
    MainWindow w;
    QVERIFY(showRecording(w, 0.5));
    const QwtInterval before = w.spectrogramPlot->axisInterval(QwtPlot::xBottom);
    QSettings().setValue("fixedAspectRatio", 1.0);
    QWidget *canvas = w.spectrogramPlot->canvas();
    QResizeEvent resize(canvas->size(), canvas->size());
    QApplication::sendEvent(canvas, &resize);
    QCOMPARE(w.spectrogramPlot->axisInterval(QwtPlot::xBottom).maxValue(), before.maxValue());
}

void TestEventFilter::fixedAspectChosenLater()
{
    // Drawn with the whole recording on view; the fixed aspect is chosen afterwards.
    ScriptedDialogs dialogs;
    MainWindow w;
    QVERIFY(showRecording(w, 4.0));
    QSettings().setValue("fixedXScale", 2);
    QSettings().setValue("fixedAspectRatio", 400.0);
    QWidget *canvas = w.spectrogramPlot->canvas();
    const auto settleLayouts = []() {
        for (int i = 0; i < 5; ++i)
            QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    };
    const auto resizePass = [canvas, &settleLayouts]() {
        QResizeEvent resize(canvas->size(), canvas->size());
        QApplication::sendEvent(canvas, &resize);
        settleLayouts();
    };
    resizePass();
    resizePass();
    const int height = canvas->height();
    const double shown = w.spectrogramPlot->axisInterval(QwtPlot::xBottom).maxValue();

    // Showing or hiding the bar must not resize the canvas the span comes from,
    // or each resize pass could undo the one before.
    ResizeCounter resizes;
    canvas->installEventFilter(&resizes);
    for (int i = 0; i < 2; ++i) {
        w.spectroScrollBar->setVisible(!w.spectroScrollBar->isVisibleTo(&w));
        settleLayouts();
    }
    canvas->removeEventFilter(&resizes);
    QCOMPARE(resizes.count, 0);
    QCOMPARE(canvas->height(), height);
    resizePass();
    QCOMPARE(w.spectrogramPlot->axisInterval(QwtPlot::xBottom).maxValue(), shown);
}

void TestEventFilter::cursorCurves()
{
    QSettings().setValue("timePlotMode", 1);
    QSettings().setValue("frequencyPlotMode", 1);
    ScriptedDialogs dialogs;
    MainWindow w;
    QVERIFY(showRecording(w, 0.5));
    QWidget *canvas = w.spectrogramPlot->canvas();
    const QPoint pos(canvas->width() / 2, canvas->height() / 3);
    QMouseEvent move(QEvent::MouseMove, pos, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);

    const double t = w.spectrogramPlot->invTransform(QwtPlot::xBottom, pos.x());
    const double f = w.spectrogramPlot->invTransform(QwtPlot::yLeft, pos.y());
    QVERIFY(w.amplitudePlotMarker->isVisible());
    QCOMPARE(w.amplitudePlotMarker->xValue(), t);
    QVERIFY(w.frequencyPlotMarker->isVisible());
    QCOMPARE(w.frequencyPlotMarker->yValue(), f);

    // The time curve: one point per `step` columns of the whole recording.
    const int columns = w.spectrogramData->numColumns();
    const int screenWidth = QGuiApplication::primaryScreen()->availableGeometry().width();
    const int step = qMax(1, columns / screenWidth);
    QCOMPARE(w.timePlotCurve1->plot(), w.timePlot);
    QVERIFY(w.timePlotCurve1->isVisible());
    QCOMPARE(int(w.timePlotCurve1->dataSize()), (columns - 1) / step);
    // Every point lies on the cursor frequency's level, never below -300 dB.
    for (size_t i = 0; i < w.timePlotCurve1->dataSize(); ++i)
        QVERIFY(w.timePlotCurve1->sample(int(i)).y() >= -300.0);
    QCOMPARE(w.timePlot->axisInterval(QwtPlot::yLeft).minValue(), w.spectrogramData->interval(Qt::ZAxis).minValue());

    // The frequency curve: the spectrum at the cursor time, levels on a reversed axis.
    const int rows = w.spectrogramData->numRows();
    const int screenHeight = QGuiApplication::primaryScreen()->availableGeometry().height();
    QCOMPARE(int(w.frequencyPlotCurve->dataSize()), (rows - 1) / qMax(1, rows / screenHeight));
    QCOMPARE(w.frequencyPlot->axisInterval(QwtPlot::xBottom).minValue(),
             w.spectrogramData->interval(Qt::ZAxis).maxValue());
    // At the tone's frequency the spectrum peaks.
    double peakLevel = -1e300;
    double peakFrequency = 0.0;
    for (size_t i = 0; i < w.frequencyPlotCurve->dataSize(); ++i) {
        const QPointF p = w.frequencyPlotCurve->sample(int(i));
        if (p.x() > peakLevel) {
            peakLevel = p.x();
            peakFrequency = p.y();
        }
    }
    QVERIFY2(qAbs(peakFrequency - 40.0) < 1.0, qPrintable(QString::number(peakFrequency)));
}

void TestEventFilter::leavingHidesMarkers()
{
    QSettings().setValue("timePlotMode", 1);
    ScriptedDialogs dialogs;
    MainWindow w;
    QVERIFY(showRecording(w, 0.5));
    QWidget *canvas = w.spectrogramPlot->canvas();
    QMouseEvent over(QEvent::MouseMove, QPoint(20, 20), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &over);
    QVERIFY(w.amplitudePlotMarker->isVisible());
    QVERIFY(w.timePlotCurve1->isVisible());

    // Moving over the spectrogram plot widget itself (its axes) keeps them.
    QMouseEvent onPlot(QEvent::MouseMove, QPoint(2, 2), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w.spectrogramPlot, &onPlot);
    QVERIFY(w.amplitudePlotMarker->isVisible());

    QMouseEvent away(QEvent::MouseMove, QPoint(2, 2), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w.ui->treeWidget_2, &away);
    QVERIFY(!w.amplitudePlotMarker->isVisible());
    QVERIFY(!w.frequencyPlotMarker->isVisible());
    QVERIFY(!w.timePlotCurve1->isVisible());
}

void TestEventFilter::rightClickAndEscape()
{
    ScriptedDialogs dialogs;
    MainWindow w;
    QVERIFY(showRecording(w, 0.5));
    QWidget *canvas = w.spectrogramPlot->canvas();
    auto rightClick = [canvas]() {
        QMouseEvent press(QEvent::MouseButtonPress, QPoint(10, 10), Qt::RightButton, Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(canvas, &press);
    };
    auto escape = [canvas]() {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(canvas, &key);
    };
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));

    // Zoom mode: a right click leaves the rectangle, Escape hides it.
    w.ui->toolButton->setChecked(true);
    w.selectionRectMarker->show();
    rightClick();
    QVERIFY(w.selectionRectMarker->isVisible());
    escape();
    QVERIFY(!w.selectionRectMarker->isVisible());

    // Selection mode: the right click hides it, Escape does not.
    w.ui->toolButton->setChecked(false);
    w.selectionRectMarker->show();
    escape();
    QVERIFY(w.selectionRectMarker->isVisible());
    rightClick();
    QVERIFY(!w.selectionRectMarker->isVisible());

    // Keys reach the window only while it is the active window.
    w.ui->toolButton->setChecked(true);
    w.selectionRectMarker->show();
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(!w.isActiveWindow());
    escape();
    QVERIFY(w.selectionRectMarker->isVisible());
}

void TestEventFilter::openingWindowsFitTheScreen()
{
    // Larger than the screen, as a form laid out on a large desktop opens on a laptop.
    MainWindow w;
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QDialog dialog(&w);
    dialog.resize(available.size() + QSize(400, 300));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(available.contains(dialog.frameGeometry()));
    // Moved by hand past the screen's corner and shown again: moved back in.
    dialog.hide();
    dialog.move(available.bottomRight() - QPoint(50, 50));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(available.contains(dialog.frameGeometry()));
}

QUILLON_TEST(TestEventFilter)
#include "tst_mainwindow_eventfilter.moc"
