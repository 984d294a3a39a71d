#include "ui/widgets/number_text.h"

#include "engine/text/text_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

std::string ExponentForm(double value, int precision)
{
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                                      std::max(0, precision - 1));
    return std::string(buffer, result.ptr);
}

} // namespace

std::string FixedDigits(double value, int precision, int decimals)
{
    precision = std::max(1, precision);
    decimals = std::max(0, decimals);
    if (!std::isfinite(value))
        return ExponentForm(value, precision);
    // Position of the leading digit: 0 for units, -4 for 0.0001234.
    const int leading = value == 0.0 ? 0 : static_cast<int>(std::floor(std::log10(std::fabs(value))));
    if (leading >= precision)
        return ExponentForm(value, precision);
    const int rounded = std::clamp(precision - 1 - leading, 0, decimals);
    std::string text = FormatReport("%0:." + std::to_string(rounded) + "f", {value});
    // Rounding may carry into a new leading digit (9999.96 at four digits).
    const std::size_t whole = text.find('.') == std::string::npos ? text.size() : text.find('.');
    if (static_cast<int>(whole - (text[0] == '-' ? 1 : 0)) > precision)
        return ExponentForm(value, precision);
    if (rounded < decimals)
        text += (rounded == 0 ? "." : "") + std::string(decimals - rounded, '0');
    return text;
}
