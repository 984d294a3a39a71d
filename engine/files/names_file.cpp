#include "engine/files/names_file.h"

#include "engine/files/data_files.h"
#include "engine/files/string_lists.h"
#include "engine/text/text_format.h"

namespace {

constexpr const char *NamesFileName = "qvnames.dat";

// Columns first..last (counted from 1) of line, trimmed.
std::string Columns(std::string_view line, std::size_t first, std::size_t last)
{
    if (line.size() < first)
        return {};
    return std::string(TrimText(line.substr(first - 1, last - first + 1)));
}

} // namespace

bool LoadNamesFile(std::vector<std::string> &lines, std::string *error)
{
    lines.clear();
    const std::string path = DataDir + NamesFileName;
    std::string text;
    if (!ReadRequiredFile(path, "names file", text, error, NamesFileLimit))
        return false;
    lines = SplitTextLines(text);
    return true;
}

bool IsNamesLinkLine(std::string_view line)
{
    // Links are matched without regard to case, as the rest of the file is.
    const std::string upper = UpperCaseText(line);
    return upper.find("HTTP://") != std::string::npos || upper.find("HTTPS://") != std::string::npos;
}

bool IsNamesEntry(std::string_view line)
{
    return line.size() == NamesEntryLength && !IsNamesLinkLine(line);
}

std::string NamesEntryNumber(std::string_view line) { return Columns(line, 1, 5); }

std::string NamesEntryName(std::string_view line) { return Columns(line, 7, 21); }

double NamesEntryMagnitude(std::string_view line)
{
    double magnitude = UnknownStdMagnitude;
    return ParseDecimal(Columns(line, 37, 41), magnitude) ? magnitude : UnknownStdMagnitude;
}

bool FindNamesEntry(const std::vector<std::string> &lines, std::string_view number, int &index)
{
    index = -1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (IsNamesEntry(lines[i]) && SameCatalogueNumber(NamesEntryNumber(lines[i]), number))
            index = static_cast<int>(i);
    }
    return index >= 0;
}

double FindStdMagnitude(const std::vector<std::string> &lines, std::string_view number)
{
    int index = -1;
    return FindNamesEntry(lines, number, index) ? NamesEntryMagnitude(lines[index]) : UnknownStdMagnitude;
}

std::string NamesUpdateLink(const std::vector<std::string> &lines)
{
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        if (IsNamesLinkLine(*line))
            return std::string(TrimText(*line));
    }
    return {};
}

std::string FormatNamesEntry(std::string_view number, std::string_view name, std::string_view width,
                             std::string_view length, std::string_view depth, std::string_view magnitude,
                             std::string_view crossSection)
{
    return FormatReport("%0:5s %1:-15s%2:5s%3:5s%4:5s%5:5s  %6:5s",
                        {number, TrimText(name), TrimText(width), TrimText(length), TrimText(depth),
                         TrimText(magnitude), TrimText(crossSection)});
}
