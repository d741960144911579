#include "testregistry.h"

#include "app/mainwindow.h"
#include "app/spectrogramsettingsdialog.h"
#include "display/colourscheme.h"
#include "display/myqwtzoomer.h"
#include "display/rangemarker.h"
#include "guitest.h"
#include "scripteddialogs.h"
#include "signalbuilder.h"
#include "ui_mainwindow.h"
#include "wavwriter.h"

#include <QDir>
#include <QFrame>
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
#include <qwt_plot_spectrogram.h>
#include <qwt_plot_textlabel.h>

#include <cmath>

namespace {

void set(const char *key, const QVariant &value)
{
    QSettings().setValue(key, value);
}

QPair<double, double> axis(const QwtPlot *plot, int id)
{
    const QwtInterval i = plot->axisInterval(id);
    return qMakePair(i.minValue(), i.maxValue());
}

QByteArray head(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(4) : QByteArray();
}

} // namespace

// Each settings signal on a shown recording, and the menu actions on the plots.
class TestViewSettings : public testsupport::GuiTestCase {
    Q_OBJECT
    QTemporaryDir dir;

    // seconds of noise at rate, shown in a window 1000 x 700.
    std::unique_ptr<MainWindow> shown(double seconds, quint32 rate = 250000)
    {
        auto w = testsupport::exposedWindow();
        const QString path = dir.path() + QStringLiteral("/noise_%1_%2.wav").arg(seconds).arg(rate);
        if (!w || !testsupport::writeFile(path, testsupport::simplePcmWav(
                                                    testsupport::SignalBuilder(rate, seconds).noise(-10.0).samples(), rate)))
            return nullptr;
        w->resize(1000, 700);
        w->plot_Data(path);
        return testsupport::waitForSpectrogram(*w) ? std::move(w) : nullptr;
    }

private slots:
    void colourMapAndMarkers();
    void levelRange();
    void frequencyScale();
    void timeScaleAndPlayback();
    void scalesWithoutARecording();
    void applyRecalculates();
    void plotDocuments();
    void categorizationAndPanes();
};

void TestViewSettings::colourMapAndMarkers()
{
    ScriptedDialogs dialogs;
    auto w = shown(0.5);
    QVERIFY(w);
    const QwtInterval levels = w->spectrogramData->interval(Qt::ZAxis);
    const QRgb blackGreenTop = w->spectrogramItem->colorMap()->rgb(levels, levels.maxValue());
    set("colormap", 1); // black to white
    set("smoothing", 1);
    emit w->spectroSettingsDialog->colormapChanged();
    const std::unique_ptr<QwtColorMap> blackWhite(colorMapFor(1));
    QCOMPARE(w->spectrogramItem->colorMap()->rgb(levels, levels.maxValue()),
             blackWhite->rgb(levels, levels.maxValue()));
    QVERIFY(w->spectrogramItem->colorMap()->rgb(levels, levels.maxValue()) != blackGreenTop);
    QCOMPARE(w->spectrogramData->resampleMode(), QwtMatrixRasterData::BilinearInterpolation);

    QLocale::setDefault(QLocale::c());
    set("marker2", true);
    set("valueMarker2", 45.27);
    emit w->spectroSettingsDialog->frequencyMarkerChanged();
    QVERIFY(w->ui->actionFrequency_Marker_2->isChecked());
    QVERIFY(!w->ui->actionFrequency_Marker_1->isChecked());
    QVERIFY(w->frequencyMarker2->isVisible() && !w->frequencyMarker1->isVisible());
    QCOMPARE(w->frequencyMarker2->yValue(), 45.27);
    QCOMPARE(w->frequencyMarker2->label().text(), QStringLiteral("2: 45.3 kHz"));
}

void TestViewSettings::levelRange()
{
    ScriptedDialogs dialogs;
    auto w = shown(0.5);
    QVERIFY(w);
    set("timePlotMode", 2);
    set("frequencyPlotMode", 2);
    set("fixedZScale", true);
    set("lowerScaleLimit", -90);
    set("upperScaleLimit", -20);
    emit w->spectroSettingsDialog->scaleAmplitudeChanged();
    QCOMPARE(w->spectrogramData->interval(Qt::ZAxis), QwtInterval(-90, -20));
    QCOMPARE(axis(w->spectrogramPlot, QwtPlot::yRight), qMakePair(-90.0, -20.0));
    QCOMPARE(axis(w->timePlot, QwtPlot::yLeft), qMakePair(-90.0, -20.0));
    QCOMPARE(axis(w->frequencyPlot, QwtPlot::xBottom), qMakePair(-20.0, -90.0));

    // The computed range comes back and is stored as the limits.
    set("fixedZScale", false);
    emit w->spectroSettingsDialog->scaleAmplitudeChanged();
    QCOMPARE(axis(w->spectrogramPlot, QwtPlot::yRight), qMakePair(w->spectroMinDb, w->spectroMaxDb));
    QCOMPARE(QSettings().value("lowerScaleLimit").toDouble(), w->spectroMinDb);
    QCOMPARE(QSettings().value("upperScaleLimit").toDouble(), w->spectroMaxDb);
}

void TestViewSettings::frequencyScale()
{
    ScriptedDialogs dialogs;
    auto w = shown(0.5, 44100);
    QVERIFY(w);
    // The exact Nyquist frequency: 22.05 kHz, not 22.
    emit w->spectroSettingsDialog->scaleFrequencyChanged();
    QCOMPARE(axis(w->spectrogramPlot, QwtPlot::yLeft), qMakePair(0.0, 22.05));

    set("fixedYScale", true);
    set("lowerFrequencyLimit", 5);
    set("upperFrequencyLimit", 15);
    emit w->spectroSettingsDialog->scaleFrequencyChanged();
    QCOMPARE(axis(w->spectrogramPlot, QwtPlot::yLeft), qMakePair(5.0, 15.0));
    QCOMPARE(axis(w->frequencyPlot, QwtPlot::yLeft), qMakePair(5.0, 15.0));
    QCOMPARE(w->frequencyRangeMarker1->intervalValue(), QwtInterval(5.0, 5.0));
    QCOMPARE(w->frequencyRangeMarker2->intervalValue(), QwtInterval(15.0, 15.0));

    // With a fixed aspect ratio the span follows the interval, from the same start.
    set("fixedXScale", 2);
    set("fixedAspectRatio", 20);
    set("upperFrequencyLimit", 10);
    emit w->spectroSettingsDialog->scaleFrequencyChanged();
    const QRect canvas = w->spectrogramPlot->canvas()->contentsRect();
    const double span = double(float(canvas.width()) / float(canvas.height()) * (5.0f / 20.0f));
    QVERIFY(std::abs(w->spectrogramPlot->axisInterval(QwtPlot::xBottom).width() - span) < 1e-4);
    QCOMPARE(axis(w->timePlot, QwtPlot::xTop), axis(w->spectrogramPlot, QwtPlot::xBottom));
    QCOMPARE(w->spectroScrollBar->isHidden(), span >= 0.5);
    // A ratio of 0 gives no span: the last view stays.
    const auto before = axis(w->spectrogramPlot, QwtPlot::xBottom);
    set("fixedAspectRatio", 0);
    emit w->spectroSettingsDialog->scaleFrequencyChanged();
    QCOMPARE(axis(w->spectrogramPlot, QwtPlot::xBottom), before);
}

void TestViewSettings::timeScaleAndPlayback()
{
    ScriptedDialogs dialogs;
    auto w = shown(2.0);
    QVERIFY(w);
    QVERIFY(w->spectroScrollBar->isHidden());
    set("fixedXScale", 1);
    set("fixedDuration", 0.5);
    emit w->spectroSettingsDialog->scaleTimeChanged();
    for (const int id : {int(QwtPlot::xBottom), int(QwtPlot::xTop)})
        QCOMPARE(axis(w->timePlot, id), qMakePair(0.0, 0.5));
    QCOMPARE(axis(w->spectrogramPlot, QwtPlot::xBottom), qMakePair(0.0, 0.5));
    QVERIFY(!w->spectroScrollBar->isHidden());
    QCOMPARE(w->spectroScrollBar->maximum(), int(1.5 / double(w->secondsPerColumn)));
    QVERIFY(!w->frequencyPlotBottomSpacer->isHidden());
    // What plays is what is on view: half a second of 16-bit samples.
    QVERIFY(std::abs(w->playData.size() - 0.5 * 250000 * 2) <= 4);

    set("fixedXScale", 0);
    emit w->spectroSettingsDialog->scaleTimeChanged();
    QCOMPARE(axis(w->timePlot, QwtPlot::xBottom), qMakePair(0.0, 2.0));
    QVERIFY(w->spectroScrollBar->isHidden() && w->frequencyPlotBottomSpacer->isHidden());
    QCOMPARE(w->playData.size(), w->audioData.size());
}

void TestViewSettings::scalesWithoutARecording()
{
    // A first load that failed: the view stays the empty one, with finite axes.
    ScriptedDialogs dialogs;
    MainWindow w;
    QVERIFY(testsupport::writeFile(dir.path() + "/empty.wav", testsupport::simplePcmWav({}, 250000)));
    w.plot_Data(dir.path() + "/empty.wav");
    QVERIFY(!w.firstPlot);
    set("fixedXScale", 2);
    emit w.spectroSettingsDialog->scaleTimeChanged();
    emit w.spectroSettingsDialog->scaleFrequencyChanged();
    QCOMPARE(axis(w.spectrogramPlot, QwtPlot::xBottom), qMakePair(0.0, 1.0));
    QCOMPARE(axis(w.spectrogramPlot, QwtPlot::yLeft), qMakePair(0.0, 150.0));
    QCOMPARE(axis(w.timePlot, QwtPlot::xBottom), qMakePair(0.0, 1.0));
    emit w.spectroSettingsDialog->timePlotChanged();
    emit w.spectroSettingsDialog->frequencyPlotChanged();
    QVERIFY(!w.timePlotCurve1->plot() && !w.frequencyPlotCurve->plot());
}

void TestViewSettings::applyRecalculates()
{
    ScriptedDialogs dialogs;
    MainWindow fresh;
    QSignalSpy none(&fresh, &MainWindow::signalCalcSpektrogramm);
    emit fresh.spectroSettingsDialog->apply();
    fresh.ui->actionCategorization->trigger();
    QCOMPARE(none.count(), 0);
    QVERIFY(dialogs.messages.isEmpty()); // nothing opened: nothing to calculate, nothing to complain about

    auto w = shown(0.2);
    QVERIFY(w);
    QSignalSpy requests(w.get(), &MainWindow::signalCalcSpektrogramm);
    emit w->spectroSettingsDialog->apply();
    QCOMPARE(requests.count(), 1);
    QVERIFY(testsupport::waitForSpectrogram(*w));
}

void TestViewSettings::plotDocuments()
{
    ScriptedDialogs dialogs;
    auto w = shown(0.2);
    QVERIFY(w);
    QTemporaryDir target;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(target.path()));
    QVERIFY(testsupport::writeFile("Spectrogram.pdf", "an older file"));
    // A directory where the file should go: CI runs as root, so no permission would stop it.
    QVERIFY(QDir().mkdir("TimeAxisPlot.pdf"));
    w->ui->actionExport_Spectrogram->trigger();
    w->ui->actionExport_Amplitude_Plot->trigger();
    w->ui->actionExport_Frequency_Plot->trigger();
    QDir::setCurrent(previous);

    for (const char *name : {"Spectrogram.pdf", "FrequencyAxisPlot.pdf"}) {
        QCOMPARE(head(target.filePath(name)), QByteArray("%PDF"));
        QVERIFY(QFileInfo(target.filePath(name)).size() > 1000);
    }
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.first().text, QStringLiteral("Could not write to file."));
    QCOMPARE(dialogs.messages.first().icon, QMessageBox::Critical);
}

void TestViewSettings::categorizationAndPanes()
{
    ScriptedDialogs dialogs;
    auto w = shown(0.2);
    QVERIFY(w);
    // As a categorized result leaves them: the marker, a region label, the verdict.
    auto *marker = new QwtPlotMarker(QStringLiteral("categorizeMarker"));
    marker->attach(w->spectrogramPlot);
    auto *blob = new QwtPlotMarker(QStringLiteral("Blob"));
    blob->attach(w->spectrogramPlot);
    w->spectrogramTextLabel->attach(w->spectrogramPlot);
    QSignalSpy requests(w.get(), &MainWindow::signalCalcSpektrogramm);

    w->ui->actionCategorization->setChecked(true);
    w->ui->actionCategorization->trigger(); // off
    QVERIFY(!blob->isVisible() && !w->spectrogramTextLabel->isVisible());
    QCOMPARE(QSettings().value("categorization").toBool(), false);
    w->ui->actionCategorization->trigger(); // on
    QVERIFY(blob->isVisible() && w->spectrogramTextLabel->isVisible());
    QCOMPARE(requests.count(), 0);

    // Calculated without categorization: switching it on calculates again.
    marker->detach();
    delete marker;
    w->ui->actionCategorization->setChecked(false);
    w->ui->actionCategorization->trigger();
    QCOMPARE(requests.count(), 1);
    QVERIFY(requests.first().at(8).toBool());
    QVERIFY(testsupport::waitForSpectrogram(*w));

    // The amplitude pane collapses and opens again at its minimum height.
    w->ui->actionAmplitude_Plot->setChecked(true);
    w->ui->actionAmplitude_Plot->trigger();
    QCOMPARE(w->ui->splitter_2->sizes().first(), 0);
    w->ui->actionAmplitude_Plot->trigger();
    QCOMPARE(w->ui->splitter_2->sizes().first(), w->ui->frame_3->minimumHeight());
}

QUILLON_TEST(TestViewSettings)
#include "tst_mainwindow_viewsettings.moc"
