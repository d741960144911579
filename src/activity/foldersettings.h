#pragma once

#include "activity/windfileformat.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>

#include <limits>

/**
 * The activity-plot settings of one folder of recordings, kept beside them in
 * "QuillonSettings.ini" (INI format) so that they travel with the data.
 *
 * Every key is named once below, with the value its reader takes when the key
 * (or the whole file) is missing. Each access reads the file afresh, with
 * nothing but the file itself, and nothing is cached, so the dialog's slots
 * and the charts always see what the last writer left. A file that cannot be
 * read yields the defaults and is never written over; a failed write is lost
 * without a message, and leaves the file as it was.
 *
 * The file travels with the recordings and may be written by hand, so it is
 * read as one from anywhere: a value Qt's decoder must not see
 * (common/inidocument.h) is never handed to it, and a value that does not read
 * as its key's (a number cut short, a date in no form, a zone no one knows)
 * reads as its default. Each line ends its value: a stray quote or a trailing
 * backslash does not hide the lines after it, as it would from Qt's reader.
 * A text written plainly with a comma in it (decimalSeparator=,) reads as it
 * stands, where Qt's reader would make a list of it.
 *
 * A write changes only the lines of the settings it stores, and adds a line
 * for a key the file lacks: every other line, comments and blank lines, the
 * byte order mark and the order of the lines stay as a person wrote them. A
 * file in Qt's own form is written as Qt writes it.
 */

/** The form a text of the file must have to be read. */
enum class FolderValueForm {
    Any,
    Date, // FolderSettings::dateFormat
    Time, // FolderSettings::timeFormat
    Zone, // an IANA zone id Qt knows; where there is none, the machine's zone is the default
};

template <typename T>
struct FolderSetting {
    const char *group;
    const char *key;
    T fallback;
    // What a stored value must be to be read: for numbers, a number within
    // the range of the setting's control (the box would show another, and
    // store it at Close); for a truth value "true" or "false" (Qt would read
    // "no" as true); for texts, `form`.
    FolderValueForm form = FolderValueForm::Any;
    double lowest = -std::numeric_limits<double>::infinity();
    double highest = std::numeric_limits<double>::infinity();
    // The decimals its box shows: a stored value counts as unchanged while
    // the box shows it, so a GPS's 49.787654 stays as written.
    int decimals = -1;

    /** The same key as another reader reads it, with its own default. */
    template <typename U>
    FolderSetting<U> readAs(U otherFallback) const
    {
        return FolderSetting<U>{group, key, otherFallback, form, lowest, highest, decimals};
    }
};

namespace FolderSettings {

constexpr char fileName[] = "QuillonSettings.ini";

// folder + "/QuillonSettings.ini"
QString filePath(const QString &folder);

/** A key and what a value must be to be read under it, whatever its type. */
struct Key {
    const char *group;
    const char *key;
    int type; // the QMetaType it reads as
    FolderValueForm form;
    double lowest;
    double highest;
    int decimals;
};

/** The items of the box that shows an index setting, in its order: what each number stands for. */
struct BoxItems {
    Key key;
    QStringList items;
};

// Each slip in the file, in the order of the file, as the dialog tells the
// user: its key, its text as written, and what is wrong with it or the form
// its key takes ("BeginDate = 1.5.21: a date as dd.MM.yy, ..."). A slip is a
// value that is not read (it reads as its key's default); a key of the
// settings written in another case, misspelt, in another section or before
// any section (the setting reads as its default); a key that stands twice in
// its section (named with the line that counts); a text whose ";" outside
// quotes makes the rest of its line a comment. `boxItems` name the items of
// the index settings' boxes.
QStringList unreadValues(const QString &folder, const QVector<BoxItems> &boxItems = {});

template <typename T>
Key keyOf(const FolderSetting<T> &setting)
{
    return {setting.group,  setting.key,     qMetaTypeId<T>(), setting.form,
            setting.lowest, setting.highest, setting.decimals};
}

// The value stored under `key` as it reads, or `fallback` where there is none that reads.
QVariant value(const QString &folder, const Key &key, const QVariant &fallback);
// Writes nothing where the file holds `value` already (as the key's control
// shows it), or holds a value that is not read there and `value` is what it
// reads as (`fallback`, the machine's zone for a zone).
void setValue(const QString &folder, const Key &key, const QVariant &value, const QVariant &fallback);

// Stored text forms of the monitoring dates (only day and month carry meaning)
// and of the daily start and stop times.
constexpr char dateFormat[] = "dd.MM.yy";
constexpr char timeFormat[] = "hh:mm";
QString dateText(const QDate &date);
QString timeText(const QTime &time);

// --- Geocoordinates: degrees north and east ----------------------------------
constexpr FolderSetting<double> latitude{"Geocoordinates", "latitude", 51, FolderValueForm::Any, -70, 70, 4};
constexpr FolderSetting<double> longitude{"Geocoordinates", "longitude", 9, FolderValueForm::Any, -180, 180, 4};

// --- Time ----------------------------------------------------------------------
constexpr FolderSetting<bool> daylightSaving{"Time", "daylightSaving", true};
constexpr FolderSetting<bool> centerNight{"Time", "centerNight", true};
// Item indices of their boxes: civil, nautical, astronomical, Tavron twilight;
// clock times or times relative to the sun's; the days chart's eight y choices.
constexpr FolderSetting<int> twilight{"Time", "Twilight", 0, FolderValueForm::Any, 0, 3};
constexpr FolderSetting<int> periodType{"Time", "PeriodType", 0, FolderValueForm::Any, 0, 1};
constexpr FolderSetting<int> intervalDays{"Time", "intervalDays", 0, FolderValueForm::Any, 0, 7};
// IANA id as a byte array. Its default, the machine's zone, is worked out when
// read: readFolderSetting(folder, timeZone, TimeZoneChoiceList::systemZoneId()).
inline const FolderSetting<QByteArray> timeZone{"Time", "TimeZone", QByteArray(), FolderValueForm::Zone};
inline const FolderSetting<QString> beginDate{"Time", "BeginDate", QStringLiteral("01.01.15"), FolderValueForm::Date};
inline const FolderSetting<QString> endDate{"Time", "EndDate", QStringLiteral("31.12.15"), FolderValueForm::Date};
inline const FolderSetting<QString> startRecording{"Time", "StartRecording", QStringLiteral("00:00"),
                                                   FolderValueForm::Time};
inline const FolderSetting<QString> stopRecording{"Time", "StopRecording", QStringLiteral("00:00"),
                                                  FolderValueForm::Time};
// Minutes after sunset and after sunrise.
constexpr FolderSetting<int> startMin{"Time", "StartMin", 0, FolderValueForm::Any, -360, 360};
constexpr FolderSetting<int> stopMin{"Time", "StopMin", 0, FolderValueForm::Any, -360, 360};
inline const FolderSetting<QString> invalidTimes{"Time", "invalidTimes", QString()}; // InvalidTimesText
// Logarithmic y axis of each activity chart.
constexpr FolderSetting<bool> logDays{"Time", "logDays", false};
constexpr FolderSetting<bool> logMonth{"Time", "logMonth", false};
constexpr FolderSetting<bool> logNight{"Time", "logNight", false};
constexpr FolderSetting<bool> logTemp{"Time", "logTemp", false};
constexpr FolderSetting<bool> logPrec{"Time", "logPrec", false};
constexpr FolderSetting<bool> logWind{"Time", "logWind", false};

// --- Files: empty for the charts; a file chooser starts in the folder itself --
inline const FolderSetting<QString> temperaturePrecipitationFile{"Files", "temperaturePrecipitationFile", QString()};
inline const FolderSetting<QString> windSpeedFile{"Files", "windSpeedFile", QString()};

// --- WindDataSettings: the wind-speed file's format, written together ---------
inline const FolderSetting<QString> windDateFormat{"WindDataSettings", "dateFormat", QStringLiteral("dd.mm.yyyy")};
inline const FolderSetting<QString> windTimeFormat{"WindDataSettings", "timeFormat", QStringLiteral("hh:mm:ss")};
inline const FolderSetting<QString> windDecimalSeparator{"WindDataSettings", "decimalSeparator", QStringLiteral(",")};
// The format dialog falls back on "Space", the wind chart on "Semicolon".
inline const FolderSetting<QString> windSeparator1{"WindDataSettings", "separator1", QStringLiteral("Space")};
inline const FolderSetting<QString> windSeparator1InChart = windSeparator1.readAs(QStringLiteral("Semicolon"));
inline const FolderSetting<QString> windSeparator2{"WindDataSettings", "separator2", QStringLiteral("Semicolon")};
inline const FolderSetting<QString> windDateTimeDefinition{"WindDataSettings", "dateTimeDefinition",
                                                           QStringLiteral("Beginning")};
constexpr FolderSetting<bool> windConsiderDaylightSaving{"WindDataSettings", "considerDaylightSaving", true};
// IANA id as a byte array; like TimeZone, the machine's zone when missing.
inline const FolderSetting<QByteArray> windDataTimeZone{"WindDataSettings", "WindDataTimeZone", QByteArray(),
                                                        FolderValueForm::Zone};

} // namespace FolderSettings

/** The stored value as T, or the setting's default where there is none that reads. */
template <typename T>
T readFolderSetting(const QString &folder, const FolderSetting<T> &setting)
{
    return FolderSettings::value(folder, FolderSettings::keyOf(setting), QVariant::fromValue(setting.fallback))
        .template value<T>();
}

/** The stored value as T, or fallback (a default the reader works out itself) where there is none that reads. */
template <typename T>
T readFolderSetting(const QString &folder, const FolderSetting<T> &setting, const T &fallback)
{
    return FolderSettings::value(folder, FolderSettings::keyOf(setting), QVariant::fromValue(fallback))
        .template value<T>();
}

template <typename T>
void writeFolderSetting(const QString &folder, const FolderSetting<T> &setting, const QVariant &value)
{
    FolderSettings::setValue(folder, FolderSettings::keyOf(setting), value, QVariant::fromValue(setting.fallback));
}

/**
 * The coordinates and time settings that the activity dialog loads into its
 * controls when it opens; a value that is not read comes back as its default.
 */
struct FolderTimeSettings {
    double latitude = FolderSettings::latitude.fallback;
    double longitude = FolderSettings::longitude.fallback;
    bool daylightSaving = FolderSettings::daylightSaving.fallback;
    bool centerNight = FolderSettings::centerNight.fallback;
    int twilight = FolderSettings::twilight.fallback;
    int periodType = FolderSettings::periodType.fallback;
    int intervalDays = FolderSettings::intervalDays.fallback;
    QByteArray timeZone;
    QDate beginDate;
    QDate endDate;
    QTime startRecording;
    QTime stopRecording;
    int startMin = FolderSettings::startMin.fallback;
    int stopMin = FolderSettings::stopMin.fallback;
    QString invalidTimes;
};

FolderTimeSettings readFolderTimeSettings(const QString &folder);

// Writes every key of the struct that has a control where the file does not
// hold that value already (a missing key is written); never the invalid
// periods, which only their own dialog changes. With `before` (the controls
// as the dialog's loading left them), only the keys whose value differs from
// it, as the dialog's Close stores what its user changed: a line an editor
// saved meanwhile stays.
void writeFolderTimeSettings(const QString &folder, const FolderTimeSettings &settings,
                             const FolderTimeSettings *before = nullptr);

/** The group "WindDataSettings": how the folder's wind-speed file is laid out and which clock wrote it. */
struct WindDataSettings {
    WindFileFormat format; // an empty dateTimeDefinition is not written
    bool considerDaylightSaving = FolderSettings::windConsiderDaylightSaving.fallback;
    QByteArray timeZone; // IANA id
};

// Writes the whole group at once, as the format dialog's Ok does.
void writeWindDataSettings(const QString &folder, const WindDataSettings &settings);
