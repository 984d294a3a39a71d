// A worker search and the clock tick at the same time: each propagates
// satellites and moves the bodies for its own instants (different years,
// different observers) and must get exactly what it gets when it runs alone.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "engine/astronomy/bodies.h"
#include "engine/runtime/program_state.h"
#include "engine/satellite_test_support.h"

namespace {

// A near-earth, a deep-space and a synchronous satellite with their element
// epoch at the given two-digit year and day ("95152.50000000").
tlearray SatellitesAt(const std::string &epochField)
{
    const std::string line1 = WithField(IssLine1, 19, epochField);
    tlearray records;
    for (double meanMotion : {15.72125391, 2.0, 1.0027}) {
        records.push_back(MakeSatellite(line1, Line2WithMeanMotion(meanMotion)));
        records.back().Selected = 1;
    }
    return records;
}

std::vector<TargetState> SunAndMoon()
{
    return {SentinelState(ModeAll, BodyMoon), SentinelState(ModeAll, BodySun)};
}

// Everything a run computed, in order.
struct Results {
    std::vector<TargetState> states;
    std::vector<double> elevations;
};

void ExpectSameResults(const Results &actual, const Results &expected, const char *who)
{
    ASSERT_EQ(actual.states.size(), expected.states.size()) << who;
    ASSERT_EQ(actual.elevations, expected.elevations) << who;
    for (std::size_t i = 0; i < actual.states.size(); ++i)
        ASSERT_TRUE(SameState(actual.states[i], expected.states[i])) << who << " differs at result " << i;
}

// The Delta T cache is recomputed on the first body after a jump of more
// than a year, so a run that starts with one starts from a known cache.
void StartDeltaTCacheAfresh(double instant)
{
    Vec4 ignored;
    CalcBodyGeocentric(BodySun, ignored, instant - 1000.0);
}

// A worker search: its own copy of the observer and of the records, one
// step a minute over a day from the first record's epoch.
Results RunSearch(ObserverRecord observer, tlearray records, bool withBodies)
{
    Results results;
    std::vector<TargetState> bodies = SunAndMoon();
    const double start = records[0].Elements.epoch - JulianDateOfDayZero;
    if (withBodies)
        StartDeltaTCacheAfresh(start);
    for (int minute = 0; minute < 1440; ++minute) {
        const double instant = start + minute / 1440.0;
        const double gmst = UpdateSiderealObserver(instant, observer);
        for (TleRecord &record : records) {
            TargetState state;
            state.Mode = ModeAll;
            PropagateSatellite(record, state, gmst, instant, observer);
            results.states.push_back(state);
            results.elevations.push_back(CalcTargetElevation(state, observer));
        }
        if (withBodies) {
            for (TargetState &body : bodies) {
                UpdateBody(body, gmst, instant, observer);
                results.states.push_back(body);
            }
        }
    }
    return results;
}

// The clock tick on this thread: the global observer, main list and state
// arrays, 30 seconds a tick.
Results RunTicks(const tlearray &records, bool withBodies)
{
    Results results;
    MainList = records;
    SatStates.assign(records.size(), TargetState{});
    for (TargetState &state : SatStates)
        state.Mode = ModeAll;
    BodyStates = withBodies ? SunAndMoon() : std::vector<TargetState>{};
    BodyCount = static_cast<int>(BodyStates.size()) - 1;
    const double start = records[0].Elements.epoch - JulianDateOfDayZero;
    if (withBodies)
        StartDeltaTCacheAfresh(start);
    for (int tick = 0; tick < 1000; ++tick) {
        CurrentTime = start + tick * 30.0 / 86400.0;
        SiderealTime = UpdateSiderealObserver(CurrentTime, Observer);
        UpdateBodies(BodyCount);
        UpdateSelectedSatellites();
        for (const TargetState &state : SatStates) {
            results.states.push_back(state);
            results.elevations.push_back(CalcTargetElevation(state, Observer));
        }
        results.states.insert(results.states.end(), BodyStates.begin(), BodyStates.end());
    }
    return results;
}

class SharedStateThreads : public SharedStateTest {
protected:
    void SetUp() override
    {
        SharedStateTest::SetUp();
        Observer = MakeObserver(0.933, -1.18, 100.0);
        Options.ViewMode = ViewModeMap;
    }

    // Runs the search on a worker thread while this thread ticks, after a
    // run of each alone.
    void RunBothWays(bool withBodies)
    {
        const ObserverRecord searchObserver = MakeObserver(-0.6, 2.5, 100.0);
        const tlearray searchRecords = SatellitesAt("95152.50000000");
        const tlearray tickRecords = SatellitesAt("30001.00000000");

        const Results searchAlone = RunSearch(searchObserver, searchRecords, withBodies);
        const Results ticksAlone = RunTicks(tickRecords, withBodies);

        std::atomic<bool> go{false};
        Results searchTogether;
        std::thread worker([&] {
            while (!go.load())
                std::this_thread::yield();
            searchTogether = RunSearch(searchObserver, searchRecords, withBodies);
        });
        go = true;
        const Results ticksTogether = RunTicks(tickRecords, withBodies);
        worker.join();

        ExpectSameResults(searchTogether, searchAlone, "the worker search");
        ExpectSameResults(ticksTogether, ticksAlone, "the clock tick");
    }

    ObserverRecord savedObserver{};
    int savedViewMode = 0;
};

} // namespace

TEST_F(SharedStateThreads, SatellitesKeepTheirOwnInstantAndObserver)
{
    RunBothWays(false);
}

TEST_F(SharedStateThreads, SatellitesAndBodiesKeepTheirOwnInstantAndObserver)
{
    LOAD_DEFAULT_EPHEMERIS_OR_SKIP();
    RunBothWays(true);
    FreeDEFile();
}
