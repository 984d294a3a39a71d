#include "ui/widgets/time_pickers.h"

#include <QDateEdit>
#include <QDateTimeEdit>

#include <cmath>

namespace {

const QDate FirstDate(1957, 1, 1);
const QDate LastDate(2049, 12, 31);
constexpr double MsPerDay = 86'400'000.0;

} // namespace

QDateEdit *MakeDatePicker(QWidget *parent, const char *format)
{
    auto *picker = new QDateEdit(parent);
    picker->setTimeSpec(Qt::UTC);
    picker->setDisplayFormat(format);
    picker->setDateRange(FirstDate, LastDate);
    picker->setCalendarPopup(true);
    picker->setToolTip("Scroll down for calendar");
    return picker;
}

QDateTimeEdit *MakeTimePicker(QWidget *parent, const char *format, const char *hint)
{
    auto *picker = new QDateTimeEdit(parent);
    picker->setTimeSpec(Qt::UTC);
    picker->setDisplayFormat(format);
    picker->setDateTimeRange(QDateTime(FirstDate, QTime(0, 0), Qt::UTC),
                             QDateTime(LastDate, QTime(23, 59, 59), Qt::UTC));
    picker->setToolTip(hint);
    return picker;
}

void ShiftPickedTime(QDateTimeEdit *time, QDateEdit *date, double days)
{
    // Whole milliseconds, so going to local time and back gives the same instant.
    const QDateTime shifted = time->dateTime().addMSecs(static_cast<qint64>(std::llround(days * MsPerDay)));
    time->setDateTime(shifted);
    date->setDate(shifted.date());
}

void CopyPickedDate(const QDateEdit *date, QDateTimeEdit *time)
{
    QDateTime value = time->dateTime();
    value.setDate(date->date());
    time->setDateTime(value);
}
