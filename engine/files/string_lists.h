// Case-insensitive text helpers shared by the file loaders and the windows.
// Letters are compared in their ASCII upper case; other bytes as they are.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The ASCII upper case of text.
std::string UpperCaseText(std::string_view text);

// Negative, zero or positive as a sorts before, with or after b, ignoring case.
int CompareTextIgnoreCase(std::string_view a, std::string_view b);

bool SameTextIgnoreCase(std::string_view a, std::string_view b);

// Whether two catalogue-number texts name the same satellite: equal after
// trimming, ignoring case, and ignoring leading zeros when both are all digits
// ("00005" and "5"). A number is never found inside another one.
bool SameCatalogueNumber(std::string_view a, std::string_view b);

// The form in which SameCatalogueNumber compares a number: trimmed, leading
// zeros dropped when it is all digits ("0" for zeros only), else in upper
// case. Empty for a blank text, which names no satellite.
std::string CatalogueNumberKey(std::string_view text);

// Whether text occurs in any line, ignoring case. index is the last line that
// contains it, -1 when none (also for an empty text or list).
bool FindInStringList(std::string_view text, const std::vector<std::string> &lines, int &index);
