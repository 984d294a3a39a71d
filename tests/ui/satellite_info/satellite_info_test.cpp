#include "ui/satellite_info/satellite_info_window.h"

#include "ui/qt_app.h"
#include "ui/satellite_info/satellite_info_lines.h"
#include "ui/widgets/number_text.h"
#include "engine/satellite_test_support.h"

#include <QPlainTextEdit>
#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

const std::string GeoLine1 = "1 28626U 05008A   06176.46683397 -.00000205  00000-0  10000-3 0  2190";
const std::string GeoLine2 = "2 28626   0.0019 286.9433 0000335  13.7918  55.6504  1.00270176  4891";

// Period (min, from no_kozai) and apogee and perigee heights (km, from alta
// and altp) as python3-sgp4 gives them (tools/satellite_info_reference.py).
struct Reference {
    double period, apogee, perigee;
};
constexpr Reference IssReference{91.595747, 357.8481, 348.8239};
constexpr Reference GeoReference{1436.119949, 35789.5177, 35786.6926};

TleRecord Satellite(const std::string &line1, const std::string &line2, const char *name, const char *number)
{
    TleRecord record;
    EXPECT_GE(ParseSatElements(line1, line2, record, true), 0);
    record.Name.assign(name);
    record.Number.assign(number);
    return record;
}

// The lines that carry the python3-sgp4 values, as the window shows them.
void ExpectReference(const Lines &lines, const Reference &reference, double factor)
{
    EXPECT_NE(lines[5].find(FixedDigits(reference.period, 4, 2)), std::string::npos) << lines[5];
    EXPECT_NE(lines[13].find(FixedDigits(reference.apogee * factor, 5, 1)), std::string::npos) << lines[13];
    EXPECT_NE(lines[14].find(FixedDigits(reference.perigee * factor, 5, 1)), std::string::npos) << lines[14];
}

} // namespace

TEST(SatelliteInfoTest, IssInKilometresAndMiles)
{
    const TleRecord iss = Satellite(IssLine1, IssLine2, "ISS (ZARYA)  ", "25544");
    const Lines km = SatelliteInfoLines(&iss, -5.0 / 24.0, true, 1.0);
    EXPECT_EQ(km, (Lines{
                      "  Name:    ISS (ZARYA)",
                      "  Number:  25544",
                      " ",
                      "  Epoch Date:     \tSep 20 2008 12:25:40(Z)",
                      "  Epoch Date:     \tSep 20 2008 07:25:40(L)",
                      "  Rev Time:        \t91.60  Min",
                      "  Revs per day:    \t15.72  Rev",
                      "  Revs at Epoch:   \t56353  Revs",
                      "  Inclination:     \t51.64160  Degrees",
                      "  Eccentricity:    \t0.0006703",
                      "  Arg of Perige:   \t130.536  Degrees",
                      "  Mean Anomaly:    \t325.029  Degrees",
                      "  RA of Asc Node:  \t247.463  Degrees",
                      "  Apoge:           \t357.8 km",
                      "  Perige:          \t348.8 km",
                  }));
    ExpectReference(km, IssReference, 1.0);
    const Lines miles = SatelliteInfoLines(&iss, 0.0, false, 0.621371);
    EXPECT_EQ(miles[13], "  Apoge:           \t222.4 mi.");
    EXPECT_EQ(miles[14], "  Perige:          \t216.7 mi.");
    ExpectReference(miles, IssReference, 0.621371);

    // A perigee of 400 km in miles.
    TleRecord low = iss;
    low.PerigeeHeight = 400.0;
    EXPECT_EQ(SatelliteInfoLines(&low, 0.0, false, 0.621371)[14], "  Perige:          \t248.5 mi.");
}

TEST(SatelliteInfoTest, GeostationaryInKilometresAndMiles)
{
    const TleRecord geo = Satellite(GeoLine1, GeoLine2, "XM-3", "28626");
    const Lines km = SatelliteInfoLines(&geo, 0.5, true, 1.0);
    EXPECT_EQ(Lines(km.begin() + 3, km.end()),
              (Lines{
                  "  Epoch Date:     \tJun 25 2006 11:12:14(Z)",
                  "  Epoch Date:     \tJun 25 2006 23:12:14(L)",
                  "  Rev Time:        \t1436.00  Min",
                  "  Revs per day:    \t1.00  Rev",
                  "  Revs at Epoch:   \t489  Revs",
                  "  Inclination:     \t0.00190  Degrees",
                  "  Eccentricity:    \t0.0000335",
                  "  Arg of Perige:   \t13.792  Degrees",
                  "  Mean Anomaly:    \t55.650  Degrees",
                  "  RA of Asc Node:  \t286.943  Degrees",
                  "  Apoge:           \t35790.0 km",
                  "  Perige:          \t35787.0 km",
              }));
    ExpectReference(km, GeoReference, 1.0);
    const Lines miles = SatelliteInfoLines(&geo, 0.5, false, 0.621371);
    EXPECT_EQ(miles[13], "  Apoge:           \t22239.0 mi.");
    EXPECT_EQ(miles[14], "  Perige:          \t22237.0 mi.");
    ExpectReference(miles, GeoReference, 0.621371);
}

TEST(SatelliteInfoTest, AnEmptiedListWithAStaleSelectionReadsNothing)
{
    TestApplication();
    const tlearray saved = MainList;
    const int savedSelected = SelectedMain;
    MainList.clear();
    MainList.shrink_to_fit();
    SelectedMain = 3;
    {
        TfrInfoWnd window;
        EXPECT_EQ(window.InfoMemo->toPlainText(), "  Name:    None");
    }
    MainList = saved;
    SelectedMain = savedSelected;
}
