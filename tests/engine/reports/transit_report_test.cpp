// Report and satellite headers and the transit table as text, the table's
// closest-approach search, the picker hand-over and the period check.
#include "engine/reports/transit_report.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/astronomy/bodies.h"
#include "engine/astronomy/de_reader.h"
#include "engine/astronomy/geodesy.h"
#include "engine/searches/pass_search.h"
#include "engine/searches/pass_steps.h"
#include "engine/runtime/program_state.h"
#include "engine/text/text_fields.h"
#include "engine/text/text_format.h"
#include "engine/runtime/ui_hooks.h"
#include "engine/astronomy/vectors.h"
#include "engine/satellite_test_support.h"

namespace {

const std::string Iss2018Line1 = "1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992";
const std::string Iss2018Line2 = "2 25544  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614";

constexpr double SecondDays = 1.0 / 86400.0;

ObserverRecord London()
{
    ObserverRecord observer = MakeObserver(DegToRad(51.5074), DegToRad(-0.1278), 20.0);
    observer.Name.assign("London");
    observer.UtcOffset = 1.0 / 24.0;
    return observer;
}

TleRecord Iss()
{
    TleRecord record;
    EXPECT_GE(ParseSatElements(Iss2018Line1, Iss2018Line2, record, true), 0);
    InitSatelliteModel(record);
    record.Name.assign("ISS (ZARYA)");
    record.Number.assign("25544");
    record.StdMagnitude = -0.5;
    return record;
}

// Units and hooks are program-wide; each test leaves them as it found them.
class TransitReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedMetric_ = Options.Metric;
        savedFactor_ = DistanceFactor;
        savedHooks_ = Hooks();
        Hooks() = UiHooks{};
        UseKilometres(true);
    }
    void TearDown() override
    {
        Options.Metric = savedMetric_;
        DistanceFactor = savedFactor_;
        Hooks() = savedHooks_;
        FreeDEFile();
    }
    static void UseKilometres(bool metric)
    {
        Options.Metric = metric ? 1 : 0;
        DistanceFactor = metric ? 1.0 : 0.621371;
    }

private:
    std::uint8_t savedMetric_ = 1;
    double savedFactor_ = 1.0;
    UiHooks savedHooks_;
};

TEST_F(TransitReportTest, ReportHeaderInUtcAndLocalTime)
{
    const ObserverRecord observer = London();
    const double present = MakeInstant(2024, 3, 10, 12, 34, 56);
    const double start = MakeInstant(2024, 3, 10), stop = MakeInstant(2024, 3, 11, 6);
    std::vector<std::string> lines;
    WriteReportHeader(true, lines, start, stop, observer, present);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "   ",
                         "  Produced:  Mar 10 2024 12:34:56(Z) ",
                         "  Location: London Lat: 51.5074  Lon: -0.1278",
                         "  Start: Mar 10 2024 00:00:00(Z)  Stop: Mar 11 2024 06:00:00(Z)",
                         "  ",
                         "  All Times are \"UTC\"",
                         "  ",
                     }));
    lines.clear();
    WriteReportHeader(false, lines, start, stop, observer, present);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "   ",
                         "  Produced:  Mar 10 2024 13:34:56(L) ",
                         "  Location: London Lat: 51.5074  Lon: -0.1278",
                         "  Start: Mar 10 2024 00:00:00(L)  Stop: Mar 11 2024 06:00:00(L)",
                         "  ",
                         "  All Times are \"Local\"",
                         "  ",
                     }));
}

TEST_F(TransitReportTest, SatelliteHeaderInKilometresAndMiles)
{
    const TleRecord record = Iss();
    std::vector<std::string> lines;
    WriteSatelliteHeader(record, lines, London());
    UseKilometres(false);
    WriteSatelliteHeader(record, lines, London());
    const std::string rule = "  " + std::string(70, '-');
    EXPECT_EQ(lines, (std::vector<std::string>{
                         rule,
                         "  Satellite: ISS (ZARYA)  -  25544",
                         "  TLE Date: Jan 20 2018 21:33:14(Z) - Jan 20 2018 22:33:14(L)",
                         "  Apoge:  407.5 km  Perige:  402.5 km",
                         rule,
                         "  Satellite: ISS (ZARYA)  -  25544",
                         "  TLE Date: Jan 20 2018 21:33:14(Z) - Jan 20 2018 22:33:14(L)",
                         "  Apoge:  253.2 mi.  Perige:  250.1 mi.",
                     }));
}

// The ISS's direction from London at an instant, as a fixed sky point.
TargetState SkyPointOnTheTrack(double instant)
{
    TleRecord record = Iss();
    ObserverRecord observer = London();
    TargetState probe;
    probe.Mode = ModeRaDec;
    const double gmst = UpdateSiderealObserver(instant, observer);
    EXPECT_TRUE(PropagateSatellite(record, probe, gmst, instant, observer));
    TargetState point;
    point.BodyId = BodySkyPoint;
    point.RaDec = Angles3{probe.RaDec.first, probe.RaDec.second, AstronomicalUnitKm};
    SphericalToCartesian(point.RaDec, point.Position);
    return point;
}

std::vector<std::string> TransitTable(const TargetState &target, const std::vector<WindowItem> &windows,
                                      double limitDegrees, bool dayOrNight, bool utc,
                                      const ObserverRecord &site)
{
    TleRecord record = Iss();
    TargetState moved = target;
    ObserverRecord observer = site;
    std::vector<std::string> lines;
    WriteTransitTable(record, moved, windows, 0.0, limitDegrees, dayOrNight, utc, DistanceFactor, lines,
                      observer);
    return lines;
}

// The separation column (arcminutes) of a table row.
double SeparationMinutes(const std::string &row)
{
    const std::vector<std::string> fields = SplitString(' ', row, true);
    EXPECT_EQ(fields.size(), 9u) << row;
    double value = -1.0;
    if (fields.size() == 9)
        std::from_chars(fields[6].data(), fields[6].data() + fields[6].size(), value);
    return value;
}

// Without an ephemeris the Sun is unknown: the day-or-night flag keeps the
// table from asking about twilight, and the sunlit and magnitude columns
// show what an unknown Sun gives (lit, half phase).
TEST_F(TransitReportTest, TransitTableAgainstASkyPoint)
{
    const double day = MakeInstant(2018, 1, 21);
    const TargetState point = SkyPointOnTheTrack(day + 2730.0 * SecondDays);
    const std::vector<WindowItem> windows = {{day + 0.5, day}, {day + 1.0, day + 0.5}};
    const std::string rule = "  " + std::string(70, '-');
    const std::string columns =
        "  MM/DD Time        Alt   Az    Mag     Satlit   Sep(m)   Range   Illum(%)";

    EXPECT_EQ(TransitTable(point, windows, 1.0, true, true, London()),
              (std::vector<std::string>{
                  rule,
                  "  Satellite: ISS (ZARYA)  -  25544",
                  "  TLE Date: Jan 20 2018 21:33:14(Z) - Jan 20 2018 22:33:14(L)",
                  "  Apoge:  407.5 km  Perige:  402.5 km",
                  "  ",
                  columns,
                  "  01/21 00:45:29    89    181   -2.4    Yes      1.57     410     100.0",
              }));
    UseKilometres(false);
    EXPECT_EQ(TransitTable(point, windows, 1.0, true, false, London()),
              (std::vector<std::string>{
                  rule,
                  "  Satellite: ISS (ZARYA)  -  25544",
                  "  TLE Date: Jan 20 2018 21:33:14(Z) - Jan 20 2018 22:33:14(L)",
                  "  Apoge:  253.2 mi.  Perige:  250.1 mi.",
                  "  ",
                  columns,
                  "  01/21 01:45:29    89    181   -2.4    Yes      1.57     254     100.0",
              }));

    // No windows, or no approach within the limit: not even a header.
    EXPECT_TRUE(TransitTable(point, {}, 1.0, true, true, London()).empty());
    EXPECT_TRUE(TransitTable(point, {{day + 1.0, day + 0.5}}, 1.0, true, true, London()).empty());
    // A point on the track some minutes after the set: the satellite reaches
    // it below the horizon, where nothing is seen.
    EXPECT_TRUE(TransitTable(SkyPointOnTheTrack(day + 3400.0 * SecondDays), windows, 1.0, true, true, London())
                    .empty());

    // A point on the track a second after the set: the satellite, still
    // closing on it, is seen nearest at its set, above the horizon.
    TleRecord iss = Iss();
    ObserverRecord london = London();
    TargetState state;
    const double set = FindSetSecond(iss, state, 0.0, day + 2730.0 * SecondDays, day + 0.5, london);
    const std::vector<std::string> atSet =
        TransitTable(SkyPointOnTheTrack(set + SecondDays), windows, 1.0, true, true, London());
    ASSERT_EQ(atSet.size(), 7u);
    const std::string shown = atSet.back().substr(2, 14);
    EXPECT_TRUE(shown == FormatInstant("mm/dd HH:nn:ss", set - SecondDays) ||
                shown == FormatInstant("mm/dd HH:nn:ss", set - 2.0 * SecondDays))
        << shown;
    EXPECT_LT(SeparationMinutes(atSet.back()), 15.0);

    // A point 2.5 degrees under the satellite as it sets is below the
    // horizon: however near within the limit, no transit is seen.
    state.Mode = ModeRaDecHorizon;
    const double low = set - 10.0 * SecondDays;
    ASSERT_TRUE(MoveSatellite(iss, state, london, low));
    TargetState under;
    under.BodyId = BodySkyPoint;
    HorizontalToEqu(Angles3{london.Latitude, london.Longitude, 0.0}, state.Elevation - DegToRad(2.5),
                    state.Azimuth, under.RaDec, low, UpdateSiderealObserver(low, london));
    under.RaDec.third = AstronomicalUnitKm;
    SphericalToCartesian(under.RaDec, under.Position);
    EXPECT_TRUE(TransitTable(under, windows, 5.0, true, true, London()).empty());
}

// A satellite 200 km up crosses some 20 degrees of sky near the zenith
// between two coarse samples; wherever along that stretch the target lies,
// the approach is found.
TEST_F(TransitReportTest, ApproachBetweenCoarseSamplesIsFound)
{
    TleRecord low = Iss();
    ASSERT_GE(ParseSatElements(Iss2018Line1, WithField(Iss2018Line2, 53, "16.30000000"), low, true), 0);
    InitSatelliteModel(low);
    const double overhead = InstantAfterEpoch(low, 240.0);

    // The observer right under the satellite at that instant.
    ObserverRecord observer = London();
    TargetState state;
    state.Mode = ModeSubPoint;
    ASSERT_TRUE(PropagateSatellite(low, state, UpdateSiderealObserver(overhead, observer), overhead,
                                   observer));
    ObserverRecord below = MakeObserver(state.SubPoint.first, state.SubPoint.second, 0.0);

    const std::vector<WindowItem> windows = {{overhead + 0.01, overhead - 0.01}};
    for (int k = 0; k < 40; ++k) {
        const double instant = overhead + (0.25 * k - 5.0) * SecondDays;
        TleRecord record = low;
        ObserverRecord observer = below;
        TargetState probe;
        probe.Mode = ModeRaDec;
        ASSERT_TRUE(PropagateSatellite(record, probe, UpdateSiderealObserver(instant, observer), instant,
                                       observer));
        TargetState point;
        point.BodyId = BodySkyPoint;
        SphericalToCartesian(Angles3{probe.RaDec.first, probe.RaDec.second, AstronomicalUnitKm},
                             point.Position);

        std::vector<std::string> lines;
        WriteTransitTable(record, point, windows, 0.0, 0.5, true, true, 1.0, lines, observer);
        ASSERT_EQ(lines.size(), 7u) << k;
        EXPECT_LT(SeparationMinutes(lines.back()), 6.0) << lines.back();
    }
}

struct MoonTransit {
    double instant;
    ObserverRecord observer;
};

// An instant at which the ISS stands in front of the Moon, seen from some
// point on the ground with the Moon 20 degrees up and the Sun well up (or well
// down) there, and an observer at that point.
MoonTransit FindMoonTransit(bool sunUp)
{
    const double day = MakeInstant(2018, 1, 21);
    for (double t = day; t < day + 3.0; t += 20 * SecondDays) {
        TleRecord record = Iss();
        ObserverRecord london = London();
        TargetState satellite, moon;
        moon.BodyId = BodyMoon;
        Angles3 ground;
        double distance = 0;
        if (!CalcTransitGroundPoint(satellite, moon, record, t, ground, true, distance, london) ||
            moon.Elevation < DegToRad(20.0))
            continue;
        ObserverRecord site = MakeObserver(ground.first, ground.second, ground.third * 1000.0);
        TargetState sun;
        sun.BodyId = BodySun;
        sun.Mode = ModeRaDecHorizon;
        const double gmst = UpdateSiderealObserver(t, site);
        EXPECT_TRUE(UpdateBody(sun, gmst, t, site));
        if (sunUp ? sun.Elevation > DegToRad(10.0) : sun.Elevation < DegToRad(-10.0))
            return {t, site};
    }
    ADD_FAILURE() << "no Moon transit found";
    return {day, London()};
}

// The Moon moves while the satellite approaches it and is compared with the
// satellite in the frame of date; the Sun's altitude decides a daylight row.
TEST_F(TransitReportTest, MoonTransitFoundAtItsInstantByNightOnly)
{
    LOAD_DEFAULT_EPHEMERIS_OR_SKIP();
    TargetState moon;
    moon.BodyId = BodyMoon;
    for (const bool sunUp : {false, true}) {
        SCOPED_TRACE(sunUp ? "day" : "night");
        const MoonTransit transit = FindMoonTransit(sunUp);
        const std::vector<WindowItem> windows = {{transit.instant + 0.02, transit.instant - 0.02}};

        const std::vector<std::string> lines = TransitTable(moon, windows, 0.5, true, true, transit.observer);
        ASSERT_EQ(lines.size(), 7u);
        EXPECT_LT(SeparationMinutes(lines.back()), 3.0) << lines.back();
        const std::string expectedTime = FormatInstant("mm/dd HH:nn:ss", transit.instant);
        const std::string secondLater = FormatInstant("mm/dd HH:nn:ss", transit.instant + SecondDays);
        const std::string secondEarlier = FormatInstant("mm/dd HH:nn:ss", transit.instant - SecondDays);
        const std::string shown = lines.back().substr(2, 14);
        EXPECT_TRUE(shown == expectedTime || shown == secondLater || shown == secondEarlier)
            << shown << " for " << expectedTime;

        const std::vector<std::string> nightOnly =
            TransitTable(moon, windows, 0.5, false, true, transit.observer);
        EXPECT_EQ(nightOnly.size(), sunUp ? 0u : 7u);
    }
}

// The Sun as target is only ever seen by day, so the darkness test must not
// reject it. The ISS in front of the Sun as PyEphem and python3-sgp4 see it
// (tools/search_reference.py transits): 09:00:00, 0.04', 21.93 degrees up at
// azimuth 101.57, 957.11 km away.
TEST_F(TransitReportTest, SunTransitIsWrittenWithoutDayOrNight)
{
    LOAD_DEFAULT_EPHEMERIS_OR_SKIP();
    const double transit = MakeInstant(2018, 1, 21, 9, 0, 0);
    const ObserverRecord site = MakeObserver(DegToRad(-28.0868), DegToRad(-27.2692), 0.0);
    TargetState sun;
    sun.BodyId = BodySun;
    const std::vector<WindowItem> windows = {{transit + 0.02, transit - 0.02}};
    const std::vector<std::string> lines = TransitTable(sun, windows, 0.5, false, true, site);
    ASSERT_EQ(lines.size(), 7u);
    const std::vector<std::string> fields = SplitString(' ', lines.back(), true);
    ASSERT_EQ(fields.size(), 9u) << lines.back();
    EXPECT_EQ(fields[0], "01/21");
    const std::string shown = fields[1];
    EXPECT_TRUE(shown == "08:59:59" || shown == "09:00:00" || shown == "09:00:01") << shown;
    auto number = [&](int k) {
        double value = 0.0;
        std::from_chars(fields[k].data(), fields[k].data() + fields[k].size(), value);
        return value;
    };
    EXPECT_NEAR(number(2), 21.93, 1.0);
    EXPECT_NEAR(number(3), 101.57, 1.0);
    EXPECT_LT(number(6), 3.0);
    EXPECT_NEAR(number(7), 957.11, 2.0);
    EXPECT_EQ(fields[8], "100.0");
}

TEST_F(TransitReportTest, PredictionPeriodOfAtMostFifteenDays)
{
    std::vector<std::string> shown;
    Hooks().showMessage = [&](const std::string &text, const std::string &, MessageKind) {
        shown.push_back(text);
        return true;
    };
    const double start = MakeInstant(2024, 3, 10, 7, 13, 21, 123);
    EXPECT_TRUE(CheckPredictionPeriod(start, start));
    EXPECT_TRUE(CheckPredictionPeriod(start, MakeInstant(2024, 3, 25, 7, 13, 21, 123)));
    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(CheckPredictionPeriod(start, MakeInstant(2024, 3, 25, 7, 13, 22, 123)));
    EXPECT_FALSE(CheckPredictionPeriod(start, start - SecondDays));
    EXPECT_EQ(shown, (std::vector<std::string>{
                         "Prediction period between Start and End Dates exceeds 15 days",
                         "The End Date is set prior to Start Date",
                     }));
}

TEST_F(TransitReportTest, TransitTargetFromThePickers)
{
    std::string raShown, decShown;
    Hooks().pickSkyPoint = [&](const std::string &ra, const std::string &dec, double &outRa,
                               double &outDec) {
        raShown = ra;
        decShown = dec;
        outRa = DegToRad(90.0);
        outDec = DegToRad(-30.0);
        return true;
    };
    TargetState target;
    target.BodyId = BodySkyPoint;
    target.RaDec = Angles3{DegToRad((5 + 7 / 60.0 + 9 / 3600.0) * 15.0), DegToRad(-(5 + 7 / 60.0 + 9 / 3600.0)), 0};
    std::string name = "old";
    EXPECT_TRUE(SelectTransitTarget(target, name, 0, 0));
    EXPECT_EQ(raShown, "050709");
    EXPECT_EQ(decShown, "-050709");
    EXPECT_EQ(name, "Ra/Dec");
    EXPECT_NEAR(target.Position.y, AstronomicalUnitKm * std::sqrt(0.75), 1e-3);
    EXPECT_NEAR(target.Position.z, -AstronomicalUnitKm / 2, 1e-3);

    // A picker that chose nothing leaves the target where it was: a search
    // towards right ascension and declination 0 would answer a question
    // nobody asked.
    Hooks().pickSkyPoint = [](const std::string &, const std::string &, double &, double &) {
        return false;
    };
    const TargetState before = target;
    EXPECT_FALSE(SelectTransitTarget(target, name, 0, 0));
    EXPECT_EQ(target.RaDec.first, before.RaDec.first);
    EXPECT_EQ(target.Position.z, before.Position.z);

    int firstSeen = 0, secondSeen = 0;
    Hooks().pickStar = [&](int first, int second, double &, double &, std::string &) {
        firstSeen = first;
        secondSeen = second;
        return false;
    };
    target.BodyId = BodyStar;
    name = "Vega";
    EXPECT_FALSE(SelectTransitTarget(target, name, 17, 42));
    EXPECT_EQ(firstSeen, 17);
    EXPECT_EQ(secondSeen, 42);
    EXPECT_EQ(name, "Vega");
    EXPECT_EQ(target.RaDec.second, before.RaDec.second);
    Hooks().pickStar = [](int, int, double &ra, double &dec, std::string &star) {
        star = "Sirius";
        ra = 1.0;
        dec = 0.5;
        return true;
    };
    EXPECT_TRUE(SelectTransitTarget(target, name, 0, 0));
    EXPECT_EQ(name, "Sirius");
    EXPECT_EQ(target.RaDec.second, 0.5);

    // Ephemeris bodies are not picked.
    target = TargetState{};
    target.BodyId = BodyMoon;
    name = "Moon";
    SelectTransitTarget(target, name, 0, 0);
    EXPECT_EQ(name, "Moon");
    EXPECT_EQ(target.Position.w, 0.0);
}

} // namespace
