#include "testregistry.h"

#include "app/mainwindow.h"
#include "app/spectrogramsettingsdialog.h"
#include "display/amplitudeenvelope.h"
#include "display/colourscheme.h"
#include "display/cursorcurves.h"
#include "display/maximumlevels.h"
#include "display/myqwtzoomer.h"
#include "display/rangemarker.h"
#include "filesizelimit.h"
#include "guitest.h"
#include "scripteddialogs.h"
#include "signalbuilder.h"
#include "ui_mainwindow.h"
#include "wavwriter.h"

#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>

#include <qwt_color_map.h>
#include <qwt_matrix_raster_data.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_scaleitem.h>
#include <qwt_plot_spectrogram.h>
#include <qwt_plot_textlabel.h>

#include <cmath>

namespace {

void set(const char *key, const QVariant &value)
{
    QSettings().setValue(key, value);
}

QwtInterval axis(const QwtPlot *plot, int id)
{
    return plot->axisInterval(id);
}

QVector<QPointF> points(const QwtPlotCurve *curve)
{
    QVector<QPointF> p;
    for (size_t i = 0; i < curve->dataSize(); ++i)
        p << curve->sample(int(i));
    return p;
}

// Seconds between the points of a curve: the step over the sample rate.
double spacing(const QwtPlotCurve *curve)
{
    return curve->sample(1).x() - curve->sample(0).x();
}

QVector<int> noise(double seconds, int rate = 250000)
{
    return testsupport::SignalBuilder(rate, seconds).noise(-10.0).samples();
}

} // namespace

// The axis plots in every mode, each settings signal on a shown recording,
// and the menu actions on the plots: one test per wiring path.
class TestAxisPlots : public testsupport::GuiTestCase
{
    Q_OBJECT
    QTemporaryDir dir;

    // Shows samples in w (an exposed window of 1000 x 700 when none is given).
    std::unique_ptr<MainWindow> shown(const QVector<int> &samples, int rate = 250000,
                                      std::unique_ptr<MainWindow> w = nullptr)
    {
        if (!w) {
            w = testsupport::exposedWindow();
            if (!w)
                return nullptr;
            w->resize(1000, 700);
        }
        const QString path = dir.path() + QStringLiteral("/%1_%2.wav").arg(samples.size()).arg(rate);
        if (!testsupport::writeFile(path, testsupport::simplePcmWav(samples, quint32(rate))))
            return nullptr;
        w->plot_Data(path);
        return testsupport::waitForSpectrogram(*w) ? std::move(w) : nullptr;
    }

private slots:
    void envelopeDensityAndThePlaybackPeak();
    void maximumSpectraFollowTheZoomWhenAsked();
    void cursorModePreparesTheCurves();
    void colourMapMarkersAndLevels();
    void frequencyScale();
    void timeScaleAndPlayback();
    void scalesWithoutARecording();
    void plotDocuments();
    void categorizationApplyAndPanes();
};

void TestAxisPlots::envelopeDensityAndThePlaybackPeak()
{
    ScriptedDialogs dialogs;
    QVector<int> loud = testsupport::SignalBuilder(250000, 0.2).tone(30000, -20.0).samples();
    loud[1000] = 16384;
    auto w = shown(loud);
    QVERIFY(w);
    // The first recording spreads its points over the desktop's width; the first at one step.
    const double firstStep = qMax(1, 50000 / QGuiApplication::primaryScreen()->availableGeometry().width());
    QCOMPARE(w->timePlotCurve1->sample(0).x(), firstStep / 250000.0);
    QCOMPARE(spacing(w->timePlotCurve1), firstStep / 250000.0);
    QCOMPARE(w->amplitudeAxisLimit, amplitudeAxisLimitFor(16384.0f / 32767.0f));
    QCOMPARE(axis(w->timePlot, QwtPlot::yLeft), QwtInterval(-w->amplitudeAxisLimit, w->amplitudeAxisLimit));
    // The playback buffer brings that peak to 80 % of full scale.
    const qint16 *pcm = reinterpret_cast<const qint16 *>(w->audioData.constData());
    QVERIFY(std::abs(*std::max_element(pcm, pcm + w->audioData.size() / 2) - 0.8 * 32767) < 2);

    // Later recordings use the time plot's canvas.
    w = shown(noise(2.0), 250000, std::move(w));
    QVERIFY(w);
    QCoreApplication::processEvents(); // the panes the first recording showed are laid out
    w->plotAmplitude();
    QCOMPARE(spacing(w->timePlotCurve1), double(500000 / w->timePlot->canvas()->width()) / 250000.0);
    // Hundreds of samples a point: the RMS curves drawn, no zero line.
    QVERIFY(w->timePlotCurve3->plot() && w->timePlotCurve4->plot() && !w->baselineMarker->isVisible());
    // The density axis runs from the largest density down.
    const QVector<QPointF> densities = points(w->frequencyPlotCurve);
    QCOMPARE(
        axis(w->frequencyPlot, QwtPlot::xBottom).minValue(),
        std::max_element(densities.begin(), densities.end(), [](QPointF a, QPointF b) { return a.x() < b.x(); })->x());

    // Fewer samples than pixels: every sample a point.
    set("windowSize", 5); // 64 points: a spectrogram of 500 samples
    w = shown(noise(0.002), 250000, std::move(w));
    QVERIFY(w);
    QCOMPARE(w->timePlotCurve1->dataSize(), size_t(499));
    QVERIFY(w->baselineMarker->isVisible() && !w->timePlotCurve3->plot());
    // Shorter than one block of 4096: no finite density, no curve, an axis still finite.
    QVERIFY(!w->frequencyPlotCurve->plot());
    QVERIFY(std::isfinite(axis(w->frequencyPlot, QwtPlot::xBottom).width()));
}

void TestAxisPlots::maximumSpectraFollowTheZoomWhenAsked()
{
    set("timePlotMode", 2);
    set("frequencyPlotMode", 2);
    ScriptedDialogs dialogs;
    auto w = shown(testsupport::SignalBuilder(250000, 1.0).sweep(20000, 80000, 0.1, 0.8, -6).samples());
    QVERIFY(w);
    const QwtMatrixRasterData &raster = *w->spectrogramData;
    const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
    const auto expected = [&](bool follow) {
        const VisibleArea visible{axis(w->spectrogramPlot, QwtPlot::xBottom), axis(w->spectrogramPlot, QwtPlot::yLeft)};
        return maximumOverTime(raster, *timeMaximumGrid(raster, 250000, follow, visible),
                               *cursorStep(raster.numColumns(), desktop.width()))
               + maximumOverFrequency(raster, *frequencyMaximumGrid(raster, 250000, 250000, follow, visible),
                                      *cursorStep(raster.numRows(), desktop.height()));
    };
    const QVector<QPointF> whole = expected(false);
    QCOMPARE(points(w->timePlotCurve1) + points(w->frequencyPlotCurve), whole);
    const QwtInterval levels = axis(w->spectrogramPlot, QwtPlot::yRight);
    QCOMPARE(axis(w->frequencyPlot, QwtPlot::xBottom), QwtInterval(levels.maxValue(), levels.minValue()));

    // Not following, a zoom leaves both curves alone; following, both are drawn over the zoomed stretch.
    const QRectF zoom(QPointF(0.2, 30.0), QPointF(0.5, 60.0));
    w->spectroZoomer->zoom(zoom);
    QCOMPARE(points(w->timePlotCurve1) + points(w->frequencyPlotCurve), whole);
    w->spectroZoomer->zoom(0);
    set("timePlotZoom", true);
    set("frequencyPlotZoom", true);
    w->spectroZoomer->zoom(zoom);
    QCOMPARE(points(w->timePlotCurve1) + points(w->frequencyPlotCurve), expected(true));
    // The frequency plot's axis beside the spectrogram's: the zoomed 30 to 60 kHz.
    QCOMPARE(axis(w->frequencyPlot, QwtPlot::yLeft), QwtInterval(30.0, 60.0));
    QCOMPARE(axis(w->timePlot, QwtPlot::xBottom).minValue(), 0.2);
}

void TestAxisPlots::cursorModePreparesTheCurves()
{
    ScriptedDialogs dialogs;
    auto w = shown(noise(0.5));
    QVERIFY(w && w->timePlotCurve1->plot());
    // The dialog's mode box writes both keys and tells both plots.
    set("timePlotMode", 1);
    set("frequencyPlotMode", 1);
    emit w->spectroSettingsDialog->timePlotChanged();
    emit w->spectroSettingsDialog->frequencyPlotChanged();
    QVERIFY(!w->timePlotCurve1->plot() && !w->frequencyPlotCurve->plot());
    QCOMPARE(axis(w->timePlot, QwtPlot::yLeft), axis(w->spectrogramPlot, QwtPlot::yRight));
    // The cursor over the spectrogram draws them.
    QWidget *canvas = w->spectrogramPlot->canvas();
    testsupport::sendMouse(canvas, QEvent::MouseMove, canvas->rect().center(), Qt::NoButton, Qt::NoButton);
    QVERIFY(w->timePlotCurve1->plot() && w->frequencyPlotCurve->plot());
}

void TestAxisPlots::colourMapMarkersAndLevels()
{
    ScriptedDialogs dialogs;
    auto w = shown(noise(0.5));
    QVERIFY(w);
    const QwtInterval levels = w->spectrogramData->interval(Qt::ZAxis);
    set("colormap", 1);
    set("smoothing", 1);
    emit w->spectroSettingsDialog->colormapChanged();
    const std::unique_ptr<QwtColorMap> blackWhite(colorMapFor(1));
    QCOMPARE(w->spectrogramItem->colorMap()->rgb(levels, levels.maxValue()),
             blackWhite->rgb(levels, levels.maxValue()));
    QCOMPARE(w->spectrogramData->resampleMode(), QwtMatrixRasterData::BilinearInterpolation);

    QLocale::setDefault(QLocale::c());
    set("marker2", true);
    set("valueMarker2", 45.27);
    emit w->spectroSettingsDialog->frequencyMarkerChanged();
    QVERIFY(w->ui->actionFrequency_Marker_2->isChecked() && !w->ui->actionFrequency_Marker_1->isChecked());
    QVERIFY(w->frequencyMarker2->isVisible() && w->frequencyMarker2->yValue() == 45.27);
    QCOMPARE(w->frequencyMarker2->label().text(), QStringLiteral("2: 45.3 kHz"));

    set("timePlotMode", 2);
    set("fixedZScale", true);
    set("lowerScaleLimit", -90);
    set("upperScaleLimit", -20);
    emit w->spectroSettingsDialog->scaleAmplitudeChanged();
    QCOMPARE(w->spectrogramData->interval(Qt::ZAxis), QwtInterval(-90, -20));
    QCOMPARE(axis(w->spectrogramPlot, QwtPlot::yRight), QwtInterval(-90, -20));
    QCOMPARE(axis(w->timePlot, QwtPlot::yLeft), QwtInterval(-90, -20));
    // The computed range comes back and is stored as the limits.
    set("fixedZScale", false);
    emit w->spectroSettingsDialog->scaleAmplitudeChanged();
    QCOMPARE(axis(w->spectrogramPlot, QwtPlot::yRight), QwtInterval(w->spectroMinDb, w->spectroMaxDb));
    QCOMPARE(QSettings().value("upperScaleLimit").toDouble(), w->spectroMaxDb);
}

void TestAxisPlots::frequencyScale()
{
    ScriptedDialogs dialogs;
    auto w = shown(noise(0.5, 44100), 44100);
    QVERIFY(w);
    // The exact Nyquist frequency: 22.05 kHz, not 22.
    QCOMPARE(w->frequencyRangeMarker2->intervalValue().minValue(), 22.05);
    emit w->spectroSettingsDialog->scaleFrequencyChanged();
    QCOMPARE(axis(w->spectrogramPlot, QwtPlot::yLeft), QwtInterval(0.0, 22.05));

    set("fixedYScale", true);
    set("lowerFrequencyLimit", 5);
    set("upperFrequencyLimit", 15);
    emit w->spectroSettingsDialog->scaleFrequencyChanged();
    QCOMPARE(axis(w->spectrogramPlot, QwtPlot::yLeft), QwtInterval(5.0, 15.0));
    QCOMPARE(axis(w->frequencyPlot, QwtPlot::yLeft), QwtInterval(5.0, 15.0));
    QCOMPARE(w->frequencyRangeMarker2->intervalValue(), QwtInterval(15.0, 15.0));

    // With a fixed aspect ratio the span follows the interval, from the same start.
    set("fixedXScale", 2);
    set("fixedAspectRatio", 20);
    set("upperFrequencyLimit", 10);
    emit w->spectroSettingsDialog->scaleFrequencyChanged();
    const QRect canvas = w->spectrogramPlot->canvas()->contentsRect();
    const double span = double(float(canvas.width()) / float(canvas.height()) * (5.0f / 20.0f));
    QVERIFY(std::abs(axis(w->spectrogramPlot, QwtPlot::xBottom).width() - span) < 1e-4);
    QCOMPARE(axis(w->timePlot, QwtPlot::xTop), axis(w->spectrogramPlot, QwtPlot::xBottom));
    // A ratio of 0 gives no span: the last view stays.
    const QwtInterval before = axis(w->spectrogramPlot, QwtPlot::xBottom);
    set("fixedAspectRatio", 0);
    emit w->spectroSettingsDialog->scaleFrequencyChanged();
    QCOMPARE(axis(w->spectrogramPlot, QwtPlot::xBottom), before);
}

void TestAxisPlots::timeScaleAndPlayback()
{
    ScriptedDialogs dialogs;
    auto w = shown(noise(2.0));
    QVERIFY(w);
    QCoreApplication::processEvents(); // the panes the first recording showed are laid out
    // The envelope spreads its points over the canvas as it is when drawn.
    int width = w->timePlot->canvas()->width();
    set("fixedXScale", 1);
    set("fixedDuration", 0.5);
    emit w->spectroSettingsDialog->scaleTimeChanged();
    QCOMPARE(axis(w->spectrogramPlot, QwtPlot::xBottom), QwtInterval(0.0, 0.5));
    QCOMPARE(axis(w->timePlot, QwtPlot::xTop), QwtInterval(0.0, 0.5));
    QVERIFY(!w->spectroScrollBar->isHidden() && !w->frequencyPlotBottomSpacer->isHidden());
    QCOMPARE(w->spectroScrollBar->maximum(), int(1.5 / double(w->secondsPerColumn)));
    // What plays is what is on view: half a second of 16-bit samples.
    QVERIFY(std::abs(w->playData.size() - 0.5 * 250000 * 2) <= 4);
    // The envelope is drawn again for a screen of a quarter of the recording:
    // a quarter of the step, not the sparse points of the whole recording's.
    QCOMPARE(spacing(w->timePlotCurve1), double(125000 / width) / 250000.0);

    width = w->timePlot->canvas()->width();
    set("fixedXScale", 0);
    emit w->spectroSettingsDialog->scaleTimeChanged();
    QCOMPARE(spacing(w->timePlotCurve1), double(500000 / width) / 250000.0);
    QCOMPARE(axis(w->timePlot, QwtPlot::xBottom), QwtInterval(0.0, 2.0));
    QVERIFY(w->spectroScrollBar->isHidden() && w->frequencyPlotBottomSpacer->isHidden());
    QCOMPARE(w->playData.size(), w->audioData.size());
}

void TestAxisPlots::scalesWithoutARecording()
{
    // A first load that failed: the view stays the empty one, with finite axes, and the plots empty.
    ScriptedDialogs dialogs;
    MainWindow w;
    QVERIFY(testsupport::writeFile(dir.path() + "/empty.wav", testsupport::simplePcmWav({}, 250000)));
    dialogs.expectMessages();
    w.plot_Data(dir.path() + "/empty.wav");
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.first().text, QStringLiteral("The wav file could not be loaded"));
    QVERIFY(!w.firstPlot);
    set("fixedXScale", 2);
    for (void (SpectrogramSettingsDialog::*changed)() :
         {&SpectrogramSettingsDialog::scaleTimeChanged, &SpectrogramSettingsDialog::scaleFrequencyChanged,
          &SpectrogramSettingsDialog::timePlotChanged, &SpectrogramSettingsDialog::frequencyPlotChanged})
        emit(w.spectroSettingsDialog->*changed)();
    QCOMPARE(axis(w.spectrogramPlot, QwtPlot::xBottom), QwtInterval(0.0, 1.0));
    QCOMPARE(axis(w.spectrogramPlot, QwtPlot::yLeft), QwtInterval(0.0, 150.0));
    QCOMPARE(axis(w.timePlot, QwtPlot::xBottom), QwtInterval(0.0, 1.0));
    QVERIFY(!w.timePlotCurve1->plot() && !w.frequencyPlotCurve->plot());
}

void TestAxisPlots::plotDocuments()
{
    ScriptedDialogs dialogs;
    auto w = shown(noise(0.2));
    QVERIFY(w);
    QTemporaryDir target;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(target.path()));
    QVERIFY(testsupport::writeFile("Spectrogram.pdf", "an older file"));
    // A directory where the file should go: CI runs as root, so no permission would stop it.
    QVERIFY(QDir().mkdir("TimeAxisPlot.pdf"));
    dialogs.expectMessages(5);
    w->ui->actionExport_Spectrogram->trigger();
    w->ui->actionExport_Amplitude_Plot->trigger();
    w->ui->actionExport_Frequency_Plot->trigger();
    // On a full disk the document that stands there stays byte for byte. A disk
    // full a few bytes before the document's end fails only the last bytes,
    // those a save file still buffers when committed, however Qt splits its writes.
    const QByteArray frequencyDocument = testsupport::readFile("FrequencyAxisPlot.pdf");
    for (const int room : {frequencyDocument.size() - 8, 1024}) {
        {
            FileSizeLimit disk{rlim_t(room)};
            QVERIFY(disk.isSet());
            w->ui->actionExport_Frequency_Plot->trigger();
        }
        QCOMPARE(testsupport::readFile(target.filePath("FrequencyAxisPlot.pdf")), frequencyDocument);
    }
    QDir::setCurrent(previous);

    for (const char *name : {"Spectrogram.pdf", "FrequencyAxisPlot.pdf"}) {
        QFile file(target.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly) && file.size() > 1000);
        QCOMPARE(file.read(4), QByteArray("%PDF"));
    }
    // Each written document is named with its whole path; the one that failed says so.
    const auto whole = [&target](const char *name) {
        return QDir::toNativeSeparators(QFileInfo(target.filePath(name)).canonicalFilePath());
    };
    QCOMPARE(dialogs.messages.size(), 5);
    QCOMPARE(dialogs.messages[0].title, QStringLiteral("Export Spectrogram"));
    QCOMPARE(dialogs.messages[0].icon, QMessageBox::Information);
    QVERIFY(dialogs.messages[0].text.endsWith(whole("Spectrogram.pdf")));
    QCOMPARE(dialogs.messages[1].text, QStringLiteral("Could not write to file."));
    QCOMPARE(dialogs.messages[1].icon, QMessageBox::Critical);
    QCOMPARE(dialogs.messages[2].title, QStringLiteral("Export Frequency Axis Plot"));
    QVERIFY(dialogs.messages[2].text.endsWith(whole("FrequencyAxisPlot.pdf")));
    QCOMPARE(dialogs.messages[3].text, QStringLiteral("Could not write to file."));
    QCOMPARE(dialogs.messages[4].text, QStringLiteral("Could not write to file."));
}

void TestAxisPlots::categorizationApplyAndPanes()
{
    ScriptedDialogs dialogs;
    {
        // Nothing opened: nothing to calculate, nothing to complain about.
        MainWindow fresh;
        QSignalSpy none(&fresh, &MainWindow::signalCalcSpektrogramm);
        emit fresh.spectroSettingsDialog->apply();
        fresh.ui->actionCategorization->trigger();
        QVERIFY(none.isEmpty() && dialogs.messages.isEmpty());
    }
    auto w = shown(noise(0.2));
    QVERIFY(w);
    QSignalSpy requests(w.get(), &MainWindow::signalCalcSpektrogramm);
    emit w->spectroSettingsDialog->apply();
    QCOMPARE(requests.count(), 1);
    QVERIFY(testsupport::waitForSpectrogram(*w));

    // As a categorized result leaves them: the marker, a region label, the verdict.
    auto *marker = new QwtPlotMarker(QStringLiteral("categorizeMarker"));
    marker->attach(w->spectrogramPlot);
    auto *blob = new QwtPlotMarker(QStringLiteral("Blob"));
    blob->attach(w->spectrogramPlot);
    w->spectrogramTextLabel->attach(w->spectrogramPlot);
    w->ui->actionCategorization->setChecked(true);
    w->ui->actionCategorization->trigger(); // off
    QVERIFY(!blob->isVisible() && !w->spectrogramTextLabel->isVisible());
    QCOMPARE(QSettings().value("categorization").toBool(), false);
    w->ui->actionCategorization->trigger(); // on
    QVERIFY(blob->isVisible() && w->spectrogramTextLabel->isVisible() && requests.count() == 1);
    // Calculated without categorization: switching it on calculates again.
    delete marker;
    w->ui->actionCategorization->setChecked(false);
    w->ui->actionCategorization->trigger();
    QCOMPARE(requests.count(), 2);
    QVERIFY(requests.last().at(8).toBool());
    QVERIFY(testsupport::waitForSpectrogram(*w));

    // The amplitude pane collapses and opens again at its minimum height.
    w->ui->actionAmplitude_Plot->setChecked(true);
    w->ui->actionAmplitude_Plot->trigger();
    QCOMPARE(w->ui->splitter_2->sizes().first(), 0);
    w->ui->actionAmplitude_Plot->trigger();
    QCOMPARE(w->ui->splitter_2->sizes().first(), w->ui->frame_3->minimumHeight());
}

QUILLON_TEST(TestAxisPlots)
#include "tst_mainwindow_axisplots.moc"
