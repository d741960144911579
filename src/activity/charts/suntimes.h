#pragma once

#include <QtGlobal>

/**
 * Sunrise, sunset and the twilights at a place and date, by the almanac
 * algorithm for computers (the one published by the US Naval Observatory's
 * Nautical Almanac Office in 1990): a few trigonometric steps per call, good
 * to a minute or two between the polar circles.
 *
 * Results are hours of local time in single precision, "local" meaning UTC
 * plus the zone offset the caller passes. They are NOT brought into 0..24: a
 * sunset east of the zone's meridian in summer comes back negative (-2.3 for
 * 21:42), and a caller normalises with sunHoursOfDay after adding its own
 * minutes. Exactly -1 means the sun does not reach the event's altitude that
 * day (polar day or night); sunrise and sunset return -1 together, since both
 * take the sun's declination at the same instant (6:00 local mean time).
 *
 * The arithmetic follows a fixed mix of single and double precision, so that
 * every chart, and every run, sees the same minute at the same place.
 */

/** Which event: the sun's centre at this altitude, rising or setting. */
enum class Twilight {
    None,         // sunrise and sunset proper: -0.833 degrees (refraction and the sun's radius)
    Civil,        // -6 degrees
    Nautical,     // -12 degrees
    Astronomical, // -18 degrees
};

/**
 * The twilight choices of the activity dialog's twilight box, by index (0 civil .. 3 "Tavron"). "Tavron twilight
 * (15%)" and any other index are None: the chart forms that twilight from the plain sunrise and sunset.
 */
Twilight twilightOfChoice(int index);

enum class SunEvent { Rise, Set };

/**
 * Local hour of the event on year-month-day (month 1..12) at latitude and
 * longitude (degrees north and east), for a clock zoneOffset hours ahead of
 * UTC (fractions allowed) plus daylightSavingHours; -1 when the sun does not
 * reach the event's altitude that day.
 */
float sunEventHours(SunEvent event, int year, int month, int day, float latitude, float longitude, float zoneOffset,
                    int daylightSavingHours, Twilight twilight);

/**
 * A sun-time result (plus minutes) as an hour of the day, 0 <= h < 24:
 * fmod(h + 48, 24), the sum in single precision and fmod in double, as every
 * chart has always normalised them.
 */
float sunHoursOfDay(float hours);

/** An hour of the day as the milliseconds of its whole seconds, trunc(h x 3600) s: a sun time on the recorder's schedule. */
qint64 msOfWholeSeconds(float hours);
