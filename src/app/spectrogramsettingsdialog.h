#pragma once

#include <QDialog>

class QwtPlot;
class QwtScaleWidget;
class Ui_SpectrogramSettingsDialog;

// The one editor of the spectrogram calculation, axis scaling, view, axis-plot
// and playback settings. It keeps no copy of them: every control writes its
// key into the default QSettings store the moment it changes and then emits a
// parameterless signal, and whoever listens reads the keys again. The
// calculation combos are the exception: they are stored only by Apply, because
// a recalculation is expensive and the user may still be choosing. The marker
// and frequency-limit boxes store only what the user sets (or Default): what
// they show may be cut to the recording's Nyquist frequency.
class SpectrogramSettingsDialog : public QDialog
{
    Q_OBJECT

public:
    // sampleRate in Hz of the recording shown, 0 when none is shown.
    SpectrogramSettingsDialog(QWidget *parent, int sampleRate);
    ~SpectrogramSettingsDialog() override;

public slots:
    // Sets every control from the store. A control whose value changes runs
    // its slot and emits its signal. The marker and frequency-limit boxes show
    // the stored values cut to the recording's Nyquist frequency (and the
    // lower limit below the upper) without storing what they show: a
    // low-rate recording must not rewrite the user's choices for the next.
    void loadSettings();

    // Takes the rate of the recording shown (0: none) and refreshes the
    // resolution labels; the controls are not reloaded.
    void setSampleRate(int sampleRate);

    // Apply and Default together: both are off while a spectrogram is being
    // calculated, because the worker reads the samples in place meanwhile.
    void setApplyButtonsEnabled(bool enabled);

    void setPlaybackSettingsEnabled(bool enabled);

    // 0 "Spectrogram", 1 "Axis Plots", 2 "Audio".
    void setCurrentTab(int index);

    // Hop between frames and bin width for the current window size and
    // overlap; both empty without a recording.
    void updateResolutionLabels();

signals:
    void colormapChanged();
    void frequencyMarkerChanged();
    void scaleAmplitudeChanged();
    void scaleFrequencyChanged();
    void scaleTimeChanged();
    void apply();
    void signalAudioControlsChanged();
    void timePlotChanged();
    void frequencyPlotChanged();

private slots:
    // Reached through the form's connection by object name.
    void on_checkBox_autoOverlap_stateChanged(int state);
    void on_comboBox_windowSize_currentTextChanged(const QString &text);
    void on_comboBox_overlap_currentIndexChanged(int index);
    void on_pushButton_apply_clicked();

    void on_comboBox_colormap_currentIndexChanged(int index);
    void on_comboBox_smoothing_currentIndexChanged(int index);
    void on_comboBox_interactiveMarker_currentIndexChanged(int index);
    void on_spinBox_marker1_valueChanged(double value);
    void on_spinBox_marker2_valueChanged(double value);
    void on_spinBox_marker3_valueChanged(double value);
    void on_checkBox_visible1_stateChanged(int state);
    void on_checkBox_visible2_stateChanged(int state);
    void on_checkBox_visible3_stateChanged(int state);

    void on_radioButton_autoTime_toggled(bool checked);
    void on_radioButton_fixedTime_toggled(bool checked);
    void on_radioButton_fixedAspectRatio_toggled(bool checked);
    void on_spinBox_fixedDuration_valueChanged(double value);
    void on_spinBox_fixedAspectRatio_valueChanged(int value);

    void on_radioButton_autoFreq_toggled(bool checked);
    void on_spinBox_lowerFreq_valueChanged(int value);
    void on_spinBox_upperFreq_valueChanged(int value);

    void on_radioButton_auto_toggled(bool checked);
    void on_spinBox_lower_valueChanged(int value);
    void on_spinBox_upper_valueChanged(int value);

    void on_comboBox_timePlotMode_currentIndexChanged(int index);
    void on_radioButton_disableZoomTime_toggled(bool checked);
    void on_radioButton_enableZoomTime_clicked(bool checked);

    void on_pushButton_refreshAudioDevice_clicked();
    void on_checkBox_autoplay_stateChanged(int state);
    void on_checkBox_loop_stateChanged(int state);
    void on_comboBox_audioMode_currentIndexChanged(int index);
    void on_comboBox_undersampling_currentIndexChanged(int index);
    void on_comboBox_playbackrate_currentIndexChanged(int index);
    void on_spinBox_mixer_valueChanged(int value);

    void on_pushButton_default_clicked();

private:
    void buildColorBar();
    // Preview of the level colours over the two level spin boxes' range.
    void rebuildColorBar(int colormapIndex);
    void loadFrequencyLimits();
    void loadLevelLimits();
    void resetSpectrogramTab();
    void resetAxisPlotsTab();
    void resetAudioTab();
    // Highest frequency the recording holds, in whole kHz; 150 without one.
    int frequencyCeilingKHz() const;

    Ui_SpectrogramSettingsDialog *ui;
    int sampleRate;
    QwtPlot *colorBarPlot = nullptr;         // a child of the amplitude group box, through its layout
    QwtScaleWidget *colorBarScale = nullptr; // the plot's bottom axis
    // Set while the dialog itself moves the marker and frequency-limit boxes
    // (loading, Default): their slots then signal but do not store.
    bool showingOnly = false;
};
