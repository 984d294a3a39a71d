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

std::optional<long> CatalogueNumberValue(std::string_view text)
{
    text = TrimText(text);
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (text.empty())
        return std::nullopt;
    long value = 0;
    std::size_t digitsFrom = 0;
    const char first = text.front();
    if (text.size() == 5 && first >= 'A' && first <= 'Z' && first != 'I' && first != 'O') {
        // Letters count on from 10 in alphabetical order, I and O skipped.
        value = 10 + (first - 'A') - (first > 'I' ? 1 : 0) - (first > 'O' ? 1 : 0);
        digitsFrom = 1;
    } else if (text.size() > 9) {
        return std::nullopt; // no catalogue number, and no overflow either
    }
    for (std::size_t i = digitsFrom; i < text.size(); ++i) {
        if (!isDigit(text[i]))
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::string CatalogueNumberKey(std::string_view text)
{
    text = TrimText(text);
    if (const std::optional<long> number = CatalogueNumberValue(text))
        return std::to_string(*number);
    return UpperCaseText(text);
}

bool SameCatalogueNumber(std::string_view a, std::string_view b)
{
    a = TrimText(a);
    b = TrimText(b);
    const std::optional<long> numberA = CatalogueNumberValue(a), numberB = CatalogueNumberValue(b);
    if (numberA && numberB)
        return *numberA == *numberB;
    return !a.empty() && SameTextIgnoreCase(a, b);
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
