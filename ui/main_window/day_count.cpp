#include "ui/main_window/day_count.h"

#include <cmath>

namespace {

constexpr qint64 MsPerDay = 86400000;

QDateTime DayZero()
{
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
}

} // namespace

QDateTime DayCountToDateTime(double dayCount)
{
    // Rounded to the millisecond so 12:00:00 never shows as 11:59:59.999.
    return DayZero().addMSecs(static_cast<qint64>(std::llround(dayCount * MsPerDay)));
}

double DateTimeToDayCount(const QDateTime &dateTime)
{
    // Read the fields as they stand: a picker's value is a wall-clock reading
    // whatever time spec it carries.
    const QDateTime asUtc(dateTime.date(), dateTime.time(), Qt::UTC);
    return static_cast<double>(DayZero().msecsTo(asUtc)) / MsPerDay;
}

double SystemClockDayCount()
{
    QDateTime now = QDateTime::currentDateTimeUtc();
    const QTime t = now.time();
    now.setTime(QTime(t.hour(), t.minute(), t.second()));
    return DateTimeToDayCount(now);
}
