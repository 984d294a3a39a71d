#include "ui/widgets/number_text.h"

#include <gtest/gtest.h>

TEST(NumberTextTest, FixedRoundsToSignificantDigitsAndShowsTheDecimals)
{
    EXPECT_EQ(FixedDigits(0.0001234, 6, 7), "0.0001234");
    EXPECT_EQ(FixedDigits(1436.1198, 4, 2), "1436.00");
    EXPECT_EQ(FixedDigits(51.6416, 6, 5), "51.64160");
    EXPECT_EQ(FixedDigits(-0.5, 4, 2), "-0.50");
    EXPECT_EQ(FixedDigits(0.0, 4, 2), "0.00");
    EXPECT_EQ(FixedDigits(12345.67, 5, 1), "12346.0");
    // A whole part wider than the digits, also after rounding up.
    EXPECT_EQ(FixedDigits(123456.7, 5, 1), "1.2346e+05");
    EXPECT_EQ(FixedDigits(9999.96, 4, 2), "1.000e+04");
}
