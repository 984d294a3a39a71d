// The prediction window's longest searches over 15 days from London: the
// Iridium flares of the default Iridium set (on one thread and on eight), and
// the Moon transits and ground tracks of 15 low satellites. Needs the set-up's data
// (KYT_TEST_DATA_DIR, or this build's program folder).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/astronomy/constants.h"
#include "engine/astronomy/de_reader.h"
#include "engine/astronomy/astro_time.h"
#include "engine/files/element_files.h"
#include "engine/text/text_format.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/searches/flare_search.h"
#include "engine/searches/ground_track_search.h"
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

// The satellites split over state.range(0) threads; the output keeps
// satellite order whatever the count.
SearchControl Threads(const benchmark::State &state)
{
    SearchControl control;
    control.Threads = static_cast<unsigned>(state.range(0));
    return control;
}

void BM_IridiumFlares(benchmark::State &state)
{
    const PredictionInputs inputs = IridiumInputs();
    if (!Ready(state, inputs, 126))
        return;
    std::size_t flares = 0;
    for (auto _ : state)
        flares = SearchIridiumFlares(inputs, Threads(state)).Passes.size();
    state.counters["flares"] = static_cast<double>(flares);
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
        benchmark::DoNotOptimize(SearchObjectTransits(inputs, Threads(state)).Lines.size());
}

void BM_MoonGroundTracks15Satellites(benchmark::State &state)
{
    const PredictionInputs inputs = LowInputs();
    if (!Ready(state, inputs, LowSatellites))
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(SearchGroundTracks(inputs, Threads(state)).Lines.size());
}

BENCHMARK(BM_IridiumFlares)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MoonTransits15Satellites)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MoonGroundTracks15Satellites)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
