// The main window's next-pass search for a satellite that hangs just above
// the horizon: GOES 16 seen from 0 N, 6.06 E, where it stays 0.02 to 0.06
// degrees up for weeks around 2018 January 22. The search walks back to its
// rise and forward to its set a few seconds at a time, so this is about the
// longest one selection, place change or clock step can start.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/astronomy/astro_time.h"
#include "engine/astronomy/constants.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/searches/pass_steps.h"
#include "engine/text/text_format.h"

namespace {

const std::string Goes16Line1 = "1 41866U 16071A   18019.87773469 -.00000245  00000-0  00000-0 0  9992";
const std::string Goes16Line2 = "2 41866   0.0069 115.0916 0001074 269.6956 335.2025  1.00271237  4322";

// How far before and after the instant the window searches.
constexpr double SearchDays = 120.0;

void BM_NextPassBarelyAboveTheHorizon(benchmark::State &state)
{
    TleRecord satellite;
    if (ParseSatElements(Goes16Line1, Goes16Line2, satellite, true) < 0) {
        state.SkipWithError("element lines do not parse");
        return;
    }
    InitSatelliteModel(satellite);
    ObserverRecord site{};
    site.Latitude = 0.0;
    site.Longitude = DegToRad(6.06);
    CalcObserverRho(Angles3{site.Latitude, site.Longitude, 0.0}, site.RhoSinPhi, site.RhoCosPhi);
    const double now = MakeInstant(2018, 1, 22);
    PassTimes pass;
    for (auto _ : state) {
        // The window's search works on fresh copies each time.
        TleRecord record = satellite;
        ObserverRecord observer = site;
        TargetState scratch;
        pass = FindPassAt(record, scratch, 0.0, now, SearchDays, observer);
        benchmark::DoNotOptimize(pass);
    }
    state.counters["rise_days_before"] = now - pass.Rise;
    state.counters["set_days_after"] = pass.Set - now;
}

BENCHMARK(BM_NextPassBarelyAboveTheHorizon)->Unit(benchmark::kMillisecond);

} // namespace
