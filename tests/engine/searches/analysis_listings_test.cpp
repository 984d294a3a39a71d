// The analysis listings over the default element file against independent
// peers: Skyfield's EarthSatellite (python3-sgp4, WGS72, Skyfield's own
// timescale) for positions, PyEphem 4.1.4 for the Sun, the Moon and shadow.
// Values from tools/analysis_references.py. Needs the set-up's data.
#include "engine/searches/analysis_listings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/astronomy/de_reader.h"
#include "engine/text/text_format.h"
#include "engine/satellite_test_support.h"

namespace {

constexpr double SecondDays = 1.0 / 86400.0;

struct VisibleReference {
    const char *number;
    double azimuth, elevation, range, height, fraction;
    int eclipsed;
    double shadowMargin; // degrees inside the spherical shadow's edge (lit when > 0)
};

// Every set of 14 < n < 18 revs a day above 9 degrees at 2018-01-21 20:00 UTC
// from 51.5 N 0.1 W.
const VisibleReference Visible[] = {
    {"22739", 315.9271, 44.5045, 1165.236, 864.584, 0.44639, 0, 1.274},
    {"24839", 137.6828, 11.5354, 2219.511, 782.129, 0.87457, 1, -17.959},
    {"25171", 8.8202, 10.1305, 2333.745, 788.510, 0.54949, 1, -3.537},
    {"25262", 286.2024, 19.7220, 1674.898, 741.645, 0.19446, 0, 6.768},
    {"26931", 284.6785, 13.3428, 2139.012, 801.342, 0.15150, 0, 11.810},
    {"39136", 211.4520, 11.2084, 1694.460, 532.342, 0.38914, 1, -3.364},
    {"40926", 199.6683, 24.6616, 904.771, 427.407, 0.53581, 1, -10.319},
    {"41565", 77.0690, 69.0276, 342.937, 321.341, 0.88916, 1, -15.620},
    {"41577", 84.7405, 45.8797, 438.163, 321.483, 0.97718, 1, -17.176},
    {"41611", 98.3255, 12.7631, 1512.136, 493.893, 0.97185, 1, -22.912},
    {"41777", 167.7795, 50.8715, 449.530, 354.697, 0.80031, 1, -14.554},
    {"41788", 118.0957, 11.6629, 2033.444, 696.866, 0.94441, 1, -21.791},
    {"41933", 95.2733, 13.5800, 1142.996, 360.429, 0.97354, 1, -23.085},
    {"41955", 64.7562, 18.5405, 1255.247, 502.664, 0.91868, 1, -18.481},
    {"41961", 29.4753, 13.6428, 1484.725, 503.069, 0.71043, 1, -14.018},
    {"41996", 94.2206, 15.0441, 1417.421, 505.137, 0.97696, 1, -21.727},
    {"42014", 21.3690, 10.9173, 1650.287, 505.894, 0.64339, 1, -12.418},
    {"42038", 101.1152, 12.9333, 1526.027, 503.914, 0.97189, 1, -22.768},
    {"42040", 91.2006, 15.4926, 1393.985, 504.470, 0.97594, 1, -21.464},
    {"42789", 94.6378, 21.7340, 1165.049, 516.722, 0.99101, 1, -19.062},
    {"42910", 138.9943, 11.5279, 1317.846, 387.719, 0.86845, 1, -20.872},
    {"42958", 283.7435, 24.6867, 1547.827, 785.606, 0.22762, 0, 6.066},
};

// An ISS instant and the ground point from which it stands on the target.
struct TransitReference {
    int body;
    double instant, latitude, longitude;
};

struct VisibleRow {
    double azimuth, elevation, range, height;
    std::optional<double> magnitude; // blank in the Earth's shadow
    std::string sunlit;
};

// The rows of a visible listing by catalogue number.
std::map<std::string, VisibleRow> VisibleRows(const std::vector<std::string> &lines)
{
    std::map<std::string, VisibleRow> rows;
    for (const std::string &line : lines) {
        if (line.size() < 60 || line.compare(7, 3, " - ") != 0)
            continue;
        VisibleRow row;
        std::istringstream fields(line.substr(32, 17) + line.substr(53));
        fields >> row.azimuth >> row.elevation >> row.range >> row.height >> row.sunlit;
        EXPECT_FALSE(fields.fail()) << line;
        if (line.substr(49, 4) != "    ")
            row.magnitude = std::stod(line.substr(49, 4));
        rows[line.substr(2, 5)] = row;
    }
    return rows;
}

int TransitRows(const std::vector<std::string> &lines)
{
    int rows = 0;
    for (const std::string &line : lines)
        rows += line.size() > 8 && line[4] == '/' && line.compare(2, 2, "01") == 0;
    return rows;
}

double SecondsOfDay(const std::string &clock)
{
    return std::stoi(clock.substr(0, 2)) * 3600.0 + std::stoi(clock.substr(3, 2)) * 60.0 +
           std::stoi(clock.substr(6, 2));
}

double SecondsOfDay(double instant) { return SecondsOfDay(FormatInstant("HH:nn:ss", instant)); }

bool HasLineStarting(const std::vector<std::string> &lines, const std::string &start)
{
    for (const std::string &line : lines)
        if (line.rfind(start, 0) == 0)
            return true;
    return false;
}

class AnalysisListingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LOAD_DEFAULT_EPHEMERIS_OR_SKIP();
        const std::string folder = SetUpDataFolder();
        auto elements = std::make_shared<ElementList>();
        ASSERT_TRUE(LoadTleTextFile(*elements, folder + "/tle/gpredict.tle"));
        inputs.Elements = elements;
        inputs.Observer = MakeObserver(DegToRad(51.5), DegToRad(-0.1));
        inputs.Observer.Name.assign("Home");
    }
    void TearDown() override { FreeDEFile(); }

    const ElementRecord &Element(const std::string &name) const
    {
        for (const ElementRecord &element : *inputs.Elements)
            if (element.Name.str() == name)
                return element;
        throw std::runtime_error("no " + name);
    }

    AnalysisInputs inputs;
};

TEST_F(AnalysisListingsTest, VisibleSatellitesAgreeWithPeersInsideTheBox)
{
    inputs.Instant = inputs.InstantShown = MakeInstant(2018, 1, 21, 20);
    const auto rows = VisibleRows(ListVisibleSatellites(inputs));
    std::set<std::string> known;
    for (const VisibleReference &expected : Visible) {
        SCOPED_TRACE(expected.number);
        known.insert(expected.number);
        const auto row = rows.find(expected.number);
        // Membership is only decided away from the box's lower edge.
        if (std::fabs(expected.elevation - 10.0) < 0.2)
            continue;
        ASSERT_EQ(row != rows.end(), expected.elevation >= 10.0);
        if (row == rows.end())
            continue;
        const VisibleRow &found = row->second;
        EXPECT_NEAR(found.azimuth, expected.azimuth, 0.1);
        EXPECT_NEAR(found.elevation, expected.elevation, 0.1);
        EXPECT_NEAR(found.range, expected.range, 0.5);
        EXPECT_NEAR(found.height, expected.height, 1.0);
        const double magnitude =
            8.0 - 15.75 + 2.5 * std::log10(expected.range * expected.range / expected.fraction);
        if (found.magnitude)
            EXPECT_NEAR(*found.magnitude, magnitude, 0.1);
        if (std::fabs(expected.shadowMargin) > 1.0) {
            EXPECT_EQ(found.sunlit, expected.eclipsed ? "N" : "Y");
            EXPECT_EQ(found.magnitude.has_value(), !expected.eclipsed);
        }
    }
    for (const auto &[number, row] : rows)
        EXPECT_TRUE(known.count(number)) << number << " is not above the box in the peers";
}

TEST_F(AnalysisListingsTest, MeanMotionLimitsExcludeTheirEndsWhileTheBoxIncludesIts)
{
    ElementList one;
    ParseTleText("SYNTH\n" + IssLine1 + "\n" + Line2WithMeanMotion(14.0) + "\n", one);
    ASSERT_EQ(one.size(), 1u);
    inputs.Elements = std::make_shared<ElementList>(one);
    TleRecord record = MakeSatellite(IssLine1, Line2WithMeanMotion(14.0));
    inputs.Instant = inputs.InstantShown = InstantAfterEpoch(record, 30.0);
    // Beside the sub-point, so the satellite stands high in a definite direction.
    TargetState state;
    state.Mode = ModeAll;
    ObserverRecord observer = inputs.Observer;
    ASSERT_TRUE(PropagateSatellite(record, state, UpdateSiderealObserver(inputs.Instant, observer),
                                   inputs.Instant, observer));
    inputs.Observer = MakeObserver(state.SubPoint.first - DegToRad(5.0), state.SubPoint.second);
    observer = inputs.Observer;
    ASSERT_TRUE(PropagateSatellite(record, state, UpdateSiderealObserver(inputs.Instant, observer),
                                   inputs.Instant, observer));

    inputs.MinAzimuth = inputs.MaxAzimuth = RadToDeg(state.Azimuth);
    inputs.MinElevation = inputs.MaxElevation = RadToDeg(state.Elevation);
    inputs.MinRevs = 14;
    const auto none = ListVisibleSatellites(inputs);
    EXPECT_TRUE(VisibleRows(none).empty());
    EXPECT_EQ(none.back(), "  No satellites visible inside the limits.");
    inputs.MinRevs = 13;
    EXPECT_EQ(VisibleRows(ListVisibleSatellites(inputs)).size(), 1u);
    inputs.MaxRevs = 14;
    EXPECT_TRUE(VisibleRows(ListVisibleSatellites(inputs)).empty());
}

// Element sets eight years old mostly fail to propagate; a failure is not
// a position, so none may be listed, whether the library marked it decayed
// or not.
TEST_F(AnalysisListingsTest, SetsThatFailToPropagateAreNeverListed)
{
    inputs.Instant = inputs.InstantShown = MakeInstant(2026, 12, 9);
    inputs.MinElevation = 0.0;
    std::set<std::string> failing;
    for (const ElementRecord &element : *inputs.Elements) {
        TleRecord record;
        if (!LoadSatFromElementRecord(record, element, false, inputs.MinRevs, inputs.MaxRevs))
            continue;
        TargetState state;
        ObserverRecord observer = inputs.Observer;
        if (!PropagateSatellite(record, state, UpdateSiderealObserver(inputs.Instant, observer),
                                inputs.Instant, observer))
            failing.insert(record.Number.str());
    }
    ASSERT_TRUE(failing.count(Element("IRIDIUM 6 [-]").Number.str()));
    const auto lines = ListVisibleSatellites(inputs);
    const auto rows = VisibleRows(lines);
    EXPECT_FALSE(rows.empty());
    for (const auto &[number, row] : rows)
        EXPECT_FALSE(failing.count(number)) << number;
    for (const std::string &line : lines)
        EXPECT_EQ(line.find("nan"), std::string::npos) << line;
}

TEST_F(AnalysisListingsTest, IssTransitsGiveOneRowForEachTarget)
{
    const TransitReference cases[] = {
        {BodySun, MakeInstant(2018, 1, 21, 0, 0, 0), -53.217592, -162.215274},
        {BodyMoon, MakeInstant(2018, 1, 21, 9, 42, 0), 19.011971, 144.512128},
        {BodyStar, MakeInstant(2018, 1, 21, 0, 27, 20), 23.733397, -86.563087},
    };
    inputs.Elements = std::make_shared<ElementList>(ElementList{Element("ISS (ZARYA)")});
    for (const TransitReference &reference : cases) {
        SCOPED_TRACE(reference.body);
        inputs.Observer = MakeObserver(DegToRad(reference.latitude), DegToRad(reference.longitude));
        inputs.Instant = inputs.InstantShown = reference.instant - 30.0 / 1440.0;
        inputs.Target = TargetState{};
        inputs.Target.BodyId = reference.body;
        inputs.TargetName = reference.body == BodyStar ? "Sirius" : "Body";
        if (reference.body == BodyStar) {
            inputs.Target.RaDec = {DegToRad(101.28715533), DegToRad(-16.71611586), AstronomicalUnitKm};
            SphericalToCartesian(inputs.Target.RaDec, inputs.Target.Position);
        }
        const auto lines = SearchAnalysisTransits(inputs);
        EXPECT_EQ(TransitRows(lines), 1);
        for (const std::string &line : lines)
            if (TransitRows({line}) == 1) {
                EXPECT_NEAR(SecondsOfDay(line.substr(8, 8)), SecondsOfDay(reference.instant), 2.0)
                    << line;
            }
        EXPECT_EQ(HasLineStarting(lines, "  Epoch Date: "), reference.body == BodyStar);
        EXPECT_EQ(HasLineStarting(lines, "  RA: 06h 45m 09s   DEC: -16"), reference.body == BodyStar);

        // Two hours later the span holds no transit, and the report says so.
        inputs.Instant = inputs.InstantShown = reference.instant + 2.0 / 24.0;
        const auto later = SearchAnalysisTransits(inputs);
        EXPECT_EQ(TransitRows(later), 0);
        EXPECT_EQ(later.back(), "  No transits found.");
    }
}

struct DecayCase {
    const char *name;
    double days; // rough estimate from the elements
};

// Each fast set is listed from its epoch to its estimated decay, and only
// then; the sets skipped before and after it do not stop the listing.
TEST_F(AnalysisListingsTest, DecaysAreListedBetweenEpochAndEstimatedDecay)
{
    const DecayCase cases[] = {
        {"FLOCK 2E-2", 2.583}, {"IRIDIUM 6 [-]", 0.056}, {"IRIDIUM 34 [-]", 0.075}, {"OSNSAT", 0.193}};
    for (const DecayCase &decay : cases) {
        SCOPED_TRACE(decay.name);
        TleRecord record;
        ASSERT_TRUE(LoadSatFromElementRecord(record, Element(decay.name), true, 1.0, 20.0));
        const double epoch = record.Elements.epoch - JulianDateOfDayZero;
        const std::string key = record.Number.str() + "-" + decay.name;
        const struct {
            double instant;
            bool listed;
        } probes[] = {{epoch - 0.002, false},
                      {epoch + 0.002, true},
                      {epoch + decay.days - 0.002, true},
                      {epoch + decay.days + 0.002, false}};
        for (const auto &probe : probes) {
            inputs.Instant = inputs.InstantShown = probe.instant;
            EXPECT_EQ(HasLineStarting(ListDecayedSatellites(inputs), "  " + key), probe.listed)
                << FormatInstant("yyyy-mm-dd HH:nn:ss", probe.instant);
        }
    }
}

TEST_F(AnalysisListingsTest, DecayLinesShowDayCountDatesInTheChosenUnitAndTimeScale)
{
    inputs.Elements = std::make_shared<ElementList>(ElementList{Element("FLOCK 2E-2")});
    inputs.Instant = inputs.InstantShown = MakeInstant(2018, 1, 22);
    auto lines = ListDecayedSatellites(inputs);
    EXPECT_EQ(lines.back(), "  41484-FLOCK 2E-2                    230     220   21/01/2018 03:39:00   "
                            "23/01/2018 17:38:37");
    inputs.UtcMode = false;
    inputs.Observer.UtcOffset = 2.0 / 24.0;
    inputs.DistanceFactor = 0.621371;
    lines = ListDecayedSatellites(inputs);
    EXPECT_EQ(lines.back(), "  41484-FLOCK 2E-2                    143     137   21/01/2018 05:39:00   "
                            "23/01/2018 19:38:37");
    // Before its epoch nothing is listed, and the listing says so.
    inputs.Instant = inputs.InstantShown = MakeInstant(2018, 1, 20);
    EXPECT_EQ(ListDecayedSatellites(inputs).back(), "  No decaying satellites found.");
}

} // namespace
