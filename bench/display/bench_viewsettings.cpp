// A settings change that needs no new spectrogram, on a spectrogram of close
// to 8e7 cells (10 s at 500 kHz, 1024 points, the overlap stepped down to the
// cell limit): from the settings dialog's signal to the canvases painted
// again. The colour map and the level range draw the raster anew; a marker
// only moves. Target: under 100 ms each. Median and worst of 15 changes.
#include "app/guimetatypes.h"
#include "app/mainwindow.h"
#include "app/spectrogramsettingsdialog.h"
#include "benchutil.h"
#include "scripteddialogs.h"
#include "signalbuilder.h"
#include "wavwriter.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <qwt_matrix_raster_data.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

void quietWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg || message.contains(QLatin1String("propagateSizeHints")))
        return; // the worker's framing log, and the offscreen platform on every resize
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

// Counts the paints of the spectrogram's canvas: every change must be drawn.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        paints += e->type() == QEvent::Paint;
        return false;
    }
};

void changes(QWidget *canvas, const char *name, int count, const std::function<void(int)> &change)
{
    PaintCounter counter;
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
    // A store of its own: the user's settings stay as they are.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler(quietWarnings);
    registerMetaTypes();
    QCoreApplication::setOrganizationName(QStringLiteral("Harmonvale"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillon"));

    QSettings settings;
    settings.setValue(QStringLiteral("windowSize"), 1); // 1024 points
    settings.setValue(QStringLiteral("overlap"), 0);    // 98.4375 %, stepped down to fit 8e7 cells
    settings.setValue(QStringLiteral("autoReduceOverlap"), true);

    const QString path = dir.path() + QStringLiteral("/noise_500kHz_10s.wav");
    const QVector<int> samples = testsupport::SignalBuilder(500000.0, 10.0).noise(-30.0, 7).samples();
    if (!testsupport::writeFile(path, testsupport::simplePcmWav(samples, 500000))) {
        std::printf("could not write %s\n", qPrintable(path));
        return 1;
    }

    ScriptedDialogs dialogs; // answers the overlap notice
    MainWindow w;
    w.show();
    w.plot_Data(path);
    while (w.calculating)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
    w.resize(1600, 1000);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();

    const qint64 cells = qint64(w.spectrogramData->numColumns()) * w.spectrogramData->numRows();
    const QSize canvas = w.spectrogramPlot->canvas()->size();
    std::printf("spectrogram %d x %d = %lld cells, canvas %d x %d\n", w.spectrogramData->numColumns(),
                w.spectrogramData->numRows(), static_cast<long long>(cells), canvas.width(), canvas.height());

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
    return 0;
}
