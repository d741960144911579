// One position report of the player while it plays a recording whose
// spectrogram holds close to 8e7 cells (10 s at 500 kHz, 1024 points, the
// overlap stepped down to the cell limit): the markers move, both plots are
// replotted and their canvases painted. The player runs on the virtual clock,
// so only the window's own work is timed. For comparison the same report with
// the raster's paint cache thrown away first, which is what every report
// would cost if moving a marker made the spectrogram render again.
#include "app/mainwindow.h"
#include "audio/audioplayer.h"
#include "audio/playercontrols.h"
#include "audio/virtualaudiooutput.h"
#include "benchutil.h"
#include "celllimitwindow.h"
#include "platform/audiodevice.h"
#include "scripteddialogs.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <qwt_matrix_raster_data.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_spectrogram.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Figures {
    double median = 0.0, worst = 0.0; // ms
    int spectrogramPaints = 0, timePaints = 0;
    double markerFrom = 0.0, markerTo = 0.0; // s
};

Figures reports(MainWindow &w, VirtualAudioClock &clock, int count, bool dropCache)
{
    benchutil::PaintCounter spectrogram, time;
    w.spectrogramPlot->canvas()->installEventFilter(&spectrogram);
    w.timePlot->canvas()->installEventFilter(&time);
    Figures f;
    f.markerFrom = w.spectrogramPositionMarker->xValue();
    std::vector<double> ms;
    for (int i = 0; i < count; ++i) {
        if (dropCache)
            w.spectrogramItem->invalidateCache();
        const double t0 = benchutil::nowSeconds();
        clock.advance(10);                 // one report: markers, label, replots
        QCoreApplication::processEvents(); // the paints the replots asked for
        ms.push_back((benchutil::nowSeconds() - t0) * 1000.0);
    }
    f.markerTo = w.spectrogramPositionMarker->xValue();
    f.spectrogramPaints = spectrogram.paints;
    f.timePaints = time.paints;
    std::sort(ms.begin(), ms.end());
    f.median = ms[ms.size() / 2];
    f.worst = ms.back();
    return f;
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir dir;
    benchutil::prepareWindowBench(dir.path());
    QApplication app(argc, argv);

    VirtualAudioClock clock;
    AudioPlayer::setDefaultOutputFactory(clock.factory());
    AudioDevice::setDefaultOutputDeviceNameOverride(QStringLiteral("virtual"));

    QSettings settings;
    settings.setValue(QStringLiteral("audioMode"), 2); // pitched to 10 %: 50 kHz, which any output takes
    settings.setValue(QStringLiteral("playbackRate"), 4);

    ScriptedDialogs dialogs; // answers the overlap notice
    MainWindow w;
    if (!benchutil::showAtCellLimit(w, dir.path()))
        return 1;

    w.playerControls->playClicked();
    if (w.audioPlayer->state() != QAudio::ActiveState) {
        std::printf("the player did not start\n");
        return 1;
    }
    constexpr int count = 200;
    const Figures cached = reports(w, clock, count, false);
    const Figures dropped = reports(w, clock, 20, true);
    std::printf("%-28s %10s %10s %23s %12s\n", "one position report", "median ms", "worst ms",
                "spectrogram/time paints", "marker s");
    for (const auto &row : {std::make_pair("paint cache kept", cached), std::make_pair("paint cache dropped", dropped)})
        std::printf("%-28s %10.3f %10.3f %16d/%-6d %5.3f-%.3f\n", row.first, row.second.median, row.second.worst,
                    row.second.spectrogramPaints, row.second.timePaints, row.second.markerFrom, row.second.markerTo);
    std::printf("(%d and %d reports; target: well under the 10 ms between reports)\n", count, 20);
    return 0;
}
