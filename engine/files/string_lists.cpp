#include "engine/files/string_lists.h"

#include "engine/files/data_files.h"

#include <algorithm>

namespace {

char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::string UpperCaseText(std::string_view text)
{
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), UpperAscii);
    return upper;
}

int CompareTextIgnoreCase(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(UpperAscii(a[i]));
        const auto cb = static_cast<unsigned char>(UpperAscii(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SameTextIgnoreCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && CompareTextIgnoreCase(a, b) == 0;
}

std::string CatalogueNumberKey(std::string_view text)
{
    text = TrimText(text);
    if (text.empty())
        return {};
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return UpperCaseText(text);
    const std::size_t first = text.find_first_not_of('0');
    return std::string(first == std::string_view::npos ? std::string_view("0") : text.substr(first));
}

bool SameCatalogueNumber(std::string_view a, std::string_view b)
{
    const std::string key = CatalogueNumberKey(a);
    return !key.empty() && key == CatalogueNumberKey(b);
}

bool FindInStringList(std::string_view text, const std::vector<std::string> &lines, int &index)
{
    index = -1;
    if (text.empty())
        return false;
    const std::string wanted = UpperCaseText(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (UpperCaseText(lines[i]).find(wanted) != std::string::npos)
            index = static_cast<int>(i);
    }
    return index >= 0;
}

namespace {

bool StartsCharacter(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

// The byte offset of character index (0-based) in text, or text.size().
std::size_t CharacterOffset(std::string_view text, std::size_t index)
{
    std::size_t pos = 0;
    for (std::size_t seen = 0; pos < text.size(); ++pos) {
        if (StartsCharacter(text[pos]) && seen++ == index)
            return pos;
    }
    return text.size();
}

} // namespace

std::size_t CountCharacters(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), StartsCharacter));
}

std::string_view TextColumns(std::string_view line, std::size_t first, std::size_t count)
{
    if (first == 0 || count == 0)
        return {};
    const std::size_t begin = CharacterOffset(line, first - 1);
    const std::size_t end = begin + CharacterOffset(line.substr(begin), count);
    return line.substr(begin, end - begin);
}
