#include "activity/charts/timeofdayseries.h"

#include "activity/charts/suntimes.h"
#include "activity/charts/validperiods.h"
#include "common/recorderclock.h"

#include <QDateTime>
#include <cmath>

namespace {

constexpr qint64 msPerHour = 3600000;
constexpr qint64 msPerDay = RecorderClock::msPerDay;
constexpr qint64 noonMs = 12 * msPerHour;
constexpr double halfDay = 43200000.0;
constexpr double oneDay = 86400000.0;
// A sun line's break stands 8 h 40 min before the day's point: between two days' points, never on one.
constexpr double gapBefore = 31200000.0;
constexpr double gapY = -1.0; // y of a sun curve's break
constexpr float none = -1.0f; // no such event on the day

// Sun and twilight times as milliseconds, truncated (recording periods take whole seconds: msOfWholeSeconds).
qint64 msOfHours(float hours)
{
    return qint64(hours * 3600.0f * 1000.0f);
}

// A time of day read on a clock: hours past midnight wrap into the day.
qint64 wrappedMs(qint64 ms)
{
    ms %= msPerDay;
    return ms < 0 ? ms + msPerDay : ms;
}

// The hours whose clock offset the sun times take. With daylight saving: noon for sunrise and dawn, after the clocks
// changed in the night, and 23:00 for the sunset points, late in the evening they belong to and still on their date;
// the centred layout's dusk takes 23:00 too, the plain layout's dusk and the year's mean hours noon. Where a zone
// changes its clocks at night both hours read one offset; they part only on a day a zone changes between noon and
// 23:00 (Greenland's zones have, at 22:00), and there the sunset stands on the evening's new clock. Without daylight
// saving every sun time takes the standard offset at 00:00.
constexpr int sunsetOffsetHour = 23;
constexpr SunOffsetHours noonOffsets{12, 12, 0};
constexpr SunOffsetHours sunPointOffsets{12, sunsetOffsetHour, 0};

// Sun times of the shown year on the chosen zone's clock.
class SunOfDays
{
public:
    SunOfDays(const ActivityForm &form, int year)
        : form(form)
        , clock(form.zone, form.daylightSaving, RecorderClock::OnTransitions, year)
    {
    }

    DaySun times(const QDate &date, SunOffsetHours at, Twilight twilight = Twilight::None) const
    {
        return daySunTimes(form, clock, date, at, twilight);
    }

private:
    const ActivityForm &form;
    RecorderClock clock;
};

// ---- Plain layout

// The mean hour of the year's sunrises (sunsets), and whether one lies near midnight.
struct SunMean {
    double mean = 0;
    bool wraps = false;
};

SunMean sunMean(const SunOfDays &sun, SunEvent event, const QDate &first, int days)
{
    SunMean m;
    double sum = 0;
    int count = 0;
    for (int i = 0; i < days; ++i) {
        const DaySun day = sun.times(first.addDays(i), noonOffsets);
        const float h = event == SunEvent::Rise ? day.sunrise : day.sunset;
        if (h == none)
            continue;
        const double v = std::fmod(double(h + 24.0f), 24.0);
        sum += v;
        ++count;
        m.wraps = m.wraps || v < 4.0 || v > 20.0;
    }
    if (count > 0)
        m.mean = sum / count;
    return m;
}

// Sunrise, sunset, start of dawn and end of dusk of one day, as hours of the day or none.
struct DayHours {
    float rise;
    float set;
    float dawn;
    float dusk;
};

// Shifts the hours 9 hours away from midnight (back round the clock where that leaves the day).
DayHours shiftedFromMidnight(DayHours h, double mean)
{
    for (float *v : {&h.rise, &h.set, &h.dawn, &h.dusk}) {
        if (*v == none)
            continue;
        if (mean > 12.0)
            *v = *v - 9.0f > 0.0f ? *v - 9.0f : *v + 15.0f;
        else
            *v = *v + 9.0f < 24.0f ? *v + 9.0f : *v - 15.0f;
    }
    return h;
}

class PlainPass
{
public:
    PlainPass(const ActivityForm &form, int year)
        : form(form)
        , axes(year)
        , sun(form, year)
        , first(year, 1, 1)
        , monitoring(form.monitoringBegin, form.monitoringEnd, year)
    {
    }

    TimeOfDaySeries run()
    {
        const int days = first.daysInYear();
        riseMean = sunMean(sun, SunEvent::Rise, first, days);
        setMean = sunMean(sun, SunEvent::Set, first, days);
        for (int i = 0; i < days; ++i) {
            const QDate d = first.addDays(i);
            const double x = axes.x(d);
            const DaySun day = sun.times(d, sunPointOffsets);
            const float rise = sunPoint(s.sunrise, day.sunrise, previousRise, x);
            const float set = sunPoint(s.sunset, day.sunset, previousSet, x);
            if (monitoring.contains(d))
                recordingPeriod(d, x, rise, set);
            const DayHours h = twilightHours(d, rise, set);
            dawnBand(h, x);
            duskBand(h, x);
        }
        return s;
    }

private:
    double y(float hours) const { return axes.dayLevel(msOfHours(hours)); }

    float sunPoint(QVector<QPointF> &points, float hours, float &previous, double x) const
    {
        if (hours == none) {
            points.append({x, gapY});
            return none;
        }
        hours = sunHoursOfDay(hours);
        if (previous - hours > 1.2f || previous - hours < -1.2f)
            points.append({x - gapBefore, gapY});
        points.append({x, y(hours)});
        previous = hours;
        return hours;
    }

    void recordingPeriod(const QDate &d, double x, float rise, float set)
    {
        const auto dayWide = [x](QVector<QwtIntervalSample> &part, double from, double to) {
            part.append({x - halfDay, from, to});
            part.append({x + halfDay, from, to});
        };
        const double top = axes.midnight, foot = axes.dayStart;
        if (form.absolutePeriod) {
            const double start = axes.dayLevel(form.startTime.msecsSinceStartOfDay());
            const double stop = axes.dayLevel(form.stopTime.msecsSinceStartOfDay());
            if (form.startTime < form.stopTime) {
                dayWide(s.recording, start, stop);
                dayWide(s.recording2, start, stop);
            } else if (form.stopTime < form.startTime) {
                dayWide(s.recording, start, top);
                dayWide(s.recording2, foot, stop);
            } else {
                dayWide(s.recording, foot, top);
                dayWide(s.recording2, foot, top);
            }
            return;
        }
        const DayRecordingParts parts =
            relativeRecordingParts(TimeOfDayLayout::Plain, rise, set, form, d.month(), axes);
        dayWide(s.recording, parts[0].from, parts[0].to);
        dayWide(s.recording3, parts[2].from, parts[2].to);
    }

    DayHours twilightHours(const QDate &d, float rise, float set) const
    {
        if (form.twilightChoice == 3) {
            // 15 % of the night before sunset; dawn has no width.
            return {rise, set, rise, fifteenPercentDusk(rise, set)};
        }
        const DaySun twilight = sun.times(d, noonOffsets, twilightOfChoice(form.twilightChoice));
        float dawn = twilight.sunrise;
        float dusk = twilight.sunset;
        if (dawn != none)
            dawn = sunHoursOfDay(dawn);
        if (dusk != none)
            dusk = sunHoursOfDay(dusk);
        return {rise, set, dawn, dusk};
    }

    void dawnBand(DayHours h, double x)
    {
        if (h.rise == none && h.dawn == none) {
            holdFlat(s.twilight, s.twilight2, x, lastDawn);
            return;
        }
        if (riseMean.wraps)
            h = shiftedFromMidnight(h, riseMean.mean);
        // A missing end: solar noon for the sunrise, solar midnight for the dawn.
        if (h.rise == none)
            h.rise = h.dawn + (h.dusk - h.dawn) / 2.0f + (h.dawn > h.dusk ? 12.0f : 0.0f);
        if (h.dawn == none)
            h.dawn = h.rise - (h.rise - h.set) / 2.0f - (h.rise > h.set ? 0.0f : 12.0f);
        appendBand(s.twilight, s.twilight2, riseMean, x, h.rise, h.dawn, lastDawn);
    }

    void duskBand(DayHours h, double x)
    {
        if (h.set == none && h.dusk == none) {
            holdFlat(s.twilightSet, s.twilightSet2, x, lastDusk);
            return;
        }
        if (setMean.wraps)
            h = shiftedFromMidnight(h, setMean.mean);
        if (h.set == none)
            h.set = h.dusk - (h.dusk - h.dawn) / 2.0f - (h.dawn > h.dusk ? 12.0f : 0.0f);
        if (h.dusk == none)
            h.dusk = h.rise > h.set ? h.rise - (h.rise - h.set) / 2.0f : h.set + 12.0f - (h.set - h.rise) / 2.0f;
        appendBand(s.twilightSet, s.twilightSet2, setMean, x, h.set, h.dusk, lastDusk);
    }

    // A day without the band: it stays closed at its last level.
    static void holdFlat(QVector<QwtIntervalSample> &band, QVector<QwtIntervalSample> &copy, double x, double last)
    {
        if (last == gapY)
            return;
        for (double at : {x - oneDay, x}) {
            band.append({at, last, last});
            copy.append({at, last, last});
        }
    }

    // The day's band from `sun` to `twilight`, unshifted again, and its copy 24 hours away when shifted.
    void appendBand(QVector<QwtIntervalSample> &band, QVector<QwtIntervalSample> &copy, const SunMean &m, double x,
                    float sunHour, float twilightHour, double &last) const
    {
        // A curve the day's band goes to, with the hours that undo the shift from midnight there.
        struct BandCurve {
            QVector<QwtIntervalSample> *curve;
            float unshift;
        };
        QVector<BandCurve> curves{{&band, 0.0f}};
        if (m.wraps && m.mean > 12.0)
            curves = {{&band, 9.0f}, {&copy, -15.0f}};
        else if (m.wraps)
            curves = {{&band, -9.0f}, {&copy, 15.0f}};
        // A band closed on the day before reopens from no width.
        const bool reopen = !band.isEmpty() && band.last().interval.minValue() == band.last().interval.maxValue();
        for (const BandCurve &c : curves) {
            if (reopen)
                c.curve->append({x, y(sunHour + c.unshift), y(sunHour + c.unshift)});
            c.curve->append({x, y(sunHour + c.unshift), y(twilightHour + c.unshift)});
        }
        last = y(sunHour + curves.first().unshift);
    }

    const ActivityForm &form;
    const TimeOfDayAxes axes;
    const SunOfDays sun;
    const QDate first;
    const MonitoringPeriod monitoring;
    SunMean riseMean;
    SunMean setMean;
    float previousRise = 0;
    float previousSet = 0;
    double lastDawn = gapY;
    double lastDusk = gapY;
    TimeOfDaySeries s;
};

// ---- Centred layout

class CentredPass
{
public:
    CentredPass(const ActivityForm &form, int year)
        : form(form)
        , axes(year)
        , sun(form, year)
        , first(year, 1, 1)
        , monitoring(form.monitoringBegin, form.monitoringEnd, year)
        , mid(axes.midnight)
        , lastDawnMorning(mid)
        , lastDawnEvening(mid)
        , lastDuskMorning(mid)
        , lastDuskEvening(mid)
    {
    }

    TimeOfDaySeries run()
    {
        const int days = first.daysInYear();
        for (int i = 0; i < days; ++i) {
            const QDate d = first.addDays(i);
            const DaySun day = sun.times(d, sunPointOffsets);
            const float rise = sunPoint(s.sunrise, s.sunrise2, day.sunrise, previousRise, d);
            const float set = sunPoint(s.sunset, s.sunset2, day.sunset, previousSet, d);
            // The night that begins on the monitoring's last day is still monitored.
            if (monitoring.begin <= d && d.addDays(-1) <= monitoring.end) {
                if (form.absolutePeriod)
                    absolutePeriod(d);
                else
                    relativePeriod(d, rise, set);
            }
            twilightBands(d, rise, set);
        }
        return s;
    }

private:
    // Sun points: milliseconds from the level's midnight (a sunrise before noon sits on the next day's morning).
    double sunMorning(float h) const { return axes.nightLevel(msOfHours(h)); }
    double sunEvening(float h) const { return axes.dayLevel(msOfHours(h)); }
    // Twilight: the time of day wraps on the clock.
    double morning(float h) const { return axes.nightLevel(wrappedMs(msOfHours(h))); }
    double evening(float h) const { return axes.dayLevel(wrappedMs(msOfHours(h))); }
    double noonMorning() const { return axes.nightLevel(noonMs); }
    double noonEvening() const { return axes.dayLevel(noonMs); }

    float sunPoint(QVector<QPointF> &morningSide, QVector<QPointF> &eveningSide, float hours, double &previous,
                   const QDate &d) const
    {
        const double x = axes.x(d);
        if (hours == none) {
            morningSide.append({x, gapY});
            eveningSide.append({x, gapY});
            return none;
        }
        const float v = sunHoursOfDay(hours);
        if (v < 12.0f) {
            const double xBefore = axes.x(d.addDays(-1));
            if (previous > 12.0 && previous < 23.0) {
                morningSide.append({xBefore - gapBefore, gapY});
                eveningSide.append({xBefore - gapBefore, gapY});
            }
            morningSide.append({xBefore, sunMorning(v)});
            eveningSide.append({xBefore, gapY});
        } else {
            if (previous > 1.0 && previous < 12.0) {
                morningSide.append({x - gapBefore, gapY});
                eveningSide.append({x - gapBefore, gapY});
            }
            morningSide.append({x, gapY});
            eveningSide.append({x, sunEvening(v)});
        }
        previous = v;
        return v;
    }

    void absolutePeriod(const QDate &d)
    {
        const QTime start = form.startTime, stop = form.stopTime, noon(12, 0);
        const double xEvening = axes.x(d) - halfDay, xMorning = axes.x(d) - 3 * halfDay;
        const auto M = [this](const QTime &t) { return axes.nightLevel(t.msecsSinceStartOfDay()); };
        const auto E = [this](const QTime &t) { return axes.dayLevel(t.msecsSinceStartOfDay()); };
        if (start < stop) {
            if (start >= noon && stop >= noon) {
                s.recording.append({xEvening, E(start), E(stop)});
            } else if (start <= noon && stop <= noon) {
                s.recording.append({xMorning, M(start), M(stop)});
            } else {
                // Both reach beyond the noon ends; the axis cuts them.
                s.recording.append({xMorning, M(start), M(stop)});
                s.recording2.append({xEvening, E(start), E(stop)});
            }
        } else if (stop < start) {
            if (start >= noon && stop <= noon) {
                s.recording.append({xMorning, M(stop), mid});
                s.recording2.append({xEvening, mid, E(start)});
            } else if (start >= noon && stop >= noon) {
                s.recording.append({xMorning, M(noon), mid});
                s.recording2.append({xEvening, mid, E(start)});
                s.recording3.append({xEvening, E(stop), E(noon)});
            } else {
                s.recording.append({xMorning, M(noon), M(start)});
                s.recording2.append({xMorning, M(stop), mid});
                s.recording3.append({xEvening, mid, E(noon)});
            }
        } else {
            s.recording.append({xMorning, M(noon), mid});
            s.recording2.append({xEvening, mid, E(noon)});
        }
    }

    void relativePeriod(const QDate &d, float rise, float set)
    {
        // Every day gives each part one day-wide pair, empty where the part has nothing.
        const DayRecordingParts parts =
            relativeRecordingParts(TimeOfDayLayout::CentredNight, rise, set, form, d.month(), axes);
        const double xMorning = axes.x(d.addDays(-1)), xEvening = axes.x(d);
        int i = 0;
        for (auto [part, x] : {std::pair(&s.recording, xMorning), std::pair(&s.recording2, xEvening),
                               std::pair(&s.recording3, xMorning), std::pair(&s.recording4, xEvening)}) {
            part->append({x - halfDay, parts[i].from, parts[i].to});
            part->append({x + halfDay, parts[i].from, parts[i].to});
            ++i;
        }
    }

    void twilightBands(const QDate &d, float rise, float set)
    {
        float dawn, dusk;
        if (form.twilightChoice == 3) {
            dawn = rise;
            dusk = fifteenPercentDusk(rise, set);
        } else {
            const DaySun twilight = sun.times(d, sunPointOffsets, twilightOfChoice(form.twilightChoice));
            dawn = twilight.sunrise;
            dusk = twilight.sunset;
            if (dawn != none)
                dawn = sunHoursOfDay(dawn);
            if (dusk != none)
                dusk = sunHoursOfDay(dusk);
        }
        // A missing time is the midpoint of its neighbours (solar midnight or noon), from the times before any repair.
        const float rise0 = rise, set0 = set, dawn0 = dawn, dusk0 = dusk;
        if (dawn0 == none && rise0 != none)
            dawn = rise0 - (rise0 - set0) / 2.0f - (rise0 > set0 ? 0.0f : 12.0f);
        if (dawn0 != none && rise0 == none)
            rise = dawn0 - (dawn0 - dusk0) / 2.0f - (dusk0 > dawn0 ? 0.0f : 12.0f);
        if (dusk0 == none && set0 != none)
            dusk = set0 - (set0 - rise0) / 2.0f - (rise0 > set0 ? 0.0f : 12.0f);
        if (dusk0 != none && set0 == none)
            set = dusk0 - (dusk0 - dawn0) / 2.0f - (dusk0 > dawn0 ? 0.0f : 12.0f);
        for (float *v : {&dawn, &rise, &dusk, &set}) {
            if (*v != none)
                *v = sunHoursOfDay(*v);
        }
        dawnBands(d, rise, dawn);
        duskBands(d, set, dusk);
    }

    // Three closed samples around x hold a band shut at its last level on a day without it.
    void holdFlat(QVector<QwtIntervalSample> &band, const QDate &middle, double last) const
    {
        for (int i = -1; i <= 1; ++i)
            band.append({axes.x(middle.addDays(i)), last, last});
    }

    void dawnBands(const QDate &d, float rise, float dawn)
    {
        const double xMorning = axes.x(d.addDays(-1)), xEvening = axes.x(d);
        if (rise > 12 && dawn < 12) {
            s.twilight.append({xMorning, noonMorning(), morning(dawn)});
            lastDawnMorning = noonMorning();
        } else if (rise < 12 && dawn < 12) {
            s.twilight.append({xMorning, morning(rise), morning(dawn)});
            lastDawnMorning = morning(rise);
        } else if (rise < 12 && dawn > 12) {
            s.twilight.append({xMorning, morning(rise), mid});
            lastDawnMorning = morning(rise);
        } else {
            holdFlat(s.twilight, d.addDays(-1), lastDawnMorning);
        }
        if (rise < 12 && dawn > 12) {
            s.twilight2.append({xEvening, mid, evening(dawn)});
            lastDawnEvening = mid;
        } else if (rise > 12 && dawn > 12) {
            s.twilight2.append({xEvening, evening(rise), evening(dawn)});
            lastDawnEvening = morning(rise);
        } else if (rise > 12 && dawn < 12) {
            s.twilight2.append({xEvening, evening(rise), noonEvening()});
            lastDawnEvening = morning(rise);
        } else {
            holdFlat(s.twilight2, d, lastDawnEvening);
        }
    }

    void duskBands(const QDate &d, float set, float dusk)
    {
        const double xMorning = axes.x(d.addDays(-1)), xEvening = axes.x(d);
        if (set > 12 && dusk < 12 && set < 18) {
            s.twilightSet.append({xMorning, noonMorning(), morning(dusk)});
            lastDuskMorning = noonMorning();
        } else if (set > 12 && dusk < 12) {
            s.twilightSet.append({xMorning, morning(dusk), mid});
            lastDuskMorning = morning(dusk);
        } else if (set < 12 && dusk < 12 && set > dusk) {
            s.twilightSet.append({xMorning, morning(set), morning(dusk)});
            lastDuskMorning = morning(set);
        } else if (set < 12 && dusk < 12) {
            s.twilightSet.append({xMorning, morning(dusk), morning(set)});
            lastDuskMorning = morning(dusk);
        } else if (set < 12 && dusk > 12 && dusk < 18) {
            s.twilightSet.append({xMorning, noonMorning(), morning(set)});
            lastDuskMorning = noonMorning();
        } else if (set < 12 && dusk > 12) {
            s.twilightSet.append({xMorning, morning(set), mid});
            lastDuskMorning = morning(set);
        } else {
            holdFlat(s.twilightSet, d.addDays(-1), lastDuskMorning);
        }
        if (set < 12 && dusk > 12 && set < 6) {
            s.twilightSet2.append({xEvening, mid, evening(dusk)});
            lastDuskEvening = mid;
        } else if (set < 12 && dusk > 12) {
            s.twilightSet2.append({xEvening, evening(dusk), noonEvening()});
            lastDuskEvening = evening(dusk);
        } else if (set > 12 && dusk > 12 && set > dusk) {
            s.twilightSet2.append({xEvening, evening(set), evening(dusk)});
            lastDuskEvening = evening(set);
        } else if (set > 12 && dusk > 12) {
            s.twilightSet2.append({xEvening, evening(dusk), evening(set)});
            lastDuskEvening = evening(dusk);
        } else if (set > 12 && dusk < 12 && dusk < 6) {
            s.twilightSet2.append({xEvening, mid, evening(set)});
            lastDuskEvening = mid;
        } else if (set > 12 && dusk < 12) {
            s.twilightSet2.append({xEvening, evening(set), noonEvening()});
            lastDuskEvening = evening(set);
        } else {
            holdFlat(s.twilightSet2, d, lastDuskEvening);
        }
    }

    const ActivityForm &form;
    const TimeOfDayAxes axes;
    const SunOfDays sun;
    const QDate first;
    const MonitoringPeriod monitoring;
    const double mid;
    double previousRise = 0;
    double previousSet = 0;
    double lastDawnMorning;
    double lastDawnEvening;
    double lastDuskMorning;
    double lastDuskEvening;
    TimeOfDaySeries s;
};

double localMidnight(const QDate &date)
{
    return double(QDateTime(date, QTime(0, 0), Qt::LocalTime).toMSecsSinceEpoch());
}

} // namespace

TimeOfDayAxes::TimeOfDayAxes(int year)
    : dayStart(localMidnight(QDate(2015, 1, 1)))
    , midnight(localMidnight(QDate(2015, 1, 2)))
    , tableStart(year, 1, 1)
{
    tableStart = tableStart.addDays(-2);
    const int n = QDate(year, 1, 1).daysInYear() + 4;
    days.reserve(n);
    for (int i = 0; i < n; ++i)
        days.append(localMidnight(tableStart.addDays(i)));
}

double TimeOfDayAxes::x(const QDate &date) const
{
    const qint64 i = tableStart.daysTo(date);
    return i >= 0 && i < days.size() ? days.at(int(i)) : localMidnight(date);
}

TimeOfDaySeries plainTimeOfDaySeries(const ActivityForm &form, int year)
{
    return PlainPass(form, year).run();
}

TimeOfDaySeries centredTimeOfDaySeries(const ActivityForm &form, int year)
{
    return CentredPass(form, year).run();
}

float fifteenPercentDusk(float sunrise, float sunset)
{
    if (sunrise == none && sunset == none)
        return none;
    return float(double(sunset) - std::fmod(0.15 * double(nightHours(sunrise, sunset)), 24.0));
}

DayRecordingParts relativeRecordingParts(TimeOfDayLayout layout, float sunrise, float sunset, const ActivityForm &form,
                                         int month, const TimeOfDayAxes &axes)
{
    const RelativeRecording recording = relativeRecordingOfDay(form, month, sunrise, sunset);
    const float start = sunHoursOfDay(sunset + float(form.startMin) / 60.0f);
    const float stop = sunHoursOfDay(sunrise + float(form.stopMin) / 60.0f);
    if (layout == TimeOfDayLayout::Plain) {
        const double foot = axes.dayStart, top = axes.midnight;
        const YRange empty{top, top};
        const auto at = [&axes](float hours) { return axes.dayLevel(msOfWholeSeconds(hours)); };
        if (recording == RelativeRecording::Nothing)
            return {empty, empty, empty, empty};
        if (recording == RelativeRecording::WholeDay)
            return {YRange{foot, top}, empty, empty, empty};
        if (start > stop)
            return {YRange{foot, at(stop)}, empty, YRange{at(start), top}, empty};
        return {YRange{at(start), at(stop)}, empty, empty, empty};
    }

    const double mid = axes.midnight, M12 = axes.nightLevel(12 * msPerHour), E12 = axes.dayLevel(12 * msPerHour);
    const YRange empty{mid, mid};
    const YRange wholeMorning{M12, mid}, wholeEvening{mid, E12};
    if (recording == RelativeRecording::Nothing)
        return {empty, empty, empty, empty};
    if (recording == RelativeRecording::WholeDay)
        return {wholeMorning, wholeEvening, empty, empty};
    const auto M = [&axes](float h) { return axes.nightLevel(wrappedMs(msOfWholeSeconds(h))); };
    const auto E = [&axes](float h) { return axes.dayLevel(wrappedMs(msOfWholeSeconds(h))); };
    DayRecordingParts parts{empty, empty, empty, empty};
    // The morning side: "Recording Times" and "Recording Times3".
    if (stop > 12 && start < 12) {
        parts[0] = {M12, M(start)};
    } else if (stop < 12 && start < 12 && start > stop) {
        parts[0] = {M(stop), mid};
        parts[2] = {M12, M(start)};
    } else if (stop < 12 && start < 12) {
        parts[0] = {M(stop), M(start)};
    } else if (stop < 12 && start > 12) {
        parts[0] = {M(stop), mid};
    } else if (start > stop) {
        parts[0] = wholeMorning;
    }
    // The evening side: "Recording Times2" and "Recording Times4".
    if (stop < 12 && start > 12) {
        parts[1] = {mid, E(start)};
    } else if (stop > 12 && start > 12 && start > stop) {
        parts[1] = {mid, E(start)};
        parts[3] = {E(stop), E12};
    } else if (stop > 12 && start > 12) {
        parts[1] = {E(stop), E(start)};
    } else if (stop > 12 && start < 12) {
        parts[1] = {E(stop), E12};
    } else if (start > stop) {
        parts[1] = wholeEvening;
    }
    return parts;
}
