#include <cmath>

#include <gtest/gtest.h>

#include "engine/astronomy/constants.h"
#include "engine/astronomy/vectors.h"

namespace {

TEST(VectorOps, AnglesDistancesAndDirections)
{
    const Vec4 a = MakeVector(3.0, 4.0, 12.0);
    Vec4 unit;
    NormalizeVector(a, unit);
    EXPECT_NEAR(unit.w, 1.0, 1e-15);
    EXPECT_NEAR(unit.z, 12.0 / 13.0, 1e-15);
    // A zero vector has no direction: the output is left as it was.
    Vec4 untouched{7.0, 8.0, 9.0, 10.0};
    NormalizeVector(Vec4{0.0, 0.0, 0.0, 0.0}, untouched);
    EXPECT_EQ(untouched.x, 7.0);
    EXPECT_EQ(untouched.w, 10.0);

    EXPECT_EQ(CalcVectorDistance(MakeVector(1.0, 2.0, 3.0), MakeVector(4.0, 6.0, 3.0)), 5.0);
    EXPECT_NEAR(CalcVectorAngle(MakeVector(1.0, 0.0, 0.0), MakeVector(1.0, 1.0, 0.0)), Pi / 4.0, 1e-15);
    // Parallel vectors whose cosine rounds past 1 still give 0, not a failure.
    const Vec4 v = MakeVector(0.1, 0.7, 0.3);
    Vec4 w;
    ScaleVector(v, w, 3.0);
    EXPECT_NEAR(CalcVectorAngle(v, w), 0.0, 1e-7);
    EXPECT_NEAR(CalcVectorAngle(v, MakeVector(-0.1, -0.7, -0.3)), Pi, 1e-7);
    EXPECT_EQ(CalcVectorAngle(v, Vec4{0.0, 0.0, 0.0, 0.0}), HalfPi);

    // Seen from (1, 1, 0), the points (2, 1, 0) and (1, 5, 0) are a right angle apart.
    EXPECT_NEAR(CalcSeparationAngle(MakeVector(1.0, 1.0, 0.0), MakeVector(2.0, 1.0, 0.0), MakeVector(1.0, 5.0, 0.0)),
                HalfPi, 1e-15);
    EXPECT_TRUE(std::isfinite(CalcSeparationAngle(v, v, MakeVector(1.0, 0.0, 0.0))));
}

TEST(VectorOps, RaySphereDistance)
{
    // Aimed at the centre from 3 radii out: two radii to the surface.
    EXPECT_NEAR(CalcRaySphereDistance(0.0, 3.0, 1.0), 2.0, 1e-15);
    // Grazing: the tangent length sqrt(b^2 - a^2).
    const double tangent = std::asin(1.0 / 2.0);
    EXPECT_NEAR(CalcRaySphereDistance(tangent, 2.0, 1.0), std::sqrt(3.0), 1e-7);
    // Missing: the point of closest approach.
    EXPECT_NEAR(CalcRaySphereDistance(1.0, 2.0, 1.0), 2.0 * std::cos(1.0), 1e-15);
    EXPECT_TRUE(std::isfinite(CalcRaySphereDistance(4.0, 2.0, 1.0)));
    EXPECT_NEAR(CalcRaySphereDistance(0.3, 2.0, 0.0), 2.0 * std::cos(0.3), 1e-15);
}

TEST(AngleReduction, RangesAndBoundaries)
{
    EXPECT_NEAR(NormalizeAngle2Pi(-0.1), TwoPi - 0.1, 1e-15);
    EXPECT_EQ(NormalizeAngle2Pi(TwoPi), TwoPi);
    EXPECT_EQ(NormalizeAngle2Pi(0.0), 0.0);
    EXPECT_NEAR(NormalizeAngle2Pi(4.0 * Pi + 1.0), 1.0, 1e-14);
    EXPECT_NEAR(NormalizeAngle2Pi(-7.0 * Pi), Pi, 1e-14);
    EXPECT_NEAR(NormalizeAnglePi(3.0 * Pi / 2.0), -HalfPi, 1e-15);
    EXPECT_EQ(NormalizeAnglePi(-Pi), -Pi);
    EXPECT_EQ(NormalizeAnglePi(Pi), Pi);
    EXPECT_NEAR(NormalizeAnglePi(-5.0), -5.0 + TwoPi, 1e-15);
    EXPECT_NEAR(NormalizeAnglePi(1000.0), std::remainder(1000.0, TwoPi), 1e-12);
}

TEST(Sunlight, LightShadowAndEdge)
{
    const Vec4 sun = MakeVector(AstronomicalUnitKm, 0.0, 0.0);
    const double r = 7000.0;
    EXPECT_TRUE(IsSunlit(MakeVector(r, 0.0, 0.0), sun));        // towards the Sun
    EXPECT_TRUE(IsSunlit(MakeVector(0.0, r, 0.0), sun));        // 90 degrees away
    EXPECT_FALSE(IsSunlit(MakeVector(-r, 0.0, 0.0), sun));      // behind the Earth

    // The shadow's edge lies pi/2 + acos(a / r) from the Sun, about 0.42 rad
    // past the terminator at 7000 km.
    const double edge = HalfPi + std::acos(EarthRadiusKm / r);
    EXPECT_TRUE(IsSunlit(MakeVector(r * std::cos(edge - 1e-6), r * std::sin(edge - 1e-6), 0.0), sun));
    EXPECT_FALSE(IsSunlit(MakeVector(r * std::cos(edge + 1e-6), r * std::sin(edge + 1e-6), 0.0), sun));

    // Inside the Earth (decayed) and at the centre: dark, not a failure.
    EXPECT_FALSE(IsSunlit(MakeVector(6000.0, 0.0, 0.0), sun));
    EXPECT_FALSE(IsSunlit(Vec4{0.0, 0.0, 0.0, 0.0}, sun));
}

TEST(Sunlight, IlluminatedFraction)
{
    const Vec4 sun = MakeVector(AstronomicalUnitKm, 0.0, 0.0);
    const Vec4 target = MakeVector(0.0, 7000.0, 0.0);
    // Observer on the Sun's side of the target sees it full, opposite it new,
    // at right angles half lit.
    EXPECT_NEAR(CalcIlluminatedFraction(MakeVector(1000.0, 7000.0, 0.0), target, sun), 1.0, 1e-15);
    EXPECT_NEAR(CalcIlluminatedFraction(MakeVector(-1000.0, 7000.0, 0.0), target, sun), 0.0, 1e-15);
    EXPECT_NEAR(CalcIlluminatedFraction(MakeVector(0.0, 6400.0, 0.0), target, sun), 0.5, 1e-15);
    // Observer at the target: no direction, half lit, a number.
    EXPECT_EQ(CalcIlluminatedFraction(target, target, sun), 0.5);
}

TEST(Sunlight, Magnitudes)
{
    EXPECT_NEAR(CalcSatMagnitude(3.0, 1000.0, 0.5), 3.0026, 1e-4);
    // Unlit: a very faint magnitude (fraction 1e-7) rather than a failure.
    EXPECT_NEAR(CalcSatMagnitude(3.0, 1000.0, 0.0), 3.0 - 15.75 + 32.5, 1e-9);
    EXPECT_TRUE(std::isfinite(CalcSatMagnitude(3.0, 1000.0, -1e-17)));
}

} // namespace
