// The date and time pickers of the tool windows: a date picker and a time
// picker that holds the whole instant, both read as UTC wall-clock values
// (see ui/main_window/day_count.h), over the ephemeris' years.
#pragma once

class QDateEdit;
class QDateTimeEdit;
class QWidget;

QDateEdit *MakeDatePicker(QWidget *parent, const char *format);
QDateTimeEdit *MakeTimePicker(QWidget *parent, const char *format, const char *hint);

// Moves the time picker by a signed number of days (to or from local time)
// and puts the date picker on its new date.
void ShiftPickedTime(QDateTimeEdit *time, QDateEdit *date, double days);

// Gives the time picker the date picker's date, keeping its time of day.
void CopyPickedDate(const QDateEdit *date, QDateTimeEdit *time);
