#include "engine/text/text_fields.h"

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/text/text_format.h"

namespace {

std::string TwoDigits(long long value) { return (value < 10 ? "0" : "") + std::to_string(value); }

TEST(FormatSecondsHMS, CutsDecimalsAndNeverShowsSixtySeconds)
{
    EXPECT_EQ(FormatSecondsHMS(1, 3723.5), "01:02:03.5");
    EXPECT_EQ(FormatSecondsHMS(6, 59.9999999), "00:00:59.999999");
    EXPECT_EQ(FormatSecondsHMS(0, 3.99), "00:00:03");
    EXPECT_EQ(FormatSecondsHMS(2, 0.0), "00:00:00.00");
    EXPECT_EQ(FormatSecondsHMS(0, 300 * 3600.0), "300:00:00");
    EXPECT_EQ(FormatSecondsHMS(0, -61.0), "-00:01:01");
    // Every whole second of a day splits exactly; dividing first and
    // multiplying the fractions back shows 120 s as 00:01:59.
    for (long long total = 0; total < 86400; ++total) {
        std::string expected = TwoDigits(total / 3600) + ":" + TwoDigits(total / 60 % 60) + ":" +
                               TwoDigits(total % 60);
        ASSERT_EQ(FormatSecondsHMS(0, static_cast<double>(total)), expected);
    }
}

TEST(FormatAngle, DegreesMinutesSecondsRoundBeforeSplitting)
{
    EXPECT_EQ(FormatAngleDMS(false, 1, -0.5), "-00\u00B0 30' 00.0\"");
    EXPECT_EQ(FormatAngleDMS(false, 1, 10.1), "+10\u00B0 06' 00.0\"");
    EXPECT_EQ(FormatAngleDMS(false, 1, 5 + 7 / 60.0 + 9.3 / 3600), "+05\u00B0 07' 09.3\"");
    EXPECT_EQ(FormatAngleDMS(true, 0, std::numbers::pi / 4), "+45\u00B0 00' 00\"");
    EXPECT_EQ(FormatAngleDMS(false, 1, 29.99999999), "+30\u00B0 00' 00.0\"");
    EXPECT_EQ(FormatAngleDMS(false, 0, 0.0), "+00\u00B0 00' 00\"");
    EXPECT_EQ(FormatAngleDMS(false, 2, -123.5), "-123\u00B0 30' 00.00\"");
    // Every tenth of an arcsecond of two degrees, built as a reader would.
    for (int tenths = 0; tenths < 2 * 36000; ++tenths) {
        int d = tenths / 36000, m = tenths / 600 % 60, s10 = tenths % 600;
        double angle = d + m / 60.0 + s10 / 36000.0;
        std::string expected = "+" + TwoDigits(d) + "\u00B0 " + TwoDigits(m) + "' " +
                               TwoDigits(s10 / 10) + "." + std::to_string(s10 % 10) + "\"";
        ASSERT_EQ(FormatAngleDMS(false, 1, angle), expected) << angle;
    }
}

TEST(FormatAngle, HoursMinutesSeconds)
{
    EXPECT_EQ(FormatAngleHMS(false, 0, 180.0), "12h 00m 00s");
    EXPECT_EQ(FormatAngleHMS(false, 1, 15 * (5 + 7 / 60.0 + 9.3 / 3600)), "05h 07m 09.3s");
    EXPECT_EQ(FormatAngleHMS(true, 2, std::numbers::pi / 2), "06h 00m 00.00s");
    EXPECT_EQ(FormatAngleHMS(false, 0, 15 * (1 + 59 / 60.0 + 59.6 / 3600)), "02h 00m 00s");
    EXPECT_EQ(FormatAngleHMS(false, 0, -30.0), "02h 00m 00s");
}

TEST(FormatClockTime, ShiftsRoundsAndBlanks)
{
    double t = MakeInstant(2024, 6, 1, 10, 29, 31);
    double time = t;
    EXPECT_EQ(FormatClockTime(time, std::nullopt, false, 0.0), "10:30");
    EXPECT_EQ(time, t);
    EXPECT_EQ(FormatClockTime(time, std::nullopt, true, 2.0 / 24), "12:29:31");
    EXPECT_EQ(time, t + 2.0 / 24);

    time = t;
    EXPECT_EQ(FormatClockTime(time, t - 0.1, false, 1.0 / 24), "  :  ");
    EXPECT_EQ(FormatClockTime(time, t, true, 1.0 / 24), "  :  :  ");
    EXPECT_EQ(time, t);
    EXPECT_EQ(FormatClockTime(time, t + 0.1, true, 0.0), "10:29:31");
}

TEST(RoundDateTime, NearestUnitWithTiesToEven)
{
    auto at = [](int h, int n, int s, int ms = 0) { return MakeInstant(2024, 6, 1, h, n, s, ms); };
    EXPECT_EQ(RoundDateTime(at(10, 29, 29), TimeUnit::Minute), at(10, 29, 0));
    EXPECT_EQ(RoundDateTime(at(10, 29, 30), TimeUnit::Minute), at(10, 30, 0));
    EXPECT_EQ(RoundDateTime(at(10, 30, 30), TimeUnit::Minute), at(10, 30, 0));
    EXPECT_EQ(RoundDateTime(at(10, 31, 30), TimeUnit::Minute), at(10, 32, 0));
    EXPECT_EQ(RoundDateTime(at(10, 30, 0), TimeUnit::Hour), at(10, 0, 0));
    EXPECT_EQ(RoundDateTime(at(11, 30, 0), TimeUnit::Hour), at(12, 0, 0));
    EXPECT_EQ(RoundDateTime(at(23, 59, 59, 500), TimeUnit::Second), MakeInstant(2024, 6, 2));
    EXPECT_EQ(RoundDateTime(at(1, 2, 3, 4), TimeUnit::Millisecond), at(1, 2, 3, 4));
    EXPECT_EQ(RoundDateTime(-0.25 - 30.0 / 86400, TimeUnit::Minute), -0.25);
}

TEST(SplitString, FieldsOfListsAndLines)
{
    using Fields = std::vector<std::string>;
    EXPECT_EQ(SplitString(' ', "1 0  (ST) Stations https://example.org/stations.txt", false),
              (Fields{"1", "0", "(ST)", "Stations", "https://example.org/stations.txt"}));
    EXPECT_EQ(SplitString(' ', "  \"Space Stations\" x 'a b'c", false),
              (Fields{"\"Space Stations\"", "x", "'a b'c"}));
    EXPECT_EQ(SplitString(',', "-5, Eastern Time (US) \r\n5.5,India ", true),
              (Fields{"-5", "Eastern Time (US)", "5.5", "India"}));
    EXPECT_EQ(SplitString(',', "a ,,, b", false), (Fields{"a ", "b"}));
    EXPECT_EQ(SplitString(',', "x,\"open, quote", false), (Fields{"x", "\"open, quote"}));
    EXPECT_TRUE(SplitString(',', "", true).empty());
    EXPECT_TRUE(SplitString(',', " , \n", true).empty());
}

} // namespace
