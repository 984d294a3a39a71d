// Instants are day counts since 1899-12-30 (UTC); the pickers and text fields
// hold QDateTime values in the UTC time spec so that no conversion through the
// computer's own time zone ever takes place.
#pragma once

#include <QDateTime>

QDateTime DayCountToDateTime(double dayCount);
double DateTimeToDayCount(const QDateTime &dateTime);

// The computer's clock as a UTC day count, milliseconds set to 0.
double SystemClockDayCount();
