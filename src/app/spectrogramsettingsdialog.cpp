#include "app/spectrogramsettingsdialog.h"

#include "common/settingskeys.h"
#include "display/colourscheme.h"
#include "display/viewranges.h"
#include "platform/audiodevice.h"
#include "ui_spectrogramsettingsdialog.h"

#include <QComboBox>
#include <QFont>
#include <QLayout>
#include <QLocale>
#include <QScopedValueRollback>
#include <QStyle>
#include <qwt_color_map.h>
#include <qwt_interval.h>
#include <qwt_plot.h>
#include <qwt_plot_layout.h>
#include <qwt_scale_widget.h>

#include <cmath>

namespace {

// A stored index outside the list (a hand-edited or foreign store) would
// blank the combo, and Apply would then store -1; the key's default is shown
// instead.
void selectStoredIndex(QComboBox *combo, const Setting<int> &setting)
{
    const int index = readSetting(setting);
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : setting.fallback);
}

// Without a recording the axes still need a ceiling; 150 kHz is the Nyquist
// frequency of the common 300 kHz recorders.
constexpr int kCeilingWithoutRecordingKHz = 150;

// Widest bounds the level boxes may have while loading moves them: the upper
// box keeps the form's floor, the lower one stays a step below the upper
// box's ceiling of 0 dBFS, so that the two can never meet.
constexpr int kLowerLevelFormMaximum = -1;
constexpr int kUpperLevelFormMinimum = -100;

// What the Default button puts back on the spectrogram tab, in kHz.
constexpr double kDefaultMarkersKHz[] = {16.0, 33.0, 55.0};
constexpr int kDefaultLowerFrequencyKHz = 10;
constexpr int kDefaultUpperFrequencyKHz = 100;

} // namespace

SpectrogramSettingsDialog::SpectrogramSettingsDialog(QWidget *parent, int sampleRate)
    : QDialog(parent)
    , ui(new Ui_SpectrogramSettingsDialog)
    , sampleRate(sampleRate)
{
    ui->setupUi(this);
    setWindowTitle(tr("Settings"));

    // The form's fixed 580 x 580 was laid out for narrower fonts than many
    // desktops use (DejaVu Sans squeezed labels, buttons and the resolution
    // lines over each other). It stays the starting size; the layout may grow
    // the dialog wherever a text needs more, and never lets it shrink below
    // what its labels and buttons need.
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout()->setSizeConstraint(QLayout::SetMinimumSize);

    ui->tabWidget->setTabIcon(2, style()->standardIcon(QStyle::SP_MediaVolume));
    ui->pushButton_refreshAudioDevice->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));

    // The texts are rounded for the eye; the exact percentages the resolution
    // labels need travel as item data.
    const struct {
        const char *text;
        double percent;
    } overlaps[] = {{"98.43", 98.4375}, {"96.87", 96.875}, {"93.75", 93.75}, {"87.5", 87.5},
                    {"75", 75.0},       {"50", 50.0},      {"0", 0.0}};
    for (const auto &o : overlaps)
        ui->comboBox_overlap->addItem(QString::fromLatin1(o.text), o.percent);
    ui->comboBox_overlap->setCurrentIndex(5);

    buildColorBar();

    // Only the controls of the chosen audio mode are shown (audio-mode slot).
    ui->label_undersampling->hide();
    ui->comboBox_undersampling->hide();
    ui->label_playbackRate->hide();
    ui->comboBox_playbackrate->hide();
    ui->label_mixerFrequency->hide();
    ui->spinBox_mixer->hide();
    ui->label_Description->hide();

    loadSettings();
}

SpectrogramSettingsDialog::~SpectrogramSettingsDialog()
{
    delete ui;
}

void SpectrogramSettingsDialog::buildColorBar()
{
    const QFont font(QStringLiteral("MS Shell Dlg 2"), 8);

    colorBarPlot = new QwtPlot(); // the layout below makes the group box its parent
    ui->gridLayout_4->addWidget(colorBarPlot, 0, 0);
    colorBarPlot->setMaximumHeight(55);

    colorBarScale = colorBarPlot->axisWidget(QwtPlot::xBottom);
    colorBarScale->setColorBarEnabled(true);
    colorBarScale->setColorBarWidth(15);
    colorBarScale->setFont(font);

    colorBarPlot->enableAxis(QwtPlot::xBottom, true);
    colorBarPlot->enableAxis(QwtPlot::yLeft, false);
    colorBarPlot->plotLayout()->setAlignCanvasToScales(true);
    colorBarPlot->setAxisTitle(QwtPlot::xBottom, tr("Amplitude in dBFS"));
}

void SpectrogramSettingsDialog::rebuildColorBar(int colormapIndex)
{
    if (!colorBarPlot)
        return;
    QwtColorMap *map = colorMapFor(colormapIndex);
    if (!map)
        return;
    const QwtInterval range(ui->spinBox_lower->value(), ui->spinBox_upper->value());
    colorBarScale->setColorMap(range, map); // the scale widget owns the map
    colorBarPlot->setAxisScale(QwtPlot::xBottom, range.minValue(), range.maxValue());
    colorBarPlot->replot();
}

int SpectrogramSettingsDialog::frequencyCeilingKHz() const
{
    if (sampleRate == 0)
        return kCeilingWithoutRecordingKHz;
    return static_cast<int>(sampleRate / 2000.0);
}

void SpectrogramSettingsDialog::loadSettings()
{
    // The boxes follow the store here; what a recording's ceiling cuts off
    // them must not be stored back.
    const QScopedValueRollback<bool> showing(showingOnly, true);

    selectStoredIndex(ui->comboBox_windowSize, SettingKeys::windowSize);
    selectStoredIndex(ui->comboBox_overlap, SettingKeys::overlap);
    ui->checkBox_autoOverlap->setChecked(readSetting(SettingKeys::autoReduceOverlap));
    selectStoredIndex(ui->comboBox_frameSize, SettingKeys::frameSize);
    selectStoredIndex(ui->comboBox_window, SettingKeys::window);

    // Nothing to recalculate without a recording.
    ui->pushButton_apply->setEnabled(sampleRate != 0);

    selectStoredIndex(ui->comboBox_colormap, SettingKeys::colormap);
    selectStoredIndex(ui->comboBox_smoothing, SettingKeys::smoothing);
    selectStoredIndex(ui->comboBox_interactiveMarker, SettingKeys::markerInteractive);

    // Maxima before values, so that a marker above the recording's Nyquist
    // frequency is shown at the ceiling rather than out of range; its key
    // keeps the user's value for the next recording.
    const int ceiling = frequencyCeilingKHz();
    ui->spinBox_marker1->setMaximum(ceiling);
    ui->spinBox_marker2->setMaximum(ceiling);
    ui->spinBox_marker3->setMaximum(ceiling);
    ui->spinBox_marker1->setValue(float(readSetting(SettingKeys::valueMarker1)));
    ui->spinBox_marker2->setValue(float(readSetting(SettingKeys::valueMarker2)));
    ui->spinBox_marker3->setValue(float(readSetting(SettingKeys::valueMarker3)));
    ui->checkBox_visible1->setChecked(readSetting(SettingKeys::marker1));
    ui->checkBox_visible2->setChecked(readSetting(SettingKeys::marker2));
    ui->checkBox_visible3->setChecked(readSetting(SettingKeys::marker3));

    ui->spinBox_fixedDuration->setValue(readSetting(SettingKeys::fixedDuration));
    ui->spinBox_fixedAspectRatio->setValue(readSetting(SettingKeys::fixedAspectRatio));

    switch (readSetting(SettingKeys::fixedXScale)) {
    case TimeAxisMode::FixedDuration:
        ui->radioButton_fixedTime->setChecked(true);
        ui->spinBox_fixedDuration->setEnabled(true);
        ui->spinBox_fixedAspectRatio->setEnabled(false);
        break;
    case TimeAxisMode::FixedAspectRatio:
        ui->radioButton_fixedAspectRatio->setChecked(true);
        ui->spinBox_fixedDuration->setEnabled(false);
        ui->spinBox_fixedAspectRatio->setEnabled(true);
        break;
    default:
        ui->radioButton_autoTime->setChecked(true);
        ui->spinBox_fixedDuration->setEnabled(false);
        ui->spinBox_fixedAspectRatio->setEnabled(false);
        break;
    }

    loadFrequencyLimits();

    const bool fixedFrequency = readSetting(SettingKeys::fixedYScale);
    if (fixedFrequency)
        ui->radioButton_fixedFreq->setChecked(true);
    else
        ui->radioButton_autoFreq->setChecked(true);
    ui->spinBox_lowerFreq->setEnabled(fixedFrequency);
    ui->spinBox_upperFreq->setEnabled(fixedFrequency);

    loadLevelLimits();

    const bool fixedLevels = readSetting(SettingKeys::fixedZScale);
    if (fixedLevels)
        ui->radioButton_fixed->setChecked(true);
    else
        ui->radioButton_auto->setChecked(true);
    ui->spinBox_lower->setEnabled(fixedLevels);
    ui->spinBox_upper->setEnabled(fixedLevels);

    rebuildColorBar(ui->comboBox_colormap->currentIndex());
    updateResolutionLabels();

    const int timePlotMode = readSetting(SettingKeys::timePlotMode);
    if (timePlotMode >= 0 && timePlotMode <= 2)
        ui->comboBox_timePlotMode->setCurrentIndex(timePlotMode);
    if (readSetting(SettingKeys::timePlotZoom))
        ui->radioButton_enableZoomTime->setChecked(true);
    else
        ui->radioButton_disableZoomTime->setChecked(true);

    ui->checkBox_autoplay->setChecked(readSetting(SettingKeys::autoplay));
    ui->checkBox_loop->setChecked(readSetting(SettingKeys::loop));
    selectStoredIndex(ui->comboBox_audioMode, SettingKeys::audioMode);
    selectStoredIndex(ui->comboBox_undersampling, SettingKeys::undersampling);
    selectStoredIndex(ui->comboBox_playbackrate, SettingKeys::playbackRate);
    ui->spinBox_mixer->setValue(readSetting(SettingKeys::mixerFrequency));

    const QString device = AudioDevice::defaultOutputDeviceName();
    if (device.isEmpty()) {
        ui->label_7->setText(tr("No audio output device connected"));
        ui->groupBox_3->setEnabled(false);
    } else {
        ui->label_7->setText(device);
        ui->groupBox_3->setEnabled(true);
    }
}

void SpectrogramSettingsDialog::loadFrequencyLimits()
{
    int lower = readSetting(SettingKeys::lowerFrequencyLimit);
    int upper = readSetting(SettingKeys::upperFrequencyLimit);
    const int ceiling = frequencyCeilingKHz();
    if (sampleRate != 0)
        upper = qMin(upper, ceiling);

    // The floor left on the upper box by the lower limit shown so far must not
    // clamp a lower stored upper limit.
    ui->spinBox_upperFreq->setMinimum(1);
    ui->spinBox_upperFreq->setMaximum(ceiling);
    ui->spinBox_upperFreq->setValue(upper);
    // Without a recording the box's ceiling can still cut a stored limit; the
    // lower box must stay below what is actually shown.
    upper = ui->spinBox_upperFreq->value();

    if (lower > upper)
        lower = upper - 1;
    ui->spinBox_lowerFreq->setMinimum(0);
    ui->spinBox_lowerFreq->setMaximum(upper - 1);
    ui->spinBox_upperFreq->setMinimum(ui->spinBox_lowerFreq->value() + 1);
    ui->spinBox_lowerFreq->setValue(lower);
}

void SpectrogramSettingsDialog::loadLevelLimits()
{
    // Each level box bounds the other. The main window stores the level range
    // of every new spectrogram and then reloads; a range lying above or below
    // the one shown would be clamped against the old bounds (and the clamped
    // value stored back), so the bounds are opened up before the values move.
    // Both are read first: moving one box can push the other, whose slot then
    // overwrites its key.
    const int lower = readSetting(SettingKeys::lowerScaleLimit);
    const int upper = readSetting(SettingKeys::upperScaleLimit);
    ui->spinBox_lower->setMaximum(kLowerLevelFormMaximum);
    ui->spinBox_upper->setMinimum(kUpperLevelFormMinimum);

    ui->spinBox_lower->setValue(lower);
    ui->spinBox_upper->setValue(upper);
    ui->spinBox_lower->setMaximum(ui->spinBox_upper->value() - 1);
    ui->spinBox_upper->setMinimum(ui->spinBox_lower->value() + 1);
}

void SpectrogramSettingsDialog::setSampleRate(int rate)
{
    sampleRate = rate;
    updateResolutionLabels();
}

void SpectrogramSettingsDialog::setApplyButtonsEnabled(bool enabled)
{
    ui->pushButton_apply->setEnabled(enabled);
    ui->pushButton_default->setEnabled(enabled);
}

void SpectrogramSettingsDialog::setPlaybackSettingsEnabled(bool enabled)
{
    ui->groupBox_3->setEnabled(enabled);
}

void SpectrogramSettingsDialog::setCurrentTab(int index)
{
    ui->tabWidget->setCurrentIndex(index);
}

void SpectrogramSettingsDialog::updateResolutionLabels()
{
    const int windowSize = ui->comboBox_windowSize->currentText().toInt(nullptr, 10);
    if (sampleRate == 0 || windowSize <= 0) {
        ui->label_tempRes->setText(QString());
        ui->label_freqRes->setText(QString());
        return;
    }
    const double fs = sampleRate;
    const double overlapPercent = ui->comboBox_overlap->currentData().toDouble();

    // Hop between frames: the window less the samples it shares with the next.
    const double shared = overlapPercent > 0.0 ? std::floor(windowSize / (100.0 / overlapPercent)) : 0.0;
    const double hopMs = (windowSize - shared) / fs * 1000.0;
    const double binHz = fs * 0.5 / windowSize;

    const QLocale locale;
    ui->label_tempRes->setText(tr("Temporal Resolution: ") + locale.toString(hopMs, 'f', 3) + tr(" ms"));
    ui->label_freqRes->setText(tr("Frequency Resolution: ") + locale.toString(binHz, 'f', 1) + tr(" Hz"));
}

// --- Spectrogram tab: calculation ---

void SpectrogramSettingsDialog::on_checkBox_autoOverlap_stateChanged(int state)
{
    // Stored as the check state itself (0 or 2); readers take it as a bool.
    writeSetting(SettingKeys::autoReduceOverlap, state);
}

void SpectrogramSettingsDialog::on_comboBox_windowSize_currentTextChanged(const QString &)
{
    updateResolutionLabels();
}

void SpectrogramSettingsDialog::on_comboBox_overlap_currentIndexChanged(int)
{
    updateResolutionLabels();
}

void SpectrogramSettingsDialog::on_pushButton_apply_clicked()
{
    {
        // One settings object for the four: the store is written once, when it goes.
        QSettings store;
        store.setValue(QLatin1String(SettingKeys::windowSize.key), ui->comboBox_windowSize->currentIndex());
        store.setValue(QLatin1String(SettingKeys::overlap.key), ui->comboBox_overlap->currentIndex());
        store.setValue(QLatin1String(SettingKeys::frameSize.key), ui->comboBox_frameSize->currentIndex());
        store.setValue(QLatin1String(SettingKeys::window.key), ui->comboBox_window->currentIndex());
    }
    emit apply();
}

// --- Spectrogram tab: view ---

void SpectrogramSettingsDialog::on_comboBox_colormap_currentIndexChanged(int index)
{
    rebuildColorBar(index);
    writeSetting(SettingKeys::colormap, index);
    emit colormapChanged();
}

void SpectrogramSettingsDialog::on_comboBox_smoothing_currentIndexChanged(int index)
{
    writeSetting(SettingKeys::smoothing, index);
    emit colormapChanged();
}

void SpectrogramSettingsDialog::on_comboBox_interactiveMarker_currentIndexChanged(int index)
{
    writeSetting(SettingKeys::markerInteractive, index);
}

void SpectrogramSettingsDialog::on_spinBox_marker1_valueChanged(double value)
{
    if (!showingOnly)
        writeSetting(SettingKeys::valueMarker1, value);
    emit frequencyMarkerChanged();
}

void SpectrogramSettingsDialog::on_spinBox_marker2_valueChanged(double value)
{
    if (!showingOnly)
        writeSetting(SettingKeys::valueMarker2, value);
    emit frequencyMarkerChanged();
}

void SpectrogramSettingsDialog::on_spinBox_marker3_valueChanged(double value)
{
    if (!showingOnly)
        writeSetting(SettingKeys::valueMarker3, value);
    emit frequencyMarkerChanged();
}

void SpectrogramSettingsDialog::on_checkBox_visible1_stateChanged(int state)
{
    writeSetting(SettingKeys::marker1, state != 0);
    emit frequencyMarkerChanged();
}

void SpectrogramSettingsDialog::on_checkBox_visible2_stateChanged(int state)
{
    writeSetting(SettingKeys::marker2, state != 0);
    emit frequencyMarkerChanged();
}

void SpectrogramSettingsDialog::on_checkBox_visible3_stateChanged(int state)
{
    writeSetting(SettingKeys::marker3, state != 0);
    emit frequencyMarkerChanged();
}

// --- Spectrogram tab: time axis ---
// The radio slots act only for the button that becomes checked; the one
// losing its check is told too and must stay quiet.

void SpectrogramSettingsDialog::on_radioButton_autoTime_toggled(bool checked)
{
    if (!checked)
        return;
    writeSetting(SettingKeys::fixedXScale, TimeAxisMode::WholeRecording);
    ui->spinBox_fixedDuration->setEnabled(false);
    ui->spinBox_fixedAspectRatio->setEnabled(false);
    emit scaleTimeChanged();
}

void SpectrogramSettingsDialog::on_radioButton_fixedTime_toggled(bool checked)
{
    if (!checked)
        return;
    writeSetting(SettingKeys::fixedXScale, TimeAxisMode::FixedDuration);
    writeSetting(SettingKeys::fixedDuration, ui->spinBox_fixedDuration->value());
    ui->spinBox_fixedDuration->setEnabled(true);
    ui->spinBox_fixedAspectRatio->setEnabled(false);
    emit scaleTimeChanged();
}

void SpectrogramSettingsDialog::on_radioButton_fixedAspectRatio_toggled(bool checked)
{
    if (!checked)
        return;
    writeSetting(SettingKeys::fixedXScale, TimeAxisMode::FixedAspectRatio);
    writeSetting(SettingKeys::fixedAspectRatio, ui->spinBox_fixedAspectRatio->value());
    ui->spinBox_fixedDuration->setEnabled(false);
    ui->spinBox_fixedAspectRatio->setEnabled(true);
    emit scaleTimeChanged();
}

void SpectrogramSettingsDialog::on_spinBox_fixedDuration_valueChanged(double value)
{
    writeSetting(SettingKeys::fixedDuration, value);
    emit scaleTimeChanged();
}

void SpectrogramSettingsDialog::on_spinBox_fixedAspectRatio_valueChanged(int value)
{
    writeSetting(SettingKeys::fixedAspectRatio, value);
    emit scaleTimeChanged();
}

// --- Spectrogram tab: frequency axis ---

void SpectrogramSettingsDialog::on_radioButton_autoFreq_toggled(bool checked)
{
    // The limits stay as the user left them: the boxes may show them cut to
    // the recording's Nyquist frequency.
    writeSetting(SettingKeys::fixedYScale, !checked);
    ui->spinBox_lowerFreq->setEnabled(!checked);
    ui->spinBox_upperFreq->setEnabled(!checked);
    emit scaleFrequencyChanged();
}

void SpectrogramSettingsDialog::on_spinBox_lowerFreq_valueChanged(int value)
{
    if (!showingOnly)
        writeSetting(SettingKeys::lowerFrequencyLimit, value);
    ui->spinBox_upperFreq->setMinimum(value + 1);
    emit scaleFrequencyChanged();
}

void SpectrogramSettingsDialog::on_spinBox_upperFreq_valueChanged(int value)
{
    if (!showingOnly)
        writeSetting(SettingKeys::upperFrequencyLimit, value);
    ui->spinBox_lowerFreq->setMaximum(value - 1);
    emit scaleFrequencyChanged();
}

// --- Spectrogram tab: level axis ---

void SpectrogramSettingsDialog::on_radioButton_auto_toggled(bool checked)
{
    writeSetting(SettingKeys::fixedZScale, !checked);
    writeSetting(SettingKeys::lowerScaleLimit, ui->spinBox_lower->value());
    writeSetting(SettingKeys::upperScaleLimit, ui->spinBox_upper->value());
    ui->spinBox_lower->setEnabled(!checked);
    ui->spinBox_upper->setEnabled(!checked);
    emit scaleAmplitudeChanged();
}

void SpectrogramSettingsDialog::on_spinBox_lower_valueChanged(int value)
{
    writeSetting(SettingKeys::lowerScaleLimit, value);
    rebuildColorBar(ui->comboBox_colormap->currentIndex());
    ui->spinBox_upper->setMinimum(value + 1);
    emit scaleAmplitudeChanged();
}

void SpectrogramSettingsDialog::on_spinBox_upper_valueChanged(int value)
{
    writeSetting(SettingKeys::upperScaleLimit, value);
    rebuildColorBar(ui->comboBox_colormap->currentIndex());
    ui->spinBox_lower->setMaximum(value - 1);
    emit scaleAmplitudeChanged();
}

// --- Axis plots tab ---
// Without a recording there are no axis plots to redraw.

void SpectrogramSettingsDialog::on_comboBox_timePlotMode_currentIndexChanged(int index)
{
    // Both plots always show the same kind of content.
    writeSetting(SettingKeys::timePlotMode, index);
    writeSetting(SettingKeys::frequencyPlotMode, index);
    if (sampleRate != 0) {
        emit timePlotChanged();
        emit frequencyPlotChanged();
    }
}

void SpectrogramSettingsDialog::on_radioButton_disableZoomTime_toggled(bool checked)
{
    writeSetting(SettingKeys::timePlotZoom, !checked);
    writeSetting(SettingKeys::frequencyPlotZoom, !checked);
    if (sampleRate != 0) {
        emit timePlotChanged();
        emit frequencyPlotChanged();
    }
}

void SpectrogramSettingsDialog::on_radioButton_enableZoomTime_clicked(bool)
{
    // The disable button's toggle carries the change.
}

// --- Audio tab ---

void SpectrogramSettingsDialog::on_pushButton_refreshAudioDevice_clicked()
{
    // A device plugged in meanwhile shows up with everything else reloaded,
    // and so does a sound server started again after it was lost.
    AudioDevice::reconnectSoundServer();
    loadSettings();
}

void SpectrogramSettingsDialog::on_checkBox_autoplay_stateChanged(int state)
{
    writeSetting(SettingKeys::autoplay, state != 0);
}

void SpectrogramSettingsDialog::on_checkBox_loop_stateChanged(int state)
{
    writeSetting(SettingKeys::loop, state != 0);
}

void SpectrogramSettingsDialog::on_comboBox_audioMode_currentIndexChanged(int index)
{
    writeSetting(SettingKeys::audioMode, index);

    const bool undersampled = index == 1;
    const bool pitched = index == 2;
    const bool mixed = index >= 3;
    ui->label_undersampling->setVisible(undersampled);
    ui->comboBox_undersampling->setVisible(undersampled);
    ui->label_playbackRate->setVisible(pitched);
    ui->comboBox_playbackrate->setVisible(pitched);
    ui->label_mixerFrequency->setVisible(mixed);
    ui->spinBox_mixer->setVisible(mixed);

    if (undersampled) {
        ui->label_Description->setText(
            tr("\nUndersampling an audio signal results in a frequency shift to lower frequencies.\n"
               "By this, high frequency signal components become audible, while playback time stays constant."));
    } else if (pitched) {
        ui->label_Description->setText(
            tr("\nPitching an audio signal means to slow down the audio playback.\n"
               "By this, playback time is changed and high frequency signal components become audible."));
    } else if (mixed) {
        ui->label_Description->setText(
            tr("\nA frequency mixer allows a heterodyne detection of a signal by mixing\n"
               "the input signal with a reference signal of a specific frequency (Mixer Frequency).\n"
               "This results in a frequency shift that corresponds to\n"
               "+/- the Mixer Frequency while the playback time stays constant."));
    }
    ui->label_Description->setVisible(undersampled || pitched || mixed);

    emit signalAudioControlsChanged();
}

void SpectrogramSettingsDialog::on_comboBox_undersampling_currentIndexChanged(int index)
{
    writeSetting(SettingKeys::undersampling, index);
    emit signalAudioControlsChanged();
}

void SpectrogramSettingsDialog::on_comboBox_playbackrate_currentIndexChanged(int index)
{
    writeSetting(SettingKeys::playbackRate, index);
    emit signalAudioControlsChanged();
}

void SpectrogramSettingsDialog::on_spinBox_mixer_valueChanged(int value)
{
    writeSetting(SettingKeys::mixerFrequency, value);
    emit signalAudioControlsChanged();
}

// --- Default button ---
// Each reset goes through the control, so its slot stores the key and emits
// its signal exactly as a user's change would.

void SpectrogramSettingsDialog::on_pushButton_default_clicked()
{
    switch (ui->tabWidget->currentIndex()) {
    case 0:
        resetSpectrogramTab();
        break;
    case 1:
        resetAxisPlotsTab();
        break;
    case 2:
        resetAudioTab();
        break;
    default:
        break;
    }
}

void SpectrogramSettingsDialog::resetSpectrogramTab()
{
    ui->comboBox_windowSize->setCurrentIndex(1);
    ui->comboBox_frameSize->setCurrentIndex(0);
    ui->comboBox_overlap->setCurrentIndex(5);
    ui->comboBox_window->setCurrentIndex(1);
    if (sampleRate != 0)
        on_pushButton_apply_clicked();

    ui->comboBox_colormap->setCurrentIndex(0);
    ui->comboBox_smoothing->setCurrentIndex(0);
    ui->comboBox_interactiveMarker->setCurrentIndex(1);
    ui->checkBox_visible1->setChecked(false);
    ui->checkBox_visible2->setChecked(false);
    ui->checkBox_visible3->setChecked(false);
    ui->spinBox_fixedDuration->setValue(1.0);
    ui->spinBox_fixedAspectRatio->setValue(150);
    ui->radioButton_autoTime->setChecked(true);

    // The defaults themselves are stored, whatever the recording's Nyquist
    // frequency lets the boxes show; the window hears of them once they are.
    writeSetting(SettingKeys::valueMarker1, kDefaultMarkersKHz[0]);
    writeSetting(SettingKeys::valueMarker2, kDefaultMarkersKHz[1]);
    writeSetting(SettingKeys::valueMarker3, kDefaultMarkersKHz[2]);
    writeSetting(SettingKeys::lowerFrequencyLimit, kDefaultLowerFrequencyKHz);
    writeSetting(SettingKeys::upperFrequencyLimit, kDefaultUpperFrequencyKHz);
    {
        const QScopedValueRollback<bool> showing(showingOnly, true);
        ui->spinBox_marker1->setValue(kDefaultMarkersKHz[0]);
        ui->spinBox_marker2->setValue(kDefaultMarkersKHz[1]);
        ui->spinBox_marker3->setValue(kDefaultMarkersKHz[2]);
        // The two frequency boxes bound each other: a lower limit of 10 can be
        // cut by a small upper limit still shown, so it is set again once the
        // upper limit has moved.
        ui->spinBox_lowerFreq->setValue(kDefaultLowerFrequencyKHz);
        ui->spinBox_upperFreq->setValue(kDefaultUpperFrequencyKHz);
        ui->spinBox_lowerFreq->setValue(kDefaultLowerFrequencyKHz);
    }
    emit frequencyMarkerChanged();
    emit scaleFrequencyChanged();
    ui->radioButton_autoFreq->setChecked(true);
    ui->radioButton_auto->setChecked(true);
}

void SpectrogramSettingsDialog::resetAxisPlotsTab()
{
    ui->comboBox_timePlotMode->setCurrentIndex(0);
    ui->radioButton_disableZoomTime->setChecked(true);
}

void SpectrogramSettingsDialog::resetAudioTab()
{
    ui->checkBox_autoplay->setChecked(false);
    ui->checkBox_loop->setChecked(false);
    ui->comboBox_audioMode->setCurrentIndex(0);
    ui->comboBox_playbackrate->setCurrentIndex(0);
    ui->comboBox_undersampling->setCurrentIndex(0);
    ui->spinBox_mixer->setValue(20);
}
