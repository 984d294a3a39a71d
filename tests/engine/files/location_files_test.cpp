#include "engine/astronomy/constants.h"
#include "engine/files/location_files.h"
#include "engine/files/string_lists.h"

#include "engine/program_folder_fixture.h"

#include <cmath>
#include <set>

namespace {

TEST(LocationLineTest, ColumnsCountCharactersInReadingAndWriting)
{
    const std::string line = FormatLocationLine({"Zürich, CH", "47.3667", "8.5500", "Europe/Zurich"});
    EXPECT_EQ(CountCharacters(line), 120u);
    EXPECT_EQ(TextColumns(line, 111, 10), "         2");
    const LocationFields fields = SplitLocationLine(line);
    EXPECT_EQ(fields.name, "Zürich, CH");
    EXPECT_EQ(fields.latitude, "47.3667");
    EXPECT_EQ(fields.longitude, "8.5500");
    EXPECT_EQ(fields.zone, "Europe/Zurich");
    EXPECT_EQ(FormatLocationLine(fields), line);
}

// Reference point of Asia/Tokyo in zone1970.tab (+353916+1394441).
constexpr double TokyoZoneLatitude = 35.0 + 39 / 60.0 + 16 / 3600.0;
constexpr double TokyoZoneLongitude = 139.0 + 44 / 60.0 + 41 / 3600.0;

TEST(DefaultLocationDataTest, EveryPlaceReadsAndNamesAKnownZone)
{
    KYT_SETUP_FOLDER_OR_SKIP(folder, "data/Locations.dat");
    std::vector<TimeZoneEntry> zones;
    ASSERT_EQ(ReadTimeZones(folder + "/data/" + TimeZonesFileName, zones), ReadStatus::Ok);
    std::set<std::string> zoneNames;
    for (const TimeZoneEntry &zone : zones) {
        double offset = 0.0;
        EXPECT_TRUE(ParseDecimal(zone.offset, offset)) << zone.name;
        zoneNames.insert(zone.name);
    }
    EXPECT_TRUE(zoneNames.count("Greenwich (Coordinated Universal) Time"));

    std::vector<std::string> lines;
    ASSERT_EQ(ReadLocationLines(folder + "/data/" + LocationsFileName, lines), ReadStatus::Ok);
    EXPECT_GT(lines.size(), 23000u);
    std::vector<std::string> sorted = lines;
    SortLocationLines(sorted);
    EXPECT_EQ(sorted, lines) << "the list is not in the order Save keeps";
    int tokyo = 0;
    for (const std::string &line : lines) {
        LocationFields fields;
        double latitude = 0.0, longitude = 0.0;
        ASSERT_TRUE(ReadLocationPlace(line, fields, latitude, longitude)) << line;
        ASSERT_FALSE(fields.name.empty()) << line;
        ASSERT_LE(CountCharacters(fields.name), LocationNameWidth) << line;
        ASSERT_EQ(FormatLocationLine(fields), line);
        ASSERT_TRUE(zoneNames.count(fields.zone)) << line;
        if (fields.name == "Tokyo, JP") {
            ++tokyo;
            const double dLat = DegToRad(latitude - TokyoZoneLatitude);
            const double dLon = DegToRad(longitude - TokyoZoneLongitude) * std::cos(DegToRad(latitude));
            EXPECT_LT(6371.0 * std::hypot(dLat, dLon), 10.0);
        }
    }
    EXPECT_EQ(tokyo, 1);
}

} // namespace
