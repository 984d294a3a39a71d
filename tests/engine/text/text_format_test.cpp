#include "engine/text/text_format.h"

#include <clocale>
#include <cstdio>
#include <limits>
#include <locale>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Switches the whole process to a locale whose decimal separator is ',' for
// the life of the object, and back.
class CommaLocale {
public:
    CommaLocale()
    {
        for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
            try {
                std::locale::global(std::locale(name));
                active_ = true;
                break;
            } catch (const std::runtime_error &) {
            }
        }
    }
    ~CommaLocale() { std::locale::global(std::locale::classic()); }
    bool active() const { return active_; }

private:
    bool active_ = false;
};

TEST(FormatReport, AlignsPadsAndNeverCuts)
{
    EXPECT_EQ(FormatReport("[%0:6s][%0:-6s]", {"ab"}), "[    ab][ab    ]");
    EXPECT_EQ(FormatReport("[%0:8.2f][%0:-8.2f]", {3.14159}), "[    3.14][3.14    ]");
    EXPECT_EQ(FormatReport("[%0:3s][%1:3.1f][%2:-2s]", {"abcdef", 12345.678, "xyz"}),
              "[abcdef][12345.7][xyz]");
    EXPECT_EQ(FormatReport("[%0:5d][%1:-5d][%2:s]", {42, -7, 123456789012LL}),
              "[   42][-7   ][123456789012]");
    // Widths count characters, not bytes: the degree sign is two bytes.
    EXPECT_EQ(FormatReport("[%0:6s]", {"5\u00B0"}), "[    5\u00B0]");
    EXPECT_EQ(FormatReport("100%% %0:s", {"done"}), "100% done");
}

TEST(FormatReport, PositionalReusedAndOutOfOrderArguments)
{
    EXPECT_EQ(FormatReport("%2:s-%0:s-%1:s-%0:s", {"a", "b", "c"}), "c-a-b-a");
    // Without an index a placeholder takes the argument after the last one;
    // in "%0s" the digits are a width, in "%:0s" the colon opens no index.
    EXPECT_EQ(FormatReport("%s|%s|%1:s|%s", {"a", "b", "c"}), "a|b|b|c");
    EXPECT_EQ(FormatReport("  Start: %0s  Stop: %1s", {"X", "Y"}), "  Start: X  Stop: Y");
    EXPECT_EQ(FormatReport("  Date:  %:0s %1:s", {"Jan", "(Z)"}), "  Date:  Jan (Z)");
    // One column title heading several columns.
    EXPECT_EQ(FormatReport("%0:-8s %1:7s %2:-6s %1:7s", {"  MM/DD", "Alt Az", " Max"}),
              "  MM/DD   Alt Az  Max    Alt Az");
}

TEST(FormatReport, RoundsNumbersAsTheyReadAndKeepsTheirSign)
{
    EXPECT_EQ(FormatReport("%0:1.2f", {2.675}), "2.68");
    EXPECT_EQ(FormatReport("%0:1.2f", {1.005}), "1.01");
    EXPECT_EQ(FormatReport("%0:1.0f %1:1.0f %2:1.0f", {0.5, 2.5, -2.5}), "1 3 -3");
    EXPECT_EQ(FormatReport("%0:1.1f", {99.96}), "100.0");
    EXPECT_EQ(FormatReport("%0:1.3f", {0.0004}), "0.000");
    EXPECT_EQ(FormatReport("%0:1.3f", {0.0005}), "0.001");
    EXPECT_EQ(FormatReport("%0:1.1f", {-0.04}), "-0.0");
    EXPECT_EQ(FormatReport("%0:1.0f", {-0.0}), "0");
    EXPECT_EQ(FormatReport("%0:1.4f", {1e-20}), "0.0000");
    EXPECT_EQ(FormatReport("%0:1.1f", {1.5e20}), "150000000000000000000.0");
    EXPECT_EQ(FormatReport("%0:1.2f", {7}), "7.00");
    EXPECT_EQ(FormatReport("%0:s %1:s", {0.1, 1e300}), "0.1 1e+300");
}

TEST(FormatReport, ReportLinesMatchTheirColumns)
{
    std::string header = FormatReport(
        "  %0:-5s %1:-11s %2:-5s %3:-5s %4:-6s  %5:-8s %6:-8s %7:-7s %8:-3s",
        {"MM/DD", "Time", "Alt", "Az", "Mag", "Satlit", "Sep(m)", "Range", "Illum(%)"});
    EXPECT_EQ(header, "  MM/DD Time        Alt   Az    Mag     Satlit   Sep(m)   Range   Illum(%)");
    std::string row = FormatReport(
        "  %0:-16s  %1:-5.0f %2:-5.0f %3:-6.1f  %4:-8s %5:-8.2f %6:-7.0f %7:-3.1f",
        {"03/05 07:08:09", 45.4, 180.6, -1.25, "Yes", 12.345, 1234.5, 100.0});
    EXPECT_EQ(row, "  03/05 07:08:09    45    181   -1.3    Yes      12.35    1235    100.0");

    // A pass line: every argument starts in its own column.
    std::string pass = FormatReport(
        "%0:16s %1:3.0f %2:3.0f %3:9s %4:3.0f %5:3.0f %6:5.1f %7:9s %8:3.0f %9:3.0f %10:9s %11:14s",
        {"03/05 07:08:09", 10.0, 200.0, "07:12:00", 60.0, 290.0, -2.5, "07:16:00", 10.0, 20.0,
         "00:08:00", "SunLite"});
    EXPECT_EQ(pass.substr(0, 16), "  03/05 07:08:09");
    EXPECT_EQ(pass.substr(17, 3), " 10");
    EXPECT_EQ(pass.substr(25, 9), " 07:12:00");
    EXPECT_EQ(pass.substr(43, 5), " -2.5");
    EXPECT_EQ(pass.substr(67, 9), " 00:08:00");
    EXPECT_EQ(pass.substr(77), "       SunLite");

    EXPECT_EQ(FormatReport("  Location: %0s Lat: %1:6.4f  Lon: %2:6.4f", {"Home", 51.5, -0.1278}),
              "  Location: Home Lat: 51.5000  Lon: -0.1278");
}

TEST(FormatReport, RefusesMalformedFormatsAndMissingArguments)
{
    EXPECT_THROW(FormatReport("%1:s", {"only one"}), std::invalid_argument);
    EXPECT_THROW(FormatReport("%s %s", {"only one"}), std::invalid_argument);
    EXPECT_THROW(FormatReport("%0:5.1f", {"text"}), std::invalid_argument);
    EXPECT_THROW(FormatReport("%0:d", {1.5}), std::invalid_argument);
    EXPECT_THROW(FormatReport("%0:5", {1}), std::invalid_argument);
    EXPECT_THROW(FormatReport("%0:5q", {1}), std::invalid_argument);
    EXPECT_THROW(FormatReport("%99999999999:s", {1}), std::invalid_argument);
}

TEST(FormatReport, KeepsThePointUnderACommaLocale)
{
    CommaLocale comma;
    ASSERT_TRUE(comma.active()) << "no locale with ',' decimals installed (locales-all)";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5") << "the locale did not take effect";
    EXPECT_EQ(FormatReport("%0:8.3f|%1:s|%2:d", {1234.5678, 0.25, 1234567}), "1234.568|0.25|1234567");
    EXPECT_EQ(FormatInstant("MMM dd yyyy HH:nn:ss.zzz", MakeInstant(2024, 3, 5, 7, 8, 9, 10)),
              "Mar 05 2024 07:08:09.010");
}

TEST(FormatInstant, PatternsOfTheReports)
{
    double t = MakeInstant(2024, 3, 5, 7, 8, 9, 45);
    EXPECT_EQ(FormatInstant("MMM dd yyyy HH:nn:ss", t), "Mar 05 2024 07:08:09");
    EXPECT_EQ(FormatInstant("MMM DD yyyy HH:nn:ss", t), "Mar 05 2024 07:08:09");
    EXPECT_EQ(FormatInstant("MMM dd yy HH:nn:ss", t), "Mar 05 24 07:08:09");
    EXPECT_EQ(FormatInstant("mm/dd HH:nn:ss", t), "03/05 07:08:09");
    EXPECT_EQ(FormatInstant("mm/dd   HH:nn:ss", t), "03/05   07:08:09");
    EXPECT_EQ(FormatInstant("dd/mm/yyyy HH:nn:ss", t), "05/03/2024 07:08:09");
    EXPECT_EQ(FormatInstant("mm/dd/yyyy", t), "03/05/2024");
    EXPECT_EQ(FormatInstant("dd MMM HH:nn:ss", t), "05 Mar 07:08:09");
    EXPECT_EQ(FormatInstant("hh:nn:ss.zzz", t), "07:08:09.045");
    EXPECT_EQ(FormatInstant("h:n:s.z d/m", t), "7:8:9.45 5/3");
    // m right after an hour field is minutes, even across separators.
    EXPECT_EQ(FormatInstant("hh:mm", t), "07:08");
    EXPECT_EQ(FormatInstant("hh:mm mm", t), "07:08 03");
    // Letters that are no field stand as they are.
    EXPECT_EQ(FormatInstant("(L) at T", t), "(L) at T");
    for (int month = 1; month <= 12; ++month)
        EXPECT_EQ(FormatInstant("mmm", MakeInstant(2023, month, 1)),
                  std::vector<std::string>({"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug",
                                            "Sep", "Oct", "Nov", "Dec"})[month - 1]);
}

TEST(FormatInstant, RoundsToTheMillisecondBeforeSplitting)
{
    double noon = MakeInstant(2024, 6, 1, 12);
    EXPECT_EQ(FormatInstant("HH:nn:ss", noon - 1e-10), "12:00:00");
    EXPECT_EQ(FormatInstant("HH:nn:ss", 1.5 - 0.4 / 86400000), "12:00:00");
    EXPECT_EQ(FormatInstant("HH:nn:ss.zzz", 1.5 - 0.6 / 86400000), "11:59:59.999");
    // The carry reaches the date.
    EXPECT_EQ(FormatInstant("yyyy/mm/dd HH:nn:ss", MakeInstant(2024, 1, 1) - 1e-10),
              "2024/01/01 00:00:00");
    EXPECT_EQ(FormatInstant("HH:nn:ss.zzz", MakeInstant(2024, 6, 1, 23, 59, 59, 999)), "23:59:59.999");
}

TEST(CivilCalendar, DayCountsAndLeapYears)
{
    EXPECT_EQ(MakeInstant(1899, 12, 30), 0.0);
    EXPECT_EQ(MakeInstant(1900, 1, 1), 2.0);
    EXPECT_EQ(MakeInstant(1900, 3, 1), 61.0); // 1900 has no Feb 29
    EXPECT_EQ(MakeInstant(2000, 1, 1), 36526.0);
    EXPECT_EQ(MakeInstant(2000, 1, 1, 12), 36526.5);
    EXPECT_EQ(MakeInstant(2000, 3, 1) - MakeInstant(2000, 2, 28), 2.0);
    EXPECT_EQ(MakeInstant(2100, 3, 1) - MakeInstant(2100, 2, 28), 1.0);
    // Fields that run over.
    EXPECT_EQ(MakeInstant(2023, 13, 1), MakeInstant(2024, 1, 1));
    EXPECT_EQ(MakeInstant(2024, 0, 1), MakeInstant(2023, 12, 1));
    EXPECT_EQ(MakeInstant(2024, 1, 32), MakeInstant(2024, 2, 1));
    EXPECT_EQ(FormatInstant("yyyy-mm-dd HH:nn", MakeInstant(1850, 7, 4, 25, 61)),
              "1850-07-05 02:01");
    EXPECT_EQ(FormatInstant("yyyy-mm-dd", -1.0), "1899-12-29");

    // Every day of eight centuries splits back to the date it was made from.
    int year = 1600, month = 1, day = 1;
    const int monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    while (year < 2400) {
        double instant = MakeInstant(year, month, day, 23, 59, 30);
        CivilTime split = SplitInstant(instant);
        ASSERT_EQ(split.year, year);
        ASSERT_EQ(split.month, month);
        ASSERT_EQ(split.day, day);
        ASSERT_EQ(split.hour, 23);
        ASSERT_EQ(split.minute, 59);
        bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        int length = monthDays[month - 1] + (month == 2 && leap ? 1 : 0);
        if (++day > length) {
            day = 1;
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
    }
}

TEST(CivilCalendar, FaultyInstantsStayInRange)
{
    EXPECT_NO_THROW(FormatInstant("yyyy mm dd", 1e300));
    EXPECT_EQ(FormatInstant("yyyy-mm-dd", std::numeric_limits<double>::quiet_NaN()), "1899-12-30");
    EXPECT_EQ(MillisecondsToInstant(InstantToMilliseconds(-0.75)), -0.75);
}

} // namespace
