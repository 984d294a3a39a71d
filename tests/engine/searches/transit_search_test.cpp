// Object transits and ground tracks of the ISS across the Sun, the Moon and
// Sirius, each seen by an observer standing on the line from the object
// through the satellite, against an independent computation
// (tools/search_reference.py transits, equator and tracks: python3-sgp4,
// PyEphem, python3-geographiclib).
#include "engine/searches/ground_track_search.h"
#include "engine/searches/transit_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/astronomy/de_reader.h"
#include "engine/astronomy/geodesy.h"
#include "engine/files/settings.h"
#include "engine/text/text_fields.h"
#include "engine/text/text_format.h"
#include "engine/reports/transit_report.h"
#include "engine/runtime/program_state.h"
#include "engine/satellite_test_support.h"
#include "engine/searches/pass_steps.h"
#include "engine/searches/prediction_test_support.h"

namespace {

const std::string Iss2018Line1 = "1 25544U 98067A   18020.89808844  .00002078  00000-0  38550-4 0  9992";
const std::string Iss2018Line2 = "2 25544  51.6424  32.9776 0003646  28.7227  39.5332 15.54190080 95614";

constexpr double SecondDays = 1.0 / 86400.0;
constexpr double Miles = 0.621371;

// The ground point k seconds after the alignment's second, its distance (km)
// and azimuth (degrees) from the observer.
struct TrackPoint {
    int k;
    double latitude, longitude, distance, azimuth;
};

struct Alignment {
    const char *name;
    int body;
    double latitude, longitude; // the observer, degrees
    int hour, minute, second;   // 2018 January 21, UTC: the closest approach
    double separation;          // arcminutes
    double elevation, azimuth, range, illumination;
    std::vector<TrackPoint> track;
};

const std::vector<Alignment> Alignments = {
    {"Sun", BodySun, -28.0868, -27.2692, 9, 0, 0, 0.042, 21.93, 101.57, 957.11, 100.0,
     {{-5, -27.80868, -27.60244, 45.004, 313.15},
      {-4, -27.86443, -27.53571, 35.983, 313.16},
      {-3, -27.92013, -27.46905, 26.973, 313.17},
      {-2, -27.97575, -27.40245, 17.976, 313.17},
      {-1, -28.03132, -27.33592, 8.990, 313.13},
      {0, -28.08682, -27.26945, 0.025, 263.56},
      {1, -28.14227, -27.20304, 8.947, 133.41},
      {2, -28.19765, -27.13669, 17.899, 133.37},
      {3, -28.25297, -27.07039, 26.839, 133.37},
      {4, -28.30824, -27.00416, 35.769, 133.38},
      {5, -28.36344, -26.93798, 44.687, 133.40}}},
    {"Moon", BodyMoon, 5.047439, -85.831390, 0, 22, 10, 0.0, 34.19, 255.85, 675.43, 13.3,
     {{-5, 4.76886, -86.05807, 39.763, 219.23},
      {-4, 4.82457, -86.01282, 31.817, 219.24},
      {-3, 4.88028, -85.96752, 23.867, 219.25},
      {-2, 4.93600, -85.92218, 15.914, 219.25},
      {-1, 4.99172, -85.87681, 7.959, 219.26},
      {0, 5.04744, -85.83139, 0.000, 255.96},
      {1, 5.10317, -85.78593, 7.962, 39.28},
      {2, 5.15890, -85.74043, 15.927, 39.29},
      {3, 5.21464, -85.69489, 23.894, 39.30},
      {4, 5.27038, -85.64930, 31.865, 39.30},
      {5, 5.32613, -85.60368, 39.839, 39.31}}},
    {"Sirius", BodyStar, 18.542647, -91.298060, 0, 25, 40, 0.0, 16.09, 114.38, 1133.26, 100.0,
     {{-5, 18.28522, -91.53957, 38.249, 221.88},
      {-4, 18.33669, -91.49123, 30.595, 221.86},
      {-3, 18.38817, -91.44290, 22.944, 221.84},
      {-2, 18.43965, -91.39460, 15.294, 221.82},
      {-1, 18.49115, -91.34632, 7.646, 221.80},
      {0, 18.54265, -91.29806, 0.000, 41.86},
      {1, 18.59416, -91.24982, 7.645, 41.76},
      {2, 18.64567, -91.20160, 15.287, 41.74},
      {3, 18.69720, -91.15340, 22.928, 41.72},
      {4, 18.74872, -91.10522, 30.567, 41.70},
      {5, 18.80026, -91.05706, 38.204, 41.68}}},
};

double AlignmentInstant(const Alignment &a) { return MakeInstant(2018, 1, 21, a.hour, a.minute, a.second); }

TleRecord Iss()
{
    TleRecord record = MakeSatellite(Iss2018Line1, Iss2018Line2);
    record.Name.assign("ISS (ZARYA)");
    record.Number.assign("25544");
    return record;
}

// Units are program-wide; each test leaves them as it found them.
class TransitSearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedMetric_ = Options.Metric;
        savedFactor_ = DistanceFactor;
        LOAD_DEFAULT_EPHEMERIS_OR_SKIP();
    }
    void TearDown() override
    {
        Options.Metric = savedMetric_;
        DistanceFactor = savedFactor_;
        FreeDEFile();
    }

    // Two hours either side of the alignment, "Day or Night" off.
    static PredictionInputs Inputs(const Alignment &a, double factor = 1.0)
    {
        // The program-wide unit is the other one: a search follows its snapshot.
        Options.Metric = factor == 1.0 ? 0 : 1;
        DistanceFactor = factor == 1.0 ? Miles : 1.0;
        PredictionInputs inputs;
        inputs.Start = inputs.StartShown = AlignmentInstant(a) - 2.0 / 24.0;
        inputs.End = inputs.EndShown = AlignmentInstant(a) + 2.0 / 24.0;
        inputs.MinElevation = DegToRad(10.0);
        inputs.DistanceFactor = factor;
        inputs.TrackWidth = 25.0;
        inputs.Observer = MakeObserver(DegToRad(a.latitude), DegToRad(a.longitude), 0.0);
        inputs.Target.BodyId = a.body;
        inputs.TargetName = a.name;
        if (a.body == BodyStar) {
            inputs.Target.RaDec = Angles3{DegToRad(101.28715533), DegToRad(-16.71611586), AstronomicalUnitKm};
            SphericalToCartesian(inputs.Target.RaDec, inputs.Target.Position);
        }
        inputs.Satellites = {Iss()};
        return inputs;
    }

private:
    std::uint8_t savedMetric_ = 1;
    double savedFactor_ = 1.0;
};

double Number(const std::string &text)
{
    const std::size_t first = text.find_first_not_of(' ');
    double value = -1.0;
    if (first != std::string::npos)
        std::from_chars(text.data() + first, text.data() + text.size(), value);
    return value;
}

// Seconds between a report time ("mm/dd HH:nn:ss") and the instant.
double SecondsFrom(const std::string &shown, double instant)
{
    const double day = MakeInstant(2018, std::atoi(shown.substr(0, 2).c_str()), std::atoi(shown.substr(3, 2).c_str()),
                                   std::atoi(shown.substr(6, 2).c_str()), std::atoi(shown.substr(9, 2).c_str()),
                                   std::atoi(shown.substr(12, 2).c_str()));
    return (day - instant) / SecondDays;
}

// The satellite header line with its heights in the unit of `factor`.
std::string HeightsLine(double factor)
{
    std::vector<std::string> header;
    WriteSatelliteHeader(Iss(), header, ObserverRecord{}, factor);
    return header.at(3);
}

TEST_F(TransitSearchTest, OneRowPerTransitAtTheAlignment)
{
    for (const double factor : {1.0, Miles}) {
        for (const Alignment &a : Alignments) {
            SCOPED_TRACE(std::string(a.name) + (factor == 1.0 ? " km" : " mi"));
            const PredictionInputs inputs = Inputs(a, factor);
            const PredictionResult result = SearchObjectTransits(inputs);
            EXPECT_EQ(result.Lines[0], std::string("  ") + a.name + " Transit");
            const std::size_t header = a.body == BodyStar ? 3 : 1;
            ASSERT_EQ(result.Lines.size(), header + 7 + 6 + 1); // title, header, table header, one row
            EXPECT_TRUE(result.Found);
            EXPECT_TRUE(result.Passes.empty());
            EXPECT_EQ(*(result.Lines.end() - 4), HeightsLine(factor));

            const std::vector<std::string> fields = SplitString(' ', result.Lines.back(), true);
            ASSERT_EQ(fields.size(), 9u) << result.Lines.back();
            EXPECT_LE(std::abs(SecondsFrom(fields[0] + " " + fields[1], AlignmentInstant(a))), 1.001);
            EXPECT_NEAR(Number(fields[2]), a.elevation, 1.0);
            EXPECT_NEAR(Number(fields[3]), a.azimuth, 1.0);
            EXPECT_LT(Number(fields[6]), 3.0);
            EXPECT_NEAR(Number(fields[7]), a.range * factor, 2.0);
            EXPECT_NEAR(Number(fields[8]), a.illumination, 1.0);
        }
    }
}

TEST_F(TransitSearchTest, SkyPointTitleGivesEpochAndCoordinates)
{
    PredictionInputs inputs = Inputs(Alignments[2]);
    inputs.Target.BodyId = BodySkyPoint;
    inputs.TargetName = "Ra/Dec";
    const PredictionResult transits = SearchObjectTransits(inputs);
    ASSERT_GE(transits.Lines.size(), 3u);
    EXPECT_EQ(transits.Lines[0], "  Ra/Dec Transit");
    EXPECT_EQ(transits.Lines[1], "  Epoch Date: Jan 20 2018 22:25:40");
    EXPECT_EQ(transits.Lines[2], "  RA: 06h 45m 09s   DEC: -16\xc2\xb0 42' 58\"");
    const PredictionResult tracks = SearchGroundTracks(inputs);
    EXPECT_EQ(tracks.Lines[1], "  Epoch Date: Jan 20 18 22:25:40");
    EXPECT_EQ(tracks.Lines[2], transits.Lines[2]);
}

// The rows of a report's first track, after its column header.
std::vector<std::string> TrackRows(const std::vector<std::string> &lines)
{
    std::vector<std::string> rows;
    auto line = std::find(lines.begin(), lines.end(),
                          "  MM/DD Time       Lat      Lon        Path   Az  Dist   Rng Alt  Slt");
    if (line == lines.end())
        return rows;
    for (++line; line != lines.end() && *line != "  End of track"; ++line)
        rows.push_back(*line);
    EXPECT_NE(line, lines.end());
    return rows;
}

TEST_F(TransitSearchTest, GroundTrackFollowsThePointOfTheAlignment)
{
    for (const double factor : {1.0, Miles}) {
        for (const Alignment &a : Alignments) {
            SCOPED_TRACE(std::string(a.name) + (factor == 1.0 ? " km" : " mi"));
            const PredictionInputs inputs = Inputs(a, factor);
            const PredictionResult result = SearchGroundTracks(inputs);
            EXPECT_TRUE(result.Found);
            EXPECT_EQ(std::count(result.Lines.begin(), result.Lines.end(), "  End of track"), 1);
            EXPECT_EQ(std::count(result.Lines.begin(), result.Lines.end(), "  Satellite: ISS (ZARYA)  -  25544"), 1);
            EXPECT_EQ(std::count(result.Lines.begin(), result.Lines.end(), HeightsLine(factor)), 1);
            const std::vector<std::string> rows = TrackRows(result.Lines);
            // PyEphem's Moon is a shortened lunar theory, some 20" off here:
            // 0.1 km on the ground below a satellite 675 km away.
            const double distanceTolerance = a.body == BodyMoon ? 0.2 : 0.1;
            ASSERT_GE(rows.size(), 2u);
            EXPECT_LE(SecondsFrom(rows.front().substr(2, 14), AlignmentInstant(a)), 0.0);
            EXPECT_GE(SecondsFrom(rows.back().substr(2, 14), AlignmentInstant(a)), 0.0);
            // From the first second inside the width to the last (where the
            // table reaches far enough to tell).
            const auto inside = [&](const TrackPoint &p) { return p.distance * factor < inputs.TrackWidth; };
            const auto first = std::find_if(a.track.begin(), a.track.end(), inside);
            const auto last = std::find_if(a.track.rbegin(), a.track.rend(), inside);
            if (first != a.track.begin()) {
                EXPECT_EQ(std::lround(SecondsFrom(rows.front().substr(2, 14), AlignmentInstant(a))), first->k);
            }
            if (last != a.track.rbegin()) {
                EXPECT_EQ(std::lround(SecondsFrom(rows.back().substr(2, 14), AlignmentInstant(a))), last->k);
            }
            for (const std::string &row : rows) {
                const int k = static_cast<int>(std::lround(SecondsFrom(row.substr(2, 14), AlignmentInstant(a))));
                const auto point = std::find_if(a.track.begin(), a.track.end(),
                                                [&](const TrackPoint &p) { return p.k == k; });
                ASSERT_NE(point, a.track.end()) << row;
                EXPECT_LT(point->distance * factor, inputs.TrackWidth) << row;
                EXPECT_NEAR(Number(row.substr(16, 10)), point->latitude, 0.005) << row;
                EXPECT_NEAR(Number(row.substr(26, 11)), point->longitude, 0.005) << row;
                EXPECT_NEAR(Number(row.substr(48, 6)), point->distance * factor, distanceTolerance) << row;
                if (point->distance > 1.0) {
                    EXPECT_NEAR(Number(row.substr(43, 5)), point->azimuth, 1.0) << row;
                }
                EXPECT_NEAR(Number(row.substr(54, 6)), a.range * factor, 30.0) << row;
                EXPECT_EQ(row.size(), 68u) << row;
            }
        }
    }
}

// Tracks run from the first second the point is inside the width to the
// last, however near it comes and wherever the approach's samples fall (the
// search starts on each of five seconds while the ISS is up). Beside the
// line of the Sun transit, with the widest track: 1 degree north of it
// (80.6 km at the nearest) from 156.2 km at -23 s, and 140 km across it
// (139.7 km at the nearest). With 25 km: 24 km across it, only at the
// nearest (23.96 km, 0 s); on the line with the ISS setting below 22.18
// degrees at -1 s, before the point reaches the observer, only at -2 s.
TEST_F(TransitSearchTest, TrackFromTheFirstSecondInsideToTheLast)
{
    struct Case {
        double latitude, longitude, width, minElevation;
        int first, last;
    };
    const Case cases[] = {{-27.0868, -27.2692, 160.0, 10.0, -23, 6},
                          {-27.165430, -26.298664, 160.0, 10.0, -8, 8},
                          {-27.929345, -27.101662, 25.0, 10.0, 0, 0},
                          {-28.0868, -27.2692, 25.0, 22.18, -2, -2}};
    const Alignment &sun = Alignments[0];
    for (const Case &c : cases) {
        std::vector<int> expected;
        for (int k = c.first; k <= c.last; ++k)
            expected.push_back(k);
        for (int start = 0; start < 5; ++start) {
            SCOPED_TRACE(std::to_string(c.latitude) + ", search from 08:59:0" + std::to_string(start));
            PredictionInputs inputs = Inputs(sun);
            inputs.DayOrNight = true;
            inputs.Start = inputs.StartShown = MakeInstant(2018, 1, 21, 8, 59, start);
            inputs.MinElevation = DegToRad(c.minElevation);
            inputs.TrackWidth = c.width;
            inputs.Observer = MakeObserver(DegToRad(c.latitude), DegToRad(c.longitude), 0.0);
            std::vector<int> seconds;
            for (const std::string &row : TrackRows(SearchGroundTracks(inputs).Lines))
                seconds.push_back(static_cast<int>(std::lround(SecondsFrom(row.substr(2, 14), AlignmentInstant(sun)))));
            EXPECT_EQ(seconds, expected);
        }
    }
}

// At 08:57:03 the line from the Sun through the ISS meets the ground again,
// a second after passing beside it: an observer standing there sees the ISS
// 1.4 degrees up in front of the rising Sun. The track starts at that second,
// 0, 75 and 130 km away, and its first row's path is measured across the
// track's own direction, as every other row's is: 27.9 km.
TEST_F(TransitSearchTest, TrackFromTheSecondTheLineMeetsTheGround)
{
    PredictionInputs inputs = Inputs(Alignments[0]);
    inputs.DayOrNight = true;
    inputs.MinElevation = 0.0;
    inputs.TrackWidth = 160.0;
    inputs.Observer = MakeObserver(DegToRad(-15.31887), DegToRad(-45.61961), 0.0);
    const std::vector<std::string> rows = TrackRows(SearchGroundTracks(inputs).Lines);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows.front().substr(2, 14), "01/21 08:57:03");
    EXPECT_NEAR(Number(rows.front().substr(37, 6)), 27.9, 1.0) << rows.front();
}

// A satellite of 12-hour orbits that sets and rises again some hours later
// meets a sky point early in that next pass: both searches go on from each
// set, so neither steps over the pass.
TEST_F(TransitSearchTest, ObjectMetInAPassSoonAfterASet)
{
    TleRecord gps = MakeSatellite(Gps.line1, Gps.line2);
    gps.Name.assign(Gps.name);
    PredictionInputs inputs = Inputs(Alignments[2]);
    inputs.Start = inputs.StartShown = MakeInstant(2018, 1, 21);
    inputs.End = inputs.EndShown = inputs.Start + 1.5;
    inputs.DayOrNight = true;
    inputs.Observer = MakeObserver(DegToRad(39.7392), DegToRad(-104.9903), 0.0); // Denver
    inputs.Satellites = {gps};
    inputs.Target.BodyId = BodySkyPoint;
    inputs.TargetName = "Ra/Dec";

    const auto [firstSet, nextRise] = FirstSetAndNextRise(gps, inputs);
    TleRecord record = gps;
    ObserverRecord observer = inputs.Observer;
    TargetState state;
    const double meeting = nextRise + 600.0 * SecondDays;
    ASSERT_LT(meeting - firstSet, 0.75 * gps.Period / 1440.0);
    state.Mode = ModeRaDec;
    ASSERT_TRUE(MoveSatellite(record, state, observer, meeting));
    inputs.Target.RaDec = Angles3{state.RaDec.first, state.RaDec.second, AstronomicalUnitKm};
    SphericalToCartesian(inputs.Target.RaDec, inputs.Target.Position);

    // A sidereal day later the satellite meets the point again.
    const PredictionResult transits = SearchObjectTransits(inputs);
    EXPECT_TRUE(std::any_of(transits.Lines.begin(), transits.Lines.end(), [&](const std::string &line) {
        return line.rfind("  01/", 0) == 0 && std::abs(SecondsFrom(line.substr(2, 14), meeting)) <= 1.001;
    }));
    const std::vector<std::string> rows = TrackRows(SearchGroundTracks(inputs).Lines);
    ASSERT_FALSE(rows.empty());
    EXPECT_LT(SecondsFrom(rows.front().substr(2, 14), meeting), 0.0);
    EXPECT_GT(SecondsFrom(rows.back().substr(2, 14), meeting), 0.0);
}

// An observer 110 km from the line sees no track at all; nor does one near
// the equator, where the ISS passes the Moon nowhere near (its ground point
// is missing for 348 of the 830 seconds it is up, which must not read as a
// point just across the equator).
TEST_F(TransitSearchTest, NoTrackAwayFromTheLine)
{
    PredictionInputs aside = Inputs(Alignments[0]);
    aside.Observer = MakeObserver(DegToRad(-27.0868), DegToRad(-27.2692), 0.0);
    const PredictionResult none = SearchGroundTracks(aside);
    EXPECT_FALSE(none.Found);
    EXPECT_EQ(none.Lines.size(), 8u);

    PredictionInputs equator = Inputs(Alignments[1]);
    equator.Start = equator.StartShown = MakeInstant(2018, 1, 21);
    equator.End = equator.EndShown = MakeInstant(2018, 1, 22);
    equator.DayOrNight = true;
    equator.Observer = MakeObserver(DegToRad(0.03), DegToRad(-51.07), 0.0);
    const PredictionResult result = SearchGroundTracks(equator);
    EXPECT_FALSE(result.Found);
    EXPECT_EQ(result.Lines.size(), 8u);

    // A point seen 0.6 degrees under the horizon, with the satellite in
    // front of it: the line through both meets the ground some 155 km away,
    // inside a 160-km width, yet from here the point cannot be seen, whatever
    // elevation limit the caller sets.
    PredictionInputs below = Inputs(Alignments[0]);
    below.DayOrNight = true;
    below.MinElevation = DegToRad(-2.0);
    below.TrackWidth = 160.0;
    TleRecord record = Iss();
    ObserverRecord observer = below.Observer;
    TargetState state;
    const double sinking = FindSetSecond(record, state, DegToRad(-0.6), AlignmentInstant(Alignments[0]),
                                         below.End, observer);
    state.Mode = ModeRaDec;
    ASSERT_TRUE(MoveSatellite(record, state, observer, sinking));
    below.Target.BodyId = BodySkyPoint;
    below.Target.RaDec = Angles3{state.RaDec.first, state.RaDec.second, AstronomicalUnitKm};
    SphericalToCartesian(below.Target.RaDec, below.Target.Position);
    EXPECT_FALSE(SearchGroundTracks(below).Found);
}

} // namespace
