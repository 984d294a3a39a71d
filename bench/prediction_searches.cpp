// The prediction window's longest searches over 15 days from London: the
// Iridium flares of the default Iridium set (one core, and split by satellite
// over every core with the pass list kept in satellite order), and the Moon
// transits and ground tracks of 15 low satellites. Needs the set-up's data
// (KYT_TEST_DATA_DIR, or this build's program folder).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "engine/astronomy/constants.h"
#include "engine/astronomy/de_reader.h"
#include "engine/astronomy/astro_time.h"
#include "engine/files/element_files.h"
#include "engine/reports/text_format.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/searches/flare_search.h"
#include "engine/searches/ground_track_search.h"
#include "engine/searches/search_results.h"
#include "engine/searches/transit_search.h"

namespace {

constexpr double SpanDays = 15.0;
constexpr std::size_t LowSatellites = 15;

std::string DataFolder()
{
    const char *folder = std::getenv("KYT_TEST_DATA_DIR");
    return folder ? folder : KYT_TEST_PROGRAM_DIR;
}

// The element sets whose name passes `keep`, ready to propagate.
template <class Keep>
tlearray LoadSets(Keep keep, std::size_t most)
{
    ElementList elements;
    tlearray sets;
    if (!LoadTleTextFile(elements, DataFolder() + "/tle/gpredict.tle"))
        return sets;
    for (const ElementRecord &element : elements) {
        TleRecord record;
        if (sets.size() < most && keep(element) &&
            LoadSatFromElementRecord(record, element, true, 0.0, 20.0))
            sets.push_back(record);
    }
    return sets;
}

PredictionInputs Inputs(tlearray satellites)
{
    PredictionInputs inputs;
    inputs.Start = inputs.StartShown = MakeInstant(2018, 1, 21);
    inputs.End = inputs.EndShown = inputs.Start + SpanDays;
    inputs.MinElevation = DegToRad(10.0);
    inputs.SunAltitude = DegToRad(-6.0);
    inputs.FaintestFlare = 2;
    inputs.Observer.Latitude = DegToRad(51.5);
    inputs.Observer.Longitude = DegToRad(-0.1);
    CalcObserverRho(Angles3{inputs.Observer.Latitude, inputs.Observer.Longitude, 0.0},
                    inputs.Observer.RhoSinPhi, inputs.Observer.RhoCosPhi);
    inputs.Target.BodyId = BodyMoon;
    inputs.TargetName = "Moon";
    inputs.Satellites = std::move(satellites);
    return inputs;
}

bool Ready(benchmark::State &state, const PredictionInputs &inputs, std::size_t expected)
{
    if (!LoadDEFile(DataFolder() + "/de_files/1957_2050.423")) {
        state.SkipWithError("no ephemeris");
        return false;
    }
    if (inputs.Satellites.size() != expected) {
        state.SkipWithError("the default element sets are missing");
        return false;
    }
    return true;
}

PredictionInputs IridiumInputs()
{
    return Inputs(LoadSets(
        [](const ElementRecord &e) {
            const std::string name = e.Name.str();
            return name.find("IRIDIUM") != std::string::npos && name.find("DEB") == std::string::npos;
        },
        1000));
}

void BM_IridiumFlaresOneCore(benchmark::State &state)
{
    const PredictionInputs inputs = IridiumInputs();
    if (!Ready(state, inputs, 126))
        return;
    std::size_t flares = 0;
    for (auto _ : state)
        flares = SearchIridiumFlares(inputs).Passes.size();
    state.counters["flares"] = static_cast<double>(flares);
}

// Each thread takes every n-th satellite; the parts are joined in satellite
// order, as one core would have found them.
void BM_IridiumFlaresAllCores(benchmark::State &state)
{
    const PredictionInputs inputs = IridiumInputs();
    if (!Ready(state, inputs, 126))
        return;
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    std::size_t flares = 0;
    for (auto _ : state) {
        const std::vector<WindowItem> windows = FlareWindows(inputs, inputs.Observer);
        std::vector<PredictionResult> parts(inputs.Satellites.size());
        std::vector<std::thread> threads;
        for (unsigned c = 0; c < cores; ++c)
            threads.emplace_back([&, c] {
                for (std::size_t i = c; i < parts.size(); i += cores)
                    parts[i] = SearchSatelliteFlares(inputs.Satellites[i], inputs, windows, inputs.Observer);
            });
        for (std::thread &thread : threads)
            thread.join();
        PredictionResult result;
        for (PredictionResult &part : parts)
            AppendResult(result, std::move(part));
        flares = result.Passes.size();
    }
    state.counters["flares"] = static_cast<double>(flares);
    state.counters["cores"] = cores;
}

PredictionInputs LowInputs()
{
    return Inputs(LoadSets([](const ElementRecord &e) { return e.MeanMotion > 13.0 && e.MeanMotion < 20.0; },
                           LowSatellites));
}

void BM_MoonTransits15Satellites(benchmark::State &state)
{
    const PredictionInputs inputs = LowInputs();
    if (!Ready(state, inputs, LowSatellites))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(SearchObjectTransits(inputs).Lines.size());
}

void BM_MoonGroundTracks15Satellites(benchmark::State &state)
{
    const PredictionInputs inputs = LowInputs();
    if (!Ready(state, inputs, LowSatellites))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(SearchGroundTracks(inputs).Lines.size());
}

BENCHMARK(BM_IridiumFlaresOneCore)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IridiumFlaresAllCores)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MoonTransits15Satellites)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoonGroundTracks15Satellites)->Unit(benchmark::kMillisecond);

} // namespace
