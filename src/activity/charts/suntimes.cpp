#include "activity/charts/suntimes.h"

#include <cmath>

namespace {

constexpr double toRadians = 0.017453292519943295;
constexpr double toDegrees = 57.29577951308232;

double sinDeg(double degrees)
{
    return std::sin(degrees * toRadians);
}

double altitudeOf(Twilight twilight)
{
    switch (twilight) {
    case Twilight::Civil:
        return -6.0;
    case Twilight::Nautical:
        return -12.0;
    case Twilight::Astronomical:
        return -18.0;
    case Twilight::None:
        break;
    }
    return -0.833;
}

} // namespace

Twilight twilightOfChoice(int index)
{
    switch (index) {
    case 0:
        return Twilight::Civil;
    case 1:
        return Twilight::Nautical;
    case 2:
        return Twilight::Astronomical;
    default:
        return Twilight::None;
    }
}

float sunEventHours(SunEvent event, int year, int month, int day, float latitude, float longitude, float zoneOffset,
                    int daylightSavingHours, Twilight twilight)
{
    // Day of the year (exact for 1901..2099, which covers every two-digit recording year).
    const int n1 = 275 * month / 9;
    const int n2 = (month + 9) / 12;
    const int n3 = 1 + (year - 4 * (year / 4) + 2) / 3;
    const float n = float(n1 - n2 * n3 + day - 30);

    const float lngHour = float(double(longitude) / 15.0);
    // Both events take the declination at 6:00 local mean time, so that they
    // answer "no sunrise" and "no sunset" together.
    const float t = float(double(n) + (6.0 - double(lngHour)) / 24.0);
    const float meanAnomaly = float(0.9856 * double(t) - 3.289);
    const float trueLongitude = float(std::fmod(double(meanAnomaly) + 1.916 * sinDeg(meanAnomaly)
                                                    + 0.020 * sinDeg(2.0 * double(meanAnomaly)) + 282.634,
                                                360.0));

    float rightAscension =
        float(std::fmod(std::atan(0.91764 * std::tan(double(trueLongitude) * toRadians)) * toDegrees, 360.0));
    // atan leaves -90..90: move the right ascension into the true longitude's quadrant.
    const float longitudeQuadrant = float(std::floor(double(trueLongitude) / 90.0) * 90.0);
    const float ascensionQuadrant = float(std::floor(double(rightAscension) / 90.0) * 90.0);
    rightAscension = float(double(rightAscension) + (double(longitudeQuadrant) - double(ascensionQuadrant)));

    const float sinDec = float(0.39782 * sinDeg(trueLongitude));
    const float cosDec = std::cos(std::asin(sinDec));

    const float cosH = float((sinDeg(altitudeOf(twilight)) - double(sinDec) * sinDeg(latitude))
                             / (double(cosDec) * std::cos(double(latitude) * toRadians)));
    if (cosH > 1.0f || cosH < -1.0f)
        return -1.0f;

    const double hourAngle = double(std::acos(cosH)) * toDegrees;
    const float h = float(event == SunEvent::Rise ? 360.0 - hourAngle : hourAngle);
    const float localMeanTime = float(double(h) / 15.0 + double(rightAscension) / 15.0 - 0.06571 * double(t) - 6.622);
    // fmod keeps the sign: a negative UT stays negative and the caller wraps it.
    const float ut = float(std::fmod(double(localMeanTime) - double(lngHour), 24.0));
    return float(double(ut) + double(zoneOffset) + double(daylightSavingHours));
}

float sunHoursOfDay(float hours)
{
    return float(std::fmod(double(hours + 48.0f), 24.0));
}

qint64 msOfWholeSeconds(float hours)
{
    return qint64(hours * 3600.0f) * 1000;
}
