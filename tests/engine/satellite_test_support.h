// Element lines, observers and the default ephemeris for the tests of the
// satellite driver, the bodies and their use from several threads.
#pragma once

#include <gtest/gtest.h>

#include <charconv>
#include <string>

#include "engine/astronomy/astro_time.h"
#include "engine/astronomy/constants.h"
#include "engine/astronomy/de_reader.h"
#include "engine/runtime/program_state.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/files/settings.h"
#include "set_up_data.h"

// A published element set of the ISS (2008 September 20).
inline const std::string IssLine1 = "1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927";
inline const std::string IssLine2 = "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537";

// line with its checksum digit (column 69) recomputed.
inline std::string WithChecksum(std::string line)
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

// line with text put in from column (1-based) on, checksum recomputed.
inline std::string WithField(std::string line, int column, const std::string &text)
{
    line.replace(column - 1, text.size(), text);
    return WithChecksum(line);
}

// The ISS line 2 with another mean motion (revolutions a day).
inline std::string Line2WithMeanMotion(double revolutionsPerDay)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, revolutionsPerDay,
                                   std::chars_format::fixed, 8).ptr;
    std::string field(text, end);
    field.insert(0, 11 - field.size(), ' ');
    return WithField(IssLine2, 53, field);
}

// A record ready to propagate.
inline TleRecord MakeSatellite(const std::string &line1, const std::string &line2)
{
    TleRecord record;
    EXPECT_GE(ParseSatElements(line1, line2, record, false), 0);
    InitSatelliteModel(record);
    return record;
}

// The instant (day count) minutes after the record's element epoch.
inline double InstantAfterEpoch(const TleRecord &record, double minutes)
{
    return record.Elements.epoch - JulianDateOfDayZero + minutes / 1440.0;
}

inline ObserverRecord MakeObserver(double latitude, double longitude, double height = 0.0)
{
    ObserverRecord observer{};
    observer.Latitude = latitude;
    observer.Longitude = longitude;
    observer.Height = height;
    CalcObserverRho(Angles3{latitude, longitude, height}, observer.RhoSinPhi, observer.RhoCosPhi);
    return observer;
}

// Field by field: padding bytes need not survive a copy.
inline bool SameState(const TargetState &a, const TargetState &b)
{
    return a.Position.x == b.Position.x && a.Position.y == b.Position.y && a.Position.z == b.Position.z &&
           a.Position.w == b.Position.w && a.Velocity.w == b.Velocity.w && a.RaDec.first == b.RaDec.first &&
           a.RaDec.second == b.RaDec.second && a.RaDec.third == b.RaDec.third &&
           a.SubPoint.first == b.SubPoint.first && a.SubPoint.second == b.SubPoint.second &&
           a.Elevation == b.Elevation && a.Azimuth == b.Azimuth && a.Lit == b.Lit;
}

inline constexpr double Sentinel = 12345.0;

// A state whose derived coordinates show whether anything wrote them.
inline TargetState SentinelState(int mode, int body = 0)
{
    TargetState state;
    state.RaDec = {Sentinel, Sentinel, Sentinel};
    state.SubPoint = {Sentinel, Sentinel, Sentinel};
    state.Elevation = Sentinel;
    state.Azimuth = Sentinel;
    state.Mode = mode;
    state.BodyId = body;
    return state;
}

// Loads the default ephemeris that the set-up converts, or skips the test
// when there is none (fails instead when KYT_REQUIRE_DATA=1).
#define LOAD_DEFAULT_EPHEMERIS_OR_SKIP()                                                        \
    do {                                                                                        \
        KYT_SETUP_FOLDER_OR_SKIP(dir_, "de_files/1957_2050.423");                               \
        ASSERT_TRUE(LoadDEFile(dir_ + "/de_files/1957_2050.423"));                              \
    } while (false)

// Restores the engine's shared state (observer, view mode, lists) that a
// test of the driver changes.
class SharedStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedObserver = Observer;
        savedViewMode = Options.ViewMode;
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
    ObserverRecord savedObserver;
    int savedViewMode = 0;
};
