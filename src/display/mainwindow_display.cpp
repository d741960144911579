// The main window's side of the spectrogram: turning a recording into a
// request for the spectrogram worker, and its reply into the view.
#include "app/mainwindow.h"

#include "analysis/calldetector.h"
#include "app/progressthrottle.h"
#include "app/settingsstorerepair.h"
#include "app/spectrogramsettingsdialog.h"
#include "app/windowplacement.h"
#include "audio/audioplayer.h"
#include "audio/playercontrols.h"
#include "common/evaluationmode.h"
#include "common/settingskeys.h"
#include "common/userdialogs.h"
#include "display/shownrecording.h"
#include "display/spectrogramparameters.h"
#include "display/spectrogramscroller.h"
#include "display/viewranges.h"
#include "platform/taskbarprogress.h"
#include "recording/audiosamplereader.h"
#include "recording/recordingkind.h"
#include "recording/wavfile.h"
#include "ui_mainwindow.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>

#include <qwt_plot.h>

#include <algorithm>
#include <cmath>

namespace {

// The file that failed and, on the next line, why.
QString failureDetails(const QString &fileName, const QString &reason)
{
    const QString name = QDir::toNativeSeparators(fileName);
    return reason.isEmpty() ? name : name + QLatin1Char('\n') + reason;
}

// Why a WAV file gave nothing to draw: the reader's own words where it has any.
QString wavFailureReason(const WavFile &wav)
{
    if (!wav.samples.empty())
        return QCoreApplication::translate("MainWindow", "The format chunk gives a sample rate of 0 Hz.");
    if (!wav.errorText.isEmpty())
        return wav.errorText;
    // Some stops of the chunk walk have no error text: where the walk stopped
    // and why still tells the user what is wrong with the file.
    if (!wav.stopDetail.isEmpty())
        return wav.stopDetail;
    return QCoreApplication::translate("MainWindow", "The file holds no samples.");
}

} // namespace

ShownFormat MainWindow::shownFormat() const
{
    return ::shownFormat(currentFileName, *wavFile, *rawFile);
}

void MainWindow::setOpeningActionsEnabled(bool enabled)
{
    ui->actionOpen_File->setEnabled(enabled);
    ui->actionOpen_Folder->setEnabled(enabled);
    ui->actionManual_Review_of_RECORDER_VOD_Offline_Analysis->setEnabled(enabled);
    ui->actionTavron_Folder_Evaluation->setEnabled(enabled);
    ui->actionEvaluate_Folder->setEnabled(enabled);
}

void MainWindow::setPlotExportActionsEnabled(bool enabled)
{
    ui->actionExport_Amplitude_Plot->setEnabled(enabled);
    ui->actionExport_Frequency_Plot->setEnabled(enabled);
    ui->actionExport_Spectrogram->setEnabled(enabled);
}

void MainWindow::showModePanes()
{
    widgets.plotsPane->show();
    widgets.toolBar->show();
    widgets.folderPane->setVisible(evaluationMode == EvaluationMode::Folder);
    widgets.evaluationPane->setVisible(EvaluationMode::isEvaluation(evaluationMode));
    fitLeastSize();
}

void MainWindow::fitLeastSize()
{
    // Until the first recording is shown the window keeps its start-up size.
    if (firstPlot)
        return;
    // 750 x 500 at least, and as much as the panes on show need: a list
    // squeezing the plots below their minimums would cut their axis numbers
    // and titles, and lay one plot over another. The splitter takes in the
    // panes just shown or hidden, and the handle between them, at once, so
    // that the layout counts them.
    widgets.splitterMain->refresh();
    ui->centralWidget->setMinimumSize(QSize(750, 500).expandedTo(ui->centralWidget->minimumSizeHint()));
}

void MainWindow::setGridsFromAction()
{
    const bool on = ui->actionGrid->isChecked();
    spectrogramPlot->showGrid(on);
    timePlot->showGrid(on);
    frequencyPlot->showGrid(on);
}

void MainWindow::restoreFirstWindowLayout(bool withSplitters)
{
    firstPlot = false;
    fitLeastSize();
    // A window left on a screen that is no longer attached would open out of
    // sight; one larger than the screen would reach past it. The frame the
    // window system draws around it must fit as well.
    QVector<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    // At the least size the panes just shown squeeze each other; the first
    // start opens where all of them have room, as the screen allows.
    QRect fallback(0, 0, 750, 500);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QSize menu(0, menuBar()->sizeHint().height());
        fallback = firstWindowGeometry(firstWindowSize, ui->centralWidget->minimumSizeHint() + menu,
                                       ui->centralWidget->minimumSize() + menu, screen->availableGeometry(), frame);
    }
    const QRect stored = readSetting(SettingKeys::geometry, fallback);
    // A place far beyond any screen (a hand-edited store) would overflow with the frame added: no screen shows it.
    setGeometry(fittedWindowGeometry(framedWithinReach(stored, frame), screens, fallback + frame) - frame);
    if (readSetting(SettingKeys::maximized))
        showMaximized();
    if (withSplitters) {
        // A stored layout may claim more sizes than memory holds, which would
        // throw out of restoreState: one that cannot be applied leaves the
        // splitter as the form lays it out.
        const auto restore = [](QSplitter *splitter, const Setting<QByteArray> &setting) {
            const QByteArray state = readSetting(setting);
            if (splitterStateApplies(state, splitter->orientation(), splitter->count()))
                splitter->restoreState(state);
        };
        restore(widgets.splitterTimePlot, SettingKeys::splitterTimePlotSizes);
        restore(widgets.splitterFrequencyPlot, SettingKeys::splitterFrequencyPlotSizes);
        const QList<int> frequencySizes = widgets.splitterFrequencyPlot->sizes();
        if (!frequencySizes.isEmpty())
            widgets.timePlotLeftMargin->setMinimumSize(frequencySizes.first(), widgets.timePlotLeftMargin->height());
        restore(widgets.splitterMain, SettingKeys::splitterMainSizes);
        const QList<int> timeSizes = widgets.splitterTimePlot->sizes();
        ui->actionAmplitude_Plot->setChecked(!timeSizes.isEmpty() && timeSizes.first() != 0);
        ui->actionFrequency_Axis_Plot->setChecked(!frequencySizes.isEmpty() && frequencySizes.first() != 0);
    }
}

void MainWindow::plot_Data(QString fileName)
{
    // While the worker reads the samples, the result on its way belongs to the
    // recording it was asked for: drawing it under a new name would mislabel
    // it. The newest request waits and is shown once that result is drawn.
    if (calculating) {
        pendingPlotFileName = fileName;
        return;
    }
    pendingPlotFileName.clear();
    currentFileName = fileName;
    audioPending = true;

    // Nothing may play, start another request or export a half-drawn plot
    // until the result is drawn. What plays stops now: with the controls
    // disabled nothing could stop it, and a loop would go on playing a
    // recording no longer on show.
    playerControls->setEnabled(false);
    audioPlayer->stop();
    // The old length must not stand beside a recording that fails to load.
    ui->labelDuration->clear();
    setOpeningActionsEnabled(false);
    setPlotExportActionsEnabled(false);
    spectroSettingsDialog->setApplyButtonsEnabled(false);

    spectrogramPlot->clear();
    widgets.startLogo->hide();
    widgets.startLogoNeighbour->hide();
    ui->progressBar->show();
    taskbarProgress->show();
    ui->centralWidget->setToolTip(QString());
    detectedCalls.clear();
    timePlot->clear();
    frequencyPlot->clear();
    timePlot->replot();
    frequencyPlot->replot();
    spectrogramPlot->replot();

    std::vector<int>().swap(timedata); // give the memory back, not only the size
    if (!loadSamples(fileName))
        return;
    const ShownFormat format = shownFormat();

    const SpectrogramParameters p =
        spectrogramParameters(readSetting(SettingKeys::window), readSetting(SettingKeys::frameSize),
                              readSetting(SettingKeys::overlap), readSetting(SettingKeys::windowSize));
    const OverlapReduction reduction =
        reduceOverlap(format.sampleCount, p.windowSize, p.overlap, readSetting(SettingKeys::overlap),
                      readSetting(SettingKeys::autoReduceOverlap));
    if (reduction.refused) {
        std::vector<int>().swap(timedata);
        showLoadFailure(reduction.refusal, failureDetails(fileName, QString()), format.raw);
        return;
    }
    if (!reduction.notice.isEmpty()) {
        userDialogs().information(this, QString(), reduction.notice);
        writeSetting(SettingKeys::overlap, reduction.storeOverlapIndex);
        spectroSettingsDialog->loadSettings();
    }

    ui->progressBar->setTextVisible(true);
    spectroSettingsDialog->setSampleRate(format.sampleRate);
    spectroSettingsDialog->loadSettings();
    spectroSettingsDialog->setApplyButtonsEnabled(false);

    calculating = true;
    spectrogramRefusal.clear();
    amplitudeAxisLimit = 1.0f;
    emit signalCalcSpektrogramm(int(format.sampleCount), format.bitsPerSample, p.windowSize, p.frameSize, p.window,
                                reduction.overlap, &timedata, format.sampleRate, ui->actionCategorization->isChecked());
}

bool MainWindow::loadSamples(const QString &fileName)
{
    const RecordingKind kind = recordingKind(fileName);
    if (kind == RecordingKind::Wav) {
        wavFile->open(fileName, false);
        // A header that says 0 Hz would give a recording of infinite length.
        if (wavFile->samples.empty() || wavFile->sampleRate == 0) {
            showLoadFailure(tr("The wav file could not be loaded"),
                            failureDetails(fileName, wavFailureReason(*wavFile)), false);
            return false;
        }
        // One such box may follow another while the user steps through a folder: it names its file.
        if (!wavFile->errorText.isEmpty())
            userDialogs().warning(this, tr("Warning"), failureDetails(fileName, wavFile->errorText));
        timedata = wavFile->samples;
        return true;
    }
    if (kind == RecordingKind::Raw) {
        rawFile->load(fileName, false);
        if (rawFile->samples.empty()) {
            showLoadFailure(rawFile->errorText.isEmpty() ? tr("The raw file could not be loaded") : rawFile->errorText,
                            failureDetails(fileName, QString()), true);
            return false;
        }
        timedata = rawFile->samples;
        return true;
    }
    showNoRecording();
    MessageBoxRequest box;
    box.parent = this;
    box.text = tr("File format not supported");
    userDialogs().message(box);
    setOpeningActionsEnabled(true);
    spectroSettingsDialog->setApplyButtonsEnabled(true);
    return false;
}

// While the user reads why a recording failed, the window must neither go on
// naming the previous one, nor show its bits, rate and length, nor say that a
// spectrogram is being calculated.
void MainWindow::showNoRecording()
{
    setWindowTitle(QCoreApplication::applicationName());
    ui->label_fileInfo->clear();
    ui->progressBar->setTextVisible(false);
}

void MainWindow::showLoadFailure(const QString &message, const QString &details, bool raw)
{
    showNoRecording();
    MessageBoxRequest box;
    box.parent = this;
    box.icon = QMessageBox::Critical;
    box.title = tr("Error");
    box.text = message;
    box.informativeText = details;
    userDialogs().message(box);
    showEmptyView(raw);
}

void MainWindow::showEmptyView(bool raw)
{
    ui->label_fileInfo->setText(QStringLiteral("N/A"));
    emit signalProgress(0);
    setOpeningActionsEnabled(true);
    spectroSettingsDialog->setApplyButtonsEnabled(true);
    showModePanes();
    if (firstPlot)
        restoreFirstWindowLayout(false);
    setGridsFromAction();

    spectrogramPlot->showEmpty(raw);
    timePlot->showEmpty();
    frequencyPlot->showEmpty();
    spectrogramPlot->replot();
    timePlot->replot();
    frequencyPlot->replot();
}

void MainWindow::showPendingRecording()
{
    if (pendingPlotFileName.isEmpty())
        return;
    const QString next = pendingPlotFileName;
    pendingPlotFileName.clear();
    plot_Data(next);
}

void MainWindow::spectrogramCalculated(QVector<double> data, int numberOfFfts, double minValue, double maxValue,
                                       std::unordered_map<int, Blob> blobs, QStringList classes, QList<MyBatCall> calls)
{
    // The last report comes before the reset below, never after it.
    spectrogramProgress->flush();
    ui->progressBar->setTextVisible(false);
    const ShownFormat format = shownFormat();
    const int bins = numberOfFfts > 0 ? data.size() / numberOfFfts : 0;

    // A recording shorter than one window gives no frame: nothing to divide
    // by and nothing to draw, so it ends like a recording that did not load.
    if (numberOfFfts <= 0 || bins <= 0 || format.sampleRate <= 0 || format.sampleCount <= 0) {
        calculating = false;
        emit signalProgress(0);
        const QString reason =
            spectrogramRefusal.isEmpty() ? tr("The recording is too short for a spectrogram.") : spectrogramRefusal;
        spectrogramRefusal.clear();
        showLoadFailure(reason, failureDetails(currentFileName, QString()), format.raw);
        showPendingRecording();
        return;
    }

    const LevelRange computed = computedLevelRange(minValue, maxValue, format.raw);
    spectroMinDb = computed.lower;
    spectroMaxDb = computed.upper;
    showCategorizationResult(blobs, classes, calls, bins, format.sampleRate);

    const double duration = format.duration();
    secondsPerColumn = float(duration) / float(numberOfFfts);

    spectrogramPlot->setRaster(data, numberOfFfts, duration, nyquistKHz(format.sampleRate));
    applySmoothingSetting();

    const AxisRange frequencies = shownFrequencyRange(format);
    spectrogramPlot->setAxisScale(QwtPlot::yLeft, frequencies.lower, frequencies.upper);

    spectrogramScroller->showFromStart(duration, frequencies.upper - frequencies.lower, secondsPerColumn);

    spectrogramPlot->limitFrequencyMarkers(frequencies.upper);
    spectrogramPlot->showRaster();
    emit signalProgress(0);

    const LevelRange range = drawnLevelRange(computed);
    spectrogramPlot->setLevelRange(readSetting(SettingKeys::colormap), QwtInterval(range.lower, range.upper));
    spectrogramPlot->replot();

    setGridsFromAction();
    showModePanes();

    setOpeningActionsEnabled(true);
    setPlotExportActionsEnabled(true);
    spectroSettingsDialog->setApplyButtonsEnabled(true);

    setWindowTitle(currentFileName + QStringLiteral(" - ") + QCoreApplication::applicationName());
    ui->label_fileInfo->setText(recordingInfoText(format));

    // Before the playback buffers: the envelope sets the peak they are normalised to.
    plotAmplitude();
    plotFrequency();

    calculating = false;
    if (firstPlot)
        restoreFirstWindowLayout(true);

    preparePlayback();

    showPendingRecording();
}

void MainWindow::showCategorizationResult(const std::unordered_map<int, Blob> &blobs, const QStringList &classes,
                                          const QList<MyBatCall> &calls, int bins, int sampleRate)
{
    spectrogramPlot->setCategorized(!blobs.empty());
    spectrogramPlot->removeCallLabels();

    const QString verdict = CallDetector().decideFileGroup(classes);
    const bool noCall = verdict.compare(QLatin1String("No call"), Qt::CaseInsensitive) == 0;
    const bool categorizationShown = ui->actionCategorization->isChecked();
    if (!noCall && !blobs.empty() && !classes.contains(QStringLiteral("Test"))) {
        const double overlap = overlapForIndex(readSetting(SettingKeys::overlap));
        const double hop = std::ceil((2.0 * bins + 2.0) * (100.0 - overlap) / 100.0);
        const double nyquist = nyquistKHz(sampleRate);
        int i = 0;
        for (const auto &entry : blobs) {
            const int position = i++;
            if (position >= classes.size() || position >= calls.size())
                continue; // a region without its class text or call gets no label
            if (classes.at(position) == QLatin1String("Noise"))
                continue;
            const Blob &blob = entry.second;
            const double y = nyquist / bins * (double(blob.binMax) + 5.0);
            const double x = hop * (double(blob.frameMax) + 5.0) / sampleRate;
            spectrogramPlot->addCallLabel(classes.at(position), QPointF(x, y), categorizationShown);
            detectedCalls.append(calls.at(position));
        }
    }
    if (categorizationShown)
        spectrogramPlot->showVerdict(noCall ? QStringLiteral("No call") : verdict);
}

LevelRange MainWindow::drawnLevelRange(const LevelRange &computed)
{
    if (readSetting(SettingKeys::fixedZScale))
        return usableLevelRange(readSetting(SettingKeys::drawnLowerScaleLimit),
                                readSetting(SettingKeys::drawnUpperScaleLimit));
    // Every write of the store rewrites and syncs its file, which costs an
    // opening more than drawing it: recordings of one folder mostly share
    // their range, and then the store and the dialog hold it already.
    if (readSetting(SettingKeys::lowerScaleLimit) != computed.lower
        || readSetting(SettingKeys::upperScaleLimit) != computed.upper) {
        writeSetting(SettingKeys::lowerScaleLimit, computed.lower);
        writeSetting(SettingKeys::upperScaleLimit, computed.upper);
        spectroSettingsDialog->loadSettings();
    }
    return computed;
}

void MainWindow::applySmoothingSetting()
{
    spectrogramPlot->setSmoothing(readSetting(SettingKeys::smoothing) != 0);
}

QString MainWindow::recordingInfoText(const ShownFormat &format) const
{
    QString date;
    QString time;
    QStringList extras;
    if (format.raw) {
        const QDateTime modified = QFileInfo(currentFileName).lastModified();
        date = modified.toString(QStringLiteral("dd/MM/yy"));
        time = modified.toString(QStringLiteral("hh:mm:ss"));
    } else {
        const QDateTime recorded = wavFile->recordingDateTime();
        if (recorded.isValid()) {
            date = recorded.toString(QStringLiteral("dd/MM/yy"));
            time = recorded.toString(QStringLiteral("HH:mm:ss"));
        }
        extras = shownClassesAndComment(wavFile->bext.description);
    }
    return recordingInfoLine(format.bitsPerSample, format.sampleRate, format.sampleCount, date, time, extras);
}

void MainWindow::showStoredDescription(const QString &path)
{
    // The line was built from the description read when the recording was
    // opened; a write since (a review discarding a class its tree lacks, an
    // assignment, a comment) would leave it naming what the file no longer holds.
    if (path != currentFileName || recordingKind(path) != RecordingKind::Wav)
        return;
    WavFile stored;
    stored.open(path, true);
    if (!stored.fmtFound || stored.bext.description == wavFile->bext.description)
        return;
    const ShownFormat format = shownFormat();
    // Only a line drawn for this recording is built again; one still being
    // calculated takes the description from here when it is drawn.
    const bool lineShown = !calculating && ui->label_fileInfo->text() == recordingInfoText(format);
    wavFile->bext.description = stored.bext.description;
    if (lineShown)
        ui->label_fileInfo->setText(recordingInfoText(format));
}

void MainWindow::spectroScrollBar_valueChanged(int value)
{
    spectrogramScroller->scrollTo(value, shownFormat().duration(), secondsPerColumn);
}

void MainWindow::spectroZoomed(const QRectF &rect)
{
    const ShownFormat format = shownFormat();
    if (format.sampleCount <= 0 || format.sampleRate <= 0)
        return; // neither a WAV nor a RAW recording with samples is shown
    const double duration = format.duration();

    timePlot->showPlaybackLine(false);
    spectrogramPlot->showPlaybackLine(false);
    spectrogramPlot->setScaleStart(rect.left());
    // The axis plots follow the zoomed stretch only when the settings say so.
    if (readSetting(SettingKeys::timePlotZoom)) {
        timePlot->setScaleStart(rect.left());
        plotAmplitude();
    } else {
        timePlot->setScaleStart(0.0);
    }
    if (readSetting(SettingKeys::frequencyPlotZoom))
        plotFrequency();

    const bool zoomedIn = spectrogramPlot->isZoomed();
    // Scrolling would move the axes away from the zoomed stretch.
    spectroScrollBar->setEnabled(!zoomedIn);
    if (zoomedIn) {
        const double timeEnd = qMax(duration, double(readSetting(SettingKeys::fixedDuration)));
        timePlot->setShading(QwtInterval(0.0, rect.left()), QwtInterval(rect.right(), timeEnd));
        // In plot coordinates the rectangle's top is its lower frequency.
        frequencyPlot->setShading(QwtInterval(0.0, rect.top()),
                                  QwtInterval(rect.bottom(), nyquistKHz(format.sampleRate)));
    }
    timePlot->showShading(zoomedIn);
    frequencyPlot->showShading(zoomedIn);
    timePlot->replot();
    frequencyPlot->replot();

    setPlaybackSection(float(rect.left()), float(qMin(rect.right(), duration)));
    playIfAutoplay();
}

void MainWindow::on_actionCategorization_triggered(bool checked)
{
    if (spectrogramPlot->isCategorized()) {
        spectrogramPlot->showCategorization(checked);
        spectrogramPlot->replot();
    } else if (checked) {
        // The spectrogram on show was calculated without categorization: calculate it again.
        spectrogramPlot->showCategorization(true);
        // Only a recording on show (or on its way) is calculated again; with
        // nothing shown, or after a load that failed, there is nothing to categorize.
        if (calculating || shownFormat().sampleCount > 0)
            plot_Data(currentFileName);
    }
    writeSetting(SettingKeys::categorization, checked);
}
