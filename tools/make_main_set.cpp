// Writes the main window's satellite set from an element text file, for use
// until satellites can be chosen in the program: the element sets whose name
// contains one of the given texts (without regard to case), at most 15 in
// file order, each marked for display. With no text the first 15 are taken.
//
// Usage: make_main_set <element file> <set file> [name text...]
// Example: make_main_set tle/gpredict.tle data/MainSat.bin ISS "NOAA 19"

#include "engine/files/element_files.h"
#include "engine/satellites/satellite_driver.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t MaxDisplayed = 15;

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool Wanted(const std::string &name, const std::vector<std::string> &texts)
{
    if (texts.empty())
        return true;
    const std::string upper = Upper(name);
    return std::any_of(texts.begin(), texts.end(),
                       [&](const std::string &text) { return upper.find(text) != std::string::npos; });
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::cerr << "usage: make_main_set <element file> <set file> [name text...]\n";
        return 2;
    }
    std::vector<std::string> texts;
    for (int i = 3; i < argc; ++i)
        texts.push_back(Upper(argv[i]));

    ElementList elements;
    std::string error;
    if (!LoadTleTextFile(elements, argv[1], &error)) {
        std::cerr << (error.empty() ? std::string("no element sets in ") + argv[1] : error) << '\n';
        return 1;
    }
    tlearray set;
    for (const ElementRecord &element : elements) {
        TleRecord record;
        // Any mean motion above zero: every orbit the file holds may be shown.
        if (set.size() == MaxDisplayed || !Wanted(element.Name.str(), texts)
            || !LoadSatFromElementRecord(record, element, true, 0.0, 1e9))
            continue;
        record.Selected = 1;
        set.push_back(record);
    }
    if (!SaveSatFile(set, argv[2], &error)) {
        std::cerr << error << '\n';
        return 1;
    }
    std::cout << set.size() << " satellites written\n";
    return 0;
}
