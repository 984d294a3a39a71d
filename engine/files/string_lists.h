// Text helpers shared by the file loaders and the windows: case-insensitive
// comparison and search (letters in their ASCII upper case, other bytes as
// they are) and character columns of fixed-column lines.
#pragma once

#include <cstddef>
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

// A key that is equal for texts SameCatalogueNumber calls the same: the
// number in decimal when the text stands for one, else the trimmed text in
// upper case. Empty for a blank text, which names no satellite.
std::string CatalogueNumberKey(std::string_view text);

// Whether text occurs in any line, ignoring case. index is the last line that
// contains it, -1 when none (also for an empty text or list).
bool FindInStringList(std::string_view text, const std::vector<std::string> &lines, int &index);

// Characters (UTF-8 code points) in text: file columns count characters, so
// "Zürich" fills six of them whatever its bytes.
std::size_t CountCharacters(std::string_view text);

// The count characters of line from column first (1-based), in characters;
// shorter when the line ends sooner, empty when it ends before first.
std::string_view TextColumns(std::string_view line, std::size_t first, std::size_t count);
