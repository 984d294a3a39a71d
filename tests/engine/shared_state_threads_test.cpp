// A worker search and the clock tick at the same time: each propagates
// satellites and moves the bodies for its own instants (different years,
// different observers) and must get exactly what it gets when it runs alone.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "engine/astro_time.h"
#include "engine/bodies.h"
#include "engine/constants.h"
#include "engine/de_reader.h"
#include "engine/program_state.h"
#include "engine/satellite_driver.h"

namespace {

const std::string Line1 = "1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927";
const std::string Line2 = "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537";

std::string WithChecksum(std::string line)
{
    int sum = 0;
    for (int i = 0; i < 68; ++i) {
        if (line[i] >= '0' && line[i] <= '9')
            sum += line[i] - '0';
        else if (line[i] == '-')
            sum += 1;
    }
    line[68] = static_cast<char>('0' + sum % 10);
    return line;
}

// A near-earth, a deep-space and a synchronous satellite with their element
// epoch at the given two-digit year and day ("95152.50000000").
tlearray SatellitesAt(const std::string &epochField)
{
    std::string line1 = Line1;
    line1.replace(18, 14, epochField);
    line1 = WithChecksum(line1);
    tlearray records;
    for (const char *meanMotion : {"15.72125391", " 2.00000000", " 1.00270000"}) {
        std::string line2 = Line2;
        line2.replace(52, 11, meanMotion);
        TleRecord record;
        EXPECT_GE(ParseSatElements(line1, WithChecksum(line2), record, false), 0);
        InitSatelliteModel(record);
        record.Selected = 1;
        records.push_back(record);
    }
    return records;
}

ObserverRecord MakeObserver(double latitude, double longitude)
{
    ObserverRecord observer{};
    observer.Latitude = latitude;
    observer.Longitude = longitude;
    observer.Height = 100.0;
    CalcObserverRho(Angles3{latitude, longitude, 100.0}, observer.RhoSinPhi, observer.RhoCosPhi);
    return observer;
}

std::vector<TargetState> SunAndMoon()
{
    TargetState moon, sun;
    moon.BodyId = BodyMoon;
    moon.Mode = ModeAll;
    sun.BodyId = BodySun;
    sun.Mode = ModeAll;
    return {moon, sun};
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
    for (std::size_t i = 0; i < actual.states.size(); ++i) {
        const TargetState &a = actual.states[i], &e = expected.states[i];
        ASSERT_TRUE(a.Position.x == e.Position.x && a.Position.y == e.Position.y &&
                    a.Position.z == e.Position.z && a.RaDec.first == e.RaDec.first &&
                    a.RaDec.second == e.RaDec.second && a.SubPoint.second == e.SubPoint.second &&
                    a.Elevation == e.Elevation && a.Azimuth == e.Azimuth && a.Lit == e.Lit)
            << who << " differs at result " << i;
    }
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

class SharedStateThreads : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedObserver = Observer;
        savedViewMode = Options.ViewMode;
        Observer = MakeObserver(0.933, -1.18);
        Options.ViewMode = ViewModeMap;
    }
    void TearDown() override
    {
        Observer = savedObserver;
        Options.ViewMode = savedViewMode;
        MainList.clear();
        SatStates.clear();
        BodyStates.clear();
        BodyCount = -1;
    }

    // Runs the search on a worker thread while this thread ticks, after a
    // run of each alone.
    void RunBothWays(bool withBodies)
    {
        const ObserverRecord searchObserver = MakeObserver(-0.6, 2.5);
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
    const char *dir = std::getenv("KYT_TEST_DATA_DIR");
    const char *required = std::getenv("KYT_REQUIRE_DATA");
    const std::string path = std::string(dir ? dir : "") + "/de_files/1957_2050.423";
    if (!dir || !std::filesystem::exists(path)) {
        if (required && std::string_view(required) == "1")
            FAIL() << "missing " << path;
        GTEST_SKIP() << "no ephemeris at " << path;
    }
    ASSERT_TRUE(LoadDEFile(path));
    RunBothWays(true);
    FreeDEFile();
}
