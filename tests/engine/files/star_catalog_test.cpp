#include "engine/files/star_catalog.h"

#include "engine/program_folder_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <numbers>

namespace {

constexpr double Degree = std::numbers::pi / 180.0;

StarNameRecord NamedPoint(double ra, double dec, std::string_view name)
{
    StarNameRecord record{ra, dec, 0.0, {}};
    EXPECT_TRUE(record.Name.assign(name));
    return record;
}

class StarCatalogTest : public ProgramFolderTest {
protected:
    static std::string Bytes(const auto &...records)
    {
        std::string bytes;
        (AppendRecordBytes(bytes, records), ...);
        return bytes;
    }
};

// Little-endian doubles and short strings placed by hand at the offsets of
// the file layouts, independent of the records.
std::string Double(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    std::string bytes;
    for (int i = 0; i < 8; ++i)
        bytes += static_cast<char>((bits >> (8 * i)) & 0xFF);
    return bytes;
}

std::string NameRecordImage(double ra, double dec, const std::string &name)
{
    std::string bytes = Double(ra) + Double(dec) + Double(99.0); // offset 16: not read
    bytes += static_cast<char>(name.size());                     // offset 24: length byte
    return bytes + name + std::string(23 - name.size(), '\0');
}

TEST_F(StarCatalogTest, StarFileKeepsWholeRecordsAndIgnoresAPartialLastOne)
{
    WriteFile(DataDir + "Stars.bin", Double(1.5) + Double(-0.25) + Double(-1.44) + Double(4.75) + Double(1.5) +
                                         Double(11.0) + std::string(23, '\x7f'));
    std::vector<StarRecord> stars;
    std::string error;
    ASSERT_TRUE(LoadStarFile(stars, &error)) << error;
    ASSERT_EQ(stars.size(), 2u);
    EXPECT_EQ(stars[0].RightAscension, 1.5);
    EXPECT_EQ(stars[0].Declination, -0.25);
    EXPECT_EQ(stars[0].Magnitude, -1.44);
    EXPECT_EQ(stars[1].Magnitude, 11.0);

    // Names in the data folder match without regard to case.
    std::filesystem::remove(DataDir + "Stars.bin");
    WriteFile(DataDir + "STARS.BIN", std::string(10, '\0'));
    ASSERT_TRUE(LoadStarFile(stars, &error)) << error;
    EXPECT_TRUE(stars.empty());
}

TEST_F(StarCatalogTest, RecordsThatCannotBeDrawnAreSkippedAndCounted)
{
    // The limits themselves load and right ascensions outside 0..2 pi are
    // taken into it; a step past any other limit, or a value that is no
    // finite number, costs only its own record.
    const double pi = std::numbers::pi;
    const StarRecord drawable[] = {{0.0, pi / 2, 20.0}, {-pi / 2, -pi / 2, -2.0}, {7.0, 0.0, 5.0}};
    const StarRecord faults[] = {{1.0, 1.6, 5.0},      {1.0, 0.0, 20.5}, {1.0, 0.0, -2.5},   {NAN, 0.0, 5.0},
                                 {INFINITY, 0.0, 5.0}, {1.0, 0.0, NAN},  {1.0, -INFINITY, 5.0}};
    WriteFile(DataDir + "Stars.bin", Bytes(faults[0], drawable[0], faults[1], faults[2], drawable[1], faults[3],
                                           faults[4], faults[5], drawable[2], faults[6]));
    std::vector<StarRecord> stars;
    std::string error;
    EXPECT_FALSE(LoadStarFile(stars, &error));
    ASSERT_EQ(stars.size(), 3u);
    EXPECT_EQ(stars[0].Declination, pi / 2);
    EXPECT_DOUBLE_EQ(stars[1].RightAscension, 1.5 * pi);
    EXPECT_DOUBLE_EQ(stars[2].RightAscension, 7.0 - 2 * pi);
    EXPECT_NE(error.find("Stars.bin\": 7 of 10 records were skipped (no position in the sky or a magnitude"),
              std::string::npos)
        << error;

    std::vector<StarNameRecord> names;
    WriteFile(DataDir + "starname.bin", Bytes(NamedPoint(0.1, 0.2, "Vega"), NamedPoint(0.1, NAN, "Deneb")));
    EXPECT_FALSE(LoadStarNameFile(names, &error));
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].Name.str(), "Vega");
    EXPECT_NE(error.find("1 of 2 records were skipped"), std::string::npos) << error;
}

TEST_F(StarCatalogTest, MissingFilesAreReportedWithTheirNames)
{
    std::vector<StarRecord> stars{StarRecord{}};
    std::vector<StarNameRecord> names{StarNameRecord{}};
    std::vector<ConstellationLine> lines{ConstellationLine{}};
    std::string error;
    EXPECT_FALSE(LoadStarFile(stars, &error));
    EXPECT_NE(error.find("Stars.bin"), std::string::npos);
    EXPECT_FALSE(LoadStarNameFile(names, &error));
    EXPECT_NE(error.find("starname.bin"), std::string::npos);
    EXPECT_FALSE(LoadConstellationFile(lines, &error));
    EXPECT_NE(error.find("Constellations.bin"), std::string::npos);
    EXPECT_TRUE(stars.empty() && names.empty() && lines.empty());
}

TEST_F(StarCatalogTest, StarNamesUpToTheirCapacityAreReadAndLongerOnesSkipped)
{
    const std::string longest(23, 'N');
    WriteFile(DataDir + "starname.bin",
              NameRecordImage(0.1, 0.2, "Sirius") + NameRecordImage(0.3, 0.4, longest) + std::string(47, '\0'));
    std::vector<StarNameRecord> names;
    std::string error;
    ASSERT_TRUE(LoadStarNameFile(names, &error)) << error;
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0].Name.str(), "Sirius");
    EXPECT_EQ(names[1].Name.str(), longest);
    EXPECT_EQ(names[1].Declination, 0.4);

    StarNameRecord damaged = NamedPoint(0.5, 0.6, longest);
    damaged.Name.length = 24;
    WriteFile(DataDir + "starname.bin", Bytes(NamedPoint(0.1, 0.2, "Vega"), damaged));
    EXPECT_FALSE(LoadStarNameFile(names, &error));
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].Name.str(), "Vega");
    EXPECT_NE(error.find("starname.bin\": 1 of 2 records were skipped"), std::string::npos) << error;
}

TEST_F(StarCatalogTest, ConstellationRecordsPairIntoLinesAndADamagedEndDropsItsLine)
{
    const StarNameRecord a = NamedPoint(1.0, 0.1, "Orion"), b = NamedPoint(1.1, 0.2, ""),
                         c = NamedPoint(1.2, 0.3, ""), d = NamedPoint(1.3, 0.4, "");
    // An unpaired last record and a partial one after it are both left out.
    WriteFile(DataDir + "Constellations.bin", Bytes(a, b, c, d, a) + std::string(30, '\0'));
    std::vector<ConstellationLine> lines;
    std::string error;
    ASSERT_TRUE(LoadConstellationFile(lines, &error)) << error;
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].From.Name.str(), "Orion");
    EXPECT_EQ(lines[0].To.RightAscension, 1.1);
    EXPECT_EQ(lines[1].From.RightAscension, 1.2);
    EXPECT_EQ(lines[1].To.Declination, 0.4);

    StarNameRecord damaged = d;
    damaged.Name.length = 200;
    WriteFile(DataDir + "Constellations.bin", Bytes(a, b, c, damaged, a, b));
    EXPECT_FALSE(LoadConstellationFile(lines, &error));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].From.Name.str(), "Orion");
    EXPECT_EQ(lines[1].To.RightAscension, 1.1);
    EXPECT_NE(error.find("2 of 6 records were skipped"), std::string::npos) << error;
}

double AngleBetween(double ra1, double dec1, double ra2, double dec2)
{
    const double c = std::sin(dec1) * std::sin(dec2) + std::cos(dec1) * std::cos(dec2) * std::cos(ra1 - ra2);
    return std::acos(std::clamp(c, -1.0, 1.0));
}

struct CatalogueStar {
    const char *name;
    double ra, dec, magnitude; // J2000 hours, degrees; visual magnitude
};

constexpr CatalogueStar BrightStars[] = {
    {"Sirius", 6 + 45 / 60.0 + 8.917 / 3600.0, -(16 + 42 / 60.0 + 58.02 / 3600.0), -1.46},
    {"Vega", 18 + 36 / 60.0 + 56.336 / 3600.0, 38 + 47 / 60.0 + 1.28 / 3600.0, 0.03},
    {"Polaris", 2 + 31 / 60.0 + 49.09 / 3600.0, 89 + 15 / 60.0 + 50.8 / 3600.0, 1.98},
};

TEST(StarCatalogRealData, SetUpCataloguesHoldTheBrightStarsAtTheirPositions)
{
    KYT_SETUP_FOLDER_OR_SKIP(folder, "data/Stars.bin");
    SetProgramFolders(folder);
    std::vector<StarRecord> stars;
    std::vector<StarNameRecord> names;
    std::vector<ConstellationLine> lines;
    std::string error;
    ASSERT_TRUE(LoadStarFile(stars, &error)) << error;
    ASSERT_TRUE(LoadStarNameFile(names, &error)) << error;
    ASSERT_TRUE(LoadConstellationFile(lines, &error)) << error;

    // Deep enough for the sky view's zoomed-in limits.
    EXPECT_GT(std::count_if(stars.begin(), stars.end(), [](const StarRecord &s) { return s.Magnitude <= 8.0; }),
              40000);

    const double arcminute = Degree / 60.0;
    for (const CatalogueStar &expected : BrightStars) {
        SCOPED_TRACE(expected.name);
        const double ra = expected.ra * 15.0 * Degree, dec = expected.dec * Degree;
        const bool inStars = std::any_of(stars.begin(), stars.end(), [&](const StarRecord &s) {
            return AngleBetween(s.RightAscension, s.Declination, ra, dec) < arcminute &&
                   std::abs(s.Magnitude - expected.magnitude) < 0.1;
        });
        EXPECT_TRUE(inStars);
        const bool named = std::any_of(names.begin(), names.end(), [&](const StarNameRecord &n) {
            return n.Name.str() == expected.name && AngleBetween(n.RightAscension, n.Declination, ra, dec) < arcminute;
        });
        EXPECT_TRUE(named);
    }

    // Every one of the 88 figures carries its name once (Serpens has two).
    std::vector<std::string> labels;
    for (const ConstellationLine &line : lines) {
        if (!line.From.Name.str().empty())
            labels.push_back(line.From.Name.str());
    }
    std::sort(labels.begin(), labels.end());
    EXPECT_EQ(std::adjacent_find(labels.begin(), labels.end()), labels.end());
    EXPECT_EQ(labels.size(), 89u);
    EXPECT_TRUE(std::binary_search(labels.begin(), labels.end(), "Ursa Major"));
}

// The star picker's list: right ascension in columns 1-9 and declination in
// 11-20 (degrees), magnitude in 22-26, designation in 27-35 and the common
// name in 38-57; the picker lists columns 37-56 and finds a star again by the
// last line holding that text, which must be its own line.
TEST(StarCatalogRealData, SetUpStarListKeepsItsColumns)
{
    KYT_SETUP_FOLDER_OR_SKIP(folder, "data/star.dat");
    std::string text;
    ASSERT_EQ(ReadWholeFile(folder + "/data/star.dat", text, nullptr, SmallFileLimit), ReadStatus::Ok);
    const std::vector<std::string> lines = SplitTextLines(text);
    ASSERT_GT(lines.size(), 100u);
    bool sirius = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string &line = lines[i];
        SCOPED_TRACE(line);
        ASSERT_GE(line.size(), 38u);
        ASSERT_LE(line.size(), 57u);
        double ra = -1, dec = -99, magnitude = 99;
        EXPECT_TRUE(ParseDecimal(line.substr(0, 9), ra) && ra >= 0.0 && ra < 360.0);
        EXPECT_TRUE(ParseDecimal(line.substr(10, 10), dec) && std::abs(dec) <= 90.0);
        EXPECT_TRUE(ParseDecimal(line.substr(21, 5), magnitude) && magnitude < 15.0);
        EXPECT_EQ(line.substr(35, 2), "  ");
        const std::string listed(TrimText(line.substr(36, 20)));
        ASSERT_FALSE(listed.empty());
        std::size_t last = 0;
        for (std::size_t j = 0; j < lines.size(); ++j)
            if (lines[j].find(listed) != std::string::npos)
                last = j;
        EXPECT_EQ(last, i) << listed;
        if (TrimText(line.substr(37)) == "Sirius") {
            sirius = true;
            EXPECT_NEAR(ra, 101.287, 0.01);
            EXPECT_NEAR(dec, -16.716, 0.01);
        }
    }
    EXPECT_TRUE(sirius);
}

} // namespace
