#include "engine/files/names_edit.h"

#include "engine/files/data_files.h"
#include "engine/files/names_file.h"
#include "engine/files/string_lists.h"
#include "engine/text/text_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr std::size_t NumberWidth = 5;

bool NumberOrder(const std::string &a, const std::string &b)
{
    const long numberA = NamesLineNumber(a), numberB = NamesLineNumber(b);
    if (numberA != numberB)
        return numberA < numberB;
    return CompareTextIgnoreCase(a, b) < 0;
}

} // namespace

bool SplitMagnitudeLine(std::string_view line, std::vector<std::string> &pieces)
{
    if (!IsNamesEntry(line))
        return false;
    // First column (from 1) and width of each piece.
    constexpr std::pair<std::size_t, std::size_t> Columns[] = {{1, 5},  {7, 15},  {22, 5}, {27, 5},
                                                               {32, 5}, {37, 5}, {42, 2}, {44, 5}};
    for (const auto &[first, width] : Columns)
        pieces.emplace_back(line.substr(first - 1, width));
    return true;
}

long NamesLineNumber(std::string_view line)
{
    const std::string_view number = TrimText(line.substr(0, std::min(line.size(), NumberWidth)));
    long value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (number.empty() || number[0] == '-' || result.ec != std::errc() || result.ptr != number.data() + number.size())
        return 0;
    return value;
}

void SortNamesLines(std::vector<std::string> &lines)
{
    std::stable_sort(lines.begin(), lines.end(), NumberOrder);
}

void RemoveDuplicateNumbers(std::vector<std::string> &lines)
{
    std::vector<std::string> kept;
    kept.reserve(lines.size());
    const std::string *lastEntry = nullptr;
    for (std::string &line : lines) {
        const bool entry = IsNamesEntry(line);
        if (entry && lastEntry && NamesLineNumber(*lastEntry) == NamesLineNumber(line))
            continue;
        kept.push_back(std::move(line));
        // Only the entry just kept can be followed by its duplicate.
        lastEntry = entry ? &kept.back() : nullptr;
    }
    lines = std::move(kept);
}

bool MergeNamesUpdate(const std::vector<std::string> &current, const std::vector<std::string> &downloaded,
                      std::vector<std::string> &merged)
{
    std::vector<std::string> taken;
    for (const std::string &line : downloaded) {
        if (!IsNamesEntry(line))
            continue;
        if (NamesLineNumber(line) >= FirstUnofficialNumber)
            break;
        taken.push_back(line);
    }
    if (taken.empty())
        return false;
    // Both walks below assume number order; a file edited by hand may lack it.
    std::stable_sort(taken.begin(), taken.end(), [](const std::string &a, const std::string &b) {
        return NamesLineNumber(a) < NamesLineNumber(b);
    });
    std::vector<std::string> lines = current;
    SortNamesLines(lines);

    std::vector<std::string> result;
    result.reserve(lines.size() + taken.size());
    std::size_t i = 0;
    for (std::string &entry : taken) {
        const long number = NamesLineNumber(entry);
        for (; i < lines.size(); ++i) {
            if (!IsNamesEntry(lines[i]) || NamesLineNumber(lines[i]) < number)
                result.push_back(std::move(lines[i]));
            else if (NamesLineNumber(lines[i]) > number)
                break;
            // An entry of the same number is replaced: dropped here.
        }
        result.push_back(std::move(entry));
    }
    for (; i < lines.size(); ++i)
        result.push_back(std::move(lines[i]));
    merged = std::move(result);
    return true;
}

double StandardMagnitude(double magnitude, double rangeKm)
{
    return magnitude + 15.75 - 2.5 * std::log10(rangeKm * rangeKm / 0.5);
}

std::string SizeColumnText(double value)
{
    std::string text = FormatReport("%0:.1f", {value});
    if (text.size() > NumberWidth)
        text = FormatReport("%0:.0f", {value});
    return text;
}
