// The two text formatters every report line is built with: the positional
// report notation and the date/time patterns. Both write numbers with '.' as
// the decimal separator whatever the process locale, so a report reads the
// same on every machine.
#pragma once

#include <concepts>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

// One argument of FormatReport: a text, a whole number or a real number.
// Texts are copied, so an argument list may be kept and reused safely.
class FormatArg {
public:
    using Value = std::variant<std::string, long long, unsigned long long, double>;

    FormatArg(std::string text) : value_(std::move(text)) {}
    FormatArg(std::string_view text) : value_(std::string(text)) {}
    FormatArg(const char *text) : value_(std::string(text)) {}
    FormatArg(double number) : value_(number) {}
    FormatArg(float number) : value_(static_cast<double>(number)) {}
    // A lone char or bool is almost always a slip; say it with a text or a number.
    FormatArg(char) = delete;
    FormatArg(bool) = delete;
    template <std::integral T>
        requires(!std::same_as<T, bool> && !std::same_as<T, char>)
    FormatArg(T number)
    {
        if constexpr (std::is_signed_v<T>)
            value_ = static_cast<long long>(number);
        else
            value_ = static_cast<unsigned long long>(number);
    }

    const Value &value() const { return value_; }

private:
    Value value_;
};

// Builds one report line from a format in the report notation:
//   %[index:][-][width][.precision]type      %% is a literal '%'
//   type s  any argument as text (numbers in their shortest exact form)
//   type d  a whole number
//   type f  a number with `precision` decimals (2 when none is given),
//           rounded half away from zero on its shortest decimal form
// "%3:8.2f" takes argument 3 right-aligned in 8 characters, "%0:-20s"
// left-aligned in 20. Without an index a placeholder takes the argument after
// the previous one ("%s", "%:0s" and "%0s" are all the next argument; in
// "%0s" the 0 is a width). Arguments may be used again and in any order.
// Widths count characters (UTF-8 code points), and a longer value is never
// cut. A placeholder that names a missing argument, a text for d or f, or a
// malformed placeholder throws std::invalid_argument: formats are program
// constants, so this is a programming error.
// Example: FormatReport("%0:-20s%1:8.2f", {name, value})
std::string FormatReport(std::string_view format, std::span<const FormatArg> args);
std::string FormatReport(std::string_view format, std::initializer_list<FormatArg> args);

// The text without its trailing blanks: a report line "trimmed".
std::string TrimRight(std::string text);

// Instants are day counts since 1899-12-30 (UTC unless a caller has added an
// offset), the fraction being the time of day; the calendar is the proleptic
// Gregorian one.
struct CivilTime {
    int year = 1899;
    int month = 12;      // 1..12
    int day = 30;        // 1..31
    int hour = 0;        // 0..23
    int minute = 0;      // 0..59
    int second = 0;      // 0..59
    int millisecond = 0; // 0..999
};

// The instant of a calendar date and time. Every field may run over (month
// 13 is January of the next year, day 32 of January is February 1).
double MakeInstant(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                   int millisecond = 0);
// The instant rounded to the millisecond, then split: 11:59:59.9996 gives
// 12:00:00.000, never 11:59:59. Instants beyond +-3,000,000 days (or not a
// number) are held at that range (NaN at day 0): they only arise from faults.
CivilTime SplitInstant(double instant);
// The instant as whole milliseconds since the day-count origin (rounded, held
// to the same range), and back.
long long InstantToMilliseconds(double instant);
double MillisecondsToInstant(long long milliseconds);

// Formats an instant with a date/time pattern. Fields, letters without regard
// to case: d dd day; m mm month, or minutes when the previous field was an
// hour; mmm "Jan".."Dec"; yy yyyy year (a run of 1-2 y is two digits, 3-4 is
// four); h hh hour (0-23); n nn minutes; s ss seconds; z milliseconds, zz or
// zzz three digits. Otherwise one letter means no padding and two letters two
// digits. Longer runs start a new field after the longest form. Every other
// character is copied as it is.
// Example: FormatInstant("MMM dd yyyy HH:nn:ss", t) -> "Mar 05 2024 07:08:09"
std::string FormatInstant(std::string_view pattern, double instant);
