// Sun and Moon crossings, culminations and windows against an independent
// almanac: PyEphem 4.1.4 (Debian python3-ephem, its own VSOP87 and ELP
// theories), observer pressure 0 (no refraction), the Sun's centre at the
// horizon given. Needs the default ephemeris.
#include "engine/astronomy/body_events.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/astronomy/bodies.h"
#include "engine/astronomy/de_reader.h"
#include "engine/astronomy/geodesy.h"
#include "engine/text/text_format.h"
#include "engine/satellite_test_support.h"

namespace {

constexpr double SecondDays = 1.0 / 86400.0;
constexpr double Minute = 60 * SecondDays;
constexpr double SpanDays = 3.0;
constexpr double SunsetAltitude = -50.0 / 60.0; // degrees
constexpr double CivilTwilight = -6.0;

class BodyEventsTest : public ::testing::Test {
protected:
    void SetUp() override { LOAD_DEFAULT_EPHEMERIS_OR_SKIP(); }
    void TearDown() override { FreeDEFile(); }

    static TargetState Body(int id)
    {
        TargetState body;
        body.BodyId = id;
        return body;
    }
};

ObserverRecord Site(double latitudeDegrees, double longitudeDegrees, double height)
{
    return MakeObserver(DegToRad(latitudeDegrees), DegToRad(longitudeDegrees), height);
}

ObserverRecord London() { return Site(51.5074, -0.1278, 20.0); }
ObserverRecord Sydney() { return Site(-33.8688, 151.2093, 50.0); }
ObserverRecord Tromso() { return Site(69.6492, 18.9553, 0.0); }
ObserverRecord McMurdo() { return Site(-77.846, 166.676, 0.0); }

// A window as seconds after the span's start; -1 stands for the span's end.
struct ExpectedWindow {
    double start;
    double end;
};

void ExpectWindows(const std::vector<WindowItem> &found, const std::vector<ExpectedWindow> &expected,
                   double start, double end)
{
    ASSERT_EQ(found.size(), expected.size());
    auto instant = [&](double seconds) { return seconds < 0 ? end : start + seconds * SecondDays; };
    for (std::size_t i = 0; i < found.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(found[i].StartTime, instant(expected[i].start), Minute);
        EXPECT_NEAR(found[i].EndTime, instant(expected[i].end), Minute);
        EXPECT_LE(found[i].StartTime, found[i].EndTime);
    }
}

struct WindowCase {
    const char *name;
    ObserverRecord observer;
    bool above;
    double thresholdDegrees;
    std::vector<ExpectedWindow> expected; // PyEphem's rising and setting instants
};

TEST_F(BodyEventsTest, SunWindowsAgreeWithAlmanacInBothHemispheres)
{
    const double start = MakeInstant(2024, 3, 10), end = start + SpanDays;
    const std::vector<WindowCase> cases = {
        {"London day", London(), true, SunsetAltitude,
         {{23097.5, 64634.8}, {109363.0, 151138.4}, {195628.0, 237641.7}, {-1, -1}}},
        {"London dark", London(), false, CivilTwilight,
         {{0, 21106.1}, {66631.4, 107372.1}, {153134.4, 193637.6}, {239637.5, -1}}},
        {"Sydney day", Sydney(), true, SunsetAltitude,
         {{0, 29983.5}, {71478.0, 116304.1}, {157926.1, 202624.4}, {244373.9, -1}}},
        {"Sydney dark", Sydney(), false, CivilTwilight,
         {{31486.8, 69973.1}, {117806.0, 156422.6}, {204124.9, 242871.7}, {-1, -1}}},
    };
    for (const WindowCase &c : cases) {
        SCOPED_TRACE(c.name);
        ObserverRecord observer = c.observer;
        TargetState sun = Body(BodySun);
        sun.Mode = ModeRaDec;
        std::vector<WindowItem> windows;
        BuildBodyWindows(sun, c.above, !c.above, start, end, DegToRad(c.thresholdDegrees), windows,
                         observer);
        ExpectWindows(windows, c.expected, start, end);
        EXPECT_EQ(sun.Mode, ModeRaDec);
    }
}

// A star keeps the J2000 direction its picker gave it; its windows come from
// that fixed position. Sirius above 10 degrees from London, against PyEphem
// (tools/search_reference.py windows).
TEST_F(BodyEventsTest, StarWindowsFromItsFixedPosition)
{
    const double start = MakeInstant(2018, 1, 21), end = start + 1.25;
    ObserverRecord observer = London();
    TargetState sirius = Body(BodyStar);
    sirius.RaDec = Angles3{DegToRad(101.28715533), DegToRad(-16.71611586), AstronomicalUnitKm};
    SphericalToCartesian(sirius.RaDec, sirius.Position);
    const Vec4 fixed = sirius.Position;

    std::vector<WindowItem> windows;
    BuildBodyWindows(sirius, true, false, start, end, DegToRad(10.0), windows, observer);
    ExpectWindows(windows, {{0, 7007.7}, {70210.0, 93171.8}, {-1, -1}}, start, end);
    EXPECT_EQ(sirius.Position.x, fixed.x);
    EXPECT_EQ(sirius.Position.z, fixed.z);

    // A fixed target without a position has nothing to derive from.
    TargetState unset = Body(BodySkyPoint);
    unset.Mode = ModeRaDecHorizon;
    EXPECT_FALSE(UpdateBody(unset, UpdateSiderealObserver(start, observer), start, observer));
}

// Polar day and night: the Sun never crosses the horizon in the span. The
// window on the side it stays on covers the span; the other side yields one
// window without length at the end.
TEST_F(BodyEventsTest, PolarDayAndNightInBothHemispheres)
{
    struct PolarCase {
        const char *name;
        ObserverRecord observer;
        double start;
        bool sunUp;
    };
    const std::vector<PolarCase> cases = {
        {"Tromso June", Tromso(), MakeInstant(2024, 6, 20), true},
        {"Tromso December", Tromso(), MakeInstant(2024, 12, 20), false},
        {"McMurdo December", McMurdo(), MakeInstant(2024, 12, 20), true},
        {"McMurdo June", McMurdo(), MakeInstant(2024, 6, 20), false},
    };
    for (const PolarCase &c : cases) {
        SCOPED_TRACE(c.name);
        const double end = c.start + SpanDays;
        for (const bool above : {true, false}) {
            ObserverRecord observer = c.observer;
            TargetState sun = Body(BodySun);
            std::vector<WindowItem> windows;
            BuildBodyWindows(sun, above, !above, c.start, end, DegToRad(SunsetAltitude), windows,
                             observer);
            if (above == c.sunUp)
                ExpectWindows(windows, {{0, -1}}, c.start, end);
            else
                ExpectWindows(windows, {{-1, -1}}, c.start, end);
        }
    }
}

TEST_F(BodyEventsTest, TransitIsTheUpperCulminationEverywhere)
{
    const double start = MakeInstant(2024, 3, 10);
    struct TransitCase {
        const char *name;
        ObserverRecord observer;
        int body;
        double start;
        std::vector<double> transits; // PyEphem's next_transit, seconds after start
    };
    const std::vector<TransitCase> cases = {
        {"London Sun", London(), BodySun, start, {43837.6, 130221.9, 216605.9}},
        {"Sydney Sun", Sydney(), BodySun, start, {7523.2, 93907.6, 180291.8}},
        {"London Moon", London(), BodyMoon, start, {44474.5, 133964.8, 223442.8}},
        {"Sydney Moon", Sydney(), BodyMoon, start, {6832.6, 96350.6, 185824.7}},
        {"Tromso December Sun", Tromso(), BodySun, MakeInstant(2024, 12, 20), {38516.8}},
        {"McMurdo December Sun", McMurdo(), BodySun, MakeInstant(2024, 12, 20), {3051.7}},
    };
    for (const TransitCase &c : cases) {
        SCOPED_TRACE(c.name);
        ObserverRecord observer = c.observer;
        TargetState body = Body(c.body);
        double from = c.start;
        for (const double expected : c.transits) {
            const double found = FindBodyTransit(body, from, c.start + SpanDays, observer);
            EXPECT_NEAR(found, c.start + expected * SecondDays, Minute);
            // The upper culmination: 90 minutes either side it stands lower.
            const double altitude = body.Elevation;
            for (const double side : {-90 * Minute, 90 * Minute}) {
                TargetState probe = Body(c.body);
                probe.Mode = ModeRaDecHorizon;
                const double gmst = UpdateSiderealObserver(found + side, observer);
                ASSERT_TRUE(UpdateBody(probe, gmst, found + side, observer));
                EXPECT_LT(probe.Elevation, altitude);
            }
            from = found + Minute;
        }
        EXPECT_EQ(FindBodyTransit(body, from, from + 0.25, observer), from + 0.25);
    }
}

TEST_F(BodyEventsTest, AltitudeCrossingEdges)
{
    const double start = MakeInstant(2024, 3, 10);
    const double sunset = start + 64634.8 * SecondDays; // London, from the almanac
    const double threshold = DegToRad(SunsetAltitude);
    ObserverRecord observer = London();
    TargetState sun = Body(BodySun);

    EXPECT_EQ(FindBodyAltitudeCrossing(sun, BodySetting, threshold, start + 0.5, start + 0.5, observer),
              start + 0.5);
    // Already across at the start: midnight for a setting, noon for a rising.
    EXPECT_EQ(FindBodyAltitudeCrossing(sun, BodySetting, threshold, start, start + 1, observer), start);
    EXPECT_EQ(FindBodyAltitudeCrossing(sun, BodyRising, threshold, start + 0.5, start + 1, observer),
              start + 0.5);
    EXPECT_EQ(sun.Mode, ModeRaDecHorizon);
    // A crossing just after the end gives the end, never a later instant.
    for (const double early : {1.0, 4.0, 30.0, 90.0}) {
        const double end = sunset - early * Minute;
        EXPECT_EQ(FindBodyAltitudeCrossing(sun, BodySetting, threshold, start + 0.5, end, observer), end)
            << early;
    }
    EXPECT_NEAR(FindBodyAltitudeCrossing(sun, BodySetting, threshold, start + 0.5, start + 1, observer),
                sunset, Minute);

    // An end within seconds of the crossing, on either side, at any
    // millisecond: the refinement's last one-second steps must not carry the
    // result past it.
    for (const int direction : {BodySetting, BodyRising}) {
        const double from = direction == BodySetting ? start + 0.5 : start;
        const double crossing = FindBodyAltitudeCrossing(sun, direction, threshold, from, start + 1, observer);
        for (int ms = -6000; ms <= 6000; ms += 37) {
            const double end = crossing + ms / 86400000.0;
            EXPECT_LE(FindBodyAltitudeCrossing(sun, direction, threshold, from, end, observer), end)
                << direction << " " << ms;
        }
    }
}

TEST_F(BodyEventsTest, WindowsAlwaysMakeProgress)
{
    const double start = MakeInstant(2024, 3, 10) + 0.3, end = start + 1.0;
    ObserverRecord observer = London();
    TargetState sun = Body(BodySun);
    std::vector<WindowItem> windows;

    BuildBodyWindows(sun, false, false, start, end, 0.0, windows, observer);
    EXPECT_TRUE(windows.empty());
    BuildBodyWindows(sun, true, false, start, start, 0.0, windows, observer);
    EXPECT_TRUE(windows.empty());
    BuildBodyWindows(sun, true, true, start, start, 0.0, windows, observer);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0].StartTime, start);
    EXPECT_EQ(windows[0].EndTime, start);

    // A threshold equal to the Sun's altitude at the start: the Sun is both
    // "risen" and "set" there. The windows must still move on, each with a
    // length, the last one ending at the end.
    sun.Mode = ModeRaDecHorizon;
    const double gmst = UpdateSiderealObserver(start, observer);
    ASSERT_TRUE(UpdateBody(sun, gmst, start, observer));
    const double exact = sun.Elevation;
    for (const bool above : {true, false}) {
        SCOPED_TRACE(above);
        windows.clear();
        BuildBodyWindows(sun, above, !above, start, end, exact, windows, observer);
        ASSERT_FALSE(windows.empty());
        ASSERT_LE(windows.size(), 3u);
        double previousEnd = start;
        for (const WindowItem &w : windows) {
            EXPECT_GE(w.StartTime, previousEnd);
            EXPECT_TRUE(w.EndTime > w.StartTime || w.EndTime == end);
            previousEnd = w.EndTime;
        }
        EXPECT_EQ(windows.back().EndTime, end);
    }
}

} // namespace
