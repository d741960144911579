#include "testregistry.h"

#include "app/mainwindow.h"
#include "app/spectrogramsettingsdialog.h"
#include "display/amplitudeenvelope.h"
#include "display/cursorcurves.h"
#include "display/maximumlevels.h"
#include "display/myqwtzoomer.h"
#include "display/rangemarker.h"
#include "guitest.h"
#include "scripteddialogs.h"
#include "signalbuilder.h"
#include "wavwriter.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <qwt_matrix_raster_data.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_scaleitem.h>

#include <cmath>

namespace {

void set(const char *key, const QVariant &value)
{
    QSettings().setValue(key, value);
}

// Seconds between the points of a curve: the step over the sample rate.
double spacing(const QwtPlotCurve *curve)
{
    return curve->dataSize() < 2 ? 0.0 : curve->sample(1).x() - curve->sample(0).x();
}

QVector<QPointF> points(const QwtPlotCurve *curve)
{
    QVector<QPointF> p;
    for (size_t i = 0; i < curve->dataSize(); ++i)
        p << curve->sample(int(i));
    return p;
}

} // namespace

class TestAxisPlots : public testsupport::GuiTestCase {
    Q_OBJECT
    QTemporaryDir dir;

    bool show(MainWindow &w, const QString &name, const QVector<int> &samples, quint32 rate = 250000)
    {
        const QString path = dir.path() + QLatin1Char('/') + name;
        if (!testsupport::writeFile(path, testsupport::simplePcmWav(samples, rate)))
            return false;
        w.plot_Data(path);
        return testsupport::waitForSpectrogram(w);
    }

private slots:
    void envelopeAndThePlaybackPeak();
    void densityOfShortAndLong();
    void maximumSpectraFollowTheZoomWhenAsked();
    void cursorModePreparesTheCurves();
};

void TestAxisPlots::envelopeAndThePlaybackPeak()
{
    ScriptedDialogs dialogs;
    auto w = testsupport::exposedWindow();
    QVERIFY(w);
    w->resize(1000, 700);
    QVector<int> loud = testsupport::SignalBuilder(250000, 0.2).tone(30000, -20.0).samples();
    loud[1000] = 16384;
    QVERIFY(show(*w, "loud.wav", loud));

    // The first recording spreads its points over the desktop's width.
    const int desktop = QGuiApplication::primaryScreen()->availableGeometry().width();
    const qint64 firstStep = qMax(1, 50000 / desktop);
    QCOMPARE(spacing(w->timePlotCurve1), double(firstStep) / 250000.0);
    QCOMPARE(w->timePlotCurve1->sample(0).x(), double(firstStep) / 250000.0);
    QCOMPARE(w->amplitudeAxisLimit, amplitudeAxisLimitFor(16384.0f / 32767.0f));
    QCOMPARE(w->timePlot->axisInterval(QwtPlot::yLeft).maxValue(), double(w->amplitudeAxisLimit));
    QCOMPARE(w->timePlot->axisInterval(QwtPlot::yLeft).minValue(), -double(w->amplitudeAxisLimit));
    QCOMPARE(w->timePlotCurve3->plot() != nullptr, firstStep > 10);
    // The playback buffer brings that peak to 80 % of full scale.
    const qint16 *pcm = reinterpret_cast<const qint16 *>(w->audioData.constData());
    const qint16 loudest = *std::max_element(pcm, pcm + w->audioData.size() / 2);
    QVERIFY2(std::abs(loudest - 0.8 * 32767) < 2, qPrintable(QString::number(loudest)));

    // Later recordings use the time plot's canvas: 2 s there give a step above 10, and the RMS curves.
    QVERIFY(show(*w, "long.wav", testsupport::SignalBuilder(250000, 2.0).noise(-10.0).samples()));
    // Drawn again once the panes the first recording showed are laid out.
    QCoreApplication::processEvents();
    w->plotAmplitude();
    const int width = w->timePlot->canvas()->width();
    QCOMPARE(spacing(w->timePlotCurve1), double(500000 / width) / 250000.0);
    QVERIFY(w->timePlotCurve3->plot() && w->timePlotCurve4->plot());
    QVERIFY(!w->baselineMarker->isVisible());

    // Fewer samples than pixels: every sample a point, the zero line, no RMS.
    set("windowSize", 5); // 64 points: a spectrogram of 500 samples
    QVERIFY(show(*w, "short.wav", testsupport::SignalBuilder(250000, 0.002).noise(-10.0).samples()));
    QCOMPARE(spacing(w->timePlotCurve1), 1.0 / 250000.0);
    QCOMPARE(w->timePlotCurve1->dataSize(), size_t(499));
    QVERIFY(w->baselineMarker->isVisible());
    QVERIFY(!w->timePlotCurve3->plot());
}

void TestAxisPlots::densityOfShortAndLong()
{
    ScriptedDialogs dialogs;
    MainWindow w;
    // 44.1 kHz: the shade above ends at the exact Nyquist frequency.
    QVERIFY(show(w, "tone.wav", testsupport::SignalBuilder(44100, 0.5).tone(8000, -6.0).samples(), 44100));
    QCOMPARE(w.frequencyPlotCurve->plot(), w.frequencyPlot);
    QCOMPARE(w.frequencyRangeMarker2->intervalValue().minValue(), 22.05);
    const QwtInterval levels = w.frequencyPlot->axisInterval(QwtPlot::xBottom);
    double largest = -1e300;
    for (const QPointF &p : points(w.frequencyPlotCurve))
        largest = qMax(largest, p.x());
    QCOMPARE(levels.minValue(), largest); // the axis runs from the largest density down
    QCOMPARE(w.frequencyPlotScaleItem->position(), levels.maxValue());

    // Shorter than one block of 4096: no finite density, no curve, an axis still finite.
    set("windowSize", 5);
    QVERIFY(show(w, "short.wav", testsupport::SignalBuilder(44100, 0.05).tone(8000, -6.0).samples(), 44100));
    QVERIFY(!w.frequencyPlotCurve->plot());
    QVERIFY(std::isfinite(w.frequencyPlot->axisInterval(QwtPlot::xBottom).width()));
}

void TestAxisPlots::maximumSpectraFollowTheZoomWhenAsked()
{
    set("timePlotMode", 2);
    set("frequencyPlotMode", 2);
    ScriptedDialogs dialogs;
    MainWindow w;
    QVERIFY(show(w, "sweep.wav", testsupport::SignalBuilder(250000, 1.0).sweep(20000, 80000, 0.1, 0.8, -6).samples()));
    const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
    const QwtMatrixRasterData &raster = *w.spectrogramData;
    const auto visible = [&w] {
        return VisibleArea{w.spectrogramPlot->axisInterval(QwtPlot::xBottom),
                           w.spectrogramPlot->axisInterval(QwtPlot::yLeft)};
    };
    const int timeStep = *cursorStep(raster.numColumns(), desktop.width());
    const int frequencyStep = *cursorStep(raster.numRows(), desktop.height());
    const QVector<QPointF> wholeTime = maximumOverTime(raster, *timeMaximumGrid(raster, 250000, false, visible()), timeStep);
    QCOMPARE(points(w.timePlotCurve1), wholeTime);
    QCOMPARE(points(w.frequencyPlotCurve),
             maximumOverFrequency(raster, *frequencyMaximumGrid(raster, 250000, 250000, false, visible()), frequencyStep));
    const QwtInterval levels = w.spectrogramPlot->axisInterval(QwtPlot::yRight);
    QCOMPARE(w.timePlotCurve1->baseline(), levels.minValue());
    QCOMPARE(w.frequencyPlot->axisInterval(QwtPlot::xBottom).minValue(), levels.maxValue());

    // Not following: a zoom leaves both curves alone.
    w.spectroZoomer->zoom(QRectF(QPointF(0.2, 30.0), QPointF(0.5, 60.0)));
    QCOMPARE(points(w.timePlotCurve1), wholeTime);

    // Following: both are drawn again over the zoomed stretch.
    w.spectroZoomer->zoom(0);
    set("timePlotZoom", true);
    set("frequencyPlotZoom", true);
    w.spectroZoomer->zoom(QRectF(QPointF(0.2, 30.0), QPointF(0.5, 60.0)));
    QCOMPARE(points(w.timePlotCurve1),
             maximumOverTime(raster, *timeMaximumGrid(raster, 250000, true, visible()), timeStep));
    QCOMPARE(points(w.frequencyPlotCurve),
             maximumOverFrequency(raster, *frequencyMaximumGrid(raster, 250000, 250000, true, visible()), frequencyStep));
    QVERIFY(w.timePlotCurve1->sample(0).x() >= 0.2);
    QCOMPARE(w.timePlot->axisInterval(QwtPlot::xBottom).minValue(), 0.2);
}

void TestAxisPlots::cursorModePreparesTheCurves()
{
    ScriptedDialogs dialogs;
    auto w = testsupport::exposedWindow();
    QVERIFY(w);
    QVERIFY(show(*w, "noise.wav", testsupport::SignalBuilder(250000, 0.5).noise(-10.0).samples()));
    QVERIFY(w->timePlotCurve1->plot());

    // The dialog's mode box writes both keys and tells both plots.
    set("timePlotMode", 1);
    set("frequencyPlotMode", 1);
    emit w->spectroSettingsDialog->timePlotChanged();
    emit w->spectroSettingsDialog->frequencyPlotChanged();
    QVERIFY(!w->timePlotCurve1->plot());
    QVERIFY(!w->frequencyPlotCurve->plot());
    QCOMPARE(w->timePlotCurve1->baseline(), -300.0);
    QCOMPARE(w->timePlot->axisInterval(QwtPlot::yLeft), w->spectrogramPlot->axisInterval(QwtPlot::yRight));
    QCOMPARE(w->frequencyPlotCurve->brush().color(), QColor(122, 184, 0));

    // The cursor over the spectrogram draws them.
    QWidget *canvas = w->spectrogramPlot->canvas();
    testsupport::sendMouse(canvas, QEvent::MouseMove, canvas->rect().center(), Qt::NoButton, Qt::NoButton);
    QCOMPARE(w->timePlotCurve1->plot(), w->timePlot);
    QCOMPARE(w->frequencyPlotCurve->plot(), w->frequencyPlot);
}

QUILLON_TEST(TestAxisPlots)
#include "tst_mainwindow_axisplots.moc"
