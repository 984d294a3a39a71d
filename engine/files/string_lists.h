// Case-insensitive text helpers shared by the file loaders and the windows.
// Letters are compared in their ASCII upper case; other bytes as they are.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The ASCII upper case of text.
std::string UpperCaseText(std::string_view text);

// Negative, zero or positive as a sorts before, with or after b, ignoring case.
int CompareTextIgnoreCase(std::string_view a, std::string_view b);

bool SameTextIgnoreCase(std::string_view a, std::string_view b);

// The number a catalogue-number text stands for, trimmed: digits ("00005",
// "5"), or a letter and four digits for numbers from 100000 on ("A0000" =
// 100000 ... "Z9999" = 339999, I and O not used). Nothing for other texts.
std::optional<long> CatalogueNumberValue(std::string_view text);

// Whether two catalogue-number texts name the same satellite: the same
// number when both stand for one ("00005" and "5", "A0001" and "A0001"),
// else equal after trimming, ignoring case. A number is never found inside
// another one.
bool SameCatalogueNumber(std::string_view a, std::string_view b);

// Whether text occurs in any line, ignoring case. index is the last line that
// contains it, -1 when none (also for an empty text or list).
bool FindInStringList(std::string_view text, const std::vector<std::string> &lines, int &index);
