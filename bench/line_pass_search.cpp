// The prediction window's line search with its default settings (Sun below
// -6 degrees, satellites above 10 degrees, more than 13 revolutions a day,
// sunlit parts only) for London over 15 days from 2018 January 21, over every
// qualifying element set of the set-up's tle/gpredict.tle: the whole worker,
// on one thread and on eight. Then the same with "Day or Night" on and "In
// Sun Light" off, every pass of the span (about 53,000), whose records are
// what the threads hand back.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "engine/astronomy/astro_time.h"
#include "engine/astronomy/constants.h"
#include "engine/astronomy/de_reader.h"
#include "engine/astronomy/geodesy.h"
#include "engine/files/element_files.h"
#include "engine/text/text_format.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/searches/line_pass_search.h"

namespace {

std::string ProgramFolder()
{
    const char *dataDir = std::getenv("KYT_TEST_DATA_DIR");
    return std::string(dataDir ? dataDir : KYT_TEST_PROGRAM_DIR) + "/";
}

// False (and the benchmark skipped) without the set-up's data.
bool MakeInputs(PredictionInputs &inputs, std::string &why)
{
    const std::string folder = ProgramFolder();
    if (!LoadDEFile(folder + "de_files/1957_2050.423")) {
        why = "no ephemeris in " + folder;
        return false;
    }
    ElementList elements;
    if (!LoadTleTextFile(elements, folder + "tle/gpredict.tle")) {
        why = "no tle/gpredict.tle in " + folder;
        return false;
    }
    inputs.MinRevs = 13;
    for (const ElementRecord &element : elements) {
        TleRecord record;
        if (LoadSatFromElementRecord(record, element, true, inputs.MinRevs, 20.0)) {
            record.Selected = 1;
            inputs.Satellites.push_back(record);
        }
    }
    inputs.Observer.Name.assign("London");
    inputs.Observer.Latitude = DegToRad(51.5074);
    inputs.Observer.Longitude = DegToRad(-0.1278);
    CalcObserverRho(Angles3{inputs.Observer.Latitude, inputs.Observer.Longitude, 0.0},
                    inputs.Observer.RhoSinPhi, inputs.Observer.RhoCosPhi);
    inputs.Start = inputs.StartShown = MakeInstant(2018, 1, 21);
    inputs.End = inputs.EndShown = inputs.Start + 15.0;
    inputs.Produced = inputs.Start;
    inputs.MinElevation = DegToRad(10.0);
    inputs.SunAltitude = DegToRad(-6.0);
    return true;
}

void LinePassSearch(benchmark::State &state, bool everyPass)
{
    PredictionInputs inputs;
    std::string why;
    if (!MakeInputs(inputs, why)) {
        state.SkipWithError(why.c_str());
        return;
    }
    inputs.DayOrNight = everyPass;
    inputs.SunlitOnly = !everyPass;
    SearchControl control;
    control.Threads = static_cast<unsigned>(state.range(0));
    std::size_t passes = 0;
    for (auto _ : state) {
        const PredictionResult result = SearchLinePasses(inputs, control);
        passes = result.Passes.size();
        benchmark::DoNotOptimize(result.Lines.data());
    }
    state.counters["sets"] = static_cast<double>(inputs.Satellites.size());
    state.counters["passes"] = static_cast<double>(passes);
}

void BM_LinePassSearchLondon15Days(benchmark::State &state) { LinePassSearch(state, false); }
void BM_LinePassSearchLondon15DaysEveryPass(benchmark::State &state) { LinePassSearch(state, true); }

BENCHMARK(BM_LinePassSearchLondon15Days)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LinePassSearchLondon15DaysEveryPass)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
