// The selected satellite's ground track and the small circles on the ground.
#include "views/ground_track.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "engine/astronomy/constants.h"
#include "engine/runtime/program_state.h"
#include "engine/satellites/satellite_driver.h"
#include "engine/files/settings.h"
#include "engine/satellite_test_support.h"
#include "view_test_support.h"

namespace {

// The epoch of the shared ISS elements as a day count.
constexpr double IssEpoch = 2454730.01782528 - JulianDateOfDayZero;

TleRecord Satellite(const std::string &line1, const std::string &line2)
{
    TleRecord record;
    EXPECT_GE(ParseSatElements(line1, line2, record, true), 0);
    InitSatelliteModel(record);
    record.Selected = 1;
    return record;
}

// The ISS with an eccentricity of 0.06: its perigee lies under the ground,
// a few minutes after the epoch.
TleRecord DecayingSatellite()
{
    std::string line2 = IssLine2;
    line2.replace(26, 7, "0600000");
    return Satellite(IssLine1, WithChecksum(line2));
}

Angles3 SubPointAt(TleRecord record, double instant)
{
    ObserverRecord observer = Observer;
    TargetState state;
    state.Mode = ModeSubPoint;
    const double gmst = UpdateSiderealObserver(instant, observer);
    EXPECT_TRUE(PropagateSatellite(record, state, gmst, instant, observer));
    return state.SubPoint;
}

// Initial bearing of the great circle from a to b, from north through east.
double Bearing(const Angles3 &a, const Angles3 &b)
{
    const double dLon = b.second - a.second;
    return std::atan2(std::sin(dLon) * std::cos(b.first),
                      std::cos(a.first) * std::sin(b.first) - std::sin(a.first) * std::cos(b.first) * std::cos(dLon));
}

double Separation(const Angles3 &a, const Angles3 &b)
{
    const double c = std::sin(a.first) * std::sin(b.first) +
                     std::cos(a.first) * std::cos(b.first) * std::cos(a.second - b.second);
    return std::acos(std::clamp(c, -1.0, 1.0));
}

class GroundTrackTest : public ViewScene {
protected:
    void SetUp() override
    {
        ViewScene::SetUp();
        MainList = {Satellite(IssLine1, IssLine2)};
        SatStates.assign(1, TargetState{});
        SatStates[0].Mode = ModeAll;
        SelectedMain = SelectedPos = 0;
        Options.TrackHours = 5;
        CurrentTime = IssEpoch + 0.25;
    }
};

} // namespace

TEST_F(GroundTrackTest, CoversTheTrackHoursInTheClocksDirection)
{
    const Vec4 observerBefore = Observer.Eci;
    Step = 1000;
    CalcGroundTrack();
    ASSERT_EQ(TrackPoints.size(), 300u);
    EXPECT_DOUBLE_EQ(TrackStart, CurrentTime);
    EXPECT_NEAR((TrackEnd - CurrentTime) * 1440.0, 300.0, 1e-6);
    for (int minute : {0, 1, 150, 299}) {
        const Angles3 expected = SubPointAt(MainList[0], CurrentTime + minute / 1440.0);
        EXPECT_NEAR(TrackPoints[minute].first, expected.first, 1e-9) << minute;
        EXPECT_NEAR(TrackPoints[minute].second, expected.second, 1e-9) << minute;
    }

    Step = -5000;
    CalcGroundTrack();
    ASSERT_EQ(TrackPoints.size(), 300u);
    EXPECT_DOUBLE_EQ(TrackEnd, CurrentTime);
    EXPECT_NEAR((CurrentTime - TrackStart) * 1440.0, 300.0, 1e-6);
    const Angles3 earlier = SubPointAt(MainList[0], CurrentTime - 299 / 1440.0);
    EXPECT_NEAR(TrackPoints[299].second, earlier.second, 1e-9);

    // The shared observer and the selected record are left as they were.
    EXPECT_EQ(Observer.Eci.x, observerBefore.x);
    EXPECT_EQ(MainList[0].Decayed, 0);
    EXPECT_EQ(SatStates[0].Mode, ModeAll);
}

TEST_F(GroundTrackTest, StopsWhereTheSatelliteDecays)
{
    MainList = {DecayingSatellite()};
    CurrentTime = MainList[0].Elements.epoch - JulianDateOfDayZero;
    // The first minute at which the propagation finds it inside the Earth.
    TleRecord probe = MainList[0];
    ObserverRecord observer = Observer;
    TargetState state;
    state.Mode = ModeSubPoint;
    int decayMinute = 0;
    for (;; ++decayMinute) {
        const double t = CurrentTime + decayMinute / 1440.0;
        if (!PropagateSatellite(probe, state, UpdateSiderealObserver(t, observer), t, observer))
            break;
    }
    ASSERT_TRUE(probe.Decayed);
    ASSERT_GT(decayMinute, 0);
    ASSERT_LT(decayMinute, 300);

    Step = 1000;
    CalcGroundTrack();
    EXPECT_EQ(TrackPoints.size(), static_cast<std::size_t>(decayMinute));
    EXPECT_NEAR((TrackEnd - CurrentTime) * 1440.0, decayMinute, 1e-6);
    for (const Angles3 &point : TrackPoints)
        EXPECT_GT(point.third, 0.0);

    // A satellite already decayed gets no track at all; the span stays.
    MainList[0].Decayed = 1;
    const double start = TrackStart, end = TrackEnd;
    CalcGroundTrack();
    EXPECT_TRUE(TrackPoints.empty());
    EXPECT_EQ(TrackStart, start);
    EXPECT_EQ(TrackEnd, end);
}

TEST_F(GroundTrackTest, RedrawRecomputesTheTrackOnlyWhenTheInstantLeavesIt)
{
    MainViewSwitches.GroundTrack = true;
    Options.ViewMode = ViewModeMap;
    Step = 1000;
    DrawView();
    ASSERT_EQ(TrackPoints.size(), 300u);
    const double end = TrackEnd;
    CurrentTime += 10 / 1440.0;
    DrawView();
    EXPECT_EQ(TrackEnd, end);
    CurrentTime = end;
    DrawView();
    EXPECT_GT(TrackEnd, end);

    // With no satellite shown the track is never recomputed.
    SatStates.clear();
    TrackPoints.clear();
    CurrentTime += 1.0;
    DrawView();
    EXPECT_TRUE(TrackPoints.empty());
}

TEST(SmallCircle, EveryPointLiesAtTheHorizonDistance)
{
    std::mt19937 random(17);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int trial = 0; trial < 200; ++trial) {
        const Angles3 centre{(unit(random) - 0.5) * Pi, (unit(random) - 0.5) * TwoPi, 0.0};
        const double distance = EarthRadiusKm * (1.0 + unit(random) * 8.0);
        const double rho = std::acos(EarthRadiusKm / distance);
        const std::vector<Angles3> points = CalcSmallCircle(centre, distance, 120);
        ASSERT_EQ(points.size(), 120u);
        for (const Angles3 &point : points) {
            EXPECT_NEAR(Separation(centre, point), rho, 1e-9);
            EXPECT_LE(std::fabs(point.second), Pi);
        }
        EXPECT_NEAR(points.front().first, points.back().first, 1e-12);
        EXPECT_NEAR(std::remainder(points.front().second - points.back().second, TwoPi), 0.0, 1e-12);
        // The first point lies due east of the centre, the next ones turn south.
        if (std::fabs(centre.first) < 1.2) {
            EXPECT_NEAR(Bearing(centre, points[0]), HalfPi, 1e-6);
            EXPECT_NEAR(Bearing(centre, points[1]), HalfPi + TwoPi / 119, 1e-6);
        }
    }
    // On the ground itself the circle shrinks to its centre.
    for (const Angles3 &point : CalcSmallCircle(Angles3{0.3, 0.4, 0.0}, EarthRadiusKm, 10)) {
        EXPECT_NEAR(point.first, 0.3, 1e-12);
        EXPECT_NEAR(point.second, 0.4, 1e-12);
    }
}
