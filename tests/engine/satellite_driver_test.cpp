// The satellite driver over the orbit library: record layout, element
// parsing into records, propagation with the derived coordinates of each
// state mode, decay and failure handling, and the per-tick update of the
// selected satellites.
#include "engine/satellite_driver.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "engine/astro_time.h"
#include "engine/constants.h"
#include "engine/element_files.h"
#include "engine/geodesy.h"
#include "engine/program_state.h"
#include "engine/vectors.h"

namespace {

// A published element set of the ISS (2008 September 20).
const std::string IssLine1 = "1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927";
const std::string IssLine2 = "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537";

// line with its checksum digit (column 69) recomputed.
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

// The ISS line 2 with another mean motion (revolutions a day) in columns 53-63.
std::string Line2WithMeanMotion(double revolutionsPerDay)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, revolutionsPerDay,
                                   std::chars_format::fixed, 8).ptr;
    std::string field(text, end);
    field.insert(0, 11 - field.size(), ' ');
    std::string line = IssLine2;
    line.replace(52, 11, field);
    return WithChecksum(line);
}

// The ISS line 1 with another B* field (columns 54-61).
std::string Line1WithBstar(const std::string &field)
{
    std::string line = IssLine1;
    line.replace(53, 8, field);
    return WithChecksum(line);
}

TleRecord MakeSatellite(const std::string &line1, const std::string &line2)
{
    TleRecord record;
    EXPECT_GE(ParseSatElements(line1, line2, record, false), 0);
    InitSatelliteModel(record);
    return record;
}

// Instant (day count) of minutes after the record's element epoch.
double InstantAfterEpoch(const TleRecord &record, double minutes)
{
    return record.Elements.epoch - JulianDateOfDayZero + minutes / 1440.0;
}

ObserverRecord MakeObserver(double latitude, double longitude)
{
    ObserverRecord observer{};
    observer.Latitude = latitude;
    observer.Longitude = longitude;
    observer.Height = 0.0;
    CalcObserverRho(Angles3{latitude, longitude, 0.0}, observer.RhoSinPhi, observer.RhoCosPhi);
    return observer;
}

// Field by field: padding bytes need not survive a copy.
bool SameState(const TargetState &a, const TargetState &b)
{
    return a.Position.x == b.Position.x && a.Position.y == b.Position.y && a.Position.z == b.Position.z &&
           a.Position.w == b.Position.w && a.Velocity.w == b.Velocity.w && a.RaDec.first == b.RaDec.first &&
           a.RaDec.second == b.RaDec.second && a.RaDec.third == b.RaDec.third &&
           a.SubPoint.first == b.SubPoint.first && a.SubPoint.second == b.SubPoint.second &&
           a.Elevation == b.Elevation && a.Azimuth == b.Azimuth && a.Lit == b.Lit;
}

constexpr double Sentinel = 12345.0;

TargetState SentinelState(int mode)
{
    TargetState state;
    state.RaDec = {Sentinel, Sentinel, Sentinel};
    state.SubPoint = {Sentinel, Sentinel, Sentinel};
    state.Elevation = Sentinel;
    state.Azimuth = Sentinel;
    state.Mode = mode;
    return state;
}

} // namespace

// The record image of the satellite set files: every field at its stored offset.
TEST(TleRecordImage, FieldsReadFromTheirStoredOffsets)
{
    unsigned char image[1016] = {};
    auto put = [&](std::size_t offset, double value) { std::memcpy(image + offset, &value, 8); };
    put(0, 2454729.5);   // Elements.epoch
    image[104] = 0xA5;   // first byte of the work area
    image[935] = 0x5A;   // last byte of the work area
    put(936, 15.5);
    put(944, 92.9);
    put(952, 340.0);
    put(960, 360.0);
    image[968] = 1;
    put(976, 4.2);
    image[984] = 1;
    image[985] = 1;
    image[986] = 3;
    std::memcpy(image + 987, "ISS", 3);
    image[1007] = 5;
    std::memcpy(image + 1008, "25544", 5);

    TleRecord record;
    std::memcpy(static_cast<void *>(&record), image, sizeof image);
    EXPECT_EQ(record.Elements.epoch, 2454729.5);
    EXPECT_EQ(record.Params.Bytes[0], 0xA5);
    EXPECT_EQ(record.Params.Bytes[831], 0x5A);
    EXPECT_EQ(record.MeanMotion, 15.5);
    EXPECT_EQ(record.Period, 92.9);
    EXPECT_EQ(record.PerigeeHeight, 340.0);
    EXPECT_EQ(record.ApogeeHeight, 360.0);
    EXPECT_EQ(record.DeepSpace, 1);
    EXPECT_EQ(record.StdMagnitude, 4.2);
    EXPECT_EQ(record.Decayed, 1);
    EXPECT_EQ(record.Selected, 1);
    EXPECT_EQ(record.Name.str(), "ISS");
    EXPECT_EQ(record.Number.str(), "25544");

    // A default record is all zero but its magnitude, and copies byte for byte.
    const TleRecord blank;
    EXPECT_EQ(blank.StdMagnitude, 8.0);
    EXPECT_EQ(blank.Name.length, 0);
}

TEST(ParseSatElements, PeriodAndModelChoiceFollowTheMeanMotionText)
{
    struct Case {
        double meanMotion;
        double period;
        int deepSpace;
    };
    const Case cases[] = {
        {15.5, 92.903225806, 0},
        {1.0027, 1436.1224693, 1},
        {6.4, 225.0, 1},          // exactly 225 minutes: deep space
        {6.40000001, 224.99999965, 0},
    };
    for (const Case &c : cases) {
        TleRecord record;
        EXPECT_EQ(ParseSatElements(IssLine1, Line2WithMeanMotion(c.meanMotion), record, false), 0);
        EXPECT_EQ(record.MeanMotion, c.meanMotion);
        EXPECT_NEAR(record.Period, c.period, 1e-6) << c.meanMotion;
        EXPECT_EQ(record.DeepSpace, c.deepSpace) << c.meanMotion;
    }
    // A wrong checksum digit is only reported.
    TleRecord record;
    std::string line2 = IssLine2;
    line2[68] = '0';
    EXPECT_EQ(ParseSatElements(IssLine1, line2, record, false), 2);
    EXPECT_EQ(record.Elements.catnum, 25544);
}

TEST(ParseSatElements, RejectedLinesLeaveTheRecordAsItWas)
{
    TleRecord record = MakeSatellite(IssLine1, IssLine2);
    record.Name.assign("ISS (ZARYA)");
    record.Number.assign("25544");
    const TleRecord before = record;

    EXPECT_EQ(ParseSatElements(IssLine1, Line2WithMeanMotion(0.0), record, false), -1);
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
    EXPECT_EQ(ParseSatElements(IssLine2, IssLine1, record, true), -104);
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
    EXPECT_LT(ParseSatElements(IssLine1, IssLine2.substr(0, 60), record, true), 0);
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
}

TEST(ParseSatElements, HeightsOnlyWhenAskedFor)
{
    TleRecord record;
    record.PerigeeHeight = -1.0;
    record.ApogeeHeight = -2.0;
    ASSERT_EQ(ParseSatElements(IssLine1, IssLine2, record, false), 0);
    EXPECT_EQ(record.PerigeeHeight, -1.0);
    EXPECT_EQ(record.ApogeeHeight, -2.0);

    // Two-body semi-major axis of 15.72125391 revolutions a day; the model's
    // oblateness term moves it by under a kilometre.
    const double n = 15.72125391 * TwoPi / 86400.0;
    const double a = std::cbrt(398600.4418 / (n * n));
    const double e = 0.0006703;
    ASSERT_EQ(ParseSatElements(IssLine1, IssLine2, record, true), 0);
    EXPECT_NEAR(record.PerigeeHeight, a * (1 - e) - EarthRadiusKm, 2.0);
    EXPECT_NEAR(record.ApogeeHeight, a * (1 + e) - EarthRadiusKm, 2.0);
}

TEST(LoadSatFromElementRecord, TakesOnlyElementsInRangeThatParse)
{
    ElementRecord element;
    element.Name.assign("ISS (ZARYA)");
    element.Number.assign("25544");
    element.Line1.assign(IssLine1);
    element.Line2.assign(IssLine2);
    element.StdMagnitude = -0.5;
    element.MeanMotion = 15.72125391;

    TleRecord record;
    record.Name.assign("OLD");
    // Both bounds are exclusive.
    EXPECT_FALSE(LoadSatFromElementRecord(record, element, false, 15.72125391, 20.0));
    EXPECT_FALSE(LoadSatFromElementRecord(record, element, false, 0.0, 15.72125391));
    EXPECT_EQ(record.Name.str(), "OLD");

    ASSERT_TRUE(LoadSatFromElementRecord(record, element, false, 0.0, 20.0));
    EXPECT_EQ(record.Name.str(), "ISS (ZARYA)");
    EXPECT_EQ(record.Number.str(), "25544");
    EXPECT_EQ(record.StdMagnitude, -0.5);
    // The model is ready: the record propagates at once.
    ObserverRecord observer = MakeObserver(0.9, -1.2);
    const double instant = InstantAfterEpoch(record, 10.0);
    TargetState state;
    EXPECT_TRUE(PropagateSatellite(record, state, UpdateSiderealObserver(instant, observer), instant, observer));

    // A damaged element record does not rename a working satellite.
    const TleRecord before = record;
    ElementRecord damaged = element;
    damaged.Name.assign("DAMAGED");
    damaged.Line2.assign(IssLine2.substr(0, 50));
    EXPECT_FALSE(LoadSatFromElementRecord(record, damaged, false, 0.0, 20.0));
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
}

// The instant turns into minutes since the element epoch, and the record's
// deep-space flag picks the model (a 225-minute orbit already takes SDP4).
TEST(PropagateSatellite, FollowsTheChosenModelAtTheTimeSinceEpoch)
{
    for (double meanMotion : {15.72125391, 6.4}) {
        TleRecord record = MakeSatellite(IssLine1, Line2WithMeanMotion(meanMotion));
        TleRecord reference = record;
        Vec4 expected{};
        if (meanMotion == 6.4) {
            ASSERT_EQ(record.DeepSpace, 1);
            ASSERT_EQ(SDP4(90.0, &reference.Elements, &reference.Params.Sdp4, &expected, nullptr), 0);
        } else {
            ASSERT_EQ(record.DeepSpace, 0);
            ASSERT_EQ(SGP4(90.0, &reference.Elements, &reference.Params.Sgp4, &expected, nullptr), 0);
        }
        ObserverRecord observer = MakeObserver(0.9, -1.2);
        const double instant = InstantAfterEpoch(record, 90.0);
        TargetState state;
        ASSERT_TRUE(PropagateSatellite(record, state, UpdateSiderealObserver(instant, observer), instant, observer));
        EXPECT_NEAR(state.Position.x, expected.x, 1e-5);
        EXPECT_NEAR(state.Position.y, expected.y, 1e-5);
        EXPECT_NEAR(state.Position.z, expected.z, 1e-5);
        EXPECT_NEAR(state.Position.w, expected.w, 1e-5);
        EXPECT_GT(state.Velocity.w, 0.0);
    }
}

TEST(PropagateSatellite, EachModeDerivesOnlyItsCoordinates)
{
    struct Expect {
        int mode;
        bool raDec, horizon, subPoint;
    };
    const Expect table[] = {
        {ModeNothing, false, false, false},   {ModeAll, true, true, true},
        {ModeRaDec, true, false, false},      {ModeSubPoint, false, false, true},
        {ModeRaDecHorizon, true, true, false}, {ModeRaDecSubPoint, true, false, true},
        {ModeGeocentricRaDec, false, false, false}, {7, false, false, false},
    };
    // An observer on the equator: its horizon plane and the one of
    // CalcTargetElevation coincide, so both elevations must agree.
    ObserverRecord observer = MakeObserver(0.0, 0.3);
    TleRecord record = MakeSatellite(IssLine1, IssLine2);
    const double instant = InstantAfterEpoch(record, 30.0);
    const double gmst = UpdateSiderealObserver(instant, observer);

    TargetState full = SentinelState(ModeAll);
    ASSERT_TRUE(PropagateSatellite(record, full, gmst, instant, observer));
    for (const Expect &e : table) {
        TargetState state = SentinelState(e.mode);
        ASSERT_TRUE(PropagateSatellite(record, state, gmst, instant, observer)) << e.mode;
        EXPECT_EQ(state.RaDec.first != Sentinel, e.raDec) << e.mode;
        EXPECT_EQ(state.Elevation != Sentinel, e.horizon) << e.mode;
        EXPECT_EQ(state.Azimuth != Sentinel, e.horizon) << e.mode;
        EXPECT_EQ(state.SubPoint.first != Sentinel, e.subPoint) << e.mode;
        if (e.raDec)
            EXPECT_EQ(state.RaDec.first, full.RaDec.first) << e.mode;
        if (e.horizon)
            EXPECT_NEAR(state.Elevation, CalcTargetElevation(state, observer), 1e-9) << e.mode;
        if (e.subPoint)
            EXPECT_EQ(state.SubPoint.second, full.SubPoint.second) << e.mode;
    }

    // The right ascension and declination are carried to J2000: taken back
    // to the date they are the topocentric direction of date.
    Angles3 ofDate, carriedBack;
    CalcTopoRaDec(full.Position, observer.Eci, ofDate);
    PrecessFromJ2000(full.RaDec, carriedBack, instant + JulianDateOfDayZero);
    EXPECT_NEAR(NormalizeAnglePi(carriedBack.first - ofDate.first), 0.0, 2e-5);
    EXPECT_NEAR(carriedBack.second, ofDate.second, 2e-5);
    EXPECT_NEAR(full.RaDec.third, ofDate.third, 1e-9);
    // The ISS is some 350 km above the ground.
    EXPECT_GT(full.SubPoint.third, 300.0);
    EXPECT_LT(full.SubPoint.third, 400.0);
}

TEST(PropagateSatellite, DecayIsSetInsideTheEarthAndClearedAbove)
{
    // 17.2 revolutions a day: an orbit that lies inside the Earth.
    TleRecord sunk = MakeSatellite(IssLine1, Line2WithMeanMotion(17.2));
    ObserverRecord observer = MakeObserver(0.9, -1.2);
    const double instant = InstantAfterEpoch(sunk, 1.0);
    const double gmst = UpdateSiderealObserver(instant, observer);
    TargetState state = SentinelState(ModeAll);
    const TargetState before = state;
    EXPECT_FALSE(PropagateSatellite(sunk, state, gmst, instant, observer));
    EXPECT_EQ(sunk.Decayed, 1);
    EXPECT_TRUE(SameState(state, before));

    TleRecord iss = MakeSatellite(IssLine1, IssLine2);
    iss.Decayed = 1;
    EXPECT_TRUE(PropagateSatellite(iss, state, gmst, instant, observer));
    EXPECT_EQ(iss.Decayed, 0);
}

TEST(PropagateSatellite, FailureKeepsThePreviousState)
{
    // B* near 1: drag ends the orbit within days and the model gives up.
    TleRecord record = MakeSatellite(Line1WithBstar(" 99999-0"), IssLine2);
    ObserverRecord observer = MakeObserver(0.9, -1.2);
    double instant = InstantAfterEpoch(record, 1.0);
    TargetState state = SentinelState(ModeAll);
    ASSERT_TRUE(PropagateSatellite(record, state, UpdateSiderealObserver(instant, observer), instant, observer));
    const TargetState good = state;

    instant = InstantAfterEpoch(record, 30.0 * 1440.0);
    EXPECT_FALSE(PropagateSatellite(record, state, UpdateSiderealObserver(instant, observer), instant, observer));
    EXPECT_TRUE(SameState(state, good));
    EXPECT_EQ(record.Decayed, 0);

    // An instant that is no number gives no position either.
    instant = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(PropagateSatellite(record, state, 0.0, instant, observer));
    EXPECT_TRUE(SameState(state, good));
}

class SelectedSatellitesTest : public ::testing::Test {
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
    }
    ObserverRecord savedObserver;
    int savedViewMode = 0;
};

// Slot k belongs to the k-th selected record whether or not an earlier one
// propagated; a failed slot keeps its state and its sunlit flag.
TEST_F(SelectedSatellitesTest, SlotsFollowTheSelectedRecordsInOrder)
{
    const TleRecord iss = MakeSatellite(IssLine1, IssLine2);
    const TleRecord sunk = MakeSatellite(IssLine1, Line2WithMeanMotion(17.2));
    const TleRecord high = MakeSatellite(IssLine1, Line2WithMeanMotion(12.0));
    const TleRecord deep = MakeSatellite(IssLine1, Line2WithMeanMotion(2.0));
    MainList = {iss, high, deep, sunk, high, deep};
    for (TleRecord &r : MainList)
        r.Selected = 1;
    MainList[1].Selected = 0;   // selected: iss, deep, sunk, high, deep

    Observer = MakeObserver(0.9, -1.2);
    Options.ViewMode = ViewModeMap;
    CurrentTime = InstantAfterEpoch(iss, 45.0);
    SiderealTime = UpdateSiderealObserver(CurrentTime, Observer);
    TargetState sun;
    sun.BodyId = BodySun;
    sun.Position = MakeVector(1.0e8, 1.0e8, 2.0e7);
    BodyStates = {TargetState{}, sun};
    SatStates.assign(5, SentinelState(ModeAll));
    SatStates[2].Lit = 7;

    UpdateSelectedSatellites();

    Vec4 sunOfDate;
    PrecessVectorFromJ2000(sun.Position, sunOfDate, CurrentTime + JulianDateOfDayZero);
    const TleRecord expectedRecords[] = {iss, deep, sunk, high, deep};
    for (int k = 0; k < 5; ++k) {
        if (k == 2) {
            EXPECT_EQ(SatStates[k].Lit, 7);
            EXPECT_EQ(SatStates[k].RaDec.first, Sentinel);
            EXPECT_EQ(MainList[3].Decayed, 1);
            continue;
        }
        TleRecord copy = expectedRecords[k];
        TargetState expected = SentinelState(ModeAll);
        ASSERT_TRUE(PropagateSatellite(copy, expected, SiderealTime, CurrentTime, Observer));
        EXPECT_EQ(SatStates[k].Position.x, expected.Position.x) << k;
        EXPECT_EQ(SatStates[k].Lit, IsSunlit(expected.Position, sunOfDate) ? 1 : 0) << k;
    }

    // In the sky view the Sun is entry 9; a body list not rebuilt for it
    // lights nothing, but the satellites still move.
    Options.ViewMode = ViewModeSky;
    SatStates.assign(5, SentinelState(ModeAll));
    for (TargetState &s : SatStates)
        s.Lit = 7;
    UpdateSelectedSatellites();
    EXPECT_NE(SatStates[0].RaDec.first, Sentinel);
    EXPECT_EQ(SatStates[0].Lit, 7);

    // Fewer slots than selected records: the extra records are not written anywhere.
    SatStates.assign(2, SentinelState(ModeAll));
    UpdateSelectedSatellites();
    EXPECT_EQ(SatStates.size(), 2u);
}
