// The line search against independent peers over two days from 2018-01-21
// 0h UTC, for the ISS (SGP4), NOAA 15 and GPS BIIR-2 (SDP4) from London and
// Sydney. The values were computed by tools/pass_peer_values.py (skyfield
// 1.45 and PyEphem 4.1.4 of Debian 12); seconds after the span's start.
#include "engine/searches/line_pass_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "engine/searches/prediction_test_support.h"

namespace {

// A pass above 10 degrees from skyfield: its crossings; the elevation and
// azimuth at the middle of the whole-second rise and set, and their change
// over a second there; the culmination's elevation.
struct PeerPass {
    double rise, set, middle, elevation, azimuth, elevationRate, azimuthRate, culmination;
};

struct PeerSatellite {
    const ElementLines *lines;
    std::vector<PeerPass> london, sydney;
    // Seconds at which PyEphem's eclipsed flag changes (false at the start).
    std::vector<double> shadowChanges;
};

const std::vector<PeerSatellite> &Peers()
{
    static const std::vector<PeerSatellite> peers{
        {&Iss,
         {{2532.56, 2927.23, 2730.5, 88.574, 159.327, -0.4639, -36.1985, 88.743},
          {8325.35, 8692.04, 8509.5, 36.514, 206.528, -0.0036, -0.8035, 36.515},
          {74303.90, 74580.45, 74442.5, 17.923, 142.738, -0.0008, -0.4142, 17.923},
          {80010.20, 80398.87, 80205.0, 61.531, 160.004, -0.0248, -1.9221, 61.542},
          {85794.60, 86189.12, 85992.5, 85.389, 11.641, -0.1775, 12.5463, 85.459},
          {91584.64, 91969.06, 91777.5, 52.060, 200.676, -0.0078, -1.3467, 52.062},
          {97422.14, 97644.73, 97534.0, 14.312, 219.616, -0.0004, -0.3549, 14.312},
          {157651.06, 157788.59, 157720.5, 11.432, 137.491, -0.0005, -0.3142, 11.433},
          {163282.67, 163659.35, 163471.5, 44.255, 154.989, -0.0096, -1.0395, 44.259},
          {169056.19, 169450.49, 169254.0, 87.063, 13.895, -0.3183, 18.9868, 87.211}},
         {{16904.59, 17204.33, 17055.0, 19.263, 147.030, 0.0001, -0.4266, 19.263},
          {22663.27, 23033.26, 22849.0, 36.696, 311.231, 0.0029, 0.8009, 36.697},
          {76694.40, 77070.93, 76883.0, 39.222, 49.263, -0.0098, 0.8627, 39.229},
          {82530.39, 82825.50, 82678.5, 18.676, 212.262, -0.0013, -0.4144, 18.676},
          {100218.09, 100388.19, 100304.0, 12.102, 152.064, -0.0005, -0.3154, 12.102},
          {105916.21, 106314.50, 106116.0, 86.042, 304.096, 0.2048, 14.3361, 86.125},
          {160010.07, 160297.63, 160154.5, 18.504, 52.460, -0.0016, 0.4160, 18.505},
          {165748.27, 166115.11, 165932.5, 32.268, 216.496, -0.0069, -0.6807, 32.274}},
         {1628, 3680, 7189, 9241, 12750, 14802, 18311, 20363, 23872, 25924, 29433, 31485, 34994, 37046, 40555, 42607, 46115, 48168, 51676, 53729, 57237, 59290, 62798, 64851, 68359, 70411, 73919, 75972, 79480, 81533, 85041, 87112, 90620, 92673, 96181, 98234, 101742, 103795, 107303, 109356, 112863, 114917, 118424, 120478, 123985, 126039, 129545, 131600, 135106, 137161, 140667, 142722, 146227, 148283, 151788, 153844, 157348, 159405, 162909, 164966, 168470, 170527}},
        {&Noaa15,
         {{23303.17, 23917.00, 23610.5, 45.835, 98.338, 0.0030, 0.5692, 45.837},
          {29305.88, 29874.54, 29590.5, 33.751, 298.718, 0.0006, -0.3912, 33.751},
          {58539.68, 59036.08, 58788.5, 23.676, 56.097, -0.0010, -0.2867, 23.677},
          {64430.04, 65066.43, 64749.0, 70.222, 260.293, -0.0320, 1.4768, 70.264},
          {70676.16, 70910.17, 70794.0, 11.883, 276.476, -0.0003, 0.1946, 11.883},
          {108221.84, 108778.64, 108500.5, 29.730, 93.658, 0.0011, 0.3463, 29.731},
          {114193.48, 114808.98, 114501.5, 50.170, 294.047, 0.0031, -0.6540, 50.171},
          {120318.76, 120520.98, 120420.0, 11.475, 314.257, -0.0000, -0.1907, 11.475},
          {143514.58, 143903.37, 143709.5, 16.628, 51.013, -0.0004, -0.2276, 16.628},
          {149330.16, 149967.35, 149649.5, 77.098, 65.844, -0.0501, -2.2999, 77.160},
          {155447.83, 155895.35, 155672.0, 19.093, 271.497, -0.0007, 0.2478, 19.094}},
         {{26786.05, 27143.05, 26965.5, 15.077, 86.791, -0.0001, -0.2182, 15.077},
          {32657.38, 33273.98, 32966.0, 53.697, 252.038, 0.0058, 0.7448, 53.700},
          {67363.16, 67778.14, 67571.5, 17.836, 114.973, -0.0006, 0.2373, 17.836},
          {73222.32, 73839.29, 73531.5, 49.430, 278.747, -0.0085, -0.6418, 49.439},
          {117552.54, 118189.16, 117871.5, 85.921, 85.183, 0.0798, -7.3631, 85.968},
          {123789.83, 123830.97, 123810.5, 10.058, 241.416, -0.0000, 0.1832, 10.058},
          {158111.66, 158751.04, 158432.0, 87.826, 251.754, -0.2776, -11.8239, 88.155}},
         {}},
        {&Gps,
         {{39692.57, 61409.76, 50551.5, 85.554, 318.978, 0.0073, 0.0422, 88.333},
          {125845.89, 147563.33, 136705.0, 85.553, 319.017, 0.0073, 0.0422, 88.329}},
         {{15974.60, 27273.77, 21624.5, 26.406, 105.880, 0.0003, 0.0084, 26.442},
          {69096.00, 85405.40, 77251.5, 47.998, 267.692, -0.0004, 0.0121, 48.039},
          {102129.01, 113427.20, 107779.0, 26.404, 105.889, 0.0003, 0.0084, 26.440},
          {155249.41, 171559.35, 163405.0, 48.003, 267.690, -0.0004, 0.0121, 48.043}},
         {}},
    };
    return peers;
}

// PyEphem's Sun below -6 degrees (pressure 0).
const std::vector<std::pair<double, double>> LondonDark = {{0, 26157}, {61692, 112497}, {148186, 172800}};
const std::vector<std::pair<double, double>> SydneyDark = {{34492, 67104}, {120861, 153568}};

constexpr double Span = 2 * 86400.0;

double Seconds(double instant) { return (instant - SpanStart()) * 86400.0; }

bool InShadow(const PeerSatellite &peer, double seconds)
{
    const auto changes = std::upper_bound(peer.shadowChanges.begin(), peer.shadowChanges.end(), seconds);
    return (changes - peer.shadowChanges.begin()) % 2 == 1;
}

struct Place {
    ObserverRecord observer;
    bool london;
    const std::vector<std::pair<double, double>> *dark;
};

std::vector<Place> Places()
{
    return {{LondonObserver(), true, &LondonDark}, {SydneyObserver(), false, &SydneyDark}};
}

// The passes and their report lines, by satellite in working-set order.
struct Found {
    PassRecord pass;
    std::string line;
};

std::map<int, std::vector<Found>> SearchPeers(const Place &place, bool dayOrNight, bool sunlitOnly)
{
    PredictionInputs inputs = DefaultInputs(place.observer, 2.0, {Iss, Noaa15, Gps});
    inputs.MinRevs = 1;
    inputs.DayOrNight = dayOrNight;
    inputs.SunlitOnly = sunlitOnly;
    const PredictionResult result = SearchLinePasses(inputs);
    std::vector<std::string> passLines;
    for (const std::string &line : result.Lines)
        if (line.size() > 60 && line.compare(0, 4, "  01") == 0)
            passLines.push_back(line);
    EXPECT_EQ(passLines.size(), result.Passes.size());
    std::map<int, std::vector<Found>> found;
    for (std::size_t i = 0; i < result.Passes.size() && i < passLines.size(); ++i)
        found[static_cast<int>(std::find_if(Peers().begin(), Peers().end(), [&](const PeerSatellite &p) {
                  return result.Passes[i].Satellite.Elements.catnum == std::atoi(p.lines->number);
              }) - Peers().begin())]
            .push_back({result.Passes[i], passLines[i]});
    return found;
}

class LinePassPeers : public ::testing::Test {
protected:
    void SetUp() override { LOAD_DEFAULT_EPHEMERIS_OR_SKIP(); }
    void TearDown() override { FreeDEFile(); }
};

TEST_F(LinePassPeers, RiseSetAndMiddleAgreeWithSkyfield)
{
    for (const Place &place : Places()) {
        auto found = SearchPeers(place, true, false);
        for (std::size_t s = 0; s < Peers().size(); ++s) {
            const PeerSatellite &peer = Peers()[s];
            const std::vector<PeerPass> &expected = place.london ? peer.london : peer.sydney;
            const std::vector<Found> &passes = found[static_cast<int>(s)];
            ASSERT_EQ(passes.size(), expected.size()) << peer.lines->name << " from " << place.observer.Name.str();
            for (std::size_t i = 0; i < passes.size(); ++i) {
                SCOPED_TRACE(std::string(peer.lines->name) + " from " + place.observer.Name.str() + " pass "
                             + std::to_string(i));
                const PassRecord &pass = passes[i].pass;
                const PeerPass &want = expected[i];
                EXPECT_NEAR(Seconds(pass.StartTime), want.rise, 2.0);
                EXPECT_NEAR(Seconds(pass.EndTime), std::min(want.set, Span), 2.0);
                // The peer carried to the search's middle, within a second of its own.
                const double middle = (Seconds(pass.StartTime) + Seconds(pass.EndTime)) / 2.0;
                const double shift = middle - want.middle;
                ASSERT_LE(std::fabs(shift), 1.0);
                EXPECT_NEAR(pass.Elevation, want.elevation + want.elevationRate * shift, 0.1);
                if (want.culmination < 80.0) {
                    EXPECT_NEAR(pass.Elevation, want.culmination, 0.1);
                    // The report gives the azimuth in whole degrees.
                    const double azimuth = std::stod(passes[i].line.substr(39, 3));
                    const double peerAzimuth = want.azimuth + want.azimuthRate * shift;
                    EXPECT_LE(std::fabs(std::remainder(azimuth - peerAzimuth, 360.0)), 0.6);
                }
            }
        }
    }
}

TEST_F(LinePassPeers, DarkWindowsAndSunlightAgreeWithPyEphem)
{
    for (const Place &place : Places()) {
        for (const bool sunlitOnly : {false, true}) {
            auto found = SearchPeers(place, false, sunlitOnly);
            for (std::size_t s = 0; s < Peers().size(); ++s) {
                const PeerSatellite &peer = Peers()[s];
                SCOPED_TRACE(std::string(peer.lines->name) + " from " + place.observer.Name.str()
                             + (sunlitOnly ? ", sunlit parts" : ""));
                const std::vector<Found> &passes = found[static_cast<int>(s)];
                for (const Found &f : passes) {
                    const double aos = Seconds(f.pass.StartTime), los = Seconds(f.pass.EndTime);
                    EXPECT_TRUE(std::any_of(place.dark->begin(), place.dark->end(), [&](const auto &dark) {
                        return aos >= dark.first - 30.0 && los <= dark.second + 30.0;
                    })) << f.line;
                    const auto change = std::upper_bound(peer.shadowChanges.begin(), peer.shadowChanges.end(), aos);
                    const bool changes = change != peer.shadowChanges.end() && *change < los;
                    if (sunlitOnly) {
                        // The sunlit part: no shadow in it, within 10 s.
                        EXPECT_FALSE(InShadow(peer, aos + 10.0)) << f.line;
                        EXPECT_FALSE(changes && *change < los - 10.0) << f.line;
                        continue;
                    }
                    const std::string sunlight = f.line.size() > 77 ? f.line.substr(77) : "";
                    const bool shadow = InShadow(peer, aos);
                    if (!changes) {
                        EXPECT_EQ(sunlight, shadow ? "        Shadow" : "       SunLite") << f.line;
                    } else {
                        EXPECT_EQ(sunlight.substr(0, 7), shadow ? "   Slt " : "   Shd ") << f.line;
                        const double at = std::fmod(*change - (shadow ? 0.0 : 1.0), 86400.0);
                        const std::string time = sunlight.substr(7);
                        const double shown = std::stoi(time.substr(0, 2)) * 3600.0
                            + std::stoi(time.substr(3, 2)) * 60.0 + std::stoi(time.substr(6, 2));
                        EXPECT_NEAR(shown, at, 10.0) << f.line;
                    }
                }
                // No peer pass that rises in the dark (and, for sunlit
                // parts, is lit then) is missing.
                for (const PeerPass &want : place.london ? peer.london : peer.sydney) {
                    const bool dark = std::any_of(place.dark->begin(), place.dark->end(), [&](const auto &d) {
                        return want.rise > d.first + 30.0 && want.rise < d.second - 30.0;
                    });
                    if (!dark || (sunlitOnly && InShadow(peer, want.rise + 10.0)))
                        continue;
                    EXPECT_TRUE(std::any_of(passes.begin(), passes.end(), [&](const Found &f) {
                        return std::fabs(Seconds(f.pass.StartTime) - want.rise) <= 10.0;
                    })) << "peer pass rising at " << want.rise;
                }
            }
        }
    }
}

} // namespace
