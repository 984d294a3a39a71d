#include "engine/satellites/catalogue_conversion.h"

#include "engine/files/data_files.h"
#include "engine/files/names_file.h"
#include "engine/runtime/program_state.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/files/settings.h"
#include "engine/files/string_lists.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string_view>
#include <unordered_map>

std::mutex SkyListMutex;

namespace {

constexpr const char *IridiumSetFileName = "IridSat.bin";
constexpr const char *SkySetFileName = "SkySat.bin";
// The Iridium satellites launched from this year on (the second generation)
// carry no mirror-like antennas: they do not flare.
constexpr int FirstNonFlaringYear = 2017;

// The launch year from the international designator (columns 10-11 of line
// 1, years 57 to 99 of the 1900s), when it reads.
std::optional<int> LaunchYear(const std::string &line1)
{
    int year = 0;
    if (line1.size() < 11 || !std::isdigit(static_cast<unsigned char>(line1[9])) ||
        std::from_chars(line1.data() + 9, line1.data() + 11, year).ptr != line1.data() + 11)
        return std::nullopt;
    return year < 57 ? 2000 + year : 1900 + year;
}

// An Iridium satellite that can flare: not debris, not marked out of service
// ("[-]") by the element file, and of the first generation.
bool CanFlare(const ElementRecord &element)
{
    const std::string name = element.Name.str();
    if (name.find("IRIDIUM") == std::string::npos || name.find("DEB") != std::string::npos ||
        name.find("[-]") != std::string::npos)
        return false;
    const std::optional<int> launched = LaunchYear(element.Line1.str());
    return !launched || *launched < FirstNonFlaringYear;
}

tlearray SatArrayFromElements(const ElementList &list)
{
    tlearray array(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        const ElementRecord &element = list[i];
        TleRecord &record = array[i];
        record.Name = element.Name;
        record.Number = element.Number;
        record.StdMagnitude = element.StdMagnitude;
        if (ParseSatElements(element.Line1.str(), element.Line2.str(), record, false) >= 0)
            InitSatelliteModel(record);
    }
    return array;
}

bool ExistingFile(const std::string &path)
{
    std::error_code failure;
    return !path.empty() && std::filesystem::is_regular_file(ResolvePath(path), failure);
}

// Standard magnitude by catalogue number from the names file's lines (the
// first, its update link, excluded). A keyed look-up rather than a merge in
// step, so a names file out of catalogue order loses no satellite; the first
// line of a number wins, as it would in an ordered file.
std::unordered_map<long, double> MagnitudesByNumber(const std::vector<std::string> &lines)
{
    std::unordered_map<long, double> magnitudes;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (const auto key = CatalogueNumberValue(line.substr(0, std::min<std::size_t>(line.size(), 5))))
            magnitudes.emplace(*key, NamesEntryMagnitude(line));
    }
    return magnitudes;
}

// The element sets the names file knows, once per catalogue number (the
// first in file order), in ascending number, each with its magnitude.
ElementList JoinWithNames(const ElementList &elements, const std::unordered_map<long, double> &magnitudes)
{
    std::vector<std::pair<long, const ElementRecord *>> numbered;
    for (const ElementRecord &element : elements) {
        if (const auto number = CatalogueNumberValue(element.Number.str()))
            numbered.emplace_back(*number, &element);
    }
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    ElementList joined;
    std::optional<long> previous;
    for (const auto &[number, element] : numbered) {
        if (number == previous)
            continue;
        previous = number;
        const auto found = magnitudes.find(number);
        if (found == magnitudes.end())
            continue;
        ElementRecord copy = *element;
        copy.StdMagnitude = found->second;
        joined.push_back(copy);
    }
    return joined;
}

} // namespace

bool ConvertElementList(const ElementList &list, const std::string &path, std::string *error)
{
    return SaveSatFile(SatArrayFromElements(list), path, error);
}

bool BuildIridiumFile(std::string *error)
{
    const std::string target = DataDir + IridiumSetFileName;
    const std::string source = InProgramFolder(Options.IridiumFile.str());
    if (source.empty()) {
        if (ExistingFile(target))
            DeleteDataFile(target, error);
        return false;
    }
    ElementList list;
    if (!LoadTleTextFile(list, source, error))
        return false;
    ElementList iridium;
    std::copy_if(list.begin(), list.end(), std::back_inserter(iridium), CanFlare);
    return ConvertElementList(iridium, target, error);
}

bool BuildSkyFile(std::string *error)
{
    const std::string source = InProgramFolder(Options.SkySatFile.str());
    if (!ExistingFile(source))
        return false;
    ElementList elements;
    std::string readError;
    if (!LoadTleTextFile(elements, source, &readError)) {
        // Only a file read whole and found to hold no set is a bad choice; one
        // that could not be read now (permissions, an I/O error) may read at
        // the next start, so the user's choice stays.
        if (readError.empty())
            Options.SkySatFile.assign("");
        else if (error)
            *error = readError;
        return false;
    }
    std::vector<std::string> names;
    if (!LoadNamesFile(names, error))
        return false;
    tlearray skySet = SatArrayFromElements(JoinWithNames(elements, MagnitudesByNumber(names)));
    if (!SaveSatFile(skySet, DataDir + SkySetFileName, error))
        return false;
    ReplaceSkyList(std::move(skySet));
    return true;
}

void ReplaceSkyList(tlearray list)
{
    std::lock_guard lock(SkyListMutex);
    SkyList.swap(list);
}
