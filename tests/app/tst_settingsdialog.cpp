#include "app/spectrogramsettingsdialog.h"
#include "display/colormapexjet.h"
#include "display/colormapjet.h"
#include "filewrites.h"
#include "guitest.h"
#include "platform/audiodevice.h"
#include "testregistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <qwt_color_map.h>
#include <qwt_plot.h>
#include <qwt_scale_div.h>
#include <qwt_scale_widget.h>
#include <qwt_text.h>

#include <functional>

namespace {

// Records the dialog's nine signals in the order they arrive.
struct SignalLog {
    QStringList names;

    void attach(SpectrogramSettingsDialog *d)
    {
        using D = SpectrogramSettingsDialog;
        const auto log = [this, d](void (D::*signal)(), const char *name) {
            QObject::connect(d, signal, d, [this, name] { names << QLatin1String(name); });
        };
        log(&D::colormapChanged, "colormapChanged");
        log(&D::frequencyMarkerChanged, "frequencyMarkerChanged");
        log(&D::scaleAmplitudeChanged, "scaleAmplitudeChanged");
        log(&D::scaleFrequencyChanged, "scaleFrequencyChanged");
        log(&D::scaleTimeChanged, "scaleTimeChanged");
        log(&D::apply, "apply");
        log(&D::signalAudioControlsChanged, "signalAudioControlsChanged");
        log(&D::timePlotChanged, "timePlotChanged");
        log(&D::frequencyPlotChanged, "frequencyPlotChanged");
    }
};

void writeStore(const QVariantMap &values)
{
    QSettings s;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        s.setValue(it.key(), it.value());
}

// The store may hand back what was written or its text form; compare as text.
QString stored(const QString &key)
{
    return QSettings().value(key).toString();
}

// Sets a control the way a user would, whatever its kind.
bool operate(QWidget *control, const QVariant &value)
{
    if (auto *combo = qobject_cast<QComboBox *>(control))
        combo->setCurrentIndex(value.toInt());
    else if (auto *radio = qobject_cast<QRadioButton *>(control))
        radio->setChecked(value.toBool());
    else if (auto *check = qobject_cast<QCheckBox *>(control))
        check->setChecked(value.toBool());
    else if (auto *dspin = qobject_cast<QDoubleSpinBox *>(control))
        dspin->setValue(value.toDouble());
    else if (auto *spin = qobject_cast<QSpinBox *>(control))
        spin->setValue(value.toInt());
    else if (auto *button = qobject_cast<QPushButton *>(control))
        button->click();
    else
        return false;
    return true;
}

// "objectName.property" -> the property's value, as text.
QString shown(const QObject &dialog, const QString &path)
{
    const QString name = path.section(QLatin1Char('.'), 0, 0);
    const QByteArray property = path.section(QLatin1Char('.'), 1).toLatin1();
    const QObject *o = name == dialog.objectName() ? &dialog : dialog.findChild<QObject *>(name);
    if (!o)
        return QStringLiteral("<no object %1>").arg(name);
    const QVariant v = o->property(property.constData());
    return v.isValid() ? v.toString() : QStringLiteral("<no property %1>").arg(path);
}

void compareShown(const QObject &dialog, const QVariantMap &expected)
{
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(shown(dialog, it.key()), it.value().toString());
}

void compareStored(const QVariantMap &expected)
{
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        if (it.value().isValid())
            QCOMPARE(qMakePair(it.key(), stored(it.key())), qMakePair(it.key(), it.value().toString()));
        else
            QVERIFY2(!QSettings().contains(it.key()), qPrintable(it.key() + QLatin1String(" was stored")));
    }
}

const QString kDevice = QStringLiteral("Test Speakers");

// How often the store was written while `work` ran.
int storeWritesDuring(const std::function<void()> &work)
{
    const QFileInfo store(QSettings().fileName());
    QDir().mkpath(store.path());
    return testsupport::wholeWritesOf(store.path(), store.fileName(), work);
}

} // namespace

class TestSettingsDialog : public testsupport::GuiTestCase
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The resolution labels format with the default locale.
        previousLocale = QLocale();
        QLocale::setDefault(QLocale::c());
        AudioDevice::setDefaultOutputDeviceNameOverride(kDevice);
    }
    void cleanupTestCase()
    {
        QSettings().clear();
        AudioDevice::clearDefaultOutputDeviceNameOverride();
        QLocale::setDefault(previousLocale);
    }

    void emptyStore_showsDefaults_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QVariant>("expected");
        const auto row = [](const char *path, const QVariant &v) {
            QTest::newRow(path) << QString::fromLatin1(path) << v;
        };
        row("SpectrogramSettingsDialog.windowTitle", "Settings");
        row("comboBox_windowSize.currentText", "1024");
        row("comboBox_overlap.currentText", "50");
        row("comboBox_frameSize.currentText", "100");
        row("comboBox_window.currentText", "Hamming");
        row("checkBox_autoOverlap.checked", true);
        row("comboBox_colormap.currentText", "Black-Green");
        row("comboBox_smoothing.currentText", "No smoothing");
        row("comboBox_interactiveMarker.currentText", "Locked");
        row("spinBox_marker1.value", 16.0);
        row("spinBox_marker2.value", 33.0);
        row("spinBox_marker3.value", 55.0);
        row("checkBox_visible1.checked", false);
        row("checkBox_visible2.checked", false);
        row("checkBox_visible3.checked", false);
        row("radioButton_autoTime.checked", true);
        row("spinBox_fixedDuration.value", 1.0);
        row("spinBox_fixedDuration.enabled", false);
        row("spinBox_fixedAspectRatio.value", 150);
        row("spinBox_fixedAspectRatio.enabled", false);
        row("radioButton_autoFreq.checked", true);
        row("spinBox_lowerFreq.value", 0);
        row("spinBox_upperFreq.value", 150);
        row("spinBox_upperFreq.enabled", false);
        row("radioButton_auto.checked", true);
        row("spinBox_lower.value", -100);
        row("spinBox_upper.value", -33);
        row("spinBox_lower.enabled", false);
        row("comboBox_timePlotMode.currentIndex", 0);
        row("radioButton_disableZoomTime.checked", true);
        row("checkBox_autoplay.checked", false);
        row("checkBox_loop.checked", false);
        row("comboBox_audioMode.currentText", "Original");
        row("comboBox_undersampling.currentText", "1:1");
        row("comboBox_playbackrate.currentText", "100%");
        row("spinBox_mixer.value", 20);
        row("label_7.text", kDevice);
        row("groupBox_3.enabled", true);
        row("tabWidget.currentIndex", 0);
    }
    void emptyStore_showsDefaults()
    {
        QFETCH(QString, path);
        QFETCH(QVariant, expected);
        SpectrogramSettingsDialog dialog(nullptr, 300000);
        QCOMPARE(shown(dialog, path), expected.toString());
    }

    // A hand-edited store must not blank a combo: Apply would store -1.
    void indicesOutsideTheLists_showDefaults_data() { emptyStore_showsDefaults_data(); }
    void indicesOutsideTheLists_showDefaults()
    {
        QFETCH(QString, path);
        QFETCH(QVariant, expected);
        writeStore({{"windowSize", 6},
                    {"overlap", -1},
                    {"frameSize", 5},
                    {"window", 7},
                    {"colormap", 4},
                    {"smoothing", 2},
                    {"markerInteractive", -1},
                    {"timePlotMode", 3},
                    {"audioMode", 9},
                    {"undersampling", 16},
                    {"playbackRate", 7}});
        SpectrogramSettingsDialog dialog(nullptr, 300000);
        QCOMPARE(shown(dialog, path), expected.toString());
    }

    void control_storesKeyAndSignals_data()
    {
        QTest::addColumn<int>("sampleRate");
        QTest::addColumn<QVariantMap>("preset");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariantMap>("keys"); // an invalid value: the key must not be stored
        QTest::addColumn<QStringList>("signalNames");

        const QVariant absent;
        const QStringList none;
        const QStringList plots{"timePlotChanged", "frequencyPlotChanged"};
        const QStringList audio{"signalAudioControlsChanged"};
        const int fs = 300000;
        auto row = [](const char *name, int rate, const QVariantMap &preset, const char *control, const QVariant &value,
                      const QVariantMap &keys, const QStringList &signalNames) {
            QTest::newRow(name) << rate << preset << QString::fromLatin1(control) << value << keys << signalNames;
        };

        row("window size waits for Apply", fs, {}, "comboBox_windowSize", 3, {{"windowSize", absent}}, none);
        row("overlap waits for Apply", fs, {}, "comboBox_overlap", 0, {{"overlap", absent}}, none);
        row("frame size waits for Apply", fs, {}, "comboBox_frameSize", 4, {{"frameSize", absent}}, none);
        row("window waits for Apply", fs, {}, "comboBox_window", 6, {{"window", absent}}, none);
        row("overlap reduction off: check state, silent", fs, {}, "checkBox_autoOverlap", false,
            {{"autoReduceOverlap", 0}}, none);
        row("overlap reduction on: check state 2", fs, {{"autoReduceOverlap", 0}}, "checkBox_autoOverlap", true,
            {{"autoReduceOverlap", 2}}, none);
        row("colour map", fs, {}, "comboBox_colormap", 2, {{"colormap", 2}}, {"colormapChanged"});
        row("smoothing", fs, {}, "comboBox_smoothing", 1, {{"smoothing", 1}}, {"colormapChanged"});
        row("marker mode is silent", fs, {}, "comboBox_interactiveMarker", 1, {{"markerInteractive", 1}}, none);
        row("marker 1 frequency", fs, {}, "spinBox_marker1", 20.5, {{"valueMarker1", 20.5}},
            {"frequencyMarkerChanged"});
        row("marker 2 frequency", fs, {}, "spinBox_marker2", 40.0, {{"valueMarker2", 40.0}},
            {"frequencyMarkerChanged"});
        row("marker 3 frequency", fs, {}, "spinBox_marker3", 72.3, {{"valueMarker3", 72.3}},
            {"frequencyMarkerChanged"});
        row("marker 1 shown", fs, {}, "checkBox_visible1", true, {{"marker1", true}}, {"frequencyMarkerChanged"});
        row("marker 2 shown", fs, {}, "checkBox_visible2", true, {{"marker2", true}}, {"frequencyMarkerChanged"});
        row("marker 3 hidden again", fs, {{"marker3", true}}, "checkBox_visible3", false, {{"marker3", false}},
            {"frequencyMarkerChanged"});
        row("fixed duration in any mode", fs, {}, "spinBox_fixedDuration", 2.5, {{"fixedDuration", 2.5}},
            {"scaleTimeChanged"});
        row("aspect ratio in any mode", fs, {}, "spinBox_fixedAspectRatio", 300, {{"fixedAspectRatio", 300}},
            {"scaleTimeChanged"});
        row("time axis to fixed duration", fs, {}, "radioButton_fixedTime", true,
            {{"fixedXScale", 1}, {"fixedDuration", 1.0}, {"fixedAspectRatio", absent}}, {"scaleTimeChanged"});
        row("time axis to fixed ratio", fs, {}, "radioButton_fixedAspectRatio", true,
            {{"fixedXScale", 2}, {"fixedAspectRatio", 150}, {"fixedDuration", absent}}, {"scaleTimeChanged"});
        row("time axis back to auto", fs, {{"fixedXScale", 2}}, "radioButton_autoTime", true, {{"fixedXScale", 0}},
            {"scaleTimeChanged"});
        row("lower frequency limit", fs, {}, "spinBox_lowerFreq", 20, {{"lowerFrequencyLimit", 20}},
            {"scaleFrequencyChanged"});
        row("upper frequency limit", fs, {}, "spinBox_upperFreq", 120, {{"upperFrequencyLimit", 120}},
            {"scaleFrequencyChanged"});
        row("frequency axis fixed keeps the limits", fs, {}, "radioButton_fixedFreq", true,
            {{"fixedYScale", true}, {"lowerFrequencyLimit", absent}, {"upperFrequencyLimit", absent}},
            {"scaleFrequencyChanged"});
        row("frequency axis back to auto", fs, {{"fixedYScale", true}}, "radioButton_autoFreq", true,
            {{"fixedYScale", false}, {"lowerFrequencyLimit", absent}, {"upperFrequencyLimit", absent}},
            {"scaleFrequencyChanged"});
        row("lower level limit", fs, {}, "spinBox_lower", -80, {{"lowerScaleLimit", -80}}, {"scaleAmplitudeChanged"});
        row("upper level limit", fs, {}, "spinBox_upper", -20, {{"upperScaleLimit", -20}}, {"scaleAmplitudeChanged"});
        row("level range fixed stores both limits", fs, {}, "radioButton_fixed", true,
            {{"fixedZScale", true}, {"lowerScaleLimit", -100}, {"upperScaleLimit", -33}}, {"scaleAmplitudeChanged"});
        row("level range back to auto", fs, {{"fixedZScale", true}}, "radioButton_auto", true,
            {{"fixedZScale", false}, {"lowerScaleLimit", -100}, {"upperScaleLimit", -33}}, {"scaleAmplitudeChanged"});
        row("axis plot mode sets both plots", fs, {}, "comboBox_timePlotMode", 2,
            {{"timePlotMode", 2}, {"frequencyPlotMode", 2}}, plots);
        row("axis plot mode without recording is silent", 0, {}, "comboBox_timePlotMode", 1,
            {{"timePlotMode", 1}, {"frequencyPlotMode", 1}}, none);
        row("zoom following on for both plots", fs, {}, "radioButton_enableZoomTime", true,
            {{"timePlotZoom", true}, {"frequencyPlotZoom", true}}, plots);
        row("zoom following off", fs, {{"timePlotZoom", true}}, "radioButton_disableZoomTime", true,
            {{"timePlotZoom", false}, {"frequencyPlotZoom", false}}, plots);
        row("zoom following without recording is silent", 0, {}, "radioButton_enableZoomTime", true,
            {{"timePlotZoom", true}, {"frequencyPlotZoom", true}}, none);
        row("autoplay is silent", fs, {}, "checkBox_autoplay", true, {{"autoplay", true}}, none);
        row("loop is silent", fs, {}, "checkBox_loop", true, {{"loop", true}}, none);
        row("audio mode", fs, {}, "comboBox_audioMode", 3, {{"audioMode", 3}}, audio);
        row("undersampling", fs, {}, "comboBox_undersampling", 5, {{"undersampling", 5}}, audio);
        row("playback rate", fs, {}, "comboBox_playbackrate", 2, {{"playbackRate", 2}}, audio);
        row("mixer frequency", fs, {}, "spinBox_mixer", 45, {{"mixerFrequency", 45}}, audio);
    }
    void control_storesKeyAndSignals()
    {
        QFETCH(int, sampleRate);
        QFETCH(QVariantMap, preset);
        QFETCH(QString, control);
        QFETCH(QVariant, value);
        QFETCH(QVariantMap, keys);
        QFETCH(QStringList, signalNames);

        writeStore(preset);
        SignalLog log;
        SpectrogramSettingsDialog dialog(nullptr, sampleRate);
        // Loading stores corrected values back; only what the control stores counts here.
        QSettings().clear();
        log.attach(&dialog);

        auto *widget = dialog.findChild<QWidget *>(control);
        QVERIFY2(widget, qPrintable(control));
        QVERIFY(operate(widget, value));

        compareStored(keys);
        QCOMPARE(log.names, signalNames);
    }

    // What a control stores, the next dialog must show: loading and storing
    // agree on every key's name and encoding.
    void storedChange_isShownByTheNextDialog_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariantMap>("shownAfterReload");

        const auto row = [](const char *control, const QVariant &value, const QVariantMap &shownAfterReload) {
            QTest::newRow(control) << QString::fromLatin1(control) << value << shownAfterReload;
        };
        row("comboBox_windowSize", 3, {{"comboBox_windowSize.currentText", "256"}});
        row("comboBox_overlap", 2, {{"comboBox_overlap.currentText", "93.75"}});
        row("comboBox_frameSize", 4, {{"comboBox_frameSize.currentText", "12,5"}});
        row("comboBox_window", 6, {{"comboBox_window.currentText", "Blackman-Harris"}});
        row("checkBox_autoOverlap", false, {{"checkBox_autoOverlap.checked", false}});
        row("comboBox_colormap", 3, {{"comboBox_colormap.currentText", "Extended Jet"}});
        row("comboBox_smoothing", 1, {{"comboBox_smoothing.currentText", "Smoothing"}});
        row("comboBox_interactiveMarker", 1, {{"comboBox_interactiveMarker.currentText", "Interactive"}});
        row("spinBox_marker1", 20.5, {{"spinBox_marker1.value", 20.5}});
        row("spinBox_marker2", 40.0, {{"spinBox_marker2.value", 40.0}});
        row("spinBox_marker3", 72.3, {{"spinBox_marker3.value", 72.3}});
        row("checkBox_visible1", true, {{"checkBox_visible1.checked", true}});
        row("checkBox_visible2", true, {{"checkBox_visible2.checked", true}});
        row("checkBox_visible3", true, {{"checkBox_visible3.checked", true}});
        row("spinBox_fixedDuration", 2.5, {{"spinBox_fixedDuration.value", 2.5}});
        row("spinBox_fixedAspectRatio", 300, {{"spinBox_fixedAspectRatio.value", 300}});
        row("radioButton_fixedTime", true,
            {{"radioButton_fixedTime.checked", true},
             {"spinBox_fixedDuration.enabled", true},
             {"spinBox_fixedAspectRatio.enabled", false}});
        row("radioButton_fixedAspectRatio", true,
            {{"radioButton_fixedAspectRatio.checked", true},
             {"spinBox_fixedDuration.enabled", false},
             {"spinBox_fixedAspectRatio.enabled", true}});
        row("spinBox_lowerFreq", 20, {{"spinBox_lowerFreq.value", 20}, {"spinBox_upperFreq.minimum", 21}});
        row("spinBox_upperFreq", 120, {{"spinBox_upperFreq.value", 120}, {"spinBox_lowerFreq.maximum", 119}});
        row("radioButton_fixedFreq", true,
            {{"radioButton_fixedFreq.checked", true},
             {"spinBox_lowerFreq.enabled", true},
             {"spinBox_upperFreq.enabled", true}});
        row("spinBox_lower", -80, {{"spinBox_lower.value", -80}, {"spinBox_upper.minimum", -79}});
        row("spinBox_upper", -20, {{"spinBox_upper.value", -20}, {"spinBox_lower.maximum", -21}});
        row("radioButton_fixed", true,
            {{"radioButton_fixed.checked", true}, {"spinBox_lower.enabled", true}, {"spinBox_upper.enabled", true}});
        row("comboBox_timePlotMode", 2, {{"comboBox_timePlotMode.currentIndex", 2}});
        row("radioButton_enableZoomTime", true, {{"radioButton_enableZoomTime.checked", true}});
        row("checkBox_autoplay", true, {{"checkBox_autoplay.checked", true}});
        row("checkBox_loop", true, {{"checkBox_loop.checked", true}});
        row("comboBox_audioMode", 2, {{"comboBox_audioMode.currentText", "Pitched"}});
        row("comboBox_undersampling", 5, {{"comboBox_undersampling.currentText", "10:1"}});
        row("comboBox_playbackrate", 2, {{"comboBox_playbackrate.currentText", "25%"}});
        row("spinBox_mixer", 45, {{"spinBox_mixer.value", 45}});
    }
    void storedChange_isShownByTheNextDialog()
    {
        QFETCH(QString, control);
        QFETCH(QVariant, value);
        QFETCH(QVariantMap, shownAfterReload);
        {
            SpectrogramSettingsDialog first(nullptr, 300000);
            QVERIFY(operate(first.findChild<QWidget *>(control), value));
            // The calculation combos are stored by Apply alone.
            first.findChild<QPushButton *>("pushButton_apply")->click();
        }
        SpectrogramSettingsDialog second(nullptr, 300000);
        compareShown(second, shownAfterReload);
    }

    // The main window reloads the dialog after every spectrogram and every
    // marker toggle; a reload that found nothing new must not make it redraw,
    // recalculate or rebuild the audio.
    void reload_ofAnUnchangedStore_isSilent()
    {
        writeStore({{"windowSize", 0},
                    {"overlap", 0},
                    {"colormap", 2},
                    {"smoothing", 1},
                    {"markerInteractive", 1},
                    {"valueMarker1", 12.5},
                    {"marker2", true},
                    {"fixedXScale", 2},
                    {"fixedAspectRatio", 400},
                    {"lowerFrequencyLimit", 30},
                    {"upperFrequencyLimit", 90},
                    {"fixedYScale", true},
                    {"lowerScaleLimit", -70},
                    {"upperScaleLimit", -10},
                    {"fixedZScale", true},
                    {"timePlotMode", 1},
                    {"timePlotZoom", true},
                    {"audioMode", 3},
                    {"mixerFrequency", 35},
                    {"loop", true}});
        SpectrogramSettingsDialog dialog(nullptr, 300000);
        SignalLog log;
        log.attach(&dialog);
        dialog.loadSettings();
        QCOMPARE(log.names, QStringList());
        QCOMPARE(shown(dialog, "spinBox_mixer.value"), QStringLiteral("35"));
        QCOMPARE(shown(dialog, "spinBox_lowerFreq.value"), QStringLiteral("30"));
        QCOMPARE(shown(dialog, "spinBox_upper.value"), QStringLiteral("-10"));
    }

    // While the worker reads the samples in place, neither Apply nor Default
    // may start a recalculation; Close only hides the one dialog.
    void buttons_followTheWindowsState()
    {
        SpectrogramSettingsDialog dialog(nullptr, 300000);
        auto *apply = dialog.findChild<QPushButton *>("pushButton_apply");
        auto *reset = dialog.findChild<QPushButton *>("pushButton_default");
        dialog.setApplyButtonsEnabled(false);
        QVERIFY(!apply->isEnabled());
        QVERIFY(!reset->isEnabled());
        dialog.setApplyButtonsEnabled(true);
        QVERIFY(apply->isEnabled());
        QVERIFY(reset->isEnabled());

        auto *playback = dialog.findChild<QGroupBox *>("groupBox_3");
        dialog.setPlaybackSettingsEnabled(false);
        QVERIFY(!playback->isEnabled());
        dialog.setPlaybackSettingsEnabled(true);
        QVERIFY(playback->isEnabled());

        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Close)->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void apply_storesTheFourCalculationIndicesInOneWrite()
    {
        SignalLog log;
        SpectrogramSettingsDialog dialog(nullptr, 300000);
        log.attach(&dialog);
        dialog.findChild<QComboBox *>("comboBox_windowSize")->setCurrentIndex(4);
        dialog.findChild<QComboBox *>("comboBox_overlap")->setCurrentIndex(2);
        dialog.findChild<QComboBox *>("comboBox_frameSize")->setCurrentIndex(3);
        dialog.findChild<QComboBox *>("comboBox_window")->setCurrentIndex(5);
        QVERIFY(log.names.isEmpty());

        // The four go in one write of the store, not one each.
        QCOMPARE(storeWritesDuring([&dialog] { dialog.findChild<QPushButton *>("pushButton_apply")->click(); }), 1);
        compareStored({{"windowSize", 4}, {"overlap", 2}, {"frameSize", 3}, {"window", 5}});
        QCOMPARE(log.names, QStringList{"apply"});
    }

    // The boxes show what the recording allows; the store keeps what the user
    // chose, for the next recording.
    void load_cutsOnlyWhatIsShown_data()
    {
        QTest::addColumn<int>("sampleRate");
        QTest::addColumn<QVariantMap>("preset");
        QTest::addColumn<QVariantMap>("controls");
        QTest::addColumn<QVariantMap>("keys");

        QTest::newRow("300 kHz cuts a 200 kHz upper limit to 150")
            << 300000 << QVariantMap{{"upperFrequencyLimit", 200}}
            << QVariantMap{{"spinBox_upperFreq.maximum", 150}, {"spinBox_upperFreq.value", 150},
                           {"spinBox_marker3.maximum", 150.0}, {"spinBox_marker3.value", 55.0},
                           {"spinBox_lowerFreq.maximum", 149}, {"pushButton_apply.enabled", true}}
            << QVariantMap{{"upperFrequencyLimit", 200}, {"valueMarker3", QVariant()}};
        QTest::newRow("44.1 kHz: ceiling 22 (22.05 truncated) cuts limit and markers")
            << 44100 << QVariantMap{} << QVariantMap{{"spinBox_upperFreq.maximum", 22}, {"spinBox_upperFreq.value", 22},
                                                     {"spinBox_marker1.value", 16.0},   {"spinBox_marker2.value", 22.0},
                                                     {"spinBox_marker3.maximum", 22.0}, {"spinBox_marker3.value", 22.0},
                                                     {"spinBox_lowerFreq.maximum", 21}}
            << QVariantMap{
                   {"upperFrequencyLimit", QVariant()}, {"valueMarker2", QVariant()}, {"valueMarker3", QVariant()}};
        QTest::newRow("500 kHz keeps a 200 kHz upper limit") << 500000 << QVariantMap{{"upperFrequencyLimit", 200}}
                                                             << QVariantMap{{"spinBox_upperFreq.maximum", 250},
                                                                            {"spinBox_upperFreq.value", 200},
                                                                            {"spinBox_marker1.maximum", 250.0}}
                                                             << QVariantMap{{"upperFrequencyLimit", 200}};
        QTest::newRow("no recording: 150 kHz ceiling, Apply off") << 0 << QVariantMap{{"upperFrequencyLimit", 200}}
                                                                  << QVariantMap{{"spinBox_upperFreq.maximum", 150},
                                                                                 {"spinBox_upperFreq.value", 150},
                                                                                 {"spinBox_marker2.maximum", 150.0},
                                                                                 {"pushButton_apply.enabled", false}}
                                                                  << QVariantMap{{"upperFrequencyLimit", 200}};
        QTest::newRow("lower limit above upper becomes upper - 1")
            << 300000 << QVariantMap{{"lowerFrequencyLimit", 150}, {"upperFrequencyLimit", 100}}
            << QVariantMap{{"spinBox_upperFreq.value", 100},
                           {"spinBox_lowerFreq.value", 99},
                           {"spinBox_upperFreq.minimum", 100}}
            << QVariantMap{{"lowerFrequencyLimit", 150}, {"upperFrequencyLimit", 100}};
    }
    void load_cutsOnlyWhatIsShown()
    {
        QFETCH(int, sampleRate);
        QFETCH(QVariantMap, preset);
        QFETCH(QVariantMap, controls);
        QFETCH(QVariantMap, keys);

        writeStore(preset);
        SpectrogramSettingsDialog dialog(nullptr, sampleRate);
        compareShown(dialog, controls);
        compareStored(keys);
    }

    // The main window stores each spectrogram's level range and reloads the
    // dialog; limits left on the boxes by the range shown before must not cut
    // the new range (nor get the cut value stored).
    void load_followsAStoredRangeBeyondTheShownOne_data()
    {
        QTest::addColumn<QVariantMap>("before");
        QTest::addColumn<QVariantMap>("after");
        QTest::addColumn<QVariantMap>("controls");

        QTest::newRow("level range above the one shown")
            << QVariantMap{{"lowerScaleLimit", -100}, {"upperScaleLimit", -50}}
            << QVariantMap{{"lowerScaleLimit", -40}, {"upperScaleLimit", 0}}
            << QVariantMap{{"spinBox_lower.value", -40}, {"spinBox_upper.value", 0}};
        QTest::newRow("level range below the one shown")
            << QVariantMap{{"lowerScaleLimit", -30}, {"upperScaleLimit", -10}}
            << QVariantMap{{"lowerScaleLimit", -150}, {"upperScaleLimit", -90}}
            << QVariantMap{{"spinBox_lower.value", -150}, {"spinBox_upper.value", -90}};
        QTest::newRow("frequency range below the one shown")
            << QVariantMap{{"lowerFrequencyLimit", 120}, {"upperFrequencyLimit", 140}}
            << QVariantMap{{"lowerFrequencyLimit", 10}, {"upperFrequencyLimit", 100}}
            << QVariantMap{{"spinBox_lowerFreq.value", 10}, {"spinBox_upperFreq.value", 100}};
        QTest::newRow("frequency range above the one shown")
            << QVariantMap{{"lowerFrequencyLimit", 10}, {"upperFrequencyLimit", 20}}
            << QVariantMap{{"lowerFrequencyLimit", 100}, {"upperFrequencyLimit", 140}}
            << QVariantMap{{"spinBox_lowerFreq.value", 100}, {"spinBox_upperFreq.value", 140}};
    }
    void load_followsAStoredRangeBeyondTheShownOne()
    {
        QFETCH(QVariantMap, before);
        QFETCH(QVariantMap, after);
        QFETCH(QVariantMap, controls);

        writeStore(before);
        SpectrogramSettingsDialog dialog(nullptr, 300000);
        writeStore(after);
        dialog.loadSettings();
        compareShown(dialog, controls);
        compareStored(after);
    }

    void defaultButton_resetsOnlyTheTabShown_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("sampleRate");
        QTest::addColumn<QVariantMap>("controls");
        QTest::addColumn<QVariantMap>("keys");
        QTest::addColumn<int>("applies");

        const QVariantMap spectrogramControls{{"comboBox_windowSize.currentText", "1024"},
                                              {"comboBox_frameSize.currentText", "100"},
                                              {"comboBox_overlap.currentText", "50"},
                                              {"comboBox_window.currentText", "Hamming"},
                                              {"comboBox_colormap.currentIndex", 0},
                                              {"comboBox_smoothing.currentIndex", 0},
                                              {"comboBox_interactiveMarker.currentText", "Interactive"},
                                              {"checkBox_visible1.checked", false},
                                              {"checkBox_visible3.checked", false},
                                              {"spinBox_marker1.value", 16.0},
                                              {"spinBox_marker2.value", 33.0},
                                              {"spinBox_marker3.value", 55.0},
                                              {"spinBox_fixedDuration.value", 1.0},
                                              {"spinBox_fixedAspectRatio.value", 150},
                                              {"radioButton_autoTime.checked", true},
                                              {"spinBox_lowerFreq.value", 10},
                                              {"spinBox_upperFreq.value", 100},
                                              {"radioButton_autoFreq.checked", true},
                                              {"radioButton_auto.checked", true},
                                              // not part of the reset
                                              {"checkBox_autoOverlap.checked", false},
                                              {"spinBox_lower.value", -90},
                                              {"spinBox_upper.value", -20},
                                              {"comboBox_timePlotMode.currentIndex", 2},
                                              {"checkBox_autoplay.checked", true}};
        const QVariantMap spectrogramKeys{{"colormap", 0},
                                          {"smoothing", 0},
                                          {"markerInteractive", 1},
                                          {"marker1", false},
                                          {"marker2", false},
                                          {"valueMarker1", 16.0},
                                          {"valueMarker3", 55.0},
                                          {"fixedDuration", 1.0},
                                          {"fixedAspectRatio", 150},
                                          {"fixedXScale", 0},
                                          {"lowerFrequencyLimit", 10},
                                          {"upperFrequencyLimit", 100},
                                          {"fixedYScale", false},
                                          {"fixedZScale", false},
                                          {"autoReduceOverlap", 0},
                                          {"lowerScaleLimit", -90},
                                          {"timePlotMode", 2}};

        const auto withCalculation = [&spectrogramKeys](int windowSize, int overlap, int frameSize, int window) {
            QVariantMap keys = spectrogramKeys;
            keys.insert(QStringLiteral("windowSize"), windowSize);
            keys.insert(QStringLiteral("overlap"), overlap);
            keys.insert(QStringLiteral("frameSize"), frameSize);
            keys.insert(QStringLiteral("window"), window);
            return keys;
        };
        QTest::newRow("Spectrogram, with a recording: applies")
            << 0 << 300000 << spectrogramControls << withCalculation(1, 5, 0, 1) << 1;
        // Without a recording the calculation combos reset but keep their stored values.
        const QVariantMap keys = withCalculation(3, 1, 2, 4);
        QTest::newRow("Spectrogram, no recording: calculation not stored")
            << 0 << 0 << spectrogramControls << keys << 0;

        QTest::newRow("Axis Plots") << 1 << 300000
                                    << QVariantMap{{"comboBox_timePlotMode.currentIndex", 0},
                                                   {"radioButton_disableZoomTime.checked", true},
                                                   {"comboBox_colormap.currentIndex", 3},
                                                   {"checkBox_autoplay.checked", true},
                                                   {"comboBox_windowSize.currentText", "256"}}
                                    << QVariantMap{{"timePlotMode", 0},     {"frequencyPlotMode", 0},
                                                   {"timePlotZoom", false}, {"frequencyPlotZoom", false},
                                                   {"colormap", 3},         {"autoplay", true},
                                                   {"windowSize", 3}}
                                    << 0;
        QTest::newRow("Audio")
            << 2 << 300000
            << QVariantMap{{"checkBox_autoplay.checked", false},       {"checkBox_loop.checked", false},
                           {"comboBox_audioMode.currentIndex", 0},     {"comboBox_playbackrate.currentIndex", 0},
                           {"comboBox_undersampling.currentIndex", 0}, {"spinBox_mixer.value", 20},
                           {"comboBox_timePlotMode.currentIndex", 2},  {"comboBox_colormap.currentIndex", 3}}
            << QVariantMap{{"autoplay", false},  {"loop", false},        {"audioMode", 0},    {"playbackRate", 0},
                           {"undersampling", 0}, {"mixerFrequency", 20}, {"timePlotMode", 2}, {"colormap", 3}}
            << 0;
    }
    void defaultButton_resetsOnlyTheTabShown()
    {
        QFETCH(int, tab);
        QFETCH(int, sampleRate);
        QFETCH(QVariantMap, controls);
        QFETCH(QVariantMap, keys);
        QFETCH(int, applies);

        // Everything away from its default; the narrow 2..8 kHz frequency
        // range makes the reset's lower limit of 10 collide with the old upper.
        writeStore({{"windowSize", 3},
                    {"overlap", 1},
                    {"frameSize", 2},
                    {"window", 4},
                    {"autoReduceOverlap", 0},
                    {"colormap", 3},
                    {"smoothing", 1},
                    {"markerInteractive", 0},
                    {"valueMarker1", 20.0},
                    {"valueMarker2", 40.0},
                    {"valueMarker3", 60.0},
                    {"marker1", true},
                    {"marker2", true},
                    {"marker3", true},
                    {"fixedDuration", 5.0},
                    {"fixedAspectRatio", 300},
                    {"fixedXScale", 2},
                    {"lowerFrequencyLimit", 2},
                    {"upperFrequencyLimit", 8},
                    {"fixedYScale", true},
                    {"lowerScaleLimit", -90},
                    {"upperScaleLimit", -20},
                    {"fixedZScale", true},
                    {"timePlotMode", 2},
                    {"timePlotZoom", true},
                    {"autoplay", true},
                    {"loop", true},
                    {"audioMode", 3},
                    {"undersampling", 4},
                    {"playbackRate", 3},
                    {"mixerFrequency", 45}});
        SignalLog log;
        SpectrogramSettingsDialog dialog(nullptr, sampleRate);
        log.attach(&dialog);
        dialog.setCurrentTab(tab);
        dialog.findChild<QPushButton *>("pushButton_default")->click();

        compareShown(dialog, controls);
        compareStored(keys);
        QCOMPARE(log.names.count(QStringLiteral("apply")), applies);
    }

    // Default stores the defaults themselves, not what a low-rate recording
    // lets the boxes show.
    void defaultButton_storesTheDefaultsUncut()
    {
        writeStore({{"valueMarker2", 5.0}, {"lowerFrequencyLimit", 2}, {"upperFrequencyLimit", 6}});
        SpectrogramSettingsDialog dialog(nullptr, 16000);
        dialog.setCurrentTab(0);
        dialog.findChild<QPushButton *>("pushButton_default")->click();
        compareShown(dialog, {{"spinBox_marker1.value", 8.0},
                              {"spinBox_marker2.value", 8.0},
                              {"spinBox_upperFreq.value", 8},
                              {"spinBox_lowerFreq.value", 7}});
        compareStored({{"valueMarker1", 16.0},
                       {"valueMarker2", 33.0},
                       {"valueMarker3", 55.0},
                       {"lowerFrequencyLimit", 10},
                       {"upperFrequencyLimit", 100}});
    }

    void resolutionLabels_data()
    {
        QTest::addColumn<int>("sampleRate");
        QTest::addColumn<int>("windowIndex");
        QTest::addColumn<int>("overlapIndex");
        QTest::addColumn<QString>("temporal");
        QTest::addColumn<QString>("frequency");

        // hop = W - W * p / 100 samples; bin = fs / 2 / W
        QTest::newRow("300 kHz, 1024, 50 %: 512 / 300 kHz") << 300000 << 1 << 5 << "Temporal Resolution: 1.707 ms"
                                                            << "Frequency Resolution: 146.5 Hz";
        QTest::newRow("300 kHz, 2048, 98.4375 %: 32 / 300 kHz") << 300000 << 0 << 0 << "Temporal Resolution: 0.107 ms"
                                                                << "Frequency Resolution: 73.2 Hz";
        QTest::newRow("300 kHz, 64, no overlap") << 300000 << 5 << 6 << "Temporal Resolution: 0.213 ms"
                                                 << "Frequency Resolution: 2343.8 Hz";
        QTest::newRow("500 kHz, 512, 75 %: 128 / 500 kHz") << 500000 << 2 << 4 << "Temporal Resolution: 0.256 ms"
                                                           << "Frequency Resolution: 488.3 Hz";
        QTest::newRow("no recording: empty") << 0 << 1 << 5 << QString() << QString();
    }
    void resolutionLabels()
    {
        QFETCH(int, sampleRate);
        QFETCH(int, windowIndex);
        QFETCH(int, overlapIndex);
        QFETCH(QString, temporal);
        QFETCH(QString, frequency);

        // The combos refresh the labels at once, before any Apply ...
        SpectrogramSettingsDialog dialog(nullptr, sampleRate);
        dialog.findChild<QComboBox *>("comboBox_windowSize")->setCurrentIndex(windowIndex);
        dialog.findChild<QComboBox *>("comboBox_overlap")->setCurrentIndex(overlapIndex);
        auto *temporalLabel = dialog.findChild<QLabel *>("label_tempRes");
        auto *frequencyLabel = dialog.findChild<QLabel *>("label_freqRes");
        QCOMPARE(temporalLabel->text(), temporal);
        QCOMPARE(frequencyLabel->text(), frequency);

        // ... and so does a new sample rate on its own.
        dialog.setSampleRate(0);
        QVERIFY(temporalLabel->text().isEmpty());
        dialog.setSampleRate(sampleRate);
        QCOMPARE(temporalLabel->text(), temporal);
        QCOMPARE(frequencyLabel->text(), frequency);
    }

    void playbackGroup_followsTheOutputDevice_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("no device") << QString() << "No audio output device connected" << false;
        QTest::newRow("named device") << "USB Speakers"
                                      << "USB Speakers" << true;
    }
    void playbackGroup_followsTheOutputDevice()
    {
        QFETCH(QString, device);
        QFETCH(QString, label);
        QFETCH(bool, enabled);

        // Built with the other answer: the refresh button must pick up the change.
        AudioDevice::setDefaultOutputDeviceNameOverride(enabled ? QString() : kDevice);
        SpectrogramSettingsDialog dialog(nullptr, 300000);
        QCOMPARE(dialog.findChild<QGroupBox *>("groupBox_3")->isEnabled(), !enabled);

        AudioDevice::setDefaultOutputDeviceNameOverride(device);
        QCOMPARE(AudioDevice::outputAvailable(), enabled);
        dialog.findChild<QPushButton *>("pushButton_refreshAudioDevice")->click();
        AudioDevice::setDefaultOutputDeviceNameOverride(kDevice);

        QCOMPARE(dialog.findChild<QLabel *>("label_7")->text(), label);
        QCOMPARE(dialog.findChild<QGroupBox *>("groupBox_3")->isEnabled(), enabled);
    }

    void audioMode_showsItsControlsAndHelp_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("visible");
        QTest::addColumn<QString>("helpStart");
        QTest::newRow("Undersampled") << 1
                                      << QStringList{"label_undersampling", "comboBox_undersampling",
                                                     "label_Description"}
                                      << "\nUndersampling an audio signal";
        QTest::newRow("Pitched") << 2 << QStringList{"label_playbackRate", "comboBox_playbackrate", "label_Description"}
                                 << "\nPitching an audio signal";
        QTest::newRow("Mixed") << 3 << QStringList{"label_mixerFrequency", "spinBox_mixer", "label_Description"}
                               << "\nA frequency mixer";
        QTest::newRow("Original, as built") << 0 << QStringList{} << QString();
    }
    void audioMode_showsItsControlsAndHelp()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, visible);
        QFETCH(QString, helpStart);

        SpectrogramSettingsDialog dialog(nullptr, 300000);
        dialog.findChild<QComboBox *>("comboBox_audioMode")->setCurrentIndex(mode);
        for (const char *name :
             {"label_undersampling", "comboBox_undersampling", "label_playbackRate", "comboBox_playbackrate",
              "label_mixerFrequency", "spinBox_mixer", "label_Description"}) {
            const bool expectVisible = visible.contains(QLatin1String(name));
            QCOMPARE(qMakePair(QString::fromLatin1(name), !dialog.findChild<QWidget *>(name)->isHidden()),
                     qMakePair(QString::fromLatin1(name), expectVisible));
        }
        if (!helpStart.isEmpty())
            QVERIFY(dialog.findChild<QLabel *>("label_Description")->text().startsWith(helpStart));
    }

    void colorBar_followsColourMapAndLevels_data()
    {
        QTest::addColumn<int>("colormap");
        QTest::newRow("Black-Green") << 0;
        QTest::newRow("Black-White") << 1;
        QTest::newRow("Jet") << 2;
        QTest::newRow("Extended Jet") << 3;
    }
    void colorBar_followsColourMapAndLevels()
    {
        QFETCH(int, colormap);
        writeStore({{"colormap", colormap}, {"lowerScaleLimit", -90}, {"upperScaleLimit", -30}});
        SpectrogramSettingsDialog dialog(nullptr, 300000);
        auto *plot = dialog.findChild<QwtPlot *>();
        QVERIFY(plot);
        const QwtScaleWidget *bar = plot->axisWidget(QwtPlot::xBottom);
        QVERIFY(bar->isColorBarEnabled());
        QCOMPARE(bar->colorBarInterval(), QwtInterval(-90, -30));
        // The scale under the bar reads in dBFS over the same range.
        QCOMPARE(plot->axisScaleDiv(QwtPlot::xBottom).interval(), QwtInterval(-90, -30));
        QCOMPARE(plot->axisTitle(QwtPlot::xBottom).text(), QStringLiteral("Amplitude in dBFS"));
        QVERIFY(!plot->axisEnabled(QwtPlot::yLeft));
        const QwtColorMap *map = bar->colorMap();
        QVERIFY(map);
        const QwtInterval range(-90, -30);
        switch (colormap) {
        case 0:
            QCOMPARE(QColor(map->rgb(range, -90)), QColor(0, 0, 0));
            QCOMPARE(QColor(map->rgb(range, -30)), QColor(122, 184, 0));
            break;
        case 1:
            QCOMPARE(QColor(map->rgb(range, -90)), QColor(255, 255, 255));
            QCOMPARE(QColor(map->rgb(range, -30)), QColor(0, 0, 0));
            break;
        case 2:
            QVERIFY(dynamic_cast<const ColorMapJet *>(map));
            break;
        case 3:
            QVERIFY(dynamic_cast<const ColorMapExJet *>(map));
            break;
        }

        dialog.findChild<QSpinBox *>("spinBox_upper")->setValue(-10);
        QCOMPARE(bar->colorBarInterval(), QwtInterval(-90, -10));
        QCOMPARE(plot->axisScaleDiv(QwtPlot::xBottom).interval(), QwtInterval(-90, -10));
        dialog.findChild<QComboBox *>("comboBox_colormap")->setCurrentIndex((colormap + 1) % 4);
        QVERIFY(bar->colorMap() != nullptr);
        QCOMPARE(dynamic_cast<const ColorMapExJet *>(bar->colorMap()) != nullptr, (colormap + 1) % 4 == 3);
    }

private:
    QLocale previousLocale;
};

QUILLON_TEST(TestSettingsDialog)
#include "tst_settingsdialog.moc"
