#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "engine/astronomy/astro_time.h"
#include "engine/astronomy/constants.h"

namespace {

double Dms(double d, double m, double s) { return DegToRad(d + m / 60.0 + s / 3600.0); }
double Arcminutes(double radians) { return RadToDeg(radians) * 60.0; }

// Angle on the sky between two right ascension/declination pairs.
double SkyAngleArcsec(const Angles3 &a, const Angles3 &b)
{
    const double c = std::sin(a.second) * std::sin(b.second) +
                     std::cos(a.second) * std::cos(b.second) * std::cos(a.first - b.first);
    return RadToDeg(std::acos(std::min(1.0, c))) * 3600.0;
}

TEST(SiderealTime, MatchesPublishedValues)
{
    EXPECT_NEAR(RadToDeg(CalcGMST(J2000)), 280.46061837, 1e-8);
    // 1987 April 10, 0h UT and 19h21m UT: 13h10m46.3668s and 8h34m57.0896s.
    EXPECT_NEAR(RadToDeg(CalcGMST(2446895.5)), 197.693195, 1e-6);
    EXPECT_NEAR(RadToDeg(CalcGMST(2446896.30625)), 128.7378734, 1e-6);
    // Before J2000 the whole-day split still reduces into [0, 2pi).
    const double early = CalcGMST(2436116.31);
    EXPECT_GE(early, 0.0);
    EXPECT_LT(early, TwoPi);
}

TEST(ObserverTerms, PalomarAndSeaLevel)
{
    // Palomar: 33 21' 22" N, 1706 m.
    double rhoSin = 0.0, rhoCos = 0.0;
    CalcObserverRho(Angles3{Dms(33, 21, 22), 2.0, 1706.0}, rhoSin, rhoCos);
    EXPECT_NEAR(rhoSin, 0.546861, 1e-6);
    EXPECT_NEAR(rhoCos, 0.836339, 1e-6);

    CalcObserverRho(Angles3{0.0, 0.0, 0.0}, rhoSin, rhoCos);
    EXPECT_EQ(rhoSin, 0.0);
    EXPECT_DOUBLE_EQ(rhoCos, 1.0);

    // A site below the ellipsoid (the Dead Sea shore) still gives plain numbers.
    CalcObserverRho(Angles3{DegToRad(31.5), 0.0, -430.0}, rhoSin, rhoCos);
    EXPECT_TRUE(std::isfinite(rhoSin) && std::isfinite(rhoCos));
    EXPECT_LT(std::hypot(rhoSin, rhoCos), 1.0);
}

TEST(Refraction, PublishedExamples)
{
    EXPECT_NEAR(Arcminutes(CalcRefraction(0.0, 1010.0, 10.0)), -37.0045, 1e-3);
    EXPECT_NEAR(CalcRefraction(0.0, 1010.0, 10.0), -0.0107642, 1e-7);
    EXPECT_NEAR(Arcminutes(CalcRefraction(0.0, 1013.0, 20.0)), -35.848, 1e-3);
    EXPECT_NEAR(Arcminutes(CalcRefraction(90.0, 1010.0, 10.0)), -2.53, 0.01);
}

TEST(Refraction, HorizonForAnyObserverHeight)
{
    // Sea level: no dip.
    EXPECT_DOUBLE_EQ(CalcHorizonAltitude(0.0), CalcRefraction(0.0, 1013.0, 20.0));
    // 2000 m: the dip is about 1.44 degrees.
    const double dip = RadToDeg(std::acos(6378137.0 / (6378137.0 + 2000.0)));
    EXPECT_NEAR(dip, 1.44, 0.01);
    EXPECT_DOUBLE_EQ(CalcHorizonAltitude(2000.0), CalcRefraction(-dip, 1013.0, 20.0));
    // Below the ellipsoid, at the centre of the Earth, and at the height
    // whose dip is the formula's pole (about 18.9 km): finite and negative.
    for (double height : {-430.0, -6378137.0, -1e7, 18860.0, 18862.0, 1e6}) {
        const double horizon = CalcHorizonAltitude(height);
        EXPECT_TRUE(std::isfinite(horizon)) << height;
        EXPECT_LT(horizon, 0.0) << height;
    }
    EXPECT_DOUBLE_EQ(CalcHorizonAltitude(-430.0), CalcHorizonAltitude(0.0));
    EXPECT_TRUE(std::isfinite(CalcRefraction(-4.4, 1013.0, 20.0)));
}

TEST(PositionAngle, BrightLimbAndDegenerateCases)
{
    // Moon's bright limb, 1992 April 12 0h TD: 285.0 degrees, which the
    // [0, pi] convention folds to 105.0.
    const Angles3 sun{DegToRad(20.6579), DegToRad(8.6964), 0.0};
    const Angles3 moon{DegToRad(134.6885), DegToRad(13.7684), 0.0};
    EXPECT_NEAR(RadToDeg(CalcParallacticAngle(sun, moon)), 105.0, 0.05);

    EXPECT_EQ(CalcParallacticAngle(Angles3{1.0, 0.5, 0.0}, Angles3{1.0, 0.2, 0.0}), 0.0);
    EXPECT_DOUBLE_EQ(CalcParallacticAngle(Angles3{1.0, 0.2, 0.0}, Angles3{1.0, 0.5, 0.0}), Pi);
}

TEST(Precession, IdentityAtJ2000AndPublishedShift)
{
    const Angles3 source{1.0, 0.5, 42.0};
    Angles3 target;
    PrecessFromJ2000(source, target, J2000);
    EXPECT_EQ(target.first, source.first);
    EXPECT_EQ(target.second, source.second);
    EXPECT_EQ(target.third, 42.0);

    // theta Persei carried to 2028 November 13.19: the rigorous reduction
    // gives 2h46m11.331s +49 20' 54.54" including 0.989 s and -2.58" of
    // proper motion; the annual-rate method stays within 5 arcseconds.
    const Angles3 thetaPersei{DegToRad(15.0 * (2.0 + 44.0 / 60.0 + 11.986 / 3600.0)), Dms(49, 13, 42.48), 1.0};
    PrecessFromJ2000(thetaPersei, target, 2462088.69);
    const double raSeconds = (2.0 * 3600.0 + 46.0 * 60.0 + 11.331) - 0.989;
    const double decArcsec = (49.0 * 3600.0 + 20.0 * 60.0 + 54.54) + 2.58;
    EXPECT_NEAR(RadToDeg(target.first) / 15.0 * 3600.0, raSeconds, 5.0 / 15.0 / std::cos(target.second));
    EXPECT_NEAR(RadToDeg(target.second) * 3600.0, decArcsec, 5.0);
}

TEST(Precession, RoundTripsWithinItsAccuracy)
{
    // The return uses the rates at the date's coordinates, so it is not an
    // exact inverse: its error grows with the square of the span, a few
    // arcseconds over 25 years and under two arcminutes over a century,
    // against shifts of up to 0.35 and 1.4 degrees.
    struct Span {
        double years;
        double limitArcsec;
    };
    for (const Span span : {Span{25.0, 10.0}, Span{-25.0, 10.0}, Span{100.0, 150.0}}) {
        const double jd = J2000 + span.years * DaysPerYear;
        for (double ra = 0.0; ra < TwoPi; ra += 0.7) {
            for (double dec : {-1.2, -0.5, 0.0, 0.4, 1.2}) {
                Angles3 ofDate, back;
                PrecessFromJ2000(Angles3{ra, dec, 7.0}, ofDate, jd);
                PrecessToJ2000(ofDate, back, jd);
                EXPECT_EQ(back.third, 7.0);
                EXPECT_LT(SkyAngleArcsec(back, Angles3{ra, dec, 1.0}), span.limitArcsec)
                    << span.years << " " << ra << " " << dec;
            }
        }
    }
}

} // namespace
