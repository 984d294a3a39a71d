#include "engine/satellites/main_list_update.h"

#include "engine/files/data_files.h"
#include "engine/files/string_lists.h"
#include "engine/runtime/program_state.h"
#include "engine/runtime/ui_hooks.h"
#include "engine/satellites/satellite_driver.h"
#include "satellite.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <system_error>
#include <utility>

namespace {

// Element lines are considered from 69 characters on (68 columns and the
// checksum digit).
constexpr std::size_t ShortestElementLine = 69;

bool AllDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Whether the epoch of line 1 reads: a two-digit year (columns 19-20) and a
// day of year (21-32). The library reads what it can of a damaged field, and
// such an epoch must never pass for a newer one.
bool EpochReads(std::string_view line1)
{
    double day = 0.0;
    return AllDigits(TrimText(line1.substr(18, 2))) && ParseDecimal(line1.substr(20, 12), day);
}

// The epoch (Julian date) of a pair as the library computes it, so that an
// unchanged set compares equal to itself to the last bit. False when the pair
// or its epoch does not read.
bool PairEpoch(const std::string &line1, const std::string &line2, double &epoch)
{
    element_set elements{};
    if (!EpochReads(line1) || parse_elements(line1.c_str(), line2.c_str(), &elements) < 0)
        return false;
    epoch = elements.epoch;
    return true;
}

// Element sets dated further ahead of the computer's clock than this are
// never taken: a set from the future (a wrong year, a clock set wrong where
// it was made) would count as newer than every honest set after it.
constexpr double FutureEpochDays = 3.0;

// Elements older than this give positions too far off to trust (a low
// orbit drifts by kilometres a day); the user is told how to get new ones.
constexpr double StaleElementDays = 30.0;

// The computer's clock as a Julian date.
double JulianNow()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    // 2440587.5 is the Julian date of 1970-01-01.
    return 2440587.5 + std::chrono::duration<double, std::ratio<86400>>(now).count();
}

// The latest epoch (Julian date) a set may have to be taken now.
double LatestTakenEpoch()
{
    return JulianNow() + FutureEpochDays;
}

// What the user is told when even the newest set of `set` is stale, else
// nothing: "Satellites are Current" only says no file held a newer set.
std::string StaleElementsNote(const tlearray &set, const std::string &command)
{
    if (set.empty())
        return {};
    double newest = set.front().Elements.epoch;
    for (const TleRecord &record : set)
        newest = std::max(newest, record.Elements.epoch);
    const double age = JulianNow() - newest;
    if (!(age > StaleElementDays))
        return {};
    return "\n\nThe newest element set is " + std::to_string(static_cast<long long>(age))
           + " days old: positions and passes from it are far off. Get current sets with \"Internet File "
             "Download...\" (Tools menu), or copy current \".tle\" files into the satellite download folder, then "
             "choose \"" + command + "\" again.";
}

// Whether a set of epoch is to replace one of epoch current. A current
// epoch beyond latest is no obstacle: the record was locked by such a set.
bool TakesOver(double epoch, double current, double latest)
{
    return epoch <= latest && (epoch > current || current > latest);
}

// The element-derived part of a record; identity, magnitude and flags stay.
void TakeElements(TleRecord &record, const TleRecord &from)
{
    record.Elements = from.Elements;
    record.Params = from.Params;
    record.MeanMotion = from.MeanMotion;
    record.Period = from.Period;
    record.PerigeeHeight = from.PerigeeHeight;
    record.ApogeeHeight = from.ApogeeHeight;
    record.DeepSpace = from.DeepSpace;
}

// The records of a set by catalogue number, looked up once per pair of lines.
using NumberIndex = std::vector<std::pair<std::string, std::size_t>>;

NumberIndex IndexByNumber(const tlearray &set)
{
    NumberIndex index;
    for (std::size_t i = 0; i < set.size(); ++i) {
        std::string key = CatalogueNumberKey(set[i].Number.str());
        if (!key.empty())
            index.emplace_back(std::move(key), i);
    }
    std::stable_sort(index.begin(), index.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    return index;
}

// One file's pass over the set: each record takes the first pair of its
// number that is later than its epoch. Pairs of wanted numbers dated beyond
// latest are counted in futureSets.
bool UpdateFromText(std::string_view text, tlearray &set, const NumberIndex &index, double latest,
                    int &futureSets)
{
    std::vector<bool> taken(set.size(), false);
    bool replaced = false;
    std::string_view previous;
    std::string previousKey;
    ForEachTextLine(text, [&](std::string_view line) {
        std::string key = line.size() >= ShortestElementLine ? CatalogueNumberKey(line.substr(2, 5)) : std::string();
        if (!key.empty() && key == previousKey) {
            const auto range = std::equal_range(
                index.begin(), index.end(), std::pair<std::string, std::size_t>(key, 0),
                [](const auto &a, const auto &b) { return a.first < b.first; });
            const bool wanted = range.first != range.second;
            const std::string line1(wanted ? previous : std::string_view());
            const std::string line2(wanted ? line : std::string_view());
            double epoch = 0.0;
            const bool epochRead = wanted && PairEpoch(line1, line2, epoch);
            if (epochRead && epoch > latest)
                ++futureSets;
            for (auto entry = range.first; epochRead && entry != range.second; ++entry) {
                TleRecord &record = set[entry->second];
                if (taken[entry->second] || !TakesOver(epoch, record.Elements.epoch, latest)
                    || ParseSatElements(line1, line2, record, true) < 0)
                    continue;
                InitSatelliteModel(record);
                taken[entry->second] = true;
                replaced = true;
            }
        }
        previous = line;
        previousKey = std::move(key);
    });
    return replaced;
}

} // namespace

bool ListTleFiles(const std::string &folder, std::vector<std::string> &list)
{
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator entry(ResolvePath(folder), error), end;
    for (; !error && entry != end; entry.increment(error)) {
        std::error_code typeError;
        if (!entry->is_regular_file(typeError))
            continue;
        std::string name = entry->path().filename().string();
        if (name.size() >= 4 && SameTextIgnoreCase(std::string_view(name).substr(name.size() - 4), ".tle"))
            names.push_back(std::move(name));
    }
    // A fixed order, so which of two equally new sets wins does not depend
    // on how the file system lists the folder.
    std::sort(names.begin(), names.end());
    list.insert(list.end(), names.begin(), names.end());
    return !names.empty();
}

bool UpdateElementsFromTleFiles(tlearray &set, const std::string &folder, int *futureSets)
{
    int future = 0;
    if (futureSets)
        *futureSets = 0;
    std::vector<std::string> files;
    if (!ListTleFiles(folder, files))
        return false;
    const NumberIndex index = IndexByNumber(set);
    if (index.empty())
        return false;
    // Opened by full path: the process's current folder is every thread's.
    const std::string resolved = ResolvePath(folder);
    const std::string prefix = resolved.ends_with('/') ? resolved : resolved + '/';
    const double latest = LatestTakenEpoch();
    bool replaced = false;
    for (const std::string &file : files) {
        std::string text;
        if (ReadWholeFile(prefix + file, text, nullptr, ElementTextLimit) != ReadStatus::Ok)
            continue;
        replaced = UpdateFromText(text, set, index, latest, future) || replaced;
    }
    if (futureSets)
        *futureSets = future;
    return replaced;
}

std::string UpdateResultText(bool replaced, int futureSets, const tlearray &set, const std::string &command)
{
    std::string text = replaced ? "Satellites Updated Successfully" : "Satellites are Current";
    if (futureSets > 0)
        text += "\n\n" + std::to_string(futureSets) + " element set(s) dated more than "
                + std::to_string(static_cast<int>(FutureEpochDays))
                + " days after this computer's clock were not taken. Check the computer's date and time, "
                  "or where those files came from.";
    return text + StaleElementsNote(set, command);
}

UserMessage ApplyUpdatedMainList(const tlearray &updated, int futureSets)
{
    const double latest = LatestTakenEpoch();
    bool replaced = false;
    for (TleRecord &record : MainList) {
        const TleRecord *newest = nullptr;
        for (const TleRecord &candidate : updated) {
            const double epoch = newest ? newest->Elements.epoch : record.Elements.epoch;
            if (TakesOver(candidate.Elements.epoch, epoch, latest)
                && SameCatalogueNumber(candidate.Number.str(), record.Number.str()))
                newest = &candidate;
        }
        if (newest) {
            TakeElements(record, *newest);
            replaced = true;
        }
    }
    if (replaced && Hooks().refreshDisplay)
        Hooks().refreshDisplay();
    return {UpdateResultText(replaced, futureSets, MainList, "Update Main List"), "Information",
            MessageKind::Information};
}

void UpdateMainListThread(tlearray set, const std::string &folder)
{
    int futureSets = 0;
    UpdateElementsFromTleFiles(set, folder, &futureSets);
    PostToUiThread([set = std::move(set), futureSets] { ShowUserMessage(ApplyUpdatedMainList(set, futureSets)); });
    EndWorkerThread(MainListUpdateTaskTag);
}
