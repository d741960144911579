#pragma once

// The window benchmarks' common scene and helpers: a 10 s, 500 kHz recording of noise
// whose spectrogram holds close to 8e7 cells (1024 points, the overlap
// stepped down to the cell limit), shown in a large window with the raster's
// paint cache filled. Needs a QApplication and a settings store of the
// benchmark's own; a ScriptedDialogs must live to answer the overlap notice.
#include "app/guimetatypes.h"
#include "app/mainwindow.h"
#include "signalbuilder.h"
#include "wavwriter.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QSettings>

#include <qwt_matrix_raster_data.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>

#include <cstdio>

namespace benchutil {

/** A message handler that leaves out the worker's framing log and the offscreen platform's notes. */
inline void quietWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg || message.contains(QLatin1String("propagateSizeHints")))
        return; // the worker's framing log, and the offscreen platform on every resize
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

/** Counts the paints of the widgets it filters, to show that every change is drawn. */
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        paints += e->type() == QEvent::Paint;
        return false;
    }
};

/**
 * Before the QApplication: the settings store in settingsHome (the user's own
 * stays as it is), the offscreen platform unless another is named, the
 * program's names and queued types, and quietWarnings.
 */
inline void prepareWindowBench(const QString &settingsHome)
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settingsHome));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietWarnings);
    registerMetaTypes();
    QCoreApplication::setOrganizationName(QStringLiteral("Harmonvale"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillon"));
}

/** Writes the recording into folder and shows it in w; false (with a message) when it cannot be written. */
inline bool showAtCellLimit(MainWindow &w, const QString &folder)
{
    QSettings settings;
    settings.setValue(QStringLiteral("windowSize"), 1); // 1024 points
    settings.setValue(QStringLiteral("overlap"), 0);    // 98.4375 %, stepped down to fit 8e7 cells
    settings.setValue(QStringLiteral("autoReduceOverlap"), true);

    const QString path = folder + QStringLiteral("/noise_500kHz_10s.wav");
    const QVector<int> samples = testsupport::SignalBuilder(500000.0, 10.0).noise(-30.0, 7).samples();
    if (!testsupport::writeFile(path, testsupport::simplePcmWav(samples, 500000))) {
        std::printf("could not write %s\n", qPrintable(path));
        return false;
    }
    w.show();
    w.plot_Data(path);
    while (w.calculating)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    // The first recording restores the stored (here: default) window size; then a large window.
    QCoreApplication::processEvents();
    w.resize(1600, 1000);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    w.spectrogramPlot->replot();
    QCoreApplication::processEvents(); // the first drawing fills the raster's paint cache

    const qint64 cells = qint64(w.spectrogramData->numColumns()) * w.spectrogramData->numRows();
    const QSize canvas = w.spectrogramPlot->canvas()->size();
    std::printf("spectrogram %d x %d = %lld cells, canvas %d x %d\n", w.spectrogramData->numColumns(),
                w.spectrogramData->numRows(), static_cast<long long>(cells), canvas.width(), canvas.height());
    return true;
}

} // namespace benchutil
