#include "activity/charts/activityform.h"

namespace {

QDate inYear(const QDate &dayMonth, int year, bool isBegin)
{
    if (!dayMonth.isValid())
        return QDate();
    if (dayMonth.month() == 2 && dayMonth.day() == 29 && !QDate::isLeapYear(year))
        return isBegin ? QDate(year, 3, 1) : QDate(year, 2, 28);
    return QDate(year, dayMonth.month(), dayMonth.day());
}

} // namespace

MonitoringPeriod::MonitoringPeriod(const QDate &beginDayMonth, const QDate &endDayMonth, int year)
    : begin(inYear(beginDayMonth, year, true))
    , end(inYear(endDayMonth, year, false))
{
}
