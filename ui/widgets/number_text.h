// Numbers for the main window's fields, with '.' whatever the locale.
#pragma once

#include <string>

// The value with one decimal; when its whole part has more than maxDigits
// digits it is written in exponent form with maxDigits significant digits.
std::string FixedOneDecimal(double value, int maxDigits);
