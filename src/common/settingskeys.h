#pragma once

#include <QByteArray>
#include <QDir>
#include <QRect>
#include <QSettings>
#include <QString>
#include <QVariant>

#include <array>
#include <limits>
#include <type_traits>

// Every key of the program's settings store, each beside the value its reader
// takes when the key is missing. The store is the one truth: every read and
// every write builds a fresh QSettings for that one access (the window, the
// settings dialog and the audio builder write the same keys, and nothing may
// hold a stale copy), and nothing is cached here. Each QSettings writes the
// whole store when it goes, so values stored together (the settings dialog's
// Apply) share one.
//
// Readers name a key through these constants, so a mistyped key does not
// compile. Where two readers give one key different defaults (or read it as
// different types), each reading has its own constant under the same key; the
// one without a suffix is the settings dialog's.

/** A key of the settings store and the value its reader takes when the key is missing. */
template <typename T>
struct Setting {
    const char *key;
    T fallback;
    // For numbers: the range the setting's control takes. A stored value
    // outside it (a hand-edited store) would give the control a value it
    // cannot show, or the player a volume the slider never offers.
    double lowest = -std::numeric_limits<double>::infinity();
    double highest = std::numeric_limits<double>::infinity();

    /** The same key as another reader reads it: its own type and default, the same range. */
    template <typename U>
    constexpr Setting<U> readAs(U otherFallback) const
    {
        return Setting<U>{key, otherFallback, lowest, highest};
    }
};

/**
 * `stored` as T, or fallback when there is none, when it does not convert to
 * T ("loud" for a volume would otherwise read as 0, and be kept so for good),
 * or when it lies outside the setting's range (a NaN too).
 */
template <typename T>
T storedSettingOr(QVariant stored, const Setting<T> &setting, const T &fallback)
{
    if (!stored.isValid() || !stored.convert(qMetaTypeId<T>()))
        return fallback;
    const T value = stored.value<T>();
    if constexpr (std::is_arithmetic_v<T>) {
        const double number = double(value);
        if (!(number >= setting.lowest && number <= setting.highest))
            return fallback;
    }
    return value;
}

/** The stored value as T, or fallback (a default the reader works out itself) when the key is missing or unusable. */
template <typename T>
T readSetting(const Setting<T> &setting, const T &fallback)
{
    return storedSettingOr(QSettings().value(QLatin1String(setting.key)), setting, fallback);
}

/** The stored value as T, or the setting's default when the key is missing or unusable. */
template <typename T>
T readSetting(const Setting<T> &setting)
{
    return readSetting(setting, setting.fallback);
}

/** Stores value under the setting's key; the value keeps its own type (a check state is stored as an int). */
template <typename T>
void writeSetting(const Setting<T> &setting, const QVariant &value)
{
    QSettings().setValue(QLatin1String(setting.key), value);
}

/**
 * Names the organisation and the program. The two names select the settings
 * store (and the program's name is the window title), so this runs before the
 * first access.
 */
void setApplicationIdentity();

namespace SettingKeys {

// --- Spectrogram calculation: combo indices, stored by Apply ----------------
constexpr Setting<int> windowSize{"windowSize", 1}; // 2048, 1024, 512, 256, 128, 64 points
constexpr Setting<int> overlap{"overlap", 5};       // 98.4375, 96.875, 93.75, 87.5, 75, 50, 0 %
// Stored as the check box's state (0 or 2), read as a bool.
constexpr Setting<bool> autoReduceOverlap{"autoReduceOverlap", true};
constexpr Setting<int> frameSize{"frameSize", 0}; // 100, 75, 50, 25, 12.5 %
constexpr Setting<int> window{"window", 1};       // "Rectangular", "Hamming", ... "Blackman-Harris"

// --- Spectrogram view ---------------------------------------------------------
constexpr Setting<int> colormap{"colormap", 0};                   // "Black-Green", "Black-White", "Jet", "Extended Jet"
constexpr Setting<int> smoothing{"smoothing", 0};                 // 0 none, 1 bilinear
constexpr Setting<int> markerInteractive{"markerInteractive", 0}; // 0 locked, 1 the markers may be dragged

// Frequency markers 1 to 3: kHz and whether each is shown.
constexpr Setting<double> valueMarker1{"valueMarker1", 16.0};
constexpr Setting<double> valueMarker2{"valueMarker2", 33.0};
constexpr Setting<double> valueMarker3{"valueMarker3", 55.0};
constexpr std::array<Setting<double>, 3> valueMarkers{{valueMarker1, valueMarker2, valueMarker3}};
constexpr Setting<bool> marker1{"marker1", false};
constexpr Setting<bool> marker2{"marker2", false};
constexpr Setting<bool> marker3{"marker3", false};
constexpr std::array<Setting<bool>, 3> markersShown{{marker1, marker2, marker3}};

// --- Time axis -------------------------------------------------------------------
constexpr Setting<int> fixedXScale{"fixedXScale", 0};                     // see TimeAxisMode
constexpr Setting<float> fixedDuration{"fixedDuration", 1.0f, 0.1, 60.0}; // s shown in fixed-duration mode
// No range: a ratio of 0 or less has a meaning of its own to its readers (no span: the view stays).
constexpr Setting<int> fixedAspectRatio{"fixedAspectRatio", 150}; // kHz drawn as tall as one second is wide
// The spectrogram's time axis reads the ratio as a float, with 10 when missing.
constexpr Setting<float> timeAxisAspectRatio = fixedAspectRatio.readAs(10.0f);

// --- Frequency axis: kHz --------------------------------------------------------
constexpr Setting<bool> fixedYScale{"fixedYScale", false};
constexpr Setting<int> lowerFrequencyLimit{"lowerFrequencyLimit", 0};
constexpr Setting<int> upperFrequencyLimit{"upperFrequencyLimit", 150};

// --- Level range: dBFS ----------------------------------------------------------
constexpr Setting<bool> fixedZScale{"fixedZScale", false};
constexpr Setting<int> lowerScaleLimit{"lowerScaleLimit", -100};
constexpr Setting<int> upperScaleLimit{"upperScaleLimit", -33};
// A newly drawn spectrogram reads the fixed range as doubles, its upper end -30 when missing.
constexpr Setting<double> drawnLowerScaleLimit = lowerScaleLimit.readAs(-100.0);
constexpr Setting<double> drawnUpperScaleLimit = upperScaleLimit.readAs(-30.0);
// A change of the limits in the dialog reads them as doubles too, its upper end -33 when missing.
constexpr Setting<double> changedLowerScaleLimit = lowerScaleLimit.readAs(-100.0);
constexpr Setting<double> changedUpperScaleLimit = upperScaleLimit.readAs(-33.0);

// --- Axis plots: each pair is always written equal ------------------------------
// See AxisPlotMode: 0 envelope and power spectral density, 1 levels at the cursor, 2 maximum levels.
constexpr Setting<int> timePlotMode{"timePlotMode", 0};
constexpr Setting<int> frequencyPlotMode{"frequencyPlotMode", 0};
// The axis plots follow the zoomed stretch.
constexpr Setting<bool> timePlotZoom{"timePlotZoom", false};
constexpr Setting<bool> frequencyPlotZoom{"frequencyPlotZoom", false};

// --- Playback ---------------------------------------------------------------------
constexpr Setting<bool> autoplay{"autoplay", false};
constexpr Setting<bool> loop{"loop", false};
constexpr Setting<int> audioMode{"audioMode", 0};                   // "Original", "Undersampled", "Pitched", "Mixed"
constexpr Setting<int> undersampling{"undersampling", 0};           // factor 1, then 2 to 30 in steps of 2
constexpr Setting<int> playbackRate{"playbackRate", 0};             // 100, 50, 25, 20, 10, 5, 1 %
constexpr Setting<int> mixerFrequency{"mixerFrequency", 20, 0, 99}; // kHz, as far as its spin box goes
// The buffer builder reads the mixer frequency as a float.
constexpr Setting<float> mixerFrequencyKHz = mixerFrequency.readAs(20.0f);
// The player controls' choices, applied at start.
constexpr Setting<bool> muted{"muted", false};
constexpr Setting<int> volume{"volume", 99, 0, 100}; // on the slider's logarithmic scale

// --- The window's own view choices ----------------------------------------------
constexpr Setting<bool> grid{"grid", false};
constexpr Setting<bool> categorization{"categorization", false};
constexpr Setting<int> theme{"theme", 0}; // see ThemeCode

// --- Window layout between runs: stored only once a recording was shown --------
// The geometry's default is worked out from the screen when it is read.
constexpr Setting<QRect> geometry{"geometry", QRect()};
constexpr Setting<bool> maximized{"maximized", false};
inline const Setting<QByteArray> splitterTimePlotSizes{"splitterTimePlotSizes", QByteArray()};
inline const Setting<QByteArray> splitterFrequencyPlotSizes{"splitterFrequencyPlotSizes", QByteArray()};
inline const Setting<QByteArray> splitterMainSizes{"splitterMainSizes", QByteArray()};

// --- Where the file dialogs start -----------------------------------------------
// Until the user chose a place, the dialogs start in the home folder, the
// place every user of this platform has (a drive "C:/" there is none).
inline const Setting<QString> filePath{"filePath", QDir::homePath()};            // the last recording opened
inline const Setting<QString> folderPath{"folderPath", QStringLiteral("/home")}; // the last folder opened
// The last folder of each evaluation: manual, Tavron, review of the recorder's analysis.
inline const Setting<QString> evaluationFolderPath{"evaluationFolderPath", QStringLiteral("/home")};
inline const Setting<QString> tavronFolderPath{"tavronFolderPath", QStringLiteral("/home")};
inline const Setting<QString> tavronReviewPath{"tavronReviewPath", QStringLiteral("/home")};
inline const Setting<QString> exportCSVPath{"exportCSVPath", QDir::homePath()};       // the last CSV export
inline const Setting<QString> exportTavronPath{"exportTavronPath", QDir::homePath()}; // the last Tavron export
inline const Setting<QString> copyFilesPath{"copyFilesPath", QDir::homePath()};       // the last folder copied into

// --- Activity plots ----------------------------------------------------------------
// One colour per class, by the class's place in the class-colour dialog's list;
// the list may be shorter than the classes (the charts then take built-in colours).
inline const Setting<QVariantList> classColors{"classColors", QVariantList()};
// The last plot-data file of each activity chart; the export's file dialog starts there
// (at first with the chart's own file name in the home folder).
inline const Setting<QString> exportPlotDataDays{"exportPlotDataDays",
                                                 QDir::homePath() + QStringLiteral("/ActivityOverDaysData.csv")};
inline const Setting<QString> exportPlotDataMonth{"exportPlotDataMonth",
                                                  QDir::homePath() + QStringLiteral("/ActivityOverMonthData.csv")};
inline const Setting<QString> exportPlotDataNightTime{
    "exportPlotDataNightTime", QDir::homePath() + QStringLiteral("/ActivityOverNightTimeData.csv")};
inline const Setting<QString> exportPlotDataTemperature{
    "exportPlotDataTemperature", QDir::homePath() + QStringLiteral("/ActivityOverTemperatureData.csv")};
inline const Setting<QString> exportPlotDataPrecipitation{
    "exportPlotDataPrecipitation", QDir::homePath() + QStringLiteral("/ActivityOverPrecipitationData.csv")};
inline const Setting<QString> exportPlotDataWindSpeed{
    "exportPlotDataWindSpeed", QDir::homePath() + QStringLiteral("/ActivityOverWindSpeedData.csv")};

} // namespace SettingKeys
