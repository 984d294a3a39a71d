// The Iridium flare search over the default element sets against an
// independent model (tools/search_reference.py: python3-sgp4, PyEphem's Sun,
// the mirror panels written out again): the flare geometry at given
// instants, and the flares of three nights and days from London.
#include "engine/searches/flare_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "engine/astronomy/de_reader.h"
#include "engine/files/element_files.h"
#include "engine/files/settings.h"
#include "engine/iridium_set_fixture.h"
#include "engine/program_folder_fixture.h"
#include "engine/searches/pass_steps.h"
#include "engine/searches/prediction_test_support.h"
#include "engine/text/text_format.h"
#include "engine/satellite_test_support.h"
#include "engine/satellites/catalogue_conversion.h"

namespace {

constexpr double SecondDays = 1.0 / 86400.0;

double SearchStart() { return MakeInstant(2018, 1, 21); }

ObserverRecord Greenwich() { return MakeObserver(DegToRad(51.5), DegToRad(-0.1), 0.0); }

// A minimum of the best panel's angle below 3 degrees, with the satellite
// 5 degrees or more above the horizon: seconds after the start, the
// satellite's elevation, the Sun's altitude (degrees) and the observer's
// magnitude there.
struct Minimum {
    const char *name;
    double seconds;
    int panel;
    double angle;
    double elevation;
    double sunAltitude;
    double magnitude;
    bool sunlit;
};

// Sun below -6 degrees.
const Minimum NightMinima[] = {
    {"IRIDIUM 914 [-]", 69673.66, 2, 1.007, 37.0, -26.1, -1.57, false},
    {"IRIDIUM 10 [+]", 71842.11, 2, 0.236, 26.7, -31.7, -5.86, false},
    {"IRIDIUM 13 [+]", 157884.18, 2, 1.600, 25.7, -30.5, 0.13, false},
    {"IRIDIUM 911 [-]", 244629.40, 2, 0.223, 30.0, -31.2, -6.32, false},
    {"IRIDIUM 17 [-]", 245383.14, 1, 1.987, 5.8, -33.1, 1.00, false},
    {"IRIDIUM 920 [-]", 159915.29, 2, 1.854, 18.6, -35.7, 0.70, false},
    {"IRIDIUM 920 [-]", 244008.08, 2, 2.978, 9.2, -29.6, 2.10, false},
    {"IRIDIUM 29 [-]", 19715.81, 2, 2.244, 33.1, -22.1, 1.11, true},
    {"IRIDIUM 33 [-]", 106036.48, 2, 1.299, 29.6, -22.2, -0.53, true},
    {"IRIDIUM 28 [-]", 148455.97, 2, 2.465, 19.1, -6.6, 1.48, true},
    {"IRIDIUM 35 [+]", 239270.80, 2, 0.313, 38.2, -17.4, -5.33, true},
    {"IRIDIUM 44 [-]", 157941.48, 2, 0.839, 6.7, -30.7, -1.33, false},
    {"IRIDIUM 45 [+]", 148639.42, 2, 2.782, 19.8, -7.1, 1.79, true},
    {"IRIDIUM 56 [+]", 244462.44, 2, 0.037, 29.5, -30.8, -7.30, false},
    {"IRIDIUM 54 [+]", 72382.05, 2, 2.894, 31.1, -33.1, 1.93, false},
    {"IRIDIUM 50 [+]", 243925.83, 2, 2.998, 24.7, -29.4, 2.11, false},
    {"IRIDIUM 51 [-]", 198631.43, 2, 1.946, 66.8, -6.5, 0.05, true},
    {"IRIDIUM 61 [+]", 67103.06, 2, 1.286, 38.7, -19.4, -0.78, true},
    {"IRIDIUM 55 [+]", 61989.19, 2, 0.737, 23.7, -6.7, -1.79, true},
    {"IRIDIUM 59 [+]", 62031.72, 2, 0.460, 24.1, -6.8, -3.05, true},
    {"IRIDIUM 82 [-]", 72734.17, 2, 0.001, 7.7, -34.0, -6.08, false},
    {"IRIDIUM 82 [-]", 159815.16, 2, 0.684, 11.0, -35.5, -1.91, false},
    {"IRIDIUM 82 [-]", 246888.46, 2, 1.769, 15.2, -36.9, 0.61, false},
    {"IRIDIUM 84 [+]", 71305.37, 2, 2.776, 22.3, -30.3, 1.88, false},
    {"IRIDIUM 83 [+]", 158421.81, 2, 1.818, 31.1, -31.9, 0.47, false},
    {"IRIDIUM 91 [+]", 240931.50, 1, 2.903, 5.1, -21.7, 1.79, true},
    {"IRIDIUM 95 [+]", 20165.24, 2, 2.290, 32.1, -20.9, 1.18, true},
    {"IRIDIUM 97 [+]", 67194.33, 2, 2.656, 39.0, -19.7, 1.58, true},
    {"IRIDIUM 105 [+]", 159124.68, 2, 1.097, 28.4, -33.7, -1.25, false},
    {"IRIDIUM 114 [+]", 245652.93, 1, 2.839, 5.4, -33.8, 1.86, false},
    {"IRIDIUM 126 [+]", 106221.61, 2, 2.023, 30.3, -21.7, 0.82, true},
    {"IRIDIUM 128 [+]", 111335.63, 2, 1.651, 61.8, -8.8, -0.42, true},
    {"IRIDIUM 121 [+]", 192263.29, 2, 1.659, 28.4, -22.5, 0.24, true},
    {"IRIDIUM 139 [+]", 153244.19, 2, 1.267, 38.7, -18.6, -0.81, true},
};

// Sun above -6 degrees.
const Minimum DayMinima[] = {
    {"IRIDIUM 7 [+]", 113344.78, 2, 0.748, 68.4, -4.0, -3.38, true},
    {"IRIDIUM 32 [+]", 234667.33, 2, 1.486, 20.5, -6.0, 0.16, true},
    {"IRIDIUM 33 [-]", 233976.83, 2, 2.858, 25.3, -4.4, 1.80, true},
    {"IRIDIUM 40 [-]", 209015.98, 2, 0.271, 67.2, 13.7, -7.72, true},
    {"IRIDIUM 42 [-]", 214365.05, 2, 2.839, 40.5, 18.6, 1.64, true},
    {"IRIDIUM 56 [+]", 206902.36, 2, 2.798, 73.4, 10.6, 1.19, true},
    {"IRIDIUM 57 [-]", 234227.53, 2, 1.500, 24.5, -4.9, 0.15, true},
    {"IRIDIUM 62 [+]", 131430.40, 1, 0.621, 75.2, 18.8, -3.91, true},
    {"IRIDIUM 63 [-]", 131481.73, 1, 2.003, 75.8, 18.8, -0.01, true},
    {"IRIDIUM 65 [+]", 217466.85, 1, 0.508, 75.2, 19.1, -4.58, true},
    {"IRIDIUM 69 [-]", 51707.54, 1, 1.204, 53.6, 13.2, -1.18, true},
    {"IRIDIUM 72 [+]", 45394.08, 1, 1.183, 74.9, 18.5, -1.75, true},
    {"IRIDIUM 20 [+]", 55006.05, 1, 1.968, 42.0, 8.0, 0.59, true},
    {"IRIDIUM 95 [+]", 148066.12, 2, 0.849, 24.6, -5.7, -1.36, true},
    {"IRIDIUM 98 [+]", 42149.11, 2, 0.476, 36.5, 18.4, -2.91, true},
    {"IRIDIUM 102 [+]", 128198.07, 2, 0.852, 38.6, 18.5, -1.52, true},
    {"IRIDIUM 105 [+]", 35473.60, 2, 0.130, 69.4, 12.3, -8.31, true},
    {"IRIDIUM 114 [+]", 214240.31, 2, 0.686, 40.3, 18.5, -2.20, true},
    {"IRIDIUM 115 [+]", 58589.13, 1, 0.382, 31.1, 1.0, -4.08, true},
    {"IRIDIUM 115 [+]", 146172.20, 2, 0.949, 8.2, -1.4, -0.12, true},
    {"IRIDIUM 126 [+]", 234109.14, 2, 2.311, 25.3, -4.7, 1.26, true},
    {"IRIDIUM 124 [+]", 59283.14, 2, 2.040, 9.5, -0.5, 1.12, true},
    {"IRIDIUM 151 [+]", 226798.73, 1, 0.586, 46.5, 10.2, -3.23, true},
    {"IRIDIUM 131 [+]", 141053.89, 1, 2.156, 42.9, 8.9, 0.85, true},
};

// The geometry at an instant: panel, angle, centre latitude and longitude
// (degrees), distance to the centre (km), centre and observer magnitudes,
// the satellite's elevation and azimuth (degrees).
struct Evaluation {
    const char *name;
    double seconds;
    int panel;
    double angle, latitude, longitude, distance, centreMagnitude, magnitude, elevation, azimuth;
};

const Evaluation Evaluations[] = {
    {"IRIDIUM 35 [+]", 239270.800, 2, 0.3127, 51.4916, -0.0036, 1168.535, -7.444, -5.325, 38.224, 162.807},
    {"IRIDIUM 59 [+]", 62031.720, 2, 0.4600, 51.3443, -0.3448, 1543.843, -6.169, -3.051, 24.094, 205.340},
    {"IRIDIUM 51 [-]", 198631.430, 2, 1.9456, 51.4635, 0.2815, 782.675, -8.344, 0.046, 66.838, 349.086},
    {"IRIDIUM 105 [+]", 35473.600, 2, 0.1297, 51.5015, -0.1213, 654.831, -8.308, -8.308, 69.376, 205.248},
    {"IRIDIUM 91 [+]", 240931.500, 1, 2.9029, 50.2397, 2.6432, 2978.296, -4.568, 1.795, 5.141, 302.414},
};

// The ID column is as wide as the set's longest IDs, "95 [+]".
const std::string ColumnHeader =
    "  MM/DD Time          ID  Alt   Az  Range   Mag    LatC     LongC   BrgC  DistC  MagC";
constexpr std::size_t FirstFlareLine = 10; // title, 7 header lines, "  ", columns

class FlareSearchTest : public IridiumSetTest {
protected:
    void SetUp() override
    {
        IridiumSetTest::SetUp();
        if (SetUpStopped())
            return;
        // The first generation, without the satellites marked out of service.
        ASSERT_EQ(iridium_.size(), 55u);
    }

    // Any Iridium satellite of the element file, in the set or not: the
    // geometry is that of its panels.
    static TleRecord Satellite(const std::string &name)
    {
        ElementList elements;
        LoadTleTextFile(elements, SetUpDataFolder() + "/tle/gpredict.tle");
        TleRecord record;
        for (const ElementRecord &element : elements)
            if (element.Name.str() == name && LoadSatFromElementRecord(record, element, false, 0.0, 20.0))
                return record;
        ADD_FAILURE() << "no " << name;
        return {};
    }

    PredictionInputs Inputs(double minElevationDegrees, bool dayFlares, int faintest) const
    {
        PredictionInputs inputs;
        inputs.Start = inputs.StartShown = SearchStart();
        inputs.End = inputs.EndShown = SearchStart() + 3.0;
        inputs.MinElevation = DegToRad(minElevationDegrees);
        inputs.SunAltitude = DegToRad(-6.0);
        inputs.DayFlares = dayFlares;
        inputs.FaintestFlare = faintest;
        inputs.Observer = Greenwich();
        inputs.Satellites = iridium_;
        return inputs;
    }
};

// A flare line's satellite name and instant (seconds after the start).
struct ShownFlare {
    std::string name;
    double seconds = 0.0;
};

ShownFlare ReadFlareLine(const std::string &line)
{
    ShownFlare shown;
    const CivilTime day = SplitInstant(SearchStart());
    const int dayOfMonth = std::atoi(line.substr(5, 2).c_str());
    shown.seconds = (dayOfMonth - day.day) * 86400.0 + std::atoi(line.substr(8, 2).c_str()) * 3600.0 +
                    std::atoi(line.substr(11, 2).c_str()) * 60.0 + std::atoi(line.substr(14, 2).c_str());
    const std::string rest = line.substr(18);
    const std::size_t start = rest.find_first_not_of(' ');
    shown.name = "IRIDIUM " + rest.substr(start, rest.find(']') + 1 - start);
    return shown;
}

bool InsideLimits(const Minimum &m, const PredictionInputs &inputs)
{
    const double sunLimit = RadToDeg(inputs.SunAltitude);
    return m.elevation >= RadToDeg(inputs.MinElevation) &&
           (inputs.DayFlares ? m.sunAltitude > sunLimit : m.sunAltitude < sunLimit);
}

// The sunlit minimum a flare shows: the minimum itself, or, for a minimum
// that falls outside the elevation or Sun limits, the edge of the search
// next to it, where the angle is still below 3 degrees.
bool ShowsAMinimum(const std::string &name, double seconds, const PredictionInputs &inputs)
{
    for (const auto &minima : {std::span<const Minimum>(NightMinima), std::span<const Minimum>(DayMinima)})
        for (const Minimum &m : minima) {
            if (m.name != name || !m.sunlit)
                continue;
            const double off = std::fabs(m.seconds - seconds);
            if (off <= 1.5 || (off <= 30.0 && !InsideLimits(m, inputs)))
                return true;
        }
    return false;
}

// Every flare shows a sunlit minimum; every clear minimum (well inside the
// elevation and Sun limits, bright enough) is found; lines are sorted and
// each has its pass record.
void ExpectFlaresAreTheMinima(const PredictionResult &result, std::span<const Minimum> minima,
                              const PredictionInputs &inputs)
{
    ASSERT_GE(result.Lines.size(), FirstFlareLine);
    EXPECT_EQ(result.Lines[0], "  Iridium Flare Passes");
    EXPECT_EQ(result.Lines[FirstFlareLine - 1], ColumnHeader);
    const std::vector<std::string> flares(result.Lines.begin() + FirstFlareLine, result.Lines.end());
    EXPECT_TRUE(std::is_sorted(flares.begin(), flares.end()));
    ASSERT_EQ(result.Passes.size(), flares.size());
    EXPECT_EQ(result.Found, !flares.empty());

    std::vector<ShownFlare> shown;
    for (const std::string &line : flares) {
        // Every column lines up under its heading, whatever the ID's length.
        EXPECT_EQ(line.size(), ColumnHeader.size()) << line;
        EXPECT_EQ(line.find(']'), ColumnHeader.find("ID") + 1) << line;
        shown.push_back(ReadFlareLine(line));
        EXPECT_TRUE(ShowsAMinimum(shown.back().name, shown.back().seconds, inputs)) << line;
    }
    for (const PassRecord &pass : result.Passes) {
        const std::string title = pass.Title.str();
        const std::string name = title.substr(0, title.find(" - "));
        EXPECT_EQ(title, name + " - " + pass.Satellite->Number.str());
        EXPECT_NEAR((pass.EndTime - pass.StartTime) / SecondDays, 20.0, 1e-3) << title;
        const double middle = ((pass.StartTime + pass.EndTime) / 2 - SearchStart()) / SecondDays;
        bool listed = false;
        for (const ShownFlare &s : shown)
            listed = listed || (s.name == name && std::fabs(s.seconds - middle) < 1.0);
        EXPECT_TRUE(listed) << title;
    }

    for (const Minimum &m : minima) {
        const bool searched = std::any_of(inputs.Satellites.begin(), inputs.Satellites.end(),
                                          [&](const TleRecord &record) { return record.Name.str() == m.name; });
        const bool clear = searched && m.sunlit && m.angle < 2.5 && InsideLimits(m, inputs) &&
                           m.elevation > RadToDeg(inputs.MinElevation) + 3.0 &&
                           std::fabs(m.sunAltitude - RadToDeg(inputs.SunAltitude)) > 1.0 &&
                           m.magnitude < inputs.FaintestFlare - 0.3;
        if (!clear)
            continue;
        bool found = false;
        for (const ShownFlare &s : shown)
            found = found || (s.name == m.name && std::fabs(s.seconds - m.seconds) <= 1.5);
        EXPECT_TRUE(found) << m.name << " at " << m.seconds;
    }
}

TEST_F(FlareSearchTest, GeometryAgreesWithAnIndependentPanelModel)
{
    for (const Evaluation &e : Evaluations) {
        SCOPED_TRACE(e.name);
        TleRecord record = Satellite(e.name);
        ObserverRecord observer = Greenwich();
        const std::optional<FlareGeometry> flare = EvaluateFlare(record, SearchStart() + e.seconds * SecondDays,
                                                                 observer);
        ASSERT_TRUE(flare.has_value());
        EXPECT_EQ(flare->Panel, e.panel);
        EXPECT_NEAR(flare->Angle, e.angle, 0.01);
        EXPECT_NEAR(RadToDeg(flare->CentrePoint.first), e.latitude, 0.005);
        EXPECT_NEAR(RadToDeg(flare->CentrePoint.second), e.longitude, 0.005);
        EXPECT_NEAR(flare->Distance, e.distance, 0.5);
        EXPECT_NEAR(flare->CentreMagnitude, e.centreMagnitude, 0.02);
        EXPECT_NEAR(flare->Magnitude, e.magnitude, 0.05);
        EXPECT_NEAR(RadToDeg(flare->Elevation), e.elevation, 0.05);
        EXPECT_NEAR(RadToDeg(flare->Azimuth), e.azimuth, 0.05);
        EXPECT_TRUE(flare->Sunlit);
    }
}

TEST_F(FlareSearchTest, NightFlaresAreTheSunlitMinima)
{
    const PredictionInputs inputs = Inputs(10.0, false, 2);
    const PredictionResult result = SearchIridiumFlares(inputs);
    ExpectFlaresAreTheMinima(result, NightMinima, inputs);
    EXPECT_GE(result.Passes.size(), 8u);

    // None of these nights' flares is as bright as -6: the report says so.
    const PredictionResult none = SearchIridiumFlares(Inputs(10.0, false, -6));
    EXPECT_FALSE(none.Found);
    ASSERT_EQ(none.Lines.size(), FirstFlareLine + 1);
    EXPECT_EQ(none.Lines.back(), "  No flares found.");
}

// A satellite that sets below the minimum elevation while the angle still
// closes, in the Earth's shadow (IRIDIUM 56 [+] below 30 degrees at
// 19:54:19), gives no flare.
TEST_F(FlareSearchTest, NoFlareFromASatelliteSettingInShadow)
{
    const PredictionInputs inputs = Inputs(30.0, false, 2);
    const PredictionResult result = SearchIridiumFlares(inputs);
    ExpectFlaresAreTheMinima(result, NightMinima, inputs);
    for (const PassRecord &pass : result.Passes)
        EXPECT_NE(pass.Title.str().rfind("IRIDIUM 56 [+]", 0), 0u) << pass.Title.str();
}

TEST_F(FlareSearchTest, OneThreadAndEightGiveTheSameReport)
{
    const PredictionInputs inputs = Inputs(10.0, false, 2);
    SearchControl one, eight;
    one.Threads = 1;
    eight.Threads = 8;
    const PredictionResult single = SearchIridiumFlares(inputs, one);
    const PredictionResult split = SearchIridiumFlares(inputs, eight);
    EXPECT_EQ(split.Lines, single.Lines);
    ASSERT_EQ(split.Passes.size(), single.Passes.size());
    for (std::size_t i = 0; i < single.Passes.size(); ++i) {
        EXPECT_EQ(split.Passes[i].Title.str(), single.Passes[i].Title.str());
        EXPECT_EQ(split.Passes[i].StartTime, single.Passes[i].StartTime);
        EXPECT_EQ(split.Passes[i].Magnitude, single.Passes[i].Magnitude);
    }
}

TEST_F(FlareSearchTest, DayFlaresInDaylightWindows)
{
    // The window's day limit is -5; the brightest day flare of the set in
    // these days is IRIDIUM 65's at -4.6.
    PredictionInputs inputs = Inputs(10.0, true, -4);
    PredictionResult result = SearchIridiumFlares(inputs);
    ExpectFlaresAreTheMinima(result, DayMinima, inputs);
    EXPECT_FALSE(result.Passes.empty());

    // Fainter ones too, among them one-digit IRIDIUM 7's, with the columns
    // lined up all the same.
    inputs.FaintestFlare = 2;
    result = SearchIridiumFlares(inputs);
    ExpectFlaresAreTheMinima(result, DayMinima, inputs);
    EXPECT_TRUE(std::any_of(result.Passes.begin(), result.Passes.end(), [](const PassRecord &pass) {
        return pass.Title.str().rfind("IRIDIUM 7 [+]", 0) == 0;
    }));
}

// An Iridium's name on a GPS satellite's orbit: from Houston its pass
// rising at 19:36 comes 4.3 hours after the one before sets, far less than
// its 12-hour period, and holds the day's one flare, at 22:28.
TEST_F(FlareSearchTest, APassRisingSoonAfterTheLastSetHasItsFlare)
{
    TleRecord record = MakeSatellite(Gps.line1, Gps.line2);
    record.Name.assign("IRIDIUM 99");
    PredictionInputs inputs = Inputs(10.0, true, 2);
    inputs.Start = inputs.StartShown = MakeInstant(2018, 8, 10, 6);
    inputs.End = inputs.EndShown = inputs.Start + 1.0;
    inputs.Observer = NamedObserver("Houston", 29.7604, -95.3698);

    const auto [firstSet, nextRise] = FirstSetAndNextRise(record, inputs);
    TleRecord moved = record;
    ObserverRecord observer = inputs.Observer;
    TargetState state;
    const double nextSet = FindSetSecond(moved, state, inputs.MinElevation, nextRise, inputs.End, observer);
    ASSERT_LT(nextRise - firstSet, 0.5 * record.Period / 1440.0);
    ASSERT_LT(nextSet, inputs.End);

    const PredictionResult result =
        SearchSatelliteFlares(record, observer, inputs, {{inputs.End, inputs.Start}}, SearchControl{});
    ASSERT_EQ(result.Lines.size(), 1u);
    EXPECT_EQ(result.Lines[0].rfind("  08/10 22:28:", 0), 0u) << result.Lines[0];
    ASSERT_EQ(result.Passes.size(), 1u);
    EXPECT_GT(result.Passes[0].StartTime, nextRise);
    EXPECT_LT(result.Passes[0].EndTime, nextSet);
}

} // namespace
