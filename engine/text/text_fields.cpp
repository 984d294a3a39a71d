#include "engine/text/text_fields.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/text/text_format.h"

namespace {

std::string ZeroPadded(long long value, int width)
{
    std::string digits = FormatReport("%0:d", {value});
    if (static_cast<int>(digits.size()) < width)
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    return digits;
}

int ClampDecimals(int decimals) { return std::clamp(decimals, 0, 6); }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Whole units, minutes and seconds of a non-negative value in degrees or
// hours, the seconds rounded to `decimals` first so that a carry reaches the
// minutes and the units: 10.1 degrees is 10 06 00.0, not 10 05 59.9.
struct Sexagesimal {
    long long whole;
    int minutes;
    long long secondUnits; // seconds x 10^decimals
};

Sexagesimal SplitSexagesimal(double value, int decimals)
{
    long long scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    double whole = std::floor(value);
    long long units = std::llround((value - whole) * 3600.0 * static_cast<double>(scale));
    long long wholeCount = static_cast<long long>(whole);
    if (units >= 3600 * scale) {
        units -= 3600 * scale;
        ++wholeCount;
    }
    return {wholeCount, static_cast<int>(units / (60 * scale)), units % (60 * scale)};
}

std::string SecondsText(long long secondUnits, int decimals)
{
    long long scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    std::string text = ZeroPadded(secondUnits / scale, 2);
    if (decimals > 0)
        text += "." + ZeroPadded(secondUnits % scale, decimals);
    return text;
}

// Angles this large or not finite only come from faults; show the raw number
// rather than a made-up angle.
bool IsDisplayableAngle(double degrees) { return std::fabs(degrees) < 1e12; }

double ToDegrees(bool radians, double angle) { return radians ? angle * 180.0 / std::numbers::pi : angle; }

} // namespace

std::vector<std::string> SplitString(char delimiter, std::string_view text, bool trim)
{
    auto isSeparator = [delimiter](char c) { return c == delimiter || c == '\r' || c == '\n'; };
    std::vector<std::string> fields;
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && (isSeparator(text[pos]) || IsBlank(text[pos])))
            ++pos;
        if (pos >= text.size())
            break;
        std::string field;
        while (pos < text.size() && !isSeparator(text[pos])) {
            char c = text[pos];
            if (c == '"' || c == '\'') {
                std::size_t close = text.find(c, pos + 1);
                std::size_t end = close == std::string_view::npos ? text.size() : close + 1;
                field.append(text.substr(pos, end - pos));
                pos = end;
            } else {
                field += c;
                ++pos;
            }
        }
        if (trim) {
            while (!field.empty() && IsBlank(field.back()))
                field.pop_back();
        }
        fields.push_back(std::move(field));
    }
    return fields;
}

std::string FormatSecondsHMS(int decimals, double seconds)
{
    if (!(std::fabs(seconds) < 1e15))
        return FormatReport("%0:s", {seconds});
    decimals = ClampDecimals(decimals);
    std::string sign = seconds < 0 ? "-" : "";
    double total = std::fabs(seconds);
    // Remainders straight from the total: dividing first and multiplying the
    // fractions back loses enough to turn 120 s into 1 min 59.999... s.
    double ofHour = std::fmod(total, 3600.0);
    long long hours = std::llround((total - ofHour) / 3600.0);
    double ofMinute = std::fmod(ofHour, 60.0);
    long long minutes = std::llround((ofHour - ofMinute) / 60.0);
    std::string secondText = FormatReport("%0:9.6f", {ofMinute});
    std::replace(secondText.begin(), secondText.end(), ' ', '0');
    // Durations are cut, not rounded, so a seconds field may never show 60.
    if (secondText == "60.000000")
        secondText = "59.999999";
    secondText.resize(decimals == 0 ? 2 : static_cast<std::size_t>(3 + decimals));
    return sign + ZeroPadded(hours, 2) + ":" + ZeroPadded(minutes, 2) + ":" + secondText;
}

std::string FormatMagnitude(std::optional<double> magnitude)
{
    return magnitude ? FormatReport("%0:.1f", {*magnitude}) : std::string();
}

std::string FormatAngleDMS(bool radians, int decimals, double angle)
{
    double degrees = ToDegrees(radians, angle);
    if (!IsDisplayableAngle(degrees))
        return FormatReport("%0:s", {degrees});
    decimals = ClampDecimals(decimals);
    Sexagesimal parts = SplitSexagesimal(std::fabs(degrees), decimals);
    return std::string(degrees >= 0 ? "+" : "-") + ZeroPadded(parts.whole, 2) + "\u00B0 " +
           ZeroPadded(parts.minutes, 2) + "' " + SecondsText(parts.secondUnits, decimals) + "\"";
}

std::string FormatAngleHMS(bool radians, int decimals, double angle)
{
    double degrees = ToDegrees(radians, angle);
    if (!IsDisplayableAngle(degrees))
        return FormatReport("%0:s", {degrees});
    decimals = ClampDecimals(decimals);
    Sexagesimal parts = SplitSexagesimal(std::fabs(degrees) / 15.0, decimals);
    return ZeroPadded(parts.whole, 2) + "h " + ZeroPadded(parts.minutes, 2) + "m " +
           SecondsText(parts.secondUnits, decimals) + "s";
}

std::string FormatClockTime(double &time, std::optional<double> limit, bool withSeconds,
                            double offsetDays)
{
    if (limit && time >= *limit)
        return withSeconds ? "  :  :  " : "  :  ";
    time += offsetDays;
    if (withSeconds)
        return FormatInstant("hh:nn:ss", time);
    return FormatInstant("hh:nn", RoundDateTime(time, TimeUnit::Minute));
}

double RoundDateTime(double time, TimeUnit unit)
{
    long long unitMs = 1;
    switch (unit) {
    case TimeUnit::Hour:
        unitMs = 3600000;
        break;
    case TimeUnit::Minute:
        unitMs = 60000;
        break;
    case TimeUnit::Second:
        unitMs = 1000;
        break;
    case TimeUnit::Millisecond:
        unitMs = 1;
        break;
    }
    long long milliseconds = InstantToMilliseconds(time);
    long long quotient = milliseconds / unitMs;
    long long remainder = milliseconds % unitMs;
    if (remainder < 0) {
        remainder += unitMs;
        --quotient;
    }
    if (2 * remainder > unitMs || (2 * remainder == unitMs && quotient % 2 != 0))
        ++quotient;
    return MillisecondsToInstant(quotient * unitMs);
}
