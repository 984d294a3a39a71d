// The main list update: 15 satellites brought up to date from three ".tle"
// files of 30,000 element sets each (each satellite has a later set in every
// file), and, for scale, reading one such file as element records.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/files/element_files.h"
#include "engine/satellites/main_list_update.h"
#include "engine/satellites/satellite_driver.h"
#include "satellite.h"

namespace {

const std::string Line1 = "1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992";
const std::string Line2 = "2 25544  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614";

constexpr int SetsPerFile = 30000;
constexpr int Satellites = 15;

// line with the catalogue number and, from column 19, the epoch put in; its
// checksum made good.
std::string Element(std::string line, int number, const char *epoch = nullptr)
{
    char text[8];
    std::snprintf(text, sizeof text, "%05d", number);
    line.replace(2, 5, text);
    if (epoch)
        line.replace(18, 14, epoch);
    int sum = 0;
    for (int i = 0; i < 68; ++i)
        sum += line[i] == '-' ? 1 : (line[i] >= '0' && line[i] <= '9' ? line[i] - '0' : 0);
    line[68] = static_cast<char>('0' + sum % 10);
    return line;
}

// A folder of three files; the satellites are numbers 1000, 3000, ... so
// their sets lie spread over each file.
std::string MakeFolder()
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "kyt-bench-update";
    std::filesystem::create_directories(folder);
    const char *epochs[] = {"18021.00000000", "18022.00000000", "18023.00000000"};
    for (int file = 0; file < 3; ++file) {
        std::ofstream out(folder / ("set" + std::to_string(file) + ".tle"), std::ios::binary);
        for (int n = 1; n <= SetsPerFile; ++n)
            out << "SAT " << n << "\r\n" << Element(Line1, n, epochs[file]) << "\r\n" << Element(Line2, n) << "\r\n";
    }
    return folder.string() + "/";
}

tlearray MakeSet()
{
    tlearray set(Satellites);
    for (int i = 0; i < Satellites; ++i) {
        const int number = 1000 + 2000 * i;
        ParseSatElements(Element(Line1, number), Element(Line2, number), set[i], true);
        InitSatelliteModel(set[i]);
        set[i].Number.assign(Element(Line1, number).substr(2, 5));
    }
    return set;
}

void UpdateFifteenFromThreeFiles(benchmark::State &state)
{
    const std::string folder = MakeFolder();
    const tlearray original = MakeSet();
    bool replaced = false;
    for (auto _ : state) {
        tlearray set = original;
        replaced = UpdateElementsFromTleFiles(set, folder);
        benchmark::DoNotOptimize(set.data());
    }
    if (!replaced)
        state.SkipWithError("nothing was updated");
}
BENCHMARK(UpdateFifteenFromThreeFiles)->Unit(benchmark::kMillisecond);

void LoadOneFileAsElementRecords(benchmark::State &state)
{
    const std::string folder = MakeFolder();
    ElementList list;
    for (auto _ : state) {
        LoadTleTextFile(list, folder + "set0.tle");
        benchmark::DoNotOptimize(list.data());
    }
    state.counters["sets"] = static_cast<double>(list.size());
}
BENCHMARK(LoadOneFileAsElementRecords)->Unit(benchmark::kMillisecond);

} // namespace
