// The main window's next-pass search: a rise and the following set within
// 120 days, for a low satellite that rises within the hour and for one that
// never rises (the whole 120 days are searched).
#include <benchmark/benchmark.h>

#include <string>

#include "engine/astronomy/astro_time.h"
#include "engine/astronomy/constants.h"
#include "engine/searches/pass_search.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/text/text_format.h"

namespace {

const std::string IssLine1 = "1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992";
const std::string IssLine2 = "2 25544  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614";
// The same orbit at 5 degrees inclination: never above the horizon at 70 N.
const std::string EquatorialLine2 = "2 25544   5.0000  32.9776 0003646  28.7227  39.5332 15.54190080 95617";

constexpr double SearchDays = 120.0;

ObserverRecord MakeSite(double latitudeDegrees, double longitudeDegrees)
{
    ObserverRecord observer{};
    observer.Latitude = DegToRad(latitudeDegrees);
    observer.Longitude = DegToRad(longitudeDegrees);
    CalcObserverRho(Angles3{observer.Latitude, observer.Longitude, 0.0}, observer.RhoSinPhi,
                    observer.RhoCosPhi);
    return observer;
}

void NextPass(benchmark::State &state, const std::string &line2, double latitudeDegrees)
{
    TleRecord record;
    if (ParseSatElements(IssLine1, line2, record, false) < 0) {
        state.SkipWithError("element lines do not parse");
        return;
    }
    InitSatelliteModel(record);
    ObserverRecord observer = MakeSite(latitudeDegrees, 19.0);
    const double start = MakeInstant(2018, 1, 21);
    double rise = 0, set = 0;
    for (auto _ : state) {
        TargetState scratch;
        rise = FindRiseTime(record, scratch, 0.0, start, start + SearchDays, observer);
        set = FindSetTime(record, scratch, 0.0, rise, rise + SearchDays, observer);
        benchmark::DoNotOptimize(set);
    }
    state.counters["rise_after_days"] = rise - start;
    state.counters["pass_seconds"] = (set - rise) * 86400.0;
}

void BM_NextPassLowSatellite(benchmark::State &state) { NextPass(state, IssLine2, 51.5); }
void BM_NextPassNeverRises(benchmark::State &state) { NextPass(state, EquatorialLine2, 69.6); }

BENCHMARK(BM_NextPassLowSatellite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NextPassNeverRises)->Unit(benchmark::kMillisecond);

} // namespace
