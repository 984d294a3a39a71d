// The fixed text forms the reports and data files share: field splitting,
// durations, angles, clock times and instants rounded to a unit.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The fields of `text`, split at `delimiter` and at line breaks. Blanks before
// a field are skipped, empty fields are dropped (a run of delimiters counts
// as one), and a ' or " opens a quoted stretch up to the same mark that may
// hold delimiters (the marks stay in the field). With `trim` each field loses
// its leading and trailing blanks.
std::vector<std::string> SplitString(char delimiter, std::string_view text, bool trim);

// A duration as "HH:MM:SS" with `decimals` (0..6) decimals of the second,
// cut, not rounded: 3723.5 s with one decimal is "01:02:03.5". Seconds that
// reach 60.000000 at six decimals show 59.999999, so 59.9999999 s is
// "00:00:59.999999". A negative duration gets a leading '-'.
std::string FormatSecondsHMS(int decimals, double seconds);

// A magnitude with one decimal, or nothing for none (a satellite in the
// Earth's shadow): the report's format gives the column its width.
std::string FormatMagnitude(std::optional<double> magnitude);

// An angle as sign, degrees, minutes and seconds with `decimals` (0..6)
// decimals, rounded: +05° 07' 09.3" (the degree sign is UTF-8). `radians`
// says the angle is in radians, else in degrees.
std::string FormatAngleDMS(bool radians, int decimals, double angle);
// An angle as hours (degrees / 15), minutes and seconds with `decimals`
// (0..6) decimals, rounded, without sign: 05h 07m 09.3s.
std::string FormatAngleHMS(bool radians, int decimals, double angle);

// A clock time for the data tables. When `limit` is given and `time` is at or
// past it, gives the blank pattern "  :  :  " (or "  :  " without seconds)
// and leaves `time` alone. Otherwise adds `offsetDays` to `time` (the caller
// sees the shifted instant) and gives "hh:nn:ss", or "hh:nn" rounded to the
// nearest minute.
std::string FormatClockTime(double &time, std::optional<double> limit, bool withSeconds,
                            double offsetDays);

enum class TimeUnit { Hour = 4, Minute = 5, Second = 6, Millisecond = 7 };
// The instant rounded to the nearest whole unit; a tie goes to the even
// multiple. The instant is first rounded to the millisecond, so a time that
// prints as an exact half unit rounds as a tie.
double RoundDateTime(double time, TimeUnit unit);
