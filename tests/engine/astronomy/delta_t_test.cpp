#include "engine/astronomy/delta_t.h"

#include <gtest/gtest.h>

namespace {

double JulianDateOfYear(double year) { return (year - 2000.0) * 365.25 + 2451545.0; }

TEST(DeltaT, TableYearsAndTheirInterpolation)
{
    EXPECT_NEAR(CalcDeltaT(JulianDateOfYear(1620.0)), 124.00, 1e-9);
    EXPECT_NEAR(CalcDeltaT(JulianDateOfYear(1900.0)), -2.70, 1e-9);
    EXPECT_NEAR(CalcDeltaT(JulianDateOfYear(1901.0)), -1.35, 1e-9);  // halfway to 1902
    EXPECT_NEAR(CalcDeltaT(JulianDateOfYear(1987.0)), 55.35, 1e-9);
    EXPECT_NEAR(CalcDeltaT(JulianDateOfYear(2000.0)), 63.83, 1e-9);
    EXPECT_NEAR(CalcDeltaT(JulianDateOfYear(2013.0)), 66.935, 1e-9);
    EXPECT_NEAR(CalcDeltaT(JulianDateOfYear(2014.0)), 67.27, 1e-9);  // no parabola yet
}

TEST(DeltaT, AfterTheTableTheLastSlopeContinuesWithAParabola)
{
    // The 2016 value is never used: 2015 continues the 2012-2014 slope.
    EXPECT_NEAR(CalcDeltaT(JulianDateOfYear(2015.0)), 67.605 + 32.5 * 0.01 * 0.01, 1e-9);
    EXPECT_NEAR(CalcDeltaT(JulianDateOfYear(2020.0)), 69.28 + 32.5 * 0.06 * 0.06, 1e-9);
    EXPECT_NEAR(CalcDeltaT(JulianDateOfYear(2050.0)), 66.60 + 0.67 * 19 + 32.5 * 0.36 * 0.36, 1e-9);
}

TEST(DeltaT, PolynomialsBeforeTheTable)
{
    // Just below 1620 the medieval polynomial applies, from 948 on inclusive.
    const double c1620 = -3.8;
    EXPECT_NEAR(CalcDeltaT(JulianDateOfYear(1620.0) - 1e-3), 50.6 + 67.5 * c1620 + 22.5 * c1620 * c1620, 1e-4);
    EXPECT_NEAR(CalcDeltaT(JulianDateOfYear(948.0)), 50.6 + 67.5 * -10.52 + 22.5 * 10.52 * 10.52, 1e-6);
    EXPECT_NEAR(CalcDeltaT(JulianDateOfYear(948.0) - 1e-3), 2715.6 + 573.36 * -10.52 + 46.5 * 10.52 * 10.52, 1e-3);
    EXPECT_NEAR(CalcDeltaT(JulianDateOfYear(0.0)), 9848.4, 1e-6);
}

} // namespace
