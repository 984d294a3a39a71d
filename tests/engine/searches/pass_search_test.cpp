// Rise and set searches against a one-second elevation scan through the same
// driver and against instants computed independently (python3-skyfield's
// SGP4 with its own Earth-rotation model), and the transit ground point.
#include "engine/searches/pass_search.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/astronomy/bodies.h"
#include "engine/astronomy/de_reader.h"
#include "engine/astronomy/geodesy.h"
#include "engine/reports/text_format.h"
#include "engine/astronomy/vectors.h"
#include "engine/satellite_test_support.h"

namespace {

// Element sets shipped with Debian's gpredict (epoch 2018 January 20): the
// ISS (SGP4) and GPS BIIR-2 (half-day orbit, SDP4).
const std::string Iss2018Line1 = "1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992";
const std::string Iss2018Line2 = "2 25544  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614";
const std::string GpsLine1 = "1 24876U 97035A   18020.44858769  .00000075  00000-0  00000-0 0  9995";
const std::string GpsLine2 = "2 24876  55.5099 218.5673 0034717  93.9876 266.4418  2.00565175150387";

constexpr double SecondDays = 1.0 / 86400.0;

ObserverRecord London() { return MakeObserver(DegToRad(51.5074), DegToRad(-0.1278), 20.0); }
double SearchStart() { return MakeInstant(2018, 1, 21); }

struct Pass {
    double rise;
    double set;
};

double Elevation(TleRecord &record, ObserverRecord &observer, double instant)
{
    TargetState state;
    const double gmst = UpdateSiderealObserver(instant, observer);
    EXPECT_TRUE(PropagateSatellite(record, state, gmst, instant, observer));
    return CalcTargetElevation(state, observer);
}

// Every whole second from start: a rise is the first second at or above the
// threshold, a set the first second at or below it.
std::vector<Pass> ScanPasses(TleRecord record, ObserverRecord observer, double threshold,
                             double start, double end)
{
    std::vector<Pass> passes;
    const long long first = InstantToMilliseconds(start), last = InstantToMilliseconds(end);
    bool up = Elevation(record, observer, start) >= threshold;
    EXPECT_FALSE(up) << "scans start below the threshold";
    for (long long t = first + 1000; t < last; t += 1000) {
        const double instant = MillisecondsToInstant(t);
        const double e = Elevation(record, observer, instant);
        if (!up && e >= threshold) {
            passes.push_back({instant, end});
            up = true;
        } else if (up && e <= threshold) {
            passes.back().set = instant;
            up = false;
        }
    }
    return passes;
}

std::vector<Pass> SearchPasses(TleRecord record, ObserverRecord observer, double threshold,
                               double start, double end)
{
    std::vector<Pass> passes;
    TargetState state;
    for (double t = start;;) {
        const double rise = FindRiseTime(record, state, threshold, t, end, observer);
        if (rise >= end)
            break;
        const double set = FindSetTime(record, state, threshold, rise, end, observer);
        passes.push_back({rise, set});
        t = set;
    }
    return passes;
}

// Crossings from skyfield 1.45 (Debian python3-skyfield): the satellite in
// ITRS from its SGP4, the observer from WGS84 geodetic coordinates, the
// elevation above the plane normal to the observer's geocentric radius,
// interpolated between one-second samples; seconds after 2018-01-21 0h UTC.
struct PeerCase {
    const std::string *line1;
    const std::string *line2;
    double thresholdDegrees;
    std::vector<Pass> passes;
};

std::vector<PeerCase> PeerCases()
{
    return {
        {&Iss2018Line1, &Iss2018Line2, 0.0,
         {{2408.64, 3052.01}, {8196.63, 8823.06}, {14010.58, 14500.15}, {68620.52, 68817.43},
          {74151.99, 74729.86}, {79884.44, 80523.54}, {85670.46, 86313.67}, {91459.34, 92096.24},
          {97257.37, 97812.75}, {157455.15, 157981.56}, {163154.41, 163786.06},
          {168931.85, 169574.77}}},
        {&Iss2018Line1, &Iss2018Line2, 10.0,
         {{2532.76, 2927.48}, {8325.53, 8693.41}, {74301.53, 74580.77}, {80009.41, 80398.59},
          {85794.67, 86189.14}, {91584.91, 91970.04}, {97421.35, 97647.71}, {157646.63, 157790.71},
          {163281.52, 163659.11}, {169056.07, 169450.34}}},
        {&GpsLine1, &GpsLine2, 0.0,
         {{2071.70, 7985.53}, {38026.51, 62902.26}, {88225.35, 94139.68}, {124179.84, 149055.82}}},
    };
}

TEST(RiseSetSearch, AgreesWithOneSecondScanAndIndependentPeerOverTwoDays)
{
    for (const PeerCase &peer : PeerCases()) {
        SCOPED_TRACE(*peer.line1 + " above " + std::to_string(peer.thresholdDegrees));
        const TleRecord record = MakeSatellite(*peer.line1, *peer.line2);
        const double threshold = DegToRad(peer.thresholdDegrees);
        const double start = SearchStart(), end = start + 2.0;

        const std::vector<Pass> found = SearchPasses(record, London(), threshold, start, end);
        const std::vector<Pass> scanned = ScanPasses(record, London(), threshold, start, end);
        ASSERT_EQ(found.size(), scanned.size());
        ASSERT_EQ(found.size(), peer.passes.size());
        for (std::size_t i = 0; i < found.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_NEAR(found[i].rise, scanned[i].rise, 2 * SecondDays);
            EXPECT_NEAR(found[i].set, scanned[i].set, 2 * SecondDays);
            EXPECT_NEAR(found[i].rise, start + peer.passes[i].rise * SecondDays, 2 * SecondDays);
            EXPECT_NEAR(found[i].set, start + peer.passes[i].set * SecondDays, 2 * SecondDays);
        }
    }
}

TEST(RiseSetSearch, ResultsLieOnTheWholeSecondGridOfTheStart)
{
    TleRecord record = MakeSatellite(Iss2018Line1, Iss2018Line2);
    ObserverRecord observer = London();
    TargetState state;
    const double start = SearchStart() + 0.123 * SecondDays;
    const double rise = FindRiseTime(record, state, 0.0, start, start + 1.0, observer);
    const double set = FindSetTime(record, state, 0.0, rise, start + 1.0, observer);
    for (const double t : {rise, set}) {
        const long long ms = InstantToMilliseconds(t) - InstantToMilliseconds(start);
        EXPECT_EQ(ms % 1000, 0) << ms;
    }
}

TEST(RiseSetSearch, WindowEdges)
{
    const TleRecord iss = MakeSatellite(Iss2018Line1, Iss2018Line2);
    const double day = SearchStart();
    TargetState state;
    double rise = 0.0; // the first rise of the day, about 2409 s after 0h
    {
        TleRecord record = iss;
        ObserverRecord observer = London();
        rise = FindRiseTime(record, state, 0.0, day, day + 1.0, observer);
        ASSERT_NEAR(rise, day + 2409 * SecondDays, 1.5 * SecondDays);
    }

    // A window shorter than one coarse step without a crossing gives its end.
    {
        TleRecord record = iss;
        ObserverRecord observer = London();
        const double end = day + 60 * SecondDays;
        EXPECT_EQ(FindRiseTime(record, state, 0.0, day, end, observer), end);
    }
    // Already up: the rise is the start; the set is searched from it.
    {
        TleRecord record = iss;
        ObserverRecord observer = London();
        const double inside = day + 2700 * SecondDays;
        EXPECT_EQ(FindRiseTime(record, state, 0.0, inside, day + 1.0, observer), inside);
        // Off the millisecond grid too (a clock instant), the start itself.
        const double offGrid = inside + 0.0004 * SecondDays;
        EXPECT_EQ(FindRiseTime(record, state, 0.0, offGrid, day + 1.0, observer), offGrid);
        EXPECT_NEAR(FindSetTime(record, state, 0.0, inside, day + 1.0, observer),
                    day + 3053 * SecondDays, 1.5 * SecondDays);
    }
    // A crossing inside the first coarse step is found by stepping back, on
    // the whole-second grid of the start.
    for (const double before : {10.0, 90.0, 240.0}) {
        TleRecord record = iss;
        ObserverRecord observer = London();
        EXPECT_NEAR(FindRiseTime(record, state, 0.0, rise - before * SecondDays, day + 1.0, observer),
                    rise, 0.001 * SecondDays)
            << before;
    }
    // Never later than the end, even when the end falls just before a rise.
    for (const double endOffset : {-0.4, 0.3, 30.0}) {
        TleRecord record = iss;
        ObserverRecord observer = London();
        const double end = rise + endOffset * SecondDays;
        const double found = FindRiseTime(record, state, 0.0, day, end, observer);
        EXPECT_NEAR(found, endOffset < 0.0 ? end : rise, 0.001 * SecondDays) << endOffset;
        EXPECT_LE(found, end);
    }
}

// The ISS lines with a drag term so large that the orbit decays within a day.
TleRecord DecayingSatellite()
{
    return MakeSatellite(WithField(Iss2018Line1, 55, "50000-0"), Iss2018Line2);
}

TEST(RiseSetSearch, DecayAndFailedPropagationMeanNoPass)
{
    const TleRecord decaying = DecayingSatellite();
    const double epoch = InstantAfterEpoch(decaying, 0.0);
    ObserverRecord observer = London();
    TargetState state;

    // It decays while the search runs: no rise within the window.
    {
        TleRecord record = decaying;
        const double start = epoch + 0.55, end = epoch + 1.5;
        EXPECT_EQ(FindRiseTime(record, state, 0.0, start, end, observer), end);
        EXPECT_TRUE(record.Decayed);
    }
    // Long after, the model fails outright without calling it a decay: the
    // rise search must say "no pass" rather than "a pass from the start",
    // which the set search would then stretch over the whole window.
    {
        TleRecord record = decaying;
        const double start = epoch + 2.0, end = epoch + 3.0;
        TargetState probe;
        const double gmst = UpdateSiderealObserver(start, observer);
        ASSERT_FALSE(PropagateSatellite(record, probe, gmst, start, observer));
        ASSERT_FALSE(record.Decayed);
        EXPECT_EQ(FindRiseTime(record, state, 0.0, start, end, observer), end);
        EXPECT_EQ(FindSetTime(record, state, 0.0, start, end, observer), end);
    }
}

// Geocentric inertial position (frame of date) of a geodetic point.
Vec4 GroundPointEci(const Angles3 &point, double gmst)
{
    double rhoSinPhi = 0, rhoCosPhi = 0;
    CalcObserverRho(Angles3{point.first, point.second, point.third * 1000.0}, rhoSinPhi, rhoCosPhi);
    Vec4 eci;
    CalcObserverECI(eci, rhoCosPhi, rhoSinPhi, point.second, gmst);
    return eci;
}

TEST(TransitGroundPoint, LiesOnTheLineFromTheBodyThroughTheSatellite)
{
    TleRecord record = MakeSatellite(Iss2018Line1, Iss2018Line2);
    ObserverRecord observer = London();
    const double instant = SearchStart() + 2700 * SecondDays; // ISS above London
    const double gmst = UpdateSiderealObserver(instant, observer);
    TargetState probe;
    probe.Mode = ModeRaDec;
    ASSERT_TRUE(PropagateSatellite(record, probe, gmst, instant, observer));

    // A sky point a few degrees from where the observer sees the satellite.
    TargetState point;
    point.BodyId = BodySkyPoint;
    point.RaDec = Angles3{probe.RaDec.first + 0.05, probe.RaDec.second - 0.03, AstronomicalUnitKm};
    SphericalToCartesian(point.RaDec, point.Position);

    TargetState satellite;
    Angles3 ground;
    double distance = -1.0;
    ASSERT_TRUE(CalcTransitGroundPoint(satellite, point, record, instant, ground, true, distance, observer));

    Vec4 pointOfDate, groundEci;
    PrecessVectorFromJ2000(point.Position, pointOfDate, instant + JulianDateOfDayZero);
    groundEci = GroundPointEci(ground, gmst);
    // On the sphere through the observer, at the given distance from the
    // satellite, looking at the satellite and the body in one direction
    // (within what the sub-point's radial height leaves on the way back).
    EXPECT_NEAR(VectorMagnitude(groundEci), observer.Eci.w, 0.1);
    EXPECT_NEAR(CalcVectorDistance(groundEci, satellite.Position), distance, 0.1);
    EXPECT_LT(RadToDeg(CalcSeparationAngle(groundEci, satellite.Position, pointOfDate)), 0.01);

    // The body's altitude there is the satellite's, seen from that point.
    Angles3 fromGround;
    CalcTopoRaDec(satellite.Position, groundEci, fromGround);
    double altitude = 0, azimuth = 0;
    EquToHorizontal(ground, fromGround, altitude, azimuth, std::nullopt, gmst);
    EXPECT_NEAR(RadToDeg(point.Elevation), RadToDeg(altitude), 0.01);
    EXPECT_NEAR(RadToDeg(point.Azimuth), RadToDeg(azimuth), 0.01);

    // The satellite's own coordinates from the observer are those of the
    // driver, with no second precession.
    TargetState driver;
    driver.Mode = ModeAll;
    UpdateSiderealObserver(instant, observer);
    ASSERT_TRUE(PropagateSatellite(record, driver, gmst, instant, observer));
    EXPECT_NEAR(satellite.Elevation, driver.Elevation, 1e-9);
    EXPECT_NEAR(satellite.Azimuth, driver.Azimuth, 1e-9);

    // No ground point, and nothing written, for a body behind the
    // satellite's horizon, for one whose line passes beside the Earth, and
    // for a satellite that cannot be propagated.
    TargetState opposite = point, beside = point;
    SphericalToCartesian(Angles3{probe.RaDec.first + Pi, -probe.RaDec.second, AstronomicalUnitKm},
                         opposite.Position);
    Vec4 up, along, sideways;
    NormalizeVector(satellite.Position, up);
    NormalizeVector(satellite.Velocity, along);
    ScaleVector(up, sideways, std::cos(1.4) * AstronomicalUnitKm);
    beside.Position = MakeVector(sideways.x + std::sin(1.4) * AstronomicalUnitKm * along.x,
                                 sideways.y + std::sin(1.4) * AstronomicalUnitKm * along.y,
                                 sideways.z + std::sin(1.4) * AstronomicalUnitKm * along.z);
    TleRecord unusable;
    struct NoPoint {
        const char *name;
        TargetState *body;
        TleRecord *record;
    };
    for (const NoPoint &c : {NoPoint{"behind", &opposite, &record}, NoPoint{"beside", &beside, &record},
                             NoPoint{"no orbit", &point, &unusable}}) {
        Angles3 none{7.0, 8.0, 9.0};
        double untouched = 123.0;
        EXPECT_FALSE(CalcTransitGroundPoint(satellite, *c.body, *c.record, instant, none, false, untouched,
                                            observer))
            << c.name;
        EXPECT_EQ(none.first, 7.0) << c.name;
        EXPECT_EQ(untouched, 123.0) << c.name;
    }
}

TEST(TransitGroundPoint, SunlitFlagHoldsForStarsAndSkyPointsToo)
{
    LOAD_DEFAULT_EPHEMERIS_OR_SKIP();
    TleRecord record = MakeSatellite(Iss2018Line1, Iss2018Line2);
    ObserverRecord observer = London();
    // Find an instant with the ISS up over London but in the Earth's shadow.
    double shadowed = 0.0;
    for (double t = SearchStart(); t < SearchStart() + 2.0 && shadowed == 0.0; t += 10 * SecondDays) {
        TargetState sun, sat;
        sun.BodyId = BodySun;
        const double gmst = UpdateSiderealObserver(t, observer);
        ASSERT_TRUE(PropagateSatellite(record, sat, gmst, t, observer));
        ASSERT_TRUE(UpdateBody(sun, gmst, t, observer));
        Vec4 sunOfDate;
        PrecessVectorFromJ2000(sun.Position, sunOfDate, t + JulianDateOfDayZero);
        if (CalcTargetElevation(sat, observer) > 0.3 && !IsSunlit(sat.Position, sunOfDate))
            shadowed = t;
    }
    ASSERT_GT(shadowed, 0.0);

    TargetState probe;
    probe.Mode = ModeRaDec;
    const double gmst = UpdateSiderealObserver(shadowed, observer);
    ASSERT_TRUE(PropagateSatellite(record, probe, gmst, shadowed, observer));
    for (const int body : {BodySkyPoint, BodyStar}) {
        TargetState target;
        target.BodyId = body;
        SphericalToCartesian(Angles3{probe.RaDec.first, probe.RaDec.second, AstronomicalUnitKm},
                             target.Position);
        TargetState satellite;
        satellite.Lit = 1;
        Angles3 ground;
        double distance = 0;
        CalcTransitGroundPoint(satellite, target, record, shadowed, ground, true, distance, observer);
        EXPECT_EQ(satellite.Lit, 0) << body;
    }
    FreeDEFile();
}

TEST(TransitPathWidth, FollowsTheBodyAndTheTrack)
{
    TargetState body;
    body.Elevation = DegToRad(30.0);
    body.Azimuth = 0.0;
    body.Position = MakeVector(0.0, 0.0, AstronomicalUnitKm);
    const Angles3 previous{0.0, 0.0, 0.0};
    const Angles3 northward{0.001, 0.0, 0.0}; // bearing 0
    const Angles3 eastward{0.0, 0.001, 0.0};  // bearing pi/2
    const double distance = 800.0;
    const double across = distance * std::sin(std::atan2(696265.0, AstronomicalUnitKm));

    body.BodyId = BodyJupiter;
    EXPECT_EQ(CalcTransitPathWidth(body, northward, previous, distance), 0.1);
    body.BodyId = BodySun;
    // A track along the Sun's azimuth crosses the short axis of the shadow
    // ellipse; the formula's tangent has no value there, the width does.
    EXPECT_NEAR(CalcTransitPathWidth(body, northward, previous, distance), across, 1e-9);
    EXPECT_NEAR(CalcTransitPathWidth(body, eastward, previous, distance), across / std::sin(body.Elevation),
                1e-6);
    body.BodyId = BodyMoon;
    body.Elevation = 0.0;
    EXPECT_EQ(CalcTransitPathWidth(body, northward, previous, distance), 0.0);
}

} // namespace
