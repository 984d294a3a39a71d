// Rise and set searches against a one-second elevation scan through the same
// driver and against instants computed independently (python3-skyfield's
// SGP4 with its own Earth-rotation model), and the transit ground point.
#include "engine/searches/pass_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/astronomy/bodies.h"
#include "engine/astronomy/de_reader.h"
#include "engine/astronomy/geodesy.h"
#include "engine/text/text_format.h"
#include "engine/astronomy/vectors.h"
#include "engine/satellite_test_support.h"

namespace {

// Element sets shipped with Debian's gpredict (epoch 2018 January 20): the
// ISS and two polar weather satellites (SGP4), and GPS BIIR-2 (half-day
// orbit, SDP4).
const std::string Iss2018Line1 = "1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992";
const std::string Iss2018Line2 = "2 25544  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614";
const std::string GpsLine1 = "1 24876U 97035A   18020.44858769  .00000075  00000-0  00000-0 0  9995";
const std::string GpsLine2 = "2 24876  55.5099 218.5673 0034717  93.9876 266.4418  2.00565175150387";
const std::string Noaa19Line1 = "1 33591U 09005A   18020.91958580  .00000107  00000-0  83477-4 0  9992";
const std::string Noaa19Line2 = "2 33591  99.1238 356.1693 0014450  24.0615 336.1228 14.12247534461122";
const std::string Jpss1Line1 = "1 43013U 17073A   18020.90595486 -.00000036  00000-0  37063-5 0  9990";
const std::string Jpss1Line2 = "2 43013  98.7126 321.4710 0000893  65.9680 294.1589 14.19549727  9015";

constexpr double SecondDays = 1.0 / 86400.0;

ObserverRecord London() { return MakeObserver(DegToRad(51.5074), DegToRad(-0.1278), 20.0); }
ObserverRecord Sydney() { return MakeObserver(DegToRad(-33.8688), DegToRad(151.2093), 40.0); }
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
// threshold (the start when already up), a set the first second at or below
// it (the end when still up).
std::vector<Pass> ScanPasses(TleRecord record, ObserverRecord observer, double threshold,
                             double start, double end)
{
    std::vector<Pass> passes;
    const long long first = InstantToMilliseconds(start), last = InstantToMilliseconds(end);
    bool up = Elevation(record, observer, start) >= threshold;
    if (up)
        passes.push_back({start, end});
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

// Crossings computed independently by tools/peer_pass_times.py
// (python3-skyfield: its own SGP4, the satellite seen from a WGS84 geodetic
// site, the elevation above the plane perpendicular to the ellipsoid normal,
// refraction off, UT1 = UTC), refined to 0.01 s; seconds after 2018-01-21 0h
// UTC. A satellite up at the start rises at 0, one up at the end sets there.
struct PeerCase {
    const std::string *line1;
    const std::string *line2;
    ObserverRecord observer;
    double thresholdDegrees;
    std::vector<Pass> passes;
};

std::vector<PeerCase> PeerCases()
{
    return {
        {&Iss2018Line1, &Iss2018Line2, London(), 0.0,
         {{2408.31, 3051.54}, {8195.90, 8821.06}, {14010.26, 14496.19}, {68628.77, 68814.17},
          {74154.93, 74730.50}, {79885.68, 80524.16}, {85670.38, 86313.56}, {91458.65, 92094.73},
          {97256.78, 97809.47}, {157458.72, 157982.03}, {163156.13, 163786.77}, {168932.10, 169574.96}}},
        {&Iss2018Line1, &Iss2018Line2, London(), 10.0,
         {{2532.56, 2927.21}, {8325.35, 8692.03}, {74303.91, 74580.42}, {80010.20, 80398.85},
          {85794.60, 86189.11}, {91584.64, 91969.04}, {97422.14, 97644.72}, {157651.09, 157788.54},
          {163282.67, 163659.33}, {169056.19, 169450.47}}},
        {&Noaa19Line1, &Noaa19Line2, London(), 0.0,
         {{7176.60, 7779.08}, {13140.91, 14071.32}, {19192.39, 20096.26}, {25273.70, 25923.66},
          {31426.74, 31527.82}, {42905.78, 43461.15}, {48690.65, 49548.62}, {54669.57, 55608.35},
          {60885.13, 61605.62}, {92912.21, 93424.24}, {98850.12, 99766.39}, {104896.52, 105816.12},
          {110974.85, 111665.71}, {117099.17, 117313.72}, {128654.99, 129161.00}, {134417.75, 135251.96},
          {140373.44, 141315.45}, {146555.12, 147325.18}}},
        {&GpsLine1, &GpsLine2, London(), 0.0,
         {{2020.05, 8048.03}, {38039.14, 62877.53}, {88173.71, 94202.17}, {124192.47, 149031.10}}},
        {&Iss2018Line1, &Iss2018Line2, Sydney(), 0.0,
         {{5130.83, 5476.16}, {10997.21, 11398.03}, {16754.31, 17352.25}, {22532.45, 23161.54},
          {71096.92, 71185.43}, {76566.54, 77200.93}, {82380.35, 82977.36}, {88336.97, 88734.78},
          {94256.34, 94604.12}, {100027.85, 100576.25}, {105790.40, 106437.76}, {111661.29, 112077.64},
          {159862.04, 160447.81}, {165616.31, 166249.06}, {171540.62, 172002.67}}},
        {&Noaa19Line1, &Noaa19Line2, Sydney(), 0.0,
         {{16603.33, 17387.46}, {22586.44, 23521.20}, {28756.04, 29294.51}, {57563.60, 58405.34},
          {63535.45, 64472.51}, {69994.88, 70215.42}, {102335.95, 103055.13}, {108291.37, 109234.99},
          {114432.24, 115059.74}, {143301.29, 144099.04}, {149234.51, 150184.76}, {155571.38, 156030.72}}},
        {&GpsLine1, &GpsLine2, Sydney(), 0.0,
         {{0.00, 1298.68}, {13574.09, 29091.44}, {67463.13, 87452.29}, {99728.56, 115244.91},
          {153616.56, 172800.00}}},
    };
}

// Where the search says the satellite rises or sets, the data fields show it
// there too: the search's elevation and the state's own agree.
void ExpectSameElevationAsTheDataFields(TleRecord record, ObserverRecord observer, double instant)
{
    TargetState state;
    state.Mode = ModeAll;
    const double gmst = UpdateSiderealObserver(instant, observer);
    ASSERT_TRUE(PropagateSatellite(record, state, gmst, instant, observer));
    EXPECT_NEAR(RadToDeg(CalcTargetElevation(state, observer)), RadToDeg(state.Elevation), 0.001);
}

TEST(RiseSetSearch, AgreesWithOneSecondScanAndIndependentPeerOverTwoDays)
{
    for (const PeerCase &peer : PeerCases()) {
        SCOPED_TRACE(*peer.line1 + " above " + std::to_string(peer.thresholdDegrees) + " at " +
                     std::to_string(RadToDeg(peer.observer.Latitude)));
        const TleRecord record = MakeSatellite(*peer.line1, *peer.line2);
        const double threshold = DegToRad(peer.thresholdDegrees);
        const double start = SearchStart(), end = start + 2.0;

        const std::vector<Pass> found = SearchPasses(record, peer.observer, threshold, start, end);
        const std::vector<Pass> scanned = ScanPasses(record, peer.observer, threshold, start, end);
        ASSERT_EQ(found.size(), scanned.size());
        ASSERT_EQ(found.size(), peer.passes.size());
        for (std::size_t i = 0; i < found.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_NEAR(found[i].rise, scanned[i].rise, 2 * SecondDays);
            EXPECT_NEAR(found[i].set, scanned[i].set, 2 * SecondDays);
            EXPECT_NEAR(found[i].rise, start + peer.passes[i].rise * SecondDays, 1.5 * SecondDays);
            EXPECT_NEAR(found[i].set, start + peer.passes[i].set * SecondDays, 1.5 * SecondDays);
            ExpectSameElevationAsTheDataFields(record, peer.observer, found[i].rise);
            ExpectSameElevationAsTheDataFields(record, peer.observer, found[i].set);
        }
    }
}

// JPSS-1 over Munich on 2018 January 22 peaks 0.148 degrees above the
// geodetic horizon and just below the plane perpendicular to the geocentric
// radius: a real pass that only the geodetic horizon shows. Peer values as
// above, seconds after 04:00 UTC.
TEST(RiseSetSearch, FindsALowPassThatPeaksBetweenTheGeocentricAndGeodeticHorizons)
{
    constexpr double PeerRise = 2513.90, PeerSet = 2610.78, PeerCulmination = 0.148;
    TleRecord record = MakeSatellite(Jpss1Line1, Jpss1Line2);
    const ObserverRecord munich = MakeObserver(DegToRad(48.137), DegToRad(11.575), 520.0);
    const double start = MakeInstant(2018, 1, 22) + 4.0 / 24.0, end = start + 1.0 / 24.0;

    const std::vector<Pass> found = SearchPasses(record, munich, 0.0, start, end);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NEAR(found[0].rise, start + PeerRise * SecondDays, 1.5 * SecondDays);
    EXPECT_NEAR(found[0].set, start + PeerSet * SecondDays, 1.5 * SecondDays);

    double culmination = -90.0;
    for (double t = found[0].rise; t <= found[0].set; t += SecondDays) {
        ObserverRecord observer = munich;
        TargetState state;
        state.Mode = ModeAll;
        const double gmst = UpdateSiderealObserver(t, observer);
        ASSERT_TRUE(PropagateSatellite(record, state, gmst, t, observer));
        culmination = std::max(culmination, RadToDeg(state.Elevation));
    }
    EXPECT_NEAR(culmination, PeerCulmination, 0.02);
}

// Elevation above the plane perpendicular to the observer's geocentric
// radius: at the equator and at the poles that plane is the geodetic horizon.
double GeocentricElevation(TleRecord &record, ObserverRecord &observer, double instant)
{
    TargetState state;
    const double gmst = UpdateSiderealObserver(instant, observer);
    EXPECT_TRUE(PropagateSatellite(record, state, gmst, instant, observer));
    return CalcSeparationAngle(observer.Eci, Vec4{}, state.Position) - HalfPi;
}

TEST(RiseSetSearch, AtTheEquatorAndThePoleTheHorizonIsTheGeocentricOne)
{
    struct Site {
        ObserverRecord observer;
        const std::string *line1, *line2;
    };
    const Site sites[] = {
        {MakeObserver(0.0, DegToRad(30.0), 0.0), &Iss2018Line1, &Iss2018Line2},
        {MakeObserver(HalfPi, 0.0, 0.0), &Noaa19Line1, &Noaa19Line2},
        {MakeObserver(-HalfPi, 0.0, 0.0), &Noaa19Line1, &Noaa19Line2},
    };
    for (const Site &site : sites) {
        SCOPED_TRACE(RadToDeg(site.observer.Latitude));
        TleRecord record = MakeSatellite(*site.line1, *site.line2);
        ObserverRecord observer = site.observer;
        const double start = SearchStart(), end = start + 1.0;
        const std::vector<Pass> found = SearchPasses(record, observer, 0.0, start, end);
        ASSERT_GE(found.size(), 3u);
        // Each rise and set is the first whole second past the crossing of
        // that plane: the instants a search on it gives.
        for (const Pass &pass : found) {
            if (pass.rise > start) {
                EXPECT_GE(GeocentricElevation(record, observer, pass.rise), 0.0);
                EXPECT_LT(GeocentricElevation(record, observer, pass.rise - SecondDays), 0.0);
            }
            if (pass.set < end) {
                EXPECT_LE(GeocentricElevation(record, observer, pass.set), 0.0);
                EXPECT_GT(GeocentricElevation(record, observer, pass.set - SecondDays), 0.0);
            }
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
    // Obliquely, the strip is as wide as the shadow ellipse (semi-axes
    // across and along the Sun's azimuth) reaches across the track: its
    // farthest point from the track's line, found here by going round it.
    body.Azimuth = DegToRad(300.0);
    const Angles3 northEast{0.001, 0.001, 0.0}; // bearing 45 degrees, 105 from the azimuth
    const double angle = CalcInitialBearing(previous, northEast) - body.Azimuth;
    double reach = 0.0;
    for (double u = 0.0; u < 2.0 * Pi; u += 1e-4) {
        const double alongAzimuth = across / std::sin(body.Elevation) * std::cos(u);
        const double acrossAzimuth = across * std::sin(u);
        reach = std::max(reach, alongAzimuth * std::sin(angle) - acrossAzimuth * std::cos(angle));
    }
    EXPECT_NEAR(CalcTransitPathWidth(body, northEast, previous, distance), reach, 1e-3 * reach);
    body.BodyId = BodyMoon;
    body.Elevation = 0.0;
    EXPECT_EQ(CalcTransitPathWidth(body, northward, previous, distance), 0.0);
}

} // namespace
