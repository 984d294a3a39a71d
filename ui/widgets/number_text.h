// Numbers for the windows' fields, with '.' whatever the locale.
#pragma once

#include <string>

// The value rounded to at most precision significant digits and to decimals
// decimals (whichever is coarser), then written with exactly decimals
// decimals. When its whole part needs more than precision digits it is
// written in exponent form with precision significant digits.
std::string FixedDigits(double value, int precision, int decimals);

// FixedDigits with one decimal, as most of the main window's fields show it.
inline std::string FixedOneDecimal(double value, int precision) { return FixedDigits(value, precision, 1); }
