// A settings change that needs no new spectrogram, on a spectrogram of close
// to 8e7 cells (see celllimitwindow.h): from the settings dialog's signal to the canvases painted
// again. The colour map and the level range draw the raster anew; a marker
// only moves. Target: under 100 ms each. Median and worst of 15 changes.
// Then the view moving over the same raster, each step a new picture: a zoom
// into a tenth of the recording and out again, and a scroll by a page through
// a fixed second, with and without smoothing.
//
// Medians on this machine (Release, 8 cores shared with other builds, so
// each figure drifts by a few ms between runs), before and after each pixel
// came to show the loudest of the cells it spans:
//                     before        after
//   colour map        22-29 ms      22-28 ms   (drawing the raster itself: 12-18 ms)
//   zoom in and out    9-14 ms       9-14 ms
//   scroll            13-19 ms      13-17 ms
//   scroll, smoothed  10-20 ms       9-12 ms
#include "app/mainwindow.h"
#include "app/spectrogramsettingsdialog.h"
#include "benchutil.h"
#include "celllimitwindow.h"
#include "display/myqwtzoomer.h"
#include "display/spectrogramplot.h"
#include "scripteddialogs.h"

#include <QApplication>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>

#include <qwt_plot.h>
#include <qwt_plot_canvas.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

void changes(QWidget *canvas, const char *name, int count, const std::function<void(int)> &change)
{
    benchutil::PaintCounter counter; // every change must be drawn
    canvas->installEventFilter(&counter);
    std::vector<double> ms;
    for (int i = 0; i < count; ++i) {
        const double t0 = benchutil::nowSeconds();
        change(i);
        QCoreApplication::processEvents(); // the paints the replots asked for
        ms.push_back((benchutil::nowSeconds() - t0) * 1000.0);
    }
    std::sort(ms.begin(), ms.end());
    canvas->removeEventFilter(&counter);
    std::printf("%-20s median %7.1f ms  worst %7.1f ms  (%d paints of the spectrogram for %d changes)\n", name,
                ms[ms.size() / 2], ms.back(), counter.paints, count);
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir dir;
    benchutil::prepareWindowBench(dir.path());
    QApplication app(argc, argv);

    QSettings settings;
    ScriptedDialogs dialogs; // answers the overlap notice
    MainWindow w;
    if (!benchutil::showAtCellLimit(w, dir.path()))
        return 1;

    SpectrogramSettingsDialog *d = w.spectroSettingsDialog;
    constexpr int count = 15;
    changes(w.spectrogramPlot->canvas(), "colour map", count, [&](int i) {
        settings.setValue(QStringLiteral("colormap"), i % 4);
        emit d->colormapChanged();
    });
    settings.setValue(QStringLiteral("fixedZScale"), true);
    changes(w.spectrogramPlot->canvas(), "level range", count, [&](int i) {
        settings.setValue(QStringLiteral("lowerScaleLimit"), -90 + i % 5);
        settings.setValue(QStringLiteral("upperScaleLimit"), -20);
        emit d->scaleAmplitudeChanged();
    });
    settings.setValue(QStringLiteral("marker1"), true);
    changes(w.spectrogramPlot->canvas(), "frequency marker", count, [&](int i) {
        settings.setValue(QStringLiteral("valueMarker1"), 20.0 + i);
        emit d->frequencyMarkerChanged();
    });
    std::printf("(target: under 100 ms to the replot)\n");

    MyQwtZoomer *zoomer = w.spectrogramPlot->items().zoomer;
    changes(w.spectrogramPlot->canvas(), "zoom in and out", count, [&](int i) {
        if (i % 2 == 0)
            zoomer->zoom(QRectF(2.0 + 0.1 * i, 20.0, 1.0, 100.0));
        else
            zoomer->zoom(0);
    });
    zoomer->zoom(0);
    settings.setValue(QStringLiteral("fixedXScale"), 1);
    settings.setValue(QStringLiteral("fixedDuration"), 1.0);
    emit d->scaleTimeChanged();
    QCoreApplication::processEvents();
    for (int smoothing : {0, 1}) {
        settings.setValue(QStringLiteral("smoothing"), smoothing);
        emit d->colormapChanged();
        QCoreApplication::processEvents();
        QScrollBar *bar = w.spectroScrollBar;
        bar->setValue(0);
        QCoreApplication::processEvents();
        changes(w.spectrogramPlot->canvas(), smoothing ? "scroll, smoothed" : "scroll", count,
                [&](int i) { bar->setValue((i + 1) * bar->pageStep() / 2); });
    }
    return 0;
}
