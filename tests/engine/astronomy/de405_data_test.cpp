// The default ephemeris as the set-up converts it (DE405, 1959-12-10 to
// 2060-01-30), read by our reader and checked against published and
// independently computed positions.
#include "engine/astronomy/de_reader.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/satellite_test_support.h"

namespace {

constexpr double kAU = 149597870.6996262;
constexpr double kArcsecond = 1.0 / 3600.0;  // degrees
constexpr double kFirstInstant = 2436912.5;  // 1959-12-10 0h
constexpr double kLastInstant = 2473488.5;   // 2060-01-30 0h

class DefaultEphemerisTest : public ::testing::Test {
protected:
    void SetUp() override { LOAD_DEFAULT_EPHEMERIS_OR_SKIP(); }
    void TearDown() override { FreeDEFile(); }
};

Vec4 Geocentric(int body, double jd, std::uint8_t units = kDEUnitsKm)
{
    Vec4 v{};
    EXPECT_TRUE(CalcDEBodyPosition(body, kDEEarth, v, jd, units)) << body << " at " << jd;
    return v;
}

double SeparationArcsec(const Vec4 &v, double raDegrees, double decDegrees)
{
    const double ra = raDegrees * M_PI / 180, dec = decDegrees * M_PI / 180;
    const double ux = std::cos(dec) * std::cos(ra), uy = std::cos(dec) * std::sin(ra), uz = std::sin(dec);
    const double cross = std::hypot(v.y * uz - v.z * uy, v.z * ux - v.x * uz, v.x * uy - v.y * ux);
    const double dot = v.x * ux + v.y * uy + v.z * uz;
    return std::atan2(cross, dot) * 180 / M_PI / kArcsecond;
}

// Meeus, Astronomical Algorithms, example 25.b: R = 0.99760775 AU at
// 1992 Oct 13.0 TD. That example sums Meeus's abridged VSOP87 series, whose
// truncation leaves errors near 1e-6 AU; ERFA's epv00, fitted to DE405
// within 4.6 km, gives 0.9976085376 AU at the same instant.
TEST_F(DefaultEphemerisTest, SunDistanceAgreesWithMeeusAndWithErfa)
{
    const Vec4 sun = Geocentric(kDESun, 2448908.5, kDEUnitsAU);
    EXPECT_NEAR(sun.w, 0.99760775, 1e-6);
    EXPECT_NEAR(sun.w * kAU, 0.9976085375540785 * kAU, 5.0);
}

// Meeus example 47.a: 368409.7 km at 1992 Apr 12.0 TD, the geometric
// distance from his abridged ELP-2000/82 series (RMS error 6.1 km against
// ELP/MPP02 per ERFA's notes on the same series). The reader returns the
// Moon where its light left it, which shifts the distance by the Earth's
// barycentric motion over 1.2 s (about 34 km here); looking the other way,
// from the Moon to the Earth, shifts it back, so the mean of both is the
// geometric distance to a few metres.
TEST_F(DefaultEphemerisTest, MoonDistanceAgreesWithMeeus)
{
    const double jd = 2448724.5;
    const Vec4 moon = Geocentric(kDEMoon, jd);
    Vec4 earth{};
    ASSERT_TRUE(CalcDEBodyPosition(kDEEarth, kDEMoon, earth, jd, kDEUnitsKm));
    EXPECT_NEAR((moon.w + earth.w) / 2, 368409.7, 10.0);
}

// Reference directions (J2000 equator, degrees, light time as the reader
// applies it, no aberration), computed once outside the program:
// - Sun: minus ERFA epv00's heliocentric Earth (a series fitted to DE405,
//   <= 4.6 km, that is 0.006"); the reader gives the Sun no light time.
// - Moon: JPL's DE200 (Debian's casacore-data-jpl-de200), an older and
//   independently fitted integration in the FK5 J2000 frame, evaluated with
//   numpy's Chebyshev series, Moon at t - light time minus Earth at t. DE200
//   and DE405 differ by under 0.2" over these dates plus a frame offset of
//   some 0.02", so 1" covers the sources and would catch any error of the
//   reader or the conversion (1" is 1.9 km at the Moon, 730 km at the Sun).
struct Direction {
    double jd;
    double sunRa, sunDec;
    double moonRa, moonDec, moonKm;
};
constexpr Direction kDirections[] = {
    {2437000.5, 348.0373052, -5.1360505, 93.8982389, 18.1725389, 403919.326},
    {2448724.5, 20.7601953, 8.7369571, 134.7877197, 13.7401069, 368439.405},
    {2448908.5, 198.4735377, -7.8224541, 30.7803990, 16.5808191, 393359.867},
    {2451545.0, 281.2881634, -23.0333095, 222.4503188, -10.9006429, 402414.604},
    {2460390.0, 0.0330451, 0.0141291, 131.7114362, 22.9762982, 402305.793},
};

TEST_F(DefaultEphemerisTest, SunAndMoonDirectionsAgreeWithIndependentSources)
{
    for (const Direction &d : kDirections) {
        SCOPED_TRACE(d.jd);
        EXPECT_LT(SeparationArcsec(Geocentric(kDESun, d.jd), d.sunRa, d.sunDec), 1.0);
        const Vec4 moon = Geocentric(kDEMoon, d.jd);
        EXPECT_LT(SeparationArcsec(moon, d.moonRa, d.moonDec), 1.0);
        EXPECT_NEAR(moon.w, d.moonKm, 0.1);
    }
}

TEST_F(DefaultEphemerisTest, EveryBodyEvaluatesFromFirstToLastInstant)
{
    for (int body = kDEMercury; body <= kDESun; ++body)
        if (body != kDEEarth)
            Geocentric(body, 2455000.5);
    Geocentric(kDESun, kFirstInstant);
    Geocentric(kDESun, kLastInstant);
    Vec4 v{};
    EXPECT_FALSE(CalcDEBodyPosition(kDESun, kDEEarth, v, kFirstInstant - 1.0, kDEUnitsKm));
    EXPECT_FALSE(CalcDEBodyPosition(kDESun, kDEEarth, v, kLastInstant + 1.0, kDEUnitsKm));
}

} // namespace
