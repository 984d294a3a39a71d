// The analysis window's transit listing over the default element file (the
// Moon, 240 minutes, "Day / Night" checked: every satellite is searched over
// the whole span), and the data window's longest Moon table, which runs on
// the user-interface thread. Needs the set-up's program folder in
// KYT_TEST_DATA_DIR.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "engine/astronomy/astro_time.h"
#include "engine/astronomy/constants.h"
#include "engine/astronomy/de_reader.h"
#include "engine/reports/sun_moon_tables.h"
#include "engine/text/text_format.h"
#include "engine/searches/analysis_listings.h"

namespace {

ObserverRecord London()
{
    ObserverRecord observer{};
    observer.Latitude = DegToRad(51.5);
    observer.Longitude = DegToRad(-0.1);
    CalcObserverRho(Angles3{observer.Latitude, observer.Longitude, 0.0}, observer.RhoSinPhi,
                    observer.RhoCosPhi);
    return observer;
}

// The set-up's program folder with its ephemeris loaded, or empty.
std::string SetUpFolder()
{
    static const std::string folder = [] {
        const char *dir = std::getenv("KYT_TEST_DATA_DIR");
        if (!dir || !LoadDEFile(std::string(dir) + "/de_files/1957_2050.423"))
            return std::string();
        return std::string(dir);
    }();
    return folder;
}

void MoonTransitListing(benchmark::State &state)
{
    const std::string folder = SetUpFolder();
    auto elements = std::make_shared<ElementList>();
    if (folder.empty() || !LoadTleTextFile(*elements, folder + "/tle/gpredict.tle")) {
        state.SkipWithError("no set-up data (KYT_TEST_DATA_DIR)");
        return;
    }
    AnalysisInputs inputs;
    inputs.Instant = inputs.InstantShown = MakeInstant(2018, 1, 21, 18);
    inputs.SpanMinutes = 240;
    inputs.DayOrNight = true;
    inputs.Observer = London();
    inputs.Target.BodyId = BodyMoon;
    inputs.TargetName = "Moon";
    inputs.Elements = elements;
    std::size_t lines = 0;
    for (auto _ : state)
        lines = SearchAnalysisTransits(inputs).size();
    state.counters["sets"] = static_cast<double>(elements->size());
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(MoonTransitListing)->Unit(benchmark::kMillisecond);

void NinetyDayMoonTable(benchmark::State &state)
{
    if (SetUpFolder().empty()) {
        state.SkipWithError("no set-up data (KYT_TEST_DATA_DIR)");
        return;
    }
    RiseSetTableInputs inputs;
    inputs.Body = BodyMoon;
    inputs.Days = 90;
    inputs.Title = "  Moon Rise/Set ";
    inputs.Threshold = DegToRad(-0.8);
    inputs.Date = MakeInstant(2024, 1, 1);
    inputs.WithSeconds = true;
    inputs.Observer = London();
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildRiseSetTable(inputs));
}
BENCHMARK(NinetyDayMoonTable)->Unit(benchmark::kMillisecond);

} // namespace
