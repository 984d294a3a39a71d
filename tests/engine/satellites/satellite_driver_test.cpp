// The satellite driver over the orbit library: record layout, element
// parsing into records, propagation with the derived coordinates of each
// state mode, decay and failure handling, and the per-tick update of the
// selected satellites.
#include "engine/satellites/satellite_driver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <utility>

#include "engine/files/element_files.h"
#include "engine/runtime/program_state.h"
#include "engine/astronomy/vectors.h"
#include "engine/satellite_test_support.h"

// The record image of the satellite set files: every field at its stored offset.
TEST(TleRecordImage, FieldsReadFromTheirStoredOffsets)
{
    unsigned char image[1016] = {};
    const std::pair<std::size_t, double> doubles[] = {{0, 2454729.5}, {936, 15.5}, {944, 92.9},
                                                      {952, 340.0}, {960, 360.0}, {976, 4.2}};
    for (const auto &[offset, value] : doubles)
        std::memcpy(image + offset, &value, 8);
    image[104] = 0xA5;   // first byte of the work area
    image[935] = 0x5A;   // last byte of the work area
    image[968] = image[984] = image[985] = 1;
    std::memcpy(image + 986, "\3ISS", 4);
    std::memcpy(image + 1007, "\x05" "25544", 6);

    TleRecord record;
    std::memcpy(static_cast<void *>(&record), image, sizeof image);
    EXPECT_EQ(record.Elements.epoch, 2454729.5);
    EXPECT_EQ(record.Params.Bytes[0], 0xA5);
    EXPECT_EQ(record.Params.Bytes[831], 0x5A);
    EXPECT_EQ(record.MeanMotion, 15.5);
    EXPECT_EQ(record.Period, 92.9);
    EXPECT_EQ(record.PerigeeHeight, 340.0);
    EXPECT_EQ(record.ApogeeHeight, 360.0);
    EXPECT_EQ(record.StdMagnitude, 4.2);
    EXPECT_EQ(record.DeepSpace + record.Decayed + record.Selected, 3);
    EXPECT_EQ(record.Name.str(), "ISS");
    EXPECT_EQ(record.Number.str(), "25544");
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
    // At mid-latitude, where the geodetic and the geocentric vertical part:
    // the state's elevation and CalcTargetElevation share one horizon.
    ObserverRecord observer = MakeObserver(0.9, 0.3);
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
        if (e.raDec) {
            EXPECT_EQ(state.RaDec.first, full.RaDec.first) << e.mode;
        }
        if (e.horizon) {
            EXPECT_NEAR(state.Elevation, CalcTargetElevation(state, observer), 1e-9) << e.mode;
        }
        if (e.subPoint) {
            EXPECT_EQ(state.SubPoint.second, full.SubPoint.second) << e.mode;
        }
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
    TleRecord record = MakeSatellite(WithField(IssLine1, 54, " 99999-0"), IssLine2);
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

class SelectedSatellitesTest : public SharedStateTest {};

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
