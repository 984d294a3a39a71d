#include <cmath>

#include <gtest/gtest.h>

#include "engine/astronomy/astro_time.h"
#include "engine/astronomy/constants.h"
#include "engine/astronomy/geodesy.h"
#include "engine/astronomy/vectors.h"

namespace {

double Dms(double d, double m, double s) { return DegToRad(d + m / 60.0 + s / 3600.0); }
double Hms(double h, double m, double s) { return DegToRad(15.0 * (h + m / 60.0 + s / 3600.0)); }

bool Finite(const Angles3 &a) { return std::isfinite(a.first) && std::isfinite(a.second) && std::isfinite(a.third); }

TEST(GroundGeodesy, ParisToWashingtonOnTheEllipsoid)
{
    const Angles3 paris{Dms(48, 50, 11), Dms(2, 20, 14), 0.0};
    const Angles3 washington{Dms(38, 55, 17), -Dms(77, 3, 56), 0.0};
    EXPECT_NEAR(CalcEllipsoidDistance(paris, washington), 6181.63, 0.02);
    EXPECT_NEAR(CalcEllipsoidDistance(washington, paris), 6181.63, 0.02);

    EXPECT_EQ(CalcEllipsoidDistance(paris, paris), 0.0);
    // Antipodes and the two poles: a half circumference, never a division by zero.
    const double antipodes = CalcEllipsoidDistance(Angles3{0.0, 0.0, 0.0}, Angles3{0.0, Pi, 0.0});
    const double poles = CalcEllipsoidDistance(Angles3{HalfPi, 0.0, 0.0}, Angles3{-HalfPi, 0.0, 0.0});
    EXPECT_NEAR(antipodes, 20000.0, 50.0);
    EXPECT_NEAR(poles, 20000.0, 50.0);
}

TEST(GroundGeodesy, InitialBearingQuadrants)
{
    const Angles3 origin{0.3, 1.0, 0.0};
    EXPECT_EQ(CalcInitialBearing(origin, origin), 0.0);
    EXPECT_EQ(CalcInitialBearing(origin, Angles3{0.5, 1.0, 0.0}), 0.0);
    EXPECT_EQ(CalcInitialBearing(origin, Angles3{0.1, 1.0, 0.0}), Pi);

    // Each quadrant of end points gives a bearing in its own quarter.
    const struct {
        double dLat, dLon, low;
    } quadrants[] = {{0.2, 0.2, 0.0}, {-0.2, 0.2, HalfPi}, {-0.2, -0.2, Pi}, {0.2, -0.2, ThreeHalfPi}};
    for (const auto &q : quadrants) {
        const double bearing = CalcInitialBearing(origin, Angles3{0.3 + q.dLat, 1.0 + q.dLon, 0.0});
        EXPECT_GT(bearing, q.low) << q.dLat << " " << q.dLon;
        EXPECT_LT(bearing, q.low + HalfPi) << q.dLat << " " << q.dLon;
    }

    // Along the equator: due east, and the raw (negative) arcsine due west.
    EXPECT_NEAR(CalcInitialBearing(Angles3{0.0, 0.0, 0.0}, Angles3{0.0, 0.5, 0.0}), HalfPi, 1e-7);
    EXPECT_NEAR(CalcInitialBearing(Angles3{0.0, 0.0, 0.0}, Angles3{0.0, -0.5, 0.0}), -HalfPi, 1e-7);
    // Antipodes have no single direction; the answer is still a number.
    EXPECT_TRUE(std::isfinite(CalcInitialBearing(Angles3{0.0, 0.0, 0.0}, Angles3{0.0, Pi, 0.0})));
}

TEST(GroundGeodesy, DestinationPoints)
{
    const double r = EarthRadiusKm;
    Angles3 end{9.0, 9.0, 9.0};
    CalcDestinationPoint(Angles3{0.0, 0.2, 5.0}, end, HalfPi, r * Pi / 4.0, r);
    EXPECT_NEAR(end.first, 0.0, 1e-7);
    EXPECT_NEAR(end.second, 0.2 + Pi / 4.0, 1e-7);
    EXPECT_EQ(end.third, 1.0);

    // Going and coming back along the reversed bearing returns to the start.
    const Angles3 start{0.6, -1.3, 0.0};
    CalcDestinationPoint(start, end, 0.7, 800.0, r);
    const double back = CalcInitialBearing(end, start);
    Angles3 home;
    CalcDestinationPoint(end, home, back, 800.0, r);
    EXPECT_NEAR(home.first, start.first, 1e-6);
    EXPECT_NEAR(home.second, start.second, 1e-6);

    // Reaching a pole, or a sphere without radius: numbers, not failures.
    CalcDestinationPoint(Angles3{0.0, 0.2, 0.0}, end, 0.0, r * HalfPi, r);
    EXPECT_NEAR(end.first, HalfPi, 1e-7);
    EXPECT_TRUE(Finite(end));
    CalcDestinationPoint(Angles3{0.3, 0.2, 0.0}, end, 1.0, 100.0, 0.0);
    EXPECT_NEAR(end.first, 0.3, 1e-12);
    EXPECT_NEAR(end.second, 0.2, 1e-12);
}

TEST(InertialFrames, SubPointAndObserverPosition)
{
    Angles3 sub;
    CalcSubPoint(MakeVector(EarthRadiusKm, 0.0, 0.0), sub, 0.0);
    EXPECT_NEAR(sub.first, 0.0, 1e-12);
    EXPECT_NEAR(sub.second, 0.0, 1e-12);
    EXPECT_NEAR(sub.third, 0.0, 1e-9);

    // The longitude turns with sidereal time and stays in [-pi, pi].
    CalcSubPoint(MakeVector(0.0, -7000.0, 0.0), sub, 2.0);
    EXPECT_NEAR(sub.second, -HalfPi - 2.0 + TwoPi, 1e-12);

    // On the polar axis the tangents of the textbook form have no value.
    CalcSubPoint(MakeVector(0.0, 0.0, -7000.0), sub, 1.0);
    EXPECT_NEAR(sub.first, -HalfPi, 1e-12);
    EXPECT_NEAR(sub.third, 7000.0 - PolarRadiusKm, 1e-9);
    EXPECT_TRUE(Finite(sub));

    // An observer's inertial position lies under its own sub-point.
    for (double latitude : {-1.2, -0.4, 0.0, 0.7, 1.5}) {
        double rhoSin = 0.0, rhoCos = 0.0;
        CalcObserverRho(Angles3{latitude, 0.0, 0.0}, rhoSin, rhoCos);
        Vec4 eci;
        CalcObserverECI(eci, rhoCos, rhoSin, 0.5, 3.0);
        EXPECT_DOUBLE_EQ(eci.w, VectorMagnitude(eci));
        CalcSubPoint(eci, sub, 3.0);
        EXPECT_NEAR(sub.first, latitude, 1e-9) << latitude;
        EXPECT_NEAR(sub.second, 0.5, 1e-12) << latitude;
        // The surface radius is taken at the geodetic latitude, which puts
        // mid-latitude ground points up to about 70 m off the ellipsoid.
        EXPECT_NEAR(sub.third, 0.0, 0.1) << latitude;
    }
}

TEST(InertialFrames, SatelliteOverheadIsAtTheZenith)
{
    const double longitude = 0.4, gmst = 1.1;
    Vec4 observer;
    CalcObserverECI(observer, 1.0, 0.0, longitude, gmst);
    const Vec4 satellite = MakeVector((EarthRadiusKm + 500.0) * std::cos(longitude + gmst),
                                      (EarthRadiusKm + 500.0) * std::sin(longitude + gmst), 0.0);
    Angles3 topo;
    CalcTopoRaDec(satellite, observer, topo);
    EXPECT_NEAR(topo.first, longitude + gmst, 1e-12);
    EXPECT_NEAR(topo.second, 0.0, 1e-12);
    EXPECT_NEAR(topo.third, 500.0, 1e-9);
    double altitude = 0.0, azimuth = 0.0;
    EquToHorizontal(Angles3{0.0, longitude, 0.0}, topo, altitude, azimuth, std::nullopt, gmst);
    EXPECT_NEAR(altitude, HalfPi, 1e-7);
    EXPECT_TRUE(std::isfinite(azimuth));

    // Target and observer in one place: no direction, but no failure.
    CalcTopoRaDec(observer, observer, topo);
    EXPECT_TRUE(Finite(topo));
    EXPECT_EQ(topo.third, 0.0);

    Angles3 geo;
    CalcGeoRaDec(satellite, geo);
    EXPECT_NEAR(geo.first, longitude + gmst, 1e-12);
    EXPECT_EQ(geo.third, satellite.w);
    Vec4 again;
    SphericalToCartesian(geo, again);
    EXPECT_NEAR(CalcVectorDistance(again, satellite), 0.0, 1e-9);
    EXPECT_EQ(again.w, satellite.w);
}

TEST(Horizontal, VenusFromWashington)
{
    // 1987 April 10, 19h21m UT; azimuth 68.0337 degrees west of south.
    const Angles3 washington{Dms(38, 55, 17), -Dms(77, 3, 56), 0.0};
    const Angles3 venus{Hms(23, 9, 16.641), -Dms(6, 43, 11.61), 1.0};
    const double sidereal = Hms(8, 34, 56.853);
    double altitude = 0.0, azimuth = 0.0;
    EquToHorizontal(washington, venus, altitude, azimuth, std::nullopt, sidereal);
    EXPECT_NEAR(RadToDeg(altitude), 15.1249, 1e-4);
    EXPECT_NEAR(RadToDeg(azimuth), 180.0 + 68.0337, 2e-4);
}

TEST(Horizontal, RoundTripsIncludingZenithNadirAndMeridian)
{
    const double gmst = 2.3;
    for (double latitude : {-1.0, -0.2, 0.0, 0.7, 1.3}) {
        const Angles3 observer{latitude, -0.6, 100.0};
        for (double altitude : {-HalfPi, -0.5, 0.0, 0.3, 1.2, HalfPi}) {
            for (double azimuth : {0.0, 0.4, HalfPi, Pi, 4.0, 5.9}) {
                Angles3 raDec;
                HorizontalToEqu(observer, altitude, azimuth, raDec, std::nullopt, gmst);
                ASSERT_TRUE(Finite(raDec));
                EXPECT_EQ(raDec.third, 100.0 * AstronomicalUnitKm);
                double alt = 9.0, az = 9.0;
                EquToHorizontal(observer, raDec, alt, az, std::nullopt, gmst);
                EXPECT_NEAR(alt, altitude, 1e-7) << latitude << " " << altitude << " " << azimuth;
                EXPECT_GE(az, 0.0);
                EXPECT_LE(az, TwoPi);
                if (std::abs(altitude) < 1.5) { // at zenith and nadir any azimuth will do
                    EXPECT_NEAR(std::remainder(az - azimuth, TwoPi), 0.0, 1e-6)
                        << latitude << " " << altitude << " " << azimuth;
                }
            }
        }
    }

    // On the meridian: south of the zenith at azimuth pi, north of it at 0,
    // and the same seen below the pole at the lower culmination.
    const Angles3 observer{0.7, 0.1, 0.0};
    const double lst = 0.1 + gmst;
    double alt = 0.0, az = 0.0;
    EquToHorizontal(observer, Angles3{lst, 0.2, 1.0}, alt, az, std::nullopt, gmst);
    EXPECT_NEAR(alt, HalfPi - 0.5, 1e-9);
    EXPECT_NEAR(az, Pi, 1e-6);
    EXPECT_TRUE(std::isfinite(az));
    EquToHorizontal(observer, Angles3{lst, 1.0, 1.0}, alt, az, std::nullopt, gmst);
    EXPECT_NEAR(alt, HalfPi - 0.3, 1e-9);
    EXPECT_NEAR(std::remainder(az, TwoPi), 0.0, 1e-6);
    EquToHorizontal(observer, Angles3{lst + Pi, 1.2, 1.0}, alt, az, std::nullopt, gmst);
    EXPECT_NEAR(alt, 0.7 + 1.2 - HalfPi, 1e-9);
    EXPECT_NEAR(std::remainder(az, TwoPi), 0.0, 1e-6);
}

TEST(Horizontal, EquatorAndPoles)
{
    const double gmst = 1.0;
    Angles3 raDec;
    HorizontalToEqu(Angles3{0.0, 0.25, 0.0}, 0.0, HalfPi, raDec, std::nullopt, gmst);
    EXPECT_NEAR(raDec.second, 0.0, 1e-12);
    EXPECT_NEAR(raDec.first, 0.25 + gmst + HalfPi, 1e-12);

    for (double pole : {HalfPi, -HalfPi}) {
        const Angles3 observer{pole, 0.3, 0.0};
        double alt = 0.0, az = 0.0;
        EquToHorizontal(observer, Angles3{5.0, 0.4, 1.0}, alt, az, std::nullopt, gmst);
        EXPECT_NEAR(alt, pole > 0 ? 0.4 : -0.4, 1e-9);
        EXPECT_NEAR(az, 0.3 + gmst - 5.0 + TwoPi, 1e-12); // the hour angle
        HorizontalToEqu(observer, 0.4, 6.0, raDec, std::nullopt, gmst);
        EXPECT_NEAR(raDec.first, NormalizeAngle2Pi(gmst + 6.0 + Pi + 0.3), 1e-12);
        EXPECT_GE(raDec.first, 0.0);
        EXPECT_LE(raDec.first, TwoPi);
    }
}

TEST(Horizontal, J2000InputIsCarriedToTheDate)
{
    const Angles3 observer{0.8, 0.2, 0.0};
    const double instant = 45658.5; // 2025 January 1, 12h
    const double jd = instant + JulianDateOfDayZero;
    const double gmst = CalcGMST(jd);
    const Angles3 j2000{1.3, 0.35, 1.0};
    Angles3 ofDate;
    PrecessFromJ2000(j2000, ofDate, jd);
    double alt1 = 0.0, az1 = 0.0, alt2 = 0.0, az2 = 0.0;
    EquToHorizontal(observer, j2000, alt1, az1, instant, gmst);
    EquToHorizontal(observer, ofDate, alt2, az2, std::nullopt, gmst);
    EXPECT_DOUBLE_EQ(alt1, alt2);
    EXPECT_DOUBLE_EQ(az1, az2);

    Angles3 back;
    HorizontalToEqu(observer, alt1, az1, back, instant, gmst);
    EXPECT_NEAR(back.first, j2000.first, DegToRad(10.0 / 3600.0));
    EXPECT_NEAR(back.second, j2000.second, DegToRad(10.0 / 3600.0));
}

TEST(Frames, J2000BodyPrecessedToTheDate)
{
    // The equinox direction moves by the general precession, 50.29" a year.
    const Vec4 equinox = MakeVector(AstronomicalUnitKm, 0.0, 0.0);
    Vec4 ofDate;
    PrecessVectorFromJ2000(equinox, ofDate, J2000 + 25.0 * DaysPerYear);
    EXPECT_NEAR(ofDate.w, AstronomicalUnitKm, 1e-3);
    EXPECT_NEAR(ofDate.w, VectorMagnitude(ofDate), 1e-3);
    EXPECT_NEAR(RadToDeg(CalcVectorAngle(equinox, ofDate)) * 3600.0, 25.0 * 50.29, 2.0);

    // A satellite just inside the shadow by the date's Sun would be called
    // lit against the J2000 Sun, 0.32 degrees away along the equator.
    const Vec4 sunJ2000 = MakeVector(0.0, AstronomicalUnitKm, 0.0);
    Vec4 sunOfDate;
    PrecessVectorFromJ2000(sunJ2000, sunOfDate, J2000 + 25.0 * DaysPerYear);
    Angles3 sun;
    CalcGeoRaDec(sunOfDate, sun);
    const double r = 7000.0;
    const double shadowEdge = std::acos(EarthRadiusKm / r) + HalfPi;
    Vec4 satellite;
    SphericalToCartesian(Angles3{sun.first - (shadowEdge + 0.002), 0.0, r}, satellite);
    EXPECT_FALSE(IsSunlit(satellite, sunOfDate));
    EXPECT_TRUE(IsSunlit(satellite, sunJ2000));

    // A zero vector (no body) stays zero instead of dividing by its length.
    Vec4 none{1.0, 1.0, 1.0, 1.0};
    PrecessVectorFromJ2000(Vec4{0.0, 0.0, 0.0, 0.0}, none, J2000 + 9000.0);
    EXPECT_EQ(VectorMagnitude(none), 0.0);
    EXPECT_EQ(none.w, 0.0);
}

} // namespace
