#include "ui/widgets/number_text.h"

#include "engine/reports/text_format.h"

#include <charconv>
#include <cmath>

std::string FixedOneDecimal(double value, int maxDigits)
{
    if (std::isfinite(value) && std::fabs(value) < std::pow(10.0, maxDigits) - 0.05)
        return FormatReport("%0:.1f", {value});
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, maxDigits - 1);
    return std::string(buffer, result.ptr);
}
