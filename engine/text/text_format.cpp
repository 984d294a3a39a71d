#include "engine/text/text_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace {

// ---- report notation ------------------------------------------------------

std::string ShortestText(double value)
{
    std::array<char, 64> buffer{};
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

template <typename Integer>
std::string IntegerText(Integer value)
{
    std::array<char, 32> buffer{};
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

// Fixed-point text with `decimals` decimals. Rounding works on the shortest
// decimal form that reads back as the same double, half away from zero, so
// 2.675 gives 2.68 and 0.5 gives 1, as a reader of the number expects (the
// binary value of 2.675 lies just below it).
std::string FixedText(double value, int decimals)
{
    if (!std::isfinite(value))
        return ShortestText(value);
    std::array<char, 64> buffer{};
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                std::chars_format::scientific);
    std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
    std::size_t ePos = text.find('e');
    std::string digits;
    for (char c : text.substr(0, ePos))
        if (c != '.')
            digits += c;
    int exponent = 0;
    std::string_view expText = text.substr(ePos + 1);
    if (!expText.empty() && expText.front() == '+')
        expText.remove_prefix(1);
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent);

    // digits d0 d1 d2 ... stand for 0.d0d1d2... x 10^(pointPos).
    int pointPos = exponent + 1;
    int keep = pointPos + decimals; // digits that survive rounding
    if (keep < 0) {
        digits.clear();
    } else if (keep < static_cast<int>(digits.size())) {
        bool roundUp = digits[static_cast<std::size_t>(keep)] >= '5';
        digits.resize(static_cast<std::size_t>(keep));
        if (roundUp) {
            int i = keep - 1;
            while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9')
                digits[static_cast<std::size_t>(i--)] = '0';
            if (i >= 0) {
                ++digits[static_cast<std::size_t>(i)];
            } else {
                digits.insert(digits.begin(), '1');
                ++pointPos;
            }
        }
    }
    auto digitAt = [&](int index) {
        return index >= 0 && index < static_cast<int>(digits.size())
                   ? digits[static_cast<std::size_t>(index)]
                   : '0';
    };
    std::string out;
    if (value < 0)
        out += '-';
    if (pointPos <= 0)
        out += '0';
    for (int i = 0; i < pointPos; ++i)
        out += digitAt(i);
    if (decimals > 0) {
        out += '.';
        for (int i = 0; i < decimals; ++i)
            out += digitAt(pointPos + i);
    }
    return out;
}

std::size_t CharacterCount(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

[[noreturn]] void BadFormat(std::string_view format, std::string_view why)
{
    throw std::invalid_argument("report format \"" + std::string(format) + "\": " + std::string(why));
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads a run of digits at `pos`; -1 when there is none.
int ReadNumber(std::string_view format, std::size_t &pos)
{
    std::size_t start = pos;
    while (pos < format.size() && IsDigit(format[pos]))
        ++pos;
    if (pos == start)
        return -1;
    int number = 0;
    auto result = std::from_chars(format.data() + start, format.data() + pos, number);
    if (result.ec != std::errc())
        BadFormat(format, "number out of range");
    return number;
}

std::string ArgumentText(std::string_view format, const FormatArg &arg, char type, int precision)
{
    const FormatArg::Value &value = arg.value();
    switch (type) {
    case 's':
        if (precision >= 0)
            BadFormat(format, "precision on a text");
        return std::visit(
            [](const auto &v) -> std::string {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, std::string>)
                    return v;
                else if constexpr (std::is_same_v<T, double>)
                    return ShortestText(v);
                else
                    return IntegerText(v);
            },
            value);
    case 'd':
        if (precision >= 0)
            BadFormat(format, "precision on a whole number");
        if (const auto *i = std::get_if<long long>(&value))
            return IntegerText(*i);
        if (const auto *u = std::get_if<unsigned long long>(&value))
            return IntegerText(*u);
        BadFormat(format, "%d needs a whole number");
    case 'f': {
        int decimals = precision >= 0 ? precision : 2;
        if (const auto *d = std::get_if<double>(&value))
            return FixedText(*d, decimals);
        if (const auto *i = std::get_if<long long>(&value))
            return FixedText(static_cast<double>(*i), decimals);
        if (const auto *u = std::get_if<unsigned long long>(&value))
            return FixedText(static_cast<double>(*u), decimals);
        BadFormat(format, "%f needs a number");
    }
    default:
        BadFormat(format, "unknown placeholder type");
    }
}

// ---- calendar -------------------------------------------------------------

// Day 0 of the instants, 1899-12-30, counted from 1970-01-01.
constexpr long long kInstantEpochUnixDay = -25569;
constexpr long long kMillisecondsPerDay = 86400000;
constexpr double kInstantLimitDays = 3000000.0;

long long FloorDiv(long long a, long long b)
{
    long long q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Days from 1970-01-01 of a proleptic Gregorian date; years counted from
// March so the leap day falls at the end of each 400-year era's year.
long long DaysFromCivil(long long year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    long long era = FloorDiv(year, 400);
    long long yearOfEra = year - era * 400;
    long long dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(long long days, int &year, int &month, int &day)
{
    long long z = days + 719468;
    long long era = FloorDiv(z, 146097);
    long long dayOfEra = z - era * 146097;
    long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    long long monthFromMarch = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

constexpr std::array<const char *, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

void AppendPadded(std::string &out, long long value, int width)
{
    std::string digits = IntegerText(value < 0 ? -value : value);
    if (value < 0)
        out += '-';
    if (static_cast<int>(digits.size()) < width)
        out.append(static_cast<std::size_t>(width) - digits.size(), '0');
    out += digits;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

std::string FormatReport(std::string_view format, std::span<const FormatArg> args)
{
    std::string out;
    out.reserve(format.size() + 16);
    std::size_t nextArg = 0;
    std::size_t pos = 0;
    while (pos < format.size()) {
        char c = format[pos++];
        if (c != '%') {
            out += c;
            continue;
        }
        if (pos < format.size() && format[pos] == '%') {
            out += '%';
            ++pos;
            continue;
        }
        // An index is the digits before a ':'; without the ':' they are a width.
        std::size_t index = nextArg;
        std::size_t colon = pos;
        while (colon < format.size() && IsDigit(format[colon]))
            ++colon;
        if (colon < format.size() && format[colon] == ':') {
            if (colon > pos) {
                int number = ReadNumber(format, pos);
                index = static_cast<std::size_t>(number);
            }
            pos = colon + 1;
        }
        bool left = pos < format.size() && format[pos] == '-';
        if (left)
            ++pos;
        int width = std::max(ReadNumber(format, pos), 0);
        int precision = -1;
        if (pos < format.size() && format[pos] == '.') {
            ++pos;
            precision = std::max(ReadNumber(format, pos), 0);
        }
        if (pos >= format.size())
            BadFormat(format, "unfinished placeholder");
        char type = Lower(format[pos++]);
        if (index >= args.size())
            BadFormat(format, "argument " + std::to_string(index) + " is missing");
        std::string text = ArgumentText(format, args[index], type, precision);
        std::size_t length = CharacterCount(text);
        std::size_t pad = length < static_cast<std::size_t>(width) ? static_cast<std::size_t>(width) - length : 0;
        if (!left)
            out.append(pad, ' ');
        out += text;
        if (left)
            out.append(pad, ' ');
        nextArg = index + 1;
    }
    return out;
}

std::string FormatReport(std::string_view format, std::initializer_list<FormatArg> args)
{
    return FormatReport(format, std::span<const FormatArg>(args.begin(), args.size()));
}

double MakeInstant(int year, int month, int day, int hour, int minute, int second, int millisecond)
{
    long long monthIndex = static_cast<long long>(month) - 1;
    long long fullYear = year + FloorDiv(monthIndex, 12);
    int normalMonth = static_cast<int>(monthIndex - FloorDiv(monthIndex, 12) * 12) + 1;
    long long days = DaysFromCivil(fullYear, normalMonth, 1) + (day - 1) - kInstantEpochUnixDay;
    long long milliseconds =
        ((static_cast<long long>(hour) * 60 + minute) * 60 + second) * 1000 + millisecond;
    return static_cast<double>(days) + static_cast<double>(milliseconds) / kMillisecondsPerDay;
}

long long InstantToMilliseconds(double instant)
{
    if (std::isnan(instant))
        instant = 0.0;
    instant = std::clamp(instant, -kInstantLimitDays, kInstantLimitDays);
    return std::llround(instant * static_cast<double>(kMillisecondsPerDay));
}

double MillisecondsToInstant(long long milliseconds)
{
    // Whole days and the time of day apart, so the day count stays exact.
    long long days = FloorDiv(milliseconds, kMillisecondsPerDay);
    long long ofDay = milliseconds - days * kMillisecondsPerDay;
    return static_cast<double>(days) + static_cast<double>(ofDay) / kMillisecondsPerDay;
}

CivilTime SplitInstant(double instant)
{
    long long milliseconds = InstantToMilliseconds(instant);
    long long days = FloorDiv(milliseconds, kMillisecondsPerDay);
    long long ofDay = milliseconds - days * kMillisecondsPerDay;
    CivilTime civil;
    CivilFromDays(days + kInstantEpochUnixDay, civil.year, civil.month, civil.day);
    civil.millisecond = static_cast<int>(ofDay % 1000);
    civil.second = static_cast<int>(ofDay / 1000 % 60);
    civil.minute = static_cast<int>(ofDay / 60000 % 60);
    civil.hour = static_cast<int>(ofDay / 3600000);
    return civil;
}

std::string FormatInstant(std::string_view pattern, double instant)
{
    CivilTime t = SplitInstant(instant);
    std::string out;
    bool afterHour = false;
    std::size_t pos = 0;
    while (pos < pattern.size()) {
        char letter = Lower(pattern[pos]);
        std::size_t run = 1;
        while (pos + run < pattern.size() && Lower(pattern[pos + run]) == letter)
            ++run;
        std::size_t used = std::min<std::size_t>(run, 2);
        bool isField = true;
        bool isHour = false;
        switch (letter) {
        case 'd':
            AppendPadded(out, t.day, static_cast<int>(used));
            break;
        case 'm':
            used = std::min<std::size_t>(run, 3);
            if (used == 3)
                out += kMonthNames[static_cast<std::size_t>(t.month - 1)];
            else
                AppendPadded(out, afterHour ? t.minute : t.month, static_cast<int>(used));
            break;
        case 'y':
            used = std::min<std::size_t>(run, 4);
            if (used <= 2)
                AppendPadded(out, ((t.year % 100) + 100) % 100, 2);
            else
                AppendPadded(out, t.year, 4);
            break;
        case 'h':
            AppendPadded(out, t.hour, static_cast<int>(used));
            isHour = true;
            break;
        case 'n':
            AppendPadded(out, t.minute, static_cast<int>(used));
            break;
        case 's':
            AppendPadded(out, t.second, static_cast<int>(used));
            break;
        case 'z':
            used = std::min<std::size_t>(run, 3);
            AppendPadded(out, t.millisecond, used == 1 ? 1 : 3);
            break;
        default:
            isField = false;
            used = 1;
            out += pattern[pos];
            break;
        }
        if (isField)
            afterHour = isHour;
        pos += used;
    }
    return out;
}

std::string TrimRight(std::string text)
{
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}
