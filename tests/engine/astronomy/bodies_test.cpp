// Sun, Moon and planet states: the Delta T cache, how ephemeris failures
// reach the user, and the derived coordinates against the geometry of a
// known instant (the March equinox of 2024) on the default ephemeris.
#include "engine/astronomy/bodies.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <string>
#include <thread>

#include "engine/astronomy/delta_t.h"
#include "engine/runtime/program_state.h"
#include "engine/runtime/ui_hooks.h"
#include "engine/astronomy/vectors.h"
#include "engine/satellite_test_support.h"

namespace {

// 2024 March 20, 03:06 UTC: the Sun crosses the equator of date northwards.
constexpr double EquinoxInstant = 45371.0 + (3.0 * 60.0 + 6.0) / 1440.0;
// An instant no ephemeris file covers (the year 3000).
constexpr double FarFuture = 401768.0;
constexpr double Degree = Pi / 180.0;

// Counts the messages shown through the hooks while it lives.
class MessageCounter {
public:
    MessageCounter() : saved_(Hooks())
    {
        Hooks() = UiHooks{};
        Hooks().showMessage = [this](const std::string &text, const std::string &caption, MessageKind) {
            if (text == "Error in JPL DE Planet Calculations" && caption == "Planets")
                ++count_;
            else
                ++other_;
            return true;
        };
    }
    ~MessageCounter() { Hooks() = saved_; }
    int count() const { return count_; }
    int other() const { return other_; }

private:
    UiHooks saved_;
    std::atomic<int> count_{0};
    std::atomic<int> other_{0};
};

// Runs body on a thread of its own, as a worker task does.
template <class Body>
void OnNewThread(Body body)
{
    std::thread thread(body);
    thread.join();
}

} // namespace

TEST(DeltaTCache, RecomputedOnlyAfterMoreThanAYear)
{
    DeltaTCache cache;
    const double jd = 2451545.0;
    EXPECT_DOUBLE_EQ(cache.DaysAt(jd), CalcDeltaT(jd) / 86400.0);
    EXPECT_DOUBLE_EQ(cache.DaysAt(jd + 300.0), CalcDeltaT(jd) / 86400.0);
    EXPECT_DOUBLE_EQ(cache.DaysAt(jd - 300.0), CalcDeltaT(jd) / 86400.0);
    EXPECT_DOUBLE_EQ(cache.DaysAt(jd + 366.0), CalcDeltaT(jd + 366.0) / 86400.0);
    EXPECT_NE(CalcDeltaT(jd + 366.0), CalcDeltaT(jd));
}

TEST(CalcBodyGeocentric, CodesWithoutAnEphemerisPositionAreRefusedQuietly)
{
    MessageCounter messages;
    for (int body : {0, int{BodySkyPoint}, int{BodyStar}}) {
        Vec4 position{1.0, 2.0, 3.0, 4.0};
        EXPECT_FALSE(CalcBodyGeocentric(body, position, EquinoxInstant)) << body;
        EXPECT_EQ(position.x, 1.0);
        EXPECT_EQ(position.w, 4.0);
    }
    EXPECT_EQ(messages.count() + messages.other(), 0);
}

// A search that steps past the ephemeris fails at every step: each task
// tells the user once, and reports every failure to its caller.
TEST(CalcBodyGeocentric, FailureIsShownOncePerTask)
{
    MessageCounter messages;
    auto search = [] {
        for (int step = 0; step < 500; ++step) {
            Vec4 position{};
            EXPECT_FALSE(CalcBodyGeocentric(BodySun, position, FarFuture + step / 1440.0));
            TargetState sun = SentinelState(ModeAll, BodySun);
            ObserverRecord observer = MakeObserver(0.5, 0.5);
            EXPECT_FALSE(UpdateBody(sun, 0.0, FarFuture, observer));
            EXPECT_EQ(sun.RaDec.first, Sentinel);
        }
    };
    OnNewThread(search);
    EXPECT_EQ(messages.count(), 1);
    OnNewThread(search);
    EXPECT_EQ(messages.count(), 2);
    EXPECT_EQ(messages.other(), 0);
}

class DefaultEphemerisBodies : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedObserver = Observer;
        LOAD_DEFAULT_EPHEMERIS_OR_SKIP();
    }
    void TearDown() override
    {
        Observer = savedObserver;
        BodyStates.clear();
        FreeDEFile();
    }
    ObserverRecord savedObserver{};
};

// At the equinox the Sun stands on the equator of date at right ascension 0
// (within the ~25" of aberration and nutation the program leaves out), which
// in J2000 coordinates is 24.2 years of precession back: RA -0.3103 deg,
// Dec -0.1349 deg. Its sub-point and its altitude seen from the pole are
// those of the equator of date.
TEST_F(DefaultEphemerisBodies, SunAtTheEquinoxInBothFrames)
{
    const double tolerance = 0.02 * Degree;
    ObserverRecord observer = MakeObserver(0.933, -1.18);
    const double gmst = UpdateSiderealObserver(EquinoxInstant, observer);

    TargetState sun = SentinelState(ModeAll, BodySun);
    ASSERT_TRUE(UpdateBody(sun, gmst, EquinoxInstant, observer));
    EXPECT_NEAR(sun.Position.w / AstronomicalUnitKm, 0.996, 0.001);
    EXPECT_NEAR(NormalizeAnglePi(sun.RaDec.first), -0.3103 * Degree, tolerance);
    EXPECT_NEAR(sun.RaDec.second, -0.1349 * Degree, tolerance);
    EXPECT_NEAR(sun.SubPoint.first, 0.0, tolerance);
    EXPECT_NEAR(NormalizeAnglePi(sun.SubPoint.second + gmst), 0.0, tolerance);

    TargetState geocentric = SentinelState(ModeGeocentricRaDec, BodySun);
    ASSERT_TRUE(UpdateBody(geocentric, gmst, EquinoxInstant, observer));
    EXPECT_NEAR(NormalizeAnglePi(geocentric.RaDec.first), -0.3103 * Degree, tolerance);
    EXPECT_NEAR(geocentric.RaDec.second, -0.1349 * Degree, tolerance);
    EXPECT_EQ(geocentric.Elevation, Sentinel);
    EXPECT_EQ(geocentric.SubPoint.first, Sentinel);

    for (double poleLatitude : {HalfPi, -HalfPi}) {
        ObserverRecord pole = MakeObserver(poleLatitude, 0.4);
        const double poleGmst = UpdateSiderealObserver(EquinoxInstant, pole);
        TargetState seen = SentinelState(ModeRaDecHorizon, BodySun);
        ASSERT_TRUE(UpdateBody(seen, poleGmst, EquinoxInstant, pole));
        EXPECT_NEAR(seen.Elevation, 0.0, tolerance) << poleLatitude;
        EXPECT_EQ(seen.SubPoint.first, Sentinel);
    }
}

// The Moon is close enough for the observer's place to matter. From the
// sub-point the Moon is straight overhead along the geocentric radius: its
// topocentric direction is the geocentric one, it is one Earth radius
// closer, and it stands off the zenith of the ellipsoid's normal by just the
// difference of geodetic and geocentric latitude. An observer taken in
// another frame than the Moon would be some 40 km off that line (20").
TEST_F(DefaultEphemerisBodies, MoonFromItsSubPointIsOverhead)
{
    TargetState moon = SentinelState(ModeAll, BodyMoon);
    ObserverRecord anywhere = MakeObserver(0.0, 0.0);
    ASSERT_TRUE(UpdateBody(moon, UpdateSiderealObserver(EquinoxInstant, anywhere), EquinoxInstant, anywhere));
    EXPECT_GT(moon.Position.w, 356000.0);
    EXPECT_LT(moon.Position.w, 407000.0);

    ObserverRecord under = MakeObserver(moon.SubPoint.first, moon.SubPoint.second);
    const double gmst = UpdateSiderealObserver(EquinoxInstant, under);
    TargetState seen = SentinelState(ModeRaDecHorizon, BodyMoon);
    ASSERT_TRUE(UpdateBody(seen, gmst, EquinoxInstant, under));
    TargetState geocentric = SentinelState(ModeGeocentricRaDec, BodyMoon);
    ASSERT_TRUE(UpdateBody(geocentric, gmst, EquinoxInstant, under));

    const double arcsecond = Degree / 3600.0;
    Vec4 topoDirection, geoDirection;
    SphericalToCartesian(Angles3{seen.RaDec.first, seen.RaDec.second, 1.0}, topoDirection);
    SphericalToCartesian(Angles3{geocentric.RaDec.first, geocentric.RaDec.second, 1.0}, geoDirection);
    EXPECT_LT(CalcVectorAngle(topoDirection, geoDirection), 8.0 * arcsecond);
    EXPECT_NEAR(seen.RaDec.third, moon.Position.w - under.Eci.w, 1.0);

    const double latitude = moon.SubPoint.first;
    const double geocentricLatitude = std::atan(EarthAxisRatio * EarthAxisRatio * std::tan(latitude));
    EXPECT_NEAR(seen.Elevation, HalfPi - std::fabs(latitude - geocentricLatitude), 0.005 * Degree);
}

// The planet table shows topocentric J2000 coordinates to 0.1". Seen from
// the Earth's centre they are the ephemeris' own geocentric direction, and
// from the ground the Sun moves by at most its parallax (9"), even in 2059
// when carrying the body to the date and back would be off by over 20".
TEST_F(DefaultEphemerisBodies, TopocentricRaDecStaysInTheEphemerisFrame)
{
    constexpr double Instant2059 = 58440.5;  // 2059 January 1
    const double arcsecond = Degree / 3600.0;
    ObserverRecord centre{};  // rho terms 0: the Earth's centre
    ObserverRecord ground = MakeObserver(1.1, 0.3);
    for (int body : {int{BodySun}, int{BodyMoon}, int{BodyMars}}) {
        SCOPED_TRACE(body);
        TargetState geocentric = SentinelState(ModeGeocentricRaDec, body);
        ASSERT_TRUE(UpdateBody(geocentric, 0.0, Instant2059, centre));
        for (int mode : {int{ModeAll}, int{ModeRaDec}}) {
            TargetState seen = SentinelState(mode, body);
            ASSERT_TRUE(UpdateBody(seen, UpdateSiderealObserver(Instant2059, centre), Instant2059, centre));
            Vec4 a, b;
            SphericalToCartesian(Angles3{seen.RaDec.first, seen.RaDec.second, 1.0}, a);
            SphericalToCartesian(Angles3{geocentric.RaDec.first, geocentric.RaDec.second, 1.0}, b);
            EXPECT_LT(CalcVectorAngle(a, b), 0.01 * arcsecond) << mode;
            EXPECT_NEAR(seen.RaDec.third, geocentric.RaDec.third, 1e-6) << mode;
        }
        if (body == BodySun) {
            TargetState seen = SentinelState(ModeAll, body);
            ASSERT_TRUE(UpdateBody(seen, UpdateSiderealObserver(Instant2059, ground), Instant2059, ground));
            Vec4 a, b;
            SphericalToCartesian(Angles3{seen.RaDec.first, seen.RaDec.second, 1.0}, a);
            SphericalToCartesian(Angles3{geocentric.RaDec.first, geocentric.RaDec.second, 1.0}, b);
            const double parallax = ground.Eci.w / geocentric.Position.w;
            EXPECT_LT(CalcVectorAngle(a, b), parallax + 0.01 * arcsecond);
        }
    }
}

TEST_F(DefaultEphemerisBodies, UpdateBodiesMovesEntriesZeroToN)
{
    Observer = MakeObserver(0.933, -1.18);
    CurrentTime = EquinoxInstant;
    SiderealTime = UpdateSiderealObserver(CurrentTime, Observer);
    BodyStates = {SentinelState(ModeAll, BodyMoon), SentinelState(ModeAll, BodySun), SentinelState(ModeRaDec, BodyVenus)};

    EXPECT_TRUE(UpdateBodies(-1));
    EXPECT_EQ(BodyStates[0].RaDec.first, Sentinel);

    EXPECT_TRUE(UpdateBodies(1));
    EXPECT_NE(BodyStates[0].RaDec.first, Sentinel);
    EXPECT_NE(BodyStates[1].RaDec.first, Sentinel);
    EXPECT_EQ(BodyStates[2].RaDec.first, Sentinel);

    // An index past the list stops at its end.
    EXPECT_TRUE(UpdateBodies(9));
    EXPECT_NE(BodyStates[2].RaDec.first, Sentinel);
}

// After a success the next failure is news again.
TEST_F(DefaultEphemerisBodies, FailureAfterSuccessIsShownAgain)
{
    MessageCounter messages;
    OnNewThread([] {
        Vec4 position{};
        EXPECT_FALSE(CalcBodyGeocentric(BodyMoon, position, FarFuture));
        EXPECT_FALSE(CalcBodyGeocentric(BodyMoon, position, FarFuture));
        EXPECT_TRUE(CalcBodyGeocentric(BodyMoon, position, EquinoxInstant));
        EXPECT_FALSE(CalcBodyGeocentric(BodyMoon, position, FarFuture));
    });
    EXPECT_EQ(messages.count(), 2);
}
