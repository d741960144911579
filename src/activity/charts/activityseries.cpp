#include "activity/charts/activityseries.h"

#include "activity/charts/validperiods.h"

float activityPerHour(float count, float hours)
{
    return hours > 0.0f ? count / hours : 0.0f;
}

DaysSeries daysSeries(const ActivityForm &form, const ActivityClock &clock, int year,
                      const QVector<QVector<QVector<qint64>>> &candidates, bool activity)
{
    const QDate newYear(year, 1, 1);
    const int days = newYear.daysInYear();
    const MonitoringPeriod monitoring(form.monitoringBegin, form.monitoringEnd, year);
    const QVector<Period> invalid = invalidPeriodsOfYear(form.invalidTimes, clock, year);
    DaysSeries s;
    s.validHours.resize(days);
    s.values = QVector<QVector<float>>(candidates.size(), QVector<float>(days, 0.0f));
    for (int d = 0; d < days; ++d) {
        const QVector<Period> valid = validPeriodsOfDay(form, clock, newYear.addDays(d), monitoring, invalid);
        float hours = hoursOf(valid);
        if (hours < minimumValidHours)
            hours = 0.0f;
        s.validHours[d] = hours;
        for (int c = 0; c < candidates.size(); ++c) {
            float count = 0.0f;
            for (qint64 instant : candidates[c].value(d)) {
                if (inAnyPeriod(instant, valid))
                    count += 1.0f;
            }
            s.values[c][d] = activity ? activityPerHour(count, hours) : count;
        }
    }
    return s;
}
